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

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/gfx/font_setup.h"
#include "platform/gfx/qt_canvas.h"
#include "support/sample_document.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 700, kHeight = 900;

// A document laid out at the window's width and scrolled by vOffs.
class BenchData : public TCustomDVFormattedData {
 public:
  explicit BenchData(TCanvas& canvas) : canvas_(canvas) {
    SetDVStyle(&sheet_);
    for (int i : {0, 3}) {
      TFontInfo& font = sheet_.TextStyles()[i];
      font.FontName = "宋体";
      font.Charset = GB2312_CHARSET;
      font.Size = 12;
    }
  }
  ~BenchData() override { Clear(); }
  int32_t vOffs = 0;

  TDVFlags GetFlags() const override { return dvflRoot | dvflTrim; }
  void SetFlags(TDVFlags) override {}
  int32_t GetAreaWidth() const override { return kWidth; }
  int32_t GetLeftMargin() const override { return 5; }
  int32_t GetRightMargin() const override { return 5; }
  int32_t GetTopMargin() const override { return 5; }
  int32_t GetBottomMargin() const override { return 5; }
  int32_t GetMinTextWidth() const override { return 0; }
  int32_t GetMaxTextWidth() const override { return 0; }
  TColor GetColor() const override { return clWindow; }
  void AdjustVScrollUnits() override {}
  void SetDocumentAreaSize(int32_t, int32_t, bool) override {}
  int32_t GetWidth() const override { return kWidth; }
  int32_t GetHeight() const override { return kHeight; }
  void ScrollTo(int32_t, bool) override {}
  void HScrollTo(int32_t) override {}
  int32_t GetVSmallStep() const override { return 10; }
  void DoDVMouseMove(int32_t) override {}
  int32_t GetVOffs() const override { return vOffs; }
  TCanvas* GetCanvas() override { return &canvas_; }

 private:
  TDVStyle sheet_;
  TCanvas& canvas_;
};

// The document, formatted, scrolled to its middle, a selection across the view.
std::unique_ptr<BenchData> MakeDocument(TCanvas& canvas, int paragraphs) {
  auto data = std::make_unique<BenchData>(canvas);
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
  std::unique_ptr<BenchData> data = MakeDocument(canvas, static_cast<int>(state.range(0)));
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
  std::unique_ptr<BenchData> data = MakeDocument(canvas, static_cast<int>(state.range(0)));
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
