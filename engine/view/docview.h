#pragma once
// The viewer: a scrolling window that shows one document read-only. It owns
// the document data (TDocViewDVData), links a style sheet without owning it,
// paints through the data's buffered paint, turns mouse and keys into
// selection, hyperlink and Tab-focus behaviour, scrolls by itself while a
// selection is dragged past its edges, and offers loading, saving, the
// clipboard and queries of the document as its own methods.
//
// A host shows a document with:
//   TDocView view(parentWidget);        // or no parent, then view.Widget()
//   view.SetStyle(&styleSheet);
//   view.LoadDVFFromStream(stream);     // or LoadDVF(fileName)
//   view.Format();
//   view.Show();
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/layout/formatted_data.h"
#include "engine/print/print_source.h"
#include "engine/view/background.h"
#include "engine/view/docview_data.h"
#include "engine/view/scroller.h"

class QWidget;

namespace quillet {

class TCustomDocView;
class TCustomImageList;
class TGraphic;
class TStream;

using TDVNotifyEvent = std::function<void(TCustomDocView& sender)>;
using TDVJumpEvent = std::function<void(TCustomDocView& sender, int32_t id)>;
using TDVMouseMoveEvent = std::function<void(TCustomDocView& sender, int32_t id)>;
using TDVMouseEvent = std::function<void(TCustomDocView& sender, TMouseButton button, TShiftState shift, int itemNo,
                                         int32_t x, int32_t y)>;
using TDVRightClickEvent = std::function<void(TCustomDocView& sender, const std::string& clickedWord, int32_t styleNo,
                                              int32_t x, int32_t y)>;
using TDVDblClickEvent = std::function<void(TCustomDocView& sender, const std::string& clickedWord, int32_t styleNo)>;
using TDVCheckpointEvent = std::function<void(TCustomDocView& sender, TDVCPInfo* checkpoint)>;
using TDVControlActionEvent =
    std::function<void(TCustomDocView& sender, TDVControlAction action, int itemNo, TControl* control)>;
using TDVItemActionEvent = std::function<void(TCustomDocView& sender, TDVItemAction action, TCustomDVItemInfo* item,
                                              std::string& text, TCustomDVData* dvData)>;
using TDVURLNeededEvent = std::function<void(TCustomDocView& sender, int32_t id, std::string& url)>;
using TDVReadHyperlinkEvent =
    std::function<void(TCustomDocView& sender, const std::string& target, const std::string& extras,
                       TDVLoadFormat docFormat, int32_t& styleNo, TDVTag& itemTag, std::string& itemName)>;
using TDVHTMLSaveImageEvent =
    std::function<void(TCustomDocView& sender, TCustomDVData& dvData, int itemNo, const std::string& path,
                       TColor backColor, std::string& location, bool& doDefault)>;
using TDVSaveComponentEvent = std::function<void(TCustomDocView& sender, const std::string& path, TControl* control,
                                                 TDVSaveFormat format, std::string& output)>;
using TDVFPictureNeededEvent = std::function<void(TCustomDocView& sender, const std::string& name,
                                                  const TDVTag& tag, std::unique_ptr<TGraphic>& picture)>;
using TDVFControlNeededEvent = std::function<void(TCustomDocView& sender, const std::string& name,
                                                  const TDVTag& tag, std::unique_ptr<TControl>& control)>;
using TDVFImageListNeededEvent =
    std::function<void(TCustomDocView& sender, int32_t imageListTag, TCustomImageList*& imageList)>;
using TDVSaveRTFExtraEvent = std::function<void(TCustomDocView& sender, TDVRTFSaveArea area, const void* obj,
                                                int index1, int index2, bool inStyleSheet, std::string& code)>;
using TDVSaveHTMLExtraEvent = std::function<void(TCustomDocView& sender, int area, bool css, std::string& code)>;
using TDVPaintEvent = std::function<void(TCustomDocView& sender, TCanvas& canvas, bool prepaint)>;

class TCustomDocView : public TDVScroller, public TDVPrintSource {
 public:
  // Without a parent the viewer is a window of its own (Widget()).
  explicit TCustomDocView(QWidget* parent = nullptr);
  ~TCustomDocView() override;

  TDocViewDVData& DVData() const { return *data_; }

  // ---- settings ----
  TDVStyle* Style() const { return style_; }
  // Links a style sheet (not owned; unlink it before it goes).
  void SetStyle(TDVStyle* value);
  TDVOptions Options() const { return data_->GetOptions(); }
  void SetOptions(TDVOptions value) { data_->SetOptions(value); }
  bool AllowSelection() const { return (Options() & dvoAllowSelection) != 0; }
  void SetAllowSelection(bool value);
  bool SingleClick() const { return (Options() & dvoSingleClick) != 0; }
  void SetSingleClick(bool value);
  TDVFOptions DVFOptions() const { return data_->GetDVFOptions(); }
  void SetDVFOptions(TDVFOptions value) { data_->SetDVFOptions(value); }
  TDVFWarnings DVFWarnings() const { return data_->GetDVFWarnings(); }
  TDVRTFOptions RTFOptions() const { return data_->GetRTFOptions(); }
  void SetRTFOptions(TDVRTFOptions value) { data_->SetRTFOptions(value); }
  TDVFReaderStyleMode DVFTextStylesReadMode() const { return data_->GetDVFTextStylesReadMode(); }
  TDVFReaderStyleMode DVFParaStylesReadMode() const { return data_->GetDVFParaStylesReadMode(); }
  void SetDVFStylesReadModes(TDVFReaderStyleMode text, TDVFReaderStyleMode para) {
    data_->SetDVFStylesReadModes(text, para);
  }
  std::string Delimiters() const { return data_->GetDelimiters(); }
  void SetDelimiters(std::string value) { data_->SetDelimiters(std::move(value)); }
  TDVFlags Flags = DVDefaultFlags;
  TCPEventKind CPEventKind = cpeNone;
  int32_t LeftMargin = 5, RightMargin = 5, TopMargin = 5, BottomMargin = 5;
  int32_t MinTextWidth = 0, MaxTextWidth = 0;
  // clNone: the style sheet's colour.
  TColor Color = clNone;
  // The cursor over text that is no link (the Cursor property of the host).
  TCursor NormalCursor = crDefault;
  // Named in the box shown without a style sheet.
  std::string Name = "DocView";
  // Color unless clNone, else the style sheet's, else the window colour.
  TColor GetColor() const;
  TDVBackground& Background() { return background_; }
  const TDVBackground& Background() const { return background_; }
  // The background picture or its style changed.
  void DoOnBackBitmapChange();
  int32_t GetFirstJumpNo() const { return data_->FirstJumpNo; }
  void SetFirstJumpNo(int32_t value) { data_->FirstJumpNo = value; }
  TDVTabNavigationType TabNavigation() const { return data_->TabNavigation; }
  void SetTabNavigation(TDVTabNavigationType value) { data_->TabNavigation = value; }
  // Accepted when above 0 and the document height stays within 32000 units.
  void SetVSmallStep(int32_t value) override;
  void SetBiDiModeDV(TDVBiDiMode value) override;
  // The reader of RTF files, made on first use by the factory the
  // interchange layer installs; without one LoadRTF answers false.
  TDVRTFReaderProperties* GetRTFReadProperties() const;
  // Copies the settings of another reader (none: frees the viewer's own).
  void SetRTFReadProperties(const TDVRTFReaderProperties* value);

  // ---- formatting ----
  void Format();
  void Format_(bool onlyResized, bool forceFormat, bool noScroll, TCanvas& canvas);
  void Clear();
  virtual void ClearTemporal();
  void ClearSoftPageBreaks();

  // ---- document building and queries ----
  void AddNL(std::string text, int32_t styleNo, int32_t paraNo) { data_->AddNL(std::move(text), styleNo, paraNo); }
  void AddNLTag(std::string text, int32_t styleNo, int32_t paraNo, TDVTag tag) {
    data_->AddNLTag(std::move(text), styleNo, paraNo, std::move(tag));
  }
  void AddItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
    data_->AddItem(std::move(text), std::move(item));
  }
  TCustomDVItemInfo* GetItem(int itemNo) const { return data_->GetItem(itemNo); }
  int32_t GetItemStyle(int itemNo) const { return data_->GetItemStyle(itemNo); }
  const std::string& GetItemText(int itemNo) const { return data_->GetItemTextR(itemNo); }
  const TDVTag& GetItemTag(int itemNo) const { return data_->GetItemTag(itemNo); }
  bool IsFromNewLine(int itemNo) const { return data_->IsFromNewLine(itemNo); }
  bool GetPageBreaksBeforeItems(int index) const { return data_->GetPageBreaksBeforeItems(index); }
  void DeleteUnusedStyles(bool textStyles, bool paraStyles) { data_->DeleteUnusedStyles(textStyles, paraStyles); }
  int GetLineCount() const { return data_->ItemCount(); }
  int GetOffsBeforeItem(int itemNo) const { return data_->GetOffsBeforeItem(itemNo); }
  int GetOffsAfterItem(int itemNo) const { return data_->GetOffsAfterItem(itemNo); }
  int32_t GetDocumentHeight() const { return data_->DocumentHeight; }
  bool GetItemClientCoords(int itemNo, int32_t& left, int32_t& top) const {
    return data_->GetItemClientCoords(itemNo, left, top);
  }

  // ---- selection ----
  void Deselect() { data_->Deselect(nullptr, true); }
  void SelectAll() { data_->SelectAll(); }
  bool SelectionExists() { return data_->SelectionExists(true, true); }
  std::string GetSelText() { return data_->GetSelText(false); }
  void GetSelectionBounds(int& startItemNo, int32_t& startItemOffs, int& endItemNo, int32_t& endItemOffs,
                          bool normalize) {
    data_->GetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs, normalize);
  }
  void SetSelectionBounds(int startItemNo, int32_t startItemOffs, int endItemNo, int32_t endItemOffs) {
    data_->SetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs);
  }
  void GetWordAtExt(int32_t x, int32_t y, TCustomDVFormattedData*& dvData, int& itemNo, std::string& word) {
    data_->GetWordAtExt(x, y, dvData, itemNo, word);
  }
  void GetJumpPointLocation(int32_t id, TCustomDVFormattedData*& dvData, int& itemNo) {
    data_->GetJumpPointLocation(id, dvData, itemNo);
  }

  // ---- load and save; false when the data refused or the write failed ----
  bool LoadDVF(const std::string& fileName);
  bool LoadDVFFromStream(TStream& stream);
  bool InsertDVFFromStream(TStream& stream, int index);
  bool SaveDVF(const std::string& fileName, bool selectionOnly);
  bool SaveDVFToStream(TStream& stream, bool selectionOnly);
  bool SaveRTF(const std::string& fileName, bool selectionOnly);
  bool SaveRTFToStream(TStream& stream, bool selectionOnly);
  bool LoadRTF(const std::string& fileName);
  bool LoadRTFFromStream(TStream& stream);
  bool SaveHTML(const std::string& fileName, const std::string& title, const std::string& imagesPrefix,
                TDVSaveOptions options);
  bool SaveHTMLEx(const std::string& fileName, const std::string& title, const std::string& imagesPrefix,
                  const std::string& extraStyles, const std::string& externalCSS, TDVSaveOptions options);
  bool LoadText(const std::string& fileName, int32_t styleNo, int32_t paraNo, bool asSingleParagraph);
  bool LoadTextW(const std::string& fileName, int32_t styleNo, int32_t paraNo, bool defAsSingleParagraph);
  bool SaveText(const std::string& fileName, int lineWidth);
  bool SaveTextW(const std::string& fileName, int lineWidth);
  bool SaveTextToStream(const std::string& path, TStream& stream, int lineWidth, bool selectionOnly,
                        bool textOnly);
  // Every event handler of another viewer.
  void AssignEvents(const TCustomDocView& source);

  // ---- clipboard ----
  // The selection in every clipboard format, or in those the auto-copy
  // options choose (false when none is chosen); see the formatted data.
  void Copy();
  bool CopyDef();

  // ---- keyboard shortcuts ----
  static bool IsCopyShortcut(TShiftState shift, TKey key);
  static bool IsCutShortcut(TShiftState shift, TKey key);
  static bool IsPasteShortcut(TShiftState shift, TKey key);

  // ---- the print source ----
  TCustomDVData& PrintSourceData() override { return *data_; }
  TDVStyle* PrintSourceStyle() const override { return style_; }
  int32_t PrintSourceLeftMargin() const override { return LeftMargin; }
  int32_t PrintSourceRightMargin() const override { return RightMargin; }
  int32_t PrintSourceTopMargin() const override { return TopMargin; }
  int32_t PrintSourceBottomMargin() const override { return BottomMargin; }
  TColor PrintSourceColor() const override { return GetColor(); }
  const TDVBackground* PrintSourceBackground() const override;
  TDVPaletteAction PrintSourceDoInPaletteMode() const override { return DoInPaletteMode(); }
  TDVBiDiMode PrintSourceBiDiMode() const override { return BiDiMode(); }

  // ---- events ----
  TDVJumpEvent OnJump;
  TDVMouseMoveEvent OnDVMouseMove;
  TDVSaveComponentEvent OnSaveComponentToFile;
  TDVURLNeededEvent OnURLNeeded;
  TDVReadHyperlinkEvent OnReadHyperlink;
  TDVDblClickEvent OnDVDblClick;
  TDVRightClickEvent OnDVRightClick;
  TDVMouseEvent OnDVMouseUp;
  TDVMouseEvent OnDVMouseDown;
  TDVControlActionEvent OnControlAction;
  TDVItemActionEvent OnItemAction;
  TDVFPictureNeededEvent OnDVFPictureNeeded;
  TDVFControlNeededEvent OnDVFControlNeeded;
  TDVFImageListNeededEvent OnDVFImageListNeeded;
  TDVCheckpointEvent OnCheckpointVisible;
  TDVNotifyEvent OnCopy;
  TDVHTMLSaveImageEvent OnHTMLSaveImage;
  TDVSaveRTFExtraEvent OnSaveRTFExtra;
  TDVSaveHTMLExtraEvent OnSaveHTMLExtra;
  TDVPaintEvent OnPaint;
  TDVNotifyEvent OnSelect;
  TDVNotifyEvent OnDblClick;

  // Whether the window is going away (no events then).
  bool Destroying() const { return destroying_; }
  bool ScrollerDestroying() const override { return destroying_; }
  // The autoscroll timer: id 1, every 100 ms while the left button is held.
  static constexpr uint32_t kScrollTimerId = 1;
  bool ScrollTimerActive() const { return TimerActive(kScrollTimerId); }
  // The steps each tick scrolls by, in vertical units and horizontal pixels.
  int32_t VScrollDelta = 0, HScrollDelta = 0;
  // A mouse move at the last mouse position, so that a drag follows what
  // scrolled under the pointer.
  void GenerateMouseMove();

 protected:
  // A viewer whose data is made by makeData (the editor's own data class).
  TCustomDocView(QWidget* parent, const std::function<std::unique_ptr<TDocViewDVData>(TCustomDocView&)>& makeData);

  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void DblClick() override;
  void MouseLeave() override;
  void KeyDown(TKey& key, TShiftState shift) override;
  void WMSetFocus(TFocusReason reason) override;
  void WMKillFocus(TFocusReason reason) override;
  TDlgCodes WMGetDlgCode() override;
  void WMTimer(uint32_t id) override;
  void Resize() override;
  void AfterVScroll() override;
  void AfterHScroll() override;
  void UpdatePaletteInfo() override;

 private:
  friend class TDocViewDVData;
  void ActivateScrollTimer();
  void DeactivateScrollTimer();
  // The information box shown without a style sheet.
  void PaintInfoBox(TCanvas& canvas, const std::string& text);
  TDVLayoutInfo CreateLayoutInfo() const;
  void ApplyLayoutInfo(const TDVLayoutInfo& layout);
  bool AfterLoad(bool ok, const TDVLayoutInfo& layout);

  std::unique_ptr<TDocViewDVData> data_;
  TDVStyle* style_ = nullptr;
  TDVBackground background_;
  mutable std::unique_ptr<TDVRTFReaderProperties> rtfReadProperties_;
  bool destroying_ = false;
  bool pendingDblClick_ = false;
  // The last mouse position in client coordinates, kept while the mouse is
  // captured by a press.
  TPoint lastMouse_{0, 0};
  bool lastMouseKnown_ = false;
};

// The viewer as a host places it.
class TDocView : public TCustomDocView {
 public:
  explicit TDocView(QWidget* parent = nullptr) : TCustomDocView(parent) {}
};

}  // namespace quillet
