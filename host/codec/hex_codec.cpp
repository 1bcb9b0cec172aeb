#include "host/codec/hex_codec.h"

#include "platform/core/arith.h"
#include "platform/core/hex_text.h"

namespace quillet {

std::string StrToHex(std::string_view source) { return BytesToHex(source); }

std::string HexToStr(std::string_view text) {
  std::string out((text.size() + 1) / 2, '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  const size_t pairs = text.size() / 2;
  const size_t decoded = HexToBytes(text, bytes);
  if (decoded < pairs) ThrowInvalidInteger("$" + std::string(text.substr(2 * decoded, 2)));
  if (text.size() % 2 != 0) {
    const int last = HexDigitValue(text.back());
    if (last < 0) ThrowInvalidInteger("$" + std::string(1, text.back()));
    bytes[pairs] = static_cast<uint8_t>(last);
  }
  return out;
}

}  // namespace quillet
