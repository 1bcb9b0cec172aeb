// Drawing one page of the printed copy: the background, the host's page
// event, paragraph backgrounds and borders, non-text items and text, in
// printer pixels. In the preview the canvas maps printer pixels onto the
// screen; with correction, text is spread to the width it has on paper.
#include <algorithm>
#include <climits>

#include "engine/layout/multi_draw_item.h"
#include "engine/base/doc_view_error.h"
#include "engine/model/item_info.h"
#include "engine/print/printable_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

// Restores the canvas however the drawing ends.
class TCanvasStateGuard {
 public:
  explicit TCanvasStateGuard(TCanvas& canvas) : canvas_(canvas) { canvas_.SaveState(); }
  ~TCanvasStateGuard() { canvas_.RestoreState(); }
  TCanvasStateGuard(const TCanvasStateGuard&) = delete;
  TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

 private:
  TCanvas& canvas_;
};

int32_t ClampTo32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// A screen-resolution bitmap for a device area; false when it would be too
// large to make.
bool ScreenBitmapSize(int32_t width, int32_t height, const TDVScreenAndDevice& sad, int32_t& bw, int32_t& bh) {
  bw = std::max(MulDiv(width, sad.ppixScreen, sad.ppixDevice), 1);
  bh = std::max(MulDiv(height, sad.ppiyScreen, sad.ppiyDevice), 1);
  return bw <= TBitmap::kMaxSide && bh <= TBitmap::kMaxSide && int64_t{bw} * bh <= TBitmap::kMaxPixels;
}

}  // namespace

struct TCustomPrintableDVData::TPageDrawState {
  TCanvas& Canvas;
  TDVStyle& Sheet;
  bool Preview, Correction;
  int StartNo, EndNo, Part;
  int32_t AreaLeft, TopCoord, TopCoord2;
  int32_t PrevEnd = INT32_MIN;  // where the previous drawing item of the line ends as drawn
  int32_t LastStyle = -1;

  bool FirstOfItem(const TDVDrawLines& items, int k) const {
    return k == 0 || items[k - 1]->ItemNo != items[k]->ItemNo;
  }
  // The part of drawing item k drawn on this page; -1 for the whole item.
  int PartOf(const TDVDrawLines& items, int k) const {
    if (k == StartNo && Part >= 0) return Part;
    const auto* multi = dynamic_cast<const TDVMultiDrawItemInfo*>(items[k]);
    return multi && multi->PartCount() > 1 ? 0 : -1;
  }
  // Canvas top and height of drawing item k on this page.
  void Place(const TDVDrawLines& items, int k, int32_t& y, int32_t& height) const {
    const TDVDrawLineInfo& d = *items[k];
    const int part = PartOf(items, k);
    if (k == StartNo && Part >= 0)
      y = ClampTo32(-int64_t{TopCoord});
    else
      y = ClampTo32(int64_t{d.Top} - (k > StartNo && Part >= 0 ? TopCoord2 : TopCoord));
    const auto* multi = dynamic_cast<const TDVMultiDrawItemInfo*>(&d);
    height = part >= 0 && multi && part < multi->PartCount() ? multi->PartsList[static_cast<size_t>(part)]->Height
                                                             : d.Height;
  }
};

void TCustomPrintableDVData::DrawPage(int pageNo, TCanvas& canvas, bool preview, bool correction) {
  TDVStyle* sheet = GetDVStyle();
  if (!sheet) throw EDocViewError("Style of printable TDocView component is not assigned");
  CheckPageNo(pageNo);
  int startNo = 0, endNo = -1, part = -1;
  GetDrawItemsRange(pageNo, startNo, endNo, part);
  const int32_t areaLeft = GetPrintableAreaLeft(pageNo);
  const TRect area = Bounds(areaLeft, GetPrintableAreaTop(), ClientWidth, ClientHeight);

  TCanvasStateGuard state(canvas);
  if (!ParentDrawsBack) DrawBackground(canvas, area, preview);
  DoPagePrepaint(canvas, pageNo, preview, correction);
  if (PageClipsBody(pageNo)) canvas.IntersectClipRect(area);

  TPageDrawState ps{canvas, *sheet, preview,  correction,          startNo,
                    endNo,  part,   areaLeft, GetTopCoord(pageNo), part >= 0 ? GetTopCoord2(pageNo) : 0};
  for (int k = startNo; k <= endNo && k < DrawItems.Count(); ++k) {
    const TDVDrawLineInfo& d = *DrawItems[k];
    const TCustomDVItemInfo* item = GetItem(d.ItemNo);
    if (item->StyleNo != dvsBreak && (k == startNo || (ps.FirstOfItem(DrawItems, k) && item->CanBeBorderStart())))
      DrawParaBackAndBorder(ps, k);
    if (d.FromNewLine) ps.PrevEnd = INT32_MIN;
    if (item->StyleNo >= 0) {
      DrawTextItem(ps, k);
    } else {
      DrawNonTextItem(ps, k);
    }
  }
}

void TCustomPrintableDVData::DrawBackground(TCanvas& canvas, const TRect& area, bool) const {
  const TDVBackground* back = GetBack();
  const TDVScreenAndDevice& sad = PrintSaD();
  int32_t bw = 0, bh = 0;
  if (back && back->Style != bsNoBitmap && !back->Bitmap().Empty() &&
      ScreenBitmapSize(area.Width(), area.Height(), sad, bw, bh)) {
    // Drawn at screen resolution, as on the screen, and stretched to the body.
    TBitmap bitmap(bw, bh);
    back->Draw(bitmap.Canvas(), Bounds(0, 0, bw, bh), 0, 0, bw, bh, GetColor() == clNone ? clWhite : GetColor());
    canvas.StretchDraw(area, bitmap);
    return;
  }
  if (GetColor() == clNone) return;
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = GetColor();
  canvas.FillRect(area);
}

void TCustomPrintableDVData::DrawParaBackAndBorder(TPageDrawState& ps, int drawItemNo) const {
  const TDVDrawLineInfo& first = *DrawItems[drawItemNo];
  const int32_t paraNo = GetItem(first.ItemNo)->ParaNo;
  const TParaInfo& para = ParaOf(first.ItemNo);
  if (para.Border().Style == dvbNone && para.Background().Color == clNone && !ps.Sheet.OnDrawParaBack) return;
  int64_t top = INT64_MAX, bottom = INT64_MIN;
  for (int k = drawItemNo; k <= ps.EndNo && k < DrawItems.Count(); ++k) {
    if (k > drawItemNo && ps.FirstOfItem(DrawItems, k) && GetItem(DrawItems[k]->ItemNo)->CanBeBorderStart()) break;
    int32_t y = 0, height = 0;
    ps.Place(DrawItems, k, y, height);
    top = std::min<int64_t>(top, y);
    bottom = std::max<int64_t>(bottom, int64_t{y} + height + DrawItems[k]->ExtraSpaceBelow);
  }
  const TDVScreenAndDevice& sad = PrintSaD();
  const auto x = [&](int32_t v) { return MulDiv(v, sad.ppixDevice, sad.ppixScreen); };
  const auto yy = [&](int32_t v) { return MulDiv(v, sad.ppiyDevice, sad.ppiyScreen); };
  const int64_t left =
      int64_t{ps.AreaLeft} + sad.LeftMargin + x(para.LeftIndent) + (para.FirstIndent < 0 ? x(para.FirstIndent) : 0);
  const int64_t right = int64_t{ps.AreaLeft} + ClientWidth - (int64_t{sad.RightMargin} + x(para.RightIndent));
  const TRect r{ClampTo32(left), ClampTo32(top), ClampTo32(right), ClampTo32(bottom)};
  TRect back = r;
  para.Background().PrepareDrawSaD(back, sad);
  ps.Sheet.DrawParaBack(ps.Canvas, paraNo, back);
  const TDVBorder& border = para.Border();
  if (border.Style != dvbNone) {
    TRect br = r;
    border.BorderOffsets.InflateRectSaD(br, sad);
    border.DoDraw(br, ps.Canvas, yy(1), yy(border.InternalWidth), yy(border.Width));
  }
}

void TCustomPrintableDVData::DrawTextItem(TPageDrawState& ps, int drawItemNo) const {
  const TDVDrawLineInfo& d = *DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(d.ItemNo);
  const int32_t styleNo = item->StyleNo;
  TCanvas& canvas = ps.Canvas;
  const TDVScreenAndDevice& sad = PrintSaD();
  const bool rtl = GetItemBiDiMode(d.ItemNo) == dvbdRightToLeft;
  if (styleNo != ps.LastStyle) {
    ps.LastStyle = styleNo;
    ps.Sheet.ApplyStyle(canvas, styleNo, GetParaBiDiMode(item->ParaNo));
    // The style's spacing is in screen pixels.
    if (canvas.GetTextCharacterExtra() != 0)
      canvas.SetTextCharacterExtra(MulDiv(canvas.GetTextCharacterExtra(), sad.ppixDevice, sad.ppixScreen));
  }
  const int32_t styleExtra = canvas.GetTextCharacterExtra();
  int32_t y = 0, height = 0;
  ps.Place(DrawItems, drawItemNo, y, height);
  int32_t left = ClampTo32(int64_t{ps.AreaLeft} + d.Left);
  auto* self = const_cast<TCustomPrintableDVData*>(this);
  ps.Sheet.DrawTextBack(canvas, d.ItemNo, styleNo, self, left, y, d.Width, d.Height, 0);
  ps.Sheet.ApplyStyleColor(canvas, styleNo, 0, true);

  const std::string s = DrawItems.GetString(drawItemNo, *this);
  const bool unicode = item->IsUnicode();
  const auto extent = [&] { return unicode ? canvas.TextExtentW(DVU_Units(s)).cx : canvas.TextExtentA(s).cx; };
  if (ps.Correction && !rtl) {
    if (!d.FromNewLine && ps.PrevEnd > left) left = ps.PrevEnd;
    int64_t chars = 0;
    if (unicode) {
      chars = static_cast<int64_t>(s.size() / 2);
    } else {
      const int cp = GetStyleCodePage(styleNo);
      for (size_t i = 0; i < s.size(); i = std::max(CharNextEx(cp, s, i), i + 1)) ++chars;
    }
    if (chars > 1) {
      // What the glyphs take on this canvas, without any spacing; the rest
      // of the width on paper goes into the gaps between characters.
      const int64_t glyphs = int64_t{extent()} - chars * styleExtra;
      const int64_t target = int64_t{d.Width} - d.SpaceBefore;
      canvas.SetTextCharacterExtra(ClampTo32((target - glyphs) / (chars - 1)));
    }
  }
  ps.Sheet.DrawStyleText(s, canvas, d.ItemNo, d.Offs, styleNo, self, d.SpaceBefore, left, y, d.Width, d.Height, 0, true,
                         ps.Correction);
  if (ps.Correction) ps.PrevEnd = ClampTo32(int64_t{left} + d.SpaceBefore + extent());
  canvas.SetTextCharacterExtra(styleExtra);
}

TColor TCustomPrintableDVData::ColorUnder(int itemNo) const {
  const TColor paraColor = ParaOf(itemNo).Background().Color;
  if (paraColor != clNone) return paraColor;
  return GetColor() != clNone ? GetColor() : clWhite;
}

void TCustomPrintableDVData::DrawNonTextItem(TPageDrawState& ps, int drawItemNo) const {
  const TDVDrawLineInfo& d = *DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(d.ItemNo);
  const TDVScreenAndDevice& sad = PrintSaD();
  auto* self = const_cast<TCustomPrintableDVData*>(this);
  int32_t x = ClampTo32(int64_t{ps.AreaLeft} + d.Left);
  if (ps.Correction && !d.FromNewLine && ps.PrevEnd > x && GetItemBiDiMode(d.ItemNo) != dvbdRightToLeft) x = ps.PrevEnd;
  const bool fullWidth = item->GetBoolValue(dvbpFullWidth);
  const int32_t x2 = fullWidth ? ClampTo32(int64_t{ps.AreaLeft} + ClientWidth - sad.RightMargin) : 0;
  const int part = ps.PartOf(DrawItems, drawItemNo);
  int32_t y = 0, height = 0;
  ps.Place(DrawItems, drawItemNo, y, height);
  const int32_t width = fullWidth ? std::max(x2 - x, 1) : d.Width;
  int32_t bw = 0, bh = 0;
  if (item->GetBoolValueEx(dvbpPrintToBMP, &ps.Sheet) && ScreenBitmapSize(width, height, sad, bw, bh)) {
    // Drawn at screen resolution over what lies under it, then stretched.
    TBitmap bitmap(bw, bh);
    TCanvas& bc = bitmap.Canvas();
    bc.Brush().Style = bsSolid;
    bc.Brush().Color = ColorUnder(d.ItemNo);
    bc.FillRect(Bounds(0, 0, bw, bh));
    if (item->PrintToBitmap(bitmap, ps.Preview, self, &d, part))
      ps.Canvas.StretchDraw(Bounds(x, y, width, height), bitmap);
  } else {
    item->Print(ps.Canvas, x, y, x2, ps.Preview, ps.Correction, sad, self, &d, part);
  }
  ps.PrevEnd = ClampTo32(int64_t{x} + d.Width);
  ps.LastStyle = -1;  // an item may have changed the canvas's font
}

}  // namespace quillet
