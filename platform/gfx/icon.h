#pragma once
// Icons in the ICO file form. The file's bytes are kept and saved unchanged;
// one of its images (the one nearest 32 x 32, the deepest colour among equals)
// is decoded, with its mask as transparency, and is what is drawn and measured.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/graphic.h"

namespace quillet {

class TIcon final : public TGraphic {
 public:
  static constexpr int64_t kMaxFileSize = int64_t{16} * 1024 * 1024;
  // Sides of the decoded image; the file form itself cannot state more than 256.
  static constexpr int32_t kMaxSide = 1024;

  TIcon();
  ~TIcon() override;
  TIcon(const TIcon& other);
  TIcon& operator=(const TIcon& other);

  std::string_view ClassName() const override { return "TIcon"; }
  int32_t Width() const override;
  int32_t Height() const override;
  bool Empty() const override { return data_.empty(); }

  // The rest of the stream is the ICO file. Images are device-independent
  // bitmaps (with their AND mask, or alpha at 32 bits) or PNG. Bad data raises
  // EInvalidGraphic and the icon keeps what it had; no bytes make it empty.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Paint(TCanvas& canvas, const TRect& rect) const override;

 private:
  std::vector<uint8_t> data_;
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace quillet
