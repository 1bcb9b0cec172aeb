#include "host/annotation/postil_scene.h"

#include <algorithm>
#include <cmath>

#include "host/annotation/postil.h"

namespace quillet {

namespace {

// Runs stay short and small enough that a paint of part of the window skips
// most of them.
constexpr size_t kRunLength = 64;
constexpr double kRunExtent = 256;

}  // namespace

void TPostilScene::Reset(const TPostilScene* continueFrom) {
  Segments.clear();
  Items.clear();
  Seals.clear();
  pen_ = continueFrom ? continueFrom->pen_ : TPostilPen{};
  hasPoint_ = continueFrom && continueFrom->hasPoint_;
  x_ = continueFrom ? continueFrom->x_ : 0;
  y_ = continueFrom ? continueFrom->y_ : 0;
}

void TPostilScene::AddSegment(double x, double y) {
  auto fits = [&](const Item& run) {
    return run.Seal < 0 && run.Pen == pen_ && run.Count < kRunLength &&
           std::max({run.Right, x_, x}) - std::min({run.Left, x_, x}) <= kRunExtent &&
           std::max({run.Bottom, y_, y}) - std::min({run.Top, y_, y}) <= kRunExtent;
  };
  if (Items.empty() || !fits(Items.back())) {
    Item run;
    run.Pen = pen_;
    run.First = Segments.size();
    run.Left = run.Right = x_;
    run.Top = run.Bottom = y_;
    Items.push_back(run);
  }
  Item& run = Items.back();
  Segments.push_back(TLineF{x_, y_, x, y});
  ++run.Count;
  // Round caps reach half the width beyond the ends; a width of 0 is one pixel.
  const double reach = std::max(pen_.Width, 1.0) / 2 + 1;
  run.Left = std::min({run.Left, x_ - reach, x - reach});
  run.Right = std::max({run.Right, x_ + reach, x + reach});
  run.Top = std::min({run.Top, y_ - reach, y - reach});
  run.Bottom = std::max({run.Bottom, y_ + reach, y + reach});
}

void TPostilScene::Add(const std::vector<std::string>& lines, size_t from) {
  for (size_t i = from; i < lines.size(); ++i) {
    const TPostilTag tag = PostilTagOf(lines[i]);
    if (tag == TPostilTag::User || tag == TPostilTag::SealData || tag == TPostilTag::Other) continue;
    SplitPostilFields(lines[i], fields_);
    if (tag == TPostilTag::Pen) {
      if (const std::optional<TPostilPen> pen = ReadPostilPen(fields_)) pen_ = *pen;
      continue;
    }
    const std::optional<TPostilPoint> point = ReadPostilPoint(fields_);
    if (!point) {
      // A stroke whose start is damaged does not join the stroke before it.
      if (tag == TPostilTag::MoveTo) hasPoint_ = false;
      continue;
    }
    if (tag == TPostilTag::Seal) {
      if (fields_.size() < 4) continue;
      Item item;
      item.Seal = static_cast<int>(Seals.size());
      Seals.push_back(SealMark{point->X, point->Y, std::string(fields_[3])});
      Items.push_back(item);
      continue;
    }
    // A line with no point to start from starts the stroke.
    if (tag == TPostilTag::LineTo && hasPoint_) AddSegment(point->X, point->Y);
    x_ = point->X;
    y_ = point->Y;
    hasPoint_ = true;
  }
}

void TPostilScene::Draw(const TQvPostil& postil, TCanvas& canvas, const TRect& visible, double dx, double dy,
                        size_t firstItem, size_t firstSegment) const {
  for (size_t i = firstItem; i < Items.size(); ++i) {
    const Item& item = Items[i];
    if (item.Seal >= 0) {
      const SealMark& seal = Seals[static_cast<size_t>(item.Seal)];
      if (TBitmap* bmp = postil.GetBmp(seal.Id))
        TQvPostil::DrawTuzhang(*bmp, canvas, static_cast<int32_t>(std::nearbyint(seal.X + dx)),
                               static_cast<int32_t>(std::nearbyint(seal.Y + dy)));
      continue;
    }
    if (item.Right < visible.Left || item.Left > visible.Right || item.Bottom < visible.Top ||
        item.Top > visible.Bottom)
      continue;
    const size_t first = std::max(item.First, firstSegment);
    const size_t end = item.First + item.Count;
    if (first < end) canvas.LinesF(&Segments[first], end - first, item.Pen.Width, item.Pen.Color, dx, dy);
  }
}

}  // namespace quillet
