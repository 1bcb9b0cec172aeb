#pragma once
// The table item: a full-line item whose content is a grid of cells, each
// a document of its own. Its properties change through SetProperty (undone
// as one step in an editor); its layout (table_layout.cpp) fits the columns
// to the width it is given; painting is in table_paint.cpp.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editing/table/table_rows.h"
#include "editing/table/table_types.h"
#include "engine/layout/formatted_data.h"
#include "engine/model/item_info.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TCustomDocViewEdit;
class TDVEditDVData;
class TDVTableInplaceEdit;

// A layout that keeps the cells' rectangles and laid-out content apart
// from the cells themselves (the table printed): layout and painting ask it
// instead of the cells. Device pixels; rectangles relative to the table.
class TDVTableCellPlaces {
 public:
  virtual ~TDVTableCellPlaces() = default;
  // The content height of the cell at the position, its BestHeight included.
  virtual int32_t CellHeight(int row, int col) const = 0;
  virtual void PlaceX(int row, int col, int32_t left, int32_t width, TCanvas& canvas) = 0;
  virtual void PlaceY(int row, int col, int32_t top, int32_t height) = 0;
  virtual TRect CellRect(int row, int col) const = 0;
  // Paints the cell's content; (x, y) is its rectangle's top-left on the canvas.
  virtual void PaintContent(int row, int col, TCanvas& canvas, int32_t x, int32_t y) const = 0;
};

// The result of a layout: the table's size, the content width of every
// column and height of every row, and their positions inside the table.
struct TDVTableItemFormattingInfo {
  int32_t Width = 0, Height = 0;
  std::vector<int32_t> ColWidths, RowHeights, ColStarts, RowStarts;
  TDVTableCellPlaces* Places = nullptr;  // null: the cells hold their places
  void Clear() {
    ColWidths.clear();
    RowHeights.clear();
    ColStarts.clear();
    RowStarts.clear();
  }
};

// Asked before every border is drawn; doDefault false skips the standard drawing.
using TDVTableDrawBorderEvent = std::function<void(
    TDVTableItemInfo& sender, TCanvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom,
    int32_t width, TColor lightColor, TColor color, TColor backgroundColor, TDVTableBorderStyle style,
    bool printing, const TDVBooleanRect& visibleBorders, int row, int col, bool& doDefault)>;

// The pen style of the grid lines shown for invisible borders; psClear
// turns them off everywhere.
inline TPenStyle DocViewTableGridStyle = psDot;

// Where a table's sub-document stands: its cell's position.
class TDVTableStoreSubDVData : public TDVStoreSubDVData {
 public:
  TDVTableStoreSubDVData(int row, int col) : Row(row), Col(col) {}
  int Row, Col;
};

// Asked before a cell is edited; automatic: for an operation over many
// cells rather than the user opening one. allow starts true.
using TDVCellEditingEvent =
    std::function<void(TDVTableItemInfo& sender, int row, int col, bool automatic, bool& allow)>;

// The line that follows the mouse while a rule of a table is dragged.
class TDVTableRuleDrawer : public TDVFeedbackDrawer {
 public:
  explicit TDVTableRuleDrawer(TDVTableItemInfo& table) : table_(table) {}
  void XorDraw(TCustomDVFormattedData& sender, TShiftState shift, int32_t x, int32_t y) override;
  void Paint(TCustomDVFormattedData& sender, TCanvas& canvas, int32_t x, int32_t y) override;

 private:
  TDVTableItemInfo& table_;
};

class TDVTableItemInfo : public TDVFullLineItemInfo {
 public:
  // A 1 x 1 table.
  explicit TDVTableItemInfo(TCustomDVData* dvData) : TDVTableItemInfo(1, 1, dvData) {}
  TDVTableItemInfo(int rows, int cols, TCustomDVData* dvData);
  ~TDVTableItemInfo() override;
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVTableItemInfo>; }

  // ---- published properties ----
  TDVTableOptions Options = DVTableDefaultOptions;
  TDVTablePrintOptions PrintOptions = DVTableDefaultPrintOptions;
  int32_t BestWidth = 0;
  TColor Color = clWindow;
  std::string TextRowSeparator = "\r\n", TextColSeparator = "\r\n";
  int32_t BorderWidth = 0;
  TColor BorderColor = clWindowText, BorderLightColor = clBtnHighlight;
  TDVTableBorderStyle BorderStyle = dvtbRaised;
  int32_t BorderVSpacing = 2, BorderHSpacing = 2;
  int32_t CellBorderWidth = 0;
  TColor CellBorderColor = clWindowText, CellBorderLightColor = clBtnHighlight;
  int32_t CellPadding = 1;
  TDVTableBorderStyle CellBorderStyle = dvtbLowered;
  int32_t VRuleWidth = 0;
  TColor VRuleColor = clWindowText;
  int32_t HRuleWidth = 0;
  TColor HRuleColor = clWindowText;
  int32_t CellVSpacing = 2, CellHSpacing = 2;
  bool VOutermostRule = false, HOutermostRule = false;
  TDVTableDrawBorderEvent OnDrawBorder;

  TDVTableRows Rows;
  TDVTableItemFormattingInfo Fmt;
  // Cell selection: the anchor (-1: none) and the extent from it.
  int SelStartRow = -1, SelStartCol = -1, SelRowOffs = 0, SelColOffs = 0;

  TDVTableCellData* GetCells(int row, int col) const { return Rows.CellAt(row, col); }
  bool Inserted() const { return inserted_; }
  bool Changed() const { return changed_; }
  void MarkChanged() { changed_ = true; }

  // ---- the item ----
  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  void Inserting(TCustomDVData* dvData, std::string& text, bool safe) override;
  void MovingToUndoList(int itemNo, TCustomDVData* dvData) override;
  void MovingFromUndoList(int itemNo, TCustomDVData* dvData) override;
  void BeforeUndoChangeProperty() override { inserted_ = false; }
  void AfterUndoChangeProperty() override;
  void MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const override;
  void UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) override;
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  // ---- the document it is in ----
  // The item's index in its document (cached while it still holds).
  int GetMyItemNo() const;
  bool IsInEditor() const;
  // The table's items moved to dvData as they are (into a cell editor and
  // back): the table and its cells belong to it from now on.
  void MovedTo(TCustomDVData* dvData);
  // MovedTo for every table among dvData's items.
  static void MoveTablesTo(TCustomDVData& dvData);
  // The editor's data when the table is inserted into one; else null.
  TDVEditDVData* EditData() const;
  // The open cell editor's undo groups join the document's undo as one
  // TDVUndoCellModify step; the editor starts a fresh history.
  void MergeInplaceUndo() { MergeInplaceHistory(false); }
  // Its redo groups likewise join the document's redo list, on top: done
  // when it closes and before an undo passes from it to the document, so
  // that what was undone in the cell is redone in turn.
  void MergeInplaceRedo() { MergeInplaceHistory(true); }
  // Around a multi-step operation: one dvutModifyItem group in an editor.
  void InitUndo();
  void DoneUndo();

  // ---- changing properties ----
  // Before insertion the field is written; in an editor the change is one
  // undoable dvutModifyItem step and the document is laid out again.
  void SetProperty(const std::string& name, int32_t value);
  // The same for a cell's "BestHeight", "BestWidth", "Color", "BorderColor",
  // "BorderLightColor" or "VAlign".
  void SetCellProperty(const std::string& name, int32_t value, int row, int col);
  // One property of several cells, given as (row, col, value), in one
  // undoable step and one layout pass.
  struct TCellValue {
    int Row, Col;
    int32_t Value;
  };
  void SetCellsProperty(const std::string& name, const std::vector<TCellValue>& values);
  // The vertical alignment of the rows, in one undoable step.
  void SetRowsVAlign(const std::vector<int>& rows, TDVCellVAlign align);
  // Nothing when the sides are unchanged.
  void SetCellVisibleBorders(const TDVBooleanRect& borders, int row, int col);
  // The source cell's attributes (AssignAttributesFrom) in one undo step.
  void AssignCellAttributes(int row, int col, const TDVTableCellData& source, bool includeSize, int rowDivisor,
                            int colDivisor);

  // ---- the document stream (table_record.cpp) ----
  // The record: header, name, extra properties, "1", then the table's
  // component as hexadecimal text or, in binary mode, a block. A page's
  // part (a TDVTablePrintPart) writes only its rows.
  void SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
               const TDVMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // The record of rows [firstRow, firstRow + rowCount) alone.
  void SaveDVFRows(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                   bool forceSameAsPrev, int firstRow, int rowCount) const;
  bool ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo, int lineCount,
                   std::string& name, TDVFReadMode& readMode, TDVFReadState& readState) override;
  // The items of every cell finish their loading.
  void AfterLoading() override;
  // Cells one at a time, row by row (table_sub_data.cpp): the first, the
  // last, or the next and previous from the store's cell.
  // dvdChosenUp and dvdChosenDown: the last and the first selected cell,
  // or the chosen cell without a selection.
  TCustomDVData* GetSubDVData(std::unique_ptr<TDVStoreSubDVData>& store, TDVSubDVDataPos position) const override;
  // The cell at the store's place becomes the document's chosen sub-document.
  void ChooseSubDVData(const TDVStoreSubDVData* store) override;
  void ChooseSubDVData_(int row, int col);
  // The document let the chosen cell go: it is deselected and forgotten.
  void CleanUpChosen() override;
  // The chosen cell (-1, -1: none).
  int ChosenRow = -1, ChosenCol = -1;

  // ---- the in-place cell editor (table_inplace.cpp) ----
  // Opens an editor over the cell (in an editor only; unless unquestioning,
  // OnCellEditing may refuse), the cell's items moving into it; the caret
  // goes to the content's start or end when asked. The cell becomes the
  // chosen one and the editor takes the focus.
  void CreateInplace(int itemNo, int row, int col, bool caretAtStart, bool caretAtEnd, bool unquestioning);
  // Closes the editor: the items go back into the cell, laid out again.
  void DestroyInplace();
  // Around a change of the grid: the open editor's cell and selection are
  // kept and it closes ("Cannot destroy cell inplace editor at this time"
  // while it is busy, and it stays open); RestoreInplace opens it again.
  void SaveInplace();
  void RestoreInplace();
  // The cell editor's window is never taller than this.
  static constexpr int32_t kMaxInplaceHeight = 10000;
  // The open editor and its cell (null, -1, -1 when none).
  TDVTableInplaceEdit* GetEditedCell(int& row, int& col) const;
  // The open editor moves on to the cell in the direction, the caret at
  // the cell's start going right, down or on, at its end going back. With
  // no cell there, leaving the first column (row) to the left (up) puts the
  // caret before the table, leaving the last one to the right (down) after
  // it; dvcdDocTop and dvcdDocBottom put it at the document's start and end.
  void InplaceMove(TDVCellDirection direction);

  // ---- the keyboard (table_focus.cpp) ----
  // The caret comes from outside: from the left into the first cell, from
  // the right into the last, from above (below) into the first (last) row's
  // cell under x (document coordinates), the nearest one between columns.
  bool EnterItem(TDVEnterDirection from, int32_t x) override;
  // Tab among the links and controls of the cells, in reading order, from
  // the focused cell; false past the last (first) cell.
  bool MoveFocus(bool goForward, TCustomDVData*& topLevelDVData, int& topLevelItemNo) override;
  void ClearFocus() override;
  // The cell whose Tab focus is inside (-1, -1: none).
  int FocusedRow = -1, FocusedCol = -1;
  // A cell's document holds the control (an embedded control in a cell).
  bool OwnsControl(const TControl* control) const override;
  bool AdjustFocusToControl(const TControl* control, TCustomDVData*& topLevelDVData, int& topLevelItemNo) override;
  bool OwnsInplaceEditor(const TCustomControl* editor) const override;
  // The cells' links, numbered on from jumpNo in reading order, at their
  // place in the document (the table's drawing item at left, top).
  void BuildJumps(int32_t left, int32_t top, int32_t& jumpNo, TDVJumpList& jumps) override;
  // The column whose box is nearest to x (table pixels); -1 without columns.
  int GetNearestColNo(int32_t x) const;

  // The editor's content changed: a new height lays the table out again;
  // the document reports the change.
  void InplaceEditorChange(bool clearRedo);
  // The row follows the open editor's content height.
  void FollowInplaceHeight();
  // The editor is closing (clearing: with the whole document).
  void InplaceDeleted(bool clearing);

  // ---- grid operations (table_operations.cpp) ----
  // In an editor each is one dvutModifyItem undo step and the document is
  // laid out again; elsewhere the grid changes directly. Bad indices raise
  // "Invalid row or column index". copyIndex: the row (column) whose cells'
  // attributes the new ones take, -1 none; select: the new ones selected.
  void InsertRows(int index, int count, bool select, int copyIndex);
  void InsertCols(int index, int count, bool select, int copyIndex);
  // Relative to the selection, copying its nearest row (column) and
  // selecting the new ones; without a selection the document beeps.
  void InsertRowsAbove(int count);
  void InsertRowsBelow(int count);
  void InsertColsLeft(int count);
  void InsertColsRight(int count);
  void DeleteRows(int index, int count, bool decreaseHeight);
  void DeleteCols(int index, int count, bool decreaseWidth);
  void DeleteSelectedRows();
  void DeleteSelectedCols();
  // Rows (columns) in which no cell has its own position, last first.
  void DeleteEmptyRows();
  void DeleteEmptyCols();
  bool MergeCells(int row, int col, int rowCount, int colCount, bool allowMergeRC);
  bool MergeSelectedCells(bool allowMergeRC);
  bool CanMergeSelectedCells(bool allowMergeRC) const;
  void UnmergeCells(int row, int col, int rowCount, int colCount, bool unmergeRows, bool unmergeCols);
  void UnmergeSelectedCells(bool unmergeRows, bool unmergeCols);
  void SplitSelectedCellsVertically(int colCount);
  void SplitSelectedCellsHorizontally(int rowCount);
  // The cells at the positions lose their content and keep their
  // attributes; undo brings the content back.
  void ClearCells(const std::vector<std::pair<int, int>>& cells);
  // The selected rectangle, clipped to the grid; false without a selection.
  bool GetSelectionRect(int& row, int& col, int& rowCount, int& colCount) const;
  // A selection that left the grid is dropped, one that reaches past it clipped.
  void ClipSelection();

  // ---- hit-testing and the cell selection (table_hit_test.cpp) ----
  // Table pixels. The rule under x: 0 the left border, the column count the
  // right one, i the rule before column i; -1 none. A rule is hit within
  // half its zone's width of its centre, and never closer than 2 pixels.
  // minX: where a drag of it stops (the left of the column before it, -1
  // for rule 0); ruleX: its centre.
  int GetVerticalRuleNo(int32_t x, int32_t& minX, int32_t& ruleX) const;
  int GetHorizontalRuleNo(int32_t y, int32_t& minY, int32_t& ruleY) const;
  // The column (row) whose box holds the coordinate; -1 in a gap or outside.
  int GetColNo(int32_t x) const;
  int GetRowNo(int32_t y) const;
  // The last index of a sorted list whose value is below coord (0 for a
  // list shorter than 2, the last index at or past its end).
  static int GetCrossed(int32_t coord, const std::vector<int32_t>& list);
  // The main cell at the point; false unless the point lies inside its
  // rectangle less a pixel on each side.
  bool GetCellAt(int32_t x, int32_t y, int& row, int& col) const;
  // The cell beside (row, col) in the direction, covered positions taken
  // to their main cell; dvcdNext and dvcdPrev run on across rows. False at
  // the table's edge and for the document directions.
  bool GetCellTo(int row, int col, TDVCellDirection direction, int& newRow, int& newCol) const;
  // The cells from the anchor to the far corner become the selection and
  // the table the document's partly selected item.
  void Select(int startRow, int startCol, int rowOffs, int colOffs);
  void SelectRows(int start, int count);
  void SelectCols(int start, int count);
  bool PartiallySelected() const override { return SelStartRow >= 0 && SelStartCol >= 0; }
  void DeselectPartial() override;
  // The table lies wholly inside its document's selection.
  bool CompletelySelected() const;

  // ---- the mouse (table_mouse.cpp) ----
  TDVCellEditingEvent OnCellEditing;
  bool DoOnCellEditing(int row, int col, bool automatic);
  // Presses on cells start a cell selection, presses on rules a drag that
  // resizes (in an editor, one undoable step at the release), presses on
  // the border zones select whole rows or columns.
  bool MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y, int itemNo,
                 TCustomDVData* dvData) override;
  bool MouseMove(TShiftState shift, int32_t x, int32_t y, int itemNo, TCustomDVData* dvData) override;
  bool MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y, int itemNo,
               TCustomDVData* dvData) override;
  // Where the dragged rule's line goes for the mouse at client (x, y) of
  // the document: clamped at the rule's minimum; -1 when no rule is dragged.
  int32_t DraggedRuleClientPos(const TCustomDVFormattedData& data, int32_t x, int32_t y) const;
  bool DraggingRule() const { return dragRule_ >= 0; }
  bool DraggingColumnRule() const { return dragColumn_; }
  // Sizes the column left of rule (the row above it) so that the rule
  // lands at pos (table pixels), as a drag does; in an editor one undoable
  // step. noNeighbour keeps the next column from giving way.
  void DropColumnRule(int rule, int32_t pos, bool noNeighbour);
  void DropRowRule(int rule, int32_t pos);

  // ---- operations over the selected cells (table_multi_cell.cpp) ----
  // Each selected cell that OnCellEditing (automatic) allows passes through
  // a hidden editor that applies the operation to all of its content; the
  // whole is one undoable step.
  void ApplyStyleConversionToPartiallySelected(int32_t userData) override;
  void ApplyParaStyleToPartiallySelected(int32_t paraNo) override;
  void ApplyParaStyleConversionToPartiallySelected(int32_t userData) override;
  // Editing on, cells selected, in an editor, and every selected cell's
  // content may be deleted.
  bool CanDeletePartiallySelected() const override;
  // Clears the selected cells that OnCellEditing (automatic) allows.
  void DeletePartiallySelected() override;
  // A hidden editor with the document's style sheet, options and
  // conversion handlers, recording undo when the document's editor does.
  std::unique_ptr<TCustomDocViewEdit> CreateTemporalEditor() const;
  // Each existing cell that `which` picks passes through a hidden editor
  // holding its items, where `change` edits it; what the cells record is
  // one undoable step of the document. In an editor only, after asking it.
  void ModifyCells(const std::function<bool(int row, int col)>& which,
                   const std::function<void(TCustomDocViewEdit& cellEditor)>& change);

  // ---- layout (table_layout.cpp) ----
  int32_t GetWidth() const override { return Fmt.Width; }
  int32_t GetHeight() const override { return Fmt.Height; }
  int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const override;
  bool OnDocWidthChange(int32_t docWidth, TDVDrawLineInfo* drawItem, bool printing, TCanvas& canvas,
                        TCustomDVData* dvData, const TDVScreenAndDevice* sad, int32_t& hShift) override;
  bool IsFixedWidthTable() const;
  int32_t GetHorzExtra() const;
  // Screen pixels to the device's while printing; identity on screen.
  int32_t GetDevX(int32_t x) const;
  int32_t GetDevY(int32_t y) const;
  // The layout at a width (screen: the table's own record).
  void InternalOnDocWidthChange(int32_t docWidth, TDVTableItemFormattingInfo& fmt, TCanvas& canvas);
  // Lengths at the scale of sad (null: the screen's).
  void SetDeviceScale(const TDVScreenAndDevice* sad) { sad_ = sad; }
  void UpdateCellXCoords(TDVTableItemFormattingInfo& fmt, TCanvas& canvas);
  void UpdateCellYCoords(TDVTableItemFormattingInfo& fmt);
  // Device pixels, from the layout's places when it has them.
  int32_t CellContentHeight(const TDVTableItemFormattingInfo& fmt, int row, int col,
                            const TDVTableCellData& cell) const;
  int32_t RowContentHeight(const TDVTableItemFormattingInfo& fmt, int row) const;

  // ---- painting (table_paint.cpp) ----
  void PaintFullWidth(int32_t left, int32_t right, int32_t top, TCanvas& canvas, TDVItemDrawStates drawState,
                      const TDVStyle* dvStyle, const TRect& clipRect, const TDVDrawLineInfo* dli) const override;
  // The table with its top-left at (x, y); clipRect in the canvas's
  // coordinates.
  void PaintTo(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState, const TDVStyle* dvStyle,
               const TRect& clipRect, bool printing) const;
  bool IsCellSelected(int row, int col) const;
  // Rows firstRow..lastRow of a layout with the table's origin at (x, y),
  // the frame drawn from frameTop frameHeight down (a printed part).
  void PaintRows(const TDVTableItemFormattingInfo& fmt, int firstRow, int lastRow, int32_t x, int32_t y,
                 int32_t frameTop, int32_t frameHeight, TCanvas& canvas, TDVItemDrawStates drawState,
                 const TDVStyle* dvStyle, const TRect& clipRect, bool printing) const;

  // ---- printing (table_print.cpp) ----
  std::unique_ptr<TDVDrawLineInfo> CreatePrintingDrawItem(TCustomDVData* dvData,
                                                          const TDVScreenAndDevice* sad) const override;
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t x2, bool preview, bool correction,
             const TDVScreenAndDevice& sad, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
             int part) const override;
  // The top of the row a soft page break falls before.
  int32_t GetSoftPageBreakDY(int32_t row) const override;
  // The smallest row r >= row (largest r <= row) with no cell crossing the
  // boundary below (above) it.
  int GetSplitRowBelow(int row) const;
  int GetSplitRowAbove(int row) const;

  // ---- RTF, HTML and text (table_rtf.cpp, table_html.cpp) ----
  void SaveRTF(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& itemText,
               double twipsPerPixel, int level, TDVColorList& colorList, TDVIntegerList& styleToFont,
               TDVIntegerList& fontTable) const override;
  void FillRTFColorTable(TDVColorList& colorList) const override;
  void SaveToHTML(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& text,
                  const std::string& path, const std::string& imagesPrefix, int& imgSaveNo,
                  TColor currentFileColor, TDVSaveOptions saveOptions, bool useCSS,
                  TDVHTMLBullets& bullets) const override;
  std::string AsText(int lineWidth, TCustomDVData* dvData, const std::string& text, const std::string& path,
                     bool textOnly, bool unicode) const override;

 private:
  // An editor's data for a change, after asking it; null outside an editor
  // or when the change is refused.
  TDVEditDVData* BeginEdit();
  void AttachCells(TCustomDVData* dvData);
  // Runs a grid operation (true when it changed the grid): in an editor as
  // one undoable step, laid out again; elsewhere directly.
  void EditGrid(const std::function<bool()>& op);

  bool StartSelecting(int row, int col, TCustomDVFormattedData& data);
  // 0: paragraph style, 1: paragraph style conversion, 2: text style conversion.
  void ApplyToPartiallySelected(int operation, int32_t value);
  void SetColumnBestWidths(int col, int32_t delta, int32_t newWidth);

  bool inserted_ = false, inEditor_ = false, changed_ = false;
  // The mouse: a cell selection growing, a rule being dragged (its number,
  // axis, minimum, the offset from the mouse to it, Shift at the press) and
  // the table's place in the document at the press.
  bool selectingByMouse_ = false;
  int dragRule_ = -1;
  bool dragColumn_ = false, dragShift_ = false;
  int32_t dragMin_ = -1, dragOffs_ = 0, pressLeft_ = 0, pressTop_ = 0;
  TDVTableRuleDrawer ruleDrawer_{*this};
  mutable int cachedItemNo_ = -1;
  void MergeInplaceHistory(bool redo);
  TDVTableInplaceEdit* inplace_ = nullptr;
  bool inplaceChanging_ = false;
  struct TSavedInplace {
    bool Saved = false;
    int Row = -1, Col = -1, StartNo = 0, EndNo = 0;
    int32_t StartOffs = 0, EndOffs = 0;
  } savedInplace_;
  // A left press went to the editor; its release has not come.
  bool inplaceClick_ = false;
  // The open editor's content height.
  int32_t InplaceContentHeight() const;
  TDVTableCellData* FocusedCell() const;
  // The editor over its cell, in the editor's client coordinates.
  void PlaceInplace(int itemNo);
  // The table laid out again in its editor's document.
  void RelayoutInDocument();
  mutable const TDVScreenAndDevice* sad_ = nullptr;
};

// Registers the table item for its style number; programs, tests and
// benchmarks that read tables call it once at start.
void RegisterTableItem();

}  // namespace quillet
