#pragma once
// The base of the engine's and the command layer's dialogs: a Qt dialog that
// takes the dialog font and the visual-styles setting when it is created. It
// lives here, below the command layer, so that the engine's own dialogs (the
// print preview) derive from it without reaching up.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QDialog;

namespace quillet {

class TDVScroller;

// The font dialogs use when it is installed; none (empty) keeps Qt's.
inline std::string DVA_DialogFontName;
// Visual styles on the dialogs' themed controls.
inline bool DVA_UseVisualStyles = true;

// Results of a modal dialog.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TfrmDVBase;
// Runs a dialog modally and answers its TModalResult. Tests put one in place
// that shows the real dialog, drives it and reads ModalResult.
using TModalRunner = std::function<int(TfrmDVBase& form)>;

class TfrmDVBase {
 public:
  TfrmDVBase();
  virtual ~TfrmDVBase();
  TfrmDVBase(const TfrmDVBase&) = delete;
  TfrmDVBase& operator=(const TfrmDVBase&) = delete;

  QDialog* Dialog() const { return dialog_; }
  // Shows the dialog modally through the runner in place and answers its
  // TModalResult.
  int ShowModal();
  void Close(TModalResult result);
  // How the dialog was closed: mrOk when accepted, else mrCancel (Esc too).
  int ModalResult() const;

  // The dialog font when installed, then the visual-styles setting on the
  // scrolling controls. Derived dialogs call it first from their own.
  virtual void FormCreate();
  void SetUseVisualStyles(bool value);

  // Runs each time the dialog shows, before it is painted: derived dialogs
  // fill their controls here.
  std::function<void()> OnShow;

 protected:
  // Scrolling controls that follow the visual-styles setting.
  void AddThemedControl(TDVScroller* control);
  // Any other control that follows it, through its own setter (the command
  // layer's controls, which this layer cannot name).
  void AddThemedControl(std::function<void(bool)> setUseVisualStyles) {
    themed_.push_back(std::move(setUseVisualStyles));
  }

 private:
  class TShowFilter;
  QDialog* dialog_;  // owned; deleted with the form
  std::unique_ptr<TShowFilter> showFilter_;
  std::vector<std::function<void(bool)>> themed_;
};

// Puts a runner in place for the scope, the previous one back after it.
class TScopedModalRunner {
 public:
  explicit TScopedModalRunner(TModalRunner runner);
  ~TScopedModalRunner();
  TScopedModalRunner(const TScopedModalRunner&) = delete;
  TScopedModalRunner& operator=(const TScopedModalRunner&) = delete;

 private:
  TModalRunner saved_;
};

}  // namespace quillet
