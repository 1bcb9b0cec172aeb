#pragma once
// The file commands: new, open, save, save as, export, and inserting a file
// or a picture at the caret. The save command keeps a record per editor of
// the file its document belongs to and that file's format, so that save
// writes back where the document came from and closing a modified document
// asks first; new, open and save as find it among their owner's commands.
//
//   auto* save = new TdvActionSave(module);
//   auto* saveAs = new TdvActionSaveAs(module);  // found by save, and save by it
//   auto* open = new TdvActionOpen(module);
#include <QMetaObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/actions/action.h"
#include "commands/actions/file_filters.h"
#include "engine/model/export_types.h"
#include "engine/model/item_info.h"

namespace quillet {

class TdvActionSave;
class TdvActionSaveAs;
class TDVTextConverter;

// A command that cannot run because its partner command is missing.
class EActionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// isNew: the document belongs to no file yet.
using TDVFileChangeEvent = std::function<void(TdvActionSave& sender, TCustomDocViewEdit& editor,
                                              const std::string& fileName, TdvFileSaveFilter format, bool isNew)>;
// Makes the converter component the export and insert-file commands use.
using TDVTextConverterFactory = std::function<std::unique_ptr<TDVTextConverter>()>;

// The file an editor's document belongs to. Defined: the document was
// loaded from or saved to that file in that format.
struct TdvaDocumentInfo {
  TCustomDocViewEdit* Editor = nullptr;
  std::string FileName;
  TdvFileSaveFilter FileFormat = ffeDVF;
  bool Defined = false;
};

// "Untitled." with the default extension.
std::string DefaultDocumentName();

class TdvActionNew : public TdvAction {
 public:
  explicit TdvActionNew(QObject* owner = nullptr);

  // Else the first save command among the owner's commands.
  QPointer<TdvActionSave> ActionSave;
  bool AutoDeleteUnusedStyles = true;
  std::string DefaultFileName = DefaultDocumentName();

  void ExecuteTarget(TCustomControl* target) override;

 protected:
  // The save command; EActionError when there is none.
  TdvActionSave& GetActionSave() const;
  // Gives the editor a record and asks the close question; false when the
  // document must stay.
  bool MayReplace(TCustomDocViewEdit& editor, TdvActionSave& save) const;
};

class TdvActionOpen : public TdvActionNew {
 public:
  explicit TdvActionOpen(QObject* owner = nullptr);

  std::string DialogTitle;
  TdvFileOpenFilterSet Filter = TdvFileOpenFilterSet::Range(ffiDVF, ffiTextAuto);
  std::string DVFFilter;
  std::string DefaultExt;
  int FilterIndex = 1;

  void ExecuteTarget(TCustomControl* target) override;
  // Replaces the editor's document by the file's. A failure is reported and
  // leaves the editor empty, formatted and modified, its record a new
  // document's, so that saving cannot write the empty document over a file.
  bool LoadFile(TCustomDocViewEdit& editor, const std::string& fileName, TdvFileOpenFilter format);
};

class TdvActionSave : public TdvAction {
 public:
  explicit TdvActionSave(QObject* owner = nullptr);
  ~TdvActionSave() override;

  // Else the first save-as command among the owner's commands.
  QPointer<TdvActionSaveAs> ActionSaveAs;
  TDVFileChangeEvent OnDocumentFileChange;
  // Saving in these formats asks first, every time.
  TdvFileSaveFilterSet LostFormatWarning{ffeRTF, ffeTextANSI, ffeTextUnicode};

  void ExecuteTarget(TCustomControl* target) override;

  // Finds or appends the editor's record and sets it; then saves it
  // (saveFile) or reports the change. Answers the record's index.
  int AddDoc(TCustomDocViewEdit& editor, const std::string& fileName, bool suppressLFWarn, bool saveFile,
             bool defined, TdvFileSaveFilter fileFormat);
  int FindDoc(const TCustomDocViewEdit* editor) const;
  // The editor's record goes; an editor that is freed loses its record so.
  void DeleteDoc(const TCustomDocViewEdit* editor);
  // Writes the document to its file (through save as when it has none);
  // true when it was written.
  bool SaveDoc(int index, bool suppressLFWarn);
  // Asks whether a modified document is saved first; false when the user
  // cancelled or the save failed.
  bool CanCloseDoc(TCustomDocViewEdit& editor);
  void DoDocumentFileChange(int index);

  int DocCount() const { return static_cast<int>(docs_.size()); }
  const TdvaDocumentInfo& Doc(int index) const { return docs_[static_cast<size_t>(index)].Info; }

  // The format question for fileName; true with Yes.
  static bool ConfirmFormat(const std::string& fileName);

 private:
  TdvActionSaveAs& GetActionSaveAs() const;

  struct TRecord {
    TdvaDocumentInfo Info;
    // Deletes the record when the editor's window goes.
    QMetaObject::Connection Watch;
  };
  std::vector<TRecord> docs_;
};

// File commands with a dialog.
class TdvActionCustomIO : public TdvAction {
 public:
  using TdvAction::TdvAction;

  std::string DialogTitle;
  std::string DefaultExt;
  int FilterIndex = 1;
};

// Those that offer the document's own format too.
class TdvActionCustomFileIO : public TdvActionCustomIO {
 public:
  explicit TdvActionCustomFileIO(QObject* owner = nullptr);

  std::string DVFFilter;
  // Unset: the converters of the office suite on this machine.
  TDVTextConverterFactory ConverterFactory;

 protected:
  std::unique_ptr<TDVTextConverter> MakeConverter() const;
};

class TdvActionSaveAs : public TdvActionCustomFileIO {
 public:
  explicit TdvActionSaveAs(QObject* owner = nullptr);

  // Formats beyond UTF-16 text are not offered: a record keeps only those.
  TdvFileSaveFilterSet Filter = TdvFileSaveFilterSet::Range(ffeDVF, ffeTextUnicode);
  QPointer<TdvActionSave> ActionSave;

  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionExport : public TdvActionCustomFileIO {
 public:
  explicit TdvActionExport(QObject* owner = nullptr);

  TdvFileExportFilterSet Filter = TdvFileExportFilterSet::Range(ffeDVF, ffeOfficeConverters);
  // The HTML page's title; empty: the file's name.
  std::string FileTitle;
  std::string ImagePrefix = "img";
  TDVSaveOptions SaveOptions = 0;

  void ExecuteTarget(TCustomControl* target) override;
  // Writes a copy of the document; neither its record nor Modified changes.
  bool ExportFile(TCustomDocViewEdit& editor, const std::string& fileName, TdvFileExportFilter format,
                  TDVTextConverter* converter, int converterIndex);
};

class TdvActionInsertFile : public TdvActionCustomFileIO {
 public:
  explicit TdvActionInsertFile(QObject* owner = nullptr);

  TdvFileImportFilterSet Filter = TdvFileImportFilterSet::Range(ffiDVF, ffiOfficeConverters);

  // Enabled while no table has a range of cells selected.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
  // The file's content at the caret as one undoable change; a failure is
  // reported and leaves the document as it was.
  bool InsertFile(TCustomDocViewEdit& editor, const std::string& fileName, TdvFileImportFilter format,
                  TDVTextConverter* converter, int converterIndex);
};

class TdvActionInsertPicture : public TdvActionCustomIO {
 public:
  explicit TdvActionInsertPicture(QObject* owner = nullptr);

  // Empty: the picture dialog's own filter.
  std::string Filter;
  TDVVAlign VAlign = dvvaBaseline;

  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

}  // namespace quillet
