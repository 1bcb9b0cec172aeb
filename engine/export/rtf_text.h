#pragma once
// Text as RTF: document text, font, style and bookmark names, link targets
// and UTF-16 text. 8-bit text is stepped by character in its code page, and
// every byte of a double-byte character is written as \'xx: a trail byte that
// happens to be "\", "{" or "}" would otherwise be escaped as a symbol, and
// readers would split the character.
#include <set>
#include <string>
#include <string_view>

namespace quillet {

class TStream;

// Text of a run: "\", "{" and "}" get a backslash (unless rtfCode, the text
// being RTF code itself); codes below 26 and of 128 and above become \'xx.
std::string MakeRTFStr(std::string_view text, bool rtfCode, int codePage);
// A style name: "\", "{", "}" and the ";" that ends the name become "_".
std::string MakeRTFStr2(std::string_view text, int codePage);
// A font name: escaped as text, its ";" (which ends the entry) as \'3b.
std::string MakeRTFFontName(std::string_view text, int codePage);
// A link target inside the quotes of a HYPERLINK field: escaped as text, a
// quotation mark (which would end the target) percent-encoded.
std::string MakeRTFURL(std::string_view text, int codePage);

// Bookmark names of one file. A name keeps its ASCII letters and digits and
// its non-ASCII letters, digits and ideographs (so Chinese names stay
// apart); every other character becomes "_". A name that reduces to one
// already written gets "_2", "_3", ... so every bookmark stays its own.
class TDVRTFBookmarkNames {
 public:
  // The reduced, unique name, escaped for the file; an empty name is
  // "DocViewCheckpoint" and the number of bookmarks named so far.
  std::string Add(std::string_view name, int codePage);
  int Count() const { return count_; }

 private:
  std::set<std::string> used_;
  int count_ = 0;
};

// UTF-16LE text: units 1 to 127 as text, any other as "\u%d " (signed
// 16-bit). With duplicate each \u is followed by the unit in the code page
// (unmappable: "?") for readers without Unicode, "\ucN" framing a fallback
// of N bytes other than 1.
void WriteUnicodeRTFStr(TStream& stream, std::string_view utf16, int codePage, bool rtfCode, bool duplicate);

}  // namespace quillet
