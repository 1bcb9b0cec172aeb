// Placing text and objects on lines, on the fixed-metrics canvas: a Latin
// character is 6 pixels wide, an ideograph 13, a line 13 high (ascent 10).
#include <gtest/gtest.h>

#include "engine/model/marker_item.h"
#include "layout_test_data.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

struct WrapCase {
  const char* name;
  std::u16string text;
  int32_t width;
  bool trim;
  std::string lines;  // screen lines joined by "|", an ideograph shown as "#"
};

// Each case runs as an 8-bit item in code page 936 and as a Unicode item:
// the same characters break at the same places in both.
class Wrapping : public testing::TestWithParam<WrapCase> {};

TEST_P(Wrapping, EightBitAndUnicodeBreakAlike) {
  const WrapCase& c = GetParam();
  for (const bool unicode : {false, true}) {
    LayoutData data;
    data.clientWidth = c.width;
    if (c.trim) data.flags |= dvflTrim;
    if (unicode)
      data.AddNL(LayoutData::U(c.text), kUnicodeStyle, 0);
    else
      data.AddNL(WideCharToMultiByte(936, c.text), 0, 0);
    data.Format();
    EXPECT_EQ(data.Lines(), c.lines) << (unicode ? "Unicode" : "8-bit");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wrapping,
    testing::Values(
        WrapCase{"BreakAfterSpace", u"aaa bbb ccc", 40, false, "aaa |bbb |ccc"},
        WrapCase{"TrimDropsTheBreakingSpace", u"aaa bbb ccc", 40, true, "aaa|bbb|ccc"},
        WrapCase{"WordThatExactlyFillsStays", u"abc def", 18, false, "abc |def"},
        WrapCase{"WordThatExactlyFillsStaysTrimmed", u"abc def", 18, true, "abc|def"},
        WrapCase{"LongWordIsCut", u"abcdefghij", 24, false, "abcd|efgh|ij"},
        WrapCase{"LongWordAfterTextMovesThenIsCut", u"ab cdefghijkl", 24, false, "ab |cdef|ghij|kl"},
        WrapCase{"BreakAfterHyphen", u"ab-cd", 24, false, "ab-|cd"},
        WrapCase{"IdeographsBreakBetweenEachOther", u"ab 中文中文", 40, false, "ab #|###"},
        WrapCase{"NeverBeforeClosingPunctuation", u"中中。中", 26, false, "#|##|#"},
        WrapCase{"DoubleByteCharactersStayWhole", u"中文", 20, false, "#|#"},
        // Two spaces at a wrap: the break space leaves the first line's end,
        // the other is the one space a wrapped line loses at its start;
        // whether the second space fits (36 pixels) or not (30) alike.
        WrapCase{"TwoSpacesAtAWrapEndNeitherLine", u"abcd  ef", 30, true, "abcd|ef"},
        WrapCase{"TwoFittingSpacesAtAWrapEndNeitherLine", u"abcd  ef", 36, true, "abcd|ef"},
        WrapCase{"TwoSpacesAtAWrapUntrimmedStayOnTheLine", u"abcd  ef", 30, false, "abcd  |ef"},
        WrapCase{"ParagraphKeepsItsLeadingSpaces", u"  ab", 100, true, "  ab"}),
    [](const testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

TEST(LineLayout, PiecesSitOnBaselinesAndRaiseForTallerText) {
  LayoutData data;
  data.top = 5;
  data.bottom = 7;
  data.clientWidth = 40;
  data.AddNL("aaa bbb", 0, 0);
  data.sheet.TextStyles()[1].Size = 15;  // a 20-pixel font: ascent 16, descent 4
  data.AddNL("cc", 1, -1);
  data.Format();
  // Line 1 "aaa " at the top margin; line 2 "bbb" raised by the taller "cc".
  EXPECT_EQ(data.Pieces(), (std::vector<std::string>{"1+4@0,5/24", "5+3@0,24/18", "1+2@18,18/20"}));
  // Baseline of line 2: 5 + 13 (line 1) + 16; its depth 4.
  EXPECT_EQ(data.DocumentHeight, 5 + 13 + 16 + 4 + 7);
  EXPECT_EQ(data.GetItem(0)->DrawItemNo, 0);
  EXPECT_EQ(data.GetItem(1)->DrawItemNo, 2);
}

TEST(LineLayout, JustifiedLineSharesTheFreeSpaceOverItsGaps) {
  LayoutData data;
  data.clientWidth = 76;
  const int para = data.AddPara(dvaJustify);
  // "aa bb cc dd" is 66 pixels: 10 to share over three gaps; "ee" wraps.
  data.AddNL("aa bb cc dd ee", 0, para);
  data.AddNL("ff gg", 0, para);
  data.Format();
  std::vector<int32_t> spaces, lefts;
  for (int i = 0; i < 4; ++i) {
    spaces.push_back(data.DrawItems[i]->SpaceBefore);
    lefts.push_back(data.DrawItems[i]->Left);
  }
  EXPECT_EQ(spaces, (std::vector<int32_t>{0, 3, 3, 4}));
  EXPECT_EQ(lefts, (std::vector<int32_t>{0, 12, 33, 54}));
  EXPECT_EQ(data.DrawItems[3]->Left + data.DrawItems[3]->Width, 76);
  // The paragraph's last line is not stretched.
  EXPECT_EQ(data.DrawItems[4]->SpaceBefore, 0);
  EXPECT_EQ(data.DrawItems[data.DrawItems.Count() - 1]->SpaceBefore, 0);
}

TEST(LineLayout, LineSpacingAddsSpaceBelowTextLinesOnly) {
  struct Case {
    TDVLineSpacingType type;
    int32_t spacing;
    int32_t below;
  };
  for (const Case& c : {Case{dvlsPercent, 150, 10}, Case{dvlsPercent, 100, 0}, Case{dvlsSpaceBetween, 7, 7}}) {
    LayoutData data;
    data.clientWidth = 30;
    data.sheet.TextStyles()[0].Size = 15;  // lines 20 pixels high, characters 10 wide
    const int para = data.AddPara();
    data.sheet.ParaStyles()[para].LineSpacingType = c.type;
    data.sheet.ParaStyles()[para].LineSpacing = c.spacing;
    data.AddNL("aa bb", 0, para);
    data.Format();
    ASSERT_EQ(data.DrawItems.Count(), 2);
    EXPECT_EQ(data.DrawItems[0]->ExtraSpaceBelow, c.below);
    EXPECT_EQ(data.DrawItems[1]->Top, 20 + c.below);
    EXPECT_EQ(data.DocumentHeight, 40 + 2 * c.below);
  }
  // A line holding only objects gets none.
  LayoutData data;
  const int para = data.AddPara();
  data.sheet.ParaStyles()[para].LineSpacing = 200;
  data.AddItem("p", std::make_unique<TestRect>(&data, 10, 30));
  data.GetItem(0)->ParaNo = para;
  data.Format();
  EXPECT_EQ(data.DrawItems[0]->ExtraSpaceBelow, 0);
}

TEST(LineLayout, AlignmentMovesLinesAndKeepsOverfullFullLineItemsAtTheMargin) {
  struct Case {
    TDVAlignment alignment;
    int32_t textLeft;   // "ab" on a 100-pixel line after a 10-pixel margin
    int32_t wideLeft;   // a 300-pixel full-line item
    int32_t narrowLeft; // a 40-pixel one
  };
  for (const Case& c : {Case{dvaLeft, 10, 10, 10}, Case{dvaCenter, 54, 10, 40}, Case{dvaRight, 98, 10, 70}}) {
    LayoutData data;
    data.left = 10;
    data.right = 10;
    data.clientWidth = 120;
    const int para = data.AddPara(c.alignment);
    data.AddNL("ab", 0, para);
    auto wide = std::make_unique<TestFullLine>(&data, 300, 20);
    wide->ParaNo = para;
    data.AddItem("t", std::move(wide));
    auto narrow = std::make_unique<TestFullLine>(&data, 40, 20);
    narrow->ParaNo = para;
    data.AddItem("t", std::move(narrow));
    data.Format();
    EXPECT_EQ(data.DrawItems[0]->Left, c.textLeft);
    EXPECT_EQ(data.DrawItems[1]->Left, c.wideLeft);
    EXPECT_EQ(data.DrawItems[2]->Left, c.narrowLeft);
  }
}

TEST(LineLayout, OverfullTextLineCentredStartsAtTheEdgeRightAlignedLeftOfIt) {
  // A 10-pixel line (wrapping at the client width) holding one 13-pixel ideograph.
  for (const auto& [alignment, left] : {std::pair{dvaCenter, 0}, std::pair{dvaRight, -3}, std::pair{dvaLeft, 0}}) {
    LayoutData data;
    data.SetOptions(data.GetOptions() | dvoClientTextWidth);
    data.clientWidth = 10;
    data.AddNL(LayoutData::U(u"中文"), kUnicodeStyle, data.AddPara(alignment));
    data.Format();
    EXPECT_EQ(data.TextWidth, 10);
    EXPECT_EQ(data.Lines(), "#|#");
    EXPECT_EQ(data.DrawItems[0]->Left, left) << alignment;
  }
}

TEST(LineLayout, RightToLeftLinesRunInReverseWithTheirGaps) {
  LayoutData data;
  const int para = data.AddPara();
  data.sheet.ParaStyles()[para].BiDiMode = dvbdRightToLeft;
  data.AddNL("ab", 0, para);
  auto object = std::make_unique<TestRect>(&data, 10, 10, 4);  // 4 pixels of room before it
  object->ParaNo = -1;
  data.AddItem("p", std::move(object));
  data.AddNL("cd", 0, -1);
  data.Format();
  // Logical order: ab 0..12, gap 4, object 16..26, cd 26..38.
  EXPECT_EQ(data.Pieces(), (std::vector<std::string>{"1+2@26,0/12", "obj@12,1/10", "1+2@0,0/12"}));
}

TEST(LineLayout, ObjectsSitOnTheBaselineOrAroundItAndShiftUp) {
  struct Case {
    TDVVAlign align;
    int32_t vShift;
    int32_t top;  // of a 20-pixel object after "a" (ascent 10), the line's baseline at y
    int32_t baseline;
  };
  for (const Case& c : {Case{dvvaBaseline, 0, 0, 19}, Case{dvvaMiddle, 0, 0, 10}, Case{dvvaMiddle, 50, 0, 20}}) {
    LayoutData data;
    data.AddNL("a", 0, 0);
    auto object = std::make_unique<TestRect>(&data, 10, 20);
    object->VAlign = c.align;
    object->VShift = c.vShift;
    object->ParaNo = -1;
    data.AddItem("p", std::move(object));
    data.Format();
    // The text piece sits with its top 10 above the baseline.
    EXPECT_EQ(data.DrawItems[1]->Top, c.top) << c.align << "/" << c.vShift;
    EXPECT_EQ(data.DrawItems[0]->Top + 10, c.baseline) << c.align << "/" << c.vShift;
  }
}

TEST(LineLayout, FirstPieceAfterAListMarkerStaysOnItsLine) {
  LayoutData data;
  data.clientWidth = 30;
  data.sheet.ListStyles().Add().Levels().Add();
  auto marker = std::make_unique<TDVMarkerItemInfo>(&data, 0, 0, 0, false);
  marker->ParaNo = 0;
  data.AddItem("", std::move(marker));
  data.AddNL("abcdefgh", 0, -1);
  data.Format();
  ASSERT_GE(data.DrawItems.Count(), 2);
  EXPECT_FALSE(data.DrawItems[1]->FromNewLine);
  EXPECT_GE(data.DrawItems[1]->Length, 1);
}

TEST(LineLayout, HyperlinkAreasShareTheItemsId) {
  LayoutData data;
  data.flags |= dvflUseJumps;
  data.clientWidth = 40;
  data.AddNL("x ", 0, 0);
  data.AddNL("link text here", dvsJump1, -1);
  data.AddNL("second", dvsJump1, 0);
  data.Format();
  ASSERT_GE(data.Jumps.size(), 4u);
  EXPECT_EQ(data.GetItem(1)->JumpID, 0);
  EXPECT_EQ(data.GetItem(2)->JumpID, 1);
  for (const auto& jump : data.Jumps) {
    const TDVDrawLineInfo* piece = data.DrawItems[jump->DrawItemNo];
    EXPECT_EQ(jump->Id, piece->ItemNo - 1);
    EXPECT_EQ(jump->Left, piece->Left);
    EXPECT_EQ(jump->Top, piece->Top);
    EXPECT_EQ(jump->Width, piece->Width);
  }
}

TEST(LineLayout, FittingALongTextDoesNotOverflow) {
  // 100,000 characters on a 30,000-pixel line: the interpolation's product
  // of count and width is far beyond 32 bits.
  LayoutData data;
  data.clientWidth = 30000;
  data.AddNL(std::string(100000, 'a'), 0, 0);
  data.Format();
  ASSERT_EQ(data.DrawItems.Count(), 20);
  EXPECT_EQ(data.DrawItems[0]->Length, 5000);
  EXPECT_EQ(data.DrawItems[0]->Width, 30000);
}

TEST(LineLayout, SafeFormattingFitsLikeTheCachedAdvances) {
  LayoutData cached, safe;
  for (LayoutData* d : {&cached, &safe}) {
    d->clientWidth = 50;
    d->AddNL(WideCharToMultiByte(936, u"ab 中文中文 cdefghijkl"), 0, 0);
    d->AddNL(LayoutData::U(u"ab 中文中文 cdefghijkl"), kUnicodeStyle, 0);
  }
  cached.Format();
  DocViewSafeFormatting = true;
  safe.Format();
  DocViewSafeFormatting = false;
  EXPECT_EQ(cached.Pieces(), safe.Pieces());
}

}  // namespace
}  // namespace quillet::test
