#include "engine/export/html_page.h"

#include "engine/export/html_routines.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/html_text.h"
#include "engine/view/background.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr char kCheckpointPrefix[] = "DocViewCheckpoint";

// Text style 0's character set, the default set standing for the system's.
int PageCharset(const TCustomDVData& data) {
  const TDVStyle* style = data.GetDVStyle();
  const int charset = style && style->TextStyles().Count() > 0 ? style->TextStyles()[0].Charset : DEFAULT_CHARSET;
  return charset == DEFAULT_CHARSET ? CodePageToCharset(GetACP()) : charset;
}

}  // namespace

int DVHTMLPageCodePage(const TCustomDVData& data) { return ResolveCodePage(CharsetToCodePage(PageCharset(data))); }

THTMLPageWriter::THTMLPageWriter(TCustomDVData& data, TDVStyle& style, TStream& stream, const std::string& path,
                                 const std::string& imagesPrefix, TDVSaveOptions options)
    : data_(data),
      style_(style),
      stream_(stream),
      path_(path),
      imagesPrefix_(imagesPrefix),
      options_(options),
      pageCodePage_(DVHTMLPageCodePage(data)) {}

void THTMLPageWriter::Run(const std::function<void()>& head, const std::function<void()>& body) {
  if (!(options_ & (dvsoMiddleOnly | dvsoLastOnly))) head();
  if (!(options_ & (dvsoFirstOnly | dvsoLastOnly))) {
    data_.StartExport();
    struct EndExportGuard {
      TCustomDVData& data;
      ~EndExportGuard() { data.EndExport(); }
    } endExport{data_};
    body();
  }
  if (!(options_ & (dvsoFirstOnly | dvsoMiddleOnly))) WriteLn("</BODY></HTML>");
}

void THTMLPageWriter::WriteTitleAndMeta(const std::string& title) {
  WriteLn("<HTML><HEAD><TITLE>" + DV_MakeHTMLStr(title, false, false, pageCodePage_) + "</TITLE>");
  const std::string charset = DV_GetHTMLCharsetName(PageCharset(data_));
  if (!charset.empty()) WriteLn("<META HTTP-EQUIV=\"Content-Type\"  CONTENT=\"text/html; CHARSET=" + charset + "\">");
}

std::string THTMLPageWriter::SaveBackground(const TDVBackground* background, TColor color) {
  if (!background || background->Style == bsNoBitmap || background->Bitmap().Empty()) return {};
  return data_.SavePicture(true, path_, imagesPrefix_, imgSaveNo_, (options_ & dvsoOverrideImages) != 0, color,
                           background->Bitmap());
}

void THTMLPageWriter::WriteCheckpoint(int itemNo, bool fromNewLine) {
  if (const TDVCPInfo* cp = data_.GetItem(itemNo)->Checkpoint.get())
    data_.SaveHTMLCheckpoint(stream_, *cp, cpno_, kCheckpointPrefix, fromNewLine, options_);
}

void THTMLPageWriter::WriteTrailingCheckpoint(bool fromNewLine) {
  if (const TDVCPInfo* cp = data_.NotAddedCP())
    data_.SaveHTMLCheckpoint(stream_, *cp, cpno_, kCheckpointPrefix, fromNewLine, options_);
}

bool THTMLPageWriter::IsHyperlink(int itemNo) const { return data_.GetItem(itemNo)->GetBoolValueEx(dvbpJump, &style_); }

std::string THTMLPageWriter::Url(int itemNo) const {
  return AttrStr(data_.GetURL(data_.GetItem(itemNo)->JumpID));
}

std::string THTMLPageWriter::AttrStr(std::string_view text) const { return DV_MakeHTMLAttrStr(text, pageCodePage_); }

const TFontInfo& THTMLPageWriter::TextStyle(int32_t styleNo) const {
  const TFontInfos& styles = style_.TextStyles();
  return styles[styles.IsValidIndex(styleNo) ? styleNo : 0];
}

void THTMLPageWriter::WriteText(int itemNo) {
  const TCustomDVItemInfo& item = *data_.GetItem(itemNo);
  const std::string& text = data_.GetItemTextR(itemNo);
  const bool specialCode = (TextStyle(item.StyleNo).Options & dvteoHTMLCode) != 0;
  const bool ownLine = !item.SameAsPrev() && (itemNo + 1 >= data_.ItemCount() || !data_.GetItem(itemNo + 1)->SameAsPrev());
  if (item.IsUnicode()) {
    Write(DVU_GetHTMLEncodedUnicode(text, ownLine, specialCode));
    return;
  }
  const int codePage = ResolveCodePage(data_.GetStyleCodePage(item.StyleNo));
  if (codePage == pageCodePage_ || specialCode) {
    Write(DV_MakeHTMLStr(text, specialCode, ownLine, codePage));
  } else {
    // Text in another code page than the page's is written as characters,
    // so that its bytes are not read in the page's encoding.
    Write(DVU_GetHTMLEncodedUnicode(DVU_AnsiToUnicode(codePage, text), ownLine, false));
  }
}

void THTMLPageWriter::WriteNonText(int itemNo, TColor backColor, bool useCSS) {
  data_.GetItem(itemNo)->SaveToHTML(stream_, data_, itemNo, data_.GetItemTextR(itemNo), path_, imagesPrefix_,
                                    imgSaveNo_, backColor, options_, useCSS, bullets_);
}

void TCustomDVData::SaveHTMLCheckpoint(TStream& stream, const TDVCPInfo& checkpoint, int& cpno,
                                       const std::string& cpPrefix, bool fromNewLine, TDVSaveOptions options) const {
  const int codePage = DVHTMLPageCodePage(*this);
  std::string name = (options & dvsoUseCheckpointsNames) && !checkpoint.Name.empty()
                         ? checkpoint.Name
                         : cpPrefix + std::to_string(cpno);
  std::string anchor = fromNewLine ? "\r\n" : "";
  anchor += "<A name=\"" + DV_MakeHTMLAttrStr(name, codePage) + "\"></A>";
  stream.WriteString(anchor);
  ++cpno;
}

}  // namespace quillet
