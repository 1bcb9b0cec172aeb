#pragma once
// Looking a character up in a set and a string up in a list.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The 1-based position of the first character of set equal to ch ignoring
// (ASCII) case; 0 when none is.
int StringIndex(char ch, std::string_view set);

// The 1-based index of the first element equal to s; 0 when none is. Without
// caseSensitive, ASCII letters match either case; the bytes of a double-byte
// character of the system code page always compare exactly.
int StringIndex(std::string_view s, const std::vector<std::string>& array, bool caseSensitive);

}  // namespace quillet
