#include "platform/gfx/image_list.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

// A strip of 8 x 8 images in red, lime and blue, each with a white pixel at
// its top-left corner.
TBitmap Strip() {
  TBitmap bmp(24, 8);
  const TColor colours[] = {clRed, clLime, clBlue};
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 24; ++x) bmp.SetPixel(x, y, x % 8 == 0 && y == 0 ? clWhite : colours[x / 8]);
  return bmp;
}

TEST(ImageList, CutsABitmapIntoImagesOfItsWidth) {
  TCustomImageList list(8, 8);
  EXPECT_EQ(list.Add(Strip()), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Add(TBitmap(4, 4)), 3);  // narrower: one image
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Add(TBitmap()), -1);
  list.Delete(0);
  list.Delete(7);
  EXPECT_EQ(list.Count(), 3);
  list.SetSize(16, 4);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 4);
  EXPECT_THROW(list.SetSize(0, 4), EInvalidGraphic);
  EXPECT_THROW(TCustomImageList(4, 40000), EInvalidGraphic);
}

TEST(ImageList, DrawsOnlyImagesThatExist) {
  TCustomImageList list(8, 8);
  list.Add(Strip());
  TRecordingCanvas canvas;
  for (int32_t index : {-1, 0, 2, 3, 1000}) list.Draw(canvas, 5, 6, index);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Draw 5,6 TBitmap 8x8", "Draw 5,6 TBitmap 8x8"}));
}

TEST(ImageList, DrawsTransparentAndBlendedImages) {
  TCustomImageList list(8, 8);
  list.Add(Strip(), clWhite);  // the corner pixels become transparent
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 0));
  {
    TQtCanvas canvas(image);
    list.Draw(canvas, 0, 0, 1);
    list.Draw(canvas, 10, 0, 0, clBlue);
  }
  EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x000000u);  // transparent: the black below
  EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(image.pixel(10, 0) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(image.pixel(11, 1) & 0xFFFFFF, 0x7F007Fu);  // red half and half with blue
  EXPECT_EQ(image.pixel(18, 0) & 0xFFFFFF, 0x000000u);
}

}  // namespace
}  // namespace quillet
