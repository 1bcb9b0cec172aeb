// Text search: directions, case, whole words, double-byte and Unicode text,
// and the documents inside items.
#include <gtest/gtest.h>

#include <optional>

#include "layout_test_data.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

// A selection in item terms: the anchor, then the moving end (the caret).
struct Sel {
  int startItem;
  int32_t startOffs;
  int endItem;
  int32_t endOffs;
  friend bool operator==(const Sel&, const Sel&) = default;
};

std::ostream& operator<<(std::ostream& os, const Sel& s) {
  return os << s.startItem << ":" << s.startOffs << "-" << s.endItem << ":" << s.endOffs;
}

Sel Selection(const TCustomDVFormattedData& d) {
  Sel s{};
  d.StoreSelBounds(s.startItem, s.endItem, s.startOffs, s.endOffs, false);
  return s;
}

void Select(TCustomDVFormattedData& d, const Sel& s) {
  d.RestoreSelBounds(s.startItem, s.endItem, s.startOffs, s.endOffs);
}

struct Item {
  std::string text;  // 8-bit in code page 936, or UTF-8 for a Unicode item
  bool unicode = false;
};

// GBK: U+4E2D 中 is D6 D0; U+4E64 乤 is 81 61, its trail byte an "a".
const std::string kZhong = "\xD6\xD0", kTrailA = "\x81\x61";

struct Case {
  const char* what;
  std::vector<Item> items;
  std::optional<Sel> before;
  bool down, matchCase, wholeWord;
  std::u16string pattern;      // searched as UTF-16 ...
  std::string ansiPattern;     // ... or, when set, as 8-bit text
  std::optional<Sel> found;    // nothing: not found, the selection stays
};

TEST(SearchText, FindsAndSelectsInTheDirection) {
  const std::vector<Case> cases = {
      {"down from the top", {{"a cat"}, {"cat"}}, {}, true, false, false, u"cat", {}, Sel{0, 3, 0, 6}},
      {"down again moves past the match", {{"a cat"}, {"cat"}}, Sel{0, 3, 0, 6}, true, false, false, u"cat", {},
       Sel{1, 1, 1, 4}},
      {"up from the bottom selects backwards", {{"a cat"}, {"cat"}}, {}, false, false, false, u"cat", {},
       Sel{1, 4, 1, 1}},
      {"up again moves before the match", {{"a cat"}, {"cat"}}, Sel{1, 4, 1, 1}, false, false, false, u"cat", {},
       Sel{0, 6, 0, 3}},
      {"up from the caret inside an item", {{"cat cat cat"}}, Sel{0, 1, 0, 8}, false, false, false, u"cat", {},
       Sel{0, 8, 0, 5}},
      {"nothing further down", {{"a cat"}, {"dog"}}, Sel{0, 3, 0, 6}, true, false, false, u"cat", {}, {}},
      {"case ignored", {{"Cat cat"}}, {}, true, false, false, u"cAT", {}, Sel{0, 1, 0, 4}},
      {"case matched", {{"Cat cat"}}, {}, true, true, false, u"cat", {}, Sel{0, 5, 0, 8}},
      {"whole word skips longer words", {{"scat cats cat."}}, {}, true, false, true, u"cat", {}, Sel{0, 11, 0, 14}},
      {"whole word up", {{"cat. scat cats"}}, {}, false, false, true, u"cat", {}, Sel{0, 4, 0, 1}},
      {"part of a word without whole word", {{"scat cats cat."}}, {}, true, false, false, u"cat", {},
       Sel{0, 2, 0, 5}},
      // The caret after "foo": "bar" goes on the same word, it is no word start.
      {"whole word counts the text before the caret", {{"foobar bar"}}, Sel{0, 1, 0, 4}, true, false, true,
       u"bar", {}, Sel{0, 8, 0, 11}},
      {"whole word counts the text after the caret", {{"foo foobar"}}, Sel{0, 11, 0, 8}, false, false, true,
       u"foo", {}, Sel{0, 4, 0, 1}},
      {"matches do not overlap", {{"aaa"}}, {}, false, false, false, u"aa", {}, Sel{0, 3, 0, 1}},
      {"across items", {{"abc"}, {"no"}, {"xcat"}}, Sel{0, 1, 0, 2}, true, false, false, u"cat", {},
       Sel{2, 2, 2, 5}},
      // Searched byte by byte, "a" would be found in the trail byte at 2.
      {"never inside a double-byte character", {{kTrailA + "xa"}}, {}, true, true, false, u"a", {},
       Sel{0, 4, 0, 5}},
      {"case folding leaves trail bytes alone", {{"\x81\x41"}}, {}, true, false, false, u"a", {}, {}},
      {"up past a double-byte character", {{"a" + kTrailA}}, {}, false, false, false, u"A", {}, Sel{0, 2, 0, 1}},
      {"a double-byte pattern in 8-bit text", {{"x" + kTrailA + kZhong}}, {}, true, true, false, {}, kZhong,
       Sel{0, 4, 0, 6}},
      {"an 8-bit pattern in a Unicode item", {{"a中", true}}, {}, true, true, false, {}, kZhong, Sel{0, 2, 0, 3}},
      {"a character no code page holds", {{"xกy", true}}, {}, true, true, false, u"กy", {}, Sel{0, 2, 0, 4}},
      // Narrowed to the code page, the Thai letter would be "?" too.
      {"a question mark is only itself", {{"ก?", true}}, {}, true, true, false, {}, "?", Sel{0, 2, 0, 3}},
      {"Unicode case folding", {{"xαβ", true}}, {}, true, false, false, u"ΑΒ", {}, Sel{0, 2, 0, 4}},
      {"a surrogate pair stays whole", {{"😀x", true}}, {}, true, true, false, u"\xDE00", {}, {}},
      {"an empty pattern", {{"abc"}}, {}, true, false, false, u"", {}, {}},
  };
  for (const Case& c : cases) {
    LayoutData d;
    for (const Item& item : c.items) {
      if (item.unicode)
        d.AddNL(LayoutData::U(Utf8ToUtf16(item.text)), kUnicodeStyle, 0);
      else
        d.AddNL(item.text, 0, 0);
    }
    d.Format();
    if (c.before) Select(d, *c.before);
    const bool found = c.ansiPattern.empty() ? d.SearchTextW(c.down, c.matchCase, c.pattern, c.wholeWord)
                                             : d.SearchText(c.down, c.matchCase, c.ansiPattern, c.wholeWord);
    EXPECT_EQ(found, c.found.has_value()) << c.what;
    if (c.found) {
      EXPECT_EQ(Selection(d), *c.found) << c.what;
    } else if (c.before) {
      EXPECT_EQ(Selection(d), *c.before) << c.what;
    }
  }
}

TEST(SearchText, ScrollsTheMatchIntoViewAndReportsTheSelection) {
  struct Root : LayoutData {
    int selects = 0;
    void DoSelect() override { ++selects; }
  } d;
  d.clientHeight = 40;
  for (int i = 0; i < 20; ++i) d.AddNL(i == 15 ? "needle" : "hay", 0, 0);
  d.Format();
  ASSERT_TRUE(d.SearchText(true, false, "needle", false));
  EXPECT_EQ(Selection(d), (Sel{15, 1, 15, 7}));
  int32_t left, top;
  ASSERT_TRUE(d.GetItemCoords(15, left, top));
  EXPECT_LE(d.vOffs, top);
  EXPECT_GT(d.vOffs + d.clientHeight, top);
  EXPECT_EQ(d.selects, 1);
}

// An item that holds documents, like a table holds its cells: it hands them
// out in order and remembers the chosen one.
struct CellPlace : TDVStoreSubDVData {
  explicit CellPlace(int i) : index(i) {}
  int index;
};

class CellsItem : public TestFullLine {
 public:
  using TestFullLine::TestFullLine;
  std::vector<std::unique_ptr<LayoutData>> cells;
  int chosen = -1;

  TCustomDVData* GetSubDVData(std::unique_ptr<TDVStoreSubDVData>& store, TDVSubDVDataPos position) const override {
    const auto* place = dynamic_cast<const CellPlace*>(store.get());
    int i = -1;
    switch (position) {
      case dvdFirst: i = 0; break;
      case dvdLast: i = static_cast<int>(cells.size()) - 1; break;
      case dvdChosenUp:
      case dvdChosenDown: i = chosen; break;
      case dvdNext: i = place ? place->index + 1 : -1; break;
      case dvdPrev: i = place ? place->index - 1 : -1; break;
    }
    if (i < 0 || i >= static_cast<int>(cells.size())) return nullptr;
    store = std::make_unique<CellPlace>(i);
    return cells[static_cast<size_t>(i)].get();
  }
  void ChooseSubDVData(const TDVStoreSubDVData* store) override {
    const int i = static_cast<const CellPlace*>(store)->index;
    if (chosen >= 0 && chosen != i) Release();
    chosen = i;
  }
  void Release() {
    cells[static_cast<size_t>(chosen)]->Deselect(nullptr, false);
    chosen = -1;
  }
};

class TableRoot : public LayoutData {
 public:
  CellsItem* table = nullptr;
  TCustomDVItemInfo* GetChosenItem() const override { return table && table->chosen >= 0 ? table : nullptr; }
  TCustomDVData* GetChosenDVData() const override {
    return GetChosenItem() ? table->cells[static_cast<size_t>(table->chosen)].get() : nullptr;
  }
  void UnassignChosenDVData(TCustomDVData*) override {
    if (GetChosenItem()) table->Release();
  }
};

// Where a search left its selection: "root item:from-to" or "cell n:from-to".
std::string Where(const TableRoot& root) {
  auto text = [](const char* prefix, int no, const Sel& s) {
    return prefix + std::to_string(no) + ":" + std::to_string(s.startOffs) + "-" + std::to_string(s.endOffs);
  };
  if (root.table->chosen >= 0) {
    const Sel s = Selection(*root.table->cells[static_cast<size_t>(root.table->chosen)]);
    if (root.FSelStartNo >= 0) return "both";
    return text("cell ", root.table->chosen, s);
  }
  return text("root ", Selection(root).startItem, Selection(root));
}

class TableSearch : public testing::Test {
 protected:
  // cellTexts go into a table item at tableAt among the root's texts.
  void Build(const std::vector<std::string>& rootTexts, size_t tableAt, const std::vector<std::string>& cellTexts) {
    for (size_t i = 0; i <= rootTexts.size(); ++i) {
      if (i == tableAt) {
        auto table = std::make_unique<CellsItem>(&root, 100, 20);
        for (const std::string& t : cellTexts) {
          auto cell = std::make_unique<LayoutData>();
          cell->AddNL(t, 0, 0);
          cell->Format();
          table->cells.push_back(std::move(cell));
        }
        root.table = table.get();
        root.AddItem("", std::move(table));
      }
      if (i < rootTexts.size()) root.AddNL(rootTexts[i], 0, 0);
    }
    root.Format();
  }
  // Searches until nothing is found, listing where each hit was.
  std::vector<std::string> All(bool down) {
    std::vector<std::string> hits;
    while (hits.size() < 20 && root.SearchText(down, false, "cat", false)) hits.push_back(Where(root));
    return hits;
  }
  TableRoot root;
};

TEST_F(TableSearch, GoesThroughTheCellsInBothDirections) {
  Build({"cat before", "cat after"}, 1, {"no", "a cat", "cat cat"});
  EXPECT_EQ(All(true), (std::vector<std::string>{"root 0:1-4", "cell 1:3-6", "cell 2:1-4", "cell 2:5-8",
                                                  "root 2:1-4"}));
  root.Deselect(nullptr, false);
  EXPECT_EQ(All(false), (std::vector<std::string>{"root 2:4-1", "cell 2:8-5", "cell 2:4-1", "cell 1:6-3",
                                                   "root 0:4-1"}));
}

TEST_F(TableSearch, ATableAtTheTopIsSearchedFromTheStart) {
  Build({"cat after"}, 0, {"x", "cat"});
  EXPECT_EQ(All(true), (std::vector<std::string>{"cell 1:1-4", "root 1:1-4"}));
}

}  // namespace
}  // namespace quillet::test
