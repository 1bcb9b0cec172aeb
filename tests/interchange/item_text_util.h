#pragma once
// Reading documents back in tests: an item's text as UTF-8, whether it is
// 8-bit text in its style's code page or a Unicode item.
#include <string>

#include "engine/model/dv_data.h"
#include "platform/core/code_page.h"

namespace quillet::test {

inline std::string ItemUtf8(const TCustomDVData& doc, int i) {
  const std::string& text = doc.GetItemTextR(i);
  if (!doc.GetItem(i)->IsUnicode()) return Utf16ToUtf8(MultiByteToWideChar(doc.GetStyleCodePage(doc.GetItemStyle(i)), text));
  std::u16string units;
  for (size_t k = 0; k + 1 < text.size(); k += 2) units += char16_t(uint8_t(text[k]) | uint8_t(text[k + 1]) << 8);
  return Utf16ToUtf8(units);
}

// The text item whose text contains the words; -1 when none.
inline int FindItem(const TCustomDVData& doc, const std::string& words) {
  for (int i = 0; i < doc.ItemCount(); ++i)
    if (doc.GetItemStyle(i) >= 0 && ItemUtf8(doc, i).find(words) != std::string::npos) return i;
  return -1;
}

}  // namespace quillet::test
