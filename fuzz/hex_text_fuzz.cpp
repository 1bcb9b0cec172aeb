// Arbitrary text as the host's hexadecimal document text and run-length seal
// text. Beyond not crashing: only the codecs' own errors come out, a failed
// load leaves the stream as it was, and decoded hexadecimal text encodes back
// to the same digits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "host/codec/document_text.h"
#include "host/codec/hex_codec.h"
#include "host/codec/run_length_text.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  {
    const std::vector<uint8_t> before(data, data + size);
    TMemoryStream stream(before);
    try {
      BeforeLoadFromStream2(stream);
      if (stream.GetPosition() != 0) std::abort();
    } catch (const EConvertError&) {
      if (stream.Bytes() != before) std::abort();
    } catch (const EStreamError&) {
      if (stream.Bytes() != before) std::abort();
    }
  }

  try {
    const std::string bytes = HexToStr(text);
    if (bytes.size() != (size + 1) / 2) std::abort();
    const std::string again = StrToHex(bytes);
    // An odd last digit comes back with a leading zero.
    const std::string expected = size % 2 == 0 ? Upper(text) : Upper(text.substr(0, size - 1)) + "0" + Upper(text.substr(size - 1));
    if (again != expected) std::abort();
  } catch (const EConvertError&) {
  }

  try {
    const std::string expanded = UnZip(text);
    if (expanded.size() > kMaxUnZipText || expanded.size() % 2 != 0) std::abort();
    (void)HexToStr(expanded);  // UnZip checked every digit
  } catch (const EConvertError&) {
  }
  return 0;
}
