#include "commands/actions/action.h"

#include <QApplication>
#include <exception>
#include <memory>

#include "commands/actions/control_panel.h"
#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "engine/layout/formatted_data.h"
#include "platform/core/abort.h"
#include "platform/ui/application.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

TCustomControl* FocusedControl() { return ControlOfWidget(QApplication::focusWidget()); }

void RunGuarded(const std::function<void()>& call) {
  try {
    call();
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    CommonDialogs().MessageBox({e.what(), ApplicationTitle(), MB_OK, MB_ICONERROR});
  }
}

TdvAction::TdvAction(QObject* owner) : QAction(owner) {
  // A menu or a button runs it: what it raises ends there.
  QObject::connect(this, &QAction::triggered, this, [this] { RunGuarded([this] { ExecuteNow(); }); });
}

TdvAction::~TdvAction() = default;

TCustomControl* TdvAction::Candidate(TCustomControl* target) const {
  if (TCustomDocViewEdit* own = Control()) return own;
  if (TCustomDocViewEdit* def = DVA_DefaultControl.get()) return def;
  return target;
}

bool TdvAction::HandlesTarget(TCustomControl* target) {
  return dynamic_cast<TCustomDocViewEdit*>(Candidate(target)) != nullptr;
}

void TdvAction::UpdateTarget(TCustomControl*) { setEnabled(true); }

void TdvAction::ExecuteTarget(TCustomControl*) {}

TCustomDocViewEdit* TdvAction::GetControl(TCustomControl* target) {
  auto* editor = dynamic_cast<TCustomDocViewEdit*>(Candidate(target));
  // A cell editor stands for the editor that holds its table, which passes
  // the command on to the innermost open cell again.
  while (auto* cell = dynamic_cast<TDVTableInplaceEdit*>(editor)) editor = &cell->Outer();
  return editor;
}

void TdvAction::IterateProc(TCustomDVData&, int, int&, TCustomDocViewEdit&) {}

bool TdvAction::ContinueIteration(int&) { return true; }

void TdvAction::IterateDVData(TCustomDVData& dvData, TCustomDocViewEdit& editor, int& data, int startNo, int endNo) {
  const auto* formatted = dynamic_cast<const TCustomDVFormattedData*>(&dvData);
  const TCustomDVItemInfo* partial = formatted ? formatted->FPartialSelectedItem : nullptr;
  if (!partial) {
    startNo = std::max(startNo, 0);
    endNo = std::min(endNo, dvData.ItemCount() - 1);
    for (int i = startNo; i <= endNo && ContinueIteration(data); ++i) IterateProc(dvData, i, data, editor);
    return;
  }
  std::unique_ptr<TDVStoreSubDVData> store;
  for (TCustomDVData* cell = partial->GetSubDVData(store, dvdFirst); cell;
       cell = partial->GetSubDVData(store, dvdNext)) {
    if (cell->State & dvstCompletelySelected) IterateDVData(*cell, editor, data, 0, cell->ItemCount() - 1);
    if (!ContinueIteration(data)) break;
  }
}

void TdvAction::UpdateNow() {
  TCustomControl* target = FocusedControl();
  if (HandlesTarget(target)) UpdateTarget(target);
  else setEnabled(false);
}

void TdvAction::ExecuteNow() {
  TCustomControl* target = FocusedControl();
  if (!HandlesTarget(target)) return;
  ExecuteTarget(target);
}

void GetSelectionBounds(TCustomDocViewEdit& editor, int& startNo, int& endNo) {
  int32_t startOffs = 0, endOffs = 0;
  TDVEditDVData& data = editor.EditData();
  data.GetSelectionBoundsEx(startNo, startOffs, endNo, endOffs, true);
  if (startNo < 0 || endNo < 0) {
    startNo = endNo = -1;
    return;
  }
  if (startNo == endNo && startOffs == endOffs) return;
  if (data.GetOffsAfterItem(startNo) <= startOffs) ++startNo;
  if (data.GetOffsBeforeItem(endNo) >= endOffs) --endNo;
}

}  // namespace quillet
