#pragma once
// A picture read from an RTF \pict group, and the graphic made of it.
#include <cstdint>
#include <memory>
#include <vector>

namespace quillet {

class TGraphic;

enum TDVRTFPictureType : uint8_t {
  rtf_pict_EMF, rtf_pict_PNG, rtf_pict_JPEG, rtf_pict_MacPict, rtf_pict_PmMetafile, rtf_pict_WMF, rtf_pict_DIB,
  rtf_pict_DDB
};

class TDVRTFPicture {
 public:
  // \picw and \pich beyond this are taken as this; scales outside 1..kMaxScale
  // are ignored.
  static constexpr int32_t kMaxPicSize = 32767 * 100;
  static constexpr int32_t kMaxScale = 10000;
  // Room kept at the start of a bitmap's data for its file header.
  static constexpr int kBitmapFileHeaderSize = 14;

  TDVRTFPictureType PictureType = rtf_pict_EMF;
  int32_t FMetafileMapMode = 0;
  int32_t PicW = 0, PicH = 0;
  int32_t PicScaleX = 100, PicScaleY = 100;
  int32_t FWBMWidthBytes = 0;
  // The picture's bytes; a bitmap's start with room for its file header.
  std::vector<uint8_t> Data;
  // Pixels; 0 unless a metafile states its size.
  int32_t SuggestedWidth = 0, SuggestedHeight = 0;

  void SetPictureType(TDVRTFPictureType type);
  void SetSize(int32_t& field, int32_t value);
  void SetScale(int32_t& field, int32_t value);
  // The graphic of the data: EMF and WMF metafiles, JPEG, DIB and PNG
  // bitmaps; null for the kinds nothing here reads (Mac PICT, OS/2
  // metafiles, device-dependent bitmaps). Bad data raises EInvalidGraphic.
  std::unique_ptr<TGraphic> CreateGraphic();
};

// The map mode of \wmetafileN: 2 to 8 are kept, anything else is 1 (text).
int32_t GetMetafileMapMode(int32_t value);

}  // namespace quillet
