#include "host/codec/division_string.h"

#include "engine/base/dv_lists.h"

namespace quillet {

void TDivisionString::Init() { strItems_.clear(); }

void TDivisionString::Run(std::string_view source, std::string_view delimiter) {
  barbarismStr_.assign(source);
  parSym_.assign(delimiter);
  Comminute();
}

void TDivisionString::Comminute() {
  strItems_.clear();
  const std::string_view s = barbarismStr_;
  // Each character is compared as a one-character string with the delimiter.
  const bool splits = parSym_.size() == 1;
  size_t start = 0;
  if (splits) {
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != parSym_[0]) continue;
      strItems_.emplace_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  if (!s.empty() && start < s.size()) strItems_.emplace_back(s.substr(start));
}

const std::string& TDivisionString::StrItems(int index) const {
  if (index < 0 || index >= StrCount()) ThrowListIndexError(index);
  return strItems_[static_cast<size_t>(index)];
}

}  // namespace quillet
