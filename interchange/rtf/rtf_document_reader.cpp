#include "interchange/rtf/rtf_document_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/export/rtf_writer.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "interchange/rtf/rtf_chars.h"
#include "interchange/rtf/rtf_reader.h"
#include "interchange/rtf/rtf_style_matching.h"
#include "interchange/rtf/rtf_table_reader.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/metafile.h"

namespace quillet {

namespace {

std::string Utf16Bytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The field instruction as a hyperlink: its target and extras.
struct THyperlink {
  bool InField = false;  // "HYPERLINK" anywhere in the instruction
  bool Valid = false;    // an instruction that begins with it
  std::string Target, Extras;
};

THyperlink ParseHyperlink(const std::string& fieldCode) {
  THyperlink link;
  link.InField = fieldCode.find("HYPERLINK") != std::string::npos;
  const std::string code = TrimBlanks(fieldCode);
  if (code.compare(0, 9, "HYPERLINK") != 0) return link;
  link.Valid = true;
  const std::string rest = code.size() > 10 ? code.substr(10) : std::string();
  bool haveTarget = false;
  for (size_t at = 0; at < rest.size();) {
    size_t end;
    std::string word;
    if (!haveTarget && rest[at] == '"') {
      // A quoted target keeps its blanks.
      end = rest.find('"', at + 1);
      end = end == std::string::npos ? rest.size() : end + 1;
      word = rest.substr(at, end - at);
    } else {
      end = rest.find(' ', at);
      if (end == std::string::npos) end = rest.size();
      word = rest.substr(at, end - at);
    }
    at = end + 1;
    if (word.empty()) continue;
    if (word[0] == '\\') {
      if (!link.Extras.empty()) link.Extras += ' ';
      link.Extras += word;
    } else if (!haveTarget) {
      haveTarget = true;
      link.Target = word[0] == '"' ? word.substr(1, word.size() >= 2 ? word.size() - 2 : 0) : word;
    } else {
      link.Extras += word;
    }
  }
  return link;
}

}  // namespace

// One read: the listener of the parser's events.
class TDVRTFDocumentReader::TRead : public TDVRTFTableHost {
 public:
  TRead(TDVRTFDocumentReader& owner, TCustomDVData& root, TDVStyle& dvStyle, int index, bool editorMode)
      : owner_(owner),
        root_(root),
        dvStyle_(dvStyle),
        target_(&root),
        index_(index),
        editorMode_(editorMode),
        pixelsPerTwip_(1.0 / GetTwipsPerPixel()),
        matcher_(dvStyle, pixelsPerTwip_, owner.UseHypertextStyles, owner.OnAllowUseStyle),
        tables_(*this, {owner.TableBorderGlueMode, owner.AutoHideTableGridLines, pixelsPerTwip_}) {}

  void Init(TDVRTFReader& reader);
  int FirstIndex() const { return firstIndex_; }
  int NextIndex() const { return index_; }

  // The tables' view of the read.
  TCustomDVData* Target() const override { return target_; }
  void SetTarget(TCustomDVData* target) override { target_ = target; }
  TCustomDVData& Root() override { return root_; }
  void NewEmptyPara() override { NewText({}, nullptr, rtf_ts_NewPara); }
  void InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item, TDVRTFPosition position) override;
  int32_t GetEmptyStyleNo() override;
  int32_t GetEmptyParaNo(TDVRTFAlignment alignment) override;

 private:
  void NewText(std::string text8, const std::u16string* textW, TDVRTFPosition position);
  void NewPicture(TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic, TDVRTFPosition position);
  void HeaderFooter(TDVRTFHeaderFooterType type, bool starting);
  const THyperlink& Hyperlink();
  int32_t ReturnStyleNo(bool unicode, bool hypertext);
  int32_t ReturnParaNo(TDVRTFPosition position);

  TDVRTFDocumentReader& owner_;
  TCustomDVData& root_;
  TDVStyle& dvStyle_;
  TDVRTFReader* reader_ = nullptr;
  // Where items go; null while a header or footer nobody takes is read.
  TCustomDVData* target_;
  int index_;
  int firstIndex_ = -1;
  bool firstItem_ = true;
  // The editor refused the first item; nothing more is inserted.
  bool refused_ = false;
  bool pageBreakPending_ = false;
  const bool editorMode_;
  const double pixelsPerTwip_;
  TDVRTFStyleMatcher matcher_;
  THyperlink hyperlink_;
  uint64_t hyperlinkVersion_ = UINT64_MAX;
  int32_t emptyParaNo_ = -1;  // for the default alignment
  TDVRTFTableReader tables_;
};

void TDVRTFDocumentReader::TRead::Init(TDVRTFReader& reader) {
  reader_ = &reader;
  reader.ConvertHighlight = static_cast<TDVRTFHighlightConvert>(owner_.ConvertHighlight);
  reader.OnNewText = [this](TDVRTFReader&, const std::string& text, TDVRTFPosition position) {
    NewText(text, nullptr, position);
  };
  // Unicode text is read in every mode: without Unicode items it goes into
  // the code page, not as the fallback "?" (some writers give Chinese only
  // as \u).
  reader.OnNewUnicodeText = [this](TDVRTFReader&, const std::u16string& text, TDVRTFPosition position) {
    NewText({}, &text, position);
  };
  if (!owner_.IgnorePictures)
    reader.OnNewPicture = [this](TDVRTFReader&, TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic,
                                 TDVRTFPosition position) { NewPicture(picture, std::move(graphic), position); };
  reader.DefCodePage = static_cast<uint32_t>(root_.GetDefaultCodePage());
  reader.OnRequiredPageBreak = [this](TDVRTFReader&) { pageBreakPending_ = true; };
  reader.OnTable = [this](TDVRTFReader& sender, TDVRTFTableEventKind whatHappens) {
    tables_.ReaderTable(sender, whatHappens);
  };
  owner_.HeaderYMM = owner_.FooterYMM = -1;
  if (owner_.header_ || owner_.footer_) {
    reader.OnHeaderFooter = [this](TDVRTFReader&, TDVRTFHeaderFooterType type, bool starting) {
      HeaderFooter(type, starting);
    };
    if (owner_.header_) owner_.header_->Clear();
    if (owner_.footer_) owner_.footer_->Clear();
  }
}

const THyperlink& TDVRTFDocumentReader::TRead::Hyperlink() {
  if (hyperlinkVersion_ != reader_->FieldCodeVersion()) {
    hyperlink_ = ParseHyperlink(reader_->FieldCode());
    hyperlinkVersion_ = reader_->FieldCodeVersion();
  }
  return hyperlink_;
}

void TDVRTFDocumentReader::TRead::NewText(std::string text8, const std::u16string* textW,
                                         TDVRTFPosition position) {
  if (!target_) return;
  const TDVRTFCharProperties& chars = reader_->RTFState().CharProps;
  if (owner_.SkipHiddenText && chars.Hidden) return;
  const bool unicodeStyle = textW ? owner_.UnicodeMode != dvruNoUnicode : owner_.UnicodeMode == dvruOnlyUnicode;
  const THyperlink link = Hyperlink();
  const int32_t styleNo = ReturnStyleNo(unicodeStyle, link.InField);
  const int32_t paraNo = ReturnParaNo(position);
  std::unique_ptr<TCustomDVItemInfo> item = DocViewTextItemClass(target_);
  item->StyleNo = styleNo;
  item->ParaNo = paraNo;
  const TFontInfo& style = dvStyle_.TextStyles()[styleNo];
  std::string text;
  if (style.Unicode) {
    item->ItemOptions |= dvioUnicode;
    if (textW) {
      text = Utf16Bytes(*textW);
    } else {
      const TDVRTFFont* font = reader_->CurrentFont();
      const int codePage = DVU_Charset2CodePage(font ? font->Charset : DEFAULT_CHARSET);
      text = Utf16Bytes(MultiByteToWideChar(codePage, text8));
    }
  } else if (textW) {
    text = reader_->UnicodeToAnsi(*textW);
  } else {
    text = std::move(text8);
  }
  root_.ReplaceTabs(text, styleNo, false);
  if (link.Valid) {
    int32_t newStyleNo = styleNo;
    std::string name;
    root_.ReadHyperlink(link.Target, link.Extras, dvlfRTF, newStyleNo, item->Tag, name);
    if (newStyleNo >= 0 && dvStyle_.TextStyles().IsValidIndex(newStyleNo)) item->StyleNo = newStyleNo;
  }
  InsertItem(std::move(text), std::move(item), position);
}

int32_t TDVRTFDocumentReader::TRead::ReturnStyleNo(bool unicode, bool hypertext) {
  switch (owner_.TextStyleMode) {
    case dvrsUseSpecified:
      return owner_.TextStyleNo();
    case dvrsUseClosest:
      return matcher_.FindBestStyleNo(
          matcher_.TextQuery(reader_->RTFState().CharProps, reader_->CurrentFont(), unicode, hypertext));
    case dvrsAddIfNeeded: {
      const TDVRTFFont* font = reader_->CurrentFont();
      const TDVRTFTextQuery query = matcher_.TextQuery(reader_->RTFState().CharProps, font, unicode, hypertext);
      const int32_t found = matcher_.FindStyleNo(query, reader_->FontTable().Count() == 0);
      return found >= 0 ? found : matcher_.AddStyle(query);
    }
  }
  return 0;
}

int32_t TDVRTFDocumentReader::TRead::ReturnParaNo(TDVRTFPosition position) {
  if (position != rtf_ts_NewPara) {
    if (target_ != &root_) return target_->ItemCount() > 0 ? target_->GetItemPara(target_->ItemCount() - 1) : 0;
    return index_ > 0 && index_ <= root_.ItemCount() ? root_.GetItemPara(index_ - 1) : 0;
  }
  switch (owner_.ParaStyleMode) {
    case dvrsUseSpecified:
      return owner_.ParaStyleNo();
    case dvrsUseClosest:
      return matcher_.FindBestParaNo(matcher_.ParaQuery(reader_->RTFState().ParaProps));
    case dvrsAddIfNeeded: {
      const TDVRTFParaQuery query = matcher_.ParaQuery(reader_->RTFState().ParaProps);
      const int32_t found = matcher_.FindParaNo(query);
      return found >= 0 ? found : matcher_.AddPara(query);
    }
  }
  return 0;
}

int32_t TDVRTFDocumentReader::TRead::GetEmptyStyleNo() {
  return owner_.TextStyleMode == dvrsUseSpecified ? owner_.TextStyleNo() : 0;
}

int32_t TDVRTFDocumentReader::TRead::GetEmptyParaNo(TDVRTFAlignment alignment) {
  switch (owner_.ParaStyleMode) {
    case dvrsUseSpecified:
      return owner_.ParaStyleNo();
    case dvrsUseClosest:
      return 0;
    case dvrsAddIfNeeded:
      if (alignment != rtf_al_Left) return matcher_.EmptyCellParaNo(alignment);
      if (emptyParaNo_ < 0) emptyParaNo_ = matcher_.EmptyCellParaNo(alignment);
      return emptyParaNo_;
  }
  return 0;
}

void TDVRTFDocumentReader::TRead::NewPicture(TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic,
                                            TDVRTFPosition position) {
  if (!target_) return;
  const THyperlink link = Hyperlink();
  std::unique_ptr<TCustomDVItemInfo> item;
  std::string name;
  if (owner_.OnCustomImageItem) {
    item = owner_.OnCustomImageItem(*target_, graphic, link.Valid);
    if (item && link.Valid) {
      int32_t styleNo = item->StyleNo;
      root_.ReadHyperlink(link.Target, link.Extras, dvlfRTF, styleNo, item->Tag, name);
    }
  }
  if (!item) {
    if (!graphic) {
      auto placeholder = std::make_unique<TBitmap>(32, 32);
      placeholder->Canvas().Brush().Color = clBtnFace;
      placeholder->Canvas().FillRect(TRect{0, 0, 32, 32});
      graphic = std::move(placeholder);
    }
    int32_t styleNo = dvsPicture;
    TDVTag tag;
    if (link.Valid) root_.ReadHyperlink(link.Target, link.Extras, dvlfRTF, styleNo, tag, name);
    std::unique_ptr<TDVGraphicItemInfo> picItem;
    if (styleNo == dvsHotPicture)
      picItem = std::make_unique<TDVHotGraphicItemInfo>(target_, std::move(graphic), dvvaBaseline);
    else
      picItem = std::make_unique<TDVGraphicItemInfo>(target_, std::move(graphic), dvvaBaseline);
    picItem->Tag = std::move(tag);
    const TGraphic& image = *picItem->Image;
    if (picture && (image.ClassName() == "TMetafile" || picture->PicScaleX != 100 || picture->PicScaleY != 100)) {
      const int32_t width = picture->SuggestedWidth >= 1 ? picture->SuggestedWidth : image.Width();
      const int32_t height = picture->SuggestedHeight >= 1 ? picture->SuggestedHeight : image.Height();
      picItem->ImageWidth = std::clamp(MulDiv(width, picture->PicScaleX, 100), 0, 32767);
      picItem->ImageHeight = std::clamp(MulDiv(height, picture->PicScaleY, 100), 0, 32767);
    }
    item = std::move(picItem);
  }
  item->ParaNo = ReturnParaNo(position);
  InsertItem(std::move(name), std::move(item), position);
}

void TDVRTFDocumentReader::TRead::HeaderFooter(TDVRTFHeaderFooterType type, bool starting) {
  TCustomDVData* document = type == rtf_hf_Header ? owner_.header_ : owner_.footer_;
  if (!starting) {
    target_ = &root_;
    return;
  }
  // A header or footer that no document takes is dropped, not read into
  // the text.
  target_ = document;
  if (!document) return;
  document->Clear();
  const TDVRTFSectionProperties& section = reader_->RTFState().SectProps;
  const int32_t ymm = static_cast<int32_t>(
      std::nearbyint((type == rtf_hf_Header ? section.HeaderYTw : section.FooterYTw) * 127.0 / 7200));
  (type == rtf_hf_Header ? owner_.HeaderYMM : owner_.FooterYMM) = ymm;
}

void TDVRTFDocumentReader::TRead::InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item,
                                            TDVRTFPosition position) {
  if (refused_) return;
  if (position == rtf_ts_ContinuePara)
    item->SetSameAsPrev(true);
  else if (position == rtf_ts_NewLine)
    item->SetBR(true);
  if (pageBreakPending_) {
    item->SetPageBreakBefore(true);
    pageBreakPending_ = false;
  }
  const auto startParagraph = [&item] {
    if (item->SameAsPrev() || item->BR()) item->ItemOptions &= ~static_cast<TDVItemOptions>(dvioSameAsPrev | dvioBR);
  };
  if (target_ != &root_) {
    const int count = target_->ItemCount();
    if (count == 0 || target_->GetItem(count - 1)->GetBoolValue(dvbpFullWidth)) startParagraph();
    item->Inserting(target_, text, false);
    target_->Items().Insert(count, std::move(text), std::move(item));
    return;
  }
  const bool afterFullWidth = index_ == 0 || root_.GetItem(index_ - 1)->GetBoolValue(dvbpFullWidth);
  if (firstItem_) {
    if (!editorMode_ && afterFullWidth) startParagraph();
    int at = index_;
    if (!root_.InsertFirstDVFItem(at, text, item, editorMode_)) {
      // Refused at the editor's caret: nothing of the rest goes in.
      refused_ = true;
      return;
    }
    firstIndex_ = at;
    index_ = at + 1;
    firstItem_ = false;
    return;
  }
  if (afterFullWidth) startParagraph();
  item->Inserting(&root_, text, false);
  root_.Items().Insert(index_, std::move(text), std::move(item));
  ++index_;
}

// ---- the reading settings ----

TDVRTFErrorCode TDVRTFDocumentReader::ReadFromFile(const std::string& fileName, TCustomDVData& dvData) {
  int index = dvData.ItemCount();
  return Read(nullptr, &fileName, dvData, index, false);
}

TDVRTFErrorCode TDVRTFDocumentReader::ReadFromStream(TStream& stream, TCustomDVData& dvData) {
  int index = dvData.ItemCount();
  return Read(&stream, nullptr, dvData, index, false);
}

TDVRTFErrorCode TDVRTFDocumentReader::InsertFromStreamEd(TStream& stream, TCustomDVData& dvData, int& index) {
  return Read(&stream, nullptr, dvData, index, true);
}

TDVRTFErrorCode TDVRTFDocumentReader::Read(TStream* stream, const std::string* fileName, TCustomDVData& dvData,
                                           int& index, bool editorMode) {
  TDVStyle* dvStyle = dvData.GetDVStyle();
  index = std::clamp(index, 0, dvData.ItemCount());
  const int start = index;
  // Settings that name styles the sheet lacks fail before anything is read.
  if (!dvStyle || dvStyle->TextStyles().Count() == 0 || dvStyle->ParaStyles().Count() == 0 ||
      (TextStyleMode == dvrsUseSpecified && !dvStyle->TextStyles().IsValidIndex(TextStyleNo())) ||
      (ParaStyleMode == dvrsUseSpecified && !dvStyle->ParaStyles().IsValidIndex(ParaStyleNo()))) {
    index = -1;
    return rtf_ec_Exception;
  }
  TRead read(*this, dvData, *dvStyle, index, editorMode);
  TDVRTFErrorCode result;
  try {
    TDVRTFReader reader;
    read.Init(reader);
    result = fileName ? reader.ReadFromFile(*fileName) : reader.ReadFromStream(*stream);
  } catch (const std::exception&) {
    result = rtf_ec_Exception;
  }
  const int first = read.FirstIndex() >= 0 ? read.FirstIndex() : start;
  if (result != rtf_ec_OK) {
    // Nothing of a failed read stays in the document.
    if (read.NextIndex() > first) dvData.DeleteItems(first, read.NextIndex() - first);
    index = -1;
    return result;
  }
  index = read.FirstIndex() >= 0 ? read.NextIndex() - 1 : -1;
  return rtf_ec_OK;
}

void InstallRTFReader() {
  SetRTFReaderPropertiesFactory([] { return std::make_unique<TDVRTFDocumentReader>(); });
}

}  // namespace quillet
