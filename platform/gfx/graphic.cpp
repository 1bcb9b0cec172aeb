#include "platform/gfx/graphic.h"

#include <QImage>
#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <vector>

#include "platform/gfx/icon.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/qt_bitmap.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

// The pixels behind a TBitmap, with the canvas that draws into them.
class TBitmapImage {
 public:
  QImage image;  // null when empty
  TPixelFormat format = pf24bit;
  std::unique_ptr<TQtCanvas> canvas;
  // The last picture prepared for transparent drawing.
  QImage masked;
  qint64 maskedKey = 0;
  TColor maskedColor = clNone;

  // Drawing on the canvas is finished, so the pixels can be read or replaced.
  void Settle() {
    if (canvas) canvas->EndPaint();
  }
  // Paletted images become 24-bit: Qt draws only on full-colour images.
  void MakeDrawable() {
    if (image.isNull()) return;
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono) {
      image = image.convertToFormat(QImage::Format_RGB32);
      format = pf24bit;
    } else if (image.format() == QImage::Format_ARGB32) {
      image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
  }
};

std::vector<uint8_t> ReadPictureBytes(TStream& stream, int64_t maxSize, const char* kind) {
  const std::string prefix = std::string(kind) + " is not valid: ";
  std::vector<uint8_t> bytes;
  try {
    const int64_t size = stream.Remaining();
    if (size > maxSize) throw EInvalidGraphic(prefix + "file too large");
    if (size > 0) {
      bytes.resize(static_cast<size_t>(size));
      stream.ReadBuffer(bytes.data(), size);
    }
  } catch (const EStreamError& e) {
    throw EInvalidGraphic(prefix + e.what());
  }
  return bytes;
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
  // Written beside the target and renamed over it only when complete.
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(fileName);
}

// ---------------------------------------------------------------- registry

namespace {

std::map<std::string, TGraphicFactory, std::less<>>& Registry() {
  static std::map<std::string, TGraphicFactory, std::less<>> registry = {
      {"TBitmap", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TBitmap>(); }},
      {"TIcon", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TIcon>(); }},
      {"TMetafile", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TMetafile>(); }},
      {"TJPEGImage", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TJPEGImage>(); }},
  };
  return registry;
}

}  // namespace

void RegisterGraphicClass(std::string_view className, TGraphicFactory factory) {
  Registry()[std::string(className)] = factory;
}

std::unique_ptr<TGraphic> CreateGraphic(std::string_view className) {
  const auto& registry = Registry();
  const auto it = registry.find(className);
  return it == registry.end() || !it->second ? nullptr : it->second();
}

// ---------------------------------------------------------------- BMP form

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

[[noreturn]] void Invalid(const char* why) { throw EInvalidGraphic(std::string("Bitmap image is not valid: ") + why); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

void ReadExactly(TStream& s, void* buf, int64_t n, const char* what) {
  if (s.Read(buf, n) != n) Invalid(what);
}

// One colour component from a bit-field mask, scaled to 0..255.
struct Field {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Field(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  int Get(uint32_t v) const { return max == 0 ? 0 : static_cast<int>(((v & mask) >> shift) * 255u / max); }
};

struct BmpHeader {
  int32_t width = 0, height = 0;
  bool topDown = false;
  uint16_t bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  uint32_t masks[4] = {0, 0, 0, 0};
  bool alphaMask = false;
  QList<QRgb> palette;
};

void DecodeRle(const std::vector<uint8_t>& data, bool rle4, QImage& img, int32_t height) {
  // RLE rows run bottom-up; pixels that would fall outside the image are dropped.
  const int32_t width = img.width();
  int32_t x = 0, row = 0;  // row counts from the bottom
  size_t i = 0;
  auto put = [&](uint8_t index) {
    if (x < width && row < height) img.scanLine(height - 1 - row)[x] = index;
    ++x;
  };
  while (i + 1 < data.size() && row < height) {
    const uint8_t count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int n = 0; n < count; ++n) put(rle4 ? ((n & 1) ? (value & 0x0F) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (i + 1 >= data.size()) break;
      x += data[i];
      row += data[i + 1];
      i += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = rle4 ? (value + 1u) / 2 : value;
      if (i + bytes > data.size()) Invalid("truncated RLE data");
      for (int n = 0; n < value; ++n) {
        const uint8_t b = data[i + (rle4 ? n / 2 : n)];
        put(rle4 ? ((n & 1) ? (b & 0x0F) : (b >> 4)) : b);
      }
      i += (bytes + 1) & ~size_t{1};
    }
  }
}

struct LoadedBitmap {
  QImage image;
  TPixelFormat format;
};

LoadedBitmap ReadBmp(TStream& s) {
  const int64_t start = s.GetPosition();
  const int64_t available = s.GetSize() - start;
  uint8_t fh[14];
  if (available < 14) Invalid("truncated file header");
  ReadExactly(s, fh, 14, "truncated file header");
  if (fh[0] != 'B' || fh[1] != 'M') Invalid("no BM signature");
  const uint32_t offBits = U32(fh + 10);

  uint8_t ih[124] = {};
  ReadExactly(s, ih, 4, "truncated info header");
  const uint32_t headerSize = U32(ih);
  if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124)
    Invalid("unsupported info header size");
  ReadExactly(s, ih + 4, headerSize - 4, "truncated info header");

  BmpHeader h;
  uint16_t planes;
  uint32_t colorsUsed = 0;
  if (headerSize == 12) {
    h.width = U16(ih + 4);
    h.height = U16(ih + 6);
    planes = U16(ih + 8);
    h.bitCount = U16(ih + 10);
  } else {
    h.width = static_cast<int32_t>(U32(ih + 4));
    h.height = static_cast<int32_t>(U32(ih + 8));
    planes = U16(ih + 12);
    h.bitCount = U16(ih + 14);
    h.compression = U32(ih + 16);
    h.sizeImage = U32(ih + 20);
    colorsUsed = U32(ih + 32);
  }
  if (planes != 1) Invalid("plane count is not 1");
  if (h.height == INT32_MIN || h.width <= 0 || h.height == 0) Invalid("bad dimensions");
  if (h.height < 0) {
    h.topDown = true;
    h.height = -h.height;
  }
  if (h.width > TBitmap::kMaxSide || h.height > TBitmap::kMaxSide || int64_t{h.width} * h.height > TBitmap::kMaxPixels)
    Invalid("dimensions too large");
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: Invalid("unsupported bits per pixel");
  }
  const bool compressionFits = h.compression == BI_RGB || (h.compression == BI_RLE8 && h.bitCount == 8) ||
                               (h.compression == BI_RLE4 && h.bitCount == 4) ||
                               (h.compression == BI_BITFIELDS && (h.bitCount == 16 || h.bitCount == 32));
  if (!compressionFits) Invalid("unsupported compression");
  if (h.topDown && (h.compression == BI_RLE8 || h.compression == BI_RLE4)) Invalid("top-down RLE bitmap");

  int64_t offset = 14 + headerSize;
  if (h.compression == BI_BITFIELDS) {
    if (headerSize == 40) {
      uint8_t m[12];
      ReadExactly(s, m, 12, "truncated colour masks");
      offset += 12;
      for (int k = 0; k < 3; ++k) h.masks[k] = U32(m + 4 * k);
    } else {
      for (int k = 0; k < 3; ++k) h.masks[k] = U32(ih + 40 + 4 * k);
      if (headerSize >= 56) h.masks[3] = U32(ih + 52);
    }
  } else if (h.bitCount == 16) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
  } else if (h.bitCount == 32 && headerSize >= 56) {
    h.masks[3] = U32(ih + 52);  // an alpha mask may come with plain 32-bit pixels
  }
  h.alphaMask = h.bitCount == 32 && h.masks[3] != 0;

  if (h.bitCount <= 8) {
    const uint32_t maxColors = 1u << h.bitCount;
    const uint32_t count = colorsUsed == 0 ? maxColors : colorsUsed;
    if (count > maxColors) Invalid("palette larger than the pixel depth allows");
    const uint32_t entry = headerSize == 12 ? 3 : 4;
    if (offset + int64_t{count} * entry > available) Invalid("truncated palette");
    std::vector<uint8_t> pal(count * entry);
    ReadExactly(s, pal.data(), static_cast<int64_t>(pal.size()), "truncated palette");
    offset += static_cast<int64_t>(pal.size());
    for (uint32_t k = 0; k < count; ++k)
      h.palette.push_back(qRgb(pal[k * entry + 2], pal[k * entry + 1], pal[k * entry]));
    // Indexes past the palette read as black.
    while (h.palette.size() < static_cast<qsizetype>(maxColors)) h.palette.push_back(qRgb(0, 0, 0));
  }
  if (offBits < offset || offBits > available) Invalid("pixel data offset out of range");
  s.SetPosition(start + offBits);

  const int64_t stride = ((int64_t{h.width} * h.bitCount + 31) / 32) * 4;
  const int64_t remaining = available - offBits;
  LoadedBitmap out;
  out.format = h.bitCount == 1    ? pf1bit
               : h.bitCount == 4  ? pf4bit
               : h.bitCount == 8  ? pf8bit
               : h.bitCount == 32 ? pf32bit
                                  : pf24bit;

  if (h.compression == BI_RLE4 || h.compression == BI_RLE8) {
    const int64_t size = h.sizeImage != 0 && h.sizeImage <= remaining ? h.sizeImage : remaining;
    std::vector<uint8_t> data(static_cast<size_t>(size));
    ReadExactly(s, data.data(), size, "truncated pixel data");
    out.image = QImage(h.width, h.height, QImage::Format_Indexed8);
    if (out.image.isNull()) Invalid("out of memory");
    out.image.setColorTable(h.palette);
    out.image.fill(0);
    DecodeRle(data, h.compression == BI_RLE4, out.image, h.height);
    return out;
  }

  // Every row whole, though the last may lack its padding.
  const int64_t rowBytes = (int64_t{h.width} * h.bitCount + 7) / 8;
  const int64_t needed = stride * (h.height - 1) + rowBytes;
  if (needed > remaining) Invalid("truncated pixel data");
  std::vector<uint8_t> data(static_cast<size_t>(needed));
  ReadExactly(s, data.data(), needed, "truncated pixel data");
  if (stride * h.height <= remaining) s.Seek(stride * h.height - needed, TSeekOrigin::soCurrent);

  const bool paletted = h.bitCount <= 8;
  const QImage::Format fmt = paletted      ? QImage::Format_Indexed8
                             : h.alphaMask ? QImage::Format_ARGB32
                                           : QImage::Format_RGB32;
  out.image = QImage(h.width, h.height, fmt);
  if (out.image.isNull()) Invalid("out of memory");
  if (paletted) out.image.setColorTable(h.palette);
  const Field r(h.masks[0]), g(h.masks[1]), b(h.masks[2]), a(h.masks[3]);
  const bool plain32 = h.bitCount == 32 && h.compression == BI_RGB;
  for (int32_t y = 0; y < h.height; ++y) {
    const uint8_t* src = data.data() + stride * y;
    uchar* dst = out.image.scanLine(h.topDown ? y : h.height - 1 - y);
    auto* rgb = reinterpret_cast<QRgb*>(dst);
    for (int32_t x = 0; x < h.width; ++x) {
      switch (h.bitCount) {
        case 1: dst[x] = (src[x / 8] >> (7 - x % 8)) & 1; break;
        case 4: dst[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4); break;
        case 8: dst[x] = src[x]; break;
        case 16: {
          const uint32_t v = U16(src + 2 * x);
          rgb[x] = qRgb(r.Get(v), g.Get(v), b.Get(v));
          break;
        }
        case 24: rgb[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
        default: {
          const uint32_t v = U32(src + 4 * x);
          if (plain32)
            rgb[x] = qRgba(src[4 * x + 2], src[4 * x + 1], src[4 * x], h.alphaMask ? a.Get(v) : 255);
          else
            rgb[x] = qRgba(r.Get(v), g.Get(v), b.Get(v), h.alphaMask ? a.Get(v) : 255);
          break;
        }
      }
    }
  }
  if (h.alphaMask) {
    // Writers that fill the alpha bytes with zeros mean an opaque picture.
    bool anyAlpha = false;
    for (int32_t y = 0; y < h.height && !anyAlpha; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(out.image.constScanLine(y));
      for (int32_t x = 0; x < h.width && !anyAlpha; ++x) anyAlpha = qAlpha(line[x]) != 0;
    }
    if (!anyAlpha) {
      for (int32_t y = 0; y < h.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int32_t x = 0; x < h.width; ++x) line[x] |= 0xFF000000;
      }
      out.image = out.image.convertToFormat(QImage::Format_RGB32);
    }
  }
  return out;
}

void PutU16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void PutU32(std::vector<uint8_t>& v, uint32_t x) {
  for (int k = 0; k < 4; ++k) v.push_back(static_cast<uint8_t>(x >> (8 * k)));
}

void WriteBmp(TStream& s, const QImage& image, TPixelFormat format) {
  const int32_t w = image.width(), h = image.height();
  const uint16_t bits = format == pf1bit    ? 1
                        : format == pf4bit  ? 4
                        : format == pf8bit  ? 8
                        : format == pf32bit ? 32
                                            : 24;
  const bool paletted = bits <= 8;
  const uint32_t colors = paletted ? 1u << bits : 0;
  const uint32_t stride = static_cast<uint32_t>(((int64_t{w} * bits + 31) / 32) * 4);
  const uint32_t offBits = 14 + 40 + colors * 4;
  const uint32_t imageSize = stride * static_cast<uint32_t>(h);

  std::vector<uint8_t> head;
  head.reserve(offBits);
  head.push_back('B');
  head.push_back('M');
  PutU32(head, offBits + imageSize);
  PutU32(head, 0);
  PutU32(head, offBits);
  PutU32(head, 40);
  PutU32(head, static_cast<uint32_t>(w));
  PutU32(head, static_cast<uint32_t>(h));
  PutU16(head, 1);
  PutU16(head, bits);
  PutU32(head, BI_RGB);
  PutU32(head, imageSize);
  PutU32(head, 3780);  // 96 pixels per inch
  PutU32(head, 3780);
  PutU32(head, colors);
  PutU32(head, 0);
  if (paletted) {
    const QList<QRgb> table = image.colorTable();
    for (uint32_t k = 0; k < colors; ++k) {
      const QRgb c = k < static_cast<uint32_t>(table.size()) ? table[k] : qRgb(0, 0, 0);
      head.push_back(static_cast<uint8_t>(qBlue(c)));
      head.push_back(static_cast<uint8_t>(qGreen(c)));
      head.push_back(static_cast<uint8_t>(qRed(c)));
      head.push_back(0);
    }
  }
  s.WriteBuffer(head.data(), static_cast<int64_t>(head.size()));

  std::vector<uint8_t> row(stride);
  for (int32_t y = h - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    const uchar* src = image.constScanLine(y);
    const auto* rgb = reinterpret_cast<const QRgb*>(src);
    for (int32_t x = 0; x < w; ++x) {
      switch (bits) {
        case 1: row[x / 8] |= static_cast<uint8_t>((src[x] & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<uint8_t>((src[x] & 0x0F) << ((x & 1) ? 0 : 4)); break;
        case 8: row[x] = src[x]; break;
        case 24:
          row[3 * x] = static_cast<uint8_t>(qBlue(rgb[x]));
          row[3 * x + 1] = static_cast<uint8_t>(qGreen(rgb[x]));
          row[3 * x + 2] = static_cast<uint8_t>(qRed(rgb[x]));
          break;
        default:
          row[4 * x] = static_cast<uint8_t>(qBlue(rgb[x]));
          row[4 * x + 1] = static_cast<uint8_t>(qGreen(rgb[x]));
          row[4 * x + 2] = static_cast<uint8_t>(qRed(rgb[x]));
          row[4 * x + 3] = static_cast<uint8_t>(qAlpha(rgb[x]));
          break;
      }
    }
    s.WriteBuffer(row.data(), stride);
  }
}

QList<QRgb> StandardPalette(TPixelFormat format) {
  QList<QRgb> table;
  if (format == pf1bit) {
    table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  } else if (format == pf4bit) {
    static constexpr std::array<QRgb, 16> vga = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                                 0xFF008080, 0xFF808080, 0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                                 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    for (QRgb c : vga) table.push_back(c);
  } else {
    // 6 × 6 × 6 colour cube and a grey ramp.
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) table.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int k = 0; table.size() < 256; ++k) table.push_back(qRgb(k * 6 + 8, k * 6 + 8, k * 6 + 8));
  }
  return table;
}

TColor ToTColor(QRgb c) {
  return RGB(static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qBlue(c)));
}

QRgb ToQRgb(TColor c) {
  c = ColorToRGB(c);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

void CheckSize(int32_t width, int32_t height) {
  if (width < 0 || height < 0 || width > TBitmap::kMaxSide || height > TBitmap::kMaxSide ||
      int64_t{width} * height > TBitmap::kMaxPixels)
    throw EInvalidGraphic("Bitmap dimensions out of range");
}

}  // namespace

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : image_(std::make_unique<TBitmapImage>()) {}

TBitmap::TBitmap(int32_t width, int32_t height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
    : TGraphic(other),
      image_(std::make_unique<TBitmapImage>()),
      transparentColor_(other.transparentColor_),
      transparentMode_(other.transparentMode_) {
  other.image_->Settle();
  image_->image = other.image_->image;
  image_->format = other.image_->format;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  other.image_->Settle();
  image_->Settle();
  TGraphic::operator=(other);
  image_->image = other.image_->image;
  image_->format = other.image_->format;
  transparentColor_ = other.transparentColor_;
  transparentMode_ = other.transparentMode_;
  return *this;
}

int32_t TBitmap::Width() const { return image_->image.width(); }
int32_t TBitmap::Height() const { return image_->image.height(); }
bool TBitmap::Empty() const { return image_->image.isNull(); }

void TBitmap::SetSize(int32_t width, int32_t height) {
  CheckSize(width, height);
  image_->Settle();
  QImage& old = image_->image;
  if (width == old.width() && height == old.height()) return;
  if (width == 0 || height == 0) {
    old = QImage();
    return;
  }
  QImage next;
  if (old.isNull() || old.format() == QImage::Format_Indexed8) {
    next = QImage(width, height, old.isNull() ? QImage::Format_RGB32 : old.format());
    if (!old.isNull()) next.setColorTable(old.colorTable());
  } else {
    next = QImage(width, height, old.format());
  }
  if (next.isNull()) throw EInvalidGraphic("Bitmap dimensions out of range");
  if (next.format() == QImage::Format_Indexed8) {
    // New pixels take the palette entry nearest to white.
    const QList<QRgb> table = next.colorTable();
    int best = 0, bestDistance = INT32_MAX;
    for (int k = 0; k < table.size(); ++k) {
      const int d = (255 - qRed(table[k])) + (255 - qGreen(table[k])) + (255 - qBlue(table[k]));
      if (d < bestDistance) best = k, bestDistance = d;
    }
    next.fill(static_cast<uint>(best));
  } else {
    next.fill(Qt::white);
  }
  if (!old.isNull()) {
    const int w = std::min(width, old.width()), h = std::min(height, old.height());
    const int bytes = next.format() == QImage::Format_Indexed8 ? w : w * 4;
    for (int y = 0; y < h; ++y) std::copy_n(old.constScanLine(y), bytes, next.scanLine(y));
  }
  old = std::move(next);
}

TPixelFormat TBitmap::PixelFormat() const { return image_->format; }

void TBitmap::SetPixelFormat(TPixelFormat format) {
  image_->Settle();
  QImage& img = image_->image;
  const TPixelFormat was = image_->format;
  image_->format = format;
  if (img.isNull() || format == was) return;
  if (format == pf24bit || format == pf32bit) {
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
      img = img.convertToFormat(QImage::Format_RGB32);
    return;
  }
  img = img.convertToFormat(QImage::Format_Indexed8, StandardPalette(format), Qt::ThresholdDither | Qt::AvoidDither);
}

TColor TBitmap::GetPixel(int32_t x, int32_t y) const {
  image_->Settle();
  const QImage& img = image_->image;
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return clNone;
  return ToTColor(img.pixel(x, y));
}

void TBitmap::SetPixel(int32_t x, int32_t y, TColor color) {
  image_->Settle();
  QImage& img = image_->image;
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
  image_->MakeDrawable();
  img.setPixel(x, y, ToQRgb(color));
}

TCanvas& TBitmap::Canvas() {
  if (!image_->canvas) {
    image_->canvas = std::make_unique<TQtCanvas>(image_->image);
    TBitmapImage* image = image_.get();
    image_->canvas->SetBeforeBegin([image] { image->MakeDrawable(); });
  }
  return *image_->canvas;
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  return Empty() ? clNone : GetPixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = tmFixed;
}

void TBitmap::LoadFromStream(TStream& stream) {
  LoadedBitmap loaded{QImage(), pf24bit};
  try {
    if (stream.Remaining() > 0) loaded = ReadBmp(stream);
  } catch (const EStreamError& e) {
    throw EInvalidGraphic(std::string("Bitmap image is not valid: ") + e.what());
  }
  image_->Settle();
  image_->image = std::move(loaded.image);
  image_->format = loaded.format;
}

void TBitmap::SaveToStream(TStream& stream) const {
  image_->Settle();
  const QImage& img = image_->image;
  if (img.isNull()) return;  // an empty bitmap is no bytes at all, and reads back from none
  const bool paletted = image_->format <= pf8bit;
  if (paletted && img.format() != QImage::Format_Indexed8)
    WriteBmp(stream, img.convertToFormat(QImage::Format_Indexed8, StandardPalette(image_->format)), image_->format);
  else
    WriteBmp(stream, paletted ? img : img.convertToFormat(QImage::Format_ARGB32), image_->format);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const { return std::make_unique<TBitmap>(*this); }

void TBitmap::Paint(TCanvas& canvas, const TRect& rect) const { canvas.StretchDraw(rect, *this); }

// ---------------------------------------------------------------- Qt side

const QImage& BitmapImage(const TBitmap& bitmap) {
  bitmap.Image().Settle();
  return bitmap.Image().image;
}

QImage BitmapImageForDrawing(const TBitmap& bitmap) {
  TBitmapImage& d = bitmap.Image();
  d.Settle();
  if (!bitmap.Transparent() || d.image.isNull()) return d.image;
  const TColor color = bitmap.TransparentColor();
  if (color == clNone) return d.image;
  if (!d.masked.isNull() && d.maskedKey == d.image.cacheKey() && d.maskedColor == color) return d.masked;
  QImage masked = d.image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = ToQRgb(color) & 0xFFFFFF;
  for (int y = 0; y < masked.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x)
      if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
  }
  d.masked = masked;
  d.maskedKey = d.image.cacheKey();
  d.maskedColor = color;
  return masked;
}

void SetBitmapImage(TBitmap& bitmap, const QImage& image) {
  TBitmapImage& d = bitmap.Image();
  d.Settle();
  if (image.isNull()) {
    d.image = QImage();
    return;
  }
  CheckSize(image.width(), image.height());
  switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
      d.image = image.convertToFormat(QImage::Format_Indexed8);
      d.format = image.colorCount() <= 2 ? pf1bit : image.colorCount() <= 16 ? pf4bit : pf8bit;
      break;
    default:
      d.image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
      d.format = image.hasAlphaChannel() ? pf32bit : pf24bit;
      break;
  }
}

}  // namespace quillet
