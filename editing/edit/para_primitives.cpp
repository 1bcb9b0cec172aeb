// The primitives of paragraphs: paragraph styles and the flags that start a
// paragraph, a line or a page.
#include "editing/edit/edit_data.h"
#include "editing/undo/undo_records.h"

namespace quillet {

void TDVEditDVData::Do_Para(int startItemNo, int endItemNo, bool& fullReformat, int32_t paraNo) {
  fullReformat = false;
  if (endItemNo < startItemNo) return;
  auto info = std::make_unique<TDVUndoParaListInfo>();
  info->StartItemNo = startItemNo;
  for (int i = startItemNo; i <= endItemNo; ++i) info->List.push_back(GetItemPara(i));
  SetParaStyle(startItemNo, endItemNo, fullReformat, paraNo);
  bool changed = false;
  for (int i = startItemNo; i <= endItemNo; ++i)
    changed = changed || GetItemPara(i) != info->List[static_cast<size_t>(i - startItemNo)];
  if (!changed) {
    fullReformat = false;
    return;
  }
  info->FullReformat = fullReformat;
  Record(std::move(info));
}

void TDVEditDVData::Do_ParaList(int startItemNo, const std::vector<int32_t>& list, bool& fullReformat) {
  fullReformat = false;
  const int count = std::min(static_cast<int>(list.size()), ItemCount() - startItemNo);
  if (count <= 0) return;
  const int endItemNo = startItemNo + count - 1;
  auto info = std::make_unique<TDVUndoParaListInfo>();
  info->StartItemNo = startItemNo;
  bool changed = false;
  for (int i = 0; i < count; ++i) {
    info->List.push_back(GetItemPara(startItemNo + i));
    changed = changed || info->List.back() != list[static_cast<size_t>(i)];
  }
  if (!changed) return;
  const int32_t before = CalculateMinItemsWidthPlusEx(startItemNo, endItemNo);
  for (int i = 0; i < count; ++i) GetItem(startItemNo + i)->ParaNo = list[static_cast<size_t>(i)];
  fullReformat = WidthChangeNeedsFull(before, CalculateMinItemsWidthPlusEx(startItemNo, endItemNo));
  info->FullReformat = fullReformat;
  Record(std::move(info));
}

void TDVEditDVData::Do_NewLine(int itemNo, bool sameAsPrev, bool& fullReformat, int32_t paraNo) {
  fullReformat = false;
  TCustomDVItemInfo* item = GetItem(itemNo);
  // The first item always starts a paragraph.
  if (sameAsPrev && itemNo == 0) return;
  if (item->GetBoolValue(dvbpFullWidth)) return;
  if (!sameAsPrev && !item->SameAsPrev()) return;
  auto info = std::make_unique<TDVUndoNewLineInfo>();
  info->ItemNo = itemNo;
  info->WasSameAsPrev = item->SameAsPrev();
  info->WasParaNo = item->ParaNo;
  const int32_t before = ParaMinWidth(itemNo);
  bool full = false;
  if (sameAsPrev) {
    Do_BR(itemNo, false, full);
    Do_PageBreak(itemNo, false);
  }
  // The whole paragraph that starts (or joins) here takes one style, its
  // lines included.
  const int last = GetParaLastItemNo(itemNo);
  const int32_t newParaNo = sameAsPrev ? GetItemPara(itemNo - 1) : paraNo;
  if (newParaNo != -1) Do_Para(itemNo, last, full, newParaNo);
  item->SetSameAsPrev(sameAsPrev);
  fullReformat = WidthChangeNeedsFull(before, ParaMinWidth(itemNo)) || full;
  info->FullReformat = fullReformat;
  Record(std::move(info));
}

void TDVEditDVData::Do_BR(int itemNo, bool br, bool& fullReformat) {
  fullReformat = false;
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (br == (item->SameAsPrev() || item->BR())) return;
  const TDVItemOptions oldOptions = item->ItemOptions;
  const int32_t before = ParaMinWidth(itemNo);
  item->SetBR(br);
  if (item->ItemOptions == oldOptions) return;
  fullReformat = WidthChangeNeedsFull(before, ParaMinWidth(itemNo));
  auto info = std::make_unique<TDVUndoBRInfo>();
  info->ItemNo = itemNo;
  info->WasBR = (oldOptions & dvioBR) != 0;
  Record(std::move(info));
}

void TDVEditDVData::Do_PageBreak(int itemNo, bool pageBreak) {
  // A list paragraph's page break belongs to its marker.
  if (itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker) --itemNo;
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (pageBreak == (item->SameAsPrev() || item->PageBreakBefore())) return;
  // A page break starts a paragraph: a line break it replaces is recorded
  // first, so that undo gives it back.
  bool full = false;
  if (pageBreak && item->BR()) Do_BR(itemNo, false, full);
  const TDVItemOptions oldOptions = item->ItemOptions;
  item->SetPageBreakBefore(pageBreak);
  if (item->ItemOptions == oldOptions) return;
  auto info = std::make_unique<TDVUndoPageBreakInfo>();
  info->ItemNo = itemNo;
  info->WasPageBreak = (oldOptions & dvioPageBreakBefore) != 0;
  Record(std::move(info));
}

}  // namespace quillet
