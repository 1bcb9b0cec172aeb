#pragma once
// JPEG pictures. The file's own bytes are kept, so a picture that is not
// changed saves byte for byte as it was read; the decoded pixels are what is
// drawn and measured.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/graphic.h"

namespace quillet {

class TJPEGImage final : public TGraphic {
 public:
  // Quality (0..100) with which pixels taken from a bitmap are compressed.
  static constexpr int kQuality = 90;
  // Larger files are refused before anything is decoded.
  static constexpr int64_t kMaxFileSize = int64_t{256} * 1024 * 1024;

  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage& other);
  TJPEGImage& operator=(const TJPEGImage& other);

  std::string_view ClassName() const override { return "TJPEGImage"; }
  int32_t Width() const override;
  int32_t Height() const override;
  bool Empty() const override { return data_.empty(); }

  // The rest of the stream is the JPEG file. It is decoded at once: a file
  // that is corrupt, truncated, over TBitmap's size limits or in a colour
  // space other than grey, YCbCr, RGB, CMYK or YCCK raises EInvalidGraphic
  // and the picture keeps what it had. No bytes make an empty picture.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Paint(TCanvas& canvas, const TRect& rect) const override;

  // Compresses the bitmap's pixels at kQuality; an empty bitmap empties the
  // picture. What is drawn afterwards is the compressed picture.
  void Assign(const TBitmap& bitmap);

 private:
  std::vector<uint8_t> data_;
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace quillet
