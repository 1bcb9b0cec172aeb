#include "engine/model/dv_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/model_test_items.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

using namespace std::string_literals;
using test::FullLineItem;
using test::RectItem;

std::unique_ptr<TCustomDVItemInfo> Text(int32_t styleNo, int32_t paraNo, TDVItemOptions options = 0) {
  auto item = std::make_unique<TDVTextItemInfo>(nullptr);
  item->StyleNo = styleNo;
  item->ParaNo = paraNo;
  item->ItemOptions = options;
  return item;
}

std::unique_ptr<TCustomDVItemInfo> FullLine(int32_t paraNo) {
  auto item = std::make_unique<FullLineItem>(nullptr);
  item->StyleNo = dvsBreak;
  item->ParaNo = paraNo;
  return item;
}

// The checkpoint names along the chain, checking the back links on the way.
std::vector<std::string> Chain(const TCustomDVData& data) {
  std::vector<std::string> names;
  const TDVCPInfo* prev = nullptr;
  for (const TDVCPInfo* cp = data.FirstCP(); cp; cp = cp->Next) {
    EXPECT_EQ(cp->Prev, prev);
    names.push_back(cp->Name);
    prev = cp;
  }
  EXPECT_EQ(data.LastCP(), prev);
  return names;
}

TEST(DocumentBuildTest, ParagraphsOfAppendedItems) {
  TCustomDVData data;
  data.AddNL("a", 0, -1);
  data.AddNL("b", 0, -1);
  data.AddNL("c", 1, 2);
  data.AddItem("", FullLine(-1));
  data.AddNL("d", 0, -1);
  auto br = Text(0, 1, dvioBR);
  data.AddItem("e", std::move(br));

  ASSERT_EQ(data.ItemCount(), 6);
  struct Expect {
    int32_t para;
    TDVItemOptions options;
  };
  // A full-width item with paragraph -1 continues the paragraph; the item
  // after it cannot, so it starts paragraph 0.
  const Expect expected[] = {{0, 0}, {0, dvioSameAsPrev}, {2, 0}, {2, dvioSameAsPrev}, {0, 0}, {1, dvioBR}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(data.GetItemPara(i), expected[i].para) << i;
    EXPECT_EQ(data.GetItemOptions(i), expected[i].options) << i;
  }
  EXPECT_TRUE(data.IsParaStart(0));
  EXPECT_FALSE(data.IsFromNewLine(1));
  EXPECT_TRUE(data.IsFromNewLine(5));
  EXPECT_FALSE(data.IsParaStart(5));
  EXPECT_EQ(data.GetFirstParaItem(1), 0);
  EXPECT_EQ(data.GetFirstParaItem(5), 4);
  EXPECT_EQ(data.GetFirstParaSectionItem(5), 5);
}

TEST(DocumentBuildTest, WithoutNewParagraphsItemsStartLines) {
  TCustomDVData data;
  data.SetAddParagraphMode(false);
  data.AddNL("a", 0, 0);
  data.AddItem("", FullLine(0));
  data.AddNL("b", 0, 0);
  data.AddNL("c", 0, -1);
  EXPECT_EQ(data.GetItemOptions(0), dvioBR);
  EXPECT_EQ(data.GetItemOptions(1), 0);  // a full-width item never gets BR
  EXPECT_EQ(data.GetItemOptions(2), dvioBR);
  EXPECT_EQ(data.GetItemOptions(3), dvioSameAsPrev);
}

TEST(DocumentBuildTest, ItemAfterListMarkerGetsAnEmptyTextFirst) {
  TCustomDVData data;
  auto marker = std::make_unique<RectItem>(nullptr);
  marker->StyleNo = dvsListMarker;
  marker->ParaNo = 3;
  data.AddItem("", std::move(marker));
  data.AddNL("next paragraph", 0, 1);
  ASSERT_EQ(data.ItemCount(), 3);
  EXPECT_EQ(data.GetItemStyle(1), 0);
  EXPECT_EQ(data.GetItemTextR(1), "");
  EXPECT_EQ(data.GetItemPara(1), 3);
  EXPECT_EQ(data.GetItemOptions(1), dvioSameAsPrev);
  EXPECT_TRUE(data.IsParaStart(2));
}

TEST(DocumentBuildTest, TabsAndUnicodeStyles) {
  TDVStyle style;
  style.SpacesInTab = 3;
  style.TextStyles()[1].Unicode = true;
  TCustomDVData data;
  data.SetDVStyle(&style);
  data.AddNL("a\tb", 0, 0);
  data.AddNL("a\0\t\0"s, 1, 0);
  EXPECT_EQ(data.GetItemTextR(0), "a   b");
  EXPECT_EQ(data.GetItemTextR(1), "a\0 \0 \0 \0"s);
  EXPECT_EQ(data.GetItemOptions(1) & dvioUnicode, dvioUnicode);
  EXPECT_EQ(data.ItemLength(0), 5);
  EXPECT_EQ(data.ItemLength(1), 4);
  EXPECT_EQ(data.GetOffsAfterItem(1), 5);

  TCustomDVData plain;  // no style sheet: 8 spaces
  plain.AddNL("\t", 0, 0);
  EXPECT_EQ(plain.GetItemTextR(0), std::string(8, ' '));
}

TEST(DocumentCheckpointTest, TrailingCheckpointGoesToTheNextItem) {
  TCustomDVData data;
  EXPECT_EQ(data.AddNamedCheckpointExTag("first", false, {}), 0);
  EXPECT_EQ(data.AddNamedCheckpointExTag("second", true, {}), 0);  // the first stays
  EXPECT_EQ(data.CPCount(), 1);
  ASSERT_NE(data.NotAddedCP(), nullptr);
  data.AddNL("a", 0, 0);
  EXPECT_EQ(data.NotAddedCP(), nullptr);
  ASSERT_NE(data.GetItem(0)->Checkpoint, nullptr);
  EXPECT_EQ(data.GetItem(0)->Checkpoint->Name, "first");
  EXPECT_EQ(data.GetItem(0)->Checkpoint->ItemInfo, data.GetItem(0));
  EXPECT_EQ(data.AddNamedCheckpointExTag("third", false, {}), 1);
  EXPECT_EQ(data.CPCount(), 2);
  EXPECT_EQ(Chain(data), (std::vector<std::string>{"first"}));
  data.Clear();
  EXPECT_EQ(data.CPCount(), 0);
  EXPECT_EQ(data.FirstCP(), nullptr);
}

TEST(DocumentCheckpointTest, ChainFollowsDocumentOrder) {
  TCustomDVData data;
  for (const char* s : {"0", "1", "2", "3", "4"}) data.AddNL(s, 0, 0);
  data.InsertCheckpoint(3, {}, "c3", false);
  data.InsertCheckpoint(1, {}, "c1", false);
  data.InsertCheckpoint(4, {}, "c4", false);
  data.InsertCheckpoint(2, {}, "c2", false);
  EXPECT_EQ(Chain(data), (std::vector<std::string>{"c1", "c2", "c3", "c4"}));
  EXPECT_EQ(data.CPCount(), 4);
  EXPECT_THROW(data.InsertCheckpoint(2, {}, "again", false), EDocViewError);
  EXPECT_EQ(data.CPCount(), 4);

  EXPECT_EQ(data.FindCPBeforeItem(1), nullptr);
  ASSERT_NE(data.FindCPBeforeItem(3), nullptr);
  EXPECT_EQ(data.FindCPBeforeItem(3)->Name, "c2");
  EXPECT_EQ(data.FindCPBeforeItem(100)->Name, "c4");

  data.SetCheckpointInfo(2, {}, "renamed", true);
  data.SetCheckpointInfo(0, {}, "c0", false);
  EXPECT_EQ(Chain(data), (std::vector<std::string>{"c0", "c1", "renamed", "c3", "c4"}));

  data.DeleteItems(1, 2);
  EXPECT_EQ(Chain(data), (std::vector<std::string>{"c0", "c3", "c4"}));
  EXPECT_EQ(data.CPCount(), 3);
  data.UpdateCPItemNo();
  EXPECT_EQ(data.LastCP()->ItemNo, 2);
}

TEST(DocumentCheckpointTest, ItemWithItsOwnCheckpointWhileOneIsPending) {
  TCustomDVData data;
  data.AddNL("a", 0, 0);
  data.AddNamedCheckpointExTag("pending", false, {});
  auto item = Text(0, 0);
  item->Checkpoint = std::make_unique<TDVCPInfo>();
  item->Checkpoint->Name = "own";
  data.AddItem("b", std::move(item));
  // Neither is lost: the item keeps its own, the pending one goes to the next item.
  EXPECT_EQ(data.GetItem(1)->Checkpoint->Name, "own");
  ASSERT_NE(data.NotAddedCP(), nullptr);
  data.AddNL("c", 0, 0);
  EXPECT_EQ(data.GetItem(2)->Checkpoint->Name, "pending");
  EXPECT_EQ(Chain(data), (std::vector<std::string>{"own", "pending"}));
  EXPECT_EQ(data.CPCount(), 2);
}

TEST(DocumentRemovalTest, DeleteItemsRanges) {
  struct Case {
    int first, count;
    std::string left;
    bool throws;
  };
  const Case cases[] = {
      {1, 2, "03", false}, {2, 100, "01", false}, {4, 1, "0123", false},
      {9, 1, "0123", false}, {0, 0, "0123", false}, {-1, 2, "0123", true},
  };
  for (const Case& c : cases) {
    TCustomDVData data;
    for (const char* s : {"0", "1", "2", "3"}) data.AddNL(s, 0, 0);
    if (c.throws) {
      EXPECT_THROW(data.DeleteItems(c.first, c.count), EDocViewError);
    } else {
      data.DeleteItems(c.first, c.count);
    }
    std::string left;
    for (int i = 0; i < data.ItemCount(); ++i) left += data.GetItemTextR(i);
    EXPECT_EQ(left, c.left) << c.first << "," << c.count;
  }
}

class SharingData : public TCustomDVData {
 public:
  bool ShareItems() const override { return true; }
};

TEST(DocumentRemovalTest, ClearingSharedItemsFreesOnlyTheTrailingCheckpoint) {
  TCustomDVData owner;
  owner.AddNL("kept", 0, 0);
  {
    SharingData sharer;
    sharer.ShareItemsFrom(owner);
    EXPECT_EQ(sharer.ItemCount(), 1);
    sharer.AddNamedCheckpointExTag("t", false, {});
    sharer.Clear();
    EXPECT_EQ(sharer.NotAddedCP(), nullptr);
    EXPECT_EQ(sharer.ItemCount(), 1);
    sharer.DeleteItems(0, 1);
    EXPECT_EQ(sharer.ItemCount(), 1);
  }
  EXPECT_EQ(owner.GetItemTextR(0), "kept");
}

TEST(DocumentPropertiesTest, PageBreaksBeforeItems) {
  TCustomDVData data;
  auto marker = std::make_unique<RectItem>(nullptr);
  marker->StyleNo = dvsListMarker;
  marker->ItemOptions = dvioPageBreakBefore;
  data.AddNL("first", 0, 0);
  data.AddItem("", std::move(marker));
  data.AddNL("after marker", 0, -1);
  EXPECT_FALSE(data.GetPageBreaksBeforeItems(0));  // index 0 looks at no item before it
  EXPECT_TRUE(data.GetPageBreaksBeforeItems(2));   // answered by the marker before it
  data.SetPageBreaksBeforeItems(0, true);
  EXPECT_TRUE(data.GetPageBreaksBeforeItems(0));
  for (int bad : {-1, 3}) {
    EXPECT_THROW(data.GetPageBreaksBeforeItems(bad), EDocViewError);
    EXPECT_THROW(data.SetPageBreaksBeforeItems(bad, true), EDocViewError);
  }
  try {
    data.CheckItemClass<FullLineItem>(0);
    ADD_FAILURE();
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "Can't get or set this kind of information for this item");
  }
  EXPECT_NO_THROW(data.CheckItemClass<TDVTextItemInfo>(0));
}

TEST(DocumentPropertiesTest, DelimitersAndTags) {
  TCustomDVData data;
  EXPECT_TRUE(data.IsDelimiterA('.'));
  EXPECT_FALSE(data.IsDelimiterA('a'));
  EXPECT_TRUE(data.IsDelimiterW(u','));
  EXPECT_FALSE(data.IsDelimiterW(u'\u012C'));  // low byte is ','
  EXPECT_TRUE(data.IsDelimiter("a,b", 2, 0));
  EXPECT_TRUE(data.IsDelimiter("a\0,\0"s, 2, dvioUnicode));
  EXPECT_FALSE(data.IsDelimiter("a\0,\0"s, 3, dvioUnicode));
  EXPECT_FALSE(data.IsDelimiter("a", 0, 0));

  std::string withNul = "a\0b"s;
  TCustomDVData::Replace0(withNul);
  EXPECT_EQ(withNul, "a?b");

  data.SetOptions(data.GetOptions() | dvoTagsArePChars);
  data.AddNL("x", 0, 0);
  TDVTag tag;
  tag.Str = "t";
  data.SetItemTag(0, tag);
  EXPECT_EQ(*data.GetItemTag(0).Str, "t");
}

TEST(HostLinesTest, KeepsOnlyItsTwoTags) {
  TQvDvData lines;
  struct Case {
    const char* line;
    bool taken;
  };
  const Case cases[] = {{"QV;a;t;255", true}, {"QPUser;a", true}, {"Qv;x", false}, {"QX;1", false},
                        {"Q", false},          {"", false},         {" QV;", false}};
  for (const Case& c : cases) EXPECT_EQ(lines.QvRead(c.line), c.taken) << c.line;
  EXPECT_EQ(lines.userInfo, (std::vector<std::string>{"QV;a;t;255"}));
  EXPECT_EQ(lines.allPostil, (std::vector<std::string>{"QPUser;a"}));

  lines.QvRead("QPP;1");
  lines.QvRead("QV;b");
  TMemoryStream stream;
  lines.QvSave(stream);
  EXPECT_EQ(stream.AsString(), "QV;a;t;255\r\nQV;b\r\nQPUser;a\r\nQPP;1\r\n");

  TMemoryStream empty;
  TQvDvData().QvSave(empty);
  EXPECT_EQ(empty.GetSize(), 0);
}

TEST(HostLinesTest, DocumentKeepsItsLinesWhenCleared) {
  TCustomDVData data;
  data.HostLines().QvRead("QV;drafter");
  data.AddNL("a", 0, 0);
  data.Clear();
  EXPECT_EQ(data.HostLines().userInfo.size(), 1u);
}

}  // namespace
}  // namespace quillet
