// Item and drawing-item positions, the search by vertical position and by
// point, selecting all and nothing.
#include <gtest/gtest.h>

#include "layout_test_data.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

struct OffsetCase {
  int32_t itemOffs;
  int drawItemNo;
  int32_t drawItemOffs;
  int32_t backToItemOffs;  // the item offset that drawing-item place maps back to
};

// Item offsets of item 0 to drawing-item offsets and back.
void ExpectOffsetsOfFirstItem(const LayoutData& d, std::initializer_list<OffsetCase> cases) {
  for (const OffsetCase& c : cases) {
    int no;
    int32_t offs;
    d.Item2DrawItem(0, c.itemOffs, no, offs);
    EXPECT_EQ(no, c.drawItemNo) << c.itemOffs;
    EXPECT_EQ(offs, c.drawItemOffs) << c.itemOffs;
    int itemNo;
    int32_t itemOffs;
    d.DrawItem2Item(no, offs, itemNo, itemOffs);
    EXPECT_EQ(itemNo, 0);
    EXPECT_EQ(itemOffs, c.backToItemOffs) << c.itemOffs;
  }
}

// "aaaa bbbb cccc" at 60 pixels: "aaaa bbbb" (offsets 1..9), the space at
// 10 dropped, "cccc" (11..14) on the next line.
class Wrapped : public testing::Test {
 protected:
  void SetUp() override {
    d.clientWidth = 60;
    d.flags |= dvflTrim;
    d.AddNL("aaaa bbbb cccc", 0, 0);
    d.AddNL("dd", 0, 0);
    d.AddNL("ee", 0, 0);
    d.Format();
    ASSERT_EQ(d.Lines(), "aaaa bbbb|cccc|dd|ee");
  }
  LayoutData d;
};

TEST_F(Wrapped, ItemOffsetsMapToDrawingItemOffsets) {
  // The end of the first piece and the start of the second are one place:
  // the start of the next line; the dropped space stays on the first line.
  ExpectOffsetsOfFirstItem(d, {{1, 0, 1, 1}, {9, 0, 9, 9}, {10, 0, 10, 10}, {11, 1, 1, 11}, {15, 1, 5, 15}});
  int no = 0;
  int32_t offs = 0;
  d.Item2DrawItem(-1, 1, no, offs);
  EXPECT_EQ(no, -1);
  int32_t left, top;
  EXPECT_TRUE(d.GetItemCoords(1, left, top));
  EXPECT_EQ(top, 26);
  d.vOffs = 20;
  EXPECT_TRUE(d.GetItemClientCoords(1, left, top));
  EXPECT_EQ(top, 6);
  EXPECT_FALSE(d.GetItemCoords(7, left, top));
}

TEST_F(Wrapped, FirstVisibleStartsOneLineHigher) {
  // A point inside the third line ("dd", top 26): the last drawing item of the first line.
  EXPECT_EQ(d.GetDrawItemNo(30, gdinFirstVisible), 0);
  EXPECT_EQ(d.GetDrawItemNo(40, gdinLastVisible), 3);
  EXPECT_EQ(d.GetDrawItemNo(0, gdinFirstVisible), 0);
  EXPECT_EQ(d.GetDrawItemNo(500, gdinLastVisible), 3);
}

TEST_F(Wrapped, ClicksLandOnTheNearestCharacterBoundary) {
  struct Case {
    int32_t x, y;
    int drawItemNo;
    int32_t offs;
  };
  for (const Case& c : {Case{100, 5, 0, 10},  // right of the line: its end
                        Case{-5, 15, 1, 1},   // left of the line: the start of its leftmost piece
                        Case{8, 2, 0, 2},     // 8 pixels: nearer the boundary at 6
                        Case{10, 2, 0, 3},    // nearer 12
                        Case{9, 2, 0, 2},     // halfway: the first of equals
                        Case{5, 400, 3, 2}}) {  // below the document: the last line
    int no;
    int32_t offs;
    d.FindDrawItemForSel(c.x, c.y, no, offs, false);
    EXPECT_EQ(no, c.drawItemNo) << c.x << "," << c.y;
    EXPECT_EQ(offs, c.offs) << c.x << "," << c.y;
  }
  int no;
  int32_t offs;
  d.FindDrawItemForSel(100, 5, no, offs, true);
  EXPECT_EQ(no, -1);
  d.FindDrawItemForSel(7, 20, no, offs, true);
  EXPECT_EQ(no, 1);
}

// "abcd  ef" at 30 pixels: both spaces at the wrap are dropped, so item
// offsets 5 and 6 lie on no drawing item.
TEST(Positions, TheCaretBetweenTwoDroppedSpacesStaysAtTheFirstLinesEnd) {
  for (const bool unicode : {false, true}) {
    SCOPED_TRACE(unicode ? "Unicode" : "8-bit");
    LayoutData d;
    d.clientWidth = 30;
    d.flags |= dvflTrim;
    if (unicode)
      d.AddNL(LayoutData::U(u"abcd  ef"), kUnicodeStyle, 0);
    else
      d.AddNL("abcd  ef", 0, 0);
    d.Format();
    ASSERT_EQ(d.Lines(), "abcd|ef");
    ExpectOffsetsOfFirstItem(d, {{5, 0, 5, 5}, {6, 0, 5, 5}, {7, 1, 1, 7}, {9, 1, 3, 9}});
    // A click right of the first line is after "d"; left of the second, before "e".
    struct Click {
      int32_t x, y;
      int drawItemNo;
      int32_t offs;
    };
    for (const Click& c : {Click{29, 5, 0, 5}, Click{200, 5, 0, 5}, Click{-3, 18, 1, 1}}) {
      int no;
      int32_t offs;
      d.FindDrawItemForSel(c.x, c.y, no, offs, false);
      EXPECT_EQ(no, c.drawItemNo) << c.x << "," << c.y;
      EXPECT_EQ(offs, c.offs) << c.x << "," << c.y;
    }
  }
}

TEST(Positions, AClickNeverSplitsADoubleByteCharacter) {
  // GBK "中文中" after "a": every ideograph is 13 pixels and two bytes.
  for (const bool unicode : {false, true}) {
    LayoutData d;
    if (unicode)
      d.AddNL(LayoutData::U(u"a中文中"), kUnicodeStyle, 0);
    else
      d.AddNL(WideCharToMultiByte(936, u"a中文中"), 0, 0);
    d.Format();
    const int step = unicode ? 1 : 2;
    // Boundaries at 0, 6, 19, 32, 45 pixels.
    for (int32_t x = 0; x <= 50; ++x) {
      int no;
      int32_t offs;
      d.FindDrawItemForSel(x, 5, no, offs, false);
      ASSERT_EQ(no, 0);
      const int32_t chars = offs == 1 ? 0 : 1 + (offs - 2) / step;
      EXPECT_TRUE(offs == 1 || (offs - 2) % step == 0) << "x " << x << " offs " << offs;
      const int32_t boundaries[] = {0, 6, 19, 32, 45};
      int nearest = 0;
      for (int k = 1; k < 5; ++k)
        if (std::abs(boundaries[k] - x) < std::abs(boundaries[nearest] - x)) nearest = k;
      EXPECT_EQ(chars, nearest) << "x " << x;
    }
  }
}

TEST(Positions, ObjectsTakeTheSideOfTheClickAndMarkersPassTheCaretOn) {
  for (const bool rtl : {false, true}) {
    LayoutData d;
    const int para = d.AddPara();
    if (rtl) d.sheet.ParaStyles()[para].BiDiMode = dvbdRightToLeft;
    d.AddNL("ab", 0, para);
    d.AddItem("", std::make_unique<TestRect>(&d, 20, 10));
    d.GetItem(1)->SetSameAsPrev(true);
    d.Format();
    const TDVDrawLineInfo* picture = d.DrawItems[1];
    int no;
    int32_t offs;
    d.FindDrawItemForSel(picture->Left + 15, picture->Top + 2, no, offs, false);
    EXPECT_EQ(no, 1);
    EXPECT_EQ(offs, rtl ? 0 : 1);
    d.FindDrawItemForSel(picture->Left + 3, picture->Top + 2, no, offs, false);
    EXPECT_EQ(offs, rtl ? 1 : 0);
  }
  LayoutData d;
  auto marker = std::make_unique<TestRect>(&d, 12, 10);
  marker->StyleNo = dvsListMarker;
  d.AddItem("", std::move(marker));
  d.AddNL("ab", 0, -1);
  auto last = std::make_unique<TestRect>(&d, 12, 10);
  last->StyleNo = dvsListMarker;
  d.AddItem("", std::move(last));  // a marker that ends the document
  d.Format();
  int no;
  int32_t offs;
  d.FindDrawItemForSel(2, 2, no, offs, false);
  EXPECT_EQ(no, 1);
  EXPECT_EQ(offs, 1);
  d.FindDrawItemForSel(2, d.DrawItems[2]->Top + 2, no, offs, false);
  EXPECT_EQ(no, 2);
  EXPECT_EQ(offs, 1);
}

struct PartialItem : TestRect {
  using TestRect::TestRect;
  int deselected = 0;
  void DeselectPartial() override { ++deselected; }
};

struct SelectionData : LayoutData {
  int selects = 0, onSelections = 0, editorsDestroyed = 0;
  void DoSelect() override { ++selects; }
  void DoOnSelection() override { ++onSelections; }
  void DestroyInplaceEditor() override { ++editorsDestroyed; }
};

TEST(Positions, SelectAllAndDeselect) {
  SelectionData d;
  d.SelectAll();
  EXPECT_EQ(d.FSelStartNo, -1);
  EXPECT_EQ(d.selects, 0);

  d.AddItem("", std::make_unique<PartialItem>(&d));
  d.AddNL("abc", 0, 0);
  d.Format();
  auto* table = static_cast<PartialItem*>(d.GetItem(0));
  d.SetPartialSelectedItem(table);
  EXPECT_EQ(d.FPartialSelectedItem, table);
  d.SelectAll();
  EXPECT_EQ(table->deselected, 1);
  EXPECT_EQ(d.FPartialSelectedItem, nullptr);
  EXPECT_EQ(d.editorsDestroyed, 1);
  EXPECT_EQ(d.onSelections, 1);
  EXPECT_EQ(std::tuple(d.FSelStartNo, d.FSelStartOffs, d.FSelEndNo, d.FSelEndOffs), std::tuple(0, 0, 1, 4));

  const int selects = d.selects;
  d.State |= dvstDeselecting;  // a deselection already running
  d.Deselect(nullptr, true);
  EXPECT_EQ(d.FSelStartNo, 0);
  d.State &= ~dvstDeselecting;
  d.Deselect(nullptr, true);
  EXPECT_EQ(std::tuple(d.FSelStartNo, d.FSelEndNo, d.FocusedItemNo), std::tuple(-1, -1, -1));
  EXPECT_EQ(d.selects, selects + 1);
  EXPECT_EQ(d.State & dvstDeselecting, 0u);
}

}  // namespace
}  // namespace quillet::test
