#include "commands/dialogs/font_signs.h"

#include <climits>

namespace quillet {

namespace {

// |value| within int32_t: the lowest value has no positive counterpart.
int32_t Magnitude(int32_t value) { return value == INT32_MIN ? INT32_MAX : (value < 0 ? -value : value); }

}  // namespace

TSignedMagnitude SplitSign(int32_t value) { return {Magnitude(value), value < 0}; }

int32_t JoinSign(int32_t magnitude, bool negative) {
  const int32_t m = Magnitude(magnitude);
  return negative ? -m : m;
}

}  // namespace quillet
