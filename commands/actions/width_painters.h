#pragma once
// The samples of the line-width lists in the border, table-border and
// item-properties dialogs, as item delegates: item i draws width i + 1.
#include <QStyledItemDelegate>

#include "platform/core/colors.h"
#include "platform/core/geometry.h"

namespace quillet {

class TCanvas;

// A line of width index + 1 across the middle of r, 3 pixels beyond it on
// each side; a highlight frame when selected.
void DVA_DrawCmbWidthItem(TCanvas& canvas, const TRect& r, int index, TColor color, bool selected);
// index + 1 nested one-pixel frames 4 pixels inside r, left and top in
// color1, right and bottom in color2: a raised or lowered border sample.
void DVA_DrawCmbWidthItem2(TCanvas& canvas, const TRect& r, int index, TColor color1, TColor color2, bool selected);

class TDVWidthItemDelegate : public QStyledItemDelegate {
 public:
  // A solid line sample (DVA_DrawCmbWidthItem), or with color2 set (not
  // clNone) a border sample (DVA_DrawCmbWidthItem2).
  TDVWidthItemDelegate(QObject* parent, TColor color, TColor color2 = clNone);
  void SetColors(TColor color, TColor color2 = clNone);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  TColor color_, color2_;
};

}  // namespace quillet
