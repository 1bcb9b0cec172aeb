#pragma once
// Character helpers the parser and the field readers share.
#include <cstdint>
#include <string>

namespace quillet {

// The value of a hexadecimal digit; -1 for any other byte.
inline int RTFHexDigit(uint8_t ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// The text without the blanks and control characters at its ends.
inline std::string TrimBlanks(const std::string& s) {
  size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

}  // namespace quillet
