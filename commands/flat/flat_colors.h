#pragma once
// The colour rules of flat painting and the working colours every menu item,
// tool button and control paint starts from. Pure functions: the colour
// depth comes in as a number, so the scheme below 16 bits per pixel can be
// checked on any screen.
#include <cstdint>

#include "platform/core/colors.h"

namespace quillet {

// The colour properties the working colours are derived from.
struct TFlatColors {
  TColor Color = clBtnFace;
  TColor IconBackColor = clBtnFace;
  TColor MenuBarColor = clBtnFace;
  TColor SeparatorColor = clBtnFace;
  TColor SelectColor = clHighlight;
  TColor SelectBorderColor = clHighlight;
  TColor CheckedColor = clHighlight;
  TColor DisabledColor = clInactiveCaption;
  TColor FontColor = clMenuText;  // the menu font's colour
  TColor SelectFontColor = clMenuText;
  bool UseSystemColors = true;
  bool UseDimColor = false;
};

// The working colours of one paint.
struct TFlatScheme {
  bool Is16Bit = true;
  TColor FColor = clNone, IconBackColor = clNone, SelectColor = clNone, SelectBorderColor = clNone,
         SelectFontColor = clNone, MenuBarColor = clNone, DisabledColor = clNone, SeparatorColor = clNone,
         CheckedColor = clNone, CheckedAreaColor = clNone, CheckedAreaSelectColor = clNone,
         MenuBorderColor = clNone, MenuShadowColor = clNone;
  int DimParentColor = 16;        // idle face of a control tinted from its parent
  int DimParentColorSelect = 40;  // the same, highlighted
};

// V per cent of the way towards white (V capped at 100), each channel
// rounded half to even. The nearest displayable colour is the colour itself.
TColor NewColor(TColor c, int v);
// Darker by V per channel, green 2 less so; a negative V lightens.
TColor GetShadeColor(TColor c, int v);
// The grey of the channels' mean lifted by V, at most 240.
TColor GrayColor(TColor c, int v);
// A selected menu-bar item's text on a dark background is the background
// lightened; on a light one it keeps the font's colour.
TColor TopMenuFontColor(TColor c, TColor fontColor);

void SetGlobalColor(TFlatScheme& scheme, const TFlatColors& colors, int bitsPerPixel);

}  // namespace quillet
