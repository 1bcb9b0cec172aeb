#include "commands/ruler/ruler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtGlobal>
#include <algorithm>
#include <exception>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands/font_roles.h"
#include "commands/ruler/ruler_marks.h"
#include "engine/view/docview.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

// A margin edge takes the mouse strictly within this distance.
constexpr int32_t kEdgeReach = 3;
constexpr int32_t kHandleHeight = 8, kBoxHeight = 7;

bool NearEdge(int32_t x, int32_t edge) { return std::abs(x - edge) < kEdgeReach; }

// Snapped as the drag's arithmetic does: toward zero.
int32_t Snap(int32_t x, int32_t tab) { return x / tab * tab; }

}  // namespace

TDVRuler::TDVRuler(QWidget* parent) : QWidget(parent) {
  font_.Name = std::string(FontFamily(frRuler));
  font_.SetSize(7);
  font_.Color = clWindowText;
  resize(300, 25);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setMouseTracking(true);
}

TDVRuler::~TDVRuler() = default;

void TDVRuler::SetDocView(TCustomDocView* value) { docView_ = value; }

// ---- constrained setters ----

bool TDVRuler::IndentAccepted(THandle handle, int32_t value) const {
  if (value == indent_[handle] || value < 0 || value >= width() - 4) return false;
  if (handle == rhRightIndent)
    return value - indent_[rhLeftIndent] > minIndentDist_ && value - indent_[rhFirstIndent] > minIndentDist_;
  return indent_[rhRightIndent] - value > minIndentDist_;
}

void TDVRuler::MoveIndent(THandle handle, int32_t value) {
  if (!IndentAccepted(handle, value)) return;
  indent_[handle] = value;
  update();
  if (dragged_ >= 0) Fire(OnIndentDrag, handle);
}

void TDVRuler::SetIndentFirst(int32_t value) { MoveIndent(rhFirstIndent, value); }
void TDVRuler::SetIndentLeft(int32_t value) { MoveIndent(rhLeftIndent, value); }
void TDVRuler::SetIndentRight(int32_t value) { MoveIndent(rhRightIndent, value); }

void TDVRuler::SetMarginLeft(int32_t value) {
  if (value == marginLeft_ || value < 0 || value > width() - marginRight_ - border_.Right - border_.Left) return;
  const int32_t delta = value - marginLeft_;
  const int32_t first = indent_[rhFirstIndent] + delta, left = indent_[rhLeftIndent] + delta;
  // Each is checked only against the right indent, which stays.
  if (!IndentAccepted(rhFirstIndent, first) || !IndentAccepted(rhLeftIndent, left)) return;
  SetIndentFirst(first);
  SetIndentLeft(left);
  marginLeft_ = value;
  update();
  if (draggingLeft_) Fire(OnMarginDrag, rmLeft);
}

void TDVRuler::SetMarginRight(int32_t value) {
  if (value == marginRight_ || value < 0 || value > width() - marginLeft_ - border_.Left - border_.Right) return;
  const int32_t right = indent_[rhRightIndent] + marginRight_ - value;
  if (!IndentAccepted(rhRightIndent, right)) return;
  SetIndentRight(right);
  marginRight_ = value;
  update();
  if (draggingRight_) Fire(OnMarginDrag, rmRight);
}

void TDVRuler::SetRulerTab(int32_t value) {
  if (value >= 1 && value <= 255) rulerTab_ = value;
}

void TDVRuler::SetMinIndentDist(int32_t value) {
  if (value >= 0) minIndentDist_ = value;
}

template <class T>
void TDVRuler::SetDrawn(T& field, T value) {
  if (field == value) return;
  field = value;
  update();
}

void TDVRuler::SetTabDist(int32_t value) {
  if (value >= 1 && value <= 65535) SetDrawn(tabDist_, value);
}

void TDVRuler::SetFactor(int32_t value) {
  if (value >= 0 && value <= 65535) SetDrawn(factor_, value);
}

bool TDVRuler::SetBorder(int32_t& border, int32_t value) {
  if (value < 0 || value > width()) return false;
  SetDrawn(border, value);
  return true;
}

void TDVRuler::SetBorderLeft(int32_t value) { SetBorder(border_.Left, value); }
void TDVRuler::SetBorderUp(int32_t value) { SetBorder(border_.Top, value); }
void TDVRuler::SetBorderRight(int32_t value) { SetBorder(border_.Right, value); }
void TDVRuler::SetBorderDown(int32_t value) { SetBorder(border_.Bottom, value); }
void TDVRuler::SetShowSmallLines(bool value) { SetDrawn(showSmallLines_, value); }
void TDVRuler::SetShowLargeLines(bool value) { SetDrawn(showLargeLines_, value); }
void TDVRuler::SetShowNumbers(bool value) { SetDrawn(showNumbers_, value); }
void TDVRuler::SetShowIndents(bool value) { SetDrawn(showIndents_, value); }
void TDVRuler::SetShowMarginHandlers(bool value) { SetDrawn(showMarginHandlers_, value); }
void TDVRuler::SetBackground(TColor value) { SetDrawn(background_, value); }
void TDVRuler::SetColor(TColor value) { SetDrawn(color_, value); }

// ---- geometry ----

TRect TDVRuler::HandleRect(THandle handle) const {
  const int32_t h = height();
  const int32_t top = std::max(0, std::min(border_.Top - 3, h - kHandleHeight));
  const int32_t bottom = std::max(0, std::min(h - border_.Bottom - kHandleHeight, h - 13));
  switch (handle) {
    case rhFirstIndent:
      return Bounds(indent_[rhFirstIndent], top, HandleWidth, kHandleHeight);
    case rhLeftIndent:
    case rhRightIndent:
      return Bounds(indent_[handle], bottom, HandleWidth, kHandleHeight);
    case rhBothLeftIndent:
      return Bounds(indent_[rhLeftIndent], bottom + kHandleHeight, HandleWidth, kBoxHeight);
  }
  return {};
}

int TDVRuler::HandleAt(int32_t x, int32_t y) const {
  if (!showIndents_) return -1;
  // Later handles lie above earlier ones.
  for (const THandle handle : {rhBothLeftIndent, rhRightIndent, rhLeftIndent, rhFirstIndent}) {
    const TRect r = HandleRect(handle);
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return handle;
  }
  return -1;
}

TRulerScale TDVRuler::Scale() const {
  TRulerScale scale;
  scale.Width = width();
  scale.BorderLeft = border_.Left;
  scale.BorderRight = border_.Right;
  scale.MarginLeft = marginLeft_;
  scale.TabDist = tabDist_;
  scale.Factor = factor_;
  scale.ShowSmallLines = showSmallLines_;
  scale.ShowLargeLines = showLargeLines_;
  scale.ShowNumbers = showNumbers_;
  return scale;
}

// Events run inside Qt's event handlers, which no exception may leave.
void TDVRuler::Fire(const TRulerEvent& event, int index) {
  if (!event) return;
  try {
    event(*this, index);
  } catch (const std::exception& e) {
    qWarning("%s", e.what());
  }
}

// ---- painting ----

void TDVRuler::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TQtCanvas canvas(painter);
  const int32_t w = width(), h = height();
  TBrush& brush = canvas.Brush();
  brush.Style = bsSolid;
  brush.Color = background_;
  canvas.FillRect(Rect(0, 0, w, border_.Top));
  canvas.FillRect(Rect(0, h - border_.Bottom, w, h));
  canvas.FillRect(Rect(0, 0, border_.Left, h));
  canvas.FillRect(Rect(w - border_.Right, 0, w, h));
  const int32_t top = border_.Top, bottom = h - border_.Bottom;
  const int32_t leftEdge = LeftEdge(), rightEdge = RightEdge();
  brush.Color = clBtnShadow;
  canvas.FillRect(Rect(border_.Left, top, leftEdge, bottom));
  canvas.FillRect(Rect(rightEdge, top, w - border_.Right, bottom));
  brush.Color = color_;
  canvas.FillRect(Rect(leftEdge, top, rightEdge, bottom));
  if (showMarginHandlers_) {
    brush.Color = marginLeft_ == 0 ? clBtnShadow : clBtnFace;
    canvas.FillRect(Rect(leftEdge - 1, top, leftEdge + 1, bottom));
    brush.Color = marginRight_ == 0 ? clBtnShadow : clBtnFace;
    canvas.FillRect(Rect(rightEdge - 1, top, rightEdge + 1, bottom));
  }

  brush.Style = bsClear;
  canvas.Font() = font_;
  canvas.Pen().Style = psSolid;
  canvas.Pen().Width = 1;
  canvas.Pen().Color = font_.Color;
  const int32_t tickTop = (h - 5) / 2, shortTop = (h - 2) / 2;
  for (const TRulerMark& mark : RulerMarks(Scale())) {
    switch (mark.Kind) {
      case rmNumber: {
        const std::string label = std::to_string(mark.Number);
        const TSize size = canvas.TextExtentA(label);
        canvas.TextOutA(mark.X - size.cx / 2, (h - size.cy) / 2, label);
        break;
      }
      case rmLongTick:
        canvas.MoveTo(mark.X, tickTop);
        canvas.LineTo(mark.X, tickTop + 5);
        break;
      case rmShortTick:
        canvas.MoveTo(mark.X, shortTop);
        canvas.LineTo(mark.X, shortTop + 2);
        break;
    }
  }

  if (!showIndents_) return;
  if (dragged_ >= 0) {
    const auto handle = static_cast<THandle>(dragged_);
    const TRect now = HandleRect(handle);
    if (now.Left != dragStart_[handle]) PaintHandle(canvas, handle, dragStart_[handle], true);
  }
  for (const THandle handle : {rhFirstIndent, rhLeftIndent, rhRightIndent, rhBothLeftIndent})
    PaintHandle(canvas, handle, HandleRect(handle).Left, false);
}

void TDVRuler::PaintHandle(TCanvas& canvas, THandle handle, int32_t left, bool ghost) {
  const int32_t top = HandleRect(handle).Top;
  auto at = [&](std::vector<TPoint> points) {
    for (TPoint& p : points) p = {p.X + left, p.Y + top};
    return points;
  };
  canvas.Pen().Color = ghost ? clBtnShadow : clBlack;
  canvas.Brush().Style = ghost ? bsClear : bsSolid;
  canvas.Brush().Color = clBtnFace;
  std::vector<TPoint> highlight;
  switch (handle) {
    case rhFirstIndent:
      canvas.Polygon(at({{0, 0}, {8, 0}, {8, 3}, {4, 7}, {0, 3}}));
      highlight = {{6, 1}, {1, 1}, {1, 3}, {4, 6}};
      break;
    case rhLeftIndent:
    case rhRightIndent:
      canvas.Polygon(at({{0, 7}, {0, 4}, {4, 0}, {8, 4}, {8, 7}}));
      highlight = {{1, 5}, {1, 4}, {5, 0}};
      break;
    case rhBothLeftIndent:
      if (!ghost) canvas.FillRect(Bounds(left, top, HandleWidth, 5));
      canvas.Polyline(at({{0, 0}, {0, 4}, {8, 4}, {8, 0}, {7, 0}}));
      highlight = {{1, 2}, {1, 0}, {7, 0}};
      break;
  }
  if (ghost) return;
  canvas.Pen().Color = clBtnHighlight;
  canvas.Polyline(at(std::move(highlight)));
}

// ---- mouse ----

void TDVRuler::HandlePress(THandle handle, int32_t x) {
  if (!indDblClicked_) {
    dragged_ = handle;
    dragOfs_ = x - HandleRect(handle).Left;
    for (const THandle h : {rhFirstIndent, rhLeftIndent, rhRightIndent, rhBothLeftIndent})
      dragStart_[h] = HandleRect(h).Left;
    Fire(OnIndentClick, handle);
  }
  indDblClicked_ = false;
}

void TDVRuler::HandleMove(int32_t x) {
  const auto handle = static_cast<THandle>(dragged_);
  const int32_t offset = x - HandleRect(handle).Left - dragOfs_;
  const int32_t p = Snap(x - dragOfs_, rulerTab_);
  switch (handle) {
    case rhFirstIndent: SetIndentFirst(p); break;
    case rhLeftIndent: SetIndentLeft(p); break;
    case rhRightIndent: SetIndentRight(p); break;
    case rhBothLeftIndent: {
      const int32_t first = Snap(indent_[rhFirstIndent] + offset, rulerTab_);
      SetIndentLeft(p);
      SetIndentFirst(first);
      break;
    }
  }
}

void TDVRuler::UpdateCursor(int32_t x, int32_t y) {
  if (dragged_ < 0 && !draggingLeft_ && !draggingRight_ && HandleAt(x, y) >= 0)
    setCursor(Qt::ArrowCursor);
  else if (showMarginHandlers_ && (NearEdge(x, LeftEdge()) || NearEdge(x, RightEdge())))
    setCursor(Qt::SplitHCursor);
  else
    unsetCursor();
}

void TDVRuler::mousePressEvent(QMouseEvent* event) {
  const int32_t x = event->position().toPoint().x(), y = event->position().toPoint().y();
  const int handle = HandleAt(x, y);
  if (handle >= 0) {
    if (event->button() == Qt::LeftButton)
      HandlePress(static_cast<THandle>(handle), x);
    else
      indDblClicked_ = false;
    return;
  }
  if (event->button() != Qt::LeftButton || !showMarginHandlers_) return;
  if (NearEdge(x, LeftEdge())) {
    draggingLeft_ = true;
    Fire(OnMarginClick, rmLeft);
  } else if (NearEdge(x, RightEdge())) {
    draggingRight_ = true;
    Fire(OnMarginClick, rmRight);
  }
}

void TDVRuler::mouseMoveEvent(QMouseEvent* event) {
  const int32_t x = event->position().toPoint().x(), y = event->position().toPoint().y();
  UpdateCursor(x, y);
  if (dragged_ >= 0) {
    HandleMove(x);
  } else if (draggingLeft_) {
    SetMarginLeft(Snap(x - border_.Left, rulerTab_));
  } else if (draggingRight_) {
    SetMarginRight(Snap(width() - border_.Right - x, rulerTab_));
  }
}

void TDVRuler::mouseReleaseEvent(QMouseEvent* event) {
  if (dragged_ >= 0) {
    if (event->button() != Qt::LeftButton) return;
    const int handle = dragged_;
    dragged_ = -1;
    update();
    Fire(OnIndentChange, handle);
  } else if (draggingLeft_) {
    draggingLeft_ = false;
    Fire(OnMarginChange, rmLeft);
  } else if (draggingRight_) {
    draggingRight_ = false;
    Fire(OnMarginChange, rmRight);
  }
}

// The press that comes with a double click on a handle starts no drag.
void TDVRuler::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int handle = HandleAt(at.x(), at.y());
  if (handle >= 0 && event->button() == Qt::LeftButton) {
    indDblClicked_ = true;
    Fire(OnIndentDblClick, handle);
  }
  mousePressEvent(event);
}

}  // namespace quillet
