// Arbitrary bytes as a hand-edited "PageSetup.ini" shown in the page-setup
// dialog: showing never crashes, the fonts read are usable, each alignment
// group has one button checked, and OK either assigns every field or, with
// a margin that is no number, assigns nothing.
#include <QRadioButton>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/dialogs/page_setup.h"
#include "platform/ui/common_dialogs.h"
#include "settings_folder.h"
#include "widget_application.h"

using namespace quillet;

namespace {

bool OneChecked(const TPageSetupForm& form, const char* left, const char* center, const char* right) {
  return form.Control<QRadioButton>(left)->isChecked() + form.Control<QRadioButton>(center)->isChecked() +
             form.Control<QRadioButton>(right)->isChecked() ==
         1;
}

bool Usable(const TFont& font) {
  return !font.Name.empty() && font.Name.find(',') == std::string::npos && font.GetSize() >= 1 &&
         font.GetSize() <= 1638;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWidgetApplication("page_setup_fuzz");
  fuzz::WriteScratchSettingsFile("PageSetup.ini", data, size);

  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scoped(dialogs);
  TPageSetupForm form;
  form.FormShow();
  if (!Usable(form.HeaderFontDialog) || !Usable(form.FooterFontDialog)) std::abort();
  if (!OneChecked(form, "HdrLeftBut", "HdrCenterBut", "HdrRightBut") ||
      !OneChecked(form, "FtrLeftBut", "FtrCenterBut", "FtrRightBut"))
    std::abort();
  const TTextOptions before = form.TextOptions;
  form.OKButClick();
  const bool refused = !dialogs.Asked.empty();
  if (refused && form.TextOptions != before) std::abort();
  if (!refused && form.TextOptions.HeaderFont != form.HeaderFontDialog) std::abort();
  return 0;
}
