// The editing services beside the primitives: a text copy of an item, the
// item-modify bracket of the editor, and records that only undo makes.
#include <gtest/gtest.h>

#include "edit_test_util.h"
#include "editing/undo/undo_records.h"
#include "engine/model/picture_item.h"

namespace quillet::test {
namespace {

TEST_F(EditTest, TextCopyKeepsStyleFlagsAndTagButNoCheckpoint) {
  Load(R"(P1 0"a" #k @4 1"中")");
  std::unique_ptr<TCustomDVItemInfo> copy = DV_CreateTextCopy(*Data().GetItem(1), Data());
  EXPECT_EQ(copy->StyleNo, kUni);
  EXPECT_EQ(copy->ParaNo, kIndentPara);
  EXPECT_TRUE(copy->SameAsPrev());
  EXPECT_TRUE(copy->IsUnicode());
  EXPECT_EQ(copy->Tag.Int, 4);
  EXPECT_EQ(copy->Checkpoint, nullptr);
}

struct ItemModifyCase {
  const char* name;
  int32_t imageWidth;  // the picture's new width
  bool wholePass;
};

void PrintTo(const ItemModifyCase& c, std::ostream* os) { *os << c.name; }

const ItemModifyCase kItemModifies[] = {
    {"StaysNarrow", 60, false},
    {"WidestWithinTheWindow", 300, false},
    {"WiderThanTheWindow", 500, true},
};

class ItemModifyTest : public EditTest, public testing::WithParamInterface<ItemModifyCase> {};

// Steps of one item's change, reformatted once; wholly only when the item
// can change the width the document is laid out at.
TEST_P(ItemModifyTest, ReformatsOnceAtTheEnd) {
  const ItemModifyCase& c = GetParam();
  Load(R"(P0 0"a" pic:40x10 P0 pic:150x10)");
  const int passes = Data().WholePasses;
  int32_t width = 0;
  Data().BeginItemModify(1, width);
  Data().GetItem(1)->SetIntPropertyByName("ImageWidth", c.imageWidth);
  Data().GetItem(1)->SetIntPropertyByName("ImageHeight", 30);
  Data().EndItemModify(1, width);
  EXPECT_EQ(Data().WholePasses > passes, c.wholePass);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

INSTANTIATE_TEST_SUITE_P(Edit, ItemModifyTest, testing::ValuesIn(kItemModifies),
                         [](const testing::TestParamInfo<ItemModifyCase>& info) { return info.param.name; });

// A one-style record sets a range through the protection rules; its
// inverse records each old style.
TEST_F(EditTest, OneStyleParaRecordUndoes) {
  Load(R"(P0 0"a" P2 0"b" P1 0"c")");
  {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutPara, true);
    auto info = std::make_unique<TDVUndoParaInfo>();
    info->ItemNo = 0;
    info->Count = 3;
    info->ParaNo = kIndentPara;
    Data().UndoList->AddInfo(std::move(info));
  }
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P1 0"a" P2 0"b" P1 0"c")");
  EXPECT_TRUE(DrawingIsFresh(Data()));
  Data().RedoList->Redo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"a" P2 0"b" P1 0"c")");
}

// A whole group handed to another list records there.
TEST_F(EditTest, AddInfosMovesAGroupBetweenLists) {
  Load(R"(P0 0"a")");
  Edit(Data(), dvutTag, 0, 0, 0, [&] { Data().Do_Tag(0, TDVTag{3, {}}, false); });
  std::unique_ptr<TDVUndoInfos> group = Data().UndoList->DeleteAsPointer(0);
  Data().RedoList->AddInfos(std::move(group));
  EXPECT_EQ(Data().RedoList->Top()->Items(0)->FUndoList, Data().RedoList.get());
  Data().RedoList->Redo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"a")");
}

// A record that holds a whole undo list of its own is undone a group at a
// time; its group stays until that list is used up.
TEST_F(EditTest, CompositeRecordUndoesItsListAGroupAtATime) {
  Load(R"(P0 0"a")");
  auto change = [&](const char* text) {
    Edit(Data(), dvutMiscTyping, 0, 0, 0, [&] { Data().Do_ChangeText(0, ItemText(text, false)); });
  };
  change("b");
  change("c");
  auto composite = std::make_unique<TDVCompositeUndo>(&Data());
  while (Data().UndoList->Count() > 0) composite->UndoList->AddInfos(Data().UndoList->DeleteAsPointer(0));
  {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutModifyItem, true);
    Data().UndoList->AddInfo(std::move(composite));
  }
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"b")");
  ASSERT_EQ(Data().UndoList->Count(), 1);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"a")");
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

}  // namespace
}  // namespace quillet::test
