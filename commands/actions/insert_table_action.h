#pragma once
// Inserting a table with the look the command keeps (and the size and width
// the user may make its new defaults), and showing or hiding the grid lines
// of invisible borders in every document on the screen.
#include <QAction>

#include "commands/actions/action.h"
#include "editing/table/table_types.h"
#include "platform/core/colors.h"

namespace quillet {

class TDVTableItemInfo;

class TdvActionInsertTable : public TdvAction {
 public:
  using TdvAction::TdvAction;

  int RowCount = 2, ColCount = 2;
  TDVTableOptions TableOptions = DVTableDefaultOptions;
  TDVTablePrintOptions TablePrintOptions = DVTableDefaultPrintOptions;
  // 0 fits the contents, negative per cent of the window, positive pixels.
  int BestWidth = 0;
  TColor Color = clNone;
  int BorderWidth = 1;
  TColor BorderColor = clWindowText, BorderLightColor = clBtnHighlight;
  TDVTableBorderStyle BorderStyle = dvtbColor;
  // -1: the borders of neighbours are glued.
  int BorderVSpacing = -1, BorderHSpacing = -1;
  int CellBorderWidth = 1;
  TColor CellBorderColor = clWindowText, CellBorderLightColor = clBtnHighlight;
  int CellPadding = 1;
  TDVTableBorderStyle CellBorderStyle = dvtbColor;
  int VRuleWidth = 0;
  TColor VRuleColor = clWindowText;
  int HRuleWidth = 0;
  TColor HRuleColor = clWindowText;
  int CellVSpacing = -1, CellHSpacing = -1;
  bool VOutermostRule = false, HOutermostRule = false;

  // Enabled while the innermost editor has no table with selected cells.
  void UpdateTarget(TCustomControl* target) override;
  // The insert-table dialog, then the table at the caret.
  void ExecuteTarget(TCustomControl* target) override;

  // Every look property of the command onto a table not yet inserted.
  void ApplyToTable(TDVTableItemInfo& table) const;
  // The best width of each cell of a fitted table cols wide laid out at
  // textWidth: the width less 10 and the table's extras, shared out.
  static int32_t CellBestWidth(const TDVTableItemInfo& table, int cols, int32_t textWidth);
};

// Grid lines of invisible borders: checked while they are shown. Executing
// hides them, or shows them again in the configured style.
class TdvActionTableGrid : public QAction {
 public:
  explicit TdvActionTableGrid(QObject* owner = nullptr);

  bool HandlesTarget(TCustomControl* target);
  void UpdateTarget(TCustomControl* target);
  void ExecuteTarget(TCustomControl* target);
  void UpdateNow() { UpdateTarget(nullptr); }
  void ExecuteNow() { ExecuteTarget(nullptr); }
};

}  // namespace quillet
