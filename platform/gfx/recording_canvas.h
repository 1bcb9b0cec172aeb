#pragma once
// A canvas with fixed metrics that draws nothing and keeps a log of what was
// drawn, so that layout, painting and hit-testing are tested to the pixel
// without fonts or a display.
//
// Metrics, with h = |Font.Height| (at least 1; character and cell height are
// the same here, there is no internal leading):
// - A character is half-width or full-width. 8-bit text is stepped in the code
//   page of Font.Charset: a double-byte character is full-width, every other
//   character (a single byte, or a lead byte with no trail byte) half-width.
//   UTF-16 text: a surrogate pair is one full-width character; a code unit
//   from U+2E80 up is full-width, except unpaired surrogates, private use
//   (U+E000..U+F8FF) and the half-width forms (U+FF61..U+FFDC); everything
//   below U+2E80 is half-width.
// - Half-width characters are max(1, w / 2) pixels wide, full-width ones
//   max(1, w), where w is h times FontAspect rounded (h itself on a square
//   surface without a mapping). When Font.Width is not 0 they are |Width| and
//   2 × |Width| instead.
//   Bold, italic and the face name change nothing.
// - The character extra is added after every character.
// - tmHeight = h, tmAscent = h * 4 / 5, tmDescent = h - tmAscent, both
//   leadings 0, tmAveCharWidth = the half width, tmMaxCharWidth = the full width;
//   underline position -max(1, h / 10) (below the baseline) and thickness
//   max(1, h / 20); strike-out position h / 3 with the same thickness.
//   (Divisions round down.)
// - Pixels per inch: 96 unless set, horizontally and vertically; the font's
//   PixelsPerInch follows the vertical one.
// - A mapping changes no coordinate in the log (all stay logical); setting or
//   resetting it is recorded.
// - Without a clip, ClipRect is the surface, (0, 0, 100000, 100000) unless set.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"

namespace quillet {

struct TTextChars;

enum class TCanvasOp : uint8_t {
  Line,               // Points: from, to (LineTo; the end point is not painted)
  Rectangle,          // Rect
  FillRect,           // Rect
  Ellipse,            // Rect
  Polygon,            // Points
  Polyline,           // Points
  FocusRect,          // Rect
  Text,               // 8-bit text: Points[0] the reference point, Rect the cell drawn
  TextW,              // UTF-16 text, likewise
  TextWithAdvances,   // 8-bit text with Advances as given, likewise
  TextWithAdvancesW,  // UTF-16 text with Advances as given, likewise
  Draw,               // Points[0], the graphic's class and size; Rect where it lands
  StretchDraw,        // Rect, the graphic's class and size
  Clip,               // IntersectClipRect: Rect as given (Clip holds the result)
  ResetClip,
  Mapping,            // SetMapping (or a restored state): Rect the window, Points[0..1] the viewport's corners
  ResetMapping,
  LineF,              // LinesF, one record per segment: Floats x1, y1, x2, y2 (moved), width; Pen.Color the colour
};

struct TCanvasRecord {
  TCanvasOp Kind = TCanvasOp::Line;
  std::vector<TPoint> Points;
  TRect Rect;
  std::string Text;  // UTF-8, for reading
  std::string Raw;   // as given: 8-bit bytes, or UTF-16LE bytes for UTF-16 text
  std::vector<int32_t> Advances;
  std::vector<double> Floats;
  std::string GraphicClass;
  TSize GraphicSize;
  // The drawing state at the call.
  TPen Pen;
  TBrush Brush;
  TFont Font;
  int32_t CharExtra = 0;
  uint32_t TextAlign = 0;
  TBkMode BkMode = bkOpaque;
  TColor BkColor = clNone;
  bool HasClip = false;
  TRect Clip;

  // Compact forms for assertions: `Line 0,0-5,0`, `Rectangle 1,2,10,20`,
  // `Polygon 0,0 8,8 0,8`, `Text 10,20 "abc"`, `TextWithAdvances 10,20 "ab" [5,6]`,
  // `Draw 3,4 TBitmap 16x16`, `StretchDraw 0,0,32,32 TBitmap 16x16`, `Clip 0,0,50,50`, `ResetClip`,
  // `Mapping 0,0,600,800 -> 10,10,70,90`, `ResetMapping`, `LineF 1.5,2-3,4 w2.25 $0000FF`.
  std::string ToString() const;
  // The state: `pen=$0000FF/1/solid/copy brush=$FFFFFF/solid font="Arial"/-13/BIUS/$000000/cs1/w0
  // extra=0 align=0 bk=opaque/$1FFFFFFF` (colours as TColor values in hexadecimal).
  std::string StateString() const;
};

const char* CanvasOpName(TCanvasOp op);

class TRecordingCanvas : public TCanvas {
 public:
  explicit TRecordingCanvas(int32_t pixelsPerInch = 96);

  void SetPixelsPerInch(int32_t ppi) { SetPixelsPerInch(ppi, ppi); }
  void SetPixelsPerInch(int32_t ppiX, int32_t ppiY);
  void SetSurface(const TRect& r) { surface_ = r; }

  const std::vector<TCanvasRecord>& Log() const { return log_; }
  std::vector<TCanvasRecord> OfKind(TCanvasOp kind) const;
  // ToString of every record, or of those of one kind.
  std::vector<std::string> Strings() const;
  std::vector<std::string> Strings(TCanvasOp kind) const;
  void ClearLog() { log_.clear(); }

  // The fixed widths of the current font.
  int32_t HalfWidth() const;
  int32_t FullWidth() const;

  int32_t PixelsPerInchX() const override { return ppiX_; }
  int32_t PixelsPerInchY() const override { return ppiY_; }

  void Rectangle(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void DrawFocusRect(const TRect& r) override;
  void LinesF(const TLineF* lines, size_t count, double width, TColor color, double dx, double dy) override;

  void TextOutA(int32_t x, int32_t y, std::string_view text) override;
  void TextOutW(int32_t x, int32_t y, std::u16string_view text) override;
  void TextOutWithAdvancesA(int32_t x, int32_t y, std::string_view text, const std::vector<int32_t>& advances) override;
  void TextOutWithAdvancesW(int32_t x, int32_t y, std::u16string_view text,
                            const std::vector<int32_t>& advances) override;
  TSize TextExtentA(std::string_view text) override;
  TSize TextExtentW(std::u16string_view text) override;
  std::vector<int32_t> TextExtentExA(std::string_view text) override;
  std::vector<int32_t> TextExtentExW(std::u16string_view text) override;
  TTextMetric GetTextMetrics() override;
  void CharAdvancesA(std::string_view text, std::vector<int32_t>& advances) override;
  void CharAdvancesW(std::u16string_view text, std::vector<int32_t>& advances) override;

  void IntersectClipRect(const TRect& r) override;
  void ResetClip() override;
  bool HasClip() const override { return hasClip_; }
  TRect ClipRect() const override { return hasClip_ ? clip_ : surface_; }

  void Draw(int32_t x, int32_t y, const TGraphic& graphic) override;
  void StretchDraw(const TRect& r, const TGraphic& graphic) override;

 protected:
  void DrawLine(TPoint from, TPoint to) override;
  void OnMappingChanged() override;
  void SaveClip() override { clipStack_.push_back({hasClip_, clip_}); }
  void RestoreClip() override;

 private:
  TCanvasRecord& Add(TCanvasOp kind);
  int32_t AspectHeight() const;
  std::vector<int32_t> CharEnds(const TTextChars& chars, bool utf16) const;
  void AddText(TCanvasOp kind, int32_t x, int32_t y, const TTextChars& chars, bool utf16, std::string raw,
               const std::vector<int32_t>* advances);

  int32_t ppiX_, ppiY_;
  TRect surface_{0, 0, 100000, 100000};
  bool hasClip_ = false;
  TRect clip_;
  std::vector<std::pair<bool, TRect>> clipStack_;
  std::vector<TCanvasRecord> log_;
};

}  // namespace quillet
