#include "commands/dialogs/picture_preview.h"

#include <QPainter>
#include <algorithm>

#include "platform/gfx/graphic.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

TPicturePreview::TPicturePreview(QWidget* parent) : QWidget(parent) {}

TPicturePreview::~TPicturePreview() = default;

void TPicturePreview::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  update();
}

bool TPicturePreview::Stretched() const {
  return graphic_ && (graphic_->Width() > width() || graphic_->Height() > height());
}

TRect TPicturePreview::PictureRect() const {
  if (!graphic_ || graphic_->Width() <= 0 || graphic_->Height() <= 0) return {};
  int64_t w = graphic_->Width(), h = graphic_->Height();
  if (Stretched()) {
    // The side that overflows more sets the scale.
    if (w * height() > h * width()) {
      h = std::max<int64_t>(1, h * width() / w);
      w = width();
    } else {
      w = std::max<int64_t>(1, w * height() / h);
      h = height();
    }
  }
  const int left = static_cast<int>((width() - w) / 2), top = static_cast<int>((height() - h) / 2);
  return {left, top, left + static_cast<int>(w), top + static_cast<int>(h)};
}

void TPicturePreview::paintEvent(QPaintEvent*) {
  const TRect r = PictureRect();
  if (r.Width() <= 0) return;
  QPainter painter(this);
  TQtCanvas canvas(painter);
  canvas.StretchDraw(r, *graphic_);
}

void TPicturePreview::mouseDoubleClickEvent(QMouseEvent*) {
  if (OnDblClick) OnDblClick();
}

}  // namespace quillet
