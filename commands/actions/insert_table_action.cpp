#include "commands/actions/insert_table_action.h"

#include <QCheckBox>
#include <memory>

#include "commands/actions/control_panel.h"
#include "commands/actions/table_cell_actions.h"
#include "commands/dialogs/insert_table_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"

namespace quillet {

namespace {

bool HasPartialSelection(TCustomDocViewEdit& editor) {
  return editor.GetTopLevelEditor()->EditData().FPartialSelectedItem != nullptr;
}

}  // namespace

void TdvActionInsertTable::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  setEnabled(editor && !HasPartialSelection(*editor));
}

void TdvActionInsertTable::ApplyToTable(TDVTableItemInfo& table) const {
  // The fields directly: the table is not inserted, and the setters would
  // refuse the glued spacing (-1) that the formula of the cell width uses.
  table.Options = TableOptions;
  table.PrintOptions = TablePrintOptions;
  table.Color = Color;
  table.BorderWidth = BorderWidth;
  table.BorderColor = BorderColor;
  table.BorderLightColor = BorderLightColor;
  table.BorderStyle = BorderStyle;
  table.BorderVSpacing = BorderVSpacing;
  table.BorderHSpacing = BorderHSpacing;
  table.CellBorderWidth = CellBorderWidth;
  table.CellBorderColor = CellBorderColor;
  table.CellBorderLightColor = CellBorderLightColor;
  table.CellPadding = CellPadding;
  table.CellBorderStyle = CellBorderStyle;
  table.VRuleWidth = VRuleWidth;
  table.VRuleColor = VRuleColor;
  table.HRuleWidth = HRuleWidth;
  table.HRuleColor = HRuleColor;
  table.CellVSpacing = CellVSpacing;
  table.CellHSpacing = CellHSpacing;
  table.VOutermostRule = VOutermostRule;
  table.HOutermostRule = HOutermostRule;
}

int32_t TdvActionInsertTable::CellBestWidth(const TDVTableItemInfo& table, int cols, int32_t textWidth) {
  const int64_t extra = int64_t{cols - 1} * table.CellHSpacing +
                        2 * (int64_t{table.BorderWidth} + table.BorderHSpacing) +
                        2 * int64_t{cols} * table.CellBorderWidth;
  const int64_t width = (int64_t{textWidth} - 10 - extra) / cols;
  // A negative best width would read as a percentage: a window too narrow
  // gives the narrowest cells instead.
  return width < 1 ? 1 : Clamp32(width);
}

void TdvActionInsertTable::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor || HasPartialSelection(*editor)) return;
  TfrmInsTable form;
  form.SetRows(RowCount);
  form.SetColumns(ColCount);
  form.SetBestWidth(BestWidth);
  if (form.ShowModal() != mrOk) return;
  if (form.cbRemember()->isChecked()) {
    BestWidth = form.BestWidth();
    RowCount = form.Rows();
    ColCount = form.Columns();
  }
  TCustomDocViewEdit& top = *editor->GetTopLevelEditor();
  const int rows = form.Rows(), cols = form.Columns();
  auto table = std::make_unique<TDVTableItemInfo>(rows, cols, &top.EditData());
  ApplyToTable(*table);
  table->BestWidth = form.BestWidth();
  if (table->BestWidth == 0) {
    const int32_t width = CellBestWidth(*table, cols, top.EditData().TextWidth);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) table->GetCells(r, c)->BestWidth = width;
  }
  top.InsertItem("", std::move(table));
}

// ---- grid lines ----

TdvActionTableGrid::TdvActionTableGrid(QObject* owner) : QAction(owner) {
  setCheckable(true);
  QObject::connect(this, &QAction::triggered, this, [this] { ExecuteNow(); });
  UpdateNow();
}

bool TdvActionTableGrid::HandlesTarget(TCustomControl*) { return true; }

void TdvActionTableGrid::UpdateTarget(TCustomControl*) {
  setEnabled(true);
  setChecked(DocViewTableGridStyle != psClear);
}

void TdvActionTableGrid::ExecuteTarget(TCustomControl* target) {
  DocViewTableGridStyle = DocViewTableGridStyle != psClear ? psClear : DVA_TableGridStyle;
  RepaintDocViews();
  UpdateTarget(target);
}

}  // namespace quillet
