// The quillet program started as a user starts it, on the offscreen
// platform, drawing its window into a picture.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdlib>
#include <string>

#include "app/demo_document.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "program_run.h"

namespace quillet {
namespace {

using test::ProgramRun;
using test::StartProgram;

// Dark pixels in a band of rows: where text is drawn.
int DarkPixels(const QImage& image, int top, int bottom) {
  int dark = 0;
  for (int y = top; y < bottom && y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 100) ++dark;
  return dark;
}

// Pixels of about the colour: where the demo table's borders are drawn.
int PixelsOfColor(const QImage& image, TColor color) {
  const int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (std::abs(qRed(p) - red) + std::abs(qGreen(p) - green) + std::abs(qBlue(p) - blue) < 24) ++count;
    }
  return count;
}

TEST(QuilletProgram, FirstStartShowsTheDemoRecordOfTheDefaultStore) {
  QTemporaryDir dataHome;
  for (int start = 0; start < 2; ++start) {  // made on the first start, read on the second
    const ProgramRun run = StartProgram(dataHome, {});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_FALSE(run.picture.isNull());
    EXPECT_GT(DarkPixels(run.picture, 0, 150), 2000) << "no text drawn";
    // Below the menu bar, tool bars, ruler and the demo's table nothing is drawn.
    EXPECT_LT(DarkPixels(run.picture, 400, run.picture.height() - 5), 50) << "the document is short";
    // The table, stored in the record and read back: its outer border and
    // the rules of its cells, one merged cell on top of two rows of three.
    EXPECT_GT(PixelsOfColor(run.picture, DemoTableColor), 1500) << "no table drawn";
  }
  EXPECT_TRUE(QFile::exists(dataHome.filePath("afxQuillet/documents.db")));
}

TEST(QuilletProgram, ShowsADocumentFileAndRefusesOtherFiles) {
  QTemporaryDir dataHome;
  TDVStyle style;
  TCustomDVData document;
  document.SetDVStyle(&style);
  for (int i = 0; i < 30; ++i) document.AddNL("A line of the document file, line " + std::to_string(i), 0, 0);
  const QString file = dataHome.filePath("document.dvf");
  ASSERT_TRUE(document.SaveDVF(file.toStdString(), false, clNone, nullptr, nullptr));
  ProgramRun run = StartProgram(dataHome, {file});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_GT(DarkPixels(run.picture, 300, 500), 1000) << "thirty lines reach down the window";

  const QString notADocument = dataHome.filePath("notes.txt");
  QFile text(notADocument);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("plain text, not a document");
  text.close();
  run = StartProgram(dataHome, {notADocument});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains("not a document")) << run.errors.toStdString();
}

}  // namespace
}  // namespace quillet
