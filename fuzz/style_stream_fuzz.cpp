// Style collection reader on hostile bytes, into a text, a paragraph and a
// list style collection in turn. A refused input must leave the collection as
// it was; an accepted one must save, and what is saved must load and save
// again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "engine/style/style_sheet.h"
#include "engine/style/style_stream.h"
#include "platform/core/property_stream.h"

using namespace quillet;

namespace {

template <class TInfos>
void Check(std::span<const uint8_t> input, TInfos& target) {
  const std::vector<uint8_t> before = SaveStyleCollection(target);
  try {
    LoadStyleCollection(input, target);
  } catch (const EPropStreamError&) {
    if (SaveStyleCollection(target) != before) std::abort();
    return;
  }
  const std::vector<uint8_t> first = SaveStyleCollection(target);
  TInfos again(nullptr);
  LoadStyleCollection(first, again);
  if (SaveStyleCollection(again) != first) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  TDVStyle sheet;
  sheet.ListStyles().Add().Levels().Add();
  Check(input, sheet.TextStyles());
  Check(input, sheet.ParaStyles());
  Check(input, sheet.ListStyles());
  return 0;
}
