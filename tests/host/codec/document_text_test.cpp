#include "host/codec/document_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/stream/compressed_form.h"
#include "host/codec/hex_codec.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

TMemoryStream StreamOf(std::string_view s) { return TMemoryStream(std::vector<uint8_t>(s.begin(), s.end())); }

std::string HexTextOf(std::string_view document) {
  TMemoryStream stream = StreamOf(document);
  AfterSaveToStream2(stream);
  return stream.AsString();
}

TEST(DocumentTextTest, RoundTripsThroughHexadecimalText) {
  std::string doc = "-8 1 2\r\n";
  for (int i = 0; i < 400; ++i) doc += "0 0 0 0 0 0\r\n\xD6\xD0\xCE\xC4 text " + std::to_string(i) + "\r\n";
  for (const std::string& d : {std::string(), doc}) {
    TMemoryStream stream = StreamOf(d);
    AfterSaveToStream2(stream);
    const std::string text = stream.AsString();
    EXPECT_EQ(stream.GetPosition(), stream.GetSize());
    EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    // The text is the compressed form, two digits a byte.
    TMemoryStream form = StreamOf(d);
    CompressDVF(form, TCompressionLevel::clDefault);
    EXPECT_EQ(text, StrToHex(form.AsString()));

    BeforeLoadFromStream2(stream);
    EXPECT_EQ(stream.AsString(), d);
    EXPECT_EQ(stream.GetPosition(), 0);
  }
}

TEST(DocumentTextTest, LowerCaseTextLoads) {
  std::string text = HexTextOf("abc");
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  TMemoryStream stream = StreamOf(text);
  BeforeLoadFromStream2(stream);
  EXPECT_EQ(stream.AsString(), "abc");
}

// The document is shorter than the text it came from: nothing of the text may
// be left behind it for the reader to find.
TEST(DocumentTextTest, LoadCutsTheStreamToTheDocument) {
  const std::string text = HexTextOf("short");
  TMemoryStream stream = StreamOf(text);
  stream.SetPosition(3);
  BeforeLoadFromStream2(stream);
  EXPECT_EQ(stream.GetSize(), 5);
  EXPECT_EQ(stream.AsString(), "short");
  EXPECT_EQ(stream.GetPosition(), 0);
}

TEST(DocumentTextTest, BadTextFailsAndLeavesTheStreamAlone) {
  const std::string good = HexTextOf("document body");
  std::string badDigit = good;
  badDigit[10] = 'G';
  std::string corrupt = good;
  corrupt[good.size() - 1] = corrupt[good.size() - 1] == '0' ? '1' : '0';  // the Adler-32 check
  struct Case {
    const char* name;
    std::string text;
    int kind;  // 0 conversion, 1 read, 2 decompression
  };
  const Case cases[] = {
      {"not hexadecimal", badDigit, 0},
      {"spaces between digits", "0A 0B", 0},
      {"empty text", "", 1},
      {"too short for the length", "0A0B", 1},
      {"valid hexadecimal, not a document", "0500000068656C6C6F", 2},
      {"corrupt check value", corrupt, 2},
      {"truncated", good.substr(0, good.size() - 8), 2},
      {"trailing bytes", good + "00", 2},
      {"odd trailing digit", good + "0", 2},
      {"negative length", "FFFFFFFF" + good.substr(8), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream = StreamOf(c.text);
    stream.SetPosition(static_cast<int64_t>(c.text.size() / 2));
    switch (c.kind) {
      case 0: EXPECT_THROW(BeforeLoadFromStream2(stream), EConvertError); break;
      case 1: EXPECT_THROW(BeforeLoadFromStream2(stream), EReadError); break;
      default: EXPECT_THROW(BeforeLoadFromStream2(stream), EDecompressionError); break;
    }
    EXPECT_EQ(stream.AsString(), c.text);
    EXPECT_EQ(stream.GetPosition(), static_cast<int64_t>(c.text.size() / 2));
  }
}

}  // namespace
}  // namespace quillet
