#pragma once
// The base of the commands that work on the table holding the caret: the
// table is found anew at each update and execution (through nested cell
// editors), and a change runs inside the holding editor's item-modification
// bracket, so that it is laid out once and reported as a change.
#include <string>

#include "commands/actions/action.h"
#include "editing/table/table_types.h"

namespace quillet {

class TDVTableItemInfo;

// The table at the caret, searched from the innermost cell editor outward,
// with the editor whose document holds it; null when the caret is in no
// table.
TDVTableItemInfo* FindCurrentTable(TCustomDocViewEdit& editor, TCustomDocViewEdit*& holder);

// The table's selected rectangle; with includeEdited and no selection, the
// rectangle of the cell being edited (its spans). False without either.
bool GetNormalizedSelectionBounds(const TDVTableItemInfo& table, bool includeEdited, int& row, int& col,
                                  int& rowCount, int& colCount);

// Whether some position of the selection (the edited cell included) lies in
// a cell spanning more than one row (column); false without a selection.
bool CanUnmergeRows(const TDVTableItemInfo& table);
bool CanUnmergeCols(const TDVTableItemInfo& table);

// Asks for a whole number (1 to 100) in the number dialog; true on OK, with
// value the number entered.
bool GetInteger(const std::string& caption, const std::string& prompt, int& value);

// Every viewer and editor, at any depth, of every top-level window is
// painted again.
void RepaintDocViews();

// Around a command's change of a table in the editor that holds it: End
// lays the table out once and reports the change. Left without End or
// Dismiss (a step raised), it ends all the same while the table still
// stands at its place; a table the command deleted is not touched.
class TDVItemModifyScope {
 public:
  TDVItemModifyScope(TCustomDocViewEdit& editor, const TDVTableItemInfo& table, int itemNo);
  ~TDVItemModifyScope();
  TDVItemModifyScope(const TDVItemModifyScope&) = delete;
  TDVItemModifyScope& operator=(const TDVItemModifyScope&) = delete;

  void End();
  // The command changed nothing: no layout, no change reported.
  void Dismiss() { open_ = false; }

 private:
  bool TableStands() const;
  TCustomDocViewEdit& editor_;
  const TDVTableItemInfo& table_;
  int itemNo_;
  int32_t width_ = 0;
  bool open_ = true;
};

class TdvActionTableCell : public TdvAction {
 public:
  using TdvAction::TdvAction;

  // Enabled while the caret is in a table for which the command applies.
  void UpdateTarget(TCustomControl* target) override;
  // Runs ExecuteCommand on the current table when the command applies and
  // the editor takes changes; a true result ends the item bracket and
  // reports the change.
  void ExecuteTarget(TCustomControl* target) override;

  // True when the table was changed (and stands); false for selections,
  // cancelled dialogs and a table deleted through the editor.
  virtual bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) = 0;
  virtual bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) = 0;

 protected:
  // The grid cannot change under an open cell editor, which holds its
  // cell's items: the editor closes (its typing joins the document's undo)
  // and, when the table has no selection, its cell becomes the selection.
  // False when the cell editor is busy and cannot close now.
  static bool CloseEditedCell(TDVTableItemInfo& table);
  // The whole table item selected in its editor and deleted there.
  static void DeleteWholeTable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo);
};

// Row and column commands: they apply while there is a selection.
class TdvActionTableRCBase : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// Commands that set an attribute of every selected cell.
class TdvActionTableMultiCellAttributes : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  // Each position, row by row, that holds a cell which is selected or being
  // edited; first: the first one visited. False stops the walk.
  virtual bool IterateCellProc(TDVTableItemInfo& table, bool first, int mode, int row, int col) = 0;
  void IterateCells(TDVTableItemInfo& table, int mode);
};

// The cells' vertical alignment: checked while every selected cell has it.
class TdvActionTableCellVAlign : public TdvActionTableMultiCellAttributes {
 public:
  TdvActionTableCellVAlign(QObject* owner, TDVCellVAlign vAlign);

  TDVCellVAlign VAlign;

  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  // Mode 1 compares a cell's alignment with VAlign; mode 2 sets it.
  bool IterateCellProc(TDVTableItemInfo& table, bool first, int mode, int row, int col) override;

 private:
  bool allEqual_ = false;
};

}  // namespace quillet
