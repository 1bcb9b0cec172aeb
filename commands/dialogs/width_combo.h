#pragma once
// A fixed list of line widths whose items, and the closed field, are width
// samples: solid lines, or with a second colour nested border frames.
#include <QComboBox>

#include "platform/core/colors.h"

namespace quillet {

class TDVWidthItemDelegate;

class TDVWidthCombo final : public QComboBox {
 public:
  // Items "1" to "count", each itemHeight pixels high in the list.
  TDVWidthCombo(QWidget* parent, const char* name, int count, int itemHeight);
  // As TDVWidthItemDelegate: color2 clNone draws solid lines.
  void SetColors(TColor color, TColor color2 = clNone);
  TColor Color() const { return color_; }
  TColor Color2() const { return color2_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TDVWidthItemDelegate* delegate_;
  TColor color_ = clWindowText, color2_ = clNone;
};

}  // namespace quillet
