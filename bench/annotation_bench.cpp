// Annotations over a page on the Qt canvas.
//
// A page of 800 x 1000 pixels carrying 10,000 strokes of 20 points (200,000
// points) as loaded "QP" records, each stroke in one of four pens, painted
// onto a window image of the page's size:
//   BM_RepaintUnchanged      the layer's paint with nothing changed since the
//                            last one (the window exposed again)
//   BM_DrawImageOfPage       beside it: QPainter drawing a page-sized image
//   BM_RedrawAfterChange     the paint after a change (a new stroke undone or
//                            done again): every stroke drawn anew
//   BM_QPainterSegments      beside it: QPainter drawing the same segments,
//                            anti-aliased with round caps, from arrays made
//                            beforehand, one pen per stroke
// Smoothing at pen-up:
//   BM_SmoothStroke          a stroke of 10,000 points smoothed and its
//                            records rewritten
//   BM_FormatNumbers         beside it: its 30,000 numbers formatted alone
// Run:
//   build/release/bench/annotation_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>
#include <string>
#include <vector>

#include "host/annotation/postil.h"
#include "host/annotation/postil_record.h"
#include "platform/gfx/font_setup.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 800, kHeight = 1000, kStrokes = 10000, kPoints = 20;
const TColor kPens[] = {255, 0xFF0000, 0x008000, 0x000000};

struct Stroke {
  TColor color;
  int width;
  std::vector<QPointF> points;
};

const std::vector<Stroke>& PageStrokes() {
  static const std::vector<Stroke> strokes = [] {
    std::mt19937 rnd(7);
    std::uniform_real_distribution<double> at(20, 780), step(-6, 6);
    std::vector<Stroke> out;
    for (int s = 0; s < kStrokes; ++s) {
      Stroke stroke{kPens[s % 4], 1 + s % 3, {}};
      double x = at(rnd), y = at(rnd) * kHeight / kWidth;
      for (int p = 0; p < kPoints; ++p) {
        stroke.points.emplace_back(x, y);
        x += step(rnd);
        y += step(rnd);
      }
      out.push_back(std::move(stroke));
    }
    return out;
  }();
  return strokes;
}

std::vector<std::string> PageRecords() {
  std::vector<std::string> lines;
  for (const Stroke& s : PageStrokes()) {
    lines.push_back("QPP;" + std::to_string(s.color) + ";" + std::to_string(s.width));
    for (size_t p = 0; p < s.points.size(); ++p)
      lines.push_back(std::string(p ? "QPL;" : "QPM;") + PostilNumberText(s.points[p].x()) + ";" +
                      PostilNumberText(s.points[p].y()) + ";user;2026-12-10");
  }
  return lines;
}

QImage Window() {
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  window.fill(Qt::white);
  return window;
}

void BM_RepaintUnchanged(benchmark::State& state) {
  TQvPostil postil;
  postil.loadPostil(PageRecords());
  QImage window = Window();
  TQtCanvas canvas(window);
  postil.Paint(canvas, 0, 0, 1);
  for (auto _ : state) {
    postil.Paint(canvas, 0, 0, 1);
    canvas.EndPaint();
  }
}
BENCHMARK(BM_RepaintUnchanged)->Unit(benchmark::kMillisecond);

void BM_DrawImageOfPage(benchmark::State& state) {
  QImage page(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  page.fill(Qt::transparent);
  QImage window = Window();
  for (auto _ : state) {
    QPainter p(&window);
    p.drawImage(QPointF(0, 0), page);
  }
}
BENCHMARK(BM_DrawImageOfPage)->Unit(benchmark::kMillisecond);

void BM_RedrawAfterChange(benchmark::State& state) {
  TQvPostil postil;
  postil.loadPostil(PageRecords());
  postil.BeginDraw();
  postil.AddPointM(10, 10, 255, 2, 0, 0, 1);
  postil.AddPointL(50, 50, 255, 2, 0, 0, 1);
  postil.EndDraw();
  QImage window = Window();
  TQtCanvas canvas(window);
  bool undo = true;
  for (auto _ : state) {
    if (undo)
      postil.Undo();
    else
      postil.Redo();
    undo = !undo;
    postil.Paint(canvas, 0, 0, 1);
    canvas.EndPaint();
  }
}
BENCHMARK(BM_RedrawAfterChange)->Unit(benchmark::kMillisecond);

void BM_QPainterSegments(benchmark::State& state) {
  struct Prepared {
    QPen pen;
    std::vector<QLineF> lines;
  };
  std::vector<Prepared> prepared;
  for (const Stroke& s : PageStrokes()) {
    Prepared p{QPen(QColor(s.color & 0xFF, s.color >> 8 & 0xFF, s.color >> 16 & 0xFF), s.width, Qt::SolidLine,
                    Qt::RoundCap, Qt::RoundJoin),
               {}};
    for (size_t i = 1; i < s.points.size(); ++i) p.lines.emplace_back(s.points[i - 1], s.points[i]);
    prepared.push_back(std::move(p));
  }
  QImage window = Window();
  for (auto _ : state) {
    QPainter p(&window);
    p.setRenderHint(QPainter::Antialiasing);
    for (const Prepared& s : prepared) {
      p.setPen(s.pen);
      p.drawLines(s.lines.data(), static_cast<int>(s.lines.size()));
    }
  }
}
BENCHMARK(BM_QPainterSegments)->Unit(benchmark::kMillisecond);

constexpr int kLongStroke = 10000;

void BM_SmoothStroke(benchmark::State& state) {
  TQvPostil postil;
  postil.Today = [] { return std::string("2026-12-10"); };
  postil.SetUser("user");
  for (auto _ : state) {
    state.PauseTiming();
    postil.clear();
    std::mt19937 rnd(3);
    postil.BeginDraw();
    postil.AddPointM(400, 400, 255, 3, 0, 0, 1);
    for (int i = 1; i < kLongStroke; ++i)
      postil.AddPointL(400 + static_cast<int>(rnd() % 200), 400 + static_cast<int>(rnd() % 200), 255,
                       2 + static_cast<int>(rnd() % 3), 0, 0, 1);
    state.ResumeTiming();
    postil.EndDraw();  // pen up: the stroke is smoothed
  }
}
BENCHMARK(BM_SmoothStroke)->Unit(benchmark::kMillisecond);

void BM_FormatNumbers(benchmark::State& state) {
  std::vector<float> values;
  std::mt19937 rnd(3);
  for (int i = 0; i < 3 * kLongStroke; ++i) values.push_back(static_cast<float>(rnd() % 100000) / 97.0f);
  for (auto _ : state) {
    size_t length = 0;
    for (float v : values) length += PostilNumberText(v).size();
    benchmark::DoNotOptimize(length);
  }
}
BENCHMARK(BM_FormatNumbers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  quillet::InstallProjectFontConfig();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
