// Feeds arbitrary bytes to the bitmap reader: a bad file must raise
// EInvalidGraphic and leave the bitmap as it was; a good one must write and
// read back to the same size.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  TBitmap bitmap(2, 3);
  TMemoryStream in(std::vector<uint8_t>(data, data + size));
  try {
    bitmap.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    if (bitmap.Width() != 2 || bitmap.Height() != 3) std::abort();
    return 0;
  }
  TMemoryStream out;
  bitmap.SaveToStream(out);
  out.SetPosition(0);
  TBitmap back;
  back.LoadFromStream(out);
  if (back.Width() != bitmap.Width() || back.Height() != bitmap.Height()) std::abort();
  return 0;
}
