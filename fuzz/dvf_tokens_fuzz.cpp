// Feeds arbitrary lines to the DVF token readers. Beyond not crashing, every
// string tag read must write back to a token that reads as the same tag.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  static const TDVStyle sheet;  // the default styles, for names to be looked up in
  const std::string_view line(reinterpret_cast<const char*>(data), size);

  {
    TMemoryStream stream;
    DVFTextString2Stream(line, stream);
    if (stream.GetSize() > static_cast<int64_t>(size / 2)) std::abort();
  }

  // The readers in turn along the line, as a record's fields would be read.
  // DVFReadString consumes at least one byte of a non-empty rest, so every
  // sixth round makes progress.
  std::string_view p = line;
  std::string s;
  int32_t value = 0;
  TDVTag tag;
  for (int round = 0; !p.empty(); ++round) {
    switch (round % 6) {
      case 0: DVFReadInteger(p, value); break;
      case 1: DVFReadText(p, s); break;
      case 2: DVFReadTag(p, false, tag); break;
      case 3:
        if (DVFReadTag(p, true, tag) && tag.Str) {
          const std::string written = DVFSaveTag(true, tag);
          std::string_view q = written;
          TDVTag back;
          if (!DVFReadTag(q, true, back) || back.Str != tag.Str || !q.empty()) std::abort();
        }
        break;
      case 4: DVFReadTextStyle(sheet, p, value); break;
      default: DVFReadString(p, s); break;
    }
  }
  return 0;
}
