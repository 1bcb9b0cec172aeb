#include "host/codec/string_index.h"

#include "platform/core/code_page.h"

namespace quillet {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal ignoring ASCII case, stepping a by characters so that the trail byte
// of a double-byte character is never folded.
bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    const size_t next = CharNextEx(CP_ACP, a, i);
    if (next - i == 1) {
      if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    } else if (a.substr(i, next - i) != b.substr(i, next - i)) {
      return false;
    }
    i = next;
  }
  return true;
}

}  // namespace

int StringIndex(char ch, std::string_view set) {
  for (size_t i = 0; i < set.size(); ++i)
    if (LowerAscii(set[i]) == LowerAscii(ch)) return static_cast<int>(i) + 1;
  return 0;
}

int StringIndex(std::string_view s, const std::vector<std::string>& array, bool caseSensitive) {
  for (size_t i = 0; i < array.size(); ++i)
    if (caseSensitive ? array[i] == s : SameTextAscii(s, array[i])) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace quillet
