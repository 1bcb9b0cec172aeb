// New and open: both replace the editor's document once the close question
// allowed it.
#include <exception>

#include "commands/actions/file_actions.h"
#include "commands/actions/file_support.h"
#include "editing/control/editor.h"
#include "platform/ui/application.h"

namespace quillet {

// ---------------------------------------------------------------- new

TdvActionNew::TdvActionNew(QObject* owner) : TdvAction(owner) {}

TdvActionSave& TdvActionNew::GetActionSave() const {
  TdvActionSave* save = ActionSave ? ActionSave.data() : FindComponentByClass<TdvActionSave>(parent());
  if (!save) throw EActionError(std::string(LoadResString(dvrsNoSaveAction)));
  return *save;
}

bool TdvActionNew::MayReplace(TCustomDocViewEdit& editor, TdvActionSave& save) const {
  if (save.FindDoc(&editor) < 0) save.AddDoc(editor, DefaultFileName, false, false, false, ffeDVF);
  return save.CanCloseDoc(editor);
}

void TdvActionNew::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TdvActionSave& save = GetActionSave();
  if (!MayReplace(*editor, save)) return;
  editor->Clear();
  editor->Format();
  if (AutoDeleteUnusedStyles) editor->DeleteUnusedStyles(true, true);
  save.AddDoc(*editor, DefaultFileName, false, false, false, ffeDVF);
}

// ---------------------------------------------------------------- open

TdvActionOpen::TdvActionOpen(QObject* owner)
    : TdvActionNew(owner),
      DVFFilter(LoadResString(dvrsFilterDVF)),
      DefaultExt(LoadResString(dvrsDefaultExt)) {}

void TdvActionOpen::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  if (!MayReplace(*editor, GetActionSave())) return;
  const std::optional<TImportChoice> choice =
      AskImportFile(DialogTitle, DefaultExt, FilterIndex, Filter, DVFFilter, nullptr);
  if (choice) LoadFile(*editor, choice->FileName, choice->Format);
}

bool TdvActionOpen::LoadFile(TCustomDocViewEdit& editor, const std::string& fileName, TdvFileOpenFilter format) {
  TdvActionSave& save = GetActionSave();
  const int32_t textStyleNo = editor.CurTextStyleNo(), paraStyleNo = editor.CurParaStyleNo();
  editor.Clear();
  editor.SetCurTextStyleNo(textStyleNo);
  editor.SetCurParaStyleNo(paraStyleNo);
  bool ok = false;
  TdvFileSaveFilter saved = ffeDVF;
  try {
    const TScopedHourglass hourglass;
    if (format == ffiTextAuto) format = ReadsAsUnicode(fileName) ? ffiTextUnicode : ffiTextANSI;
    switch (format) {
      case ffiDVF: ok = editor.LoadDVF(fileName); break;
      case ffiRTF:
        ok = editor.LoadRTF(fileName);
        saved = ffeRTF;
        break;
      case ffiTextANSI:
        ok = editor.LoadText(fileName, textStyleNo, paraStyleNo, false);
        saved = ffeTextANSI;
        break;
      case ffiTextUnicode:
        ok = editor.LoadTextW(fileName, textStyleNo, paraStyleNo, false);
        saved = ffeTextUnicode;
        break;
      default: break;
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (ok) {
    save.AddDoc(editor, fileName, false, false, true, saved);
  } else {
    // Saving the empty document must not write it over the file it came from.
    save.AddDoc(editor, DefaultFileName, false, false, false, ffeDVF);
    ShowFileMessage(dvrsLoadError, MB_ICONERROR);
    editor.Modified = true;
  }
  editor.Format();
  return ok;
}

}  // namespace quillet
