#include "platform/gfx/image_list.h"

#include <QImage>
#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/qt_bitmap.h"

namespace quillet {

namespace {

void CheckSides(int32_t width, int32_t height) {
  if (width < 1 || height < 1 || width > TBitmap::kMaxSide || height > TBitmap::kMaxSide ||
      int64_t{width} * height > TBitmap::kMaxPixels)
    throw EInvalidGraphic("Image list size out of range");
}

}  // namespace

TCustomImageList::TCustomImageList(int32_t width, int32_t height) { SetSize(width, height); }

void TCustomImageList::SetSize(int32_t width, int32_t height) {
  CheckSides(width, height);
  images_.clear();
  width_ = width;
  height_ = height;
}

int32_t TCustomImageList::Add(const TBitmap& bitmap, TColor maskColor) {
  if (bitmap.Empty()) return -1;
  QImage source = BitmapImage(bitmap).convertToFormat(QImage::Format_ARGB32);
  if (maskColor != clNone) {
    const TColor rgb = ColorToRGB(maskColor);
    const QRgb key = qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)) & 0xFFFFFF;
    for (int y = 0; y < source.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
      for (int x = 0; x < source.width(); ++x)
        if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
  }
  const int32_t first = Count();
  const int32_t pieces = std::max(1, source.width() / width_);
  for (int32_t k = 0; k < pieces; ++k) {
    // Parts of the rectangle outside the source come out fully transparent.
    TBitmap image;
    SetBitmapImage(image, source.copy(k * width_, 0, width_, height_));
    images_.push_back(std::move(image));
  }
  return first;
}

void TCustomImageList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
}

void TCustomImageList::Draw(TCanvas& canvas, int32_t x, int32_t y, int32_t index, TColor blendColor) const {
  if (index < 0 || index >= Count()) return;
  const TBitmap& image = images_[static_cast<size_t>(index)];
  if (blendColor == clNone) {
    canvas.Draw(x, y, image);
    return;
  }
  const TColor rgb = ColorToRGB(blendColor);
  QImage blended = BitmapImage(image).convertToFormat(QImage::Format_ARGB32);
  for (int row = 0; row < blended.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(blended.scanLine(row));
    for (int col = 0; col < blended.width(); ++col) {
      const QRgb c = line[col];
      line[col] = qRgba((qRed(c) + GetRValue(rgb)) / 2, (qGreen(c) + GetGValue(rgb)) / 2,
                        (qBlue(c) + GetBValue(rgb)) / 2, qAlpha(c));
    }
  }
  TBitmap mixed;
  SetBitmapImage(mixed, blended);
  canvas.Draw(x, y, mixed);
}

}  // namespace quillet
