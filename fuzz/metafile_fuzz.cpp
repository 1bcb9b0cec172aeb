// Feeds arbitrary bytes to the metafile reader: a bad header must raise
// EInvalidGraphic and leave the metafile as it was; a good one must keep its
// bytes exactly, report a size within a bitmap's limits, and draw.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/stream.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::vector<uint8_t> bytes(data, data + size);
  TMetafile mf;
  TMemoryStream in(bytes);
  try {
    mf.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    if (!mf.Empty()) std::abort();
    return 0;
  }
  if (mf.Width() < 0 || mf.Height() < 0 || mf.Width() > TBitmap::kMaxSide || mf.Height() > TBitmap::kMaxSide)
    std::abort();
  TMemoryStream out;
  mf.SaveToStream(out);
  if (out.Bytes() != bytes) std::abort();
  if (!mf.Enhanced()) mf.SetInch(1440);
  TRecordingCanvas canvas;
  canvas.Draw(0, 0, mf);
  return 0;
}
