// The table item: defaults, registration, and property changes before
// insertion (written directly) and in an editor (one undoable step).
#include <gtest/gtest.h>

#include "editing/table/table_test_util.h"
#include "engine/base/doc_view_error.h"
#include "engine/model/item_registry.h"

namespace quillet::test {
namespace {

using TableItemTest = TableEditTest;

TEST_F(TableItemTest, CreateExDefaults) {
  auto t = MakeTable(2, 3);
  EXPECT_EQ(t->StyleNo, -60);
  ASSERT_EQ(t->Rows.Count(), 2);
  EXPECT_EQ(t->Rows.GetColCount(), 3);
  EXPECT_EQ(t->Options, 31);
  EXPECT_EQ(t->PrintOptions, 3);
  EXPECT_EQ(t->CellPadding, 1);
  EXPECT_EQ(t->CellHSpacing, 2);
  EXPECT_EQ(t->CellVSpacing, 2);
  EXPECT_EQ(t->BorderHSpacing, 2);
  EXPECT_EQ(t->BorderVSpacing, 2);
  EXPECT_EQ(t->BorderWidth, 0);
  EXPECT_EQ(t->CellBorderWidth, 0);
  EXPECT_EQ(t->Color, clWindow);
  EXPECT_EQ(t->BorderStyle, dvtbRaised);
  EXPECT_EQ(t->CellBorderStyle, dvtbLowered);
  EXPECT_EQ(t->TextRowSeparator, "\r\n");
  EXPECT_EQ(t->TextColSeparator, "\r\n");
  EXPECT_FALSE(t->Inserted());
  const TDVTableCellData* cell = t->GetCells(1, 2);
  EXPECT_EQ(cell->Color, clNone);
  EXPECT_EQ(cell->VAlign, dvcVDefault);
  EXPECT_EQ(cell->RowSpan, 1);
  EXPECT_EQ(cell->ColSpan, 1);
  EXPECT_TRUE(cell->VisibleBorders.IsAllEqual(true));
  EXPECT_EQ(cell->GetTable(), t.get());
}

TEST_F(TableItemTest, RegisteredForItsStyleNumber) {
  auto item = CreateDocViewItem(-60, &Data());
  ASSERT_NE(item, nullptr);
  EXPECT_NE(dynamic_cast<TDVTableItemInfo*>(item.get()), nullptr);
  EXPECT_TRUE(item->GetBoolValue(dvbpFullWidth));
  EXPECT_FALSE(item->GetBoolValueEx(dvbpPrintToBMP, &sheet));
}

// Every published integer property with a value other than its default.
const std::pair<const char*, int32_t> kNewValues[] = {
    {"BorderColor", 0xFF},        {"BorderHSpacing", 5},        {"BorderLightColor", 0xFF00},
    {"BorderStyle", dvtbColor},   {"BorderVSpacing", 6},        {"BorderWidth", 3},
    {"CellBorderColor", 0xFF0000}, {"CellBorderLightColor", 0x10}, {"CellBorderWidth", 2},
    {"CellHSpacing", 7},          {"CellPadding", 4},           {"CellVSpacing", 8},
    {"Color", 0x123456},          {"HOutermostRule", 1},        {"HRuleColor", 0x20},
    {"HRuleWidth", 2},            {"VOutermostRule", 1},        {"VRuleColor", 0x30},
    {"VRuleWidth", 1},            {"CellBorderStyle", dvtbRaisedColor}, {"BestWidth", 250},
};

TEST_F(TableItemTest, PropertiesBeforeInsertionAreWrittenWithoutUndo) {
  for (const auto& [name, value] : kNewValues) {
    auto t = MakeTable(1, 1);
    t->SetProperty(name, value);
    int32_t now = 0;
    ASSERT_TRUE(t->GetIntPropertyByName(name, now)) << name;
    EXPECT_EQ(now, value) << name;
    EXPECT_TRUE(t->Changed());
    EXPECT_FALSE(t->Inserted());
  }
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(TableItemTest, PropertiesInAnEditorAreOneUndoableStep) {
  for (const auto& [name, value] : kNewValues) {
    TDVTableItemInfo& t = PlaceInEditor(MakeTable(2, 2));
    Data().UndoList->Clear();
    editor->Modified = false;
    const std::string before = DumpTable(t);
    t.SetProperty(name, value);
    const std::string after = DumpTable(t);
    EXPECT_NE(after, before) << name;
    ASSERT_EQ(Data().UndoList->Count(), 1) << name;
    EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutModifyItem);
    EXPECT_TRUE(editor->Modified);
    EXPECT_TRUE(t.Inserted()) << name;
    Data().UndoList->Undo(Data());
    EXPECT_EQ(DumpTable(t), before) << name;
    EXPECT_TRUE(t.Inserted());
    Data().RedoList->Redo(Data());
    EXPECT_EQ(DumpTable(t), after) << name;
    EXPECT_TRUE(DrawingIsFresh(Data())) << name;
  }
}

TEST_F(TableItemTest, TableWidthInAnEditorGrowsTheLayoutAndIsUndone) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 2));
  const int32_t width = t.GetWidth();
  t.SetProperty("BestWidth", 120);
  EXPECT_EQ(t.GetWidth(), 120);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(t.GetWidth(), width);
}

TEST_F(TableItemTest, CellPropertiesInAnEditor) {
  const std::pair<const char*, int32_t> cases[] = {
      {"BestHeight", 40}, {"BestWidth", -30}, {"Color", 0xFF}, {"BorderColor", 0xFF00},
      {"BorderLightColor", 0x1}, {"VAlign", dvcBottom},
  };
  for (const auto& [name, value] : cases) {
    TDVTableItemInfo& t = PlaceInEditor(MakeTable(2, 2));
    Data().UndoList->Clear();
    const std::string before = DumpTable(t);
    t.SetCellProperty(name, value, 1, 0);
    int32_t now = 0;
    t.GetCells(1, 0)->GetIntPropertyByName(name, now);
    EXPECT_EQ(now, value) << name;
    ASSERT_EQ(Data().UndoList->Count(), 1) << name;
    Data().UndoList->Undo(Data());
    EXPECT_EQ(DumpTable(t), before) << name;
  }
}

TEST_F(TableItemTest, VisibleBordersRecordOnlyAChange) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 2));
  Data().UndoList->Clear();
  t.SetCellVisibleBorders(TDVBooleanRect(true), 0, 1);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  TDVBooleanRect sides;
  sides.SetValues(false, true, true, false);
  t.SetCellVisibleBorders(sides, 0, 1);
  EXPECT_EQ(t.GetCells(0, 1)->VisibleBorders, sides);
  ASSERT_EQ(Data().UndoList->Count(), 1);
  Data().UndoList->Undo(Data());
  EXPECT_TRUE(t.GetCells(0, 1)->VisibleBorders.IsAllEqual(true));
}

TEST_F(TableItemTest, RowsVAlignIsOneStepOfTheRowsThatChange) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(3, 1));
  t.Rows[1]->VAlign = dvcMiddle;
  Data().UndoList->Clear();
  t.SetRowsVAlign({1}, dvcMiddle);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  t.SetRowsVAlign({0, 1, 2}, dvcBottom);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(t.Rows[r]->VAlign, dvcBottom) << r;
  ASSERT_EQ(Data().UndoList->Count(), 1);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(t.Rows[0]->VAlign, dvcTop);
  EXPECT_EQ(t.Rows[1]->VAlign, dvcMiddle);
  EXPECT_EQ(t.Rows[2]->VAlign, dvcTop);
  Data().RedoList->Redo(Data());
  for (int r = 0; r < 3; ++r) EXPECT_EQ(t.Rows[r]->VAlign, dvcBottom) << r;
}

TEST_F(TableItemTest, AssignCellAttributesIsOneStep) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 2));
  Data().UndoList->Clear();
  TDVTableCellData source(nullptr);
  source.Color = 0xFF;
  source.BorderColor = 0xFF00;
  source.VAlign = dvcBottom;
  source.VisibleBorders.SetValues(true, false, true, false);
  source.BestWidth = 90;
  source.BestHeight = 31;
  const std::string before = DumpTable(t);
  t.AssignCellAttributes(0, 0, source, true, 2, 3);
  const TDVTableCellData* cell = t.GetCells(0, 0);
  EXPECT_EQ(cell->Color, 0xFF);
  EXPECT_EQ(cell->BorderColor, 0xFF00);
  EXPECT_EQ(cell->VAlign, dvcBottom);
  EXPECT_EQ(cell->VisibleBorders, source.VisibleBorders);
  EXPECT_EQ(cell->BestWidth, 30);
  EXPECT_EQ(cell->BestHeight, 15);
  ASSERT_EQ(Data().UndoList->Count(), 1);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(DumpTable(t), before);
  EXPECT_THROW(t.AssignCellAttributes(0, 0, source, true, 0, 1), EDocViewError);
}

TEST_F(TableItemTest, BadCallsRaiseAndChangeNothing) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 2));
  Data().UndoList->Clear();
  editor->Modified = false;
  const std::string before = DumpTable(t);
  EXPECT_THROW(t.SetProperty("Nonsense", 1), EDocViewError);
  EXPECT_THROW(t.SetProperty("CellPadding", -1), EDocViewError);
  EXPECT_THROW(t.SetProperty("BorderStyle", 9), EDocViewError);
  EXPECT_THROW(t.SetCellProperty("VAlign", 7, 0, 0), EDocViewError);
  EXPECT_THROW(t.SetCellProperty("Color", 1, 3, 0), EDocViewError);
  EXPECT_THROW(t.SetRowsVAlign({0, 1}, dvcMiddle), EDocViewError);
  EXPECT_THROW(t.SetRowsVAlign({0}, static_cast<TDVCellVAlign>(7)), EDocViewError);
  EXPECT_EQ(DumpTable(t), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_FALSE(editor->Modified);
  EXPECT_TRUE(t.Inserted());
}

TEST_F(TableItemTest, InsertedFlagComesBackWhenTheChangeEventThrows) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 1));
  editor->OnChange = [](TCustomDocView&) { throw EDocViewError("refused by the host"); };
  EXPECT_THROW(t.SetProperty("BorderWidth", 2), EDocViewError);
  EXPECT_TRUE(t.Inserted());
}

TEST_F(TableItemTest, ReadOnlyEditorRefusesWithoutRaising) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 1));
  Data().UndoList->Clear();
  Data().FCaptureMouseItem = &t;  // an item holding the mouse: changes are refused
  t.SetProperty("BorderWidth", 2);
  Data().FCaptureMouseItem = nullptr;
  EXPECT_EQ(t.BorderWidth, 0);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(beeps, 1);
}

TEST_F(TableItemTest, ViewerTableIsNotInAnEditor) {
  TDVTableItemInfo& t = PlaceInViewer(MakeTable(1, 1));
  EXPECT_TRUE(t.Inserted());
  EXPECT_FALSE(t.IsInEditor());
  t.SetProperty("BorderWidth", 2);
  EXPECT_EQ(t.BorderWidth, 2);
  EXPECT_TRUE(t.Changed());
}

}  // namespace
}  // namespace quillet::test
