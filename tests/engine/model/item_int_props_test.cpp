// Integer properties of items by name, and the item list's block moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/doc_view_error.h"
#include "engine/model/break_item.h"
#include "engine/model/bullet_item.h"
#include "engine/model/control_item.h"
#include "engine/model/item_list.h"
#include "engine/model/picture_item.h"

namespace quillet {
namespace {

struct IntPropCase {
  const char* name;
  std::function<std::unique_ptr<TCustomDVItemInfo>()> make;
  const char* prop;
  int32_t value;
  bool known;  // the class has the property
  bool accepted;
  std::function<int32_t(const TCustomDVItemInfo&)> field;
};

void PrintTo(const IntPropCase& c, std::ostream* os) { *os << c.name; }

template <class T>
std::function<std::unique_ptr<TCustomDVItemInfo>()> Make() {
  return [] { return std::make_unique<T>(nullptr); };
}

template <class T, class F>
std::function<int32_t(const TCustomDVItemInfo&)> Field(F f) {
  return [f](const TCustomDVItemInfo& item) { return static_cast<int32_t>(f(static_cast<const T&>(item))); };
}

const IntPropCase kIntProps[] = {
    {"PictureWidth", Make<TDVGraphicItemInfo>(), "ImageWidth", 40, true, true,
     Field<TDVGraphicItemInfo>([](const auto& o) { return o.ImageWidth; })},
    {"PictureWidthTooLarge", Make<TDVGraphicItemInfo>(), "ImageWidth", 40000, true, false,
     Field<TDVGraphicItemInfo>([](const auto& o) { return o.ImageWidth; })},
    {"PictureVShiftFromRectItem", Make<TDVGraphicItemInfo>(), "VShift", -3, true, true,
     Field<TDVGraphicItemInfo>([](const auto& o) { return o.VShift; })},
    {"PictureVAlign", Make<TDVGraphicItemInfo>(), "VAlign", 1, true, true,
     Field<TDVGraphicItemInfo>([](const auto& o) { return o.VAlign; })},
    {"PictureVAlignOutOfRange", Make<TDVGraphicItemInfo>(), "VAlign", 7, true, false,
     Field<TDVGraphicItemInfo>([](const auto& o) { return o.VAlign; })},
    {"BreakLineWidth", Make<TDVBreakItemInfo>(), "LineWidth", 3, true, true,
     Field<TDVBreakItemInfo>([](const auto& o) { return o.LineWidth; })},
    {"BreakLineWidthZero", Make<TDVBreakItemInfo>(), "LineWidth", 0, true, false,
     Field<TDVBreakItemInfo>([](const auto& o) { return o.LineWidth; })},
    {"BreakHasNoVShift", Make<TDVBreakItemInfo>(), "VShift", 3, false, false,
     Field<TDVBreakItemInfo>([](const auto& o) { return o.LineWidth; })},
    {"HotspotHotImage", Make<TDVHotspotItemInfo>(), "HotImageIndex", 2, true, true,
     Field<TDVHotspotItemInfo>([](const auto& o) { return o.HotImageIndex; })},
    {"HotspotImageFromBullet", Make<TDVHotspotItemInfo>(), "ImageIndex", 4, true, true,
     Field<TDVHotspotItemInfo>([](const auto& o) { return o.ImageIndex; })},
    {"ControlPercentWidth", Make<TDVControlItemInfo>(), "PercentWidth", 50, true, true,
     Field<TDVControlItemInfo>([](const auto& o) { return o.PercentWidth; })},
    {"UnknownName", Make<TDVGraphicItemInfo>(), "Nothing", 1, false, false,
     Field<TDVGraphicItemInfo>([](const auto& o) { return o.ImageWidth; })},
};

class IntPropTest : public testing::TestWithParam<IntPropCase> {};

TEST_P(IntPropTest, SetsAndReadsByName) {
  const IntPropCase& c = GetParam();
  std::unique_ptr<TCustomDVItemInfo> item = c.make();
  const int32_t before = c.field(*item);
  EXPECT_EQ(item->SetIntPropertyByName(c.prop, c.value), c.accepted);
  EXPECT_EQ(c.field(*item), c.accepted ? c.value : before);
  int32_t read = 0;
  EXPECT_EQ(item->GetIntPropertyByName(c.prop, read), c.known);
  if (c.accepted) {
    EXPECT_EQ(read, c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(Items, IntPropTest, testing::ValuesIn(kIntProps),
                         [](const testing::TestParamInfo<IntPropCase>& info) { return info.param.name; });

TEST(ItemListBlockTest, TakesAndInsertsRunsInOrder) {
  TDVItemList list;
  for (const char* text : {"a", "b", "c", "d"}) list.Add(text, std::make_unique<TDVTextItemInfo>(nullptr));
  TCustomDVItemInfo* b = list.Item(1);
  TDVItemList::TBlock block = list.TakeBlock(1, 2);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Text(1), "d");
  ASSERT_EQ(block.size(), 2u);
  EXPECT_EQ(block[0].first, "b");
  EXPECT_EQ(block[0].second.get(), b);
  list.InsertBlock(2, std::move(block));
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(0) + list.Text(1) + list.Text(2) + list.Text(3), "adbc");
  EXPECT_EQ(list.Item(2), b);
  EXPECT_THROW(list.InsertBlock(5, {}), EDocViewError);
  EXPECT_THROW(list.TakeBlock(3, 2), EDocViewError);
  EXPECT_EQ(list.Count(), 4);
}

// Edits at both ends of a long list and back, split off and joined again:
// the list reads like a plain vector edited the same way, after every step.
TEST(ItemListBlockTest, EditsAnywhereReadLikeAPlainList) {
  TDVItemList list;
  std::vector<std::string> model;
  int fresh = 0;
  const auto make = [&] { return std::to_string(fresh++); };
  for (int i = 0; i < 300; ++i) {
    model.push_back(make());
    list.Add(model.back(), std::make_unique<TDVTextItemInfo>(nullptr));
  }
  const auto texts = [](const TDVItemList& l) {
    std::vector<std::string> out;
    for (int i = 0; i < l.Count(); ++i) {
      out.push_back(l.Text(i));
      EXPECT_NE(l.Item(i), nullptr);
    }
    return out;
  };
  uint32_t seed = 777;
  const auto next = [&seed](int bound) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(bound));
  };
  for (int step = 0; step < 300; ++step) {
    const int count = list.Count();
    switch (next(5)) {
      case 0: {
        const int at = next(count + 1);
        model.insert(model.begin() + at, make());
        list.Insert(at, model[static_cast<size_t>(at)], std::make_unique<TDVTextItemInfo>(nullptr));
        break;
      }
      case 1: {
        const int first = next(count), n = std::min(count - first, 1 + next(30));
        list.Delete(first, n);
        model.erase(model.begin() + first, model.begin() + first + n);
        break;
      }
      case 2: {  // a pasted run, as undone deletions put runs back
        const int at = next(count + 1), n = 1 + next(120);
        TDVItemList::TBlock block;
        for (int k = 0; k < n; ++k) {
          model.insert(model.begin() + at + k, make());
          block.emplace_back(model[static_cast<size_t>(at + k)], std::make_unique<TDVTextItemInfo>(nullptr));
        }
        list.InsertBlock(at, std::move(block));
        break;
      }
      case 3: {  // a run moved elsewhere
        const int first = next(count), n = std::min(count - first, 1 + next(20));
        TDVItemList::TBlock block = list.TakeBlock(first, n);
        std::vector<std::string> moved(model.begin() + first, model.begin() + first + n);
        model.erase(model.begin() + first, model.begin() + first + n);
        const int at = next(static_cast<int>(model.size()) + 1);
        model.insert(model.begin() + at, moved.begin(), moved.end());
        list.InsertBlock(at, std::move(block));
        break;
      }
      default: {  // the tail handed over and joined back
        const int at = next(count + 1);
        TDVItemList tail = list.TakeFrom(at);
        EXPECT_EQ(list.Count() + tail.Count(), count);
        list.Insert(list.Count(), *model.insert(model.begin() + at, make()),
                    std::make_unique<TDVTextItemInfo>(nullptr));
        list.Append(std::move(tail));
        EXPECT_TRUE(tail.Empty());
        break;
      }
    }
    ASSERT_EQ(texts(list), model) << "step " << step;
    if (list.Count() < 50)
      for (int k = 0; k < 100; ++k) {
        model.push_back(make());
        list.Add(model.back(), std::make_unique<TDVTextItemInfo>(nullptr));
      }
  }
  EXPECT_EQ(list.IndexOf(list.Last()), list.Count() - 1);
}

}  // namespace
}  // namespace quillet
