#include "engine/view/docview_data.h"

#include "engine/view/docview.h"
#include "platform/core/control.h"
#include "platform/gfx/graphic.h"

namespace quillet {

TDocViewDVData::TDocViewDVData(TCustomDocView& docView) : docView_(docView) {}

TDocViewDVData::~TDocViewDVData() { Clear(); }

TDVFlags TDocViewDVData::GetFlags() const { return docView_.Flags; }
void TDocViewDVData::SetFlags(TDVFlags flags) { docView_.Flags = flags; }
TCPEventKind TDocViewDVData::GetCPEventKind() const { return docView_.CPEventKind; }
TCanvas* TDocViewDVData::GetCanvas() { return &docView_.Canvas(); }
const TDVBackground* TDocViewDVData::GetBackground() const { return &docView_.Background(); }
int32_t TDocViewDVData::GetMaxTextWidth() const { return docView_.MaxTextWidth; }
int32_t TDocViewDVData::GetMinTextWidth() const { return docView_.MinTextWidth; }
int32_t TDocViewDVData::GetLeftMargin() const { return docView_.LeftMargin; }
int32_t TDocViewDVData::GetRightMargin() const { return docView_.RightMargin; }
int32_t TDocViewDVData::GetTopMargin() const { return docView_.TopMargin; }
int32_t TDocViewDVData::GetBottomMargin() const { return docView_.BottomMargin; }
int32_t TDocViewDVData::GetVSmallStep() const { return docView_.VSmallStep(); }
TCursor TDocViewDVData::GetNormalCursor() const { return docView_.NormalCursor; }
TCustomControl* TDocViewDVData::GetParentWindow() const { return &docView_; }
int32_t TDocViewDVData::GetAreaWidth() const { return docView_.XSize(); }
int32_t TDocViewDVData::GetWidth() const { return docView_.ClientWidth(); }
int32_t TDocViewDVData::GetHeight() const { return docView_.ClientHeight(); }
int32_t TDocViewDVData::GetHOffs() const { return docView_.HPos(); }
int32_t TDocViewDVData::GetVOffs() const {
  return static_cast<int32_t>(int64_t{docView_.VPos()} * docView_.VSmallStep());
}
TColor TDocViewDVData::GetColor() const { return docView_.GetColor(); }
bool TDocViewDVData::ParentControlDestroying() const { return docView_.Destroying(); }

TCustomDVData* TDocViewDVData::GetChosenDVData() const { return docView_.GetChosenDVData(); }
TCustomDVItemInfo* TDocViewDVData::GetChosenItem() const { return docView_.GetChosenItem(); }

void TDocViewDVData::AssignChosenDVData(TCustomDVData* dvData, TCustomDVItemInfo* item) {
  docView_.AssignChosenDVData(dvData, item);
}

void TDocViewDVData::SilentReplaceChosenDVData(TCustomDVData* dvData) { docView_.SilentReplaceChosenDVData(dvData); }

TCustomControl* TDocViewDVData::GetInplaceEditor() const { return docView_.GetInplaceEditor(); }

void TDocViewDVData::DestroyInplaceEditor() { docView_.DestroyInplaceEditor(); }

bool TDocViewDVData::CloseInplaceEditorForSaving() {
  if (docView_.InplaceEditorBusy()) return false;
  DestroyInplaceEditor();
  return true;
}

void TDocViewDVData::UnassignChosenDVData(TCustomDVData* dvData) {
  TDVControlData::UnassignChosenDVData(dvData);
  docView_.UnassignChosenDVData(dvData);
}

void TDocViewDVData::ScrollTo(int32_t y, bool redraw) {
  if (State & dvstNoScroll) return;
  if (redraw)
    docView_.ScrollTo(y);
  else
    docView_.ScrollToNoRedraw(y);
}

void TDocViewDVData::HScrollTo(int32_t x) {
  if (!(State & dvstNoScroll)) docView_.SetHPos(x);
}

void TDocViewDVData::SetDocumentAreaSize(int32_t width, int32_t height, bool updateH) {
  docView_.UpdateScrollBars(width, height / docView_.VSmallStep() + 1, true, updateH);
}

void TDocViewDVData::AdjustVScrollUnits() {
  const int32_t unit = docView_.VSmallStep(), height = DocumentHeight;
  if (height / unit < 32001) {
    if (unit > 10 && height / 10 < 32001) docView_.TDVScroller::SetVSmallStep(10);
    return;
  }
  int32_t next = height / 32000;
  if (height / next > 32000) ++next;
  docView_.TDVScroller::SetVSmallStep(next);
}

// ---- events ----

bool TDocViewDVData::IsAssignedJump() const { return static_cast<bool>(docView_.OnJump); }
void TDocViewDVData::DoJump(int32_t id) {
  if (docView_.OnJump) docView_.OnJump(docView_, id);
}

void TDocViewDVData::DoDVMouseMove(int32_t id) {
  if (docView_.OnDVMouseMove) docView_.OnDVMouseMove(docView_, id);
}

bool TDocViewDVData::IsAssignedDVMouseDown() const { return static_cast<bool>(docView_.OnDVMouseDown); }
void TDocViewDVData::DoDVMouseDown(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y) {
  if (docView_.OnDVMouseDown) docView_.OnDVMouseDown(docView_, button, shift, itemNo, x, y);
}

bool TDocViewDVData::IsAssignedDVMouseUp() const { return static_cast<bool>(docView_.OnDVMouseUp); }
void TDocViewDVData::DoDVMouseUp(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y) {
  if (docView_.OnDVMouseUp) docView_.OnDVMouseUp(docView_, button, shift, itemNo, x, y);
}

bool TDocViewDVData::IsAssignedDVRightClick() const { return static_cast<bool>(docView_.OnDVRightClick); }
void TDocViewDVData::DoDVRightClick(const std::string& clickedWord, int32_t styleNo, int32_t x, int32_t y) {
  if (docView_.OnDVRightClick) docView_.OnDVRightClick(docView_, clickedWord, styleNo, x, y);
}

bool TDocViewDVData::IsAssignedDVDblClick() const { return static_cast<bool>(docView_.OnDVDblClick); }
void TDocViewDVData::DoDVDblClick(const std::string& clickedWord, int32_t styleNo) {
  if (docView_.OnDVDblClick) docView_.OnDVDblClick(docView_, clickedWord, styleNo);
}

void TDocViewDVData::DoSelect() {
  if (docView_.OnSelect && !docView_.Destroying() && docView_.Widget()) docView_.OnSelect(docView_);
}

bool TDocViewDVData::IsAssignedCopy() const { return static_cast<bool>(docView_.OnCopy); }
void TDocViewDVData::DoCopy() {
  if (docView_.OnCopy) docView_.OnCopy(docView_);
}

bool TDocViewDVData::IsAssignedCheckpointVisible() const { return static_cast<bool>(docView_.OnCheckpointVisible); }
void TDocViewDVData::DoCheckpointVisible(TDVCPInfo* checkpoint) {
  if (docView_.OnCheckpointVisible) docView_.OnCheckpointVisible(docView_, checkpoint);
}

void TDocViewDVData::ControlAction2(TDVControlAction action, int itemNo, TControl* control) {
  if (docView_.OnControlAction) docView_.OnControlAction(docView_, action, itemNo, control);
}

void TDocViewDVData::ItemAction(TDVItemAction action, TCustomDVItemInfo* item, std::string& text) {
  if (docView_.OnItemAction) docView_.OnItemAction(docView_, action, item, text, this);
}

std::string TDocViewDVData::GetURL(int32_t jumpID) {
  std::string url;
  if (docView_.OnURLNeeded) docView_.OnURLNeeded(docView_, jumpID, url);
  return url;
}

void TDocViewDVData::ReadHyperlink(const std::string& target, const std::string& extras, TDVLoadFormat docFormat,
                                   int32_t& styleNo, TDVTag& itemTag, std::string& itemName) {
  if (styleNo == dvsBullet) styleNo = dvsHotspot;
  if (styleNo == dvsPicture) styleNo = dvsHotPicture;
  if (docView_.OnReadHyperlink)
    docView_.OnReadHyperlink(docView_, target, extras, docFormat, styleNo, itemTag, itemName);
}

TDVRTFReaderProperties* TDocViewDVData::GetRTFProperties() const { return docView_.GetRTFReadProperties(); }

bool TDocViewDVData::HTMLSaveImage(TCustomDVData& dvData, int itemNo, const std::string& path, TColor backColor,
                                   std::string& location) {
  location.clear();
  bool doDefault = true;
  if (docView_.OnHTMLSaveImage) docView_.OnHTMLSaveImage(docView_, dvData, itemNo, path, backColor, location, doDefault);
  return !doDefault;
}

std::string TDocViewDVData::SaveComponentToFile(const std::string& path, TControl* control, TDVSaveFormat format) {
  std::string output;
  if (docView_.OnSaveComponentToFile) docView_.OnSaveComponentToFile(docView_, path, control, format, output);
  return output;
}

std::unique_ptr<TGraphic> TDocViewDVData::DVFPictureNeeded(const std::string& name, const TDVTag& tag) {
  std::unique_ptr<TGraphic> picture;
  if (docView_.OnDVFPictureNeeded) docView_.OnDVFPictureNeeded(docView_, name, tag, picture);
  return picture;
}

std::unique_ptr<TControl> TDocViewDVData::DVFControlNeeded(const std::string& name, const TDVTag& tag) {
  std::unique_ptr<TControl> control;
  if (docView_.OnDVFControlNeeded) docView_.OnDVFControlNeeded(docView_, name, tag, control);
  return control;
}

TCustomImageList* TDocViewDVData::DVFImageListNeeded(int32_t imageListTag) {
  TCustomImageList* list = nullptr;
  if (docView_.OnDVFImageListNeeded) docView_.OnDVFImageListNeeded(docView_, imageListTag, list);
  return list;
}

std::string TDocViewDVData::GetExtraRTFCode(TDVRTFSaveArea area, const void* obj, int index1, int index2,
                                            bool inStyleSheet) {
  std::string code;
  if (docView_.OnSaveRTFExtra) docView_.OnSaveRTFExtra(docView_, area, obj, index1, index2, inStyleSheet, code);
  return code;
}

std::string TDocViewDVData::GetExtraHTMLCode(int area, bool css) {
  std::string code;
  if (docView_.OnSaveHTMLExtra) docView_.OnSaveHTMLExtra(docView_, area, css, code);
  return code;
}

bool TDocViewDVData::FocusNextControl(bool backward) { return docView_.FocusNextControl(backward); }

void TDocViewDVData::TakeFocus() { docView_.SetFocus(); }

}  // namespace quillet
