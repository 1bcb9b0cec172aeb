// The host's cell access on an editor offscreen: tables counted at top
// level only, cells read, written, cleared and made read-only, addresses
// that name no cell, the cell being edited kept in editing, tracking marks,
// and the keys the keyboard hook reports.
#include "host/form/table_cells.h"

#include <QtTest/QTest>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_test_util.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"
#include "platform/core/code_page.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

// Over 80 characters: the reader must not wrap it.
const std::string kLong(100, 'w');

class TableCellsTest : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    tracking = std::make_unique<TRevisionTracking>(*editor, reviewers, state);
    cells = std::make_unique<TTableCells>(*editor);
    PlaceDocument();
  }
  void TearDown() override {
    tracking.reset();
    TableEditTest::TearDown();
  }

  // Text, table 1 (3 x 4: (0,0) "abc", (0,1) two lines, (0,2) a long
  // value, (1,1) a nested table, others "r.c"), text, table 2 (2 x 2,
  // (1,0) merged over its row).
  void PlaceDocument() {
    auto first = MakeTable(3, 4);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) AddCellText(*first->GetCells(r, c), std::to_string(r) + "." + std::to_string(c));
    ReplaceCell(*first->GetCells(0, 0), "abc");
    ReplaceCell(*first->GetCells(0, 1), "第一");
    first->GetCells(0, 1)->AddNL(ItemText("第二", false), kGbk, 0);
    ReplaceCell(*first->GetCells(0, 2), kLong);
    TDVTableCellData& host = *first->GetCells(1, 1);
    auto inner = std::make_unique<TDVTableItemInfo>(1, 1, &host);
    AddCellText(*inner->GetCells(0, 0), "inner");
    inner->ParaNo = 0;
    host.AddItem("", std::move(inner));
    auto second = MakeTable(2, 2);
    AddCellText(*second->GetCells(0, 0), "t2");
    EXPECT_TRUE(second->MergeCells(1, 0, 1, 2, true));
    AddCellText(*second->GetCells(1, 0), "m");
    Data().Clear();
    Data().AddNL(ItemText("前", false), kGbk, 0);
    first->ParaNo = second->ParaNo = 0;
    Data().AddItem("", std::move(first));
    Data().AddNL(ItemText("中", false), kGbk, 0);
    Data().AddItem("", std::move(second));
    Data().Format();
  }
  static void ReplaceCell(TDVTableCellData& cell, const std::string& utf8) {
    cell.Clear();
    AddCellText(cell, utf8);
  }

  TDVTableItemInfo& Table(int num) { return *TTableCells::GetTable(Data(), num); }
  void Open(int num, int row, int col) {
    Table(num).CreateInplace(Table(num).GetMyItemNo(), row, col, false, false, true);
  }
  // "num:row,col" of the open cell editor, "none" without one.
  std::string Edited() const {
    int num = -1, row = -1, col = -1;
    if (!cells->GetTableNRC(num, row, col)) return "none";
    return std::to_string(num) + ":" + std::to_string(row) + "," + std::to_string(col);
  }
  TDVTableInplaceEdit* CellEditor(int num) {
    int row = -1, col = -1;
    return Table(num).GetEditedCell(row, col);
  }
  std::string Read(int num, int row, int col) const { return AnsiToUtf8(cells->GetTableContent(num, row, col)); }

  TReviewerTable reviewers;
  TTrackingFormState state;
  std::unique_ptr<TRevisionTracking> tracking;
  std::unique_ptr<TTableCells> cells;
};

// ---- reading and counting ----

TEST_F(TableCellsTest, ReadsACellAsTheTextWriterWritesIt) {
  struct Case {
    int num, row, col;
    std::string expected;
  };
  const Case cases[] = {
      {1, 0, 0, "abc"},
      {1, 0, 1, "第一\r\n第二"},  // its line ending kept
      {1, 0, 2, kLong},            // never wrapped
      {1, 2, 3, "2.3"},
      {1, 1, 1, "1.1\r\ninner\r\n"},  // a nested table writes its rows
      {2, 0, 0, "t2"},                // the nested table is not counted
      {2, 1, 0, "m"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.num << ":" << c.row << "," << c.col);
    EXPECT_EQ(Read(c.num, c.row, c.col), c.expected);
  }
  EXPECT_EQ(TTableCells::GetTable(Data(), 3), nullptr);
  EXPECT_EQ(TTableCells::GetTable(Data(), 0), nullptr);
}

TEST_F(TableCellsTest, ReadingTheCellBeingEditedGivesItsTextAndKeepsItOpen) {
  Open(1, 2, 3);
  QTest::keyClicks(CellEditor(1)->ClientWidget(), "Q");
  EXPECT_EQ(Read(1, 2, 3), "Q2.3");
  EXPECT_EQ(Read(1, 0, 0), "abc");
  EXPECT_EQ(Edited(), "1:2,3");
}

// ---- addresses that name no cell ----

TEST_F(TableCellsTest, AddressesThatNameNoCellChangeNothing) {
  struct Address {
    const char* what;
    int num, row, col;
    bool raises;  // a table without that cell; no table at all is quiet
  };
  const Address bad[] = {
      {"table 0", 0, 0, 0, false},
      {"beyond the tables", 3, 0, 0, false},
      {"negative table", -1, 0, 0, false},
      {"negative row", 1, -1, 0, true},
      {"negative column", 1, 0, -1, true},
      {"row past the grid", 1, 3, 0, true},
      {"column past the grid", 1, 0, 4, true},
      {"under a merged cell", 2, 1, 1, true},
      {"huge row", 1, 1 << 30, 0, true},
  };
  Open(1, 2, 3);
  CellEditor(1)->EditData().SetSelectionBounds(0, 1, 0, 2);
  const std::string before = DvfBytes(Data());
  Open(1, 2, 3);
  CellEditor(1)->EditData().SetSelectionBounds(0, 1, 0, 2);
  for (const Address& a : bad) {
    SCOPED_TRACE(a.what);
    if (a.raises) {
      EXPECT_THROW(cells->GetTableContent(a.num, a.row, a.col), ETableCellError);
      EXPECT_THROW(cells->InsertTableContent("x", a.num, a.row, a.col), ETableCellError);
      EXPECT_THROW(cells->ClearTableCell(a.num, a.row, a.col), ETableCellError);
      EXPECT_THROW(cells->SetCellReadOnly(a.num, a.row, a.col), ETableCellError);
    } else {
      EXPECT_EQ(cells->GetTableContent(a.num, a.row, a.col), "");
      EXPECT_FALSE(cells->InsertTableContent("x", a.num, a.row, a.col));
      EXPECT_FALSE(cells->ClearTableCell(a.num, a.row, a.col));
      EXPECT_FALSE(cells->SetCellReadOnly(a.num, a.row, a.col));
    }
    EXPECT_EQ(Edited(), "1:2,3");
    int start = -1, end = -1;
    int32_t startOffs = -1, endOffs = -1;
    CellEditor(1)->EditData().StoreSelBounds(start, end, startOffs, endOffs, true);
    EXPECT_EQ(std::tie(start, startOffs, end, endOffs), std::make_tuple(0, 1, 0, 2));
  }
  // The message says where.
  try {
    cells->GetTableContent(2, 1, 1);
  } catch (const ETableCellError& e) {
    EXPECT_EQ(AnsiToUtf8(e.what()), "表格 2 第 1 行第 1 列被合并的单元格覆盖");
  }
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 0);
}

// ---- writing ----

TEST_F(TableCellsTest, InsertKeepsTheCellThatWasBeingEditedInEditing) {
  struct Case {
    const char* what;
    int num, row, col;  // opened before; num 0: none
    std::string after;
  };
  const Case cases[] = {
      {"none", 0, 0, 0, "none"},
      {"row and column past 0", 1, 2, 3, "1:2,3"},
      {"row 0", 1, 0, 3, "1:0,3"},
      {"column 0", 1, 2, 0, "1:2,0"},
      {"the cell written", 1, 2, 2, "1:2,2"},
      {"another table's", 2, 0, 0, "2:0,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlaceDocument();
    if (c.num > 0) Open(c.num, c.row, c.col);
    ASSERT_TRUE(cells->InsertTableContent(Utf8ToAnsi("填"), 1, 2, 2));
    EXPECT_EQ(Edited(), c.after);
    EXPECT_EQ(Read(1, 2, 2), "填2.2");
  }
}

TEST_F(TableCellsTest, TheCaretOfTheCellBeingEditedComesBack) {
  Open(1, 2, 3);
  CellEditor(1)->EditData().SetSelectionBounds(0, 2, 0, 3);
  ASSERT_TRUE(cells->InsertTableContent("x", 1, 0, 0));
  EXPECT_EQ(Read(1, 0, 0), "xabc");
  ASSERT_EQ(Edited(), "1:2,3");
  EXPECT_EQ(AnsiToUtf8(CellEditor(1)->GetSelText()), ".");
  // A caret without a selection, as typing at the end leaves it.
  Table(1).CreateInplace(Table(1).GetMyItemNo(), 2, 3, false, true, true);
  QTest::keyClicks(CellEditor(1)->Widget(), "z");
  ASSERT_EQ(Read(1, 2, 3), "2.3z");
  ASSERT_TRUE(cells->InsertTableContent("y", 1, 0, 0));
  ASSERT_EQ(Edited(), "1:2,3");
  QTest::keyClicks(CellEditor(1)->Widget(), "w");
  EXPECT_EQ(Read(1, 2, 3), "2.3zw");
}

TEST_F(TableCellsTest, InsertIsOneUndoableStep) {
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { cells->InsertTableContent("a\r\nb", 1, 0, 0); }));
  EXPECT_EQ(Read(1, 0, 0), "a\r\nbabc");
}

TEST_F(TableCellsTest, TheHostsFillingLeavesNothingToUndo) {
  Open(1, 2, 3);
  ASSERT_TRUE(cells->InsertTableContentForHost("x", 1, 0, 0));
  EXPECT_EQ(Edited(), "1:2,3");
  EXPECT_EQ(editor->UndoAction(), dvutNone);
  EXPECT_EQ(Read(1, 0, 0), "xabc");
}

TEST_F(TableCellsTest, WithTrackingTheInsertedTextIsMarked) {
  tracking->StartTrace("A");
  ASSERT_TRUE(cells->InsertTableContent("new", 1, 2, 1));
  const TDVTableCellData& cell = *Table(1).GetCells(2, 1);
  ASSERT_GE(cell.ItemCount(), 2) << DescribeDoc(cell) << " " << Read(1, 2, 1);
  const TFontInfo& inserted = sheet.TextStyles()[cell.GetItem(0)->StyleNo];
  EXPECT_EQ(cell.GetItemTextR(0), ItemText("new", sheet.TextStyles()[cell.GetItem(0)->StyleNo].Unicode));
  EXPECT_TRUE(inserted.Style & fsUnderline);
  EXPECT_EQ(inserted.Color, TReviewerTable::kPalette[0]);
  EXPECT_FALSE(sheet.TextStyles()[cell.GetItem(1)->StyleNo].Style & fsUnderline);
}

TEST_F(TableCellsTest, ACallFromInsideTheCellEditorsOwnChangeIsRefused) {
  Open(1, 2, 3);
  int calls = 0;
  bool result = true;
  // Closing the cell editor here would free it under its own change.
  editor->OnChange = [&](TCustomDocView&) {
    ++calls;
    result = cells->InsertTableContent("x", 1, 0, 0) || cells->ClearTableCell(1, 2, 3);
  };
  QTest::keyClicks(CellEditor(1)->ClientWidget(), "Q");
  editor->OnChange = {};
  EXPECT_GE(calls, 1);
  EXPECT_FALSE(result);
  EXPECT_EQ(Edited(), "1:2,3");
  EXPECT_EQ(Read(1, 2, 3), "Q2.3");
  EXPECT_EQ(Read(1, 0, 0), "abc");
}

// ---- read-only and clearing ----

TEST_F(TableCellsTest, AReadOnlyCellRefusesTypingAndClearingStillEmptiesIt) {
  ASSERT_TRUE(cells->SetCellReadOnly(1, 0, 1));
  EXPECT_EQ(Edited(), "none");
  const TDVTableCellData& cell = *Table(1).GetCells(0, 1);
  for (int i = 0; i < cell.ItemCount(); ++i)
    EXPECT_NE(sheet.TextStyles()[cell.GetItem(i)->StyleNo].Protection & dvprModifyProtect, 0) << i;
  EXPECT_EQ(Read(1, 0, 2), kLong);  // other cells untouched

  Open(1, 0, 1);
  QTest::keyClicks(CellEditor(1)->ClientWidget(), "X");
  EXPECT_EQ(Read(1, 0, 1), "第一\r\n第二");

  ASSERT_TRUE(cells->ClearTableCell(1, 0, 1));
  EXPECT_EQ(Read(1, 0, 1), "");
  EXPECT_EQ(Edited(), "1:0,1");
  // What is typed now is not protected.
  QTest::keyClicks(CellEditor(1)->ClientWidget(), "Y");
  EXPECT_EQ(Read(1, 0, 1), "Y");
}

TEST_F(TableCellsTest, ClearingAnEmptyCellSucceedsQuietly) {
  ASSERT_TRUE(cells->ClearTableCell(1, 2, 0));
  EXPECT_EQ(Read(1, 2, 0), "");
  EXPECT_TRUE(cells->ClearTableCell(1, 2, 0));
  EXPECT_EQ(beeps, 0);
}

TEST_F(TableCellsTest, AReadOnlyEditorRefusesTheWritesAndKeepsTheOpenCell) {
  Open(1, 2, 3);
  editor->SetReadOnly(true);
  EXPECT_FALSE(cells->InsertTableContent("x", 1, 0, 0));
  EXPECT_FALSE(cells->SetCellReadOnly(1, 0, 0));
  EXPECT_EQ(Read(1, 0, 0), "abc");
  EXPECT_EQ(Edited(), "1:2,3");
}

// ---- the keyboard hook ----

TEST_F(TableCellsTest, CtrlShiftSTellsWhereTheCaretIsInATable) {
  struct Case {
    const char* what;
    int num, row, col;  // opened; num 0: none
    int key;
    bool ctrl, shift;
    std::string message;  // "" none
  };
  const Case cases[] = {
      {"upper case", 1, 2, 3, 'S', true, true, "这是第1个表格的第2行，第3列。"},
      {"lower case", 1, 0, 0, 's', true, true, "这是第1个表格的第0行，第0列。"},
      {"second table", 2, 1, 0, 'S', true, true, "这是第2个表格的第1行，第0列。"},
      {"outside a table", 0, 0, 0, 'S', true, true, ""},
      {"without Shift", 1, 2, 3, 'S', true, false, ""},
      {"without Ctrl", 1, 2, 3, 'S', false, true, ""},
      {"another key", 1, 2, 3, 'D', true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlaceDocument();
    if (c.num > 0) Open(c.num, c.row, c.col);
    TScriptedCommonDialogs dialogs;
    TScopedCommonDialogs scope(dialogs);
    cells->KbHookKeyboardMessage(c.key, c.ctrl, c.shift);
    if (c.message.empty()) {
      EXPECT_TRUE(dialogs.Asked.empty());
      continue;
    }
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    const auto& question = std::get<TMessageQuestion>(dialogs.Asked[0].Question);
    EXPECT_EQ(question.Text, c.message);
    EXPECT_EQ(question.Buttons, MB_OK);
    EXPECT_EQ(question.Icon, MB_ICONINFORMATION);
  }
}

TEST_F(TableCellsTest, CtrlAAndCtrlCActWhereTheCaretIs) {
  Open(1, 2, 3);
  cells->KbHookKeyboardMessage('a', true, false);
  EXPECT_EQ(AnsiToUtf8(CellEditor(1)->GetSelText()), "2.3");
  Clipboard().Clear();
  cells->KbHookKeyboardMessage('C', true, false);
  EXPECT_EQ(AnsiToUtf8(Clipboard().GetAsHandle(CF_TEXT).value_or("")), "2.3");

  Table(1).DestroyInplace();
  cells->KbHookKeyboardMessage('A', false, false);  // without Ctrl nothing
  EXPECT_FALSE(editor->SelectionExists());
  cells->KbHookKeyboardMessage('A', true, false);
  EXPECT_TRUE(editor->SelectionExists());
}

}  // namespace
}  // namespace quillet::test
