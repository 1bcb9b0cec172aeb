// The HTML page with CSS classes: text style n is class DVTSn, paragraph
// style n class DVPSn.
#include "engine/export/file_names.h"
#include "engine/export/html_page.h"
#include "engine/export/html_routines.h"
#include "engine/base/shared_routines.h"
#include "engine/style/style_sheet.h"
#include "engine/view/background.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

struct BackgroundCSS {
  const char* attachment;
  const char* repeat;
};

BackgroundCSS BackgroundValues(TBackgroundStyle style) {
  switch (style) {
    case bsStretched: return {"fixed", "no-repeat"};
    case bsTiled: return {"fixed", "repeat"};
    case bsTiledAndScrolled: return {"scroll", "repeat"};
    case bsCentered: return {"fixed", "no-repeat"};
    default: return {"", ""};
  }
}

void WriteHead(THTMLPageWriter& page, const std::string& title, const std::string& extraStyles,
               const std::string& externalCSS, TColor color, const TDVBackground* background,
               const TDVHTMLMargins& margins) {
  page.WriteTitleAndMeta(title);
  page.WriteLn("<STYLE type=\"text/css\"><!--");
  page.WriteLn("BODY {");
  page.WriteLn("  margin: " + std::to_string(margins.Top) + "px " + std::to_string(margins.Right) + "px " +
               std::to_string(margins.Bottom) + "px " + std::to_string(margins.Left) + "px;");
  if (color != clNone) page.WriteLn("  background-color: " + DV_GetHTMLRGBStr(color) + ";");
  const std::string picture = page.SaveBackground(background, color);
  if (!picture.empty()) {
    page.WriteLn("  background-image: url(\"" + DV_GetCSSString(picture, DVHTMLPageCodePage(page.Data())) + "\");");
    const BackgroundCSS values = BackgroundValues(background->Style);
    page.WriteLn(std::string("  background-repeat: ") + values.repeat + ";");
    page.WriteLn(std::string("  background-attachment: ") + values.attachment + ";");
    if (background->Style == bsCentered) page.WriteLn("  background-position: center center;");
  }
  page.WriteLn("}");
  if (externalCSS.empty()) page.Style().SaveCSSToStream(page.Stream(), 0);
  if (!extraStyles.empty()) page.WriteLn(extraStyles);
  page.WriteLn("--></STYLE>");
  if (!externalCSS.empty())
    page.WriteLn("<LINK type=\"text/css\" href=\"" + page.AttrStr(externalCSS) + "\" rel=STYLESHEET>");
  const std::string extraHead = page.ExtraCode(0, true);
  if (!extraHead.empty()) page.WriteLn(extraHead);
  page.WriteLn("</HEAD>");
  const std::string extraBody = page.ExtraCode(1, true);
  page.WriteLn(extraBody.empty() ? "<BODY>" : "<BODY " + extraBody + ">");
}

class TCSSBody {
 public:
  TCSSBody(THTMLPageWriter& page, TColor color) : page_(page), data_(page.Data()), color_(color) {}

  void Write() {
    for (int i = 0; i < data_.ItemCount(); ++i) WriteItem(i);
    CloseSpan();
    if (paraOpen_) {
      page_.WriteLn("");
      page_.Write("</P>");
    }
    page_.WriteTrailingCheckpoint(false);
    page_.WriteLn("");
  }

 private:
  void CloseSpan() {
    if (openSpan_ < 0) return;
    page_.Write("</SPAN>");
    openSpan_ = -1;
  }

  void StartLine(const TCustomDVItemInfo& item) {
    CloseSpan();
    page_.WriteLn("");
    if (paraOpen_ && !item.BR()) {
      page_.WriteLn("</P>");
      paraOpen_ = false;
    }
    if (item.BR()) {
      page_.Write("<BR>");
      return;
    }
    if (item.StyleNo == dvsBreak) return;
    const TParaInfos& paraStyles = page_.Style().ParaStyles();
    page_.Write(item.ParaNo == 0 ? std::string("<P>") : "<P class=DVPS" + std::to_string(item.ParaNo) + ">");
    paraOpen_ = true;
    paraColor_ = color_;
    if (paraStyles.IsValidIndex(item.ParaNo) && paraStyles[item.ParaNo].Background().Color != clNone)
      paraColor_ = paraStyles[item.ParaNo].Background().Color;
  }

  void WriteItem(int i) {
    const TCustomDVItemInfo& item = *data_.GetItem(i);
    if (!item.SameAsPrev()) StartLine(item);
    const bool hyperlink = page_.IsHyperlink(i);
    // Runs of one style share a span; anything else closes it first, so
    // every span closes where it was opened.
    if (item.StyleNo < 0 || hyperlink || item.StyleNo != openSpan_) CloseSpan();
    page_.WriteCheckpoint(i, false);
    if (item.StyleNo < 0) {
      if (hyperlink) page_.Write("<A href=\"" + page_.Url(i) + "\">");
      page_.WriteNonText(i, paraColor_, true);
      if (hyperlink) page_.Write("</A>");
      return;
    }
    const std::string cls = std::to_string(item.StyleNo);
    if (hyperlink) {
      page_.Write("<A class=DVTS" + cls + " href=\"" + page_.Url(i) + "\">");
      page_.WriteText(i);
      page_.Write("</A>");
      return;
    }
    if (openSpan_ != item.StyleNo && NeedsSpan(item.StyleNo)) {
      page_.Write("<SPAN class=DVTS" + cls + ">");
      openSpan_ = item.StyleNo;
    }
    page_.WriteText(i);
  }

  // Plain style-0 text is styled by the BODY rule.
  bool NeedsSpan(int32_t styleNo) const {
    const TFontInfo& ts = page_.TextStyle(styleNo);
    return styleNo != 0 || ts.Jump || ts.BackColor != clNone;
  }

  THTMLPageWriter& page_;
  TCustomDVData& data_;
  TColor color_;
  TColor paraColor_ = clNone;
  bool paraOpen_ = false;
  int32_t openSpan_ = -1;
};

}  // namespace

bool TCustomDVData::SaveHTMLToStreamEx(TStream& stream, const std::string& path, const std::string& title,
                                       const std::string& imagesPrefix, const std::string& extraStyles,
                                       const std::string& externalCSS, TDVSaveOptions options, TColor color,
                                       const TDVBackground* background, const TDVHTMLMargins& margins) {
  if (!CloseInplaceEditorForSaving()) return false;
  TDVStyle* style = GetDVStyle();
  if (!style) return false;
  THTMLPageWriter page(*this, *style, stream, path, imagesPrefix, options);
  page.Run([&] { WriteHead(page, title, extraStyles, externalCSS, color, background, margins); },
           [&] { TCSSBody(page, color).Write(); });
  return true;
}

bool TCustomDVData::SaveHTMLEx(const std::string& fileName, const std::string& title,
                               const std::string& imagesPrefix, const std::string& extraStyles,
                               const std::string& externalCSS, TDVSaveOptions options, TColor color,
                               const TDVBackground* background, const TDVHTMLMargins& margins) {
  TMemoryStream stream;
  if (!SaveHTMLToStreamEx(stream, DVExtractFilePath(fileName), title, imagesPrefix, extraStyles, externalCSS,
                          options, color, background, margins))
    return false;
  // Written beside the file and renamed over it only when complete.
  stream.SaveToFile(fileName);
  return true;
}

}  // namespace quillet
