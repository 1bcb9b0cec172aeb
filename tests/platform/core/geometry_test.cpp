#include "platform/core/geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillet {
namespace {

TEST(Geometry, IntersectRect) {
  TRect out = Rect(9, 9, 9, 9);
  EXPECT_TRUE(IntersectRect(out, Rect(0, 0, 10, 10), Rect(5, -5, 20, 7)));
  EXPECT_EQ(out, Rect(5, 0, 10, 7));
  // Touching edges do not meet: Right and Bottom are exclusive.
  EXPECT_FALSE(IntersectRect(out, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
  EXPECT_EQ(out, TRect{});
}

TEST(Geometry, PtInRectExcludesRightAndBottom) {
  const TRect r = Bounds(10, 20, 5, 5);
  EXPECT_TRUE(PtInRect(r, {10, 20}));
  EXPECT_TRUE(PtInRect(r, {14, 24}));
  EXPECT_FALSE(PtInRect(r, {15, 24}));
  EXPECT_FALSE(PtInRect(r, {14, 25}));
  EXPECT_FALSE(PtInRect(r, {9, 20}));
}

TEST(Geometry, OffsetAndInflateSaturateInsteadOfOverflowing) {
  TRect r = Rect(1, 2, 3, 4);
  OffsetRect(r, 10, -10);
  EXPECT_EQ(r, Rect(11, -8, 13, -6));
  InflateRect(r, 1, 2);
  EXPECT_EQ(r, Rect(10, -10, 14, -4));

  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  TRect big = Rect(0, 0, kMax - 1, 10);
  OffsetRect(big, 5, 0);
  EXPECT_EQ(big.Right, kMax);
  TRect wide = Rect(kMin + 1, 0, 0, 0);
  InflateRect(wide, kMax, kMin);
  EXPECT_EQ(wide.Left, kMin);
  EXPECT_EQ(wide.Right, kMax);
  EXPECT_EQ(wide.Top, kMax);
  EXPECT_EQ(wide.Bottom, kMin);
}

}  // namespace
}  // namespace quillet
