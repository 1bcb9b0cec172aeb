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

void TQvPostil::PrintPaint(TCanvas& canvas, const TRect& PrintAreaRect, const TPostilPageSpan& page) {
  // Paper gets plain lines of whole widths (TQvLines).
  const int32_t ppiX = canvas.PixelsPerInchX(), ppiY = canvas.PixelsPerInchY();
  TColor color = 0;
  int32_t width = 0;
  bool previousOnPage = false;
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
        if (tag == TPostilTag::MoveTo) previousOnPage = false;
        continue;
      }
      const int32_t X = MulDiv(Nearest(point->X), ppiX, kScreenPpi) + PrintAreaRect.Left;
      const int32_t Y = Nearest(point->Y);
      qvLines.setPenWidth(static_cast<float>(std::nearbyint(double(ppiY) * width / kScreenPpi)));
      qvLines.setPenColor(color);
      const bool onPage = Y >= page.ViewFrom && Y < page.ViewTo;
      if (onPage) {
        const int64_t below = std::clamp<int64_t>(int64_t{Y} - page.ViewAnchor, INT32_MIN, INT32_MAX);
        const int32_t yPosition = PrintAreaRect.Top + page.PrintAnchor + MulDiv(static_cast<int32_t>(below), ppiY,
                                                                               kScreenPpi);
        if (tag == TPostilTag::Seal) {
          if (TBitmap* bmp = fields.size() >= 4 ? GetBmp(std::string(fields[3])) : nullptr)
            DrawTuzhang(*bmp, canvas, X, yPosition, MulDiv(bmp->Width(), ppiX, kScreenPpi),
                        MulDiv(bmp->Height(), ppiY, kScreenPpi));
        } else if (tag == TPostilTag::MoveTo || !previousOnPage) {
          // A segment that starts on another page is left out; the stroke resumes here.
          qvLines.MoveTo(canvas, X, yPosition);
        } else {
          qvLines.LineTo(canvas, X, yPosition);
        }
      }
      previousOnPage = onPage;
    }
  }
}

}  // namespace quillet
