#pragma once
// Small fixtures for the annotation layer's tests: strokes drawn through the
// layer's own entry points, seal pictures as bitmap files.
#include <QColor>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "host/annotation/postil.h"
#include "host/codec/hex_codec.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {

struct StrokePoint {
  int32_t X, Y, Width;
};

// A stroke at the unscrolled origin: pen down at the first point, moves to the
// others, pen up (which smooths it).
inline void DrawStroke(TQvPostil& postil, const std::vector<StrokePoint>& points, int32_t color = 255) {
  postil.BeginDraw();
  postil.AddPointM(points[0].X, points[0].Y, color, points[0].Width, 0, 0, 1);
  for (size_t i = 1; i < points.size(); ++i) postil.AddPointL(points[i].X, points[i].Y, color, points[i].Width, 0, 0, 1);
  postil.EndDraw();
}

// A red picture with a white border, so that the mask shows.
inline std::unique_ptr<TBitmap> SealBitmap(int32_t width = 100, int32_t height = 60) {
  auto bmp = std::make_unique<TBitmap>(width, height);
  for (int32_t y = 2; y < height - 2; ++y)
    for (int32_t x = 2; x < width - 2; ++x) bmp->SetPixel(x, y, 0x0000FF);
  return bmp;
}

inline TMemoryStream BitmapFile(const TBitmap& bmp) {
  TMemoryStream stream;
  bmp.SaveToStream(stream);
  stream.SetPosition(0);
  return stream;
}

// Pixels of a red pen or seal in a picture of the page.
inline int RedPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += c.red() > 180 && c.green() < 100 && c.blue() < 100;
    }
  return n;
}

inline std::string StrToHexOf(TMemoryStream& stream) { return StrToHex(stream.AsString()); }

inline TQvPostil& WithFixedDate(TQvPostil& postil) {
  postil.Today = [] { return std::string("2026-12-10"); };
  postil.SetUser("ann");
  return postil;
}

}  // namespace quillet::test
