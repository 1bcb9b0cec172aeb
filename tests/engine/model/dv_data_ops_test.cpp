#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "engine/model/model_test_items.h"
#include "engine/style/style_sheet.h"
#include "platform/core/beep.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

using namespace std::string_literals;
using test::Describe;

struct ItemSpec {
  std::string text;
  int32_t style;
  TDVItemOptions options;  // dvioSameAsPrev or 0 (a paragraph start)
  const char* checkpoint = nullptr;
  int32_t tag = 0;
};

void Build(TCustomDVData& data, const std::vector<ItemSpec>& specs) {
  for (const ItemSpec& s : specs) {
    auto item = std::make_unique<TDVTextItemInfo>(nullptr);
    item->StyleNo = s.style;
    item->ParaNo = (s.options & dvioSameAsPrev) ? -1 : 0;
    item->ItemOptions = s.options & dvioUnicode;
    item->Tag.Int = s.tag;
    if (s.checkpoint) data.AddNamedCheckpointExTag(s.checkpoint, false, {});
    data.AddItem(s.text, std::move(item));
  }
}

TEST(ConcateTest, MergingAdjacentTextItems) {
  constexpr TDVItemOptions kSame = dvioSameAsPrev, kNew = 0;
  struct Case {
    const char* name;
    std::vector<ItemSpec> items;
    std::string after;
  };
  const Case cases[] = {
      {"same style continuing", {{"ab", 0, kNew}, {"cd", 0, kSame}}, "|[abcd/0]"},
      {"new paragraph", {{"ab", 0, kNew}, {"cd", 0, kNew}}, "|[ab/0]|[cd/0]"},
      {"other style", {{"ab", 0, kNew}, {"cd", 1, kSame}}, "|[ab/0][cd/1]"},
      {"other tag", {{"ab", 0, kNew, nullptr, 1}, {"cd", 0, kSame, nullptr, 2}}, "|[ab/0][cd/0]"},
      {"second has a checkpoint", {{"ab", 0, kNew}, {"cd", 0, kSame, "c"}}, "|[ab/0][cd/0@c]"},
      {"first has a checkpoint", {{"ab", 0, kNew, "c"}, {"cd", 0, kSame}}, "|[abcd/0@c]"},
      // An empty item never changes the style of the text next to it.
      {"empty first, other style", {{"", 0, kNew}, {"cd", 1, kSame}}, "|[cd/1]"},
      {"empty second, other style", {{"ab", 1, kNew}, {"", 0, kSame}}, "|[ab/1]"},
      {"empty first keeps its checkpoint", {{"", 0, kNew, "c"}, {"cd", 1, kSame}}, "|[cd/1@c]"},
      {"empty second with checkpoint stays", {{"ab", 1, kNew}, {"", 0, kSame, "c"}}, "|[ab/1][/0@c]"},
      {"both empty, both checkpoints", {{"", 0, kNew, "a"}, {"", 0, kSame, "b"}}, "|[/0@a][/0@b]"},
      {"run collapses", {{"a", 0, kNew}, {"b", 0, kSame}, {"", 2, kSame}, {"c", 0, kSame}}, "|[abc/0]"},
      // 8-bit and UTF-16 bytes are never joined.
      {"unicode and 8-bit", {{"ab", 0, kNew}, {"c\0"s, 0, kSame | dvioUnicode}}, "|[ab/0][u:c/0]"},
      {"empty 8-bit before unicode", {{"", 0, kNew}, {"c\0"s, 0, kSame | dvioUnicode}}, "|[u:c/0]"},
  };
  for (const Case& c : cases) {
    TCustomDVData data;
    Build(data, c.items);
    data.MassSimpleConcate(0, data.ItemCount() - 1);
    EXPECT_EQ(Describe(data), c.after) << c.name;
  }
}

TEST(ConcateTest, ProtectedStylesAndIgnoredParagraphs) {
  TDVStyle style;
  style.TextStyles()[1].Protection = dvprConcateProtect;
  style.TextStyles()[2].Protection = dvprModifyProtect;
  TCustomDVData data;
  data.SetDVStyle(&style);
  Build(data, {{"a", 1, dvioSameAsPrev}, {"b", 1, dvioSameAsPrev}, {"c", 2, 0}, {"d", 2, dvioSameAsPrev},
               {"e", 0, 0}, {"", 0, 0}});
  EXPECT_FALSE(data.DV_CanConcateItems(0, data.GetItem(0), data.GetItem(1), false));
  EXPECT_FALSE(data.DV_CanConcateItems(2, data.GetItem(2), data.GetItem(3), false));
  EXPECT_FALSE(data.DV_CanConcateItems(4, data.GetItem(4), data.GetItem(5), false));
  EXPECT_TRUE(data.DV_CanConcateItems(4, data.GetItem(4), data.GetItem(5), true));
  EXPECT_FALSE(data.DV_CanConcateItems(5, data.GetItem(5), nullptr, true));
  // An empty first item that started a paragraph hands its place to the kept item.
  TCustomDVData moved;
  Build(moved, {{"x", 0, 0}, {"", 3, 0}, {"y", 1, dvioSameAsPrev}});
  moved.SimpleConcate(1);
  EXPECT_EQ(Describe(moved), "|[x/0]|[y/1]");
}

TEST(DrainTest, MovesItemsCheckpointsAndTrailingCheckpoint) {
  TCustomDVData target, victim;
  Build(target, {{"t", 0, 0, "t0"}});
  Build(victim, {{"v1", 0, 0, "v1"}, {"v2", 0, dvioSameAsPrev}, {"v3", 0, 0, "v3"}});
  victim.AddNamedCheckpointExTag("vend", false, {});
  target.DrainFrom(&victim);
  EXPECT_EQ(Describe(target), "|[t/0@t0]|[v1/0@v1][v2/0]|[v3/0@v3]");
  EXPECT_EQ(target.GetItemPara(2), target.GetItemPara(1));
  EXPECT_EQ(target.CPCount(), 4);
  ASSERT_NE(target.NotAddedCP(), nullptr);
  EXPECT_EQ(target.NotAddedCP()->Name, "vend");
  std::vector<std::string> chain;
  for (TDVCPInfo* cp = target.FirstCP(); cp; cp = cp->Next) chain.push_back(cp->Name);
  EXPECT_EQ(chain, (std::vector<std::string>{"t0", "v1", "v3"}));
  EXPECT_EQ(victim.ItemCount(), 0);
  EXPECT_EQ(victim.CPCount(), 0);
  EXPECT_EQ(victim.FirstCP(), nullptr);
}

TEST(DrainTest, TagTypesMustMatch) {
  TCustomDVData target, victim;
  victim.SetOptions(victim.GetOptions() | dvoTagsArePChars);
  Build(victim, {{"v", 0, 0}});
  try {
    target.DrainFrom(&victim);
    ADD_FAILURE();
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "Can't assign DocView to DocView - tags types mismatch");
  }
  EXPECT_EQ(victim.ItemCount(), 1);
  EXPECT_EQ(target.ItemCount(), 0);
  target.DrainFrom(nullptr);
}

class MarkerCountingData : public TCustomDVData {
 public:
  std::vector<int> added;
  int removed = 0;
  void AddMarkerInList(int itemNo) override { added.push_back(itemNo); }
  void DeleteMarkerFromList(TCustomDVItemInfo*, bool) override { ++removed; }
};

TEST(DrainTest, MarkersLeaveTheVictimsListAndJoinTheTargets) {
  MarkerCountingData target, victim;
  Build(target, {{"t", 0, 0}});
  auto marker = std::make_unique<test::RectItem>(nullptr);
  marker->StyleNo = dvsListMarker;
  victim.AddItem("", std::move(marker));
  Build(victim, {{"v", 0, dvioSameAsPrev}});
  EXPECT_EQ(victim.added, std::vector<int>{0});
  target.DrainFrom(&victim);
  EXPECT_EQ(victim.removed, 1);
  EXPECT_EQ(target.added, std::vector<int>{1});
}

TEST(DeleteUnusedStylesTest, RenumbersItemsAndReferences) {
  TDVStyle style;
  TFontInfos& texts = style.TextStyles();
  while (texts.Count() < 5) texts.Add();
  while (texts.Count() > 5) texts.Delete(texts.Count() - 1);
  for (int i = 0; i < 5; ++i) {
    texts[i].Standard = false;
    texts[i].StyleName = "s" + std::to_string(i);
  }
  texts[3].NextStyleNo = 4;  // keeps style 4 alive
  texts[0].BaseStyleNo = 3;
  TCustomDVData data;
  data.SetDVStyle(&style);
  Build(data, {{"a", 0, 0}, {"b", 3, dvioSameAsPrev}});

  data.DeleteUnusedStyles(true, false);
  ASSERT_EQ(texts.Count(), 3);
  EXPECT_EQ(texts[0].StyleName, "s0");
  EXPECT_EQ(texts[1].StyleName, "s3");
  EXPECT_EQ(texts[2].StyleName, "s4");
  EXPECT_EQ(texts[1].NextStyleNo, 2);
  EXPECT_EQ(texts[0].BaseStyleNo, 1);
  EXPECT_EQ(data.GetItemStyle(0), 0);
  EXPECT_EQ(data.GetItemStyle(1), 1);

  TDVStyle standard;
  const int count = standard.TextStyles().Count();
  TCustomDVData other;
  other.SetDVStyle(&standard);
  other.DeleteUnusedStyles(true, true);
  EXPECT_EQ(standard.TextStyles().Count(), count);
}

TEST(DeleteUnusedStylesTest, ParagraphStyles) {
  TDVStyle style;
  TParaInfos& paras = style.ParaStyles();
  while (paras.Count() < 4) paras.Add();
  for (int i = 0; i < paras.Count(); ++i) paras[i].Standard = false;
  paras[3].NextParaNo = 3;
  TCustomDVData data;
  data.SetDVStyle(&style);
  auto item = std::make_unique<TDVTextItemInfo>(nullptr);
  item->ParaNo = 3;
  data.AddItem("x", std::move(item));
  data.DeleteUnusedStyles(false, true);
  ASSERT_EQ(paras.Count(), 1);
  EXPECT_EQ(paras[0].NextParaNo, 0);
  EXPECT_EQ(data.GetItemPara(0), 0);
}

class FakeRTFReader : public TDVRTFReaderProperties {
 public:
  TDVRTFErrorCode result = rtf_ec_OK;
  TDVRTFErrorCode ReadFromFile(const std::string&, TCustomDVData& dvData) override { return Read(dvData); }
  TDVRTFErrorCode ReadFromStream(TStream&, TCustomDVData& dvData) override { return Read(dvData); }
  TDVRTFErrorCode InsertFromStreamEd(TStream&, TCustomDVData& dvData, int&) override { return Read(dvData); }

 private:
  TDVRTFErrorCode Read(TCustomDVData& dvData) {
    dvData.AddNL("loaded", 0, -1);
    dvData.AddNL(" more", 0, -1);
    return result;
  }
};

TEST(LoadRTFTest, MergesAtTheSeamAndPassesTheResult) {
  TCustomDVData data;
  EXPECT_EQ(data.LoadRTF("x.rtf"), rtf_ec_Assertion);
  EXPECT_EQ(data.ItemCount(), 0);

  FakeRTFReader reader;
  data.SetRTFProperties(&reader);
  data.AddNL("before ", 0, 0);
  EXPECT_EQ(data.LoadRTF("x.rtf"), rtf_ec_OK);
  EXPECT_EQ(Describe(data), "|[before loaded more/0]");
  reader.result = rtf_ec_BadTable;
  TMemoryStream stream;
  EXPECT_EQ(data.LoadRTFFromStream(stream), rtf_ec_BadTable);
}

TEST(CharStepTest, WholeCharacters) {
  TDVStyle style;
  style.TextStyles()[1].Charset = 134;  // GB2312: code page 936
  TCustomDVData data;
  data.SetDVStyle(&style);
  const std::string gbk = "a\xD6\xD0z";  // a, 中, z
  data.AddNL(gbk, 1, 0);
  const std::string utf16 = "a\0\x3D\xD8\x00\xDEz\0"s;  // a, U+1F600 as a pair, z
  data.AddNL(utf16, 0, 0);
  data.GetItem(1)->ItemOptions |= dvioUnicode;

  EXPECT_EQ(data.NextCharStr(gbk, 0, 1), 2);
  EXPECT_EQ(data.NextCharStr(gbk, 0, 2), 4);
  EXPECT_EQ(data.PrevCharStr(gbk, 0, 4), 2);
  EXPECT_EQ(data.PrevCharStr(gbk, 0, 2), 1);
  EXPECT_EQ(data.NextCharStr(utf16, 1, 2), 4);
  EXPECT_EQ(data.PrevCharStr(utf16, 1, 4), 2);
  EXPECT_EQ(data.PrevCharStr(utf16, 1, 1), 1);
}

TEST(DocumentServicesTest, BeepFollowsTheStyleSheet) {
  int beeps = 0;
  SetSystemBeepHandler([&beeps] { ++beeps; });
  TCustomDVData data;
  data.Beep();
  TDVStyle style;
  data.SetDVStyle(&style);
  data.Beep();
  style.UseSound = false;
  data.Beep();
  SetSystemBeepHandler(nullptr);
  EXPECT_EQ(beeps, 1);
}

TEST(DocumentServicesTest, RangeAndBiDi) {
  TDVStyle style;
  style.ParaStyles()[1].BiDiMode = dvbdRightToLeft;
  style.TextStyles()[2].BiDiMode = dvbdLeftToRight;
  TCustomDVData data;
  data.SetDVStyle(&style);
  data.SetBiDiMode(dvbdLeftToRight);
  int no = 5;
  data.AdjustInItemsRange(no);
  EXPECT_EQ(no, 0);
  data.AddNL("a", 0, 1);
  data.AddNL("b", 2, 1);
  no = -3;
  data.AdjustInItemsRange(no);
  EXPECT_EQ(no, 0);
  no = 9;
  data.AdjustInItemsRange(no);
  EXPECT_EQ(no, 1);
  EXPECT_EQ(data.GetItemBiDiMode(0), dvbdRightToLeft);
  EXPECT_EQ(data.GetItemBiDiMode(1), dvbdLeftToRight);
  EXPECT_EQ(data.GetParaBiDiMode(0), dvbdLeftToRight);
}

}  // namespace
}  // namespace quillet
