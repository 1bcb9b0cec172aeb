#include "engine/text/html_text.h"

#include "engine/text/item_text.h"
#include "platform/core/stream.h"

namespace quillet {

std::string DVU_GetHTMLEncodedUnicode(std::string_view s, bool noEmptyLines, bool specialCode) {
  const std::u16string units = DVU_Units(s);
  std::string out;
  out.reserve(units.size() * 2);
  bool plainSpaceBefore = false;
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    if (c < 128 && specialCode) {
      out.push_back(static_cast<char>(c));
    } else if (c == ' ') {
      // The first space of the text, and every other one of a run, is hard.
      if (i == 0 || plainSpaceBefore) {
        out += "&nbsp;";
      } else {
        out.push_back(' ');
        plainSpaceBefore = true;
        continue;
      }
    } else if (c < 128) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out.push_back(static_cast<char>(c));
      }
    } else {
      char32_t cp = c;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (units[i + 1] - 0xDC00);
        ++i;
      } else if (c >= 0xD800 && c <= 0xDFFF) {
        cp = 0xFFFD;  // a reference to a lone surrogate is not a character
      }
      out += "&#" + std::to_string(cp) + ";";
    }
    plainSpaceBefore = false;
  }
  if (out.empty() && noEmptyLines) out = "&nbsp;";
  return out;
}

void DVU_WriteHTMLEncodedUnicode(TStream& stream, std::string_view s, bool noEmptyLines, bool specialCode) {
  stream.WriteString(DVU_GetHTMLEncodedUnicode(s, noEmptyLines, specialCode));
}

}  // namespace quillet
