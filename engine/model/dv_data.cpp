#include "engine/model/dv_data.h"

#include "engine/model/item_registry.h"
#include "platform/core/control.h"
#include "platform/gfx/graphic.h"
#include "engine/model/marker_list.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {
const char* const kItemIndexError = "Item index is out of bounds";
}  // namespace

TCustomDVData::TCustomDVData()
    : hostLines_(std::make_unique<TQvDvData>()), ownItems_(std::make_unique<TDVItemList>()), items_(ownItems_.get()) {}

TCustomDVData::~TCustomDVData() { Clear(); }

// ---- settings ----

TDVOptions TCustomDVData::GetOptions() const {
  return IsOwnRoot() ? ownSettings_.Options : GetRootData()->GetOptions();
}
void TCustomDVData::SetOptions(TDVOptions value) {
  if (IsOwnRoot())
    ownSettings_.Options = value;
  else
    GetRootData()->SetOptions(value);
}
TDVFOptions TCustomDVData::GetDVFOptions() const {
  return IsOwnRoot() ? ownSettings_.DVFOptions : GetRootData()->GetDVFOptions();
}
void TCustomDVData::SetDVFOptions(TDVFOptions value) {
  if (IsOwnRoot())
    ownSettings_.DVFOptions = value;
  else
    GetRootData()->SetDVFOptions(value);
}
TDVRTFOptions TCustomDVData::GetRTFOptions() const {
  return IsOwnRoot() ? ownSettings_.RTFOptions : GetRootData()->GetRTFOptions();
}
void TCustomDVData::SetRTFOptions(TDVRTFOptions value) {
  if (IsOwnRoot())
    ownSettings_.RTFOptions = value;
  else
    GetRootData()->SetRTFOptions(value);
}
TDVFWarnings TCustomDVData::GetDVFWarnings() const {
  return IsOwnRoot() ? ownSettings_.DVFWarnings : GetRootData()->GetDVFWarnings();
}
void TCustomDVData::SetDVFWarnings(TDVFWarnings value) {
  if (IsOwnRoot())
    ownSettings_.DVFWarnings = value;
  else
    GetRootData()->SetDVFWarnings(value);
}
TDVFReaderStyleMode TCustomDVData::GetDVFTextStylesReadMode() const {
  return IsOwnRoot() ? ownSettings_.TextStylesReadMode : GetRootData()->GetDVFTextStylesReadMode();
}
TDVFReaderStyleMode TCustomDVData::GetDVFParaStylesReadMode() const {
  return IsOwnRoot() ? ownSettings_.ParaStylesReadMode : GetRootData()->GetDVFParaStylesReadMode();
}
TDVStyle* TCustomDVData::GetDVStyle() const {
  // One walk up to the root: layout asks this for every paragraph it reads.
  const TCustomDVData* root = GetRootData();
  return root == this ? ownSettings_.DVStyle : root->GetDVStyle();
}
std::string TCustomDVData::GetDelimiters() const {
  return IsOwnRoot() ? ownSettings_.Delimiters : GetRootData()->GetDelimiters();
}
TDVRTFReaderProperties* TCustomDVData::GetRTFProperties() const {
  return IsOwnRoot() ? ownSettings_.RTFProperties : GetRootData()->GetRTFProperties();
}
TDVBiDiMode TCustomDVData::GetBiDiMode() const {
  const TCustomDVData* root = GetRootData();
  return root == this ? ownSettings_.BiDiMode : root->GetBiDiMode();
}

std::unique_ptr<TGraphic> TCustomDVData::DVFPictureNeeded(const std::string& name, const TDVTag& tag) {
  return IsOwnRoot() ? nullptr : GetRootData()->DVFPictureNeeded(name, tag);
}
std::unique_ptr<TControl> TCustomDVData::DVFControlNeeded(const std::string& name, const TDVTag& tag) {
  return IsOwnRoot() ? nullptr : GetRootData()->DVFControlNeeded(name, tag);
}
std::string TCustomDVData::SaveComponentToFile(const std::string& path, TControl* control, TDVSaveFormat format) {
  return IsOwnRoot() ? std::string() : GetRootData()->SaveComponentToFile(path, control, format);
}
TControl* TCustomDVData::GetParentControl() const {
  return IsOwnRoot() ? nullptr : GetRootData()->GetParentControl();
}
void TCustomDVData::ControlAction2(TDVControlAction action, int itemNo, TControl* control) {
  if (!IsOwnRoot()) GetRootData()->ControlAction2(action, itemNo, control);
}
std::string TCustomDVData::GetURL(int32_t jumpID) {
  return IsOwnRoot() ? std::string() : GetRootData()->GetURL(jumpID);
}

void TCustomDVData::ReadHyperlink(const std::string& target, const std::string& extras, TDVLoadFormat docFormat,
                                  int32_t& styleNo, TDVTag& itemTag, std::string& itemName) {
  if (!IsOwnRoot()) GetRootData()->ReadHyperlink(target, extras, docFormat, styleNo, itemTag, itemName);
}
bool TCustomDVData::HTMLSaveImage(TCustomDVData& dvData, int itemNo, const std::string& path, TColor backColor,
                                  std::string& location) {
  return !IsOwnRoot() && GetRootData()->HTMLSaveImage(dvData, itemNo, path, backColor, location);
}
std::string TCustomDVData::GetExtraHTMLCode(int area, bool css) {
  return IsOwnRoot() ? std::string() : GetRootData()->GetExtraHTMLCode(area, css);
}

void TCustomDVData::ShareItemsFrom(TCustomDVData& source) {
  if (!ShareItems()) return;
  Clear();
  items_ = source.items_;
}

// ---- building ----

void TCustomDVData::AddItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
  TCustomDVItemInfo* last = items_->Last();
  if (item->ParaNo == -1 && last && !last->GetBoolValue(dvbpFullWidth)) {
    item->SetSameAsPrev(true);
    item->ParaNo = last->ParaNo;
  } else {
    if (last && last->StyleNo == dvsListMarker) {
      // A marker's paragraph always holds an item after the marker.
      auto filler = CreateDocViewItem(0, this);
      filler->ParaNo = -1;
      AddItem(std::string(), std::move(filler));
    }
    const bool fullWidth = item->GetBoolValue(dvbpFullWidth);
    const bool br = !fullWidth && (item->BR() || !allowNewPara_);
    item->ItemOptions &= static_cast<TDVItemOptions>(~(dvioSameAsPrev | dvioBR));
    if (br) item->ItemOptions |= dvioBR;
    if (item->ParaNo == -1) item->ParaNo = 0;
  }
  const int itemNo = items_->Count();
  if (item->Checkpoint) {
    // The item's own checkpoint is counted and attached; a trailing one that
    // is pending stays pending for the next item, so neither is lost.
    TDVCPInfo* cp = item->Checkpoint.get();
    cp->Next = cp->Prev = nullptr;
    cp->ItemInfo = item.get();
    cp->ItemNo = itemNo;
    ++cpCount_;
    LinkAfter(cp, lastCP_);
  } else if (notAddedCP_) {
    SetCP(item.get(), lastCP_);
    item->Checkpoint->ItemNo = itemNo;
  }
  item->Inserting(this, text, false);
  const bool marker = item->StyleNo == dvsListMarker;
  items_->Add(std::move(text), std::move(item));
  if (marker) AddMarkerInList(itemNo);
}

void TCustomDVData::AddNLTag(std::string text, int32_t styleNo, int32_t paraNo, TDVTag tag) {
  std::unique_ptr<TCustomDVItemInfo> item = DocViewTextItemClass(this);
  item->StyleNo = styleNo;
  item->ParaNo = paraNo;
  item->Tag = std::move(tag);
  const TDVStyle* dvStyle = GetDVStyle();
  if (dvStyle && dvStyle->TextStyles().IsValidIndex(styleNo) && dvStyle->TextStyles()[styleNo].Unicode)
    item->ItemOptions |= dvioUnicode;
  ReplaceTabs(text, styleNo, false);
  AddItem(std::move(text), std::move(item));
}

int TCustomDVData::AddNamedCheckpointExTag(const std::string& name, bool raiseEvent, TDVTag tag) {
  if (notAddedCP_) return cpCount_ - 1;
  notAddedCP_ = std::make_unique<TDVCPInfo>();
  notAddedCP_->Name = name;
  notAddedCP_->RaiseEvent = raiseEvent;
  notAddedCP_->Tag = std::move(tag);
  return cpCount_++;
}

void TCustomDVData::ReplaceTabs(std::string& text, int32_t styleNo, bool unicodeDef) const {
  const TDVStyle* dvStyle = GetDVStyle();
  int spaces = 8;
  bool unicode = unicodeDef;
  if (dvStyle) {
    spaces = dvStyle->SpacesInTab;
    unicode = dvStyle->TextStyles().IsValidIndex(styleNo) && dvStyle->TextStyles()[styleNo].Unicode;
  }
  if (unicode)
    DV_ReplaceTabsW(text, spaces);
  else
    DV_ReplaceTabsA(text, spaces);
}

// ---- checkpoints ----

void TCustomDVData::LinkAfter(TDVCPInfo* checkpoint, TDVCPInfo* prevCP) {
  checkpoint->Prev = prevCP;
  if (!prevCP) {
    checkpoint->Next = firstCP_;
    if (firstCP_) firstCP_->Prev = checkpoint;
    firstCP_ = checkpoint;
    if (!lastCP_) lastCP_ = checkpoint;
    return;
  }
  checkpoint->Next = prevCP->Next;
  if (prevCP->Next) prevCP->Next->Prev = checkpoint;
  prevCP->Next = checkpoint;
  if (lastCP_ == prevCP) lastCP_ = checkpoint;
}

void TCustomDVData::SetCP(TCustomDVItemInfo* item, TDVCPInfo* prevCP) {
  if (!notAddedCP_) return;
  TDVCPInfo* cp = notAddedCP_.get();
  LinkAfter(cp, prevCP);
  cp->ItemInfo = item;
  item->Checkpoint = std::move(notAddedCP_);
}

void TCustomDVData::InsertCheckpoint(int itemNo, TDVTag tag, const std::string& name, bool raiseEvent) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (item->Checkpoint) throw EDocViewError("Checkpoint already exists");
  item->Checkpoint = std::make_unique<TDVCPInfo>();
  TDVCPInfo* cp = item->Checkpoint.get();
  cp->Name = name;
  cp->RaiseEvent = raiseEvent;
  cp->Tag = std::move(tag);
  cp->ItemInfo = item;
  ++cpCount_;
  UpdateCPPos(cp, itemNo);
}

void TCustomDVData::SetCheckpointInfo(int itemNo, TDVTag tag, const std::string& name, bool raiseEvent) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (!item->Checkpoint) {
    InsertCheckpoint(itemNo, std::move(tag), name, raiseEvent);
    return;
  }
  item->Checkpoint->Tag = std::move(tag);
  item->Checkpoint->Name = name;
  item->Checkpoint->RaiseEvent = raiseEvent;
}

void TCustomDVData::UpdateCPItemNo() {
  for (int i = 0; i < items_->Count(); ++i) {
    TCustomDVItemInfo* item = items_->Item(i);
    if (item && item->Checkpoint) item->Checkpoint->ItemNo = i;
  }
}

void TCustomDVData::UpdateCPPos(TDVCPInfo* checkpoint, int itemNo) {
  if (itemNo == -1) return;
  UpdateCPItemNo();
  checkpoint->ItemNo = itemNo;
  if (!firstCP_ || firstCP_->ItemNo > itemNo) {
    LinkAfter(checkpoint, nullptr);
    return;
  }
  if (itemNo >= lastCP_->ItemNo) {
    LinkAfter(checkpoint, lastCP_);
    return;
  }
  TDVCPInfo* prev = firstCP_;
  while (prev->Next && prev->Next->ItemNo <= itemNo) prev = prev->Next;
  LinkAfter(checkpoint, prev);
}

TDVCPInfo* TCustomDVData::FindCPBeforeItem(int itemNo) {
  UpdateCPItemNo();
  if (!firstCP_ || firstCP_->ItemNo >= itemNo) return nullptr;
  TDVCPInfo* cp = firstCP_;
  while (cp->Next && cp->Next->ItemNo < itemNo) cp = cp->Next;
  return cp;
}

std::unique_ptr<TDVCPInfo> TCustomDVData::UnlinkCheckpoint(TDVCPInfo* checkpoint, bool decCPCount) {
  if (!checkpoint) return nullptr;
  std::unique_ptr<TDVCPInfo> owned;
  if (checkpoint == notAddedCP_.get()) {
    owned = std::move(notAddedCP_);
  } else if (checkpoint->ItemInfo && checkpoint->ItemInfo->Checkpoint.get() == checkpoint) {
    owned = std::move(checkpoint->ItemInfo->Checkpoint);
  }
  if (checkpoint->Prev)
    checkpoint->Prev->Next = checkpoint->Next;
  else if (firstCP_ == checkpoint)
    firstCP_ = checkpoint->Next;
  if (checkpoint->Next)
    checkpoint->Next->Prev = checkpoint->Prev;
  else if (lastCP_ == checkpoint)
    lastCP_ = checkpoint->Prev;
  checkpoint->Next = checkpoint->Prev = nullptr;
  checkpoint->ItemInfo = nullptr;
  if (decCPCount) --cpCount_;
  return owned;
}

void TCustomDVData::AttachCheckpoint(int itemNo, std::unique_ptr<TDVCPInfo> checkpoint) {
  if (!checkpoint) return;
  TDVCPInfo* cp = checkpoint.get();
  cp->Next = cp->Prev = nullptr;
  if (itemNo == -1) {
    if (notAddedCP_) throw EDocViewError("Checkpoint error");
    cp->ItemInfo = nullptr;
    cp->ItemNo = -1;
    notAddedCP_ = std::move(checkpoint);
    ++cpCount_;
    return;
  }
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (item->Checkpoint) throw EDocViewError("Checkpoint error");
  cp->ItemInfo = item;
  item->Checkpoint = std::move(checkpoint);
  ++cpCount_;
  UpdateCPPos(cp, itemNo);
}

void TCustomDVData::FreeCheckpoint(TDVCPInfo* checkpoint, bool decCPCount) {
  UnlinkCheckpoint(checkpoint, decCPCount);
}

void TCustomDVData::FreeTrailingCheckpoint() {
  if (notAddedCP_) FreeCheckpoint(notAddedCP_.get(), true);
}

// ---- removing ----

void TCustomDVData::FreeItem(int itemNo, bool clearing) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (!item) return;
  ItemAction(dviaDestroying, item, items_->MutableText(itemNo));
  ControlAction(dvcaDestroy, itemNo, item);
  InternalFreeItem(items_->TakeItem(itemNo), clearing);
}

void TCustomDVData::InternalFreeItem(std::unique_ptr<TCustomDVItemInfo> item, bool clearing) {
  if (!item) return;
  if (item->StyleNo == dvsListMarker) DeleteMarkerFromList(item.get(), clearing);
  if (item->Checkpoint) FreeCheckpoint(item->Checkpoint.get(), true);
}

void TCustomDVData::DeleteItems(int firstItemNo, int count) {
  if (ItemsShared()) return;
  if (firstItemNo < 0) throw EDocViewError(kItemIndexError);
  if (firstItemNo >= ItemCount() || count <= 0) return;
  count = std::min(count, ItemCount() - firstItemNo);
  TMarkerRecountBatch recount(*this);
  for (int i = firstItemNo; i < firstItemNo + count; ++i) FreeItem(i, false);
  items_->Delete(firstItemNo, count);
}

void TCustomDVData::Clear() {
  TScopedFlags<TDVStates> clearing(State, dvstClearing);
  if (!ItemsShared()) {
    // Every marker a root lists goes with its items (those of sub-documents
    // too), so its list goes at once rather than erased marker by marker.
    if (GetAbsoluteRootData() == this) DestroyMarkers();
    for (int i = 0; i < items_->Count(); ++i) FreeItem(i, true);
    items_->Clear();
  }
  FreeTrailingCheckpoint();
  firstCP_ = lastCP_ = nullptr;
}

// ---- item properties ----

int TCustomDVData::ItemLength(int itemNo) const {
  if (GetItemStyle(itemNo) < 0) return 1;
  const std::string& text = GetItemTextR(itemNo);
  const size_t length = (GetItemOptions(itemNo) & dvioUnicode) ? text.size() / 2 : text.size();
  return static_cast<int>(length);
}

void TCustomDVData::SetItemTag(int itemNo, TDVTag tag) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (!DV_CompareTags(item->Tag, tag, TagsArePChars())) item->Tag = std::move(tag);
}

bool TCustomDVData::GetPageBreaksBeforeItems(int index) const {
  if (index < 0 || index >= ItemCount()) throw EDocViewError(kItemIndexError);
  if (index > 0 && GetItemStyle(index - 1) == dvsListMarker) return GetItem(index - 1)->PageBreakBefore();
  return GetItem(index)->PageBreakBefore();
}

void TCustomDVData::SetPageBreaksBeforeItems(int index, bool value) {
  if (index < 0 || index >= ItemCount()) throw EDocViewError(kItemIndexError);
  GetItem(index)->SetPageBreakBefore(value);
}

int TCustomDVData::GetStyleCodePage(int32_t styleNo) const {
  const TDVStyle* dvStyle = GetDVStyle();
  if (!dvStyle || !dvStyle->TextStyles().IsValidIndex(styleNo)) return 0;
  return CharsetToCodePage(dvStyle->TextStyles()[styleNo].Charset);
}

bool TCustomDVData::IsUnicodeStyle(int32_t styleNo) const {
  const TDVStyle* dvStyle = GetDVStyle();
  return dvStyle && dvStyle->TextStyles().IsValidIndex(styleNo) && dvStyle->TextStyles()[styleNo].Unicode;
}

int TCustomDVData::GetDefaultCodePage() const {
  const TDVStyle* dvStyle = GetDVStyle();
  return dvStyle ? dvStyle->DefCodePage : 0;
}

bool TCustomDVData::IsDelimiterA(char ch) const { return GetDelimiters().find(ch) != std::string::npos; }

bool TCustomDVData::IsDelimiterW(char16_t ch) const { return ch < 256 && IsDelimiterA(static_cast<char>(ch)); }

bool TCustomDVData::IsDelimiter(const std::string& text, int index, TDVItemOptions itemOptions) const {
  if (index < 1) return false;
  const size_t i = static_cast<size_t>(index - 1);
  if (itemOptions & dvioUnicode) {
    if (2 * i + 1 >= text.size()) return false;
    const auto ch = static_cast<char16_t>(static_cast<uint8_t>(text[2 * i]) |
                                          (static_cast<uint8_t>(text[2 * i + 1]) << 8));
    return IsDelimiterW(ch);
  }
  return i < text.size() && IsDelimiterA(text[i]);
}

void TCustomDVData::Replace0(std::string& text) {
  for (char& c : text)
    if (c == '\0') c = '?';
}

}  // namespace quillet
