#include "commands/flat/flat_colors.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

uint8_t Clamp(int x) { return static_cast<uint8_t>(std::clamp(x, 0, 255)); }

uint8_t Towards(int x, int v) {
  // (255 - x) * v / 100 has halves only at exact .5, which a double holds exactly.
  return Clamp(x + static_cast<int>(std::nearbyint((255 - x) * v / 100.0)));
}

}  // namespace

TColor NewColor(TColor c, int v) {
  v = std::min(v, 100);
  c = ColorToRGB(c);
  return RGB(Towards(GetRValue(c), v), Towards(GetGValue(c), v), Towards(GetBValue(c), v));
}

TColor GetShadeColor(TColor c, int v) {
  c = ColorToRGB(c);
  return RGB(Clamp(GetRValue(c) - v), Clamp(GetGValue(c) - v + 2), Clamp(GetBValue(c) - v));
}

TColor GrayColor(TColor c, int v) {
  c = ColorToRGB(c);
  const int g = std::min((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3 + v, 240);
  return RGB(Clamp(g), Clamp(g), Clamp(g));
}

TColor TopMenuFontColor(TColor c, TColor fontColor) {
  const TColor rgb = ColorToRGB(c);
  if ((GetBValue(rgb) + GetRValue(rgb)) / 2 < 151 && GetGValue(rgb) < 201) return NewColor(c, 90);
  return fontColor;
}

void SetGlobalColor(TFlatScheme& s, const TFlatColors& k, int bitsPerPixel) {
  s.Is16Bit = bitsPerPixel >= 16;
  s.DimParentColor = 16;
  s.DimParentColorSelect = 40;
  s.FColor = k.Color;
  s.IconBackColor = k.IconBackColor;
  if (s.Is16Bit) {
    if (k.UseDimColor) {
      s.SelectColor = NewColor(k.SelectColor, 68);
      s.CheckedAreaColor = NewColor(k.SelectColor, 80);
      s.CheckedAreaSelectColor = NewColor(k.SelectColor, 50);
    } else {
      s.SelectColor = s.CheckedAreaColor = s.CheckedAreaSelectColor = k.SelectColor;
    }
    s.MenuBorderColor = GetShadeColor(clBtnFace, 90);
    s.MenuShadowColor = GetShadeColor(clBtnFace, 76);
  } else {
    s.SelectColor = k.SelectColor;
    s.CheckedAreaColor = clWhite;
    s.CheckedAreaSelectColor = clSilver;
    s.MenuBorderColor = s.MenuShadowColor = clBtnShadow;
  }
  s.SelectBorderColor = k.SelectBorderColor;
  s.SelectFontColor = k.SelectFontColor;
  s.MenuBarColor = k.MenuBarColor;
  s.DisabledColor = k.DisabledColor;
  s.CheckedColor = k.CheckedColor;
  s.SeparatorColor = k.SeparatorColor;
  if (!k.UseSystemColors) return;
  const bool hi = s.Is16Bit;
  s.FColor = hi ? NewColor(clBtnFace, 86) : clWhite;
  s.IconBackColor = hi ? NewColor(clBtnFace, 16) : clBtnFace;
  s.SelectColor = hi ? NewColor(clHighlight, 68) : clWhite;
  s.SelectBorderColor = clHighlight;
  s.SelectFontColor = k.FontColor;
  s.MenuBarColor = clBtnFace;
  s.DisabledColor = hi ? NewColor(clBtnShadow, 10) : clBtnShadow;
  s.SeparatorColor = hi ? NewColor(clBtnShadow, 25) : clBtnShadow;
  s.CheckedColor = clHighlight;
  s.CheckedAreaColor = hi ? NewColor(clHighlight, 80) : clWhite;
  s.CheckedAreaSelectColor = hi ? NewColor(clHighlight, 50) : clWhite;
}

}  // namespace quillet
