// Arbitrary text as the run-length seal text the host hands over: expanded,
// decoded and given to the layer as a seal picture. Beyond not crashing: a
// refused picture leaves no entry, a taken one is a bitmap that draws and
// saves.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/annotation/postil.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TQvPostil postil;
  const bool taken = postil.PutBmpText("seal", text);
  TBitmap* bmp = postil.GetBmp("seal");
  if (taken != (bmp != nullptr)) std::abort();
  if (!bmp) return 0;
  if (bmp->Empty() || postil.PutBmpText("seal", text)) std::abort();
  postil.AddTuZhang("seal", "u", "d", 40, 40, 0, 0, 1);
  TRecordingCanvas canvas;
  postil.Paint(canvas, 0, 0, 1);
  std::vector<std::string> saved;
  postil.Save(saved);
  if (saved.size() != 3) std::abort();  // the seal, its writer, its picture
  return 0;
}
