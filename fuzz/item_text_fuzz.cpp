// Feeds arbitrary bytes, as a text file and as item text in both forms, to
// the text routines. Beyond not crashing: a break found lies no further than
// the position asked for, a deletion removes what the copy of the same range
// holds, and caret steps move the right way.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/text/charsets.h"
#include "engine/text/html_text.h"
#include "engine/text/item_text.h"
#include "engine/text/line_break.h"
#include "engine/text/unicode_detect.h"
#include "platform/core/stream.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr || size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);

  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  DV_TestStreamUnicode(stream);

  const std::string even = text.substr(0, size & ~size_t{1});
  DVU_GetHTMLEncodedUnicode(even, true, false);
  DVU_UnicodeToAnsi(936, even);
  DVU_AnsiToUnicode(936, text);

  const int units = static_cast<int>(even.size() / 2);
  for (int pos = 0; pos < units; pos += 1 + pos / 8) {
    const int stop = DVU_FindLineBreak(even, pos);
    if (stop < -1 || stop > pos) std::abort();
  }

  for (TDVItemOptions options : {TDVItemOptions{0}, TDVItemOptions{dvioUnicode}}) {
    const std::string& s = options ? even : text;
    const int length = DVU_Length(s, options);
    for (int index = 1; index <= length; index += 1 + index / 4) {
      const std::string copied = DVU_Copy(s, index, 3, options, 936);
      std::string rest = s;
      DVU_Delete(rest, index, 3, options, 936);
      if (DVU_Length(copied, options) + DVU_Length(rest, options) != length) std::abort();
      if (DVU_NextCharIndex(s, index, options, 936) <= index) std::abort();
      if (DVU_PrevCharIndex(s, index, options, 936) > index) std::abort();
    }
  }
  return 0;
}
