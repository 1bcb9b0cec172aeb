#pragma once
// Free routines shared across the engine: tags, tabs, HTML strings, style
// similarity, resolution records and picture output.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/colors.h"

namespace quillet {

class TCanvas;
class TGraphic;

// Screen and output-device resolutions; printing fills the two margins.
struct TDVScreenAndDevice {
  int32_t ppixScreen = 96, ppiyScreen = 96;
  int32_t ppixDevice = 96, ppiyDevice = 96;
  int32_t LeftMargin = 0, RightMargin = 0;
};
using PDVScreenAndDevice = TDVScreenAndDevice*;

// A tag: an integer, or, when the document's tags are strings, a string or none.
struct TDVTag {
  int32_t Int = 0;
  std::optional<std::string> Str;
};

// Device values from the canvas, screen values the screen's logical 96 ppi.
void DV_InfoAboutSaD(TDVScreenAndDevice& sad, const TCanvas& canvas);
// With string tags a copy of the string; an empty one copies as none, as
// DVF cannot tell the two apart. Otherwise the integer.
TDVTag DV_CopyTag(const TDVTag& tag, bool tagsArePChars);
// String tags: equal when both are none or both hold equal bytes.
bool DV_CompareTags(const TDVTag& tag1, const TDVTag& tag2, bool tagsArePChars);
void DV_ReplaceTabsA(std::string& s, int spacesCount);
// UTF-16 code units held in an 8-bit string.
void DV_ReplaceTabsW(std::string& s, int spacesCount);
std::string DV_GetHTMLRGBStr(TColor color);
std::string DV_GetHTMLPath(const std::string& path);
bool DV_PointInRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width, int32_t height);
// 1-based position of chr among the first `length` characters of a
// zero-terminated string; stops at the terminator; 0 when absent or str is null.
int DV_CharPos(const char* str, char chr, int length);

// Replaceable picture construction by class name ("TBitmap", "TJPEGImage", ...).
using TDV_CreateGraphicsFunction = std::function<std::unique_ptr<TGraphic>(const std::string& className)>;
using TDV_AfterImportGraphicsProc = std::function<void(TGraphic& graphic)>;
extern TDV_CreateGraphicsFunction DV_CreateGraphics;
extern TDV_AfterImportGraphicsProc DV_AfterImportGraphic;
std::unique_ptr<TGraphic> DV_CreateGraphicsDefault(const std::string& className);
void DV_AfterImportGraphicDefault(TGraphic& graphic);

// Draws the graphic at (x, y) scaled from screen to device pixels; a width or
// height below 0 means the graphic's own. Unless direct, only bitmaps are
// drawn (palettes are ignored on this platform).
void DV_PictureToDevice(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                        const TDVScreenAndDevice& sad, const TGraphic& graphic, bool direct);

// Similarity of two integers (style matching): weight for equal values, less
// (down to negative) the further apart. Computed in double, rounded to
// nearest with ties to even, clamped to the int32 range.
int32_t DV_CompareInts(int32_t newValue, int32_t oldValue, int32_t weight);
// Similarity of two colours: per byte |c1 - c2| * oneRGBWeight div 255 taken
// off, rgbWeight added when both or neither have a byte above 64.
// System colours compare as their real colours.
int32_t DV_CompareColors(TColor color1, TColor color2, int32_t oneRGBWeight, int32_t rgbWeight);

// Find-dialog options to the editor's search options.
enum TFindOption : uint32_t { frDown = 1, frWholeWord = 2, frMatchCase = 4 };
using TFindOptions = uint32_t;
enum TDVESearchOption : uint32_t { dvseoMatchCase = 1, dvseoDown = 2, dvseoWholeWord = 4 };
using TDVESearchOptions = uint32_t;
TDVESearchOptions GetDVESearchOptions(TFindOptions findOptions);

}  // namespace quillet
