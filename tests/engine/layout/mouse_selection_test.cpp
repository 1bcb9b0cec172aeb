// The mouse over a laid-out document on the fixed-metrics canvas: hit-testing,
// selecting by drag, Shift-click and double-click (Latin, Chinese in 8-bit
// and UTF-16 text, empty lines), right clicks, hyperlink hover and jumps,
// and the selected picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/picture_item.h"
#include "layout_test_data.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {
namespace {

// A document that records the events the mouse raises.
class MouseData : public LayoutData {
 public:
  MouseData() { flags |= dvflUseJumps; }
  std::vector<int32_t> jumps, hovers;
  std::vector<std::string> dblClicks, rightClicks;
  int selects = 0;
  bool handlers = true;

  bool IsAssignedJump() const override { return handlers; }
  void DoJump(int32_t id) override { jumps.push_back(id); }
  void DoDVMouseMove(int32_t id) override { hovers.push_back(id); }
  bool IsAssignedDVDblClick() const override { return handlers; }
  void DoDVDblClick(const std::string& word, int32_t) override { dblClicks.push_back(word); }
  bool IsAssignedDVRightClick() const override { return handlers; }
  void DoDVRightClick(const std::string& word, int32_t, int32_t, int32_t) override { rightClicks.push_back(word); }
  void DoSelect() override { ++selects; }

  // The selection in item terms, normalised: "item:offs-item:offs".
  std::string Sel() {
    int s, e;
    int32_t so, eo;
    GetSelectionBounds(s, so, e, eo, true);
    return std::to_string(s) + ":" + std::to_string(so) + "-" + std::to_string(e) + ":" + std::to_string(eo);
  }
  void Click(int32_t x, int32_t y, TShiftState shift = 0) {
    MouseDown(mbLeft, shift, x, y);
    MouseUp(mbLeft, shift, x, y);
  }
  // The platform's double click: press, release, DblClick, press, release.
  // Answers the selection right after the double click.
  std::string DoubleClick(int32_t x, int32_t y) {
    Click(x, y);
    DblClick(x, y);
    const std::string selected = Sel();
    MouseDown(mbLeft, ssDouble, x, y);
    MouseUp(mbLeft, 0, x, y);
    return selected;
  }
};

// Latin is 6 pixels a character, an ideograph 13; lines are 13 high.
TEST(MouseSelection, FindDrawItemAtPosFindsTheItemUnderThePoint) {
  MouseData d;
  d.AddNL("abc", 0, 0);
  auto rect = std::make_unique<TestRect>(&d, 20, 30);
  rect->ParaNo = -1;
  d.AddItem("", std::move(rect));
  d.AddNL("line two", 0, 0);
  d.AddNL("three", 0, 0);
  d.Format();
  // The picture raises its line: the text stands on its baseline.
  ASSERT_EQ(d.Pieces(), (std::vector<std::string>{"1+3@0,19/18", "obj@18,0/20", "1+8@0,32/48", "1+5@0,45/30"}));
  struct Case {
    int32_t x, y;
    int expected;
  };
  for (const Case& c : {Case{0, 19, 0}, Case{17, 31, 0}, Case{18, 31, -1}, Case{18, 29, 1}, Case{18, 0, 1},
                        Case{37, 29, 1}, Case{38, 5, -1}, Case{0, 18, -1}, Case{5, 32, 2}, Case{47, 44, 2},
                        Case{48, 35, -1}, Case{1, 45, 3}, Case{1, 58, -1}, Case{-1, 46, -1}})
    EXPECT_EQ(d.FindDrawItemAtPos(c.x, c.y), c.expected) << c.x << "," << c.y;
  MouseData empty;
  EXPECT_EQ(empty.FindDrawItemAtPos(0, 0), -1);
}

TEST(MouseSelection, DragSelectsAndShiftClickExtendsFromTheStart) {
  MouseData d;
  d.AddNL("hello world", 0, 0);
  d.AddNL("second line", 0, 0);
  d.Format();
  // Press before "l" of hello (x 12), drag to after "sec" on line two.
  d.MouseDown(mbLeft, 0, 12, 5);
  EXPECT_TRUE(d.State & dvstMakingSelection);
  EXPECT_FALSE(d.SelectionExists(true, true));  // collapsed while dragging, and kept
  d.MouseMove(0, 18, 18);
  EXPECT_EQ(d.Sel(), "0:3-1:4");
  d.MouseUp(mbLeft, 0, 18, 18);
  EXPECT_FALSE(d.State & dvstMakingSelection);
  EXPECT_EQ(d.Sel(), "0:3-1:4");
  EXPECT_EQ(d.selects, 1);
  EXPECT_TRUE(d.SelectionExists(true, true));

  // Shift-click keeps the start where the drag began.
  d.Click(60, 5, ssShift);
  EXPECT_EQ(d.Sel(), "0:3-0:11");
  // A plain click collapses; Shift-click with no selection starts afresh.
  d.Click(6, 18);
  EXPECT_FALSE(d.SelectionExists(true, true));
  d.Click(30, 5, ssShift);
  EXPECT_FALSE(d.SelectionExists(true, true));
  EXPECT_EQ(d.Sel(), "-1:0--1:0");  // the empty selection was dropped by the query
}

TEST(MouseSelection, DraggingPastTheEdgeClampsUnlessTheDataSaysOtherwise) {
  MouseData d;
  d.clientHeight = 30;
  d.AddNL("abc", 0, 0);
  d.AddNL("def", 0, 0);
  d.AddNL("ghi", 0, 0);
  d.Format();
  d.MouseDown(mbLeft, 0, 0, 2);
  d.MouseMove(0, 500, 500);  // clamped to (200, 30): the end of line three
  EXPECT_EQ(d.Sel(), "0:1-2:4");
  d.MouseMove(0, -50, -50);  // clamped to (0, 0)
  EXPECT_EQ(d.Sel(), "0:1-0:1");
  d.flags |= dvflMouseXYAlwaysCorrect;
  d.MouseMove(0, 500, 500);  // unclamped: past the last line, the last line's end
  EXPECT_EQ(d.Sel(), "0:1-2:4");
  d.MouseUp(mbLeft, 0, 500, 500);
}

TEST(MouseSelection, DoubleClickSelectsTheWord) {
  struct Case {
    const char* name;
    std::string text;
    int32_t styleNo;
    int32_t x;
    std::string word;
    std::string sel;
  };
  const std::string gbkMiddle = Utf8ToAnsi("中文乗字");  // 乗 is 81 5C: its trail byte is a backslash
  // "ab " is 18 pixels, each ideograph 13.
  const std::vector<Case> cases = {
      {"latin word", "hello world", 0, 40, "world", "0:7-0:12"},
      {"first word", "hello world", 0, 1, "hello", "0:1-0:6"},
      {"last character", "hello world", 0, 65, "world", "0:7-0:12"},
      {"delimiter", "hello world", 0, 32, "", "0:6-0:6"},
      {"gbk, the backslash trail byte", "ab " + gbkMiddle, 0, 18 + 2 * 13 + 2, gbkMiddle, "0:4-0:12"},
      {"gbk, the last character", "ab " + gbkMiddle, 0, 18 + 4 * 13 - 1, gbkMiddle, "0:4-0:12"},
      {"gbk, a delimiter after it", gbkMiddle + "\\x", 0, 4 * 13 + 2, "", "0:9-0:9"},
      {"utf-16", LayoutData::U(u"ab 中文乗字"), kUnicodeStyle, 40, LayoutData::U(u"中文乗字"), "0:4-0:8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseData d;
    d.sheet.TextStyles()[0].Charset = GB2312_CHARSET;
    d.AddNL(c.text, c.styleNo, 0);
    d.Format();
    EXPECT_EQ(d.DoubleClick(c.x, 5), c.sel);
    ASSERT_EQ(d.dblClicks.size(), 1u);
    EXPECT_EQ(d.dblClicks[0], c.word);
    // The press that came with the double click left the word selected (an
    // empty one goes at the release), and the release ended the guard.
    EXPECT_EQ(d.Sel(), c.word.empty() ? "-1:0--1:0" : c.sel);
    EXPECT_FALSE(d.State & dvstIgnoreNextMouseDown);
  }
  // An empty line has no character to read and no width to hit.
  MouseData d;
  d.AddNL("", 0, 0);
  d.Format();
  d.DoubleClick(0, 5);
  EXPECT_TRUE(d.dblClicks.empty());
  std::string word = "x";
  TCustomDVFormattedData* data = nullptr;
  int itemNo = 0;
  d.GetWordAtExt(0, 5, data, itemNo, word);
  EXPECT_EQ(itemNo, -1);
}

TEST(MouseSelection, DoubleClickWithoutWordSelectionOnlyReports) {
  MouseData d;
  d.SetOptions(d.GetOptions() & ~TDVOptions{dvoDblClickSelectsWord});
  d.AddNL("hello world", 0, 0);
  d.Format();
  d.DoubleClick(40, 5);
  EXPECT_EQ(d.dblClicks, (std::vector<std::string>{"world"}));
  EXPECT_FALSE(d.SelectionExists(true, true));
  // Single-click mode: a click is the double click.
  d.SetOptions(d.GetOptions() | dvoSingleClick);
  d.Click(1, 5);
  EXPECT_EQ(d.dblClicks, (std::vector<std::string>{"world", "hello"}));
}

TEST(MouseSelection, RightClickCollapsesOutsideTheSelectionAndReportsTheWord) {
  MouseData d;
  d.AddNL("hello world", 0, 0);
  d.AddNL("", 0, 0);
  d.Format();
  d.SetSelectionBounds(0, 1, 0, 6);  // "hello"
  d.MouseDown(mbRight, 0, 12, 5);
  d.MouseUp(mbRight, 0, 12, 5);  // inside
  EXPECT_EQ(d.Sel(), "0:1-0:6");
  d.MouseDown(mbRight, 0, 42, 5);
  d.MouseUp(mbRight, 0, 42, 5);  // outside: collapsed at the click
  EXPECT_EQ(d.Sel(), "0:8-0:8");
  d.MouseDown(mbRight, 0, 0, 18);
  d.MouseUp(mbRight, 0, 0, 18);  // the empty line: nothing to report, nothing read past it
  EXPECT_EQ(d.rightClicks, (std::vector<std::string>{"hello", "world"}));
}

// "go to" in the jump style between plain text: "see go to it".
class Links : public testing::Test {
 protected:
  void SetUp() override {
    d.AddNL("see ", 0, 0);
    d.AddNL("go to", dvsJump1, -1);
    d.AddNL(" it", 0, -1);
    d.FirstJumpNo = 100;
    d.Format();
    ASSERT_EQ(d.Jumps.size(), 1u);
  }
  MouseData d;
  // The link spans x 24..54.
};

TEST_F(Links, PressAndReleaseOnTheLinkJumps) {
  d.Click(30, 5);
  EXPECT_EQ(d.jumps, (std::vector<int32_t>{100}));
  // Released elsewhere: no jump.
  d.MouseDown(mbLeft, 0, 30, 5);
  d.MouseUp(mbLeft, 0, 70, 5);
  // A drag that selects from the link: no jump either.
  d.MouseDown(mbLeft, 0, 30, 5);
  d.MouseMove(0, 48, 5);
  d.MouseUp(mbLeft, 0, 48, 5);
  EXPECT_EQ(d.jumps.size(), 1u);
  // Without a handler nothing fires.
  d.handlers = false;
  d.Deselect(nullptr, false);
  d.Click(30, 5);
  EXPECT_EQ(d.jumps.size(), 1u);
}

TEST_F(Links, HoverReportsTheLinkAndItsLeaving) {
  d.MouseMove(0, 2, 5);
  d.MouseMove(0, 30, 5);
  d.MouseMove(0, 40, 5);  // still the same link: no new report
  EXPECT_EQ(d.LastJumpMovedAbove, 0);
  EXPECT_EQ(d.hovers, (std::vector<int32_t>{100}));
  d.MouseMove(0, 70, 5);
  EXPECT_EQ(d.hovers, (std::vector<int32_t>{100, -1}));
  EXPECT_EQ(d.LastJumpMovedAbove, -1);
  // The link's data and item are found by their id.
  TCustomDVFormattedData* data = nullptr;
  int itemNo = -2;
  d.GetJumpPointLocation(100, data, itemNo);
  EXPECT_EQ(data, &d);
  EXPECT_EQ(itemNo, 1);
  d.GetJumpPointLocation(0, data, itemNo);
  EXPECT_EQ(itemNo, -1);
  EXPECT_EQ(data, nullptr);
}

TEST(MouseSelection, SelectedImageIsThePictureCoveredExactly) {
  MouseData d;
  d.AddNL("ab", 0, 0);
  auto bitmap = std::make_unique<TBitmap>(4, 4);
  TGraphic* image = bitmap.get();
  d.AddItem("pic", std::make_unique<TDVGraphicItemInfo>(&d, std::move(bitmap), dvvaBaseline));
  d.AddNL("cd", 0, -1);
  d.Format();
  struct Case {
    int s;
    int32_t so;
    int e;
    int32_t eo;
    bool picked;
  };
  for (const Case& c : {Case{1, 0, 1, 1, true}, Case{0, 3, 2, 1, true}, Case{0, 3, 1, 1, true},
                        Case{1, 0, 2, 1, true}, Case{0, 2, 1, 1, false}, Case{1, 0, 2, 2, false},
                        Case{0, 1, 0, 3, false}}) {
    d.SetSelectionBounds(c.s, c.so, c.e, c.eo);
    EXPECT_EQ(d.GetSelectedImage(), c.picked ? image : nullptr) << c.s << ":" << c.so << "-" << c.e << ":" << c.eo;
  }
}

TEST(MouseSelection, SelTextOfTheWholeDocument) {
  MouseData d;
  d.AddNL("one", 0, 0);
  d.AddNL("two", 0, 0);
  d.Format();
  EXPECT_EQ(d.GetSelText(false), "");
  d.SelectAll();
  EXPECT_EQ(d.GetSelText(false), "one\r\ntwo");
  EXPECT_EQ(d.GetSelText(true), LayoutData::U(u"one\r\ntwo"));
}

}  // namespace
}  // namespace quillet::test
