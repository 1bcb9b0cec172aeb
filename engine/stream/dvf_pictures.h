#pragma once
// The bodies of pictures in DVF: the graphic's own file form as hexadecimal
// text (one line), or as a binary block (a 4-byte little-endian length, then
// the bytes).
#include <string>
#include <string_view>

namespace quillet {

class TGraphic;
class TStream;

// The graphic's file form as hexadecimal text.
std::string DVFSavePicture(const TGraphic& graphic);
// A binary block at the stream's position: 4 placeholder bytes, the file
// form, then its length written over the placeholder; the position ends
// after the block.
void DVFSavePictureBinary(TStream& stream, const TGraphic& graphic);

// The graphic loaded from hexadecimal text, or from the raw bytes of a binary
// block. True when it loaded. Otherwise (a bad digit, an odd length, data the
// graphic refuses) the graphic is left empty, never holding part of the data.
bool DVFLoadPicture(std::string_view s, TGraphic& graphic);
bool DVFLoadPictureBinary(std::string_view s, TGraphic& graphic);

}  // namespace quillet
