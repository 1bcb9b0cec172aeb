#include "platform/gfx/icon.h"

#include <QImage>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/gfx/qt_bitmap.h"

namespace quillet {

namespace {

[[noreturn]] void Invalid(const char* why) { throw EInvalidGraphic(std::string("Icon image is not valid: ") + why); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t BigU32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int k = 0; k < 4; ++k) v[at + k] = static_cast<uint8_t>(x >> (8 * k));
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

QImage DecodePng(const uint8_t* p, size_t size) {
  // The size is checked from the header before the decoder allocates anything.
  if (size < 24 || std::memcmp(p + 12, "IHDR", 4) != 0) Invalid("truncated PNG header");
  const uint32_t w = BigU32(p + 16), h = BigU32(p + 20);
  if (w == 0 || h == 0 || w > TIcon::kMaxSide || h > TIcon::kMaxSide) Invalid("dimensions out of range");
  QImage image;
  if (!image.loadFromData(p, static_cast<int>(size), "PNG") || image.width() != static_cast<int>(w) ||
      image.height() != static_cast<int>(h))
    Invalid("bad PNG image");
  return image.convertToFormat(QImage::Format_ARGB32);
}

// A device-independent bitmap whose height counts its colour rows and then
// its AND mask rows. The colour part is read by the BMP reader behind a file
// header made for it.
QImage DecodeDib(const uint8_t* p, size_t size) {
  if (size < 40) Invalid("truncated bitmap header");
  const uint32_t headerSize = U32(p);
  if (headerSize < 40 || headerSize > size) Invalid("bad bitmap header size");
  const int32_t width = static_cast<int32_t>(U32(p + 4));
  const int32_t doubleHeight = static_cast<int32_t>(U32(p + 8));
  const uint16_t bitCount = U16(p + 14);
  const uint32_t compression = U32(p + 16);
  const uint32_t colorsUsed = U32(p + 32);
  if (width <= 0 || doubleHeight < 2 || width > TIcon::kMaxSide || doubleHeight / 2 > TIcon::kMaxSide)
    Invalid("dimensions out of range");
  const int32_t height = doubleHeight / 2;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    Invalid("unsupported bits per pixel");
  // Run-length rows would leave the mask's place unknown.
  if (compression != 0 && compression != 3) Invalid("unsupported compression");
  uint32_t extra = 0;  // palette or colour masks between the header and the pixels
  if (bitCount <= 8) {
    const uint32_t colors = colorsUsed == 0 || colorsUsed > (1u << bitCount) ? 1u << bitCount : colorsUsed;
    extra = colors * 4;
  } else if (compression == 3 && headerSize == 40) {
    extra = 12;
  }
  const int64_t stride = ((int64_t{width} * bitCount + 31) / 32) * 4;
  const int64_t pixelsAt = int64_t{headerSize} + extra;
  const int64_t maskAt = pixelsAt + stride * height;
  if (maskAt > static_cast<int64_t>(size)) Invalid("truncated pixel data");

  std::vector<uint8_t> file(14 + static_cast<size_t>(maskAt));
  file[0] = 'B';
  file[1] = 'M';
  PutU32(file, 2, static_cast<uint32_t>(file.size()));
  PutU32(file, 10, static_cast<uint32_t>(14 + pixelsAt));
  std::memcpy(file.data() + 14, p, static_cast<size_t>(maskAt));
  PutU32(file, 14 + 8, static_cast<uint32_t>(height));
  TMemoryStream stream(std::move(file));
  TBitmap colour;
  try {
    colour.LoadFromStream(stream);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic(std::string("Icon image is not valid: ") + e.what());
  }
  QImage image = BitmapImage(colour).convertToFormat(QImage::Format_ARGB32);

  // Rows are stored bottom-up. 32-bit images carry their own alpha unless
  // every alpha byte is 0; otherwise the mask's set bits are transparent.
  bool alpha = false;
  if (bitCount == 32) {
    for (int32_t y = 0; y < height && !alpha; ++y)
      for (int32_t x = 0; x < width && !alpha; ++x) alpha = p[pixelsAt + stride * y + 4 * x + 3] != 0;
  }
  const int64_t maskStride = ((int64_t{width} + 31) / 32) * 4;
  const bool hasMask = maskAt + maskStride * height <= static_cast<int64_t>(size);
  if (!alpha && !hasMask) return image;
  for (int32_t y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(height - 1 - y));
    for (int32_t x = 0; x < width; ++x) {
      if (alpha) {
        line[x] = (line[x] & 0x00FFFFFF) | (QRgb{p[pixelsAt + stride * y + 4 * x + 3]} << 24);
      } else if ((p[maskAt + maskStride * y + x / 8] >> (7 - x % 8)) & 1) {
        line[x] = 0;
      }
    }
  }
  return image;
}

QImage ReadIco(const std::vector<uint8_t>& data) {
  const size_t size = data.size();
  const uint8_t* p = data.data();
  if (size < 6) Invalid("truncated header");
  if (U16(p) != 0 || U16(p + 2) != 1) Invalid("not an icon file");
  const uint16_t count = U16(p + 4);
  if (count == 0) Invalid("no images");
  if (6 + size_t{count} * 16 > size) Invalid("truncated directory");

  // The entry nearest 32 x 32, then the deepest; the first among equals.
  int best = -1, bestDistance = 0, bestDepth = 0;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = p + 6 + 16 * i;
    const int w = e[0] == 0 ? 256 : e[0], h = e[1] == 0 ? 256 : e[1];
    const int distance = std::abs(w - 32) + std::abs(h - 32);
    const int depth = U16(e + 6) != 0 ? U16(e + 6) : e[2];
    if (best < 0 || distance < bestDistance || (distance == bestDistance && depth > bestDepth))
      best = i, bestDistance = distance, bestDepth = depth;
  }
  const uint8_t* e = p + 6 + 16 * best;
  const uint32_t bytes = U32(e + 8), offset = U32(e + 12);
  if (offset > size || bytes > size - offset) Invalid("image outside the file");
  const uint8_t* image = p + offset;
  if (bytes >= 8 && std::memcmp(image, kPngSignature, 8) == 0) return DecodePng(image, bytes);
  return DecodeDib(image, bytes);
}

}  // namespace

TIcon::TIcon() : bitmap_(std::make_unique<TBitmap>()) {}

TIcon::~TIcon() = default;

TIcon::TIcon(const TIcon& other)
    : TGraphic(other), data_(other.data_), bitmap_(std::make_unique<TBitmap>(*other.bitmap_)) {}

TIcon& TIcon::operator=(const TIcon& other) {
  if (this == &other) return *this;
  TGraphic::operator=(other);
  data_ = other.data_;
  *bitmap_ = *other.bitmap_;
  return *this;
}

int32_t TIcon::Width() const { return bitmap_->Width(); }
int32_t TIcon::Height() const { return bitmap_->Height(); }

void TIcon::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes = ReadPictureBytes(stream, kMaxFileSize, "Icon image");
  const QImage image = bytes.empty() ? QImage() : ReadIco(bytes);
  SetBitmapImage(*bitmap_, image);
  data_ = std::move(bytes);
}

void TIcon::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

std::unique_ptr<TGraphic> TIcon::Clone() const { return std::make_unique<TIcon>(*this); }

void TIcon::Paint(TCanvas& canvas, const TRect& rect) const { canvas.StretchDraw(rect, *bitmap_); }

}  // namespace quillet
