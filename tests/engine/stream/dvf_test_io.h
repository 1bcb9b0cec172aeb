#pragma once
// A document's DVF stream as a string, and a replacing load from one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "platform/core/stream.h"

namespace quillet::test {

inline std::string Save(TCustomDVData& data, bool selectionOnly = false) {
  TMemoryStream stream;
  EXPECT_TRUE(data.SaveDVFToStream(stream, selectionOnly, clNone, nullptr, nullptr));
  return stream.AsString();
}

inline bool Load(TCustomDVData& data, const std::string& dvf) {
  TMemoryStream stream(std::vector<uint8_t>(dvf.begin(), dvf.end()));
  TColor color = clNone;
  return data.LoadDVFFromStream(stream, color, nullptr, nullptr);
}

}  // namespace quillet::test
