#pragma once
#include <cstdint>

namespace quillet {

struct TPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom are exclusive, as on the platform.
struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect{l, t, r, b}; }
constexpr TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return TRect{l, t, l + w, t + h}; }
void OffsetRect(TRect& r, int32_t dx, int32_t dy);
void InflateRect(TRect& r, int32_t dx, int32_t dy);
// The common part of a and b; false (and an empty rectangle) when they do not meet.
bool IntersectRect(TRect& out, const TRect& a, const TRect& b);
bool PtInRect(const TRect& r, TPoint p);

}  // namespace quillet
