#pragma once
// The page-setup dialog: shows and edits its page options, and keeps default
// margins, header and footer in the settings file "PageSetup.ini". The file
// is the user's to edit: a value it holds that the dialog cannot use gives
// that key's default. The page-number options never go to the file.
//
// Controls are found by their object names (LeftEdit, HdrCenterBut, ...);
// a radio button's "Tag" property is the value it stands for.
#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "commands/dialogs/text_options.h"
#include "engine/view/base_form.h"
#include "platform/gfx/canvas.h"

class QPushButton;
class QWidget;

namespace quillet {

class TDVSettingsFile;

// The text a font style set is stored as, and back. Texts are compared
// exactly; the stored text for bold, italic and underline keeps its
// historical misspelling, and the right spelling is read as well. None for
// a text that names no set.
std::string FontStyleText(TFontStyles styles);
std::optional<TFontStyles> FontStylesFromText(std::string_view text);

class TPageSetupForm : public TfrmDVBase {
 public:
  TPageSetupForm();
  ~TPageSetupForm() override;

  TTextOptions TextOptions;
  // What the font dialogs show and answer.
  TFont HeaderFontDialog, FooterFontDialog, PageNumFontDialog;

  // Opens "PageSetup.ini" anew and shows the dialog modally; the modal result.
  int Execute();

  void FormCreate() override;
  // Runs as the dialog shows: the file's defaults and the page-number options.
  void FormShow();
  // Reads every field first; a margin that is no number is reported, its
  // field selected and the dialog stays open with the options untouched.
  void OKButClick();
  void CancelButClick();
  // After confirmation, writes the fields as they stand to the file.
  void SetDefaultButClick();
  void PrinterSetupButClick();
  void PortButClick();
  void HdrFontButClick();
  void FtrFontButClick();
  void PageNumFontButClick();

  // The file the dialog reads and writes; opened when first needed.
  TDVSettingsFile& Ini();

  template <class T>
  T* Control(const char* name) const {
    return Dialog()->findChild<T*>(QString::fromLatin1(name));
  }

 private:
  struct Impl;
  bool Form_To_Data();
  void SaveDefault();
  void GetFont(TFont& font, const std::string& section, const std::string& name);
  void SetFont(const TFont& font, const std::string& section, const std::string& name);
  void DoFontDlg(QPushButton* button, TFont& font);

  std::unique_ptr<Impl> d_;
  std::unique_ptr<TDVSettingsFile> ini_;
};

// "%s %d pt" of the font's name and size.
std::string FontButtonCaption(const TFont& font);

}  // namespace quillet
