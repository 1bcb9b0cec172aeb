#pragma once
// The value classes of paragraph styles: four-sided integers and flags, the
// paragraph border and the paragraph background rectangle.
#include <cstdint>

#include "engine/base/shared_routines.h"
#include "engine/style/style_types.h"
#include "platform/core/colors.h"
#include "platform/core/geometry.h"

namespace quillet {

class TCanvas;

// Four integers, one per side (offsets and paddings).
class TDVRect {
 public:
  int32_t Left = 0, Right = 0, Top = 0, Bottom = 0;

  void Assign(const TDVRect& source) { *this = source; }
  // Copies the four values into a plain rectangle.
  void AssignToRect(TRect& r) const;
  // Raises each side of r to at least the own value.
  void AssignToRectIfGreater(TRect& r) const;
  // Moves every side of r outwards by the own value.
  void InflateRect(TRect& r) const;
  // The same with the values converted from screen to device pixels.
  void InflateRectSaD(TRect& r, const TDVScreenAndDevice& sad) const;
  bool IsEqual(const TDVRect& value) const { return *this == value; }
  bool IsEqualEx(const TDVRect& value, bool ignoreLeft, bool ignoreTop, bool ignoreRight,
                 bool ignoreBottom) const;
  int32_t SimilarityValue(const TDVRect& value, int32_t weight) const;

  friend bool operator==(const TDVRect&, const TDVRect&) = default;
};

// Four flags, one per side (visible border sides).
class TDVBooleanRect {
 public:
  bool Left, Right, Top, Bottom;

  explicit TDVBooleanRect(bool value = true) : Left(value), Right(value), Top(value), Bottom(value) {}

  void Assign(const TDVBooleanRect& source) { *this = source; }
  void SetAll(bool value) { Left = Right = Top = Bottom = value; }
  void SetValues(bool left, bool top, bool right, bool bottom);
  bool IsEqual(const TDVBooleanRect& value) const { return *this == value; }
  bool IsEqual2(bool left, bool top, bool right, bool bottom) const;
  bool IsAllEqual(bool value) const;
  bool IsEqualEx(const TDVBooleanRect& value, bool ignoreLeft, bool ignoreTop, bool ignoreRight,
                 bool ignoreBottom) const;

  friend bool operator==(const TDVBooleanRect&, const TDVBooleanRect&) = default;
};

enum TDVBorderStyle { dvbNone, dvbSingle, dvbDouble, dvbTriple, dvbThickInside, dvbThickOutside };

// The border around a paragraph: one to three lines per visible side.
class TDVBorder {
 public:
  TColor Color = clWindowText;
  TDVBorderStyle Style = dvbNone;
  int32_t Width = 1;          // pixels of one line
  int32_t InternalWidth = 1;  // gap between lines
  TDVBooleanRect VisibleBorders{true};
  TDVRect BorderOffsets;  // space between the text and the border

  void Assign(const TDVBorder& source) { *this = source; }
  // Draws around r (the text rectangle) grown by the offsets.
  void Draw(const TRect& r, TCanvas& canvas) const;
  // The same for an output device: r and all lengths are screen pixels.
  void DrawSaD(const TRect& r, TCanvas& canvas, const TDVScreenAndDevice& sad) const;
  // Draws the lines of the style around r itself; the innermost line lies on
  // r, each further line onePixel + internalWidth outside the previous one.
  void DoDraw(TRect r, TCanvas& canvas, int32_t onePixel, int32_t internalWidth, int32_t width) const;
  bool IsEqual(const TDVBorder& value) const;
  // Compares what the ignore list leaves (its dvpiBorder_* members).
  bool IsEqual_Para(const TDVBorder& value, TDVParaInfoProperties ignoreList) const;
  int32_t SimilarityValue(const TDVBorder& value) const;
  // Pixels from the innermost to the outermost edge of the lines.
  int32_t GetTotalWidth() const;
};

// The coloured rectangle behind a paragraph.
class TDVBackgroundRect {
 public:
  TColor Color = clNone;  // clNone: no background
  TDVRect BorderOffsets;  // how far the colour reaches beyond the text rectangle

  void Assign(const TDVBackgroundRect& source) { *this = source; }
  void PrepareDraw(TRect& r) const { BorderOffsets.InflateRect(r); }
  void PrepareDrawSaD(TRect& r, const TDVScreenAndDevice& sad) const { BorderOffsets.InflateRectSaD(r, sad); }
  // Fills r including its right and bottom edges (where a border line lies).
  void Draw(const TRect& r, TCanvas& canvas) const;
  bool IsEqual(const TDVBackgroundRect& value) const;
  // Compares what the ignore list leaves (its dvpiBackground_* members).
  bool IsEqual_Para(const TDVBackgroundRect& value, TDVParaInfoProperties ignoreList) const;
  int32_t SimilarityValue(const TDVBackgroundRect& value) const;
};

}  // namespace quillet
