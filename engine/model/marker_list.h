#pragma once
// The root document's list markers in document order (those inside table
// cells included), and the counting that numbers them.
#include <cstdint>
#include <vector>

#include "engine/model/marker_item.h"

namespace quillet {

class TDVStyle;

// Does not own its markers: each belongs to its document, which takes it out
// of the list before freeing it.
class TDVMarkerList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // A bad index raises the list index error.
  TDVMarkerItemInfo* Items(int index) const;
  TDVMarkerItemInfo* operator[](int index) const { return Items(index); }
  // -1 when the item is not listed. The neighbourhood of the last change is
  // looked at first, so walking a run of markers costs no search per marker.
  int IndexOf(const TCustomDVItemInfo* item) const;
  // Inserts right after `after`, or at 0 when it is null or not listed;
  // answers the new index.
  int InsertAfter(TDVMarkerItemInfo* marker, const TDVMarkerItemInfo* after);
  void Delete(int index);

  // The nearest earlier marker of the same list with a lower level; -1 when none.
  int FindParentMarker(int index) const;
  // Recounts every marker of list listNo from startIndex to the end and
  // recomputes its display string. Counters saturate at the largest 32-bit
  // value instead of overflowing.
  void RecalcCounters(int startIndex, int32_t listNo, const TDVStyle* dvStyle);
  // Recounts every marker from startIndex to the end, whatever its list.
  void RecalcAllCounters(int startIndex, const TDVStyle* dvStyle);
  // The text a text-type level draws: the bullet text, or the numbers of
  // the marker's levels put into the level's format.
  void CalcDisplayString(int index, const TDVStyle* dvStyle) const;

 private:
  int32_t CountFor(int index, const TDVStyle* dvStyle) const;
  std::string MultiLevelList(int index, const TDVListLevel& level, const TDVStyle* dvStyle) const;
  std::vector<TDVMarkerItemInfo*> items_;
  // Where the last marker was found, listed or removed.
  mutable int last_ = 0;
};

}  // namespace quillet
