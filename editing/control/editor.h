#pragma once
// The editor: a viewer whose document is editable. So far it owns the
// editable data and answers what the data asks of it while changing the
// document: whether it may change, the modified flag, the change event and
// the undo limit.
#include <functional>
#include <memory>

#include "editing/edit/edit_data.h"
#include "engine/model/style_conversion.h"
#include "engine/view/docview.h"

namespace quillet {

// How the editor treats keys and styles (the read-only caret has its own
// flag, HideReadOnlyCaret).
enum TDVEditorOption : uint8_t {
  dvoClearTagOnStyleApp = 1, dvoCtrlJumps = 2, dvoDoNotWantReturns = 4, dvoWantTabs = 8, dvoAutoSwitchLang = 16
};
using TDVEditorOptions = uint8_t;

// Where a caret step tried to leave the document.
enum TDVGetOutDirection : uint8_t { dvdLeft, dvdUp, dvdRight, dvdDown, dvdTop, dvdBottom };
using TDVOnCaretGetOutEvent = std::function<void(TCustomDocView& sender, TDVGetOutDirection direction)>;

class TCustomDocViewEdit : public TCustomDocView {
 public:
  explicit TCustomDocViewEdit(QWidget* parent = nullptr);
  ~TCustomDocViewEdit() override;

  TDVEditDVData& EditData() const { return static_cast<TDVEditDVData&>(DVData()); }

  // Set by every change.
  bool Modified = false;
  // -1: unlimited; 0: undo is off. Kept in the data's undo list.
  int UndoLimit() const { return EditData().UndoList->Limit; }
  void SetUndoLimit(int value) { EditData().UndoList->Limit = value; }

  // Whether the document may change now: it must not be read-only, needs a
  // style sheet and, for a change from inside (fromOutside false), no item
  // holding the mouse.
  // Allowed: OnChanging fires; refused: a beep.
  virtual bool BeforeChange(bool fromOutside);
  // After a change: Modified, the redo list emptied (clearRedo), OnChange.
  virtual void DoChange(bool clearRedo);

  // The selection deleted as one undoable change; false when refused.
  bool DeleteSelection();
  // Copies the selection, then deletes it.
  void CutDef();
  // One group undone (redone); a beep when read-only or nothing is there.
  void Undo();
  void Redo();

  // The handlers of text-style and paragraph-style conversions; the data
  // asks the current one, which a conversion copies from either first.
  TDVStyleConversionEvent OnStyleConversion;
  TDVStyleConversionEvent OnParaStyleConversion;
  TDVStyleConversionEvent FCurStyleConversion;

  TDVNotifyEvent OnChanging;
  TDVNotifyEvent OnChange;
  TDVNotifyEvent OnCaretMove;
  // An arrow key could not move the caret out of the document.
  TDVOnCaretGetOutEvent OnCaretGetOut;

  TDVEditorOptions EditorOptions = dvoClearTagOnStyleApp;
  bool ReadOnly = false;
  // Read-only, hyperlinks work as in the viewer: their areas are built;
  // editable again, they are cleared. The caret is placed again.
  void SetReadOnly(bool value);
  // A read-only editor shows no caret.
  bool HideReadOnlyCaret = false;

  // The current text and paragraph styles (the data's). Writing a
  // different one, or any while the data's state has
  // dvstForceStyleChangeEvent (which the write clears), fires the
  // style-changed event.
  int32_t CurTextStyleNo() const { return EditData().FCurTextStyleNo; }
  int32_t CurParaStyleNo() const { return EditData().FCurParaStyleNo; }
  void SetCurTextStyleNo(int32_t styleNo);
  void SetCurParaStyleNo(int32_t paraNo);
  TDVNotifyEvent OnCurTextStyleChanged;
  TDVNotifyEvent OnCurParaStyleChanged;
  // The caret moved: its blink starts over, OnCaretMove fires.
  virtual void AfterCaretMove();
  // The caret blinks on a timer of its own; id 1 is the autoscroll's.
  static constexpr uint32_t kCaretTimerId = 2;
  // Whether the caret is in its visible phase (focused and not blinked off).
  bool CaretVisible() const { return caretOn_ && Focused(); }

 protected:
  using TMakeEditData = std::function<std::unique_ptr<TDVEditDVData>(TCustomDocViewEdit&)>;
  // An editor whose data is made by makeData (a descendant's data class).
  TCustomDocViewEdit(QWidget* parent, const TMakeEditData& makeData);

  // Fire OnCurTextStyleChanged / OnCurParaStyleChanged while a style sheet
  // is set and the editor is not being destroyed.
  virtual void CurTextStyleChange();
  virtual void CurParaStyleChange();

  // Qt has no system caret: the editor paints it over the document.
  void Paint(TCanvas& canvas) override;
  void WMTimer(uint32_t id) override;
  void WMSetFocus(TFocusReason reason) override;
  void WMKillFocus(TFocusReason reason) override;
  // The key map (editor_keys.cpp).
  void KeyDown(TKey& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void KeyUp(TKey& key, TShiftState shift) override;
  TDlgCodes WMGetDlgCode() override;

 private:
  void RestartCaretBlink();
  void InvalidateCaret();
  TRect CaretClientRect() const;
  // Text typed through the data's typing path, one character at a time.
  void TypeCharacter(std::u16string_view character);
  // Page, Home, End and arrow keys; false for any other key.
  bool CaretStep(TKey key, TShiftState shift);
  bool caretOn_ = true;
  // The high half of a surrogate pair waits for its low half.
  char16_t pendingHighSurrogate_ = 0;
  // Ctrl+Tab typed its tab at key-down; the tab its event may carry as
  // text is not typed again.
  bool tabTypedAtKeyDown_ = false;
  TRect paintedCaret_;
};

// The editor as a host places it.
class TDocViewEdit : public TCustomDocViewEdit {
 public:
  explicit TDocViewEdit(QWidget* parent = nullptr) : TCustomDocViewEdit(parent) {}

 protected:
  TDocViewEdit(QWidget* parent, const TMakeEditData& makeData) : TCustomDocViewEdit(parent, makeData) {}
};

}  // namespace quillet
