// The document data's side of list markers: the root's marker list, finding
// a marker's place in document order, and making a paragraph a list
// paragraph.
#include <algorithm>
#include <utility>

#include "engine/model/dv_data.h"
#include "engine/model/list_numbering.h"
#include "engine/model/marker_list.h"

namespace quillet {

namespace {

// The last marker of data at or before item `from`, looking into the last
// sub-document of items that hold documents.
TDVMarkerItemInfo* LastMarkerUpTo(TCustomDVData& data, int from) {
  for (int i = std::min(from, data.ItemCount() - 1); i >= 0; --i) {
    TCustomDVItemInfo* item = data.GetItem(i);
    if (!item) continue;
    if (auto* marker = dynamic_cast<TDVMarkerItemInfo*>(item)) return marker;
    std::unique_ptr<TDVStoreSubDVData> store;
    if (TCustomDVData* sub = item->GetSubDVData(store, dvdLast))
      if (TDVMarkerItemInfo* marker = LastMarkerUpTo(*sub, sub->ItemCount() - 1)) return marker;
  }
  return nullptr;
}

}  // namespace

TDVMarkerList* TCustomDVData::GetMarkers(bool allowCreate) {
  TCustomDVData* root = GetAbsoluteRootData();
  if (root != this) return root->GetMarkers(allowCreate);
  if (!markers_ && allowCreate) markers_ = std::make_unique<TDVMarkerList>();
  return markers_.get();
}

void TCustomDVData::DestroyMarkers() {
  TCustomDVData* root = GetAbsoluteRootData();
  if (root != this)
    root->DestroyMarkers();
  else
    markers_.reset();
}

void TCustomDVData::AddMarkerInList(int itemNo) {
  if (itemNo < 0 || itemNo >= ItemCount()) return;
  auto* marker = dynamic_cast<TDVMarkerItemInfo*>(GetItem(itemNo));
  if (!marker) return;
  TDVMarkerList* markers = GetMarkers(true);
  if (!markers) return;
  // The list is in document order, so a marker listed already sits right
  // after the marker before it: one look there instead of a search.
  const TDVMarkerItemInfo* previous = FindPreviousMarker(itemNo - 1);
  const int place = previous ? markers->IndexOf(previous) + 1 : 0;
  if (place < markers->Count() && markers->Items(place) == marker) return;
  const int index = markers->InsertAfter(marker, previous);
  RecountMarkers(*markers, index, marker->ListNo);
}

void TCustomDVData::DeleteMarkerFromList(TCustomDVItemInfo* item, bool clearing) {
  TDVMarkerList* markers = GetMarkers(false);
  if (!markers) return;
  const int index = markers->IndexOf(item);
  if (index < 0) return;
  // The list to recount is the removed marker's: the marker now at its
  // index (if any) may belong to another list.
  const int32_t listNo = markers->Items(index)->ListNo;
  markers->Delete(index);
  if (markers->Count() == 0) {
    DestroyMarkers();
    return;
  }
  // A sub-document cleared while its root stays (a table being deleted)
  // still leaves the root's later markers to be recounted.
  const TCustomDVData* root = GetAbsoluteRootData();
  if (!clearing || (root != this && !(root->State & dvstClearing))) RecountMarkers(*markers, index, listNo);
}

void TCustomDVData::RecountMarkers(TDVMarkerList& markers, int index, int32_t listNo) {
  TCustomDVData* root = GetAbsoluteRootData();
  if (root->markerBatches_ == 0)
    markers.RecalcCounters(index, listNo, GetDVStyle());
  else if (root->markerRecountFrom_ < 0 || index < root->markerRecountFrom_)
    root->markerRecountFrom_ = index;
}

TMarkerRecountBatch::TMarkerRecountBatch(TCustomDVData& data) : root_(*data.GetAbsoluteRootData()) {
  ++root_.markerBatches_;
}

TMarkerRecountBatch::~TMarkerRecountBatch() {
  if (--root_.markerBatches_ > 0 || root_.markerRecountFrom_ < 0) return;
  const int from = std::exchange(root_.markerRecountFrom_, -1);
  if (TDVMarkerList* markers = root_.GetMarkers(false)) markers->RecalcAllCounters(from, root_.GetDVStyle());
}

TDVMarkerItemInfo* TCustomDVData::FindPreviousMarker(int itemNo) {
  TCustomDVData* data = this;
  int from = itemNo;
  for (;;) {
    if (TDVMarkerItemInfo* marker = LastMarkerUpTo(*data, from)) return marker;
    int parentItemNo = -1;
    TCustomDVItemInfo* location = nullptr;
    data->GetParentInfo(parentItemNo, location);
    TCustomDVData* parent = data->GetAbsoluteParentData();
    if (!parent || parentItemNo < 0) return nullptr;
    data = parent;
    from = parentItemNo - 1;
  }
}

int TCustomDVData::SetListMarkerInfo(int itemNo, int32_t listNo, int32_t listLevel, int32_t startFrom,
                                     int32_t paraNo, bool useStartFrom) {
  if (listNo < 0 || listLevel < 0 || listLevel > DVMaxListLevel) return -1;
  if (itemNo >= 0 && itemNo < ItemCount()) {
    itemNo = GetFirstParaItem(itemNo);
    if (GetItem(itemNo)->GetBoolValue(dvbpFullWidth)) return -1;
  } else {
    itemNo = ItemCount();
  }

  if (itemNo < ItemCount()) {
    if (auto* marker = dynamic_cast<TDVMarkerItemInfo*>(GetItem(itemNo))) {
      const int32_t oldListNo = marker->ListNo;
      marker->ListNo = listNo;
      marker->Level = listLevel;
      marker->StartFrom = startFrom;
      marker->Reset = useStartFrom;
      TDVMarkerList* markers = GetMarkers(false);
      const int index = markers ? markers->IndexOf(marker) : -1;
      if (index >= 0) {
        // Both the list the marker left and the one it joined change.
        if (oldListNo != listNo) markers->RecalcCounters(index, oldListNo, GetDVStyle());
        markers->RecalcCounters(index, listNo, GetDVStyle());
      }
      return itemNo;
    }
  }

  auto marker = std::make_unique<TDVMarkerItemInfo>(this, listNo, listLevel, startFrom, useStartFrom);
  if (itemNo < ItemCount()) {
    TCustomDVItemInfo* first = GetItem(itemNo);
    marker->ParaNo = first->ParaNo;
    // The paragraph now starts at the marker, so its page break goes there
    // too instead of being cleared with the old start.
    const bool pageBreak = first->PageBreakBefore();
    first->SetSameAsPrev(true);
    marker->SetPageBreakBefore(pageBreak);
  } else {
    marker->ParaNo = paraNo >= 0 ? paraNo : (ItemCount() > 0 ? GetItem(ItemCount() - 1)->ParaNo : 0);
  }
  std::string text;
  marker->Inserting(this, text, false);
  items_->Insert(itemNo, std::move(text), std::move(marker));
  AddMarkerInList(itemNo);
  return itemNo;
}

}  // namespace quillet
