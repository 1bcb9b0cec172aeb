// The DVF reader on hostile streams. A stream it accepts must save and read
// back to the same document; one it refuses must leave the document as it was.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

std::string Snapshot(TCustomDVData& data) {
  TMemoryStream stream;
  if (!data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr)) std::abort();
  return stream.AsString();
}

bool Load(TCustomDVData& data, const uint8_t* bytes, size_t size) {
  TMemoryStream stream(std::vector<uint8_t>(bytes, bytes + size));
  TColor color = clNone;
  return data.LoadDVFFromStream(stream, color, nullptr, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (RegisterTableItem(), true);
  (void)tables;
  TDVStyle style;
  style.TextStyles()[1].Unicode = true;
  TCustomDVData doc;
  doc.SetDVStyle(&style);
  doc.SetDVFOptions(doc.GetDVFOptions() | dvfoSaveTextStyles | dvfoSaveParaStyles);
  doc.AddNL("before", 0, 0);
  const std::string before = Snapshot(doc);
  if (!Load(doc, data, size)) {
    if (Snapshot(doc) != before) std::abort();
    return 0;
  }
  const std::string saved = Snapshot(doc);
  TCustomDVData again;
  again.SetDVStyle(&style);
  again.SetDVFOptions(doc.GetDVFOptions());
  if (!Load(again, reinterpret_cast<const uint8_t*>(saved.data()), saved.size())) std::abort();
  if (Snapshot(again) != saved) std::abort();
  return 0;
}
