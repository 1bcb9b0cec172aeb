// The program's annotation mode as a new user meets it: draw and stamp on the
// demo record, close, start again: the stroke and the seal are there.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "app/main_window.h"
#include "engine/view/docview.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_test_support.h"
#include "platform/gfx/graphic.h"

namespace quillet {
namespace {

using test::RedPixels;

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
    std::string error;
    ASSERT_TRUE(window.OpenDefaultStore(error)) << error;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.SetAnnotating(true);
    QWidget* client = window.View().ClientWidget();
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(50, 60));
    for (int x = 60; x <= 200; x += 20) QTest::mouseMove(client, QPoint(x, 60 + x / 4));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(200, 110));
    ASSERT_TRUE(window.ArmSealFromFile(sealFile));
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_FALSE(window.ArmSealFromFile(folder.filePath("none.bmp").toStdString()));
    records = window.Postil().NewPostil();
    ASSERT_FALSE(records.empty());
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
