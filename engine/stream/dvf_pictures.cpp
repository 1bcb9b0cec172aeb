#include "engine/stream/dvf_pictures.h"

#include <vector>

#include "engine/base/dvf_tokens.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

void MakeEmpty(TGraphic& graphic) {
  TMemoryStream none;
  graphic.LoadFromStream(none);
}

// Loads the whole stream; on failure the graphic is emptied.
bool LoadPicture(TStream& data, TGraphic& graphic) {
  try {
    data.SetPosition(0);
    graphic.LoadFromStream(data);
    return true;
  } catch (const EInvalidGraphic&) {
  } catch (const EStreamError&) {
  }
  MakeEmpty(graphic);
  return false;
}

}  // namespace

std::string DVFSavePicture(const TGraphic& graphic) {
  TMemoryStream data;
  graphic.SaveToStream(data);
  return DVFStream2TextString(data);
}

void DVFSavePictureBinary(TStream& stream, const TGraphic& graphic) {
  const int64_t start = stream.GetPosition();
  WriteU32(stream, 0);
  graphic.SaveToStream(stream);
  const int64_t end = stream.GetPosition();
  // Every kind of graphic refuses sizes whose file form would not fit the
  // 32-bit length.
  stream.SetPosition(start);
  WriteU32(stream, static_cast<uint32_t>(end - start - 4));
  stream.SetPosition(end);
}

bool DVFLoadPicture(std::string_view s, TGraphic& graphic) {
  TMemoryStream data;
  if (DVFTextString2Stream(s, data)) return LoadPicture(data, graphic);
  // Bytes converted before the bad digit are not a picture.
  MakeEmpty(graphic);
  return false;
}

bool DVFLoadPictureBinary(std::string_view s, TGraphic& graphic) {
  TMemoryStream data(std::vector<uint8_t>(s.begin(), s.end()));
  return LoadPicture(data, graphic);
}

}  // namespace quillet
