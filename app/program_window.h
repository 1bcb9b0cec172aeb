#pragma once
// The host program's window: the main form on one document, from the
// embedded default store's record or from a DVF file. Saving (the form's
// save item, Ctrl+S) writes the document with its reviewers and annotations
// back where it came from, and so do closing with unsaved changes and
// leaving it through new or open. A document that new, open or save as
// gave a file of its own is the save command's from then on: saving and
// closing are the form's own (save as for a new document, the close
// question).
#include <memory>
#include <string>

class QWidget;

namespace quillet {

class TKeyboardFilter;
class TMainForm;

class TProgramWindow {
 public:
  TProgramWindow();
  ~TProgramWindow();
  TProgramWindow(const TProgramWindow&) = delete;
  TProgramWindow& operator=(const TProgramWindow&) = delete;

  TMainForm& Form() const { return *form_; }
  QWidget* Widget() const;

  // Shows the default record, made with the demo document on a first run.
  // False, with the reason in `error`, when it cannot be read.
  bool OpenDefaultStore(std::string& error);
  // Shows a DVF file. False, with the reason in `error`, when it is not one.
  bool OpenFile(const std::string& fileName, std::string& error);

 private:
  void Shown(const std::string& title);
  // Writes the document back where it came from; false, with the reason in
  // `error`, when that failed.
  bool SaveDocument(std::string& error);
  bool CloseQuery();

  std::unique_ptr<TMainForm> form_;
  // Hands the form's keyboard hook every key pressed while its window is active.
  std::unique_ptr<TKeyboardFilter> keys_;
  std::string fileName_;  // empty: the default record
  bool opened_ = false;
  // The document is the record's or the file's shown, not the save command's.
  bool writesBack_ = false;
};

}  // namespace quillet
