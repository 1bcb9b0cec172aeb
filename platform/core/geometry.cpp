#include "platform/core/geometry.h"

#include <algorithm>
#include <limits>

namespace quillet {

namespace {

// Coordinates from documents can be anything; saturate instead of overflowing.
int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t AddSat(int32_t a, int32_t b) { return Saturate(static_cast<int64_t>(a) + b); }
int32_t SubSat(int32_t a, int32_t b) { return Saturate(static_cast<int64_t>(a) - b); }

}  // namespace

void OffsetRect(TRect& r, int32_t dx, int32_t dy) {
  r.Left = AddSat(r.Left, dx);
  r.Right = AddSat(r.Right, dx);
  r.Top = AddSat(r.Top, dy);
  r.Bottom = AddSat(r.Bottom, dy);
}

void InflateRect(TRect& r, int32_t dx, int32_t dy) {
  r.Left = SubSat(r.Left, dx);
  r.Right = AddSat(r.Right, dx);
  r.Top = SubSat(r.Top, dy);
  r.Bottom = AddSat(r.Bottom, dy);
}

bool IntersectRect(TRect& out, const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) {
    out = TRect{};
    return false;
  }
  out = r;
  return true;
}

bool PtInRect(const TRect& r, TPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

}  // namespace quillet
