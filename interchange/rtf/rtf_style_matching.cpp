#include "interchange/rtf/rtf_style_matching.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/base/shared_routines.h"
#include "engine/style/similarity_weights.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_tables.h"

namespace quillet {

namespace {

int32_t Round(double value) {
  return static_cast<int32_t>(std::clamp(std::nearbyint(value), double(INT32_MIN), double(INT32_MAX)));
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

TDVRTFSScriptType ScriptOf(int32_t vShift) {
  return vShift == 0 ? rtf_ss_Normal : vShift < 0 ? rtf_ss_Subscript : rtf_ss_Superscript;
}

template <class... T>
std::string PackKey(const std::string& head, T... values) {
  std::string key = head;
  key += '\0';
  ((key.append(reinterpret_cast<const char*>(&values), sizeof(values))), ...);
  return key;
}

// The exact-match key of a text style: everything compared but the charset
// (where 1 matches any).
std::string TextKey(const std::string& lowerName, int32_t size, TColor color, TColor backColor, uint8_t style,
                    bool allCaps, int32_t charScale, int32_t spacing, TDVRTFSScriptType script, bool unicode,
                    bool jump) {
  return PackKey(lowerName, size, color, backColor, style, allCaps, charScale, spacing, uint8_t(script), unicode,
                 jump);
}

// The exact-match key of a paragraph style: everything compared but the
// line spacing, whose match is no equality.
std::string ParaKey(uint8_t alignment, int32_t first, int32_t left, int32_t right, int32_t before, int32_t after,
                    TColor background, const TDVBorder& border) {
  if (border.Style == dvbNone) return PackKey("", alignment, first, left, right, before, after, background, 0);
  const TDVBooleanRect& sides = border.VisibleBorders;
  return PackKey("", alignment, first, left, right, before, after, background, int(border.Style), border.Width,
                 border.InternalWidth, border.Color, sides.Left, sides.Top, sides.Right, sides.Bottom);
}

std::string ParaKeyOf(const TParaInfo& style) {
  return ParaKey(static_cast<uint8_t>(style.Alignment), style.FirstIndent, style.LeftIndent, style.RightIndent,
                 style.SpaceBefore, style.SpaceAfter, style.Background().Color, style.Border());
}

std::string ParaKeyOf(const TDVRTFParaQuery& q) {
  return ParaKey(q.Alignment, q.FirstIndent, q.LeftIndent, q.RightIndent, q.SpaceBefore, q.SpaceAfter,
                 q.Background, q.Border);
}

}  // namespace

TDVBorder BorderRTF2DV(TDVRTFBorderType type, int32_t widthTw, bool rightOrBottom, double pixelsPerTwip) {
  const double w = widthTw * pixelsPerTwip;
  const TDVBorderStyle a = rightOrBottom ? dvbThickInside : dvbThickOutside;
  const TDVBorderStyle b = rightOrBottom ? dvbThickOutside : dvbThickInside;
  TDVBorder border;
  border.Style = dvbSingle;
  border.InternalWidth = 0;
  switch (type) {
    case rtf_brdr_None: border.Style = dvbNone; border.Width = 0; break;
    case rtf_brdr_DoubleThickness: border.Width = Round(w * 2); break;
    case rtf_brdr_Hairline: border.Width = 1; break;
    case rtf_brdr_Double:
    case rtf_brdr_DoubleWavy:
      border.Style = dvbDouble;
      border.Width = Round(w);
      border.InternalWidth = 2 * border.Width - 1;
      break;
    case rtf_brdr_Triple:
      border.Style = dvbTriple;
      border.Width = Round(w);
      border.InternalWidth = 2 * border.Width - 1;
      break;
    case rtf_brdr_ThinThickThinSmall:
      border.Style = dvbTriple;
      border.Width = Round(w / 3);
      border.InternalWidth = 2 * border.Width - 1;
      break;
    case rtf_brdr_ThinThickThinMed:
      border.Style = dvbTriple;
      border.Width = Round(w / 2);
      border.InternalWidth = 3 * border.Width - 1;
      break;
    case rtf_brdr_ThinThickThinLarge:
      border.Style = dvbTriple;
      border.Width = 1;
      border.InternalWidth = Round(w);
      break;
    case rtf_brdr_ThickThinSmall:
    case rtf_brdr_ThinThickSmall:
      // The thin-thick small width follows its thick-thin sibling.
      border.Style = type == rtf_brdr_ThickThinSmall ? a : b;
      border.Width = Round(w / 2);
      border.InternalWidth = border.Width + (border.Width + 1) / 2;
      break;
    case rtf_brdr_ThickThinMed:
    case rtf_brdr_ThinThickMed:
      border.Style = type == rtf_brdr_ThickThinMed ? a : b;
      border.Width = Round(w / 2);
      border.InternalWidth = 2 * border.Width + (border.Width + 1) / 2;
      break;
    case rtf_brdr_ThickThinLarge:
    case rtf_brdr_ThinThickLarge:
      border.Style = type == rtf_brdr_ThickThinLarge ? a : b;
      border.Width = 1;
      border.InternalWidth = Round(w) + 1;
      break;
    default:
      border.Width = Round(w);
      break;
  }
  return border;
}

TDVRTFStyleMatcher::TDVRTFStyleMatcher(TDVStyle& dvStyle, double pixelsPerTwip, bool useHypertextStyles,
                                       TAllowUseStyle allow)
    : dvStyle_(dvStyle),
      pixelsPerTwip_(pixelsPerTwip),
      useHypertextStyles_(useHypertextStyles),
      allow_(std::move(allow)) {}

TDVRTFTextQuery TDVRTFStyleMatcher::TextQuery(const TDVRTFCharProperties& chars, const TDVRTFFont* font,
                                              bool unicode, bool hypertext) const {
  TDVRTFTextQuery q;
  q.FontName = !chars.FontName.empty() ? chars.FontName : font ? font->Name : std::string();
  q.LowerName = LowerAscii(q.FontName);
  q.Charset = font ? font->Charset : 1;
  q.Size = chars.Size;
  q.Color = chars.Color;
  q.BackColor = chars.BackColor;
  q.Style = chars.Style;
  q.AllCaps = (chars.StyleEx & rtf_fs_AllCaps) != 0;
  q.CharScale = chars.CharScaleX;
  q.SpacingPx = Round(chars.CharSpacingTw * pixelsPerTwip_);
  q.Script = chars.SScriptType;
  q.Unicode = unicode;
  q.Hypertext = hypertext;
  return q;
}

TDVRTFParaQuery TDVRTFStyleMatcher::ParaQuery(const TDVRTFParaProperties& para) const {
  TDVRTFParaQuery q;
  q.Alignment = para.Alignment;
  q.FirstIndent = Round(para.FirstIndentTw * pixelsPerTwip_);
  q.LeftIndent = Round(para.LeftIndentTw * pixelsPerTwip_);
  q.RightIndent = Round(para.RightIndentTw * pixelsPerTwip_);
  q.SpaceBefore = Round(para.SpaceBeforeTw * pixelsPerTwip_);
  q.SpaceAfter = Round(para.SpaceAfterTw * pixelsPerTwip_);
  q.Background = para.Color;
  q.MultiSpacing = para.LineSpacingMulti != 0;
  q.LineSpacingPercent = static_cast<int32_t>(std::min<int64_t>(std::llabs(int64_t{para.LineSpacing}) * 100 / 240,
                                                                INT32_MAX));
  q.Border.Style = dvbNone;
  if (!para.HasBorder()) return q;
  const TDVRTFParaBorder& rtf = *para.Border;
  for (int side = 0; side < 4; ++side) {
    q.Sides[side] = rtf.TypedSide(static_cast<TDVRTFSide>(side));
    if (q.Sides[side])
      q.SideBorders[side] = BorderRTF2DV(q.Sides[side]->BorderType, q.Sides[side]->WidthTw,
                                         side == rtf_side_Right || side == rtf_side_Bottom, pixelsPerTwip_);
  }
  // One side decides the paragraph's border: top, left, bottom, right.
  for (TDVRTFSide side : {rtf_side_Top, rtf_side_Left, rtf_side_Bottom, rtf_side_Right}) {
    if (!q.Sides[side]) continue;
    q.Border = q.SideBorders[side];
    q.Border.Color = q.Sides[side]->Color;
    break;
  }
  q.Border.VisibleBorders.SetValues(q.Sides[rtf_side_Left] != nullptr, q.Sides[rtf_side_Top] != nullptr,
                                    q.Sides[rtf_side_Right] != nullptr, q.Sides[rtf_side_Bottom] != nullptr);
  // The paragraph keeps its text where it was: the border's width widens
  // the distances the style stores.
  const int32_t total = q.Border.GetTotalWidth();
  q.SpaceBefore += total;
  q.SpaceAfter += total;
  q.LeftIndent += total;
  q.RightIndent += total;
  return q;
}

// ---- text styles ----

void TDVRTFStyleMatcher::IndexTextStyle(int32_t styleNo) {
  const TFontInfo& s = dvStyle_.TextStyles()[styleNo];
  if (s.StyleEx & ~dvfsAllCaps) return;  // never an exact match
  textIndex_[TextKey(LowerAscii(s.FontName), s.Size, s.Color, s.BackColor, s.Style,
                     (s.StyleEx & dvfsAllCaps) != 0, s.CharScale, s.CharSpacing, ScriptOf(s.VShift), s.Unicode,
                     s.Jump)]
      .push_back(styleNo);
}

bool TDVRTFStyleMatcher::TextStyleMatches(int32_t styleNo, const TDVRTFTextQuery& query) const {
  const TFontInfo& s = dvStyle_.TextStyles()[styleNo];
  return s.Charset == query.Charset || s.Charset == 1;
}

int32_t TDVRTFStyleMatcher::FindStyleNo(const TDVRTFTextQuery& q, bool emptyFontTable) {
  if (emptyFontTable) return 0;
  if (!textIndexed_) {
    for (int i = 0; i < dvStyle_.TextStyles().Count(); ++i) IndexTextStyle(i);
    textIndexed_ = true;
  }
  int32_t best = -1;
  const auto search = [&](bool jump) {
    const auto it = textIndex_.find(TextKey(q.LowerName, q.Size, q.Color, q.BackColor, q.Style, q.AllCaps,
                                            q.CharScale, q.SpacingPx, q.Script, q.Unicode, jump));
    if (it == textIndex_.end()) return;
    for (int32_t styleNo : it->second)
      if (TextStyleMatches(styleNo, q)) {
        if (best < 0 || styleNo < best) best = styleNo;
        break;
      }
  };
  search(q.Hypertext);
  if (!q.Hypertext && useHypertextStyles_) search(true);
  return best;
}

int32_t TDVRTFStyleMatcher::FindBestStyleNo(const TDVRTFTextQuery& q) {
  if (const auto it = bestText_.find(q); it != bestText_.end()) return it->second;
  const TFontInfos& styles = dvStyle_.TextStyles();
  int32_t best = -1;
  int64_t bestScore = 0;
  for (int i = 0; i < styles.Count(); ++i) {
    const TFontInfo& s = styles[i];
    if (s.Unicode != q.Unicode) continue;
    if (q.Hypertext ? !s.Jump : (s.Jump && !useHypertextStyles_)) continue;
    if (allow_ && !allow_(i, true)) continue;
    int64_t score = 0;
    if (LowerAscii(s.FontName) == q.LowerName) score += DVSMW_FONTNAME;
    if (s.Charset == q.Charset)
      score += DVSMW_FONTCHARSET;
    else if (s.Charset == 1 || q.Charset == 1)
      score += DVSMW_FONTCHARSET / 4;
    score += DV_CompareInts(q.Size, s.Size, DVSMW_FONTSIZE);
    score += DV_CompareColors(s.Color, q.Color, DVSMW_EACHRGBCOLOR, DVSMW_COLORSET);
    score += DV_CompareColors(s.BackColor, q.BackColor, DVSMW_EACHRGBBCOLOR, DVSMW_BCOLORSET);
    if (((s.StyleEx & dvfsAllCaps) != 0) == q.AllCaps) score += DVSMW_ALLCAPS;
    for (uint8_t flag : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
      if ((s.Style & flag) == (q.Style & flag)) score += DVSMW_FONTEACHSTYLE;
    if ((s.Style == 0) == (q.Style == 0)) score += DVSMW_FONTSTYLESET;
    score += Round((1.0 - std::fabs(double(s.CharScale) - q.CharScale) / 100) * DVSMW_CHARSCALE);
    score += DV_CompareInts(q.SpacingPx, s.CharSpacing, DVSMW_FONTSIZE);
    if (ScriptOf(s.VShift) == q.Script) score += DVSMW_VSHIFT;
    if (s.StyleEx & ~dvfsAllCaps) score /= 4;
    if (best < 0 || score > bestScore) {
      best = i;
      bestScore = score;
    }
  }
  if (best < 0) best = 0;
  bestText_.emplace(q, best);
  return best;
}

int32_t TDVRTFStyleMatcher::AddStyle(const TDVRTFTextQuery& q) {
  TFontInfo& s = dvStyle_.TextStyles().Add();
  s.Standard = false;
  s.Jump = q.Hypertext;
  s.Unicode = q.Unicode;
  s.Style = q.Style;
  s.Size = q.Size;
  s.Color = q.Color;
  s.BackColor = q.BackColor;
  if (!q.FontName.empty()) s.FontName = q.FontName;
  s.Charset = q.Charset;
  s.CharScale = q.CharScale;
  s.CharSpacing = q.SpacingPx;
  s.VShift = q.Script == rtf_ss_Subscript ? -25 : q.Script == rtf_ss_Superscript ? 45 : 0;
  if (q.AllCaps) s.StyleEx |= dvfsAllCaps;
  const int32_t styleNo = dvStyle_.TextStyles().Count() - 1;
  if (textIndexed_) IndexTextStyle(styleNo);
  return styleNo;
}

// ---- paragraph styles ----

void TDVRTFStyleMatcher::IndexParaStyle(int32_t paraNo) {
  paraIndex_[ParaKeyOf(dvStyle_.ParaStyles()[paraNo])].push_back(paraNo);
}

bool TDVRTFStyleMatcher::ParaStyleMatches(int32_t paraNo, const TDVRTFParaQuery& q) const {
  const TParaInfo& s = dvStyle_.ParaStyles()[paraNo];
  if (!q.MultiSpacing) return true;
  if (s.LineSpacingType == dvlsPercent)
    return s.LineSpacing == q.LineSpacingPercent || (s.LineSpacing < 100 && q.LineSpacingPercent < 100);
  return s.LineSpacing <= 1 && q.LineSpacingPercent <= 100;
}

int32_t TDVRTFStyleMatcher::FindParaNo(const TDVRTFParaQuery& q) {
  if (!paraIndexed_) {
    for (int i = 0; i < dvStyle_.ParaStyles().Count(); ++i) IndexParaStyle(i);
    paraIndexed_ = true;
  }
  const auto it = paraIndex_.find(ParaKeyOf(q));
  if (it == paraIndex_.end()) return -1;
  for (int32_t paraNo : it->second)
    if (ParaStyleMatches(paraNo, q)) return paraNo;
  return -1;
}

int32_t TDVRTFStyleMatcher::ParaScore(int32_t paraNo, const TDVRTFParaQuery& q) const {
  const TParaInfo& s = dvStyle_.ParaStyles()[paraNo];
  int64_t score = 0;
  if (static_cast<uint8_t>(s.Alignment) == q.Alignment) score += DVSMW_ALIGNMENT;
  score += DV_CompareInts(q.FirstIndent, s.FirstIndent, DVSMW_INDENT);
  score += DV_CompareInts(q.LeftIndent, s.LeftIndent, DVSMW_INDENT);
  score += DV_CompareInts(q.RightIndent, s.RightIndent, DVSMW_INDENT);
  score += DV_CompareInts(q.SpaceBefore, s.SpaceBefore, DVSMW_INDENT);
  score += DV_CompareInts(q.SpaceAfter, s.SpaceAfter, DVSMW_INDENT);
  score += DV_CompareColors(s.Background().Color, q.Background, DVSMW_EACHRGBBCOLOR, DVSMW_BCOLORSET);
  if (q.MultiSpacing) {
    const int32_t percent = std::max(q.LineSpacingPercent, 100);
    if (s.LineSpacingType == dvlsPercent)
      score += DV_CompareInts(percent, s.LineSpacing, DVSMW_LINESPACING);
    else if (s.LineSpacing < 2 && percent < 101)
      score += DVSMW_LINESPACING;
    else if (s.LineSpacing >= 2)
      score -= 4 * DVSMW_LINESPACING;
  }
  const TDVBorder& border = s.Border();
  if (q.Border.Style == dvbNone) {
    if (border.Style == dvbNone) score += DVSMW_BORDERNOSIDE;
  } else {
    const bool shown[4] = {border.VisibleBorders.Left, border.VisibleBorders.Top, border.VisibleBorders.Right,
                           border.VisibleBorders.Bottom};
    for (int side = 0; side < 4; ++side) {
      const bool rtfHas = q.Sides[side] != nullptr;
      const bool styleHas = border.Style != dvbNone;
      if (shown[side]) {
        if (styleHas && rtfHas) {
          const TDVBorder& rtf = q.SideBorders[side];
          score += DVSMW_BORDERSIDE + DV_CompareInts(rtf.Width, border.Width, DVSMW_WIDTH) +
                   DV_CompareInts(rtf.InternalWidth, border.InternalWidth, DVSMW_WIDTH) +
                   DV_CompareColors(border.Color, q.Sides[side]->Color, DVSMW_EACHRGBCOLOR, DVSMW_COLORSET);
          if (rtf.Style == border.Style) score += DVSMW_BORDERSTYLE;
        }
      } else if (!(styleHas && rtfHas)) {
        score += DVSMW_BORDERNOSIDE;
      }
    }
  }
  return static_cast<int32_t>(std::clamp<int64_t>(score, INT32_MIN, INT32_MAX));
}

int32_t TDVRTFStyleMatcher::FindBestParaNo(const TDVRTFParaQuery& q) {
  int32_t best = -1, bestScore = 0;
  for (int i = 0; i < dvStyle_.ParaStyles().Count(); ++i) {
    if (allow_ && !allow_(i, false)) continue;
    const int32_t score = ParaScore(i, q);
    if (best < 0 || score > bestScore) {
      best = i;
      bestScore = score;
    }
  }
  return std::max(best, 0);
}

int32_t TDVRTFStyleMatcher::AddPara(const TDVRTFParaQuery& q) {
  TParaInfo& s = dvStyle_.ParaStyles().Add();
  s.Standard = false;
  s.Alignment = static_cast<TDVAlignment>(q.Alignment);
  s.FirstIndent = q.FirstIndent;
  s.LeftIndent = q.LeftIndent;
  s.RightIndent = q.RightIndent;
  s.SpaceBefore = q.SpaceBefore;
  s.SpaceAfter = q.SpaceAfter;
  if (q.MultiSpacing) s.LineSpacing = q.LineSpacingPercent;
  s.Background().Color = q.Background;
  if (q.Border.Style != dvbNone) s.SetBorder(q.Border);
  const int32_t paraNo = dvStyle_.ParaStyles().Count() - 1;
  if (paraIndexed_) IndexParaStyle(paraNo);
  return paraNo;
}

int32_t TDVRTFStyleMatcher::EmptyCellParaNo(uint8_t alignment) {
  TParaInfos& styles = dvStyle_.ParaStyles();
  const TParaInfo& base = styles[0];
  const TDVAlignment align = static_cast<TDVAlignment>(alignment);
  if (base.Alignment == align && base.FirstIndent == 0 && base.LeftIndent == 0 && base.RightIndent == 0) return 0;
  TParaInfo wanted;
  wanted.Assign(base);
  wanted.FirstIndent = wanted.LeftIndent = wanted.RightIndent = 0;
  wanted.Alignment = align;
  const int32_t found = styles.FindSuchStyle(0, wanted, DVAllParaInfoProperties);
  if (found >= 0) return found;
  styles.Add().Assign(wanted);
  const int32_t paraNo = styles.Count() - 1;
  if (paraIndexed_) IndexParaStyle(paraNo);
  return paraNo;
}

}  // namespace quillet
