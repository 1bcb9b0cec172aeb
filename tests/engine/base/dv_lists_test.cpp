#include "engine/base/dv_lists.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/base/doc_view_error.h"

namespace quillet {
namespace {

// Counts live instances so the tests see what the list frees.
struct Tracked {
  explicit Tracked(int* live) : live_(live) { ++*live_; }
  ~Tracked() { --*live_; }
  int* live_;
};

TEST(DVListTest, OwnsItsObjects) {
  int live = 0;
  {
    TDVList<Tracked> list;
    for (int i = 0; i < 4; ++i) list.Add(std::make_unique<Tracked>(&live));
    Tracked* second = list[1];
    list.Delete(0);
    EXPECT_EQ(live, 3);
    EXPECT_EQ(list.IndexOf(second), 0);

    std::unique_ptr<Tracked> taken = list.DeleteAsPointer(0);
    EXPECT_EQ(taken.get(), second);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(live, 3);  // the caller owns it now
    taken.reset();

    list.Clear();
    EXPECT_EQ(live, 0);
    list.Add(std::make_unique<Tracked>(&live));
  }
  EXPECT_EQ(live, 0);  // destroying the list frees what is left
}

TEST(DVListTest, BadIndexRaisesListIndexError) {
  TDVList<int> list;
  list.Add(std::make_unique<int>(1));
  try {
    list.Items(5);
    FAIL() << "no error";
  } catch (const EDocViewError& e) {
    EXPECT_EQ(std::string(e.what()), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EDocViewError);
  EXPECT_THROW(list.Insert(2, std::make_unique<int>(2)), EDocViewError);
  list.Insert(1, std::make_unique<int>(2));  // at the end is allowed
  EXPECT_EQ(*list[1], 2);
}

TEST(DVIntegerListTest, BasicOperations) {
  TDVIntegerList list = TDVIntegerList::CreateEx(3, 7);
  EXPECT_EQ(list.Values(), (std::vector<int32_t>{7, 7, 7}));
  list.Put(1, 5);
  list.Insert(0, 9);
  EXPECT_EQ(list.Values(), (std::vector<int32_t>{9, 7, 5, 7}));
  EXPECT_EQ(list.AddUnique(5), 2);
  EXPECT_EQ(list.AddUnique(4), 4);
  EXPECT_EQ(list.Count(), 5);

  TDVIntegerList copy;
  copy.Add(1);
  copy.Assign(list);
  EXPECT_EQ(copy.Values(), list.Values());
  EXPECT_EQ(TDVIntegerList::CreateCopy(list).Values(), list.Values());
  EXPECT_THROW(list.Get(5), EDocViewError);
  EXPECT_THROW(list.Put(-1, 0), EDocViewError);
  EXPECT_TRUE(TDVIntegerList::CreateEx(-1, 0).Values().empty());
}

TEST(DVIntegerListTest, SortOrdersValuesWhoseDifferenceOverflows) {
  // System colours are negative; their difference with a large colour
  // overflows 32 bits, which is what a subtracting comparison got wrong.
  TDVIntegerList list;
  for (int32_t v : {clWhite, clBtnFace, std::numeric_limits<int32_t>::max(), 0, clWindow,
                    std::numeric_limits<int32_t>::min(), clNone, -1})
    list.Add(v);
  list.Sort();
  EXPECT_EQ(list.Values(), (std::vector<int32_t>{std::numeric_limits<int32_t>::min(), clWindow, clBtnFace,
                                                  -1, 0, clWhite, clNone,
                                                  std::numeric_limits<int32_t>::max()}));
}

TEST(DVColorListTest, AddUniqueIgnoresNoneAndDuplicates) {
  TDVColorList list;
  EXPECT_EQ(list.AddUnique(clRed), 0);
  EXPECT_EQ(list.AddUnique(clNone), -1);
  EXPECT_EQ(list.AddUnique(clBtnFace), 1);
  EXPECT_EQ(list.AddUnique(clRed), 0);
  EXPECT_EQ(list.Values(), (std::vector<int32_t>{clRed, clBtnFace}));
}

}  // namespace
}  // namespace quillet
