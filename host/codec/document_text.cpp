#include "host/codec/document_text.h"

#include <string>
#include <string_view>
#include <vector>

#include "engine/stream/compressed_form.h"
#include "host/codec/hex_codec.h"
#include "platform/core/hex_text.h"
#include "platform/core/stream.h"

namespace quillet {

void AfterSaveToStream2(TMemoryStream& stream) {
  CompressDVF(stream, TCompressionLevel::clDefault);
  const std::vector<uint8_t>& bytes = stream.Bytes();
  std::vector<uint8_t> text(2 * bytes.size());
  BytesToHex(bytes.data(), bytes.size(), reinterpret_cast<char*>(text.data()));
  stream = TMemoryStream(std::move(text));
  stream.Seek(0, TSeekOrigin::soEnd);
}

void BeforeLoadFromStream2(TMemoryStream& stream) {
  const std::vector<uint8_t>& text = stream.Bytes();
  const std::string bytes = HexToStr(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  TMemoryStream source(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  TMemoryStream document;
  UnCompressDVF(source, document);
  // The document replaces the text whole, so no byte of a longer text is left behind it.
  stream = std::move(document);
  stream.SetPosition(0);
}

}  // namespace quillet
