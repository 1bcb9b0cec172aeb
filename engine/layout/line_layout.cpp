// Placing items on lines: text broken into pieces that fit, objects inline
// or on lines of their own, lines raised for taller pieces and, once
// complete, aligned, justified, spaced and reordered right to left.
#include "engine/layout/line_layout.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "engine/model/marker_item.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Every non-text item that is not a rectangle-shaped object (the break,
// tables) takes a line of its own.
bool IsFullLine(const TCustomDVItemInfo* item) {
  return item->StyleNo < 0 && dynamic_cast<const TDVRectItemInfo*>(item) == nullptr;
}

const TDVListLevel* MarkerLevel(const TCustomDVData& data, int itemNo) {
  if (data.GetItemStyle(itemNo) != dvsListMarker) return nullptr;
  const auto* marker = dynamic_cast<const TDVMarkerItemInfo*>(data.GetItem(itemNo));
  return marker ? marker->GetLevelInfo(data.GetDVStyle()) : nullptr;
}

}  // namespace

const TParaInfo& TCustomDVFormattedData::ParaOf(int itemNo) const {
  static const TParaInfo fallback;
  const TParaInfos& paras = GetDVStyle()->ParaStyles();
  const int32_t no = GetItemPara(itemNo);
  if (paras.IsValidIndex(no)) return paras[no];
  return paras.Count() > 0 ? paras[0] : fallback;
}

int32_t TCustomDVFormattedData::SpaceAboveParagraph(const TDVFormatState& st, int itemNo) const {
  int64_t space = 0;
  if (itemNo > 0) space += st.ToDeviceY(ParaOf(itemNo - 1).SpaceAfter);
  space += st.ToDeviceY(ParaOf(itemNo).SpaceBefore);
  if (GetItemStyle(itemNo) == dvsBreak) {
    const TParaInfos& paras = GetDVStyle()->ParaStyles();
    if (paras.Count() > 0) space += st.ToDeviceY(paras[0].SpaceBefore);
  }
  return Clamp32(space);
}

void TCustomDVFormattedData::GetIndents(int itemNo, bool isParaStart, int32_t& leftIndent,
                                        int32_t& rightIndent) const {
  const TParaInfo& para = ParaOf(itemNo);
  const int first = GetFirstParaItem(itemNo);
  if (const TDVListLevel* level = MarkerLevel(*this, first)) {
    // The level's indent on the leading side, the paragraph's on the other.
    const int32_t leading = isParaStart && first == itemNo ? level->MarkerIndent : level->LeftIndent;
    if (GetParaBiDiMode(GetItemPara(itemNo)) == dvbdRightToLeft) {
      leftIndent = para.LeftIndent;
      rightIndent = leading;
    } else {
      leftIndent = leading;
      rightIndent = para.RightIndent;
    }
    return;
  }
  const TCustomDVItemInfo* item = GetItem(itemNo);
  leftIndent = para.LeftIndent;
  if (isParaStart && !item->BR() && !item->GetBoolValue(dvbpFullWidth))
    leftIndent = Clamp32(int64_t{leftIndent} + para.FirstIndent);
  rightIndent = para.RightIndent;
}

void TCustomDVFormattedData::ApplyTextStyle(TDVFormatState& st, int32_t styleNo, TDVBiDiMode biDiMode) {
  TDVStyle& sheet = *GetDVStyle();
  if (styleNo != st.LastTextStyle) {
    st.LastTextStyle = styleNo;
    sheet.ApplyStyle(*st.Canvas, styleNo, biDiMode);
    const TFontInfo& font = sheet.TextStyles()[styleNo];
    if (font.CharSpacing != 0 && st.Sad.ppixScreen != st.Sad.ppixDevice)
      st.Canvas->SetTextCharacterExtra(st.ToDeviceX(font.CharSpacing));
    st.TextMetric = st.Canvas->GetTextMetrics();
    st.VerticalOffset = MulDiv(st.TextMetric.tmHeight, font.VShift, 100);
  }
  const int32_t leading = (st.Flags & dvflUseExternalLeading) ? st.TextMetric.tmExternalLeading : 0;
  st.Ascent = Clamp32(int64_t{st.TextMetric.tmAscent} + leading + st.VerticalOffset);
  st.Descent = Clamp32(int64_t{st.TextMetric.tmDescent} - st.VerticalOffset);
}

void TCustomDVFormattedData::StartNewLine(TDVFormatState& st, int itemNo) {
  // The finished line is its paragraph's last exactly when the new one starts a paragraph.
  FinishScreenLine(st, Clamp32(int64_t{st.LineWidth} + st.LineLeft), st.DrawItemIndex, st.ParaStart);
  const TParaInfo& para = ParaOf(itemNo);
  int32_t left, right;
  GetIndents(itemNo, st.ParaStart, left, right);
  if (st.ParaStart && !GetItem(itemNo)->BR())
    st.PrevDesc = Clamp32(int64_t{st.PrevDesc} + SpaceAboveParagraph(st, itemNo));
  const int32_t width = (para.Options & dvpaoNoWrap) ? DocumentWidth : TextWidth;
  st.LineWidth = Clamp32(int64_t{width} - st.ToDeviceX(Clamp32(int64_t{left} + right)));
  st.LineLeft = Clamp32(int64_t{st.ToDeviceX(left)} + st.Sad.LeftMargin);
}

void TCustomDVFormattedData::AdjustLineHeight(TDVFormatState& st, int32_t above) {
  if (above <= st.PrevAbove) return;
  const int32_t d = above - st.PrevAbove;
  for (int i = st.DrawItemIndex - 1; i >= 0; --i) {
    TDVDrawLineInfo* info = DrawItems[i];
    info->Top += d;
    if (info->FromNewLine) break;
  }
  st.Y += d;
  st.PrevAbove = above;
}

std::unique_ptr<TDVDrawLineInfo> TCustomDVFormattedData::NewDrawItem(TDVFormatState& st, int itemNo) const {
  if (st.Flags & dvflAllowCustomDrawItems) return GetItem(itemNo)->CreatePrintingDrawItem(
      const_cast<TCustomDVFormattedData*>(this), &st.Sad);
  return std::make_unique<TDVDrawLineInfo>();
}

void TCustomDVFormattedData::InsertDrawItem(TDVFormatState& st, int itemNo, std::unique_ptr<TDVDrawLineInfo> info,
                                            bool firstOfItem) {
  if (firstOfItem && !ShareItems()) GetItem(itemNo)->DrawItemNo = st.DrawItemIndex;
  DrawItems.Insert(st.DrawItemIndex++, std::move(info));
}

void TCustomDVFormattedData::FormatItems(TDVFormatState& st, int firstItemNo, int lastItemNo) {
  TDVStyle& sheet = *GetDVStyle();
  for (int i = firstItemNo; i <= lastItemNo; ++i) {
    const TCustomDVItemInfo* item = GetItem(i);
    if (item->StyleNo < 0) {
      FormatLine(st, i, 0, 0);
      continue;
    }
    // The font goes on the canvas before the text is measured.
    ApplyTextStyle(st, item->StyleNo, GetParaBiDiMode(item->ParaNo));
    const TFontInfo& font = sheet.TextStyles()[item->StyleNo];
    std::string_view text = GetItemTextR(i);
    if (font.StyleEx & dvfsAllCaps) {
      st.Displayed = DV_ReturnCapitalized(GetItemTextR(i), font);
      text = st.Displayed;
    }
    st.Text = text;
    st.Measure.Prepare(*st.Canvas, text, item->IsUnicode(), GetStyleCodePage(item->StyleNo));
    if (ParaOf(i).Alignment == dvaJustify)
      FormatWords(st, i);
    else
      FormatLine(st, i, 0, st.Measure.Count());
    TDVKeptItemMeasure::Offer(*this, i, st.Measure);
  }
}

namespace {
// The innermost TDVKeptItemMeasure; layout runs on one thread.
thread_local TDVKeptItemMeasure* keptItemMeasure = nullptr;
}  // namespace

TDVKeptItemMeasure::TDVKeptItemMeasure(const TCustomDVFormattedData& data, int itemNo)
    : data_(data), itemNo_(itemNo), outer_(keptItemMeasure) {
  keptItemMeasure = this;
}

TDVKeptItemMeasure::~TDVKeptItemMeasure() { keptItemMeasure = outer_; }

const TDVTextMeasure* TDVKeptItemMeasure::Find(const TCustomDVFormattedData& data, int itemNo) {
  const TDVKeptItemMeasure* k = keptItemMeasure;
  return k && k->kept_ && &k->data_ == &data && k->itemNo_ == itemNo ? &k->measure_ : nullptr;
}

void TDVKeptItemMeasure::Offer(const TCustomDVFormattedData& data, int itemNo, TDVTextMeasure& measure) {
  TDVKeptItemMeasure* k = keptItemMeasure;
  if (!k || &k->data_ != &data || k->itemNo_ != itemNo) return;
  std::swap(k->measure_, measure);
  k->kept_ = true;
}

void TCustomDVFormattedData::FormatLine(TDVFormatState& st, int itemNo, int startOffs, int len) {
  const TCustomDVItemInfo* item = GetItem(itemNo);
  if (item->StyleNo >= 0)
    FormatText(st, itemNo, startOffs, len);
  else if (IsFullLine(item))
    FormatFullLineObject(st, itemNo);
  else
    FormatInlineObject(st, itemNo);
}

void TCustomDVFormattedData::FormatWords(TDVFormatState& st, int itemNo) {
  const int n = st.Measure.Count();
  if (n == 0) {
    FormatLine(st, itemNo, 0, 0);
    return;
  }
  // Each word carries the one space before it, so every gap between words
  // is the leading space of a piece.
  for (int pos = 0; pos < n;) {
    int end = pos;
    if (st.Measure.IsSpace(end)) ++end;
    while (end < n && !st.Measure.IsSpace(end)) ++end;
    FormatLine(st, itemNo, pos, end - pos);
    pos = end;
  }
}

int TCustomDVFormattedData::MaxFit(TDVFormatState& st, int from, int to, int32_t avail, bool noWrap) const {
  if (DocViewSafeFormatting || ((st.Flags & dvflPrinting) && !DVNT)) {
    if (noWrap) return to - from;
    const bool unicode = st.Measure.Unicode();
    const size_t unit = unicode ? 2 : 1;
    TSize size;
    return DVU_GetTextExtentExPointPC(*st.Canvas, st.Text.substr(from * unit, (to - from) * unit), size,
                                      unicode ? dvioUnicode : 0, nullptr, avail);
  }
  const int32_t cx = st.Measure.Width(from, to);
  if (noWrap || (cx <= avail && cx >= 1)) return to - from;
  return st.Measure.Fit(from, to, avail);
}

void TCustomDVFormattedData::FormatText(TDVFormatState& st, int itemNo, int startOffs, int len) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  TDVStyle& sheet = *GetDVStyle();
  const TFontInfo& font = sheet.TextStyles()[item->StyleNo];
  const TParaInfo& para = ParaOf(itemNo);
  if (!item->SameAsPrev() && startOffs == 0) st.ParaStart = true;
  bool newline = startOffs == 0 && !item->SameAsPrev();
  ApplyTextStyle(st, item->StyleNo, GetParaBiDiMode(item->ParaNo));

  if (len == 0) {
    const int32_t height = st.Canvas->TextExtentA(" ").cy;
    int32_t top;
    if (!item->SameAsPrev()) {
      StartNewLine(st, itemNo);
      st.X = 0;
      st.Y += st.ExtraSpace;
      top = st.Y + st.PrevDesc;
      st.PrevAbove = st.Ascent;
      st.Y += st.PrevDesc + st.PrevAbove;
      st.PrevDesc = st.Descent;
    } else {
      AdjustLineHeight(st, st.Ascent);
      top = st.Y - st.Ascent;
      st.PrevDesc = std::max(st.PrevDesc, st.Descent);
    }
    auto info = std::make_unique<TDVDrawLineInfo>();
    info->SetData(st.X + st.LineLeft, top, itemNo, !item->SameAsPrev());
    info->SetSize(0, height);
    info->Offs = startOffs + 1;
    info->Length = 0;
    if (font.Jump) item->JumpID = -3;  // nothing to click on
    InsertDrawItem(st, itemNo, std::move(info), startOffs == 0);
    return;
  }

  const bool trim = (st.Flags & dvflTrim) != 0;
  const bool noWrap = (para.Options & dvpaoNoWrap) != 0;
  // The first piece after a list marker stays on the marker's line.
  bool afterMarker = startOffs == 0 && itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker;
  bool firstPiece = startOffs == 0;
  const int end = startOffs + len;
  int pos = startOffs;
  while (pos < end) {
    if (newline) {
      StartNewLine(st, itemNo);
      st.X = 0;
      // A wrapped line loses the one space it would begin with; a
      // paragraph's own leading spaces stay.
      if (trim && !st.ParaStart && end - pos > 1 && st.Measure.IsSpace(pos)) ++pos;
    }
    const int32_t avail = std::max(0, st.LineWidth - st.X);
    int sz = MaxFit(st, pos, end, avail, noWrap);
    if (sz == 0) {
      if (newline || afterMarker) {
        sz = st.Measure.CharEnd(pos) - pos;  // a line never ends empty
      } else {
        st.X = 0;
        st.ParaStart = false;
        newline = true;
        continue;
      }
    }
    bool dropSpace = false;
    if (pos + sz < end) {
      const int keep = st.Measure.FindBreak(pos, end, sz);
      if (keep > 0) {
        if (trim && st.Measure.IsSpace(pos + keep - 1)) {
          sz = keep - 1;
          dropSpace = true;
          // Where two spaces meet at the break, the first is the dropped
          // break space and the second starts the wrapped line, which loses
          // it: neither stays at a line's end. Not when that second space
          // ends the item (nothing would drop it), nor when a fresh line
          // would be left empty.
          if (sz > 0 && pos + keep < end && st.Measure.IsSpace(pos + sz - 1) && (sz > 1 || !newline)) --sz;
        } else {
          sz = keep;
        }
      } else if (!newline && !afterMarker) {
        // The whole word moves to the next line.
        st.ParaStart = false;
        newline = true;
        continue;
      }  // else a word longer than the line is cut where it stops fitting
    }
    if (sz == 0) {
      // Nothing but the dropped space was left for this line.
      pos += 1;
      st.ParaStart = false;
      newline = true;
      continue;
    }
    const int32_t width = st.Measure.Width(pos, pos + sz);
    const int32_t height = st.TextMetric.tmHeight;
    int32_t top;
    if (newline) {
      st.X = 0;
      st.Y += st.ExtraSpace;
      top = st.Y + st.PrevDesc;
      st.PrevAbove = st.Ascent;
      st.Y += st.PrevDesc + st.PrevAbove;
    } else {
      AdjustLineHeight(st, st.Ascent);
      top = st.Y - st.Ascent;
    }
    auto info = std::make_unique<TDVDrawLineInfo>();
    info->SetData(st.X + st.LineLeft, top, itemNo, newline);
    info->SetSize(width, height);
    info->Offs = pos + 1;
    info->Length = sz;
    const int drawItemNo = st.DrawItemIndex;
    InsertDrawItem(st, itemNo, std::move(info), firstPiece);
    if ((st.Flags & dvflUseJumps) && font.Jump) {
      auto jump = std::make_unique<TDVJumpInfo>();
      jump->DVData = this;
      jump->Left = st.X + st.LineLeft;
      jump->Top = top;
      jump->Width = width;
      jump->Height = height;
      jump->Id = startOffs > 0 ? nJmps - 1 : nJmps;  // all words of one item share the id
      jump->DrawItemNo = drawItemNo;
      jump->Cursor = font.JumpCursor;
      Jumps.push_back(std::move(jump));
    }
    st.PrevDesc = newline ? st.Descent : std::max(st.PrevDesc, st.Descent);
    st.X = Clamp32(int64_t{st.X} + width);
    // Whatever remains goes to a new line.
    newline = true;
    st.ParaStart = false;
    afterMarker = false;
    firstPiece = false;
    pos += sz + (dropSpace ? 1 : 0);
  }
  if (font.Jump && startOffs == 0) item->JumpID = nJmps++;
}

void TCustomDVFormattedData::FormatFullLineObject(TDVFormatState& st, int itemNo) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  FinishScreenLine(st, Clamp32(int64_t{st.LineWidth} + st.LineLeft), st.DrawItemIndex, true);
  // The line above keeps its line spacing, as it would before a text line.
  st.Y += st.ExtraSpace;
  const TParaInfo& para = ParaOf(itemNo);
  st.PrevDesc = Clamp32(int64_t{st.PrevDesc} + SpaceAboveParagraph(st, itemNo));
  auto info = NewDrawItem(st, itemNo);
  if (item->StyleNo == dvsBreak) {
    const int32_t h = st.ToDeviceY(5);
    info->SetData(st.Sad.LeftMargin, st.Y + st.PrevDesc, itemNo, true);
    info->SetSize(TextWidth, 2 * h + 1);
    st.Y = Clamp32(int64_t{st.Y} + st.PrevDesc + h + 1);
    st.PrevDesc = h;
    st.PrevAbove = h;
  } else {
    const int32_t lineWidth =
        Clamp32(int64_t{TextWidth} - st.ToDeviceX(Clamp32(int64_t{para.LeftIndent} + para.RightIndent)));
    int32_t x0 = Clamp32(int64_t{st.ToDeviceX(para.LeftIndent)} + st.Sad.LeftMargin);
    int32_t shift = 0;
    item->OnDocWidthChange(lineWidth, info.get(), (st.Flags & dvflPrinting) != 0, *st.Canvas, this, &st.Sad, shift);
    const auto* object = dynamic_cast<const TDVNonTextItemInfo*>(item);
    int32_t width = object ? st.ToDeviceX(object->GetWidth()) : 0;
    int32_t height = object ? st.ToDeviceY(object->GetHeight()) : 0;
    // An item laid out for the device (a printed table) gives its drawing
    // item the size itself: scaling its screen size would not match it.
    if (item->GetBoolValueEx(dvbpActualPrintSize, GetDVStyle())) {
      width = info->Width;
      height = info->Height;
    }
    // An item wider than the line stays at the line's left edge.
    const int64_t room = std::max<int64_t>(0, int64_t{lineWidth} - width);
    if (para.Alignment == dvaRight) x0 = Clamp32(x0 + room);
    if (para.Alignment == dvaCenter) x0 = Clamp32(x0 + room / 2);
    info->SetData(x0, st.Y + st.PrevDesc, itemNo, true);
    info->SetSize(width, height);
    st.Y = Clamp32(int64_t{st.Y} + st.PrevDesc + height);
    st.PrevAbove = height;
    st.PrevDesc = 0;
  }
  info->Offs = 0;
  info->Length = 0;
  const int32_t left = info->Left, top = info->Top;
  InsertDrawItem(st, itemNo, std::move(info), true);
  if (st.Flags & dvflUseJumps) item->BuildJumps(left, top, nJmps, Jumps);
  if (item->GetBoolValue(dvbpDrawingChangesFont)) st.LastTextStyle = -1;
}

void TCustomDVFormattedData::FormatInlineObject(TDVFormatState& st, int itemNo) {
  auto* item = static_cast<TDVRectItemInfo*>(GetItem(itemNo));
  TDVStyle* sheet = GetDVStyle();
  const TParaInfo& para = ParaOf(itemNo);
  // An object that starts a line starts a paragraph like text does.
  if (!item->SameAsPrev()) st.ParaStart = true;
  auto info = NewDrawItem(st, itemNo);
  int32_t hShift = 0;
  const int64_t indents = int64_t{para.LeftIndent} + para.RightIndent + para.FirstIndent;
  item->OnDocWidthChange(Clamp32(int64_t{TextWidth} - st.ToDeviceX(Clamp32(indents))), info.get(),
                         (st.Flags & dvflPrinting) != 0, *st.Canvas, this, &st.Sad, hShift);
  int32_t width, height;
  if (item->GetBoolValueEx(dvbpActualPrintSize, sheet)) {
    width = info->Width;
    height = info->Height;
  } else {
    width = st.ToDeviceX(item->GetWidth());
    height = st.ToDeviceY(item->GetHeight());
  }
  const int32_t desc = st.ToDeviceY(item->GetDescent());
  const int32_t vShift = item->VShiftAbs ? st.ToDeviceY(item->VShift) : MulDiv(height, item->VShift, 100);
  const int32_t above = item->VAlign == dvvaMiddle ? height / 2 : height - desc;
  const bool afterMarker = itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker;
  const bool noWrap = (para.Options & dvpaoNoWrap) != 0;
  int32_t top;
  bool fromNewLine;
  if (item->SameAsPrev() && (int64_t{st.X} + width <= st.LineWidth || noWrap || afterMarker)) {
    AdjustLineHeight(st, Clamp32(int64_t{above} + vShift));
    top = Clamp32(int64_t{st.Y} - above - vShift);
    st.PrevDesc = std::max(st.PrevDesc, Clamp32(int64_t{height} - above - vShift));
    fromNewLine = false;
  } else {
    if (item->SameAsPrev()) st.ParaStart = false;
    StartNewLine(st, itemNo);
    fromNewLine = true;
    st.X = 0;
    st.Y += st.ExtraSpace;
    top = st.Y + st.PrevDesc;
    st.PrevAbove = Clamp32(int64_t{above} + vShift);
    st.Y = Clamp32(int64_t{st.Y} + st.PrevDesc + st.PrevAbove);
    st.PrevDesc = Clamp32(int64_t{height} - st.PrevAbove);
  }
  const int32_t left = Clamp32(int64_t{st.X} + st.LineLeft + hShift);
  info->SetData(left, top, itemNo, fromNewLine);
  info->SetSize(width, height);
  info->Offs = 0;
  info->Length = 0;
  st.X = Clamp32(int64_t{st.X} + width + hShift);
  const int drawItemNo = st.DrawItemIndex;
  InsertDrawItem(st, itemNo, std::move(info), true);
  if (st.Flags & dvflUseJumps) item->BuildJumps(left, top, nJmps, Jumps);
  if (item->GetBoolValueEx(dvbpJump, sheet)) {
    if (st.Flags & dvflUseJumps) {
      auto jump = std::make_unique<TDVJumpInfo>();
      jump->DVData = this;
      jump->Left = left;
      jump->Top = top;
      jump->Width = width;
      jump->Height = height;
      jump->Id = nJmps;
      jump->DrawItemNo = drawItemNo;
      jump->Cursor = item->GetHypertextCursor(*sheet);
      Jumps.push_back(std::move(jump));
    }
    item->JumpID = nJmps++;
  }
  if (item->GetBoolValue(dvbpDrawingChangesFont)) st.LastTextStyle = -1;
}

void TCustomDVFormattedData::FinishScreenLine(TDVFormatState& st, int32_t lineRight, int lastDrawItem,
                                              bool paraFinished) {
  st.ExtraSpace = 0;
  if (st.NoLineToFinish) {
    st.NoLineToFinish = false;
    return;
  }
  if (lastDrawItem <= 0) return;
  const int lastNo = lastDrawItem - 1;
  TDVDrawLineInfo* last = DrawItems[lastNo];
  if (IsFullLine(GetItem(last->ItemNo))) return;
  int first = lastNo;
  while (first > 0 && !DrawItems[first]->FromNewLine) --first;
  const TParaInfo& para = ParaOf(last->ItemNo);

  int64_t extra = 0;
  const int64_t free = int64_t{lineRight} - last->Left - last->Width;
  switch (para.Alignment) {
    case dvaLeft: break;
    case dvaJustify: extra = paraFinished ? 0 : free; break;
    case dvaRight: extra = free; break;  // an overfull line starts left of its edge
    case dvaCenter: extra = std::max<int64_t>(0, free / 2); break;
  }

  if (para.LineSpacingType == dvlsPercent && para.LineSpacing > 100) {
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    for (int i = first; i <= lastNo; ++i) {
      const TDVDrawLineInfo* info = DrawItems[i];
      if (GetItemStyle(info->ItemNo) < 0) continue;
      top = std::min<int64_t>(top, info->Top);
      bottom = std::max<int64_t>(bottom, int64_t{info->Top} + info->Height);
    }
    if (top <= bottom) st.ExtraSpace = Clamp32((bottom - top) * (int64_t{para.LineSpacing} - 100) / 100);
  } else if (para.LineSpacingType == dvlsSpaceBetween && para.LineSpacing >= 0) {
    st.ExtraSpace = st.ToDeviceY(para.LineSpacing);
  }
  if (st.ExtraSpace != 0)
    for (int i = first; i <= lastNo; ++i) DrawItems[i]->ExtraSpaceBelow = st.ExtraSpace;

  if (para.Alignment == dvaJustify && !paraFinished) {
    if (first != lastNo) {
      auto isGap = [this](const TDVDrawLineInfo* info) {
        if (GetItemStyle(info->ItemNo) < 0 || info->Length <= 0) return false;
        return DVU_IsSpace(GetItemTextR(info->ItemNo), info->Offs, GetItemOptions(info->ItemNo));
      };
      int gaps = 0;
      for (int i = first + 1; i <= lastNo; ++i) gaps += isGap(DrawItems[i]) ? 1 : 0;
      // Each gap takes its share rounded down; the remainder lands on the later gaps.
      for (int i = first + 1; i <= lastNo; ++i) {
        TDVDrawLineInfo* info = DrawItems[i];
        if (gaps > 0 && isGap(info)) {
          const int64_t share = extra / gaps;
          info->SpaceBefore = Clamp32(share);
          info->Width = Clamp32(int64_t{info->Width} + share);
          extra -= share;
          --gaps;
        }
        const TDVDrawLineInfo* prev = DrawItems[i - 1];
        info->Left = Clamp32(int64_t{prev->Left} + prev->Width);
      }
    }
  } else if (extra != 0) {
    for (int i = lastNo; i >= first; --i) DrawItems[i]->Left = Clamp32(DrawItems[i]->Left + extra);
  }
  RearrangeLine(st, first, lastNo);
}

void TCustomDVFormattedData::RearrangeLine(TDVFormatState& st, int firstDrawItem, int lastDrawItem) {
  TDVDrawLineInfo* head = DrawItems[firstDrawItem];
  if (GetParaBiDiMode(GetItemPara(head->ItemNo)) != dvbdRightToLeft) return;
  const TCustomDVItemInfo* item = GetItem(head->ItemNo);
  if (!item->SameAsPrev() && head->Offs <= 1) {
    int32_t shift;
    if (item->StyleNo == dvsListMarker)
      shift = st.ToDeviceX(Clamp32(-int64_t{static_cast<const TDVNonTextItemInfo*>(item)->GetLeftOverhang()}));
    else
      shift = st.ToDeviceX(ParaOf(head->ItemNo).FirstIndent);
    if (shift != 0)
      for (int i = firstDrawItem; i <= lastDrawItem; ++i) DrawItems[i]->Left = Clamp32(int64_t{DrawItems[i]->Left} - shift);
  }
  if (lastDrawItem == firstDrawItem) return;
  // Reverse order from the first piece's Left, each piece keeping the gap
  // that separated it from its predecessor.
  st.Gaps.assign(static_cast<size_t>(lastDrawItem - firstDrawItem + 1), 0);
  for (int i = firstDrawItem + 1; i <= lastDrawItem; ++i) {
    const TDVDrawLineInfo* prev = DrawItems[i - 1];
    st.Gaps[static_cast<size_t>(i - firstDrawItem)] =
        Clamp32(int64_t{DrawItems[i]->Left} - prev->Left - prev->Width);
  }
  int64_t x = head->Left;
  for (int i = lastDrawItem; i >= firstDrawItem; --i) {
    TDVDrawLineInfo* info = DrawItems[i];
    info->Left = Clamp32(x);
    x += int64_t{info->Width} + st.Gaps[static_cast<size_t>(i - firstDrawItem)];
  }
}

}  // namespace quillet
