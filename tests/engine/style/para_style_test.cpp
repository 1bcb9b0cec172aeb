#include "engine/style/para_style.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quillet {
namespace {

TEST(ParaInfo, ExtraLineSpacingDependsOnTypeAndValue) {
  struct Case {
    TDVLineSpacingType type;
    int32_t spacing;
    bool extra;
  };
  const Case cases[] = {
      {dvlsSpaceBetween, 0, false}, {dvlsSpaceBetween, 1, true}, {dvlsSpaceBetween, -2, false},
      {dvlsPercent, 100, false},    {dvlsPercent, 101, true},    {dvlsPercent, 50, false},
  };
  for (const Case& c : cases) {
    TParaInfo p;
    p.LineSpacingType = c.type;
    p.LineSpacing = c.spacing;
    EXPECT_EQ(p.ExtraLineSpacing(), c.extra) << "type " << c.type << " spacing " << c.spacing;
  }
}

// Sets every property to a value other than its default.
void MakeUnusual(TParaInfo& p) {
  p.StyleName = "Quote";
  p.BaseStyleNo = 2;
  p.Standard = false;
  p.FirstIndent = -7;
  p.LeftIndent = 11;
  p.RightIndent = 13;
  p.SpaceBefore = 3;
  p.SpaceAfter = 5;
  p.Alignment = dvaJustify;
  p.NextParaNo = 4;
  p.LineSpacing = 12;
  p.LineSpacingType = dvlsSpaceBetween;
  p.Options = dvpaoReadOnly | dvpaoDoNotWantReturns;
  p.BiDiMode = dvbdRightToLeft;
  p.Border().Style = dvbTriple;
  p.Border().Color = clRed;
  p.Border().Width = 2;
  p.Border().InternalWidth = 3;
  p.Border().VisibleBorders.SetValues(true, false, true, false);
  p.Border().BorderOffsets.Left = 6;
  p.Background().Color = clYellow;
  p.Background().BorderOffsets.Bottom = 9;
}

TEST(ParaInfo, AssignCopiesAllButNextParaNo) {
  TParaInfo source;
  MakeUnusual(source);
  TParaInfo target;
  target.NextParaNo = 1;

  target.Assign(source);

  EXPECT_EQ(target.NextParaNo, 1);
  EXPECT_TRUE(target.IsEqual(source, DVParaInfoProperty(dvpiNextParaNo)));
  EXPECT_FALSE(target.IsSimpleEqual(source));
  EXPECT_EQ(target.StyleName, "Quote");
  EXPECT_EQ(target.BaseStyleNo, 2);
  EXPECT_FALSE(target.Standard);
  EXPECT_EQ(target.GetNextStyleRef(), 1);
  target.SetNextStyleRef(4);
  EXPECT_TRUE(target.IsSimpleEqual(source));
}

TEST(ParaInfo, DefaultsAndSetters) {
  TParaInfo p;
  EXPECT_EQ(p.StyleName, "Paragraph Style");
  EXPECT_EQ(p.NextParaNo, -1);
  EXPECT_EQ(p.LineSpacing, 100);
  EXPECT_EQ(p.Border().Color, clWindowText);
  EXPECT_EQ(p.Border().Style, dvbNone);
  EXPECT_TRUE(p.Border().VisibleBorders.IsAllEqual(true));
  EXPECT_EQ(p.Background().Color, clNone);

  // Setting an owned part copies into the style's own object.
  TDVBorder* own = &p.Border();
  TDVBorder b;
  b.Style = dvbDouble;
  p.SetBorder(b);
  b.Style = dvbSingle;
  EXPECT_EQ(&p.Border(), own);
  EXPECT_EQ(p.Border().Style, dvbDouble);
}

// One change per property identifier: each must be caught by its own bit and
// by no other.
struct Mutation {
  TDVParaInfoProperty property;
  std::function<void(TParaInfo&)> change;
};

std::vector<Mutation> AllMutations() {
  return {
      {dvpiFirstIndent, [](TParaInfo& p) { p.FirstIndent = 4; }},
      {dvpiLeftIndent, [](TParaInfo& p) { p.LeftIndent = 4; }},
      {dvpiRightIndent, [](TParaInfo& p) { p.RightIndent = 4; }},
      {dvpiSpaceBefore, [](TParaInfo& p) { p.SpaceBefore = 4; }},
      {dvpiSpaceAfter, [](TParaInfo& p) { p.SpaceAfter = 4; }},
      {dvpiAlignment, [](TParaInfo& p) { p.Alignment = dvaCenter; }},
      {dvpiNextParaNo, [](TParaInfo& p) { p.NextParaNo = 0; }},
      {dvpiLineSpacing, [](TParaInfo& p) { p.LineSpacing = 150; }},
      {dvpiLineSpacingType, [](TParaInfo& p) { p.LineSpacingType = dvlsSpaceBetween; }},
      {dvpiBackground_Color, [](TParaInfo& p) { p.Background().Color = clAqua; }},
      {dvpiBackground_BO_Left, [](TParaInfo& p) { p.Background().BorderOffsets.Left = 1; }},
      {dvpiBackground_BO_Top, [](TParaInfo& p) { p.Background().BorderOffsets.Top = 1; }},
      {dvpiBackground_BO_Right, [](TParaInfo& p) { p.Background().BorderOffsets.Right = 1; }},
      {dvpiBackground_BO_Bottom, [](TParaInfo& p) { p.Background().BorderOffsets.Bottom = 1; }},
      {dvpiBorder_Color, [](TParaInfo& p) { p.Border().Color = clBlue; }},
      {dvpiBorder_Style, [](TParaInfo& p) { p.Border().Style = dvbSingle; }},
      {dvpiBorder_Width, [](TParaInfo& p) { p.Border().Width = 2; }},
      {dvpiBorder_InternalWidth, [](TParaInfo& p) { p.Border().InternalWidth = 2; }},
      {dvpiBorder_BO_Left, [](TParaInfo& p) { p.Border().BorderOffsets.Left = 1; }},
      {dvpiBorder_BO_Top, [](TParaInfo& p) { p.Border().BorderOffsets.Top = 1; }},
      {dvpiBorder_BO_Right, [](TParaInfo& p) { p.Border().BorderOffsets.Right = 1; }},
      {dvpiBorder_BO_Bottom, [](TParaInfo& p) { p.Border().BorderOffsets.Bottom = 1; }},
      {dvpiBorder_Vis_Left, [](TParaInfo& p) { p.Border().VisibleBorders.Left = false; }},
      {dvpiBorder_Vis_Top, [](TParaInfo& p) { p.Border().VisibleBorders.Top = false; }},
      {dvpiBorder_Vis_Right, [](TParaInfo& p) { p.Border().VisibleBorders.Right = false; }},
      {dvpiBorder_Vis_Bottom, [](TParaInfo& p) { p.Border().VisibleBorders.Bottom = false; }},
      {dvpiNoWrap, [](TParaInfo& p) { p.Options = dvpaoNoWrap; }},
      {dvpiReadOnly, [](TParaInfo& p) { p.Options = dvpaoReadOnly; }},
      {dvpiStyleProtect, [](TParaInfo& p) { p.Options = dvpaoStyleProtect; }},
      {dvpiDoNotWantReturns, [](TParaInfo& p) { p.Options = dvpaoDoNotWantReturns; }},
      {dvpiBiDiMode, [](TParaInfo& p) { p.BiDiMode = dvbdLeftToRight; }},
  };
}

TEST(ParaInfo, IsEqualSkipsExactlyTheIgnoredProperty) {
  const std::vector<Mutation> mutations = AllMutations();
  ASSERT_EQ(mutations.size(), 31u);  // one per identifier
  for (const Mutation& m : mutations) {
    SCOPED_TRACE("property " + std::to_string(m.property));
    TParaInfo plain, changed;
    m.change(changed);
    const TDVParaInfoProperties bit = DVParaInfoProperty(m.property);
    EXPECT_FALSE(changed.IsSimpleEqual(plain));
    EXPECT_FALSE(changed.IsEqual(plain, 0));
    EXPECT_TRUE(changed.IsEqual(plain, bit));
    EXPECT_FALSE(changed.IsEqual(plain, DVAllParaInfoProperties & ~bit));
  }
}

TEST(ParaInfo, IsSimpleEqualIgnoresNames) {
  TParaInfo a, b;
  MakeUnusual(a);
  MakeUnusual(b);
  b.StyleName = "Other";
  b.BaseStyleNo = 0;
  EXPECT_TRUE(a.IsSimpleEqual(b));
}

// Two default styles score every step's full weight: indents 5 x 1000,
// backgrounds 80000 + 400, borders 80000, alignment and direction 60000,
// options 112000, line spacing 5000.
constexpr int32_t kDefaultScore = 342400;

TEST(ParaInfo, SimilarityOfDefaults) {
  TParaInfo a, b;
  EXPECT_EQ(a.SimilarityValue(b), kDefaultScore);
}

TEST(ParaInfo, SimilarityCountsEachDifference) {
  struct Case {
    const char* name;
    std::function<void(TParaInfo& own, TParaInfo& other)> change;
    int32_t delta;
  };
  const Case cases[] = {
      // Own value first: (1 - |10 - 15| / 10) x 1000 = 500.
      {"indent", [](TParaInfo& o, TParaInfo& x) { o.LeftIndent = 10; x.LeftIndent = 15; }, -500},
      {"alignment", [](TParaInfo&, TParaInfo& x) { x.Alignment = dvaRight; }, -50000},
      {"bidi", [](TParaInfo&, TParaInfo& x) { x.BiDiMode = dvbdRightToLeft; }, -10000},
      {"read-only", [](TParaInfo&, TParaInfo& x) { x.Options = dvpaoReadOnly; }, -100000},
      {"no-wrap and no returns", [](TParaInfo& o, TParaInfo&) { o.Options = dvpaoNoWrap | dvpaoDoNotWantReturns; },
       -11000},
      {"background colour", [](TParaInfo&, TParaInfo& x) { x.Background().Color = clBlack; }, -80000},
  };
  for (const Case& c : cases) {
    TParaInfo own, other;
    c.change(own, other);
    EXPECT_EQ(own.SimilarityValue(other), kDefaultScore + c.delta) << c.name;
  }
}

TEST(ParaInfo, SimilarityOfLineSpacing) {
  struct Case {
    TDVLineSpacingType ownType;
    int32_t ownValue;
    TDVLineSpacingType otherType;
    int32_t otherValue;
    int32_t score;  // in place of the 5000 of equal spacings
  };
  const Case cases[] = {
      {dvlsPercent, 200, dvlsPercent, 100, 2500},       // (1 - 100/200) x 5000
      {dvlsPercent, 150, dvlsSpaceBetween, 0, -20000},  // only one adds space
      {dvlsPercent, 100, dvlsSpaceBetween, 0, 0},       // neither does
      {dvlsPercent, 150, dvlsSpaceBetween, 4, 0},       // both do
  };
  for (const Case& c : cases) {
    TParaInfo own, other;
    own.LineSpacingType = c.ownType;
    own.LineSpacing = c.ownValue;
    other.LineSpacingType = c.otherType;
    other.LineSpacing = c.otherValue;
    EXPECT_EQ(own.SimilarityValue(other), kDefaultScore - 5000 + c.score)
        << c.ownValue << " against " << c.otherValue;
  }
}

TEST(ParaInfos, FindSuchStyleUnderMask) {
  TParaInfos infos(nullptr);
  infos.Add().LeftIndent = 10;        // 0
  infos.Add().Alignment = dvaCenter;  // 1
  TParaInfo& centred = infos.Add();   // 2
  centred.Alignment = dvaCenter;
  centred.SpaceAfter = 8;
  ASSERT_EQ(infos.Count(), 3);

  TParaInfo sample;
  sample.Alignment = dvaCenter;
  sample.SpaceAfter = 8;
  const TDVParaInfoProperties alignment = DVParaInfoProperty(dvpiAlignment);

  EXPECT_EQ(infos.FindSuchStyle(2, sample, alignment), 2);  // the base style first
  EXPECT_EQ(infos.FindSuchStyle(0, sample, alignment), 1);  // else the first match
  EXPECT_EQ(infos.FindSuchStyle(0, sample, DVAllParaInfoProperties), 2);
  EXPECT_EQ(infos.FindSuchStyle(0, sample, 0), 0);  // nothing compared
  EXPECT_EQ(infos.FindSuchStyle(-1, sample, alignment), 1);  // no base style
  sample.RightIndent = 1;
  EXPECT_EQ(infos.FindSuchStyle(1, sample, DVAllParaInfoProperties), -1);
}

}  // namespace
}  // namespace quillet
