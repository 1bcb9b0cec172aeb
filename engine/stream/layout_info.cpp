#include "engine/stream/layout_info.h"

#include "engine/base/doc_view_error.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {
constexpr int32_t kLayoutPayloadSize = 25;
}  // namespace

void TDVLayoutInfo::SaveToStream(TStream& stream) const {
  WriteI32(stream, 0);
  WriteI32(stream, kLayoutPayloadSize);
  for (int32_t v : {LeftMargin, RightMargin, TopMargin, BottomMargin, MinTextWidth, MaxTextWidth})
    WriteI32(stream, v);
  WriteU8(stream, static_cast<uint8_t>(BiDiMode));
}

void TDVLayoutInfo::LoadFromStream(TStream& stream) {
  const char* const kInvalid = "Invalid DVF format";
  try {
    const int32_t format = ReadI32(stream);
    const int32_t size = ReadI32(stream);
    if (format != 0 || size < kLayoutPayloadSize || size > stream.Remaining()) throw EDocViewError(kInvalid);
    TDVLayoutInfo read;
    int32_t* fields[] = {&read.LeftMargin,   &read.RightMargin,  &read.TopMargin,
                         &read.BottomMargin, &read.MinTextWidth, &read.MaxTextWidth};
    for (int32_t* field : fields) *field = ReadI32(stream);
    const uint8_t mode = ReadU8(stream);
    if (mode > dvbdRightToLeft) throw EDocViewError(kInvalid);
    read.BiDiMode = static_cast<TDVBiDiMode>(mode);
    stream.Seek(size - kLayoutPayloadSize, TSeekOrigin::soCurrent);
    read.Loaded = true;
    *this = read;
  } catch (const EReadError&) {
    throw EDocViewError(kInvalid);
  }
}

}  // namespace quillet
