// Repainting the viewer's window over a large document.
//
// A viewer of 700 x 900 client pixels shows 50,000 paragraphs of mixed
// Chinese (GBK) and Latin text in two styles (the documents of
// paint_bench.cpp), scrolled to the middle. Timed:
//   BM_DocViewRepaint  one repaint of the whole window through Qt's paint
//                      event: the viewer's Paint, the buffered paint of the
//                      data, the buffer onto the window's backing store
//   BM_DocViewScroll   one vertical unit down and back up, as the arrow keys
//                      scroll: pixels copied, the uncovered band painted. The
//                      unit grows with the document (the range stays within
//                      32000 units), so the band does too; the counter says
//                      how many pixels a unit is
// A 5,000-paragraph document shows that neither grows with the document. Run:
//   build/release/bench/docview_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/core/code_page.h"
#include "bench/support/sample_document.h"
#include "bench/support/widget_bench_main.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 700, kHeight = 900;

struct Viewer {
  TDVStyle sheet;
  TDocView view;

  explicit Viewer(int paragraphs) {
    for (int i : {0, 3}) {
      TFontInfo& font = sheet.TextStyles()[i];
      font.FontName = "宋体";
      font.Charset = GB2312_CHARSET;
      font.Size = 12;
    }
    view.SetStyle(&sheet);
    SampleRandom rnd(11);
    const std::vector<std::string> chinese = SampleChineseWords(rnd);
    const std::vector<std::string> latin = SampleLatinWords();
    for (int p = 0; p < paragraphs; ++p) {
      view.AddNL(SampleParagraph(rnd, chinese, latin, 6 + rnd.Next() % 15), 0, 0);
      view.AddNL(SampleParagraph(rnd, chinese, latin, 3), 3, -1);
    }
    view.Show();
    view.ClientWidget()->resize(kWidth, kHeight);
    view.SetBounds(0, 0, kWidth + view.Width() - view.ClientWidth(), kHeight + view.Height() - view.ClientHeight());
    view.Format();
    view.ScrollTo(view.GetDocumentHeight() / 2);
    QApplication::processEvents();
  }
};

void BM_DocViewRepaint(benchmark::State& state) {
  Viewer v(static_cast<int>(state.range(0)));
  for (auto _ : state) v.view.Refresh();
  state.counters["drawing items"] = static_cast<double>(v.view.DVData().DrawItems.Count());
  state.counters["client"] = v.view.ClientWidth() * 10000.0 + v.view.ClientHeight();
}
BENCHMARK(BM_DocViewRepaint)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_DocViewScroll(benchmark::State& state) {
  Viewer v(static_cast<int>(state.range(0)));
  const int32_t pos = v.view.VPos();
  for (auto _ : state) {
    v.view.SetVScrollPos(pos + 1);
    v.view.SetVScrollPos(pos);
  }
  state.counters["unit px"] = v.view.VSmallStep();
}
BENCHMARK(BM_DocViewScroll)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) { return quillet::bench::RunWidgetBenchmarks(argc, argv); }
