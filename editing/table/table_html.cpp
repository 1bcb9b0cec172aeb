// The table in an HTML page (both dialects) and in plain text. Cells write
// their content through their own documents' writers, so tables nest.
#include "editing/table/table_item.h"
#include "engine/base/shared_routines.h"
#include "engine/model/dv_data.h"
#include "engine/text/charsets.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

// Nothing for 0, pixels above it, "N%" for -N.
std::string GetHTMLLength(int32_t value) {
  if (value == 0) return {};
  return value > 0 ? std::to_string(value) : std::to_string(-int64_t{value}) + "%";
}

std::string GetVAlignName(TDVCellVAlign value) {
  switch (value) {
    case dvcTop: return "top";
    case dvcMiddle: return "middle";
    case dvcBottom: return "bottom";
    default: return {};
  }
}

void AddAttribute(std::string& out, const char* name, const std::string& value, const std::string& def = {}) {
  if (!value.empty() && value != def) out += std::string(" ") + name + "=" + value;
}

// Declarations joined into one list: a side that is hidden, say, follows
// what is there with "; ".
void AddDeclaration(std::string& css, const std::string& declaration) {
  size_t end = css.find_last_not_of(' ');
  if (end != std::string::npos && css[end] != ';') css += "; ";
  css += declaration;
}

// Browsers ignore a braced style attribute; the declarations go bare.
std::string StyleAttribute(const std::string& css) { return css.empty() ? std::string() : " style='" + css + "'"; }

std::string FourColors(TColor top, TColor right, TColor bottom, TColor left) {
  return "border-color : " + DV_GetHTMLRGBStr(top) + " " + DV_GetHTMLRGBStr(right) + " " + DV_GetHTMLRGBStr(bottom) +
         " " + DV_GetHTMLRGBStr(left) + "; border-style: solid";
}

std::string TableCSS(const TDVTableItemInfo& t) {
  std::string css;
  // Cell borders show through a table without a border of its own.
  if (t.BorderWidth < 1 && t.CellBorderWidth != 0) css = "border-width : 0px";
  if (t.BorderStyle == dvtbLowered) AddDeclaration(css, "border-style: inset");
  if (t.BorderStyle == dvtbLoweredColor)
    AddDeclaration(css, FourColors(t.BorderColor, t.BorderLightColor, t.BorderLightColor, t.BorderColor));
  return css;
}

std::string CellCSS(const TDVTableItemInfo& t, const TDVTableCellData& cell) {
  const TColor dark = cell.BorderColor != clNone ? cell.BorderColor : t.CellBorderColor;
  const TColor light = cell.BorderLightColor != clNone ? cell.BorderLightColor : t.CellBorderLightColor;
  std::string css;
  if (!((t.BorderWidth == t.CellBorderWidth && t.BorderWidth <= 1) || (t.CellBorderWidth == 1 && t.BorderWidth > 1)))
    css = "border-width : " + std::to_string(t.CellBorderWidth) + "px; ";
  const bool tableColorStyle = t.BorderStyle == dvtbRaisedColor || t.BorderStyle == dvtbLoweredColor;
  switch (t.CellBorderStyle) {
    case dvtbRaised: css += "border-style: outset"; break;
    case dvtbLowered: break;
    case dvtbColor:
      if (!(t.BorderStyle == dvtbColor && t.BorderColor == dark))
        css += "border-color : " + DV_GetHTMLRGBStr(dark) + "; border-style: solid";
      break;
    case dvtbRaisedColor: css += FourColors(light, dark, dark, light); break;
    case dvtbLoweredColor:
      if (!(tableColorStyle && t.BorderColor == dark && t.BorderLightColor == light))
        css += FourColors(dark, light, light, dark);
      break;
  }
  const TDVBooleanRect& sides = cell.VisibleBorders;
  if (!sides.Top) AddDeclaration(css, "border-top: none; ");
  if (!sides.Right) AddDeclaration(css, "border-right: none; ");
  if (!sides.Bottom) AddDeclaration(css, "border-bottom: none; ");
  if (!sides.Left) AddDeclaration(css, "border-left: none; ");
  return css;
}

}  // namespace

void TDVTableItemInfo::SaveToHTML(TStream& stream, TCustomDVData&, int, const std::string&, const std::string& path,
                                  const std::string& imagesPrefix, int&, TColor, TDVSaveOptions saveOptions,
                                  bool useCSS, TDVHTMLBullets&) const {
  std::string out = "<TABLE";
  AddAttribute(out, "width", GetHTMLLength(BestWidth));
  AddAttribute(out, "bgcolor", DV_GetHTMLRGBStr(Color));
  out += useCSS && BorderWidth < 1 && CellBorderWidth != 0 ? " border=1" : " border=" + std::to_string(BorderWidth);
  AddAttribute(out, "cellpadding", std::to_string(CellPadding));
  if (BorderStyle == dvtbColor) AddAttribute(out, "bordercolor", DV_GetHTMLRGBStr(BorderColor));
  if (BorderStyle == dvtbRaisedColor || BorderStyle == dvtbLoweredColor) {
    // The light colour draws the top and left sides: the border colour for
    // a lowered table, as the cells do it.
    const bool lowered = BorderStyle == dvtbLoweredColor;
    AddAttribute(out, "bordercolordark", DV_GetHTMLRGBStr(lowered ? BorderLightColor : BorderColor));
    AddAttribute(out, "bordercolorlight", DV_GetHTMLRGBStr(lowered ? BorderColor : BorderLightColor));
  }
  AddAttribute(out, "cellspacing", std::to_string((CellHSpacing + CellVSpacing) / 2));
  if (useCSS) out += StyleAttribute(TableCSS(*this));
  stream.WriteString(out + ">\r\n");
  for (int r = 0; r < Rows.Count(); ++r) {
    out = "  <TR";
    AddAttribute(out, "valign", GetVAlignName(Rows[r]->VAlign));
    stream.WriteString(out + ">\r\n");
    for (int c = 0; c < Rows[r]->Count(); ++c) {
      TDVTableCellData* cell = Rows.CellAt(r, c);
      if (!cell) continue;
      out = "    <TD";
      AddAttribute(out, "colspan", std::to_string(cell->ColSpan), "1");
      AddAttribute(out, "rowspan", std::to_string(cell->RowSpan), "1");
      AddAttribute(out, "width", GetHTMLLength(cell->BestWidth));
      AddAttribute(out, "height", GetHTMLLength(cell->BestHeight));
      if (cell->Color != Color) AddAttribute(out, "bgcolor", DV_GetHTMLRGBStr(cell->Color));
      AddAttribute(out, "valign", GetVAlignName(cell->VAlign));
      if (useCSS) out += StyleAttribute(CellCSS(*this, *cell));
      stream.WriteString(out + ">\r\n");
      if (cell->HasData(false)) {
        const TColor back = cell->Color != clNone ? cell->Color : Color;
        const TDVSaveOptions options = saveOptions | dvsoMiddleOnly;
        if (useCSS)
          cell->SaveHTMLToStreamEx(stream, path, "", imagesPrefix, "", "", options, back, nullptr, {});
        else
          cell->SaveHTMLToStream(stream, path, "", imagesPrefix, options, back, nullptr, {});
      } else {
        stream.WriteString("&nbsp;\r\n");
      }
      stream.WriteString("    </TD>\r\n");
    }
    stream.WriteString("  </TR>\r\n");
  }
  stream.WriteString("</TABLE>\r\n");
}

std::string TDVTableItemInfo::AsText(int lineWidth, TCustomDVData* dvData, const std::string&,
                                     const std::string& path, bool textOnly, bool unicode) const {
  std::string rowSep = TextRowSeparator, colSep = TextColSeparator;
  if (unicode) {
    const int codePage = dvData ? dvData->GetDefaultCodePage() : 0;
    rowSep = DVU_AnsiToUnicode(codePage, rowSep);
    colSep = DVU_AnsiToUnicode(codePage, colSep);
  }
  TMemoryStream out;
  for (int r = 0; r < Rows.Count(); ++r) {
    const int cols = Rows[r]->Count();
    for (int c = 0; c < cols; ++c) {
      if (TDVTableCellData* cell = Rows.CellAt(r, c)) cell->SaveTextToStream(path, out, lineWidth, false, textOnly, unicode);
      if (c < cols - 1) out.WriteString(colSep);
    }
    out.WriteString(rowSep);
  }
  return out.AsString();
}

}  // namespace quillet
