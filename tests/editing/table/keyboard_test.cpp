// Tables from the keyboard: Tab and the arrows moving the cell editor
// between cells and out of the table, the caret entering a table, editing
// methods and keys of the outer editor acting in the innermost open cell,
// and Tab focus among the cells' links.
#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TableKeyboardTest : public TableEditTest {
 protected:
  // "前", a 2 x 2 table of 60-pixel columns holding "a".."d", then "后".
  TDVTableItemInfo& Place() {
    auto t = MakeTable(2, 2);
    t->CellHSpacing = 8;
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) {
        t->GetCells(r, c)->BestWidth = 60;
        AddCellText(*t->GetCells(r, c), std::string(1, static_cast<char>('a' + r * 2 + c)));
      }
    TDVTableItemInfo& table = *t;
    Data().Clear();
    Data().AddNL(ItemText("前", false), kGbk, 0);
    t->ParaNo = 0;
    Data().AddItem("", std::move(t));
    Data().AddNL(ItemText("后", false), kGbk, 0);
    Data().Format();
    return table;
  }
  static TDVTableInplaceEdit* Edited(const TDVTableItemInfo& t) {
    int row = -1, col = -1;
    return t.GetEditedCell(row, col);
  }
  static std::pair<int, int> EditedCell(const TDVTableItemInfo& t) {
    int row = -1, col = -1;
    t.GetEditedCell(row, col);
    return {row, col};
  }
  // Posted moves and undos run.
  static void Settle() { QApplication::processEvents(); }
};

TEST_F(TableKeyboardTest, KeysMoveTheCellEditorAndLeaveTheTable) {
  struct Case {
    const char* name;
    std::pair<int, int> from;
    bool caretAtEnd;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::pair<int, int> to;  // (-1, -1): the editor closed
    int32_t outerOffs;       // then the caret before (0) or after (1) the table
  } cases[] = {
      {"Tab", {0, 0}, false, Qt::Key_Tab, Qt::NoModifier, {0, 1}, -1},
      {"Tab wraps to the next row", {0, 1}, false, Qt::Key_Tab, Qt::NoModifier, {1, 0}, -1},
      {"Tab in the last cell", {1, 1}, false, Qt::Key_Tab, Qt::NoModifier, {1, 1}, -1},
      {"Shift+Tab back a row", {1, 0}, false, Qt::Key_Backtab, Qt::ShiftModifier, {0, 1}, -1},
      {"Shift+Tab in the first cell", {0, 0}, false, Qt::Key_Backtab, Qt::ShiftModifier, {0, 0}, -1},
      {"Right at the cell's end", {0, 0}, true, Qt::Key_Right, Qt::NoModifier, {0, 1}, -1},
      {"Left at the cell's start", {0, 1}, false, Qt::Key_Left, Qt::NoModifier, {0, 0}, -1},
      {"Down", {0, 1}, false, Qt::Key_Down, Qt::NoModifier, {1, 1}, -1},
      {"Up", {1, 0}, false, Qt::Key_Up, Qt::NoModifier, {0, 0}, -1},
      {"Left out of the first column", {1, 0}, false, Qt::Key_Left, Qt::NoModifier, {-1, -1}, 0},
      {"Up out of the first row", {0, 1}, false, Qt::Key_Up, Qt::NoModifier, {-1, -1}, 0},
      {"Right out of the last column", {0, 1}, true, Qt::Key_Right, Qt::NoModifier, {-1, -1}, 1},
      {"Down out of the last row", {1, 0}, false, Qt::Key_Down, Qt::NoModifier, {-1, -1}, 1},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place();
    t.CreateInplace(1, c.from.first, c.from.second, !c.caretAtEnd, c.caretAtEnd, false);
    ASSERT_NE(Edited(t), nullptr) << c.name;
    QTest::keyClick(Edited(t)->Widget(), c.key, c.modifiers);
    Settle();
    EXPECT_EQ(EditedCell(t), c.to) << c.name;
    if (c.outerOffs >= 0) {
      EXPECT_EQ(Data().GetCurItemNo(), 1) << c.name;
      EXPECT_EQ(Data().GetOffsetInCurItem(), c.outerOffs) << c.name;
      EXPECT_EQ(editor->GetInplaceEditor(), nullptr) << c.name;
    } else if (c.to != c.from) {
      // Going on the caret starts the cell, going back it ends it.
      const bool back = c.key == Qt::Key_Backtab || c.key == Qt::Key_Left || c.key == Qt::Key_Up;
      EXPECT_EQ(Edited(t)->EditData().GetOffsetInCurItem(), back ? 2 : 1) << c.name;
    }
    // Moving types nothing.
    t.DestroyInplace();
    for (int r = 0; r < 2; ++r)
      for (int col = 0; col < 2; ++col)
        EXPECT_EQ(DescribeDoc(*t.GetCells(r, col)), "P0 0\"" + std::string(1, static_cast<char>('a' + r * 2 + col)) + "\"")
            << c.name;
  }
}

TEST_F(TableKeyboardTest, CtrlTabTypesATabInTheCell) {
  TDVTableItemInfo& t = Place();
  t.CreateInplace(1, 0, 0, false, true, false);
  QTest::keyClick(Edited(t)->Widget(), Qt::Key_Tab, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(EditedCell(t), std::make_pair(0, 0));
  const std::string spaces(static_cast<size_t>(std::max<int16_t>(sheet.SpacesInTab, 1)), ' ');
  EXPECT_EQ(DescribeDoc(Edited(t)->EditData()), "P0 0\"a" + spaces + "\"");
}

TEST_F(TableKeyboardTest, TheCaretEntersTheTableFromEachSide) {
  struct Case {
    const char* name;
    TDVEnterDirection from;
    int column;       // x: the middle of this column, or
    bool gapAfter;    // the gap after it, nearer to it
    std::pair<int, int> cell;
    int32_t offs;
  } cases[] = {
      {"from the left", dvedLeft, 0, false, {0, 0}, 1},
      {"from the right", dvedRight, 0, false, {1, 1}, 2},
      {"from above", dvedTop, 1, false, {0, 1}, 1},
      {"from below", dvedBottom, 0, false, {1, 0}, 2},
      {"from above into a gap", dvedTop, 0, true, {0, 0}, 1},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place();
    int32_t left = 0, top = 0;
    ASSERT_TRUE(Data().GetItemCoords(1, left, top));
    const TDVTableCellData& cell = *t.GetCells(0, c.column);
    const int32_t x = left + (c.gapAfter ? cell.Left + cell.Width + 2 : cell.Left + cell.Width / 2);
    EXPECT_TRUE(t.EnterItem(c.from, x)) << c.name;
    EXPECT_EQ(EditedCell(t), c.cell) << c.name;
    ASSERT_NE(Edited(t), nullptr) << c.name;
    EXPECT_EQ(Edited(t)->EditData().GetOffsetInCurItem(), c.offs) << c.name;
  }
  TDVTableItemInfo& t = Place();
  t.Options &= ~dvtoEditing;
  EXPECT_FALSE(t.EnterItem(dvedLeft, 0));
  EXPECT_EQ(Edited(t), nullptr);
}

TEST_F(TableKeyboardTest, ArrowsOfTheOuterEditorStepIntoTheTable) {
  struct Case {
    const char* name;
    int itemNo;
    int32_t offs;
    Qt::Key key;
    std::pair<int, int> cell;
  } cases[] = {
      {"Right before the table", 1, 0, Qt::Key_Right, {0, 0}},
      {"Left after the table", 1, 1, Qt::Key_Left, {1, 1}},
      {"Down from the line above", 0, 1, Qt::Key_Down, {0, 0}},
      {"Up from the line below", 2, 1, Qt::Key_Up, {1, 0}},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place();
    Data().SetSelectionBounds(c.itemNo, c.offs, c.itemNo, c.offs);
    QTest::keyClick(editor->Widget(), c.key);
    Settle();
    EXPECT_EQ(EditedCell(t), c.cell) << c.name;
  }
  // On from a cell the arrows go on through the table.
  TDVTableItemInfo& t = Place();
  Data().SetSelectionBounds(0, 1, 0, 1);
  QTest::keyClick(editor->Widget(), Qt::Key_Down);
  Settle();
  ASSERT_NE(Edited(t), nullptr);
  QTest::keyClick(Edited(t)->Widget(), Qt::Key_Down);
  Settle();
  EXPECT_EQ(EditedCell(t), std::make_pair(1, 0));
}

// Editing methods and keys of the outer editor act in the innermost open
// cell editor, a table inside a cell included.
TEST_F(TableKeyboardTest, TheOuterEditorActsInTheInnermostCell) {
  TDVTableItemInfo& t = Place();
  auto nestedTable = MakeTable(1, 2);
  AddCellText(*nestedTable->GetCells(0, 0), "n");
  AddCellText(*nestedTable->GetCells(0, 1), "m");
  TDVTableItemInfo& nested = *nestedTable;
  nestedTable->ParaNo = 0;
  t.GetCells(1, 1)->AddItem("", std::move(nestedTable));
  Data().Format();

  t.CreateInplace(1, 1, 1, false, false, false);
  TDVTableInplaceEdit* cellEditor = Edited(t);
  ASSERT_NE(cellEditor, nullptr);
  EXPECT_EQ(editor->GetTopLevelEditor(), cellEditor);
  // The nested table now stands in the cell editor's document.
  EXPECT_EQ(nested.EditData(), &cellEditor->EditData());
  nested.CreateInplace(1, 0, 1, false, true, false);
  TDVTableInplaceEdit* nestedEditor = Edited(nested);
  ASSERT_NE(nestedEditor, nullptr);
  EXPECT_EQ(editor->GetTopLevelEditor(), nestedEditor);

  EXPECT_TRUE(editor->InsertText("X"));
  QTest::keyClicks(editor->Widget(), "Y");
  EXPECT_EQ(DescribeDoc(nestedEditor->EditData()), "P0 0\"mXY\"");
  EXPECT_EQ(editor->GetCurrentItem(), nestedEditor->EditData().GetItem(0));
  // Tab in the nested cell's last cell stays; Right from its end leaves the
  // nested table into the outer cell.
  QTest::keyClick(nestedEditor->Widget(), Qt::Key_Right);
  Settle();
  EXPECT_EQ(Edited(nested), nullptr);
  EXPECT_EQ(editor->GetTopLevelEditor(), cellEditor);
  EXPECT_EQ(cellEditor->EditData().GetCurItemNo(), 1);
  EXPECT_EQ(cellEditor->EditData().GetOffsetInCurItem(), 1);

  // Closing the outer cell with the nested one open puts everything back.
  nested.CreateInplace(1, 0, 0, false, true, false);
  editor->InsertText("Z");
  t.DestroyInplace();
  EXPECT_EQ(editor->GetInplaceEditor(), nullptr);
  EXPECT_EQ(DescribeDoc(*nested.GetCells(0, 0)), "P0 0\"nZ\"");
  EXPECT_EQ(DescribeDoc(*nested.GetCells(0, 1)), "P0 0\"mXY\"");
  EXPECT_EQ(nested.EditData(), nullptr);
  // The whole nest's typing is one undo step of the document.
  editor->Undo();
  t.DestroyInplace();
  EXPECT_EQ(DescribeDoc(*nested.GetCells(0, 1)), "P0 0\"m\"");
  EXPECT_EQ(DescribeDoc(*nested.GetCells(0, 0)), "P0 0\"n\"");
}

TEST_F(TableKeyboardTest, UndoInACellFallsThroughToTheDocument) {
  TDVTableItemInfo& t = Place();
  Data().SetSelectionBounds(2, 2, 2, 2);
  const std::string before = DescribeDoc(Data());
  QTest::keyClicks(editor->Widget(), "Q");
  ASSERT_NE(DescribeDoc(Data()), before);
  t.CreateInplace(1, 0, 0, false, true, false);
  QTest::keyClicks(Edited(t)->Widget(), "W");
  UndoKey(Edited(t)->Widget());
  Settle();
  // The cell's own typing first, the cell staying open.
  ASSERT_NE(Edited(t), nullptr);
  EXPECT_EQ(DescribeDoc(Edited(t)->EditData()), "P0 0\"a\"");
  // Nothing left in the cell: the document's last step, after the key.
  UndoKey(Edited(t)->Widget());
  Settle();
  EXPECT_EQ(Edited(t), nullptr);
  EXPECT_EQ(DescribeDoc(Data()), before);
  // Read-only, nothing is undone and nothing changes the flag.
  editor->Redo();
  t.CreateInplace(1, 0, 0, false, true, false);
  editor->ReadOnly = true;
  const int undoCount = Data().UndoList->Count();
  UndoKey(Edited(t)->Widget());
  Settle();
  EXPECT_EQ(Data().UndoList->Count(), undoCount);
  EXPECT_TRUE(editor->ReadOnly);
}

TEST_F(TableKeyboardTest, ACellTallerThanTheLimitGetsALimitedEditor) {
  TDVTableItemInfo& t = Place();
  t.GetCells(0, 0)->BestHeight = 3 * TDVTableItemInfo::kMaxInplaceHeight;
  t.MarkChanged();
  Data().Format();
  ASSERT_GT(t.GetCells(0, 0)->Height, TDVTableItemInfo::kMaxInplaceHeight);
  t.CreateInplace(1, 0, 0, false, false, false);
  ASSERT_NE(Edited(t), nullptr);
  EXPECT_EQ(Edited(t)->Height(), TDVTableItemInfo::kMaxInplaceHeight);
  t.CreateInplace(1, 1, 1, false, false, false);
  EXPECT_EQ(Edited(t)->Height(), t.GetCells(1, 1)->Height);
}

// Tab in a viewer visits the cells' links in reading order, then leaves.
TEST_F(TableKeyboardTest, TabVisitsTheLinksOfTheCells) {
  const int32_t link = sheet.TextStyles().Count();
  sheet.TextStyles().Add().Assign(sheet.TextStyles()[kGbk]);
  sheet.TextStyles()[link].Jump = true;
  auto table = MakeTable(2, 2);
  table->GetCells(0, 1)->AddNL(ItemText("l1", false), link, 0);
  AddCellText(*table->GetCells(1, 0), "plain");
  table->GetCells(1, 1)->AddNL(ItemText("l2", false), link, 0);
  table->GetCells(1, 1)->AddNL(ItemText("l3", false), link, 0);
  TDVTableItemInfo& t = PlaceInViewer(std::move(table));
  auto& data = static_cast<TDVControlData&>(viewer->DVData());
  std::vector<std::pair<const TCustomDVData*, int>> visited;
  for (int step = 0; step < 4; ++step) {
    data.DoTabNavigation(false, TDVFocusOrigin{true, step == 0, false, nullptr});
    visited.emplace_back(data.TopLevelFocusedDVData, data.TopLevelFocusedItemNo);
  }
  const std::vector<std::pair<const TCustomDVData*, int>> expected = {
      {t.GetCells(0, 1), 0}, {t.GetCells(1, 1), 0}, {t.GetCells(1, 1), 1}, {nullptr, -1}};
  EXPECT_EQ(std::vector(visited.begin(), visited.begin() + 3), std::vector(expected.begin(), expected.begin() + 3));
  // Past the last link the table gives the focus up (the walk may start again).
  EXPECT_TRUE(visited[3] == expected[3] || visited[3] == expected[0]);
  // The links' areas stand over their cells in the document.
  int32_t jumpNo = 0;
  TDVJumpList jumps;
  t.BuildJumps(100, 50, jumpNo, jumps);
  ASSERT_EQ(jumps.size(), 3u);
  EXPECT_EQ(jumpNo, 3);
  const TDVTableCellData& c01 = *t.GetCells(0, 1);
  EXPECT_GE(jumps[0]->Left, 100 + c01.Left);
  EXPECT_LT(jumps[0]->Left, 100 + c01.Left + c01.Width);
  EXPECT_GE(jumps[0]->Top, 50 + c01.Top);
  EXPECT_LT(jumps[0]->Top, 50 + c01.Top + c01.Height);
  EXPECT_GT(jumps[2]->Top, jumps[1]->Top);
}

}  // namespace
}  // namespace quillet::test
