#pragma once
// The document data: the ordered items with their texts, the chain of
// checkpoints, the host's stream lines, and the operations that build a
// document in code, read and change item properties, and work on whole runs
// of items and on styles. Layout, painting and the viewer build on it; a table
// cell is a document of its own inside an item of another.
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "engine/model/checkpoint.h"
#include "engine/base/doc_view_error.h"
#include "engine/model/export_types.h"
#include "engine/model/host_lines.h"
#include "engine/model/item_info.h"
#include "engine/model/item_list.h"
#include "engine/base/item_types.h"
#include "engine/model/rtf_read_properties.h"
#include "engine/style/style_types.h"

namespace quillet {

class TDVBackground;
class TDVColorList;
class TDVFReader;
class TDVRTFBookmarkNames;
class TDVLayoutInfo;
class TControl;
class TCustomImageList;
class TDVMarkerItemInfo;
class TDVMarkerList;
class TDVMultiDrawItemPart;
class TDVStyle;
class TGraphic;
class TStream;

enum TDVFSaveScope { dvfss_Full, dvfss_Selection, dvfss_Page };

// Where the owner may add RTF code of its own (GetExtraRTFCode).
enum TDVRTFSaveArea { dv_rtfs_TextStyle, dv_rtfs_ParaStyle, dv_rtfs_CellProps, dv_rtfs_RowProps };

// The kind of document a hyperlink is read from (ReadHyperlink).
enum TDVLoadFormat { dvlfDVF, dvlfRTF };

// The range a DVF save covers: items and caret offsets within them. A page
// that begins or ends inside an item split over pages saves only that
// item's part there (StartPart of StartItemNo, EndPart of EndItemNo).
struct TDVFLimits {
  int StartItemNo = -1, EndItemNo = -1;
  int StartOffs = 0, EndOffs = 0;
  const TDVMultiDrawItemPart* StartPart = nullptr;
  const TDVMultiDrawItemPart* EndPart = nullptr;
};

class TCustomDVData {
 public:
  TCustomDVData();
  virtual ~TCustomDVData();
  TCustomDVData(const TCustomDVData&) = delete;
  TCustomDVData& operator=(const TCustomDVData&) = delete;

  // ---- settings, answered by the root document ----
  // A document that is its own root keeps them; a sub-document asks its root.
  virtual TDVOptions GetOptions() const;
  virtual void SetOptions(TDVOptions value);
  virtual TDVFOptions GetDVFOptions() const;
  virtual void SetDVFOptions(TDVFOptions value);
  virtual TDVRTFOptions GetRTFOptions() const;
  virtual void SetRTFOptions(TDVRTFOptions value);
  virtual TDVFWarnings GetDVFWarnings() const;
  virtual void SetDVFWarnings(TDVFWarnings value);
  virtual TDVFReaderStyleMode GetDVFTextStylesReadMode() const;
  virtual TDVFReaderStyleMode GetDVFParaStylesReadMode() const;
  virtual TDVStyle* GetDVStyle() const;
  virtual std::string GetDelimiters() const;
  virtual TDVRTFReaderProperties* GetRTFProperties() const;
  virtual TDVBiDiMode GetBiDiMode() const;
  bool TagsArePChars() const { return (GetOptions() & dvoTagsArePChars) != 0; }
  // A document's own settings (ignored while it has another root).
  void SetDVStyle(TDVStyle* dvStyle) { ownSettings_.DVStyle = dvStyle; }
  void SetRTFProperties(TDVRTFReaderProperties* properties) { ownSettings_.RTFProperties = properties; }
  void SetDelimiters(std::string delimiters) { ownSettings_.Delimiters = std::move(delimiters); }
  void SetBiDiMode(TDVBiDiMode mode) { ownSettings_.BiDiMode = mode; }
  void SetDVFStylesReadModes(TDVFReaderStyleMode text, TDVFReaderStyleMode para) {
    ownSettings_.TextStylesReadMode = text;
    ownSettings_.ParaStylesReadMode = para;
  }

  // ---- nested documents ----
  virtual TCustomDVData* GetParentData() const { return nullptr; }
  virtual TCustomDVData* GetRootData() { return this; }
  virtual const TCustomDVData* GetRootData() const { return this; }
  virtual TCustomDVData* GetAbsoluteParentData() const { return nullptr; }
  virtual TCustomDVData* GetAbsoluteRootData() { return this; }
  virtual TCustomDVData* GetDVData() { return this; }
  virtual TCustomDVData* GetSourceDVData() { return this; }
  // The item of the parent document that holds this one; -1 for a root.
  virtual void GetParentInfo(int& parentItemNo, TCustomDVItemInfo*& location) const {
    parentItemNo = -1;
    location = nullptr;
  }
  virtual bool SupportsPageBreaks() const { return true; }
  // The image list that stored list levels and bullets name by its Tag; none
  // unless the root document's owner supplies one.
  virtual TCustomImageList* DVFImageListNeeded(int32_t imageListTag) {
    TCustomDVData* root = GetRootData();
    return root == this ? nullptr : root->DVFImageListNeeded(imageListTag);
  }

  // ---- questions the root's owner answers (the viewer through its events) ----
  // A picture or control stored without its body, asked for by name and tag;
  // null when nobody supplies one.
  virtual std::unique_ptr<TGraphic> DVFPictureNeeded(const std::string& name, const TDVTag& tag);
  virtual std::unique_ptr<TControl> DVFControlNeeded(const std::string& name, const TDVTag& tag);
  // A control's text, HTML or RTF form; empty when nobody writes one.
  virtual std::string SaveComponentToFile(const std::string& path, TControl* control, TDVSaveFormat format);
  // The window that the controls of the document's items live in.
  virtual TControl* GetParentControl() const;
  // Tells the owner what happens to a control item's control.
  virtual void ControlAction2(TDVControlAction action, int itemNo, TControl* control);
  // The target of hyperlink jumpID; empty when none.
  virtual std::string GetURL(int32_t jumpID);
  // A hyperlink read from a file: the owner may give the item a tag and a
  // name, and change its style number (a text style, or the item kind).
  // A sub-document asks its root; a root without an owner changes nothing.
  virtual void ReadHyperlink(const std::string& target, const std::string& extras, TDVLoadFormat docFormat,
                             int32_t& styleNo, TDVTag& itemTag, std::string& itemName);
  // An image-list image of an HTML page: the owner may write it and answer
  // its location (true), or leave it to the default (false).
  virtual bool HTMLSaveImage(TCustomDVData& dvData, int itemNo, const std::string& path, TColor backColor,
                             std::string& location);
  // Extra code for the head (area 0) or the BODY tag (area 1) of a page.
  virtual std::string GetExtraHTMLCode(int area, bool css);
  // The picture that stands for a control on paper (the print component's
  // OnPrintComponent); null when nobody supplies one.
  virtual std::unique_ptr<TGraphic> DoPrintComponent(TControl* printMe);

  // ---- items ----
  int ItemCount() const { return items_->Count(); }
  TCustomDVItemInfo* GetItem(int itemNo) const { return items_->Item(itemNo); }
  int GetItemNo(const TCustomDVItemInfo* item) const { return items_->IndexOf(item); }
  // The item's text: bytes in the code page, or UTF-16LE units for a Unicode item.
  const std::string& GetItemTextR(int itemNo) const { return items_->Text(itemNo); }
  void SetItemTextR(int itemNo, std::string text) { items_->SetText(itemNo, std::move(text)); }
  TDVItemList& Items() { return *items_; }
  const TDVItemList& Items() const { return *items_; }
  // A data object that may share another's item list answers true.
  virtual bool ShareItems() const { return false; }
  // Clears this data and uses the source's list (when ShareItems allows);
  // shared items are never freed by this data object.
  void ShareItemsFrom(TCustomDVData& source);
  bool ItemsShared() const { return items_ != ownItems_.get(); }

  TQvDvData& HostLines() { return *hostLines_; }
  const TQvDvData& HostLines() const { return *hostLines_; }
  TDVStates State = 0;

  // ---- building a document ----
  // Appends an item; an item with paragraph -1 continues the last paragraph
  // (unless the last item is full-width).
  void AddItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item);
  void AddNLTag(std::string text, int32_t styleNo, int32_t paraNo, TDVTag tag);
  void AddNL(std::string text, int32_t styleNo, int32_t paraNo) { AddNLTag(std::move(text), styleNo, paraNo, {}); }
  void SetAddParagraphMode(bool allowNewPara) { allowNewPara_ = allowNewPara; }
  bool AllowNewPara() const { return allowNewPara_; }
  // Creates the trailing checkpoint, which the next added item takes; when
  // one is pending already, it stays and its number is answered.
  int AddNamedCheckpointExTag(const std::string& name, bool raiseEvent, TDVTag tag);
  // Tabs become the style sheet's SpacesInTab spaces (8 without one); the
  // text is UTF-16 when the text style is Unicode (without a style sheet:
  // when unicodeDef).
  void ReplaceTabs(std::string& text, int32_t styleNo, bool unicodeDef) const;

  // ---- checkpoints ----
  TDVCPInfo* FirstCP() const { return firstCP_; }
  TDVCPInfo* LastCP() const { return lastCP_; }
  TDVCPInfo* NotAddedCP() const { return notAddedCP_.get(); }
  int CPCount() const { return cpCount_; }
  void InsertCheckpoint(int itemNo, TDVTag tag, const std::string& name, bool raiseEvent);
  void SetCheckpointInfo(int itemNo, TDVTag tag, const std::string& name, bool raiseEvent);
  // Links an attached checkpoint into the chain at its item's position.
  void UpdateCPPos(TDVCPInfo* checkpoint, int itemNo);
  void UpdateCPItemNo();
  TDVCPInfo* FindCPBeforeItem(int itemNo);
  // Detaches from the item and the chain; the caller gets the checkpoint.
  std::unique_ptr<TDVCPInfo> UnlinkCheckpoint(TDVCPInfo* checkpoint, bool decCPCount);
  // Attaches a checkpoint held outside the document (by an undo record) to
  // item itemNo, or as the trailing one when itemNo is -1, counts it and
  // links it into the chain. "Checkpoint error" when the place holds one.
  void AttachCheckpoint(int itemNo, std::unique_ptr<TDVCPInfo> checkpoint);
  // Unlinks and frees it, wherever it is held.
  void FreeCheckpoint(TDVCPInfo* checkpoint, bool decCPCount);

  // ---- removing items ----
  // Reports the item's end, then frees it; the entry stays.
  void FreeItem(int itemNo, bool clearing);
  virtual void InternalFreeItem(std::unique_ptr<TCustomDVItemInfo> item, bool clearing);
  // A first index below 0 is refused; at or past the end does nothing; the
  // count is cut to the items that exist.
  virtual void DeleteItems(int firstItemNo, int count);
  virtual void Clear();

  // ---- item properties ----
  int32_t GetItemStyle(int itemNo) const { return GetItem(itemNo)->StyleNo; }
  int32_t GetItemPara(int itemNo) const { return GetItem(itemNo)->ParaNo; }
  const TDVTag& GetItemTag(int itemNo) const { return GetItem(itemNo)->Tag; }
  TDVItemOptions GetItemOptions(int itemNo) const { return GetItem(itemNo)->ItemOptions; }
  bool IsFromNewLine(int itemNo) const { return !GetItem(itemNo)->SameAsPrev(); }
  bool IsParaStart(int itemNo) const { return GetItem(itemNo)->CanBeBorderStart(); }
  // Characters (UTF-16 units for a Unicode item) of a text item; 1 for others.
  int ItemLength(int itemNo) const;
  int GetOffsBeforeItem(int itemNo) const { return GetItemStyle(itemNo) >= 0 ? 1 : 0; }
  int GetOffsAfterItem(int itemNo) const { return GetItemStyle(itemNo) >= 0 ? ItemLength(itemNo) + 1 : 1; }
  void SetItemTag(int itemNo, TDVTag tag);
  bool GetItemExtraIntProperty(int itemNo, TDVExtraItemProperty prop, int32_t& value) const {
    return GetItem(itemNo)->GetExtraIntProperty(prop, value);
  }
  // A picture item's (or hot picture's) name, picture, alignment and tag;
  // "Can't get or set this kind of information for this item" for others.
  void GetPictureInfo(int itemNo, std::string& name, TGraphic*& graphic, TDVVAlign& vAlign, TDVTag& tag) const;
  // Replaces them (a null graphic keeps the picture) and drops the palette
  // copy; true when the picture's size or the alignment changed, so that the
  // document needs formatting.
  bool SetPictureInfo(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic, TDVVAlign vAlign,
                      TDVTag tag);
  // The first item that owns the control; -1 when none.
  int FindControlItemNo(const TControl* control) const;
  // Tells the owner (ControlAction2) what happens to a control item's
  // control; other items are passed over.
  void ControlAction(TDVControlAction action, int itemNo, const TCustomDVItemInfo* item);
  bool GetPageBreaksBeforeItems(int index) const;
  void SetPageBreaksBeforeItems(int index, bool value);
  // The item as class T; "Can't get or set this kind of information for
  // this item" when it is not one.
  template <class T>
  T& CheckItemClass(int itemNo) const {
    static_assert(std::is_base_of_v<TCustomDVItemInfo, T>);
    auto* item = dynamic_cast<T*>(GetItem(itemNo));
    if (!item) throw EDocViewError("Can't get or set this kind of information for this item");
    return *item;
  }
  // The code page of the text style's charset; 0 without a style sheet.
  int GetStyleCodePage(int32_t styleNo) const;
  // Whether the text style keeps its text in UTF-16 (false without it).
  bool IsUnicodeStyle(int32_t styleNo) const;
  int GetDefaultCodePage() const;
  bool IsDelimiterA(char ch) const;
  bool IsDelimiterW(char16_t ch) const;
  // The character at 1-based index of an item text, by the Unicode option.
  bool IsDelimiter(const std::string& text, int index, TDVItemOptions itemOptions) const;
  static void Replace0(std::string& text);
  // Reports an item's insertion, destruction and the like (nothing here).
  virtual void ItemAction(TDVItemAction /*action*/, TCustomDVItemInfo* /*item*/, std::string& /*text*/) {}

  // ---- document-level operations ----
  void AdjustInItemsRange(int& itemNo) const;
  int GetFirstParaItem(int itemNo) const;
  int GetFirstParaSectionItem(int itemNo) const;
  TDVBiDiMode GetParaBiDiMode(int32_t paraNo) const;
  TDVBiDiMode GetItemBiDiMode(int itemNo) const;
  // Set by the host or the viewer; the system's beep when the style sheet
  // wants sound.
  void Beep() const;
  void StartExport();
  void EndExport();
  void StartPartialExport(int first, int last);
  void EndPartialExport(int first, int last);
  // Lets every item prepare its text for this document.
  void Inserting(TCustomDVData* dvData, bool safe);
  // Steps a whole character in the item's text (1-based indexes).
  int NextCharStr(const std::string& s, int itemNo, int index) const;
  int PrevCharStr(const std::string& s, int itemNo, int index) const;

  // Moves every item of the victim to the end of this document.
  void DrainFrom(TCustomDVData* victim);
  // Whether item firstItemNo and the next one can become one text item.
  bool DV_CanConcateItems(int firstItemNo, const TCustomDVItemInfo* item1, const TCustomDVItemInfo* item2,
                          bool ignorePara) const;
  // Joins item firstItemNo + 1 into item firstItemNo (see the rules there).
  void SimpleConcate(int firstItemNo);
  void MassSimpleConcate(int firstItemNo, int lastItemNo);
  TDVRTFErrorCode LoadRTF(const std::string& fileName);
  TDVRTFErrorCode LoadRTFFromStream(TStream& stream);

  virtual void MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const;
  void UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap);
  // Deletes the text and/or paragraph styles that nothing uses and are not
  // Standard, and renumbers every reference to the styles that stay.
  void DeleteUnusedStyles(bool textStyles, bool paraStyles);
  virtual void AfterDeleteStyles(const TDVIntegerList& /*textMap*/, const TDVIntegerList& /*paraMap*/) {}

  // ---- the document's own stream (DVF) ----
  TDVFSaveScope GetDVFSaveScope(bool selectionOnly) const {
    return selectionOnly ? dvfss_Selection : dvfss_Full;
  }
  // The range of a save; the whole document here, the selection in a
  // formatted document.
  virtual TDVFLimits DVFGetLimits(TDVFSaveScope scope) const;
  // A cell edited in place holds its items in its editor: every save
  // closes it first, so the cell's text is written. False (the save fails)
  // while the editor is inside its own change and cannot close.
  virtual bool CloseInplaceEditorForSaving() { return true; }
  // Writes the host's lines, the version, the optional background, styles
  // and layout, then the items of the scope. False when the write failed
  // (what was written stays in the stream).
  bool SaveDVFToStreamEx(TStream& stream, TDVFSaveScope scope, TColor color, const TDVBackground* background,
                         const TDVLayoutInfo* layout);
  bool SaveDVFToStream(TStream& stream, bool selectionOnly, TColor color, const TDVBackground* background,
                       const TDVLayoutInfo* layout) {
    return SaveDVFToStreamEx(stream, GetDVFSaveScope(selectionOnly), color, background, layout);
  }
  // The compressed form in a file; the old file stays when anything fails.
  bool SaveDVF(const std::string& fileName, bool selectionOnly, TColor color, const TDVBackground* background,
               const TDVLayoutInfo* layout);
  // A length-prefixed DVF stream of the whole document, without background,
  // as a table cell stores its content. A failed write raises EWriteError.
  void DataWriter(TStream& stream);

  // Reads a DVF stream from the stream's position into the document at
  // index. Nothing of the document is lost on failure: the items inserted so
  // far are removed again and the styles restored.
  bool InsertDVFFromStream(TStream& stream, int index, TColor& color, TDVBackground* background,
                           TDVLayoutInfo* layout, bool allowReplaceStyles);
  // Replaces the document (and, with style records, its styles) by the
  // stream's; the document stays as it was when the stream is bad.
  bool LoadDVFFromStream(TStream& stream, TColor& color, TDVBackground* background, TDVLayoutInfo* layout);
  bool LoadDVF(const std::string& fileName, TColor& color, TDVBackground* background, TDVLayoutInfo* layout);
  // A length-prefixed DVF stream as DataWriter writes it; a bad one raises
  // EReadError and leaves the document as it was.
  void DataReader(TStream& stream);
  // The worker of the readers: index is clamped, and on return is the index
  // of the first inserted item; nonFirstItemsAdded counts the items after it.
  bool InsertDVFFromStream_(TStream& stream, int& index, int32_t aParaNo, bool allowReplaceStyles,
                            bool appendMode, bool editFlag, TColor& color, TDVBackground* background,
                            TDVLayoutInfo* layout, int& nonFirstItemsAdded);
  // Puts an item into the list at index without a record, telling it and
  // the marker list.
  void InsertItemDirectly(int index, std::string text, std::unique_ptr<TCustomDVItemInfo> item);
  // Inserts the first item of a reading at index (which answers where it
  // went). An editor may refuse it (false, the item freed, a beep); the
  // reading then stops.
  virtual bool InsertFirstDVFItem(int& index, std::string& text, std::unique_ptr<TCustomDVItemInfo>& item,
                                  bool editFlag);

  // ---- RTF ----
  // Writes the scope as RTF. Level 0 writes a whole file and makes its
  // tables (colorList, styleToFont, fontTable and twipsPerPixel are then
  // ignored); a deeper level is the content of a table cell at that nesting
  // depth and writes into the caller's file with the caller's tables. False
  // when writing failed; what was written stays in the stream.
  virtual bool SaveRTFToStream(TStream& stream, bool selectionOnly, int level, TColor color,
                               const TDVBackground* background, TDVColorList* colorList,
                               TDVIntegerList* styleToFont, TDVIntegerList* fontTable, double twipsPerPixel);
  bool SaveRTFToStream(TStream& stream, bool selectionOnly, TColor color, const TDVBackground* background) {
    return SaveRTFToStream(stream, selectionOnly, 0, color, background, nullptr, nullptr, nullptr, 0);
  }
  // The RTF file; the old file stays when anything fails.
  bool SaveRTF(const std::string& fileName, bool selectionOnly, TColor color, const TDVBackground* background);
  // RTF code of the owner's for a style (obj the style, index1 its number)
  // or a table part, written verbatim; empty unless the root's owner gives
  // one.
  virtual std::string GetExtraRTFCode(TDVRTFSaveArea area, const void* obj, int index1, int index2,
                                      bool inStyleSheet);
  // ---- plain text and HTML ----
  // Appends the lines of 8-bit text (CR LF, LF CR, CR and LF each end one
  // line) as paragraphs of styleNo and paraNo, or as lines of one paragraph.
  // A form feed starts a new item with a page break where the document has
  // page breaks; NUL becomes "?". The text is in the code page of the
  // style's charset. File errors raise EFOpenError / EReadError.
  bool LoadText(const std::string& fileName, int32_t styleNo, int32_t paraNo, bool asSingleParagraph);
  bool LoadTextFromStream(TStream& stream, int32_t styleNo, int32_t paraNo, bool asSingleParagraph);
  // UTF-16 text: a byte-order mark tells little- or big-endian, none means
  // little-endian. An odd number of bytes is refused (false) and nothing is
  // added.
  bool LoadTextW(const std::string& fileName, int32_t styleNo, int32_t paraNo, bool defAsSingleParagraph);
  bool LoadTextFromStreamW(TStream& stream, int32_t styleNo, int32_t paraNo, bool defAsSingleParagraph);
  // Appends UTF-16LE text: U+2029 starts a paragraph; U+2028, U+000B and
  // U+0000 a line of the same paragraph; CR, LF, CR LF and LF CR end a line
  // (a paragraph unless asSingleParagraph); a form feed ends a line and puts
  // a page break before the next. The first paragraph takes firstParaNo (-1:
  // continues the last one), the others otherParaNo. "Can't perform Unicode
  // operation" for an odd byte length.
  void AddTextNLW(const std::string& text, int32_t styleNo, int32_t firstParaNo, int32_t otherParaNo,
                  bool asSingleParagraph);
  // The document (or selection) as text, paragraphs and lines separated by
  // CR LF, as UTF-16LE (no byte-order mark) or 8-bit text. Items other than
  // text write their AsText; with textOnly only those that are always in
  // text. Files that items write go to path. False when the write failed.
  bool SaveTextToStream(const std::string& path, TStream& stream, int lineWidth, bool selectionOnly,
                        bool textOnly, bool unicode);
  // The whole document into a file; the old file stays when anything fails.
  bool SaveText(const std::string& fileName, int lineWidth, bool unicode);

  // A file name path + imagesPrefix + number + ext that is free (or may be
  // overwritten: overrideFiles and not read-only), counting imgSaveNo up.
  virtual std::string GetNextFileName(const std::string& imagesPrefix, const std::string& path,
                                      const std::string& ext, int& imgSaveNo, bool overrideFiles) const;
  // Writes the graphic as the next picture file (".jpg" or ".bmp") and
  // answers its name relative to path, with "/" between folders.
  virtual std::string SavePicture(bool asJPEG, const std::string& path, const std::string& imagesPrefix,
                                  int& imgSaveNo, bool overrideFiles, TColor backColor, const TGraphic& graphic);

  // The document as an HTML page with FONT tags and DIV paragraphs. Pictures
  // are written as files into path, named with imagesPrefix. False, with
  // nothing written, without a style sheet; file and picture errors raise.
  virtual bool SaveHTMLToStream(TStream& stream, const std::string& path, const std::string& title,
                                const std::string& imagesPrefix, TDVSaveOptions options, TColor color,
                                const TDVBackground* background, const TDVHTMLMargins& margins);
  // The same with CSS classes DVTSn and DVPSn: the style sheet's CSS and
  // extraStyles inside the page, or a link to externalCSS when it is named.
  virtual bool SaveHTMLToStreamEx(TStream& stream, const std::string& path, const std::string& title,
                                  const std::string& imagesPrefix, const std::string& extraStyles,
                                  const std::string& externalCSS, TDVSaveOptions options, TColor color,
                                  const TDVBackground* background, const TDVHTMLMargins& margins);
  // The pages as files, with pictures beside them; the old file stays when
  // anything fails.
  bool SaveHTML(const std::string& fileName, const std::string& title, const std::string& imagesPrefix,
                TDVSaveOptions options, TColor color, const TDVBackground* background,
                const TDVHTMLMargins& margins);
  bool SaveHTMLEx(const std::string& fileName, const std::string& title, const std::string& imagesPrefix,
                  const std::string& extraStyles, const std::string& externalCSS, TDVSaveOptions options,
                  TColor color, const TDVBackground* background, const TDVHTMLMargins& margins);
  // The anchor of a checkpoint, named by the checkpoint (with
  // dvsoUseCheckpointsNames) or cpPrefix and cpno; cpno counts every anchor.
  void SaveHTMLCheckpoint(TStream& stream, const TDVCPInfo& checkpoint, int& cpno, const std::string& cpPrefix,
                          bool fromNewLine, TDVSaveOptions options) const;

  // ---- list markers ----
  // The absolute root document keeps every marker of its documents, those
  // in sub-documents included, in one list in document order. It is made
  // on demand and destroyed when its last marker leaves; a sub-document
  // reaches its absolute root's list.
  virtual TDVMarkerList* GetMarkers(bool allowCreate);
  virtual void DestroyMarkers();
  // A marker at itemNo that is not listed yet joins the list after the
  // marker before it in document order, and its list is recounted.
  virtual void AddMarkerInList(int itemNo);
  // The marker leaves the list, and the markers of its list after it are
  // recounted unless the list's owner is going away (clearing, and this is
  // the root or the root is being cleared too). A sub-document class clears
  // itself in its own destructor, so that its markers leave its root's list
  // while it still answers as a sub-document.
  virtual void DeleteMarkerFromList(TCustomDVItemInfo* item, bool clearing);
  // The nearest marker at or before itemNo in document order: backwards
  // through this document (into the last sub-document of items that hold
  // documents), then on in the parent documents up to the root.
  TDVMarkerItemInfo* FindPreviousMarker(int itemNo);
  // Makes paragraph itemNo (the end of the document when out of range) a
  // list paragraph: its marker gets the values, or a new marker is put at
  // the paragraph's start, taking over the paragraph's page break. Answers
  // the marker's item number; -1 when nothing was done (a full-width
  // paragraph, a negative list number or a level outside 0..255).
  int SetListMarkerInfo(int itemNo, int32_t listNo, int32_t listLevel, int32_t startFrom, int32_t paraNo,
                        bool useStartFrom);

 protected:
  // Attaches the trailing checkpoint to the item, after prevCP in the chain.
  void SetCP(TCustomDVItemInfo* item, TDVCPInfo* prevCP);

 private:
  friend class TDVFReader;
  struct Settings {
    TDVOptions Options = DVDefaultOptions;
    TDVFOptions DVFOptions = DVDefaultDVFOptions;
    TDVRTFOptions RTFOptions = DVDefaultRTFOptions;
    TDVFWarnings DVFWarnings = 0;
    TDVFReaderStyleMode TextStylesReadMode = dvf_sInsertMerge;
    TDVFReaderStyleMode ParaStylesReadMode = dvf_sInsertMerge;
    TDVStyle* DVStyle = nullptr;
    TDVRTFReaderProperties* RTFProperties = nullptr;
    std::string Delimiters = " .;,:(){}\"/\\";
    TDVBiDiMode BiDiMode = dvbdUnspecified;
  };
  bool IsOwnRoot() const { return GetRootData() == this; }
  void LinkAfter(TDVCPInfo* checkpoint, TDVCPInfo* prevCP);
  void FreeTrailingCheckpoint();

  std::unique_ptr<TQvDvData> hostLines_;
  std::unique_ptr<TDVItemList> ownItems_;
  TDVItemList* items_;
  Settings ownSettings_;
  bool allowNewPara_ = true;
  TDVCPInfo* firstCP_ = nullptr;
  TDVCPInfo* lastCP_ = nullptr;
  std::unique_ptr<TDVCPInfo> notAddedCP_;
  int cpCount_ = 0;
  std::unique_ptr<TDVMarkerList> markers_;
  // Recounts list listNo from index, or, inside a recount batch, notes
  // where the batch's end recounts from.
  void RecountMarkers(TDVMarkerList& markers, int index, int32_t listNo);
  friend class TMarkerRecountBatch;
  int markerBatches_ = 0;
  int markerRecountFrom_ = -1;
  // The bookmark names of the RTF file being written, while a top-level
  // RTF save runs; nested documents reach it through their absolute root.
  TDVRTFBookmarkNames* rtfBookmarks_ = nullptr;
};

// While one lives, markers join and leave the absolute root's list without
// recounting it; the last one to end recounts once, from the first place that
// changed. A run of markers inserted or deleted before many others would
// otherwise recount the rest of the document once per marker.
class TMarkerRecountBatch {
 public:
  explicit TMarkerRecountBatch(TCustomDVData& data);
  ~TMarkerRecountBatch();
  TMarkerRecountBatch(const TMarkerRecountBatch&) = delete;
  TMarkerRecountBatch& operator=(const TMarkerRecountBatch&) = delete;

 private:
  TCustomDVData& root_;
};

}  // namespace quillet
