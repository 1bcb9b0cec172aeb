// A table written as RTF and HTML and printed to PDF, beside QTextDocument
// with a QTextTable of the same cells (the table of bench/support/table_sample.h):
//   BM_TableRTF, BM_TableHTML   the 100 x 20 table as an RTF file and an HTML page
//   BM_QTextTableToHtml   QTextDocument::toHtml of the same table
// And a table of 1,000 rows x 5 columns paginated and printed to a PDF file:
//   BM_TablePrintPDF      through TQtPrinterDevice (layout at 600 dpi,
//                         pagination, every page drawn)
//   BM_QTextTablePrintPDF QTextDocument::print to a PDF QPrinter
// Run:
//   build/release/bench/table_export_bench
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "bench/support/table_sample.h"
#include "bench/support/widget_bench_main.h"
#include "engine/print/print_component.h"
#include "engine/print/print_source.h"
#include "platform/core/stream.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/qt_printer_device.h"

namespace quillet::bench {
namespace {

constexpr int kPrintRows = 1000, kPrintCols = 5;

// The table's document written by save into one stream, emptied each time
// with its buffer kept: the writer is timed, not the growth of a fresh buffer.
template <typename Save>
void TimeWriter(benchmark::State& state, Save save) {
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  TMemoryStream stream;
  for (auto _ : state) {
    stream.SetSize(0);
    stream.SetPosition(0);
    save(*data, stream);
  }
  state.counters["bytes"] = static_cast<double>(stream.GetSize());
}

void BM_TableRTF(benchmark::State& state) {
  TimeWriter(state, [](BenchDocument& data, TMemoryStream& stream) {
    data.SaveRTFToStream(stream, false, clWindow, nullptr);
  });
}
BENCHMARK(BM_TableRTF)->Unit(benchmark::kMillisecond);

void BM_TableHTML(benchmark::State& state) {
  TimeWriter(state, [](BenchDocument& data, TMemoryStream& stream) {
    data.SaveHTMLToStream(stream, "", "table", "", 0, clWindow, nullptr, {});
  });
}
BENCHMARK(BM_TableHTML)->Unit(benchmark::kMillisecond);

void BM_QTextTableToHtml(benchmark::State& state) {
  QTextDocument doc;
  FillQTextTable(doc);
  qsizetype chars = 0;
  for (auto _ : state) chars = doc.toHtml().size();
  state.counters["chars"] = static_cast<double>(chars);
}
BENCHMARK(BM_QTextTableToHtml)->Unit(benchmark::kMillisecond);

// The benchmark document as what the print component prints.
class BenchPrintSource : public TDVPrintSource {
 public:
  explicit BenchPrintSource(BenchDocument& doc) : doc_(doc) {}
  TCustomDVData& PrintSourceData() override { return doc_; }
  TDVStyle* PrintSourceStyle() const override { return doc_.GetDVStyle(); }
  int32_t PrintSourceLeftMargin() const override { return 0; }
  int32_t PrintSourceRightMargin() const override { return 0; }
  int32_t PrintSourceTopMargin() const override { return 0; }
  int32_t PrintSourceBottomMargin() const override { return 0; }
  TColor PrintSourceColor() const override { return clWhite; }
  const TDVBackground* PrintSourceBackground() const override { return nullptr; }

 private:
  BenchDocument& doc_;
};

void BM_TablePrintPDF(benchmark::State& state) {
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table, kPrintRows, kPrintCols);
  BenchPrintSource source(*data);
  QTemporaryDir dir;
  TQtPrinterDevice printer;
  printer.SetOutputFileName((dir.path() + QStringLiteral("/table.pdf")).toStdString());
  int pages = 0;
  for (auto _ : state) {
    TDVPrint print(printer);
    print.AssignSource(&source);
    pages = print.FormatPages();
    print.Print("table", 1, false);
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_TablePrintPDF)->Unit(benchmark::kMillisecond);

void BM_QTextTablePrintPDF(benchmark::State& state) {
  QTextDocument doc;
  FillQTextTable(doc, kPrintRows, kPrintCols);
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.path() + QStringLiteral("/qtext.pdf"));
  for (auto _ : state) doc.print(&printer);
}
BENCHMARK(BM_QTextTablePrintPDF)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  quillet::RegisterTableItem();
  return quillet::bench::RunWidgetBenchmarks(argc, argv);
}
