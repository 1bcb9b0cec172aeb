#pragma once
// Five-point quadratic least-squares smoothing (Savitzky-Golay) with its
// end-point forms. Each set of weights sums to its divisor, so a straight,
// evenly spaced stroke of one width comes out as it went in.
#include <vector>

namespace quillet {

// s gets a smoothed copy of a; sequences of fewer than five values are
// copied unchanged. Values are 32-bit floats, as strokes store them.
void SmoothFivePoint(const std::vector<float>& a, std::vector<float>& s);

}  // namespace quillet
