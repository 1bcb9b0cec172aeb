#pragma once
// Commands that put a horizontal line or a page break at the caret, take a
// page break away, and open the properties dialog of the item at the caret.
#include <string>

#include "commands/actions/action.h"
#include "platform/core/colors.h"

namespace quillet {

class TdvActionInsertHLine : public TdvAction {
 public:
  using TdvAction::TdvAction;
  TColor Color = clWindowText;
  uint8_t Width = 1;
  // Enabled unless a table of the innermost editor has cells selected.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionInsertPageBreak : public TdvAction {
 public:
  using TdvAction::TdvAction;
  // Enabled while no cell is being edited: a page break splits pages of
  // the document, never of a cell.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionRemovePageBreak : public TdvAction {
 public:
  using TdvAction::TdvAction;
  // Enabled when the innermost editor's current item has a page break
  // before it.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionItemProperties : public TdvAction {
 public:
  using TdvAction::TdvAction;
  // For the dialog's picture replacement.
  std::string GraphicFilter;
  // Enabled without a selection on a picture, hot picture, line or table.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

}  // namespace quillet
