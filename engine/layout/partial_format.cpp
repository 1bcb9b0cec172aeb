// Partial reformatting: after an edit only the touched paragraph sections
// are laid out again; the drawing items after them are moved and
// renumbered, not rebuilt, and only the band that changed is repainted.
#include <algorithm>
#include <climits>

#include "engine/layout/formatted_data.h"
#include "engine/layout/line_layout.h"
#include "engine/style/style_sheet.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

// The first drawing item of the section that holds drawing item d: a
// drawing item that starts an item which starts a line.
static int SectionStart(const TCustomDVFormattedData& data, int d) {
  const TDVDrawLines& items = data.DrawItems;
  while (d > 0) {
    const int itemNo = items[d]->ItemNo;
    if (items[d - 1]->ItemNo != itemNo && itemNo < data.ItemCount() && data.IsFromNewLine(itemNo)) break;
    --d;
  }
  return d;
}

void TCustomDVFormattedData::GetParaBounds(int drawItemNo1, int drawItemNo2, int& paraStart, int& paraEnd) const {
  const int count = DrawItems.Count();
  if (count == 0) {
    paraStart = paraEnd = -1;
    return;
  }
  paraStart = SectionStart(*this, std::clamp(drawItemNo1, 0, count - 1));
  if (paraStart > 0) paraStart = SectionStart(*this, paraStart - 1);
  // Past the section of drawing item d: the rest of its item, then the items
  // that continue the line.
  auto pastSection = [this, count](int d) {
    const int itemNo = DrawItems[d]->ItemNo;
    ++d;
    while (d < count && DrawItems[d]->ItemNo == itemNo) ++d;
    while (d < count && GetItem(DrawItems[d]->ItemNo)->SameAsPrev()) ++d;
    return d;
  };
  int stop = pastSection(std::clamp(drawItemNo2, paraStart, count - 1));
  if (stop < count) stop = pastSection(stop);
  paraEnd = stop - 1;
}

void TCustomDVFormattedData::FormatParas(int startDrawItemNo, int endDrawItemNo, int itemsInserted) {
  const int count = DrawItems.Count();
  if (count == 0 || ItemCount() == 0) {
    Format();
    return;
  }
  startDrawItemNo = SectionStart(*this, std::clamp(startDrawItemNo, 0, count - 1));
  int end = std::clamp(endDrawItemNo, startDrawItemNo, count - 1);
  // The drawing items after the edit carry old item numbers: old +
  // itemsInserted is the current one. The range ends before the next
  // drawing item that starts a section.
  const int oldItemNo = DrawItems[end]->ItemNo;
  while (end + 1 < count && DrawItems[end + 1]->ItemNo == oldItemNo) ++end;
  while (end + 1 < count) {
    const int64_t itemNo = int64_t{DrawItems[end + 1]->ItemNo} + itemsInserted;
    if (itemNo < 0 || itemNo >= ItemCount()) break;
    if (!GetItem(static_cast<int>(itemNo))->SameAsPrev()) break;
    ++end;
  }
  FormatParasExact(startDrawItemNo, end, itemsInserted);
}

void TCustomDVFormattedData::FormatParasExact(int startDrawItemNo, int endDrawItemNo, int itemsInserted) {
  TCanvas* canvas = GetCanvas();
  const int oldDrawCount = DrawItems.Count();
  const int itemCount = ItemCount();
  if (!canvas || !GetDVStyle()) return;
  // The bottom of a line is read back from its drawing items, which does not
  // hold when the external leading widens the ascent: a whole pass then.
  if (oldDrawCount == 0 || itemCount == 0 || (GetFlags() & dvflUseExternalLeading)) {
    Format();
    return;
  }
  startDrawItemNo = std::clamp(startDrawItemNo, 0, oldDrawCount - 1);
  endDrawItemNo = std::clamp(endDrawItemNo, startDrawItemNo, oldDrawCount - 1);
  const int firstItem = std::min(DrawItems[startDrawItemNo]->ItemNo, itemCount - 1);
  const int lastItem = std::max(
      firstItem, static_cast<int>(std::min<int64_t>(int64_t{DrawItems[endDrawItemNo]->ItemNo} + itemsInserted,
                                                    itemCount - 1)));

  const int32_t topY = LineBottomBefore(startDrawItemNo);
  int32_t oldNextTop = -1;
  if (endDrawItemNo + 1 < oldDrawCount) {
    int first, last;
    GetScreenLineBounds(endDrawItemNo + 1, first, last);
    oldNextTop = INT32_MAX;
    for (int i = first; i <= last; ++i) oldNextTop = std::min(oldNextTop, DrawItems[i]->Top);
  }
  TRect band = Rect(0, Clamp32(int64_t{topY} - 10 - GetVOffs()), GetWidth(), 0);

  TDVFormatState st;
  st.Canvas = canvas;
  // Hyperlink areas are not built here: a document that keeps them gets
  // them again from the drawing items below.
  st.Flags = GetFlags() & ~dvflUseJumps;
  GetSADForFormatting(*canvas, st.Sad);
  st.Y = topY;
  st.DrawItemIndex = startDrawItemNo;
  const int32_t savedJumps = nJmps;
  {
    TScopedFlags<TDVStates> formatting(State, dvstFormatParas);
    DrawItems.MarkForDelete(startDrawItemNo, endDrawItemNo);
    try {
      FormatItems(st, firstItem, lastItem);
      FinishScreenLine(st, Clamp32(int64_t{st.LineWidth} + st.LineLeft), st.DrawItemIndex, true);
    } catch (...) {
      DrawItems.DeleteMarked();
      throw;
    }
    st.Y = Clamp32(int64_t{st.Y} + st.ExtraSpace);
    DrawItems.DeleteMarked();
  }
  nJmps = savedJumps;
  const int newEnd = st.DrawItemIndex - 1;  // the last drawing item of the range

  // The gap below is what the next line's layout puts above itself.
  int64_t gap = 0;
  if (lastItem == itemCount - 1)
    gap = st.ToDeviceY(ParaOf(lastItem).SpaceAfter);
  else if (IsParaStart(lastItem + 1))
    gap = SpaceAboveParagraph(st, lastItem + 1);
  const int32_t newNextTop = Clamp32(int64_t{st.Y} + st.PrevDesc + gap);
  band.Bottom = Clamp32(int64_t{newNextTop} + 10 - GetVOffs());

  const int drawCount = DrawItems.Count();
  if (itemsInserted != 0 || drawCount != oldDrawCount || newNextTop != oldNextTop) {
    band.Bottom = GetHeight();
    const int32_t dy = oldNextTop < 0 ? 0 : Clamp32(int64_t{newNextTop} - oldNextTop);
    // Every drawing item below moves (and is renumbered) in one pass over
    // the rest of the document, touching only what changes. The items'
    // DrawItemNo below are left behind: they are hints, checked where read.
    if (dy != 0 || itemsInserted != 0)
      for (int i = newEnd + 1; i < drawCount; ++i) {
        TDVDrawLineInfo* info = DrawItems[i];
        info->Top = Clamp32(int64_t{info->Top} + dy);
        info->ItemNo += itemsInserted;
      }
    // The document ends with the last line's bottom and spacing, and the
    // last paragraph's space after.
    int64_t newBottom = newNextTop;
    if (newEnd + 1 < drawCount) {
      newBottom = LineBottomBefore(drawCount);
      newBottom += st.ToDeviceY(ParaOf(itemCount - 1).SpaceAfter);
    }
    const int64_t height = int64_t{GetBottomMargin()} + newBottom;
    if (height != DocumentHeight) {
      const int32_t vOffs = GetVOffs();
      const int32_t clientWidth = GetWidth();
      DocumentHeight = Clamp32(height);
      AdjustVScrollUnits();
      {
        TScopedValue<bool> formatted(AlreadyFormatted, true);
        SetDocumentAreaSize(Clamp32(int64_t{GetLeftMargin()} + DocumentWidth + GetRightMargin()), DocumentHeight,
                            false);
      }
      if (GetVOffs() != vOffs) band = Rect(0, 0, GetWidth(), GetHeight());
      if (GetWidth() != clientWidth) {
        // A scroll bar came or went: the lines wrap at the new width.
        Format_(true, false, false, 0, *canvas, false);
        band = Rect(0, 0, GetWidth(), GetHeight());
      }
    }
  }
  if (GetFlags() & dvflUseJumps) {
    ClearJumps();
    int32_t startJumpNo = 0;
    BuildJumpsCoords(startJumpNo, Jumps);
  }
  AdjustChildrenCoords();
  LastItemFormatted = itemCount - 1;
  InvalidateRect(band);
  Formatted(firstItem, lastItem, true);
}

}  // namespace quillet
