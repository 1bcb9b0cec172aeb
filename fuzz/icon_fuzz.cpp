// Feeds arbitrary bytes to the icon reader: a bad file must raise
// EInvalidGraphic and leave the icon as it was; a good one must save its
// bytes unchanged and draw within its limits.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/stream.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::vector<uint8_t> bytes(data, data + size);
  TIcon icon;
  TMemoryStream in(bytes);
  try {
    icon.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    if (!icon.Empty()) std::abort();
    return 0;
  }
  if (icon.Width() > TIcon::kMaxSide || icon.Height() > TIcon::kMaxSide) std::abort();
  TMemoryStream out;
  icon.SaveToStream(out);
  if (out.Bytes() != bytes) std::abort();
  TRecordingCanvas canvas;
  canvas.Draw(0, 0, icon);
  return 0;
}
