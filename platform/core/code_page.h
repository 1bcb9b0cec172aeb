#pragma once
// 8-bit text in a code page and its conversion to and from UTF-16, over iconv.
// Double-byte code pages (936, 950, 932, 949) are stepped by lead byte so that
// no operation splits a character.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

// Code pages that stand for another wherever a code page is asked for: the
// system code page, the OEM code page (437) and the Macintosh one (10000).
constexpr int CP_ACP = 0, CP_OEMCP = 1, CP_MACCP = 2;

// Font character sets.
constexpr int ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, MAC_CHARSET = 77,
              SHIFTJIS_CHARSET = 128, HANGEUL_CHARSET = 129, JOHAB_CHARSET = 130, GB2312_CHARSET = 134,
              CHINESEBIG5_CHARSET = 136, GREEK_CHARSET = 161, TURKISH_CHARSET = 162,
              VIETNAMESE_CHARSET = 163, HEBREW_CHARSET = 177, ARABIC_CHARSET = 178, BALTIC_CHARSET = 186,
              RUSSIAN_CHARSET = 204, THAI_CHARSET = 222, EASTEUROPE_CHARSET = 238, OEM_CHARSET = 255;

// The process-wide system code page, 936 unless set otherwise. SetACP ignores
// CP_ACP and raises std::invalid_argument for a code page IsValidCodePage refuses.
int GetACP();
void SetACP(int codePage);
// Whether this machine converts text in the code page. Conversions with any
// other code page yield nothing.
bool IsValidCodePage(int codePage);
// CP_ACP, CP_OEMCP and CP_MACCP become the code pages they stand for;
// anything else is returned unchanged.
int ResolveCodePage(int codePage);

// The code page of a font character set (GB2312_CHARSET 134 -> 936 and so on);
// DEFAULT_CHARSET and unknown sets give the system code page.
int CharsetToCodePage(int charset);
// The character set whose code page is given (936 -> GB2312_CHARSET); DEFAULT_CHARSET when none.
int CodePageToCharset(int codePage);

// Invalid or truncated input bytes become U+FFFD, never dropped silently.
// A code page that IsValidCodePage refuses gives nothing.
std::u16string MultiByteToWideChar(int codePage, std::string_view text);
// Characters the code page cannot hold become the default character "?";
// *usedDefaultChar (when given) tells whether that happened. A code page
// that IsValidCodePage refuses gives nothing.
std::string WideCharToMultiByte(int codePage, std::u16string_view text, bool* usedDefaultChar = nullptr);

// 936, 950, 932, 949 and 1361 (Johab).
bool IsDBCSCodePage(int codePage);
bool IsDBCSLeadByteEx(int codePage, uint8_t byte);
// Byte index of the next / previous character boundary. CharNextEx at the end
// stays at the end. A lead byte with no trail byte after it (at the end, or
// before a control, space, digit or other byte that cannot be a trail byte)
// counts as one character; conversion turns it into one U+FFFD.
size_t CharNextEx(int codePage, std::string_view text, size_t index);
size_t CharPrevEx(int codePage, std::string_view text, size_t index);
// Number of characters in the text.
size_t CharCountEx(int codePage, std::string_view text);
// Names compared without regard to case in the system code page: ASCII
// letters of single-byte characters fold, the bytes of double-byte characters
// compare exactly (a trail byte may be an ASCII letter).
bool AnsiSameText(std::string_view a, std::string_view b);

// The UTF-16 unit of every character of one code page, converted once and
// remembered, so that 8-bit text can be measured and classified character
// by character without converting each text. Filled in pages of 256 codes as
// characters are met. A character that converts to several units answers the
// first, one that converts to none U+FFFD.
class TCodePageUnits {
 public:
  explicit TCodePageUnits(int codePage);
  TCodePageUnits(const TCodePageUnits&) = delete;
  TCodePageUnits& operator=(const TCodePageUnits&) = delete;
  int CodePage() const { return codePage_; }
  // The character at text[i] (i < size): its length in bytes (1, or 2 for a
  // double-byte character) and its code (the byte, or lead << 8 | trail).
  size_t CharAt(std::string_view text, size_t i, uint16_t& code) const;
  char16_t Unit(uint16_t code);

 private:
  int codePage_;
  bool dbcs_;
  std::unique_ptr<std::array<char16_t, 256>> pages_[256];
};
// The units of a code page, kept for the process: the mapping never changes,
// and the engine runs on one thread.
TCodePageUnits& CodePageUnits(int codePage);

// UTF-8 <-> UTF-16 for the project's own UTF-8 literals meeting document text.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// The project's UTF-8 text in the system code page.
std::string Utf8ToAnsi(std::string_view s);
std::string AnsiToUtf8(std::string_view s);

}  // namespace quillet
