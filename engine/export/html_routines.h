#pragma once
// Pieces of HTML pages that do not depend on a document: escaping of 8-bit
// text and attribute values, the charset and font-size tables, and the font
// tags of the font-tag dialect.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

class TFontInfo;

// 8-bit text in codePage as HTML: "&", "<" and ">" escaped, every pair of
// spaces "&nbsp; " until no two plain spaces stand together. With
// specialCode the text is HTML code and stays as it is. An empty text is
// "&nbsp;" with noEmptyLines. Stepped by character, so a trail byte is
// never taken for a character that is escaped.
std::string DV_MakeHTMLStr(std::string_view text, bool specialCode, bool noEmptyLines, int codePage);
// 8-bit text in codePage as the value of a double-quoted attribute: "&",
// "<", ">" and the quotation mark escaped, control characters as numeric
// references (NUL dropped), so no text can end the value or the tag.
std::string DV_MakeHTMLAttrStr(std::string_view text, int codePage);

// The name the META line gives a character set; empty when it has none.
std::string DV_GetHTMLCharsetName(int charset);
// The HTML font size 1..7 of a size in points.
int DV_GetHTMLFontSize(int32_t points);

// How the font-tag dialect writes a text style's tags.
enum TFontTagMode {
  // Everything the style has.
  ftmAbsolute,
  // Only what differs from the normal style, whose tags are open around it:
  // the normal style's font styles that it lacks (and those opened inside
  // them) are closed before the FONT tag and opened again after its end, so
  // the tags nest within the normal style's.
  ftmRelative,
  // Only what differs from the normal style when none of its tags is open
  // (the page's own text stands for it): nothing of it is closed or reopened.
  ftmRelativeNothingOpen,
};

std::string OpenFontTag(const TFontInfo& ts, const TFontInfo& normalts, TFontTagMode mode);
std::string CloseFontTag(const TFontInfo& ts, const TFontInfo& normalts, TFontTagMode mode);

}  // namespace quillet
