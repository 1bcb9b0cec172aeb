#include "editing/table/table_cell.h"

#include <algorithm>

#include "editing/table/table_item.h"
#include "editing/table/table_rows.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"

namespace quillet {

int32_t DVBordersToMask(const TDVBooleanRect& r) {
  return (r.Left ? 1 : 0) | (r.Top ? 2 : 0) | (r.Right ? 4 : 0) | (r.Bottom ? 8 : 0);
}

TDVBooleanRect DVMaskToBorders(int32_t mask) {
  TDVBooleanRect r;
  r.SetValues((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
  return r;
}

TDVTableCellData::TDVTableCellData(TDVTableRow* row) : TDVItemFormattedData(row) {}

TDVTableRow* TDVTableCellData::Row() const { return static_cast<TDVTableRow*>(List); }

TDVTableItemInfo* TDVTableCellData::GetTable() const {
  return Row() && Row()->Rows ? Row()->Rows->Table : nullptr;
}

int32_t TDVTableCellData::Padding() const {
  const TDVTableItemInfo* table = GetTable();
  return table ? table->CellPadding : 0;
}

int32_t TDVTableCellData::GetWidth() const { return Width - 2 * Padding(); }
int32_t TDVTableCellData::GetHeight() const { return Height - 2 * Padding(); }

void TDVTableCellData::ItemAction(TDVItemAction, TCustomDVItemInfo*, std::string&) {
  if (TDVTableItemInfo* table = GetTable()) table->MarkChanged();
}

int32_t TDVTableCellData::GetCellHeight() const {
  return std::max(InplaceHeight >= 0 ? InplaceHeight : DocumentHeight, BestHeight);
}

int32_t TDVTableCellData::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas& canvas) {
  if (InplaceMinWidth >= 0) return InplaceMinWidth;
  if (ItemCount() == 0) return 0;
  if (ItemCount() == 1 && GetItem(0)->StyleNo >= 0 && GetItemTextR(0).empty()) {
    const TDVStyle* sheet = GetDVStyle();
    const int32_t paraNo = GetItem(0)->ParaNo;
    if (!sheet || !sheet->ParaStyles().IsValidIndex(paraNo)) return 0;
    const TParaInfo& para = sheet->ParaStyles()[paraNo];
    int64_t w = int64_t{para.FirstIndent} + para.LeftIndent + para.RightIndent;
    // A negative first indent must not make the column narrower than nothing.
    w = std::clamp<int64_t>(w, 0, INT32_MAX);
    return sad ? MulDiv(static_cast<int32_t>(w), sad->ppixDevice, sad->ppixScreen) : static_cast<int32_t>(w);
  }
  const int32_t w = CalculateMinDocWidthPlus(sad, canvas);
  return w == 0 ? 10 : w;
}

TDVCellVAlign TDVTableCellData::GetRealVAlign() const {
  if (VAlign != dvcVDefault) return VAlign;
  if (Row() && Row()->VAlign != dvcVDefault) return Row()->VAlign;
  return dvcMiddle;
}

int32_t TDVTableCellData::GetExtraVOffs() const {
  switch (GetRealVAlign()) {
    case dvcMiddle:
      return (Height - DocumentHeight) / 2 - Padding();
    case dvcBottom:
      return Height - DocumentHeight - 2 * Padding();
    default:
      return 0;
  }
}

bool TDVTableCellData::HasData(bool strict) const {
  if (ItemCount() != 1) return ItemCount() > 1;
  const TCustomDVItemInfo* item = GetItem(0);
  if (item->StyleNo < 0 || !GetItemTextR(0).empty()) return true;
  return strict && (item->StyleNo != 0 || item->ParaNo != 0);
}

void TDVTableCellData::AssignAttributesFrom(const TDVTableCellData& source, bool withSize, int rowDivisor,
                                            int colDivisor) {
  Color = source.Color;
  BorderColor = source.BorderColor;
  BorderLightColor = source.BorderLightColor;
  VisibleBorders = source.VisibleBorders;
  VAlign = source.VAlign;
  if (withSize) {
    BestWidth = source.BestWidth / std::max(colDivisor, 1);
    BestHeight = source.BestHeight / std::max(rowDivisor, 1);
  }
}

void TDVTableCellData::AssignSizeFrom(const TDVTableCellData& source) {
  Left = source.Left;
  Top = source.Top;
  Width = source.Width;
  Height = source.Height;
}

void TDVTableCellData::MovingToUndoList() {
  for (int i = 0; i < ItemCount(); ++i) GetItem(i)->MovingToUndoList(i, this);
  ClearTemporal();
}

void TDVTableCellData::MovingFromUndoList() {
  for (int i = 0; i < ItemCount(); ++i) GetItem(i)->MovingFromUndoList(i, this);
}

namespace {

using C = TDVTableCellData;
const TDVIntProp<C> kCellProps[] = {
    {"Color", [](const C& c) { return static_cast<int32_t>(c.Color); },
     [](C& c, int32_t v) { c.Color = static_cast<TColor>(v); return true; }},
    {"BorderColor", [](const C& c) { return static_cast<int32_t>(c.BorderColor); },
     [](C& c, int32_t v) { c.BorderColor = static_cast<TColor>(v); return true; }},
    {"BorderLightColor", [](const C& c) { return static_cast<int32_t>(c.BorderLightColor); },
     [](C& c, int32_t v) { c.BorderLightColor = static_cast<TColor>(v); return true; }},
    {"BestWidth", [](const C& c) { return c.BestWidth; }, [](C& c, int32_t v) { c.BestWidth = v; return true; }},
    {"BestHeight", [](const C& c) { return c.BestHeight; },
     [](C& c, int32_t v) { if (v < 0) return false; c.BestHeight = v; return true; }},
    {"VAlign", [](const C& c) { return static_cast<int32_t>(c.VAlign); },
     [](C& c, int32_t v) { return SetVAlign(c.VAlign, v); }},
    {"VisibleBorders", [](const C& c) { return DVBordersToMask(c.VisibleBorders); },
     [](C& c, int32_t v) {
       if (v < 0 || v > 15) return false;
       c.VisibleBorders = DVMaskToBorders(v);
       return true;
     }},
};

}  // namespace

bool TDVTableCellData::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetFrom<C>(kCellProps, *this, name, value);
}

bool TDVTableCellData::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetIn<C>(kCellProps, *this, name, value) == 1;
}

}  // namespace quillet
