// Pagination: the drawing items of the printed copy cut into pages of the
// body's height. A page ends before the line that does not fit (a line moves
// as a whole), at a forced page break, or inside a split item (a tall picture
// or a table) whose parts continue on the following pages.
//
// Every step makes progress: a page holds at least one line or one part. A
// line or a part that a cut cannot make fit stands alone on its page, and the
// page's drawing is clipped to the body.
#include <algorithm>
#include <climits>

#include "engine/layout/multi_draw_item.h"
#include "engine/model/item_info.h"
#include "engine/print/print_component.h"
#include "engine/print/printable_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/printer_device.h"

namespace quillet {

struct TCustomMainPtblDVData::TPaginator {
  TCustomMainPtblDVData& d;
  int32_t H;            // body height
  int i = 0;            // current drawing item
  int32_t used = 0;     // height used on the page before its content (StartAt on the first)
  int32_t startY2 = 0;  // document y where the page's content starts
  bool splitting = false;
  int32_t partLeft = 0;  // height for the next part of the split item

  TDVPageInfo& Page() { return d.pages_.back(); }
  int Count() const { return d.DrawItems.Count(); }
  TDVDrawLineInfo& Item(int k) const { return *d.DrawItems[k]; }
  int32_t SpaceBefore(int k) const {
    return MulDiv(d.ParaOf(Item(k).ItemNo).SpaceBefore, d.PrnSaD.ppiyDevice, d.PrnSaD.ppiyScreen);
  }
  int32_t SpaceAfter(int k) const {
    return MulDiv(d.ParaOf(Item(k).ItemNo).SpaceAfter, d.PrnSaD.ppiyDevice, d.PrnSaD.ppiyScreen);
  }
  bool FirstOfItem(int k) const { return k == 0 || Item(k - 1).ItemNo != Item(k).ItemNo; }
  int64_t Bottom(int k) const { return int64_t{Item(k).Top} + Item(k).Height; }

  void AddPage(const TDVPageInfo& page) {
    const int completed = static_cast<int>(d.pages_.size());
    d.pages_.push_back(page);
    d.DoFormatting(completed, dvpsProceeding);
    used = 0;
  }

  // A page that begins with split item k at its part `part` (1-based).
  void AddSplitPage(int k, int part) {
    const int32_t sb = SpaceBefore(k);
    AddPage({-sb, k, part, 0, false});
    startY2 = 0;
    partLeft = H - sb - SpaceAfter(k);
  }

  void Start() {
    d.pages_.clear();
    d.pages_.push_back({});
    d.DoFormatting(0, dvpsProceeding);
    used = d.control_.DVPrint().StartAt;
  }

  // Cuts the next part of the split item i.
  void ContinueSplit() {
    auto& item = static_cast<TDVMultiDrawItemInfo&>(Item(i));
    const int32_t sb = SpaceBefore(i);
    const bool pageBeganInside = Page().StartDrawItemNo == i && Page().StartPart > 0;
    if (item.SplitAt(partLeft)) {
      const int n = item.PartCount();
      if (pageBeganInside && n >= 2)
        Page().StartY2 = static_cast<int32_t>(Bottom(i) - item.PartsList[static_cast<size_t>(n - 2)]->Height - sb);
      AddSplitPage(i, n);
      return;
    }
    // No further cut: the last part must fit, or it is not taken as fitting.
    const int n = item.PartCount();
    const int32_t lastHeight = n > 0 ? item.PartsList[static_cast<size_t>(n - 1)]->Height : item.Height;
    if (lastHeight > partLeft) {
      if (!pageBeganInside) {
        // It began on a page with content above it: it moves on whole.
        AddSplitPage(i, std::max(n, 1));
        return;
      }
      Page().ClipBody = true;  // taller than a whole body and uncuttable: alone, clipped
    }
    if (pageBeganInside) {
      Page().StartY2 = static_cast<int32_t>(Bottom(i) - lastHeight - sb);
      startY2 = Page().StartY2;
    }
    ++i;
    splitting = false;
  }

  // The first line start after k; Count() when none.
  int NextLineStart(int k) const {
    for (int j = k + 1; j < Count(); ++j)
      if (Item(j).FromNewLine) return j;
    return Count();
  }

  void Step() {
    if (splitting) {
      ContinueSplit();
      if (splitting) return;
    }
    for (; i < Count(); ++i) {
      TDVDrawLineInfo& di = Item(i);
      const bool forced =
          FirstOfItem(i) && d.GetItem(di.ItemNo)->PageBreakBefore() && i != 0 && Page().StartDrawItemNo != i;
      auto* multi = dynamic_cast<TDVMultiDrawItemInfo*>(&di);
      if (multi && multi->InitSplit()) {
        const int32_t sb = SpaceBefore(i), sa = SpaceAfter(i);
        const bool beginsPage = Page().StartDrawItemNo == i;
        if (beginsPage) {
          Page().StartPart = 1;
          Page().StartY = -sb;
        }
        const int64_t left = int64_t{startY2} + H - used - di.Top - sa;
        const int32_t heightLeft = static_cast<int32_t>(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
        if (!forced && (beginsPage || multi->CanSplitFirst(heightLeft))) {
          splitting = true;
          partLeft = beginsPage ? H - sb - sa - used : heightLeft;
          return;
        }
        AddSplitPage(i, 1);
        splitting = true;
        return;
      }
      const int64_t bottom = Bottom(i) + SpaceAfter(i);
      if (int64_t{startY2} + H - used < bottom || forced) {
        int j = i;
        while (j > 0 && !Item(j).FromNewLine) --j;
        const int pageStart = Page().StartDrawItemNo;
        if (j < pageStart || (j == pageStart && used <= 0)) {
          // At least one line per page: a line taller than the body stays
          // alone, clipped to the body.
          if (!forced) Page().ClipBody = true;
          j = NextLineStart(std::max(j, pageStart));
        }
        if (j < Count()) {
          int32_t top = Item(j).Top;
          for (int k = j + 1; k < Count() && !Item(k).FromNewLine; ++k) top = std::min(top, Item(k).Top);
          const int32_t y = top - SpaceBefore(j);
          AddPage({y, j, 0, y, false});
          startY2 = y;
        }
        i = j;
        return;
      }
    }
  }

  void Finish() {
    const int n = Count();
    int lineStart = n - 1;
    while (lineStart > 0 && !Item(lineStart).FromNewLine) --lineStart;
    int64_t bottom = 0;
    for (int k = std::max(lineStart, 0); k < n; ++k) bottom = std::max(bottom, Bottom(k));
    bottom += SpaceAfter(n - 1);
    const TDVPageInfo& last = Page();
    int64_t endAt = bottom - (last.StartPart > 0 ? last.StartY2 : last.StartY);
    if (d.pages_.size() == 1) endAt += d.control_.DVPrint().StartAt;
    d.EndAt = static_cast<int32_t>(std::clamp<int64_t>(endAt, INT32_MIN, INT32_MAX));
    d.DoFormatting(static_cast<int>(d.pages_.size()), dvpsProceeding);
  }
};

int TCustomMainPtblDVData::FormatPages() {
  DoFormatting(0, dvpsStarting);
  // The finishing event comes whatever happens, so that the starting one
  // always has its pair.
  bool finished = false;
  auto finish = [&](int count) {
    finished = true;
    DoFormatting(count, dvpsFinished);
  };
  try {
    {
      TScopedValue<TCanvas*> canvas(printerCanvas_, &Printer().Canvas());
      Prepare();
      Format_(false, true, false, 0, *printerCanvas_, false);
    }
    pages_.clear();
    EndAt = 0;
    if (DrawItems.Count() == 0) {
      finish(0);
      return 0;
    }
    TPaginator p{*this, ClientHeight - (TmpTMPix + TmpBMPix)};
    p.Start();
    while (p.i < DrawItems.Count()) p.Step();
    p.Finish();
  } catch (...) {
    pages_.clear();
    if (!finished) {
      try {
        DoFormatting(0, dvpsFinished);
      } catch (...) {
      }
    }
    throw;
  }
  finish(PagesCount());
  return PagesCount();
}

}  // namespace quillet
