// A real print into a PDF file, rasterised by pdftoppm (poppler-utils): a red
// stroke written over the second page's text prints there and nowhere else.
// Without pdftoppm the test skips, except under CI (CI=true), where it fails.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "engine/layout/draw_lines.h"
#include "engine/print/print_component.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "host/annotation/postil_binding.h"
#include "platform/gfx/qt_printer_device.h"
#include "engine/print/pdf_pages.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

TEST(PostilPdfPrint, AStrokeOnPageTwoPrintsThereOnly) {
  QUILLET_REQUIRE_POPPLER_TOOL("pdftoppm");
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TDVStyle sheet;
  sheet.TextStyles()[0].FontName = "Arial";
  sheet.TextStyles()[0].Size = 24;
  TDocView view;
  view.SetStyle(&sheet);
  view.Widget()->resize(600, 400);
  for (int k = 1; k <= 60; ++k) view.AddNL("Line" + std::to_string(k), 0, 0);
  view.Format();

  TQtPrinterDevice printer;
  printer.SetOutputFileName((dir.path() + "/doc.pdf").toStdString());
  TDVPrint print(printer);
  print.AssignSource(&view);
  ASSERT_EQ(print.FormatPages(), 3);

  // Through the middle of the third line of page 2, as the viewer shows it.
  TQvPostil postil;
  TPostilBinding binding(postil, view);
  const TPostilPageSpan page2 = TPostilBinding::PageSpan(print, view, 2);
  int32_t y = -1;
  const TDVDrawLines& lines = view.DVData().DrawItems;
  for (int i = 0; i < lines.Count() && y < 0; ++i)
    if (lines[i]->Top >= page2.ViewAnchor + 60) y = lines[i]->Top + lines[i]->Height / 2;
  ASSERT_GT(y, 0);
  ASSERT_LT(y, page2.ViewTo);
  postil.loadPostil({"QPP;255;4", "QPM;10;" + std::to_string(y), "QPL;300;" + std::to_string(y)});
  binding.BindPrint(print);
  print.Print("doc", 1, false);

  QProcess p;
  p.start(pdftoppm, {"-r", "72", "-png", dir.path() + "/doc.pdf", dir.path() + "/page"});
  ASSERT_TRUE(p.waitForFinished(60000));
  ASSERT_EQ(p.exitCode(), 0);
  std::vector<QImage> pages;
  for (int page = 1; page <= 3; ++page) {
    pages.emplace_back(dir.path() + "/page-" + QString::number(page) + ".png");
    ASSERT_FALSE(pages.back().isNull()) << page;
  }
  EXPECT_EQ(RedPixels(pages[0]), 0);
  EXPECT_GT(RedPixels(pages[1]), 100);
  EXPECT_EQ(RedPixels(pages[2]), 0);

  // Over the text: the glyphs of the line reach above and below the stroke.
  const QImage& image = pages[1];
  auto isRed = [&image](int x, int row) {
    const QColor c = image.pixelColor(x, row);
    return c.red() > 180 && c.green() < 100 && c.blue() < 100;
  };
  auto darkIn = [&image](int row) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, row);
      n += qGray(c.rgb()) < 100 && c.red() - c.green() < 60;  // black text, not the stroke's edge
    }
    return n;
  };
  int top = image.height(), bottom = -1;
  for (int row = 0; row < image.height(); ++row)
    for (int x = 0; x < image.width(); ++x)
      if (isRed(x, row)) {
        top = std::min(top, row);
        bottom = std::max(bottom, row);
      }
  ASSERT_LE(bottom - top, 4);
  EXPECT_GT(darkIn(top - 2), 0);
  EXPECT_GT(darkIn(bottom + 2), 0);
}

}  // namespace
}  // namespace quillet::test
