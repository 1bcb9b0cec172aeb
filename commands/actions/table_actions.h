#pragma once
// The commands on the table at the caret: rows and columns, selection,
// merging and splitting, deletion, properties and the cells' vertical
// alignment. The selection they work on includes the cell being edited.
#include "commands/actions/table_cell_actions.h"

namespace quillet {

class TdvActionTableInsertRowsAbove : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// Below the table's last row it asks how many rows (1 to 100) to add.
class TdvActionTableInsertRowsBelow : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool AllowMultiple = true;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableInsertColLeft : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableInsertColRight : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// Deleting every row (column) deletes the table.
class TdvActionTableDeleteRows : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableDeleteCols : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableSelectRows : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableSelectCols : public TdvActionTableRCBase {
 public:
  using TdvActionTableRCBase::TdvActionTableRCBase;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableSelectTable : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// The cell being edited becomes the selection.
class TdvActionTableSelectCell : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableDeleteTable : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// One undo step: the merge, then rows and columns left without cells go.
class TdvActionTableMergeCells : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// The split dialog: into rows and columns (merged first when asked), or
// back into the cells a merge made.
class TdvActionTableSplitCells : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

// The item-properties dialog for the table and its selected cells and rows.
class TdvActionTableProperties : public TdvActionTableCell {
 public:
  using TdvActionTableCell::TdvActionTableCell;
  bool IsApplicable(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
  bool ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) override;
};

class TdvActionTableCellVAlignTop : public TdvActionTableCellVAlign {
 public:
  explicit TdvActionTableCellVAlignTop(QObject* owner = nullptr) : TdvActionTableCellVAlign(owner, dvcTop) {}
};

class TdvActionTableCellVAlignMiddle : public TdvActionTableCellVAlign {
 public:
  explicit TdvActionTableCellVAlignMiddle(QObject* owner = nullptr) : TdvActionTableCellVAlign(owner, dvcMiddle) {}
};

class TdvActionTableCellVAlignBottom : public TdvActionTableCellVAlign {
 public:
  explicit TdvActionTableCellVAlignBottom(QObject* owner = nullptr) : TdvActionTableCellVAlign(owner, dvcBottom) {}
};

class TdvActionTableCellVAlignDefault : public TdvActionTableCellVAlign {
 public:
  explicit TdvActionTableCellVAlignDefault(QObject* owner = nullptr)
      : TdvActionTableCellVAlign(owner, dvcVDefault) {}
};

}  // namespace quillet
