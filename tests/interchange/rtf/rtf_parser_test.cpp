// The parser's events for small inputs: runs and their positions, groups,
// escapes, Unicode and its fallback, binary data, table nesting and the
// bounds that keep hostile input harmless.
#include <gtest/gtest.h>

#include <string>

#include "interchange/rtf/rtf_trace.h"

namespace quillet {
namespace {

using test::TraceRTF;

struct TraceCase {
  const char* name;
  std::string rtf;
  std::string trace;
  TDVRTFErrorCode result = rtf_ec_OK;
  bool unicode = true;
};

TEST(RTFParserTest, Traces) {
  const TraceCase cases[] = {
      {"one run", "{\\rtf1 abc}", "T\"abc\"@P"},
      {"empty paragraph", "{\\rtf1 a\\par\\par b}", "T\"a\"@P T\"\"@P T\"b\"@P"},
      {"line break", "{\\rtf1 a\\line b}", "T\"a\"@P T\"b\"@L"},
      {"bytes after the outer group are not read", "{\\rtf1 a}\\'zz{", "T\"a\"@P"},
      {"extra closing brace", "{\\rtf1 a}}", "T\"a\"@P"},
      {"unclosed group", "{\\rtf1 a", "", rtf_ec_UnmatchedBrace},
      {"closing brace alone", "}", "", rtf_ec_StackUnderflow},
      {"bad hexadecimal escape", "{\\rtf1 \\'4g}", "", rtf_ec_InvalidHex},
      {"backslash at the end", "{\\rtf1 a\\", "", rtf_ec_EndOfFile},
      {"unknown starred group is skipped", "{\\rtf1 {\\*\\zzz text}b}", "T\"b\"@P"},
      {"unknown group is read", "{\\rtf1 {\\zzz text}}", "T\"text\"@P"},
      {"escaped byte", "{\\rtf1 \\'41\\{\\}\\\\}", "T\"A{}\\\"@P"},
      {"unicode drops one fallback", "{\\rtf1\\uc1 \\u20013?x}", "U[20013]@P T\"x\"@C"},
      {"unicode drops escaped fallbacks", "{\\rtf1\\uc2 \\u20013\\'a1\\'a2x}", "U[20013]@P T\"x\"@C"},
      {"without the unicode event the fallback is text", "{\\rtf1 \\u20013?}", "T\"?\"@P", rtf_ec_OK, false},
      {"negative unicode", "{\\rtf1 \\u-3913?}", "U[61623]@P"},
      {"a group ends the fallback", "{\\rtf1\\uc3 \\u20013{}ab}", "U[20013]@P T\"ab\"@C"},
      {"blank after a keyword is its delimiter", "{\\rtf1\\b  x\\b0 y}", "T\" x\"@P T\"y\"@C"},
      {"binary data passes braces", "{\\rtf1 {\\*\\x \\bin4 {\\}a}b}", "T\"b\"@P"},
      {"binary data in text", "{\\rtf1 \\bin3 {\\}}", "T\"{\\}\"@P"},
      {"bin without a number takes no byte", "{\\rtf1 \\bin x}", "T\"x\"@P"},
      {"bin0 takes no byte", "{\\rtf1 \\bin0 x}", "T\"x\"@P"},
      {"in a table", "{\\rtf1 \\intbl a\\cell\\row}", "<start> T\"a\"@P <cell> <row> <end>"},
      {"nested table", "{\\rtf1 \\itap2 a}", "<start> <start> T\"a\"@P <end> <end>"},
      {"page break", "{\\rtf1 a\\page b}", "T\"a\"@P <page> T\"b\"@C"},
      {"header is read between its events", "{\\rtf1 {\\header h}b}", "<header+> T\"h\"@P <header-> T\"b\"@C"},
      {"typographic quotes", "{\\rtf1 \\ldblquote a\\rdblquote}", "U[8220]@P T\"a\"@C U[8221]@C"},
      {"field result is text", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "T\"link\"@P"},
      {"keyword of 33 letters is unknown", "{\\rtf1 \\paraaaaaaaaaaaaaaaaaaaaaaaaaaaaaa x}", "T\"x\"@P"},
      {"long parameter is clamped", "{\\rtf1 \\fs999999999999999 x}", "T\"x\"@P"},
  };
  for (const TraceCase& c : cases) {
    const auto out = TraceRTF(c.rtf, c.unicode);
    EXPECT_EQ(out.trace, c.trace) << c.name;
    EXPECT_EQ(out.result, c.result) << c.name;
  }
}

TEST(RTFParserTest, KeywordAcrossTheBufferBoundary) {
  // The 4096-byte buffer refills in the middle of a keyword and of a
  // parameter; nothing is lost or doubled.
  for (int pad = 4080; pad <= 4100; ++pad) {
    const std::string rtf = "{\\rtf1 " + std::string(pad - 7, ' ') + "\\par\\fs20 x\\'41}";
    const auto out = TraceRTF(rtf);
    ASSERT_EQ(out.result, rtf_ec_OK) << pad;
    EXPECT_EQ(out.trace.substr(out.trace.size() - 8), " T\"xA\"@P") << pad;
  }
}

TEST(RTFParserTest, DeepGroupsOverflow) {
  const int depth = TDVRTFReader::kMaxGroupDepth;
  EXPECT_EQ(TraceRTF(std::string(depth, '{') + "x" + std::string(depth, '}')).result, rtf_ec_OK);
  EXPECT_EQ(TraceRTF(std::string(depth + 1, '{') + "x" + std::string(depth + 1, '}')).result,
            rtf_ec_StackOverflow);
}

TEST(RTFParserTest, TableNestingIsBounded) {
  const auto out = TraceRTF("{\\rtf1 \\itap99999 a}");
  size_t starts = 0;
  for (size_t at = 0; (at = out.trace.find("<start>", at)) != std::string::npos; ++at) ++starts;
  EXPECT_EQ(starts, size_t(TDVRTFReader::kMaxTableNesting));
}

TEST(RTFParserTest, ReaderIsReusable) {
  TDVRTFReader reader;
  EXPECT_EQ(test::TraceRTF("{\\rtf1 {\\fonttbl{\\f0 A;}}\\b a", true, true, true, &reader).result,
            rtf_ec_UnmatchedBrace);
  const auto out = test::TraceRTF("{\\rtf1 b}", true, true, true, &reader);
  EXPECT_EQ(out.trace, "T\"b\"@P");
  EXPECT_EQ(reader.FontTable().Count(), 0);
  EXPECT_EQ(reader.RTFState().CharProps.Style, 0);
}

}  // namespace
}  // namespace quillet
