#include "engine/print/print_preview.h"

#include <algorithm>

#include "engine/print/print_component.h"
#include "platform/core/arith.h"

namespace quillet {

namespace {

// The scroll bars' thickness, which the whole page leaves room for.
constexpr int32_t kScrollBarSize = 16;

}  // namespace

TCustomDVPrintPreview::TCustomDVPrintPreview() {
  SetBorderStyle(bsSingle);
  SetBounds(0, 0, 100, 100);
  SetVSmallStep(1);
  SetZoomPercent(100);
}

void TCustomDVPrintPreview::SetPageNo(int value) {
  pageNo_ = value;
  Invalidate();
}

void TCustomDVPrintPreview::SetZoomMode(TDVZoomMode value) {
  zoomMode_ = value;
  UpdateView();
}

void TCustomDVPrintPreview::SetZoom(int percent) {
  zoomMode_ = dvzmCustom;
  SetZoomPercent(percent);
}

void TCustomDVPrintPreview::SetZoomPercent(int percent) {
  // A tiny window asks for nothing or less; the page stays at least a dot.
  percent = std::max(percent, 1);
  const bool changed = percent != zoomPercent_;
  if (percent == 100 && zoomPercent_ != 100) savedZoomPercent_ = zoomPercent_;
  zoomPercent_ = percent;
  if (CanDrawContents()) {
    pageWidth_ = MulDiv(GetPreview100PercentWidth(), percent, 100);
    pageHeight_ = MulDiv(GetPreview100PercentHeight(), percent, 100);
    switch (zoomMode_) {
      case dvzmFullPage:
        UpdateScrollBars(10, 10, false, true);
        break;
      case dvzmPageWidth:
        UpdateScrollBars(10, pageHeight_ + kPageSpace, false, true);
        break;
      case dvzmCustom:
        UpdateScrollBars(pageWidth_ + kPageSpace, pageHeight_ + kPageSpace, false, true);
        break;
    }
  }
  const int reference = zoomPercent_ == 100 ? savedZoomPercent_ : 100;
  SetCursor(reference > zoomPercent_ ? ZoomInCursor : ZoomOutCursor);
  Invalidate();
  if (changed && OnZoomChanged) OnZoomChanged(*this);
}

void TCustomDVPrintPreview::UpdateView() {
  if (!CanDrawContents()) return;
  const int32_t w100 = GetPreview100PercentWidth(), h100 = GetPreview100PercentHeight();
  if (w100 <= 0 || h100 <= 0) return;
  switch (zoomMode_) {
    case dvzmFullPage: {
      const int32_t zx = MulDiv(Width() - kScrollBarSize - kPageSpace, 100, w100);
      const int32_t zy = MulDiv(Height() - kScrollBarSize - kPageSpace, 100, h100);
      SetZoomPercent(std::min(zx, zy));
      break;
    }
    case dvzmPageWidth:
      SetZoomPercent(MulDiv(ClientWidth() - kPageSpace, 100, w100));
      break;
    case dvzmCustom:
      SetZoomPercent(zoomPercent_);
      break;
  }
}

void TCustomDVPrintPreview::Click() {
  if (OnClick) OnClick(*this);
  SetZoom(zoomPercent_ == 100 ? savedZoomPercent_ : 100);
}

void TCustomDVPrintPreview::First() { SetPageNo(1); }

void TCustomDVPrintPreview::Last() {
  if (CanDrawContents()) SetPageNo(std::max(GetPageCount(), 1));
}

void TCustomDVPrintPreview::Next() {
  if (pageNo_ < GetPageCount()) SetPageNo(pageNo_ + 1);
}

void TCustomDVPrintPreview::Prev() {
  if (pageNo_ > 1) SetPageNo(pageNo_ - 1);
}

void TCustomDVPrintPreview::DrawMargins(TCanvas& canvas, const TRect&, int) {
  canvas.Pen() = MarginsPen;
  canvas.Brush().Style = bsClear;
}

void TCustomDVPrintPreview::PaintTo(TCanvas& canvas) {
  canvas.SaveState();
  const TRect client = ClientRect();
  canvas.Brush() = TBrush{BACKCOLOR, bsSolid};
  canvas.FillRect(client);
  if (CanDrawContents()) {
    const int32_t w = std::max(client.Width(), XSize());
    const int32_t h = std::max(client.Height(), YSize() * VSmallStep());
    TRect page = Bounds((w - pageWidth_) / 2, (h - pageHeight_) / 2, pageWidth_, pageHeight_);
    TRect shadow = page;
    OffsetRect(shadow, SHADOWWIDTH - HPos(), SHADOWWIDTH - VPos() * VSmallStep());
    canvas.Brush() = TBrush{SHADOWCOLOR, bsSolid};
    canvas.FillRect(shadow);
    OffsetRect(page, -HPos(), -VPos() * VSmallStep());
    canvas.SaveState();
    canvas.IntersectClipRect(page);
    DrawContents(canvas, page);
    canvas.RestoreState();
    canvas.Pen() = TPen{PAGEBORDERCOLOR, PAGEBORDERWIDTH, psSolid, pmCopy};
    canvas.Brush().Style = bsClear;
    canvas.Rectangle(page);
    if (MarginsPen.Style != psClear) DrawMargins(canvas, page, pageNo_);
  }
  canvas.RestoreState();
}

void TCustomDVPrintPreview::Paint(TCanvas& canvas) { PaintTo(canvas); }

void TCustomDVPrintPreview::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  SetFocus();
  pressed_ = button == mbLeft;
  TDVScroller::MouseDown(button, shift, x, y);
}

void TCustomDVPrintPreview::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  const bool click = pressed_ && button == mbLeft && PtInRect(ClientRect(), TPoint{x, y});
  pressed_ = false;
  TDVScroller::MouseUp(button, shift, x, y);
  if (click) Click();
}

void TCustomDVPrintPreview::Resize() {
  TDVScroller::Resize();
  UpdateView();
}

// ---- over a print component ----

TDVPrintPreview::~TDVPrintPreview() {
  if (dvPrint_) dvPrint_->RemovePreview(this);
}

void TDVPrintPreview::SetDVPrint(TCustomDVPrint* value) {
  if (value == dvPrint_) return;
  if (dvPrint_) dvPrint_->RemovePreview(this);
  dvPrint_ = value;
  if (dvPrint_) dvPrint_->AddPreview(this);
  UpdateView();
  Invalidate();
}

void TDVPrintPreview::SetPageNo(int value) {
  if (dvPrint_) SetDoInPaletteMode(dvPrint_->DocView().DoInPaletteMode);
  TCustomDVPrintPreview::SetPageNo(value);
}

bool TDVPrintPreview::CanDrawContents() const { return dvPrint_ && dvPrint_->Ready; }

void TDVPrintPreview::DrawContents(TCanvas& canvas, const TRect& pageRect) {
  // A document without pages shows an empty page.
  if (PageNo() >= 1 && PageNo() <= dvPrint_->PagesCount())
    dvPrint_->DrawPreview(PageNo(), canvas, pageRect);
  else {
    canvas.Brush() = TBrush{clWhite, bsSolid};
    canvas.FillRect(pageRect);
  }
}

int32_t TDVPrintPreview::GetPreview100PercentWidth() const { return dvPrint_->Preview100PercentWidth(); }
int32_t TDVPrintPreview::GetPreview100PercentHeight() const { return dvPrint_->Preview100PercentHeight(); }

int TDVPrintPreview::GetPageCount() const { return dvPrint_ ? dvPrint_->PagesCount() : 0; }

void TDVPrintPreview::DrawMargins(TCanvas& canvas, const TRect& pageRect, int pageNo) {
  TCustomDVPrintPreview::DrawMargins(canvas, pageRect, pageNo);
  if (pageNo >= 1 && pageNo <= dvPrint_->PagesCount()) dvPrint_->DrawMarginsRect(canvas, pageRect, pageNo);
}

}  // namespace quillet
