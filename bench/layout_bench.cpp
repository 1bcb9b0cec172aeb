// Formatting a whole document on the Qt canvas with the pinned Chinese font,
// beside QTextDocument laying out the same text.
//
// Documents of 5,000 and 50,000 paragraphs of mixed Chinese (GBK) and Latin
// text, about 50 characters each, wrapped at 700 pixels; and one keystroke's
// partial reformat beside QTextDocument typing or deleting a character. Time:
//   build/release/bench/layout_bench
// Memory, each side in a process of its own (peak and current resident set
// from /proc/self/status, less what the process held before the document):
//   build/release/bench/layout_bench --memory=quillet 50000
//   build/release/bench/layout_bench --memory=qt 50000
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/gfx/font_setup.h"
#include "platform/gfx/qt_canvas.h"
#include "bench/support/bench_document.h"
#include "bench/support/layout_sample.h"
#include "bench/support/sample_document.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 700;
constexpr int kPointSize = 12;  // 16 pixels at 96 ppi: most paragraphs take two lines

// Lays the whole QTextDocument out again and answers its line count.
int64_t LayOutQt(QTextDocument& doc) {
  doc.markContentsDirty(0, doc.characterCount());
  doc.setTextWidth(kWidth);
  QAbstractTextDocumentLayout* layout = doc.documentLayout();
  layout->blockBoundingRect(doc.lastBlock());  // lays out everything up to the last block
  benchmark::DoNotOptimize(layout->documentSize());
  int64_t lines = 0;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) lines += b.layout()->lineCount();
  return lines;
}

void BM_FormatDocument(benchmark::State& state) {
  const std::vector<std::string> paragraphs = LayoutSampleParagraphs(static_cast<int>(state.range(0)));
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  bench::BenchDocument data(canvas, kWidth, 600, 0, kPointSize);
  for (const std::string& p : paragraphs) data.AddNL(p, 0, 0);
  for (auto _ : state) data.Format();
  state.counters["lines"] = static_cast<double>(data.DrawItems.Count());
  state.counters["paragraphs/s"] = benchmark::Counter(static_cast<double>(paragraphs.size()),
                                                      benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FormatDocument)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentLayout(benchmark::State& state) {
  const std::vector<std::string> paragraphs = LayoutSampleParagraphs(static_cast<int>(state.range(0)));
  std::unique_ptr<QTextDocument> doc = MakeQtSampleDocument(paragraphs);
  int64_t lines = 0;
  for (auto _ : state) lines = LayOutQt(*doc);
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["paragraphs/s"] = benchmark::Counter(static_cast<double>(paragraphs.size()),
                                                      benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_QTextDocumentLayout)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// One keystroke in the middle paragraph: a character typed, its sections
// reformatted and the rest of the document shifted; every other keystroke
// takes the character away again, so the document does not grow. Typing
// that re-wraps the paragraph moves every later drawing item.
void Keystroke(benchmark::State& state, bool rewrap) {
  const std::vector<std::string> paragraphs = LayoutSampleParagraphs(static_cast<int>(state.range(0)));
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  bench::BenchDocument data(canvas, kWidth, 600, 0, kPointSize);
  for (const std::string& p : paragraphs) data.AddNL(p, 0, 0);
  data.Format();
  const int itemNo = data.ItemCount() / 2;
  const std::string original = data.GetItemTextR(itemNo);
  // Enough characters to wrap onto one more line, or one that does not.
  const std::string typed = rewrap ? std::string(60, 'w') : std::string("w");
  bool inserted = false;
  for (auto _ : state) {
    int first = data.FindDrawItemByItem(itemNo), last = first;
    while (last + 1 < data.DrawItems.Count() && data.DrawItems[last + 1]->ItemNo == itemNo) ++last;
    int start, end;
    data.GetParaBounds(first, last, start, end);
    inserted = !inserted;
    data.SetItemTextR(itemNo, inserted ? typed + original : original);
    data.FormatParas(start, end, 0);
  }
  state.counters["drawing items"] = static_cast<double>(data.DrawItems.Count());
}
void BM_KeystrokeReformat(benchmark::State& state) { Keystroke(state, false); }
void BM_KeystrokeRewrapReformat(benchmark::State& state) { Keystroke(state, true); }
BENCHMARK(BM_KeystrokeReformat)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeRewrapReformat)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);

// The same keystroke in QTextDocument, as its users make one: the cursor at
// the start of the middle block, `insertText` of one character (typing) or
// `deleteChar` (the Delete key), then `documentSize`, which brings the layout
// up to date. The opposite edit follows outside the timing, so the block
// keeps its text and its lines from one keystroke to the next. The document
// is laid out as a view first shows it; after LayOutQt's `markContentsDirty`
// the first edit alone would lay out the whole document once more.
void QtKeystroke(benchmark::State& state, bool typing) {
  const std::vector<std::string> paragraphs = LayoutSampleParagraphs(static_cast<int>(state.range(0)));
  std::unique_ptr<QTextDocument> doc = MakeQtSampleDocument(paragraphs);
  doc->setTextWidth(kWidth);
  benchmark::DoNotOptimize(doc->documentLayout()->documentSize());
  QTextCursor cursor(doc->findBlockByNumber(doc->blockCount() / 2));
  const int position = cursor.position();
  auto edit = [&](bool insert) {
    cursor.setPosition(position);
    if (insert)
      cursor.insertText(QStringLiteral("w"));
    else
      cursor.deleteChar();
    benchmark::DoNotOptimize(doc->documentLayout()->documentSize());
  };
  if (!typing) edit(true);
  for (auto _ : state) {
    edit(typing);
    state.PauseTiming();
    edit(!typing);
    state.ResumeTiming();
  }
}
void BM_QTextDocumentTypingKeystroke(benchmark::State& state) { QtKeystroke(state, true); }
void BM_QTextDocumentDeleteKeystroke(benchmark::State& state) { QtKeystroke(state, false); }
BENCHMARK(BM_QTextDocumentTypingKeystroke)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTextDocumentDeleteKeystroke)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);

// Resident set figures of this process in KiB: VmHWM (peak) and VmRSS.
void ReadMemory(long& peak, long& current) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) peak = std::stol(line.substr(6));
    if (line.rfind("VmRSS:", 0) == 0) current = std::stol(line.substr(6));
  }
}

int MeasureMemory(const std::string& side, int count) {
  const std::vector<std::string> paragraphs = LayoutSampleParagraphs(count);
  QImage image(1, 1, QImage::Format_RGB32);
  // The font is loaded before the baseline on both sides.
  {
    TQtCanvas warm(image);
    warm.Font().Name = "宋体";
    warm.TextExtentW(u"中文 ab");
    std::unique_ptr<QTextDocument> tiny = MakeQtSampleDocument({"\xD6\xD0 ab"});
    LayOutQt(*tiny);
  }
  long peak0 = 0, rss0 = 0, peak = 0, rss = 0;
  ReadMemory(peak0, rss0);
  int64_t lines = 0;
  TQtCanvas canvas(image);
  std::unique_ptr<bench::BenchDocument> data;
  std::unique_ptr<QTextDocument> doc;
  if (side == "quillet") {
    data = std::make_unique<bench::BenchDocument>(canvas, kWidth, 600, 0, kPointSize);
    for (const std::string& p : paragraphs) data->AddNL(p, 0, 0);
    data->Format();
    lines = data->DrawItems.Count();
  } else {
    doc = MakeQtSampleDocument(paragraphs);
    lines = LayOutQt(*doc);
  }
  ReadMemory(peak, rss);
  std::printf("%s %d paragraphs, %lld lines: peak +%ld KiB, resident +%ld KiB (the paragraph texts themselves: %zu KiB)\n",
              side.c_str(), count, static_cast<long long>(lines), peak - peak0, rss - rss0,
              [&paragraphs] {
                size_t n = 0;
                for (const std::string& p : paragraphs) n += p.size();
                return n / 1024;
              }());
  return 0;
}

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  quillet::InstallProjectFontConfig();
  QGuiApplication app(argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--memory=", 9) == 0)
      return quillet::bench::MeasureMemory(argv[i] + 9, i + 1 < argc ? std::atoi(argv[i + 1]) : 50000);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
