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

#include "app/main_window.h"
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

// Clicks the tool bar's button of that caption.
void ClickTool(TMainWindow& window, const char* caption) {
  for (QToolBar* bar : window.findChildren<QToolBar*>())
    for (QAction* action : bar->actions())
      if (action->text() == QString::fromUtf8(caption)) {
        QWidget* button = bar->widgetForAction(action);
        ASSERT_NE(button, nullptr) << caption;
        QTest::mouseClick(button, Qt::LeftButton);
        return;
      }
  FAIL() << "no tool button " << caption;
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
    TMainWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    ClickTool(window, "批注");
    ASSERT_TRUE(window.Postil().IsPostil());

    // A blue pen five pixels wide, chosen in the pen dialog.
    TPostilDlg& dialog = window.PenDialog();
    QTimer::singleShot(0, dialog.Dialog(), [&dialog] {
      dialog.cmbLineColor().SetChosenColor(clBlue);
      dialog.cmbLineWidth()->setCurrentIndex(4);
      QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    });
    ClickTool(window, "笔批注属性...");
    EXPECT_EQ(window.PostilBinding().Pen, (TAnnotationPen{clBlue, 5}));
    // The offscreen platform has no window manager to give the focus back.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QWidget* client = window.View().ClientWidget();
    Stroke(client, QPoint(50, 60), QPoint(200, 110));
    EXPECT_EQ(window.Postil().NewPostil().at(1), "QPP;16711680;5");
    // A second stroke, taken back and put back with the keys, and taken back again.
    Stroke(client, QPoint(60, 200), QPoint(220, 160));
    EXPECT_EQ(Strokes(window.Postil().NewPostil()), 2u);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Strokes(window.Postil().NewPostil()), 1u);
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Strokes(window.Postil().NewPostil()), 2u);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Strokes(window.Postil().NewPostil()), 1u);

    ASSERT_TRUE(window.ArmSealFromFile(sealFile));
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_EQ(window.Postil().GetBmpIDs(), ";" + sealFile);
    EXPECT_FALSE(window.ArmSealFromFile(folder.filePath("none.bmp").toStdString()));
    records = window.Postil().NewPostil();
    before = client->grab().toImage();
    EXPECT_GT(RedPixels(before), 100);
    window.close();  // writes the record back
  }
  {
    TMainWindow window;
    std::string error;
    ASSERT_TRUE(window.OpenDefaultStore(error)) << error;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const std::vector<std::string>& loaded = window.Postil().AllPostil();
    ASSERT_GE(loaded.size(), records.size());
    EXPECT_EQ(std::vector<std::string>(loaded.begin(), loaded.begin() + records.size()), records);
    EXPECT_EQ(window.View().ClientWidget()->grab().toImage(), before);
    window.close();
  }
  qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
}  // namespace quillet
