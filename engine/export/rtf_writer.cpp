// The RTF writer of documents: the file's frame and tables, paragraph and
// character formatting, text, bookmarks for checkpoints and hyperlink fields.
// Non-text items write themselves.
#include "engine/export/rtf_writer.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/export/rtf_tables.h"
#include "engine/export/rtf_text.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"
#include "platform/core/scoped_value.h"
#include "platform/core/stream.h"

namespace quillet {

int32_t DocViewPixelsPerInch = 0;

namespace {

// The screen's logical resolution on this platform.
constexpr int32_t kScreenPixelsPerInch = 96;

class TDVRTFWriter {
 public:
  TDVRTFWriter(TCustomDVData& data, TStream& stream, TDVStyle& dvStyle, int level, TDVColorList& colorList,
               TDVIntegerList& styleToFont, TDVIntegerList& fontTable, double twipsPerPixel,
               TDVRTFBookmarkNames& bookmarks)
      : data_(data),
        stream_(stream),
        dvStyle_(dvStyle),
        level_(level),
        colorList_(colorList),
        styleToFont_(styleToFont),
        fontTable_(fontTable),
        twipsPerPixel_(twipsPerPixel),
        bookmarks_(bookmarks),
        options_(data.GetRTFOptions()),
        docCodePage_(RTFDocCodePage(dvStyle)) {}

  void SaveHeader();
  void SaveItems(const TDVFLimits& limits);
  void SaveTrailingCheckpoint();
  void Write(const std::string& s) { stream_.WriteString(s); }

 private:
  bool SaveStyleSheet() const { return (options_ & dvrtfSaveStyleSheet) != 0; }
  const TFontInfo& TextStyle(int32_t styleNo) const;
  const TParaInfo& ParaStyle(int32_t paraNo) const;
  int Twips(int32_t pixels) const { return RTFTwips(pixels, twipsPerPixel_); }
  std::string ColorNo(TColor color) const { return std::to_string(std::max(colorList_.IndexOf(color), 0)); }
  int FontCharset(int32_t styleNo) const { return RTFFontCharset(TextStyle(styleNo).Charset, docCodePage_); }

  void SaveStyleSheetGroup();
  std::string TextStyleCode(int32_t styleNo, bool inStyleSheet) const;
  std::string ParaStyleCode(int32_t paraNo, bool inStyleSheet) const;
  std::string BorderCode(const TDVBorder& border) const;
  void SaveParaStart(int itemNo, bool pageBreak);
  void SaveCheckpoint(const TDVCPInfo& checkpoint);
  void SaveText(int itemNo, int from, int to);

  TCustomDVData& data_;
  TStream& stream_;
  TDVStyle& dvStyle_;
  const int level_;
  TDVColorList& colorList_;
  TDVIntegerList& styleToFont_;
  TDVIntegerList& fontTable_;
  const double twipsPerPixel_;
  TDVRTFBookmarkNames& bookmarks_;
  const TDVRTFOptions options_;
  const int docCodePage_;
};

const TFontInfo& TDVRTFWriter::TextStyle(int32_t styleNo) const {
  if (!dvStyle_.TextStyles().IsValidIndex(styleNo) || styleNo >= styleToFont_.Count())
    throw EDocViewError("Text style " + std::to_string(styleNo) + " does not exist");
  return dvStyle_.TextStyles()[styleNo];
}

const TParaInfo& TDVRTFWriter::ParaStyle(int32_t paraNo) const {
  if (!dvStyle_.ParaStyles().IsValidIndex(paraNo))
    throw EDocViewError("Paragraph style " + std::to_string(paraNo) + " does not exist");
  return dvStyle_.ParaStyles()[paraNo];
}

void TDVRTFWriter::SaveHeader() {
  const TFontInfos& textStyles = dvStyle_.TextStyles();
  const int language =
      DVU_Charset2Language(textStyles.Count() > 0 ? FontCharset(0) : CodePageToCharset(docCodePage_));
  Write("{\\rtf1\\ansi\\ansicpg" + std::to_string(docCodePage_) + "\\uc1\\deff0\\deflang" +
        std::to_string(language) + "\\deflangfe" + std::to_string(language));
  SaveFontTable(stream_, textStyles, fontTable_, docCodePage_);
  SaveColorTable(stream_, colorList_);
  if (SaveStyleSheet()) SaveStyleSheetGroup();
  Write("\r\n");
}

void TDVRTFWriter::SaveStyleSheetGroup() {
  std::string out = "{\\stylesheet";
  const int paraCount = dvStyle_.ParaStyles().Count();
  for (int i = 0; i < paraCount; ++i)
    out += "{\\s" + std::to_string(i) + ParaStyleCode(i, true) +
           MakeRTFStr2(dvStyle_.ParaStyles()[i].StyleName, docCodePage_) + ";}";
  for (int j = 0; j < dvStyle_.TextStyles().Count(); ++j)
    out += "{\\*\\cs" + std::to_string(paraCount + j) + TextStyleCode(j, true) +
           MakeRTFStr2(dvStyle_.TextStyles()[j].StyleName, docCodePage_) + ";}";
  Write(out + "}");
}

std::string TDVRTFWriter::TextStyleCode(int32_t styleNo, bool inStyleSheet) const {
  const TFontInfo& style = TextStyle(styleNo);
  std::string out = "\\f" + std::to_string(styleToFont_[styleNo]);
  if (style.Style & fsBold) out += "\\b";
  if (style.Style & fsItalic) out += "\\i";
  if (style.Style & fsUnderline) out += "\\ul";
  if (style.Style & fsStrikeOut) out += "\\strike";
  if (style.VShift < 0) out += "\\sub";
  if (style.VShift > 0) out += "\\super";
  if (style.CharScale != 100) out += "\\charscalex" + std::to_string(style.CharScale);
  if (style.CharSpacing != 0) out += "\\expndtw" + std::to_string(Twips(style.CharSpacing));
  if (style.StyleEx & dvfsAllCaps) out += "\\caps";
  if (style.Charset != DEFAULT_CHARSET && FontCharset(styleNo) != FontCharset(0))
    out += "\\lang" + std::to_string(DVU_Charset2Language(FontCharset(styleNo)));
  out += "\\fs" + std::to_string(int64_t{style.Size} * 2);
  if (style.BackColor != clNone) out += "\\chcbpat" + ColorNo(style.BackColor);
  if (style.Color != clWindowText) out += "\\cf" + ColorNo(style.Color);
  out += data_.GetExtraRTFCode(dv_rtfs_TextStyle, &style, styleNo, -1, inStyleSheet);
  return out + " ";
}

std::string TDVRTFWriter::BorderCode(const TDVBorder& border) const {
  std::string a, b;
  int32_t width = border.Width;
  switch (border.Style) {
    case dvbSingle: a = b = "\\brdrs"; break;
    case dvbDouble: a = b = "\\brdrdb"; break;
    case dvbTriple: a = b = "\\brdrtriple"; break;
    case dvbThickInside:
      a = "\\brdrthtnmg", b = "\\brdrtnthmg";
      width *= 2;
      break;
    case dvbThickOutside:
      a = "\\brdrtnthmg", b = "\\brdrthtnmg";
      width *= 2;
      break;
    case dvbNone: return {};
  }
  const std::string tail = "\\brdrcf" + ColorNo(border.Color) + "\\brdrw" + std::to_string(Twips(width));
  a += tail;
  b += tail;
  const TDVRect& offsets = border.BorderOffsets;
  std::string out = "\\brdrbtw";
  if (border.VisibleBorders.Left) out += "\\brdrl\\brsp" + std::to_string(Twips(offsets.Left)) + a;
  if (border.VisibleBorders.Top) out += "\\brdrt\\brsp" + std::to_string(Twips(offsets.Top)) + a;
  if (border.VisibleBorders.Right) out += "\\brdrr\\brsp" + std::to_string(Twips(offsets.Right)) + b;
  if (border.VisibleBorders.Bottom) out += "\\brdrb\\brsp" + std::to_string(Twips(offsets.Bottom)) + b;
  return out;
}

std::string TDVRTFWriter::ParaStyleCode(int32_t paraNo, bool inStyleSheet) const {
  const TParaInfo& style = ParaStyle(paraNo);
  static constexpr const char* kAlignment[] = {"l", "r", "c", "j"};
  std::string out;
  if (style.LineSpacingType == dvlsPercent && style.LineSpacing > 100)
    out += "\\sl" + std::to_string(int64_t{style.LineSpacing} * 240 / 100) + "\\slmult1";
  const int alignment = style.Alignment >= dvaLeft && style.Alignment <= dvaJustify ? style.Alignment : dvaLeft;
  out += "\\q" + std::string(kAlignment[alignment]) + "\\fi" + std::to_string(Twips(style.FirstIndent)) +
         "\\li" + std::to_string(Twips(style.LeftIndent)) + "\\ri" + std::to_string(Twips(style.RightIndent)) +
         "\\sb" + std::to_string(Twips(style.SpaceBefore)) + "\\sa" + std::to_string(Twips(style.SpaceAfter));
  if (style.Background().Color != clNone) out += "\\cbpat" + ColorNo(style.Background().Color);
  if (style.Border().Style != dvbNone && style.Border().Color != clNone) out += BorderCode(style.Border());
  if (!inStyleSheet) out += "\\itap" + std::to_string(level_);
  if (level_ == 1) out += "\\intbl";
  out += data_.GetExtraRTFCode(dv_rtfs_ParaStyle, &style, paraNo, -1, inStyleSheet);
  return out + " ";
}

// A new paragraph (after "\par" unless it is the first one written), with
// the formatting of the paragraph that itemNo belongs to.
void TDVRTFWriter::SaveParaStart(int itemNo, bool pageBreak) {
  std::string out;
  if (!(data_.State & dvstRTFSkipPar)) out += "\\par";
  data_.State &= ~static_cast<TDVStates>(dvstRTFSkipPar);
  out += "\\pard";
  if (pageBreak) out += "\\page";
  const int32_t paraNo = data_.GetItemPara(data_.GetFirstParaItem(itemNo));
  if (SaveStyleSheet()) out += "\\s" + std::to_string(paraNo);
  Write(out + ParaStyleCode(paraNo, false));
}

void TDVRTFWriter::SaveCheckpoint(const TDVCPInfo& checkpoint) {
  const std::string name = bookmarks_.Add(checkpoint.Name, docCodePage_);
  Write("{\\*\\bkmkstart " + name + "}{\\*\\bkmkend " + name + "}");
}

// Characters from..to-1 (caret offsets) of text item itemNo.
void TDVRTFWriter::SaveText(int itemNo, int from, int to) {
  const TCustomDVItemInfo& item = *data_.GetItem(itemNo);
  const TFontInfo& style = TextStyle(item.StyleNo);
  std::string out = "\\plain ";
  if (SaveStyleSheet()) out += "\\cs" + std::to_string(dvStyle_.ParaStyles().Count() + item.StyleNo);
  Write(out + TextStyleCode(item.StyleNo, false));
  const int codePage = data_.GetStyleCodePage(item.StyleNo);
  const bool rtfCode = (style.Options & dvteoRTFCode) != 0;
  const std::string text = DVU_Copy(data_.GetItemTextR(itemNo), from, to - from, item.ItemOptions, codePage);
  if (item.IsUnicode())
    WriteUnicodeRTFStr(stream_, text, codePage, rtfCode, (options_ & dvrtfDuplicateUnicode) != 0);
  else
    Write(MakeRTFStr(text, rtfCode, codePage));
  // Some readers keep a raised or lowered run's position past the next
  // run's \plain; ending it here reads right everywhere.
  if (style.VShift != 0) Write("\\nosupersub ");
}

void TDVRTFWriter::SaveItems(const TDVFLimits& limits) {
  const int first = limits.StartItemNo, last = limits.EndItemNo;
  const bool oneTextItem = first == last && data_.GetItemStyle(first) >= 0;
  const auto emptyText = [this](int i) { return data_.GetItemStyle(i) >= 0 && data_.ItemLength(i) == 0; };
  // Whether a paragraph has been begun: a range that starts inside a
  // paragraph begins it at its first written item, so that the paragraph
  // after it gets its "\par" and the two never run together.
  bool inParagraph = false;
  for (int i = first; i <= last; ++i) {
    TCustomDVItemInfo& item = *data_.GetItem(i);
    if (!oneTextItem && !emptyText(i) &&
        ((i == first && limits.StartOffs >= data_.GetOffsAfterItem(i)) ||
         (i == last && limits.EndOffs <= data_.GetOffsBeforeItem(i))))
      continue;
    if (!item.SameAsPrev() && (inParagraph || !item.BR())) {
      Write("\r\n");
      if (item.BR())
        Write("\\line");
      else
        SaveParaStart(i, item.PageBreakBefore());
      inParagraph = true;
    } else if (!inParagraph) {
      Write("\r\n");
      SaveParaStart(i, false);
      inParagraph = true;
    }
    if (item.Checkpoint) SaveCheckpoint(*item.Checkpoint);
    bool link = false;
    if (item.GetBoolValueEx(dvbpJump, &dvStyle_)) {
      const std::string url = MakeRTFURL(data_.GetURL(item.JumpID), docCodePage_);
      if (!url.empty()) {
        Write("{\\field{\\*\\fldinst HYPERLINK \"" + url + "\"}{\\fldrslt");
        link = true;
      }
    }
    if (item.StyleNo >= 0) {
      const int from = i == first ? limits.StartOffs : data_.GetOffsBeforeItem(i);
      const int to = i == last ? limits.EndOffs : data_.GetOffsAfterItem(i);
      SaveText(i, from, to);
    } else {
      item.SaveRTF(stream_, data_, i, data_.GetItemTextR(i), twipsPerPixel_, level_, colorList_, styleToFont_,
                   fontTable_);
    }
    if (link) Write("}}");
  }
}

void TDVRTFWriter::SaveTrailingCheckpoint() {
  if (data_.NotAddedCP()) SaveCheckpoint(*data_.NotAddedCP());
}

}  // namespace

double GetTwipsPerPixel() {
  return 1440.0 / (DocViewPixelsPerInch >= 1 ? DocViewPixelsPerInch : kScreenPixelsPerInch);
}

int32_t RTFTwips(int32_t pixels, double twipsPerPixel) {
  const double twips = std::nearbyint(pixels * twipsPerPixel);
  return twips >= INT32_MAX ? INT32_MAX : twips <= INT32_MIN ? INT32_MIN : static_cast<int32_t>(twips);
}

std::string TCustomDVData::GetExtraRTFCode(TDVRTFSaveArea area, const void* obj, int index1, int index2,
                                           bool inStyleSheet) {
  return IsOwnRoot() ? std::string() : GetRootData()->GetExtraRTFCode(area, obj, index1, index2, inStyleSheet);
}

bool TCustomDVData::SaveRTFToStream(TStream& stream, bool selectionOnly, int level, TColor color,
                                    const TDVBackground* /*background*/, TDVColorList* colorList,
                                    TDVIntegerList* styleToFont, TDVIntegerList* fontTable,
                                    double twipsPerPixel) {
  if (!CloseInplaceEditorForSaving()) return false;
  const TDVFLimits limits = DVFGetLimits(GetDVFSaveScope(selectionOnly));
  const bool empty =
      limits.StartItemNo < 0 || limits.StartItemNo > limits.EndItemNo || limits.EndItemNo >= ItemCount();
  // A nested document with nothing to write adds nothing to its cell; a
  // file with nothing in it is still a whole, empty file.
  if (empty && level > 0) return true;
  const int first = empty ? 0 : limits.StartItemNo, last = empty ? -1 : limits.EndItemNo;
  try {
    TDVStyle* dvStyle = GetDVStyle();
    if (!dvStyle) throw EDocViewError("The document has no style sheet");
    std::optional<TDVColorList> ownColors;
    std::optional<TDVIntegerList> ownStyleToFont, ownFontTable;
    std::optional<TDVRTFBookmarkNames> ownBookmarks;
    if (level == 0) {
      colorList = &ownColors.emplace();
      styleToFont = &ownStyleToFont.emplace();
      fontTable = &ownFontTable.emplace();
      twipsPerPixel = GetTwipsPerPixel();
    } else if (level < 0 || !colorList || !styleToFont || !fontTable) {
      throw EDocViewError("A nested RTF document needs the tables of its file");
    }
    // The bookmark names of the whole file: those of nested documents too.
    TCustomDVData* root = GetAbsoluteRootData();
    TDVRTFBookmarkNames* bookmarks = root->rtfBookmarks_;
    std::optional<TScopedValue<TDVRTFBookmarkNames*>> publish;
    if (!bookmarks || level == 0) {
      bookmarks = &ownBookmarks.emplace();
      if (level == 0) publish.emplace(root->rtfBookmarks_, bookmarks);
    }

    StartPartialExport(first, last);
    struct EndExportGuard {
      TCustomDVData& data;
      int first, last;
      ~EndExportGuard() { data.EndPartialExport(first, last); }
    } endExport{*this, first, last};

    TDVRTFWriter writer(*this, stream, *dvStyle, level, *colorList, *styleToFont, *fontTable, twipsPerPixel,
                        *bookmarks);
    if (level == 0) {
      MakeFontTable(dvStyle->TextStyles(), RTFDocCodePage(*dvStyle), *fontTable, *styleToFont);
      MakeRTFColorTable(*this, *dvStyle, *colorList, true);
      if (color != clWindow) colorList->AddUnique(color);
      writer.SaveHeader();
      writer.Write((GetRTFOptions() & dvrtfDuplicateUnicode) ? "\\uc1" : "\\uc0");
    }
    TScopedFlags<TDVStates> skipPar(State, dvstRTFSkipPar);
    if (!empty) {
      writer.SaveItems(limits);
      if (last == ItemCount() - 1 && limits.EndOffs >= GetOffsAfterItem(last)) writer.SaveTrailingCheckpoint();
      if (level == 0 && last > first && IsParaStart(last) && GetItemStyle(last) >= 0 && ItemLength(last) == 0)
        writer.Write("\\par");
    }
    if (level == 0) writer.Write("}");
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TCustomDVData::SaveRTF(const std::string& fileName, bool selectionOnly, TColor color,
                            const TDVBackground* background) {
  TMemoryStream stream;
  if (!SaveRTFToStream(stream, selectionOnly, color, background)) return false;
  try {
    // Written beside the file and renamed over it only when complete.
    stream.SaveToFile(fileName);
  } catch (const EStreamError&) {
    return false;
  }
  return true;
}

}  // namespace quillet
