#include "engine/model/marker_item.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/model/list_numbering.h"
#include "engine/model/marker_list.h"
#include "engine/model/model_test_items.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

using namespace std::string_literals;

struct MarkerSpec {
  int32_t list;
  int32_t level;
  bool reset = false;
  int32_t startFrom = 0;
};

// List 0: three levels, decimal "1.", lower alpha "1.a", upper Roman
// "1.a.I". List 1: one decimal level "(1)". List 2: no levels.
void MakeLists(TDVStyle& style, TDVListLevelOptions options = dvloContinuous | dvloLevelReset) {
  TDVListInfos& lists = style.ListStyles();
  lists.Clear();
  TDVListInfo& outline = lists.Add();
  const struct {
    TDVListType type;
    const char* format;
  } levels[] = {{dvlstDecimal, "%0:s."}, {dvlstLowerAlpha, "%0:s.%1:s"}, {dvlstUpperRoman, "%0:s.%1:s.%2:s"}};
  for (const auto& l : levels) {
    TDVListLevel& level = outline.Levels().Add();
    level.ListType = l.type;
    level.FormatString = l.format;
    level.Options = options;
  }
  TDVListLevel& single = lists.Add().Levels().Add();
  single.ListType = dvlstDecimal;
  single.FormatString = "(%0:s)";
  lists.Add();
}

// Appends a list paragraph: a marker and a text item after it.
void AddListPara(TCustomDVData& data, const MarkerSpec& m, const std::string& text = "x") {
  data.AddItem("", std::make_unique<TDVMarkerItemInfo>(nullptr, m.list, m.level, m.startFrom, m.reset));
  data.AddNL(text, 0, -1);
}

std::vector<int32_t> Counters(TCustomDVData& data) {
  std::vector<int32_t> out;
  if (TDVMarkerList* markers = data.GetMarkers(false))
    for (int i = 0; i < markers->Count(); ++i) out.push_back((*markers)[i]->Counter);
  return out;
}

std::vector<std::string> Displays(TCustomDVData& data) {
  std::vector<std::string> out;
  if (TDVMarkerList* markers = data.GetMarkers(false))
    for (int i = 0; i < markers->Count(); ++i) out.push_back((*markers)[i]->DisplayString);
  return out;
}

class MarkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeLists(style);
    data.SetDVStyle(&style);
  }
  TDVStyle style;
  TCustomDVData data;
};

TEST(MarkerCountersTest, CountersAndDisplayStrings) {
  constexpr TDVListLevelOptions kDefault = dvloContinuous | dvloLevelReset;
  struct Case {
    const char* name;
    TDVListLevelOptions options;
    std::vector<MarkerSpec> markers;
    std::vector<int32_t> counters;
    std::vector<std::string> displays;
  };
  const Case cases[] = {
      {"levels 0 1 1 0", kDefault, {{0, 0}, {0, 1}, {0, 1}, {0, 0}}, {1, 1, 2, 2}, {"1.", "1.a", "1.b", "2."}},
      {"level 0 after deeper levels only", kDefault, {{0, 1}, {0, 1}, {0, 0}}, {1, 2, 2}, {"1.a", "1.b", "2."}},
      {"level reset restarts under a new parent", kDefault, {{0, 0}, {0, 1}, {0, 0}, {0, 1}}, {1, 1, 2, 1},
       {"1.", "1.a", "2.", "2.a"}},
      {"without level reset numbering goes on", dvloContinuous, {{0, 0}, {0, 1}, {0, 0}, {0, 1}}, {1, 1, 2, 2},
       {"1.", "1.a", "2.", "2.b"}},
      {"a skipped level counts as 1", kDefault, {{0, 0}, {0, 0}, {0, 2}}, {1, 2, 1}, {"1.", "2.", "2.a.I"}},
      {"level beyond the last uses the last", kDefault, {{0, 0}, {0, 5}}, {1, 1}, {"1.", "1.a.I"}},
      {"restart at StartFrom", kDefault, {{0, 0, true, 5}, {0, 0}, {0, 0, true, 1}}, {5, 6, 1}, {"5.", "6.", "1."}},
      {"counters saturate", kDefault, {{0, 0, true, INT_MAX - 1}, {0, 0}, {0, 0}}, {INT_MAX - 1, INT_MAX, INT_MAX},
       {"2147483646.", "2147483647.", "2147483647."}},
      {"lists count apart", kDefault, {{0, 0}, {1, 0}, {0, 0}, {1, 0}}, {1, 1, 2, 2}, {"1.", "(1)", "2.", "(2)"}},
      {"a list without levels counts but shows nothing", kDefault, {{2, 0}, {2, 0}}, {1, 2}, {"", ""}},
      {"a list number beyond the lists", kDefault, {{7, 0}, {7, 0}}, {1, 2}, {"", ""}},
  };
  for (const Case& c : cases) {
    TDVStyle style;
    MakeLists(style, c.options);
    TCustomDVData data;
    data.SetDVStyle(&style);
    for (const MarkerSpec& m : c.markers) AddListPara(data, m);
    EXPECT_EQ(Counters(data), c.counters) << c.name;
    EXPECT_EQ(Displays(data), c.displays) << c.name;
  }
}

TEST_F(MarkerTest, LegalNumberingAndBulletTexts) {
  TDVListInfo& legal = style.ListStyles().Add();  // list 3
  legal.Levels().Add().ListType = dvlstUpperRoman;
  legal.Levels()[0].FormatString = "%0:s";
  TDVListLevel& second = legal.Levels().Add();
  second.ListType = dvlstDecimal;
  second.FormatString = "%0:s.%1:s";
  second.Options |= dvloLegalStyleNumbering;
  TDVListInfo& bullets = style.ListStyles().Add();  // list 4
  bullets.Levels().Add();                           // the default bullet
  bullets.Levels().Add().FormatString = "%0:s%%";   // a bullet text is never a format
  for (const MarkerSpec& m : {MarkerSpec{3, 0}, {3, 0}, {3, 1}, {4, 0}, {4, 1}}) AddListPara(data, m);
  EXPECT_EQ(Displays(data), (std::vector<std::string>{"I", "II", "2.1", "\xB7", "%0:s%%"}));
}

TEST_F(MarkerTest, GetLevelInfoClampsToTheLastLevel) {
  const TDVListLevel* last = &style.ListStyles()[0].Levels()[2];
  struct Case {
    int32_t list, level;
    const TDVListLevel* expected;
  };
  const Case cases[] = {{0, 5, last}, {0, 2, last}, {0, 0, &style.ListStyles()[0].Levels()[0]},
                        {0, -1, nullptr}, {2, 0, nullptr}, {3, 0, nullptr}, {-1, 0, nullptr}};
  for (const Case& c : cases) {
    TDVMarkerItemInfo marker(nullptr, c.list, c.level, 0, false);
    EXPECT_EQ(marker.GetLevelInfo(&style), c.expected) << c.list << "/" << c.level;
  }
  TDVMarkerItemInfo marker(nullptr, 0, 0, 0, false);
  EXPECT_EQ(marker.GetLevelInfo(nullptr), nullptr);
}

TEST_F(MarkerTest, RemovingMarkersRenumbersTheirOwnList) {
  struct Case {
    const char* name;
    std::vector<MarkerSpec> markers;
    int removed;  // paragraph index
    std::vector<int32_t> counters;
  };
  const Case cases[] = {
      {"the last marker", {{0, 0}, {0, 0}, {0, 0}}, 2, {1, 2}},
      {"the first marker", {{0, 0}, {0, 0}, {0, 0}}, 0, {1, 2}},
      // The marker after the removed one is of another list: the removed
      // marker's own list is the one renumbered.
      {"followed by another list", {{0, 0}, {0, 0}, {1, 0}, {0, 0}}, 1, {1, 1, 2}},
      {"last of its list, another list before", {{1, 0}, {0, 0}, {0, 0}}, 2, {1, 1}},
  };
  for (const Case& c : cases) {
    TCustomDVData doc;
    doc.SetDVStyle(&style);
    for (const MarkerSpec& m : c.markers) AddListPara(doc, m);
    doc.DeleteItems(2 * c.removed, 2);
    EXPECT_EQ(Counters(doc), c.counters) << c.name;
  }
}

TEST_F(MarkerTest, TheListGoesWithItsLastMarkerAndComesBack) {
  EXPECT_EQ(data.GetMarkers(false), nullptr);
  AddListPara(data, {0, 0});
  ASSERT_NE(data.GetMarkers(false), nullptr);
  data.DeleteItems(0, 2);
  EXPECT_EQ(data.GetMarkers(false), nullptr);
  AddListPara(data, {0, 0});
  EXPECT_EQ(Counters(data), std::vector<int32_t>{1});
  data.Clear();
  EXPECT_EQ(data.GetMarkers(false), nullptr);
}

TEST_F(MarkerTest, SetListMarkerInfo) {
  // Paragraphs: "a" "b" | "c" (page break before) | break | "d"
  data.AddNL("a", 0, 1);
  data.AddNL("b", 0, -1);
  data.AddNL("c", 0, 2);
  data.SetPageBreaksBeforeItems(2, true);
  data.AddItem("", std::make_unique<test::FullLineItem>(nullptr));
  data.AddNL("d", 0, 3);

  // Inside a paragraph: the marker goes before its first item.
  EXPECT_EQ(data.SetListMarkerInfo(1, 0, 0, 0, -1, false), 0);
  ASSERT_EQ(data.GetItemStyle(0), dvsListMarker);
  EXPECT_EQ(data.GetItemPara(0), 1);
  EXPECT_TRUE(data.IsParaStart(0));
  EXPECT_FALSE(data.IsFromNewLine(1));
  // The page break of the paragraph's first item stays with the paragraph.
  EXPECT_EQ(data.SetListMarkerInfo(3, 0, 0, 0, -1, false), 3);
  EXPECT_TRUE(data.GetItem(3)->PageBreakBefore());
  EXPECT_TRUE(data.GetPageBreaksBeforeItems(4));
  EXPECT_FALSE(data.GetItem(4)->PageBreakBefore());
  // A full-width paragraph gets no marker.
  const int count = data.ItemCount();
  EXPECT_EQ(data.SetListMarkerInfo(5, 0, 0, 0, -1, false), -1);
  EXPECT_EQ(data.ItemCount(), count);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2}));
  // The paragraph's marker changes, and the numbers with it.
  EXPECT_EQ(data.SetListMarkerInfo(4, 0, 0, 7, -1, true), 3);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 7}));
  // Refused values.
  EXPECT_EQ(data.SetListMarkerInfo(0, -1, 0, 0, -1, false), -1);
  EXPECT_EQ(data.SetListMarkerInfo(0, 0, -1, 0, -1, false), -1);
  EXPECT_EQ(data.SetListMarkerInfo(0, 0, DVMaxListLevel + 1, 0, -1, false), -1);
  // Past the end: a marker at the end, in the paragraph given or the last one's.
  EXPECT_EQ(data.SetListMarkerInfo(100, 1, 0, 0, 9, false), count);
  EXPECT_EQ(data.GetItemPara(count), 9);
  EXPECT_EQ(data.SetListMarkerInfo(-5, 1, 0, 0, -1, false), count + 1);
  EXPECT_EQ(data.GetItemPara(count + 1), 9);
  TCustomDVData empty;
  EXPECT_EQ(empty.SetListMarkerInfo(0, 0, 0, 0, -1, false), 0);
  EXPECT_EQ(empty.GetItemPara(0), 0);
}

TEST_F(MarkerTest, ChangingAMarkersListRenumbersBothLists) {
  for (const MarkerSpec& m : {MarkerSpec{0, 0}, {0, 0}, {1, 0}, {0, 0}, {1, 0}}) AddListPara(data, m);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2, 1, 3, 2}));
  EXPECT_EQ(data.SetListMarkerInfo(2, 1, 0, 0, -1, false), 2);  // list 0 -> 1
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 1, 2, 2, 3}));
  EXPECT_EQ(Displays(data), (std::vector<std::string>{"1.", "(1)", "(2)", "2.", "(3)"}));
}

TEST_F(MarkerTest, UndoListMovesTakeTheMarkerOutAndBack) {
  for (int i = 0; i < 3; ++i) AddListPara(data, {0, 0});
  auto* marker = static_cast<TDVMarkerItemInfo*>(data.GetItem(2));
  marker->MovingToUndoList(2, &data);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2}));
  marker->MovingFromUndoList(2, &data);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2, 3}));
  marker->MovingFromUndoList(2, &data);  // already listed: no second entry
  EXPECT_EQ(data.GetMarkers(false)->Count(), 3);
}

TEST_F(MarkerTest, DrainingAndDeletingKeepTheCountersRight) {
  for (const MarkerSpec& m : {MarkerSpec{0, 0}, {0, 0}}) AddListPara(data, m);
  TCustomDVData victim;
  victim.SetDVStyle(&style);
  for (const MarkerSpec& m : {MarkerSpec{0, 0}, {1, 0}, {0, 1}, {0, 0}}) AddListPara(victim, m);
  EXPECT_EQ(Counters(victim), (std::vector<int32_t>{1, 1, 1, 2}));

  data.DrainFrom(&victim);
  EXPECT_EQ(victim.GetMarkers(false), nullptr);
  EXPECT_EQ(victim.ItemCount(), 0);
  EXPECT_EQ(data.ItemCount(), 12);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2, 3, 1, 1, 4}));
  EXPECT_EQ(Displays(data), (std::vector<std::string>{"1.", "2.", "3.", "(1)", "3.a", "4."}));
  for (int i = 0; i < data.ItemCount(); i += 2) EXPECT_EQ(data.GetItemStyle(i), dvsListMarker) << i;

  data.DeleteItems(2, 2);  // the first drained marker
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2, 1, 1, 3}));
  EXPECT_EQ(Displays(data), (std::vector<std::string>{"1.", "2.", "(1)", "2.a", "3."}));
}

// A document inside an item of another, as a table cell is.
class SubDoc : public TCustomDVData {
 public:
  SubDoc(TCustomDVData* parent, int parentItemNo) : parent_(parent), parentItemNo_(parentItemNo) {}
  ~SubDoc() override { Clear(); }
  TCustomDVData* GetRootData() override { return parent_->GetRootData(); }
  const TCustomDVData* GetRootData() const override { return parent_->GetRootData(); }
  TCustomDVData* GetAbsoluteParentData() const override { return parent_; }
  TCustomDVData* GetAbsoluteRootData() override { return parent_->GetAbsoluteRootData(); }
  void GetParentInfo(int& parentItemNo, TCustomDVItemInfo*& location) const override {
    parentItemNo = parentItemNo_;
    location = nullptr;
  }

 private:
  TCustomDVData* parent_;
  int parentItemNo_;
};

class HolderItem : public TDVRectItemInfo {
 public:
  using TDVRectItemInfo::TDVRectItemInfo;
  TDVItemClass ItemClass() const override { return DVItemClassOf<HolderItem>; }
  TCustomDVData* GetSubDVData(std::unique_ptr<TDVStoreSubDVData>&, TDVSubDVDataPos) const override {
    return sub.get();
  }
  std::unique_ptr<SubDoc> sub;
};

// Appends an item that holds a cell, and answers the cell.
SubDoc& AddCell(TCustomDVData& data) {
  auto holder = std::make_unique<HolderItem>(nullptr);
  holder->StyleNo = -20;
  holder->sub = std::make_unique<SubDoc>(&data, data.ItemCount());
  SubDoc& cell = *holder->sub;
  data.AddItem("", std::move(holder));
  return cell;
}

TEST_F(MarkerTest, MarkersInSubDocumentsTakeTheirPlaceInDocumentOrder) {
  AddListPara(data, {0, 0}, "root 1");
  SubDoc& cell = AddCell(data);
  AddListPara(cell, {0, 0}, "cell");
  AddListPara(data, {0, 0}, "root 2");
  EXPECT_EQ(cell.GetMarkers(false), data.GetMarkers(false));
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(data.FindPreviousMarker(data.ItemCount() - 3), cell.GetItem(0));
  EXPECT_EQ(cell.FindPreviousMarker(-1), data.GetItem(0));

  // Deleting the item that holds the cell takes the cell's marker out and
  // renumbers what follows.
  data.DeleteItems(2, 1);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2}));
}

TEST_F(MarkerTest, ADrainedSubDocumentTakesItsMarkersAlong) {
  AddListPara(data, {0, 0}, "root 1");
  SubDoc& cell = AddCell(data);
  for (int i = 0; i < 3; ++i) AddListPara(cell, {0, 0}, "cell");
  AddListPara(data, {0, 0}, "root 2");
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2, 3, 4, 5}));

  TCustomDVData other;
  other.SetDVStyle(&style);
  AddListPara(other, {0, 0}, "other");
  other.DrainFrom(&cell);
  EXPECT_EQ(Counters(data), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(Counters(other), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(Displays(data), (std::vector<std::string>{"1.", "2."}));
}

TEST(MarkerDVFTest, HeaderTailRoundTripAndHostileValues) {
  struct Case {
    const char* tail;
    bool ok;
    int32_t list, level, startFrom;
    bool reset;
  };
  const Case cases[] = {
      {"0 0 1 0", true, 0, 0, 1, false},
      {"3 255 -7 5", true, 3, 255, -7, true},
      {"2147483647 1 2147483647 1", true, INT_MAX, 1, INT_MAX, true},
      {"-1 0 0 0", false, 0, 0, 0, false},
      {"0 -1 0 0", false, 0, 0, 0, false},
      {"0 256 0 0", false, 0, 0, 0, false},
      {"0 2147483647 0 0", false, 0, 0, 0, false},
      {"0 0 99999999999 0", false, 0, 0, 0, false},
      {"0 0 0", false, 0, 0, 0, false},
      {"a 0 0 0", false, 0, 0, 0, false},
      {"0x1 0 0 0", false, 0, 0, 0, false},
      {"", false, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    TDVMarkerItemInfo marker(nullptr);
    std::string_view p = c.tail;
    ASSERT_EQ(marker.ReadDVFHeader(p, nullptr), c.ok) << c.tail;
    if (!c.ok) continue;
    EXPECT_EQ(marker.ListNo, c.list);
    EXPECT_EQ(marker.Level, c.level);
    EXPECT_EQ(marker.StartFrom, c.startFrom);
    EXPECT_EQ(marker.Reset, c.reset);
    TDVMarkerItemInfo back(nullptr);
    const std::string written = marker.SaveDVFHeaderTail(nullptr);
    std::string_view q = written;
    ASSERT_TRUE(back.ReadDVFHeader(q, nullptr)) << written;
    EXPECT_EQ(back.SaveDVFHeaderTail(nullptr), written);
  }
}

TEST(MarkerDVFTest, RecordHasTheHeaderOnly) {
  TCustomDVData data;
  TDVMarkerItemInfo marker(nullptr, 1, 2, 5, true);
  marker.ItemOptions = dvioPageBreakBefore;
  marker.Tag.Int = 4;
  TMemoryStream stream;
  marker.SaveDVF(stream, data, 3, "", nullptr, false);
  EXPECT_EQ(stream.AsString(), "-11 0 3 2 0 4 1 2 5 1\r\n");
  std::string name;
  TDVFReadMode mode = rmText;
  TDVFReadState state = rstData;
  EXPECT_FALSE(marker.ReadDVFLine("vshift=3", &data, 0, 0, 1, name, mode, state));
}

TEST(MarkerItemTest, CreatedAndCopiedAsAMarker) {
  auto item = CreateDocViewItem(dvsListMarker, nullptr);
  auto* marker = dynamic_cast<TDVMarkerItemInfo*>(item.get());
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->Counter, 1);
  EXPECT_FALSE(marker->SameAsPrev());
  EXPECT_TRUE(marker->GetBoolValue(dvbpDrawingChangesFont));
  marker->ListNo = 2;
  marker->Level = 1;
  marker->StartFrom = 9;
  marker->Reset = true;
  marker->Counter = 9;
  marker->VAlign = dvvaMiddle;
  marker->VShift = 4;
  marker->VShiftAbs = true;
  auto copy = DV_DuplicateItem(*marker, nullptr);
  auto* copied = dynamic_cast<TDVMarkerItemInfo*>(copy.get());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->StyleNo, dvsListMarker);
  EXPECT_EQ(copied->ListNo, 2);
  EXPECT_EQ(copied->Level, 1);
  EXPECT_EQ(copied->StartFrom, 9);
  EXPECT_TRUE(copied->Reset);
  EXPECT_EQ(copied->Counter, 1);  // counted again once listed
  EXPECT_EQ(copied->VAlign, dvvaMiddle);
  EXPECT_EQ(copied->VShift, 4);
  EXPECT_TRUE(copied->VShiftAbs);  // a copy keeps the shift in pixels
}

std::unique_ptr<TGraphic> Image(int32_t width, int32_t height) { return std::make_unique<TBitmap>(width, height); }

TEST_F(MarkerTest, DrawingOnTheRecordingCanvas) {
  TCustomImageList images(16, 16);
  images.Add(TBitmap(48, 16));  // three images
  TDVListInfo& kinds = style.ListStyles().Add();  // list 3
  kinds.Levels().Add();                           // 0: default bullet
  TDVListLevel& picture = kinds.Levels().Add();   // 1
  picture.ListType = dvlstPicture;
  picture.Picture().SetGraphic(Image(12, 8));
  TDVListLevel& fromList = kinds.Levels().Add();  // 2
  fromList.ListType = dvlstImageList;
  fromList.ImageList = &images;
  fromList.ImageIndex = 1;
  TDVListLevel& counted = kinds.Levels().Add();  // 3
  counted.ListType = dvlstImageListCounter;
  counted.ImageList = &images;
  TDVListLevel& ownFont = kinds.Levels().Add();  // 4
  ownFont.ListType = dvlstDecimal;
  ownFont.FormatString = "%4:s)";
  ownFont.Font().Name = "SimSun";
  ownFont.Font().SetSize(12);
  TDVListLevel& emptyPicture = kinds.Levels().Add();  // 5
  emptyPicture.ListType = dvlstPicture;

  struct Case {
    int32_t list, level, counter;
    std::vector<std::string> drawn;
  };
  const Case cases[] = {
      {3, 0, 1, {"TextW 10,20 \"\u00B7\""}},
      {3, 1, 1, {"Draw 10,20 TBitmap 12x8"}},
      {3, 2, 1, {"Draw 10,20 TBitmap 16x16"}},
      {3, 3, 3, {"Draw 10,20 TBitmap 16x16"}},
      {3, 3, 4, {}},          // past the image list
      {3, 3, INT_MIN, {}},    // no overflow on the way
      {3, 4, 7, {"TextW 10,20 \"7)\""}},
      {3, 5, 1, {}},
      {0, 1, 2, {"TextW 10,20 \"1.b\""}},
      {9, 0, 1, {}},          // a list that does not exist
  };
  for (const Case& c : cases) {
    TDVMarkerItemInfo marker(nullptr, c.list, c.level, 0, false);
    marker.Counter = c.counter;
    TDVMarkerList list;
    if (c.list == 0) {
      TDVMarkerItemInfo parent(nullptr, 0, 0, 0, false);
      list.InsertAfter(&parent, nullptr);
      list.InsertAfter(&marker, &parent);
      parent.Counter = 1;
      list.CalcDisplayString(1, &style);
    } else {
      list.InsertAfter(&marker, nullptr);
      list.CalcDisplayString(0, &style);
    }
    TRecordingCanvas canvas;
    marker.Paint(10, 20, canvas, 0, &style, nullptr);
    EXPECT_EQ(canvas.Strings(), c.drawn) << c.list << "/" << c.level;
  }

  // Text markers draw in the level's font, or the default one, which
  // painting does not add to the level (its list style would store it).
  TRecordingCanvas canvas;
  TDVMarkerItemInfo bullet(nullptr, 3, 0, 0, false);
  bullet.DisplayString = "\xB7";
  bullet.Paint(0, 0, canvas, 0, &style, nullptr);
  TDVMarkerItemInfo numbered(nullptr, 3, 4, 0, false);
  numbered.DisplayString = "1)";
  numbered.Paint(0, 0, canvas, 0, &style, nullptr);
  ASSERT_EQ(canvas.Log().size(), 2u);
  EXPECT_EQ(canvas.Log()[0].Font.Name, "Arial");
  EXPECT_EQ(canvas.Log()[0].Font.Height, -11);
  EXPECT_EQ(canvas.Log()[0].Brush.Style, bsClear);
  EXPECT_EQ(canvas.Log()[1].Font.Name, "SimSun");
  EXPECT_EQ(canvas.Log()[1].Font.Height, -16);
  EXPECT_FALSE(kinds.Levels()[0].HasFont());
}

TEST_F(MarkerTest, PrintsAPictureIntoABitmap) {
  TDVListLevel& level = style.ListStyles()[1].Levels()[0];
  level.ListType = dvlstPicture;
  auto black = std::make_unique<TBitmap>(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) black->SetPixel(x, y, clBlack);
  level.Picture().SetGraphic(std::move(black));
  TDVMarkerItemInfo marker(nullptr, 1, 0, 0, false);
  EXPECT_TRUE(marker.GetBoolValueEx(dvbpPrintToBMP, &style));
  EXPECT_FALSE(marker.GetBoolValueEx(dvbpActualPrintSize, &style));
  TBitmap bitmap(6, 6);
  TCustomDVData data;
  data.SetDVStyle(&style);
  EXPECT_TRUE(marker.PrintToBitmap(bitmap, false, &data, nullptr, -1));
  EXPECT_EQ(bitmap.GetPixel(0, 0), clBlack);
  EXPECT_EQ(bitmap.GetPixel(3, 2), clBlack);
  EXPECT_EQ(bitmap.GetPixel(4, 3), clWhite);
}

TEST_F(MarkerTest, SizeFollowsAlignmentAndIndents) {
  // "3." in the default 8-point font: two half-width characters of 5
  // pixels, 11 high with a descent of 3.
  struct Case {
    TDVMarkerAlignment alignment;
    int32_t firstIndent, markerIndent;
    TDVBiDiMode bidi;
    int32_t width, overhang, minWidth;
  };
  const Case cases[] = {
      {dvmaLeft, 10, 0, dvbdLeftToRight, 10, 0, 10},
      {dvmaLeft, 30, 5, dvbdLeftToRight, 25, 0, 25},
      {dvmaLeft, 0, 20, dvbdLeftToRight, 10, 0, 10},
      {dvmaRight, 10, 0, dvbdLeftToRight, 20, -10, 10},
      {dvmaRight, 10, 0, dvbdRightToLeft, 20, 10, 10},
      {dvmaCenter, 10, 0, dvbdLeftToRight, 15, -5, 10},
      {dvmaCenter, 0, 0, dvbdLeftToRight, 10, -5, 5},
      {dvmaLeft, INT_MAX, INT_MIN, dvbdLeftToRight, INT_MAX, 0, INT_MAX},
  };
  for (const Case& c : cases) {
    TDVListLevel& level = style.ListStyles()[0].Levels()[0];
    level.MarkerAlignment = c.alignment;
    level.FirstIndent = c.firstIndent;
    level.MarkerIndent = c.markerIndent;
    data.SetBiDiMode(c.bidi);
    TDVMarkerItemInfo marker(nullptr, 0, 0, 0, false);
    marker.DisplayString = "3.";
    TRecordingCanvas canvas;
    marker.CalcSize(canvas, &data, nullptr);
    EXPECT_EQ(marker.GetWidth(), c.width) << int(c.alignment) << " " << c.firstIndent;
    EXPECT_EQ(marker.GetLeftOverhang(), c.overhang) << int(c.alignment);
    EXPECT_EQ(marker.GetHeight(), 11);
    EXPECT_EQ(marker.GetDescent(), 3);
    EXPECT_EQ(marker.GetMinWidth(nullptr, &canvas, &data), c.minWidth) << int(c.alignment);
  }

  // For a printer at twice the screen's resolution, numbers are measured
  // on the printer canvas and the indents scaled; other levels are
  // measured for the screen and the result scaled.
  TDVListLevel& level = style.ListStyles()[0].Levels()[0];
  level.MarkerAlignment = dvmaLeft;
  level.FirstIndent = 10;
  level.MarkerIndent = 0;
  TDVScreenAndDevice sad;
  sad.ppixDevice = sad.ppiyDevice = 192;
  TRecordingCanvas printer(192);
  TDVMarkerItemInfo number(nullptr, 0, 0, 0, false);
  number.DisplayString = "3.";
  number.CalcSize(printer, &data, &sad);
  EXPECT_EQ(number.GetWidth(), 20);
  EXPECT_EQ(number.GetHeight(), 21);
  EXPECT_EQ(number.GetMinWidth(&sad, &printer, &data), 20);
  style.ListStyles()[1].Levels()[0].ListType = dvlstBullet;
  TDVMarkerItemInfo bullet(nullptr, 1, 0, 0, false);
  bullet.DisplayString = "\xB7";
  TRecordingCanvas screen;
  EXPECT_EQ(bullet.GetMinWidth(&sad, &screen, &data), 20);
}

}  // namespace
}  // namespace quillet
