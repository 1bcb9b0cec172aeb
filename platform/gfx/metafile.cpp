#include "platform/gfx/metafile.h"

#include <algorithm>
#include <string>

#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kEmfHeaderSize = 88;
constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kWmfHeaderSize = 18;
constexpr int32_t kHundredthMMPerInch = 2540;

[[noreturn]] void Invalid(const char* why) { throw EInvalidGraphic(std::string("Metafile is not valid: ") + why); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
int16_t I16(const uint8_t* p) { return static_cast<int16_t>(U16(p)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

struct Header {
  bool enhanced = false;
  uint16_t inch = 0;
  int32_t width = 0, height = 0, mmWidth = 0, mmHeight = 0;
};

// A length in units at unitsPerInch as screen pixels, refused beyond what a
// bitmap may hold.
int32_t ToPixels(int64_t units, int32_t unitsPerInch) {
  if (units < 0 || units > int64_t{TBitmap::kMaxSide} * unitsPerInch / TMetafile::kScreenPixelsPerInch)
    Invalid("size out of range");
  return MulDiv(static_cast<int32_t>(units), TMetafile::kScreenPixelsPerInch, unitsPerInch);
}

// The size of a placeable Windows metafile from its bounding box and units per inch.
void SizeWmf(const uint8_t* p, uint16_t inch, Header& h) {
  const int64_t w = int64_t{I16(p + 10)} - I16(p + 6), ht = int64_t{I16(p + 12)} - I16(p + 8);
  h.width = ToPixels(w, inch);
  h.height = ToPixels(ht, inch);
  h.mmWidth = MulDiv(static_cast<int32_t>(w), kHundredthMMPerInch, inch);
  h.mmHeight = MulDiv(static_cast<int32_t>(ht), kHundredthMMPerInch, inch);
}

Header ReadHeader(const std::vector<uint8_t>& data) {
  const uint8_t* p = data.data();
  const size_t size = data.size();
  Header h;
  if (size >= kEmfHeaderSize && U32(p) == kEmrHeader && U32(p + 40) == kEmfSignature) {
    const uint32_t headerSize = U32(p + 4), totalSize = U32(p + 48);
    if (headerSize < kEmfHeaderSize || headerSize > size || totalSize < headerSize || totalSize > size)
      Invalid("sizes beyond the data");
    h.enhanced = true;
    // Frame in 0.01 mm, bounds in device pixels; both inclusive rectangles.
    const int64_t fw = int64_t{I32(p + 32)} - I32(p + 24), fh = int64_t{I32(p + 36)} - I32(p + 28);
    if (fw < 0 || fh < 0) Invalid("frame reversed");
    if (fw > 0 && fh > 0) {
      h.width = ToPixels(fw, kHundredthMMPerInch);
      h.height = ToPixels(fh, kHundredthMMPerInch);
      h.mmWidth = static_cast<int32_t>(fw);
      h.mmHeight = static_cast<int32_t>(fh);
    } else {
      h.width = ToPixels(int64_t{I32(p + 16)} - I32(p + 8) + 1, TMetafile::kScreenPixelsPerInch);
      h.height = ToPixels(int64_t{I32(p + 20)} - I32(p + 12) + 1, TMetafile::kScreenPixelsPerInch);
      h.mmWidth = MulDiv(h.width, kHundredthMMPerInch, TMetafile::kScreenPixelsPerInch);
      h.mmHeight = MulDiv(h.height, kHundredthMMPerInch, TMetafile::kScreenPixelsPerInch);
    }
    return h;
  }
  if (size >= kPlaceableHeaderSize + kWmfHeaderSize && U32(p) == kPlaceableKey) {
    h.inch = U16(p + 14);
    if (h.inch == 0) Invalid("no units per inch");
    const uint8_t* wmf = p + kPlaceableHeaderSize;
    const uint16_t type = U16(wmf), words = U16(wmf + 2);
    if ((type != 1 && type != 2) || words != kWmfHeaderSize / 2) Invalid("bad Windows metafile header");
    if (int64_t{U32(wmf + 6)} * 2 > static_cast<int64_t>(size - kPlaceableHeaderSize)) Invalid("truncated records");
    SizeWmf(p, h.inch, h);
    return h;
  }
  Invalid("neither an enhanced nor a placeable metafile");
}

}  // namespace

void TMetafile::SetInch(uint16_t inch) {
  if (enhanced_ || data_.empty() || inch == 0 || inch == inch_) return;
  Header h;
  h.inch = inch;
  SizeWmf(data_.data(), inch, h);  // may refuse the new size before anything changes
  data_[14] = static_cast<uint8_t>(inch);
  data_[15] = static_cast<uint8_t>(inch >> 8);
  // The checksum is the XOR of the ten 16-bit words before it.
  uint16_t sum = 0;
  for (size_t k = 0; k < 20; k += 2) sum ^= U16(data_.data() + k);
  data_[20] = static_cast<uint8_t>(sum);
  data_[21] = static_cast<uint8_t>(sum >> 8);
  inch_ = inch;
  width_ = h.width, height_ = h.height, mmWidth_ = h.mmWidth, mmHeight_ = h.mmHeight;
}

void TMetafile::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes = ReadPictureBytes(stream, kMaxFileSize, "Metafile");
  const Header h = bytes.empty() ? Header() : ReadHeader(bytes);
  data_ = std::move(bytes);
  enhanced_ = h.enhanced;
  inch_ = h.inch;
  width_ = h.width, height_ = h.height, mmWidth_ = h.mmWidth, mmHeight_ = h.mmHeight;
}

void TMetafile::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

std::unique_ptr<TGraphic> TMetafile::Clone() const { return std::make_unique<TMetafile>(*this); }

void TMetafile::Paint(TCanvas& canvas, const TRect& rect) const {
  const int32_t left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right);
  const int32_t top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom);
  if (left == right || top == bottom) return;
  canvas.SaveState();
  canvas.Pen() = TPen{clGray, 1, psSolid, pmCopy};
  canvas.Brush().Style = bsClear;
  canvas.Rectangle({left, top, right, bottom});
  canvas.MoveTo(left, top);
  canvas.LineTo(right, bottom);
  canvas.MoveTo(left, bottom - 1);
  canvas.LineTo(right, top - 1);
  canvas.RestoreState();
}

}  // namespace quillet
