// Merging style collections: Map, Append and SmartMerge, with the
// next-style and base-style references translated into the target.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/base/dv_lists.h"
#include "engine/style/para_style.h"
#include "engine/style/text_style.h"

namespace quillet {
namespace {

std::vector<int32_t> Merge(TCustomDVInfos& target, const TCustomDVInfos& source, TDVStyleMergeMode mode) {
  TDVIntegerList mapping;
  mapping.Add(42);  // must be cleared first
  target.MergeWith(source, mode, mapping);
  return mapping.Values();
}

// Text styles told apart by size, with next-style and base references.
struct Shape {
  int32_t size;
  int32_t next = -1;
  int32_t base = -1;
};

void Fill(TFontInfos& infos, const std::vector<Shape>& shapes) {
  for (const Shape& s : shapes) {
    TFontInfo& f = infos.Add();
    f.Size = s.size;
    f.NextStyleNo = s.next;
    f.BaseStyleNo = s.base;
  }
}

std::vector<Shape> Describe(const TFontInfos& infos) {
  std::vector<Shape> out;
  for (int i = 0; i < infos.Count(); ++i) out.push_back({infos[i].Size, infos[i].NextStyleNo, infos[i].BaseStyleNo});
  return out;
}

std::string ToString(const std::vector<Shape>& shapes) {
  std::string s;
  for (const Shape& x : shapes)
    s += "(" + std::to_string(x.size) + " " + std::to_string(x.next) + " " + std::to_string(x.base) + ")";
  return s;
}

// Every source style maps to an equal target style whose next style is
// where the source's next style maps.
void ExpectConsistent(const TFontInfos& target, const TFontInfos& source, const std::vector<int32_t>& map) {
  ASSERT_EQ(map.size(), static_cast<size_t>(source.Count()));
  for (int k = 0; k < source.Count(); ++k) {
    const TFontInfo& t = target[map[k]];
    EXPECT_EQ(t.Size, source[k].Size) << "source " << k;
    const int32_t next = source[k].NextStyleNo;
    const int32_t expectedNext = next >= 0 && next < source.Count() ? map[next] : -1;
    EXPECT_EQ(t.NextStyleNo, expectedNext) << "source " << k;
  }
}

TEST(StyleMergeMap, IntoEmptyCollectionMapsEverythingToMinusOne) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(source, {{10}, {12}, {14}});
  EXPECT_EQ(Merge(target, source, dvs_merge_Map), (std::vector<int32_t>{-1, -1, -1}));
  EXPECT_EQ(target.Count(), 0);
}

TEST(StyleMergeMap, PicksMostSimilarAmongSameKindFirst) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, {{10}, {12}, {12}, {30}});
  // A link far from every link candidate still maps to a link.
  target[3].Jump = true;
  target[3].Style = fsBold | fsItalic;
  Fill(source, {{9}, {13}, {10}, {10}});
  source[2].Jump = true;
  // No Unicode link in the target: a Unicode link takes the links first.
  source[3].Jump = true;
  source[3].Unicode = true;
  // Scored against the candidate's size: 9 scores 9000 with 10 and 7500 with
  // 12; 13 scores 9167 with both 12s, and the lower index wins.
  EXPECT_EQ(Merge(target, source, dvs_merge_Map), (std::vector<int32_t>{0, 1, 3, 3}));
  EXPECT_EQ(target.Count(), 4);
}

TEST(StyleMergeMap, UnicodeGroupComesBeforeAll) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, {{10}, {20}});
  target[1].Unicode = true;
  // Nothing with the source's Jump flag; by score alone style 0 would win.
  target[0].Jump = true;
  target[1].Jump = true;
  Fill(source, {{10}});
  source[0].Unicode = true;
  EXPECT_EQ(Merge(target, source, dvs_merge_Map), (std::vector<int32_t>{1}));
}

TEST(StyleMergeAppend, CopiesAndTranslatesReferences) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, {{10}, {12}});
  Fill(source, {{10, 1, -1}, {14, 0, 0}, {16, 7, 9}});
  EXPECT_EQ(Merge(target, source, dvs_merge_Append), (std::vector<int32_t>{2, 3, 4}));
  EXPECT_EQ(ToString(Describe(target)), "(10 -1 -1)(12 -1 -1)(10 3 -1)(14 2 2)(16 -1 -1)");
}

TEST(StyleMergeSmart, EqualCollectionAddsNothing) {
  const std::vector<Shape> shapes = {{10, -1}, {12, 0}, {14, 2}, {16, 4, 1}, {18, 3}};
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, shapes);
  Fill(source, shapes);
  EXPECT_EQ(Merge(target, source, dvs_merge_SmartMerge), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(target.Count(), 5);
}

TEST(StyleMergeSmart, DifferentReferenceMeansDifferentStyle) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, {{10}, {12}});
  // Equal to target 1 but for the next style, which is new here.
  Fill(source, {{12, 1}, {20, 0, 0}});
  const auto map = Merge(target, source, dvs_merge_SmartMerge);
  EXPECT_EQ(map, (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(ToString(Describe(target)), "(10 -1 -1)(12 -1 -1)(12 3 -1)(20 2 2)");
  ExpectConsistent(target, source, map);
}

TEST(StyleMergeSmart, RepeatedMergesAddNoDuplicates) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, {{10}, {12}, {12, 0}});
  // Forward and backward references, a loop and one out of range.
  Fill(source, {{12, 1}, {20, 0, 0}, {12, 3}, {10, -1, 5}, {14, 99}, {16, 5}});
  const auto first = Merge(target, source, dvs_merge_SmartMerge);
  ExpectConsistent(target, source, first);
  const int count = target.Count();
  const auto second = Merge(target, source, dvs_merge_SmartMerge);
  EXPECT_EQ(target.Count(), count);
  EXPECT_EQ(second, first);
  // The style with the out-of-range reference was added with none.
  EXPECT_EQ(target[first[4]].NextStyleNo, -1);
  EXPECT_EQ(target[first[1]].BaseStyleNo, first[0]);
}

// Small random collections with many equal styles and references, so that
// the choices between equal candidates matter.
TEST(StyleMergeSmart, RandomCollectionsMergeConsistentlyAndOnce) {
  std::mt19937 rng(12345);
  auto randomShapes = [&rng](int n) {
    std::vector<Shape> shapes;
    for (int i = 0; i < n; ++i)
      shapes.push_back({10 + static_cast<int32_t>(rng() % 3), static_cast<int32_t>(rng() % (n + 1)) - 1});
    return shapes;
  };
  for (int round = 0; round < 500; ++round) {
    TFontInfos target(nullptr), source(nullptr);
    const auto targetShapes = randomShapes(static_cast<int>(rng() % 6));
    const auto sourceShapes = randomShapes(1 + static_cast<int>(rng() % 6));
    Fill(target, targetShapes);
    Fill(source, sourceShapes);
    SCOPED_TRACE("target " + ToString(targetShapes) + " source " + ToString(sourceShapes));
    const auto first = Merge(target, source, dvs_merge_SmartMerge);
    ExpectConsistent(target, source, first);
    const int count = target.Count();
    const auto second = Merge(target, source, dvs_merge_SmartMerge);
    ExpectConsistent(target, source, second);
    EXPECT_EQ(target.Count(), count);
    TFontInfos twin(nullptr);
    Fill(twin, sourceShapes);
    EXPECT_EQ(Merge(twin, source, dvs_merge_SmartMerge).size(), sourceShapes.size());
    EXPECT_EQ(twin.Count(), source.Count()) << "merged into an equal collection";
    if (HasFailure()) break;
  }
}

TEST(StyleMergeSmart, EqualSourceStylesShareOneCopy) {
  TFontInfos target(nullptr), source(nullptr);
  Fill(target, {{10}});
  // 1 and 2 are equal and reference equal styles (3 and 4), so all four
  // collapse into two copies; 0 is equal to target 0.
  Fill(source, {{10}, {12, 3}, {12, 4}, {14}, {14}});
  const auto map = Merge(target, source, dvs_merge_SmartMerge);
  EXPECT_EQ(map, (std::vector<int32_t>{0, 1, 1, 2, 2}));
  EXPECT_EQ(ToString(Describe(target)), "(10 -1 -1)(12 2 -1)(14 -1 -1)");
}

TEST(StyleMergeSmart, ParagraphReferencesAreSetAfterAssign) {
  // A paragraph style's Assign leaves NextParaNo alone, so the merge must
  // set the translated reference itself.
  TParaInfos target(nullptr), source(nullptr);
  target.Add();
  TParaInfo& a = source.Add();
  a.LeftIndent = 10;
  a.NextParaNo = 1;
  TParaInfo& b = source.Add();
  b.LeftIndent = 20;
  b.NextParaNo = 0;
  TDVIntegerList mapping;
  target.MergeWith(source, dvs_merge_SmartMerge, mapping);
  EXPECT_EQ(mapping.Values(), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(target[1].NextParaNo, 2);
  EXPECT_EQ(target[2].NextParaNo, 1);
  target.MergeWith(source, dvs_merge_SmartMerge, mapping);
  EXPECT_EQ(mapping.Values(), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(target.Count(), 3);
  target.MergeWith(source, dvs_merge_Append, mapping);
  EXPECT_EQ(target[3].NextParaNo, 4);
  EXPECT_EQ(target[4].NextParaNo, 3);
}

TEST(StyleMergeSmart, CollectionAssignKeepsParagraphReferences) {
  TParaInfos source(nullptr), target(nullptr);
  source.Add().NextParaNo = 1;
  source.Add();
  target.Assign(source);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target[0].NextParaNo, 1);
  EXPECT_EQ(target[0].Collection(), &target);
  EXPECT_EQ(target[1].Index(), 1);
}

// A descendant style class, as a style sheet of a host could use.
class TTaggedFontInfo : public TFontInfo {
 public:
  int Tag = 7;
};

TEST(StyleMergeSmart, ItemFactoryDecidesTheClassOfNewStyles) {
  TFontInfos target(nullptr), source(nullptr);
  target.SetItemFactory([] { return std::make_unique<TTaggedFontInfo>(); });
  Fill(source, {{10}, {12}});
  TDVIntegerList mapping;
  target.MergeWith(source, dvs_merge_SmartMerge, mapping);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_NE(dynamic_cast<TTaggedFontInfo*>(&target[1]), nullptr);
  EXPECT_NE(dynamic_cast<TTaggedFontInfo*>(&target.Add()), nullptr);
}

TEST(StyleMergeSmart, MergingIntoItselfAddsNothing) {
  TFontInfos infos(nullptr);
  Fill(infos, {{10, 1}, {12, 0}, {10, 1}});
  TDVIntegerList mapping;
  infos.MergeWith(infos, dvs_merge_SmartMerge, mapping);
  EXPECT_EQ(mapping.Values(), (std::vector<int32_t>{0, 1, 0}));
  EXPECT_EQ(infos.Count(), 3);
}

}  // namespace
}  // namespace quillet
