// Whole documents moving at once: a replacing load, an insertion in the
// middle, a drain and a clear of a long document with list paragraphs and
// checkpoints. Each must hand every item over once and search no list per
// item, which the list search count shows without timing anything.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/dv_lists.h"
#include "engine/model/dv_data.h"
#include "engine/model/marker_item.h"
#include "engine/model/marker_list.h"
#include "engine/model/model_test_items.h"
#include "engine/stream/dvf_test_io.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

using test::Describe;
using test::Load;
using test::Save;

// Long enough that one search per item would visit millions of entries.
constexpr int kParagraphs = 2000;

// Counts the items handed to it and taken from it.
class CountingData : public TCustomDVData {
 public:
  void ItemAction(TDVItemAction action, TCustomDVItemInfo*, std::string&) override {
    if (action == dviaInserting) ++inserted;
    if (action == dviaDestroying) ++destroyed;
  }
  int inserted = 0, destroyed = 0;
};

bool Insert(TCustomDVData& data, const std::string& dvf, int index) {
  TMemoryStream stream(std::vector<uint8_t>(dvf.begin(), dvf.end()));
  TColor color = clNone;
  return data.InsertDVFFromStream(stream, index, color, nullptr, nullptr, false);
}

std::vector<int32_t> Counters(TCustomDVData& data) {
  std::vector<int32_t> out;
  if (TDVMarkerList* markers = data.GetMarkers(false))
    for (int i = 0; i < markers->Count(); ++i) out.push_back((*markers)[i]->Counter);
  return out;
}

std::vector<std::string> Texts(const TCustomDVData& data) {
  std::vector<std::string> out;
  for (int i = 0; i < data.ItemCount(); ++i) out.push_back(data.GetItemTextR(i));
  return out;
}

std::vector<int32_t> OneToN(int n) {
  std::vector<int32_t> out;
  for (int i = 1; i <= n; ++i) out.push_back(i);
  return out;
}

class DVFBulkLoadTest : public testing::Test {
 protected:
  void SetUp() override {
    TDVListLevel& level = style.ListStyles().Add().Levels().Add();
    level.ListType = dvlstDecimal;
    level.FormatString = "%0:s.";
    for (TCustomDVData* doc : {static_cast<TCustomDVData*>(&source), static_cast<TCustomDVData*>(&target)})
      doc->SetDVStyle(&style);
  }

  // Paragraphs of text, every other one a numbered list paragraph, with a
  // checkpoint on every tenth.
  static void Fill(TCustomDVData& doc, int paragraphs, const std::string& word) {
    for (int i = 0; i < paragraphs; ++i) {
      if (i % 10 == 0) doc.AddNamedCheckpointExTag(word + std::to_string(i), false, {});
      if (i % 2 == 0) doc.AddItem("", std::make_unique<TDVMarkerItemInfo>(nullptr, 0, 0, 0, false));
      doc.AddNL(word + std::to_string(i), i % 3, i % 2 == 0 ? -1 : 0);
    }
  }

  TDVStyle style;
  CountingData source, target;
};

TEST_F(DVFBulkLoadTest, WholeDocumentsMoveInOnePass) {
  Fill(source, kParagraphs, "new");
  const std::string dvf = Save(source);
  const int items = source.ItemCount();
  const int markers = kParagraphs / 2;
  struct Case {
    const char* name;
    int targetParagraphs;
    std::function<void(CountingData& target, CountingData& source)> run;
    int itemCount, cpCount, markerCount;
    int inserted, destroyed;  // the notices the target gets
  };
  const Case cases[] = {
      {"replacing load", 40, [&](CountingData& t, CountingData&) { EXPECT_TRUE(Load(t, dvf)); }, items,
       kParagraphs / 10, markers, items, 60},
      // Before a list paragraph half way down.
      {"insertion in the middle", kParagraphs,
       [&](CountingData& t, CountingData&) { EXPECT_TRUE(Insert(t, dvf, t.ItemCount() / 2)); }, 2 * items,
       kParagraphs / 5, 2 * markers, items, 0},
      {"drain", 40, [](CountingData& t, CountingData& s) { t.DrainFrom(&s); }, items + 60, 4 + kParagraphs / 10,
       20 + markers, items, 0},
      {"clear", kParagraphs, [](CountingData& t, CountingData&) { t.Clear(); }, 0, 0, 0, 0, items},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    target.Clear();
    Fill(target, c.targetParagraphs, "old");
    if (source.ItemCount() == 0) Fill(source, kParagraphs, "new");  // drained by an earlier case
    target.inserted = target.destroyed = 0;
    const uint64_t steps = DVListSearchSteps();
    c.run(target, source);
    EXPECT_LE(DVListSearchSteps() - steps, static_cast<uint64_t>(kParagraphs));

    EXPECT_EQ(target.ItemCount(), c.itemCount);
    EXPECT_EQ(target.CPCount(), c.cpCount);
    // Every marker listed once, in document order, and counted.
    EXPECT_EQ(Counters(target), OneToN(c.markerCount));
    if (c.markerCount > 0) {
      EXPECT_EQ((*target.GetMarkers(false))[c.markerCount - 1]->DisplayString, std::to_string(c.markerCount) + ".");
    }
    // Each item was handed over once.
    EXPECT_EQ(target.inserted, c.inserted);
    EXPECT_EQ(target.destroyed, c.destroyed);
    if (c.itemCount == items) {
      EXPECT_EQ(Describe(target), Describe(source));
    }
  }
}

// The items after the insertion point wait aside while the stream is read:
// they come back after the inserted ones, or, when the stream is bad, the
// document is as it was.
TEST_F(DVFBulkLoadTest, InsertionInTheMiddleKeepsTheItemsAfterIt) {
  Fill(source, 300, "new");
  const std::string dvf = Save(source);
  for (const bool cut : {false, true}) {
    SCOPED_TRACE(cut ? "bad stream" : "good stream");
    target.Clear();
    Fill(target, 300, "old");
    const std::string before = Describe(target);
    const int at = target.ItemCount() / 2;  // a list paragraph's marker
    std::vector<std::string> expected = Texts(target);
    const std::vector<std::string> inserted = Texts(source);
    expected.insert(expected.begin() + at, inserted.begin(), inserted.end());

    EXPECT_EQ(Insert(target, cut ? dvf + "0 3 0 0 0 0\r\ncut\r\n" : dvf, at), !cut);
    if (cut) {
      EXPECT_EQ(Describe(target), before);
      EXPECT_EQ(Counters(target), OneToN(150));
    } else {
      EXPECT_EQ(Texts(target), expected);
      EXPECT_EQ(Counters(target), OneToN(300));
      EXPECT_TRUE(target.IsParaStart(at + source.ItemCount()));
    }
  }
}

TEST_F(DVFBulkLoadTest, FailedLoadLeavesTheDocumentAsItWas) {
  Fill(source, kParagraphs, "new");
  // The stream breaks in its very last record, after every item was read.
  const std::string dvf = Save(source) + "0 3 0 0 0 0\r\ncut\r\n";
  Fill(target, 100, "old");
  target.HostLines().QvRead("QV;kept");
  target.AddNamedCheckpointExTag("trailing", false, {});
  const std::string described = Describe(target);
  const std::vector<int32_t> counters = Counters(target);
  const int cpCount = target.CPCount();
  target.inserted = target.destroyed = 0;

  EXPECT_FALSE(Load(target, dvf));
  EXPECT_EQ(Describe(target), described);
  EXPECT_EQ(Counters(target), counters);
  EXPECT_EQ(target.CPCount(), cpCount);
  ASSERT_NE(target.NotAddedCP(), nullptr);
  EXPECT_EQ(target.NotAddedCP()->Name, "trailing");
  EXPECT_EQ(target.HostLines().userInfo, std::vector<std::string>{"QV;kept"});
  EXPECT_EQ(target.inserted, 0);
  EXPECT_EQ(target.destroyed, 0);
}

}  // namespace
}  // namespace quillet
