// A real print through QPrinter into a PDF file, read back with pdftotext
// (poppler-utils): the file has the pages and the text of the pagination.
// Without pdftotext the test skips, except under CI (CI=true), where it fails.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include "pdf_pages.h"
#include "platform/gfx/qt_printer_device.h"
#include "print_test_data.h"

namespace quillet::test {
namespace {

TEST(PdfPrint, PagesAndTextMatchThePagination) {
  QUILLET_REQUIRE_POPPLER_TOOL("pdftotext");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string file = (dir.path() + "/doc.pdf").toStdString();
  TQtPrinterDevice printer;
  printer.SetOutputFileName(file);

  PrintDoc doc;
  doc.sheet.TextStyles()[0].FontName = "Arial";
  doc.sheet.TextStyles()[0].Size = 24;
  for (int k = 1; k <= 50; ++k) doc.data.AddNL("Line" + std::to_string(k), 0, 0);
  TDVPrint print(printer);
  print.AssignSource(&doc);
  const int count = print.FormatPages();
  ASSERT_GE(count, 2);
  print.Print("doc", 1, false);

  // The words each page should hold, from the pagination.
  std::vector<std::vector<std::string>> expected(static_cast<size_t>(count));
  const TCustomMainPtblDVData& data = print.DocView().DVData();
  for (int page = 1; page <= count; ++page) {
    int first = 0, last = 0, part = 0;
    data.GetDrawItemsRange(page, first, last, part);
    for (int d = first; d <= last; ++d)
      expected[static_cast<size_t>(page - 1)].push_back(data.DrawItems.GetString(d, data));
  }
  EXPECT_EQ(PdfPages(QString::fromStdString(file)), expected);
}

}  // namespace
}  // namespace quillet::test
