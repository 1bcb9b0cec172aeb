#include "interchange/rtf/rtf_picture.h"

#include <algorithm>
#include <cmath>

#include "engine/export/rtf_writer.h"
#include "platform/core/stream.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/picture_file.h"

namespace quillet {

namespace {

constexpr int kPlaceableHeaderSize = 22;

int32_t ScreenPixelsPerInch() { return DocViewPixelsPerInch >= 1 ? DocViewPixelsPerInch : 96; }

uint32_t LittleU32(const std::vector<uint8_t>& data, size_t at) {
  return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

void PutU16(std::vector<uint8_t>& data, size_t at, uint16_t value) {
  data[at] = value & 0xFF;
  data[at + 1] = value >> 8;
}

void PutU32(std::vector<uint8_t>& data, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) data[at + i] = (value >> (8 * i)) & 0xFF;
}

// Where the pixels of a device-independent bitmap start, counted from the
// start of its file: the file header, the info header, the colour masks and
// the palette. The bitmap reader refuses a file header that says 0.
uint32_t DIBPixelOffset(const std::vector<uint8_t>& data) {
  constexpr size_t kHead = TDVRTFPicture::kBitmapFileHeaderSize;
  if (data.size() < kHead + 4) return kHead;
  const uint32_t infoSize = LittleU32(data, kHead);
  uint64_t offset = kHead + uint64_t{infoSize};
  if (infoSize >= 40 && data.size() >= kHead + 36) {
    const uint16_t bitCount = data[kHead + 14] | data[kHead + 15] << 8;
    const uint32_t compression = LittleU32(data, kHead + 16);
    const uint32_t colorsUsed = LittleU32(data, kHead + 32);
    if (infoSize == 40 && (compression == 3 || compression == 6)) offset += compression == 3 ? 12 : 16;
    uint64_t colors = colorsUsed;
    if (colors == 0 && bitCount >= 1 && bitCount <= 8) colors = uint64_t{1} << bitCount;
    offset += colors * 4;
  } else if (infoSize == 12 && data.size() >= kHead + 12) {
    const uint16_t bitCount = data[kHead + 10] | data[kHead + 11] << 8;
    if (bitCount >= 1 && bitCount <= 8) offset += (uint64_t{1} << bitCount) * 3;
  }
  return static_cast<uint32_t>(std::min<uint64_t>(offset, data.size()));
}

// Units per inch of a metafile's map mode: text (pixels), low and high
// metric, low and high English, twips; isotropic and anisotropic metafiles
// give their size in 0.01 mm.
int32_t MapModeUnitsPerInch(int32_t mapMode) {
  switch (mapMode) {
    case 2: return 254;
    case 3: case 7: case 8: return 2540;
    case 4: return 100;
    case 5: return 1000;
    case 6: return 1440;
    default: return ScreenPixelsPerInch();
  }
}

int32_t PixelsOf(int32_t size, int32_t unitsPerInch) {
  const double pixels = std::nearbyint(double(size) * ScreenPixelsPerInch() / unitsPerInch);
  return static_cast<int32_t>(std::clamp(pixels, 1.0, 32767.0));
}

}  // namespace

int32_t GetMetafileMapMode(int32_t value) { return value >= 2 && value <= 8 ? value : 1; }

void TDVRTFPicture::SetPictureType(TDVRTFPictureType type) {
  PictureType = type;
  if (type == rtf_pict_DIB && Data.size() < kBitmapFileHeaderSize) Data.resize(kBitmapFileHeaderSize);
}

void TDVRTFPicture::SetSize(int32_t& field, int32_t value) { field = std::clamp(value, 0, kMaxPicSize); }

void TDVRTFPicture::SetScale(int32_t& field, int32_t value) {
  if (value >= 1 && value <= kMaxScale) field = value;
}

std::unique_ptr<TGraphic> TDVRTFPicture::CreateGraphic() {
  switch (PictureType) {
    case rtf_pict_EMF: {
      auto metafile = std::make_unique<TMetafile>();
      TMemoryStream stream(Data);
      metafile->LoadFromStream(stream);
      return metafile;
    }
    case rtf_pict_JPEG: {
      auto jpeg = std::make_unique<TJPEGImage>();
      TMemoryStream stream(Data);
      jpeg->LoadFromStream(stream);
      return jpeg;
    }
    case rtf_pict_PNG:
      return DecodeImageBytes(Data);
    case rtf_pict_DIB: {
      if (Data.size() < kBitmapFileHeaderSize) Data.resize(kBitmapFileHeaderSize);
      Data[0] = 'B';
      Data[1] = 'M';
      PutU32(Data, 2, static_cast<uint32_t>(Data.size()));
      PutU32(Data, 6, 0);
      PutU32(Data, 10, DIBPixelOffset(Data));
      auto bitmap = std::make_unique<TBitmap>();
      TMemoryStream stream(Data);
      bitmap->LoadFromStream(stream);
      return bitmap;
    }
    case rtf_pict_WMF: {
      // A raw Windows metafile states no size: the placeable header that
      // gives it one is built from \picw, \pich and the map mode.
      if (PicW >= 1 && PicH >= 1 && (FMetafileMapMode == 7 || FMetafileMapMode == 8)) {
        SuggestedWidth = PixelsOf(PicW, 2540);
        SuggestedHeight = PixelsOf(PicH, 2540);
      }
      const int32_t unitsPerInch = MapModeUnitsPerInch(FMetafileMapMode);
      const int32_t width = PicW >= 1 ? PixelsOf(PicW, unitsPerInch) : 1;
      const int32_t height = PicH >= 1 ? PixelsOf(PicH, unitsPerInch) : 1;
      std::vector<uint8_t> file(kPlaceableHeaderSize);
      PutU32(file, 0, 0x9AC6CDD7);
      PutU16(file, 10, static_cast<uint16_t>(width));
      PutU16(file, 12, static_cast<uint16_t>(height));
      PutU16(file, 14, static_cast<uint16_t>(ScreenPixelsPerInch()));
      uint16_t checksum = 0;
      for (int i = 0; i < 20; i += 2) checksum ^= file[i] | file[i + 1] << 8;
      PutU16(file, 20, checksum);
      file.insert(file.end(), Data.begin(), Data.end());
      auto metafile = std::make_unique<TMetafile>();
      TMemoryStream stream(std::move(file));
      metafile->LoadFromStream(stream);
      return metafile;
    }
    case rtf_pict_MacPict:
    case rtf_pict_PmMetafile:
    case rtf_pict_DDB:
      break;
  }
  return nullptr;
}

}  // namespace quillet
