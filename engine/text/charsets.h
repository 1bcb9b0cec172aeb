#pragma once
// Character sets, code pages and the conversions of item text between 8-bit
// and UTF-16 (UTF-16LE code units kept in an 8-bit string).
#include <string>
#include <string_view>

namespace quillet {

// The code page of a font character set: CP_ACP for the default and symbol
// sets and for unknown ones, CP_MACCP for Macintosh, CP_OEMCP for OEM.
int DVU_Charset2CodePage(int charset);
// The language identifier of a character set; 1024 (the process default) for
// sets without one.
int DVU_Charset2Language(int charset);

// 8-bit text to UTF-16. Text in a code page the machine cannot convert is
// read in the system code page, which converts every byte (a bad one to U+FFFD).
std::string DVU_AnsiToUnicode(int codePage, std::string_view s);
// UTF-16 text to 8-bit, a character the code page lacks becoming "?". Raises
// "Can't perform Unicode operation" for an odd byte length. A code page the
// machine cannot convert is replaced by the system code page.
std::string DVU_UnicodeToAnsi(int codePage, std::string_view s);

// The code page of the keyboard's language. Typed text reaches the engine as
// Unicode from the input method on this platform and the keyboard has no
// 8-bit code page of its own, so this is the system code page.
int DVU_GetKeyboardCodePage();
// Typed 8-bit characters to UTF-16, in the keyboard's code page.
std::string DVU_KeyToUnicode(std::string_view s);

}  // namespace quillet
