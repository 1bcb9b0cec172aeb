#include "commands/controls/color_palette.h"

#include <algorithm>

namespace quillet {

const std::array<TColorRecord, ColorCount> Colors = {{
    {"Black", 0x000000},        {"Brown", 0x003399},          {"Olive Green", 0x003333},
    {"Dark Green", 0x003300},   {"Dark Teal", 0x663300},      {"Dark blue", 0x800000},
    {"Indigo", 0x993333},       {"Gray-80%", 0x333333},       {"Dark Red", 0x000080},
    {"Orange", 0x0066FF},       {"Dark Yellow", 0x008080},    {"Green", 0x008000},
    {"Teal", 0x808000},         {"Blue", 0xFF0000},           {"Blue-Gray", 0x996666},
    {"Gray-50%", 0x808080},     {"Red", 0x0000FF},            {"Light Orange", 0x0099FF},
    {"Lime", 0x00CC99},         {"Sea Green", 0x669933},      {"Aqua", 0xCCCC33},
    {"Light Blue", 0xFF6633},   {"Violet", 0x800080},         {"Grey-40%", 0x969696},
    {"Pink", 0xFF00FF},         {"Gold", 0x00CCFF},           {"Yellow", 0x00FFFF},
    {"Bright Green", 0x00FF00}, {"Turquoise", 0xFFFF00},      {"Sky Blue", 0xFFCC00},
    {"Plum", 0x663399},         {"Gray-25%", 0xC0C0C0},       {"Rose", 0xCC99FF},
    {"Tan", 0x99CCFF},          {"Light Yellow", 0x99FFFF},   {"Light Green", 0xCCFFCC},
    {"Light Turquoise", 0xFFFFCC}, {"Pale Blue", 0xFFCC99},   {"Lavender", 0xFF99CC},
    {"White", 0xFFFFFF},
}};

int PaletteIndexOf(TColor color) {
  for (int i = 0; i < ColorCount; ++i)
    if (Colors[i].Color == color) return i;
  return -1;
}

int GetLuminance(TColor color) {
  const TColor c = ColorToRGB(color);
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  const int sum = std::max({r, g, b}) + std::min({r, g, b});
  // The added half divisor rounds the quotient.
  return (sum * 240 + 255) / 510;
}

}  // namespace quillet
