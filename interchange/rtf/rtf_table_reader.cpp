#include "interchange/rtf/rtf_table_reader.h"

#include <algorithm>
#include <cmath>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "editing/table/table_rows.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_info.h"

namespace quillet {

namespace {

constexpr TDVRTFSide kSides[] = {rtf_side_Left, rtf_side_Top, rtf_side_Right, rtf_side_Bottom};

int32_t Round(double value) {
  return static_cast<int32_t>(std::clamp(std::nearbyint(value), double{INT32_MIN}, double{INT32_MAX}));
}

// The colour of the first of two sides that has a type and a colour.
TColor SideColor(const TDVRTFParaBorder& border, TDVRTFSide first, TDVRTFSide second) {
  for (TDVRTFSide side : {first, second})
    if (const TDVRTFBorderSide* s = border.TypedSide(side); s && s->Color != clNone) return s->Color;
  return clNone;
}

// The wider of two table widths: a percentage beats twips, the larger
// percentage the smaller one.
int32_t WiderWidth(int32_t stored, int32_t width) {
  if (stored < 0 || width < 0) return std::min(stored, width);
  return std::max(stored, width);
}

bool& Side(TDVBooleanRect& rect, TDVRTFSide side) {
  switch (side) {
    case rtf_side_Left: return rect.Left;
    case rtf_side_Top: return rect.Top;
    case rtf_side_Right: return rect.Right;
    default: return rect.Bottom;
  }
}

}  // namespace

TTableInfo::TTableInfo() = default;
TTableInfo::~TTableInfo() = default;

void TTableInfo::AssignRowProperties(const TDVRTFRowProperties& row, int r) {
  const auto& use = row.UseSpacing;
  const auto& spacing = row.SpacingTw;
  if (use[rtf_side_Top]) (r > 0 ? VSpacingTw : VBorderSpacing1Tw) += spacing[rtf_side_Top];
  // The gap above a row is its top spacing and the bottom spacing of the row above.
  if (r > 0) VSpacingTw += VBorderSpacing2Tw;
  UseHSpacing |= use[rtf_side_Left] || use[rtf_side_Right];
  UseVSpacing |= use[rtf_side_Top] || use[rtf_side_Bottom];
  if (use[rtf_side_Bottom]) VBorderSpacing2Tw = spacing[rtf_side_Bottom];
  for (TDVRTFSide side : {rtf_side_Left, rtf_side_Right}) {
    if (use[side])
      HSpacingTw += spacing[side];
    else if (row.UsePadding[side])
      HSpacingTw += int64_t{row.GapHTw} - row.PaddingTw[side];
  }
  for (TDVRTFSide side : kSides) {
    if (const TDVRTFBorderSide* border = row.Border.TypedSide(side)) {
      BorderWidthTw += border->WidthTw;
      ++BorderCount;
    }
    if (row.UsePadding[side]) CellPaddingTw += row.PaddingTw[side];
    ++CellPaddingCount;
  }
  if (row.DocViewSpecial) {
    BestWidth = row.BestWidth;
    DocViewSpecial = true;
  } else {
    BestWidth = WiderWidth(BestWidth, row.BestWidth);
  }
  if (const TColor light = SideColor(row.Border, rtf_side_Left, rtf_side_Top); light != clNone)
    BorderLightColor = light;
  if (const TColor dark = SideColor(row.Border, rtf_side_Right, rtf_side_Bottom); dark != clNone) BorderColor = dark;
  CellWidthsGiven |= row.CellWidthsGiven;
  Rows.push_back({row, CellWidthsGiven});
  RowFinished = true;
}

void TTableInfo::AssignCellProperties(TDVTableCellData& cell, const TDVRTFCellProperties& props, const TRow& row,
                                      int from, int to, double k) {
  cell.Color = props.Color;
  if (row.Props.DocViewSpecial)
    cell.BestHeight = props.BestHeight;
  else if (row.Props.HeightTw > 0)
    cell.BestHeight = Round(row.Props.HeightTw * k);
  for (TDVRTFSide side : kSides) {
    const TDVRTFBorderSide* border = props.Border.TypedSide(side);
    if (border) {
      CellBorderWidthTw += border->WidthTw;
      ++CellBorderCount;
    }
    Side(cell.VisibleBorders, side) = border != nullptr;
  }
  cell.BorderColor = SideColor(props.Border, rtf_side_Left, rtf_side_Top);
  cell.BorderLightColor = SideColor(props.Border, rtf_side_Right, rtf_side_Bottom);
  CellFlatBorder = CellFlatBorder && (cell.BorderColor == cell.BorderLightColor || cell.BorderColor == clNone ||
                                      cell.BorderLightColor == clNone);
  if (row.Props.DocViewSpecial)
    cell.BestWidth = props.BestWidth;
  else if (row.CellWidthsGiven)
    cell.BestWidth = props.BestWidth > 0 ? Round(props.BestWidth * k) : props.BestWidth / 50;
  else
    cell.BestWidth = Round(static_cast<double>(Grid.Lines()[to] - Grid.Lines()[from]) * k);
  switch (props.VAlign) {
    case rtf_val_Top: cell.VAlign = dvcTop; break;
    case rtf_val_Center: cell.VAlign = dvcMiddle; break;
    case rtf_val_Bottom: cell.VAlign = dvcBottom; break;
  }
}

void TTableInfo::Finalize(TDVTableItemInfo& table, const TDVRTFTableSettings& settings, int32_t emptyStyleNo,
                          int32_t emptyParaNo, double k) const {
  table.BorderColor = BorderColor;
  table.BorderLightColor = BorderLightColor;
  if (CellFlatBorder) table.CellBorderStyle = dvtbColor;
  if (table.BorderColor == table.BorderLightColor) table.BorderStyle = dvtbColor;
  table.CellPadding = CellPaddingCount > 0 ? Round(CellPaddingTw * k / CellPaddingCount) : 0;

  TDVTableRows& rows = table.Rows;
  const int rowCount = rows.Count(), colCount = rows.GetColCount();
  for (int r = 0; r < rowCount; ++r)
    for (int c = 0; c < colCount; ++c) {
      TDVTableCellData* cell = rows.CellAt(r, c);
      if (!cell) continue;
      // The cell's width in RTF includes its padding.
      if (!DocViewSpecial && cell->BestWidth > 2 * table.CellPadding) cell->BestWidth -= 2 * table.CellPadding;
      if (cell->ItemCount() == 0) cell->AddNL(std::string(), emptyStyleNo, emptyParaNo);
    }

  // Touching cells would draw their shared border twice.
  const bool negative = settings.GlueMode == dvbgNegativeSpacing;
  if (!(UseVSpacing && (UseHSpacing || negative)))
    for (int r = 0; r < rowCount; ++r)
      for (int c = 0; c < colCount; ++c) {
        TDVTableCellData* cell = rows.CellAt(r, c);
        if (!cell) continue;
        int mr, mc;
        if (!UseHSpacing && c > 0 && rows.GetMainCell(r, c - 1, mr, mc)->VisibleBorders.Right)
          cell->VisibleBorders.Left = false;
        if (!UseVSpacing && r > 0 && rows.GetMainCell(r - 1, c, mr, mc)->VisibleBorders.Bottom)
          cell->VisibleBorders.Top = false;
      }

  if (UseVSpacing) {
    if (rowCount > 1) table.CellVSpacing = Round(VSpacingTw * k / (rowCount - 1));
    table.BorderVSpacing = Round((VBorderSpacing1Tw + VBorderSpacing2Tw) * k);
  } else {
    table.CellVSpacing = table.BorderVSpacing = negative ? -1 : 0;
  }
  if (UseHSpacing)
    table.CellHSpacing = Round(HSpacingTw * k / rowCount);
  else
    table.CellHSpacing = negative ? -1 : 0;
  table.BorderHSpacing = table.CellHSpacing;

  if (DocViewSpecial)
    table.BestWidth = BestWidth;
  else if (BestWidth > 0)
    table.BestWidth = Round((BestWidth - (BorderCount > 0 ? static_cast<double>(BorderWidthTw) / BorderCount : 0)) * k);
  else if (BestWidth < 0)
    table.BestWidth = BestWidth / 50;

  if (CellBorderCount > 0) table.CellBorderWidth = Round(CellBorderWidthTw * k / CellBorderCount);
  if (BorderCount > 0) table.BorderWidth = Round(BorderWidthTw * k / BorderCount);
  if (!UseHSpacing && !UseVSpacing && table.BorderWidth == table.CellBorderWidth)
    table.BorderWidth = table.BorderHSpacing = table.BorderVSpacing = 0;
  if (settings.HideGridLines) table.Options |= dvtoHideGridLines;
}

// ---- the reader's table events ----

TDVRTFTableReader::TDVRTFTableReader(TDVRTFTableHost& host, const TDVRTFTableSettings& settings)
    : host_(host), settings_(settings) {}

TDVRTFTableReader::~TDVRTFTableReader() = default;

void TDVRTFTableReader::ReaderTable(TDVRTFReader& sender, TDVRTFTableEventKind whatHappens) {
  if (whatHappens == dvf_tbl_TableStart) {
    TableStart();
    return;
  }
  // Row and cell marks outside any table have nothing to end.
  if (Tables.empty()) return;
  switch (whatHappens) {
    case dvf_tbl_CellEnd: CellEnd(); break;
    case dvf_tbl_RowEnd: RowEnd(sender.RTFState().RowProps()); break;
    case dvf_tbl_TableEnd: TableEnd(); break;
    default: break;
  }
}

TDVTableRow& TDVRTFTableReader::WorkingRow(TTableInfo& info) const { return *info.lastrow->Rows[0]; }

void TDVRTFTableReader::TargetWorkingCell() {
  host_.SetTarget(WorkingRow(*Tables.back()).Cell(curCol_));
}

void TDVRTFTableReader::FinishRow(TTableInfo& info) {
  TDVTableRow& row = WorkingRow(info);
  const size_t start = info.FinishedCells.size();
  info.FinishedRowStart.push_back(static_cast<int>(start));
  info.FinishedCells.resize(start + static_cast<size_t>(row.Count()));
  // Taken from the back, where that moves no other cell.
  for (int i = row.Count() - 1; i >= 0; --i)
    info.FinishedCells[start + static_cast<size_t>(i)].reset(
        static_cast<TDVTableCellData*>(row.DeleteAsPointer(i).release()));
  row.AddCell();
}

void TDVRTFTableReader::TableStart() {
  auto info = std::make_unique<TTableInfo>();
  info->ParentTarget = host_.Target();
  info->ParentCol = curCol_;
  info->lastrow = std::make_unique<TDVTableItemInfo>(1, 1, info->ParentTarget);
  // The working cells find the style sheet through the document.
  info->lastrow->Rows.DVData = info->ParentTarget ? info->ParentTarget : &host_.Root();
  curCol_ = 0;
  Tables.push_back(std::move(info));
  TargetWorkingCell();
}

void TDVRTFTableReader::CellEnd() {
  TDVTableRow* row = &WorkingRow(*Tables.back());
  // Every cell holds a paragraph.
  if (TDVTableCellData* cell = row->Cell(curCol_); cell->ItemCount() == 0) {
    host_.SetTarget(cell);
    host_.NewEmptyPara();
  }
  // No row has more cells than \cellx it can give: the text of further
  // \cell marks joins the last working cell.
  if (curCol_ + 1 < TDVRTFRowProperties::kMaxCells) {
    ++curCol_;
    if (curCol_ >= row->Count()) row->AddCell();
  }
  TargetWorkingCell();
}

void TDVRTFTableReader::RowEnd(const TDVRTFRowProperties& props) {
  TTableInfo* info = Tables.back().get();
  TDVTableRow& current = WorkingRow(*info);
  // Text after the last \cell is a working cell of its own.
  const int working = curCol_ + (current.Cell(curCol_)->ItemCount() > 0 ? 1 : 0);
  TDVRTFGridRowResult result = info->Grid.AddRow(props, working);
  if (result == rtf_gr_TableFull) {
    // The row begins a new table in the same place.
    auto next = std::make_unique<TTableInfo>();
    next->ParentTarget = info->ParentTarget;
    next->ParentCol = info->ParentCol;
    next->lastrow = std::make_unique<TDVTableItemInfo>(1, 1, info->ParentTarget);
    next->lastrow->Rows.DVData = info->lastrow->Rows.DVData;
    TDVTableRow* row = next->lastrow->Rows[0];
    for (int i = 0; i <= curCol_; ++i) {
      if (i > 0) row->AddCell();
      row->Cell(i)->DrainFrom(current.Cell(i));
    }
    InsertTable(*info);
    Tables.back() = std::move(next);
    info = Tables.back().get();
    result = info->Grid.AddRow(props, working);
  }
  if (result == rtf_gr_Added) {
    info->AssignRowProperties(props, info->Grid.RowCount() - 1);
    FinishRow(*info);
  } else {
    // A row without \cellx: its text stays, as paragraphs.
    host_.SetTarget(info->ParentTarget);
    RescueRow(*info);
  }
  curCol_ = 0;
  TargetWorkingCell();
}

void TDVRTFTableReader::TableEnd() {
  std::unique_ptr<TTableInfo> info = std::move(Tables.back());
  Tables.pop_back();
  curCol_ = info->ParentCol;
  InsertTable(*info);
}

void TDVRTFTableReader::InsertTable(TTableInfo& info) {
  // Back to where the table began: the body, a header or footer, or a cell.
  host_.SetTarget(info.ParentTarget);
  if (!info.ParentTarget) return;
  if (std::unique_ptr<TDVTableItemInfo> table = BuildTable(info))
    host_.InsertItem(std::string(), std::move(table), rtf_ts_NewPara);
  // The text of a row that no \row ended.
  RescueRow(info);
}

std::unique_ptr<TDVTableItemInfo> TDVRTFTableReader::BuildTable(TTableInfo& info) {
  const TDVRTFTableGrid& grid = info.Grid;
  if (grid.RowCount() == 0 || grid.ColCount() == 0) return nullptr;
  const auto working = [&info](const std::pair<int, int>& at) -> std::unique_ptr<TDVTableCellData>& {
    return info.FinishedCells[static_cast<size_t>(info.FinishedRowStart[at.first] + at.second)];
  };
  auto table = std::make_unique<TDVTableItemInfo>(grid.RowCount(), 0, info.ParentTarget);
  table->Rows.DVData = info.ParentTarget;
  // A cell with text is the working cell that holds its first text, with
  // its items: a large table is not allocated and filled twice. Positions
  // a span covers stay empty, as a merge leaves them.
  for (int r = 0; r < grid.RowCount(); ++r) {
    TDVTableRow* row = table->Rows[r];
    for (int c = 0; c < grid.ColCount(); ++c) {
      const TDVRTFGridCell& g = grid.CellAt(r, c);
      if (g.Row != r || g.Col != c) {
        row->InsertEmpty(c);
        continue;
      }
      std::unique_ptr<TDVTableCellData> cell =
          g.WorkingCells.empty() ? std::make_unique<TDVTableCellData>(row)
                                 : std::move(working(g.WorkingCells[0]));
      cell->RowSpan = g.RowSpan;
      cell->ColSpan = g.ColSpan;
      row->InsertPointer(c, std::move(cell));
    }
  }
  table->Color = clNone;
  table->BorderStyle = dvtbRaisedColor;
  table->CellBorderStyle = dvtbLoweredColor;
  table->CellBorderColor = table->CellBorderLightColor = clWindowText;

  const int32_t emptyStyleNo = host_.GetEmptyStyleNo(), emptyParaNo = host_.GetEmptyParaNo(rtf_al_Left);
  for (const TDVRTFGridCell& g : grid.Cells()) {
    TDVTableCellData& cell = *table->GetCells(g.Row, g.Col);
    if (g.Hidden) {
      HideBorders(cell, emptyStyleNo, emptyParaNo);
      continue;
    }
    const TTableInfo::TRow& row = info.Rows[g.Row];
    if (g.CellProp >= 0)
      info.AssignCellProperties(cell, row.Props.CellProps[g.CellProp], row, g.Col, g.Col + g.ColSpan,
                                settings_.PixelsPerTwip);
    // As a merge does, cells joining the first one bring only real content:
    // not the empty paragraph of a cell merged away or of a stray \cell.
    for (size_t w = 1; w < g.WorkingCells.size(); ++w) {
      TDVTableCellData* joining = working(g.WorkingCells[w]).get();
      if (joining->HasData(false)) cell.DrainFrom(joining);
    }
  }
  info.Finalize(*table, settings_, emptyStyleNo, emptyParaNo, settings_.PixelsPerTwip);
  // The rows' alignment is the table's paragraph's.
  table->ParaNo = host_.GetEmptyParaNo(info.Rows.back().Props.Alignment);
  return table;
}

void TDVRTFTableReader::HideBorders(TDVTableCellData& cell, int32_t emptyStyleNo, int32_t emptyParaNo) {
  cell.VisibleBorders.SetAll(false);
  cell.Clear();
  cell.AddNL(std::string(), emptyStyleNo, emptyParaNo);
}

void TDVRTFTableReader::RescueRow(TTableInfo& info) {
  TDVTableRow* working = &WorkingRow(info);
  for (int i = 0; i < working->Count(); ++i) {
    TDVTableCellData* cell = working->Cell(i);
    TDVItemList items = cell->Items().TakeFrom(0);
    cell->Clear();
    if (!host_.Target()) continue;
    for (int j = 0; j < items.Count(); ++j) {
      std::unique_ptr<TCustomDVItemInfo> item = items.TakeItem(j);
      const TDVRTFPosition position = j > 0 && item->SameAsPrev() ? rtf_ts_ContinuePara
                                      : j > 0 && item->BR()       ? rtf_ts_NewLine
                                                                  : rtf_ts_NewPara;
      host_.InsertItem(std::move(items.MutableText(j)), std::move(item), position);
    }
  }
}

}  // namespace quillet
