#include "commands/controls/color_combo.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

#include "commands/controls/color_palette.h"
#include "commands/controls/color_popup.h"
#include "commands/controls/edges.h"
#include "commands/resource_strings.h"
#include "platform/core/code_page.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

QStyle* Style() { return QApplication::style(); }

constexpr TKey VK_F4 = VK_F1 + 3;

}  // namespace

TColor AutoCaptionColor(TColor autoColor, TColor chosenColor) {
  if (autoColor == clWindowText) return clWindow;
  if (autoColor == clNone) return clWindowText;
  return GetLuminance(chosenColor) < 151 ? clWindow : clWindowText;
}

TDVColorCombo::TDVColorCombo() : TCustomControl(true) {
  SetTabStop(true);
  SetUseXPThemes(true);
}

TDVColorCombo::~TDVColorCombo() {
  if (popup_) {
    // The popup outlives us for a moment: it must not report back.
    popup_->OnDestroy = nullptr;
    popup_->ClosePopup();
  }
}

void TDVColorCombo::SetAutoColor(TColor value) {
  autoColor_ = value;
  Invalidate();
}

void TDVColorCombo::SetChosenColor(TColor value) {
  chosenColor_ = value;
  indeterminate_ = false;
  Invalidate();
}

void TDVColorCombo::SetIndeterminate(bool value) {
  indeterminate_ = value;
  Invalidate();
}

void TDVColorCombo::SetUseXPThemes(bool value) {
  useXPThemes_ = value;
  // The themed frame is the style's edit frame; the classic one a sunken edge.
  SetFrame(value ? fkThemed : fkSunken);
  Invalidate();
}

TRect TDVColorCombo::ButtonRect() const {
  const int width = Style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return {std::max(ClientWidth() - width, 0), 0, ClientWidth(), ClientHeight()};
}

TRect TDVColorCombo::SwatchRect() const {
  TRect r{0, 0, ButtonRect().Left, ClientHeight()};
  InflateRect(r, -2, -2);
  return r;
}

void TDVColorCombo::Paint(TCanvas& canvas) {
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clWindow;
  canvas.FillRect(ClientRect());
  PaintButton(canvas, ButtonRect());
  const TRect swatch = SwatchRect();
  if (!indeterminate_ && chosenColor_ != clNone) {
    canvas.Brush().Color = chosenColor_;
    canvas.FillRect(swatch);
  }
  if (Focused()) {
    TRect focus = swatch;
    InflateRect(focus, 1, 1);
    canvas.DrawFocusRect(focus);
  }
  if (!indeterminate_ && chosenColor_ == autoColor_) PaintCaption(canvas, swatch);
}

void TDVColorCombo::PaintButton(TCanvas& canvas, const TRect& r) {
  const bool pressed = leftDown_;
  if (useXPThemes_) {
    auto* qt = dynamic_cast<TQtCanvas*>(&canvas);
    if (qt && ClientWidget()) {
      QPainter& painter = qt->Painter();
      painter.save();
      QStyleOptionButton option;
      option.initFrom(ClientWidget());
      option.rect = QRect(r.Left, r.Top, r.Width(), r.Height());
      option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
      if (pressed) option.state |= QStyle::State_Sunken;
      else if (hot_ && !popup_) option.state |= QStyle::State_MouseOver;
      else option.state |= QStyle::State_Raised;
      Style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, ClientWidget());
      Style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, ClientWidget());
      painter.restore();
      return;
    }
  }
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clBtnFace;
  canvas.FillRect(r);
  if (pressed) FrameRect(canvas, r, clBtnShadow);
  else DrawRaisedEdge(canvas, r);
  // A small arrow, one pixel further down and right while pressed.
  const int shift = pressed ? 1 : 0;
  const int cx = (r.Left + r.Right) / 2 + shift, cy = (r.Top + r.Bottom) / 2 + shift;
  const TColor arrow = Enabled() ? clBtnText : clGrayText;
  canvas.Pen().Style = psSolid;
  canvas.Pen().Width = 1;
  canvas.Pen().Color = arrow;
  canvas.Brush().Color = arrow;
  canvas.Polygon({{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}});
}

void TDVColorCombo::PaintCaption(TCanvas& canvas, const TRect& swatch) {
  const std::u16string text = Utf8ToUtf16(LoadResString(autoColor_ == clNone ? dvrsTransparent : dvrsAuto));
  canvas.Font() = Font;
  canvas.Font().Color = AutoCaptionColor(autoColor_, chosenColor_);
  canvas.SetBkMode(bkTransparent);
  canvas.SaveState();
  canvas.IntersectClipRect(swatch);
  const TSize extent = canvas.TextExtentW(text);
  canvas.TextOutW(swatch.Left + (swatch.Width() - extent.cx) / 2, swatch.Top + (swatch.Height() - extent.cy) / 2,
                  text);
  canvas.RestoreState();
}

void TDVColorCombo::MouseDown(TMouseButton button, TShiftState, int32_t, int32_t) {
  if (button != mbLeft) return;
  leftDown_ = true;
  if (CanFocus()) SetFocus();
  DropDown();
}

void TDVColorCombo::MouseUp(TMouseButton button, TShiftState, int32_t, int32_t) {
  if (button != mbLeft) return;
  leftDown_ = false;
  Invalidate();
}

void TDVColorCombo::DropDown() {
  if (popup_) {
    popup_->ClosePopup();
  } else {
    auto* popup = new TfrmColor;
    popup_ = popup;
    popup->SetSilent(true);
    popup->OnDestroy = [this](TfrmColor& p) { ColorPickerDestroy(p); };
    popup->Init(autoColor_, ColorDialog(), chosenColor_, false, clNone);
    popup->PopupAtControl(*this);
  }
  Invalidate();
}

void TDVColorCombo::ColorPickerDestroy(TfrmColor& popup) {
  popup_ = nullptr;
  if (popup.Chosen()) {
    SetChosenColor(popup.Color());
    if (OnColorChange) OnColorChange(*this);
  }
  Invalidate();
}

void TDVColorCombo::MouseMove(TShiftState, int32_t, int32_t) {
  if (hot_) return;
  hot_ = true;
  if (useXPThemes_) Invalidate();
}

void TDVColorCombo::MouseLeave() {
  hot_ = false;
  if (useXPThemes_) Invalidate();
}

void TDVColorCombo::KeyDown(TKey& key, TShiftState) {
  if (key != VK_DOWN && key != VK_F4) return;
  key = 0;
  DropDown();
}

void TDVColorCombo::WMSetFocus(TFocusReason) { Invalidate(); }
void TDVColorCombo::WMKillFocus(TFocusReason) { Invalidate(); }

void TDVColorCombo::Resize() {
  // The height follows the font.
  Canvas().Font() = Font;
  const int fontHeight = Canvas().GetTextMetrics().tmHeight;
  const int systemHeight = QFontMetrics(QApplication::font()).height();
  const int height = 4 * 1 + fontHeight + std::min(fontHeight, systemHeight) / 4 + 6;
  if (Height() != height) SetBounds(Left(), Top(), Width(), height);
}

}  // namespace quillet
