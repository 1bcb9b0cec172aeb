#pragma once
// The style flat painting sets on the widgets it takes over. It draws what
// the painter paints now and hands everything else, and every widget or menu
// item the painter does not paint now, to the style below it.
#include <QProxyStyle>

namespace quillet {

class TFlatPainter;

class TFlatStyle : public QProxyStyle {
 public:
  explicit TFlatStyle(const TFlatPainter& painter) : k_(painter) {}

  using QProxyStyle::polish;
  using QProxyStyle::unpolish;
  // Hover is what lights a control up, so painted widgets report it.
  void polish(QWidget* widget) override;
  void unpolish(QWidget* widget) override;

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;

 private:
  bool Paints(const QWidget* widget, int kindBits) const;
  bool PaintsMenu(const QWidget* widget) const;
  // A menu item whose action is switched off keeps the style below.
  bool ItemOff(const QStyleOption* option, const QWidget* widget, bool measuring) const;

  const TFlatPainter& k_;
};

}  // namespace quillet
