// The table commands on a real editor offscreen: each grid change is one
// undo step that gives back the document's bytes, deleting every row or
// column deletes the table, the row count is asked only below the last row,
// split and vertical-alignment states follow the selection, the commands
// find a nested table through the open cell editors, and a step that raises
// still leaves the table laid out.
#include "commands/actions/table_actions.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "../../editing/table/table_test_util.h"
#include "../dialogs/item_dialog_test_support.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/integer_dialog.h"
#include "commands/dialogs/item_prop_dialog.h"
#include "commands/dialogs/split_dialog.h"
#include "editing/table/inplace_editor.h"

namespace quillet::test {
namespace {

// A rectangle of cells: top row, left column, rows, columns.
using Rect = std::array<int, 4>;

class TableActions : public TableEditTest {
 protected:
  // A table of cells named a, b, c ... row by row, the rectangles merged,
  // alone in the editor (or between paragraphs "x" and "y"), nothing to
  // undo and not modified.
  TDVTableItemInfo& Place(int rows, int cols, const std::vector<Rect>& merges = {}, bool between = false) {
    auto t = MakeTable(rows, cols);
    char name = 'a';
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c, ++name) AddCellText(*t->GetCells(r, c), std::string(1, name));
    for (const Rect& m : merges) EXPECT_TRUE(t->Rows.MergeCellsPlain(m[0], m[1], m[2], m[3], true, false));
    TDVTableItemInfo* placed = t.get();
    if (between) {
      Data().Clear();
      Data().AddNL(ItemText("x", false), kGbk, 0);
      t->ParaNo = 0;
      Data().AddItem("", std::move(t));
      Data().AddNL(ItemText("y", false), kGbk, 0);
      Data().Format();
    } else {
      PlaceInEditor(std::move(t));
    }
    Data().UndoList->Clear();
    editor->Modified = false;
    return *placed;
  }
  static void Select(TDVTableItemInfo& t, const Rect& r) { t.Select(r[0], r[1], r[2] - 1, r[3] - 1); }
  static void Edit(TDVTableItemInfo& t, int row, int col) {
    t.CreateInplace(t.GetMyItemNo(), row, col, false, true, true);
  }
  static TDVTableInplaceEdit* Edited(const TDVTableItemInfo& t) {
    int row = -1, col = -1;
    return t.GetEditedCell(row, col);
  }
  void Run(TdvAction& action) {
    action.SetControl(editor.get());
    action.ExecuteNow();
  }
  bool Enabled(TdvAction& action) {
    action.SetControl(editor.get());
    action.UpdateNow();
    return action.isEnabled();
  }
};

using MakeAction = std::function<std::unique_ptr<TdvActionTableCell>()>;
template <class A>
MakeAction Make() {
  return [] { return std::make_unique<A>(); };
}

TEST_F(TableActions, GridCommandsChangeTheTableAsOneUndoStep) {
  struct Case {
    const char* name;
    MakeAction make;
    Rect selection;
    std::string grid;
  } cases[] = {
      {"insert row above", Make<TdvActionTableInsertRowsAbove>(), {1, 1, 1, 1}, "a b c | _ _ _ | d e f | g h i"},
      {"insert row below, not the last", Make<TdvActionTableInsertRowsBelow>(), {0, 0, 1, 1},
       "a b c | _ _ _ | d e f | g h i"},
      {"insert column left", Make<TdvActionTableInsertColLeft>(), {0, 1, 1, 1}, "a _ b c | d _ e f | g _ h i"},
      {"insert column right", Make<TdvActionTableInsertColRight>(), {2, 2, 1, 1}, "a b c _ | d e f _ | g h i _"},
      {"delete two rows", Make<TdvActionTableDeleteRows>(), {0, 1, 2, 1}, "g h i"},
      {"delete two columns", Make<TdvActionTableDeleteCols>(), {1, 0, 1, 2}, "c | f | i"},
      {"merge a block", Make<TdvActionTableMergeCells>(), {0, 0, 2, 2}, "abde:2x2 - c | - - f | g h i"},
      // The merged rows leave a row without cells of its own, which goes.
      {"merge two whole rows", Make<TdvActionTableMergeCells>(), {0, 0, 2, 3}, "abcdef:1x3 - - | g h i"},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place(3, 3);
    Select(t, c.selection);
    std::unique_ptr<TdvActionTableCell> action = c.make();
    TScopedModalRunner runner(NoDialog());
    EXPECT_TRUE(Enabled(*action)) << c.name;
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(*action); })) << c.name;
    EXPECT_EQ(Grid(t), c.grid) << c.name;
    EXPECT_EQ(Data().UndoList->Count(), 1) << c.name;
    EXPECT_TRUE(editor->Modified) << c.name;
  }
}

TEST_F(TableActions, TheCellBeingEditedIsTheSelection) {
  // Its editor closes before the grid changes, the cell selected; the
  // change undoes as one step.
  struct Case {
    const char* name;
    MakeAction make;
    std::string grid;
  } cases[] = {
      {"insert row above", Make<TdvActionTableInsertRowsAbove>(), "a b | _ _ | c d"},
      {"insert column right", Make<TdvActionTableInsertColRight>(), "a b _ | c d _"},
      {"delete rows", Make<TdvActionTableDeleteRows>(), "a b"},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place(2, 2);
    Edit(t, 1, 1);
    ASSERT_NE(Edited(t), nullptr);
    std::unique_ptr<TdvActionTableCell> action = c.make();
    EXPECT_TRUE(Enabled(*action)) << c.name;
    Run(*action);
    EXPECT_EQ(Edited(t), nullptr) << c.name;
    EXPECT_EQ(Grid(t), c.grid) << c.name;
    EXPECT_EQ(Data().UndoList->Count(), 1) << c.name;
    editor->Undo();
    EXPECT_EQ(Grid(t), "a b | c d") << c.name;
  }
}

TEST_F(TableActions, DeletingEveryRowOrColumnDeletesTheTable) {
  struct Case {
    const char* name;
    MakeAction make;
    Rect selection;  // rows 0: the caret in cell (0, 0) instead
    bool undo;
  } cases[] = {
      {"all rows", Make<TdvActionTableDeleteRows>(), {0, 1, 2, 1}, true},
      {"all columns", Make<TdvActionTableDeleteCols>(), {1, 0, 1, 2}, true},
      {"the table", Make<TdvActionTableDeleteTable>(), {0, 0, 1, 1}, true},
      {"the edited cell's row of a one-row table", Make<TdvActionTableDeleteRows>(), {0, 0, 0, 0}, true},
      // Without undo the table is freed at once: nothing may touch it after.
      {"all rows, undo off", Make<TdvActionTableDeleteRows>(), {0, 0, 2, 2}, false},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = c.selection[2] == 0 ? Place(1, 2, {}, true) : Place(2, 2, {}, true);
    std::unique_ptr<TdvActionTableCell> action = c.make();
    if (c.selection[2] == 0) {
      // Saving would close the cell editor: undo is checked by the document.
      Edit(t, 0, 0);
      Run(*action);
      editor->Undo();
      EXPECT_EQ(Doc(), R"(P0 0"x" P0 item-60 P0 0"y")") << c.name;
      editor->Redo();
    } else if (c.undo) {
      Select(t, c.selection);
      EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(*action); })) << c.name;
    } else {
      Select(t, c.selection);
      editor->SetUndoLimit(0);
      Run(*action);
    }
    // The editor's deletion of a whole paragraph leaves it empty.
    EXPECT_EQ(Doc(), R"(P0 0"x" P0 0"" P0 0"y")") << c.name;
    EXPECT_TRUE(editor->Modified) << c.name;
    editor->SetUndoLimit(-1);
  }
}

TEST_F(TableActions, SelectionCommandsSelectWithoutChanging) {
  struct Case {
    const char* name;
    MakeAction make;
    bool edited;  // the caret in cell (1, 1), else cells (1, 1) to (1, 2) selected
    Rect result;
  } cases[] = {
      {"rows", Make<TdvActionTableSelectRows>(), false, {1, 0, 1, 3}},
      {"columns", Make<TdvActionTableSelectCols>(), false, {0, 1, 3, 2}},
      {"table", Make<TdvActionTableSelectTable>(), false, {0, 0, 3, 3}},
      {"rows of the edited cell", Make<TdvActionTableSelectRows>(), true, {1, 0, 1, 3}},
      {"the edited cell", Make<TdvActionTableSelectCell>(), true, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place(3, 3);
    // Saving closes a cell editor: the bytes are taken without one.
    const std::string before = DvfBytes(Data());
    if (c.edited) Edit(t, 1, 1);
    else Select(t, {1, 1, 1, 2});
    std::unique_ptr<TdvActionTableCell> action = c.make();
    EXPECT_TRUE(Enabled(*action)) << c.name;
    Run(*action);
    Rect got{};
    ASSERT_TRUE(t.GetSelectionRect(got[0], got[1], got[2], got[3])) << c.name;
    EXPECT_EQ(got, c.result) << c.name;
    EXPECT_EQ(Edited(t), nullptr) << c.name;
    EXPECT_EQ(DvfBytes(Data()), before) << c.name;
    EXPECT_FALSE(editor->Modified) << c.name;
    EXPECT_EQ(Data().UndoList->Count(), 0) << c.name;
  }
  // Select-cell needs a cell being edited.
  TDVTableItemInfo& t = Place(2, 2);
  Select(t, {0, 0, 1, 1});
  TdvActionTableSelectCell cell;
  EXPECT_FALSE(Enabled(cell));
}

TEST_F(TableActions, InsertRowsBelowAsksForTheCountOnlyBelowTheLastRow) {
  struct Case {
    const char* name;
    int row;  // the selected row of a 2 x 2 table; -1: the caret in cell (1, 0)
    bool allowMultiple;
    const char* typed;  // null: Cancel
    int added;
    bool asked;
  } cases[] = {
      {"first row", 0, true, nullptr, 1, false},
      {"last row, 3", 1, true, "3", 3, true},
      {"last row, cancelled", 1, true, nullptr, 0, true},
      {"last row, 500 is 100", 1, true, "500", 100, true},
      {"last row, 0 is 1", 1, true, "0", 1, true},
      {"last row, field emptied", 1, true, "", 1, true},
      {"last row, one row only", 1, false, nullptr, 1, false},
      {"edited cell in the last row", -1, true, "2", 2, true},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place(2, 2);
    if (c.row < 0) Edit(t, 1, 0);
    else Select(t, {c.row, 0, 1, 2});
    int asked = 0;
    TScopedModalRunner runner(Answering<TfrmInteger>([&](TfrmInteger& f) {
      ++asked;
      EXPECT_EQ(f.Dialog()->windowTitle(), "Add Rows");
      EXPECT_EQ(f.lbl()->text(), "Row &Count:");
      EXPECT_EQ(f.Value(), 1);
      if (!c.typed) return static_cast<int>(mrCancel);
      Type(f.se(), c.typed);
      return static_cast<int>(mrOk);
    }));
    TdvActionTableInsertRowsBelow action;
    action.AllowMultiple = c.allowMultiple;
    Run(action);
    EXPECT_EQ(asked, c.asked ? 1 : 0) << c.name;
    EXPECT_EQ(t.Rows.Count(), 2 + c.added) << c.name;
    EXPECT_EQ(editor->Modified, c.added > 0) << c.name;
    EXPECT_EQ(Data().UndoList->Count(), c.added > 0 ? 1 : 0) << c.name;
  }
}

TEST_F(TableActions, SplitAndMergeFollowTheSelection) {
  // 3 x 3, the first column's top two cells merged.
  struct Case {
    const char* name;
    Rect selection;  // rows 0: the caret in the merged cell
    bool split, merge;
  } cases[] = {
      {"the merged cell selected", {0, 0, 2, 1}, true, false},
      {"the merged cell edited", {0, 0, 0, 0}, true, false},
      {"a block of plain cells", {1, 1, 2, 2}, true, true},
      {"one plain cell", {2, 2, 1, 1}, true, false},
      {"a row cutting through the merged cell", {1, 0, 1, 2}, false, false},
      {"the merged cell and its neighbours", {0, 0, 2, 2}, true, true},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place(3, 3, {{0, 0, 2, 1}});
    if (c.selection[2] == 0) Edit(t, 0, 0);
    else Select(t, c.selection);
    TdvActionTableSplitCells split;
    TdvActionTableMergeCells merge;
    EXPECT_EQ(Enabled(split), c.split) << c.name;
    EXPECT_EQ(Enabled(merge), c.merge) << c.name;
  }
  // The caret beside the table: no selection, nothing applies.
  Place(2, 2, {}, true);
  editor->SetSelectionBounds(1, 0, 1, 0);
  TdvActionTableSplitCells split;
  TdvActionTableInsertRowsAbove above;
  TdvActionTableSelectTable whole;
  EXPECT_FALSE(Enabled(split));
  EXPECT_FALSE(Enabled(above));
  EXPECT_TRUE(Enabled(whole));
  // Run all the same, it changes and reports nothing.
  Run(above);
  EXPECT_FALSE(editor->Modified);
  EXPECT_EQ(beeps, 0);
}

TEST_F(TableActions, SplitDialogUnmergesOrSplits) {
  struct Case {
    const char* name;
    Rect selection;
    std::function<int(TfrmSplit&)> answer;
    std::string grid;
  } cases[] = {
      {"back into the original rows", {0, 0, 2, 1},
       [](TfrmSplit& f) {
         // Only the rows were merged.
         EXPECT_TRUE(f.rbUnmerge()->isEnabled());
         EXPECT_TRUE(f.cbUnmergeRows()->isEnabled() && f.cbUnmergeRows()->isChecked());
         EXPECT_FALSE(f.cbUnmergeCols()->isEnabled() || f.cbUnmergeCols()->isChecked());
         EXPECT_FALSE(f.cbMerge()->isEnabled());
         f.rbUnmerge()->click();
         return static_cast<int>(mrOk);
       },
       "ad b c | _ e f | g h i"},
      {"a plain cell into two columns", {2, 2, 1, 1},
       [](TfrmSplit& f) {
         EXPECT_FALSE(f.rbUnmerge()->isEnabled());
         Type(f.seColumns(), "2");
         Type(f.seRows(), "1");
         return static_cast<int>(mrOk);
       },
       "ad:2x1 b c:1x2 - | - e f:1x2 - | g h i _"},
      {"merged first, then into two rows", {1, 1, 2, 2},
       [](TfrmSplit& f) {
         EXPECT_TRUE(f.cbMerge()->isEnabled());
         f.cbMerge()->setChecked(true);
         Type(f.seColumns(), "1");
         Type(f.seRows(), "2");
         return static_cast<int>(mrOk);
       },
       "ad:2x1 b c | - efhi:1x2 - | g _:1x2 -"},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place(3, 3, {{0, 0, 2, 1}});
    Select(t, c.selection);
    TScopedModalRunner runner(Answering<TfrmSplit>(c.answer));
    TdvActionTableSplitCells split;
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(split); })) << c.name;
    EXPECT_EQ(Grid(t), c.grid) << c.name;
  }
  // Cancel changes nothing and reports nothing.
  TDVTableItemInfo& t = Place(3, 3, {{0, 0, 2, 1}});
  Select(t, {0, 0, 2, 1});
  TScopedModalRunner runner(Answering<TfrmSplit>([](TfrmSplit&) { return static_cast<int>(mrCancel); }));
  TdvActionTableSplitCells split;
  Run(split);
  EXPECT_EQ(Grid(t), "ad:2x1 b c | - e f | g h i");
  EXPECT_FALSE(editor->Modified);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(TableActions, VerticalAlignmentIsCheckedOnlyWhenEverySelectedCellHasIt) {
  // Cells top, top / bottom, default.
  const auto place = [this] {
    TDVTableItemInfo& t = Place(2, 2);
    t.GetCells(0, 0)->VAlign = dvcTop;
    t.GetCells(0, 1)->VAlign = dvcTop;
    t.GetCells(1, 0)->VAlign = dvcBottom;
    return std::ref(t);
  };
  struct Case {
    const char* name;
    Rect selection;  // rows 0: the caret in cell (1, 1)
    TDVCellVAlign vAlign;
    bool checked;
  } cases[] = {
      {"all cells, top", {0, 0, 2, 2}, dvcTop, false},
      {"first row, top", {0, 0, 1, 2}, dvcTop, true},
      {"one bottom cell", {1, 0, 1, 1}, dvcBottom, true},
      {"edited default cell, default", {0, 0, 0, 0}, dvcVDefault, true},
      {"edited default cell, middle", {0, 0, 0, 0}, dvcMiddle, false},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = place();
    if (c.selection[2] == 0) Edit(t, 1, 1);
    else Select(t, c.selection);
    TdvActionTableCellVAlign action(nullptr, c.vAlign);
    EXPECT_TRUE(Enabled(action)) << c.name;
    EXPECT_EQ(action.isChecked(), c.checked) << c.name;
  }
  // Setting it: one undo step, and then the button shows down.
  TDVTableItemInfo& t = place();
  Select(t, {0, 0, 2, 2});
  TdvActionTableCellVAlignMiddle middle;
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(middle); }));
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) EXPECT_EQ(t.GetCells(r, c)->VAlign, dvcMiddle);
  Select(t, {0, 0, 2, 2});
  EXPECT_TRUE(Enabled(middle));
  EXPECT_TRUE(middle.isChecked());
  // The caret beside the table: disabled.
  Place(2, 2, {}, true);
  editor->SetSelectionBounds(0, 1, 0, 1);
  EXPECT_FALSE(Enabled(middle));
}

TEST_F(TableActions, PropertiesDialogWritesTheTableAsOneStep) {
  TDVTableItemInfo& t = Place(2, 2);
  Edit(t, 1, 1);
  TScopedModalRunner runner(Answering<TfrmDVItemProp>([](TfrmDVItemProp& f) {
    // The edited cell counts as selected: the cell pages are there.
    EXPECT_TRUE(f.PageVisible(TfrmDVItemProp::pgCells));
    f.pc()->setCurrentIndex(TfrmDVItemProp::pgTable);
    Type(f.seCellPadding(), "9");
    return static_cast<int>(mrOk);
  }));
  TdvActionTableProperties properties;
  Run(properties);
  EXPECT_EQ(t.CellPadding, 9);
  EXPECT_TRUE(editor->Modified);
  EXPECT_EQ(Data().UndoList->Count(), 1);
  editor->Undo();
  EXPECT_EQ(t.CellPadding, 1);

  // Cancel: nothing written, nothing reported.
  TDVTableItemInfo& again = Place(2, 2);
  Select(again, {0, 0, 2, 2});
  const std::string before = DvfBytes(Data());
  TScopedModalRunner cancel(Answering<TfrmDVItemProp>([](TfrmDVItemProp& f) {
    Type(f.seCellPadding(), "9");
    return static_cast<int>(mrCancel);
  }));
  Run(properties);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_FALSE(editor->Modified);
}

TEST_F(TableActions, CommandsReachATableNestedInAnEditedCell) {
  auto inner = MakeTable(2, 2);
  TDVTableItemInfo* nested = inner.get();
  TDVTableItemInfo& outer = Place(1, 2);
  outer.GetCells(0, 0)->Clear();
  inner->ParaNo = 0;
  outer.GetCells(0, 0)->AddItem("", std::move(inner));
  Data().Format();
  Edit(outer, 0, 0);
  TDVTableInplaceEdit* outerCell = Edited(outer);
  ASSERT_NE(outerCell, nullptr);
  nested->CreateInplace(nested->GetMyItemNo(), 1, 1, false, true, true);
  ASSERT_NE(Edited(*nested), nullptr);

  // Saving would close the cell editors: undo is checked by the grids.
  TdvActionTableInsertColRight right;
  EXPECT_TRUE(Enabled(right));
  Run(right);
  EXPECT_EQ(Grid(*nested), "_ _ _ | _ _ _");
  EXPECT_EQ(outer.Rows.GetColCount(), 2);
  ASSERT_EQ(Edited(outer), outerCell);
  EXPECT_EQ(outerCell->EditData().UndoList->Count(), 1);
  editor->Undo();
  EXPECT_EQ(Grid(*nested), "_ _ | _ _");
  editor->Redo();
  EXPECT_EQ(Grid(*nested), "_ _ _ | _ _ _");
}

TEST_F(TableActions, AStepThatRaisesStillEndsTheBracketOfATableThatStands) {
  TDVTableItemInfo& t = Place(3, 3);
  Select(t, {0, 0, 2, 3});
  // The host's change handler fails at the first change the merge reports;
  // the bracket ends all the same and reports the change once more.
  int calls = 0;
  editor->OnChange = [&](auto&) {
    if (++calls == 1) throw std::runtime_error("host failed");
  };
  TdvActionTableMergeCells merge;
  EXPECT_THROW(Run(merge), std::runtime_error);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Data().UndoList->GroupModeCount, 0);
  EXPECT_TRUE(editor->Modified);
  EXPECT_TRUE(DrawingIsFresh(Data()));
  // The next change starts an undo group of its own.
  editor->OnChange = nullptr;
  const int groups = Data().UndoList->Count();
  Select(t, {0, 0, 1, 1});
  TdvActionTableInsertRowsAbove above;
  Run(above);
  EXPECT_EQ(Data().UndoList->Count(), groups + 1);

  // A table deleted (and, without undo, freed) before the failure is not
  // touched: no second report.
  TDVTableItemInfo& gone = Place(2, 2, {}, true);
  Select(gone, {0, 0, 1, 1});
  editor->SetUndoLimit(0);
  calls = 0;
  editor->OnChange = [&](auto&) {
    if (++calls == 1) throw std::runtime_error("host failed");
  };
  TdvActionTableDeleteTable remove;
  EXPECT_THROW(Run(remove), std::runtime_error);
  EXPECT_EQ(calls, 1);
  editor->OnChange = nullptr;
  EXPECT_EQ(Doc(), R"(P0 0"x" P0 0"" P0 0"y")");
}

TEST_F(TableActions, ReadOnlyEditorRefusesEveryCommand) {
  TDVTableItemInfo& t = Place(2, 2);
  Select(t, {0, 0, 1, 1});
  editor->SetReadOnly(true);
  const std::string before = DvfBytes(Data());
  TScopedModalRunner runner(NoDialog());
  TdvActionTableDeleteTable remove;
  TdvActionTableSplitCells split;
  TdvActionTableSelectRows rows;
  for (TdvActionTableCell* action : std::initializer_list<TdvActionTableCell*>{&remove, &split, &rows}) Run(*action);
  EXPECT_EQ(DvfBytes(Data()), before);
  Rect got{};
  ASSERT_TRUE(t.GetSelectionRect(got[0], got[1], got[2], got[3]));
  EXPECT_EQ(got, (Rect{0, 0, 1, 1}));
}

}  // namespace
}  // namespace quillet::test
