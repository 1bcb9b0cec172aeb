// Property stream reader on hostile bytes. Input that starts with the
// signature is read as a whole component stream, anything else as one bare
// value (a style collection, say). Whatever the reader accepts must write back
// and read back to the same bytes, and skipping a value must step over exactly
// what reading it consumed.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "platform/core/property_stream.h"

using namespace quillet;

namespace {

void CheckComponent(std::span<const uint8_t> input) {
  TPropObject obj;
  try {
    obj = ReadComponentStream(input);
  } catch (const EPropStreamError&) {
    return;
  }
  const std::vector<uint8_t> first = WriteComponentStream(obj);
  const std::vector<uint8_t> second = WriteComponentStream(ReadComponentStream(first));
  if (first != second) std::abort();
}

void CheckValue(std::span<const uint8_t> input) {
  TPropValue value;
  size_t consumed = 0;
  try {
    TPropReader reader(input);
    value = ReadValue(reader);
    consumed = reader.Position();
  } catch (const EPropStreamError&) {
    return;
  }
  TPropReader skipper(input);
  skipper.SkipValue();  // must not throw where reading succeeded
  if (skipper.Position() != consumed) std::abort();

  TMemoryStream out;
  TPropWriter writer(out);
  WriteValue(writer, value);
  TPropReader again(out.Bytes());
  TMemoryStream out2;
  TPropWriter writer2(out2);
  WriteValue(writer2, ReadValue(again));
  if (!again.AtEnd() || out.Bytes() != out2.Bytes()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  if (size >= 4 && std::memcmp(data, kPropStreamSignature.data(), 4) == 0)
    CheckComponent(input);
  else
    CheckValue(input);
  return 0;
}
