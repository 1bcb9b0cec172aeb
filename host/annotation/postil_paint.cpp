// Drawing the records: over the viewer from its paint event, and over each
// printed page.
#include <algorithm>
#include <cmath>

#include "host/annotation/postil.h"
#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

// Documents are laid out at 96 pixels per inch whatever the screen.
constexpr int32_t kScreenPpi = 96;

TRect DocumentRect(const TRect& r, double dx, double dy) {
  auto move = [](int32_t v, double d) {
    return static_cast<int32_t>(std::clamp<double>(std::floor(v - d), INT32_MIN, INT32_MAX));
  };
  return {move(r.Left, dx), move(r.Top, dy), move(r.Right, dx) + 1, move(r.Bottom, dy) + 1};
}

int32_t Nearest(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

}  // namespace

void TQvPostil::Paint(TCanvas& canvas, int32_t HScrollPos, int32_t VScrollPos, int32_t VSmallStep) {
  const double dx = double(leftOffset) - HScrollPos;
  const double dy = -double(VScrollPos) * VSmallStep;
  const TPostilScene& added = NewScene();
  // Nothing to show: the window's own paint stays as it is, without a
  // window-sized layer laid over it at every paint. The next paint with
  // strokes draws the layer anew.
  if (allScene_.Items.empty() && added.Items.empty()) {
    layerState_ = LayerState{};
    return;
  }
  const bool fresh = canvas.FitLayer(layer_);
  if (!layer_) {
    const TRect visible = DocumentRect(canvas.ClipRect(), dx, dy);
    allScene_.Draw(*this, canvas, visible, dx, dy);
    added.Draw(*this, canvas, visible, dx, dy);
    return;
  }
  // The layer keeps what was drawn; while strokes only grow, only the new
  // segments are drawn into it.
  TCanvas& into = layer_->Canvas();
  const TRect visible = DocumentRect(into.ClipRect(), dx, dy);
  if (fresh || layerState_.Base != baseGeneration_ || layerState_.Dx != dx || layerState_.Dy != dy) {
    layer_->Clear();
    allScene_.Draw(*this, into, visible, dx, dy);
    added.Draw(*this, into, visible, dx, dy);
  } else {
    size_t firstItem = layerState_.Items;
    // The last run drawn may have grown since.
    if (firstItem > 0 && added.Items[firstItem - 1].Seal < 0) --firstItem;
    added.Draw(*this, into, visible, dx, dy, firstItem, layerState_.Segments);
  }
  layerState_ = LayerState{baseGeneration_, dx, dy, added.Items.size(), added.Segments.size()};
  canvas.DrawLayer(*layer_);
}

void TQvPostil::ReadPrintPoints() {
  if (printGeneration_ == generation_) return;
  printGeneration_ = generation_;
  printPoints_.clear();
  printSeals_.clear();
  printByHeight_.clear();
  TColor color = 0;
  int32_t width = 0;
  std::vector<std::string_view> fields;
  for (const std::vector<std::string>* lines : {&slAllPostil, &slNewPostil}) {
    for (const std::string& line : *lines) {
      const TPostilTag tag = PostilTagOf(line);
      if (tag == TPostilTag::User || tag == TPostilTag::SealData || tag == TPostilTag::Other) continue;
      SplitPostilFields(line, fields);
      if (tag == TPostilTag::Pen) {
        if (const std::optional<TPostilPen> pen = ReadPostilPen(fields)) {
          color = pen->Color;
          width = Nearest(pen->Width);
        }
        continue;
      }
      const std::optional<TPostilPoint> point = ReadPostilPoint(fields);
      if (!point) {
        // A damaged pen-down still ends the stroke before it; other damaged
        // points are left out as if absent.
        if (tag == TPostilTag::MoveTo) printPoints_.push_back(PrintPoint{});
        continue;
      }
      PrintPoint p{tag, Nearest(point->X), Nearest(point->Y), color, width, -1};
      if (tag == TPostilTag::Seal && fields.size() >= 4) {
        p.Seal = static_cast<int32_t>(printSeals_.size());
        printSeals_.emplace_back(fields[3]);
      }
      printPoints_.push_back(p);
    }
  }
  for (uint32_t i = 0; i < printPoints_.size(); ++i)
    if (printPoints_[i].Tag != TPostilTag::Other) printByHeight_.push_back(i);
  std::stable_sort(printByHeight_.begin(), printByHeight_.end(),
                   [this](uint32_t a, uint32_t b) { return printPoints_[a].Y < printPoints_[b].Y; });
}

void TQvPostil::PrintPaint(TCanvas& canvas, const TRect& PrintAreaRect, const TPostilPageSpan& page) {
  // Paper gets plain lines of whole widths (TQvLines): each stretch of a
  // stroke in one pen as one polyline, so that a page carries a path per
  // stretch rather than a line per segment. Wide pens have round caps and
  // joins, thin ones leave out only the last point either way, so the ink
  // is the same as that of the segments one by one.
  const int32_t ppiX = canvas.PixelsPerInchX(), ppiY = canvas.PixelsPerInchY();
  ReadPrintPoints();
  const auto onPage = [&](const PrintPoint& p) {
    return p.Tag != TPostilTag::Other && p.Y >= page.ViewFrom && p.Y < page.ViewTo;
  };
  const auto below = [this](uint32_t i, int32_t y) { return printPoints_[i].Y < y; };
  const auto first = std::lower_bound(printByHeight_.begin(), printByHeight_.end(), page.ViewFrom, below);
  const auto last = std::lower_bound(first, printByHeight_.end(), page.ViewTo, below);
  // The page's points in record order, so strokes cross as they were drawn.
  pagePoints_.assign(first, last);
  std::sort(pagePoints_.begin(), pagePoints_.end());
  std::vector<TPoint>& run = pageRun_;
  run.clear();
  TColor runColor = 0;
  float runWidth = 0;
  // Draws the stretch so far; with `keepEnd` the next one goes on from its end.
  const auto flush = [&](bool keepEnd) {
    qvLines.setPenColor(runColor);
    qvLines.setPenWidth(runWidth);
    qvLines.Polyline(canvas, run);
    if (keepEnd && !run.empty()) {
      run.erase(run.begin(), run.end() - 1);
    } else {
      run.clear();
    }
  };
  for (const uint32_t i : pagePoints_) {
    const PrintPoint& p = printPoints_[i];
    const int32_t X = MulDiv(p.X, ppiX, kScreenPpi) + PrintAreaRect.Left;
    const int64_t fromAnchor = std::clamp<int64_t>(int64_t{p.Y} - page.ViewAnchor, INT32_MIN, INT32_MAX);
    const int32_t yPosition =
        PrintAreaRect.Top + page.PrintAnchor + MulDiv(static_cast<int32_t>(fromAnchor), ppiY, kScreenPpi);
    if (p.Tag == TPostilTag::Seal) {
      // Over the lines before it; a line after it goes on from where they ended.
      flush(true);
      if (TBitmap* bmp = p.Seal >= 0 ? GetBmp(printSeals_[static_cast<size_t>(p.Seal)]) : nullptr)
        DrawTuzhang(*bmp, canvas, X, yPosition, MulDiv(bmp->Width(), ppiX, kScreenPpi),
                    MulDiv(bmp->Height(), ppiY, kScreenPpi));
      continue;
    }
    const bool resumes = p.Tag == TPostilTag::MoveTo || i == 0 || !onPage(printPoints_[i - 1]);
    if (resumes || run.empty()) {
      // A segment that starts on another page is left out; the stroke resumes here.
      flush(false);
      run.push_back({X, yPosition});
      continue;
    }
    // A segment of no length leaves no ink.
    if (run.back() == TPoint{X, yPosition}) continue;
    const TColor color = p.Color;
    const auto width = static_cast<float>(std::nearbyint(double(ppiY) * p.Width / kScreenPpi));
    // A segment is drawn in the pen of its end point.
    if (run.size() >= 2 && (color != runColor || width != runWidth)) flush(true);
    runColor = color;
    runWidth = width;
    run.push_back({X, yPosition});
  }
  flush(false);
}

}  // namespace quillet
