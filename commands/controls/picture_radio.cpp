#include "commands/controls/picture_radio.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

#include "commands/controls/edges.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/image_list.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/qt_color.h"

namespace quillet {

namespace {

constexpr int kMaxColumns = 16;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QPainter* PainterOf(TCanvas& canvas) {
  auto* qt = dynamic_cast<TQtCanvas*>(&canvas);
  return qt ? &qt->Painter() : nullptr;
}

QFont QtFont(const TFont& font) {
  QFont q(Q(font.Name));
  q.setPixelSize(std::max(font.Height < 0 ? -font.Height : font.Height, 1));
  q.setBold(font.Style & fsBold);
  q.setItalic(font.Style & fsItalic);
  return q;
}

}  // namespace

// ---- the button ----

TDVPictureRadioButton::TDVPictureRadioButton() {
  SetTabStop(true);
  SetBounds(0, 0, 100, 100);
}

TDVPictureRadioButton::~TDVPictureRadioButton() = default;

void TDVPictureRadioButton::SetCaption(const std::string& value) {
  caption_ = value;
  Invalidate();
}

void TDVPictureRadioButton::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  Invalidate();
}

void TDVPictureRadioButton::SetUseXPThemes(bool value) {
  useXPThemes_ = value;
  Invalidate();
}

TRect TDVPictureRadioButton::ImageRect() const {
  const int h = std::max(TextAreaHeight, 0);
  TRect r = ClientRect();
  if (TextPosition == orbtpBottom) r.Bottom = std::max(r.Bottom - h, r.Top);
  else r.Top = std::min(r.Top + h, r.Bottom);
  if (Square) {
    const int side = std::min(r.Width(), r.Height());
    const int dx = (r.Width() - side) / 2, dy = (r.Height() - side) / 2;
    r = {r.Left + dx, r.Top + dy, r.Left + dx + side, r.Top + dy + side};
  }
  return r;
}

TRect TDVPictureRadioButton::TextRect() const {
  const int h = std::max(TextAreaHeight, 0);
  TRect r = ClientRect();
  if (TextPosition == orbtpBottom) r.Top = std::max(r.Bottom - h, r.Top);
  else r.Bottom = std::min(r.Top + h, r.Bottom);
  return r;
}

void TDVPictureRadioButton::Paint(TCanvas& canvas) {
  const bool enabled = Enabled();
  QPainter* painter = PainterOf(canvas);
  const bool themed = useXPThemes_ && painter && ClientWidget();
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clBtnFace;
  canvas.FillRect(ClientRect());
  const TRect image = ImageRect();
  canvas.Brush().Color = enabled ? FillColor : clBtnFace;
  canvas.FillRect(image);
  if (themed) {
    QStyleOptionFrame option;
    option.initFrom(ClientWidget());
    option.rect = ToQRect(image);
    option.lineWidth = QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    option.state &= ~QStyle::State_HasFocus;
    if (Focused()) option.state |= QStyle::State_HasFocus;
    QApplication::style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, painter, ClientWidget());
  }
  bool doDefault = true;
  if (OnCustomDraw) {
    TRect inner = image;
    InflateRect(inner, -(4 + SelWidth), -(4 + SelWidth));
    OnCustomDraw(*this, canvas, inner, doDefault);
  }
  if (doDefault && Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
    const int x = image.Left + (image.Width() - Images->Width()) / 2;
    const int y = image.Top + (image.Height() - Images->Height()) / 2;
    Images->Draw(canvas, x, y, ImageIndex, enabled ? clNone : clBtnFace);
  }
  if (!themed) DrawSunkenEdge(canvas, image);
  TRect sel = image;
  if (!LargeSelection) {
    InflateRect(sel, -4, -4);
    if (Focused()) {
      TRect focus = image;
      InflateRect(focus, -3, -3);
      canvas.Brush().Color = FillColor;
      canvas.Font().Color = clBlack;
      canvas.DrawFocusRect(focus);
    }
  }
  if (checked_ && SelWidth > 0) {
    // An inside frame: the pen's width lies within the rectangle.
    canvas.Brush().Color = SelColor;
    for (int i = 0; i < SelWidth && sel.Width() > 2 * i && sel.Height() > 2 * i; ++i)
      FrameRect(canvas, {sel.Left + i, sel.Top + i, sel.Right - i, sel.Bottom - i}, SelColor);
  }
  if (TextAreaHeight > 0) DrawCaption(canvas, TextRect());
}

void TDVPictureRadioButton::DrawCaption(TCanvas& canvas, const TRect& area) {
  QPainter* painter = PainterOf(canvas);
  if (!painter || caption_.empty()) return;
  const QString text = Q(caption_);
  const int flags = Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
  painter->save();
  painter->setFont(QtFont(Font));
  QRect r = ToQRect(area);
  if (TextPosition == orbtpBottom) {
    r.setTop(r.top() + 2);
  } else {
    // Ends 2 pixels above the area's bottom.
    const QRect needed = painter->fontMetrics().boundingRect(r, flags, text);
    r.setTop(std::max(r.top(), r.bottom() - 2 - needed.height()));
    r.setBottom(r.bottom() - 2);
  }
  const bool enabled = Enabled();
  if (useXPThemes_ && ClientWidget()) {
    QPalette palette = ClientWidget()->palette();
    QApplication::style()->drawItemText(painter, r, flags, palette, enabled, text, QPalette::ButtonText);
  } else if (enabled) {
    painter->setPen(ToQColor(Font.Color));
    painter->drawText(r, flags, text);
  } else {
    if (Disabled3D) {
      painter->setPen(ToQColor(clBtnHighlight));
      painter->drawText(r.translated(1, 1), flags, text);
    }
    painter->setPen(ToQColor(clBtnShadow));
    painter->drawText(r, flags, text);
  }
  painter->restore();
}

void TDVPictureRadioButton::Activate(bool byFocus) {
  if (byFocus && checked_) return;
  SetChecked(true);
  if (OnClick) OnClick(*this);
}

void TDVPictureRadioButton::DblClickItem() {
  if (OnDblClick) OnDblClick(*this);
}

void TDVPictureRadioButton::MouseDown(TMouseButton button, TShiftState, int32_t, int32_t) {
  if (button != mbLeft) return;
  const bool hadFocus = Focused();
  if (CanFocus()) SetFocus();
  // The focus arriving checked it already.
  if (hadFocus || !Focused()) Activate(false);
}

void TDVPictureRadioButton::DblClick() { DblClickItem(); }

void TDVPictureRadioButton::KeyDown(TKey& key, TShiftState) {
  if (key == VK_SPACE) {
    key = 0;
    Activate(false);
  }
}

void TDVPictureRadioButton::WMSetFocus(TFocusReason) {
  Invalidate();
  Activate(true);
}

void TDVPictureRadioButton::WMKillFocus(TFocusReason) { Invalidate(); }

TDlgCodes TDVPictureRadioButton::WMGetDlgCode() { return DLGC_WANTARROWS; }

// ---- items ----

void TPictureGroupItem::Changed() { group_->ItemChanged(*this); }
void TPictureGroupItem::SetCaption(const std::string& value) { caption_ = value; Changed(); }
void TPictureGroupItem::SetImageIndex(int32_t value) { imageIndex_ = value; Changed(); }
void TPictureGroupItem::SetFillColor(TColor value) { fillColor_ = value; Changed(); }
void TPictureGroupItem::SetEnabled(bool value) { enabled_ = value; Changed(); }
void TPictureGroupItem::SetHint(const std::string& value) { hint_ = value; Changed(); }

// ---- the group ----

class TDVPictureRadioGroup::TGroupButton final : public TDVPictureRadioButton {
 public:
  TGroupButton(TDVPictureRadioGroup& group, int index) : group_(group), index_(index) {}

 protected:
  void Activate(bool byFocus) override { group_.ButtonActivated(index_, byFocus); }
  void DblClickItem() override { group_.ButtonDblClicked(index_); }
  void KeyDown(TKey& key, TShiftState shift) override {
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
      group_.MoveFocus(index_, key);
      key = 0;
      return;
    }
    TDVPictureRadioButton::KeyDown(key, shift);
  }

 private:
  TDVPictureRadioGroup& group_;
  int index_;
};

TDVPictureRadioGroup::TDVPictureRadioGroup() {
  SetTabStop(true);
  SetBounds(0, 0, 200, 200);
}

TDVPictureRadioGroup::~TDVPictureRadioGroup() {
  // The buttons go first: their focus leaving must not reach a half-gone group.
  buttons_.clear();
}

void TDVPictureRadioGroup::SetCaption(const std::string& value) {
  caption_ = value;
  ArrangeButtons();
  Invalidate();
}

TPictureGroupItem& TDVPictureRadioGroup::AddItem() {
  items_.push_back(std::unique_ptr<TPictureGroupItem>(new TPictureGroupItem(*this)));
  UpdateButtons();
  return *items_.back();
}

void TDVPictureRadioGroup::ClearItems() {
  items_.clear();
  UpdateButtons();
}

void TDVPictureRadioGroup::SetItemIndex(int value) {
  value = std::clamp(value, -1, ItemCount() - 1);
  if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(buttons_.size())) buttons_[itemIndex_]->SetChecked(false);
  itemIndex_ = value;
  if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(buttons_.size())) buttons_[itemIndex_]->SetChecked(true);
}

void TDVPictureRadioGroup::SetColumns(int value) {
  columns_ = std::clamp(value, 1, kMaxColumns);
  ArrangeButtons();
}

void TDVPictureRadioGroup::SetMargin(int value) {
  margin_ = value;
  ArrangeButtons();
}

void TDVPictureRadioGroup::SetUseXPThemes(bool value) {
  useXPThemes_ = value;
  for (auto& button : buttons_) button->SetUseXPThemes(value);
  Invalidate();
}

void TDVPictureRadioGroup::ItemChanged(const TPictureGroupItem& item) {
  for (int i = 0; i < ItemCount(); ++i)
    if (items_[i].get() == &item && i < static_cast<int>(buttons_.size())) AssignItem(i);
}

void TDVPictureRadioGroup::AssignItem(int index) {
  const TPictureGroupItem& item = *items_[index];
  TDVPictureRadioButton& button = *buttons_[index];
  button.FillColor = item.FillColor();
  button.ImageIndex = item.ImageIndex();
  // A disabled group disables its buttons through Qt's parent chain.
  button.SetEnabled(item.Enabled());
  button.SetCaption(item.Caption());
  if (button.Widget()) button.Widget()->setToolTip(QString::fromStdString(item.Hint()));
  button.Invalidate();
}

void TDVPictureRadioGroup::UpdateButtons() {
  TScopedValue<bool> updating(updating_, true);
  itemIndex_ = std::clamp(itemIndex_, -1, ItemCount() - 1);
  while (static_cast<int>(buttons_.size()) > ItemCount()) buttons_.pop_back();
  while (static_cast<int>(buttons_.size()) < ItemCount()) {
    auto button = std::make_unique<TGroupButton>(*this, static_cast<int>(buttons_.size()));
    button->SetParent(this);
    buttons_.push_back(std::move(button));
  }
  for (int i = 0; i < ItemCount(); ++i) {
    TDVPictureRadioButton& b = *buttons_[i];
    b.Images = Images;
    b.SelColor = SelColor;
    b.SelWidth = SelWidth;
    b.TextAreaHeight = TextAreaHeight;
    b.Disabled3D = Disabled3D;
    b.TextPosition = TextPosition;
    b.Square = Square;
    b.Font = Font;
    b.SetUseXPThemes(useXPThemes_);
    b.OnCustomDraw = [this, i](TCustomControl&, TCanvas& canvas, const TRect& r, bool& doDefault) {
      if (OnCustomDraw) OnCustomDraw(*this, i, canvas, r, doDefault);
    };
    AssignItem(i);
    b.SetChecked(i == itemIndex_);
  }
  ArrangeButtons();
  Invalidate();
}

void TDVPictureRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  QFontMetrics metrics(QtFont(Font));
  const int topMargin = metrics.height() + 1;
  const int count = static_cast<int>(buttons_.size());
  const int perColumn = (count + columns_ - 1) / columns_;
  const int width = (Width() - 2 * margin_) / columns_;
  const int height = (Height() - topMargin - 2 * margin_) / perColumn;
  for (int i = 0; i < count; ++i) {
    const int column = i / perColumn, row = i % perColumn;
    const int left = column * width + margin_ + margin_ / 2;
    const int top = row * height + topMargin + margin_;
    buttons_[i]->SetBounds(left, top, std::max(width - margin_, 0), std::max(height, 0));
    buttons_[i]->Show();
  }
}

int TDVPictureRadioGroup::GetAnother(int index, TKey key) const {
  const int n = static_cast<int>(buttons_.size());
  if (n == 0) return -1;
  const int p = (n + columns_ - 1) / columns_;
  const int total = columns_ * p;
  for (int step = 0; step < total; ++step) {
    switch (key) {
      case VK_UP: --index; break;
      case VK_DOWN: ++index; break;
      case VK_LEFT:
        if (index == 0) index = total - 1;
        else index = index - p - (index < p ? 1 : 0);
        break;
      case VK_RIGHT:
        if (index == total - 1) index = 0;
        else index = index + p + (index >= total - p ? 1 : 0);
        break;
      default: return -1;
    }
    if (index < 0) index += total;
    index %= total;
    if (index < n && buttons_[index]->CanFocus()) return index;
  }
  return -1;
}

void TDVPictureRadioGroup::MoveFocus(int index, TKey key) {
  const int target = GetAnother(index, key);
  if (target >= 0) buttons_[target]->SetFocus();
}

void TDVPictureRadioGroup::ButtonActivated(int index, bool byFocus) {
  if (updating_ || inNotification_ || !CanModify()) return;
  if (byFocus && index == itemIndex_) return;
  TScopedValue<bool> guard(inNotification_, true);
  SetItemIndex(index);
  if (OnClick) OnClick(*this);
}

void TDVPictureRadioGroup::ButtonDblClicked(int index) {
  if (!CanModify()) return;
  if (OnDblClickItem) OnDblClickItem(*this, index);
}

void TDVPictureRadioGroup::WMSetFocus(TFocusReason) {
  if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(buttons_.size()) && buttons_[itemIndex_]->CanFocus())
    buttons_[itemIndex_]->SetFocus();
}

void TDVPictureRadioGroup::Resize() { ArrangeButtons(); }

void TDVPictureRadioGroup::Paint(TCanvas& canvas) {
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clBtnFace;
  canvas.FillRect(ClientRect());
  QPainter* painter = PainterOf(canvas);
  if (!painter) return;
  painter->save();
  const QFont font = QtFont(Font);
  painter->setFont(font);
  const QFontMetrics metrics(font);
  const QString text = Q(caption_);
  const int captionWidth = text.isEmpty() ? 0 : metrics.horizontalAdvance(text) + 4;
  const QRect caption(8, 0, captionWidth, metrics.height());
  const QRect frame(0, metrics.height() / 2, Width(), Height() - metrics.height() / 2);
  painter->setClipRegion(QRegion(0, 0, Width(), Height()).subtracted(caption));
  if (useXPThemes_ && ClientWidget()) {
    QStyleOptionFrame option;
    option.initFrom(ClientWidget());
    option.rect = frame;
    option.features = QStyleOptionFrame::None;
    QApplication::style()->drawPrimitive(QStyle::PE_FrameGroupBox, &option, painter, ClientWidget());
  } else {
    // An etched frame.
    painter->setPen(ToQColor(clBtnShadow));
    painter->drawRect(frame.adjusted(0, 0, -2, -2));
    painter->setPen(ToQColor(clBtnHighlight));
    painter->drawRect(frame.adjusted(1, 1, -1, -1));
  }
  painter->setClipping(false);
  if (!text.isEmpty()) {
    painter->setPen(ToQColor(Enabled() ? Font.Color : clGrayText));
    painter->drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, text);
  }
  painter->restore();
}

}  // namespace quillet
