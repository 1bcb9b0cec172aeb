// Feeds arbitrary bytes to the RTF parser with every event listened to.
// Beyond not crashing: no run is longer than the input, and pictures carry
// no more data than the input held.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "interchange/rtf/rtf_reader.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr || size > 65536) return 0;
  TDVRTFReader reader;
  reader.OnNewText = [size](TDVRTFReader&, const std::string& text, TDVRTFPosition) {
    if (text.size() > size + 256) std::abort();
  };
  reader.OnNewUnicodeText = [size](TDVRTFReader&, const std::u16string& text, TDVRTFPosition) {
    if (text.size() > size) std::abort();
  };
  reader.OnNewPicture = [size](TDVRTFReader&, TDVRTFPicture* picture, std::unique_ptr<TGraphic>, TDVRTFPosition) {
    if (picture && picture->Data.size() > size + TDVRTFPicture::kBitmapFileHeaderSize) std::abort();
  };
  reader.OnTable = [](TDVRTFReader&, TDVRTFTableEventKind) {};
  reader.OnRequiredPageBreak = [](TDVRTFReader&) {};
  reader.OnHeaderFooter = [](TDVRTFReader&, TDVRTFHeaderFooterType, bool) {};
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    reader.ReadFromStream(stream);
  } catch (const std::exception&) {
    // A SYMBOL field with no number ends the reading with an exception.
  }
  return 0;
}
