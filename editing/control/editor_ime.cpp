// Input methods: the text being composed is drawn at the caret and never
// stored; the composed result goes in as typed characters.
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet {

void TCustomDocViewEdit::ImeComposition(std::u16string_view composing, int32_t caret) {
  InvalidateRect(preeditRect_);
  preedit_.assign(composing);
  preeditCaret_ = caret;
  preeditRect_ = {};
  if (!preedit_.empty()) {
    const TRect at = ImeCompositionRect();
    // Wide enough for the text in any style; painting measures it exactly.
    preeditRect_ = TRect{at.Left, at.Top, ClientWidth(), at.Bottom + 2};
  }
  InvalidateRect(preeditRect_);
}

void TCustomDocViewEdit::ImeResult(std::u16string_view text) {
  InvalidateRect(preeditRect_);
  preedit_.clear();
  preeditRect_ = {};
  if (text.empty() || !BeforeChange(false)) return;
  // Replacing a selection deletes it as a key does: with tracking, marked.
  if (!DeleteSelectionTraced() || EditData().SelectionExists(false, false)) return;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 32 && unit != u'\t') continue;
    // A surrogate pair goes in whole; a half without its partner is no
    // character.
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        TypeCharacter(text.substr(i, 2));
        ++i;
      }
      continue;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) continue;
    TypeCharacter(text.substr(i, 1));
  }
  Refresh();
  UpdateImePosition();
}

TRect TCustomDocViewEdit::ImeCompositionRect() {
  TDVEditDVData& data = EditData();
  TPoint at{0, 0};
  data.GetIMEWinCoord(at);
  const int32_t height = std::max(data.CaretRect.Bottom - data.CaretRect.Top, 1);
  return TRect{at.X + 1, at.Y + 1, at.X + 2, at.Y + 1 + height};
}

void TCustomDocViewEdit::PaintPreedit(TCanvas& canvas) {
  if (preedit_.empty() || !Style()) return;
  Style()->ApplyStyle(canvas, CurTextStyleNo(), BiDiMode());
  const TRect at = ImeCompositionRect();
  const TSize size = canvas.TextExtentW(preedit_);
  const TRect box{at.Left, at.Top, at.Left + size.cx, at.Top + size.cy};
  canvas.Brush() = TBrush{ColorToRGB(clWindow), bsSolid};
  canvas.FillRect(box);
  canvas.Brush().Style = bsClear;
  canvas.TextOutW(box.Left, box.Top, preedit_);
  // Composed text is underlined, with the composition's own caret.
  canvas.Pen() = TPen{ColorToRGB(clWindowText), 1, psSolid};
  canvas.MoveTo(box.Left, box.Bottom - 1);
  canvas.LineTo(box.Right, box.Bottom - 1);
  const int32_t caretX =
      box.Left + canvas.TextExtentW(std::u16string_view(preedit_).substr(
                                        0, static_cast<size_t>(std::clamp<int32_t>(preeditCaret_, 0, preedit_.size())))).cx;
  canvas.MoveTo(caretX, box.Top);
  canvas.LineTo(caretX, box.Bottom);
  preeditRect_ = TRect{box.Left, box.Top, std::max(box.Right, preeditRect_.Right), box.Bottom + 1};
}

}  // namespace quillet
