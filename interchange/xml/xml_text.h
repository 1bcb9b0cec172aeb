#pragma once
// Decoding of the XML import's text. Each decoder makes one linear pass; what
// it produces is never decoded again by the same decoder. The markup bytes
// scanned for ('&', '<', CR, TAB) are all below 0x40, so no trail byte of a
// double-byte character is ever taken for one of them.
#include <string>
#include <string_view>

namespace quillet {

// 8-bit element text and attribute values, in the system code page: a CR LF
// pair and each TAB become one blank; "&lt;", "&gt;", "&apos;" and "&amp;"
// their characters; a numeric reference ("&#" decimal, "&#x" or "&#$"
// hexadecimal digits, ";") the character in the system code page, "?" when
// the code page lacks it or the number is no character (never a NUL; a
// reference pair to a surrogate pair is one character). "&quot;" stays, and
// so does anything that is not one of these references.
std::string Clean(std::string_view s);

// Attribute values after Clean: "&quot;" becomes a double quote, so an
// "&amp;quot;" ends as one too, as the format has always read it.
std::string CleanSpec(std::string s);

// The text of a Unicode element, first step: as Clean, but numeric references
// stay for CleanUnicode, so an escaped ampersand followed by "#N;" becomes a
// reference there.
std::string CleanUni(std::string_view s);

// Second step: text in the system code page to UTF-16, each numeric reference
// one character: a number up to 0xFFFF is that code unit (references written
// unit by unit pair up), a higher one a surrogate pair, 0 or beyond U+10FFFF
// U+FFFD. A "&#" that is no reference stays as text with all that follows.
std::u16string CleanUnicode(std::string_view s);

// Blanks and control characters off both ends, as markup text is trimmed.
std::string_view TrimBlanks(std::string_view s);

}  // namespace quillet
