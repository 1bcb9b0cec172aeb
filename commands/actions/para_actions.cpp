#include "commands/actions/para_actions.h"

#include <algorithm>

#include "editing/control/editor.h"

namespace quillet {

TdvActionParaState::TdvActionParaState(QObject* owner) : TdvActionParaStyles(owner) { setCheckable(true); }

void TdvActionParaState::UpdateTarget(TCustomControl* target) {
  setEnabled(true);
  TCustomDocViewEdit* editor = GetControl(target);
  const TParaInfo* style = editor ? CaretParaStyle(*editor) : nullptr;
  setChecked(style && IsChecked(*style));
}

void TdvActionParaState::ExecuteTarget(TCustomControl* target) {
  // A checkable action has flipped its own state on the way here; the
  // caret's paragraph decides, as the last update showed it.
  UpdateTarget(target);
  TdvActionParaStyles::ExecuteTarget(target);
  UpdateTarget(target);
}

void TdvActionAlignment::ApplyConversion(TParaInfo& style, int32_t) { style.Alignment = Alignment; }

void TdvActionWordWrap::ApplyConversion(TParaInfo& style, int32_t) {
  style.Options = isChecked() ? style.Options | dvpaoNoWrap : style.Options & ~dvpaoNoWrap;
}

void TdvActionLineSpacing::ApplyConversion(TParaInfo& style, int32_t) {
  style.LineSpacing = LineSpacing;
  style.LineSpacingType = dvlsPercent;
}

void TdvActionIndent::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) ExecuteCommand(*editor, editor->LeftMargin);
}

void TdvActionIndentInc::ApplyConversion(TParaInfo& style, int32_t) {
  // A paragraph already beyond the limit is not pulled back by "increase".
  style.LeftIndent = std::max(style.LeftIndent, std::min(style.LeftIndent + IndentStep, IndentMax));
}

void TdvActionIndentDec::ApplyConversion(TParaInfo& style, int32_t leftMargin) {
  style.LeftIndent = std::max(style.LeftIndent - IndentStep, 0);
  // A hanging first line never starts left of the page edge.
  if (style.LeftIndent + leftMargin + style.FirstIndent < 0) style.FirstIndent = -leftMargin - style.LeftIndent;
  const TDVBorder& border = style.Border();
  if (border.Style != dvbNone)
    style.LeftIndent = std::max(style.LeftIndent, border.GetTotalWidth() + border.BorderOffsets.Left - 1);
}

void CoverParaBorder(TParaInfo& style) {
  const TDVBorder& border = style.Border();
  if (border.Style == dvbNone) return;
  const int32_t w = border.GetTotalWidth() - 1;
  const TDVRect& o = border.BorderOffsets;
  style.LeftIndent = std::max(style.LeftIndent, o.Left + w);
  style.SpaceBefore = std::max(style.SpaceBefore, o.Top + w);
  style.RightIndent = std::max(style.RightIndent, o.Right + w);
  style.SpaceAfter = std::max(style.SpaceAfter, o.Bottom + w);
}

}  // namespace quillet
