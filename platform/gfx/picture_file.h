#pragma once
// Pictures from files named by documents (RTF INCLUDEPICTURE fields, XML
// images) and PNG data, which Qt decodes into a bitmap.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphic.h"

namespace quillet {

// PNG (and the other kinds Qt reads) as a bitmap. Sizes beyond TBitmap's
// limits are refused before decoding; bad data raises EInvalidGraphic.
std::unique_ptr<TBitmap> DecodeImageBytes(const std::vector<uint8_t>& bytes);

// The picture in a file, of the kind its extension names: .bmp and .dib
// bitmaps, .jpg, .jpeg and .jpe JPEG, .png, .gif bitmaps through Qt, .ico
// icons, .emf and .wmf metafiles. Only regular files are read, at most
// 256 MiB. Anything else raises EInvalidGraphic.
std::unique_ptr<TGraphic> LoadPictureFile(const std::string& fileName);

}  // namespace quillet
