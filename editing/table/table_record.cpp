// The table's record in the document stream. Its cells are not records of
// their own: the whole grid with every cell's content is one component
// (table_stream.cpp) on the record's last line.
#include <vector>

#include "editing/table/table_item.h"
#include "editing/table/table_print.h"
#include "editing/table/table_stream.h"
#include "engine/base/dvf_tokens.h"
#include "engine/model/dv_data.h"
#include "platform/core/stream.h"

namespace quillet {

void TDVTableItemInfo::SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                               const TDVMultiDrawItemPart* part, bool forceSameAsPrev) const {
  // Parts are runs of whole rows that never cut a merged cell, so the
  // part's rows make a grid of their own.
  if (const auto* rows = dynamic_cast<const TDVTablePrintPart*>(part))
    SaveDVFRows(stream, dvData, paraNo, name, forceSameAsPrev, rows->FirstRow, rows->RowCount);
  else
    SaveDVFRows(stream, dvData, paraNo, name, forceSameAsPrev, 0, Rows.Count());
}

void TDVTableItemInfo::SaveDVFRows(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                                   bool forceSameAsPrev, int firstRow, int rowCount) const {
  const bool binary = (dvData.GetDVFOptions() & dvfoSaveBinary) != 0;
  // Made first, so that a cell that cannot be written leaves no half record.
  const std::vector<uint8_t> component = SaveTableComponent(*this, firstRow, rowCount);
  DVFWriteLine(stream, DVFHeaderLine(dvData, paraNo, GetDVFExtraPropertyCount() + 3,
                                     binary ? dvfrtBinary : dvfrtText, forceSameAsPrev));
  DVFWriteLine(stream, DVFSafeLine(name));
  SaveDVFExtraProperties(stream);
  DVFWriteLine(stream, "1");
  DVFWriteDataLine(stream, component, binary);
}

bool TDVTableItemInfo::ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo,
                                   int lineCount, std::string& name, TDVFReadMode& readMode, TDVFReadState&) {
  if (readType == dvfrtNoBody || lineCount < 3) return false;
  if (readType == dvfrtBinary && lineNo == lineCount - 2) readMode = rmBeforeBinary;
  if (lineNo == 0) {
    name = std::string(s);
    return true;
  }
  if (lineNo < lineCount - 2) return SetExtraPropertyFromDVFStr(s);
  if (lineNo == lineCount - 2) return true;  // "1"
  std::vector<uint8_t> bytes;
  if (readType == dvfrtBinary) {
    bytes.assign(s.begin(), s.end());
  } else {
    TMemoryStream data;
    if (!DVFTextString2Stream(s, data)) return false;
    bytes = data.Bytes();
  }
  // The cells are documents inside the one being read: they check their
  // content against its styles and take its settings.
  Rows.DVData = dvData;
  try {
    LoadTableComponent(bytes, *this);
  } catch (const EStreamError&) {
    return false;
  }
  return true;
}

void TDVTableItemInfo::AfterLoading() {
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (TDVTableCellData* cell = Rows.CellAt(r, c))
        for (int i = 0; i < cell->ItemCount(); ++i) cell->GetItem(i)->AfterLoading();
}

}  // namespace quillet
