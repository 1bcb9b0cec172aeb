#include "commands/actions/table_cell_actions.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <set>
#include <vector>

#include "commands/actions/style_actions.h"
#include "commands/dialogs/form_parts.h"
#include "commands/dialogs/integer_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"

namespace quillet {

namespace {

bool CanChange(const TCustomDocViewEdit& editor) { return !editor.ReadOnly && editor.Style(); }

// Whether some cell covering a position of the selection spans more than
// one band along the axis.
template <class Span>
bool SelectionSpans(const TDVTableItemInfo& table, Span span) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (!GetNormalizedSelectionBounds(table, true, row, col, rowCount, colCount)) return false;
  for (int r = row; r < row + rowCount; ++r)
    for (int c = col; c < col + colCount; ++c) {
      int mainRow = 0, mainCol = 0;
      if (span(*table.Rows.GetMainCell(r, c, mainRow, mainCol)) > 1) return true;
    }
  return false;
}

}  // namespace

TDVTableItemInfo* FindCurrentTable(TCustomDocViewEdit& editor, TCustomDocViewEdit*& holder) {
  return editor.GetCurrentItemEx<TDVTableItemInfo>(holder);
}

bool GetNormalizedSelectionBounds(const TDVTableItemInfo& table, bool includeEdited, int& row, int& col,
                                  int& rowCount, int& colCount) {
  if (table.GetSelectionRect(row, col, rowCount, colCount)) return true;
  int editedRow = -1, editedCol = -1;
  const TDVTableInplaceEdit* edited = includeEdited ? table.GetEditedCell(editedRow, editedCol) : nullptr;
  if (!edited || !edited->Cell()) return false;
  row = editedRow;
  col = editedCol;
  rowCount = std::max(edited->Cell()->RowSpan, 1);
  colCount = std::max(edited->Cell()->ColSpan, 1);
  return true;
}

bool CanUnmergeRows(const TDVTableItemInfo& table) {
  return SelectionSpans(table, [](const TDVTableCellData& cell) { return cell.RowSpan; });
}

bool CanUnmergeCols(const TDVTableItemInfo& table) {
  return SelectionSpans(table, [](const TDVTableCellData& cell) { return cell.ColSpan; });
}

bool GetInteger(const std::string& caption, const std::string& prompt, int& value) {
  TfrmInteger form;
  form.Dialog()->setWindowTitle(Q(caption.c_str()));
  form.lbl()->setText(Q(prompt.c_str()));
  form.SetValue(value);
  if (form.ShowModal() != mrOk) return false;
  value = form.Value();
  return true;
}

void RepaintDocViews() {
  std::set<TCustomDocView*> views;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* widget : widgets)
      if (auto* view = dynamic_cast<TCustomDocView*>(ControlOfWidget(widget))) views.insert(view);
  }
  for (TCustomDocView* view : views) view->Invalidate();
}

// ---- the item-modification bracket ----

TDVItemModifyScope::TDVItemModifyScope(TCustomDocViewEdit& editor, const TDVTableItemInfo& table, int itemNo)
    : editor_(editor), table_(table), itemNo_(itemNo) {
  editor_.BeginItemModify(itemNo_, width_);
}

TDVItemModifyScope::~TDVItemModifyScope() {
  if (!open_) return;
  // A step raised: whatever it changed before is laid out and reported; the
  // error itself goes on to the caller.
  try {
    End();
  } catch (...) {
  }
}

bool TDVItemModifyScope::TableStands() const {
  const TDVEditDVData& data = editor_.EditData();
  return itemNo_ >= 0 && itemNo_ < data.ItemCount() && data.GetItem(itemNo_) == &table_;
}

void TDVItemModifyScope::End() {
  if (!open_) return;
  open_ = false;
  if (TableStands()) editor_.EndItemModify(itemNo_, width_);
}

// ---- the table-cell commands ----

void TdvActionTableCell::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  TCustomDocViewEdit* holder = nullptr;
  TDVTableItemInfo* table = editor ? FindCurrentTable(*editor, holder) : nullptr;
  setEnabled(table && IsApplicable(*holder, *table, table->GetMyItemNo()));
}

void TdvActionTableCell::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor || !CanChange(*editor)) return;
  TCustomDocViewEdit* holder = nullptr;
  TDVTableItemInfo* table = FindCurrentTable(*editor, holder);
  // A command that does not apply never runs, also when called directly.
  if (!table || !IsApplicable(*holder, *table, table->GetMyItemNo())) return;
  const int itemNo = table->GetMyItemNo();
  TDVItemModifyScope modify(*holder, *table, itemNo);
  if (ExecuteCommand(*holder, *table, itemNo)) modify.End();
  else modify.Dismiss();
}

bool TdvActionTableCell::CloseEditedCell(TDVTableItemInfo& table) {
  int row = -1, col = -1;
  TDVTableInplaceEdit* edited = table.GetEditedCell(row, col);
  if (!edited) return true;
  if (edited->Busy()) return false;
  const TDVTableCellData* cell = edited->Cell();
  const int rowSpan = cell ? std::max(cell->RowSpan, 1) : 1, colSpan = cell ? std::max(cell->ColSpan, 1) : 1;
  TCustomDocViewEdit& outer = edited->Outer();
  const bool focused = edited->Focused();
  table.DestroyInplace();
  if (!table.PartiallySelected()) table.Select(row, col, rowSpan - 1, colSpan - 1);
  if (focused) outer.SetFocus();
  return true;
}

void TdvActionTableCell::DeleteWholeTable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) {
  if (!CloseEditedCell(table)) return;
  TDVEditDVData& data = editor.EditData();
  data.SetSelectionBounds(itemNo, data.GetOffsBeforeItem(itemNo), itemNo, data.GetOffsAfterItem(itemNo));
  editor.DeleteSelection();
}

bool TdvActionTableRCBase::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  return GetNormalizedSelectionBounds(table, true, row, col, rowCount, colCount);
}

void TdvActionTableMultiCellAttributes::IterateCells(TDVTableItemInfo& table, int mode) {
  int editedRow = -1, editedCol = -1;
  table.GetEditedCell(editedRow, editedCol);
  bool first = true;
  for (int r = 0; r < table.Rows.Count(); ++r)
    for (int c = 0; c < table.Rows[r]->Count(); ++c) {
      if (!table.GetCells(r, c)) continue;
      if (!table.IsCellSelected(r, c) && !(r == editedRow && c == editedCol)) continue;
      if (!IterateCellProc(table, first, mode, r, c)) return;
      first = false;
    }
}

TdvActionTableCellVAlign::TdvActionTableCellVAlign(QObject* owner, TDVCellVAlign vAlign)
    : TdvActionTableMultiCellAttributes(owner), VAlign(vAlign) {
  setCheckable(true);
}

bool TdvActionTableCellVAlign::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (!GetNormalizedSelectionBounds(table, true, row, col, rowCount, colCount)) return false;
  allEqual_ = true;
  IterateCells(table, 1);
  setChecked(allEqual_);
  return true;
}

bool TdvActionTableCellVAlign::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int) {
  TDVUndoGroupScope group(editor, dvutModifyItem);
  IterateCells(table, 2);
  return true;
}

bool TdvActionTableCellVAlign::IterateCellProc(TDVTableItemInfo& table, bool, int mode, int row, int col) {
  if (mode == 1) {
    if (table.GetCells(row, col)->VAlign == VAlign) return true;
    allEqual_ = false;
    return false;
  }
  table.SetCellProperty("VAlign", VAlign, row, col);
  return true;
}

}  // namespace quillet
