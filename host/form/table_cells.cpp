#include "host/form/table_cells.h"

#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "host/review/conversion_codes.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

// The writer's line width; it only sets how long a break's rule is, text is
// never wrapped.
constexpr int kTextLineWidth = 80;

// The cell whose own position (row, col) is in table num; raises when the
// position is outside the grid or a merged cell covers it.
TDVTableCellData& CellAt(const TDVTableItemInfo& table, int num, int row, int col) {
  const std::string where = "表格 " + std::to_string(num) + " 第 " + std::to_string(row) + " 行第 " +
                            std::to_string(col) + " 列";
  if (row < 0 || col < 0 || row >= table.Rows.Count() || col >= table.Rows[row]->Count())
    throw ETableCellError(Utf8ToAnsi(where + "不在表格中"));
  TDVTableCellData* cell = table.GetCells(row, col);
  if (!cell) throw ETableCellError(Utf8ToAnsi(where + "被合并的单元格覆盖"));
  return *cell;
}

// The top-level table whose cell editor is open, and its number.
TDVTableItemInfo* EditedTable(TCustomDVData& data, int& num) {
  int counted = 0;
  for (int i = 0; i < data.ItemCount(); ++i) {
    if (data.GetItem(i)->StyleNo != dvsTable) continue;
    ++counted;
    auto* table = dynamic_cast<TDVTableItemInfo*>(data.GetItem(i));
    int row = -1, col = -1;
    if (table && table->GetEditedCell(row, col)) {
      num = counted;
      return table;
    }
  }
  return nullptr;
}

std::string CellText(TCustomDVData& cell) {
  TMemoryStream stream;
  // Text only: a control would write its files, and the host reads text.
  if (!cell.SaveTextToStream("", stream, kTextLineWidth, false, true, false)) return {};
  return stream.AsString();
}

// The cell being edited and its caret, to open it again after another cell
// was worked on.
class TOpenCell {
 public:
  explicit TOpenCell(TCustomDVData& data) {
    int num = 0;
    table_ = EditedTable(data, num);
    TDVTableInplaceEdit* editor = table_ ? table_->GetEditedCell(row_, col_) : nullptr;
    if (editor) editor->EditData().StoreSelOrCaret(startNo_, endNo_, startOffs_, endOffs_);
  }

  // Opens it again; its caret comes back unless its content was changed.
  void Reopen(bool changed) const {
    if (!table_) return;
    table_->CreateInplace(table_->GetMyItemNo(), row_, col_, false, false, true);
    int row = -1, col = -1;
    TDVTableInplaceEdit* editor = table_->GetEditedCell(row, col);
    if (editor && !changed && row == row_ && col == col_)
      editor->EditData().SetSelectionBounds(startNo_, startOffs_, endNo_, endOffs_);
  }

  bool Is(const TDVTableItemInfo* table, int row, int col) const {
    return table_ == table && row_ == row && col_ == col;
  }

 private:
  TDVTableItemInfo* table_ = nullptr;
  int row_ = -1, col_ = -1, startNo_ = 0, endNo_ = 0;
  int32_t startOffs_ = 0, endOffs_ = 0;
};

}  // namespace

TDVTableItemInfo* TTableCells::GetTable(TCustomDVData& data, int num) {
  if (num < 1) return nullptr;
  int counted = 0;
  for (int i = 0; i < data.ItemCount(); ++i)
    if (data.GetItem(i)->StyleNo == dvsTable && ++counted == num) return dynamic_cast<TDVTableItemInfo*>(data.GetItem(i));
  return nullptr;
}

std::string TTableCells::GetTableContent(int num, int row, int col) const {
  TDVTableItemInfo* table = GetTable(editor_.EditData(), num);
  if (!table) return {};
  TDVTableCellData& cell = CellAt(*table, num, row, col);
  // An open cell editor holds the cell's items; the cell itself is empty
  // until it closes.
  int editedRow = -1, editedCol = -1;
  if (TDVTableInplaceEdit* editor = table->GetEditedCell(editedRow, editedCol);
      editor && editedRow == row && editedCol == col)
    return CellText(editor->EditData());
  return CellText(cell);
}

template <class F>
bool TTableCells::InCell(int num, int row, int col, F change) {
  TDVTableItemInfo* table = GetTable(editor_.EditData(), num);
  if (!table) return false;
  CellAt(*table, num, row, col);
  if (!table->EditData() || editor_.InplaceEditorBusy()) return false;
  if (!table->DoOnCellEditing(row, col, false)) return false;
  const TOpenCell before(editor_.EditData());
  table->CreateInplace(table->GetMyItemNo(), row, col, true, false, true);
  int editedRow = -1, editedCol = -1;
  TDVTableInplaceEdit* cellEditor = table->GetEditedCell(editedRow, editedCol);
  bool done = false;
  if (cellEditor && editedRow == row && editedCol == col) {
    done = change(static_cast<TCustomDocViewEdit&>(*cellEditor));
    table->DestroyInplace();
  }
  before.Reopen(before.Is(table, row, col));
  return done;
}

bool TTableCells::InsertTableContent(const std::string& text, int num, int row, int col) {
  const std::u16string wide = MultiByteToWideChar(CP_ACP, text);
  // With tracking on, the editor marks the text as the reviewer's.
  return InCell(num, row, col, [&](TCustomDocViewEdit& cell) { return cell.InsertTextW(wide); });
}

bool TTableCells::InsertTableContentForHost(const std::string& text, int num, int row, int col) {
  const bool inserted = InsertTableContent(text, num, row, col);
  editor_.ClearUndo();
  editor_.Format();
  return inserted;
}

bool TTableCells::ClearTableCell(int num, int row, int col) {
  return InCell(num, row, col, [](TCustomDocViewEdit& cell) {
    cell.SelectAll();
    // Unprotected first, so that protected text may go.
    cell.ApplyStyleConversion(CELL_EDITABLE);
    cell.SelectAll();
    return !cell.SelectionExists() || cell.DeleteSelection();
  });
}

bool TTableCells::SetCellReadOnly(int num, int row, int col) {
  return InCell(num, row, col, [this](TCustomDocViewEdit& cell) {
    // A read-only editor refuses the conversion without a word.
    if (editor_.ReadOnly) return false;
    cell.SelectAll();
    cell.ApplyStyleConversion(CELL_PROTECTION);
    return true;
  });
}

bool TTableCells::GetTableNRC(int& num, int& row, int& col) const {
  int tableNum = 0;
  TDVTableItemInfo* table = EditedTable(editor_.EditData(), tableNum);
  if (!table) return false;
  num = tableNum;
  table->GetEditedCell(row, col);
  return true;
}

void TTableCells::KbHookKeyboardMessage(int key, bool ctrl, bool shift) {
  // Where the caret is: an open cell editor holds its own selection.
  TCustomDocViewEdit& target = *editor_.GetTopLevelEditor();
  if (ctrl && (key == 'C' || key == 'c')) target.Copy();
  if (ctrl && (key == 'A' || key == 'a')) {
    target.SelectAll();
    target.Invalidate();
  }
  int num = 0, row = 0, col = 0;
  if (ctrl && shift && (key == 'S' || key == 's') && GetTableNRC(num, row, col))
    CommonDialogs().MessageBox({"这是第" + std::to_string(num) + "个表格的第" + std::to_string(row) + "行，第" +
                                    std::to_string(col) + "列。",
                                "提示", MB_OK, MB_ICONINFORMATION});
}

}  // namespace quillet
