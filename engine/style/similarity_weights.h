#pragma once
// Weights of the style similarity scores. Matching a foreign style to the most
// similar existing one sums per-property comparisons scaled by these; their
// relative sizes decide which differences matter most.
#include <cstdint>

namespace quillet {

// Text styles.
constexpr int32_t DVSMW_FONTNAME = 10000;
constexpr int32_t DVSMW_FONTSIZE = 10000;
constexpr int32_t DVSMW_FONTCHARSET = 50000;
constexpr int32_t DVSMW_EACHRGBCOLOR = 3333;
constexpr int32_t DVSMW_COLORSET = 3000;
constexpr int32_t DVSMW_ALLCAPS = 50000;
constexpr int32_t DVSMW_OVERLINE = 50000;
constexpr int32_t DVSMW_EACHRGBBCOLOR = 10000;
constexpr int32_t DVSMW_BCOLORSET = 50000;
constexpr int32_t DVSMW_FONTEACHSTYLE = 50000;
constexpr int32_t DVSMW_FONTSTYLESET = 50000;
constexpr int32_t DVSMW_CHARSCALE = 300;
constexpr int32_t DVSMW_CHARSPACING = 1000;
constexpr int32_t DVSMW_BIDIMODE = 10000;
constexpr int32_t DVSMW_VSHIFT = 50000;
constexpr int32_t DVSMW_VSHIFTRATIO = 1000;
constexpr int32_t DVSMW_CURSOR = 5000;
constexpr int32_t DVSMW_PROTECTION = 100000;
constexpr int32_t DVSMW_SPECIALCODE = 50000;

// Paragraph styles, borders and backgrounds.
constexpr int32_t DVSMW_READONLY = 100000;
constexpr int32_t DVSMW_DONOTWANTRETURNS = 10000;
constexpr int32_t DVSMW_ALIGNMENT = 50000;
constexpr int32_t DVSMW_LINESPACING = 5000;
constexpr int32_t DVSMW_INDENT = 1000;
constexpr int32_t DVSMW_BORDERSIDE = 5000;
constexpr int32_t DVSMW_BORDERNOSIDE = 20000;
constexpr int32_t DVSMW_WIDTH = 1000;
constexpr int32_t DVSMW_BORDERSTYLE = 1000;
constexpr int32_t DVSMW_PADDING = 100;
constexpr int32_t DVSMW_NOWRAP = 1000;
constexpr int32_t DVSMW_STYLEPROTECT = 1000;

}  // namespace quillet
