// The program's annotation mode as a new user meets it: the tool bar's
// buttons, the pen dialog, the mouse and the keys on the demo record; close,
// start again: the stroke and the seal are there.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include "app/program_window.h"
#include "host/form/main_form.h"
#include "commands/controls/color_combo.h"
#include "editing/control/editor.h"
#include "host/annotation/pen_dialog.h"
#include "host/annotation/postil_binding.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_test_support.h"
#include "platform/gfx/graphic.h"
#include "window_support.h"

namespace quillet {
namespace {

using test::RedPixels;

// Clicks the form's button of that name.
void ClickButton(TProgramWindow& window, const char* name) {
  QWidget* button = window.Form().Control(name);
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

void Stroke(QWidget* client, QPoint from, QPoint to) {
  QTest::mousePress(client, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 8; ++i) QTest::mouseMove(client, from + (to - from) * i / 8);
  QTest::mouseRelease(client, Qt::LeftButton, {}, to);
}

size_t Strokes(const std::vector<std::string>& records) {
  size_t n = 0;
  for (const std::string& line : records) n += line.rfind("QPM;", 0) == 0;
  return n;
}

TEST(AnnotationMode, StrokesAndSealsAreThereAfterARestart) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", folder.path().toUtf8());
  const std::string sealFile = folder.filePath("seal.bmp").toStdString();
  TBitmap seal(30, 20);
  for (int y = 3; y < 17; ++y)
    for (int x = 3; x < 27; ++x) seal.SetPixel(x, y, 0x0000FF);
  seal.SaveToFile(sealFile);

  std::vector<std::string> records;
  QImage before;
  {
    TProgramWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    ClickButton(window, "BeginCommentButton");
    ASSERT_TRUE(window.Form().qvPostil().IsPostil());

    // A blue pen five pixels wide, chosen in the pen dialog.
    TPostilDlg& dialog = window.Form().PenDialog();
    QTimer::singleShot(0, dialog.Dialog(), [&dialog] {
      dialog.cmbLineColor().SetChosenColor(clBlue);
      dialog.cmbLineWidth()->setCurrentIndex(4);
      QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    });
    window.Form().MenuItem("PostilProperties")->trigger();
    EXPECT_EQ(window.Form().PostilBinding().Pen, (TAnnotationPen{clBlue, 5}));
    // The offscreen platform has no window manager to give the focus back.
    window.Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.Widget()));

    QWidget* client = window.Form().DVEditor().ClientWidget();
    Stroke(client, QPoint(50, 60), QPoint(200, 110));
    EXPECT_EQ(window.Form().qvPostil().NewPostil().at(1), "QPP;16711680;5");
    // A second stroke, taken back and put back with the keys, and taken back again.
    Stroke(client, QPoint(60, 200), QPoint(220, 160));
    EXPECT_EQ(Strokes(window.Form().qvPostil().NewPostil()), 2u);
    QTest::keyClick(window.Widget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Strokes(window.Form().qvPostil().NewPostil()), 1u);
    QTest::keyClick(window.Widget(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Strokes(window.Form().qvPostil().NewPostil()), 2u);
    QTest::keyClick(window.Widget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Strokes(window.Form().qvPostil().NewPostil()), 1u);

    ASSERT_TRUE(window.Form().ArmSealFromFile(sealFile));
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_EQ(window.Form().qvPostil().GetBmpIDs(), ";" + sealFile);
    EXPECT_FALSE(window.Form().ArmSealFromFile(folder.filePath("none.bmp").toStdString()));
    records = window.Form().qvPostil().NewPostil();
    before = client->grab().toImage();
    EXPECT_GT(RedPixels(before), 100);
    window.Widget()->close();  // writes the record back
  }
  {
    TProgramWindow window;
    std::string error;
    ASSERT_TRUE(window.OpenDefaultStore(error)) << error;
    window.Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.Widget()));
    const std::vector<std::string>& loaded = window.Form().qvPostil().AllPostil();
    ASSERT_GE(loaded.size(), records.size());
    EXPECT_EQ(std::vector<std::string>(loaded.begin(), loaded.begin() + records.size()), records);
    EXPECT_EQ(window.Form().DVEditor().ClientWidget()->grab().toImage(), before);
    window.Widget()->close();
  }
  qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
}  // namespace quillet
