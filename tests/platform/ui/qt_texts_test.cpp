// Qt's standard buttons in Chinese while the texts are installed, and in
// English again afterwards.
#include "platform/ui/qt_texts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>

namespace quillet {
namespace {

QString ButtonText(QMessageBox::StandardButton which) {
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  return box.button(which)->text();
}

TEST(ChineseQtTexts, StandardButtonsSpeakChineseForTheScope) {
  {
    const TChineseQtTexts texts;
    ASSERT_TRUE(texts.Installed()) << "Qt's translations (qt6-translations-l10n) are missing";
    EXPECT_TRUE(ButtonText(QMessageBox::Yes).contains(QString::fromUtf8("是")));
    EXPECT_TRUE(ButtonText(QMessageBox::No).contains(QString::fromUtf8("否")));
    EXPECT_TRUE(ButtonText(QMessageBox::Cancel).contains(QString::fromUtf8("取消")));
  }
  EXPECT_EQ(ButtonText(QMessageBox::Cancel), "Cancel");
}

}  // namespace
}  // namespace quillet
