// Every primitive through Undo and Redo, and with undo switched off.
#include <gtest/gtest.h>

#include "edit_test_util.h"
#include "editing/undo/undo_records.h"
#include "engine/model/item_registry.h"
#include "engine/model/picture_item.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {
namespace {

// A text item; paraNo -1 continues the paragraph.
std::unique_ptr<TCustomDVItemInfo> Text(TDVEditDVData& data, int32_t styleNo, int32_t paraNo) {
  auto item = DocViewTextItemClass(&data);
  item->StyleNo = styleNo;
  if (paraNo < 0)
    item->SetSameAsPrev(true);
  else
    item->ParaNo = paraNo;
  if (data.GetDVStyle()->TextStyles()[styleNo].Unicode) item->ItemOptions |= dvioUnicode;
  return item;
}

std::unique_ptr<TCustomDVItemInfo> Picture(TDVEditDVData& data, int32_t w, int32_t h, bool hot = false) {
  std::unique_ptr<TDVGraphicItemInfo> item;
  if (hot)
    item = std::make_unique<TDVHotGraphicItemInfo>(&data);
  else
    item = std::make_unique<TDVGraphicItemInfo>(&data);
  item->Image = std::make_unique<TBitmap>(w, h);
  item->StyleNo = hot ? dvsHotPicture : dvsPicture;
  return item;
}

std::unique_ptr<TDVCPInfo> Checkpoint(const std::string& name) {
  auto cp = std::make_unique<TDVCPInfo>();
  cp->Name = name;
  return cp;
}

struct PrimitiveCase {
  const char* name;
  const char* fixture;
  // The items the change touches (before it) and the items it adds.
  int first, last, added;
  std::function<void(TDVEditDVData&)> call;
  const char* expected;
  // Items destroyed at once when undo is off.
  int destroyedWithoutUndo = 0;
};

bool full;  // the primitives' out-argument, not looked at here

const PrimitiveCase kPrimitives[] = {
    {"InsertItemSplitsParagraph", R"(P0 0"ab" 0"cd")", 1, 1, 1,
     [](TDVEditDVData& d) { d.Do_InsertItem(1, ItemText("x", false), Text(d, kGbk, kIndentPara), false, full); },
     R"(P0 0"ab" P1 0"x" 0"cd")"},
    {"InsertItemsBlock", R"(P0 0"a" P1 0"b")", 1, 1, 2,
     [](TDVEditDVData& d) {
       TDVEditDVData::TItemBlock list;  // last first
       list.emplace_back(ItemText("中", true), Text(d, kUni, -1));
       list.emplace_back(ItemText("c", false), Text(d, kGbk, kPlainPara));
       d.Do_InsertItems(1, std::move(list), false, full);
     },
     R"(P0 0"a" P0 0"c" 1"中" P1 0"b")"},
    {"InsertItemsIntoParagraph", R"(P0 0"a" P1 0"b" 0"e")", 2, 2, 1,
     [](TDVEditDVData& d) {
       TDVEditDVData::TItemBlock list;
       list.emplace_back(ItemText("c", false), Text(d, kGbk, kPlainPara));
       d.Do_InsertItems(2, std::move(list), false, full);
     },
     R"(P0 0"a" P1 0"b" P0 0"c" 0"e")"},
    {"DeleteItem", R"(P0 0"a" 0"b" 0"c")", 1, 1, -1, [](TDVEditDVData& d) { d.Do_DeleteItem(1, full); },
     R"(P0 0"a" 0"c")", 1},
    {"DeleteItemWithCheckpoint", R"(P0 0"a" #k 0"b")", 1, 1, -1, [](TDVEditDVData& d) { d.Do_DeleteItem(1, full); },
     R"(P0 0"a")", 1},
    {"DeleteItems", R"(P0 0"a" #cp 0"b" 0"c" P1 0"d")", 1, 2, -2,
     [](TDVEditDVData& d) { d.Do_DeleteItems(1, 2, full); }, R"(P0 0"a" P1 0"d")", 2},
    {"DeleteItemsPicture", R"(P0 0"a" pic:20x10 P1 0"d")", 1, 1, -1,
     [](TDVEditDVData& d) { d.Do_DeleteItems(1, 1, full); }, R"(P0 0"a" P1 0"d")", 1},
    {"DeleteSubstring", R"(P0 0"hello")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_DeleteSubstring(0, 2, 3); },
     R"(P0 0"ho")"},
    {"DeleteSubstringToEnd", R"(P0 1"中文字")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_DeleteSubstring(0, 2, -1); },
     R"(P0 1"中")"},
    {"DeleteSubstringDoubleByte", R"(P0 0"中文")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_DeleteSubstring(0, 3, 2); },
     R"(P0 0"中")"},
    {"InsertSubstring", R"(P0 1"ab")", 0, 0, 0,
     [](TDVEditDVData& d) { d.Do_InsertSubstring(0, 2, ItemText("中", true)); }, R"(P0 1"a中b")"},
    {"ChangeText", R"(P0 0"old" 0"x")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_ChangeText(0, "new"); },
     R"(P0 0"new" 0"x")"},
    {"ModifyItem", R"(P0 0"a" #k @3 pic:20x10)", 1, 1, 0,
     [](TDVEditDVData& d) { d.Do_ModifyItem(1, "hot", Picture(d, 30, 10, true)); },
     R"(P0 0"a" #k @3 pic:30x10)", 1},
    {"ReplaceItem", R"(P0 0"a" pic:20x10)", 1, 1, 0,
     [](TDVEditDVData& d) { d.Do_ReplaceItem(1, Picture(d, 40, 5)); }, R"(P0 0"a" pic:40x5)", 1},
    {"Para", R"(P0 0"a" 0"b" P0 0"c")", 0, 2, 0,
     [](TDVEditDVData& d) { d.Do_Para(0, 2, full, kIndentPara); }, R"(P1 0"a" 0"b" P1 0"c")"},
    {"ParaKeepsProtected", R"(P2 0"a" P0 0"b")", 0, 1, 0,
     [](TDVEditDVData& d) { d.Do_Para(0, 1, full, kIndentPara); }, R"(P2 0"a" P1 0"b")"},
    {"ParaList", R"(P0 0"a" P1 0"b")", 0, 1, 0,
     [](TDVEditDVData& d) { d.Do_ParaList(0, {kProtectedPara, kProtectedPara}, full); }, R"(P2 0"a" P2 0"b")"},
    {"StyleNo", R"(P0 0"ab")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_StyleNo(0, kProtected); }, R"(P0 2"ab")"},
    {"NewLineStartsParagraph", R"(P0 0"a" 0"b" / 0"c")", 1, 2, 0,
     [](TDVEditDVData& d) { d.Do_NewLine(1, false, full, kIndentPara); }, R"(P0 0"a" P1 0"b" / 0"c")"},
    {"NewLineJoins", R"(P0 0"a" P1 ^ 0"b" / 0"c")", 0, 2, 0,
     [](TDVEditDVData& d) { d.Do_NewLine(1, true, full, -1); }, R"(P0 0"a" 0"b" / 0"c")"},
    {"NewLineJoinsLine", R"(P0 0"a" / 0"b")", 0, 1, 0, [](TDVEditDVData& d) { d.Do_NewLine(1, true, full, -1); },
     R"(P0 0"a" 0"b")"},
    {"BR", R"(P0 0"a" P0 0"b")", 0, 1, 0, [](TDVEditDVData& d) { d.Do_BR(1, true, full); }, R"(P0 0"a" / 0"b")"},
    {"BRCleared", R"(P0 0"a" / 0"b")", 0, 1, 0, [](TDVEditDVData& d) { d.Do_BR(1, false, full); },
     R"(P0 0"a" P0 0"b")"},
    {"PageBreak", R"(P0 0"a" P0 0"b")", 1, 1, 0, [](TDVEditDVData& d) { d.Do_PageBreak(1, true); },
     R"(P0 0"a" P0 ^ 0"b")"},
    {"PageBreakOnLine", R"(P0 0"a" / 0"b")", 1, 1, 0, [](TDVEditDVData& d) { d.Do_PageBreak(1, true); },
     R"(P0 0"a" P0 ^ 0"b")"},
    {"ExtraIntProperty", R"(P0 pic:20x10)", 0, 0, 0,
     [](TDVEditDVData& d) { d.Do_ExtraIntProperty(0, dvepVShift, 5); }, R"(P0 pic:20x10)"},
    {"Tag", R"(P0 0"a")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_Tag(0, TDVTag{7, {}}, false); },
     R"(P0 @7 0"a")"},
    {"AddCP", R"(P0 0"a" 0"b")", 1, 1, 0, [](TDVEditDVData& d) { d.Do_AddCP(1, Checkpoint("x")); },
     R"(P0 0"a" #x 0"b")"},
    {"AddTrailingCP", R"(P0 0"a")", 0, 0, 0, [](TDVEditDVData& d) { d.Do_AddCP(-1, Checkpoint("end")); },
     R"(P0 0"a" #end)"},
    {"DeleteCP", R"(P0 0"a" #x 0"b")", 1, 1, 0, [](TDVEditDVData& d) { d.Do_DeleteCP(1); }, R"(P0 0"a" 0"b")"},
    {"DeleteTrailingCP", R"(P0 0"a" #end)", 0, 0, 0, [](TDVEditDVData& d) { d.Do_DeleteCP(-1); }, R"(P0 0"a")"},
    {"Concate", R"(P0 0"ab" 0"cd")", 0, 1, -1, [](TDVEditDVData& d) { d.Do_Concate(0); }, R"(P0 0"abcd")", 1},
    {"ModifyItemIntProperty", R"(P0 pic:20x10)", 0, 0, 0,
     [](TDVEditDVData& d) {
       d.Do_ModifyItemIntProperty(0, nullptr, "ImageWidth", 40, std::make_unique<TDVUndoModifyItemIntProperty>());
     },
     R"(P0 pic:20x10)"},
    {"ModifyItemIntProperties", R"(P0 pic:20x10)", 0, 0, 0,
     [](TDVEditDVData& d) {
       d.Do_ModifyItemIntProperties(0, nullptr, {"ImageWidth=40", "VShift=3", "ImageHeight=10", "Nothing=1"},
                                    std::make_unique<TDVUndoModifyItemIntProperties>());
     },
     R"(P0 pic:20x10)"},
    {"ItemModifyBracket", R"(P0 0"a" pic:20x10)", 1, 1, 0,
     [](TDVEditDVData& d) {
       d.Do_ItemModifyTerminator(1, true);
       d.Do_ModifyItemIntProperty(1, nullptr, "ImageHeight", 80, std::make_unique<TDVUndoModifyItemIntProperty>());
       d.Do_ModifyItemIntProperty(1, nullptr, "ImageWidth", 900, std::make_unique<TDVUndoModifyItemIntProperty>());
       d.Do_ItemModifyTerminator(1, false);
     },
     R"(P0 0"a" pic:20x10)"},
};

void PrintTo(const PrimitiveCase& c, std::ostream* os) { *os << c.name; }

class PrimitiveTest : public EditTest, public testing::WithParamInterface<PrimitiveCase> {};

TEST_P(PrimitiveTest, UndoAndRedoGiveBackTheBytes) {
  const PrimitiveCase& c = GetParam();
  Load(c.fixture);
  ASSERT_EQ(Doc(), c.fixture);
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    Edit(Data(), dvutMiscTyping, c.first, c.last, c.added, [&] { c.call(Data()); });
  }));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

TEST_P(PrimitiveTest, WithoutUndoChangesAndRecordsNothing) {
  const PrimitiveCase& c = GetParam();
  Load(c.fixture);
  editor->SetUndoLimit(0);
  int destroyed = 0;
  editor->OnItemAction = [&](TCustomDocView&, TDVItemAction action, TCustomDVItemInfo*, std::string&,
                             TCustomDVData*) { destroyed += action == dviaDestroying; };
  Edit(Data(), dvutMiscTyping, c.first, c.last, c.added, [&] {
    EXPECT_EQ(Data().GetUndoList(), nullptr);
    c.call(Data());
  });
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(destroyed, c.destroyedWithoutUndo);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(Data().RedoList->Count(), 0);
  EXPECT_TRUE(DrawingIsFresh(Data()));
  editor->OnItemAction = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Edit, PrimitiveTest, testing::ValuesIn(kPrimitives),
                         [](const testing::TestParamInfo<PrimitiveCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quillet::test
