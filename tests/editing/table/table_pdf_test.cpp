// A long table printed through QPrinter into a PDF file: pdftotext finds
// each row on the page pagination put its part on. Without pdftotext the
// test skips, except under CI (CI=true), where it fails.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "editing/table/table_print.h"
#include "engine/print/pdf_pages.h"
#include "engine/print/print_test_data.h"
#include "platform/gfx/qt_printer_device.h"

namespace quillet::test {
namespace {

TEST(TablePdf, RowsStandOnThePagesOfTheirParts) {
  QUILLET_REQUIRE_POPPLER_TOOL("pdftotext");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string file = (dir.path() + "/table.pdf").toStdString();
  TQtPrinterDevice printer;
  printer.SetOutputFileName(file);

  PrintDoc doc;
  doc.sheet.TextStyles()[0].FontName = "Arial";
  doc.sheet.TextStyles()[0].Size = 24;
  const int rows = 60;
  auto table = std::make_unique<TDVTableItemInfo>(rows, 2, &doc.data);
  for (int r = 0; r < rows; ++r) {
    table->GetCells(r, 0)->AddNL("row" + std::to_string(r), 0, 0);
    table->GetCells(r, 1)->AddNL("cell" + std::to_string(r), 0, 0);
  }
  doc.data.AddItem("", std::move(table));
  TDVPrint print(printer);
  print.AssignSource(&doc);
  const int count = print.FormatPages();
  ASSERT_GE(count, 2);
  print.Print("table", 1, false);

  // The table is the document: page k holds part k - 1.
  const TCustomMainPtblDVData& data = print.DocView().DVData();
  const auto* info = dynamic_cast<const TDVTablePrintInfo*>(data.DrawItems[0]);
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(info->PartCount(), count);
  std::vector<std::vector<std::string>> expected;
  for (int k = 0; k < count; ++k) {
    expected.emplace_back();
    const TDVTablePrintPart& p = info->Part(k);
    for (int r = p.FirstRow; r < p.FirstRow + p.RowCount; ++r) {
      expected.back().push_back("row" + std::to_string(r));
      expected.back().push_back("cell" + std::to_string(r));
    }
  }
  // pdftotext reads a page column by column: the words of each page, sorted.
  std::vector<std::vector<std::string>> pages = PdfPages(QString::fromStdString(file));
  for (auto* list : {&pages, &expected})
    for (std::vector<std::string>& words : *list) std::sort(words.begin(), words.end());
  EXPECT_EQ(pages, expected);
}

}  // namespace
}  // namespace quillet::test
