#include "commands/actions/edit_actions.h"

#include "commands/dialogs/list_dialog.h"
#include "editing/control/editor.h"
#include "platform/ui/clipboard.h"

namespace quillet {

namespace {

// The resolved editor's state, or disabled without one.
template <class Test>
void EnableBy(TdvAction& action, TCustomControl* target, Test test) {
  TCustomDocViewEdit* editor = action.GetControl(target);
  action.setEnabled(editor && test(*editor));
}

// Undo and redo act in the innermost open cell, which passes on to the
// editors around it when it has nothing: something anywhere on that chain
// counts.
bool AnyOnChain(TCustomDocViewEdit& editor, TDVUndoType (TCustomDocViewEdit::*kind)() const) {
  for (TCustomDocViewEdit* e = &editor; e; e = dynamic_cast<TCustomDocViewEdit*>(e->GetInplaceEditor()))
    if ((e->*kind)() != dvutNone) return true;
  return false;
}

}  // namespace

void TdvActionUndo::UpdateTarget(TCustomControl* target) {
  EnableBy(*this, target, [](TCustomDocViewEdit& e) { return AnyOnChain(e, &TCustomDocViewEdit::UndoAction); });
}

void TdvActionUndo::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->Undo();
}

void TdvActionRedo::UpdateTarget(TCustomControl* target) {
  EnableBy(*this, target, [](TCustomDocViewEdit& e) { return AnyOnChain(e, &TCustomDocViewEdit::RedoAction); });
}

void TdvActionRedo::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->Redo();
}

void TdvActionCut::UpdateTarget(TCustomControl* target) {
  EnableBy(*this, target, [](TCustomDocViewEdit& e) { return e.SelectionExists(); });
}

void TdvActionCut::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->CutDef();
}

void TdvActionCopy::UpdateTarget(TCustomControl* target) {
  EnableBy(*this, target, [](TCustomDocViewEdit& e) { return e.SelectionExists(); });
}

void TdvActionCopy::ExecuteTarget(TCustomControl* target) {
  // The selection may be inside an open cell: copy from there.
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->GetTopLevelEditor()->CopyDef();
}

void TdvActionPaste::UpdateTarget(TCustomControl* target) {
  EnableBy(*this, target, [](TCustomDocViewEdit& e) { return e.GetTopLevelEditor()->CanPaste(); });
}

void TdvActionPaste::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) editor->Paste();
}

bool PasteAs(TCustomDocViewEdit& editor, int code) {
  TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
  if (!top.BeforeChange(false)) return false;
  switch (code) {
    case pfDVF: return top.PasteDVF();
    case pfRTF: return top.PasteRTF();
    case pfText: return top.PasteText();
    case pfUnicodeText: return top.PasteTextW();
    case pfBitmap: return top.PasteBitmap(false);
    case pfMetafile: return top.PasteMetafile(false);
    default: return false;
  }
}

void TdvActionPasteSpecial::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TfrmDVList form;
  form.InitPasteAs(DVFCaption, Clipboard());
  // The first entry is chosen when there is one: none means an empty list.
  if (form.SelectedCode() == 0) return;
  if (form.ShowModal() == mrOk) PasteAs(*editor, form.SelectedCode());
}

void TdvActionSelectAll::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  editor->SelectAll();
  editor->SetFocus();
  editor->Invalidate();
}

}  // namespace quillet
