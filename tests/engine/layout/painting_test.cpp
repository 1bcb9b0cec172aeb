// Painting on the fixed-metrics canvas: the exact calls and positions for a
// small document, the clip band, selection of text and objects, page breaks,
// checkpoints, paragraph backgrounds, and the buffered paint's error text.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/model/break_item.h"
#include "engine/base/doc_view_error.h"
#include "engine/model/marker_item.h"
#include "engine/model/picture_item.h"
#include "layout_test_data.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {
namespace {

constexpr TColor kSelText = clHighlightText, kSelBack = clHighlight;

// A formatted document that can also scroll sideways.
class PaintData : public LayoutData {
 public:
  int32_t hOffs = 0;
  int32_t GetHOffs() const override { return hOffs; }

  // Paints clip onto a fresh recording canvas.
  std::vector<TCanvasRecord> Paint(const TRect& clip) {
    TRecordingCanvas screen;
    PaintTo(screen, clip);
    return screen.Log();
  }
  void Select(int startNo, int32_t startOffs, int endNo, int32_t endOffs) {
    FSelStartNo = startNo;
    FSelStartOffs = startOffs;
    FSelEndNo = endNo;
    FSelEndOffs = endOffs;
  }
};

std::vector<std::string> Strings(const std::vector<TCanvasRecord>& log) {
  std::vector<std::string> out;
  for (const TCanvasRecord& r : log) out.push_back(r.ToString());
  return out;
}

std::vector<TCanvasRecord> OfKind(const std::vector<TCanvasRecord>& log, TCanvasOp kind) {
  std::vector<TCanvasRecord> out;
  for (const TCanvasRecord& r : log)
    if (r.Kind == kind) out.push_back(r);
  return out;
}

bool PaintedSelected(const TCanvasRecord& text) {
  return text.Brush.Style == bsSolid && text.Brush.Color == kSelBack && text.Font.Color == kSelText;
}

// An object that fails while painting.
class ThrowingRect : public TestRect {
 public:
  using TestRect::TestRect;
  TDVItemClass ItemClass() const override { return DVItemClassOf<ThrowingRect>; }
  void Paint(int32_t, int32_t, TCanvas&, TDVItemDrawStates, const TDVStyle*, const TDVDrawLineInfo*) const override {
    throw EDocViewError("Picture data is damaged");
  }
};

// Two styles in one paragraph, a list marker paragraph with a checkpoint, a
// break, a picture and a hyperlink after a page break. Laid out as
//   0 "Hello " 0,0   1 "world" 36,0   2 marker 0,15   3 "item" 10,13
//   4 break 0,26 (200 wide)   5 picture 0,37   6 "link" 0,47
void BuildSmallDocument(PaintData& d) {
  d.flags |= dvflUseJumps;
  d.SetOptions(d.GetOptions() | dvoShowCheckpoints);
  d.sheet.ListStyles().Add().Levels().Add();
  d.sheet.TextStyles()[dvsJump1].HoverColor = clRed;
  d.AddNL("Hello ", dvsNormal, 0);
  d.AddNL("world", dvsHeading, -1);
  d.AddNamedCheckpointExTag("cp", false, {});
  auto marker = std::make_unique<TDVMarkerItemInfo>(&d, 0, 0, 0, false);
  marker->ParaNo = 0;
  d.AddItem("", std::move(marker));
  d.AddNL("item", dvsNormal, -1);
  d.AddItem("", std::make_unique<TDVBreakItemInfo>(&d));
  d.AddItem("pic", std::make_unique<TDVGraphicItemInfo>(&d, std::make_unique<TBitmap>(8, 8), dvvaBaseline));
  d.AddNL("link", dvsJump1, -1);
  d.GetItem(6)->SetPageBreakBefore(true);
  d.Format();
}

TEST(Painting, SmallDocumentExactCalls) {
  PaintData d;
  BuildSmallDocument(d);
  ASSERT_EQ(d.Pieces(), (std::vector<std::string>{"1+6@0,0/36", "1+5@36,0/30", "obj@0,15/10", "1+4@10,13/24",
                                                   "obj@0,26/200", "obj@0,37/10", "1+4@0,47/24"}));
  // From "He|llo " to after the picture; the pointer is over the link.
  d.Select(0, 3, 5, 1);
  d.State |= dvstDrawHover;
  d.LastJumpMovedAbove = d.GetItem(6)->JumpID;
  const std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 200, 300));
  EXPECT_EQ(Strings(log), (std::vector<std::string>{
                              R"(Text 0,0 "Hello ")",  // whole piece unselected first
                              R"(Text 12,0 "llo ")",   // then its selected part after "He"
                              R"(Text 36,0 "world")",
                              "Ellipse -2,13,2,17",  // the checkpoint at the marker's corner
                              "Line 0,15-200,15",
                              R"(TextW 0,15 "·")",
                              R"(Text 10,13 "item")",
                              "Line 5,31-195,31",  // the break, and its selection lines
                              "Line 5,30-195,30",
                              "Line 5,32-195,32",
                              "Draw 1,38 TBitmap 8x8",
                              "Rectangle 0,37,10,47",  // the picture's selection frame
                              "Line 0,46-192,46",      // the page break before the link
                              "Polygon 192,46 200,54 192,54",
                              R"(Text 0,47 "link")",
                          }));
  EXPECT_FALSE(PaintedSelected(log[0]));
  EXPECT_EQ(log[0].Font.Color, clWindowText);
  EXPECT_TRUE(PaintedSelected(log[1]));
  EXPECT_TRUE(PaintedSelected(log[2]));
  EXPECT_EQ(log[2].Font.Style, fsBold);  // the heading style
  EXPECT_EQ(log[4].Pen.Style, psDot);
  EXPECT_EQ(log[4].Pen.Color, d.sheet.CheckpointColor);
  EXPECT_TRUE(PaintedSelected(log[6]));
  EXPECT_EQ(log[8].Pen.Color, kSelBack);
  EXPECT_EQ(log[11].Pen.Color, kSelBack);
  EXPECT_EQ(log[12].Pen.Color, d.sheet.PageBreakColor);
  EXPECT_EQ(log[14].Font.Color, clRed);  // hover colour of the link
  EXPECT_EQ(log[14].Font.Style, fsUnderline);
  EXPECT_EQ(log[14].Brush.Style, bsClear);
}

TEST(Painting, HoverNeedsTheDrawHoverStateAndTheLinksId) {
  PaintData d;
  BuildSmallDocument(d);
  d.LastJumpMovedAbove = d.GetItem(6)->JumpID;
  EXPECT_EQ(OfKind(d.Paint(Rect(0, 0, 200, 300)), TCanvasOp::Text).back().Font.Color, clGreen);
  d.State |= dvstDrawHover;
  d.LastJumpMovedAbove = d.GetItem(6)->JumpID + 1;
  EXPECT_EQ(OfKind(d.Paint(Rect(0, 0, 200, 300)), TCanvasOp::Text).back().Font.Color, clGreen);
}

TEST(Painting, ScrollOffsetsAndClipOriginShiftEverything) {
  PaintData d;
  BuildSmallDocument(d);
  d.hOffs = 7;
  d.vOffs = 20;
  // The canvas origin is the clip's top-left corner: x - (7 + 3), y - (20 + 5).
  const std::vector<TCanvasRecord> log = d.Paint(Rect(3, 5, 200, 300));
  std::vector<std::string> texts = Strings(OfKind(log, TCanvasOp::Text));
  // "Hello " lies a line above the view; the band starts after it.
  EXPECT_EQ(texts, (std::vector<std::string>{R"(Text 26,-25 "world")", R"(Text 0,-12 "item")",
                                             R"(Text -10,22 "link")"}));
  // Lines across the window start at -xshift.
  EXPECT_EQ(Strings(OfKind(log, TCanvasOp::Polygon)), std::vector<std::string>{"Polygon 182,21 190,29 182,29"});
  EXPECT_EQ(Strings(OfKind(log, TCanvasOp::Line))[0], "Line -10,-10-200,-10");
}

// One short paragraph per line, 13 pixels apart.
void BuildLines(PaintData& d, int count) {
  for (int i = 0; i < count; ++i) d.AddNL("line " + std::to_string(i), 0, 0);
  d.Format();
  ASSERT_EQ(d.DrawItems.Count(), count);
  ASSERT_EQ(d.DrawItems[count - 1]->Top, 13 * (count - 1));
}

TEST(Painting, OnlyTheClipBandIsDrawn) {
  PaintData d;
  BuildLines(d, 1000);
  d.vOffs = 5000;
  // Lines 384..387 (tops 4992..5031) meet the 40 pixels from 5000.
  const std::vector<TCanvasRecord> texts = OfKind(d.Paint(Rect(0, 0, 200, 40)), TCanvasOp::Text);
  ASSERT_FALSE(texts.empty());
  std::vector<std::string> drawn;
  for (const TCanvasRecord& t : texts) drawn.push_back(t.Text);
  // One line above the band for what may reach down into it, and the first
  // line that starts below it; nothing else.
  EXPECT_EQ(drawn, (std::vector<std::string>{"line 383", "line 384", "line 385", "line 386", "line 387",
                                             "line 388"}));
  EXPECT_EQ(texts[1].Points[0], (TPoint{0, 384 * 13 - 5000}));
}

TEST(Painting, LineThatStartsBelowTheClipWithATallObjectReachingIntoItIsPainted) {
  PaintData d;
  d.AddNL("x", 0, 0);
  d.AddNL("a", 0, 0);
  d.AddItem("pic", std::make_unique<TDVGraphicItemInfo>(&d, std::make_unique<TBitmap>(8, 40), dvvaBaseline));
  d.GetItem(2)->SetSameAsPrev(true);
  d.AddNL("z", 0, 0);
  d.Format();
  const int32_t bottom = d.DrawItems[2]->Top + 5;
  ASSERT_GE(d.DrawItems[1]->Top, bottom);  // the line's first piece is below
  const std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 200, bottom));
  EXPECT_EQ(OfKind(log, TCanvasOp::Draw).size(), 1u);
  EXPECT_EQ(OfKind(log, TCanvasOp::Text).back().Text, "a");
}

TEST(Painting, ClipBandAtTheEndsOfTheDocument) {
  PaintData d;
  BuildLines(d, 50);
  std::vector<TCanvasRecord> texts = OfKind(d.Paint(Rect(0, 0, 200, 13)), TCanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "line 0");
  d.vOffs = 49 * 13;
  texts = OfKind(d.Paint(Rect(0, 0, 200, 100)), TCanvasOp::Text);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Text, "line 49");
  EXPECT_LE(texts.size(), 4u);
}

struct TextSelCase {
  const char* name;
  int startNo;
  int32_t startOffs;
  int endNo;
  int32_t endOffs;
  bool complete;  // dvstCompletelySelected
  // What is drawn of "abcdef" (drawing item 1, at x 6): texts with "*" for a
  // selected one.
  std::vector<std::string> texts;
};

class TextSelection : public testing::TestWithParam<TextSelCase> {};

TEST_P(TextSelection, PiecesAndColours) {
  const TextSelCase& c = GetParam();
  PaintData d;
  d.AddNL("x", 0, 0);
  d.AddNL("abcdef", 0, -1);
  d.AddNL("y", 0, -1);
  d.Format();
  ASSERT_EQ(d.Pieces(), (std::vector<std::string>{"1+1@0,0/6", "1+6@6,0/36", "1+1@42,0/6"}));
  d.Select(c.startNo, c.startOffs, c.endNo, c.endOffs);
  if (c.complete) d.State |= dvstCompletelySelected;
  std::vector<std::string> texts;
  for (const TCanvasRecord& t : OfKind(d.Paint(Rect(0, 0, 200, 100)), TCanvasOp::Text))
    if (t.Points[0].X >= 6 && t.Points[0].X < 42)
      texts.push_back((PaintedSelected(t) ? "*" : "") + std::to_string(t.Points[0].X) + ":" + t.Text);
  EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextSelection,
    testing::Values(
        TextSelCase{"None", -1, 0, -1, 0, false, {"6:abcdef"}},
        TextSelCase{"FirstToLastCharacterIsWhole", 1, 1, 1, 7, false, {"*6:abcdef"}},
        TextSelCase{"AcrossIsWhole", 0, 1, 2, 2, false, {"*6:abcdef"}},
        TextSelCase{"Inside", 1, 2, 1, 4, false, {"6:abcdef", "*12:bc"}},
        TextSelCase{"Backwards", 1, 4, 1, 2, false, {"6:abcdef", "*12:bc"}},
        TextSelCase{"FromTheStartToInside", 0, 1, 1, 3, false, {"6:abcdef", "*6:ab"}},
        TextSelCase{"FromInsideOnward", 1, 5, 2, 1, false, {"6:abcdef", "*30:ef"}},
        TextSelCase{"CaretOnly", 1, 3, 1, 3, false, {"6:abcdef"}},
        TextSelCase{"EndsBeforeIt", 0, 1, 1, 1, false, {"6:abcdef"}},
        TextSelCase{"Completely", -1, 0, -1, 0, true, {"*6:abcdef"}}),
    [](const testing::TestParamInfo<TextSelCase>& info) { return std::string(info.param.name); });

struct ObjectSelCase {
  const char* name;
  int startNo;
  int32_t startOffs;
  int endNo;
  int32_t endOffs;
  bool selected;
};

class ObjectSelection : public testing::TestWithParam<ObjectSelCase> {};

TEST_P(ObjectSelection, FrameOnlyWhenTheObjectIsInside) {
  const ObjectSelCase& c = GetParam();
  PaintData d;
  d.AddNL("ab", 0, 0);
  d.AddItem("pic", std::make_unique<TDVGraphicItemInfo>(&d, std::make_unique<TBitmap>(8, 8), dvvaBaseline));
  d.GetItem(1)->SetSameAsPrev(true);
  d.AddNL("cd", 0, -1);
  d.Format();
  d.Select(c.startNo, c.startOffs, c.endNo, c.endOffs);
  EXPECT_EQ(OfKind(d.Paint(Rect(0, 0, 200, 100)), TCanvasOp::Rectangle).size(), c.selected ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ObjectSelection,
    testing::Values(ObjectSelCase{"Itself", 1, 0, 1, 1, true}, ObjectSelCase{"Across", 0, 1, 2, 2, true},
                    ObjectSelCase{"EndingBeforeIt", 0, 2, 1, 0, false},
                    ObjectSelCase{"StartingAfterIt", 1, 1, 2, 3, false},
                    ObjectSelCase{"StartingAfterItBackwards", 2, 3, 1, 1, false},
                    ObjectSelCase{"EndingAfterIt", 0, 2, 1, 1, true}),
    [](const testing::TestParamInfo<ObjectSelCase>& info) { return std::string(info.param.name); });

TEST(Painting, CurrentObjectGetsTheHoverFrame) {
  PaintData d;
  d.sheet.HoverColor = clRed;
  d.AddItem("pic", std::make_unique<TDVGraphicItemInfo>(&d, std::make_unique<TBitmap>(8, 8), dvvaBaseline));
  d.Format();
  d.FActiveItem = d.GetItem(0);
  // The current item's hover frame, one pixel outside the selection frame.
  EXPECT_EQ(Strings(OfKind(d.Paint(Rect(0, 0, 200, 100)), TCanvasOp::Rectangle)),
            std::vector<std::string>{"Rectangle -1,-1,11,11"});
}

TEST(Painting, TextAfterAFontChangingObjectAppliesItsStyleAgain) {
  PaintData d;
  d.sheet.ListStyles().Add().Levels().Add();
  d.AddNL("a", 0, 0);
  auto marker = std::make_unique<TDVMarkerItemInfo>(&d, 0, 0, 0, false);
  marker->ParaNo = 0;
  d.AddItem("", std::move(marker));
  d.AddNL("b", 0, -1);
  d.Format();
  const std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 200, 100));
  ASSERT_EQ(log.size(), 3u);
  EXPECT_NE(log[1].Font.Height, -13);  // the marker's own font
  EXPECT_EQ(log[2].Text, "b");
  EXPECT_EQ(log[2].Font.Height, -13);
  EXPECT_EQ(log[2].Font.Name, log[0].Font.Name);
}

TEST(Painting, HardPageBreakOncePerItemAndOnlyWhenShown) {
  PaintData d;
  d.clientWidth = 40;
  d.AddNL("aa", 0, 0);
  d.AddNL("one two three", 0, 0);  // wraps onto three lines
  d.GetItem(1)->SetPageBreakBefore(true);
  d.Format();
  ASSERT_EQ(d.DrawItems.Count(), 4);
  std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 40, 100));
  EXPECT_EQ(Strings(OfKind(log, TCanvasOp::Polygon)), std::vector<std::string>{"Polygon 32,12 40,20 32,20"});
  d.SetOptions(d.GetOptions() & ~dvoShowPageBreaks);
  EXPECT_TRUE(OfKind(d.Paint(Rect(0, 0, 40, 100)), TCanvasOp::Polygon).empty());
}

TEST(Painting, SoftPageBreaks) {
  PaintData d;
  BuildLines(d, 10);
  d.FSoftPageBreaks = std::make_unique<TDVSoftPageBreakList>(TDVSoftPageBreakList{
      {0, 1, -1},  // at drawing item 0 without an offset: not drawn
      {3, 1, -1},  // above the top of drawing item 3
      {5, 1, 4},   // the item puts it 4 pixels into itself
      {99, 1, -1},  // an item that is gone
  });
  std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 200, 200));
  const std::vector<TCanvasRecord> polys = OfKind(log, TCanvasOp::Polygon);
  EXPECT_EQ(Strings(polys), (std::vector<std::string>{"Polygon 192,38 200,46 192,46", "Polygon 192,68 200,76 192,76"}));
  EXPECT_EQ(polys[0].Pen.Color, d.sheet.SoftPageBreakColor);
  // Only breaks in the painted band.
  EXPECT_TRUE(OfKind(d.Paint(Rect(0, 0, 200, 13)), TCanvasOp::Polygon).empty());
}

TEST(Painting, ParagraphBackgroundThatBeginsAboveTheClipIsWhole) {
  PaintData d;
  d.left = 4;
  d.clientWidth = 60;
  const int para = d.AddPara();
  TParaInfo& p = d.sheet.ParaStyles()[para];
  p.LeftIndent = 6;
  p.FirstIndent = -2;
  p.RightIndent = 3;
  p.Background().Color = clYellow;
  p.Border().Style = dvbSingle;
  p.Border().Color = clBlue;
  d.AddNL("x", 0, 0);
  d.AddNL("aaa bbb ccc ddd eee fff", 0, para);  // three lines, tops 13..39
  d.AddNL("y", 0, 0);
  d.Format();
  ASSERT_EQ(d.DrawItems.Count(), 5);
  d.vOffs = 20;
  const std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 60, 13));
  // Left 4 + 6 - 2, right 60 - 3, top 13 and bottom 52 less the scroll (the
  // background fills its right and bottom edges too).
  const std::vector<TCanvasRecord> rects = OfKind(log, TCanvasOp::Rectangle);
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0].ToString(), "Rectangle 8,-7,58,33");
  EXPECT_EQ(rects[0].Brush.Color, clYellow);
  EXPECT_EQ(log.back().Kind, TCanvasOp::Text);
  // The border goes round the same rectangle, after the background.
  const std::vector<TCanvasRecord> lines = OfKind(log, TCanvasOp::Line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].Pen.Color, clBlue);
  // Paragraphs without decoration draw none.
  d.vOffs = 0;
  EXPECT_EQ(OfKind(d.Paint(Rect(0, 0, 60, 12)), TCanvasOp::Rectangle).size(), 1u);
}

TEST(Painting, HooksForTextBackgroundAndParagraphBackground) {
  PaintData d;
  std::vector<std::string> calls;
  d.sheet.OnDrawTextBack = [&](TDVStyle& s, TCanvas&, int32_t styleNo, int32_t left, int32_t top, int32_t width,
                               int32_t height, TDVTextDrawStates, bool&) {
    calls.push_back("text " + std::to_string(s.ItemNo) + "/" + std::to_string(styleNo) + " " +
                    std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
                    std::to_string(height));
  };
  d.sheet.OnDrawParaBack = [&](TDVStyle&, TCanvas&, int32_t paraNo, const TRect& r, bool& doDefault) {
    calls.push_back("para " + std::to_string(paraNo) + " " + std::to_string(r.Top) + ".." + std::to_string(r.Bottom));
    doDefault = false;
  };
  d.AddNL("ab", 1, 0);
  d.AddItem("", std::make_unique<TDVBreakItemInfo>(&d));
  d.AddNL("c", 0, 1);
  d.Format();
  d.Paint(Rect(0, 0, 200, 100));
  EXPECT_EQ(calls, (std::vector<std::string>{"para 0 0..13", "para 1 24..37", "text 0/1 0,0 12x13",
                                             "text 2/0 97,24 6x13"}));
}

TEST(Painting, CustomTextHandlerGetsItemEdgesAndPieceWidths) {
  PaintData d;
  std::vector<std::string> calls;
  d.sheet.OnDrawStyleText = [&](TDVStyle& s, const std::string& text, TCanvas&, int32_t, int32_t spaceBefore,
                                int32_t left, int32_t, int32_t width, int32_t, TDVTextDrawStates state, bool&) {
    std::string flags;
    if (state & dvtsSelected) flags += "S";
    if (state & dvtsItemStart) flags += "<";
    if (state & dvtsDrawItemStart) flags += "[";
    if (state & dvtsDrawItemEnd) flags += "]";
    if (state & dvtsItemEnd) flags += ">";
    calls.push_back(text + "@" + std::to_string(s.OffsetInItem) + " " + std::to_string(left) + "/" +
                    std::to_string(width) + "+" + std::to_string(spaceBefore) + " " + flags);
  };
  d.clientWidth = 30;
  d.AddNL("abc defg", 0, 0);  // "abc " and "defg" on two lines
  d.Format();
  ASSERT_EQ(d.DrawItems.Count(), 2);
  d.Select(1, 2, 1, 4);
  d.Paint(Rect(0, 0, 200, 100));
  EXPECT_EQ(calls, (std::vector<std::string>{"abc @1 0/24+0 <[]", "defg@5 0/24+0 []>", "ef@6 6/12+0 S"}));
}

TEST(Painting, RightToLeftParagraphAppliesItsReadingOrder) {
  PaintData d;
  const int para = d.AddPara();
  d.sheet.ParaStyles()[para].BiDiMode = dvbdRightToLeft;
  d.AddNL("abcd", 0, para);
  d.Format();
  d.Select(0, 2, 0, 4);
  const std::vector<TCanvasRecord> texts = OfKind(d.Paint(Rect(0, 0, 200, 100)), TCanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].TextAlign & TA_RTLREADING, TA_RTLREADING);
  // A canvas without a visual placement gets the selection as one run.
  EXPECT_TRUE(PaintedSelected(texts[1]));
  EXPECT_EQ(texts[1].Text, "bc");
  EXPECT_EQ(texts[1].Points[0].X, texts[0].Points[0].X + 6);
}

TEST(Painting, EmptyDocumentPaintsOnlyTheTrailingCheckpoint) {
  PaintData d;
  d.top = d.bottom = 5;
  d.AddNamedCheckpointExTag("end", true, {});
  d.Format();
  EXPECT_TRUE(d.Paint(Rect(0, 0, 200, 100)).empty());
  d.SetOptions(d.GetOptions() | dvoShowCheckpoints);
  const std::vector<TCanvasRecord> log = d.Paint(Rect(0, 0, 200, 100));
  ASSERT_EQ(Strings(log), std::vector<std::string>{"Line 0,10-200,10"});
  EXPECT_EQ(log[0].Pen.Color, d.sheet.CheckpointEvColor);
}

TEST(Painting, UnformattedOrHalfReformattedPaintsNothing) {
  PaintData d;
  d.AddNL("abc", 0, 0);
  EXPECT_TRUE(d.Paint(Rect(0, 0, 200, 100)).empty());  // not formatted yet
  d.Format();
  d.DrawItems.MarkForDelete(0, 0);  // a partial reformatting under way
  EXPECT_TRUE(d.Paint(Rect(0, 0, 200, 100)).empty());
  d.DrawItems.DeleteMarked();
}

TEST(Painting, VisibleItemQueries) {
  PaintData d;
  EXPECT_EQ(d.GetFirstItemVisible(), -1);
  EXPECT_EQ(d.GetLastItemVisible(), -1);
  BuildLines(d, 100);
  d.clientHeight = 130;
  d.vOffs = 0;
  EXPECT_EQ(d.GetFirstItemVisible(), 0);
  EXPECT_EQ(d.GetLastItemVisible(), 10);
  d.vOffs = 13 * 95;
  EXPECT_EQ(d.GetLastItemVisible(), 99);
  EXPECT_LE(d.GetFirstItemVisible(), 95);
  EXPECT_GE(d.GetFirstItemVisible(), 92);
  EXPECT_EQ(d.FindDrawItemByItem(-1), -1);
  EXPECT_EQ(d.FindDrawItemByItem(42), 42);
}

TEST(PaintBuffered, FailureIsShownAsErrorTextAndDoesNotPropagate) {
  PaintData d;
  d.AddNL("ok", 0, 0);
  d.AddItem("bad", std::make_unique<ThrowingRect>(&d));
  d.Format();
  TRecordingCanvas window;
  window.IntersectClipRect(Rect(10, 20, 110, 70));
  window.ClearLog();
  EXPECT_NO_THROW(d.PaintBuffered(window));
  const std::vector<TCanvasRecord>& log = window.Log();
  // The buffer of the clip's size still lands on the window, then the text.
  ASSERT_EQ(Strings(log), (std::vector<std::string>{"Draw 10,20 TBitmap 100x50", R"(TextW 0,0 "Error:Picture data is damaged")"}));
  EXPECT_EQ(log[1].Font.Name, "Arial");
  EXPECT_EQ(log[1].Font.GetSize(), 10);
  EXPECT_EQ(log[1].Font.Color, TColor(255));
  EXPECT_EQ(log[1].Brush, (TBrush{clWhite, bsSolid}));
}

TEST(PaintBuffered, GoodPaintCopiesTheBufferOnly) {
  PaintData d;
  d.AddNL("ok", 0, 0);
  d.Format();
  TRecordingCanvas window;
  window.IntersectClipRect(Rect(0, 0, 50, 30));
  window.ClearLog();
  d.PaintBuffered(window);
  EXPECT_EQ(window.Strings(), std::vector<std::string>{"Draw 0,0 TBitmap 50x30"});
}

}  // namespace
}  // namespace quillet::test
