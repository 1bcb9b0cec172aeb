// The DVF reader: turns a stream of records into items inserted into a
// document, with checkpoints, styles, background, layout and the host's lines.
// Nothing from the stream is trusted: counts, lengths and style numbers are
// checked against what exists, and a failed read takes back what it inserted.
#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <span>

#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/model/marker_item.h"
#include "engine/stream/dvf_pictures.h"
#include "engine/stream/host_lines_check.h"
#include "engine/base/dvf_tokens.h"
#include "engine/stream/layout_info.h"
#include "engine/style/style_sheet.h"
#include "engine/style/style_stream.h"
#include "engine/view/background.h"
#include "platform/gfx/graphic.h"
#include "platform/core/code_page.h"
#include "platform/core/control.h"
#include "platform/core/scoped_value.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr int32_t kDocPropTextStyles = 1, kDocPropParaStyles = 2, kDocPropLayout = 3, kDocPropListStyles = 4;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr uint8_t kCollectionMarker = 14;

// Ends the read; the worker turns it into a false result.
class EDVFAbort : public std::exception {};
[[noreturn]] void Abort() { throw EDVFAbort(); }

// The document a load reads into before it replaces the real one. What the
// stream's items ask of their document's owner (pictures and controls stored
// without body, image lists, the parent control, notices about controls) is
// asked of the real document.
class TDVFScratchData final : public TCustomDVData {
 public:
  explicit TDVFScratchData(TCustomDVData& target)
      : Check(TScopedHostLinesCheck::For(target)), target_(target) {}
  TCustomImageList* DVFImageListNeeded(int32_t imageListTag) override {
    return target_.DVFImageListNeeded(imageListTag);
  }
  std::unique_ptr<TGraphic> DVFPictureNeeded(const std::string& name, const TDVTag& tag) override {
    return target_.DVFPictureNeeded(name, tag);
  }
  std::unique_ptr<TControl> DVFControlNeeded(const std::string& name, const TDVTag& tag) override {
    return target_.DVFControlNeeded(name, tag);
  }
  TControl* GetParentControl() const override { return target_.GetParentControl(); }
  void ControlAction2(TDVControlAction action, int itemNo, TControl* control) override {
    // Items that a failed load drops were never the owner's.
    if (action != dvcaDestroy) target_.ControlAction2(action, itemNo, control);
  }

  // The host's check of the lines read, when it set one for the target.
  const THostLinesCheck* const Check;

 private:
  TCustomDVData& target_;
};

}  // namespace

class TDVFReader {
 public:
  TDVFReader(TCustomDVData& data, int index, int32_t aParaNo, bool allowReplaceStyles, bool appendMode,
             bool editFlag, TColor& color, TDVBackground* background, TDVLayoutInfo* layout)
      : data_(data),
        dvStyle_(data.GetDVStyle()),
        startIndex_(index),
        index_(index),
        aParaNo_(aParaNo),
        allowReplaceStyles_(allowReplaceStyles),
        appendMode_(appendMode),
        editFlag_(editFlag),
        color_(color),
        background_(background),
        layout_(layout) {}

  bool Run(std::string buffer, int& index, int& nonFirstItemsAdded);

 private:
  // ---- lines ----
  std::string_view NextLine();
  std::string_view NextTextLine();
  std::string_view NextBinaryBlock();
  std::string_view NextUnicodeLine();

  // ---- records ----
  void ReadHeader(std::string_view line);
  void ReadDataLine(std::string_view line);
  void EndOfDataLine();
  void CheckTextStyle(int32_t& styleNo);
  void CheckParaStyle(int32_t& paraNo);
  void ReadDocProperty(std::string_view line);
  void ReadBackgroundPicture(std::string_view line);
  void ReadStyles(TCustomDVInfos& target, std::optional<TDVIntegerList>& mapping, TDVFReaderStyleMode mode,
                  std::string_view line, int32_t kind);
  std::vector<uint8_t> DataBytes(std::string_view line) const;
  void Warn(TDVFWarnings warning) { data_.SetDVFWarnings(data_.GetDVFWarnings() | warning); }

  // ---- inserting ----
  void InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item);
  void AttachPendingCheckpoint(TCustomDVItemInfo* item);
  void AgreeUnicode(std::string& text, TCustomDVItemInfo& item);
  void MapListNo(TDVMarkerItemInfo& marker);
  bool PutTailBack();
  void NormaliseParagraphs();
  void Finish(bool ok);
  void Rollback();
  void BackUpStyles();

  TCustomDVData& data_;
  TDVStyle* dvStyle_;
  int startIndex_;
  int index_;  // where the next item goes
  int32_t aParaNo_;
  bool allowReplaceStyles_, appendMode_, editFlag_;
  TColor& color_;
  TDVBackground* background_;
  TDVLayoutInfo* layout_;

  std::string buffer_;
  size_t pos_ = 0;
  bool lastLineEndedWithCRLF_ = false;
  TDVFReadMode readMode_ = rmText;
  TDVFReadState readState_ = rstHeader;

  // The record being read.
  int32_t styleNo_ = 0, paraNo_ = 0, dataCount_ = 0, lineNo_ = 0, extraValue_ = 0;
  int readType_ = 0;
  TDVTag tag_;
  bool raiseEvent_ = false;
  std::unique_ptr<TCustomDVItemInfo> item_;
  std::string name_;
  int32_t version_ = 1, subVersion_ = 0;
  int32_t backStyle_ = 0;
  TColor backColor_ = clNone;

  std::optional<TDVIntegerList> textMapping_, paraMapping_, listMapping_;
  // Copies of the style collections as they were before the read changed them.
  std::unique_ptr<TFontInfos> savedText_;
  std::unique_ptr<TParaInfos> savedPara_;
  std::unique_ptr<TDVListInfos> savedList_;

  // The checkpoint that the next inserted item takes: the document's
  // trailing one (still held there) or one read from the stream (held here).
  TDVCPInfo* pending_ = nullptr;
  std::unique_ptr<TDVCPInfo> ownPending_;
  TDVCPInfo* cpBefore_ = nullptr;
  // The document's trailing checkpoint when an inserted item took it.
  TCustomDVItemInfo* tookTrailing_ = nullptr;

  bool firstInserted_ = false;
  int firstIndex_ = -1;
  int inserted_ = 0;  // items of our own in the list, from firstIndex_
  // The document's items after the insertion point while an insertion in
  // the middle reads; PutTailBack returns them after the inserted ones.
  TDVItemList tail_;
};

// ---- lines ----

std::string_view TDVFReader::NextTextLine() {
  const size_t end = buffer_.find_first_of("\r\n", pos_);
  const size_t stop = end == std::string::npos ? buffer_.size() : end;
  std::string_view line(buffer_.data() + pos_, stop - pos_);
  pos_ = stop;
  lastLineEndedWithCRLF_ = false;
  if (pos_ < buffer_.size() && buffer_[pos_] == '\r') ++pos_;
  if (pos_ < buffer_.size() && buffer_[pos_] == '\n') {
    lastLineEndedWithCRLF_ = pos_ > 0 && buffer_[pos_ - 1] == '\r' && stop + 2 == pos_ + 1;
    ++pos_;
  }
  return line;
}

std::string_view TDVFReader::NextBinaryBlock() {
  if (buffer_.size() - pos_ < 4) Abort();
  uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= uint32_t{static_cast<uint8_t>(buffer_[pos_ + i])} << (8 * i);
  pos_ += 4;
  if (length > buffer_.size() - pos_) Abort();
  std::string_view block(buffer_.data() + pos_, length);
  pos_ += length;
  return block;
}

std::string_view TDVFReader::NextUnicodeLine() {
  const size_t start = pos_;
  while (buffer_.size() - pos_ >= 2) {
    const auto unit = static_cast<char16_t>(static_cast<uint8_t>(buffer_[pos_]) |
                                            (static_cast<uint8_t>(buffer_[pos_ + 1]) << 8));
    if (unit == kParagraphSeparator || unit == 0) {
      std::string_view line(buffer_.data() + start, pos_ - start);
      pos_ += 2;
      return line;
    }
    pos_ += 2;
  }
  // A last odd byte cannot be a unit: it ends the buffer.
  std::string_view line(buffer_.data() + start, pos_ - start);
  pos_ = buffer_.size();
  return line;
}

std::string_view TDVFReader::NextLine() {
  switch (readMode_) {
    case rmBeforeBinary:
      if (!lastLineEndedWithCRLF_) Abort();
      [[fallthrough]];
    case rmBinary:
      readMode_ = rmText;
      return NextBinaryBlock();
    case rmBeforeUnicode:
      if (!lastLineEndedWithCRLF_) Abort();
      readMode_ = rmUnicode;
      [[fallthrough]];
    case rmUnicode:
      return NextUnicodeLine();
    case rmAfterUnicode:
      readMode_ = rmText;
      return NextTextLine();
    case rmText:
    default:
      return NextTextLine();
  }
}

// ---- records ----

void TDVFReader::CheckTextStyle(int32_t& styleNo) {
  if (textMapping_) {
    if (styleNo >= textMapping_->Count()) {
      Warn(dvfwConvUnknownStyles);
      Abort();
    }
    styleNo = (*textMapping_)[styleNo];
  }
  if (!dvStyle_ || styleNo < dvStyle_->TextStyles().Count()) return;
  Warn(dvfwConvUnknownStyles);
  if (!(data_.GetDVFOptions() & dvfoConvUnknownStylesToZero)) Abort();
  styleNo = 0;
}

void TDVFReader::CheckParaStyle(int32_t& paraNo) {
  if (paraMapping_) {
    if (paraNo >= paraMapping_->Count()) {
      Warn(dvfwConvUnknownStyles);
      Abort();
    }
    paraNo = (*paraMapping_)[paraNo];
  }
  if (!dvStyle_ || paraNo < dvStyle_->ParaStyles().Count()) return;
  Warn(dvfwConvUnknownStyles);
  if (!(data_.GetDVFOptions() & dvfoConvUnknownStylesToZero)) Abort();
  paraNo = 0;
}

void TDVFReader::ReadHeader(std::string_view p) {
  static const TDVStyle kNoStyles;
  const TDVStyle& styles = dvStyle_ ? *dvStyle_ : kNoStyles;
  item_.reset();
  name_.clear();
  tag_ = {};
  raiseEvent_ = false;
  lineNo_ = 0;
  if (!DVFReadTextStyle(styles, p, styleNo_)) Abort();
  if (styleNo_ == dvsVersionInfo) {
    if (!DVFReadInteger(p, version_) || !DVFReadInteger(p, subVersion_)) Abort();
    dataCount_ = 0;
    return;
  }
  if (!DVFReadInteger(p, dataCount_) || dataCount_ < 0) Abort();
  // Every data line takes at least one byte but the very last.
  if (static_cast<size_t>(dataCount_) > buffer_.size() - pos_ + 1) Abort();
  if (!DVFReadParaStyle(styles, p, paraNo_) || paraNo_ < -1) Abort();
  const bool record = styleNo_ == dvsBack || styleNo_ == dvsCheckpoint || styleNo_ == dvsDocProperty;
  if (!record) item_ = CreateDocViewItem(styleNo_, &data_);
  if (version_ > 1 || (version_ == 1 && subVersion_ >= 2)) {
    int32_t options = 0;
    if (!DVFReadInteger(p, options) || options < 0 || options > DVStoredItemOptions) Abort();
    if (item_) item_->ItemOptions = static_cast<TDVItemOptions>(options);
  }
  int32_t readType = 0;
  if (!DVFReadInteger(p, readType) || readType < 0 || readType > 2) Abort();
  readType_ = readType;
  TDVTag tag;
  if (!DVFReadTag(p, data_.TagsArePChars(), tag)) Abort();
  if (styleNo_ == dvsDocProperty && !DVFReadInteger(p, extraValue_)) Abort();
  if (item_)
    item_->Tag = std::move(tag);
  else
    tag_ = std::move(tag);
  if (styleNo_ >= 0) CheckTextStyle(styleNo_);
  if (item_) item_->StyleNo = styleNo_;
  // Paragraph numbers are checked for every item, full-width ones included.
  if (item_ && paraNo_ >= 0) CheckParaStyle(paraNo_);
  if (styleNo_ == dvsBack) {
    if (!DVFReadInteger(p, backStyle_) || backStyle_ < bsNoBitmap || backStyle_ > bsCentered) Abort();
    int32_t color = 0;
    if (!DVFReadInteger(p, color)) Abort();
    backColor_ = static_cast<TColor>(color);
    if (data_.GetDVFOptions() & dvfoLoadBack) {
      color_ = backColor_;
      if (background_) {
        background_->Style = static_cast<TBackgroundStyle>(backStyle_);
        background_->SetBitmap(TBitmap());
      }
    }
  } else if (styleNo_ == dvsCheckpoint) {
    int32_t raise = 0;
    if (!p.empty() && !DVFReadInteger(p, raise)) Abort();
    raiseEvent_ = raise != 0;
  } else if (item_) {
    item_->ParaNo = paraNo_;
    if (!item_->ReadDVFHeader(p, &data_)) Abort();
  }

  if (dataCount_ == 0) {
    if (item_ && styleNo_ < 0) InsertItem(std::string(), std::move(item_));
    item_.reset();
    return;
  }
  const bool needsLines = record || (item_ && item_->GetBoolValue(dvbpRequiresDVFLines));
  readState_ = needsLines ? rstData : rstSkip;
  if (readState_ == rstData && item_ && item_->IsUnicode() && styleNo_ >= 0) readMode_ = rmBeforeUnicode;
  if (readState_ == rstSkip && dataCount_ == 1 && readType_ == 2) readMode_ = rmBeforeBinary;
}

std::vector<uint8_t> TDVFReader::DataBytes(std::string_view line) const {
  if (readType_ == 2) return std::vector<uint8_t>(line.begin(), line.end());
  TMemoryStream bytes;
  if (!DVFTextString2Stream(line, bytes)) Abort();
  return bytes.Bytes();
}

void TDVFReader::BackUpStyles() {
  if (!dvStyle_ || savedText_) return;
  savedText_ = std::make_unique<TFontInfos>(dvStyle_);
  savedText_->Assign(dvStyle_->TextStyles());
  savedPara_ = std::make_unique<TParaInfos>(dvStyle_);
  savedPara_->Assign(dvStyle_->ParaStyles());
  savedList_ = std::make_unique<TDVListInfos>(dvStyle_);
  savedList_->Assign(dvStyle_->ListStyles());
}

void TDVFReader::ReadStyles(TCustomDVInfos& target, std::optional<TDVIntegerList>& mapping, TDVFReaderStyleMode mode,
                            std::string_view line, int32_t kind) {
  const std::vector<uint8_t> bytes = DataBytes(line);
  if (bytes.empty() || bytes[0] != kCollectionMarker) Abort();
  std::unique_ptr<TCustomDVInfos> loaded;
  if (kind == kDocPropTextStyles)
    loaded = std::make_unique<TFontInfos>(dvStyle_);
  else if (kind == kDocPropParaStyles)
    loaded = std::make_unique<TParaInfos>(dvStyle_);
  else {
    // Levels name their image lists by Tag; the document's owner has them.
    auto lists = std::make_unique<TDVListInfos>(dvStyle_);
    lists->DVFImageListNeeded = [this](int32_t tag) { return data_.DVFImageListNeeded(tag); };
    loaded = std::move(lists);
  }
  try {
    LoadStyleCollection(bytes, *loaded);
  } catch (const std::exception&) {
    Abort();
  }
  if (mode == dvf_sIgnore) return;
  BackUpStyles();
  if (allowReplaceStyles_) {
    target.Assign(*loaded);
    mapping.reset();
    return;
  }
  mapping.emplace();
  target.MergeWith(*loaded, mode == dvf_sInsertMap ? dvs_merge_Map : dvs_merge_SmartMerge, *mapping);
}

void TDVFReader::ReadDocProperty(std::string_view line) {
  if (lineNo_ == 0) {
    // The style sheet's name is not used.
    if (readType_ == 2) readMode_ = rmBeforeBinary;
    return;
  }
  if (lineNo_ != 1) return;
  switch (extraValue_) {
    case kDocPropTextStyles:
    case kDocPropParaStyles:
    case kDocPropListStyles: {
      if (!dvStyle_) {
        DataBytes(line);  // still checked
        return;
      }
      if (extraValue_ == kDocPropTextStyles) {
        ReadStyles(dvStyle_->TextStyles(), textMapping_, data_.GetDVFTextStylesReadMode(), line, extraValue_);
      } else if (extraValue_ == kDocPropParaStyles) {
        ReadStyles(dvStyle_->ParaStyles(), paraMapping_, data_.GetDVFParaStylesReadMode(), line, extraValue_);
      } else {
        TDVFReaderStyleMode mode = data_.GetDVFParaStylesReadMode();
        if (mode == dvf_sInsertMap) mode = dvf_sIgnore;
        ReadStyles(dvStyle_->ListStyles(), listMapping_, mode, line, extraValue_);
      }
      return;
    }
    case kDocPropLayout: {
      if (!layout_ || !allowReplaceStyles_ || !(data_.GetDVFOptions() & dvfoLoadLayout)) return;
      const std::vector<uint8_t> bytes = DataBytes(line);
      TMemoryStream stream(bytes);
      layout_->LoadFromStream(stream);
      return;
    }
    default:
      return;  // a kind of a newer version
  }
}

void TDVFReader::ReadBackgroundPicture(std::string_view line) {
  if (lineNo_ == 0) {
    if (readType_ == 2) readMode_ = rmBeforeBinary;
    return;
  }
  if (lineNo_ != 1) return;
  TBitmap bitmap;
  const bool loaded = readType_ == 2 ? DVFLoadPictureBinary(line, bitmap) : DVFLoadPicture(line, bitmap);
  if (!loaded) Abort();
  if ((data_.GetDVFOptions() & dvfoLoadBack) && background_) background_->SetBitmap(bitmap);
}

void TDVFReader::ReadDataLine(std::string_view line) {
  if (readState_ == rstSkip) {
    if (lineNo_ + 2 == dataCount_ && readType_ == 2) readMode_ = rmBeforeBinary;
    if (lineNo_ + 1 == dataCount_ && item_) InsertItem(name_, std::move(item_));
    return;
  }
  switch (styleNo_) {
    case dvsDocProperty:
      ReadDocProperty(line);
      return;
    case dvsBack:
      ReadBackgroundPicture(line);
      return;
    case dvsCheckpoint:
      if (lineNo_ == 0 && !pending_) {
        ownPending_ = std::make_unique<TDVCPInfo>();
        ownPending_->Name = std::string(line);
        ownPending_->RaiseEvent = raiseEvent_;
        ownPending_->Tag = std::move(tag_);
        pending_ = ownPending_.get();
      }
      return;
    default:
      break;
  }
  if (!item_) return;
  if (styleNo_ >= 0) {
    auto textItem = DV_DuplicateItem(*item_, &data_);
    InsertItem(std::string(line), std::move(textItem));
    return;
  }
  if (!item_->ReadDVFLine(line, &data_, readType_, lineNo_, dataCount_, name_, readMode_, readState_)) Abort();
  if (lineNo_ + 1 == dataCount_) InsertItem(name_, std::move(item_));
}

void TDVFReader::EndOfDataLine() {
  ++lineNo_;
  if (lineNo_ < dataCount_) return;
  readState_ = rstHeader;
  if (readMode_ == rmUnicode) readMode_ = rmAfterUnicode;
  item_.reset();
}

// ---- inserting ----

void TDVFReader::AttachPendingCheckpoint(TCustomDVItemInfo* item) {
  if (!pending_ || item->Checkpoint) return;
  TDVCPInfo* cp = pending_;
  if (ownPending_) {
    item->Checkpoint = std::move(ownPending_);
    ++data_.cpCount_;
  } else {
    item->Checkpoint = std::move(data_.notAddedCP_);
    tookTrailing_ = item;
  }
  cp->ItemInfo = item;
  data_.LinkAfter(cp, cpBefore_);
  cpBefore_ = cp;
  pending_ = nullptr;
}

void TDVFReader::AgreeUnicode(std::string& text, TCustomDVItemInfo& item) {
  if (item.StyleNo < 0) return;
  if (item.IsUnicode()) text.resize(text.size() & ~size_t{1});
  if (!dvStyle_ || !dvStyle_->TextStyles().IsValidIndex(item.StyleNo)) return;
  const TFontInfo& style = dvStyle_->TextStyles()[item.StyleNo];
  const int codePage = ResolveCodePage(CharsetToCodePage(style.Charset));
  if (item.IsUnicode() && !style.Unicode) {
    std::u16string wide(text.size() / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
      wide[i] = static_cast<char16_t>(static_cast<uint8_t>(text[2 * i]) | (static_cast<uint8_t>(text[2 * i + 1]) << 8));
    text = WideCharToMultiByte(codePage, wide);
    item.ItemOptions &= static_cast<TDVItemOptions>(~dvioUnicode);
    Warn(dvfwConvFromUnicode);
  } else if (!item.IsUnicode() && style.Unicode) {
    const std::u16string wide = MultiByteToWideChar(codePage, text);
    text.clear();
    for (char16_t unit : wide) {
      text += static_cast<char>(unit & 0xFF);
      text += static_cast<char>(unit >> 8);
    }
    item.ItemOptions |= dvioUnicode;
    Warn(dvfwConvToUnicode);
  }
}

// A marker's list goes through the list-style mapping; a number beyond the
// mapping, or beyond the lists that exist, becomes 0.
void TDVFReader::MapListNo(TDVMarkerItemInfo& marker) {
  if (listMapping_) {
    if (marker.ListNo < listMapping_->Count()) {
      marker.ListNo = (*listMapping_)[marker.ListNo];
      return;
    }
  } else if (!dvStyle_ || marker.ListNo < dvStyle_->ListStyles().Count()) {
    return;
  }
  Warn(dvfwConvUnknownStyles);
  marker.ListNo = 0;
}

void TDVFReader::InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
  if (!item) return;
  if (item->StyleNo >= 0) {
    if (editFlag_ && dvStyle_ && dvStyle_->TextStyles().IsValidIndex(item->StyleNo) &&
        (dvStyle_->TextStyles()[item->StyleNo].Protection & dvprDVFInsertProtect))
      return;
  } else if (!item->GetBoolValue(dvbpValid)) {
    return;
  }
  const TCustomDVItemInfo* before = index_ > 0 ? data_.GetItem(index_ - 1) : nullptr;
  if (paraNo_ == -1 && before && !before->GetBoolValue(dvbpFullWidth)) {
    item->SetSameAsPrev(true);
    item->ParaNo = before->ParaNo;
  } else {
    item->ItemOptions &= static_cast<TDVItemOptions>(~dvioSameAsPrev);
    item->ParaNo = paraNo_ == -1 ? 0 : paraNo_;
  }
  AgreeUnicode(text, *item);
  if (auto* marker = dynamic_cast<TDVMarkerItemInfo*>(item.get())) MapListNo(*marker);
  AttachPendingCheckpoint(item.get());
  TCustomDVItemInfo* raw = item.get();
  if (!firstInserted_) {
    firstInserted_ = true;
    if (appendMode_) {
      if (aParaNo_ == -1 && before && !before->GetBoolValue(dvbpFullWidth)) {
        item->SetSameAsPrev(true);
        item->ParaNo = before->ParaNo;
      } else if (aParaNo_ != -1) {
        item->ItemOptions &= static_cast<TDVItemOptions>(~dvioSameAsPrev);
        item->ParaNo = aParaNo_;
      }
    }
    int at = index_;
    // A refusal (protection at an editor's caret) ends the reading.
    if (!data_.InsertFirstDVFItem(at, text, item, editFlag_)) Abort();
    firstIndex_ = at;
    index_ = at + 1;
    inserted_ = 1;
    // The items after the insertion point wait aside, so that every item
    // read is appended instead of moving all of them once per item.
    if (index_ < data_.ItemCount()) tail_ = data_.Items().TakeFrom(index_);
  } else {
    data_.InsertItemDirectly(index_, std::move(text), std::move(item));
    ++index_;
    ++inserted_;
  }
  // Both ways leave the item just before index_; searching the list for it
  // would make every read quadratic.
  data_.ControlAction(dvcaAfterDVFLoad, index_ - 1, raw);
  if (!(data_.State & dvstLoadingAsPartOfItem)) raw->AfterLoading();
}

bool TDVFReader::PutTailBack() {
  if (tail_.Empty()) return true;
  try {
    data_.Items().Append(std::move(tail_));
    return true;
  } catch (const std::bad_alloc&) {
    // The inserted items go again; the list then has room for the tail, as
    // it held it before.
    data_.DeleteItems(firstIndex_, inserted_);
    inserted_ = 0;
    data_.Items().Append(std::move(tail_));
    return false;
  }
}

void TDVFReader::NormaliseParagraphs() {
  if (editFlag_ || data_.ItemCount() == 0) return;
  int first = std::clamp(firstIndex_ < 0 ? startIndex_ : firstIndex_, 0, data_.ItemCount() - 1);
  first = data_.GetFirstParaItem(first);
  const int last = std::min(index_, data_.ItemCount() - 1);
  int32_t paraNo = data_.GetItemPara(first);
  for (int i = first + 1; i < data_.ItemCount(); ++i) {
    if (data_.IsParaStart(i)) {
      if (i > last) break;
      paraNo = data_.GetItemPara(i);
      continue;
    }
    data_.GetItem(i)->ParaNo = paraNo;
  }
}

void TDVFReader::Rollback() {
  if (tookTrailing_) {
    std::unique_ptr<TDVCPInfo> trailing = data_.UnlinkCheckpoint(tookTrailing_->Checkpoint.get(), false);
    data_.notAddedCP_ = std::move(trailing);
  }
  if (inserted_ > 0) data_.DeleteItems(firstIndex_, inserted_);
  if (savedText_) {
    dvStyle_->TextStyles().Assign(*savedText_);
    dvStyle_->ParaStyles().Assign(*savedPara_);
    dvStyle_->ListStyles().Assign(*savedList_);
  }
}

void TDVFReader::Finish(bool ok) {
  if (!ok) {
    Rollback();
    return;
  }
  // A checkpoint that ends the stream is the document's trailing one when
  // the reading ended at the document's end and it has none.
  if (ownPending_ && index_ == data_.ItemCount() && !data_.notAddedCP_) {
    data_.notAddedCP_ = std::move(ownPending_);
    ++data_.cpCount_;
  }
}

bool TDVFReader::Run(std::string buffer, int& index, int& nonFirstItemsAdded) {
  buffer_ = std::move(buffer);
  if (index_ == data_.ItemCount()) {
    cpBefore_ = data_.LastCP();
    if (!editFlag_) pending_ = data_.NotAddedCP();
  } else {
    cpBefore_ = data_.FindCPBeforeItem(index_);
  }
  data_.SetDVFWarnings(0);
  // A failed reading takes its host lines back out of the carrier.
  TQvDvData& hostLines = data_.HostLines();
  const size_t reviewersBefore = hostLines.userInfo.size(), annotationsBefore = hostLines.allPostil.size();
  // Markers read before others are counted once, at the end.
  TMarkerRecountBatch recount(data_);
  bool ok = false;
  try {
    while (pos_ < buffer_.size()) {
      const std::string_view line = NextLine();
      if (readState_ == rstHeader) {
        if (data_.HostLines().QvRead(line)) continue;
        ReadHeader(line);
        continue;
      }
      ReadDataLine(line);
      EndOfDataLine();
    }
    ok = readState_ == rstHeader;
  } catch (const EDVFAbort&) {
    ok = false;
  } catch (const std::exception&) {
    ok = false;
  }
  ok = PutTailBack() && ok;
  try {
    if (ok) NormaliseParagraphs();
  } catch (const std::exception&) {
    ok = false;
  }
  // The host's refusal is its own error: raised once the reading is undone.
  std::exception_ptr refused;
  const auto* scratch = dynamic_cast<const TDVFScratchData*>(&data_);
  const THostLinesCheck* check = scratch ? scratch->Check : TScopedHostLinesCheck::For(data_);
  if (ok && check) {
    try {
      if (reviewersBefore == 0 && annotationsBefore == 0) {
        (*check)(hostLines);
      } else {
        // An insertion: the check sees the lines this stream brought.
        TQvDvData read;
        read.userInfo.assign(hostLines.userInfo.begin() + static_cast<std::ptrdiff_t>(reviewersBefore),
                             hostLines.userInfo.end());
        read.allPostil.assign(hostLines.allPostil.begin() + static_cast<std::ptrdiff_t>(annotationsBefore),
                              hostLines.allPostil.end());
        (*check)(read);
      }
    } catch (...) {
      refused = std::current_exception();
      ok = false;
    }
  }
  Finish(ok);
  if (!ok) {
    hostLines.userInfo.resize(reviewersBefore);
    hostLines.allPostil.resize(annotationsBefore);
  }
  if (refused) std::rethrow_exception(refused);
  if (ok) {
    if (firstIndex_ >= 0) index = firstIndex_;
    nonFirstItemsAdded = std::max(inserted_ - 1, 0);
  }
  return ok;
}

// ---- the document's entry points ----

void TCustomDVData::InsertItemDirectly(int index, std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
  item->Inserting(this, text, false);
  const bool marker = item->StyleNo == dvsListMarker;
  items_->Insert(index, std::move(text), std::move(item));
  if (marker) AddMarkerInList(index);
}

bool TCustomDVData::InsertFirstDVFItem(int& index, std::string& text, std::unique_ptr<TCustomDVItemInfo>& item,
                                       bool) {
  InsertItemDirectly(index, std::move(text), std::move(item));
  return true;
}

bool TCustomDVData::InsertDVFFromStream_(TStream& stream, int& index, int32_t aParaNo, bool allowReplaceStyles,
                                         bool appendMode, bool editFlag, TColor& color, TDVBackground* background,
                                         TDVLayoutInfo* layout, int& nonFirstItemsAdded) {
  index = std::clamp(index, 0, ItemCount());
  nonFirstItemsAdded = 0;
  std::string buffer;
  try {
    const int64_t remaining = stream.Remaining();
    if (remaining < 0 || remaining > TMemoryStream::MaxSize) return false;
    buffer.resize(static_cast<size_t>(remaining));
    stream.ReadBuffer(buffer.data(), remaining);
  } catch (const EStreamError&) {
    return false;
  }
  TDVFReader reader(*this, index, aParaNo, allowReplaceStyles, appendMode, editFlag, color, background, layout);
  return reader.Run(std::move(buffer), index, nonFirstItemsAdded);
}

bool TCustomDVData::InsertDVFFromStream(TStream& stream, int index, TColor& color, TDVBackground* background,
                                        TDVLayoutInfo* layout, bool allowReplaceStyles) {
  int added = 0;
  return InsertDVFFromStream_(stream, index, -1, allowReplaceStyles, false, false, color, background, layout, added);
}

bool TCustomDVData::LoadDVFFromStream(TStream& stream, TColor& color, TDVBackground* background,
                                      TDVLayoutInfo* layout) {
  // Read into a scratch document with this one's settings, so that a bad
  // stream leaves this document (and its host lines) as they were.
  TDVFScratchData scratch(*this);
  scratch.ownSettings_ = ownSettings_;
  scratch.ownSettings_.Options = GetOptions();
  scratch.ownSettings_.DVFOptions = GetDVFOptions();
  scratch.ownSettings_.DVStyle = GetDVStyle();
  scratch.ownSettings_.TextStylesReadMode = GetDVFTextStylesReadMode();
  scratch.ownSettings_.ParaStylesReadMode = GetDVFParaStylesReadMode();
  scratch.State = State;
  TColor scratchColor = color;
  TDVLayoutInfo scratchLayout;
  if (layout) scratchLayout = *layout;
  std::unique_ptr<TDVBackground> scratchBackground;
  if (background) {
    scratchBackground = std::make_unique<TDVBackground>();
    scratchBackground->Style = background->Style;
    scratchBackground->SetBitmap(background->Bitmap());
  }
  int index = 0, added = 0;
  const bool ok = scratch.InsertDVFFromStream_(stream, index, -1, true, false, false, scratchColor,
                                               scratchBackground.get(), layout ? &scratchLayout : nullptr, added);
  SetDVFWarnings(scratch.GetDVFWarnings());
  if (!ok) return false;
  Clear();
  HostLines() = std::move(scratch.HostLines());
  {
    TScopedValue<bool> allowNewPara(allowNewPara_, true);
    DrainFrom(&scratch);
  }
  color = scratchColor;
  if (layout) *layout = scratchLayout;
  if (background) {
    background->Style = scratchBackground->Style;
    background->SetBitmap(scratchBackground->Bitmap());
  }
  return true;
}

void TCustomDVData::DataReader(TStream& stream) {
  const int32_t length = ReadI32(stream);
  if (length < 0 || length > stream.Remaining()) throw EReadError("The content of a table cell is damaged");
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  stream.ReadBuffer(bytes.data(), length);
  TMemoryStream content(std::move(bytes));
  TScopedFlags<TDVStates> loadingAsPart(State, dvstLoadingAsPartOfItem);
  TColor color = clNone;
  if (!LoadDVFFromStream(content, color, nullptr, nullptr))
    throw EReadError("The content of a table cell is damaged");
}

}  // namespace quillet
