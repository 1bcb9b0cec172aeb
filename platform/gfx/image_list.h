#pragma once
// Image lists: a row of same-sized images with transparency, drawn by index.
// Bullets, hotspots and list levels refer to one without owning it.
#include <cstdint>
#include <vector>

#include "platform/core/colors.h"
#include "platform/gfx/graphic.h"

namespace quillet {

class TCanvas;

class TCustomImageList {
 public:
  TCustomImageList() = default;  // 16 x 16
  // Sides from 1 to TBitmap::kMaxSide; others raise EInvalidGraphic.
  TCustomImageList(int32_t width, int32_t height);
  virtual ~TCustomImageList() = default;
  TCustomImageList(const TCustomImageList&) = delete;
  TCustomImageList& operator=(const TCustomImageList&) = delete;

  int32_t Tag = 0;  // identifies the list when a document stores a reference to it

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Removes every image; sizes as for the constructor.
  void SetSize(int32_t width, int32_t height);
  int32_t Count() const { return static_cast<int32_t>(images_.size()); }

  // Cuts the bitmap into images Width() wide, left to right, at least one;
  // what a piece lacks to fill an image is transparent, and so is every pixel
  // of maskColor (clNone: no such colour). An empty bitmap adds nothing.
  // Answers the index of the first new image, or -1 when none was added.
  int32_t Add(const TBitmap& bitmap, TColor maskColor = clNone);
  // Out of range: nothing happens.
  void Delete(int32_t index);
  void Clear() { images_.clear(); }

  // Draws image `index` with its top-left corner at (x, y), its transparent
  // pixels leaving the canvas as it was. With a blend colour (not clNone) each
  // visible pixel is mixed half and half with it, as selected images are
  // shown. An index outside 0..Count()-1 draws nothing.
  void Draw(TCanvas& canvas, int32_t x, int32_t y, int32_t index, TColor blendColor = clNone) const;

 private:
  int32_t width_ = 16, height_ = 16;
  std::vector<TBitmap> images_;  // 32-bit with alpha
};

}  // namespace quillet
