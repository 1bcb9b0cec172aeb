#include "engine/layout/draw_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/doc_view_error.h"
#include "engine/model/dv_data.h"

namespace quillet {
namespace {

using namespace std::string_literals;

// Drawing items identified by ItemNo, so the order of the list reads as numbers.
std::unique_ptr<TDVDrawLineInfo> Item(int itemNo) {
  return TDVDrawLineInfo::CreateEx(0, 0, 10, 10, itemNo, false);
}

TDVDrawLines ListOf(int count) {
  TDVDrawLines lines;
  for (int i = 0; i < count; ++i) lines.Add(Item(i));
  return lines;
}

// ItemNo of every slot, -1 for an empty one.
std::vector<int> Order(const TDVDrawLines& lines) {
  std::vector<int> out;
  for (int i = 0; i < lines.Count(); ++i) out.push_back(lines[i] ? lines[i]->ItemNo : -1);
  return out;
}

TEST(DrawLineInfoTest, CreateExGoesThroughTheVirtualSetters) {
  struct Doubled : TDVDrawLineInfo {
    void SetSize(int32_t width, int32_t height) override { TDVDrawLineInfo::SetSize(2 * width, 2 * height); }
  };
  auto info = TDVDrawLineInfo::CreateEx<Doubled>(1, 2, 3, 4, 5, true);
  EXPECT_EQ(info->Left, 1);
  EXPECT_EQ(info->Top, 2);
  EXPECT_EQ(info->Width, 6);
  EXPECT_EQ(info->Height, 8);
  EXPECT_EQ(info->ItemNo, 5);
  EXPECT_TRUE(info->FromNewLine);
  EXPECT_FALSE(info->InitSplit());
  EXPECT_FALSE(info->CanSplitFirst(10));
  EXPECT_FALSE(info->SplitAt(10));
}

TEST(DrawLinesTest, FiveMarkedThreeInserted) {
  TDVDrawLines lines = ListOf(8);
  lines.MarkForDelete(2, 6);
  EXPECT_EQ(Order(lines), (std::vector<int>{0, 1, -1, -1, -1, -1, -1, 7}));  // freed, slots kept
  for (int i = 0; i < 3; ++i) lines.Insert(2 + i, Item(100 + i));
  EXPECT_EQ(lines.FirstMarked(), 5);
  EXPECT_EQ(lines.MarkedCount(), 2);
  EXPECT_EQ(lines.Count(), 8);  // filled in place, nothing shifted
  lines.DeleteMarked();
  EXPECT_EQ(lines.MarkedCount(), 0);
  EXPECT_EQ(Order(lines), (std::vector<int>{0, 1, 100, 101, 102, 7}));
}

TEST(DrawLinesTest, TwoMarkedFourInserted) {
  TDVDrawLines lines = ListOf(5);
  lines.MarkForDelete(1, 2);
  for (int i = 0; i < 4; ++i) lines.Insert(1 + i, Item(100 + i));
  // The two slots ran out: a run of empty ones opened after the refilled
  // items takes the rest, so the items after them moved once.
  EXPECT_EQ(lines.FirstMarked(), 5);
  EXPECT_EQ(lines.Count(), 5 + lines.MarkedCount() + 2);
  lines.DeleteMarked();
  EXPECT_EQ(lines.MarkedCount(), 0);
  EXPECT_EQ(Order(lines), (std::vector<int>{0, 100, 101, 102, 103, 3, 4}));
}

TEST(DrawLinesTest, InsertAwayFromFirstMarkedStillLandsRight) {
  // Inside the marked range: takes the first free slot, same final order.
  TDVDrawLines inside = ListOf(6);
  inside.MarkForDelete(1, 4);
  inside.Insert(3, Item(100));
  inside.Insert(5, Item(101));  // just after the range
  EXPECT_EQ(Order(inside), (std::vector<int>{0, 100, 101, -1, -1, 5}));
  inside.DeleteMarked();
  EXPECT_EQ(Order(inside), (std::vector<int>{0, 100, 101, 5}));

  // Before the range: a normal insertion, and the range moves with its slots.
  TDVDrawLines before = ListOf(5);
  before.MarkForDelete(2, 3);
  before.Insert(0, Item(100));
  EXPECT_EQ(before.FirstMarked(), 3);
  before.Insert(3, Item(101));
  before.DeleteMarked();
  EXPECT_EQ(Order(before), (std::vector<int>{100, 0, 1, 101, 4}));

  // After the range: a normal insertion that leaves the range alone.
  TDVDrawLines after = ListOf(5);
  after.MarkForDelete(1, 2);
  after.Insert(4, Item(100));
  EXPECT_EQ(after.FirstMarked(), 1);
  after.DeleteMarked();
  EXPECT_EQ(Order(after), (std::vector<int>{0, 3, 100, 4}));
}

TEST(DrawLinesTest, DeletingAroundTheMarkedRangeKeepsItConsistent) {
  TDVDrawLines lines = ListOf(7);
  lines.MarkForDelete(2, 4);
  lines.Delete(0);  // before the range
  EXPECT_EQ(lines.FirstMarked(), 1);
  lines.DeleteRange(2, 4);  // the last two marked slots and item 5
  EXPECT_EQ(lines.MarkedCount(), 1);
  lines.Insert(1, Item(100));
  lines.DeleteMarked();
  EXPECT_EQ(Order(lines), (std::vector<int>{1, 100, 6}));
}

// Edits hop from one end of a long list to the other and back, so the free
// room kept inside the list moves both ways and runs out: the list reads
// like a plain vector edited the same way, after every step.
TEST(DrawLinesTest, EditsAnywhereReadLikeAPlainList) {
  TDVDrawLines lines = ListOf(300);
  std::vector<int> model(300);
  for (int i = 0; i < 300; ++i) model[static_cast<size_t>(i)] = i;
  uint32_t seed = 12345;
  const auto next = [&seed](int bound) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(bound));
  };
  int fresh = 1000;
  for (int step = 0; step < 400; ++step) {
    const int count = static_cast<int>(model.size());
    switch (next(4)) {
      case 0: {  // a run inserted, as a long undone deletion does
        const int at = next(count + 1), run = 1 + next(90);
        for (int k = 0; k < run; ++k, ++fresh) {
          lines.Insert(at + k, Item(fresh));
          model.insert(model.begin() + at + k, fresh);
        }
        break;
      }
      case 1: {
        const int first = next(count), last = std::min(count - 1, first + next(40));
        lines.DeleteRange(first, last);
        model.erase(model.begin() + first, model.begin() + last + 1);
        break;
      }
      case 2: {  // a paragraph laid out again: fewer or more drawing items
        const int first = next(count), last = std::min(count - 1, first + next(5));
        lines.MarkForDelete(first, last);
        model.erase(model.begin() + first, model.begin() + last + 1);
        const int refill = next(9);
        for (int k = 0; k < refill; ++k, ++fresh) {
          lines.Insert(first + k, Item(fresh));
          model.insert(model.begin() + first + k, fresh);
        }
        lines.DeleteMarked();
        break;
      }
      default: {
        const int at = next(count);
        lines.Put(at, Item(++fresh));
        model[static_cast<size_t>(at)] = fresh;
        break;
      }
    }
    ASSERT_EQ(Order(lines), model) << "step " << step;
    if (model.size() < 50) {
      for (int k = 0; k < 100; ++k, ++fresh) {
        lines.Add(Item(fresh));
        model.push_back(fresh);
      }
    }
  }
  EXPECT_EQ(lines.IndexOf(lines[lines.Count() - 1]), lines.Count() - 1);
}

TEST(DrawLinesTest, MarkingErrors) {
  TDVDrawLines lines = ListOf(3);
  EXPECT_THROW(lines.MarkForDelete(1, 3), EDocViewError);
  EXPECT_THROW(lines.MarkForDelete(-1, 0), EDocViewError);
  lines.MarkForDelete(3, 2);  // an empty range at the end
  EXPECT_EQ(lines.MarkedCount(), 0);
  lines.MarkForDelete(0, 0);
  EXPECT_THROW(lines.MarkForDelete(1, 1), EDocViewError);  // first range still pending
  EXPECT_THROW(lines.Insert(5, Item(9)), EDocViewError);
  EXPECT_EQ(Order(lines), (std::vector<int>{-1, 1, 2}));
}

TEST(DrawLinesTest, StringsOfDrawingItems) {
  TCustomDVData data;
  data.AddNL("Hello world", 0, 0);
  data.AddNL("H\0e\0l\0l\0o\0"s, 0, 0);
  data.GetItem(1)->ItemOptions |= dvioUnicode;
  TDVDrawLines lines;
  auto piece = [&](int itemNo, int offs, int length) {
    auto info = Item(itemNo);
    info->Offs = offs;
    info->Length = length;
    lines.Add(std::move(info));
    return lines.Count() - 1;
  };
  const int world = piece(0, 7, 5);
  const int uniEll = piece(1, 2, 4);
  const int pastEnd = piece(0, 10, 20);
  const int beforeStart = piece(0, -1, 4);
  const int outside = piece(1, 50, 3);

  EXPECT_EQ(lines.GetString(world, data), "world");
  EXPECT_EQ(lines.GetString(uniEll, data), "e\0l\0l\0o\0"s);
  EXPECT_EQ(lines.GetString(pastEnd, data), "ld");
  EXPECT_EQ(lines.GetString(beforeStart, data), "He");
  EXPECT_EQ(lines.GetString(outside, data), "");

  // From position 3 of a drawing item of length 4 with Count 10: its last two.
  const int hell = piece(0, 1, 4);
  EXPECT_EQ(lines.GetSubString(hell, data, 3, 10), "ll");
  EXPECT_EQ(lines.GetSubString(uniEll, data, 3, 10), "l\0o\0"s);
  EXPECT_EQ(lines.GetSubString(world, data, 2, 2), "or");
  EXPECT_EQ(lines.GetSubString(world, data, 6, 2), "");
  EXPECT_EQ(lines.GetSubString(world, data, 1, -3), "");

  lines.MarkForDelete(world, world);
  EXPECT_EQ(lines.GetString(world, data), "");
  EXPECT_EQ(lines.GetSubString(world, data, 1, 2), "");
}

}  // namespace
}  // namespace quillet
