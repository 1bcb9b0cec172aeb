// The DVF writer: the host's lines, the version, background, styles and
// layout, then the items as text, checkpoint and non-text records.
#include <algorithm>

#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/stream/dvf_pictures.h"
#include "engine/base/dvf_tokens.h"
#include "engine/stream/layout_info.h"
#include "engine/style/style_sheet.h"
#include "engine/style/style_stream.h"
#include "engine/view/background.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr int32_t kDocPropTextStyles = 1, kDocPropParaStyles = 2, kDocPropLayout = 3, kDocPropListStyles = 4;
constexpr char16_t kParagraphSeparator = 0x2029;

std::string JoinNumbers(std::initializer_list<int64_t> numbers) {
  std::string line;
  for (int64_t n : numbers) {
    if (!line.empty()) line += ' ';
    line += std::to_string(n);
  }
  return line;
}

// A text line never holds the characters that end lines in the stream: they
// would split the record on reading and could let document text stand where
// a header (or a host line) is expected. They are written as spaces.
std::string SafeTextLine(std::string_view text, bool unicode) {
  if (!unicode) return DVFSafeLine(text);
  std::string line(text);
  line.resize(line.size() & ~size_t{1});
  for (size_t i = 0; i < line.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<uint8_t>(line[i]) | (static_cast<uint8_t>(line[i + 1]) << 8));
    if (unit == u'\r' || unit == u'\n' || unit == kParagraphSeparator || unit == 0) {
      line[i] = ' ';
      line[i + 1] = '\0';
    }
  }
  return line;
}

void WriteTextLine(TStream& stream, std::string_view text, bool unicode) {
  DVFWrite(stream, SafeTextLine(text, unicode));
  if (unicode) {
    WriteU16(stream, kParagraphSeparator);
  } else {
    DVFWrite(stream, "\r\n");
  }
}

class TDVFWriter {
 public:
  TDVFWriter(TCustomDVData& data, TStream& stream) : data_(data), stream_(stream) {
    const TDVStyle* dvStyle = data.GetDVStyle();
    style_ = dvStyle ? dvStyle : &EmptyStyles();
    useStyleNames_ = dvStyle && (data.GetDVFOptions() & dvfoUseStyleNames) != 0;
    binary_ = (data.GetDVFOptions() & dvfoSaveBinary) != 0;
  }

  void WriteHead(TDVFSaveScope scope, TColor color, const TDVBackground* background, const TDVLayoutInfo* layout);
  void WriteItems(const TDVFLimits& limits);
  void WriteCheckpoint(const TDVCPInfo& cp);

 private:
  static const TDVStyle& EmptyStyles() {
    static const TDVStyle styles;
    return styles;
  }
  void WriteBackground(TColor color, const TDVBackground* background);
  void WriteStyles(int32_t kind, const TCustomDVInfos& styles);
  void WriteLayout(const TDVLayoutInfo& layout);
  std::string ParaField(int32_t paraNo) const { return DVFSavePara(*style_, useStyleNames_, paraNo); }

  // The pending text record: consecutive paragraphs of one style, paragraph
  // style, options and tag, one line each.
  struct Record {
    int first = -1, count = 0;
    int32_t paraNo = 0;
    bool continuesParagraph = false;
  };
  bool Joins(const Record& record, int itemNo) const;
  void Flush(Record& record);
  void WritePartialLine(int itemNo, int from, int to);
  void WriteTextHeader(const TCustomDVItemInfo& item, int count, int32_t paraNo, TDVItemOptions options);

  TCustomDVData& data_;
  TStream& stream_;
  const TDVStyle* style_;
  bool useStyleNames_;
  bool binary_;
};

void TDVFWriter::WriteHead(TDVFSaveScope scope, TColor color, const TDVBackground* background,
                           const TDVLayoutInfo* layout) {
  data_.HostLines().QvSave(stream_);
  DVFWriteLine(stream_, JoinNumbers({dvsVersionInfo, 1, 2}));
  const TDVFOptions options = data_.GetDVFOptions();
  if ((options & dvfoSaveBack) && scope != dvfss_Selection) WriteBackground(color, background);
  TDVStyle* dvStyle = data_.GetDVStyle();
  const bool ownRoot = data_.GetRootData() == &data_;
  if (ownRoot && dvStyle) {
    if (options & dvfoSaveTextStyles) WriteStyles(kDocPropTextStyles, dvStyle->TextStyles());
    if (options & dvfoSaveParaStyles) {
      WriteStyles(kDocPropParaStyles, dvStyle->ParaStyles());
      WriteStyles(kDocPropListStyles, dvStyle->ListStyles());
    }
  }
  if (ownRoot && (options & dvfoSaveLayout) && layout && scope == dvfss_Full) WriteLayout(*layout);
}

void TDVFWriter::WriteBackground(TColor color, const TDVBackground* background) {
  const int style = background ? static_cast<int>(background->Style) : 0;
  const auto colorField = static_cast<int32_t>(color);
  if (!background || background->Style == bsNoBitmap || background->Bitmap().Empty()) {
    DVFWriteLine(stream_, JoinNumbers({dvsBack, 0, -1, 0, 0, 0, style, colorField}));
    return;
  }
  DVFWriteLine(stream_, JoinNumbers({dvsBack, 2, 0, 0, binary_ ? 2 : 0, 0, style, colorField}));
  DVFWriteLine(stream_, std::string(background->Bitmap().ClassName()));
  if (binary_)
    DVFSavePictureBinary(stream_, background->Bitmap());
  else
    DVFWriteLine(stream_, DVFSavePicture(background->Bitmap()));
}

void TDVFWriter::WriteStyles(int32_t kind, const TCustomDVInfos& styles) {
  DVFWriteLine(stream_, JoinNumbers({dvsDocProperty, 2, 0, 0, binary_ ? 2 : 0, 0, kind}));
  DVFWriteLine(stream_, "");  // the style sheet component's name: none here
  DVFWriteDataLine(stream_, SaveStyleCollection(styles), binary_);
}

void TDVFWriter::WriteLayout(const TDVLayoutInfo& layout) {
  DVFWriteLine(stream_, JoinNumbers({dvsDocProperty, 2, 0, 0, binary_ ? 2 : 0, 0, kDocPropLayout}));
  DVFWriteLine(stream_, "");
  TMemoryStream bytes;
  layout.SaveToStream(bytes);
  DVFWriteDataLine(stream_, bytes.Bytes(), binary_);
}

void TDVFWriter::WriteCheckpoint(const TDVCPInfo& cp) {
  std::string header = JoinNumbers({dvsCheckpoint, 1, 0, 0, 0});
  header += ' ';
  header += DVFSaveTag(data_.TagsArePChars(), cp.Tag);
  header += cp.RaiseEvent ? " 1" : " 0";
  DVFWriteLine(stream_, header);
  WriteTextLine(stream_, cp.Name, false);
}

void TDVFWriter::WriteTextHeader(const TCustomDVItemInfo& item, int count, int32_t paraNo,
                                 TDVItemOptions options) {
  std::string header = DVFSaveText(*style_, useStyleNames_, item.StyleNo);
  header += ' ' + std::to_string(count) + ' ' + ParaField(paraNo) + ' ' +
            std::to_string(options & DVStoredItemOptions) + " 0 " + DVFSaveTag(data_.TagsArePChars(), item.Tag);
  DVFWriteLine(stream_, header);
}

bool TDVFWriter::Joins(const Record& record, int itemNo) const {
  if (record.first < 0 || record.paraNo == -1) return false;
  const TCustomDVItemInfo& first = *data_.GetItem(record.first);
  const TCustomDVItemInfo& item = *data_.GetItem(itemNo);
  return !item.SameAsPrev() && item.StyleNo >= 0 && item.StyleNo == first.StyleNo && item.ParaNo == record.paraNo &&
         (item.ItemOptions & DVStoredItemOptions) == (first.ItemOptions & DVStoredItemOptions) &&
         DV_CompareTags(item.Tag, first.Tag, data_.TagsArePChars()) && !item.Checkpoint;
}

void TDVFWriter::Flush(Record& record) {
  if (record.first < 0 || record.count == 0) {
    record = {};
    return;
  }
  const TCustomDVItemInfo& first = *data_.GetItem(record.first);
  if (first.Checkpoint) WriteCheckpoint(*first.Checkpoint);
  int next = record.first;
  int count = record.count;
  if (record.continuesParagraph) {
    WriteTextHeader(first, 1, -1, DVFGetItemOptions(first.ItemOptions));
    WriteTextLine(stream_, data_.GetItemTextR(next), first.IsUnicode());
    ++next;
    --count;
  }
  if (count > 0) {
    WriteTextHeader(first, count, record.paraNo, first.ItemOptions);
    for (int i = next; i < next + count; ++i)
      WriteTextLine(stream_, data_.GetItemTextR(i), data_.GetItem(i)->IsUnicode());
  }
  record = {};
}

void TDVFWriter::WritePartialLine(int itemNo, int from, int to) {
  const TCustomDVItemInfo& item = *data_.GetItem(itemNo);
  int32_t paraNo = -1;
  if (from <= data_.GetOffsBeforeItem(itemNo)) {
    if (item.Checkpoint) WriteCheckpoint(*item.Checkpoint);
    paraNo = item.SameAsPrev() ? -1 : item.ParaNo;
  }
  if (from >= to && item.SameAsPrev()) return;
  const std::string& text = data_.GetItemTextR(itemNo);
  const size_t unit = item.IsUnicode() ? 2 : 1;
  const size_t start = std::min(text.size(), static_cast<size_t>(std::max(from - 1, 0)) * unit);
  const size_t end = std::min(text.size(), static_cast<size_t>(std::max(to - 1, 0)) * unit);
  const TDVItemOptions options = paraNo == -1 ? DVFGetItemOptions(item.ItemOptions) : item.ItemOptions;
  WriteTextHeader(item, 1, paraNo, options);
  WriteTextLine(stream_, std::string_view(text).substr(start, end > start ? end - start : 0), item.IsUnicode());
}

void TDVFWriter::WriteItems(const TDVFLimits& limits) {
  const int startNo = limits.StartItemNo, endNo = limits.EndItemNo;
  const bool startsInside = limits.StartOffs > data_.GetOffsBeforeItem(startNo);
  const bool endsInside = limits.EndOffs < data_.GetOffsAfterItem(endNo);
  if (startNo == endNo && (startsInside || endsInside || limits.StartPart || limits.EndPart)) {
    if (data_.GetItemStyle(startNo) >= 0)
      WritePartialLine(startNo, limits.StartOffs, limits.EndOffs);
    else if (limits.EndOffs > limits.StartOffs)
      data_.GetItem(startNo)->SaveDVF(stream_, data_, data_.GetItemPara(startNo), data_.GetItemTextR(startNo),
                                      limits.StartPart ? limits.StartPart : limits.EndPart, false);
    return;
  }
  bool forceSameAsPrev = false;
  // A selection that starts inside a list paragraph takes the paragraph's
  // marker along, so the pasted text keeps its numbering.
  const int paraStart = data_.GetFirstParaItem(startNo);
  if (startNo != paraStart && data_.GetItemStyle(paraStart) == dvsListMarker) {
    const TCustomDVItemInfo& marker = *data_.GetItem(paraStart);
    if (marker.Checkpoint) WriteCheckpoint(*marker.Checkpoint);
    marker.SaveDVF(stream_, data_, -1, data_.GetItemTextR(paraStart), nullptr, true);
    forceSameAsPrev = true;
  }
  Record record;
  int from = startNo;
  // A page that begins inside a split item saves that item's part first.
  if (limits.StartPart) {
    const TCustomDVItemInfo& item = *data_.GetItem(startNo);
    item.SaveDVF(stream_, data_, item.SameAsPrev() ? -1 : item.ParaNo, data_.GetItemTextR(startNo), limits.StartPart,
                 false);
    ++from;
  }
  // ... and one that ends inside one saves its part last.
  const int to = limits.EndPart ? endNo - 1 : endNo;
  for (int i = from; i <= to; ++i) {
    const TCustomDVItemInfo& item = *data_.GetItem(i);
    const bool last = i == endNo;
    if (i == startNo && startsInside && item.StyleNo >= 0) {
      WritePartialLine(i, limits.StartOffs, data_.GetOffsAfterItem(i));
      forceSameAsPrev = false;
      continue;
    }
    if (last && endsInside && item.StyleNo >= 0) break;  // written as a partial line below
    if (Joins(record, i)) {
      ++record.count;
      continue;
    }
    Flush(record);
    const int32_t paraNo = (item.SameAsPrev() || forceSameAsPrev) ? -1 : item.ParaNo;
    if (item.StyleNo >= 0) {
      record.first = i;
      record.count = 1;
      record.paraNo = paraNo;
      record.continuesParagraph = forceSameAsPrev;
    } else if (!last || limits.EndOffs >= 1) {
      if (item.Checkpoint) WriteCheckpoint(*item.Checkpoint);
      item.SaveDVF(stream_, data_, paraNo, data_.GetItemTextR(i), nullptr, forceSameAsPrev);
    }
    forceSameAsPrev = false;
  }
  Flush(record);
  if (limits.EndPart) {
    const TCustomDVItemInfo& item = *data_.GetItem(endNo);
    if (item.Checkpoint) WriteCheckpoint(*item.Checkpoint);
    item.SaveDVF(stream_, data_, item.SameAsPrev() ? -1 : item.ParaNo, data_.GetItemTextR(endNo), limits.EndPart,
                 false);
    return;
  }
  if (endsInside && data_.GetItemStyle(endNo) >= 0 && startNo != endNo)
    WritePartialLine(endNo, data_.GetOffsBeforeItem(endNo), limits.EndOffs);
  // The trailing checkpoint stands after the document's last item: written
  // whenever the range reaches that item's end, whatever its kind.
  if (data_.NotAddedCP() && endNo == data_.ItemCount() - 1 && !endsInside) WriteCheckpoint(*data_.NotAddedCP());
}

}  // namespace

TDVFLimits TCustomDVData::DVFGetLimits(TDVFSaveScope) const {
  TDVFLimits limits;
  if (ItemCount() == 0) return limits;
  limits.StartItemNo = 0;
  limits.StartOffs = GetOffsBeforeItem(0);
  limits.EndItemNo = ItemCount() - 1;
  limits.EndOffs = GetOffsAfterItem(limits.EndItemNo);
  return limits;
}

bool TCustomDVData::SaveDVFToStreamEx(TStream& stream, TDVFSaveScope scope, TColor color,
                                      const TDVBackground* background, const TDVLayoutInfo* layout) {
  if (!CloseInplaceEditorForSaving()) return false;
  try {
    TDVFWriter writer(*this, stream);
    if (ItemCount() == 0) {
      // An empty document still carries its host lines and a trailing
      // checkpoint; with neither it writes nothing at all.
      if (HostLines().Empty() && !NotAddedCP()) return true;
      writer.WriteHead(scope, color, background, layout);
      if (NotAddedCP()) writer.WriteCheckpoint(*NotAddedCP());
      return true;
    }
    writer.WriteHead(scope, color, background, layout);
    const TDVFLimits limits = DVFGetLimits(scope);
    if (limits.StartItemNo < 0 || limits.StartItemNo > limits.EndItemNo || limits.EndItemNo >= ItemCount())
      return true;
    StartPartialExport(limits.StartItemNo, limits.EndItemNo);
    struct EndExportGuard {
      TCustomDVData& data;
      const TDVFLimits& limits;
      ~EndExportGuard() { data.EndPartialExport(limits.StartItemNo, limits.EndItemNo); }
    } endExport{*this, limits};
    writer.WriteItems(limits);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TCustomDVData::DataWriter(TStream& stream) {
  const int64_t lengthPos = stream.GetPosition();
  WriteI32(stream, 0);
  bool ok;
  {
    TDVFOptions options = GetDVFOptions() & ~static_cast<TDVFOptions>(dvfoSaveBack);
    const TDVFOptions saved = GetDVFOptions();
    SetDVFOptions(options);
    struct Restore {
      TCustomDVData& data;
      TDVFOptions saved;
      ~Restore() { data.SetDVFOptions(saved); }
    } restore{*this, saved};
    ok = SaveDVFToStream(stream, false, clNone, nullptr, nullptr);
  }
  // A cell whose content could not be written is never stored as if whole.
  if (!ok) throw EWriteError("The content of a table cell could not be written");
  const int64_t endPos = stream.GetPosition();
  const int64_t length = endPos - lengthPos - 4;
  if (length > INT32_MAX) throw EWriteError("The content of a table cell is too large");
  stream.SetPosition(lengthPos);
  WriteI32(stream, static_cast<int32_t>(length));
  stream.SetPosition(endPos);
}

}  // namespace quillet
