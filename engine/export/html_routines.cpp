#include "engine/export/html_routines.h"

#include <algorithm>
#include <array>

#include "engine/base/shared_routines.h"
#include "engine/style/text_style.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

// Calls single(out, c) for every single-byte character and copies every
// multi-byte character of the code page whole.
template <class SingleByte>
std::string MapChars(std::string_view text, int codePage, SingleByte single) {
  const int cp = ResolveCodePage(codePage);
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size();) {
    const size_t next = std::clamp(CharNextEx(cp, text, i), i + 1, text.size());
    if (next - i > 1)
      out.append(text.substr(i, next - i));
    else
      single(out, text[i]);
    i = next;
  }
  return out;
}

void ReplaceSpacePairs(std::string& s) {
  // One pass leaves two plain spaces together after an odd run ("&nbsp;  ");
  // a second pass takes those. Each pass only shortens the runs.
  for (bool changed = true; changed;) {
    changed = false;
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == ' ' && i + 1 < s.size() && s[i + 1] == ' ') {
        out += "&nbsp; ";
        ++i;
        changed = true;
      } else {
        out += s[i];
      }
    }
    s = std::move(out);
  }
}

struct StyleTag {
  uint8_t flag;
  const char* open;
  const char* close;
};
constexpr std::array<StyleTag, 4> kStyleTags = {{
    {fsBold, "<B>", "</B>"},
    {fsItalic, "<I>", "</I>"},
    {fsUnderline, "<U>", "</U>"},
    {fsStrikeOut, "<S>", "</S>"},
}};

std::string OpenStyles(uint8_t styles) {
  std::string out;
  for (const StyleTag& t : kStyleTags)
    if (styles & t.flag) out += t.open;
  return out;
}

std::string CloseStyles(uint8_t styles) {
  std::string out;
  for (auto t = kStyleTags.rbegin(); t != kStyleTags.rend(); ++t)
    if (styles & t->flag) out += t->close;
  return out;
}

std::string FontAttributes(const TFontInfo& ts, const TFontInfo& normalts, bool relative) {
  std::string attrs;
  if (!relative || ts.Size != normalts.Size) attrs += " size=" + std::to_string(DV_GetHTMLFontSize(ts.Size));
  if (!relative || ts.Color != normalts.Color) {
    const std::string color = DV_GetHTMLRGBStr(ts.Color);
    if (!color.empty()) attrs += " color=" + color;
  }
  if (!relative || !DV_SameFontName(ts.FontName, normalts.FontName))
    attrs += " face=\"" + DV_MakeHTMLAttrStr(ts.FontName, CharsetToCodePage(ts.Charset)) + "\"";
  return attrs;
}

uint8_t FontStyles(const TFontInfo& f) { return f.Style & (fsBold | fsItalic | fsUnderline | fsStrikeOut); }

// The normal style's tags that must close for ts: the one ts lacks that was
// opened first, and every one opened after it (they nest inside it).
uint8_t NormalToClose(uint8_t own, uint8_t normal) {
  for (size_t k = 0; k < kStyleTags.size(); ++k) {
    if ((normal & kStyleTags[k].flag) && !(own & kStyleTags[k].flag)) {
      uint8_t closing = 0;
      for (size_t j = k; j < kStyleTags.size(); ++j) closing |= kStyleTags[j].flag;
      return normal & closing;
    }
  }
  return 0;
}

// What a style's tags consist of: the FONT attributes, the font styles of
// its own to open inside the FONT tag, and the normal style's font styles
// closed before it and reopened after it.
struct TFontTagParts {
  std::string attrs;
  uint8_t own = 0, normalClosed = 0;
};

TFontTagParts FontTagParts(const TFontInfo& ts, const TFontInfo& normalts, TFontTagMode mode) {
  const bool relative = mode != ftmAbsolute;
  const uint8_t own = FontStyles(ts), normal = relative ? FontStyles(normalts) : 0;
  TFontTagParts parts;
  parts.attrs = FontAttributes(ts, normalts, relative);
  parts.normalClosed = mode == ftmRelative ? NormalToClose(own, normal) : 0;
  // What the normal style has and keeps is not opened again.
  parts.own = own & ~(normal & ~parts.normalClosed);
  return parts;
}

}  // namespace

std::string DV_MakeHTMLStr(std::string_view text, bool specialCode, bool noEmptyLines, int codePage) {
  if (text.empty()) return noEmptyLines ? "&nbsp;" : std::string();
  if (specialCode) return std::string(text);
  std::string out = MapChars(text, codePage, [](std::string& o, char c) {
    switch (c) {
      case '&': o += "&amp;"; break;
      case '<': o += "&lt;"; break;
      case '>': o += "&gt;"; break;
      default: o += c;
    }
  });
  ReplaceSpacePairs(out);
  return out;
}

std::string DV_MakeHTMLAttrStr(std::string_view text, int codePage) {
  return MapChars(text, codePage, [](std::string& o, char c) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '&': o += "&amp;"; break;
      case '<': o += "&lt;"; break;
      case '>': o += "&gt;"; break;
      case '"': o += "&quot;"; break;
      case '\0': break;
      default:
        if (u < 0x20 || u == 0x7F)
          o += "&#" + std::to_string(u) + ";";
        else
          o += c;
    }
  });
}

std::string DV_GetHTMLCharsetName(int charset) {
  switch (charset) {
    case SHIFTJIS_CHARSET: return "shift_jis";
    case GB2312_CHARSET: return "gb2312";
    case CHINESEBIG5_CHARSET: return "big5";
    case GREEK_CHARSET: return "Windows-1253";
    case TURKISH_CHARSET: return "Windows-1254";
    case VIETNAMESE_CHARSET: return "Windows-1258";
    case HEBREW_CHARSET: return "Windows-1255";
    case ARABIC_CHARSET: return "Windows-1256";
    case BALTIC_CHARSET: return "Windows-1257";
    case RUSSIAN_CHARSET: return "Windows-1251";
    case THAI_CHARSET: return "Windows-874";
    case EASTEUROPE_CHARSET: return "Windows-1250";
    case OEM_CHARSET: return "ascii";
    default: return {};
  }
}

int DV_GetHTMLFontSize(int32_t points) {
  if (points < 9) return 1;
  if (points <= 10) return 2;
  if (points <= 12) return 3;
  if (points <= 14) return 4;
  if (points <= 18) return 5;
  if (points <= 24) return 6;
  return 7;
}

std::string OpenFontTag(const TFontInfo& ts, const TFontInfo& normalts, TFontTagMode mode) {
  const TFontTagParts parts = FontTagParts(ts, normalts, mode);
  std::string out = CloseStyles(parts.normalClosed);
  if (!parts.attrs.empty()) out += "<FONT" + parts.attrs + ">";
  out += OpenStyles(parts.own);
  if (ts.VShift < 0)
    out += "<SUB>";
  else if (ts.VShift > 0)
    out += "<SUP>";
  return out;
}

std::string CloseFontTag(const TFontInfo& ts, const TFontInfo& normalts, TFontTagMode mode) {
  const TFontTagParts parts = FontTagParts(ts, normalts, mode);
  std::string out;
  if (ts.VShift < 0)
    out += "</SUB>";
  else if (ts.VShift > 0)
    out += "</SUP>";
  out += CloseStyles(parts.own);
  if (!parts.attrs.empty()) out += "</FONT>";
  out += OpenStyles(parts.normalClosed);
  return out;
}

}  // namespace quillet
