// The whole-document pass: width rules, document height, the re-entry when
// a scroll bar comes, the OnlyResized and OnlyTail modes.
#include <gtest/gtest.h>

#include <functional>

#include "layout_test_data.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

// A break (horizontal line) item: a full-line item of style -1.
void AddBreak(LayoutData& d) {
  auto item = std::make_unique<TestFullLine>(&d);
  item->StyleNo = dvsBreak;
  d.AddItem("", std::move(item));
}

struct WidthCase {
  const char* name;
  int32_t client, margins, minText, maxText;
  bool clientTextWidth;
  int32_t wideItem;  // minimal width of a no-wrap paragraph's text, 0 for none
  int32_t documentWidth, textWidth;
};

class WidthRules : public testing::TestWithParam<WidthCase> {};

TEST_P(WidthRules, DocumentAndTextWidth) {
  const WidthCase& c = GetParam();
  LayoutData data;
  data.clientWidth = c.client;
  data.left = data.right = c.margins;
  data.minTextWidth = c.minText;
  data.maxTextWidth = c.maxText;
  if (c.clientTextWidth) data.SetOptions(data.GetOptions() | dvoClientTextWidth);
  data.AddNL("ab", 0, 0);
  if (c.wideItem > 0) {
    const int para = data.AddPara();
    data.sheet.ParaStyles()[para].Options = dvpaoNoWrap;
    data.AddNL(std::string(static_cast<size_t>(c.wideItem / 6), 'x'), 0, para);
  }
  data.Format();
  EXPECT_EQ(data.DocumentWidth, c.documentWidth);
  EXPECT_EQ(data.TextWidth, c.textWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WidthRules,
    testing::Values(
        // name, client, margins, min, max, client text width, wide item, document width, text width
        WidthCase{"ClientLessMargins", 200, 10, 0, 0, false, 0, 180, 180},
        WidthCase{"MinimalTextWidthWidens", 200, 10, 300, 0, false, 0, 300, 300},
        WidthCase{"WideItemWidensBoth", 200, 10, 0, 0, false, 600, 600, 600},
        WidthCase{"ClientTextWidthWrapsAtTheClient", 200, 10, 0, 0, true, 600, 600, 180},
        WidthCase{"MaximumTextWidthWraps", 400, 10, 0, 150, false, 0, 380, 130},
        WidthCase{"ClientNarrowerThanMarginsGivesNoNegativeWidth", 30, 20, 0, 0, true, 0, 20, 0},
        WidthCase{"MaximumNarrowerThanMarginsGivesNoNegativeWidth", 400, 100, 0, 150, false, 0, 200, 0}),
    [](const testing::TestParamInfo<WidthCase>& info) { return std::string(info.param.name); });

TEST(FormatPass, EmptyDocumentIsItsMarginsHigh) {
  LayoutData data;
  data.top = 7;
  data.bottom = 11;
  data.Format();
  EXPECT_EQ(data.DrawItems.Count(), 0);
  EXPECT_EQ(data.DocumentHeight, 18);
  EXPECT_EQ(data.LastItemFormatted, -1);
  EXPECT_EQ(data.formattedEvents, (std::vector<int>{0, -1}));
  EXPECT_EQ(data.State & dvstSkipFormatting, 0u);
}

TEST(FormatPass, SpacingOfParagraphsAndTheBreak) {
  LayoutData data;
  const int spaced = data.AddPara();
  data.sheet.ParaStyles()[spaced].SpaceBefore = 4;
  data.sheet.ParaStyles()[spaced].SpaceAfter = 6;
  data.AddNL("a", 0, spaced);
  data.AddNL("b", 0, spaced);
  AddBreak(data);
  data.AddNL("c", 0, 0);
  data.Format();
  // a: 4 before; b: 6 after a + 4 before; the break: 6 after b, 5 high each
  // side; c: below the break's lower half.
  std::vector<int32_t> tops;
  for (int i = 0; i < data.DrawItems.Count(); ++i) tops.push_back(data.DrawItems[i]->Top);
  EXPECT_EQ(tops, (std::vector<int32_t>{4, 4 + 13 + 10, 27 + 13 + 6, 46 + 11}));
  EXPECT_EQ(data.DrawItems[2]->Height, 11);
  EXPECT_EQ(data.DocumentHeight, 57 + 13);
}

TEST(FormatPass, AScrollBarThatAppearsCausesExactlyOneMorePass) {
  LayoutData data;
  data.scrollBars = true;
  data.clientWidth = 116;
  data.clientHeight = 20;
  // 16 characters fit without the bar, 16 pixels fewer with it.
  data.AddNL(std::string(32, 'a'), 0, 0);
  data.Format();
  EXPECT_TRUE(data.hasVBar);
  EXPECT_EQ(data.passes, 2);
  EXPECT_EQ(data.TextWidth, 100);
  EXPECT_EQ(data.Lines(), std::string(16, 'a') + "|" + std::string(16, 'a'));
  EXPECT_EQ(data.State & (dvstSkipFormatting | dvstResizing), 0u);
  EXPECT_FALSE(data.AlreadyFormatted);
}

TEST(FormatPass, ScrollBarThatKeepsComingAndGoingStopsAtTheSecondLevel) {
  LayoutData data;
  data.scrollBars = true;
  data.flipEveryTime = true;
  data.clientWidth = 116;
  data.AddNL(std::string(17, 'a'), 0, 0);
  data.Format();
  // The first pass brings the bar, the second takes it away; no third.
  EXPECT_EQ(data.passes, 2);
  EXPECT_EQ(data.areaCalls, 2);
  EXPECT_EQ(data.TextWidth, 100);
  EXPECT_EQ(data.State & dvstSkipFormatting, 0u);
  EXPECT_FALSE(data.AlreadyFormatted);
}

TEST(FormatPass, OnlyResizedWithTheSameWidthsKeepsTheDrawingItems) {
  LayoutData data;
  data.AddNL("abc def", 0, 0);
  data.Format();
  const TDVDrawLineInfo* first = data.DrawItems[0];
  const int areaCalls = data.areaCalls;
  data.clientHeight += 50;
  data.Format_(true, false, false, 0, data.canvas, false);
  EXPECT_EQ(data.DrawItems[0], first);
  EXPECT_EQ(data.passes, 1);
  EXPECT_EQ(data.areaCalls, areaCalls + 1);
}

TEST(FormatPass, OnlyResizedKeepsTheSelectionOnItsCharactersAndTheFirstVisibleLine) {
  LayoutData data;
  data.clientWidth = 60;
  for (int i = 0; i < 6; ++i) data.AddNL("aaaa bbbb cccc dddd", 0, 0);
  data.Format();
  // Select "cccc dd" of the fourth paragraph: item offsets 11..18.
  data.Item2DrawItem(3, 11, data.FSelStartNo, data.FSelStartOffs);
  data.Item2DrawItem(3, 18, data.FSelEndNo, data.FSelEndOffs);
  // The view starts 4 pixels into the first line of the third paragraph.
  const int third = data.FindDrawItemByItem(2);
  data.vOffs = data.DrawItems[third]->Top + 4;

  data.clientWidth = 200;
  data.Format_(true, false, false, 0, data.canvas, false);
  EXPECT_EQ(data.Lines().substr(0, 20), "aaaa bbbb cccc dddd|");
  int startItem, endItem;
  int32_t startOffs, endOffs;
  data.StoreSelBounds(startItem, endItem, startOffs, endOffs, false);
  EXPECT_EQ(startItem, 3);
  EXPECT_EQ(startOffs, 11);
  EXPECT_EQ(endItem, 3);
  EXPECT_EQ(endOffs, 18);
  EXPECT_EQ(data.vOffs, data.DrawItems[data.FindDrawItemByItem(2)]->Top + 4);
}

// Two documents built alike: one formatted whole, the other formatted, then
// extended and formatted with OnlyTail.
void ExpectTailLikeWhole(const std::function<void(LayoutData&)>& before,
                         const std::function<void(LayoutData&)>& after) {
  LayoutData whole, tail;
  for (LayoutData* d : {&whole, &tail}) {
    d->clientWidth = 60;
    d->bottom = 5;
    d->flags |= dvflUseJumps;
    const int para = d->AddPara();
    d->sheet.ParaStyles()[para].SpaceAfter = 3;
    d->sheet.ParaStyles()[para].LineSpacing = 150;
    before(*d);
  }
  tail.Format();
  after(tail);
  tail.Format_(false, false, false, 0, tail.canvas, true);
  after(whole);
  whole.Format();
  EXPECT_EQ(tail.Pieces(), whole.Pieces());
  EXPECT_EQ(tail.DocumentHeight, whole.DocumentHeight);
  ASSERT_EQ(tail.Jumps.size(), whole.Jumps.size());
  for (size_t i = 0; i < tail.Jumps.size(); ++i) {
    EXPECT_EQ(tail.Jumps[i]->Id, whole.Jumps[i]->Id);
    EXPECT_EQ(tail.Jumps[i]->DrawItemNo, whole.Jumps[i]->DrawItemNo);
  }
  for (int i = 0; i < whole.ItemCount(); ++i) {
    EXPECT_EQ(tail.GetItem(i)->DrawItemNo, whole.GetItem(i)->DrawItemNo) << i;
    EXPECT_EQ(tail.GetItem(i)->JumpID, whole.GetItem(i)->JumpID) << i;
  }
  EXPECT_EQ(tail.LastItemFormatted, tail.ItemCount() - 1);
}

TEST(FormatPass, OnlyTailAppendsNewParagraphsLikeAWholePass) {
  ExpectTailLikeWhole(
      [](LayoutData& d) {
        d.AddNL("first paragraph text", 0, 1);
        d.AddNL("link", dvsJump1, -1);
      },
      [](LayoutData& d) {
        d.AddNL("second paragraph", 0, 1);
        d.AddNL("more link", dvsJump1, 0);
        AddBreak(d);
        d.AddNL("after", 0, 1);
      });
}

TEST(FormatPass, OnlyTailContinuingTheLastParagraphLaysItOutAgain) {
  ExpectTailLikeWhole(
      [](LayoutData& d) {
        d.AddNL("zero", 0, 1);
        d.AddNL("first paragraph", 0, 1);
        d.AddNL("link", dvsJump1, -1);
      },
      [](LayoutData& d) {
        d.AddNL(" continues here", 0, -1);  // same paragraph, same last line
        d.AddNL("next", 0, 1);
      });
}

TEST(FormatPass, TheCanvasFontIsSetOnlyWhenTheTextStyleChanges) {
  LayoutData data;
  int applied = 0;
  data.sheet.OnApplyStyle = [&applied](TDVStyle&, TCanvas&, int32_t, bool&) { ++applied; };
  for (int i = 0; i < 5; ++i) data.AddNL("same style", 0, 0);
  data.AddNL("other", 1, 0);
  data.Format();
  EXPECT_EQ(applied, 2);
}

}  // namespace
}  // namespace quillet::test
