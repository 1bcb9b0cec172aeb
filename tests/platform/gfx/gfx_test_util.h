#pragma once
// Readable failure messages for geometry, and images as text for pixel tests.
#include <QImage>
#include <ostream>
#include <string>
#include <vector>

#include "platform/core/geometry.h"

namespace quillet {

inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}
inline void PrintTo(const TPoint& p, std::ostream* os) { *os << "(" << p.X << "," << p.Y << ")"; }

// One string per row of the image's top-left corner: '.' for white, '#' for
// black, 'o' for any other colour.
inline std::vector<std::string> Art(const QImage& image, int width, int height) {
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const QRgb c = image.pixel(x, y) & 0xFFFFFF;
      row += c == 0xFFFFFF ? '.' : c == 0 ? '#' : 'o';
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace quillet
