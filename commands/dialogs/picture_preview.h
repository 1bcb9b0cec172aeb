#pragma once
// The item-properties dialog's picture: drawn centred at its own size, or
// scaled down proportionally when it is larger than the box.
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/core/geometry.h"

namespace quillet {

class TGraphic;

class TPicturePreview final : public QWidget {
 public:
  explicit TPicturePreview(QWidget* parent);
  ~TPicturePreview() override;

  const TGraphic* Graphic() const { return graphic_.get(); }
  // Null clears it.
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // Where the picture is drawn, in the widget's coordinates.
  TRect PictureRect() const;
  bool Stretched() const;

  std::function<void()> OnDblClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace quillet
