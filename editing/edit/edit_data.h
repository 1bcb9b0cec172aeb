#pragma once
// The document data of the editor: a viewer's data with a caret, the
// current text and paragraph styles, an undo and a redo list, and the
// primitives (Do_...) through which every change to the items passes. Each
// primitive changes one thing and, while recording, appends the record that
// takes it back; undo replays records through the same primitives, so the
// inverse of an undone change lands in the redo list.
//
// An operation runs as:
//   TDVEditOperation op(data);             // UndoDest goes back to udNone at the end
//   data.BeginUndoSequence(dvutInsert, true);
//   ... Do_ primitives ...
//   data.Reformat_(full, startDrawItemNo, endDrawItemNo, itemsAdded);
//   data.Change();
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/undo/undo_list.h"
#include "engine/style/para_style.h"
#include "engine/style/text_style.h"
#include "engine/view/docview_data.h"

namespace quillet {

class TCustomDocViewEdit;
class TDVIntPropertyOwner;
class TDVUndoModifyItemIntProperties;
class TDVUndoModifyItemIntProperty;
class TDVUndoModifyItemProps;

// A caret stop of the caret's line.
struct TDVCharPos {
  int32_t X = 0;
  int DrawItemNo = -1;
  int32_t Offset = -1;
  int32_t MoveRightTo = 0;
};

// Caret geometry, in pixels.
inline int32_t DocViewEditCaretWidth = 1;
inline int32_t DocViewEditCaretHeightExtra = 0;
inline int32_t DocViewEditMaxCaretHeight = 1000;

// A piece of inserted text in the current text style's form, and how it
// starts: at the caret (the first piece), as a paragraph or as a line.
struct TDVTextPiece {
  enum TStart : uint8_t { tpsCaret, tpsPara, tpsLine };
  std::string Text;
  TStart Start = tpsCaret;
  bool PageBreak = false;
};

class TDVEditDVData : public TDocViewDVData {
 public:
  explicit TDVEditDVData(TCustomDocViewEdit& editor);
  ~TDVEditDVData() override;
  TCustomDocViewEdit& Editor() const;

  int32_t FPrevTextStyleNo = 0;
  TCustomDVItemInfo* ResizingControl = nullptr;
  std::vector<TDVCharPos> CharEnds;
  // A hidden editor working on another document's behalf (cells restyled
  // through it) keeps only the caret's own stop: nothing draws its caret or
  // moves it by keys, so the line's other stops would be measured for nothing.
  bool CaretStopOnly = false;
  int32_t FCurTextStyleNo = 0, FCurParaStyleNo = 0;
  std::unique_ptr<TDVUndoList> UndoList, RedoList;
  TDVUndoDest UndoDest = udNone;
  int CaretDrawItemNo = -1;
  int32_t CaretOffs = -1;
  int IsPaste = 0;

  void ClearTemporal() override;
  // The document, the modified flag, both lists and the current styles.
  void Clear() override;

  // ---- recording ----
  // The list primitives append to; null while nothing is recorded.
  TDVUndoList* GetUndoList();
  void BeginUndoSequence(TDVUndoType undoType, bool allowFinalize);
  void BeginNamedUndoSequence(TDVUndoType undoType, const std::string& caption, bool allowFinalize);
  void BeginRedoSequence(TDVUndoType undoType, const std::string& caption);
  void SetUndoGroupMode(bool groupUndo);
  // ---- the caret (caret_model.cpp) ----
  // The caret in item terms: the partially selected item, else the chosen
  // item, else the item of the caret's drawing item; -1 without a caret.
  int GetCurItemNo() const;
  int32_t GetOffsetInCurItem() const;
  // Where the user is, to put them back after the items were laid out anew:
  // the selection's bounds in item terms, or the caret's place twice when
  // nothing is selected (typing leaves no selection).
  void StoreSelOrCaret(int& startNo, int& endNo, int32_t& startOffs, int32_t& endOffs) const;
  bool NotFormatted() const { return DrawItems.Count() == 0; }
  // Rebuilds CharEnds for the line of CaretDrawItemNo and chooses the stop
  // of that drawing item with the given offset.
  void OnChangeCaretLine(int32_t offset);
  // Places the caret from CharEnds[CaretOffs]: its rectangle, the current
  // styles (unless keepStyles), the view scrolled to it (scroll), and the
  // editor told.
  void ChangeCaret(bool forceCreate, bool scroll, bool repaint, bool keepStyles);
  // The caret at an item position (and no selection).
  void SetCaretAtItem(int itemNo, int32_t offs, bool scroll = true);
  // An empty document gets one empty line and a caret in it.
  void PrepareForEdit();
  void Format_(bool onlyResized, bool forceFormat, bool noScroll, int depth, TCanvas& canvas,
               bool onlyTail) override;
  // The caret goes to the selection's end.
  void DoOnSelection() override;
  // The caret's rectangle in document coordinates; empty while no caret
  // is shown.
  TRect CaretRect;
  bool CaretShown() const { return CaretRect.Bottom > CaretRect.Top; }
  // The current styles through the editor, which fires its style-changed
  // events.
  void SetCurTextStyleNo(int32_t styleNo);
  void SetCurParaStyleNo(int32_t paraNo);
  // Hyperlinks in an editor. Built when forced (a read-only editor, Ctrl
  // held with dvoCtrlJumps) or when the editor is not read-only, never
  // while the mouse is captured; cleared (not read-only, no capture, built)
  // with the caret placed again. Either way the hover state goes.
  // A cell editor's data has its links built and cleared with the outer
  // document's, which numbers them.
  using TDocViewDVData::BuildJumpsCoords;
  virtual void BuildJumpsCoords(bool force);
  virtual void ClearJumpsCoords();
  // The item drawn hot because the caret is on it (a hover-sensitive link);
  // null when none.
  TCustomDVItemInfo* HotItem() const { return hotItem_; }
  // The item of drawItemNo drawn hot: recorded as the jump under the mouse,
  // dvstDrawHover set, repainted. MakeCold clears any hot state.
  void MakeHot(int drawItemNo);
  void MakeCold();

  // ---- services (edit_services.cpp) ----
  // Without a selection both ends are the caret.
  void GetSelectionBoundsEx(int& startItemNo, int32_t& startItemOffs, int& endItemNo, int32_t& endItemOffs,
                            bool normalize);
  // Without a selection, the caret.
  void GetSelStart(int& drawItemNo, int32_t& drawItemOffs);
  // Where the input method's window goes, in client coordinates.
  void GetIMEWinCoord(TPoint& point) const;
  // Whether a text item's style carries the protection option (never for
  // other items).
  bool IsProtected(int itemNo, TDVProtectOption option) const;
  bool IsParaProtected(int32_t paraNo, TDVParaOption option) const;
  bool IsItemParaProtected(int itemNo) const;
  // Whether the boundary after firstItemNo (-1: the document's start) may
  // not be joined or separated; true beeps.
  bool IsSticking(int firstItemNo);
  // The bracket around a caret step with Shift.
  void StartShiftMoving();
  void EndShiftMoving();
  // Selects the character before the caret (a picture is one).
  void SelectBackWord();
  // An empty selection at the caret.
  void CaretMoveBack();
  void CaretMoveNext() { CaretMoveBack(); }
  // A position on a list marker moves off it.
  void AdjustMarkerPos(int& itemNo, int32_t& offs) const;
  void AdjustMarkerCaret(bool right, int32_t& offs);
  bool CaretAtTheBeginningOfParaSection() const;
  bool CaretAtTheEndOfParaSection() const;
  void MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const override;
  void AfterDeleteStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) override;
  void DeselectPartiallySelectedItem(TCustomDVItemInfo* newPartiallySelected) override;
  void SetPartialSelectedItem(TCustomDVItemInfo* item) override;
  void SrchStart(bool down, int& itemNo, int32_t& offs) override;
  void SrchSelectIt(int itemNo, int32_t offs, int32_t len, bool invert) override;
  using TDocViewDVData::SaveRTFToStream;
  bool SaveRTFToStream(TStream& stream, bool selectionOnly, int level, TColor color, const TDVBackground* background,
                       TDVColorList* colorList, TDVIntegerList* styleToFont, TDVIntegerList* fontTable,
                       double twipsPerPixel) override;
  bool SaveHTMLToStream(TStream& stream, const std::string& path, const std::string& title,
                        const std::string& imagesPrefix, TDVSaveOptions options, TColor color,
                        const TDVBackground* background, const TDVHTMLMargins& margins) override;
  bool SaveHTMLToStreamEx(TStream& stream, const std::string& path, const std::string& title,
                          const std::string& imagesPrefix, const std::string& extraStyles,
                          const std::string& externalCSS, TDVSaveOptions options, TColor color,
                          const TDVBackground* background, const TDVHTMLMargins& margins) override;

  // ---- insertion at the caret (insert_item.cpp) ----
  // A new text item of the default class: style, paragraph style, flags,
  // a copy of the tag, Unicode as the style is.
  std::unique_ptr<TCustomDVItemInfo> CreateTextItem(const TDVTag& tag, int32_t paraNo, bool br, bool sameAsPrev,
                                                    int32_t styleNo);
  // The same made from the text item source.
  std::unique_ptr<TCustomDVItemInfo> CreateTextItem2(const TDVTag& tag, const TCustomDVItemInfo& source, bool br,
                                                     bool sameAsPrev);
  // A text item inserted at itemNo through Do_InsertItem; answers it.
  TCustomDVItemInfo* InsString(std::string s, int itemNo, bool& fullReformat, bool br, bool sameAsPrev,
                               int32_t styleNo, int32_t paraNo, const TDVTag& tag);
  TCustomDVItemInfo* InsString2(std::string s, int itemNo, bool& fullReformat, bool br, bool sameAsPrev,
                                const TCustomDVItemInfo& source, const TDVTag& tag);
  TCustomDVItemInfo* InsEmptyString(int itemNo, const TDVTag& tag, bool br, bool sameAsPrev, int32_t styleNo,
                                    int32_t paraNo);
  // Inserts item (text s) at the caret without formatting. False (a beep)
  // when refused; item is null afterwards (inserted or freed), and
  // insertItemNo -1 when it was dropped (a list marker beside an object).
  // adjustTag: a new text without a tag takes its same-style neighbour's.
  bool InsSomething(std::unique_ptr<TCustomDVItemInfo>& item, std::string& s, bool adjustTag, int& insertItemNo,
                    bool& fullReformat, int& itemsAdded);
  // The same inside the caller's undo sequence, laid out, with the caret
  // after the new item (before it with caretBefore).
  bool InsertSomething(std::unique_ptr<TCustomDVItemInfo>& item, std::string& s, bool adjustTag, bool caretBefore);

  // ---- text and documents at the caret (text_insertion.cpp, file_insertion.cpp) ----
  // 8-bit text in the current style's code page; CR, LF, CR LF and LF CR
  // start paragraphs. The caret goes after the text (before it with
  // caretBefore). False (a beep) when refused.
  bool InsertText_(const std::string& s, bool caretBefore);
  // UTF-16LE text; U+2029 starts a paragraph, U+2028, VT and NUL a line, a
  // form feed a paragraph on a new page.
  bool InsertTextW_(const std::string& s, bool caretBefore);
  // Items first+1..last were put into the list directly after item first
  // went in through InsSomething: they are recorded, joined with their
  // neighbours, laid out, and the caret placed.
  void AfterAddingText(int firstItemNo, int lastItemNo, bool caretBefore, bool fullReformat, int paraStart,
                       int paraEnd, int itemsAdded);
  // Joins the inserted items first..last with each other and with their
  // neighbours where allowed; caretOffs grows by what joins in front.
  void ConcateAfterAdding(int& firstItemNo, int& lastItemNo, int32_t& caretOffs, int& itemsAdded);
  // When the paragraph of paraItemNo starts with a list marker, a copy of it
  // starts a paragraph at insertAt: through Do_InsertItem (undoable), or put
  // into the list directly (for AfterAddingText to record). Answers whether
  // one was added.
  bool ReplicateMarker(int paraItemNo, int insertAt, bool& fullReformat, bool undoable);
  // Registers items itemNo..itemNo+count-1, already in the list, as one
  // insertion record; the paragraph they run into takes their style.
  void Do_InsertItems_1(int itemNo, int count, bool& fullReformat);
  // An 8-bit text file (in the OEM code page with oem) or a UTF-16 one; the
  // file is read whole first. File errors raise; false when refused.
  bool InsertTextFromFile(const std::string& fileName, bool oem);
  bool InsertTextFromFileW(const std::string& fileName);
  // A DVF or RTF stream at the caret in one undo group; false (a beep, the
  // document as it was) when it cannot be read.
  bool InsertDVFFromStreamEd_(TStream& stream);
  bool InsertRTFFromStreamEd_(TStream& stream);
  bool InsertFirstDVFItem(int& index, std::string& text, std::unique_ptr<TCustomDVItemInfo>& item,
                          bool editFlag) override;
  // A page break before the caret's item, its paragraph split first when
  // the caret is inside it.
  void InsertPageBreak();

  // ---- typing (typing.cpp) ----
  // Characters typed at the caret (bytes in the current style's form).
  void InsertTextTyping(const std::string& s);
  void KeyPress(char key);

  // ---- Enter (enter_key.cpp) ----
  // A new paragraph at the caret; with shift a new line of the paragraph.
  void OnEnterPress_(bool shift);

  // ---- style conversion (style_conversion.cpp) ----
  // The text styles of the selection, or the style typing will take, as the
  // editor's current conversion handler answers for userData.
  void ApplyStyleConversion_(int32_t userData);
  // Paragraph style value on the paragraphs of the selection or caret; in
  // convert mode each item's paragraph style as the handler answers for
  // userData value.
  void ApplyParaStyle(int32_t value, bool convertMode);

  // ---- deletion (delete_selection.cpp, delete_keys.cpp) ----
  // Whether the selection may be deleted under the protection rules.
  bool CanDelete();
  // Deletes the selection in one undo group; false (a beep) when refused,
  // true also when there was nothing to delete.
  bool DeleteSelection_();
  // The paragraph of itemNo takes paraNo (Do_Para), when any item differs.
  void ApplyParaStyle(int itemNo, int32_t paraNo);

  // ---- caret steps (caret_navigation.cpp) ----
  // True when the caret cannot move: the document's start or end.
  void OnHomePress(bool ctrl);
  void OnEndPress(bool ctrl);
  bool OnLeftPress(bool shift, bool ctrl);
  bool OnRightPress(bool shift, bool ctrl);
  bool OnUpPress(bool shift, bool ctrl);
  bool OnDownPress(bool shift, bool ctrl);
  void OnPgUpPress();
  void OnPgDownPress();
  // Word starts in a text item: back over spaces then the word, forward
  // over the word then the spaces.
  int32_t PrevWordStart(int itemNo, int32_t offs) const;
  int32_t NextWordStart(int itemNo, int32_t offs) const;
  // ---- the keys that delete (delete_keys.cpp) ----
  void OnDeletePress_(bool ctrl);
  void OnBackSpacePress_(bool ctrl);

  // ---- paragraphs ----
  // The last item of the paragraph section that continues after itemNo.
  int GetParaEndItemNo(int itemNo) const;
  // The last item of the paragraph that holds itemNo (lines included).
  int GetParaLastItemNo(int itemNo) const;
  // Every item of the range takes paraNo, except those whose paragraph
  // style protects itself.
  void SetParaStyle(int startItemNo, int endItemNo, bool& fullReformat, int32_t paraNo);

  // ---- formatting after a change ----
  // A whole pass when fullFormat is asked and the document's minimum width
  // really changed; the touched sections (drawing items taken before the
  // change) otherwise.
  void Reformat_(bool fullFormat, int startDrawItemNo, int endDrawItemNo, int itemsAdded);
  // The same, keeping the caret on its item and offset.
  void Reformat(bool fullFormat, int startDrawItemNo, int endDrawItemNo, int itemsAdded);
  // Whether the document's minimum width now differs from MinDocWidth, after
  // a change of the sections of drawing items start..end (taken before the
  // change, itemsAdded items since). The same answer as measuring the whole
  // document again: outside the range nothing changed, and nothing there is
  // wider than MinDocWidth (every edit since the last whole pass kept it the
  // widest), so the look beyond the range stops at the first section that
  // is as wide.
  bool MinDocWidthChanged(int startDrawItemNo, int endDrawItemNo, int itemsAdded);
  // Around a change of one item made in steps: its width before, then one
  // reformat that is whole only when the change can alter the document's
  // minimum width.
  void BeginItemModify(int itemNo, int32_t& width);
  void EndItemModify(int itemNo, int32_t oldWidth);
  // The document changed: the editor's Modified, its change event, and
  // (clearRedo) the redo list emptied.
  void Change() { ChangeEx(true); }
  void ChangeEx(bool clearRedo);

  // ---- the primitives ----
  void Do_InsertItem(int itemNo, std::string s, std::unique_ptr<TCustomDVItemInfo> item, bool addedFromUndo,
                     bool& fullReformat);
  // list holds the items last first, as Do_DeleteItems stores them.
  using TItemBlock = TDVItemList::TBlock;
  void Do_InsertItems(int itemNo, TItemBlock list, bool addedFromUndo, bool& fullReformat);
  void Do_DeleteItem(int itemNo, bool& fullReformat);
  void Do_DeleteItems(int startItemNo, int endItemNo, bool& fullReformat);
  // count -1: to the end of the text.
  void Do_DeleteSubstring(int itemNo, int index, int count);
  void Do_InsertSubstring(int itemNo, int index, const std::string& s);
  void Do_ChangeText(int itemNo, const std::string& s);
  void Do_ModifyItem(int itemNo, std::string s, std::unique_ptr<TCustomDVItemInfo> newItem);
  void Do_ReplaceItem(int itemNo, std::unique_ptr<TCustomDVItemInfo> newItem);
  void Do_Para(int startItemNo, int endItemNo, bool& fullReformat, int32_t paraNo);
  // Sets item startItemNo + i to list[i] directly, past any protection.
  void Do_ParaList(int startItemNo, const std::vector<int32_t>& list, bool& fullReformat);
  void Do_StyleNo(int itemNo, int32_t styleNo);
  void Do_NewLine(int itemNo, bool sameAsPrev, bool& fullReformat, int32_t paraNo);
  void Do_BR(int itemNo, bool br, bool& fullReformat);
  void Do_PageBreak(int itemNo, bool pageBreak);
  void Do_ExtraIntProperty(int itemNo, TDVExtraItemProperty prop, int32_t value);
  void Do_Tag(int itemNo, TDVTag tag, bool assignAsIs);
  // itemNo -1: the checkpoint after the last item.
  void Do_AddCP(int itemNo, std::unique_ptr<TDVCPInfo> checkpoint);
  void Do_DeleteCP(int itemNo);
  void Do_Concate(int itemNo);
  // Sets a property by name between the item's BeforeUndoChangeProperty and
  // AfterUndoChangeProperty; record is the record to append (of the class
  // the caller wants). Answers the appended record, null when nothing
  // changed or nothing is recorded.
  TDVUndoModifyItemProps* Do_ModifyItemIntProperty(int itemNo, TDVIntPropertyOwner* subObject,
                                                   const std::string& propName, int32_t value,
                                                   std::unique_ptr<TDVUndoModifyItemIntProperty> record);
  // "name=value" lines, set from the last to the first.
  TDVUndoModifyItemProps* Do_ModifyItemIntProperties(int itemNo, TDVIntPropertyOwner* subObject,
                                                     const std::vector<std::string>& propList,
                                                     std::unique_ptr<TDVUndoModifyItemIntProperties> record);
  void Do_ItemModifyTerminator(int itemNo, bool opening);

  // An edit operation's extent: UndoDest is back at udNone when the
  // outermost one ends, however it ends.
  void EnterOperation() { ++operationDepth_; }
  void LeaveOperation() {
    if (--operationDepth_ == 0) UndoDest = udNone;
  }

 protected:
  void SimpleBuildCaretPositions(int drawItemNo);
  void MoveCaretTo(int drawItemNo, int32_t drawOffs);
  bool IsEmptyText(int itemNo) const;
  void TouchedDrawRange(int firstItemNo, int lastItemNo, int& start, int& end) const;
  // The caret for a key in item terms; false without one, and (a beep) in
  // a read-only paragraph.
  bool KeyCaret(int& itemNo, int32_t& offs);
  // A key refused after its group was opened: the empty group goes, a beep.
  void RefuseKey();
  void FinishKey(bool full, int start, int end, int itemsAdded, int caretItemNo, int32_t caretOffs);
  void PassParaStart(int fromItemNo, bool& full);
  // Item itemNo continues the paragraph before it (Do_NewLine), unless a
  // full-width item stands on either side.
  void JoinParagraph(int itemNo, bool& full);
  void MoveCaretToStop(int32_t stop);
  bool SpaceAt(int itemNo, int32_t offs) const;
  // Ctrl with Left or Right inside a text; false when it does not move.
  bool WordStep(bool forward);
  // The caret onto the line of drawItemNo at its current x (an item there
  // may take it, entered from `from`).
  bool MoveToLineAt(int drawItemNo, TDVEnterDirection from);
  // The last drawing item whose top is at or above y.
  int FindDrawItemAtLine(int32_t y) const;
  // Right-to-left text; false when the text gives no caret positions.
  bool AdvancedBuildCaretPositions(int drawItemNo);
  // The paragraphs around the caret's drawing item (-1 without one).
  void CaretParaBounds(int& paraStart, int& paraEnd) const;
  // The pieces at the caret: the first through InsSomething, the others put
  // after it directly, each new paragraph of a list paragraph after a copy
  // of its marker; then AfterAddingText. False (a beep) when refused.
  bool InsertTextPieces(std::vector<TDVTextPiece>& pieces, bool caretBefore);
  // Appends a primitive's record to the list being recorded into; false
  // (and the record dropped) when nothing is recorded.
  bool Record(std::unique_ptr<TDVUndoInfo> info);

 private:
  // The formatted data's links to an item that leaves the document.
  void ForgetItem(const TCustomDVItemInfo* item);
  // Without hyperlink areas the hot item carries a link number of its own
  // (kCaretHotJumpId) while hot; this gives back the one it had.
  void ReleaseHotItem();
  TCustomDVItemInfo* hotItem_ = nullptr;
  int32_t hotSavedJumpId_ = 0;
  bool hotRenumbered_ = false;
  // An item leaves the list without a record: announced and freed.
  void FreeAndDelete(int itemNo);
  // Inserts the block (document order) before itemNo: each item is told it
  // is being inserted and joins the document's bookkeeping. Answers the
  // items' checkpoints, taken off them for Do_AddCP.
  std::vector<std::unique_ptr<TDVCPInfo>> InsertBlock(int itemNo, TItemBlock block, bool addedFromUndo);
  // newItem takes the old item's place, text s, paragraph, options, tag and
  // checkpoint. Answers the old item when recording (the caller's record
  // takes it); otherwise it is freed and null is answered.
  std::unique_ptr<TCustomDVItemInfo> ExchangeItem(int itemNo, std::string s,
                                                  std::unique_ptr<TCustomDVItemInfo> newItem);
  // Sets the text after announcing the modification.
  void SetItemText(int itemNo, std::string text);
  // The whole paragraph of itemNo, as a minimum width.
  int32_t ParaMinWidth(int itemNo);
  // A change of a range's minimum width from before to after can change
  // the document's.
  bool WidthChangeNeedsFull(int32_t before, int32_t after) const;
  int operationDepth_ = 0;

  // A DVF or RTF reading at the caret: its first item goes in through
  // InsSomething (see InsertFirstDVFItem).
  struct TReadAtCaret {
    int FirstNo = -1;
    bool Refused = false;
    bool HadCheckpoint = false;
    bool Full = false;
    int ItemsAdded = 0;
  };
  TReadAtCaret* readAtCaret_ = nullptr;
  // Where a reading at the caret inserts: the caret's item, or the next one
  // after the caret's item.
  int ReadInsertionIndex() const;
  // A failed reading: the items it put in are gone; the changes made for
  // its first item are taken back unrecorded, the group dropped.
  void UndoFailedReading(const TReadAtCaret& at);
  // Records, joins and lays out the items first..last a reading inserted.
  void FinishReading(const TReadAtCaret& at, int lastItemNo, int paraStart, int paraEnd);
};

// The extent of an editing operation (see TDVEditDVData::EnterOperation).
class TDVEditOperation {
 public:
  explicit TDVEditOperation(TDVEditDVData& data) : data_(data) { data_.EnterOperation(); }
  ~TDVEditOperation() { data_.LeaveOperation(); }
  TDVEditOperation(const TDVEditOperation&) = delete;
  TDVEditOperation& operator=(const TDVEditOperation&) = delete;

 private:
  TDVEditDVData& data_;
};

// Group mode for a scope: the sequences opened meanwhile join one group.
class TDVUndoGroupMode {
 public:
  explicit TDVUndoGroupMode(TDVEditDVData& data) : data_(data) { data_.SetUndoGroupMode(true); }
  ~TDVUndoGroupMode() { data_.SetUndoGroupMode(false); }
  TDVUndoGroupMode(const TDVUndoGroupMode&) = delete;
  TDVUndoGroupMode& operator=(const TDVUndoGroupMode&) = delete;

 private:
  TDVEditDVData& data_;
};

// A text item made like the document's default text item from item: same
// style, same paragraph flag and Unicode flag, a copy of the tag, no
// checkpoint.
std::unique_ptr<TCustomDVItemInfo> DV_CreateTextCopy(const TCustomDVItemInfo& item, TCustomDVData& dvData);

}  // namespace quillet
