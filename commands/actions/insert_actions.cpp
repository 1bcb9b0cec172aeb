#include "commands/actions/insert_actions.h"

#include "commands/actions/control_panel.h"
#include "commands/dialogs/item_prop_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/table_types.h"

namespace quillet {

namespace {

// The innermost editor of the command's target: the open cell's editor
// while a cell is being edited.
TCustomDocViewEdit* TopLevel(TdvAction& action, TCustomControl* target) {
  TCustomDocViewEdit* editor = action.GetControl(target);
  return editor ? editor->GetTopLevelEditor() : nullptr;
}

}  // namespace

void TdvActionInsertHLine::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* top = TopLevel(*this, target);
  setEnabled(top && !top->EditData().FPartialSelectedItem);
}

void TdvActionInsertHLine::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->InsertBreak(Width, dvbsLine, Color);
}

void TdvActionInsertPageBreak::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  setEnabled(editor && !editor->GetInplaceEditor());
}

void TdvActionInsertPageBreak::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->InsertPageBreak();
}

void TdvActionRemovePageBreak::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* top = TopLevel(*this, target);
  int itemNo = top ? top->GetCurItemNo() : -1;
  if (itemNo < 0) {
    setEnabled(false);
    return;
  }
  const TDVEditDVData& data = top->EditData();
  // A list paragraph keeps its page break on the marker before the caret's
  // item; removing takes that one, so it must enable the command too.
  if (itemNo > 0 && data.GetItemStyle(itemNo - 1) == dvsListMarker) --itemNo;
  setEnabled(data.GetItem(itemNo)->PageBreakBefore());
}

void TdvActionRemovePageBreak::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* top = TopLevel(*this, target)) top->RemoveCurrentPageBreak();
}

void TdvActionItemProperties::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* top = TopLevel(*this, target);
  const TCustomDVItemInfo* item = top && !top->SelectionExists() ? top->GetCurrentItem() : nullptr;
  const int32_t style = item ? item->StyleNo : 0;
  setEnabled(style == dvsPicture || style == dvsHotPicture || style == dvsBreak || style == dvsTable);
}

void TdvActionItemProperties::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TfrmDVItemProp form;
  form.ColorDialog = DVA_ColorDialog.get();
  form.Filter = GraphicFilter;
  if (form.SetItem(*editor) && form.ShowModal() == mrOk) form.GetItem(*editor);
}

}  // namespace quillet
