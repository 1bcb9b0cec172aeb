#pragma once
// The font dialog shows the vertical offset and the character spacing as a
// magnitude in a box that takes no sign and a pair of direction options.
// The sign keeps the engine's meaning: a negative offset lowers the text
// ("down"), a negative spacing condenses it. The dialog and the font command
// both convert through these two, so a form read back unchanged gives the
// value that went in.
#include <cstdint>

namespace quillet {

struct TSignedMagnitude {
  int32_t Magnitude = 0;  // never negative
  bool Negative = false;  // down, condensed
};

TSignedMagnitude SplitSign(int32_t value);
// The magnitude's sign is ignored.
int32_t JoinSign(int32_t magnitude, bool negative);

}  // namespace quillet
