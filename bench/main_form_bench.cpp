// The main form's own costs beside the bare parts it wraps, each pair in one
// run.
//
// The document: 6,000 sample paragraphs (GBK Chinese and Latin words; the
// caret steps also at 24,000, to show a cost that grows with it) in
// text styles 0 to 3 of the form's sheet (normal, heading, subheading,
// monospace) and paragraph styles 0 and 1 (left, centred), so a caret that
// goes from line to line keeps meeting other styles. The form is 1000 x 700
// and shown offscreen, its page measured from the fake printer (A4 at 600
// dpi, 20 mm margins).
//
// A caret step: Down arrow fifteen times, then Up arrow fifteen times, over
// lines in the middle of the document that stay in view, as key events
// followed by the paint of what they marked.
//   BM_FormCaretStep   in the form's editor: the bars follow the caret
//                      (font boxes, check marks, alignment, ruler) and are
//                      painted too
//   BM_BareCaretStep   in a bare editor with the same sheet, document,
//                      margins and size
// Each step is timed by hand (wall time); the counters give the steps that
// changed the caret's text and paragraph style.
//
// Printing 100 pages to the fake printer, paginated beforehand:
//   BM_FormPrint100Pages  through the form's print component, whose page
//                         event prints 1,000 annotation strokes, the page
//                         number, a header and a footer
//   BM_BarePrint100Pages  a print component on the same device and document
//                         without the page event
//   BM_FormPrint100PagesPdf, BM_BarePrint100PagesPdf
//                         the same pair printed into a PDF file, where every
//                         call becomes output
// Run:
//   build/release/bench/main_form_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "bench/support/sample_paragraphs.h"
#include "bench/support/widget_bench_main.h"
#include "commands/dialogs/text_options.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/print/print_component.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_record.h"
#include "host/form/main_form.h"
#include "host/form/main_style_sheet.h"
#include "platform/gfx/fake_printer_device.h"
#include "platform/gfx/qt_printer_device.h"

namespace quillet::bench {
namespace {

constexpr int kParagraphs = 6000;
constexpr int kSteps = 15;  // lines down, then as many up
constexpr int kPages = 100, kStrokes = 1000, kStrokePoints = 20;

std::vector<std::string> ScreenFamilies() {
  std::vector<std::string> families;
  for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
  return families;
}

// A key as the platform delivers it, then the paint of what it marked.
void KeyToScreen(QWidget* target, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &release);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  QApplication::processEvents();
}

// The form shown with the sample document laid out in its editor, its page
// measured from `printer`.
struct Form {
  TMainForm form;

  explicit Form(TPrinterDevice& printer, int paragraphs = kParagraphs) : form(nullptr, &printer) {
    form.Widget()->resize(1000, 700);
    Editor().Clear();  // the empty line of a new document
    AddSampleParagraphs(Editor().EditData(), paragraphs);
    form.Widget()->show();
    QApplication::processEvents();
    form.DVEditorResize();  // lays the document out at the page's width
    QApplication::processEvents();
  }
  TDocViewEdit& Editor() const { return form.DVEditor(); }
};

// Steps the caret down and up through the middle of the document. The
// caret starts in the middle paragraph, a quarter down the view.
void CaretSteps(benchmark::State& state, TDocViewEdit& editor) {
  TDVEditDVData& data = editor.EditData();
  data.SetCaretAtItem(data.ItemCount() / 2, 0, false);
  editor.ScrollTo(data.DrawItems[data.CaretDrawItemNo]->Top - editor.ClientHeight() / 4);
  editor.SetFocus();
  QApplication::processEvents();
  QWidget* target = editor.Widget();
  const int32_t vPos = editor.VPos();
  int step = 0;
  double textChanges = 0, paraChanges = 0;
  std::vector<double> times;
  for (auto _ : state) {
    const Qt::Key key = step++ % (2 * kSteps) < kSteps ? Qt::Key_Down : Qt::Key_Up;
    const int32_t text = editor.CurTextStyleNo(), para = editor.CurParaStyleNo();
    const auto start = std::chrono::steady_clock::now();
    KeyToScreen(target, key);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    times.push_back(elapsed);
    textChanges += editor.CurTextStyleNo() != text;
    paraChanges += editor.CurParaStyleNo() != para;
    if (editor.VPos() != vPos) {
      state.SkipWithError("the caret left the view and scrolled it");
      break;
    }
  }
  state.counters["text style changes"] = benchmark::Counter(textChanges, benchmark::Counter::kAvgIterations);
  state.counters["para style changes"] = benchmark::Counter(paraChanges, benchmark::Counter::kAvgIterations);
  // The median step, which a lost time slice does not move.
  if (!times.empty()) {
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
    state.counters["median us"] = times[times.size() / 2] * 1e6;
  }
}

void BM_FormCaretStep(benchmark::State& state) {
  TFakePrinterDevice printer;
  Form f(printer, static_cast<int>(state.range(0)));
  CaretSteps(state, f.Editor());
}
// Two sizes: a step must not cost more in a longer document.
BENCHMARK(BM_FormCaretStep)->Arg(kParagraphs)->Arg(4 * kParagraphs)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BareCaretStep(benchmark::State& state) {
  // The form's editor gives the geometry; the bare one copies it and then
  // stands alone.
  int32_t left = 0, right = 0, minWidth = 0, clientWidth = 0, clientHeight = 0;
  {
    TFakePrinterDevice printer;
    Form f(printer, 1);
    left = f.Editor().LeftMargin;
    right = f.Editor().RightMargin;
    minWidth = f.Editor().MinTextWidth;
    clientWidth = f.Editor().ClientWidth();
    clientHeight = f.Editor().ClientHeight();
  }
  TDVStyle sheet;
  InitMainStyleSheet(sheet);
  const std::vector<std::string> families = ScreenFamilies();
  AdaptMainStyleSheet(sheet, families);
  TDocViewEdit editor;
  editor.SetStyle(&sheet);
  editor.Color = clWindow;
  editor.TopMargin = editor.BottomMargin = 5;
  editor.LeftMargin = left;
  editor.RightMargin = right;
  editor.MinTextWidth = minWidth;
  AddSampleParagraphs(editor.EditData(), static_cast<int>(state.range(0)));
  editor.Show();
  editor.ClientWidget()->resize(clientWidth, clientHeight);
  editor.SetBounds(0, 0, clientWidth + editor.Width() - editor.ClientWidth(),
                   clientHeight + editor.Height() - editor.ClientHeight());
  editor.Format();
  QApplication::processEvents();
  CaretSteps(state, editor);
}
BENCHMARK(BM_BareCaretStep)->Arg(kParagraphs)->Arg(4 * kParagraphs)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Strokes of 20 points in four pens spread over the document's first pages
// (document pixels), as the layer's records.
std::vector<std::string> StrokeRecords(int32_t width, int32_t height) {
  const TColor pens[] = {255, 0xFF0000, 0x008000, 0x000000};
  std::mt19937 rnd(7);
  std::uniform_real_distribution<double> x(20, width - 20), y(20, height - 20), step(-6, 6);
  std::vector<std::string> lines;
  for (int s = 0; s < kStrokes; ++s) {
    lines.push_back("QPP;" + std::to_string(pens[s % 4]) + ";" + std::to_string(1 + s % 3));
    double px = x(rnd), py = y(rnd);
    for (int p = 0; p < kStrokePoints; ++p) {
      lines.push_back(std::string(p ? "QPL;" : "QPM;") + PostilNumberText(px) + ";" + PostilNumberText(py) +
                      ";user;2026-12-11");
      px += step(rnd);
      py += step(rnd);
    }
  }
  return lines;
}

// The form's document paginated by `print` as the form prints it: the
// gutter taken off for the pagination.
void Paginate(TDVPrint& print, TDocViewEdit& editor, int32_t gutter) {
  const int32_t margin = editor.LeftMargin;
  editor.LeftMargin = std::max(0, margin - gutter);
  print.AssignSource(&editor);
  print.FormatPages();
  editor.LeftMargin = margin;
}

// Pages 1 to 100 at each iteration; `printed` tells whether they went out.
void PrintPages(benchmark::State& state, TDVPrint& print, const std::function<bool()>& printed) {
  if (print.PagesCount() < kPages) {
    state.SkipWithError("the document has fewer pages than the run prints");
    return;
  }
  for (auto _ : state) {
    print.PrintPages(1, kPages, "bench", 1, false);
    if (!printed()) state.SkipWithError("the pages were not printed");
  }
}

void CountRecords(benchmark::State& state, const TFakePrinterDevice& printer) {
  size_t records = 0;
  for (const std::vector<TCanvasRecord>& page : printer.Pages()) records += page.size();
  state.counters["records a page"] = static_cast<double>(records) / kPages;
}

// The form's page event gets its work: the strokes over the first hundred
// pages' worth of the document, a header, a footer and page numbers.
TTextOptions& LoadPageEventWork(Form& f) {
  const TSize page = f.form.PageTextSize();
  f.form.qvPostil().loadPostil(StrokeRecords(page.cx, page.cy * kPages));
  TTextOptions& options = f.form.PageOptions();
  options.Header = "Quarterly report";
  options.Footer = "Internal use";
  options.PrintPageNumber = pnBottom;
  return options;
}

void BM_FormPrint100Pages(benchmark::State& state) {
  TFakePrinterDevice printer;
  Form f(printer);
  const TTextOptions& options = LoadPageEventWork(f);
  TDVPrint& print = f.form.DVPrint();
  Paginate(print, f.Editor(), f.form.Gutter());
  PrintPages(state, print, [&] { return printer.Pages().size() == kPages; });
  CountRecords(state, printer);
  // The page texts went out with the pages.
  const std::vector<std::vector<std::string>> pages = printer.PageStrings();
  for (const std::string& text :
       {PageNumberText(options.PageNumText, 2, print.PagesCount()), options.Header, options.Footer}) {
    bool found = false;
    for (const std::string& record : pages[1]) found |= record.find(text) != std::string::npos;
    if (!found) state.SkipWithError("the second page lacks a page text");
  }
}
BENCHMARK(BM_FormPrint100Pages)->Unit(benchmark::kMillisecond);

void BM_BarePrint100Pages(benchmark::State& state) {
  TFakePrinterDevice printer;
  Form f(printer);
  TDVPrint print(printer);
  Paginate(print, f.Editor(), f.form.Gutter());
  PrintPages(state, print, [&] { return printer.Pages().size() == kPages; });
  CountRecords(state, printer);
}
BENCHMARK(BM_BarePrint100Pages)->Unit(benchmark::kMillisecond);

// The same pair printed into a PDF file, where every call becomes output.
struct PdfFile {
  QTemporaryDir dir;
  std::string name = (dir.path() + "/pages.pdf").toStdString();
  TQtPrinterDevice printer;
  PdfFile() { printer.SetOutputFileName(name); }
  bool Written() {
    const bool written = QFileInfo(QString::fromStdString(name)).size() > 0;
    QFile::remove(QString::fromStdString(name));
    return written;
  }
};

void BM_FormPrint100PagesPdf(benchmark::State& state) {
  PdfFile pdf;
  Form f(pdf.printer);
  LoadPageEventWork(f);
  TDVPrint& print = f.form.DVPrint();
  Paginate(print, f.Editor(), f.form.Gutter());
  PrintPages(state, print, [&] { return pdf.Written(); });
}
BENCHMARK(BM_FormPrint100PagesPdf)->Unit(benchmark::kMillisecond);

void BM_BarePrint100PagesPdf(benchmark::State& state) {
  PdfFile pdf;
  Form f(pdf.printer);
  TDVPrint print(pdf.printer);
  Paginate(print, f.Editor(), f.form.Gutter());
  PrintPages(state, print, [&] { return pdf.Written(); });
}
BENCHMARK(BM_BarePrint100PagesPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  quillet::RegisterTableItem();
  return quillet::bench::RunWidgetBenchmarks(argc, argv);
}
