#pragma once
// The table tests' harness: tables built in memory, placed in the test
// editor (grid lines shown) or in a viewer (not shown), a structural dump
// to compare tables by, and cell text in the sheet's 8-bit style.
#include <QWidget>
#include <memory>
#include <string>

#include "editing/edit_test_util.h"
#include "editing/table/table_item.h"
#include "engine/view/docview.h"

namespace quillet::test {

// Every published integer property, then each position: "-" for an
// empty one, else spans, the cell's properties and its items' text.
std::string DumpTable(const TDVTableItemInfo& table);
// The grid in short: rows split by " | ", each position its cell's text
// ("_" for none) with ":RxC" when it spans, "-" when covered.
std::string Grid(const TDVTableItemInfo& t);
// Appends a paragraph of text in the GBK style to a cell.
void AddCellText(TDVTableCellData& cell, const std::string& utf8);

// Ctrl+Z as the platform sends it, with its control character as text.
void UndoKey(QWidget* widget);

class TableEditTest : public EditTest {
 protected:
  void SetUp() override;
  // A rows x cols table of empty cells, not yet placed anywhere.
  std::unique_ptr<TDVTableItemInfo> MakeTable(int rows, int cols);
  // Makes the editor's document the table alone and formats it; answers
  // the table.
  TDVTableItemInfo& PlaceInEditor(std::unique_ptr<TDVTableItemInfo> table);
  // The same in a viewer made for the test.
  TDVTableItemInfo& PlaceInViewer(std::unique_ptr<TDVTableItemInfo> table);

  std::unique_ptr<TDocView> viewer;
};

}  // namespace quillet::test
