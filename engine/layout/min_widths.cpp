// The width a document needs at least: per paragraph section (a run of
// items from one that starts a line to the next such item), the indent plus
// the widest item, or, for a paragraph that does not wrap, all its items.
#include <algorithm>
#include <climits>

#include "engine/layout/formatted_data.h"
#include "engine/model/marker_item.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/core/arith.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

int32_t ToDevice(int32_t v, const TDVScreenAndDevice* sad) {
  return sad ? MulDiv(v, sad->ppixDevice, sad->ppixScreen) : v;
}

}  // namespace

int32_t TCustomDVFormattedData::PureParaSectionWidth(int itemNo, const TDVScreenAndDevice* sad) const {
  const TParaInfo& para = ParaOf(itemNo);
  const int first = GetFirstParaItem(itemNo);
  int64_t width;
  const auto* marker = GetItemStyle(first) == dvsListMarker ? dynamic_cast<const TDVMarkerItemInfo*>(GetItem(first))
                                                             : nullptr;
  const TDVListLevel* level = marker ? marker->GetLevelInfo(GetDVStyle()) : nullptr;
  if (level) {
    const bool rtl = GetParaBiDiMode(GetItemPara(itemNo)) == dvbdRightToLeft;
    width = int64_t{std::min(level->LeftIndent, level->FirstIndent)} + (rtl ? para.LeftIndent : para.RightIndent);
  } else {
    width = int64_t{para.LeftIndent} + para.RightIndent;
    if (para.FirstIndent > 0 && !GetItem(itemNo)->GetBoolValue(dvbpFullWidth)) width += para.FirstIndent;
  }
  return ToDevice(Clamp32(width), sad);
}

int32_t TCustomDVFormattedData::MinItemWidthPlus(int itemNo, const TDVScreenAndDevice* sad, TCanvas& canvas) {
  const TCustomDVItemInfo* item = GetItem(itemNo);
  int64_t width = int64_t{PureParaSectionWidth(itemNo, sad)} + item->GetMinWidth(sad, &canvas, this);
  // An item on the marker's line needs the marker's room too.
  if (itemNo > 0 && item->SameAsPrev() && GetItemStyle(itemNo - 1) == dvsListMarker)
    width += GetItem(itemNo - 1)->GetMinWidth(sad, &canvas, this);
  return Clamp32(width);
}

int32_t TCustomDVFormattedData::ParaSectionMinWidth(int firstItemNo, int lastItemNo, const TDVScreenAndDevice* sad,
                                                    TCanvas& canvas, bool wholeSection) {
  const int sectionStart = GetFirstParaSectionItem(firstItemNo);
  if (ParaOf(sectionStart).Options & dvpaoNoWrap) {
    // The section stays on one line: all of it counts.
    int64_t width = PureParaSectionWidth(sectionStart, sad);
    TDVStyle& sheet = *GetDVStyle();
    for (int i = sectionStart; i < ItemCount() && (i == sectionStart || !IsFromNewLine(i)); ++i) {
      const TCustomDVItemInfo* item = GetItem(i);
      if (item->StyleNo < 0) {
        width += item->GetMinWidth(sad, &canvas, this);
      } else {
        sheet.ApplyStyle(canvas, item->StyleNo, GetParaBiDiMode(item->ParaNo));
        width += DVU_TextWidth(GetItemTextR(i), canvas, item->ItemOptions);
      }
    }
    return Clamp32(width);
  }
  int32_t width = 0;
  const int from = wholeSection ? sectionStart : firstItemNo;
  for (int i = from; i <= lastItemNo && i < ItemCount() && (i == sectionStart || !IsFromNewLine(i)); ++i)
    width = std::max(width, MinItemWidthPlus(i, sad, canvas));
  return width;
}

int32_t TCustomDVFormattedData::CalculateParaSectionsMinWidth(int firstItemNo, int lastItemNo,
                                                              const TDVScreenAndDevice* sad, TCanvas& canvas) {
  if (ItemCount() == 0) return 0;
  firstItemNo = std::clamp(firstItemNo, 0, ItemCount() - 1);
  lastItemNo = std::clamp(lastItemNo, firstItemNo, ItemCount() - 1);
  int32_t width = 0;
  for (int i = GetFirstParaSectionItem(firstItemNo); i <= lastItemNo; ++i)
    if (i == 0 || IsFromNewLine(i)) width = std::max(width, ParaSectionMinWidth(i, ItemCount() - 1, sad, canvas, true));
  return width;
}

int32_t TCustomDVFormattedData::CalculateMinDocWidthPlus(const TDVScreenAndDevice* sad, TCanvas& canvas) {
  return CalculateParaSectionsMinWidth(0, ItemCount() - 1, sad, canvas);
}

int32_t TCustomDVFormattedData::CalculateMinItemWidthPlusEx(int itemNo) {
  TCanvas* canvas = GetCanvas();
  if (!canvas || itemNo < 0 || itemNo >= ItemCount()) return 0;
  return ParaSectionMinWidth(itemNo, itemNo, nullptr, *canvas, false);
}

int32_t TCustomDVFormattedData::CalculateMinItemsWidthPlusEx(int firstItemNo, int lastItemNo) {
  TCanvas* canvas = GetCanvas();
  if (!canvas || lastItemNo < firstItemNo || ItemCount() == 0) return 0;
  firstItemNo = std::clamp(firstItemNo, 0, ItemCount() - 1);
  lastItemNo = std::clamp(lastItemNo, firstItemNo, ItemCount() - 1);
  const int firstSection = GetFirstParaSectionItem(firstItemNo);
  const int lastSection = GetFirstParaSectionItem(lastItemNo);
  int32_t width = ParaSectionMinWidth(firstItemNo, lastItemNo, nullptr, *canvas, false);
  if (lastSection != firstSection) {
    width = std::max(width, ParaSectionMinWidth(lastSection, lastItemNo, nullptr, *canvas, false));
    for (int i = firstSection + 1; i < lastSection; ++i)
      if (IsFromNewLine(i)) width = std::max(width, ParaSectionMinWidth(i, ItemCount() - 1, nullptr, *canvas, true));
  }
  return width;
}

}  // namespace quillet
