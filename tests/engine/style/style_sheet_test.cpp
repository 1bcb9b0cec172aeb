#include "engine/style/style_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

TEST(StyleSheet, DefaultStylesAndColours) {
  TDVStyle sheet;
  const TFontInfos& texts = sheet.TextStyles();
  ASSERT_EQ(texts.Count(), 6);
  std::vector<std::string> names;
  texts.AssignTo(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Normal text", "Heading", "Subheading", "Keywords", "Jump 1", "Jump 2"}));
  struct Expected {
    TFontStyles style;
    TColor color;
    bool jump;
  };
  const Expected expected[] = {{0, clWindowText, false}, {fsBold, 0xFF0000, false}, {fsBold, 0x800000, false},
                               {fsItalic, 0x000080, false}, {fsUnderline, 0x008000, true},
                               {fsUnderline, 0x008000, true}};
  for (int i = 0; i < 6; ++i) {
    TFontInfo plain;
    plain.Style = expected[i].style;
    plain.Color = expected[i].color;
    plain.Jump = expected[i].jump;
    EXPECT_TRUE(texts[i].IsEqual(plain, 0)) << i;
    EXPECT_EQ(texts[i].Collection(), &texts);
  }
  ASSERT_EQ(sheet.ParaStyles().Count(), 2);
  EXPECT_EQ(sheet.ParaStyles()[0].StyleName, "Paragraph Style");
  EXPECT_EQ(sheet.ParaStyles()[0].Alignment, dvaLeft);
  EXPECT_EQ(sheet.ParaStyles()[1].StyleName, "Centered");
  EXPECT_EQ(sheet.ParaStyles()[1].Alignment, dvaCenter);
  EXPECT_EQ(sheet.ListStyles().Count(), 0);

  EXPECT_EQ(sheet.SpacesInTab, 8);
  EXPECT_EQ(sheet.JumpCursor, crJump);
  EXPECT_FALSE(sheet.FullRedraw);
  EXPECT_TRUE(sheet.UseSound);
  EXPECT_EQ(sheet.Color, TColor(0x80000005));
  EXPECT_EQ(sheet.HoverColor, clNone);
  EXPECT_EQ(sheet.SelColor, TColor(0x8000000D));
  EXPECT_EQ(sheet.SelTextColor, TColor(0x8000000E));
  EXPECT_EQ(sheet.InactiveSelColor, TColor(0x8000000D));
  EXPECT_EQ(sheet.InactiveSelTextColor, TColor(0x8000000E));
  EXPECT_EQ(sheet.CheckpointColor, 0x008000);
  EXPECT_EQ(sheet.CheckpointEvColor, 0x00FF00);
  EXPECT_EQ(sheet.PageBreakColor, TColor(0x80000010));
  EXPECT_EQ(sheet.SoftPageBreakColor, TColor(0x8000000F));
  EXPECT_EQ(sheet.DefUnicodeStyle, -1);
  EXPECT_EQ(sheet.DefCodePage, 0);
}

TEST(StyleSheet, ResetGivesLinksTheSheetsCursorAndSettersCopy) {
  TDVStyle sheet;
  sheet.JumpCursor = 5;
  sheet.TextStyles().Add();
  sheet.ResetTextStyles();
  ASSERT_EQ(sheet.TextStyles().Count(), 6);
  EXPECT_EQ(sheet.TextStyles()[4].JumpCursor, 5);
  EXPECT_EQ(sheet.TextStyles()[0].JumpCursor, crJump);

  TDVStyle other;
  other.TextStyles()[0].Size = 20;
  other.ParaStyles()[0].NextParaNo = 1;
  sheet.SetTextStyles(other.TextStyles());
  sheet.SetParaStyles(other.ParaStyles());
  sheet.SetTextStyles(sheet.TextStyles());  // its own collection: nothing happens
  EXPECT_EQ(sheet.TextStyles()[0].Size, 20);
  EXPECT_EQ(sheet.TextStyles()[4].JumpCursor, crJump);
  EXPECT_EQ(sheet.ParaStyles()[0].NextParaNo, 1);
  EXPECT_EQ(sheet.TextStyles()[0].Collection(), &sheet.TextStyles());
}

TEST(StyleSheet, HoverSensitivity) {
  TDVStyle sheet;
  EXPECT_FALSE(sheet.StyleHoverSensitive(4));
  sheet.HoverColor = clRed;
  EXPECT_TRUE(sheet.StyleHoverSensitive(4));
  EXPECT_EQ(sheet.GetHoverColor(4), clRed);
  sheet.HoverColor = clNone;
  sheet.TextStyles()[4].HoverBackColor = clYellow;
  EXPECT_TRUE(sheet.StyleHoverSensitive(4));
  sheet.TextStyles()[4].BackColor = clYellow;
  EXPECT_FALSE(sheet.StyleHoverSensitive(4));
  sheet.TextStyles()[4].HoverColor = clBlue;
  EXPECT_EQ(sheet.GetHoverColor(4), clBlue);
  EXPECT_TRUE(sheet.StyleHoverSensitive(4));

  int asked = -1;
  sheet.OnStyleHoverSensitive = [&asked](TDVStyle&, int32_t styleNo, bool& sensitive) {
    asked = styleNo;
    sensitive = !sensitive;
  };
  EXPECT_FALSE(sheet.StyleHoverSensitive(4));
  EXPECT_EQ(asked, 4);
}

TEST(StyleSheet, ApplyHooksCanTakeOver) {
  TDVStyle sheet;
  TRecordingCanvas canvas;
  int applied = 0;
  bool takeOver = true;
  sheet.OnApplyStyle = [&](TDVStyle&, TCanvas&, int32_t styleNo, bool& doDefault) {
    applied = styleNo;
    doDefault = !takeOver;
  };
  sheet.OnApplyStyleColor = [&](TDVStyle&, TCanvas&, int32_t, TDVTextDrawStates state, bool& doDefault) {
    applied = state;
    doDefault = !takeOver;
  };
  sheet.ApplyStyle(canvas, 1, dvbdUnspecified);
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(canvas.Font().Style, 0);
  sheet.ApplyStyleColor(canvas, 1, dvtsHover, false);
  EXPECT_EQ(applied, dvtsHover);
  EXPECT_EQ(canvas.Font().Color, TFont().Color);
  takeOver = false;
  sheet.ApplyStyle(canvas, 1, dvbdUnspecified);
  EXPECT_EQ(canvas.Font().Style, fsBold);
  sheet.ApplyStyleColor(canvas, 1, 0, false);
  EXPECT_EQ(canvas.Font().Color, 0xFF0000);
}

TEST(StyleSheet, DrawStyleTextCapitalisesAndTellsTheHandlerWhere) {
  TDVStyle sheet;
  sheet.TextStyles()[3].StyleEx = dvfsAllCaps;
  TRecordingCanvas canvas;
  sheet.ApplyStyle(canvas, 3, dvbdUnspecified);
  std::string seen;
  int32_t itemNo = 0, offset = 0;
  bool takeOver = true;
  sheet.OnDrawStyleText = [&](TDVStyle& s, const std::string& text, TCanvas&, int32_t styleNo, int32_t, int32_t,
                              int32_t, int32_t, int32_t, TDVTextDrawStates, bool& doDefault) {
    seen = text + "/" + std::to_string(styleNo);
    itemNo = s.ItemNo;
    offset = s.OffsetInItem;
    doDefault = !takeOver;
  };
  sheet.DrawStyleText("key word", canvas, 12, 5, 3, nullptr, 0, 10, 20, 50, 16, 0, false, false);
  EXPECT_EQ(seen, "KEY WORD/3");
  EXPECT_EQ(itemNo, 12);
  EXPECT_EQ(offset, 5);
  EXPECT_TRUE(canvas.Log().empty());
  takeOver = false;
  sheet.DrawStyleText("key", canvas, 12, 5, 3, nullptr, 0, 10, 20, 50, 16, 0, false, false);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Text 10,20 \"KEY\""}));
}

TEST(StyleSheet, TextBackIsOnlyAHook) {
  TDVStyle sheet;
  TRecordingCanvas canvas;
  sheet.DrawTextBack(canvas, 3, 0, nullptr, 0, 0, 10, 10, 0);
  EXPECT_TRUE(canvas.Log().empty());
  int32_t seenItem = -1, seenStyle = -1;
  sheet.OnDrawTextBack = [&](TDVStyle& s, TCanvas& c, int32_t styleNo, int32_t left, int32_t top, int32_t width,
                             int32_t height, TDVTextDrawStates, bool&) {
    seenItem = s.ItemNo;
    seenStyle = styleNo;
    c.FillRect(Bounds(left, top, width, height));
  };
  sheet.DrawTextBack(canvas, 3, 2, nullptr, 1, 2, 10, 10, 0);
  EXPECT_EQ(seenItem, 3);
  EXPECT_EQ(seenStyle, 2);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"FillRect 1,2,11,12"}));
}

TEST(StyleSheet, CheckpointMarks) {
  TDVStyle sheet;
  TRecordingCanvas canvas;
  sheet.DrawCheckpoint(canvas, 10, 20, 4, 3, true, 200);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Ellipse 8,18,12,22", "Line -3,20-200,20"}));
  EXPECT_EQ(canvas.Log()[0].Pen.Color, clLime);
  EXPECT_EQ(canvas.Log()[0].Pen.Style, psSolid);
  EXPECT_EQ(canvas.Log()[0].Brush.Style, bsClear);
  EXPECT_EQ(canvas.Log()[1].Pen.Style, psDot);
  canvas.ClearLog();
  // Not at an item: only the line, in the plain colour.
  sheet.DrawCheckpoint(canvas, 10, 20, -1, 0, false, 200);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Line 0,20-200,20"}));
  EXPECT_EQ(canvas.Log()[0].Pen.Color, clGreen);
  canvas.ClearLog();
  sheet.OnDrawCheckpoint = [](TDVStyle&, TCanvas&, int32_t, int32_t, int32_t, int32_t, bool, int32_t,
                              bool& doDefault) { doDefault = false; };
  sheet.DrawCheckpoint(canvas, 10, 20, 4, 0, true, 200);
  EXPECT_TRUE(canvas.Log().empty());
}

TEST(StyleSheet, PageBreakLineAndTriangle) {
  TDVStyle sheet;
  TRecordingCanvas canvas;
  sheet.DrawPageBreak(canvas, 50, 3, dvpbPageBreak, 200);
  // x2 = 200 - 3 - 8.
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Line -3,50-189,50", "Polygon 189,50 197,58 189,58"}));
  EXPECT_EQ(canvas.Log()[0].Pen.Color, clBtnShadow);
  EXPECT_EQ(canvas.Log()[1].Brush.Color, clWindow);
  EXPECT_EQ(canvas.Log()[1].Brush.Style, bsSolid);
  canvas.ClearLog();
  sheet.DrawPageBreak(canvas, 50, 0, dvpbSoftPageBreak, 200);
  EXPECT_EQ(canvas.Log()[0].Pen.Color, clBtnFace);
  canvas.ClearLog();
  TDVPageBreakType seen = dvpbSoftPageBreak;
  sheet.OnDrawPageBreak = [&seen](TDVStyle&, TCanvas&, int32_t, int32_t, TDVPageBreakType type, int32_t,
                                  bool& doDefault) {
    seen = type;
    doDefault = false;
  };
  sheet.DrawPageBreak(canvas, 50, 0, dvpbPageBreak, 200);
  EXPECT_EQ(seen, dvpbPageBreak);
  EXPECT_TRUE(canvas.Log().empty());
}

TEST(StyleSheet, ParagraphBackgroundByStyleOrHandler) {
  TDVStyle sheet;
  TRecordingCanvas canvas;
  sheet.DrawParaBack(canvas, 1, Rect(0, 0, 10, 10));
  EXPECT_TRUE(canvas.Log().empty());  // no background colour
  sheet.ParaStyles()[1].Background().Color = clYellow;
  sheet.DrawParaBack(canvas, 1, Rect(0, 0, 10, 10));
  ASSERT_FALSE(canvas.Log().empty());
  EXPECT_EQ(canvas.Log()[0].Brush.Color, clYellow);
  canvas.ClearLog();
  int32_t seenPara = -1;
  TRect seenRect;
  sheet.OnDrawParaBack = [&](TDVStyle&, TCanvas&, int32_t paraNo, const TRect& r, bool& doDefault) {
    seenPara = paraNo;
    seenRect = r;
    doDefault = false;
  };
  sheet.DrawParaBack(canvas, 1, Rect(1, 2, 3, 4));
  EXPECT_EQ(seenPara, 1);
  EXPECT_EQ(seenRect, Rect(1, 2, 3, 4));
  EXPECT_TRUE(canvas.Log().empty());
}

TEST(StyleSheet, RemovedImageListLeavesNoLevelPointingAtIt) {
  TDVStyle sheet;
  TCustomImageList images;
  TDVListInfo& list = sheet.ListStyles().Add();
  list.Levels().Add().ImageList = &images;
  list.Levels().Add().ImageList = &images;
  sheet.ImageListRemoved(&images);
  EXPECT_EQ(list.Levels()[0].ImageList, nullptr);
  EXPECT_EQ(list.Levels()[1].ImageList, nullptr);
}

}  // namespace
}  // namespace quillet
