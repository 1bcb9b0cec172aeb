#pragma once
// UTF-16 item text written as HTML.
#include <string>
#include <string_view>

namespace quillet {

class TStream;

// The text (UTF-16LE units) as HTML: "&", "<" and ">" escaped, a space that
// begins the text or follows a plainly written space as "&nbsp;" (so runs of
// spaces alternate), every character from U+0080 up as one decimal
// character reference (a surrogate pair as the one character it encodes, an
// unpaired surrogate as U+FFFD). With specialCode the units below 128 are
// written unchanged (the text is HTML code). An empty result with
// noEmptyLines is "&nbsp;".
std::string DVU_GetHTMLEncodedUnicode(std::string_view s, bool noEmptyLines, bool specialCode);
void DVU_WriteHTMLEncodedUnicode(TStream& stream, std::string_view s, bool noEmptyLines, bool specialCode);

}  // namespace quillet
