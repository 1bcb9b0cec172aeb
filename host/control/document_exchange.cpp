#include "host/control/document_exchange.h"

#include <vector>

#include "editing/control/editor.h"
#include "editing/table/kept_cell_editor.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_record.h"
#include "host/codec/document_text.h"
#include "host/codec/hex_codec.h"
#include "host/codec/run_length_text.h"
#include "host/review/document_record.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

// The document a host text holds, uncompressed; raises for a text that is
// not one, before anything is touched.
TMemoryStream DocumentOf(std::string_view data) {
  TMemoryStream stream(std::vector<uint8_t>(data.begin(), data.end()));
  BeforeLoadFromStream2(stream);
  return stream;
}

constexpr const char* kNoDocument = "The text does not hold a document";

}  // namespace

std::string TDocumentExchange::GetAsciiData() {
  TMemoryStream stream;
  record_.SaveToStream(stream);
  AfterSaveToStream2(stream);
  return stream.AsString();
}

std::string TDocumentExchange::ExportToText() {
  record_.RefuseWhileBusy();
  record_.WriteHostLines();
  const TKeptCellEditor keptCell(record_.Editor());
  TMemoryStream stream;
  if (!record_.Editor().SaveTextToStream("", stream, 0, false, true))
    throw EDocumentRecordError("The document could not be written as text");
  return stream.AsString();
}

void TDocumentExchange::PutAsciiData(std::string_view data) {
  record_.RefuseWhileBusy();
  TMemoryStream stream = DocumentOf(data);
  record_.LoadFromStream(stream, kNoDocument);
}

void TDocumentExchange::InsertAsciiData(std::string_view data) { Insert(data, false); }

void TDocumentExchange::InsertAsciiDataAtFirst(std::string_view data) { Insert(data, true); }

void TDocumentExchange::Insert(std::string_view data, bool atFirst) {
  record_.RefuseWhileBusy();
  TMemoryStream stream = DocumentOf(data);
  TCustomDocViewEdit& editor = record_.Editor();
  // The end of the first paragraph's item; an empty document has none.
  const int oldCount = editor.GetLineCount();
  const int caretItem = oldCount == 1 ? 0 : 1;
  // The caret follows its item to where the insertion moved it.
  const int added = record_.InsertFromStream(stream, kNoDocument);
  if (atFirst && oldCount > 0) {
    const int32_t end = editor.GetOffsAfterItem(caretItem + added);
    editor.SetSelectionBounds(caretItem + added, end, caretItem + added, end);
  }
}

void TDocumentExchange::PutBmp(const std::string& bmpID, std::string_view bmp) {
  record_.RefuseWhileBusy();
  const std::string bytes = HexToStr(UnZip(bmp));
  TQvPostil& postil = record_.Postil();
  // The first picture given for an id stays.
  if (postil.GetBmp(bmpID)) return;
  if (!IsPostilSealId(bmpID)) throw EDocumentExchangeError("A seal id cannot hold \";\" or a line break");
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  if (!postil.PutBmp(bmpID, stream)) throw EDocumentExchangeError("The seal picture \"" + bmpID + "\" is not a bitmap");
}

bool TDocumentExchange::IsPostil() const {
  const TQvPostil& postil = record_.Postil();
  return !postil.AllPostil().empty() || !postil.NewPostil().empty();
}

void TDocumentExchange::ClearPostil() {
  record_.RefuseWhileBusy();
  record_.Postil().clear();
  record_.Editor().Invalidate();
}

}  // namespace quillet
