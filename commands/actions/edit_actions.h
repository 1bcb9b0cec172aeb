#pragma once
// The edit commands: undo, redo, the clipboard and select all, forwarded to
// the editor and enabled from its state.
#include <string>

#include "commands/actions/action.h"

namespace quillet {

class TdvActionUndo : public TdvAction {
 public:
  using TdvAction::TdvAction;
  // While the editor has something to undo.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionRedo : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

// Cut and copy in the editor's default formats, while there is a selection.
class TdvActionCut : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionCopy : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

// While the editor can paste what the clipboard holds.
class TdvActionPaste : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
};

// Lets the user choose which of the clipboard's formats goes in.
class TdvActionPasteSpecial : public TdvActionPaste {
 public:
  using TdvActionPaste::TdvActionPaste;
  // The list's name for the editor's own format (UTF-8).
  std::string DVFCaption = "DocView Format";
  void ExecuteTarget(TCustomControl* target) override;
};

// Selects the whole document and gives the editor the focus; always enabled.
class TdvActionSelectAll : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void ExecuteTarget(TCustomControl* target) override;
};

// Pastes the clipboard's content in the format of a paste-special code
// (TPasteAsFormat) at the caret, in the innermost open cell too; false
// when the editor refused or the format could not be read.
bool PasteAs(TCustomDocViewEdit& editor, int code);

}  // namespace quillet
