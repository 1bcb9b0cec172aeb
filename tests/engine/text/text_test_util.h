#pragma once
// UTF-16 text as a Unicode item keeps it: UTF-16LE code units in an 8-bit string.
#include <string>

namespace quillet::test {

inline std::string U16(const std::u16string& u) {
  std::string s;
  for (char16_t c : u) s += static_cast<char>(c & 0xFF), s += static_cast<char>(c >> 8);
  return s;
}

}  // namespace quillet::test
