// Painting of the laid-out document: the drawing items of the clip band with
// paragraph backgrounds and borders, page breaks, checkpoints, text in its
// styles with selection and hover colouring, and non-text items; the buffered
// paint of a window; the visibility queries and the invalidation requests.
#include <algorithm>
#include <climits>
#include <exception>

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "engine/view/background.h"
#include "platform/core/code_page.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/control.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

// What one PaintTo call works with.
struct TDVPaintState {
  TCanvas* Canvas = nullptr;
  TDVStyle* Sheet = nullptr;
  TRect ClipRect;  // client coordinates
  // Document coordinates minus the shifts are canvas coordinates.
  int32_t XShift = 0, YShift = 0;
  int32_t DocClipBottom = 0;
  int StartNo = -1, EndNo = -1;
  int32_t StartOffs = 0, EndOffs = 0;
  TDVTextDrawStates TextState = 0;
  TDVItemDrawStates ItemState = 0;
  int FirstDLine = 0, LastDLine = -1;
  int32_t LastDrawnStyle = -1;
  bool Hover = false;  // the text item being painted is the hovered link
  int32_t ClientWidth = 0;

  int32_t X(int32_t docX) const { return Clamp32(int64_t{docX} - XShift); }
  int32_t Y(int32_t docY) const { return Clamp32(int64_t{docY} - YShift); }
};

void TCustomDVFormattedData::PaintTo(TCanvas& canvas, const TRect& clipRect) {
  TDVStyle* sheet = GetDVStyle();
  if (!sheet) return;
  TDVPaintState ps;
  ps.Canvas = &canvas;
  ps.Sheet = sheet;
  ps.ClipRect = clipRect;
  GetSelBounds(ps.StartNo, ps.EndNo, ps.StartOffs, ps.EndOffs, true);
  const int64_t hOffs = GetHOffs(), vOffs = GetVOffs();
  ps.XShift = Clamp32(hOffs + clipRect.Left);
  ps.YShift = Clamp32(vOffs + clipRect.Top);
  ps.DocClipBottom = Clamp32(vOffs + clipRect.Bottom);
  canvas.Brush().Style = bsClear;
  if (ParentFocusedEx()) {
    ps.TextState = dvtsControlFocused;
    ps.ItemState = dvidsControlFocused;
  }
  ps.ClientWidth = ParentClientWidth();
  const TDVOptions options = GetOptions();

  // Slots emptied by a partial reformatting that did not finish hold no
  // drawing item: nothing is painted until the layout is whole again.
  const int count = DrawItems.MarkedCount() > 0 ? 0 : DrawItems.Count();
  if (count > 0) {
    ps.FirstDLine = std::clamp(GetFirstVisible(ps.YShift), 0, count - 1);
    ps.LastDLine = count - 1;
    PaintParaBacks(ps);
    PaintTextBacks(ps);
    PaintSoftPageBreaks(ps);
    for (int i = ps.FirstDLine; i <= ps.LastDLine; ++i) {
      const TDVDrawLineInfo* d = DrawItems[i];
      const TCustomDVItemInfo* item = GetItem(d->ItemNo);
      const bool firstOfItem = i == 0 || DrawItems[i - 1]->ItemNo != d->ItemNo;
      if (firstOfItem && item->PageBreakBefore() && (options & dvoShowPageBreaks))
        sheet->DrawPageBreak(canvas, Clamp32(int64_t{ps.Y(d->Top)} - 1), ps.XShift, dvpbPageBreak, ps.ClientWidth);
      if (firstOfItem && item->Checkpoint && (options & dvoShowCheckpoints))
        sheet->DrawCheckpoint(canvas, ps.X(d->Left), ps.Y(d->Top), d->ItemNo, ps.XShift, item->Checkpoint->RaiseEvent,
                              ps.ClientWidth);
      if (item->StyleNo >= 0)
        PaintTextItem(ps, i);
      else
        PaintNonTextItem(ps, i);
    }
  }
  if (const TDVCPInfo* cp = NotAddedCP(); cp && (options & dvoShowCheckpoints))
    sheet->DrawCheckpoint(canvas, -1, ps.Y(DocumentHeight), -1, ps.XShift, cp->RaiseEvent, ps.ClientWidth);
}

void TCustomDVFormattedData::PaintParaBacks(TDVPaintState& ps) {
  TDVStyle& sheet = *ps.Sheet;
  const int count = DrawItems.Count();
  auto startsPara = [this](int i) {
    return i == 0 ||
           (DrawItems[i]->ItemNo != DrawItems[i - 1]->ItemNo && GetItem(DrawItems[i]->ItemNo)->CanBeBorderStart());
  };
  // A paragraph that begins above the clip still gets its whole background.
  int i = ps.FirstDLine;
  while (i > 0 && !startsPara(i)) --i;
  // The walk, and the painting, end with the first line that starts below
  // the clip; a line is taken whole, as a tall object on it may reach up
  // into the clip while its first piece starts below.
  bool belowBottom = false;
  while (i < count) {
    const TDVDrawLineInfo* d = DrawItems[i];
    if (belowBottom && d->FromNewLine) {
      ps.LastDLine = std::min(ps.LastDLine, i - 1);
      return;
    }
    const TCustomDVItemInfo* item = GetItem(d->ItemNo);
    const bool decorated = startsPara(i) && item->StyleNo != dvsBreak && sheet.ParaStyles().IsValidIndex(item->ParaNo);
    const TParaInfo* para = decorated ? &sheet.ParaStyles()[item->ParaNo] : nullptr;
    if (!para || (para->Border().Style == dvbNone && para->Background().Color == clNone && !sheet.OnDrawParaBack)) {
      if (d->Top >= ps.DocClipBottom) belowBottom = true;
      ++i;
      continue;
    }
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    do {
      const TDVDrawLineInfo* p = DrawItems[i];
      if (belowBottom && p->FromNewLine) ps.LastDLine = std::min(ps.LastDLine, i - 1);
      if (p->Top >= ps.DocClipBottom) belowBottom = true;
      top = std::min<int64_t>(top, p->Top);
      bottom = std::max<int64_t>(bottom, int64_t{p->Top} + p->Height + p->ExtraSpaceBelow);
      ++i;
    } while (i < count && !startsPara(i));
    int64_t left = int64_t{GetLeftMargin()} + para->LeftIndent;
    if (para->FirstIndent < 0) left += para->FirstIndent;
    const int64_t right = int64_t{GetAreaWidth()} - GetRightMargin() - para->RightIndent;
    const TRect r{Clamp32(left - ps.XShift), Clamp32(top - ps.YShift), Clamp32(right - ps.XShift),
                  Clamp32(bottom - ps.YShift)};
    TRect prepared = r;
    para->Background().PrepareDraw(prepared);
    sheet.DrawParaBack(*ps.Canvas, item->ParaNo, prepared);
    para->Border().Draw(r, *ps.Canvas);
  }
}

void TCustomDVFormattedData::PaintTextBacks(TDVPaintState& ps) {
  TDVStyle& sheet = *ps.Sheet;
  if (!sheet.OnDrawTextBack) return;
  for (int i = ps.FirstDLine; i <= ps.LastDLine; ++i) {
    const TDVDrawLineInfo* d = DrawItems[i];
    const TCustomDVItemInfo* item = GetItem(d->ItemNo);
    if (item->StyleNo < 0) continue;
    const bool hover = sheet.TextStyles()[item->StyleNo].Jump && (State & dvstDrawHover) &&
                       LastJumpMovedAbove != -1 && LastJumpMovedAbove == item->JumpID;
    sheet.DrawTextBack(*ps.Canvas, d->ItemNo, item->StyleNo, this, ps.X(d->Left), ps.Y(d->Top), d->Width, d->Height,
                       hover ? dvtsHover : 0);
  }
}

void TCustomDVFormattedData::PaintSoftPageBreaks(TDVPaintState& ps) {
  if (!FSoftPageBreaks || !(GetOptions() & dvoShowPageBreaks)) return;
  const int firstItem = DrawItems[ps.FirstDLine]->ItemNo;
  for (const TDVSoftPageBreakInfo& brk : *FSoftPageBreaks) {
    // Breaks are in item order; one left over from an older layout may name
    // an item that is gone.
    if (brk.ItemNo < firstItem || brk.ItemNo >= ItemCount()) continue;
    int d = -1;
    int32_t drawOffs = 0;
    Item2DrawItem(brk.ItemNo, brk.Offset, d, drawOffs);
    if (d < 0) continue;
    if (d > ps.LastDLine) break;
    const int32_t extra = brk.ExtraData >= 0 ? GetItem(brk.ItemNo)->GetSoftPageBreakDY(brk.ExtraData) : 0;
    if (d == 0 && extra == 0) continue;
    ps.Sheet->DrawPageBreak(*ps.Canvas, Clamp32(int64_t{ps.Y(DrawItems[d]->Top)} - 1 + extra), ps.XShift,
                            dvpbSoftPageBreak, ps.ClientWidth);
  }
}

void TCustomDVFormattedData::PaintTextItem(TDVPaintState& ps, int drawItemNo) {
  TDVStyle& sheet = *ps.Sheet;
  TCanvas& canvas = *ps.Canvas;
  const TDVDrawLineInfo* d = DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(d->ItemNo);
  const int32_t styleNo = item->StyleNo;
  // Consecutive pieces of one style keep the font that is selected.
  if (styleNo != ps.LastDrawnStyle) {
    ps.LastDrawnStyle = styleNo;
    sheet.ApplyStyle(canvas, styleNo, GetParaBiDiMode(item->ParaNo));
  }
  const TFontInfo& font = sheet.TextStyles()[styleNo];
  ps.Hover = font.Jump && (State & dvstDrawHover) && LastJumpMovedAbove != -1 && LastJumpMovedAbove == item->JumpID;
  const std::string text = DrawItems.GetString(drawItemNo, *this);
  const bool complete = (State & dvstCompletelySelected) != 0;
  if (!complete && (drawItemNo < ps.StartNo || drawItemNo > ps.EndNo)) {
    PaintTextPiece(ps, drawItemNo, d->Left, d->Width, 1, text, true, true, false, true);
    return;
  }
  if (complete || ((drawItemNo > ps.StartNo || ps.StartOffs <= 1) && (drawItemNo < ps.EndNo || d->Length < ps.EndOffs))) {
    PaintTextPiece(ps, drawItemNo, d->Left, d->Width, 1, text, true, true, true, true);
    return;
  }
  // Partly selected: the whole piece, then the selected characters over it.
  PaintTextPiece(ps, drawItemNo, d->Left, d->Width, 1, text, true, true, false, true);
  const int startChar = drawItemNo == ps.StartNo && ps.StartOffs > 1 ? ps.StartOffs : 1;
  const int endChar = drawItemNo == ps.EndNo && ps.EndOffs <= d->Length ? ps.EndOffs - 1 : d->Length;
  if (endChar < startChar) return;
  const TDVItemOptions options = item->ItemOptions;
  const std::string shown = DV_ReturnCapitalized(text, font);
  if (GetItemBiDiMode(d->ItemNo) != dvbdUnspecified) {
    // Mixed-direction text: the selected characters may lie in several runs.
    sheet.ApplyStyleColor(canvas, styleNo, ps.TextState | dvtsSelected | (ps.Hover ? dvtsHover : 0), false);
    if (DVU_DrawSelectedTextEx(ps.X(Clamp32(int64_t{d->Left} + d->SpaceBefore)), ps.Y(d->Top), d->Height, shown,
                               canvas, startChar, endChar, options, true))
      return;
  }
  const int codePage = GetStyleCodePage(styleNo);
  const int32_t prefix =
      startChar > 1 ? DVU_TextWidth(DVU_Copy(shown, 1, startChar - 1, options, codePage), canvas, options) : 0;
  const int count = endChar - startChar + 1;
  // Only a custom text handler gets to know the width of the piece.
  const int32_t width =
      sheet.OnDrawStyleText ? DVU_TextWidth(DVU_Copy(shown, startChar, count, options, codePage), canvas, options)
                            : 0;
  PaintTextPiece(ps, drawItemNo, Clamp32(int64_t{d->Left} + prefix), width, startChar,
                 DVU_Copy(text, startChar, count, options, codePage), startChar <= 1, d->Length <= endChar, true,
                 false);
}

void TCustomDVFormattedData::PaintTextPiece(TDVPaintState& ps, int drawItemNo, int32_t left, int32_t width,
                                            int startChar, const std::string& text, bool drawItemStart,
                                            bool drawItemEnd, bool selected, bool wholePiece) {
  TDVStyle& sheet = *ps.Sheet;
  const TDVDrawLineInfo* d = DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(d->ItemNo);
  TDVTextDrawStates state = ps.TextState;
  if (selected) state |= dvtsSelected;
  if (ps.Hover) state |= dvtsHover;
  if (sheet.OnDrawStyleText) {
    if (drawItemStart) {
      state |= dvtsDrawItemStart;
      if (d->Offs == 1) state |= dvtsItemStart;
    }
    if (drawItemEnd) {
      state |= dvtsDrawItemEnd;
      if (int64_t{d->Offs} + d->Length - 1 == DVU_Length(GetItemTextR(d->ItemNo), item->ItemOptions))
        state |= dvtsItemEnd;
    }
  }
  sheet.ApplyStyleColor(*ps.Canvas, item->StyleNo, state, false);
  // The justification gap before the piece belongs to its first character.
  int32_t spaceBefore = 0;
  if (drawItemStart) {
    spaceBefore = d->SpaceBefore;
    if (!wholePiece) width = Clamp32(int64_t{width} + d->SpaceBefore);
  } else {
    left = Clamp32(int64_t{left} + d->SpaceBefore);
    if (wholePiece) width = Clamp32(int64_t{width} - d->SpaceBefore);
  }
  sheet.DrawStyleText(text, *ps.Canvas, d->ItemNo, Clamp32(int64_t{d->Offs} + startChar - 1), item->StyleNo, this,
                      spaceBefore, ps.X(left), ps.Y(d->Top), width, d->Height, state, false, false);
}

void TCustomDVFormattedData::PaintNonTextItem(TDVPaintState& ps, int drawItemNo) {
  const TDVDrawLineInfo* d = DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(d->ItemNo);
  TDVItemDrawStates state = ps.ItemState;
  // Offset 0 is before the object and 1 after it: a selection that ends
  // before it or starts after it leaves it out.
  const bool selected = (State & dvstCompletelySelected) ||
                        (ps.StartNo <= drawItemNo && drawItemNo <= ps.EndNo &&
                         !(drawItemNo == ps.EndNo && ps.EndOffs == 0) &&
                         !(drawItemNo == ps.StartNo && ps.StartOffs == 1));
  if (selected) state |= dvidsSelected;
  if ((State & dvstDrawHover) && LastJumpMovedAbove != -1 && item->JumpID == LastJumpMovedAbove) state |= dvidsHover;
  if (item == FActiveItem) state |= dvidsCurrent;
  if (!item->GetBoolValue(dvbpFullWidth)) {
    item->Paint(ps.X(d->Left), ps.Y(d->Top), *ps.Canvas, state, ps.Sheet, d);
  } else {
    const int64_t width = (GetOptions() & dvoClientTextWidth) ? GetWidth() : GetAreaWidth();
    const int32_t right = Clamp32(width - GetRightMargin() - ps.XShift);
    const TRect clip = Rect(0, 0, ps.ClipRect.Width(), ps.ClipRect.Height());
    item->PaintFullWidth(ps.X(d->Left), right, ps.Y(d->Top), *ps.Canvas, state, ps.Sheet, clip, d);
  }
  if (item->GetBoolValue(dvbpDrawingChangesFont)) ps.LastDrawnStyle = -1;
}

void TCustomDVFormattedData::PaintBuffered(TCanvas& canvas) {
  const TRect clip = canvas.ClipRect();
  if (clip.IsEmpty()) return;
  std::unique_ptr<TBitmap> buffer;
  bool failed = false;
  std::string message;
  try {
    buffer = std::make_unique<TBitmap>(clip.Width(), clip.Height());
    TCanvas& memory = buffer->Canvas();
    if (const TDVBackground* background = GetBackground()) {
      background->Draw(memory, clip, GetHOffs(), GetVOffs(), GetWidth(), GetHeight(), GetColor());
    } else {
      memory.Brush() = TBrush{ColorToRGB(GetColor()), bsSolid};
      memory.FillRect(Rect(0, 0, clip.Width(), clip.Height()));
    }
    PaintTo(memory, clip);
  } catch (const std::exception& e) {
    failed = true;
    message = e.what();
  } catch (...) {
    failed = true;
  }
  if (buffer) canvas.Draw(clip.Left, clip.Top, *buffer);
  if (failed) DrawPaintError(canvas, message);
}

void DrawPaintError(TCanvas& canvas, const std::string& message) {
  canvas.Font().Name = "Arial";
  canvas.Font().SetSize(10);
  canvas.Font().Style = 0;
  canvas.Font().Color = clRed;
  canvas.Brush() = TBrush{clWhite, bsSolid};
  canvas.TextOutW(0, 0, Utf8ToUtf16("Error:" + message));
}

int TCustomDVFormattedData::GetFirstItemVisible() const {
  const int count = DrawItems.Count();
  if (count == 0) return -1;
  return DrawItems[std::clamp(GetDrawItemNo(GetVOffs(), gdinFirstVisible), 0, count - 1)]->ItemNo;
}

int TCustomDVFormattedData::GetLastItemVisible() const {
  const int count = DrawItems.Count();
  if (count == 0) return -1;
  const int32_t bottom = Clamp32(int64_t{GetVOffs()} + GetHeight());
  return DrawItems[std::clamp(GetDrawItemNo(bottom, gdinLastVisible), 0, count - 1)]->ItemNo;
}

TCustomControl* TCustomDVFormattedData::GetParentWindow() const {
  const TCustomDVData* root = GetRootData();
  auto* formatted = root == this ? nullptr : dynamic_cast<const TCustomDVFormattedData*>(root);
  return formatted ? formatted->GetParentWindow() : nullptr;
}

bool TCustomDVFormattedData::ParentFocusedEx() const {
  const TCustomControl* window = GetParentWindow();
  return window && window->Focused();
}

int32_t TCustomDVFormattedData::ParentClientWidth() const {
  const TCustomControl* window = GetParentWindow();
  return window ? window->ClientWidth() : GetWidth();
}

void TCustomDVFormattedData::Invalidate() {
  if (TCustomControl* window = GetParentWindow()) window->Invalidate();
}

void TCustomDVFormattedData::Refresh() {
  if (TCustomControl* window = GetParentWindow()) window->Refresh();
}

void TCustomDVFormattedData::UpdateView() {
  if (TCustomControl* window = GetParentWindow()) window->Update();
}

void TCustomDVFormattedData::InvalidateRect(const TRect& r) {
  TCustomControl* window = GetParentWindow();
  if (window && window->Widget()) window->InvalidateRect(r);
}

void TCustomDVFormattedData::InvalidateJumpRect(int32_t jumpId) {
  TCustomControl* window = GetParentWindow();
  if (!window) return;
  const TDVStyle* sheet = GetDVStyle();
  if (sheet && sheet->FullRedraw) {
    window->Invalidate();
  } else {
    const int64_t hOffs = GetHOffs(), vOffs = GetVOffs();
    for (const auto& jump : Jumps) {
      if (jump->Id != jumpId) continue;
      const int64_t left = jump->Left - hOffs - 5, top = jump->Top - vOffs - 5;
      InvalidateRect(Rect(Clamp32(left), Clamp32(top), Clamp32(left + jump->Width + 10),
                          Clamp32(top + jump->Height + 10)));
    }
  }
  window->Update();
}

void TCustomDVFormattedData::MouseLeave() {
  if (!(GetFlags() & dvflUseJumps)) return;
  const int32_t jumpId = LastDVDataMovedAbove ? LastDVDataMovedAbove->LastJumpMovedAbove : -1;
  ClearLastJump();
  if (jumpId != -1) InvalidateJumpRect(jumpId);
}

}  // namespace quillet
