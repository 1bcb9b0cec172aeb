#pragma once
// Bytes as the host's hexadecimal text and back. The document text, seal
// bitmaps and the automation members all share this one pair.
#include <string>
#include <string_view>

namespace quillet {

// Two upper-case digits per byte.
std::string StrToHex(std::string_view source);

// Digit pairs of either case to bytes; an odd last digit is read as one byte
// (0-15). A character that is not a hexadecimal digit raises EConvertError
// "'$XY' is not a valid integer value" with the offending pair.
std::string HexToStr(std::string_view text);

}  // namespace quillet
