// Save and save as, and the save command's records of the editors' files.
#include <QWidget>
#include <algorithm>

#include "commands/actions/file_actions.h"
#include "commands/actions/file_support.h"
#include "editing/control/editor.h"
#include "platform/ui/application.h"

namespace quillet {

std::string DefaultDocumentName() { return "Untitled." + std::string(LoadResString(dvrsDefaultExt)); }

// ---------------------------------------------------------------- save

TdvActionSave::TdvActionSave(QObject* owner) : TdvAction(owner) {}

TdvActionSave::~TdvActionSave() {
  for (TRecord& record : docs_) QObject::disconnect(record.Watch);
}

TdvActionSaveAs& TdvActionSave::GetActionSaveAs() const {
  TdvActionSaveAs* saveAs = ActionSaveAs ? ActionSaveAs.data() : FindComponentByClass<TdvActionSaveAs>(parent());
  if (!saveAs) throw EActionError(std::string(LoadResString(dvrsNoSaveAsAction)));
  return *saveAs;
}

int TdvActionSave::FindDoc(const TCustomDocViewEdit* editor) const {
  const auto it = std::find_if(docs_.begin(), docs_.end(), [editor](const TRecord& r) { return r.Info.Editor == editor; });
  return it == docs_.end() ? -1 : static_cast<int>(it - docs_.begin());
}

void TdvActionSave::DeleteDoc(const TCustomDocViewEdit* editor) {
  const int index = FindDoc(editor);
  if (index < 0) return;
  QObject::disconnect(docs_[static_cast<size_t>(index)].Watch);
  docs_.erase(docs_.begin() + index);
}

int TdvActionSave::AddDoc(TCustomDocViewEdit& editor, const std::string& fileName, bool suppressLFWarn,
                          bool saveFile, bool defined, TdvFileSaveFilter fileFormat) {
  int index = FindDoc(&editor);
  if (index < 0) {
    TRecord record;
    record.Info.Editor = &editor;
    if (QWidget* window = editor.Widget()) {
      TCustomDocViewEdit* gone = &editor;
      record.Watch = QObject::connect(window, &QObject::destroyed, this, [this, gone] { DeleteDoc(gone); });
    }
    docs_.push_back(std::move(record));
    index = DocCount() - 1;
  }
  TdvaDocumentInfo& doc = docs_[static_cast<size_t>(index)].Info;
  doc.FileName = fileName;
  doc.Defined = defined;
  doc.FileFormat = fileFormat;
  if (saveFile) SaveDoc(index, suppressLFWarn);
  else DoDocumentFileChange(index);
  // Saving may have run save as, which finds the record again.
  return FindDoc(&editor);
}

bool TdvActionSave::ConfirmFormat(const std::string& fileName) {
  const std::string text =
      ReplacePlaceholder(LoadResString(dvrsFormatWarning), "%s", FileNameWithoutFolder(fileName));
  return CommonDialogs().MessageBox({text, std::string(LoadResString(dvrsConfirm)), MB_YESNO, MB_ICONQUESTION}) ==
         IDYES;
}

bool TdvActionSave::SaveDoc(int index, bool suppressLFWarn) {
  TCustomDocViewEdit* editor = docs_[static_cast<size_t>(index)].Info.Editor;
  if (!docs_[static_cast<size_t>(index)].Info.Defined) {
    GetActionSaveAs().ExecuteTarget(editor);
    // Save as may have added, replaced or (on failure) undefined the record.
    const int now = FindDoc(editor);
    return now >= 0 && Doc(now).Defined;
  }
  const TdvaDocumentInfo doc = Doc(index);
  if (!suppressLFWarn && LostFormatWarning.Contains(doc.FileFormat) && !ConfirmFormat(doc.FileName)) return false;
  bool ok;
  {
    const TScopedHourglass hourglass;
    ok = WriteDocument(*editor, doc.FileName, doc.FileFormat);
  }
  if (ok) {
    editor->Modified = false;
  } else {
    docs_[static_cast<size_t>(index)].Info.Defined = false;
    ShowFileMessage(dvrsSaveError, MB_ICONERROR);
  }
  DoDocumentFileChange(index);
  return ok;
}

bool TdvActionSave::CanCloseDoc(TCustomDocViewEdit& editor) {
  int index = FindDoc(&editor);
  if (index < 0) index = AddDoc(editor, DefaultDocumentName(), false, false, false, ffeDVF);
  if (!editor.Modified) return true;
  const std::string text =
      ReplacePlaceholder(LoadResString(dvrsSaveChanges), "%s", FileNameWithoutFolder(Doc(index).FileName));
  switch (CommonDialogs().MessageBox(
      {text, std::string(LoadResString(dvrsConfirm)), MB_YESNOCANCEL, MB_ICONQUESTION})) {
    case IDYES: return SaveDoc(index, false);
    case IDNO: return true;
    default: return false;
  }
}

void TdvActionSave::DoDocumentFileChange(int index) {
  if (!OnDocumentFileChange) return;
  const TdvaDocumentInfo doc = Doc(index);
  OnDocumentFileChange(*this, *doc.Editor, doc.FileName, doc.FileFormat, !doc.Defined);
}

void TdvActionSave::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  const int index = FindDoc(editor);
  if (index >= 0) SaveDoc(index, false);
  else GetActionSaveAs().ExecuteTarget(target);
}

// ---------------------------------------------------------------- save as

TdvActionSaveAs::TdvActionSaveAs(QObject* owner) : TdvActionCustomFileIO(owner) {}

void TdvActionSaveAs::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TdvActionSave* save = ActionSave ? ActionSave.data() : FindComponentByClass<TdvActionSave>(parent());
  if (!save) throw EActionError(std::string(LoadResString(dvrsNoSaveAction)));

  std::vector<int> formats;
  TFileQuestion question = FileQuestion(DialogTitle, std::string(), FilterIndex, DefaultExt);
  // A record holds only the formats save writes.
  TdvFileSaveFilterSet offered = Filter;
  for (int format = ffeHTMLCSS; format <= ffeOfficeConverters; ++format)
    offered.Exclude(static_cast<TdvFileExportFilter>(format));
  MakeExportFilter(offered, DVFFilter, formats, question.Filter, nullptr);
  if (const int index = save->FindDoc(editor); index >= 0) {
    const TdvaDocumentInfo& doc = save->Doc(index);
    question.FileName = doc.FileName;
    const auto entry = std::find(formats.begin(), formats.end(), doc.FileFormat);
    if (entry != formats.end()) question.FilterIndex = static_cast<int>(entry - formats.begin()) + 1;
  }
  if (!CommonDialogs().SaveFile(question)) return;
  RepaintActiveWindow();
  TdvFileExportFilter format = ffeDVF;
  int converterIndex = 0;
  GetExportFilterFormat(formats, question.FilterIndex - 1, format, converterIndex);
  if (format == ffeOfficeConverters) return;
  if (save->LostFormatWarning.Contains(format) && !TdvActionSave::ConfirmFormat(question.FileName)) return;
  save->AddDoc(*editor, question.FileName, true, true, true, format);
}

}  // namespace quillet
