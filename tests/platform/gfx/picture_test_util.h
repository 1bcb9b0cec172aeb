#pragma once
// Picture files made in memory for tests: a JPEG through the project's own
// encoder, ICO and metafile files assembled field by field.
#include <QBuffer>
#include <QImage>
#include <cstdint>
#include <vector>

#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/jpeg_image.h"

namespace quillet {

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

inline std::vector<uint8_t> SavedBytes(const TGraphic& graphic) {
  TMemoryStream s;
  graphic.SaveToStream(s);
  return s.Bytes();
}

// A bitmap whose left half is red and right half blue.
inline TBitmap RedBlueBitmap(int32_t width, int32_t height) {
  TBitmap bmp(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) bmp.SetPixel(x, y, x < width / 2 ? clRed : clBlue);
  return bmp;
}

inline std::vector<uint8_t> RedBlueJpeg(int32_t width, int32_t height) {
  TJPEGImage jpeg;
  jpeg.Assign(RedBlueBitmap(width, height));
  return SavedBytes(jpeg);
}

// One ICO image: a 24-bit device-independent bitmap (left half red, right
// half blue, rows bottom-up) with an AND mask whose set bits are the columns
// from maskFrom on; or, with png, the same picture as a PNG with those
// columns transparent.
inline std::vector<uint8_t> IconImage(int32_t w, int32_t h, int32_t maskFrom, bool png = false) {
  std::vector<uint8_t> b;
  if (png) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        image.setPixel(x, y, x >= maskFrom ? 0 : x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<uint8_t>(buffer.data().begin(), buffer.data().end());
  }
  Put32(b, 40), Put32(b, static_cast<uint32_t>(w)), Put32(b, static_cast<uint32_t>(2 * h));
  Put16(b, 1), Put16(b, 24);
  for (int k = 0; k < 6; ++k) Put32(b, 0);
  const int stride = (w * 3 + 3) / 4 * 4, maskStride = (w + 31) / 32 * 4;
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < w; ++x) {
      const bool red = x < w / 2;
      row[3 * x] = red ? 0 : 255;  // blue byte first
      row[3 * x + 2] = red ? 255 : 0;
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = maskFrom; x < w; ++x) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

struct IconEntry {
  int32_t w, h;
  std::vector<uint8_t> image;
};

inline std::vector<uint8_t> IconFile(const std::vector<IconEntry>& entries) {
  std::vector<uint8_t> b;
  Put16(b, 0), Put16(b, 1), Put16(b, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const IconEntry& e : entries) {
    b.push_back(static_cast<uint8_t>(e.w)), b.push_back(static_cast<uint8_t>(e.h));
    b.push_back(0), b.push_back(0);
    Put16(b, 1), Put16(b, 24), Put32(b, static_cast<uint32_t>(e.image.size())), Put32(b, offset);
    offset += static_cast<uint32_t>(e.image.size());
  }
  for (const IconEntry& e : entries) b.insert(b.end(), e.image.begin(), e.image.end());
  return b;
}

// An enhanced metafile: its header with the given frame (0.01 mm) and
// bounds (pixels), then an end-of-file record.
inline std::vector<uint8_t> EmfFile(int32_t frameRight, int32_t frameBottom, int32_t boundsRight = 0,
                                    int32_t boundsBottom = 0) {
  std::vector<uint8_t> b;
  Put32(b, 1), Put32(b, 88);
  Put32(b, 0), Put32(b, 0), Put32(b, static_cast<uint32_t>(boundsRight)), Put32(b, static_cast<uint32_t>(boundsBottom));
  Put32(b, 0), Put32(b, 0), Put32(b, static_cast<uint32_t>(frameRight)), Put32(b, static_cast<uint32_t>(frameBottom));
  Put32(b, 0x464D4520), Put32(b, 0x10000), Put32(b, 88 + 20), Put32(b, 2);
  Put16(b, 1), Put16(b, 0), Put32(b, 0), Put32(b, 0), Put32(b, 0);
  Put32(b, 1024), Put32(b, 768), Put32(b, 320), Put32(b, 240);
  Put32(b, 14), Put32(b, 20), Put32(b, 0), Put32(b, 0), Put32(b, 20);  // EMR_EOF
  return b;
}

// A placeable Windows metafile with the bounding box (0, 0)-(right, bottom)
// at `inch` units per inch, and an end-of-file record.
inline std::vector<uint8_t> WmfFile(int16_t right, int16_t bottom, uint16_t inch) {
  std::vector<uint8_t> b;
  Put32(b, 0x9AC6CDD7), Put16(b, 0);
  Put16(b, 0), Put16(b, 0), Put16(b, static_cast<uint16_t>(right)), Put16(b, static_cast<uint16_t>(bottom));
  Put16(b, inch), Put32(b, 0);
  uint16_t sum = 0;
  for (size_t k = 0; k < 20; k += 2) sum ^= static_cast<uint16_t>(b[k] | (b[k + 1] << 8));
  Put16(b, sum);
  Put16(b, 1), Put16(b, 9), Put16(b, 0x300), Put32(b, 9 + 3), Put16(b, 0), Put32(b, 3), Put16(b, 0);
  Put32(b, 3), Put16(b, 0);  // META_EOF
  return b;
}

}  // namespace quillet
