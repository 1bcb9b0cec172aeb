// Feeds arbitrary bytes to the JPEG reader: a bad file must raise
// EInvalidGraphic and leave the picture as it was; a good one must save its
// bytes unchanged and draw.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/stream.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::vector<uint8_t> bytes(data, data + size);
  TJPEGImage jpeg;
  TMemoryStream in(bytes);
  try {
    jpeg.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    if (!jpeg.Empty()) std::abort();
    return 0;
  }
  TMemoryStream out;
  jpeg.SaveToStream(out);
  if (out.Bytes() != bytes) std::abort();
  TRecordingCanvas canvas;
  canvas.Draw(0, 0, jpeg);
  return 0;
}
