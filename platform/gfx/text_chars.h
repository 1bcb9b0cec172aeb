#pragma once
// Text split into the characters that measuring and drawing step over: 8-bit
// text by the lead bytes of its code page (a double-byte character is one),
// UTF-16 text by code points (a surrogate pair is one). Internal to the
// graphics layer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct TTextChars {
  std::vector<uint32_t> srcEnd;     // per character: its end in the source (bytes or code units)
  std::u16string wide;              // the text in UTF-16, when asked for
  std::vector<uint32_t> wideStart;  // per character and one past the last: its start in `wide`

  size_t Count() const { return srcEnd.size(); }
  uint32_t SrcStart(size_t k) const { return k == 0 ? 0 : srcEnd[k - 1]; }
  uint32_t SrcLength(size_t k) const { return srcEnd[k] - SrcStart(k); }
  std::u16string_view Wide(size_t k) const {
    return std::u16string_view(wide).substr(wideStart[k], wideStart[k + 1] - wideStart[k]);
  }
};

TTextChars SplitText8(std::string_view text, int codePage, bool withWide);
TTextChars SplitText16(std::u16string_view text);

// The first code point of a character's UTF-16 units (U+FFFD for none).
char32_t CodePointOf(std::u16string_view units);

// Positions after each character spread over the source: every byte or code
// unit of a character gets the character's end.
std::vector<int32_t> SpreadToSource(const TTextChars& chars, const std::vector<int32_t>& ends);

// Advances given per character or per source unit, turned into one per
// character (a character's units summed). Characters without an entry are
// false in `have`: the caller takes the font's own advance for them.
void AdvancesPerChar(const TTextChars& chars, size_t srcLength, const std::vector<int32_t>& given,
                     std::vector<int32_t>& advances, std::vector<bool>& have);

}  // namespace quillet
