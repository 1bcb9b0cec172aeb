// A large table laid out and painted on the Qt canvas with the pinned
// Chinese font, beside QTextDocument with a QTextTable of the same cells.
//
// 100 rows x 20 columns of short Chinese words (GBK, 12 points), the table
// alone in a document 700 pixels wide:
//   BM_TableLayout        the table's width pass, every cell formatted,
//                         row heights, with the document around it
//   BM_QTextTableLayout   QTextDocument laying out the same table as far as
//                         its documentSize
//   BM_TablePaint         one repaint of a 700 x 900 window over the table
//   BM_TableRTF, BM_TableHTML   the table as an RTF file and an HTML page
//   BM_QTextTableToHtml   QTextDocument::toHtml of the same table
// And a table of 1,000 rows x 5 columns paginated and printed to a PDF file:
//   BM_TablePrintPDF      through TQtPrinterDevice (layout at 600 dpi,
//                         pagination, every page drawn)
//   BM_QTextTablePrintPDF QTextDocument::print to a PDF QPrinter
// Run:
//   build/release/bench/table_bench
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bench_document.h"
#include "bench/support/sample_document.h"
#include "bench/support/widget_bench_main.h"
#include "editing/table/table_item.h"
#include "engine/print/print_component.h"
#include "engine/print/print_source.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/qt_printer_device.h"

namespace quillet::bench {
namespace {

constexpr int kRows = 100, kCols = 20, kWidth = 700, kHeight = 900, kPointSize = 12;

constexpr int kPrintRows = 1000, kPrintCols = 5;

// The cells' words, row by row.
std::vector<std::string> CellWords(int rows = kRows, int cols = kCols) {
  SampleRandom rnd(5);
  const std::vector<std::string> chinese = SampleChineseWords(rnd);
  std::vector<std::string> words;
  for (int i = 0; i < rows * cols; ++i) words.push_back(chinese[rnd.Skewed(chinese.size())]);
  return words;
}

// The document with the table, laid out once.
std::unique_ptr<BenchDocument> MakeTableDocument(TCanvas& canvas, TDVTableItemInfo*& table, int rows = kRows,
                                                 int cols = kCols) {
  auto data = std::make_unique<BenchDocument>(canvas, kWidth, kHeight, 0, kPointSize);
  auto t = std::make_unique<TDVTableItemInfo>(rows, cols, data.get());
  table = t.get();
  data->AddItem("", std::move(t));
  const std::vector<std::string> words = CellWords(rows, cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) table->GetCells(r, c)->AddNL(words[static_cast<size_t>(r * cols + c)], 0, 0);
  data->Format();
  return data;
}

// QTextDocument with a QTextTable of the same words.
void FillQTextTable(QTextDocument& doc, int rows, int cols) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(16);
  doc.setDefaultFont(font);
  doc.setDocumentMargin(0);
  QTextCursor cursor(&doc);
  QTextTableFormat format;
  format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  QTextTable* table = cursor.insertTable(rows, cols, format);
  const std::vector<std::string> words = CellWords(rows, cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const std::u16string units = MultiByteToWideChar(936, words[static_cast<size_t>(r * cols + c)]);
      table->cellAt(r, c).firstCursorPosition().insertText(
          QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())));
    }
}

void BM_TableLayout(benchmark::State& state) {
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  for (auto _ : state) {
    table->MarkChanged();  // the width pass runs in full every time
    data->Format();
  }
  state.counters["height"] = static_cast<double>(table->GetHeight());
}
BENCHMARK(BM_TableLayout)->Unit(benchmark::kMillisecond);

void BM_QTextTableLayout(benchmark::State& state) {
  QTextDocument doc;
  FillQTextTable(doc, kRows, kCols);
  for (auto _ : state) {
    doc.markContentsDirty(0, doc.characterCount());
    doc.setTextWidth(kWidth);
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  }
  state.counters["height"] = doc.documentLayout()->documentSize().height();
}
BENCHMARK(BM_QTextTableLayout)->Unit(benchmark::kMillisecond);

void BM_TablePaint(benchmark::State& state) {
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  TQtCanvas canvas(window);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  for (auto _ : state) {
    data->PaintTo(canvas, Rect(0, 0, kWidth, kHeight));
    canvas.EndPaint();
  }
}
BENCHMARK(BM_TablePaint)->Unit(benchmark::kMillisecond);

void BM_TableRTF(benchmark::State& state) {
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  // One stream, emptied each time with its buffer kept: the writer is
  // timed, not the growth of a fresh buffer.
  TMemoryStream stream;
  for (auto _ : state) {
    stream.SetSize(0);
    stream.SetPosition(0);
    data->SaveRTFToStream(stream, false, clWindow, nullptr);
  }
  const int64_t bytes = stream.GetSize();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TableRTF)->Unit(benchmark::kMillisecond);

void BM_TableHTML(benchmark::State& state) {
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  // One stream, emptied each time with its buffer kept: the writer is
  // timed, not the growth of a fresh buffer.
  TMemoryStream stream;
  for (auto _ : state) {
    stream.SetSize(0);
    stream.SetPosition(0);
    data->SaveHTMLToStream(stream, "", "table", "", 0, clWindow, nullptr, {});
  }
  const int64_t bytes = stream.GetSize();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TableHTML)->Unit(benchmark::kMillisecond);

void BM_QTextTableToHtml(benchmark::State& state) {
  QTextDocument doc;
  FillQTextTable(doc, kRows, kCols);
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
