// The document, or its selection, as plain text in 8-bit or UTF-16 form.
#include <algorithm>
#include <string>

#include "engine/export/file_names.h"
#include "engine/model/dv_data.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

class TTextWriter {
 public:
  TTextWriter(TCustomDVData& data, TStream& stream, const std::string& path, int lineWidth, bool textOnly,
              bool unicode)
      : data_(data), stream_(stream), path_(path), lineWidth_(lineWidth), textOnly_(textOnly), unicode_(unicode) {}

  // Characters from..to (caret offsets) of item itemNo; a non-text item
  // only when the range covers it.
  void WriteItem(int itemNo, int from, int to) {
    const TCustomDVItemInfo& item = *data_.GetItem(itemNo);
    const std::string& text = data_.GetItemTextR(itemNo);
    if (item.StyleNo >= 0) {
      const int codePage = data_.GetStyleCodePage(item.StyleNo);
      std::string piece = DVU_Copy(text, from, to - from, item.ItemOptions, codePage);
      if (unicode_ && !item.IsUnicode())
        piece = DVU_AnsiToUnicode(codePage, piece);
      else if (!unicode_ && item.IsUnicode())
        piece = DVU_UnicodeToAnsi(data_.GetDefaultCodePage(), piece);
      stream_.WriteString(piece);
      return;
    }
    if (from >= to) return;
    if (textOnly_ && !item.GetBoolValue(dvbpAlwaysInText)) return;
    const bool itemUnicode = unicode_ && item.GetBoolValue(dvbpCanSaveUnicode);
    std::string piece = item.AsText(lineWidth_, &data_, text, path_, textOnly_, itemUnicode);
    if (unicode_ && !itemUnicode) piece = DVU_AnsiToUnicode(data_.GetDefaultCodePage(), piece);
    stream_.WriteString(piece);
  }

  void WriteLineEnd() { stream_.WriteString(unicode_ ? std::string("\r\0\n\0", 4) : std::string("\r\n")); }

 private:
  TCustomDVData& data_;
  TStream& stream_;
  const std::string& path_;
  int lineWidth_;
  bool textOnly_, unicode_;
};

}  // namespace

bool TCustomDVData::SaveTextToStream(const std::string& path, TStream& stream, int lineWidth, bool selectionOnly,
                                     bool textOnly, bool unicode) {
  if (!CloseInplaceEditorForSaving()) return false;
  try {
    const TDVFLimits limits = DVFGetLimits(GetDVFSaveScope(selectionOnly));
    const int first = limits.StartItemNo, last = limits.EndItemNo;
    if (first < 0 || first > last || last >= ItemCount()) return true;
    StartPartialExport(first, last);
    struct EndExportGuard {
      TCustomDVData& data;
      int first, last;
      ~EndExportGuard() { data.EndPartialExport(first, last); }
    } endExport{*this, first, last};
    TTextWriter writer(*this, stream, path, lineWidth, textOnly, unicode);
    if (first == last) {
      writer.WriteItem(first, limits.StartOffs, limits.EndOffs);
      return true;
    }
    for (int i = first; i <= last; ++i) {
      if (i > first && IsFromNewLine(i)) writer.WriteLineEnd();
      const int from = i == first ? limits.StartOffs : GetOffsBeforeItem(i);
      const int to = i == last ? limits.EndOffs : GetOffsAfterItem(i);
      writer.WriteItem(i, from, to);
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TCustomDVData::SaveText(const std::string& fileName, int lineWidth, bool unicode) {
  TMemoryStream stream;
  if (!SaveTextToStream(DVExtractFilePath(fileName), stream, lineWidth, false, false, unicode)) return false;
  // Written beside the file and renamed over it only when complete.
  stream.SaveToFile(fileName);
  return true;
}

}  // namespace quillet
