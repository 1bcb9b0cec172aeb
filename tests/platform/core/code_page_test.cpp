#include "platform/core/code_page.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace quillet {
namespace {

const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";  // 中文 in code page 936

// Restores the system code page whatever a test does to it.
class CodePageTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = GetACP(); }
  void TearDown() override { SetACP(saved_); }
  int saved_ = 0;
};

TEST_F(CodePageTest, SystemCodePageDefaultsTo936) {
  EXPECT_EQ(GetACP(), 936);
  EXPECT_EQ(ResolveCodePage(CP_ACP), 936);
  EXPECT_EQ(ResolveCodePage(1251), 1251);
  SetACP(1251);
  EXPECT_EQ(ResolveCodePage(CP_ACP), 1251);
  EXPECT_EQ(CharsetToCodePage(DEFAULT_CHARSET), 1251);
  SetACP(CP_ACP);  // ignored
  EXPECT_EQ(GetACP(), 1251);
  EXPECT_THROW(SetACP(12345), std::invalid_argument);
  EXPECT_EQ(GetACP(), 1251);
}

TEST_F(CodePageTest, GbkTextRoundTrips) {
  EXPECT_EQ(MultiByteToWideChar(936, kZhongWenGbk), u"中文");
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, "a" + kZhongWenGbk + "b"), u"a中文b");
  bool usedDefault = true;
  EXPECT_EQ(WideCharToMultiByte(936, u"中文", &usedDefault), kZhongWenGbk);
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(Utf8ToAnsi("中文"), kZhongWenGbk);
  EXPECT_EQ(AnsiToUtf8(kZhongWenGbk), "中文");
  EXPECT_EQ(MultiByteToWideChar(936, "\x80"), u"€");  // the single-byte euro of 936
}

TEST_F(CodePageTest, EachCodePageRoundTripsItsOwnText) {
  struct Case {
    int codePage;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {950, "\xA4\xA4\xA4\xE5", u"中文"},
      {932, "\x93\xFA\x96\x7B\x8C\xEA\xB1", u"日本語ｱ"},
      {949, "\xC7\xD1\xB1\xB9", u"한국"},
      {1251, "\xCF\xF0\xE8", u"При"},
      {1252, "\x80 caf\xE9", u"€ café"},
      {1253, "\xC1\xE2", u"Αβ"},
      {874, "\xA1", u"ก"},
      {437, "\x82\xB0", u"é░"},
      {10000, "\x8E", u"é"},
      {65001, "\xE4\xB8\xAD\xF0\x9F\x98\x80", u"中\U0001F600"},
      {20127, "plain", u"plain"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.codePage);
    EXPECT_TRUE(IsValidCodePage(t.codePage));
    EXPECT_EQ(MultiByteToWideChar(t.codePage, t.bytes), t.text);
    bool usedDefault = true;
    EXPECT_EQ(WideCharToMultiByte(t.codePage, t.text, &usedDefault), t.bytes);
    EXPECT_FALSE(usedDefault);
  }
}

TEST_F(CodePageTest, EveryByteOf1252SurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string wide = MultiByteToWideChar(1252, all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(wide[0x81], u'\x81');
  EXPECT_EQ(wide[0x9F], u'Ÿ');
  bool usedDefault = true;
  EXPECT_EQ(WideCharToMultiByte(1252, wide, &usedDefault), all);
  EXPECT_FALSE(usedDefault);
}

// A code page the machine cannot convert gives nothing, even for ASCII text,
// so that a caller can tell and retry with the system code page; it is never
// read as some other code page.
TEST_F(CodePageTest, UnknownCodePagesConvertNothing) {
  for (int cp : {12345, 3, -1, 1200}) {
    SCOPED_TRACE(cp);
    EXPECT_FALSE(IsValidCodePage(cp));
    EXPECT_EQ(MultiByteToWideChar(cp, "abc"), u"");
    EXPECT_EQ(MultiByteToWideChar(cp, "\xE9\xD6\xD0"), u"");
    bool usedDefault = true;
    EXPECT_EQ(WideCharToMultiByte(cp, u"abc\u00e9", &usedDefault), "");
    EXPECT_FALSE(usedDefault);
  }
}

TEST_F(CodePageTest, OemAndMacintoshCodePagesStandForTheirOwn) {
  EXPECT_EQ(ResolveCodePage(CP_OEMCP), 437);
  EXPECT_EQ(ResolveCodePage(CP_MACCP), 10000);
  EXPECT_EQ(MultiByteToWideChar(CP_OEMCP, "\x82"), u"\u00e9");
  EXPECT_EQ(MultiByteToWideChar(CP_MACCP, "\x8E"), u"\u00e9");
  SetACP(CP_OEMCP);
  EXPECT_EQ(GetACP(), 437);
}

TEST_F(CodePageTest, LongTextCrossesConverterBuffers) {
  std::string bytes;
  std::u16string text;
  for (int i = 0; i < 5000; ++i) {
    bytes += kZhongWenGbk + "x";
    text += u"中文x";
  }
  bytes += "\xFF";
  text += u"\xFFFD";
  EXPECT_EQ(MultiByteToWideChar(936, bytes), text);
  text.back() = u'!';
  bytes.back() = '!';
  EXPECT_EQ(WideCharToMultiByte(936, text), bytes);
}

TEST_F(CodePageTest, BadBytesBecomeOneReplacementPerCharacter) {
  struct Case {
    int codePage;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {936, "a\xD6", u"a\xFFFD"},                 // lead byte cut off at the end
      {936, "\xD6\r\n", u"\xFFFD\r\n"},          // a lead byte never swallows a line break
      {936, "\xFF" "a", u"\xFFFD" "a"},
      {936, "\xAA\xA1\xD6\xD0", u"\xFFFD中"},    // unmapped pair: both bytes go, the next character stays whole
      {932, "\x82", u"\xFFFD"},
      {20127, "a\x80", u"a\xFFFD"},
      {65001, "\xE4\xB8", u"\xFFFD"},             // truncated sequence
      {65001, "\xC0\x80", u"\xFFFD\xFFFD"},       // overlong
      {65001, "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},  // encoded surrogate
      {65001, "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // beyond U+10FFFF
      {65001, "\xE4\xB8" "a", u"\xFFFD" "a"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::PrintToString(t.bytes));
    EXPECT_EQ(MultiByteToWideChar(t.codePage, t.bytes), t.text);
  }
  EXPECT_EQ(Utf8ToUtf16("\xFF" "b"), u"\xFFFD" "b");
}

TEST_F(CodePageTest, UnmappableCharactersBecomeQuestionMarks) {
  struct Case {
    int codePage;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {1252, u"a中b", "a?b"},
      {1252, u"\U0001F600", "?"},          // a surrogate pair is one character
      {936, u"a\U0001F600b", "a?b"},
      {936, u"한中", "?\xD6\xD0"},
      {936, u"\xD800" "a", "?a"},          // unpaired surrogates
      {936, u"a\xDC00", "a?"},
      {936, u"中\xD800", "\xD6\xD0?"},
      {1251, u"中", "?"},
      {20127, u"é", "?"},
      {65001, u"a\xDC00", "a?"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.codePage);
    bool usedDefault = false;
    EXPECT_EQ(WideCharToMultiByte(t.codePage, t.text, &usedDefault), t.bytes);
    EXPECT_TRUE(usedDefault);
  }
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToAnsi("€"), "\x80");
}

TEST_F(CodePageTest, LeadBytes) {
  EXPECT_TRUE(IsDBCSCodePage(CP_ACP));
  for (int cp : {936, 950, 949}) {
    EXPECT_TRUE(IsDBCSCodePage(cp));
    EXPECT_FALSE(IsDBCSLeadByteEx(cp, 0x80));
    EXPECT_TRUE(IsDBCSLeadByteEx(cp, 0x81));
    EXPECT_TRUE(IsDBCSLeadByteEx(cp, 0xFE));
    EXPECT_FALSE(IsDBCSLeadByteEx(cp, 0xFF));
  }
  EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x9F));
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 0xA1));  // half-width katakana stand alone
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 0xDF));
  EXPECT_TRUE(IsDBCSLeadByteEx(932, 0xE0));
  EXPECT_TRUE(IsDBCSLeadByteEx(932, 0xFC));
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 0xFD));
  EXPECT_FALSE(IsDBCSCodePage(1252));
  EXPECT_FALSE(IsDBCSLeadByteEx(1252, 0xD6));
}

TEST_F(CodePageTest, SteppingMixedTextNeverSplitsACharacter) {
  const std::string text = "a" + kZhongWenGbk.substr(0, 2) + "b" + kZhongWenGbk.substr(2, 2);  // a中b文
  const std::vector<size_t> boundaries = {0, 1, 3, 4, 6};
  for (size_t k = 0; k + 1 < boundaries.size(); ++k) {
    EXPECT_EQ(CharNextEx(936, text, boundaries[k]), boundaries[k + 1]);
    EXPECT_EQ(CharPrevEx(936, text, boundaries[k + 1]), boundaries[k]);
  }
  EXPECT_EQ(CharNextEx(936, text, 6), 6u);
  EXPECT_EQ(CharNextEx(936, text, 99), 6u);
  EXPECT_EQ(CharPrevEx(936, text, 0), 0u);
  EXPECT_EQ(CharPrevEx(936, text, 99), 4u);
  EXPECT_EQ(CharPrevEx(936, text, 2), 1u);  // from inside a character: its start
  EXPECT_EQ(CharCountEx(936, text), 4u);
  EXPECT_EQ(CharCountEx(1252, text), 6u);

  // A lead byte with nothing after it is one character.
  const std::string cut = "a\xD6";
  EXPECT_EQ(CharNextEx(936, cut, 1), 2u);
  EXPECT_EQ(CharPrevEx(936, cut, 2), 1u);
  EXPECT_EQ(CharCountEx(936, cut), 2u);
}

TEST_F(CodePageTest, CharPrevFindsTheTrueBoundary) {
  // Trail bytes that are themselves lead bytes, or ASCII letters: looking
  // only at the previous byte would land inside a character.
  EXPECT_EQ(CharPrevEx(936, "\xD6\xD0\xD6\xD0", 4), 2u);
  EXPECT_EQ(CharPrevEx(936, "\x81\x81" "@", 3), 2u);
  EXPECT_EQ(CharPrevEx(936, "\x81@\x81@", 4), 2u);
  EXPECT_EQ(CharPrevEx(936, "\xD6\xD6\xD0", 3), 2u);  // the pair is D6 D6; D0 stands alone
  EXPECT_EQ(CharPrevEx(932, "\x83\x41\xB1", 3), 2u);  // katakana after a double-byte character

  // Every previous step must agree with forward stepping, on text built from
  // bytes that play every role.
  const unsigned char alphabet[] = {0x41, 0x40, 0x81, 0xA1, 0xD6, 0xE0, 0xFE, 0xFF, 0x0D, 0x7F, 0x30};
  uint32_t seed = 12345;
  for (int cp : {936, 950, 932, 949, 1361}) {
    for (int round = 0; round < 200; ++round) {
      std::string text;
      const size_t len = 1 + seed % 12;
      for (size_t i = 0; i < len; ++i) {
        seed = seed * 1103515245u + 12345u;
        text.push_back(static_cast<char>(alphabet[(seed >> 16) % sizeof alphabet]));
      }
      std::vector<size_t> forward;
      for (size_t i = 0; i < text.size(); i = CharNextEx(cp, text, i)) forward.push_back(i);
      ASSERT_EQ(CharCountEx(cp, text), forward.size());
      forward.push_back(text.size());
      for (size_t k = 1; k < forward.size(); ++k)
        ASSERT_EQ(CharPrevEx(cp, text, forward[k]), forward[k - 1]) << cp << ' ' << testing::PrintToString(text);
    }
  }
}

TEST_F(CodePageTest, CharsetsAndCodePages) {
  const std::pair<int, int> pairs[] = {
      {ANSI_CHARSET, 1252},       {MAC_CHARSET, 10000},      {SHIFTJIS_CHARSET, 932},   {HANGEUL_CHARSET, 949},
      {JOHAB_CHARSET, 1361},      {GB2312_CHARSET, 936},     {CHINESEBIG5_CHARSET, 950}, {GREEK_CHARSET, 1253},
      {TURKISH_CHARSET, 1254},    {VIETNAMESE_CHARSET, 1258}, {HEBREW_CHARSET, 1255},    {ARABIC_CHARSET, 1256},
      {BALTIC_CHARSET, 1257},     {RUSSIAN_CHARSET, 1251},   {THAI_CHARSET, 874},       {EASTEUROPE_CHARSET, 1250},
      {OEM_CHARSET, 437},
  };
  for (auto [charset, cp] : pairs) {
    EXPECT_EQ(CharsetToCodePage(charset), cp) << charset;
    EXPECT_EQ(CodePageToCharset(cp), charset) << cp;
    EXPECT_TRUE(IsValidCodePage(cp)) << cp;
  }
  EXPECT_EQ(CharsetToCodePage(SYMBOL_CHARSET), 1252);
  EXPECT_EQ(CharsetToCodePage(DEFAULT_CHARSET), 936);
  EXPECT_EQ(CharsetToCodePage(99), 936);
  EXPECT_EQ(CodePageToCharset(CP_ACP), GB2312_CHARSET);
  EXPECT_EQ(CodePageToCharset(65001), DEFAULT_CHARSET);
}

}  // namespace
}  // namespace quillet
