#include "commands/flat/flat_bitmaps.h"

#include <algorithm>

#include <QPainter>

#include "commands/flat/flat_colors.h"
#include "platform/gfx/qt_color.h"

namespace quillet {

namespace {

// Runs of equal pixels are converted once.
template <typename Rule>
void MapPixels(QImage& image, Rule rule) {
  if (image.format() != QImage::Format_ARGB32) image = image.convertToFormat(QImage::Format_ARGB32);
  QRgb lastIn = 0, lastOut = 0;
  bool have = false;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb in = line[x];
      if (!have || in != lastIn) {
        const TColor c = rule(RGB(static_cast<uint8_t>(qRed(in)), static_cast<uint8_t>(qGreen(in)),
                                  static_cast<uint8_t>(qBlue(in))));
        lastIn = in;
        lastOut = qRgba(GetRValue(c), GetGValue(c), GetBValue(c), qAlpha(in));
        have = true;
      }
      line[x] = lastOut;
    }
  }
}

}  // namespace

void GrayBitmap(QImage& image, int v) {
  MapPixels(image, [v](TColor c) { return GrayColor(c, v); });
}

void DimBitmap(QImage& image, int v) {
  v = std::min(v, 100);
  MapPixels(image, [v](TColor c) { return NewColor(c, v); });
}

void DrawBitmapShadow(const QImage& image, QPainter& p, int x, int y, TColor color) {
  if (image.isNull()) return;
  const QImage src = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = src.pixel(0, src.height() - 1);
  // One image of the shadow, drawn at once.
  QImage shadow(src.size(), QImage::Format_ARGB32);
  shadow.fill(Qt::transparent);
  const QRgb ink = ToQColor(color).rgba();
  for (int j = 0; j < src.height(); ++j) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(j));
    auto* out = reinterpret_cast<QRgb*>(shadow.scanLine(j));
    for (int i = 0; i < src.width(); ++i)
      if (in[i] != transparent && qAlpha(in[i]) != 0) out[i] = ink;
  }
  p.drawImage(x, y, shadow);
}

void DrawArrow(QPainter& p, int x, int y, TColor color) {
  const QColor c = ToQColor(color);
  p.fillRect(x, y, 5, 1, c);
  p.fillRect(x + 1, y + 1, 3, 1, c);
  p.fillRect(x + 2, y + 2, 1, 1, c);
}

void DrawCheckMark(QPainter& p, int x, int y, TColor color) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(ToQColor(color), 1));
  for (int k = 5; k <= 7; ++k) {
    const QPoint a(x + 2, y - k), b(x + 4, y - k + 2), c(x + 9, y - k - 3);
    p.drawLine(a, b);
    p.drawLine(b, c);
  }
  p.restore();
}

}  // namespace quillet
