#include "engine/style/text_style.h"

#include <algorithm>
#include <limits>

#include "engine/base/shared_routines.h"
#include "engine/style/similarity_weights.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "engine/text/upper_case.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

int32_t CollectionPixelsPerInch(const TFontInfo& style) {
  const auto* infos = dynamic_cast<const TFontInfos*>(style.Collection());
  return infos ? infos->PixelsPerInch : 0;
}

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool DV_SameFontName(std::string_view a, std::string_view b) { return AnsiSameText(a, b); }

std::string DV_ReturnCapitalized(const std::string& s, const TFontInfo& textStyle) {
  if (!(textStyle.StyleEx & dvfsAllCaps)) return s;
  if (textStyle.Unicode) {
    std::u16string units = DVU_Units(s);
    for (char16_t& u : units) u = DVU_UpperCaseUnit(u);
    // An odd last byte is not a unit and stays as it was.
    return DVU_UnitBytes(units) + s.substr(units.size() * 2);
  }
  // Character by character in the style's code page; a character changes
  // only when its upper case takes as many bytes, so offsets stay valid and
  // no double-byte character is split.
  const int cp = CharsetToCodePage(textStyle.Charset);
  std::string result = s;
  const std::u16string wide = MultiByteToWideChar(cp, s);
  const bool unitPerChar = wide.size() == CharCountEx(cp, s);
  size_t k = 0;
  for (size_t i = 0; i < s.size(); ++k) {
    const size_t next = CharNextEx(cp, s, i);
    const auto b = static_cast<uint8_t>(s[i]);
    if (next - i == 1 && b < 0x80) {
      result[i] = AsciiUpper(s[i]);
    } else if (unitPerChar) {
      const char16_t upper = DVU_UpperCaseUnit(wide[k]);
      if (upper != wide[k]) {
        bool usedDefault = false;
        const std::string bytes = WideCharToMultiByte(cp, std::u16string_view(&upper, 1), &usedDefault);
        if (!usedDefault && bytes.size() == next - i) result.replace(i, next - i, bytes);
      }
    }
    i = next;
  }
  return result;
}

// ---------------------------------------------------------------- TFontInfo

void TFontInfo::Assign(const TCustomDVInfo& source) {
  TCustomDVInfo::Assign(source);
  const auto* f = dynamic_cast<const TFontInfo*>(&source);
  if (!f) return;
  Charset = f->Charset;
  FontName = f->FontName;
  Size = f->Size;
  Style = f->Style;
  VShift = f->VShift;
  Color = f->Color;
  BackColor = f->BackColor;
  HoverBackColor = f->HoverBackColor;
  HoverColor = f->HoverColor;
  StyleEx = f->StyleEx;
  Jump = f->Jump;
  JumpCursor = f->JumpCursor;
  CharScale = f->CharScale;
  CharSpacing = f->CharSpacing;
  NextStyleNo = f->NextStyleNo;
  BiDiMode = f->BiDiMode;
  Unicode = f->Unicode;
  Protection = f->Protection;
  Options = f->Options;
}

void TFontInfo::Assign(const TFont& font) {
  FontName = font.Name;
  Size = font.GetSize();
  Color = font.Color;
  Style = font.Style;
  Charset = font.Charset;
}

void TFontInfo::AssignTo(TFont& font) const {
  font.Name = FontName;
  font.SetSize(Size);
  font.Color = Color;
  font.Style = Style;
  // A Unicode style is drawn through UTF-16 calls: the charset means nothing.
  if (!Unicode) font.Charset = Charset;
}

void TFontInfo::AssignToLogFont(TLogFont& logFont, const TCanvas& canvas) const {
  logFont = TLogFont{};
  int32_t ppi = CollectionPixelsPerInch(*this);
  if (ppi == 0) ppi = canvas.Font().PixelsPerInch;
  logFont.lfHeight = -MulDiv(Size, ppi, 72);
  logFont.lfWeight = (Style & fsBold) ? 700 : 400;
  logFont.lfItalic = (Style & fsItalic) != 0;
  logFont.lfUnderline = (Style & fsUnderline) != 0;
  logFont.lfStrikeOut = (Style & fsStrikeOut) != 0;
  logFont.lfCharSet = Charset;
  logFont.lfFaceName = FontName;
}

void TFontInfo::ReadLegacySingleSymbols(bool value) {
  if (value) Protection |= dvprStyleProtect | dvprDoNotAutoSwitch;
}

bool TFontInfo::IsSimpleEqual(const TCustomDVInfo& value) const {
  const auto* f = dynamic_cast<const TFontInfo*>(&value);
  return f && IsEqual(*f, DVFontInfoProp(dvfiBaseStyleNo));
}

bool TFontInfo::IsEqual(const TFontInfo& v, TDVFontInfoProperties ignoreList) const {
  auto cmp = [ignoreList](TDVFontInfoProperty p, bool equal) { return (ignoreList & DVFontInfoProp(p)) || equal; };
  auto sameBit = [](unsigned a, unsigned b, unsigned bit) { return (a & bit) == (b & bit); };
  if (!(cmp(dvfiSize, Size == v.Size) && cmp(dvfiCharset, Charset == v.Charset) &&
        cmp(dvfiUnicode, Unicode == v.Unicode) && cmp(dvfiBold, sameBit(Style, v.Style, fsBold)) &&
        cmp(dvfiItalic, sameBit(Style, v.Style, fsItalic)) &&
        cmp(dvfiUnderline, sameBit(Style, v.Style, fsUnderline)) &&
        cmp(dvfiStrikeout, sameBit(Style, v.Style, fsStrikeOut)) &&
        cmp(dvfiOverline, sameBit(StyleEx, v.StyleEx, dvfsOverline)) &&
        cmp(dvfiAllCaps, sameBit(StyleEx, v.StyleEx, dvfsAllCaps)) &&
        cmp(dvfiFontName, DV_SameFontName(FontName, v.FontName)) && cmp(dvfiVShift, VShift == v.VShift) &&
        cmp(dvfiColor, Color == v.Color) && cmp(dvfiBackColor, BackColor == v.BackColor) &&
        cmp(dvfiJump, Jump == v.Jump)))
    return false;
  if (Jump && !(cmp(dvfiHoverColor, HoverColor == v.HoverColor) &&
                cmp(dvfiHoverBackColor, HoverBackColor == v.HoverBackColor) &&
                cmp(dvfiJumpCursor, JumpCursor == v.JumpCursor)))
    return false;
  return cmp(dvfiNextStyleNo, NextStyleNo == v.NextStyleNo) && cmp(dvfiProtection, Protection == v.Protection) &&
         cmp(dvfiHTMLCode, sameBit(Options, v.Options, dvteoHTMLCode)) &&
         cmp(dvfiRTFCode, sameBit(Options, v.Options, dvteoRTFCode)) && cmp(dvfiCharScale, CharScale == v.CharScale) &&
         cmp(dvfiCharSpacing, CharSpacing == v.CharSpacing) && cmp(dvfiBiDiMode, BiDiMode == v.BiDiMode) &&
         cmp(dvfiBaseStyleNo, BaseStyleNo == v.BaseStyleNo);
}

int32_t TFontInfo::SimilarityValue(const TCustomDVInfo& value) const {
  const auto* other = dynamic_cast<const TFontInfo*>(&value);
  if (!other) return 0;
  const TFontInfo& o = *other;
  // Summed in 64 bits: single terms may be near the int32 limits.
  int64_t r = 0;
  r += DV_CompareInts(o.Size, Size, DVSMW_FONTSIZE);
  r += DV_CompareInts(o.VShift, VShift, DVSMW_VSHIFTRATIO);
  r += DV_CompareInts(o.CharScale, CharScale, DVSMW_CHARSCALE);
  r += DV_CompareInts(o.CharSpacing, CharSpacing, DVSMW_CHARSPACING);
  r += DV_CompareColors(o.Color, Color, DVSMW_EACHRGBCOLOR, DVSMW_COLORSET);
  r += DV_CompareColors(o.BackColor, BackColor, DVSMW_EACHRGBBCOLOR, DVSMW_BCOLORSET);
  if (o.BiDiMode == BiDiMode) r += DVSMW_BIDIMODE;
  if (DV_SameFontName(o.FontName, FontName)) r += DVSMW_FONTNAME;
  for (TFontStyle fs : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
    if ((o.Style & fs) == (Style & fs)) r += DVSMW_FONTEACHSTYLE;
  if ((o.StyleEx & dvfsOverline) == (StyleEx & dvfsOverline)) r += DVSMW_OVERLINE;
  if ((o.StyleEx & dvfsAllCaps) == (StyleEx & dvfsAllCaps)) r += DVSMW_ALLCAPS;
  const bool plain = Style == 0 && StyleEx == 0, otherPlain = o.Style == 0 && o.StyleEx == 0;
  if (plain == otherPlain) r += DVSMW_FONTSTYLESET;
  if (Jump && o.Jump) {
    if (o.JumpCursor == JumpCursor) r += DVSMW_CURSOR;
    // Integer division truncates toward zero, as the halves must.
    r += DV_CompareColors(o.HoverColor, HoverColor, DVSMW_EACHRGBCOLOR, DVSMW_COLORSET) / 2;
    r += DV_CompareColors(o.HoverBackColor, HoverBackColor, DVSMW_EACHRGBBCOLOR, DVSMW_BCOLORSET) / 2;
  }
  if (o.Protection != Protection) r -= DVSMW_PROTECTION;
  if ((o.Options & dvteoHTMLCode) == (Options & dvteoHTMLCode)) r += DVSMW_SPECIALCODE;
  if ((o.Options & dvteoRTFCode) == (Options & dvteoRTFCode)) r += DVSMW_SPECIALCODE;
  if (o.Charset == Charset)
    r += DVSMW_FONTCHARSET;
  else if (o.Charset == DEFAULT_CHARSET || Charset == DEFAULT_CHARSET)
    r += DVSMW_FONTCHARSET / 4;
  return ClampToInt32(r);
}

void TFontInfo::Apply(TCanvas& canvas, TDVBiDiMode defBiDiMode) const {
  TFont& font = canvas.Font();
  if (CharScale == 100) {
    font.Style = Style;
    const int32_t ppi = CollectionPixelsPerInch(*this);
    if (ppi != 0)
      font.Height = -MulDiv(Size, ppi, 72);
    else
      font.SetSize(Size);
    font.Name = FontName;
    font.Charset = Charset;
    // A scaled style before this one left a width in the font.
    font.Width = 0;
  } else {
    TLogFont lf;
    AssignToLogFont(lf, canvas);
    font.AssignLogFont(lf);
    int64_t average = canvas.GetTextMetrics().tmAveCharWidth;
    if (average <= 0) average = canvas.TextExtentA("x").cx;
    lf.lfWidth = ClampToInt32(average * CharScale / 100);
    font.AssignLogFont(lf);
  }
  const TDVBiDiMode mode = BiDiMode != dvbdUnspecified ? BiDiMode : defBiDiMode;
  switch (mode) {
    case dvbdLeftToRight:
      canvas.SetTextCharacterExtra(CharSpacing);
      canvas.SetTextAlign(TA_LEFT | TA_TOP);
      break;
    case dvbdRightToLeft:
      canvas.SetTextCharacterExtra(0);
      canvas.SetTextAlign(TA_RTLREADING);
      break;
    case dvbdUnspecified:
      canvas.SetTextCharacterExtra(CharSpacing);
      break;
  }
}

void TFontInfo::ApplyColor(TCanvas& canvas, const TDVStyle& dvStyle, TDVTextDrawStates drawState,
                           [[maybe_unused]] bool printing) const {
  TFont& font = canvas.Font();
  TBrush& brush = canvas.Brush();
  if (drawState & dvtsSelected) {
    const bool focused = (drawState & dvtsControlFocused) != 0;
    brush.Style = bsSolid;
    brush.Color = focused ? dvStyle.SelColor : dvStyle.InactiveSelColor;
    font.Color = focused ? dvStyle.SelTextColor : dvStyle.InactiveSelTextColor;
    if (font.Color == clNone) font.Color = Color;
  } else if (drawState & dvtsHover) {
    font.Color = dvStyle.GetHoverColorByColor(HoverColor);
    if (font.Color == clNone) font.Color = Color;
    brush.Color = HoverBackColor;
  } else {
    font.Color = Color;
    brush.Color = BackColor;
  }
  brush.Style = brush.Color != clNone ? bsSolid : bsClear;
}

void TFontInfo::Draw(std::string_view s, TCanvas& canvas, int32_t styleNo, int32_t spaceBefore, int32_t left,
                     int32_t top, int32_t width, int32_t height, TDVStyle& dvStyle, TDVTextDrawStates drawState,
                     bool printing, [[maybe_unused]] bool previewCorrection) const {
  bool textDrawn = false;
  if (printing) {
    if (canvas.Brush().Style != bsClear) {
      const TPenStyle penStyle = canvas.Pen().Style;
      canvas.Pen().Style = psClear;
      canvas.Rectangle(Bounds(left, top, width, height));
      canvas.Pen().Style = penStyle;
      canvas.Brush().Style = bsClear;
    }
    const int32_t extra = canvas.GetTextCharacterExtra();
    if (extra != 0) {
      // Printer fonts do not all honour the character extra: place every
      // character explicitly at its unspaced advance plus the extra.
      canvas.SetTextCharacterExtra(0);
      if (Unicode) {
        const std::u16string units = DVU_Units(s);
        const std::vector<int32_t> ends = canvas.TextExtentExW(units);
        std::vector<int32_t> advances(ends.size());
        for (size_t i = 0; i < ends.size(); ++i) {
          advances[i] = ends[i] - (i ? ends[i - 1] : 0);
          // A surrogate pair is one character: the extra goes after it once.
          const bool lowSurrogate = i > 0 && units[i] >= 0xDC00 && units[i] <= 0xDFFF && units[i - 1] >= 0xD800 &&
                                    units[i - 1] <= 0xDBFF;
          if (!lowSurrogate) advances[i] += extra;
        }
        canvas.TextOutWithAdvancesW(left + spaceBefore, top, units, advances);
      } else {
        // One advance per byte; the trail byte of a double-byte character
        // shares its lead byte's end, so the lead byte carries the character.
        const std::vector<int32_t> ends = canvas.TextExtentExA(s);
        const int cp = CharsetToCodePage(Charset);
        std::vector<int32_t> advances(ends.size());
        int32_t prev = 0;
        for (size_t i = 0; i < ends.size();) {
          size_t next = std::clamp(CharNextEx(cp, s, i), i + 1, ends.size());
          for (size_t j = i; j < next; ++j) {
            advances[j] = ends[j] - prev;
            prev = ends[j];
          }
          advances[i] += extra;
          i = next;
        }
        canvas.TextOutWithAdvancesA(left + spaceBefore, top, s, advances);
      }
      canvas.SetTextCharacterExtra(extra);
      textDrawn = true;
    }
  }
  if (!textDrawn) {
    if (Unicode)
      canvas.TextOutW(left + spaceBefore, top, DVU_Units(s));
    else
      canvas.TextOutA(left + spaceBefore, top, s);
  }
  if (!printing && spaceBefore != 0) {
    if ((drawState & dvtsSelected) && s.empty())
      dvStyle.ApplyStyleColor(canvas, styleNo, drawState & ~dvtsSelected, printing);
    if (canvas.Brush().Style != bsClear) canvas.FillRect(Bounds(left, top, spaceBefore, height));
  }
  canvas.Brush().Style = bsClear;
  const TPen pen = canvas.Pen();
  if (spaceBefore != 0 && (canvas.Font().Style & fsUnderline)) {
    const TTextMetric tm = canvas.GetTextMetrics();
    const int32_t y = top - tm.otmsUnderscorePosition + tm.tmAscent + tm.otmsUnderscoreSize / 2;
    canvas.Pen() = TPen{canvas.Font().Color, tm.otmsUnderscoreSize, psSolid, pmCopy};
    canvas.MoveTo(left, y);
    canvas.LineTo(left + spaceBefore + 1, y);
  }
  if (StyleEx & dvfsOverline) {
    canvas.Pen() = TPen{canvas.Font().Color, 1, psSolid, pmCopy};
    canvas.MoveTo(left, top);
    canvas.LineTo(left + width, top);
  }
  canvas.Pen() = pen;
}

// --------------------------------------------------------------- TFontInfos

int TFontInfos::FindSuchStyle(int baseStyle, const TFontInfo& style, TDVFontInfoProperties mask) const {
  const TDVFontInfoProperties ignore = DVAllFontInfoProperties & ~mask;
  if (IsValidIndex(baseStyle) && style.IsEqual(Items(baseStyle), ignore)) return baseStyle;
  for (int i = 0; i < Count(); ++i)
    if (i != baseStyle && style.IsEqual(Items(i), ignore)) return i;
  return -1;
}

int TFontInfos::FindStyleWithColor(int baseStyle, TColor color, TColor backColor) const {
  if (!IsValidIndex(baseStyle)) return -1;
  const TFontInfo& base = Items(baseStyle);
  if (base.Color == color && base.BackColor == backColor) return baseStyle;
  const TDVFontInfoProperties ignore = DVFontInfoProp(dvfiColor) | DVFontInfoProp(dvfiBackColor);
  for (int i = 0; i < Count(); ++i) {
    const TFontInfo& f = Items(i);
    if (i != baseStyle && f.Color == color && f.BackColor == backColor && base.IsEqual(f, ignore)) return i;
  }
  return -1;
}

int TFontInfos::FindStyleWithCharset(int baseStyle, uint8_t charset) const {
  if (!IsValidIndex(baseStyle)) return -1;
  const TFontInfo& base = Items(baseStyle);
  if (base.Charset == charset && !base.Unicode) return baseStyle;
  const TDVFontInfoProperties ignore = DVFontInfoProp(dvfiCharset) | DVFontInfoProp(dvfiUnicode);
  for (int i = 0; i < Count(); ++i) {
    const TFontInfo& f = Items(i);
    if (i != baseStyle && !f.Unicode && f.Charset == charset && base.IsEqual(f, ignore)) return i;
  }
  return -1;
}

std::vector<std::vector<int>> TFontInfos::MapCandidateGroups(const TCustomDVInfo& sourceStyle) const {
  const auto* source = dynamic_cast<const TFontInfo*>(&sourceStyle);
  if (!source) return TCustomDVInfos::MapCandidateGroups(sourceStyle);
  std::vector<std::vector<int>> groups(4);
  for (int i = 0; i < Count(); ++i) {
    const TFontInfo& f = Items(i);
    const bool sameJump = f.Jump == source->Jump, sameUnicode = f.Unicode == source->Unicode;
    if (sameJump && sameUnicode) groups[0].push_back(i);
    if (sameJump) groups[1].push_back(i);
    if (sameUnicode) groups[2].push_back(i);
    groups[3].push_back(i);
  }
  return groups;
}

}  // namespace quillet
