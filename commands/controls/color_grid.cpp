#include "commands/controls/color_grid.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <algorithm>

#include "commands/controls/color_palette.h"
#include "commands/controls/edges.h"

namespace quillet {

namespace {

// Cells are one pixel apart.
constexpr int kGap = 1;

}  // namespace

TDVColorGrid::TDVColorGrid() {
  SetTabStop(true);
  Resize();
}

TDVColorGrid::~TDVColorGrid() = default;

void TDVColorGrid::SetFirstCaption(const std::string& value) {
  firstCaption_ = value;
  InvalidateRect(CellRect(0, 0));
}

void TDVColorGrid::SetFirstColor(TColor value) {
  firstColor_ = value;
  InvalidateRect(CellRect(0, 0));
}

void TDVColorGrid::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TDVColorGrid::SetIndeterminate(bool value) {
  indeterminate_ = value;
  Invalidate();
}

int TDVColorGrid::RowHeight(int row) const { return row >= 0 && row < RowCount ? rowHeights_[row] : 0; }

void TDVColorGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount) return;
  rowHeights_[row] = std::max(height, 0);
  Invalidate();
}

TRect TDVColorGrid::CellRect(int col, int row) const {
  int top = 0;
  for (int r = 0; r < row; ++r) top += rowHeights_[r] + kGap;
  if (row == 0) return {0, 0, ClientWidth() - 1, rowHeights_[0]};
  const int left = col * (DefaultColWidth + kGap);
  return {left, top, left + DefaultColWidth, top + rowHeights_[row]};
}

TColor TDVColorGrid::ChosenColor() const {
  if (indeterminate_ || row_ == 0) return firstColor_;
  return Colors[(row_ - 1) * PaletteColumns + col_].Color;
}

void TDVColorGrid::SetChosenColor(TColor value) {
  if (value == firstColor_) {
    SelectCell(col_, 0);
    return;
  }
  const int index = PaletteIndexOf(value);
  if (index < 0) {
    SetIndeterminate(true);
    return;
  }
  SelectCell(index % PaletteColumns, index / PaletteColumns + 1);
}

std::string TDVColorGrid::GetColorName() const {
  if (indeterminate_) return {};
  if (row_ == 0) return firstCaption_;
  return std::string(Colors[(row_ - 1) * PaletteColumns + col_].Name);
}

void TDVColorGrid::SelectCell(int col, int row) {
  col_ = col;
  row_ = row;
  indeterminate_ = false;
  Invalidate();
  // The event comes once the selection has settled, as a posted message
  // would; a grid gone by then takes its widget, and the call, with it.
  QMetaObject::invokeMethod(
      ClientWidget(),
      [this] {
        if (OnColorChange) OnColorChange(*this);
      },
      Qt::QueuedConnection);
}

bool TDVColorGrid::CellChosen(int col, int row) const {
  if (indeterminate_) return false;
  return row == 0 ? row_ == 0 : row_ == row && col_ == col;
}

void TDVColorGrid::Paint(TCanvas& canvas) {
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clWindow;
  canvas.FillRect(ClientRect());
  DrawCell(canvas, 0, 0);
  for (int row = 1; row < RowCount; ++row)
    for (int col = 0; col < ColCount; ++col) DrawCell(canvas, col, row);
}

void TDVColorGrid::DrawCell(TCanvas& canvas, int col, int row) {
  TRect r = CellRect(col, row);
  canvas.Brush().Style = bsSolid;
  if (row == 0) {
    canvas.Brush().Color = clWindow;
    canvas.FillRect(r);
    TRect caption = r;
    if (firstColor_ != clNone) {
      const int side = r.Height() - 6;
      canvas.Brush().Color = firstColor_;
      canvas.FillRect(Bounds(r.Left + 3, r.Top + 3, side, side));
      caption.Left += 19;
    }
    const std::u16string text = QString::fromStdString(firstCaption_).toStdU16String();
    canvas.Font() = Font;
    canvas.Font().Color = clWindowText;
    canvas.SetBkMode(bkTransparent);
    const TSize extent = canvas.TextExtentW(text);
    canvas.TextOutW(caption.Left + (caption.Width() - extent.cx) / 2, caption.Top + (caption.Height() - extent.cy) / 2,
                    text);
  } else {
    canvas.Brush().Color = Colors[(row - 1) * PaletteColumns + col].Color;
    canvas.FillRect(r);
  }
  if (CellChosen(col, row)) {
    FrameRect(canvas, r, clHighlight);
    InflateRect(r, -1, -1);
    FrameRect(canvas, r, clHighlight);
    InflateRect(r, -1, -1);
    FrameRect(canvas, r, clWindow);
  } else if (flat_) {
    FrameRect(canvas, r, clWindow);
  } else {
    DrawSunkenEdge(canvas, r);
  }
}

void TDVColorGrid::MouseDown(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (CanFocus()) SetFocus();
  if (button != mbLeft || x < 0 || y < 0) return;
  // A cell owns the line after it.
  int row = 0, bottom = 0;
  for (; row < RowCount; ++row) {
    bottom += rowHeights_[row] + kGap;
    if (y < bottom) break;
  }
  const int col = x / (DefaultColWidth + kGap);
  if (row >= RowCount || (row > 0 && col >= ColCount)) return;
  SelectCell(row == 0 ? col_ : col, row);
}

void TDVColorGrid::KeyDown(TKey& key, TShiftState) {
  int col = col_, row = row_;
  switch (key) {
    case VK_LEFT: col = row == 0 ? col : col - 1; break;
    case VK_RIGHT: col = row == 0 ? col : col + 1; break;
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    default: return;
  }
  key = 0;
  if (col < 0 || col >= ColCount || row < 0 || row >= RowCount || (col == col_ && row == row_)) return;
  SelectCell(col, row);
}

void TDVColorGrid::Resize() {
  const int width = (DefaultColWidth + kGap) * ColCount;
  const int height = rowHeights_[0] + (DefaultRowHeight + kGap) * (RowCount - 1) + 1;
  if (Width() != width || Height() != height) SetBounds(Left(), Top(), width, height);
}

}  // namespace quillet
