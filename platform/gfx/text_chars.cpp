#include "platform/gfx/text_chars.h"

#include "platform/core/code_page.h"

namespace quillet {

TTextChars SplitText8(std::string_view text, int codePage, bool withWide) {
  TTextChars c;
  codePage = ResolveCodePage(codePage);
  for (size_t i = 0; i < text.size();) {
    i = CharNextEx(codePage, text, i);
    c.srcEnd.push_back(static_cast<uint32_t>(i));
  }
  if (!withWide) return c;
  c.wide = MultiByteToWideChar(codePage, text);
  c.wideStart.reserve(c.Count() + 1);
  if (c.wide.size() == c.Count()) {
    // The usual case: one UTF-16 unit per character.
    for (uint32_t k = 0; k <= c.Count(); ++k) c.wideStart.push_back(k);
    return c;
  }
  // Some character gave none or several units: convert one at a time.
  c.wide.clear();
  for (size_t k = 0; k < c.Count(); ++k) {
    c.wideStart.push_back(static_cast<uint32_t>(c.wide.size()));
    c.wide += MultiByteToWideChar(codePage, text.substr(c.SrcStart(k), c.SrcLength(k)));
  }
  c.wideStart.push_back(static_cast<uint32_t>(c.wide.size()));
  return c;
}

TTextChars SplitText16(std::u16string_view text) {
  TTextChars c;
  c.wide.assign(text);
  c.wideStart.push_back(0);
  for (size_t i = 0; i < text.size();) {
    const bool pair =
        text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    i += pair ? 2 : 1;
    c.srcEnd.push_back(static_cast<uint32_t>(i));
    c.wideStart.push_back(static_cast<uint32_t>(i));
  }
  return c;
}

char32_t CodePointOf(std::u16string_view u) {
  if (u.empty()) return 0xFFFD;
  if (u.size() >= 2 && u[0] >= 0xD800 && u[0] <= 0xDBFF && u[1] >= 0xDC00 && u[1] <= 0xDFFF)
    return 0x10000 + ((static_cast<char32_t>(u[0]) - 0xD800) << 10) + (static_cast<char32_t>(u[1]) - 0xDC00);
  return u[0];
}

std::vector<int32_t> SpreadToSource(const TTextChars& chars, const std::vector<int32_t>& ends) {
  std::vector<int32_t> out;
  out.reserve(chars.Count() == 0 ? 0 : chars.srcEnd.back());
  for (size_t k = 0; k < chars.Count(); ++k) out.insert(out.end(), chars.SrcLength(k), ends[k]);
  return out;
}

void AdvancesPerChar(const TTextChars& chars, size_t srcLength, const std::vector<int32_t>& given,
                     std::vector<int32_t>& advances, std::vector<bool>& have) {
  const size_t n = chars.Count();
  advances.assign(n, 0);
  have.assign(n, false);
  if (given.size() == srcLength && srcLength != n) {
    for (size_t k = 0; k < n; ++k) {
      for (uint32_t i = chars.SrcStart(k); i < chars.srcEnd[k]; ++i) advances[k] += given[i];
      have[k] = true;
    }
    return;
  }
  for (size_t k = 0; k < n && k < given.size(); ++k) {
    advances[k] = given[k];
    have[k] = true;
  }
}

}  // namespace quillet
