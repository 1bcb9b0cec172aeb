#include "editing/control/editor.h"

#include "platform/ui/application.h"

namespace quillet {

TCustomDocViewEdit::TCustomDocViewEdit(QWidget* parent)
    : TCustomDocViewEdit(parent, [](TCustomDocViewEdit& editor) { return std::make_unique<TDVEditDVData>(editor); }) {}

TCustomDocViewEdit::TCustomDocViewEdit(QWidget* parent, const TMakeEditData& makeData)
    // The base calls the factory while it is being built: the data gets this
    // editor as it is, not the base downcast to a type it is not yet.
    : TCustomDocView(parent, [this, &makeData](TCustomDocView&) -> std::unique_ptr<TDocViewDVData> {
        return makeData(*this);
      }) {
  // Hyperlinks work only while read-only or forced (SetReadOnly,
  // BuildJumpsCoords), and partial
  // reformatting reads line bottoms back from the drawing items, which the
  // external leading would widen.
  Flags = static_cast<TDVFlags>((Flags | dvflRootEditor) & ~(dvflUseJumps | dvflUseExternalLeading));
  // The keys that scroll a viewer move the caret, which keeps itself in view.
  KeyboardScroll = false;
  SetImeEnabled(true);
}

TCustomDocViewEdit::~TCustomDocViewEdit() {
  // The records announce the items they hold while the editor still answers.
  EditData().UndoList->Clear();
  EditData().RedoList->Clear();
}

bool TCustomDocViewEdit::BeforeChange(bool fromOutside) {
  const bool allowed = !ReadOnly && Style() && (fromOutside || !EditData().FCaptureMouseItem);
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

bool TCustomDocViewEdit::DeleteSelection() {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->DeleteSelection();
  if (!BeforeChange(false)) return false;
  const bool deleted = DeleteSelectionTraced();
  Refresh();
  return deleted;
}

void TCustomDocViewEdit::CutDef() {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->CutDef();
  if (CopyDef()) DeleteSelection();
}

TCustomDocViewEdit* TCustomDocViewEdit::GetTopLevelEditor() const {
  auto* editor = const_cast<TCustomDocViewEdit*>(this);
  while (auto* inner = dynamic_cast<TCustomDocViewEdit*>(editor->GetInplaceEditor())) editor = inner;
  return editor;
}

void TCustomDocViewEdit::Undo() { GetTopLevelEditor()->UndoOwn(); }

void TCustomDocViewEdit::Redo() { GetTopLevelEditor()->RedoOwn(); }

void TCustomDocViewEdit::UndoOwn() {
  TDVEditDVData& data = EditData();
  if (ReadOnly || data.UndoList->Count() == 0) {
    data.Beep();
    return;
  }
  data.UndoList->Undo(data);
  DoChange(false);
  Refresh();
  FocusAfterUndo();
}

void TCustomDocViewEdit::RedoOwn() {
  TDVEditDVData& data = EditData();
  if (ReadOnly || data.RedoList->Count() == 0) {
    data.Beep();
    return;
  }
  data.RedoList->Redo(data);
  DoChange(false);
  Refresh();
  FocusAfterUndo();
}

void TCustomDocViewEdit::FocusAfterUndo() {
  // An undo that opened a cell leaves the caret in it.
  if (TCustomDocViewEdit* top = GetTopLevelEditor(); top != this)
    top->SetFocus();
  else
    SetFocusSilent();
}

// ---- read-only and the current styles ----

void TCustomDocViewEdit::SetReadOnly(bool value) {
  if (ReadOnly == value) return;
  ReadOnly = value;
  TDVEditDVData& data = EditData();
  if (value)
    data.BuildJumpsCoords(true);
  else
    data.ClearJumpsCoords();
  if (data.CaretOffs >= 0 && data.CaretOffs < static_cast<int32_t>(data.CharEnds.size()))
    data.ChangeCaret(false, false, false, true);
  Invalidate();
}

void TCustomDocViewEdit::SetCurTextStyleNo(int32_t styleNo) {
  TDVEditDVData& data = EditData();
  const bool forced = (data.State & dvstForceStyleChangeEvent) != 0;
  if (styleNo == data.FCurTextStyleNo && !forced) return;
  data.State &= ~dvstForceStyleChangeEvent;
  data.FCurTextStyleNo = styleNo;
  CurTextStyleChange();
}

void TCustomDocViewEdit::SetCurParaStyleNo(int32_t paraNo) {
  TDVEditDVData& data = EditData();
  const bool forced = (data.State & dvstForceStyleChangeEvent) != 0;
  if (paraNo == data.FCurParaStyleNo && !forced) return;
  data.State &= ~dvstForceStyleChangeEvent;
  data.FCurParaStyleNo = paraNo;
  CurParaStyleChange();
}

void TCustomDocViewEdit::CurTextStyleChange() {
  if (Style() && !Destroying() && OnCurTextStyleChanged) OnCurTextStyleChanged(*this);
}

void TCustomDocViewEdit::CurParaStyleChange() {
  if (Style() && !Destroying() && OnCurParaStyleChanged) OnCurParaStyleChanged(*this);
}

// ---- the caret ----

void TCustomDocViewEdit::AfterCaretMove() {
  RestartCaretBlink();
  if (OnCaretMove && !Destroying()) OnCaretMove(*this);
}

TRect TCustomDocViewEdit::CaretClientRect() const {
  const TRect& r = EditData().CaretRect;
  const int32_t h = EditData().GetHOffs(), v = EditData().GetVOffs();
  return TRect{r.Left - h, r.Top - v, r.Right - h, r.Bottom - v};
}

void TCustomDocViewEdit::InvalidateCaret() {
  // Where it was painted last and where it stands now.
  InvalidateRect(paintedCaret_);
  InvalidateRect(CaretClientRect());
}

void TCustomDocViewEdit::RestartCaretBlink() {
  caretOn_ = true;
  InvalidateCaret();
  const int period = CaretBlinkTime();
  if (Focused() && period > 0)
    SetTimer(kCaretTimerId, static_cast<uint32_t>(period));
  else
    KillTimer(kCaretTimerId);
}

void TCustomDocViewEdit::Paint(TCanvas& canvas) {
  TCustomDocView::Paint(canvas);
  PaintPreedit(canvas);
  if (!CaretVisible() || !EditData().CaretShown()) return;
  paintedCaret_ = CaretClientRect();
  canvas.Brush() = TBrush{ColorToRGB(clWindowText), bsSolid};
  canvas.FillRect(paintedCaret_);
}

void TCustomDocViewEdit::WMTimer(uint32_t id) {
  if (id != kCaretTimerId) {
    TCustomDocView::WMTimer(id);
    return;
  }
  caretOn_ = !caretOn_;
  InvalidateCaret();
}

void TCustomDocViewEdit::WMSetFocus(TFocusReason reason) {
  TCustomDocView::WMSetFocus(reason);
  RestartCaretBlink();
}

void TCustomDocViewEdit::WMKillFocus(TFocusReason reason) {
  TCustomDocView::WMKillFocus(reason);
  KillTimer(kCaretTimerId);
  InvalidateCaret();
}

}  // namespace quillet
