#include "editing/control/editor.h"

namespace quillet {

TCustomDocViewEdit::TCustomDocViewEdit(QWidget* parent)
    : TCustomDocViewEdit(parent, [](TCustomDocViewEdit& editor) { return std::make_unique<TDVEditDVData>(editor); }) {}

TCustomDocViewEdit::TCustomDocViewEdit(QWidget* parent, const TMakeEditData& makeData)
    : TCustomDocView(parent, [&makeData](TCustomDocView& view) -> std::unique_ptr<TDocViewDVData> {
        return makeData(static_cast<TCustomDocViewEdit&>(view));
      }) {
  // Hyperlinks work only while read-only (not yet here), and partial
  // reformatting reads line bottoms back from the drawing items, which the
  // external leading would widen.
  Flags = static_cast<TDVFlags>((Flags | dvflRootEditor) & ~(dvflUseJumps | dvflUseExternalLeading));
}

TCustomDocViewEdit::~TCustomDocViewEdit() {
  // The records announce the items they hold while the editor still answers.
  EditData().UndoList->Clear();
  EditData().RedoList->Clear();
}

bool TCustomDocViewEdit::BeforeChange(bool fromOutside) {
  const bool allowed = Style() && (fromOutside || !EditData().FCaptureMouseItem);
  if (!allowed) {
    EditData().Beep();
    return false;
  }
  if (OnChanging) OnChanging(*this);
  return true;
}

void TCustomDocViewEdit::DoChange(bool clearRedo) {
  Modified = true;
  if (clearRedo) EditData().RedoList->Clear();
  if (OnChange) OnChange(*this);
}

}  // namespace quillet
