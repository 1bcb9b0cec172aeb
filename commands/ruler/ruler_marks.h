#pragma once
// Where the ruler's scale puts its numbers and ticks: one mark at most per
// pixel column, measured both ways from the left margin edge.
#include <cstdint>
#include <vector>

namespace quillet {

enum TRulerMarkKind : uint8_t { rmNumber, rmLongTick, rmShortTick };

struct TRulerMark {
  int32_t X = 0;
  TRulerMarkKind Kind = rmShortTick;
  int32_t Number = 0;  // rmNumber only
  friend bool operator==(const TRulerMark&, const TRulerMark&) = default;
};

struct TRulerScale {
  int32_t Width = 300;
  int32_t BorderLeft = 5, BorderRight = 5;
  int32_t MarginLeft = 30;
  int32_t TabDist = 10;  // short ticks every TabDist, long ones every 2x, numbers every 4x
  int32_t Factor = 1;    // multiplies the numbers
  bool ShowSmallLines = true, ShowLargeLines = true, ShowNumbers = true;
};

// Left to right over the columns BorderLeft .. Width - BorderRight - 1. A
// number that comes out 0 is left out (the margin edge itself, or a Factor of
// 0); without ShowNumbers its column gets a long tick. A TabDist below 1
// gives no marks.
std::vector<TRulerMark> RulerMarks(const TRulerScale& scale);

}  // namespace quillet
