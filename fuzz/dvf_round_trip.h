#pragma once
// What the document-stream fuzz targets check: a stream that loads saves and
// reads back to the same bytes; one that is refused leaves the document as
// it was.
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "platform/core/stream.h"

namespace quillet::fuzz {

inline std::string Snapshot(TCustomDVData& data) {
  TMemoryStream stream;
  if (!data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr)) std::abort();
  return stream.AsString();
}

inline bool Load(TCustomDVData& data, const uint8_t* bytes, size_t size) {
  TMemoryStream stream(std::vector<uint8_t>(bytes, bytes + size));
  TColor color = clNone;
  return data.LoadDVFFromStream(stream, color, nullptr, nullptr);
}

// Loads the bytes into doc and checks either outcome; fresh makes an empty
// document with doc's settings for the read back.
template <class Fresh>
void CheckLoad(TCustomDVData& doc, const uint8_t* bytes, size_t size, Fresh fresh) {
  const std::string before = Snapshot(doc);
  if (!Load(doc, bytes, size)) {
    if (Snapshot(doc) != before) std::abort();
    return;
  }
  const std::string saved = Snapshot(doc);
  auto again = fresh();
  if (!Load(*again, reinterpret_cast<const uint8_t*>(saved.data()), saved.size())) std::abort();
  if (Snapshot(*again) != saved) std::abort();
}

}  // namespace quillet::fuzz
