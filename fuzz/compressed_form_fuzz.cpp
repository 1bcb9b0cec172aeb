// Arbitrary bytes as a compressed document. Beyond not crashing: a failure
// leaves the destination as it was, and a success yields exactly the recorded
// length, which compresses and reads back to the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/stream/compressed_form.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

const std::vector<uint8_t> kBefore = {'k', 'e', 'e', 'p'};

// Uncompresses into a destination that already holds data; false when refused.
bool Uncompress(std::vector<uint8_t> form, TMemoryStream& dest) {
  TMemoryStream source(std::move(form));
  dest = TMemoryStream(kBefore);
  dest.Seek(0, TSeekOrigin::soEnd);
  try {
    UnCompressDVF(source, dest);
    return true;
  } catch (const EStreamError&) {
    if (dest.Bytes() != kBefore) std::abort();
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  TMemoryStream dest;
  // Random bytes seldom get past the zlib header, so the input also makes a
  // valid form of its own tail, damaged at a byte its first two bytes choose.
  if (size >= 3) {
    TMemoryStream form(std::vector<uint8_t>(data + 2, data + size));
    CompressDVF(form, TCompressionLevel::clFastest);
    std::vector<uint8_t> damaged = form.Bytes();
    damaged[(size_t(data[0]) << 8 | data[1]) % damaged.size()] ^= static_cast<uint8_t>(data[0] | 1);
    Uncompress(damaged, dest);
  }
  if (!Uncompress(std::vector<uint8_t>(data, data + size), dest)) return 0;
  if (size < 4) std::abort();
  const int64_t length = int64_t(data[0]) | int64_t(data[1]) << 8 | int64_t(data[2]) << 16 | int64_t(data[3]) << 24;
  if (dest.GetSize() != 4 + length) std::abort();

  TMemoryStream document(std::vector<uint8_t>(dest.Bytes().begin() + 4, dest.Bytes().end()));
  CompressDVF(document, TCompressionLevel::clFastest);
  document.SetPosition(0);
  TMemoryStream back;
  UnCompressDVF(document, back);
  if (back.GetSize() != length || !std::equal(back.Bytes().begin(), back.Bytes().end(), dest.Bytes().begin() + 4))
    std::abort();
  return 0;
}
