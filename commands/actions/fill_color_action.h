#pragma once
// The fill-colour command: one dialog that sets the background colour of
// the selected text, the paragraphs, the selected table cells or the whole
// table at the caret, opening on what the selection has in common.
#include "commands/actions/action.h"
#include "engine/style/border.h"
#include "platform/core/colors.h"

namespace quillet {

class TDVTableItemInfo;
class TfrmDVFillColor;

class TdvActionFillColor : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void ExecuteTarget(TCustomControl* target) override;
  // Gathers the text and paragraph background colours and the paragraphs'
  // common background offsets.
  void IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) override;

 private:
  void Gather(TCustomDocViewEdit& editor);
  // Fills the apply-to list and picks its entry and the colour shown.
  void Offer(TfrmDVFillColor& form, TCustomDocViewEdit& editor);
  void Apply(TCustomDocViewEdit& editor, int target, TColor color, const TDVRect& padding,
             const TDVBooleanRect& usePadding);

  bool textFound_ = false, paraFound_ = false, textsDiffer_ = false, parasDiffer_ = false;
  TColor textColor_ = clNone, paraColor_ = clNone;
  TDVRect padding_;
  TDVBooleanRect usePadding_{true};
};

}  // namespace quillet
