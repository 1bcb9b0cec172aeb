// What the selection holds: whether there is one, its text and its picture,
// and the range a save of the selection covers.
#include "engine/layout/formatted_data.h"
#include "platform/core/stream.h"

namespace quillet {

TCustomDVFormattedData* TCustomDVFormattedData::ChosenFormattedData() const {
  auto* chosen = dynamic_cast<TCustomDVFormattedData*>(GetChosenDVData());
  return chosen == this ? nullptr : chosen;
}

bool TCustomDVFormattedData::SelectionExists(bool allowReset, bool usePartialSelected) {
  if (TCustomDVFormattedData* chosen = ChosenFormattedData())
    return chosen->SelectionExists(allowReset, usePartialSelected);
  if (State & dvstMakingSelection) allowReset = false;
  if (usePartialSelected && FPartialSelectedItem && FPartialSelectedItem->PartiallySelected()) return true;
  int startNo, endNo;
  int32_t startOffs, endOffs;
  GetSelBounds(startNo, endNo, startOffs, endOffs, true);
  if (startNo == endNo && startOffs == endOffs) {
    if (allowReset && startNo >= 0) Deselect(FPartialSelectedItem, true);
    return false;
  }
  return startNo >= 0 && endNo >= 0;
}

bool TCustomDVFormattedData::SaveSelText(bool unicode, std::string& text) {
  TMemoryStream stream;
  if (!SaveTextToStream("", stream, 80, true, true, unicode)) return false;
  text.assign(stream.Bytes().begin(), stream.Bytes().end());
  return true;
}

std::string TCustomDVFormattedData::GetSelText(bool unicode) {
  if (TCustomDVFormattedData* chosen = ChosenFormattedData()) return chosen->GetSelText(unicode);
  std::string text;
  if (SelectionExists(true, true) && !SaveSelText(unicode, text)) text.clear();
  return text;
}

TGraphic* TCustomDVFormattedData::GetSelectedImage() {
  if (TCustomDVFormattedData* chosen = ChosenFormattedData()) return chosen->GetSelectedImage();
  int s, e;
  int32_t so, eo;
  StoreSelBounds(s, e, so, eo, true);
  if (s < 0 || e < 0 || e >= ItemCount()) return nullptr;
  int itemNo = -1;
  if (s == e) {
    if (so == 0 && eo >= 1) itemNo = s;
  } else if (e == s + 1) {
    // Two neighbours: the one the selection covers wholly while only
    // touching the other.
    if (so <= GetOffsBeforeItem(s) && eo == GetOffsBeforeItem(e))
      itemNo = s;
    else if (so == GetOffsAfterItem(s) && eo >= GetOffsAfterItem(e))
      itemNo = e;
  } else if (e == s + 2) {
    if (so == GetOffsAfterItem(s) && eo == GetOffsBeforeItem(e)) itemNo = s + 1;
  }
  return itemNo < 0 ? nullptr : GetItem(itemNo)->AsImage();
}

TDVFLimits TCustomDVFormattedData::DVFGetLimits(TDVFSaveScope scope) const {
  if (scope != dvfss_Selection) return TCustomDVData::DVFGetLimits(scope);
  TDVFLimits limits;
  StoreSelBounds(limits.StartItemNo, limits.EndItemNo, limits.StartOffs, limits.EndOffs, true);
  return limits;
}

}  // namespace quillet
