#pragma once
// The 40 named colours that the colour grid and the palette popup offer,
// 5 rows of 8 in row order, and the lightness that decides the colour of
// text drawn over a swatch.
#include <array>
#include <cstdint>
#include <string_view>

#include "platform/core/colors.h"

namespace quillet {

struct TColorRecord {
  std::string_view Name;  // the hint of its cell or button
  TColor Color;
};

constexpr int ColorCount = 40;
constexpr int PaletteColumns = 8;
constexpr int PaletteRows = ColorCount / PaletteColumns;

extern const std::array<TColorRecord, ColorCount> Colors;

// The palette index of a colour, or -1.
int PaletteIndexOf(TColor color);

// The HLS lightness of a colour on a 0..240 scale, system colours resolved.
int GetLuminance(TColor color);

}  // namespace quillet
