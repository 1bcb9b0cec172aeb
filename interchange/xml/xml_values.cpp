#include "interchange/xml/xml_values.h"

#include <filesystem>
#include <system_error>

#include "engine/base/dvf_tokens.h"
#include "interchange/xml/xml_tree.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/core/property_stream.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet {

bool SameName(std::string_view name, std::string_view lowerName) { return AnsiSameText(name, lowerName); }

void ReadFlag(std::string_view s, bool& value) {
  if (s == "1")
    value = true;
  else if (s == "0")
    value = false;
}

void ReadInt(std::string_view s, int32_t& value) {
  if (const std::optional<int32_t> v = StrToIntOpt(s)) value = *v;
}

void ReadByte(std::string_view s, uint8_t& value) {
  if (const std::optional<int32_t> v = StrToIntOpt(s)) value = static_cast<uint8_t>(*v);
}

TColor ReadColor(std::string_view s) {
  if (const std::optional<TColor> color = IdentToColor(s)) return *color;
  if (const std::optional<int32_t> v = StrToIntOpt(s)) return *v;
  ThrowInvalidInteger(s);
}

void ReadCharset(std::string_view s, uint8_t& value) {
  if (const std::optional<int> charset = IdentToCharset(s)) value = static_cast<uint8_t>(*charset);
}

std::unique_ptr<TMemoryStream> ReadPictureData(std::string_view s) {
  auto stream = std::make_unique<TMemoryStream>();
  DVFTextString2Stream(s, *stream);
  stream->SetPosition(0);
  return stream;
}

std::string FileReference(const TXMLTag& tag, std::string_view fileName) {
  const TXMLTree* tree = tag.Root();
  return (tree ? tree->BaseFilePath : std::string()) + std::string(fileName);
}

bool FileExists(const std::string& fileName) {
  std::error_code ec;
  return std::filesystem::is_regular_file(fileName, ec);
}

std::unique_ptr<TGraphic> CreateRegisteredGraphic(std::string_view className) {
  std::unique_ptr<TGraphic> graphic = CreateGraphic(className);
  if (!graphic) throw EClassNotFound("Class " + std::string(className) + " not found");
  return graphic;
}

void LoadGraphicData(TGraphic& graphic, std::string_view hexData) {
  const std::unique_ptr<TMemoryStream> data = ReadPictureData(hexData);
  graphic.LoadFromStream(*data);
}

}  // namespace quillet
