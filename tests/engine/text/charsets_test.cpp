#include "engine/text/charsets.h"

#include <gtest/gtest.h>

#include "engine/base/doc_view_error.h"
#include "platform/core/code_page.h"
#include "text_test_util.h"

namespace quillet {
namespace {

using test::U16;

const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";  // 中文 in code page 936

TEST(Charsets, CodePagesAndLanguages) {
  struct Row {
    int charset, codePage, language;
  } rows[] = {
      {0, 1252, 1024}, {1, CP_ACP, 1024},   {2, CP_ACP, 1024},   {77, CP_MACCP, 1024}, {128, 932, 1041},
      {129, 949, 1042}, {130, 1361, 2066},  {134, 936, 2052},    {136, 950, 1028},     {161, 1253, 1032},
      {162, 1254, 1055}, {163, 1258, 1066}, {177, 1255, 1037},   {178, 1256, 1024},    {186, 1257, 1024},
      {204, 1251, 1049}, {222, 874, 1054},  {238, 1250, 1024},   {255, CP_OEMCP, 1024}, {99, CP_ACP, 1024},
      {-1, CP_ACP, 1024},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(DVU_Charset2CodePage(r.charset), r.codePage) << r.charset;
    EXPECT_EQ(DVU_Charset2Language(r.charset), r.language) << r.charset;
  }
}

TEST(Charsets, EightBitToUnicode) {
  struct Case {
    const char* what;
    int codePage;
    std::string in;
    std::u16string out;
  } cases[] = {
      {"system code page", CP_ACP, "a" + kZhongWenGbk, u"a中文"},
      {"own code page", 1251, "\xCF\xF0\xE8", u"При"},
      {"unknown code page: read as the system's", 12345, kZhongWenGbk, u"中文"},
      {"unknown code page, plain text", 3, "abc", u"abc"},
      {"a bad byte is kept as a replacement", 936, "a\xFF", u"a\uFFFD"},
      {"empty", 1251, "", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(DVU_AnsiToUnicode(c.codePage, c.in), U16(c.out)) << c.what;
  EXPECT_EQ(DVU_KeyToUnicode(kZhongWenGbk), U16(u"中文"));
  EXPECT_EQ(DVU_GetKeyboardCodePage(), GetACP());
}

TEST(Charsets, UnicodeToEightBit) {
  struct Case {
    const char* what;
    int codePage;
    std::u16string in;
    std::string out;
  } cases[] = {
      {"system code page", CP_ACP, u"a中文", "a" + kZhongWenGbk},
      {"characters the code page lacks", 1251, u"П中\U0001F600", "\xCF??"},
      {"unknown code page: written in the system's", 12345, u"中文", kZhongWenGbk},
      {"empty", 1251, u"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DVU_UnicodeToAnsi(c.codePage, U16(c.in)), c.out) << c.what;
  EXPECT_THROW(DVU_UnicodeToAnsi(936, "abc"), EDocViewError);
}

}  // namespace
}  // namespace quillet
