#pragma once
// The base of the engine's and the command layer's dialogs: a Qt dialog that
// takes the dialog font and the visual-styles setting when it is created. It
// lives here, below the command layer, so that the engine's own dialogs (the
// print preview) derive from it without reaching up.
#include <functional>
#include <string>
#include <vector>

class QDialog;

namespace quillet {

class TDVScroller;

// The font dialogs use when it is installed; none (empty) keeps Qt's.
inline std::string DVA_DialogFontName;
// Visual styles on the dialogs' scrolling controls.
inline bool DVA_UseXPThemes = true;

// Results of a modal dialog.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TfrmDVBase {
 public:
  TfrmDVBase();
  virtual ~TfrmDVBase();
  TfrmDVBase(const TfrmDVBase&) = delete;
  TfrmDVBase& operator=(const TfrmDVBase&) = delete;

  QDialog* Dialog() const { return dialog_; }
  // Shows the dialog modally and answers its TModalResult.
  int ShowModal();
  void Close(TModalResult result);

  // The dialog font when installed, then the visual-styles setting on the
  // scrolling controls. Derived dialogs call it first from their own.
  virtual void FormCreate();
  void SetUseXPThemes(bool value);

 protected:
  // Scrolling controls that follow the visual-styles setting.
  void AddThemedControl(TDVScroller* control);
  // Any other control that follows it, through its own setter (the command
  // layer's controls, which this layer cannot name).
  void AddThemedControl(std::function<void(bool)> setUseXPThemes) { themed_.push_back(std::move(setUseXPThemes)); }

 private:
  QDialog* dialog_;  // owned; deleted with the form
  std::vector<std::function<void(bool)>> themed_;
};

}  // namespace quillet
