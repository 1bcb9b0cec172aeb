#pragma once
// Bytes as hexadecimal text and back, the form in which documents cross the
// database field and the automation interface. Both directions look up two
// digits at a time in constant tables and never allocate per byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// Writes 2 * size upper-case digits to out, most significant digit first.
void BytesToHex(const uint8_t* bytes, size_t size, char* out);
std::string BytesToHex(std::string_view bytes);

// Decodes text.size() / 2 digit pairs (either case) into out and answers how
// many bytes it wrote: all of them, or the index of the first pair that holds
// a character that is not a hexadecimal digit. An odd last digit is left to
// the caller.
size_t HexToBytes(std::string_view text, uint8_t* out);

// 0-15 for a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char c);

}  // namespace quillet
