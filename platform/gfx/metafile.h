#pragma once
// Metafiles: recorded drawing in the enhanced form (EMF) or the placeable
// Windows form (WMF with its 22-byte header). Nothing on this platform plays
// them back, so a metafile keeps its bytes exactly, takes its size from its
// header, and draws as a placeholder: a grey frame with its diagonals.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/graphic.h"

namespace quillet {

class TMetafile final : public TGraphic {
 public:
  static constexpr int64_t kMaxFileSize = int64_t{256} * 1024 * 1024;
  // Sizes are in pixels of the screen's logical resolution.
  static constexpr int32_t kScreenPixelsPerInch = 96;

  TMetafile() = default;
  TMetafile(const TMetafile& other) = default;
  TMetafile& operator=(const TMetafile& other) = default;

  std::string_view ClassName() const override { return "TMetafile"; }
  // An enhanced metafile is as large as its header's frame (0.01 mm), or,
  // when the frame is empty, its bounds (pixels); a Windows metafile as its
  // bounding box at Inch units per inch.
  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  bool Empty() const override { return data_.empty(); }

  bool Enhanced() const { return enhanced_; }
  // The size in 0.01 mm.
  int32_t MMWidth() const { return mmWidth_; }
  int32_t MMHeight() const { return mmHeight_; }
  // Units per inch of a Windows metafile (0 for an enhanced one). Setting it
  // rewrites the header (and its checksum) of a Windows metafile and resizes
  // it; enhanced metafiles and a value of 0 are left alone.
  uint16_t Inch() const { return inch_; }
  void SetInch(uint16_t inch);

  // The rest of the stream is the metafile, kept byte for byte. The header is
  // checked (record type and signature, sizes within the data, a size no
  // larger than TBitmap::kMaxSide pixels); bad data raises EInvalidGraphic and
  // the metafile keeps what it had. No bytes make it empty.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Paint(TCanvas& canvas, const TRect& rect) const override;

 private:
  std::vector<uint8_t> data_;
  bool enhanced_ = false;
  uint16_t inch_ = 0;
  int32_t width_ = 0, height_ = 0, mmWidth_ = 0, mmHeight_ = 0;
};

}  // namespace quillet
