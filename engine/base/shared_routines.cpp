#include "engine/base/shared_routines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

int32_t ClampToInt32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

void DV_InfoAboutSaD(TDVScreenAndDevice& sad, const TCanvas& canvas) {
  sad.ppixDevice = canvas.PixelsPerInchX();
  sad.ppiyDevice = canvas.PixelsPerInchY();
  // The screen's logical resolution: stored lengths are in 96-dpi pixels.
  sad.ppixScreen = 96;
  sad.ppiyScreen = 96;
}

TDVTag DV_CopyTag(const TDVTag& tag, bool tagsArePChars) {
  TDVTag copy;
  if (!tagsArePChars) {
    copy.Int = tag.Int;
    return copy;
  }
  // An empty string tag copies as none: DVF cannot tell the two apart.
  if (tag.Str && !tag.Str->empty()) copy.Str = *tag.Str;
  return copy;
}

bool DV_CompareTags(const TDVTag& tag1, const TDVTag& tag2, bool tagsArePChars) {
  if (!tagsArePChars) return tag1.Int == tag2.Int;
  if (!tag1.Str || !tag2.Str) return !tag1.Str && !tag2.Str;
  return *tag1.Str == *tag2.Str;
}

void DV_ReplaceTabsA(std::string& s, int spacesCount) {
  if (s.find('\t') == std::string::npos) return;
  const std::string spaces(static_cast<size_t>(std::max(spacesCount, 0)), ' ');
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\t')
      out += spaces;
    else
      out += c;
  }
  s = std::move(out);
}

void DV_ReplaceTabsW(std::string& s, int spacesCount) {
  // Only whole code units count; a stray odd byte at the end is kept as it is.
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  for (; i + 1 < s.size(); i += 2) {
    if (s[i] == '\t' && s[i + 1] == '\0') {
      for (int k = 0; k < spacesCount; ++k) out.append(" \0", 2);
    } else {
      out += s[i];
      out += s[i + 1];
    }
  }
  out.append(s, i, std::string::npos);
  s = std::move(out);
}

std::string DV_GetHTMLRGBStr(TColor color) {
  if (color == clNone) return {};
  const TColor rgb = ColorToRGB(color);
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "#";
  for (uint8_t b : {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)}) {
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
  }
  return out;
}

std::string DV_GetHTMLPath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

bool DV_PointInRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width, int32_t height) {
  // 64-bit sums: a rectangle at the edge of the coordinate range must not wrap.
  return left <= x && int64_t{x} < int64_t{left} + width && top <= y && int64_t{y} < int64_t{top} + height;
}

int DV_CharPos(const char* str, char chr, int length) {
  if (str == nullptr) return 0;
  for (int i = 0; i < length && str[i] != '\0'; ++i)
    if (str[i] == chr) return i + 1;
  return 0;
}

std::unique_ptr<TGraphic> DV_CreateGraphicsDefault(const std::string& className) {
  return CreateGraphic(className);
}

void DV_AfterImportGraphicDefault(TGraphic&) {}

TDV_CreateGraphicsFunction DV_CreateGraphics = DV_CreateGraphicsDefault;
TDV_AfterImportGraphicsProc DV_AfterImportGraphic = DV_AfterImportGraphicDefault;

void DV_PictureToDevice(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                        const TDVScreenAndDevice& sad, const TGraphic& graphic, bool direct) {
  if (width < 0 || height < 0) {
    width = graphic.Width();
    height = graphic.Height();
  }
  // A record without screen resolution leaves the size unscaled rather than
  // dividing by zero.
  if (sad.ppixScreen != 0) width = MulDiv(width, sad.ppixDevice, sad.ppixScreen);
  if (sad.ppiyScreen != 0) height = MulDiv(height, sad.ppiyDevice, sad.ppiyScreen);
  // The indirect path copies pixels, so only bitmaps take it.
  if (!direct && graphic.ClassName() != "TBitmap") return;
  canvas.StretchDraw(Bounds(x, y, width, height), graphic);
}

int32_t DV_CompareInts(int32_t newValue, int32_t oldValue, int32_t weight) {
  // In double throughout: the difference of two int32 values, and its
  // product with the weight, may not fit in 32 bits.
  const double n = newValue, o = oldValue, w = weight;
  const double score = newValue == 0 ? (1.0 - std::fabs(o)) * w : (1.0 - std::fabs(n - o) / std::fabs(n)) * w;
  const double rounded = std::nearbyint(score);
  if (rounded >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (rounded <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(rounded);
}

int32_t DV_CompareColors(TColor color1, TColor color2, int32_t oneRGBWeight, int32_t rgbWeight) {
  const bool none1 = color1 == clNone, none2 = color2 == clNone;
  if (none1 && none2) return ClampToInt32(3 * int64_t{oneRGBWeight} + rgbWeight);
  if (none1 || none2) return 0;
  const TColor c1 = ColorToRGB(color1), c2 = ColorToRGB(color2);
  const uint8_t a[3] = {GetRValue(c1), GetGValue(c1), GetBValue(c1)};
  const uint8_t b[3] = {GetRValue(c2), GetGValue(c2), GetBValue(c2)};
  int64_t score = 0;
  bool bright1 = false, bright2 = false;
  for (int i = 0; i < 3; ++i) {
    // int64 division truncates toward zero, as the platform's div does.
    score -= std::abs(a[i] - b[i]) * int64_t{oneRGBWeight} / 255;
    bright1 = bright1 || a[i] > 64;
    bright2 = bright2 || b[i] > 64;
  }
  if (bright1 == bright2) score += rgbWeight;
  return ClampToInt32(score);
}

TDVESearchOptions GetDVESearchOptions(TFindOptions findOptions) {
  TDVESearchOptions result = 0;
  if (findOptions & frMatchCase) result |= dvseoMatchCase;
  if (findOptions & frDown) result |= dvseoDown;
  if (findOptions & frWholeWord) result |= dvseoWholeWord;
  return result;
}

}  // namespace quillet
