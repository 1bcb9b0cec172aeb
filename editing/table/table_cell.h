#pragma once
// A table cell: a document of its own inside the table, with the cell's
// wished size, spans, colours and visible border sides. Left, Top, Width
// and Height (padding included) are set by the table's layout.
#include <cstdint>

#include "editing/table/table_types.h"
#include "engine/layout/item_formatted_data.h"
#include "engine/model/int_props.h"
#include "platform/core/colors.h"

namespace quillet {

class TDVTableItemInfo;
class TDVTableRow;

class TDVTableCellData : public TDVItemFormattedData, public TDVIntPropertyOwner {
 public:
  explicit TDVTableCellData(TDVTableRow* row);

  TColor Color = clNone;
  TDVCellVAlign VAlign = dvcVDefault;
  int32_t BestWidth = 0;  // > 0 pixels, < 0 percent of the table, 0 automatic
  int32_t BestHeight = 0;
  int32_t RowSpan = 1, ColSpan = 1;
  TDVBooleanRect VisibleBorders;
  TColor BorderColor = clNone, BorderLightColor = clNone;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;

  TDVTableRow* Row() const;
  // Null while the cell is in no table (held by an undo record).
  TDVTableItemInfo* GetTable() const;
  int32_t Padding() const;

  // The content area: the cell's rectangle less its padding.
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  int32_t GetAreaWidth() const override { return GetWidth(); }
  // The cell paints its own background.
  TColor GetColor() const override { return clNone; }
  // Any change of the content makes the table lay itself out again.
  void ItemAction(TDVItemAction action, TCustomDVItemInfo* item, std::string& text) override;

  // While the cell is edited in place its items are in the editor: the
  // height of the editor's content and the minimum width the cell had when
  // it opened stand for them (-1: not edited).
  int32_t InplaceHeight = -1, InplaceMinWidth = -1;
  // The content height, at least BestHeight.
  int32_t GetCellHeight() const;
  // The narrowest content width: 0 for an empty cell, the indents of a
  // paragraph holding only an empty text item (never below 0), else the
  // content's minimum (at least 10).
  int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas& canvas);
  // VAlign, else the row's, else middle.
  TDVCellVAlign GetRealVAlign() const;
  // The content's shift down inside the cell.
  int32_t GetExtraVOffs() const;
  // Two or more items, or one that is not an empty text item (strict: one
  // of text style 0 and paragraph style 0).
  bool HasData(bool strict) const;
  // Colours, visible borders and VAlign; withSize also the wished size
  // divided among the pieces of a split.
  void AssignAttributesFrom(const TDVTableCellData& source, bool withSize, int rowDivisor, int colDivisor);
  void AssignSizeFrom(const TDVTableCellData& source);
  // The cell's items are told they move into (out of) an undo list.
  void MovingToUndoList();
  void MovingFromUndoList();

  // Color, BorderColor, BorderLightColor, BestWidth, BestHeight, VAlign and
  // VisibleBorders (a mask: 1 left, 2 top, 4 right, 8 bottom) by name.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;
};

int32_t DVBordersToMask(const TDVBooleanRect& r);
TDVBooleanRect DVMaskToBorders(int32_t mask);

}  // namespace quillet
