#include "commands/flat/flat_measure.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>

namespace quillet {

QSize MeasureMenuItem(const QFontMetrics& fm, const TMenuItemText& item, int iconWidth) {
  const bool separator = item.Caption == QLatin1String("-");
  QString text = separator ? QString() : item.Caption;
  if (!item.ShortCut.isEmpty()) text += QStringLiteral("WWW") + item.ShortCut;
  int width = fm.horizontalAdvance(text) + 5;
  if (text.contains(u'&')) width -= fm.horizontalAdvance(u'&');
  int imageWidth = item.Image.isEmpty() ? 0 : item.Image.width();
  if (!item.TopLevel) imageWidth = std::max(imageWidth, iconWidth);
  if (imageWidth > 0) width += imageWidth;
  if (item.TopLevel) width += 8;
  if (separator) return {width, 4};
  const int th = fm.height();
  int height = th + static_cast<int>(std::nearbyint(th * 0.75));
  if (!item.Image.isEmpty()) height = std::max(height, item.Image.height() + 6);
  return {width, height};
}

}  // namespace quillet
