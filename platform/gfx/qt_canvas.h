#pragma once
// The canvas over Qt: a QPainter on an image, a widget or a printer.
//
// Fonts. The family is TFont::Name, which the project's fontconfig file maps
// onto installed fonts. A negative Height is the character (em) height in
// pixels, which is Qt's pixel size; a positive Height is the cell height
// (ascent + descent), turned into the em size by the face's own ratio of the
// two. Width (the logical font's average character width) stretches the face
// horizontally so that its average width becomes Width. 8-bit text is in the
// code page of the font's Charset. Text is laid out without kerning or
// ligatures, each character advancing by its own width as on the platform;
// extents and positions are those advances summed and rounded, plus the
// character extra after every character.
//
// Fonts whose Width is 0 are widened by FontAspect, so that text keeps its
// shape on a device whose two resolutions differ and under a mapping.
//
// Lines are drawn without anti-aliasing and leave out their end point, except
// the anti-aliased strokes of LinesF (round caps, fractional widths).
// Pen modes map to Qt's raster operations, which work on images and on
// widgets; printers draw every mode as copy.
#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/canvas.h"

class QFont;
class QPaintDevice;
class QPainter;

namespace quillet {

struct TTextChars;

class TQtCanvas final : public TCanvas {
 public:
  // Draws on the device. A painter begins at the first drawing and ends at
  // EndPaint or with the canvas.
  explicit TQtCanvas(QPaintDevice& device);
  // Draws through a painter that the caller keeps active while the canvas
  // lives (a widget's paint event, a printer's pages). The painter's own clip
  // stays under every clip the canvas sets.
  explicit TQtCanvas(QPainter& painter);
  ~TQtCanvas() override;
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;

  // Ends the canvas's own painter so that the device can be read or replaced;
  // the next drawing begins a new one with the same state.
  void EndPaint();
  // Called before the canvas's own painter begins.
  void SetBeforeBegin(std::function<void()> hook);
  // While disabled the canvas measures but begins no painter and draws
  // nothing: a printer's canvas outside a print job.
  void SetDrawingEnabled(bool enabled);
  QPainter& Painter();

  // The Qt font for the current TFont, and the family it resolves to (UTF-8).
  QFont CurrentQFont();
  std::string ResolvedFamily();

  int32_t PixelsPerInchX() const override;
  int32_t PixelsPerInchY() const override;

  void Rectangle(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void DrawFocusRect(const TRect& r) override;
  void LinesF(const TLineF* lines, size_t count, double width, TColor color, double dx, double dy) override;
  bool FitLayer(std::unique_ptr<TCanvasLayer>& layer) override;
  void DrawLayer(TCanvasLayer& layer) override;

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
  bool HasClip() const override;
  TRect ClipRect() const override;

  void Draw(int32_t x, int32_t y, const TGraphic& graphic) override;
  void StretchDraw(const TRect& r, const TGraphic& graphic) override;

 protected:
  void DrawLine(TPoint from, TPoint to) override;
  void OnMappingChanged() override;
  void SaveClip() override;
  void RestoreClip() override;

 private:
  bool ThinLines(const std::vector<TPoint>& points, bool closed);
  void DrawChars(int32_t x, int32_t y, const TTextChars& chars, size_t srcLength, const std::vector<int32_t>* advances);

  struct Impl;
  class Unmapped;
  std::unique_ptr<Impl> d_;
};

}  // namespace quillet
