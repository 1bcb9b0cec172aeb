// The table's component on hostile bytes, as the data of a binary table
// record in a document stream. A record the reader accepts must save and
// read back to the same bytes; one it refuses must leave the document as it
// was.
#include <cstdint>
#include <memory>
#include <string>

#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "fuzz/dvf_round_trip.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (RegisterTableItem(), true);
  (void)tables;
  if (size > 0xFFFFFFFFu) return 0;
  TDVStyle style;
  style.TextStyles()[0].Charset = 134;
  style.TextStyles()[1].Unicode = true;
  TCustomDVData doc;
  doc.SetDVStyle(&style);
  doc.AddNL("before", 0, 0);
  std::string record = "-8 1 2\r\n-60 3 0 0 2 0 \r\n\r\n1\r\n";
  for (int i = 0; i < 4; ++i) record += static_cast<char>((size >> (8 * i)) & 0xFF);
  record.append(reinterpret_cast<const char*>(data), size);
  fuzz::CheckLoad(doc, reinterpret_cast<const uint8_t*>(record.data()), record.size(), [&] {
    auto again = std::make_unique<TCustomDVData>();
    again->SetDVStyle(&style);
    return again;
  });
  return 0;
}
