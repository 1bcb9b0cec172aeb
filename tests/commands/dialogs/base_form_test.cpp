// The dialog base: ShowModal through a replaced runner that drives the real
// dialog, and the visual-styles switch reaching the form's controls.
#include "engine/view/base_form.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "commands/controls/color_combo.h"
#include "commands/controls/color_grid.h"

namespace quillet::test {
namespace {

class TTwoButtonForm : public TfrmDVBase {
 public:
  TTwoButtonForm() {
    ok = new QPushButton("OK", Dialog());
    cancel = new QPushButton("Cancel", Dialog());
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, Dialog(), [this] { Close(mrOk); });
    QObject::connect(cancel, &QPushButton::clicked, Dialog(), [this] { Close(mrCancel); });
    grid.SetParentWidget(Dialog());
    combo.SetParentWidget(Dialog());
    AddThemedControl([this](bool value) { grid.SetFlat(value); });
    AddThemedControl([this](bool value) { combo.SetUseXPThemes(value); });
  }
  QPushButton* ok;
  QPushButton* cancel;
  TDVColorGrid grid;
  TDVColorCombo combo;
};

TEST(DialogBase, RunnerDrivesTheRealDialog) {
  struct Case {
    const char* what;
    std::function<void(TTwoButtonForm&)> act;
    int result;
  } cases[] = {
      {"OK", [](TTwoButtonForm& f) { QTest::mouseClick(f.ok, Qt::LeftButton); }, mrOk},
      {"Enter on the default button", [](TTwoButtonForm& f) { QTest::keyClick(f.Dialog(), Qt::Key_Return); }, mrOk},
      {"Cancel", [](TTwoButtonForm& f) { QTest::mouseClick(f.cancel, Qt::LeftButton); }, mrCancel},
      {"Esc", [](TTwoButtonForm& f) { QTest::keyClick(f.Dialog(), Qt::Key_Escape); }, mrCancel},
  };
  for (const Case& c : cases) {
    TTwoButtonForm form;
    form.FormCreate();
    TScopedModalRunner runner([&](TfrmDVBase& shown) {
      EXPECT_EQ(&shown, &form);
      shown.Dialog()->show();
      c.act(form);
      EXPECT_FALSE(shown.Dialog()->isVisible()) << c.what;
      return shown.ModalResult();
    });
    EXPECT_EQ(form.ShowModal(), c.result) << c.what;
  }
}

TEST(DialogBase, VisualStylesSwitchReachesGridsAndCombos) {
  for (const bool on : {false, true}) {
    const bool saved = DVA_UseVisualStyles;
    DVA_UseVisualStyles = on;
    TTwoButtonForm form;
    form.FormCreate();
    DVA_UseVisualStyles = saved;
    EXPECT_EQ(form.grid.Flat(), on);
    EXPECT_EQ(form.combo.UseXPThemes(), on);
  }
}

}  // namespace
}  // namespace quillet::test
