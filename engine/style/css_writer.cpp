// The style sheet written as CSS for HTML output: text styles as BODY/TABLE,
// SPAN.DVTSn and A.DVTSn rules, paragraph styles as P and P.DVPSn rules.
#include <algorithm>
#include <string>
#include <string_view>

#include "engine/base/shared_routines.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

class CssOut {
 public:
  explicit CssOut(TStream& stream) : stream_(stream) {}
  void Write(const std::string& s) { stream_.WriteString(s); }
  void WriteLn(const std::string& s) { stream_.WriteString(s + "\r\n"); }

 private:
  TStream& stream_;
};

std::string Num(int64_t v) { return std::to_string(v); }

// Names are document text: they are stepped by character in the document
// code page so that the bytes of a double-byte character are never taken
// for, or separated by, the ASCII characters that are escaped.
template <class SingleByte>
std::string MapNameChars(std::string_view name, int codePage, SingleByte single) {
  std::string out;
  for (size_t i = 0; i < name.size();) {
    const size_t next = std::clamp(CharNextEx(codePage, name, i), i + 1, name.size());
    const auto c = static_cast<unsigned char>(name[i]);
    if (next - i > 1)
      out.append(name.substr(i, next - i));
    else if (c >= 0x20 && c != 0x7F)  // control characters (CR, LF, ...) are dropped
      single(out, static_cast<char>(c));
    i = next;
  }
  return out;
}

// Text for a /* */ comment: "*/" would end the comment and "</" could end an
// HTML style element around the sheet, so both are split by a space.
std::string CommentText(std::string_view name, int codePage) {
  return MapNameChars(name, codePage, [](std::string& out, char c) {
    if (c == '/' && !out.empty() && (out.back() == '*' || out.back() == '<')) out += ' ';
    out += c;
  });
}

// Text inside a double-quoted CSS string: quotes and backslashes are escaped,
// "<" is written as a CSS escape for the same reason as above.

std::string Html(TColor color) { return DV_GetHTMLRGBStr(color); }

std::string VerticalAlign(const TFontInfo& f) { return f.VShift > 0 ? "super" : f.VShift < 0 ? "sub" : ""; }

std::string TextDecoration(const TFontInfo& f) {
  std::string d;
  auto add = [&d](const char* word) { d += d.empty() ? word : std::string(" ") + word; };
  if (f.Style & fsUnderline) add("underline");
  if (f.Style & fsStrikeOut) add("line-through");
  if (f.StyleEx & dvfsOverline) add("overline");
  return d.empty() ? "none" : d;
}

bool HasBorder(const TParaInfo& p) { return p.Border().Style != dvbNone && p.Border().Color != clNone; }

int64_t BorderWidth(const TDVBorder& b) {
  const int64_t w = b.Width, iw = b.InternalWidth;
  switch (b.Style) {
    case dvbNone: return 0;
    case dvbSingle: return w;
    case dvbDouble: return w + iw;
    case dvbTriple: return w + 2 * iw;
    case dvbThickInside:
    case dvbThickOutside: return 3 * w / 2 + iw;
  }
  return 0;
}

const char* BorderStyle(TDVBorderStyle s) {
  switch (s) {
    case dvbNone: return "none";
    case dvbSingle: return "solid";
    default: return "double";
  }
}

const char* AlignmentName(TDVAlignment a) {
  switch (a) {
    case dvaLeft: return "left";
    case dvaRight: return "right";
    case dvaCenter: return "center";
    case dvaJustify: return "justify";
  }
  return "left";
}

}  // namespace

std::string DV_GetCSSString(std::string_view name, int codePage) {
  return MapNameChars(name, codePage, [](std::string& out, char c) {
    if (c == '"' || c == '\\')
      out += '\\', out += c;
    else if (c == '<')
      out += "\\3C ";
    else
      out += c;
  });
}

void TDVStyle::SaveCSSToStream(TStream& stream, TDVSaveCSSOptions options) const {
  CssOut out(stream);
  const int cp = ResolveCodePage(DefCodePage);
  const bool onlyDifference = (options & dvcssOnlyDifference) != 0;
  const TFontInfos& texts = textStyles_;
  const TParaInfos& paras = paraStyles_;

  out.WriteLn("/*----------Text Styles----------*/");
  if (texts.Count() > 0) out.WriteLn("HR { color: " + Html(texts[0].Color) + "}");
  bool bodyStyle0 = false;
  for (int i = 0; i < texts.Count(); ++i) {
    const TFontInfo& f = texts[i];
    const std::string name = CommentText(f.StyleName, cp);
    if (i == 0 && !f.Jump && f.BackColor == clNone) {
      bodyStyle0 = true;
      out.WriteLn("BODY, TABLE /* " + name + " */");
    } else if (!f.Jump) {
      out.WriteLn("SPAN.DVTS" + Num(i) + " /* " + name + " */");
    } else {
      out.WriteLn("A.DVTS" + Num(i) + ", SPAN.DVTS" + Num(i) + " /* " + name + " */");
    }
    out.WriteLn("{");
    const TFontInfo* b = nullptr;
    if (onlyDifference && texts.IsValidIndex(f.BaseStyleNo))
      b = &texts[f.BaseStyleNo];
    else if (i > 0 && bodyStyle0)
      b = &texts[0];

    if (!b || b->Size != f.Size) out.WriteLn("  font-size: " + Num(f.Size) + "pt;");
    if (!b || !DV_SameFontName(b->FontName, f.FontName))
      out.WriteLn("  font-family: \"" + DV_GetCSSString(f.FontName, cp) + "\";");
    if (!b || (b->Style & fsItalic) != (f.Style & fsItalic))
      out.WriteLn(std::string("  font-style: ") + ((f.Style & fsItalic) ? "italic" : "normal") + ";");
    if (!b || (b->Style & fsBold) != (f.Style & fsBold))
      out.WriteLn(std::string("  font-weight: ") + ((f.Style & fsBold) ? "bold" : "normal") + ";");
    if (!b || b->Color != f.Color) out.WriteLn("  color: " + Html(f.Color) + ";");
    if (b ? b->CharSpacing != f.CharSpacing : f.CharSpacing != 0)
      out.WriteLn("  letter-spacing: " + Num(f.CharSpacing) + "px;");
    const bool caps = (f.StyleEx & dvfsAllCaps) != 0, baseCaps = b && (b->StyleEx & dvfsAllCaps);
    if (caps && !baseCaps) out.WriteLn("  text-transform: uppercase;");
    if (!caps && baseCaps) out.WriteLn("  text-transform: none;");
    if (b ? b->BackColor != f.BackColor : (i != 0 || f.BackColor != clNone))
      out.WriteLn("  background-color: " + (f.BackColor == clNone ? std::string("transparent") : Html(f.BackColor)) +
                  ";");
    const std::string va = VerticalAlign(f);
    // Back to the baseline where the base is raised or lowered: an empty
    // value would be no CSS at all.
    if (b ? VerticalAlign(*b) != va : !va.empty())
      out.WriteLn("  vertical-align: " + (va.empty() ? std::string("baseline") : va) + ";");
    const std::string deco = TextDecoration(f);
    if (!b || TextDecoration(*b) != deco) out.WriteLn("  text-decoration: " + deco + ";");
    out.WriteLn("}");

    if (f.Jump) {
      const TColor hover = GetHoverColorByColor(f.HoverColor);
      if (hover != clNone || f.HoverBackColor != clNone) {
        const bool baseJump = b && b->Jump;
        out.Write("A.DVTS" + Num(i) + ":hover {");
        if (hover != clNone && (!baseJump || GetHoverColorByColor(b->HoverColor) != hover))
          out.Write(" color: " + Html(hover) + ";");
        if (f.HoverBackColor != clNone && (!baseJump || b->HoverBackColor != f.HoverBackColor))
          out.Write(" background-color: " + Html(f.HoverBackColor) + ";");
        out.WriteLn(" }");
      }
    }
  }

  out.WriteLn("/*----------Para Styles----------*/");
  for (int i = 0; i < paras.Count(); ++i) {
    const TParaInfo& p = paras[i];
    const std::string name = CommentText(p.StyleName, cp);
    out.WriteLn(i == 0 ? "P /* " + name + " */" : "P.DVPS" + Num(i) + "  /* " + name + " */");
    out.WriteLn("{");
    const TParaInfo* b = nullptr;
    if (onlyDifference && paras.IsValidIndex(p.BaseStyleNo))
      b = &paras[p.BaseStyleNo];
    else if (i > 0)
      b = &paras[0];

    if (b ? b->Alignment != p.Alignment : !(p.Alignment == dvaLeft && (options & dvcssIgnoreLeftAlignment)))
      out.WriteLn(std::string("  text-align: ") + AlignmentName(p.Alignment) + ";");
    if (!b || b->FirstIndent != p.FirstIndent) out.WriteLn("  text-indent: " + Num(p.FirstIndent) + "px;");
    if (p.LineSpacingType == dvlsPercent) {
      const int32_t basePercent = b && b->LineSpacingType == dvlsPercent ? b->LineSpacing : 100;
      if (p.LineSpacing != basePercent) out.WriteLn("  line-height: " + Num(p.LineSpacing) + "%;");
    } else if (b && b->LineSpacingType == dvlsPercent && b->LineSpacing != 100) {
      out.WriteLn("  line-height: normal;");
    }
    const bool noWrap = (p.Options & dvpaoNoWrap) != 0, baseNoWrap = b && (b->Options & dvpaoNoWrap);
    if (noWrap && !baseNoWrap) out.WriteLn("  white-space: nowrap;");
    if (!noWrap && baseNoWrap) out.WriteLn("  white-space: normal;");

    TRect padding;
    if (HasBorder(p)) {
      const TDVBorder& border = p.Border();
      out.WriteLn("  border-color: " + Html(border.Color) + ";");
      out.WriteLn(std::string("  border-style: ") + BorderStyle(border.Style) + ";");
      out.WriteLn("  border-width: " + Num(BorderWidth(border)) + "px;");
      if (!border.VisibleBorders.Top) out.WriteLn("  border-top: none;");
      if (!border.VisibleBorders.Right) out.WriteLn("  border-right: none;");
      if (!border.VisibleBorders.Bottom) out.WriteLn("  border-bottom: none;");
      if (!border.VisibleBorders.Left) out.WriteLn("  border-left: none;");
      border.BorderOffsets.AssignToRect(padding);
    } else if (b && HasBorder(*b)) {
      out.WriteLn("  border: none;");
    }
    const TColor back = p.Background().Color;
    if (back != clNone || (b && b->Background().Color != back))
      out.WriteLn("  background: " + (back == clNone ? std::string("transparent") : Html(back)) + ";");
    if (back != clNone) p.Background().BorderOffsets.AssignToRectIfGreater(padding);
    out.WriteLn("  padding: " + Num(padding.Top) + "px " + Num(padding.Right) + "px " + Num(padding.Bottom) + "px " +
                Num(padding.Left) + "px;");
    // In 64 bits: hostile indents and paddings must not overflow.
    out.WriteLn("  margin: " + Num(int64_t{p.SpaceBefore} - padding.Top) + "px " +
                Num(int64_t{p.RightIndent} - padding.Right) + "px " + Num(int64_t{p.SpaceAfter} - padding.Bottom) +
                "px " + Num(int64_t{p.LeftIndent} - padding.Left) + "px;");
    out.WriteLn("}");
  }
}

}  // namespace quillet
