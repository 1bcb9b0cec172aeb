#pragma once
// Integer arithmetic and number text as the platform does it.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillet {

// Text that does not convert to the number it should hold.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// EConvertError "'<text>' is not a valid integer value"; the text is
// substituted as it is, never used as a format.
[[noreturn]] void ThrowInvalidInteger(std::string_view text);

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away
// from zero. The caller guards c == 0; here it answers -1 as the platform does.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Decimal integer with an optional sign; the whole text must be the number.
// Parsed in 64 bits and range-checked, so overflow is a failure, not a wrap.
std::optional<int64_t> ParseInt64(std::string_view s);
std::optional<int32_t> ParseInt32(std::string_view s);
// The platform's string-to-integer conversion: an optional sign, then
// decimal digits, or "$" and up to eight hexadecimal digits, whose value is
// taken as a 32-bit pattern ("$80000005" is a system colour). Anything else,
// or a decimal number outside 32 bits, is no integer.
std::optional<int32_t> StrToIntOpt(std::string_view s);

std::string IntToStr(int64_t v);
// Upper-case hexadecimal, zero-padded to at least `digits`.
std::string IntToHex(uint64_t v, int digits);

}  // namespace quillet
