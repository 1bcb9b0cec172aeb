// Repainting a window over a large document on the Qt canvas.
//
// A document of 50,000 paragraphs of mixed Chinese (GBK) and Latin text in
// two text styles, laid out at 700 pixels with the pinned Chinese font and
// scrolled to its middle, with a selection across the window. One repaint of
// the whole 700 x 900 window:
//   BM_PaintBuffered  the window's paint: background and document into a
//                     buffer of the window's size, the buffer onto the window
//   BM_PaintTo        the document alone onto the window's image
// A 5,000-paragraph document shows that the time does not grow with the
// document. Run:
//   build/release/bench/paint_bench
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bench_document.h"
#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/gfx/font_setup.h"
#include "platform/gfx/qt_canvas.h"
#include "bench/support/sample_document.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 700, kHeight = 900;

// A document laid out at the window's width and scrolled by vOffs.
// The document, formatted, scrolled to its middle, a selection across the view.
std::unique_ptr<bench::BenchDocument> MakeDocument(TCanvas& canvas, int paragraphs) {
  auto data = std::make_unique<bench::BenchDocument>(canvas, kWidth, kHeight, 5, 12, std::initializer_list<int>{0, 3});
  SampleRandom rnd(11);
  const std::vector<std::string> chinese = SampleChineseWords(rnd);
  const std::vector<std::string> latin = SampleLatinWords();
  for (int p = 0; p < paragraphs; ++p) {
    const uint32_t words = 6 + rnd.Next() % 15;
    data->AddNL(SampleParagraph(rnd, chinese, latin, words), 0, 0);
    // Every paragraph has a second piece in the other style.
    data->AddNL(SampleParagraph(rnd, chinese, latin, 3), 3, -1);
  }
  data->Format();
  data->vOffs = data->DocumentHeight / 2;
  const int first = data->GetDrawItemNo(data->vOffs + kHeight / 4, gdinLastVisible);
  const int last = data->GetDrawItemNo(data->vOffs + kHeight * 3 / 4, gdinLastVisible);
  data->FSelStartNo = first;
  data->FSelStartOffs = 3;  // a character boundary in Chinese and Latin text alike
  data->FSelEndNo = last;
  data->FSelEndOffs = 3;
  return data;
}

void BM_PaintBuffered(benchmark::State& state) {
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  TQtCanvas canvas(window);
  std::unique_ptr<bench::BenchDocument> data = MakeDocument(canvas, static_cast<int>(state.range(0)));
  canvas.IntersectClipRect(Rect(0, 0, kWidth, kHeight));
  for (auto _ : state) {
    data->PaintBuffered(canvas);
    canvas.EndPaint();  // the pixels are on the image
  }
  state.counters["drawing items"] = static_cast<double>(data->DrawItems.Count());
}
BENCHMARK(BM_PaintBuffered)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_PaintTo(benchmark::State& state) {
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  TQtCanvas canvas(window);
  std::unique_ptr<bench::BenchDocument> data = MakeDocument(canvas, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    data->PaintTo(canvas, Rect(0, 0, kWidth, kHeight));
    canvas.EndPaint();
  }
}
BENCHMARK(BM_PaintTo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  quillet::InstallProjectFontConfig();
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
