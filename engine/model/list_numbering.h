#pragma once
// Numbers of list markers in the five numbering systems, and the
// multi-level format that puts the numbers of a marker's levels together.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/style/list_style.h"

namespace quillet {

// The deepest level a marker may have: the multi-level format has one
// number per level from 0 to the marker's level.
constexpr int32_t DVMaxListLevel = 255;
constexpr int DVListLevelCount = DVMaxListLevel + 1;

// Upper-case Roman numeral; "?" below 1. Numerals stop at DVMaxRomanValue
// (nine M at most); a larger value is written in decimal so that a counter
// from a document can never make a numeral of millions of letters.
constexpr int32_t DVMaxRomanValue = 9999;
std::string IntToRoman(int32_t value);

// The number in the list type's system: decimal (also for the image-list
// counter), bijective base 26 with a..z / A..Z (empty below 1), Roman in
// either case; empty for the types that draw no number.
std::string Number2Str(int32_t value, TDVListType listType);

// A level's format string with its placeholders filled: "%<n>:s" (n a
// decimal level number, 0 to DVMaxListLevel, with an entry in levels)
// becomes levels[n], and "%%"
// one percent sign. Nothing else is a placeholder: any other "%" is kept as
// it is, so a format from a document is never given to printf-like code.
std::string DVFormatLevelNumbers(std::string_view format, const std::vector<std::string>& levels);

// Marker text in the code page of its font as UTF-16. A byte that starts no
// whole character there (a lead byte with no trail byte, as the default
// bullet 0xB7 is in code page 936) is read as Windows-1252, where the
// default bullet is the middle dot it was meant to be.
std::u16string DVMarkerTextToUnicode(std::string_view text, int codePage);

}  // namespace quillet
