#include "commands/actions/font_style_actions.h"

#include "editing/control/editor.h"

namespace quillet {

TdvActionFontStyle::TdvActionFontStyle(QObject* owner, TFontStyles fontStyle)
    : TdvActionTextStyles(owner), FontStyle(fontStyle) {
  setCheckable(true);
}

void TdvActionFontStyle::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  setEnabled(editor && editor->Style());
  const TFontInfo* style = editor ? CaretTextStyle(*editor) : nullptr;
  setChecked(isEnabled() && style && HasBit(*style));
}

void TdvActionFontStyle::ExecuteTarget(TCustomControl* target) {
  // A checkable action has flipped its own state on the way here; the
  // caret's style decides which way the toggle goes.
  UpdateTarget(target);
  if (!isEnabled()) return;
  TdvActionTextStyles::ExecuteTarget(target);
  UpdateTarget(target);
}

void TdvActionFontStyle::ApplyConversion(TFontInfo& style, int32_t) { SetBit(style, !isChecked()); }

void TdvActionFontStyle::SetBit(TFontInfo& style, bool on) const {
  style.Style = on ? style.Style | FontStyle : style.Style & ~FontStyle;
}

void TdvActionFontStyleEx::SetBit(TFontInfo& style, bool on) const {
  style.StyleEx = on ? style.StyleEx | StyleEx : style.StyleEx & ~StyleEx;
}

}  // namespace quillet
