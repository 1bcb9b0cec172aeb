#include "commands/actions/width_painters.h"

#include <QPainter>

#include "commands/controls/edges.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

void FillWindow(TCanvas& canvas, const TRect& r) {
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clWindow;
  canvas.FillRect(r);
}

// An inside frame two pixels wide.
void HighlightFrame(TCanvas& canvas, const TRect& r) {
  FrameRect(canvas, r, clHighlight);
  FrameRect(canvas, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, clHighlight);
}

}  // namespace

void DVA_DrawCmbWidthItem(TCanvas& canvas, const TRect& r, int index, TColor color, bool selected) {
  FillWindow(canvas, r);
  // The line is a band of index + 1 rows centred on the middle.
  const int width = index + 1;
  const int top = (r.Top + r.Bottom) / 2 - width / 2;
  canvas.Brush().Color = color;
  canvas.FillRect({r.Left - 3, top, r.Right + 3, top + width});
  if (selected) HighlightFrame(canvas, r);
}

void DVA_DrawCmbWidthItem2(TCanvas& canvas, const TRect& r, int index, TColor color1, TColor color2, bool selected) {
  FillWindow(canvas, r);
  if (selected) HighlightFrame(canvas, r);
  TRect frame = r;
  InflateRect(frame, -4, -4);
  for (int i = 0; i <= index && frame.Width() > 1 && frame.Height() > 1; ++i) {
    canvas.Brush().Color = color1;
    canvas.FillRect({frame.Left, frame.Top, frame.Left + 1, frame.Bottom});
    canvas.FillRect({frame.Left, frame.Top, frame.Right, frame.Top + 1});
    canvas.Brush().Color = color2;
    canvas.FillRect({frame.Right - 1, frame.Top + 1, frame.Right, frame.Bottom});
    canvas.FillRect({frame.Left + 1, frame.Bottom - 1, frame.Right, frame.Bottom});
    InflateRect(frame, -1, -1);
  }
}

TDVWidthItemDelegate::TDVWidthItemDelegate(QObject* parent, TColor color, TColor color2)
    : QStyledItemDelegate(parent), color_(color), color2_(color2) {}

void TDVWidthItemDelegate::SetColors(TColor color, TColor color2) {
  color_ = color;
  color2_ = color2;
}

void TDVWidthItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  painter->save();
  TQtCanvas canvas(*painter);
  const QRect q = option.rect;
  const TRect r{q.left(), q.top(), q.right() + 1, q.bottom() + 1};
  canvas.IntersectClipRect(r);
  const bool selected = option.state & QStyle::State_Selected;
  if (color2_ == clNone) DVA_DrawCmbWidthItem(canvas, r, index.row(), color_, selected);
  else DVA_DrawCmbWidthItem2(canvas, r, index.row(), color_, color2_, selected);
  painter->restore();
}

}  // namespace quillet
