#pragma once
// The editor: a viewer whose document is editable. So far it owns the
// editable data and answers what the data asks of it while changing the
// document: whether it may change, the modified flag, the change event and
// the undo limit.
#include <functional>
#include <memory>

#include "editing/edit/edit_data.h"
#include "engine/model/break_item.h"
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
class TGraphic;

enum TDVGetOutDirection : uint8_t { dvdLeft, dvdUp, dvdRight, dvdDown, dvdTop, dvdBottom };
using TDVOnCaretGetOutEvent = std::function<void(TCustomDocView& sender, TDVGetOutDirection direction)>;
class TCustomDocViewEdit;
// The clipboard formats Paste takes, best first.
enum class TPasteFormatKind : uint8_t { None, DocView, Rtf, Text, Bitmap };
// Fired before a paste; doDefault false cancels it.
using TDVPasteEvent = std::function<void(TCustomDocViewEdit& sender, bool& doDefault)>;

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
  // One group undone (redone) where the caret is: in the innermost open
  // cell editor, which passes on to its outer editor when it has nothing.
  void Undo();
  void Redo();
  // This editor's own history only; a beep when read-only or nothing is there.
  virtual void UndoOwn();
  virtual void RedoOwn();

  // The innermost open cell editor down the chain of tables' in-place
  // editors; this editor when none is open. Public editing methods act there.
  TCustomDocViewEdit* GetTopLevelEditor() const;
  // That cell editor, null when none is open.
  TCustomDocViewEdit* InplaceTarget() const {
    TCustomDocViewEdit* top = GetTopLevelEditor();
    return top == this ? nullptr : top;
  }

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
  // What the input method is composing now (drawn, not in the document).
  std::u16string_view Preedit() const { return preedit_; }

  // ---- editing methods (editor_methods.cpp) ----
  // Each asks BeforeChange and changes the document in one undo group; false
  // (a beep) when refused. An insertion first deletes the selection.
  // The item is freed when it cannot go in.
  bool InsertItem(const std::string& name, std::unique_ptr<TCustomDVItemInfo> item);
  bool InsertBreak(uint8_t width, TDVBreakStyle style, TColor color);
  bool InsertPicture(const std::string& name, std::unique_ptr<TGraphic> graphic, TDVVAlign vAlign);
  // A text item in the current text style with its own tag.
  bool InsertStringTag(const std::string& s, const TDVTag& tag);
  // 8-bit text in the current style's code page; line ends start paragraphs.
  bool InsertText(const std::string& s, bool caretBefore = false);
  bool InsertTextW(std::u16string_view s, bool caretBefore = false);
  // UTF-16LE bytes.
  bool InsertTextW_(const std::string& s);
  // Text as typing and paste put it in: in the current 8-bit style when its
  // code page holds every character, else in the sheet's Unicode style;
  // marked while tracking.
  bool InsertTextAsTyped(std::u16string_view s, bool caretBefore = false);
  bool InsertTextFromFile(const std::string& fileName);
  bool InsertTextFromFileW(const std::string& fileName);
  bool InsertDVFFromStreamEd(TStream& stream);
  // The file holds the compressed form.
  bool InsertDVFFromFileEd(const std::string& fileName);
  bool InsertRTFFromStreamEd(TStream& stream);
  bool InsertRTFFromFileEd(const std::string& fileName);
  void InsertPageBreak();
  void RemoveCurrentPageBreak();
  // Whether the selection may be deleted under the protection rules.
  bool CanDelete() { return EditData().CanDelete(); }

  void ApplyStyleConversion(int32_t userData);
  void ApplyParaStyleConversion(int32_t userData);
  void ApplyParaStyle(int32_t paraNo);

  // The item at the caret and where the caret is in it.
  TCustomDVItemInfo* GetCurrentItem() const;
  // The item at the caret that is a T, looked for from the innermost open
  // cell editor outwards (its partly selected item first; an outer editor's
  // item is the one whose cell is open), with the editor whose document
  // holds it; null (holder too) when no editor of the chain has one.
  template <class T>
  T* GetCurrentItemEx(TCustomDocViewEdit*& holder) const {
    return static_cast<T*>(
        FindCurrentItem([](const TCustomDVItemInfo& item) { return dynamic_cast<const T*>(&item) != nullptr; },
                        holder));
  }
  TCustomDVItemInfo* FindCurrentItem(const std::function<bool(const TCustomDVItemInfo&)>& matches,
                                     TCustomDocViewEdit*& holder) const;
  int GetCurItemNo() const { return EditData().GetCurItemNo(); }
  int32_t GetOffsetInCurItem() const { return EditData().GetOffsetInCurItem(); }
  const TDVTag& GetCurrentTag() const { return EditData().GetItemTag(GetCurItemNo()); }
  // As stored: UTF-16LE bytes in a Unicode item.
  std::string GetCurrentItemText() const { return EditData().GetItemTextR(GetCurItemNo()); }
  // Item setters: the item's kind is checked (EDocViewError), the change is
  // one undo group; a value equal to the old one changes nothing.
  void SetBreakInfoEd(int itemNo, uint8_t width, TDVBreakStyle style, TColor color, const TDVTag& tag);
  void SetCurrentBreakInfo(uint8_t width, TDVBreakStyle style, TColor color, const TDVTag& tag);
  // A null graphic keeps the picture.
  void SetPictureInfoEd(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic, TDVVAlign vAlign,
                        const TDVTag& tag);
  void SetCurrentPictureInfo(const std::string& name, std::unique_ptr<TGraphic> graphic, TDVVAlign vAlign,
                             const TDVTag& tag);
  // SetPictureInfoEd under a picture-marking group; inside a tracked
  // deletion it joins the deletion's group.
  void SetPictureInfoEdMy(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic, TDVVAlign vAlign,
                          const TDVTag& tag);
  // autoReformat false: laid out and reported by the caller's EndItemModify.
  void SetItemExtraIntPropertyEd(int itemNo, TDVExtraItemProperty prop, int32_t value, bool autoReformat);
  void SetCurrentItemExtraIntProperty(TDVExtraItemProperty prop, int32_t value, bool autoReformat);
  void SetItemTagEd(int itemNo, const TDVTag& tag);
  // A picture becomes a hot picture and back; -1: the caret's item.
  void ConvertToHotPicture(int itemNo);
  void ConvertToPicture(int itemNo);
  // Around changes of an item made in steps by the host.
  void BeginItemModify(int itemNo, int32_t& width) { EditData().BeginItemModify(itemNo, width); }
  void EndItemModify(int itemNo, int32_t width);
  void BeginCurrentItemModify(int32_t& width) { BeginItemModify(GetCurItemNo(), width); }
  void EndCurrentItemModify(int32_t width) { EndItemModify(GetCurItemNo(), width); }

  TDVUndoType UndoAction() const { return EditData().UndoList->CurrentUndoType(); }
  TDVUndoType RedoAction() const { return EditData().RedoList->CurrentUndoType(); }
  std::string UndoName() const { return EditData().UndoList->CurrentUndoCaption(); }
  std::string RedoName() const { return EditData().RedoList->CurrentUndoCaption(); }
  void ClearUndo();
  void BeginUndoGroup(TDVUndoType undoType) { EditData().BeginUndoSequence(undoType, true); }
  void SetUndoGroupMode(bool groupUndo) { EditData().SetUndoGroupMode(groupUndo); }

  void SelectBackWord() { EditData().SelectBackWord(); }
  void CaretMoveBack() { EditData().CaretMoveBack(); }
  void CaretMoveNext() { EditData().CaretMoveNext(); }
  // The text found is selected; false when there is none.
  bool SearchText(const std::string& s, TDVESearchOptions options);
  // The viewer's events and, from an editor, the editor's own (not
  // OnChange, OnChanging or OnCaretGetOut).
  void AssignEvents(const TCustomDocView& source);

  // ---- paste and revision tracking (editor_paste.cpp, editor_tracking.cpp) ----
  // While TraceOn, insertions take the reviewer's "inserted" style and
  // deletions the "deleted" one (through OnStyleConversion with
  // Orvane_TraceSaveInsert and Orvane_TraceSaveDelet) and deleted text
  // stays; pictures are marked by their names. The reviewer's own
  // insertions (underlined in TraceUserColor) are deleted outright.
  bool TraceOn = false;
  TColor TraceUserColor = clNone;
  // In the system code page, as the host's reviewer table holds it.
  std::string TraceUserName;
  TDVPasteEvent OnPaste;
  // The best format the clipboard holds, in one undo group ("DocView
  // Format", "Rich Text Format", text, picture). A selection is deleted
  // first, before OnPaste may cancel. With no usable format nothing happens
  // but a beep.
  void Paste();
  // One format at the caret; false when it is not there or cannot be read.
  bool PasteDVF();
  bool PasteRTF();
  // Text is one on this platform: both read the clipboard's plain text.
  bool PasteText();
  bool PasteTextW() { return PasteText(); }
  // textAsName: the clipboard's text names the picture.
  bool PasteBitmap(bool textAsName);
  // The platform has no metafile format.
  bool PasteMetafile(bool /*textAsName*/) { return false; }
  bool CanPaste() const;
  bool CanPasteDVF() const;
  bool CanPasteRTF() const;
  // Whether item itemNo is the reviewer's own insertion: underlined text in
  // TraceUserColor, or a picture named as inserted by the reviewer.
  bool IsOwnInsertion(int itemNo) const;
  // TraceUserName with "插入的图片" (inserted) or "删除的图片" (deleted).
  std::string InsertedPictureName() const;
  std::string DeletedPictureName() const;

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
  // Input methods (editor_ime.cpp).
  void ImeComposition(std::u16string_view composing, int32_t caret) override;
  void ImeResult(std::u16string_view text) override;
  TRect ImeCompositionRect() override;

 private:
  // An insertion: the selection deleted, then insert(), all in one undo
  // group; group mode ends however insert() ends.
  bool Inserting(const std::function<bool()>& insert);
  // An item setter's frame: its group, then the item's layout and Change.
  void ModifyItem(int itemNo, TDVUndoType undoType, const std::function<void()>& modify,
                  const std::string& caption = std::string());
  void SetPictureInfo(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic, TDVVAlign vAlign,
                      const TDVTag& tag, TDVUndoType undoType, const std::string& caption);
  // Unicode text goes in the sheet's Unicode style when the current style
  // is an 8-bit one.
  void BeforeUnicode();
  void ParaChange(int32_t value, bool convertMode);
  // The focus goes where the caret is after an undo or redo.
  void FocusAfterUndo();
  // A picture exchanged for its converted copy.
  void ReplacePicture(int itemNo, std::unique_ptr<TCustomDVItemInfo> picture);
  int CurrentItemNo(int itemNo) const { return itemNo < 0 ? GetCurItemNo() : itemNo; }
  // The text being composed, over the document at the caret.
  void PaintPreedit(TCanvas& canvas);
  std::u16string preedit_;
  int32_t preeditCaret_ = 0;
  TRect preeditRect_;
  void RestartCaretBlink();
  void InvalidateCaret();
  TRect CaretClientRect() const;
  // Text typed through the data's typing path, one character at a time.
  void TypeCharacter(std::u16string_view character);
  // The one text path of keys, input method and paste (editor_tracking.cpp):
  // with tracking the caret takes the "inserted" style; text goes into an
  // 8-bit style only when its code page holds every character, else into
  // the sheet's Unicode style. bytes: the text in the current style's
  // form. False (a beep) when no style can hold it.
  bool PrepareTextInput(std::u16string_view text, std::string& bytes);
  // While tracking, the current text style becomes the reviewer's
  // "inserted" one, so that text inserted now is marked.
  void MarkTracedInsertion();
  // PrepareTextInput, then the text inserted in the style it chose.
  bool InsertPreparedText(std::u16string_view text, bool caretBefore);
  // The conversion handler asked for code on the selection, or on the
  // caret's style without one.
  void ApplyTraceConversion(int32_t code);
  // The tracked deletion of the selection; false when it stopped with the
  // selection still there (a table in it, or own and others' items mixed).
  bool TraceDeleteSelection();
  // Tracked Backspace and Delete: the character removed is marked, unless
  // it is the reviewer's own insertion, which goes.
  void TraceBackSpace();
  void TraceDelete();
  // The character before (after) the caret as a selection; false at a line
  // start (end).
  bool SelectCharBeforeCaret();
  bool SelectCharAfterCaret();
  // Marks the selected character (Backspace, Delete); false when it was
  // deleted outright.
  bool TraceMarkSelectedChar();
  // The selection deleted, or with tracking marked; no change protocol.
  bool DeleteSelectionTraced();
  // One format pasted inside Paste's group; an exception is a failure (a beep).
  bool PasteFormat(TPasteFormatKind format);
  // The pasted range, from the start to the caret: marked as inserted with
  // tracking, its pictures named.
  void MarkPasted(int startNo, int32_t startOffs, bool atDocStart);
  friend class TDVInsertionScope;
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

// An insertion at the caret as one undo group, in group mode so that every
// sequence inside joins it. At the start (BeforeInserting) it is refused, with
// a beep, while an item is partly selected or the selection may not be
// deleted; otherwise the selection is deleted (with tracking, marked). At the
// end (AfterInserting), however the scope ends, group mode goes, an empty
// group is dropped and the editor repaints and reports the change.
class TDVInsertionScope {
 public:
  explicit TDVInsertionScope(TCustomDocViewEdit& editor);
  ~TDVInsertionScope();
  TDVInsertionScope(const TDVInsertionScope&) = delete;
  TDVInsertionScope& operator=(const TDVInsertionScope&) = delete;
  bool Allowed() const { return allowed_; }

 private:
  TCustomDocViewEdit& editor_;
  TDVEditOperation operation_;
  bool grouped_ = false, allowed_ = false;
};

// The editor as a host places it.
class TDocViewEdit : public TCustomDocViewEdit {
 public:
  explicit TDocViewEdit(QWidget* parent = nullptr) : TCustomDocViewEdit(parent) {}

 protected:
  TDocViewEdit(QWidget* parent, const TMakeEditData& makeData) : TCustomDocViewEdit(parent, makeData) {}
};

}  // namespace quillet
