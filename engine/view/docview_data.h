#pragma once
// The document data of a viewer: it reads its margins, colours, scroll unit
// and geometry from the viewer, sends scrolling requests to it and fires the
// viewer's events. Options, delimiters, the style sheet and the other
// settings a document keeps for itself are the viewer's settings.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/view/control_data.h"

namespace quillet {

class TCustomDocView;

class TDocViewDVData : public TDVControlData {
 public:
  explicit TDocViewDVData(TCustomDocView& docView);
  ~TDocViewDVData() override;
  TCustomDocView& DocView() const { return docView_; }

  TDVFlags GetFlags() const override;
  void SetFlags(TDVFlags flags) override;
  TCPEventKind GetCPEventKind() const override;
  TCanvas* GetCanvas() override;
  const TDVBackground* GetBackground() const override;
  int32_t GetMaxTextWidth() const override;
  int32_t GetMinTextWidth() const override;
  int32_t GetLeftMargin() const override;
  int32_t GetRightMargin() const override;
  int32_t GetTopMargin() const override;
  int32_t GetBottomMargin() const override;
  int32_t GetVSmallStep() const override;
  TCursor GetNormalCursor() const override;
  TCustomControl* GetParentWindow() const override;
  // The scroller's document width as last set.
  int32_t GetAreaWidth() const override;
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  int32_t GetHOffs() const override;
  int32_t GetVOffs() const override;
  TColor GetColor() const override;
  void ScrollTo(int32_t y, bool redraw) override;
  void HScrollTo(int32_t x) override;
  void SetDocumentAreaSize(int32_t width, int32_t height, bool updateH) override;
  // Keeps the vertical range within 32000 units.
  void AdjustVScrollUnits() override;
  bool ParentControlDestroying() const override;
  // The chosen sub-document is the viewer's.
  TCustomDVData* GetChosenDVData() const override;
  TCustomDVItemInfo* GetChosenItem() const override;
  void AssignChosenDVData(TCustomDVData* dvData, TCustomDVItemInfo* item) override;
  void SilentReplaceChosenDVData(TCustomDVData* dvData) override;
  void UnassignChosenDVData(TCustomDVData* dvData) override;
  // The viewer's cell editor.
  TCustomControl* GetInplaceEditor() const override;
  void DestroyInplaceEditor() override;
  bool CloseInplaceEditorForSaving() override;

  // ---- events of the viewer ----
  bool IsAssignedJump() const override;
  void DoJump(int32_t id) override;
  void DoDVMouseMove(int32_t id) override;
  bool IsAssignedDVMouseDown() const override;
  void DoDVMouseDown(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y) override;
  bool IsAssignedDVMouseUp() const override;
  void DoDVMouseUp(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y) override;
  bool IsAssignedDVRightClick() const override;
  void DoDVRightClick(const std::string& clickedWord, int32_t styleNo, int32_t x, int32_t y) override;
  bool IsAssignedDVDblClick() const override;
  void DoDVDblClick(const std::string& clickedWord, int32_t styleNo) override;
  void DoSelect() override;
  bool IsAssignedCopy() const override;
  void DoCopy() override;
  bool IsAssignedCheckpointVisible() const override;
  void DoCheckpointVisible(TDVCPInfo* checkpoint) override;
  void ControlAction2(TDVControlAction action, int itemNo, TControl* control) override;
  void ItemAction(TDVItemAction action, TCustomDVItemInfo* item, std::string& text) override;
  std::string GetURL(int32_t jumpID) override;
  // A bullet becomes a hotspot and a picture a hot picture before the
  // viewer's OnReadHyperlink is asked.
  void ReadHyperlink(const std::string& target, const std::string& extras, TDVLoadFormat docFormat,
                     int32_t& styleNo, TDVTag& itemTag, std::string& itemName) override;
  // The viewer's, made on first use.
  TDVRTFReaderProperties* GetRTFProperties() const override;
  bool HTMLSaveImage(TCustomDVData& dvData, int itemNo, const std::string& path, TColor backColor,
                     std::string& location) override;
  std::string SaveComponentToFile(const std::string& path, TControl* control, TDVSaveFormat format) override;
  std::unique_ptr<TGraphic> DVFPictureNeeded(const std::string& name, const TDVTag& tag) override;
  std::unique_ptr<TControl> DVFControlNeeded(const std::string& name, const TDVTag& tag) override;
  TCustomImageList* DVFImageListNeeded(int32_t imageListTag) override;
  std::string GetExtraRTFCode(TDVRTFSaveArea area, const void* obj, int index1, int index2,
                              bool inStyleSheet) override;
  std::string GetExtraHTMLCode(int area, bool css) override;

 protected:
  bool FocusNextControl(bool backward) override;
  void TakeFocus() override;

 private:
  TCustomDocView& docView_;
};

}  // namespace quillet
