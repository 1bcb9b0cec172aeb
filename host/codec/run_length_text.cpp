#include "host/codec/run_length_text.h"

#include "host/codec/string_index.h"
#include "platform/core/arith.h"
#include "platform/core/hex_text.h"

namespace quillet {

namespace {
constexpr size_t kGroup = 4;
}  // namespace

std::string UnZip(std::string_view text) {
  const size_t groups = text.size() / kGroup;
  // Checked and measured first, so the result is allocated once and bounded.
  size_t total = 0;
  for (size_t k = 0; k < groups; ++k) {
    const std::string_view group = text.substr(k * kGroup, kGroup);
    if (HexDigitValue(group[0]) < 0 || HexDigitValue(group[1]) < 0)
      ThrowInvalidInteger("$" + std::string(group.substr(0, 2)));
    total += 2 * static_cast<size_t>(HexToInt(group.substr(2, 2)));
    if (total > kMaxUnZipText) throw EConvertError("Run-length text expands beyond its limit");
  }
  std::string out;
  out.reserve(total);
  for (size_t k = 0; k < groups; ++k) {
    const std::string_view group = text.substr(k * kGroup, kGroup);
    for (int64_t n = HexToInt(group.substr(2, 2)); n > 0; --n) out.append(group.substr(0, 2));
  }
  return out;
}

int64_t HexToInt(std::string_view text) {
  int64_t result = 0;
  for (const char c : text) {
    const int letter = StringIndex(c, "abcdef");
    int digit = 0;
    if (letter > 0) {
      digit = 9 + letter;
    } else if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else {
      ThrowInvalidInteger(std::string(1, c));
    }
    result = result * 16 + digit;
    if (result > 0xFFFFFFFF) ThrowInvalidInteger(text);
  }
  return result;
}

}  // namespace quillet
