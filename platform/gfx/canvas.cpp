#include "platform/gfx/canvas.h"

#include <cmath>

#include "platform/core/arith.h"

namespace quillet {

namespace {

int32_t Ppi(int32_t ppi) { return ppi > 0 ? ppi : 96; }

}  // namespace

int32_t TFont::GetSize() const { return -MulDiv(Height, 72, Ppi(PixelsPerInch)); }

void TFont::SetSize(int32_t points) { Height = -MulDiv(points, Ppi(PixelsPerInch), 72); }

void TFont::AssignLogFont(const TLogFont& lf) {
  Name = lf.lfFaceName;
  Height = lf.lfHeight;
  Width = lf.lfWidth;
  Charset = lf.lfCharSet;
  Style = 0;
  if (lf.lfWeight >= 700) Style |= fsBold;
  if (lf.lfItalic) Style |= fsItalic;
  if (lf.lfUnderline) Style |= fsUnderline;
  if (lf.lfStrikeOut) Style |= fsStrikeOut;
}

bool TCanvas::GetCharacterPlacementW(std::u16string_view, TCharacterPlacement&) { return false; }

TLogFont TFont::GetLogFont() const {
  TLogFont lf;
  lf.lfHeight = Height;
  lf.lfWidth = Width;
  lf.lfWeight = (Style & fsBold) ? 700 : 400;
  lf.lfItalic = (Style & fsItalic) != 0;
  lf.lfUnderline = (Style & fsUnderline) != 0;
  lf.lfStrikeOut = (Style & fsStrikeOut) != 0;
  lf.lfCharSet = Charset;
  lf.lfFaceName = Name;
  return lf;
}

TColor TCanvas::SetBkColor(TColor c) {
  const TColor old = bkColor_;
  bkColor_ = c;
  return old;
}

int32_t TCanvas::SetTextCharacterExtra(int32_t extra) {
  const int32_t old = charExtra_;
  charExtra_ = extra;
  return old;
}

uint32_t TCanvas::SetTextAlign(uint32_t flags) {
  const uint32_t old = textAlign_;
  textAlign_ = flags;
  return old;
}

void TCanvas::SaveState() {
  saved_.push_back(State{font_, pen_, brush_, bkMode_, bkColor_, charExtra_, textAlign_, brushOrigin_, penPos_,
                         hasMapping_, mapping_});
  SaveClip();
}

void TCanvas::RestoreState() {
  if (saved_.empty()) return;
  const State& s = saved_.back();
  font_ = s.font;
  pen_ = s.pen;
  brush_ = s.brush;
  bkMode_ = s.bkMode;
  bkColor_ = s.bkColor;
  charExtra_ = s.charExtra;
  textAlign_ = s.textAlign;
  brushOrigin_ = s.brushOrigin;
  penPos_ = s.penPos;
  const bool mappingChanged = hasMapping_ != s.hasMapping || !(mapping_ == s.mapping);
  hasMapping_ = s.hasMapping;
  mapping_ = s.mapping;
  saved_.pop_back();
  RestoreClip();
  if (mappingChanged) OnMappingChanged();
  OnStateRestored();
}

bool TCanvas::SetMapping(const TRect& window, const TRect& viewport) {
  if (window.Width() == 0 || window.Height() == 0 || viewport.Width() == 0 || viewport.Height() == 0) return false;
  hasMapping_ = true;
  mapping_ = {window, viewport};
  OnMappingChanged();
  return true;
}

void TCanvas::ResetMapping() {
  if (!hasMapping_) return;
  hasMapping_ = false;
  mapping_ = {};
  OnMappingChanged();
}

double TCanvas::FontAspect() const {
  double aspect = static_cast<double>(Ppi(PixelsPerInchX())) / Ppi(PixelsPerInchY());
  if (hasMapping_) {
    // Logical units per inch are the surface's times window over viewport extent.
    const TRect& w = mapping_.Window;
    const TRect& v = mapping_.Viewport;
    aspect *=
        std::abs(static_cast<double>(w.Width()) * v.Height()) / std::abs(static_cast<double>(v.Width()) * w.Height());
  }
  return aspect;
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  DrawLine(penPos_, {x, y});
  penPos_ = {x, y};
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (r.IsEmpty()) return;
  const TPen oldPen = pen_;
  const TPoint oldPos = penPos_;
  pen_.Style = psDot;
  pen_.Width = 1;
  pen_.Mode = pmNot;
  // Each side stops short of the next corner, so no pixel is inverted twice.
  DrawLine({r.Left, r.Top}, {r.Right - 1, r.Top});
  DrawLine({r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1});
  DrawLine({r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1});
  DrawLine({r.Left, r.Bottom - 1}, {r.Left, r.Top});
  pen_ = oldPen;
  penPos_ = oldPos;
}

TPoint TCanvas::PlaceText(int32_t x, int32_t y, int32_t width, const TTextMetric& tm) {
  const bool updateCP = (textAlign_ & TA_UPDATECP) != 0;
  if (updateCP) {
    x = penPos_.X;
    y = penPos_.Y;
  }
  int32_t left = x;
  switch (textAlign_ & TA_CENTER) {
    case TA_CENTER: left = x - width / 2; break;
    case TA_RIGHT: left = x - width; break;
    default: break;
  }
  int32_t top = y;
  switch (textAlign_ & TA_BASELINE) {
    case TA_BASELINE: top = y - tm.tmAscent; break;
    case TA_BOTTOM: top = y - tm.tmHeight; break;
    default: break;
  }
  if (updateCP) {
    switch (textAlign_ & TA_CENTER) {
      case TA_CENTER: break;
      case TA_RIGHT: penPos_.X = left; break;
      default: penPos_.X = left + width; break;
    }
  }
  return {left, top};
}

}  // namespace quillet
