// The editor's key map: shortcuts and editing keys at key-down, typed
// characters at key-press.
#include "editing/control/editor.h"

#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

// Keys that type nothing, so a selection survives them.
bool IsNonTypingKey(TKey key) {
  switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_PAUSE: case VK_CAPITAL: case VK_ESCAPE:
    case VK_SNAPSHOT: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_LWIN: case VK_RWIN: case VK_APPS: case VK_NUMLOCK: case VK_SCROLL:
      return true;
    default:
      return key >= VK_F1 && key <= VK_F1 + 23;
  }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void TCustomDocViewEdit::KeyDown(TKey& key, TShiftState shift) {
  // Keys act where the caret is: in the innermost open cell editor.
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->KeyDown(key, shift);
  // Without returns Enter is left to the form (its default button).
  if (key == VK_RETURN && (EditorOptions & dvoDoNotWantReturns)) return;
  tabTypedAtKeyDown_ = false;
  TDVEditDVData& data = EditData();
  data.PrepareForEdit();
  const bool ctrl = shift & ssCtrl, alt = shift & ssAlt, withShift = shift & ssShift;
  if ((key == 'Z' && ctrl && !alt) || (key == VK_BACK && alt && !ctrl)) {
    if (withShift)
      Redo();
    else
      Undo();
    key = 0;
    return;
  }
  TCustomDocView::KeyDown(key, shift);
  if (key == 0) return;
  const bool selection = data.SelectionExists(false, false);
  if ((key == VK_BACK || key == VK_DELETE) && selection) {
    if (IsCutShortcut(shift, key))
      CutDef();
    else
      DeleteSelection();
    key = 0;
    return;
  }
  if (!IsNonTypingKey(key)) {
    if (IsCutShortcut(shift, key)) {
      CutDef();
      key = 0;
      return;
    }
    if (IsPasteShortcut(shift, key)) {
      Paste();
      key = 0;
      return;
    }
    // What is typed next replaces the selection.
    if (!ctrl && !alt && key != VK_INSERT && selection && !DeleteSelection()) {
      key = 0;
      return;
    }
  }
  if (key == VK_CONTROL && (EditorOptions & dvoCtrlJumps)) {
    data.BuildJumpsCoords(true);
    GenerateMouseMove();
  }
  if (CaretStep(key, shift)) {
    key = 0;
    return;
  }
  switch (key) {
    case VK_BACK:
      if (BeforeChange(false)) TraceOn ? TraceBackSpace() : data.OnBackSpacePress_(ctrl);
      key = 0;
      break;
    case VK_DELETE:
      if (BeforeChange(false)) TraceOn ? TraceDelete() : data.OnDeletePress_(ctrl);
      key = 0;
      break;
    case VK_RETURN:
      if (BeforeChange(false)) data.OnEnterPress_(withShift);
      key = 0;
      break;
    case VK_TAB:
      if (ctrl) {
        char16_t tab = u'\t';
        KeyPress(tab);
        tabTypedAtKeyDown_ = true;
        key = 0;
      }
      break;
    default:
      break;
  }
}

bool TCustomDocViewEdit::CaretStep(TKey key, TShiftState shift) {
  if (key != VK_PRIOR && key != VK_NEXT && key != VK_END && key != VK_HOME && (key < VK_LEFT || key > VK_DOWN))
    return false;
  TDVEditDVData& data = EditData();
  const bool ctrl = shift & ssCtrl, withShift = shift & ssShift;
  if (withShift)
    data.StartShiftMoving();
  else if (data.SelectionExists(false, false))
    Deselect();
  if (BiDiMode() == dvbdRightToLeft && (key == VK_LEFT || key == VK_RIGHT)) key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
  bool blocked = false;
  TDVGetOutDirection direction = dvdLeft;
  switch (key) {
    case VK_PRIOR: data.OnPgUpPress(); break;
    case VK_NEXT: data.OnPgDownPress(); break;
    case VK_HOME: data.OnHomePress(ctrl); break;
    case VK_END: data.OnEndPress(ctrl); break;
    case VK_LEFT: blocked = data.OnLeftPress(withShift, ctrl); direction = dvdLeft; break;
    case VK_RIGHT: blocked = data.OnRightPress(withShift, ctrl); direction = dvdRight; break;
    case VK_UP: blocked = data.OnUpPress(withShift, ctrl); direction = dvdUp; break;
    default: blocked = data.OnDownPress(withShift, ctrl); direction = dvdDown; break;
  }
  if (blocked && OnCaretGetOut) OnCaretGetOut(*this, direction);
  if (withShift) data.EndShiftMoving();
  Invalidate();
  return true;
}

void TCustomDocViewEdit::KeyUp(TKey& key, TShiftState shift) {
  TCustomDocView::KeyUp(key, shift);
  if (key == VK_CONTROL && (EditorOptions & dvoCtrlJumps)) {
    EditData().ClearJumpsCoords();
    GenerateMouseMove();
  }
}

TDlgCodes TCustomDocViewEdit::WMGetDlgCode() {
  TDlgCodes codes = DLGC_WANTARROWS;
  if (!(EditorOptions & dvoDoNotWantReturns)) codes |= DLGC_WANTALLKEYS;
  if (EditorOptions & dvoWantTabs) codes |= DLGC_WANTTAB;
  return codes;
}

void TCustomDocViewEdit::KeyPress(char16_t& key) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->KeyPress(key);
  TCustomDocView::KeyPress(key);
  // Keys that edit (Enter, Backspace, the shortcuts) did their work at
  // key-down; their control characters type nothing.
  if ((key < 32 && key != u'\t') || key == 127) return;
  if (key == u'\t' && tabTypedAtKeyDown_) {
    tabTypedAtKeyDown_ = false;
    return;
  }
  if (IsHighSurrogate(key)) {
    pendingHighSurrogate_ = key;
    return;
  }
  const char16_t high = pendingHighSurrogate_;
  pendingHighSurrogate_ = 0;
  // A low half without its high one is no character.
  if (IsLowSurrogate(key) && !high) return;
  if (!BeforeChange(false)) return;
  const bool hadSelection = EditData().SelectionExists(false, false);
  if (!DeleteSelectionTraced() || EditData().SelectionExists(false, false)) return;
  if (key == u'\t') {
    const int16_t spaces = Style()->SpacesInTab;
    TypeCharacter(std::u16string(spaces > 0 ? spaces : 1, u' '));
  } else if (IsLowSurrogate(key)) {
    const char16_t pair[] = {high, key};
    TypeCharacter(std::u16string_view(pair, 2));
  } else {
    TypeCharacter(std::u16string_view(&key, 1));
  }
  // The reformat marked the changed band (to the bottom when heights moved,
  // everything when it scrolled); a deleted selection may reach further.
  if (hadSelection)
    Refresh();
  else
    Update();
}

void TCustomDocViewEdit::TypeCharacter(std::u16string_view character) {
  TDVEditDVData& data = EditData();
  if (data.FPartialSelectedItem || !data.CanDelete()) {
    data.Beep();
    return;
  }
  std::string bytes;
  if (PrepareTextInput(character, bytes)) data.InsertTextTyping(bytes);
}

}  // namespace quillet
