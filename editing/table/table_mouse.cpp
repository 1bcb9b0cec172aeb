// The table under the mouse: cell selections, rule drags that resize
// columns and rows, and whole rows or columns selected from the border
// zones.
#include <algorithm>
#include <utility>

#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"
#include "platform/core/cursors.h"

namespace quillet {

bool TDVTableItemInfo::DoOnCellEditing(int row, int col, bool automatic) {
  bool allow = true;
  if (OnCellEditing) OnCellEditing(*this, row, col, automatic, allow);
  return allow;
}

bool TDVTableItemInfo::StartSelecting(int row, int col, TCustomDVFormattedData& data) {
  if (!(data.GetOptions() & dvoAllowSelection)) return false;
  Select(row, col, 0, 0);
  selectingByMouse_ = true;
  data.SetMouseCapture(this, pressLeft_, pressTop_);
  return true;
}

bool TDVTableItemInfo::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y, int itemNo,
                                 TCustomDVData* dvData) {
  auto* data = dynamic_cast<TCustomDVFormattedData*>(dvData);
  if (!data || Rows.Empty()) return false;
  int row = -1, col = -1;
  if (GetCellAt(x, y, row, col)) {
    // A right click keeps the cells it falls in, so that a menu acts on them.
    if (button == mbRight && IsCellSelected(row, col)) return true;
    if ((button == mbLeft || button == mbRight) && inserted_ && inEditor_ && (Options & dvtoEditing)) {
      CreateInplace(itemNo, row, col, false, false, false);
      if (inplace_ && inplace_->Row() == row && inplace_->Col() == col) {
        const TDVTableCellData& cell = *inplace_->Cell();
        inplace_->PassMouseDown(button, shift, x - cell.Left, y - cell.Top - cell.GetExtraVOffs());
        // The release and the moves between come to the table, which passes
        // them on while they stay in the cell; a drag out of it selects cells.
        if (button == mbLeft) {
          inplaceClick_ = true;
          if (!StartSelecting(row, col, *data)) data->SetMouseCapture(this, pressLeft_, pressTop_);
        }
        return true;
      }
    }
    data->UnassignChosenDVData(data->GetChosenDVData());
    ChooseSubDVData_(row, col);
    if (button == mbLeft) StartSelecting(row, col, *data);
    return true;
  }
  const bool inEditor = inserted_ && inEditor_;
  const bool sizeCols = inEditor && (Options & dvtoColSizing), sizeRows = inEditor && (Options & dvtoRowSizing);
  if (button != mbLeft || !(Options & (dvtoRowSizing | dvtoColSizing | dvtoRowSelect | dvtoColSelect))) {
    data->Deselect(nullptr, true);
    return true;
  }
  int32_t minX = -1, ruleX = -1, minY = -1, ruleY = -1;
  const int colRule = sizeCols || (Options & dvtoColSelect) ? GetVerticalRuleNo(x, minX, ruleX) : -1;
  const int rowRule =
      colRule > 0 && sizeCols ? -1 : sizeRows || (Options & dvtoRowSelect) ? GetHorizontalRuleNo(y, minY, ruleY) : -1;
  auto startDrag = [&](int rule, bool column, int32_t min, int32_t offs) {
    dragRule_ = rule;
    dragColumn_ = column;
    dragMin_ = min;
    dragOffs_ = offs;
    dragShift_ = (shift & ssShift) != 0;
    data->SetMouseCapture(this, pressLeft_, pressTop_);
    data->AssignXorDrawing(&ruleDrawer_);
  };
  if (colRule > 0 && sizeCols) {
    startDrag(colRule, true, minX, ruleX - x);
  } else if (rowRule > 0 && sizeRows) {
    startDrag(rowRule, false, minY, ruleY - y);
  } else if (rowRule == 0 && (Options & dvtoColSelect)) {
    // Over a gap between columns or a corner there is no column to take.
    if (const int c = GetColNo(x); c >= 0) {
      SelectCols(c, 1);
      data->SetMouseCapture(this, pressLeft_, pressTop_);
    }
  } else if (colRule == 0 && (Options & dvtoRowSelect)) {
    if (const int r = GetRowNo(y); r >= 0) {
      SelectRows(r, 1);
      data->SetMouseCapture(this, pressLeft_, pressTop_);
    }
  }
  return true;
}

bool TDVTableItemInfo::MouseMove(TShiftState shift, int32_t x, int32_t y, int /*itemNo*/, TCustomDVData* dvData) {
  auto* data = dynamic_cast<TCustomDVFormattedData*>(dvData);
  if (!data || Rows.Empty()) return false;
  if (inplaceClick_ && inplace_) {
    int row = -1, col = -1;
    if (!selectingByMouse_ || (GetCellAt(x, y, row, col) && row == inplace_->Row() && col == inplace_->Col())) {
      const TDVTableCellData& cell = *inplace_->Cell();
      inplace_->PassMouseMove(shift, x - cell.Left, y - cell.Top - cell.GetExtraVOffs());
      return true;
    }
    // The selection now reaches other cells: it replaces the editing.
    inplaceClick_ = false;
    DestroyInplace();
  }
  // The document draws the line through the rule drawer.
  if (dragRule_ >= 0) return true;
  if (selectingByMouse_) {
    int row = -1, col = -1;
    if (!GetCellAt(x, y, row, col)) {
      row = GetCrossed(y, Fmt.RowStarts);
      col = GetCrossed(x, Fmt.ColStarts);
    }
    if (row != SelStartRow + SelRowOffs || col != SelStartCol + SelColOffs)
      Select(SelStartRow, SelStartCol, row - SelStartRow, col - SelStartCol);
    return true;
  }
  const bool inEditor = inserted_ && inEditor_;
  const bool selection = (data->GetOptions() & dvoAllowSelection) != 0;
  int32_t minC = 0, ruleC = 0;
  const int colRule = GetVerticalRuleNo(x, minC, ruleC), rowRule = GetHorizontalRuleNo(y, minC, ruleC);
  int row = -1, col = -1;
  TCursor cursor = crDefault;
  if (colRule == 0 && (Options & dvtoRowSelect) && selection)
    cursor = crDVSelectRow;
  else if (colRule > 0 && inEditor && (Options & dvtoColSizing))
    cursor = crHSplit;
  else if (rowRule == 0 && (Options & dvtoColSelect) && selection)
    cursor = crDVSelectCol;
  else if (rowRule > 0 && inEditor && (Options & dvtoRowSizing))
    cursor = crVSplit;
  else if (GetCellAt(x, y, row, col))
    return false;  // the document's own cursor over text
  data->SetCursor(cursor);
  return true;
}

bool TDVTableItemInfo::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y, int itemNo,
                               TCustomDVData* dvData) {
  auto* data = dynamic_cast<TCustomDVFormattedData*>(dvData);
  if (!data) return false;
  if (button == mbLeft && std::exchange(inplaceClick_, false)) {
    selectingByMouse_ = false;
    data->ReleaseMouseCapture(this);
    if (inplace_) {
      const TDVTableCellData& cell = *inplace_->Cell();
      inplace_->PassMouseUp(button, shift, x - cell.Left, y - cell.Top - cell.GetExtraVOffs());
    }
    return true;
  }
  if (button == mbLeft && dragRule_ >= 0) {
    data->UnAssignXorDrawing(&ruleDrawer_);
    data->ReleaseMouseCapture(this);
    const int rule = dragRule_;
    dragRule_ = -1;
    const int32_t pos = std::max<int32_t>(Clamp32(int64_t{dragColumn_ ? x : y} + dragOffs_), dragMin_);
    if (dragColumn_)
      DropColumnRule(rule, pos, dragShift_);
    else
      DropRowRule(rule, pos);
    return true;
  }
  if (button == mbLeft) {
    const bool had = selectingByMouse_ || data->FCaptureMouseItem == this;
    selectingByMouse_ = false;
    data->ReleaseMouseCapture(this);
    return had;
  }
  int row = -1, col = -1;
  if (button == mbRight && GetCellAt(x, y, row, col) && !IsCellSelected(row, col) &&
      !(row == ChosenRow && col == ChosenCol) && (data->GetOptions() & dvoRClickDeselects)) {
    // The document's selection moves onto the table.
    data->SetSelectionBounds(itemNo, 0, itemNo, 0);
    return true;
  }
  return false;
}

// ---- rule drags ----

int32_t TDVTableItemInfo::DraggedRuleClientPos(const TCustomDVFormattedData& data, int32_t x, int32_t y) const {
  if (dragRule_ < 0) return -1;
  if (dragColumn_)
    return std::max(Clamp32(int64_t{x} + dragOffs_), Clamp32(int64_t{dragMin_} + pressLeft_ - data.GetZHOffs()));
  return std::max(Clamp32(int64_t{y} + dragOffs_), Clamp32(int64_t{dragMin_} + pressTop_ - data.GetZVOffs()));
}

void TDVTableRuleDrawer::XorDraw(TCustomDVFormattedData& sender, TShiftState /*shift*/, int32_t /*x*/,
                                 int32_t /*y*/) {
  // The paint pass draws the line; each toggle repaints the window.
  sender.Invalidate();
}

void TDVTableRuleDrawer::Paint(TCustomDVFormattedData& sender, TCanvas& canvas, int32_t x, int32_t y) {
  if (!table_.DraggingRule()) return;
  const int32_t pos = table_.DraggedRuleClientPos(sender, x, y);
  canvas.Pen() = TPen{clBlack, 1, psDashDotDot, pmNot};
  canvas.Brush().Style = bsClear;
  if (table_.DraggingColumnRule()) {
    canvas.MoveTo(pos, 0);
    canvas.LineTo(pos, sender.GetHeight());
  } else {
    canvas.MoveTo(0, pos);
    canvas.LineTo(sender.GetWidth(), pos);
  }
  canvas.Pen().Mode = pmCopy;
}

namespace {

// A pixel width as a percent of the room the columns share (at most -1).
int32_t PercentOf(int32_t width, int32_t room) {
  return std::min<int32_t>(-1, Clamp32(-(int64_t{width} * 100) / room));
}

}  // namespace

void TDVTableItemInfo::DropColumnRule(int rule, int32_t pos, bool noNeighbour) {
  const int cols = Rows.GetColCount();
  if (rule < 1 || rule > cols || static_cast<int>(Fmt.ColWidths.size()) != cols) return;
  TDVEditDVData* data = EditData();
  if (data && !data->Editor().BeforeChange(false)) return;
  const int col = rule - 1;
  const int32_t padding = GetDevX(2 * CellPadding);
  const int32_t room = Fmt.Width - GetHorzExtra();
  const int32_t width = std::max<int32_t>(1, Clamp32(int64_t{pos} - Fmt.ColStarts[static_cast<size_t>(col)] - padding -
                                                     GetDevX(CellBorderWidth) - GetDevX(CellHSpacing) / 2));
  std::vector<TCellValue> values;
  // The cells of column c take width w; cells spanning into it from the
  // left change by the same amount as the column.
  auto size = [&](int c, int32_t w) {
    const int32_t delta = w - Fmt.ColWidths[static_cast<size_t>(c)];
    const bool percent = Rows.IsPercentWidthColumn(c) && room > 0;
    for (int r = 0; r < Rows.Count(); ++r)
      for (int k = 0; k <= c; ++k) {
        const TDVTableCellData* cell = Rows.CellAt(r, k);
        if (!cell || k + cell->ColSpan - 1 != c) continue;
        const int32_t own = cell->ColSpan == 1 ? w : std::max<int32_t>(1, Clamp32(int64_t{cell->Width} - padding + delta));
        values.push_back({r, k, percent ? PercentOf(own, room) : own});
      }
  };
  size(col, width);
  if (!noNeighbour && rule < cols && !Rows.IsPercentWidthColumn(col + 1) && !Rows.IsPercentWidthColumn(col)) {
    // The rule after the next column stays where it is.
    const int32_t next = Fmt.ColWidths[static_cast<size_t>(col + 1)];
    size(col + 1, std::max<int32_t>(1, Clamp32(int64_t{next} - (width - Fmt.ColWidths[static_cast<size_t>(col)]))));
  }
  SetCellsProperty("BestWidth", values);
}

void TDVTableItemInfo::DropRowRule(int rule, int32_t pos) {
  const int rows = Rows.Count();
  if (rule < 1 || rule > rows || static_cast<int>(Fmt.RowStarts.size()) != rows) return;
  TDVEditDVData* data = EditData();
  if (data && !data->Editor().BeforeChange(false)) return;
  const int row = rule - 1;
  const int32_t height = std::max<int32_t>(
      1, Clamp32(int64_t{pos} - Fmt.RowStarts[static_cast<size_t>(row)] - GetDevY(2 * CellPadding) -
                 GetDevY(CellBorderWidth) - GetDevY(CellVSpacing) / 2));
  std::vector<TCellValue> values;
  for (int c = 0; c < Rows[row]->Count(); ++c)
    if (const TDVTableCellData* cell = Rows.CellAt(row, c); cell && cell->RowSpan == 1)
      values.push_back({row, c, height});
  SetCellsProperty("BestHeight", values);
}

}  // namespace quillet
