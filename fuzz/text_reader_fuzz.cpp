// Feeds arbitrary bytes to the plain-text loaders, as 8-bit and as UTF-16
// text, into 8-bit and Unicode styles, with and without paragraphs. Beyond
// not crashing: the loaders leave the add-paragraph mode as it was, an odd
// UTF-16 length is refused without adding anything, and no item is bigger
// than the input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr || size > 8192) return 0;
  TDVStyle style;
  style.TextStyles()[1].Unicode = true;
  for (int styleNo : {0, 1}) {
    for (bool single : {false, true}) {
      TCustomDVData doc;
      doc.SetDVStyle(&style);
      TMemoryStream eightBit(std::vector<uint8_t>(data, data + size));
      if (!doc.LoadTextFromStream(eightBit, styleNo, 0, single)) std::abort();
      const int after8 = doc.ItemCount();
      TMemoryStream utf16(std::vector<uint8_t>(data, data + size));
      const bool loaded = doc.LoadTextFromStreamW(utf16, styleNo, 1, single);
      if (loaded == (size % 2 != 0)) std::abort();
      if (!loaded && doc.ItemCount() != after8) std::abort();
      if (!doc.AllowNewPara()) std::abort();
      for (int i = 0; i < doc.ItemCount(); ++i) {
        // Tabs grow by the spaces that replace them, and 8-bit text by its
        // conversion to UTF-16.
        if (doc.GetItemTextR(i).size() > 16 * size + 16) std::abort();
      }
      TMemoryStream out;
      if (!doc.SaveTextToStream("", out, 80, false, false, styleNo == 1)) std::abort();
    }
  }
  return 0;
}
