#pragma once
// The run-length hexadecimal text in which the host hands over seal bitmaps:
// groups of four characters, a byte's two digits and a two-digit repeat count.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// The largest plain hexadecimal text UnZip produces (a 128 MiB bitmap).
constexpr size_t kMaxUnZipText = size_t(256) << 20;

// Expands the groups into plain hexadecimal text; characters after the last
// whole group are ignored and a count of 0 adds nothing. A character that is
// not a hexadecimal digit raises EConvertError "'...' is not a valid integer
// value", as does an expansion beyond kMaxUnZipText.
std::string UnZip(std::string_view text);

// The value of a hexadecimal numeral of either case; "" is 0. A character that
// is not a digit, or a value beyond eight significant digits, raises
// EConvertError.
int64_t HexToInt(std::string_view text);

}  // namespace quillet
