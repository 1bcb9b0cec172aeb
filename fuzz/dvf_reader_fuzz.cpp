// The DVF reader on hostile streams. A stream it accepts must save and read
// back to the same document; one it refuses must leave the document as it was.
#include <cstdint>
#include <memory>

#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "fuzz/dvf_round_trip.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (RegisterTableItem(), true);
  (void)tables;
  TDVStyle style;
  style.TextStyles()[1].Unicode = true;
  TCustomDVData doc;
  doc.SetDVStyle(&style);
  doc.SetDVFOptions(doc.GetDVFOptions() | dvfoSaveTextStyles | dvfoSaveParaStyles);
  doc.AddNL("before", 0, 0);
  fuzz::CheckLoad(doc, data, size, [&] {
    auto again = std::make_unique<TCustomDVData>();
    again->SetDVStyle(&style);
    again->SetDVFOptions(doc.GetDVFOptions());
    return again;
  });
  return 0;
}
