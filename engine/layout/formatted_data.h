#pragma once
// The laid-out document: a document data object that also owns the drawing
// items placing every item, or every piece of a text item, at a rectangle in
// document coordinates, the hyperlink areas and the selection in
// drawing-item terms. The whole-document pass lives here (formatted_data.cpp),
// the placing of items on lines in line_layout.cpp, text fitting in
// text_fitting.cpp, minimal widths in min_widths.cpp, the item/drawing-item
// positions the pass needs in formatted_positions.cpp, and painting with the
// visibility and invalidation requests in painting.cpp.
//
// The class is abstract: viewers, table cells and printable copies supply
// the geometry (client size, margins, scroll offsets, canvas). The same pass
// formats for the screen and, with a printer canvas, for printing.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/layout/draw_lines.h"
#include "engine/model/dv_data.h"
#include "engine/model/jump_info.h"
#include "engine/base/shared_routines.h"
#include "platform/core/geometry.h"
#include "platform/core/cursors.h"
#include "platform/core/keys.h"

namespace quillet {

class TCanvas;
class TCustomControl;
class TDVBackground;
class TDVStyle;
class TGraphic;
class TParaInfo;
struct TDVFormatState;
struct TDVPaintState;

enum TDVFlag : uint16_t {
  dvflUseJumps = 1 << 0,            // build hyperlink areas while formatting
  dvflTrim = 1 << 1,                // drop one space at a line break and at a wrapped line's start
  dvflShareContents = 1 << 2,       // the items belong to another data object
  dvflUseExternalLeading = 1 << 3,  // the font's external leading joins the ascent
  dvflMouseXYAlwaysCorrect = 1 << 4,
  dvflAllowCustomDrawItems = 1 << 5,  // items make their own drawing items (printing)
  dvflPrinting = 1 << 6,
  dvflRootEditor = 1 << 7,
  dvflRoot = 1 << 8,
};
using TDVFlags = uint16_t;
// A viewer's data flags until the host changes them; the printed copy starts
// from them too, so paper breaks and spaces lines as the screen does.
constexpr TDVFlags DVDefaultFlags = dvflUseJumps | dvflTrim | dvflUseExternalLeading | dvflRoot;

// Tab moves the keyboard focus among links and controls: never, with Tab,
// or with Ctrl+Tab.
enum TDVTabNavigationType : uint8_t { dvtnNone, dvtnTab, dvtnCtrlTab };

enum TDVGetDrawItemNoOption : uint8_t { gdinFirstVisible, gdinLastVisible, gdinLastCompleteVisible };

// A page break that pagination found inside the flow, shown on screen
// between pages: at an offset of an item; extraData is -1 or a value the item
// turns into a vertical offset inside itself (GetSoftPageBreakDY).
struct TDVSoftPageBreakInfo {
  int ItemNo = 0;
  int32_t Offset = 0;
  int32_t ExtraData = -1;
};
using TDVSoftPageBreakList = std::vector<TDVSoftPageBreakInfo>;
// When the checkpoint-visible event fires while scrolling: never, for the
// section whose start was passed last, or for a checkpoint in view.
enum TCPEventKind : uint8_t { cpeNone, cpeAsSectionStart, cpeWhenVisible };

class TCustomDVFormattedData;

// "Error:" and the message of a failed paint, in red at the window's top-left
// corner.
void DrawPaintError(TCanvas& canvas, const std::string& message);

// Draws and erases feedback over a document (a column-resize line). Each
// XorDraw toggles the image and invalidates what it covers; Paint draws it.
class TDVFeedbackDrawer {
 public:
  virtual ~TDVFeedbackDrawer() = default;
  virtual void XorDraw(TCustomDVFormattedData& sender, TShiftState shift, int32_t x, int32_t y) = 0;
  virtual void Paint(TCustomDVFormattedData& sender, TCanvas& canvas, int32_t x, int32_t y) = 0;
};

// When set, fitting asks the canvas for its fit count each time instead of
// measuring through the cached advances (for a canvas whose text widths do
// not add up).
inline bool DocViewSafeFormatting = false;

class TCustomDVFormattedData : public TCustomDVData {
 public:
  TCustomDVFormattedData();
  ~TCustomDVFormattedData() override;

  // ---- state ----
  TDVCPInfo* LastRaisedCP = nullptr;
  bool XorImageDrawn = false;
  int32_t FZoomPercent = 100;
  int32_t MouseX = 0, MouseY = 0;
  TDVJumpList Jumps;
  int32_t nJmps = 0;
  int LastItemFormatted = -1;
  int32_t LastJumpMovedAbove = -1;
  int LastDIMovedAbove = -1;
  TCustomDVFormattedData* LastDVDataMovedAbove = nullptr;
  int32_t LastJumpDowned = -1;
  TCustomDVItemInfo* FPartialSelectedItem = nullptr;
  // Swallows the one nested Format_ that the document-area change inside a
  // pass triggers.
  bool AlreadyFormatted = false;
  TCustomDVItemInfo* FActiveItem = nullptr;
  TCustomDVItemInfo* FCaptureMouseItem = nullptr;
  TDVFeedbackDrawer* FXORDrawing = nullptr;
  int32_t DocumentWidth = -1;  // width the text area needs, device pixels
  int32_t DocumentHeight = 0;  // with the bottom margin
  int32_t TextWidth = -1;      // width lines wrap at, device pixels
  // The minimum width of the widest paragraph section at the last whole
  // pass; an edit reformats everything only when it changes.
  int32_t MinDocWidth = 0;
  int FocusedItemNo = -1;
  TDVDrawLines DrawItems;
  // The anchor may lie after the end; -1: no selection.
  int FSelStartNo = -1, FSelEndNo = -1;
  int32_t FSelStartOffs = 0, FSelEndOffs = 0;

  // ---- geometry, supplied by descendants ----
  virtual TDVFlags GetFlags() const = 0;
  virtual void SetFlags(TDVFlags flags) = 0;
  virtual int32_t GetAreaWidth() const = 0;
  virtual int32_t GetLeftMargin() const = 0;
  virtual int32_t GetRightMargin() const = 0;
  virtual int32_t GetTopMargin() const = 0;
  virtual int32_t GetBottomMargin() const = 0;
  virtual int32_t GetMinTextWidth() const = 0;
  virtual int32_t GetMaxTextWidth() const = 0;
  virtual TColor GetColor() const = 0;
  virtual void AdjustVScrollUnits() = 0;
  // The scrolled area; a window may gain or lose a scroll bar and change
  // its client size here.
  virtual void SetDocumentAreaSize(int32_t width, int32_t height, bool updateH) = 0;
  virtual int32_t GetWidth() const = 0;  // client size
  virtual int32_t GetHeight() const = 0;
  virtual void ScrollTo(int32_t y, bool redraw) = 0;
  virtual void HScrollTo(int32_t x) = 0;
  virtual int32_t GetVSmallStep() const = 0;
  // The hyperlink under the mouse changed (-1: none).
  virtual void DoDVMouseMove(int32_t jumpId) = 0;
  virtual int32_t GetHOffs() const { return 0; }
  virtual int32_t GetVOffs() const { return 0; }
  virtual void GetOrigin(int32_t& left, int32_t& top) const {
    left = 0;
    top = 0;
  }
  virtual void GetOriginEx(int32_t& left, int32_t& top) const { GetOrigin(left, top); }
  // The root document's canvas; null when no formatted root supplies one.
  virtual TCanvas* GetCanvas();
  // Resolutions of the canvas and the device margins.
  virtual void GetSADForFormatting(TCanvas& canvas, TDVScreenAndDevice& sad);

  // ---- formatting ----
  // The whole document from scratch on its own canvas.
  void Format();
  // onlyResized: the area changed size; keeps the selection and the scroll
  // position and skips the layout when neither width changed. forceFormat:
  // lays out even then. noScroll: leaves the scroll position. depth: callers
  // pass 0. onlyTail: only the items after LastItemFormatted are new.
  virtual void Format_(bool onlyResized, bool forceFormat, bool noScroll, int depth, TCanvas& canvas, bool onlyTail);
  // Frees the drawing items and the hyperlink areas and the state that
  // points into them.
  virtual void ClearTemporal();
  void Clear() override;
  void ClearJumps();
  void ClearLastJump();
  // Sets / clears dvstSkipFormatting: requests that arrive meanwhile are refused.
  void StartFormatting() { State |= dvstSkipFormatting; }
  void EndFormatting() { State &= ~dvstSkipFormatting; }
  // After every whole pass: (0, item count - 1, false).
  virtual void Formatted(int /*firstItemNo*/, int /*lastItemNo*/, bool /*partial*/) {}
  void AdjustJumpsCoords();
  // Moves embedded controls to their drawing items.
  void AdjustChildrenCoords();

  // ---- minimal widths ----
  // Device pixels when sad is given, else screen pixels.
  int32_t CalculateMinDocWidthPlus(const TDVScreenAndDevice* sad, TCanvas& canvas);
  int32_t CalculateParaSectionsMinWidth(int firstItemNo, int lastItemNo, const TDVScreenAndDevice* sad,
                                        TCanvas& canvas);
  // On GetCanvas, without resolution conversion; 0 without a canvas.
  int32_t CalculateMinItemWidthPlusEx(int itemNo);
  int32_t CalculateMinItemsWidthPlusEx(int firstItemNo, int lastItemNo);

  // ---- positions and the selection ----
  // Caret offsets: 1..Length + 1 in a text drawing item, 0 (before) and 1
  // (after) in an object.
  int32_t GetOffsBeforeDrawItem(int drawItemNo) const;
  int32_t GetOffsAfterDrawItem(int drawItemNo) const;
  void DrawItem2Item(int drawItemNo, int32_t drawItemOffs, int& itemNo, int32_t& itemOffs) const;
  // An offset where two pieces touch belongs to the later one (the start of
  // the next line); one at a space dropped at a break to the earlier one.
  void Item2DrawItem(int itemNo, int32_t itemOffs, int& drawItemNo, int32_t& drawItemOffs) const;
  void Item2FirstDrawItem(int itemNo, int& drawItemNo) const { drawItemNo = FindDrawItemByItem(itemNo); }
  // The first drawing item of the item; -1 when it has none.
  int FindDrawItemByItem(int itemNo) const;
  // Document coordinates of the item's first drawing item; false when it has none.
  bool GetItemCoords(int itemNo, int32_t& left, int32_t& top) const;
  bool GetItemClientCoords(int itemNo, int32_t& left, int32_t& top) const;
  void GetSelBounds(int& startNo, int& endNo, int32_t& startOffs, int32_t& endOffs, bool normalize) const;
  // The selection in item terms, which survives a reformat.
  void StoreSelBounds(int& startItemNo, int& endItemNo, int32_t& startItemOffs, int32_t& endItemOffs,
                      bool normalize) const;
  void RestoreSelBounds(int startItemNo, int endItemNo, int32_t startItemOffs, int32_t endItemOffs);
  // First and last drawing items of the screen line that holds drawItemNo.
  void GetScreenLineBounds(int drawItemNo, int& first, int& last) const;
  // gdinFirstVisible: one drawing item before the line above the first
  // visible one (painting starts a full line higher); gdinLastVisible: the
  // first drawing item whose Top is at or below boundLine.
  int GetDrawItemNo(int32_t boundLine, TDVGetDrawItemNoOption option) const;
  // The drawing item and caret offset at a document point; -1, -1 when there
  // is none (strict: the point must lie inside a drawing item). The offset
  // is always at a character start, never inside a double-byte character,
  // and never on a list marker.
  void FindDrawItemForSel(int32_t x, int32_t y, int& drawItemNo, int32_t& drawItemOffs, bool strict);
  // Widens an item range to whole paragraph sections.
  void ExpandToParaSection(int itemNo1, int itemNo2, int& firstItemNo, int& lastItemNo) const;
  void SelectAll();
  virtual void Deselect(TCustomDVItemInfo* newPartiallySelected, bool makeEvent);
  virtual void DeselectPartiallySelectedItem(TCustomDVItemInfo* newPartiallySelected);
  virtual void SetPartialSelectedItem(TCustomDVItemInfo* item);
  // Hooks that the viewer's data, cells and the editor fill.
  virtual void DoSelect();
  virtual void DoOnSelection() {}
  virtual void DestroyInplaceEditor() {}
  virtual TCustomControl* GetInplaceEditor() const { return nullptr; }
  virtual TCustomControl* GetEditor() const { return nullptr; }
  virtual TCustomDVData* GetChosenDVData() const { return nullptr; }
  virtual TCustomDVItemInfo* GetChosenItem() const { return nullptr; }
  virtual void AssignChosenDVData(TCustomDVData* /*dvData*/, TCustomDVItemInfo* /*item*/) {}
  virtual void SilentReplaceChosenDVData(TCustomDVData* /*dvData*/) {}
  virtual void UnassignChosenDVData(TCustomDVData* /*dvData*/) { State |= dvstForceStyleChangeEvent; }
  virtual void ResetSubCoords() {}
  // The window that shows the document is going away (nothing is drawn or
  // released through it then).
  virtual bool ParentControlDestroying() const { return false; }

  // ---- mouse and selection (mouse_selection.cpp) ----
  // Link ids in Jumps start at 0; events and GetJumpPointLocation add the
  // root document's first link number.
  int32_t FirstJumpNo = 0;
  int32_t GetFirstJumpNo() const;
  // Client pixels at the zoom to unzoomed pixels, and the scroll offsets so.
  int32_t ZoomInt(int32_t v) const;
  int32_t GetZHOffs() const { return ZoomInt(GetHOffs()); }
  int32_t GetZVOffs() const { return ZoomInt(GetVOffs()); }
  // The drawing item that holds the document point (half-open), or -1.
  int FindDrawItemAtPos(int32_t x, int32_t y) const;
  // Keeps LastDIMovedAbove while the document point stays in it, else looks
  // it up again; nothing while an item has captured the mouse.
  void SearchHotItem(int32_t x, int32_t y, int32_t vOffs, int32_t hOffs);
  // The word under the document point: its text (bytes as the item keeps
  // them), the style, item and first caret offset, and the data (possibly a
  // sub-document) that holds it. A delimiter, or an empty line, gives an
  // empty word at that place. False over nothing.
  bool FindWordAt(std::string& word, int32_t x, int32_t y, int32_t& styleNo, int& itemNo, int32_t& offs,
                  TCustomDVFormattedData*& dvData);
  // The word at a client point; itemNo -1 when there is none.
  void GetWordAtExt(int32_t x, int32_t y, TCustomDVFormattedData*& dvData, int& itemNo, std::string& word);
  void GetSelStart(int& drawItemNo, int32_t& drawItemOffs);
  void GetSelectionBounds(int& startItemNo, int32_t& startItemOffs, int& endItemNo, int32_t& endItemOffs,
                          bool normalize);
  // As GetSelectionBounds, in the chosen sub-document when there is one.
  void GetSelectionBoundsEx(int& startItemNo, int32_t& startItemOffs, int& endItemNo, int32_t& endItemOffs,
                            bool normalize);
  // Selects in item terms; an end on a list marker moves to what follows it.
  void SetSelectionBounds(int startItemNo, int32_t startItemOffs, int endItemNo, int32_t endItemOffs);
  // The document and item of link id (with the first link number); itemNo
  // -1 and dvData null when there is none.
  void GetJumpPointLocation(int32_t id, TCustomDVFormattedData*& dvData, int& itemNo);
  void DeleteItems(int firstItemNo, int count) override;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  void SetCursor(TCursor cursor);
  virtual TCursor GetNormalCursor() const;
  // The window's mouse, in client pixels.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // A double click at the client point of its second press.
  virtual void DblClick(int32_t x, int32_t y);
  // Events, asked of the root document.
  virtual bool IsAssignedJump() const;
  virtual void DoJump(int32_t id);
  virtual bool IsAssignedDVMouseDown() const;
  virtual void DoDVMouseDown(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y);
  virtual bool IsAssignedDVMouseUp() const;
  virtual void DoDVMouseUp(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y);

  // ---- partial reformatting ----
  // Before an edit: widens a drawing-item range to the sections an edit of
  // it can affect (the section before and the section after included).
  void GetParaBounds(int drawItemNo1, int drawItemNo2, int& paraStart, int& paraEnd) const;
  // After an edit that inserted itemsInserted items (negative: deleted)
  // inside the drawing items start..end, lays out their sections again; the
  // drawing items after them still carry the old item numbers.
  void FormatParas(int startDrawItemNo, int endDrawItemNo, int itemsInserted);
  // The same over exactly the sections start..end.
  void FormatParasExact(int startDrawItemNo, int endDrawItemNo, int itemsInserted);

  // ---- services ----
  // The next (or previous) item that takes the keyboard focus, looking
  // inside items that hold documents; -1 when none.
  int GetNextFocusedItem(int itemNo, bool goForward, TCustomDVData*& topLevelDVData, int& topLevelItemNo);
  void ClearFocus();
  // The focus moves to item newFocusedItemNo of this document; the item that
  // shows it may lie in a sub-document (topLevelDVData, topLevelItemNo).
  virtual void AdjustFocus(int newFocusedItemNo, TCustomDVData* /*topLevelDVData*/, int /*topLevelItemNo*/) {
    FocusedItemNo = newFocusedItemNo;
  }
  // How Tab moves the focus among the items; only a window's data has it.
  virtual TDVTabNavigationType GetTabNavigation() const { return dvtnNone; }
  // Scrolls so that the rectangle (document coordinates) is in view.
  virtual void ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height);
  // Rebuilds the hyperlink areas from the drawing items, numbering them from
  // startJumpNo (which grows by the ids handed out).
  void BuildJumpsCoords(int32_t& startJumpNo, TDVJumpList& jumps);
  // Raises the checkpoint-visible event after a vertical scroll.
  void AfterVScroll();
  virtual TCPEventKind GetCPEventKind() const;
  virtual bool IsAssignedCheckpointVisible() const { return false; }
  // A null checkpoint: none is visible any more.
  virtual void DoCheckpointVisible(TDVCPInfo* /*checkpoint*/) {}
  // Feedback drawn over the document by a drawer (a column-resize line).
  // There is no xor drawing on a window here: every call toggles the image
  // (the drawer invalidates what it covers) and the paint pass draws it
  // through PaintXorFeedback while XorImageDrawn is set.
  void XorDrawing();
  void XorDrawingEx(int32_t x, int32_t y);
  void AssignXorDrawing(TDVFeedbackDrawer* drawer);
  void UnAssignXorDrawing(TDVFeedbackDrawer* drawer);
  bool UsingThisXorDrawing(const TDVFeedbackDrawer* drawer) const { return FXORDrawing == drawer; }
  void ClearXorDrawing();
  void PaintXorFeedback(TCanvas& canvas);
  // The item receives the mouse until released; left and top get its first
  // drawing item's place. An item that is not in this document is not captured.
  void SetMouseCapture(TCustomDVItemInfo* item, int32_t& left, int32_t& top);
  void ReleaseMouseCapture(TCustomDVItemInfo* item);
  // A freed item never stays captured, partially selected or active.
  void InternalFreeItem(std::unique_ptr<TCustomDVItemInfo> item, bool clearing) override;
  // Asked of the root document.
  virtual bool IsAssignedDVDblClick() const;
  virtual void DoDVDblClick(const std::string& clickedWord, int32_t styleNo);
  virtual bool IsAssignedDVRightClick() const;
  virtual void DoDVRightClick(const std::string& clickedWord, int32_t styleNo, int32_t x, int32_t y);
  virtual bool IsAssignedCopy() const;
  virtual void DoCopy();

  // ---- selection queries ----
  // Whether a selection exists; the chosen sub-document (a cell being
  // edited) answers when there is one. allowReset removes a collapsed
  // selection (never while the mouse is making one); with usePartialSelected
  // an item that holds a selection of its own inside counts.
  bool SelectionExists(bool allowReset, bool usePartialSelected);
  // The selection as plain text, lines ending in CR LF: 8-bit, or UTF-16LE
  // bytes when unicode. Empty without a selection.
  std::string GetSelText(bool unicode);
  // The picture of the one item the selection covers exactly; null for any
  // other selection.
  TGraphic* GetSelectedImage();
  // The selection scope is the selection, normalised.
  TDVFLimits DVFGetLimits(TDVFSaveScope scope) const override;

  // ---- search ----
  // Finds s from the caret towards the end (down) or the start, looking
  // into the documents of items that hold them, and selects what it finds
  // (backwards when searching up, so that a second search moves on). Text is
  // compared character by character after decoding, so that a match never
  // starts or ends inside a double-byte character and Unicode items are
  // searched as Unicode. s is 8-bit text in the document's default code page.
  bool SearchText(bool down, bool matchCase, const std::string& s, bool wholeWord);
  // The same for a UTF-16 string, which may hold characters no code page has.
  bool SearchTextW(bool down, bool matchCase, std::u16string_view s, bool wholeWord);
  // Where a search begins: the moving end of the selection, else the first
  // (down) or last visible item.
  virtual void SrchStart(bool down, int& itemNo, int32_t& offs);
  // Selects len characters of the item from offs (invert: from the end back
  // to offs) and scrolls them into view.
  virtual void SrchSelectIt(int itemNo, int32_t offs, int32_t len, bool invert);

  // ---- clipboard copy ----
  // Puts the selection on the clipboard as "DocView Format" (length-prefixed
  // DVF), text, the picture (when the selection is one picture item), UTF-16
  // text and "Rich Text Format". A chosen sub-document copies instead. Every
  // block is made before the clipboard is touched: when a writer fails,
  // "Can't copy the selection" is raised and the clipboard keeps what it had.
  void Copy(TColor color, const TDVBackground* background);
  // The same for the formats that the auto-copy options choose; false (and
  // nothing copied) when no option is on and there is no copy handler.
  bool CopyDef(TColor color, const TDVBackground* background);

  // ---- painting (painting.cpp) ----
  // Soft page breaks in item order; null when none.
  std::unique_ptr<TDVSoftPageBreakList> FSoftPageBreaks;
  // Paints the part of the document in clipRect (client coordinates) with
  // the canvas origin at clipRect's top-left corner.
  void PaintTo(TCanvas& canvas, const TRect& clipRect);
  // Paints the canvas's clip rectangle: the background and the document into
  // a buffer of that size, then the buffer onto the canvas. A failure while
  // painting never propagates: the buffer is still copied and "Error:" with
  // the message is written in red at the window's top-left corner.
  virtual void PaintBuffered(TCanvas& canvas);
  // The first drawing item to paint for document y topLine.
  int GetFirstVisible(int32_t topLine) const { return GetDrawItemNo(topLine, gdinFirstVisible); }
  // Items at the top and the bottom of the view; -1 without drawing items.
  virtual int GetFirstItemVisible() const;
  virtual int GetLastItemVisible() const;
  // The window the document is shown in; a sub-document answers its root's.
  // Null without one, and then invalidation requests are ignored.
  virtual TCustomControl* GetParentWindow() const;
  // The window, or an in-place editor inside it, has the keyboard focus.
  virtual bool ParentFocusedEx() const;
  // Null: the plain colour of GetColor.
  virtual const TDVBackground* GetBackground() const { return nullptr; }
  void Invalidate();
  void Refresh();
  void UpdateView();
  // The band of the window to repaint, in client coordinates.
  virtual void InvalidateRect(const TRect& r);
  // Repaints the areas of hyperlink jumpId (or, with the style sheet's
  // FullRedraw, the whole window).
  void InvalidateJumpRect(int32_t jumpId);
  // The mouse left the window: the hovered hyperlink is drawn cold again.
  void MouseLeave();

 protected:
  // ---- line layout (line_layout.cpp), shared with partial reformatting ----
  // Lays out items first..last into the state's lines; the last line stays open.
  void FormatItems(TDVFormatState& st, int firstItemNo, int lastItemNo);
  // Places one item, or for a text item the piece of `len` units of its
  // displayed text from unit startOffs (0-based).
  void FormatLine(TDVFormatState& st, int itemNo, int startOffs, int len);
  // A text item of a justified paragraph, word by word.
  void FormatWords(TDVFormatState& st, int itemNo);
  // Completes the line whose last drawing item is lastDrawItem - 1.
  void FinishScreenLine(TDVFormatState& st, int32_t lineRight, int lastDrawItem, bool paraFinished);
  // Indents of a line, screen pixels.
  void GetIndents(int itemNo, bool isParaStart, int32_t& leftIndent, int32_t& rightIndent) const;
  // The paragraph style of an item (style 0 for a number the sheet lacks).
  const TParaInfo& ParaOf(int itemNo) const;
  // Device space above item itemNo where it starts a paragraph: the previous
  // paragraph's space after, its own space before and, for a break, the
  // first paragraph style's space before too.
  int32_t SpaceAboveParagraph(const TDVFormatState& st, int itemNo) const;
  // The bottom of the screen line that ends at drawing item drawItemNo - 1,
  // with its line spacing: where the next line's spacing starts.
  int32_t LineBottomBefore(int drawItemNo) const;
  // The caret offset in a text drawing item nearest to x, at a character start.
  int32_t CaretOffsetAt(int drawItemNo, int32_t x);

 private:
  // A hyperlink under the client point becomes the hovered one; false when
  // there is none.
  bool HighlightJump(int32_t x, int32_t y);
  // The selection's moving end follows a client point.
  void DragSelectionTo(int32_t x, int32_t y);
  void StartNewLine(TDVFormatState& st, int itemNo);
  void AdjustLineHeight(TDVFormatState& st, int32_t above);
  void ApplyTextStyle(TDVFormatState& st, int32_t styleNo, TDVBiDiMode biDiMode);
  void InsertDrawItem(TDVFormatState& st, int itemNo, std::unique_ptr<TDVDrawLineInfo> info, bool firstOfItem);
  void FormatText(TDVFormatState& st, int itemNo, int startOffs, int len);
  // How many units of the prepared text from `from` fit into avail.
  int MaxFit(TDVFormatState& st, int from, int to, int32_t avail, bool noWrap) const;
  void FormatFullLineObject(TDVFormatState& st, int itemNo);
  void FormatInlineObject(TDVFormatState& st, int itemNo);
  void RearrangeLine(TDVFormatState& st, int firstDrawItem, int lastDrawItem);
  std::unique_ptr<TDVDrawLineInfo> NewDrawItem(TDVFormatState& st, int itemNo) const;

  // TextWidth and DocumentWidth for the canvas and the client size.
  void ApplyWidthRules(TDVFormatState& st);
  // Lays out the document (with onlyTail the items after LastItemFormatted)
  // and sets its height.
  void LayOut(TDVFormatState& st, bool onlyTail);
  // OnlyTail when the first new item continues the last laid-out line:
  // removes the drawing items of that section and answers the section's
  // first item and the y below the line before it; false when a whole pass
  // is needed instead.
  bool BackUpToSection(int itemNo, int& sectionItemNo, int32_t& y);
  int32_t ParaSectionMinWidth(int firstItemNo, int lastItemNo, const TDVScreenAndDevice* sad, TCanvas& canvas,
                              bool wholeSection);
  int32_t PureParaSectionWidth(int itemNo, const TDVScreenAndDevice* sad) const;
  int32_t MinItemWidthPlus(int itemNo, const TDVScreenAndDevice* sad, TCanvas& canvas);

  // ---- painting (painting.cpp) ----
  void PaintParaBacks(TDVPaintState& ps);
  void PaintTextBacks(TDVPaintState& ps);
  void PaintSoftPageBreaks(TDVPaintState& ps);
  void PaintTextItem(TDVPaintState& ps, int drawItemNo);
  void PaintNonTextItem(TDVPaintState& ps, int drawItemNo);
  void PaintTextPiece(TDVPaintState& ps, int drawItemNo, int32_t left, int32_t width, int startChar,
                      const std::string& text, bool drawItemStart, bool drawItemEnd, bool selected, bool wholePiece);
  int32_t ParentClientWidth() const;

  // The chosen sub-document when it is formatted; null otherwise.
  TCustomDVFormattedData* ChosenFormattedData() const;
  // The selection as plain text; false when the writer failed.
  bool SaveSelText(bool unicode, std::string& text);

  // ---- search (search.cpp) ----
  // Searches each sub-document of the item from sub on; the one with a hit
  // becomes the item's chosen one.
  bool SearchInItem(TCustomDVItemInfo& item, TCustomDVData* sub, std::unique_ptr<TDVStoreSubDVData>& store,
                    bool down, bool matchCase, std::u16string_view s, bool wholeWord);
  // Searches text item itemNo after (down) or before offs and selects a hit.
  bool SearchInTextItem(int itemNo, int32_t offs, bool down, bool matchCase, std::u16string_view s,
                        bool wholeWord);

  // ---- clipboard copy (clipboard_copy.cpp) ----
  enum TDVCopyFormat : uint8_t { cfDVF = 1, cfText = 2, cfImage = 4, cfUnicodeText = 8, cfRTF = 16 };
  // Makes the blocks of the formats, then puts them on the clipboard at once.
  void CopyFormats(uint8_t formats, TColor color, const TDVBackground* background);
  std::string CopyDVF_(TColor color, const TDVBackground* background);
  std::string CopyText_();
  std::string CopyTextW_();
  std::string CopyRTF_(TColor color, const TDVBackground* background);
};

}  // namespace quillet
