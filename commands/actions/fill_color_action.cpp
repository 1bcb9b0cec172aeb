#include "commands/actions/fill_color_action.h"

#include <QComboBox>
#include <vector>

#include "commands/actions/color_actions.h"
#include "commands/actions/control_panel.h"
#include "commands/dialogs/fill_color_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

// The existing cells that are selected, and the one being edited.
std::vector<TDVTableItemInfo::TCellValue> TargetCells(const TDVTableItemInfo& table, TColor color) {
  int editedRow = -1, editedCol = -1;
  table.GetEditedCell(editedRow, editedCol);
  std::vector<TDVTableItemInfo::TCellValue> cells;
  for (int row = 0; row < table.Rows.Count(); ++row)
    for (int col = 0; col < table.Rows.GetColCount(); ++col)
      if (table.GetCells(row, col) &&
          (table.IsCellSelected(row, col) || (row == editedRow && col == editedCol)))
        cells.push_back({row, col, static_cast<int32_t>(color)});
  return cells;
}

}  // namespace

void TdvActionFillColor::IterateProc(TCustomDVData& dvData, int itemNo, int&, TCustomDocViewEdit& editor) {
  const TDVStyle* sheet = editor.Style();
  if (!sheet) return;
  const int32_t styleNo = dvData.GetItemStyle(itemNo);
  if (styleNo >= 0 && sheet->TextStyles().IsValidIndex(styleNo)) {
    const TColor back = sheet->TextStyles()[styleNo].BackColor;
    if (!textFound_) {
      textFound_ = true;
      textColor_ = back;
    } else if (back != textColor_) {
      textsDiffer_ = true;
    }
  }
  const int32_t paraNo = dvData.GetItemPara(itemNo);
  if (!sheet->ParaStyles().IsValidIndex(paraNo)) return;
  const TDVBackgroundRect& background = sheet->ParaStyles()[paraNo].Background();
  if (!paraFound_) {
    paraFound_ = true;
    paraColor_ = background.Color;
    padding_ = background.BorderOffsets;
    usePadding_.SetAll(true);
    return;
  }
  if (background.Color != paraColor_) parasDiffer_ = true;
  // Compared whatever the colour: an offset shown as common is applied to
  // every paragraph, so it must be common.
  const TDVRect& offsets = background.BorderOffsets;
  if (offsets.Left != padding_.Left) usePadding_.Left = false;
  if (offsets.Top != padding_.Top) usePadding_.Top = false;
  if (offsets.Right != padding_.Right) usePadding_.Right = false;
  if (offsets.Bottom != padding_.Bottom) usePadding_.Bottom = false;
}

void TdvActionFillColor::Gather(TCustomDocViewEdit& editor) {
  textFound_ = paraFound_ = textsDiffer_ = parasDiffer_ = false;
  textColor_ = paraColor_ = clNone;
  padding_ = TDVRect();
  usePadding_.SetAll(true);
  int startNo = -1, endNo = -1;
  GetSelectionBounds(editor, startNo, endNo);
  int data = -1;
  if (startNo >= 0) IterateDVData(editor.DVData(), editor, data, startNo, endNo);
}

void TdvActionFillColor::Offer(TfrmDVFillColor& form, TCustomDocViewEdit& editor) {
  form.AddTarget("text", ftText);
  form.AddTarget("paragraph", ftParagraph);
  int chosen = -1;
  TCustomDocViewEdit* holder = nullptr;
  if (const TDVTableItemInfo* table = editor.GetCurrentItemEx<TDVTableItemInfo>(holder)) {
    int row = -1, col = -1, rowCount = 0, colCount = 0;
    const bool edited = table->GetEditedCell(row, col) != nullptr;
    const bool cellsSelected = edited || table->GetSelectionRect(row, col, rowCount, colCount);
    if (cellsSelected) {
      form.AddTarget("cell", ftCell);
      if (!edited) {
        chosen = form.cmb->count() - 1;
        const auto cells = TargetCells(*table, clNone);
        bool shared = !cells.empty();
        const TColor first = shared ? table->GetCells(cells[0].Row, cells[0].Col)->Color : clNone;
        for (const auto& cell : cells) shared = shared && table->GetCells(cell.Row, cell.Col)->Color == first;
        if (shared) form.SetChosenColor(first, true);
      }
    }
    form.AddTarget("table", ftTable);
    if (!cellsSelected) {
      chosen = form.cmb->count() - 1;
      form.SetChosenColor(table->Color, true);
    }
  }
  if (chosen < 0) {
    TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
    if (top.SelectionExists()) {
      chosen = 0;
      if (textFound_ && !textsDiffer_) form.SetChosenColor(textColor_, true);
    } else {
      chosen = 1;
      if (paraFound_ && !parasDiffer_) form.SetChosenColor(paraColor_, true);
    }
  }
  form.SetTargetIndex(chosen);
}

void TdvActionFillColor::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* found = GetControl(target);
  if (!found || !found->Style()) return;
  Gather(*found->GetTopLevelEditor());
  TfrmDVFillColor form;
  form.SetColorDialog(DVA_ColorDialog.get());
  Offer(form, *found);
  form.SetPadding(padding_, usePadding_);
  const TControlRef<TCustomDocViewEdit> editor(found);
  if (form.ShowModal() != mrOk || !form.ColorDefined() || !editor.get()) return;
  TDVRect padding;
  TDVBooleanRect usePadding;
  form.GetPadding(padding, usePadding);
  Apply(*editor.get(), form.TargetCode(), form.ChosenColor(), padding, usePadding);
}

void TdvActionFillColor::Apply(TCustomDocViewEdit& editor, int target, TColor color, const TDVRect& padding,
                               const TDVBooleanRect& usePadding) {
  switch (target) {
    case ftTable:
    case ftCell: {
      // Looked up again: the dialog ran the event loop.
      TCustomDocViewEdit* holder = nullptr;
      TDVTableItemInfo* table = editor.GetCurrentItemEx<TDVTableItemInfo>(holder);
      if (!table) return;
      // Either is one undoable step that reports the change.
      if (target == ftTable) table->SetProperty("Color", static_cast<int32_t>(color));
      else table->SetCellsProperty("Color", TargetCells(*table, color));
      break;
    }
    case ftParagraph: {
      TdvActionParaColorAndPadding paragraphs;
      paragraphs.UserInterface = dvacNone;
      paragraphs.Color = color;
      paragraphs.SetPadding(padding);
      paragraphs.SetUsePadding(usePadding);
      paragraphs.ExecuteCommand(editor, 0);
      break;
    }
    case ftText: {
      TdvActionFontBackColor text;
      text.UserInterface = dvacNone;
      text.Color = color;
      text.ExecuteCommand(editor, 0);
      break;
    }
    default: break;
  }
}

}  // namespace quillet
