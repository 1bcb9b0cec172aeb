#include "engine/base/dvf_tokens.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

using namespace std::string_literals;

TEST(DVFWriteTest, LinesAndContinuations) {
  TMemoryStream stream;
  DVFWrite(stream, "a");
  DVFWriteLine(stream, "bc");
  DVFWriteLineX(stream, "d", true);
  DVFWriteLineX(stream, "e", false);
  EXPECT_EQ(stream.AsString(), "abc\r\nd) e\r\n");
}

TEST(DVFReadTest, Strings) {
  std::string_view p = "abc  def";
  std::string s;
  EXPECT_TRUE(DVFReadString(p, s));
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(p, " def");  // exactly one space skipped
  EXPECT_FALSE(DVFReadString(p, s));
  EXPECT_EQ(s, "");
  EXPECT_EQ(p, "def");
  EXPECT_TRUE(DVFReadString(p, s));
  EXPECT_EQ(p, "");
  EXPECT_FALSE(DVFReadString(p, s));
}

TEST(DVFReadTest, Integers) {
  struct Case {
    std::string_view text;
    bool ok;
    int32_t value;
    std::string_view rest;
  };
  const Case cases[] = {
      {"-12 x", true, -12, "x"},
      {"0", true, 0, ""},
      {"7  8", true, 7, " 8"},
      {"2147483647 a", true, 2147483647, "a"},
      {"-2147483648", true, -2147483647 - 1, ""},
      // failures leave the cursor where it was
      {"12x", false, 0, "12x"},
      {"", false, 0, ""},
      {"-", false, 0, "-"},
      {"- 1", false, 0, "- 1"},
      {"x1", false, 0, "x1"},
      {"+1", false, 0, "+1"},
      {" 1", false, 0, " 1"},
      {"\"Normal\"", false, 0, "\"Normal\""},
      {"2147483648", false, 0, "2147483648"},
      {"-2147483649", false, 0, "-2147483649"},
      {"99999999999999999999999999", false, 0, "99999999999999999999999999"},
  };
  for (const Case& c : cases) {
    std::string_view p = c.text;
    int32_t value = 0;
    EXPECT_EQ(DVFReadInteger(p, value), c.ok) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(p, c.rest) << c.text;
  }
}

TEST(DVFReadTest, QuotedText) {
  struct Case {
    std::string_view text;
    bool ok;
    std::string value;
    std::string_view rest;
  };
  const Case cases[] = {
      {"\"Normal text\" 5", true, "Normal text", "5"},
      {"\"He said \"\"hi\"\"\"", true, "He said \"hi\"", ""},
      {"\"\" 1", true, "", "1"},
      {"\"a\"b", true, "a", "b"},
      {"noquote", false, "", "noquote"},
      {"", false, "", ""},
      // unterminated: stops at the end of the line
      {"\"unterminated name", false, "", ""},
      {"\"ends in a doubled quote\"\"", false, "", ""},
  };
  for (const Case& c : cases) {
    std::string_view p = c.text;
    std::string s = "stale";
    EXPECT_EQ(DVFReadText(p, s), c.ok) << c.text;
    EXPECT_EQ(s, c.value) << c.text;
    EXPECT_EQ(p, c.rest) << c.text;
  }
}

TEST(DVFTagTest, StringTagsReadBackAsThemselves) {
  struct Case {
    std::string tag, written;
  };
  const Case cases[] = {
      // plain tags are written unchanged
      {"plain", "plain"},
      {"50%", "50%"},
      {"a%20b", "a%20b"},
      {"00", "00"},
      {"0x", "0x"},
      {"\t", "\t"},
      {"\xe6\xa0\x87\xe7\xad\xbe", "\xe6\xa0\x87\xe7\xad\xbe"},
      // the rest is escaped so that it reads back as one token
      {"a b", "%a%20b"},
      {"0", "%%30"},
      {"0 x", "%%30%20x"},
      {"%", "%%25"},
      {"%abc", "%%25abc"},
      {"%a%20b", "%%25a%2520b"},
      {"line\r\nbreak", "%line%0D%0Abreak"},
      {" ", "%%20"},
  };
  for (const Case& c : cases) {
    const std::string written = DVFSaveTag(true, TDVTag{0, c.tag});
    EXPECT_EQ(written, c.written);
    std::string_view p = written;
    TDVTag tag;
    ASSERT_TRUE(DVFReadTag(p, true, tag)) << c.written;
    EXPECT_EQ(tag.Str, c.tag) << c.written;
    EXPECT_EQ(p, "");
  }
}

TEST(DVFTagTest, StringTagNoneAndOlderPlainTags) {
  EXPECT_EQ(DVFSaveTag(true, TDVTag{}), "0");
  EXPECT_EQ(DVFSaveTag(true, TDVTag{0, ""s}), "0");

  std::string_view p = "0 %abc %30 % %a%41 x%2";
  TDVTag tag{5, "stale"s};
  ASSERT_TRUE(DVFReadTag(p, true, tag));
  EXPECT_FALSE(tag.Str);
  // Tokens that are not exactly an escaped form are taken as they are.
  for (std::string expected : {"%abc", "%30", "%", "%a%41", "x%2"}) {
    ASSERT_TRUE(DVFReadTag(p, true, tag));
    EXPECT_EQ(tag.Str, expected);
  }
  EXPECT_FALSE(DVFReadTag(p, true, tag));  // nothing left
}

TEST(DVFTagTest, IntegerTags) {
  EXPECT_EQ(DVFSaveTag(false, TDVTag{-5, "ignored"s}), "-5");
  std::string_view p = "12 abc 99999999999 ";
  TDVTag tag;
  ASSERT_TRUE(DVFReadTag(p, false, tag));
  EXPECT_EQ(tag.Int, 12);
  EXPECT_FALSE(DVFReadTag(p, false, tag));
  EXPECT_FALSE(DVFReadTag(p, false, tag));
  EXPECT_FALSE(DVFReadTag(p, false, tag));  // empty token
}

// Text styles "Normal", "Say ""hi""", "Normal" again; paragraph styles "Body", "Heading".
class DVFStyleNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    sheet.TextStyles().Clear();
    for (const char* name : {"Normal", "Say \"hi\"", "Normal"}) sheet.TextStyles().Add().StyleName = name;
    sheet.ParaStyles().Clear();
    for (const char* name : {"Body", "Heading"}) sheet.ParaStyles().Add().StyleName = name;
  }
  TDVStyle sheet;
};

TEST_F(DVFStyleNamesTest, Saving) {
  EXPECT_EQ(DVFSaveText(sheet, true, 1), "\"Say \"\"hi\"\"\"");
  EXPECT_EQ(DVFSaveText(sheet, false, 1), "1");
  EXPECT_EQ(DVFSaveText(sheet, true, 7), "7");  // no such style: the number
  EXPECT_EQ(DVFSavePara(sheet, true, 1), "\"Heading\"");
  EXPECT_EQ(DVFSavePara(sheet, true, -1), "-1");
  EXPECT_EQ(DVFItemSavePara(1, sheet, true, false), "\"Heading\"");
  EXPECT_EQ(DVFItemSavePara(1, sheet, true, true), "-1");
  EXPECT_EQ(DVFItemSavePara(1, sheet, false, false), "1");
}

TEST_F(DVFStyleNamesTest, ReadingNumbersAndNames) {
  std::string_view p = "2 \"Say \"\"hi\"\"\" \"Normal\" \"Unknown\" \"Heading\" -1 x";
  int32_t no = -5;
  ASSERT_TRUE(DVFReadTextStyle(sheet, p, no));
  EXPECT_EQ(no, 2);
  ASSERT_TRUE(DVFReadTextStyle(sheet, p, no));
  EXPECT_EQ(no, 1);
  ASSERT_TRUE(DVFReadTextStyle(sheet, p, no));
  EXPECT_EQ(no, 0);  // the first of two equal names
  no = -5;
  ASSERT_TRUE(DVFReadTextStyle(sheet, p, no));
  EXPECT_EQ(no, 0);  // unknown name
  ASSERT_TRUE(DVFReadParaStyle(sheet, p, no));
  EXPECT_EQ(no, 1);
  ASSERT_TRUE(DVFReadParaStyle(sheet, p, no));
  EXPECT_EQ(no, -1);
  EXPECT_FALSE(DVFReadParaStyle(sheet, p, no));  // neither a number nor a name
  EXPECT_EQ(p, "x");

  p = "\"Normal";
  EXPECT_FALSE(DVFReadTextStyle(sheet, p, no));
  EXPECT_EQ(p, "");
  EXPECT_EQ(TextNameToIndex(sheet, "normal"), 0);  // exact comparison, no match
  EXPECT_EQ(ParaNameToIndex(sheet, "Heading"), 1);
}

TEST_F(DVFStyleNamesTest, SavedNamesReadBack) {
  for (int32_t styleNo : {0, 1}) {
    const std::string saved = DVFSaveText(sheet, true, styleNo);
    std::string_view p = saved;
    int32_t no = -1;
    ASSERT_TRUE(DVFReadTextStyle(sheet, p, no));
    EXPECT_EQ(no, styleNo);
  }
}

std::vector<uint8_t> Bytes(TMemoryStream& stream) { return stream.Bytes(); }

TEST(DVFHexTest, TextStringToStream) {
  TMemoryStream stream;
  EXPECT_TRUE(DVFTextString2Stream("0aff", stream));
  EXPECT_EQ(Bytes(stream), (std::vector<uint8_t>{0x0A, 0xFF}));
  EXPECT_EQ(stream.GetPosition(), 0);

  EXPECT_FALSE(DVFTextString2Stream("abc", stream));  // odd length

  // A non-digit stops the conversion; what came before it stays.
  EXPECT_FALSE(DVFTextString2Stream("7BG1", stream));
  ASSERT_EQ(stream.GetSize(), 2);
  EXPECT_EQ(Bytes(stream)[0], 0x7B);
  EXPECT_FALSE(DVFTextString2Stream("7B 1", stream));
  EXPECT_FALSE(DVFTextString2Stream("7B\0"s "1", stream));

  EXPECT_TRUE(DVFTextString2Stream("", stream));
  EXPECT_EQ(stream.GetSize(), 0);
}

TEST(DVFHexTest, StreamRoundTrip) {
  std::vector<uint8_t> bytes(70000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  TMemoryStream source(bytes);
  source.SetPosition(100);  // the whole stream counts, not the rest
  const std::string text = DVFStream2TextString(source);
  EXPECT_EQ(text.size(), 2 * bytes.size());
  EXPECT_EQ(text.substr(0, 8), "00070E15");

  TMemoryStream target;
  ASSERT_TRUE(DVFTextString2Stream(text, target));
  EXPECT_EQ(target.Bytes(), bytes);
}

// Streams other than memory streams are read in blocks; a file larger than
// one block shows the blocks join up.
TEST(DVFHexTest, FileStreamToText) {
  std::vector<uint8_t> bytes(150000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 5);
  const std::string path = testing::TempDir() + "dvf_hex_" + std::to_string(::getpid()) + ".bin";
  TMemoryStream(bytes).SaveToFile(path);
  std::string text;
  {
    TFileStream file(path, fmOpenRead);
    file.SetPosition(10);
    text = DVFStream2TextString(file);
    EXPECT_EQ(file.GetPosition(), file.GetSize());
  }
  std::remove(path.c_str());
  TMemoryStream back;
  ASSERT_TRUE(DVFTextString2Stream(text, back));
  EXPECT_EQ(back.Bytes(), bytes);
}

}  // namespace
}  // namespace quillet
