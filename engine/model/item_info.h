#pragma once
// Document items: every piece of a document is an item, a run of text in one
// text style or a non-text object. The document data keeps each item with its
// text (a non-text item's text is its name).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/model/checkpoint.h"
#include "engine/base/dv_lists.h"
#include "engine/model/export_types.h"
#include "engine/model/int_props.h"
#include "engine/base/item_types.h"
#include "engine/model/jump_info.h"
#include "engine/base/shared_routines.h"
#include "engine/style/text_style.h"
#include "platform/core/geometry.h"
#include "platform/core/keys.h"

namespace quillet {

class TBitmap;
class TCanvas;
class TControl;
class TCustomControl;
class TCustomDVData;
class TCustomDVItemInfo;
class TDVDrawLineInfo;
class TDVMultiDrawItemPart;
class TDVStyle;
class TGraphic;
class TStream;

// Where an item that holds documents stands while it hands them out; each
// such item keeps its place in a class of its own derived from this.
class TDVStoreSubDVData {
 public:
  virtual ~TDVStoreSubDVData() = default;
};

// An item class as the registry and duplication know it: the function that
// makes a new item of the class.
using TDVItemClass = std::unique_ptr<TCustomDVItemInfo> (*)(TCustomDVData* dvData);
template <class T>
std::unique_ptr<TCustomDVItemInfo> DVItemClassOf(TCustomDVData* dvData) {
  return std::make_unique<T>(dvData);
}

class TCustomDVItemInfo : public TDVIntPropertyOwner {
 public:
  explicit TCustomDVItemInfo(TCustomDVData* dvData);
  virtual ~TCustomDVItemInfo();
  TCustomDVItemInfo(const TCustomDVItemInfo&) = delete;
  TCustomDVItemInfo& operator=(const TCustomDVItemInfo&) = delete;

  // Every concrete class answers its own, so that a duplicate has the
  // source's class.
  virtual TDVItemClass ItemClass() const = 0;

  int32_t StyleNo = 0;
  int32_t ParaNo = 0;
  TDVItemOptions ItemOptions = 0;
  std::unique_ptr<TDVCPInfo> Checkpoint;
  // The item's link number within the document; assigned by layout.
  int32_t JumpID = 0;
  TDVTag Tag;
  // The item's first drawing item; -1 until laid out.
  int32_t DrawItemNo = -1;

  bool SameAsPrev() const { return (ItemOptions & dvioSameAsPrev) != 0; }
  bool PageBreakBefore() const { return (ItemOptions & dvioPageBreakBefore) != 0; }
  bool BR() const { return (ItemOptions & dvioBR) != 0; }
  bool IsUnicode() const { return (ItemOptions & dvioUnicode) != 0; }
  // Setting one of the three clears the others that contradict it; a
  // full-width item never takes BR (the flag is cleared instead).
  void SetSameAsPrev(bool value);
  void SetPageBreakBefore(bool value);
  void SetBR(bool value);
  // The item starts a paragraph.
  bool CanBeBorderStart() const { return (ItemOptions & (dvioSameAsPrev | dvioBR)) == 0; }

  // ---- geometry and capabilities ----
  // 20 pixels, scaled to the device when a resolution record is given.
  virtual int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const;
  // The picture of a picture item; null otherwise.
  virtual TGraphic* AsImage() const { return nullptr; }
  virtual bool GetBoolValue(TDVItemBoolProperty prop) const;
  virtual bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const;
  virtual int32_t GetImageWidth(TDVStyle* /*dvStyle*/) const { return 0; }
  virtual int32_t GetImageHeight(TDVStyle* /*dvStyle*/) const { return 0; }
  virtual int32_t GetBorderWidth() const { return 1; }
  virtual int32_t GetBorderHeight() const { return 1; }
  virtual std::unique_ptr<TDVDrawLineInfo> CreatePrintingDrawItem(TCustomDVData* dvData,
                                                                  const TDVScreenAndDevice* sad) const;
  // Told, before layout places it, the width it may take (tables fit their
  // columns to it); hShift is room the item wants before itself. Answers
  // whether its size changed; false here: the size does not follow the width.
  virtual bool OnDocWidthChange(int32_t docWidth, TDVDrawLineInfo* drawItem, bool printing, TCanvas& canvas,
                                TCustomDVData* dvData, const TDVScreenAndDevice* sad, int32_t& hShift);
  // Adds hyperlink areas of its own at its place, numbering them from
  // jumpNo (tables: their cells' links); nothing here.
  virtual void BuildJumps(int32_t /*left*/, int32_t /*top*/, int32_t& /*jumpNo*/, TDVJumpList& /*jumps*/) {}
  // Called before the item joins a document; it may change its text.
  virtual void Inserting(TCustomDVData* dvData, std::string& text, bool safe);
  // Whether the item holds this control.
  virtual bool OwnsControl(const TControl* /*control*/) const { return false; }
  // Pictures drop their palette copies and, for the copy actions, make them
  // again.
  virtual void UpdatePaletteInfo(TDVPaletteAction /*action*/, bool /*forceRecreateCopy*/) {}

  // ---- drawing ----
  // Paints an inline item with the top-left of its frame at (x, y); dli is
  // the drawing item being painted.
  virtual void Paint(int32_t /*x*/, int32_t /*y*/, TCanvas& /*canvas*/, TDVItemDrawStates /*drawState*/,
                     const TDVStyle* /*dvStyle*/, const TDVDrawLineInfo* /*dli*/) const {}
  // Paints a full-width item between left and right from top; clipRect is
  // the visible area with its origin at (0, 0).
  virtual void PaintFullWidth(int32_t /*left*/, int32_t /*right*/, int32_t /*top*/, TCanvas& /*canvas*/,
                              TDVItemDrawStates /*drawState*/, const TDVStyle* /*dvStyle*/, const TRect& /*clipRect*/,
                              const TDVDrawLineInfo* /*dli*/) const {}
  // Draws on a printer (or preview) canvas at (x, y) in device pixels. x2 is
  // the right bound of a full-width item (0 for others); part is the part of
  // a drawing item split over pages (-1: whole); dvData is the printed
  // document.
  virtual void Print(TCanvas& /*canvas*/, int32_t /*x*/, int32_t /*y*/, int32_t /*x2*/, bool /*preview*/,
                     bool /*correction*/, const TDVScreenAndDevice& /*sad*/, TCustomDVData* /*dvData*/,
                     const TDVDrawLineInfo* /*dli*/, int /*part*/) const {}
  // Draws the item at screen resolution into the bitmap that printing
  // stretches onto the page; false when nothing was drawn.
  virtual bool PrintToBitmap(TBitmap& /*bitmap*/, bool /*preview*/, TCustomDVData* /*dvData*/,
                             const TDVDrawLineInfo* /*dli*/, int /*part*/) const {
    return false;
  }

  // ---- stream ----
  // Writes the item's own record (non-text kinds; text records are written
  // by the document's writer). paraNo is -1 when the item is saved as
  // continuing its paragraph. part is the piece of an item split over pages
  // that a page saves (null: the whole item).
  virtual void SaveDVF(TStream& /*stream*/, TCustomDVData& /*dvData*/, int32_t /*paraNo*/,
                       const std::string& /*name*/, const TDVMultiDrawItemPart* /*part*/,
                       bool /*forceSameAsPrev*/) const {}
  // The kind-specific end of the DVF header line; empty by default.
  virtual std::string SaveDVFHeaderTail(TCustomDVData* dvData) const;
  // The name=value lines among the data lines.
  virtual int GetDVFExtraPropertyCount() const { return 0; }
  virtual void SaveDVFExtraProperties(TStream& /*stream*/) const {}
  // The rest of the header line after the common fields.
  virtual bool ReadDVFHeader(std::string_view& /*p*/, TCustomDVData* /*dvData*/) { return true; }
  virtual bool ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo, int lineCount,
                           std::string& name, TDVFReadMode& readMode, TDVFReadState& readState);
  virtual void AfterLoading() {}
  // A name=value line: the value (0 when not a number) goes to the
  // property of that name; unknown names and lines without "=" are ignored.
  // False when the item has the property but refuses the value (out of
  // range): a read error.
  bool SetExtraPropertyFromDVFStr(std::string_view s);
  virtual bool SetExtraIntProperty(TDVExtraItemProperty /*prop*/, int32_t /*value*/) { return false; }
  virtual bool GetExtraIntProperty(TDVExtraItemProperty /*prop*/, int32_t& /*value*/) const { return false; }

  // ---- text, HTML and RTF forms (non-text kinds) ----
  // The item in plain text: lineWidth is the width of a text line in
  // characters; the answer is UTF-16LE bytes when unicode, else 8-bit text.
  virtual std::string AsText(int /*lineWidth*/, TCustomDVData* /*dvData*/, const std::string& /*text*/,
                             const std::string& /*path*/, bool /*textOnly*/, bool /*unicode*/) const {
    return {};
  }
  // The item in an HTML page; pictures it needs are written as files beside
  // the page (imgSaveNo numbers them), image-list images once per page.
  virtual void SaveToHTML(TStream& /*stream*/, TCustomDVData& /*dvData*/, int /*itemNo*/,
                          const std::string& /*text*/, const std::string& /*path*/,
                          const std::string& /*imagesPrefix*/, int& /*imgSaveNo*/, TColor /*currentFileColor*/,
                          TDVSaveOptions /*saveOptions*/, bool /*useCSS*/, TDVHTMLBullets& /*bullets*/) const {}
  // The item in an RTF document at table nesting level `level`; colours are
  // indexes into the document's colour table. The file's tables are passed
  // on so that documents the item holds write into the same file.
  virtual void SaveRTF(TStream& /*stream*/, TCustomDVData& /*dvData*/, int /*itemNo*/,
                       const std::string& /*itemText*/, double /*twipsPerPixel*/, int /*level*/,
                       TDVColorList& /*colorList*/, TDVIntegerList& /*styleToFont*/,
                       TDVIntegerList& /*fontTable*/) const {}
  // Adds the colours the item's RTF uses.
  virtual void FillRTFColorTable(TDVColorList& /*colorList*/) const {}

  // ---- document operations ----
  // StyleNo, ParaNo and ItemOptions; never the checkpoint, tag, link or
  // drawing item.
  virtual void Assign(const TCustomDVItemInfo& source);
  virtual void MovingToUndoList(int itemNo, TCustomDVData* dvData);
  virtual void MovingFromUndoList(int /*itemNo*/, TCustomDVData* /*dvData*/) {}
  // An item edited in place (a table whose cell is being edited) closes
  // the undo group it keeps open before the document opens another.
  virtual void FinalizeUndoGroup() {}
  // Around a property set back by undo (the table item lays itself out
  // again afterwards).
  virtual void BeforeUndoChangeProperty() {}
  virtual void AfterUndoChangeProperty() {}
  virtual void StartExport() {}
  virtual void EndExport() {}
  virtual TCursor GetHypertextCursor(const TDVStyle& dvStyle) const;
  // Marks the styles the item uses with 1 in the lists; numbers outside a
  // list are not marked.
  virtual void MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const;
  // Renumbers through maps made by DeleteUnusedStyles: an entry holds one
  // more than the number of deleted styles before that index.
  virtual void UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap);
  // Focus and selection inside items that hold documents (tables): the
  // next focusable place in the given direction (false when none), giving up
  // the focus, and ending a selection that covers only part of the item.
  virtual bool MoveFocus(bool /*goForward*/, TCustomDVData*& /*topLevelDVData*/, int& /*topLevelItemNo*/) {
    return false;
  }
  virtual void ClearFocus() {}
  virtual void DeselectPartial() {}
  // The item holds a selection of its own inside (cells of a table).
  virtual bool PartiallySelected() const { return false; }
  // Deleting that inner selection: whether it may go, and taking it away.
  virtual bool CanDeletePartiallySelected() const { return false; }
  virtual void DeletePartiallySelected() {}
  // Style changes of that inner selection, done by each selected part's own
  // document (userData as the editor's conversion handler takes it).
  virtual void ApplyStyleConversionToPartiallySelected(int32_t /*userData*/) {}
  virtual void ApplyParaStyleToPartiallySelected(int32_t /*paraNo*/) {}
  virtual void ApplyParaStyleConversionToPartiallySelected(int32_t /*userData*/) {}
  // The caret steps onto the item from a side; true when the item took it
  // (into a cell of a table).
  virtual bool EnterItem(TDVEnterDirection /*from*/, int32_t /*coord*/) { return false; }
  // Items that hold documents hand them out one at a time: the sub-document
  // at a position, with store set to where the item is (dvdNext and dvdPrev
  // move on from the store's place); null when there is none.
  virtual TCustomDVData* GetSubDVData(std::unique_ptr<TDVStoreSubDVData>& /*store*/,
                                      TDVSubDVDataPos /*position*/) const {
    return nullptr;
  }
  // Makes the sub-document at the store's place the chosen one (the one
  // being edited).
  virtual void ChooseSubDVData(const TDVStoreSubDVData* /*store*/) {}
  // The document let the chosen sub-document go: the item forgets it.
  virtual void CleanUpChosen() {}
  // The sub-document at a point relative to the item's top-left; null when
  // the item holds none there.
  virtual TCustomDVData* GetSubDVDataAt(int32_t /*x*/, int32_t /*y*/) const { return nullptr; }
  // Whether the window is the item's in-place editor (a table's cell editor).
  virtual bool OwnsInplaceEditor(const TCustomControl* /*editor*/) const { return false; }

  // ---- mouse, keyboard focus and execution ----
  // The mouse over, pressed on or released over the item; x and y are
  // relative to the drawing item's top-left. True when the item took it
  // (a move: set the cursor itself).
  virtual bool MouseMove(TShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/, int /*itemNo*/,
                         TCustomDVData* /*dvData*/) {
    return false;
  }
  virtual bool MouseDown(TMouseButton /*button*/, TShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/,
                         int /*itemNo*/, TCustomDVData* /*dvData*/) {
    return false;
  }
  virtual bool MouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/,
                       int /*itemNo*/, TCustomDVData* /*dvData*/) {
    return false;
  }
  // The item has just got the keyboard focus of its document.
  virtual void Focusing() {}
  // Enter on the focused item (a link fires its jump).
  virtual void Execute(TCustomDVData* /*dvData*/) {}
  // The focus came from a control inside the item: the item focuses the
  // place that owns it, which may be inside one of its sub-documents.
  virtual bool AdjustFocusToControl(const TControl* /*control*/, TCustomDVData*& /*topLevelDVData*/,
                                    int& /*topLevelItemNo*/) {
    return false;
  }
  virtual int32_t GetSoftPageBreakDY(int32_t dy) const { return dy; }

 protected:
  // ParaNo through a renumbering map; a number outside the map stays.
  static int32_t MapStyleNo(int32_t no, const TDVIntegerList& map);
};

class TDVTextItemInfo : public TCustomDVItemInfo {
 public:
  using TCustomDVItemInfo::TCustomDVItemInfo;
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVTextItemInfo>; }
  // Links take the focus and are drawn hot under the mouse when their style
  // says so.
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  // A link fires its jump in a laid-out document.
  void Execute(TCustomDVData* dvData) override;
  void MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const override;
  void UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) override;
};

// A link item's jump in a laid-out document: the document's DoJump with its
// first link number plus the item's JumpID; nothing in other documents.
void DVExecuteJump(TCustomDVData* dvData, const TCustomDVItemInfo& item);

class TDVNonTextItemInfo : public TCustomDVItemInfo {
 public:
  using TCustomDVItemInfo::TCustomDVItemInfo;
  virtual int32_t GetHeight() const { return 0; }
  virtual int32_t GetWidth() const { return 0; }
  virtual int32_t GetLeftOverhang() const { return 0; }
  virtual void AdjustInserted(int32_t /*x*/, int32_t /*y*/, bool /*adjustY*/) {}

  // Read types of the data lines.
  enum { dvfrtText = 0, dvfrtNoBody = 1, dvfrtBinary = 2 };
  // The header alone (no data lines); kinds with data override.
  void SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
               const TDVMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // The common header line of a non-text item's record, without its line
  // end: style number, data line count, paragraph, options, read type, tag
  // and the kind's tail.
  std::string DVFHeaderLine(TCustomDVData& dvData, int32_t paraNo, int lineCount, int readType,
                            bool forceSameAsPrev) const;
};

// Items that take a whole line (the break; tables).
class TDVFullLineItemInfo : public TDVNonTextItemInfo {
 public:
  using TDVNonTextItemInfo::TDVNonTextItemInfo;
  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  int32_t GetBorderWidth() const override { return 0; }
  int32_t GetBorderHeight() const override { return 0; }
};

enum TDVVAlign : uint8_t { dvvaBaseline, dvvaMiddle };

// Rectangular inline objects (pictures, bullets, controls, markers).
class TDVRectItemInfo : public TDVNonTextItemInfo {
 public:
  using TDVNonTextItemInfo::TDVNonTextItemInfo;
  virtual int32_t GetDescent() const { return 1; }
  // VAlign, VShift, VShiftAbs and MinHeightOnPage, then the base fields.
  void Assign(const TCustomDVItemInfo& source) override;

  // VAlign as a number.
  std::string SaveDVFHeaderTail(TCustomDVData* dvData) const override;
  // VAlign when the rest of the header is not empty (else baseline); a
  // number that is no alignment fails.
  bool ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) override;
  // "vshift=%d" when VShift is set, "vshiftabs=1" when VShiftAbs.
  int GetDVFExtraPropertyCount() const override;
  void SaveDVFExtraProperties(TStream& stream) const override;
  bool SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) override;
  bool GetExtraIntProperty(TDVExtraItemProperty prop, int32_t& value) const override;
  // "vertical-align : %d" for a shifted baseline object with a height; empty
  // otherwise.
  std::string GetVShiftCSS(TDVStyle* dvStyle) const;

  // VAlign, VShift, VShiftAbs and MinHeightOnPage by name.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  int32_t MinHeightOnPage = 0;  // 0: never split over pages
  TDVVAlign VAlign = dvvaBaseline;
  int32_t VShift = 0;
  bool VShiftAbs = false;  // VShift in pixels; otherwise percent of the height

 protected:
  // Heights and widths a picture or control may be given.
  static bool ValidSize(int32_t value) { return value >= 0 && value <= kMaxItemSide; }
  static constexpr int32_t kMaxItemSide = 32767;
  // The name line of a record: line ends become spaces, so a name never
  // splits the record.
  static void WriteNameLine(TStream& stream, const std::string& name);
  // The head of a record whose body (a picture, a control) may follow: the
  // header, the name, the class name when the body is saved, and the extra
  // properties. Answers the read type the body is to be written in
  // (dvfrtNoBody: none).
  int WriteBodyRecordHead(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                          bool forceSameAsPrev, bool saveBody, std::string_view className) const;
  // The selection colour for the draw state; clNone when there is none.
  static TColor SelectionColor(const TDVStyle* dvStyle, TDVItemDrawStates drawState);
  // The hover rectangle (x - 1, y - 1)..(x + w + 3, y + h + 3) when the item
  // is current and the style sheet has a hover colour, and the selection
  // rectangle (x, y)..(x + w + 2, y + h + 2) when selected.
  static void PaintFrames(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h,
                          TDVItemDrawStates drawState, const TDVStyle* dvStyle);
};

// Options forced onto an item saved as continuing its paragraph: SameAsPrev
// set, PageBreakBefore and BR cleared.
TDVItemOptions DVFGetItemOptions(TDVItemOptions options);

}  // namespace quillet
