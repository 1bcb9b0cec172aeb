// The HTML page with FONT tags and DIV paragraphs.
#include "engine/export/file_names.h"
#include "engine/export/html_page.h"
#include "engine/export/html_routines.h"
#include "engine/base/shared_routines.h"
#include "engine/style/style_sheet.h"
#include "engine/view/background.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

const char* DivTag(TDVAlignment alignment) {
  switch (alignment) {
    case dvaRight: return "<DIV align=right>";
    case dvaCenter: return "<DIV align=center>";
    case dvaJustify: return "<DIV align=justify>";
    default: return "<DIV>";
  }
}

void WriteHead(THTMLPageWriter& page, const std::string& title, TColor color, const TDVBackground* background,
               const TDVHTMLMargins& margins) {
  page.WriteTitleAndMeta(title);
  const std::string extraHead = page.ExtraCode(0, false);
  if (!extraHead.empty()) page.WriteLn(extraHead);
  page.WriteLn("</HEAD>");
  std::string body = "<BODY";
  if (color != clNone) body += " bgcolor=" + DV_GetHTMLRGBStr(color);
  const std::string picture = page.SaveBackground(background, color);
  if (!picture.empty()) {
    body += " background=\"" + page.AttrStr(picture) + "\"";
    if (background->Style != bsTiledAndScrolled) body += " bgproperties=fixed";
  }
  const std::string extraBody = page.ExtraCode(1, false);
  if (!extraBody.empty()) body += " " + extraBody;
  body += " leftmargin=" + std::to_string(margins.Left) + " topmargin=" + std::to_string(margins.Top) +
          " rightmargin=" + std::to_string(margins.Right) + " bottommargin=" + std::to_string(margins.Bottom) + ">";
  page.WriteLn(body);
}

void WriteBody(THTMLPageWriter& page, TColor color) {
  TCustomDVData& data = page.Data();
  const TFontInfo& normal = page.TextStyle(0);
  const TParaInfos& paraStyles = page.Style().ParaStyles();
  // The base font of style 0 is opened inside every block, so that the tags
  // of other styles, which close what style 0 has and they lack, stay
  // nested within the block. Without it (dvsoDefault0Style) the page's
  // normal text stands for style 0: other styles write only how they differ
  // from it, with nothing of it open to close.
  const bool baseFont = !(page.Options() & dvsoDefault0Style);
  bool blockOpen = false;
  auto closeBlock = [&] {
    if (baseFont) page.Write(CloseFontTag(normal, normal, ftmAbsolute));
    page.WriteLn("</DIV>");
    blockOpen = false;
  };
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TCustomDVItemInfo& item = *data.GetItem(i);
    if (!item.SameAsPrev()) {
      if (blockOpen) {
        if (item.BR())
          page.WriteLn("<BR>");
        else
          closeBlock();
      }
      if (!item.BR() && item.StyleNo != dvsBreak) {
        const int32_t paraNo = paraStyles.IsValidIndex(item.ParaNo) ? item.ParaNo : 0;
        page.Write(DivTag(paraStyles[paraNo].Alignment));
        if (baseFont) page.Write(OpenFontTag(normal, normal, ftmAbsolute));
        blockOpen = true;
      }
    }
    page.WriteCheckpoint(i, true);
    // A link stands inside the font tags, which may close and reopen the
    // normal style's tags around it.
    const bool hyperlink = page.IsHyperlink(i);
    const TFontInfo& ts = page.TextStyle(item.StyleNo);
    // Outside a block the base font is not open: the style is written whole.
    const TFontTagMode mode = !baseFont ? ftmRelativeNothingOpen : blockOpen ? ftmRelative : ftmAbsolute;
    const bool tags = item.StyleNo > 0 || (item.StyleNo == 0 && mode == ftmAbsolute);
    if (tags) page.Write(OpenFontTag(ts, normal, mode));
    if (hyperlink) page.Write("<A href=\"" + page.Url(i) + "\">");
    if (item.StyleNo >= 0)
      page.WriteText(i);
    else
      page.WriteNonText(i, color, false);
    if (hyperlink) page.Write("</A>");
    if (tags) page.Write(CloseFontTag(ts, normal, mode));
  }
  page.WriteTrailingCheckpoint(true);
  if (blockOpen)
    closeBlock();
  else
    page.WriteLn("");
}

}  // namespace

bool TCustomDVData::SaveHTMLToStream(TStream& stream, const std::string& path, const std::string& title,
                                     const std::string& imagesPrefix, TDVSaveOptions options, TColor color,
                                     const TDVBackground* background, const TDVHTMLMargins& margins) {
  if (!CloseInplaceEditorForSaving()) return false;
  TDVStyle* style = GetDVStyle();
  if (!style) return false;
  THTMLPageWriter page(*this, *style, stream, path, imagesPrefix, options);
  page.Run([&] { WriteHead(page, title, color, background, margins); }, [&] { WriteBody(page, color); });
  return true;
}

bool TCustomDVData::SaveHTML(const std::string& fileName, const std::string& title, const std::string& imagesPrefix,
                             TDVSaveOptions options, TColor color, const TDVBackground* background,
                             const TDVHTMLMargins& margins) {
  TMemoryStream stream;
  if (!SaveHTMLToStream(stream, DVExtractFilePath(fileName), title, imagesPrefix, options, color, background,
                        margins))
    return false;
  // Written beside the file and renamed over it only when complete.
  stream.SaveToFile(fileName);
  return true;
}

}  // namespace quillet
