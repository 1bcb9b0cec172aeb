#pragma once
// The drawing surface the engine paints and measures through. Two
// implementations: over Qt (TQtCanvas, qt_canvas.h) for screen, images and
// printers, and with fixed metrics that records what is drawn
// (TRecordingCanvas, recording_canvas.h) for tests.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/colors.h"
#include "platform/core/geometry.h"

namespace quillet {

class TGraphic;

// Font styles as a bit set.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// A logical font record: what CreateFontIndirect takes on the platform.
struct TLogFont {
  int32_t lfHeight = 0;  // < 0: character height in pixels; > 0: cell height
  int32_t lfWidth = 0;   // average character width; 0 = the face's own
  int32_t lfWeight = 400;
  bool lfItalic = false, lfUnderline = false, lfStrikeOut = false;
  uint8_t lfCharSet = 1;
  std::string lfFaceName;
};

class TFont {
 public:
  // UTF-8, or bytes in the system code page as names read from documents come;
  // text that is not well-formed UTF-8 is taken as the latter.
  std::string Name = "MS Sans Serif";
  int32_t Height = -11;  // pixels; negative = character height without internal leading
  TFontStyles Style = 0;
  TColor Color = clWindowText;
  uint8_t Charset = 1;  // DEFAULT_CHARSET
  int32_t Width = 0;    // average character width from a logical font; 0 = natural
  int32_t PixelsPerInch = 96;

  // Points, derived from Height at PixelsPerInch, as the platform does:
  // Height = -MulDiv(size, ppi, 72), size = -MulDiv(Height, 72, ppi).
  // A PixelsPerInch of 0 or less counts as 96.
  int32_t GetSize() const;
  void SetSize(int32_t points);
  // Name, height, width, styles (bold from weight 700 up) and charset; the
  // colour and the resolution stay.
  void AssignLogFont(const TLogFont& lf);
  TLogFont GetLogFont() const;
  friend bool operator==(const TFont&, const TFont&) = default;
};

// Widths of 0 and 1 draw one-pixel lines; wider pens are always solid
// (dashes need one-pixel pens, as on the platform).
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : uint8_t { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                          pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

struct TPen {
  TColor Color = clBlack;
  int32_t Width = 1;
  TPenStyle Style = psSolid;
  TPenMode Mode = pmCopy;
  friend bool operator==(const TPen&, const TPen&) = default;
};

enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
                             bsDiagCross };

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

// The background mode, with the background colour (SetBkColor), fills the gaps
// of hatched brushes and of dashed pens; a background colour of clNone (the
// start) leaves them clear. Text is opaque, as on the class library's canvas,
// when the brush is solid: its cell is filled with the brush colour, unless the
// background mode is transparent.
enum TBkMode : uint8_t { bkTransparent = 1, bkOpaque = 2 };

// Text alignment flags (SetTextAlign). Horizontal: the reference point is the
// left end, the right end or the middle of the text. Vertical: it is the top of
// the cell, the baseline or the bottom of the cell. TA_UPDATECP takes the pen
// position as the reference point and moves it past the text (left: to the
// right end; right: to the left end; centre: not at all).
enum : uint32_t {
  TA_LEFT = 0, TA_TOP = 0, TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6,
  TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256
};

struct TTextMetric {
  int32_t tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0, tmMaxCharWidth = 0;
  // From the outline metrics: distance of the underline / strike-out above the
  // baseline (negative below) and their thickness.
  int32_t otmsUnderscorePosition = 0, otmsUnderscoreSize = 1;
  int32_t otmsStrikeoutPosition = 0, otmsStrikeoutSize = 1;
};

// A window/viewport mapping (the anisotropic mapping mode): logical
// coordinates in Window land in Viewport on the surface, each axis at its own
// scale. A reversed rectangle mirrors that axis.
struct TMapping {
  TRect Window;
  TRect Viewport;
  friend bool operator==(const TMapping&, const TMapping&) = default;
};

// A segment of an anti-aliased stroke, in logical units.
struct TLineF {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  friend bool operator==(const TLineF&, const TLineF&) = default;
};

class TCanvasLayer;

struct TSize {
  int32_t cx = 0, cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Character classes of a placement: GCPCLASS_LATIN left to right, the
// right-to-left scripts GCPCLASS_HEBREW (= GCPCLASS_ARABIC).
enum : uint8_t { GCPCLASS_LATIN = 1, GCPCLASS_HEBREW = 2, GCPCLASS_ARABIC = 2 };

// Where the characters of a text of mixed directions land, one entry per
// code unit in logical order: its visual position (a permutation of 0..n-1),
// its advance and its class.
struct TCharacterPlacement {
  std::vector<int32_t> Order;
  std::vector<int32_t> Dx;
  std::vector<uint8_t> Class;
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // The drawing state. Changes take effect at the next drawing call.
  TFont& Font() { return font_; }
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  const TFont& Font() const { return font_; }
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }

  TBkMode GetBkMode() const { return bkMode_; }
  void SetBkMode(TBkMode m) { bkMode_ = m; }
  TColor GetBkColor() const { return bkColor_; }
  TColor SetBkColor(TColor c);  // answers the previous value
  // Text colour of 8-bit and UTF-16 output is the font's colour.
  int32_t GetTextCharacterExtra() const { return charExtra_; }
  int32_t SetTextCharacterExtra(int32_t extra);  // answers the previous value
  uint32_t GetTextAlign() const { return textAlign_; }
  uint32_t SetTextAlign(uint32_t flags);  // answers the previous value
  TPoint GetBrushOrigin() const { return brushOrigin_; }
  void SetBrushOrigin(TPoint p) { brushOrigin_ = p; }
  TPoint PenPos() const { return penPos_; }

  // Save and restore the whole drawing state including the clip region. The
  // saves nest; a restore without a save does nothing.
  void SaveState();
  void RestoreState();

  // Logical pixels per inch of the surface (96 on screen, the printer's otherwise).
  virtual int32_t PixelsPerInchX() const = 0;
  virtual int32_t PixelsPerInchY() const = 0;

  // With a mapping, everything the canvas takes and answers is in logical
  // units: coordinates, clip rectangles, pen widths above 1, font heights and
  // text extents; one-pixel pens stay one surface pixel wide. A print preview
  // draws a page laid out in printer pixels onto the screen this way. A
  // rectangle without width or height is refused (false, nothing changes).
  // The mapping is part of the saved state.
  bool SetMapping(const TRect& window, const TRect& viewport);
  void ResetMapping();
  bool HasMapping() const { return hasMapping_; }
  const TMapping& Mapping() const { return mapping_; }
  // How much wider than high a logical unit is in inches: the horizontal
  // logical units per inch over the vertical ones. Font heights count in
  // vertical units, so characters are widened by this to keep their shape
  // on a surface whose two resolutions differ, or under a mapping that scales
  // the two axes differently. 1 on a square surface without a mapping.
  double FontAspect() const;

  // Lines leave out their end point, as on the platform.
  void MoveTo(int32_t x, int32_t y) { penPos_ = {x, y}; }
  void LineTo(int32_t x, int32_t y);
  // Outline with the pen, inside with the brush; right and bottom exclusive.
  // Without a pen (psClear) the fill stops one pixel short of the right and
  // bottom, as on the platform. Pen modes apply to the outline and the fill.
  virtual void Rectangle(const TRect& r) = 0;
  // Fills with the brush only, no outline, whatever the pen mode.
  virtual void FillRect(const TRect& r) = 0;
  virtual void Ellipse(const TRect& r) = 0;
  // Closed and filled (alternate rule).
  virtual void Polygon(const std::vector<TPoint>& points) = 0;
  // Leaves out the last point only.
  virtual void Polyline(const std::vector<TPoint>& points) = 0;
  // Inverts a dotted frame along the rectangle's edges; drawn twice it is gone.
  virtual void DrawFocusRect(const TRect& r);
  // Pen strokes of handwriting: anti-aliased segments of a fractional width
  // (0 is one surface pixel) in one colour, with round caps and end points
  // included, each moved by (dx, dy). The canvas's pen is not used.
  virtual void LinesF(const TLineF* lines, size_t count, double width, TColor color, double dx, double dy) = 0;

  // A transparent surface the size of this canvas's device, drawn into once
  // and shown many times (DrawLayer, at the device's origin). FitLayer keeps
  // `layer` when it fits the device (false) or replaces it with a clear one
  // (true); a canvas without layers leaves it null (false), and the caller
  // draws directly.
  virtual bool FitLayer(std::unique_ptr<TCanvasLayer>& layer) {
    layer.reset();
    return false;
  }
  virtual void DrawLayer(TCanvasLayer& /*layer*/) {}

  // 8-bit text is in the code page of the font's character set. The text's
  // cell is its extent by tmHeight; pen modes do not apply to text.
  virtual void TextOutA(int32_t x, int32_t y, std::string_view text) = 0;
  virtual void TextOutW(int32_t x, int32_t y, std::u16string_view text) = 0;
  // Text drawn with explicit advances instead of the font's: one per character,
  // or one per byte (8-bit) / code unit (UTF-16), a character then advancing by
  // the sum of its entries. Missing entries take the font's advance.
  virtual void TextOutWithAdvancesA(int32_t x, int32_t y, std::string_view text,
                                    const std::vector<int32_t>& advances) = 0;
  virtual void TextOutWithAdvancesW(int32_t x, int32_t y, std::u16string_view text,
                                    const std::vector<int32_t>& advances) = 0;

  // Extents include the character extra after every character.
  virtual TSize TextExtentA(std::string_view text) = 0;
  virtual TSize TextExtentW(std::u16string_view text) = 0;
  // The x position after each character, one entry per byte for 8-bit text
  // (a double-byte character's two bytes share its end), one per code unit for UTF-16.
  virtual std::vector<int32_t> TextExtentExA(std::string_view text) = 0;
  virtual std::vector<int32_t> TextExtentExW(std::u16string_view text) = 0;
  virtual TTextMetric GetTextMetrics() = 0;
  // Measuring many pieces of one text without asking the font engine for
  // each: the advance of every character in the current font, in 1/64 pixel
  // and without the character extra, one entry per byte (8-bit) or code unit
  // (UTF-16): the character's advance on its first unit and -1 on the units
  // that continue it. Both canvases measure a text as these advances summed,
  // rounded to whole pixels (halves up), plus the character extra after every
  // character, so the extent of any piece follows from the sums. `advances`
  // is resized to the text and keeps its capacity between calls.
  virtual void CharAdvancesA(std::string_view text, std::vector<int32_t>& advances) = 0;
  virtual void CharAdvancesW(std::u16string_view text, std::vector<int32_t>& advances) = 0;
  // The visual order of UTF-16 text as the canvas draws it. A canvas that
  // draws every text left to right in its logical order answers false (both
  // canvases here do), and callers then measure in logical order.
  virtual bool GetCharacterPlacementW(std::u16string_view text, TCharacterPlacement& placement);

  // Clipping: the visible area is the intersection of the clip rectangles set.
  // Without a clip, ClipRect is the whole surface.
  virtual void IntersectClipRect(const TRect& r) = 0;
  virtual void ResetClip() = 0;
  virtual bool HasClip() const = 0;
  virtual TRect ClipRect() const = 0;

  // Pictures: Draw at their own size, StretchDraw into the rectangle.
  virtual void Draw(int32_t x, int32_t y, const TGraphic& graphic) = 0;
  virtual void StretchDraw(const TRect& r, const TGraphic& graphic) = 0;

 protected:
  virtual void DrawLine(TPoint from, TPoint to) = 0;  // end point excluded
  virtual void OnStateRestored() {}
  virtual void OnMappingChanged() {}
  void SetPenPos(TPoint p) { penPos_ = p; }
  // The top-left corner of the cell of a text `width` pixels wide drawn at
  // (x, y) under the text alignment; with TA_UPDATECP the reference point is
  // the pen position, which moves past the text.
  TPoint PlaceText(int32_t x, int32_t y, int32_t width, const TTextMetric& tm);

 private:
  struct State {
    TFont font;
    TPen pen;
    TBrush brush;
    TBkMode bkMode;
    TColor bkColor;
    int32_t charExtra;
    uint32_t textAlign;
    TPoint brushOrigin, penPos;
    bool hasMapping;
    TMapping mapping;
  };
  TFont font_;
  TPen pen_;
  TBrush brush_;
  TBkMode bkMode_ = bkOpaque;
  TColor bkColor_ = clNone;
  int32_t charExtra_ = 0;
  uint32_t textAlign_ = TA_LEFT | TA_TOP;
  TPoint brushOrigin_, penPos_;
  bool hasMapping_ = false;
  TMapping mapping_;
  std::vector<State> saved_;

 protected:
  virtual void SaveClip() = 0;
  virtual void RestoreClip() = 0;
};

// The surface of CreateLayer: drawn through its own canvas, cleared to
// transparent by Clear.
class TCanvasLayer {
 public:
  virtual ~TCanvasLayer() = default;
  virtual TCanvas& Canvas() = 0;
  virtual void Clear() = 0;
};

}  // namespace quillet
