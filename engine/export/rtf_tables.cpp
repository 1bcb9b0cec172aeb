#include "engine/export/rtf_tables.h"

#include "engine/export/rtf_text.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

// Every colour table begins with these, entry 0 standing for the automatic
// colour.
constexpr TColor kDefColorTable[17] = {clWindowText, 0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF,
                                       0x0000FF,     0x00FFFF, 0xFFFFFF, 0x800000, 0x808000, 0x008000,
                                       0x800080,     0x000080, 0x008080, 0x808080, 0xC0C0C0};

}  // namespace

int RTFDocCodePage(const TDVStyle& dvStyle) { return ResolveCodePage(dvStyle.DefCodePage); }

int RTFFontCharset(int charset, int docCodePage) {
  return charset == DEFAULT_CHARSET ? CodePageToCharset(docCodePage) : charset;
}

void MakeFontTable(const TFontInfos& textStyles, int docCodePage, TDVIntegerList& fontTable,
                   TDVIntegerList& styleToFont) {
  fontTable.Clear();
  styleToFont.Clear();
  for (int i = 0; i < textStyles.Count(); ++i) {
    const TFontInfo& style = textStyles[i];
    const int charset = RTFFontCharset(style.Charset, docCodePage);
    int font = -1;
    for (int k = 0; k < fontTable.Count() && font < 0; ++k) {
      const TFontInfo& other = textStyles[fontTable[k]];
      if (other.FontName == style.FontName && RTFFontCharset(other.Charset, docCodePage) == charset) font = k;
    }
    if (font < 0) font = fontTable.Add(i);
    styleToFont.Add(font);
  }
}

void MakeRTFColorTable(const TCustomDVData& data, const TDVStyle& dvStyle, TDVColorList& colorList, bool clear) {
  if (clear) {
    colorList.Clear();
    for (TColor color : kDefColorTable) colorList.TDVIntegerList::Add(color);
  }
  const TFontInfos& textStyles = dvStyle.TextStyles();
  for (int i = 0; i < textStyles.Count(); ++i) {
    const TFontInfo& style = textStyles[i];
    for (TColor color : {style.Color, style.BackColor, style.HoverColor, style.HoverBackColor})
      colorList.AddUnique(color);
  }
  const TParaInfos& paraStyles = dvStyle.ParaStyles();
  for (int i = 0; i < paraStyles.Count(); ++i) {
    const TParaInfo& style = paraStyles[i];
    if (style.Border().Style != dvbNone) colorList.AddUnique(style.Border().Color);
    colorList.AddUnique(style.Background().Color);
  }
  for (int i = 0; i < data.ItemCount(); ++i)
    if (data.GetItemStyle(i) < 0) data.GetItem(i)->FillRTFColorTable(colorList);
}

void SaveFontTable(TStream& stream, const TFontInfos& textStyles, const TDVIntegerList& fontTable,
                   int docCodePage) {
  std::string out = "{\\fonttbl";
  for (int k = 0; k < fontTable.Count(); ++k) {
    const TFontInfo& style = textStyles[fontTable[k]];
    out += "{\\f" + std::to_string(k) + "\\fnil\\fcharset" +
           std::to_string(RTFFontCharset(style.Charset, docCodePage)) + " " +
           MakeRTFFontName(style.FontName, docCodePage) + ";}";
  }
  out += "}";
  stream.WriteString(out);
}

void SaveColorTable(TStream& stream, const TDVColorList& colorList) {
  std::string out = "{\\colortbl;";
  for (int i = 1; i < colorList.Count(); ++i) {
    const TColor color = ColorToRGB(colorList[i]);
    out += "\\red" + std::to_string(GetRValue(color)) + "\\green" + std::to_string(GetGValue(color)) + "\\blue" +
           std::to_string(GetBValue(color)) + ";";
  }
  out += "}";
  stream.WriteString(out);
}

}  // namespace quillet
