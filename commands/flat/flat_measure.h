#pragma once
// The size of a menu item as flat painting measures it.
#include <QSize>
#include <QString>

class QFontMetrics;

namespace quillet {

struct TMenuItemText {
  QString Caption;   // "-" for a separator
  QString ShortCut;  // empty: none
  QSize Image;       // empty: no image
  bool TopLevel = false;  // an item of the menu bar itself
};

// Text width + 5 (less an "&"), the shortcut behind a gap of "WWW", the
// image (at least the icon strip's width below the bar); height 4 for a
// separator, else text height and three quarters, at least the image's + 6.
QSize MeasureMenuItem(const QFontMetrics& fm, const TMenuItemText& item, int iconWidth);

}  // namespace quillet
