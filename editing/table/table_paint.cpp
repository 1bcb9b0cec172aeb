// Table painting: background, rules, the outer border, then each visible
// cell with its fill, content and border. Invisible borders of a table in
// an editor show as grid lines.
#include <algorithm>

#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

bool Intersects(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// One painting of a table: the canvas, the clip and the table's origin.
struct TTablePaint {
  const TDVTableItemInfo& T;
  const TDVTableItemFormattingInfo& F;  // the layout painted
  TCanvas& Canvas;
  TRect Clip;
  int32_t X, Y;
  bool Printing;
  bool Grid;  // invisible borders shown as grid lines
  TColor SelColor;
  bool AllSelected;
  // The rows painted, and the frame's top and bottom around them.
  int FirstRow, LastRow;
  int32_t FrameTop, FrameBottom;

  TRect CellRect(int row, int col, const TDVTableCellData& cell) const {
    if (F.Places) {
      TRect r = F.Places->CellRect(row, col);
      return Rect(X + r.Left, Y + r.Top, X + r.Right, Y + r.Bottom);
    }
    return Rect(X + cell.Left, Y + cell.Top, X + cell.Left + cell.Width, Y + cell.Top + cell.Height);
  }

  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Canvas.MoveTo(x1, y1);
    Canvas.LineTo(x2, y2);
  }

  // A rule `width` pixels wide centred on x (or y), as 1-pixel lines.
  void VRule(int32_t x, int32_t top, int32_t bottom, int32_t width) {
    top = std::max(top, Clip.Top - 1);
    bottom = std::min(bottom, Clip.Bottom + 1);
    for (int32_t i = 0; i < width; ++i) Line(x - width / 2 + i, top, x - width / 2 + i, bottom);
  }
  void HRule(int32_t y, int32_t left, int32_t right, int32_t width) {
    for (int32_t i = 0; i < width; ++i) Line(left, y - width / 2 + i, right, y - width / 2 + i);
  }

  void GridSides(const TRect& r, const TDVBooleanRect& sides) {
    Canvas.Pen() = TPen{clBtnFace, 1, DocViewTableGridStyle, pmCopy};
    Canvas.Brush().Style = bsClear;
    if (!sides.Left && !sides.Top && !sides.Right && !sides.Bottom) {
      Canvas.Rectangle(r);
      return;
    }
    if (!sides.Top) Line(r.Left, r.Top, r.Right, r.Top);
    if (!sides.Right) Line(r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    if (!sides.Left) Line(r.Left, r.Top, r.Left, r.Bottom);
    if (!sides.Bottom) Line(r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  }

  // Nested 1-pixel lines of the visible sides, moving inwards: top and
  // left in upper, bottom and right in lower.
  void NestedSides(const TRect& r, const TDVBooleanRect& sides, int32_t width, TColor upper, TColor lower) {
    if (Printing && (T.PrintOptions & dvtoHalftoneBorders)) {
      MiddleSides(r, sides, width, upper, lower);
      return;
    }
    Canvas.Pen() = TPen{upper, 1, psSolid, pmCopy};
    for (int32_t i = 0; i < width; ++i) {
      if (sides.Top) Line(r.Left + i, r.Top + i, r.Right - i, r.Top + i);
      if (sides.Left) Line(r.Left + i, r.Top + i, r.Left + i, r.Bottom - i);
    }
    Canvas.Pen().Color = lower;
    for (int32_t i = 0; i < width; ++i) {
      if (sides.Right) Line(r.Right - 1 - i, r.Top + i, r.Right - 1 - i, r.Bottom - i);
      if (sides.Bottom) Line(r.Left + i, r.Bottom - 1 - i, r.Right - i, r.Bottom - 1 - i);
    }
  }

  // A colour border with a hidden side: nested 1-pixel lines of the
  // visible sides, top, right, left, bottom. Each nested line stops where
  // the next inner one starts (the corners meet on a diagonal), or, with
  // dvtoOverlappingCorners, runs the whole side so the sides overlap there.
  void ColorSides(const TRect& r, const TDVBooleanRect& sides, int32_t width, TColor color) {
    if (Printing && (T.PrintOptions & dvtoHalftoneBorders)) {
      MiddleSides(r, sides, width, color, color);
      return;
    }
    const bool overlap = (T.Options & dvtoOverlappingCorners) != 0;
    Canvas.Pen() = TPen{color, 1, psSolid, pmCopy};
    for (int32_t i = 0; i < width; ++i) {
      const int32_t in = overlap ? 0 : i;
      if (sides.Top) Line(r.Left + in, r.Top + i, r.Right - in, r.Top + i);
      if (sides.Right) Line(r.Right - 1 - i, r.Top + in, r.Right - 1 - i, r.Bottom - in);
      if (sides.Left) Line(r.Left + i, r.Top + in, r.Left + i, r.Bottom - in);
      if (sides.Bottom) Line(r.Left + in, r.Bottom - 1 - i, r.Right - in, r.Bottom - 1 - i);
    }
  }

  // On paper with halftone borders: one line as wide as the border along
  // the middle of each visible side.
  void MiddleSides(const TRect& r, const TDVBooleanRect& sides, int32_t width, TColor upper, TColor lower) {
    const int32_t h = width / 2;
    Canvas.Pen() = TPen{upper, width, psSolid, pmCopy};
    if (sides.Top) Line(r.Left, r.Top + h, r.Right, r.Top + h);
    if (sides.Left) Line(r.Left + h, r.Top, r.Left + h, r.Bottom);
    Canvas.Pen().Color = lower;
    if (sides.Right) Line(r.Right - 1 - h, r.Top, r.Right - 1 - h, r.Bottom);
    if (sides.Bottom) Line(r.Left, r.Bottom - 1 - h, r.Right, r.Bottom - 1 - h);
  }

  void Border(const TDVBooleanRect& sides, const TRect& r, int32_t width, TColor color, TColor lightColor,
              TDVTableBorderStyle style, int row, int col) {
    if (!Intersects(r, Clip)) return;
    if (T.OnDrawBorder) {
      bool doDefault = true;
      T.OnDrawBorder(const_cast<TDVTableItemInfo&>(T), Canvas, r.Left, r.Top, r.Right, r.Bottom, width, lightColor,
                     color, T.Color, style, Printing, sides, row, col, doDefault);
      if (!doDefault) return;
    }
    const bool grid = Grid && !Printing && DocViewTableGridStyle != psClear;
    if (width == 0) {
      if (grid) GridSides(r, TDVBooleanRect(false));
      return;
    }
    if (grid && !(sides.Left && sides.Top && sides.Right && sides.Bottom)) GridSides(r, sides);
    const int32_t w = T.GetDevY(width);
    // The highlight falls back to the button face when it would vanish
    // against the table's background.
    const TColor highlight = T.Color == clBtnHighlight ? clBtnFace : clBtnHighlight;
    switch (style) {
      case dvtbRaised:
        NestedSides(r, sides, w, highlight, clBtnShadow);
        break;
      case dvtbLowered:
        NestedSides(r, sides, w, clBtnShadow, highlight);
        break;
      case dvtbRaisedColor:
        NestedSides(r, sides, w, lightColor, color);
        break;
      case dvtbLoweredColor:
        NestedSides(r, sides, w, color, lightColor);
        break;
      case dvtbColor:
        if (color == clNone) break;
        if (sides.Left && sides.Top && sides.Right && sides.Bottom &&
            !(Printing && (T.PrintOptions & dvtoHalftoneBorders))) {
          Canvas.Pen() = TPen{color, w, psInsideFrame, pmCopy};
          Canvas.Brush().Style = bsClear;
          Canvas.Rectangle(r);
        } else {
          ColorSides(r, sides, w, color);
        }
        break;
    }
  }

  void Cell(int row, int col) {
    const TDVTableCellData* cell = T.GetCells(row, col);
    const TRect r = CellRect(row, col, *cell);
    TColor fill = cell->Color;
    // On paper a cell keeps its own colours, selected or not.
    if (!Printing && (AllSelected || T.IsCellSelected(row, col))) fill = SelColor;
    if (Printing && (T.PrintOptions & dvtoWhiteBackground) && fill != clNone) fill = clWhite;
    if (fill != clNone) {
      TRect f = r;
      if (T.Options & dvtoCellBelowBorders) {
        const int32_t b = T.CellBorderWidth;
        f = Rect(f.Left - b, f.Top - b, f.Right + b, f.Bottom + b);
      }
      Canvas.Brush() = TBrush{fill, bsSolid};
      Canvas.FillRect(f);
    }
    if (F.Places) {
      F.Places->PaintContent(row, col, Canvas, r.Left, r.Top);
    } else {
      const int32_t pad = T.GetDevX(T.CellPadding);
      const int32_t cx = r.Left + pad, cy = r.Top + pad + std::max(cell->GetExtraVOffs(), 0);
      const_cast<TDVTableCellData*>(cell)->PaintTo(Canvas, Rect(-cx, -cy, Clip.Right - cx, Clip.Bottom - cy));
    }
    Border(cell->VisibleBorders, r, T.CellBorderWidth, cell->BorderColor != clNone ? cell->BorderColor : T.CellBorderColor,
           cell->BorderLightColor != clNone ? cell->BorderLightColor : T.CellBorderLightColor, T.CellBorderStyle, row,
           col);
  }

  int32_t RowBottom(int r) const {
    const auto& f = F;
    return Y + f.RowStarts[static_cast<size_t>(r)] + f.RowHeights[static_cast<size_t>(r)] + T.GetDevY(2 * T.CellPadding);
  }
  int32_t ColRight(int c) const {
    const auto& f = F;
    return X + f.ColStarts[static_cast<size_t>(c)] + f.ColWidths[static_cast<size_t>(c)] + T.GetDevX(2 * T.CellPadding);
  }

  void Rules(const TRect& table) {
    const auto& f = F;
    const int cols = static_cast<int>(f.ColStarts.size());
    if (T.VRuleWidth != 0 && T.VRuleColor != clNone) {
      Canvas.Pen() = TPen{T.VRuleColor, 1, psSolid, pmCopy};
      const int32_t w = T.GetDevX(T.VRuleWidth);
      const bool shorten = T.HRuleWidth != 0 && T.HRuleColor != clNone && T.HOutermostRule;
      const int32_t top = table.Top + (shorten ? T.GetDevY(T.HRuleWidth) : 0);
      const int32_t bottom = table.Bottom - (shorten ? T.GetDevY(T.HRuleWidth) : 0);
      if (T.VOutermostRule) VRule(table.Left + w / 2, top, bottom, w);
      for (int c = 0; c + 1 < cols; ++c) {
        const int32_t x = (ColRight(c) + X + f.ColStarts[static_cast<size_t>(c + 1)]) / 2;
        if (x > Clip.Right) break;
        if (x >= Clip.Left - w) VRule(x, top, bottom, w);
      }
      if (T.VOutermostRule) VRule(table.Right - 1 - (w - 1) / 2, top, bottom, w);
    }
    if (T.HRuleWidth != 0 && T.HRuleColor != clNone) {
      Canvas.Pen() = TPen{T.HRuleColor, 1, psSolid, pmCopy};
      const int32_t w = T.GetDevY(T.HRuleWidth);
      if (T.HOutermostRule) HRule(table.Top + w / 2, table.Left, table.Right, w);
      for (int r = FirstRow; r < LastRow; ++r) {
        const int32_t y = (RowBottom(r) + Y + f.RowStarts[static_cast<size_t>(r + 1)]) / 2;
        if (y > Clip.Bottom) break;
        if (y >= Clip.Top - w) HRule(y, table.Left, table.Right, w);
      }
      if (T.HOutermostRule) HRule(table.Bottom - 1 - (w - 1) / 2, table.Left, table.Right, w);
    }
  }

  void Run() {
    const TRect table = Rect(X, FrameTop, X + F.Width, FrameBottom);
    const bool white = Printing && (T.PrintOptions & dvtoWhiteBackground);
    if (T.Color != clNone) {
      const TRect f = Rect(std::max(table.Left, Clip.Left), std::max(table.Top, Clip.Top),
                           std::min(table.Right, Clip.Right), std::min(table.Bottom, Clip.Bottom));
      if (f.Left < f.Right && f.Top < f.Bottom) {
        Canvas.Brush() = TBrush{white ? clWhite : T.Color, bsSolid};
        Canvas.FillRect(f);
      }
    }
    // An empty table has only its background and border.
    const bool laidOut = !T.Rows.Empty() && static_cast<int>(F.RowStarts.size()) == T.Rows.Count() &&
                         static_cast<int>(F.ColStarts.size()) == T.Rows.GetColCount() && FirstRow <= LastRow;
    if (laidOut) Rules(table);
    Border(TDVBooleanRect(true), table, T.BorderWidth, T.BorderColor, T.BorderLightColor, T.BorderStyle, -1, -1);
    if (!laidOut) return;
    const int rows = LastRow + 1, cols = T.Rows.GetColCount();
    int first = FirstRow;
    while (first < rows - 1 && RowBottom(first) < Clip.Top) ++first;
    // Merged cells from above that reach into the first visible row.
    for (int r = FirstRow; r < first; ++r)
      for (int c = 0; c < cols; ++c)
        if (const TDVTableCellData* cell = T.GetCells(r, c); cell && r + cell->RowSpan > first) Cell(r, c);
    for (int r = first; r < rows; ++r) {
      if (Y + F.RowStarts[static_cast<size_t>(r)] > Clip.Bottom) break;
      for (int c = 0; c < cols; ++c) {
        if (X + F.ColStarts[static_cast<size_t>(c)] > Clip.Right) break;
        if (T.GetCells(r, c)) Cell(r, c);
      }
    }
  }
};

}  // namespace

bool TDVTableItemInfo::IsCellSelected(int row, int col) const {
  if (SelStartRow < 0 || SelStartCol < 0) return false;
  const int r1 = std::min(SelStartRow, SelStartRow + SelRowOffs), r2 = std::max(SelStartRow, SelStartRow + SelRowOffs);
  const int c1 = std::min(SelStartCol, SelStartCol + SelColOffs), c2 = std::max(SelStartCol, SelStartCol + SelColOffs);
  return row >= r1 && row <= r2 && col >= c1 && col <= c2;
}

void TDVTableItemInfo::PaintTo(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState,
                               const TDVStyle* dvStyle, const TRect& clipRect, bool printing) const {
  PaintRows(Fmt, 0, Rows.Count() - 1, x, y, y, Fmt.Height, canvas, drawState, dvStyle, clipRect, printing);
}

void TDVTableItemInfo::PaintRows(const TDVTableItemFormattingInfo& fmt, int firstRow, int lastRow, int32_t x,
                                 int32_t y, int32_t frameTop, int32_t frameHeight, TCanvas& canvas,
                                 TDVItemDrawStates drawState, const TDVStyle* dvStyle, const TRect& clipRect,
                                 bool printing) const {
  const bool focused = (drawState & dvidsControlFocused) != 0;
  const TColor sel = dvStyle ? (focused ? dvStyle->SelColor : dvStyle->InactiveSelColor) : clHighlight;
  const bool grid = inEditor_ && !(Options & dvtoHideGridLines);
  TTablePaint paint{*this,    fmt,     canvas,   clipRect, x,        y,
                    printing, grid,    sel,      (drawState & dvidsSelected) != 0,
                    firstRow, lastRow, frameTop, Clamp32(int64_t{frameTop} + frameHeight)};
  paint.Run();
}

void TDVTableItemInfo::PaintFullWidth(int32_t left, int32_t, int32_t top, TCanvas& canvas,
                                      TDVItemDrawStates drawState, const TDVStyle* dvStyle, const TRect& clipRect,
                                      const TDVDrawLineInfo*) const {
  PaintTo(left, top, canvas, drawState, dvStyle, clipRect, (drawState & dvidsPrinting) != 0);
}

}  // namespace quillet
