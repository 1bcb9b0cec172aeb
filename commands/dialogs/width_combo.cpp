#include "commands/dialogs/width_combo.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "commands/actions/width_painters.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

class TSizedDelegate final : public TDVWidthItemDelegate {
 public:
  TSizedDelegate(QObject* parent, int height) : TDVWidthItemDelegate(parent, clWindowText), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {TDVWidthItemDelegate::sizeHint(option, index).width(), height_};
  }

 private:
  int height_;
};

}  // namespace

TDVWidthCombo::TDVWidthCombo(QWidget* parent, const char* name, int count, int itemHeight) : QComboBox(parent) {
  setObjectName(name);
  delegate_ = new TSizedDelegate(this, itemHeight);
  setItemDelegate(delegate_);
  setMaxVisibleItems(count);
  for (int i = 1; i <= count; ++i) addItem(QString::number(i));
  setCurrentIndex(-1);
}

void TDVWidthCombo::SetColors(TColor color, TColor color2) {
  color_ = color;
  color2_ = color2;
  delegate_->SetColors(color, color2);
  update();
  view()->viewport()->update();
}

void TDVWidthCombo::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) return;
  const QRect q = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.setClipRect(q);
  TQtCanvas canvas(painter);
  const TRect r{q.left(), q.top(), q.right() + 1, q.bottom() + 1};
  if (color2_ == clNone) DVA_DrawCmbWidthItem(canvas, r, currentIndex(), color_, hasFocus());
  else DVA_DrawCmbWidthItem2(canvas, r, currentIndex(), color_, color2_, hasFocus());
}

}  // namespace quillet
