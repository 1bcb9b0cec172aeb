#include "engine/model/marker_list.h"

#include <algorithm>
#include <limits>

#include "engine/base/dv_lists.h"
#include "engine/model/list_numbering.h"

namespace quillet {

TDVMarkerItemInfo* TDVMarkerList::Items(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[static_cast<size_t>(index)];
}

int TDVMarkerList::IndexOf(const TCustomDVItemInfo* item) const {
  // Markers come and go in runs (a load, an insertion, a drain, a deletion),
  // so the place of the last change is looked at first; otherwise from the
  // end, where documents grow.
  for (int i : {last_, last_ - 1})
    if (i >= 0 && i < Count() && items_[static_cast<size_t>(i)] == item) return last_ = i;
  for (int i = Count() - 1; i >= 0; --i) {
    ++DVListSearchSteps();
    if (items_[static_cast<size_t>(i)] == item) return last_ = i;
  }
  return -1;
}

int TDVMarkerList::InsertAfter(TDVMarkerItemInfo* marker, const TDVMarkerItemInfo* after) {
  const int index = after ? IndexOf(after) + 1 : 0;
  items_.insert(items_.begin() + index, marker);
  return last_ = index;
}

void TDVMarkerList::Delete(int index) {
  Items(index);
  items_.erase(items_.begin() + index);
  last_ = index;
}

int TDVMarkerList::FindParentMarker(int index) const {
  const TDVMarkerItemInfo* marker = Items(index);
  for (int i = index - 1; i >= 0; --i) {
    const TDVMarkerItemInfo* other = items_[static_cast<size_t>(i)];
    if (other->ListNo == marker->ListNo && other->Level < marker->Level) return i;
  }
  return -1;
}

namespace {

int32_t Next(int32_t counter) { return counter == std::numeric_limits<int32_t>::max() ? counter : counter + 1; }

}  // namespace

int32_t TDVMarkerList::CountFor(int index, const TDVStyle* dvStyle) const {
  const TDVMarkerItemInfo* marker = items_[static_cast<size_t>(index)];
  if (marker->Reset) return marker->StartFrom;
  const TDVListLevel* level = marker->GetLevelInfo(dvStyle);
  const bool levelReset = level && (level->Options & dvloLevelReset);
  int32_t counter = 1;
  for (int i = index - 1; i >= 0; --i) {
    const TDVMarkerItemInfo* other = items_[static_cast<size_t>(i)];
    if (other->ListNo != marker->ListNo) continue;
    if (other->Level == marker->Level) return Next(other->Counter);
    if (other->Level < marker->Level) {
      if (levelReset) return 1;
    } else {
      counter = 2;
    }
  }
  return counter;
}

void TDVMarkerList::RecalcCounters(int startIndex, int32_t listNo, const TDVStyle* dvStyle) {
  for (int i = std::max(startIndex, 0); i < Count(); ++i) {
    TDVMarkerItemInfo* marker = items_[static_cast<size_t>(i)];
    if (marker->ListNo != listNo) continue;
    marker->Counter = CountFor(i, dvStyle);
    CalcDisplayString(i, dvStyle);
  }
}

void TDVMarkerList::RecalcAllCounters(int startIndex, const TDVStyle* dvStyle) {
  for (int i = std::max(startIndex, 0); i < Count(); ++i) {
    items_[static_cast<size_t>(i)]->Counter = CountFor(i, dvStyle);
    CalcDisplayString(i, dvStyle);
  }
}

void TDVMarkerList::CalcDisplayString(int index, const TDVStyle* dvStyle) const {
  TDVMarkerItemInfo* marker = Items(index);
  const TDVListLevel* level = marker->GetLevelInfo(dvStyle);
  if (!level) {
    marker->DisplayString.clear();
    return;
  }
  switch (level->ListType) {
    case dvlstBullet:
      marker->DisplayString = level->FormatString;
      break;
    case dvlstPicture:
    case dvlstImageList:
    case dvlstImageListCounter:
      marker->DisplayString.clear();
      break;
    default:
      marker->DisplayString = MultiLevelList(index, *level, dvStyle);
      break;
  }
}

std::string TDVMarkerList::MultiLevelList(int index, const TDVListLevel& level, const TDVStyle* dvStyle) const {
  const TDVMarkerItemInfo* marker = items_[static_cast<size_t>(index)];
  const bool legal = (level.Options & dvloLegalStyleNumbering) != 0;
  // The type a level's number is written in; legal numbering writes the
  // enclosing levels' Roman numbers in decimal.
  auto typeOf = [&](int32_t levelNo) {
    const TDVListLevel* info = marker->GetLevelInfoEx(dvStyle, levelNo);
    const TDVListType type = info ? info->ListType : dvlstDecimal;
    if (legal && (type == dvlstLowerRoman || type == dvlstUpperRoman)) return dvlstDecimal;
    return type;
  };
  std::vector<std::string> numbers(DVListLevelCount);
  int32_t child = std::clamp(marker->Level, 0, DVMaxListLevel);
  numbers[child] = Number2Str(marker->Counter, level.ListType);
  int from = index;
  while (child > 0) {
    const int parentIndex = FindParentMarker(from);
    const int32_t parentLevel =
        parentIndex < 0 ? -1 : std::clamp(items_[static_cast<size_t>(parentIndex)]->Level, -1, child - 1);
    for (int32_t l = parentLevel + 1; l < child; ++l) numbers[l] = Number2Str(1, typeOf(l));
    if (parentIndex < 0 || parentLevel < 0) break;
    numbers[parentLevel] = Number2Str(items_[static_cast<size_t>(parentIndex)]->Counter, typeOf(parentLevel));
    child = parentLevel;
    from = parentIndex;
  }
  return DVFormatLevelNumbers(level.FormatString, numbers);
}

}  // namespace quillet
