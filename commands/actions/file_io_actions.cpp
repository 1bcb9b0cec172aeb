// Export, insert file and insert picture: commands that write a copy of the
// document or add a file's content at the caret, leaving the document's
// record alone.
#include <exception>

#include "commands/actions/file_actions.h"
#include "commands/actions/file_support.h"
#include "editing/control/editor.h"
#include "engine/base/shared_routines.h"
#include "interchange/convert/text_converter.h"
#include "platform/core/abort.h"
#include "platform/core/stream.h"
#include "platform/gfx/picture_file.h"
#include "platform/ui/application.h"

namespace quillet {

namespace {

// Inserting is refused while a table has a range of cells selected.
bool CanInsert(TdvAction& action, TCustomControl* target) {
  TCustomDocViewEdit* editor = action.GetControl(target);
  return editor && !editor->GetTopLevelEditor()->EditData().FPartialSelectedItem;
}

}  // namespace

// ---------------------------------------------------------------- common

TdvActionCustomFileIO::TdvActionCustomFileIO(QObject* owner)
    : TdvActionCustomIO(owner), DVFFilter(LoadResString(dvrsFilterDVF)) {
  DefaultExt = LoadResString(dvrsDefaultExt);
}

std::unique_ptr<TDVTextConverter> TdvActionCustomFileIO::MakeConverter() const {
  return ConverterFactory ? ConverterFactory() : std::make_unique<TDVTextConverter>();
}

// ---------------------------------------------------------------- export

TdvActionExport::TdvActionExport(QObject* owner) : TdvActionCustomFileIO(owner) {}

void TdvActionExport::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  std::unique_ptr<TDVTextConverter> converter;
  if (Filter.Contains(ffeOfficeConverters)) converter = MakeConverter();
  std::vector<int> formats;
  TFileQuestion question = FileQuestion(DialogTitle, std::string(), FilterIndex, DefaultExt);
  MakeExportFilter(Filter, DVFFilter, formats, question.Filter, converter.get());
  if (!CommonDialogs().SaveFile(question)) return;
  FilterIndex = question.FilterIndex;
  RepaintActiveWindow();
  TdvFileExportFilter format = ffeDVF;
  int converterIndex = 0;
  GetExportFilterFormat(formats, question.FilterIndex - 1, format, converterIndex);
  ExportFile(*editor, question.FileName, format, converter.get(), converterIndex);
}

bool TdvActionExport::ExportFile(TCustomDocViewEdit& editor, const std::string& fileName,
                                 TdvFileExportFilter format, TDVTextConverter* converter, int converterIndex) {
  const std::string title = FileTitle.empty() ? FileNameWithoutFolder(fileName) : FileTitle;
  bool ok = false;
  try {
    const TScopedHourglass hourglass;
    switch (format) {
      case ffeHTMLCSS: ok = editor.SaveHTMLEx(fileName, title, ImagePrefix, "", "", SaveOptions); break;
      case ffeHTML: ok = editor.SaveHTML(fileName, title, ImagePrefix, SaveOptions); break;
      case ffeOfficeConverters: ok = converter && converter->ExportDV(fileName, editor, converterIndex); break;
      default: ok = WriteDocument(editor, fileName, format); break;
    }
  } catch (const EAbort&) {
    // Cancelled while converting: the user knows.
    return false;
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) ShowFileMessage(dvrsSaveError, MB_ICONERROR);
  return ok;
}

// ---------------------------------------------------------------- insert file

TdvActionInsertFile::TdvActionInsertFile(QObject* owner) : TdvActionCustomFileIO(owner) {}

void TdvActionInsertFile::UpdateTarget(TCustomControl* target) { setEnabled(CanInsert(*this, target)); }

void TdvActionInsertFile::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  std::unique_ptr<TDVTextConverter> converter;
  if (Filter.Contains(ffiOfficeConverters)) converter = MakeConverter();
  const std::optional<TImportChoice> choice =
      AskImportFile(DialogTitle, DefaultExt, FilterIndex, Filter, DVFFilter, converter.get());
  if (choice) InsertFile(*editor, choice->FileName, choice->Format, converter.get(), choice->ConverterIndex);
}

bool TdvActionInsertFile::InsertFile(TCustomDocViewEdit& editor, const std::string& fileName,
                                     TdvFileImportFilter format, TDVTextConverter* converter, int converterIndex) {
  bool ok = false;
  try {
    const TScopedHourglass hourglass;
    if (format == ffiTextAuto) format = ReadsAsUnicode(fileName) ? ffiTextUnicode : ffiTextANSI;
    switch (format) {
      case ffiDVF: ok = editor.InsertDVFFromFileEd(fileName); break;
      case ffiRTF: ok = editor.InsertRTFFromFileEd(fileName); break;
      case ffiTextANSI: ok = editor.InsertTextFromFile(fileName); break;
      case ffiTextUnicode: ok = editor.InsertTextFromFileW(fileName); break;
      case ffiOfficeConverters:
        if (converter && converter->ImportRTF(fileName, converterIndex)) {
          converter->Stream.SetPosition(0);
          ok = editor.InsertRTFFromStreamEd(converter->Stream);
          converter->Stream.Clear();
        }
        break;
      default: break;
    }
  } catch (const EAbort&) {
    editor.Format();
    return false;
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) {
    editor.Format();
    ShowFileMessage(dvrsLoadError, MB_ICONERROR);
  }
  return ok;
}

// ---------------------------------------------------------------- insert picture

TdvActionInsertPicture::TdvActionInsertPicture(QObject* owner) : TdvActionCustomIO(owner) { DefaultExt = "bmp"; }

void TdvActionInsertPicture::UpdateTarget(TCustomControl* target) { setEnabled(CanInsert(*this, target)); }

void TdvActionInsertPicture::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TFileQuestion question = FileQuestion(DialogTitle, Filter, FilterIndex, DefaultExt);
  if (!CommonDialogs().OpenPicture(question)) return;
  FilterIndex = question.FilterIndex;
  RepaintActiveWindow();
  try {
    const TScopedHourglass hourglass;
    const std::unique_ptr<TGraphic> loaded = LoadPictureFile(question.FileName);
    // The document's picture is made by the engine's factory, so that a
    // program that replaced it gets its own kind of the same class.
    std::unique_ptr<TGraphic> graphic = DV_CreateGraphics(std::string(loaded->ClassName()));
    if (!graphic) throw EInvalidGraphic("No picture class " + std::string(loaded->ClassName()));
    TMemoryStream picture;
    loaded->SaveToStream(picture);
    picture.SetPosition(0);
    graphic->LoadFromStream(picture);
    editor->InsertPicture("", std::move(graphic), VAlign);
  } catch (const std::exception&) {
    ShowFileMessage(dvrsLoadError, MB_ICONWARNING);
  }
}

}  // namespace quillet
