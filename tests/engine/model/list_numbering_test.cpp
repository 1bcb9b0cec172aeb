#include "engine/model/list_numbering.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/core/code_page.h"

namespace quillet {
namespace {

TEST(ListNumberingTest, NumbersInEverySystem) {
  struct Case {
    int32_t value;
    TDVListType type;
    std::string expected;
  };
  const Case cases[] = {
      {7, dvlstDecimal, "7"},
      {-3, dvlstDecimal, "-3"},
      {INT_MAX, dvlstImageListCounter, "2147483647"},
      {1, dvlstLowerAlpha, "a"},
      {26, dvlstLowerAlpha, "z"},
      {27, dvlstLowerAlpha, "aa"},
      {28, dvlstLowerAlpha, "ab"},
      {702, dvlstLowerAlpha, "zz"},
      {703, dvlstLowerAlpha, "aaa"},
      {27, dvlstUpperAlpha, "AA"},
      {INT_MAX, dvlstUpperAlpha, "FXSHRXW"},
      {0, dvlstLowerAlpha, ""},
      {-5, dvlstUpperAlpha, ""},
      {1994, dvlstLowerRoman, "mcmxciv"},
      {1994, dvlstUpperRoman, "MCMXCIV"},
      {4, dvlstUpperRoman, "IV"},
      {4000, dvlstUpperRoman, "MMMM"},
      {3999, dvlstUpperRoman, "MMMCMXCIX"},
      {9999, dvlstUpperRoman, "MMMMMMMMMCMXCIX"},
      // Past the bound a Roman counter shows its decimal number, never a
      // numeral of millions of letters.
      {10000, dvlstUpperRoman, "10000"},
      {INT_MAX, dvlstLowerRoman, "2147483647"},
      {0, dvlstUpperRoman, "?"},
      {INT_MIN, dvlstLowerRoman, "?"},
      {5, dvlstBullet, ""},
      {5, dvlstPicture, ""},
      {5, dvlstImageList, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Number2Str(c.value, c.type), c.expected) << c.value << " type " << int(c.type);
}

TEST(ListNumberingTest, FormatSubstitutesOnlyLevelPlaceholders) {
  std::vector<std::string> levels(DVListLevelCount);
  levels[0] = "2";
  levels[1] = "3";
  levels[12] = "L12";
  levels[255] = "last";
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"%0:s.%1:s", "2.3"},
      {"%1:s)", "3)"},
      {"%0:s", "2"},  // extra numbers are ignored
      {"(%12:s)", "(L12)"},
      {"%255:s", "last"},
      {"%%%0:s%%", "%2%"},
      {"%0:S", "2"},
      // Nothing else is a placeholder: printf-like directives stay text.
      {"%s %d %n %x %p %*s", "%s %d %n %x %p %*s"},
      {"%256:s %1000:s %99999999999:s", "%256:s %1000:s %99999999999:s"},
      {"%0:d %0 %0: %-1:s", "%0:d %0 %0: %-1:s"},
      {"%", "%"},
      {"50% off", "50% off"},
      {"", ""},
      // Double-byte text around a placeholder stays whole.
      {"\xB5\xDA%0:s\xD5\xC2", "\xB5\xDA" "2\xD5\xC2"},
  };
  for (const Case& c : cases) EXPECT_EQ(DVFormatLevelNumbers(c.format, levels), c.expected) << c.format;
}

TEST(ListNumberingTest, MarkerTextDecodesLoneLeadBytesAsWestern) {
  struct Case {
    std::string text;
    int codePage;
    std::u16string expected;
  };
  const Case cases[] = {
      // The default bullet: a lead byte without a trail byte in 936 and a
      // middle dot in 1252; it is a middle dot in both.
      {"\xB7", 936, u"\u00B7"},
      {"\xB7", 1252, u"\u00B7"},
      {"\xB7 ", 936, u"\u00B7 "},
      // Whole double-byte characters keep their meaning.
      {"\xA1\xF1", 936, u"\u25CF"},
      {"\xA1\xA4", 936, u"\u00B7"},
      {"1.", 936, u"1."},
      {"", 936, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(DVMarkerTextToUnicode(c.text, c.codePage), c.expected) << c.text;
}

}  // namespace
}  // namespace quillet
