#include "interchange/xml/xml_text.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// The system code page is 936: 中 is D6 D0, 文 CE C4.
TEST(XmlText, CleanDecodesEightBitText) {
  struct Case {
    const char* text;
    std::string expected;
  } cases[] = {
      {"&lt;a&gt; &amp; &apos;&#65;", "<a> & 'A"},
      {"&amp;lt;", "&lt;"},  // decoded once, never again
      {"&amp;#65;", "&#65;"},
      {"&quot;", "&quot;"},
      {"a\r\nb\nc\rd\te", "a b\nc\rd e"},
      {"&#20013;&#x6587;&#X6587;&#$4E2D;", "\xD6\xD0\xCE\xC4\xCE\xC4\xD6\xD0"},
      {"&#0;&#x0;", "??"},                          // never a NUL
      {"&#x20AC;", "\x80"},                        // the code page's own byte
      {"&#x1F600;&#55357;&#56832;", "??"},         // not in the code page; a pair is one character
      {"&#55357;x", "?x"},                          // a lone surrogate
      {"&#1114112;&#99999999999999999999;", "??"},  // beyond Unicode
      {"&#65", "&#65"},
      {"&#;&#x;&#abc;&#6 5;&#-5;&# 65;", "&#;&#x;&#abc;&#6 5;&#-5;&# 65;"},
      {"&#65&#66;", "&#65B"},
      {"&unknown; & &amp", "&unknown; & &amp"},
      {"\xD6\xD0&#9;\xCE\xC4", "\xD6\xD0\t\xCE\xC4"},
  };
  for (const auto& c : cases) EXPECT_EQ(Clean(c.text), c.expected) << c.text;
}

TEST(XmlText, CleanSpecTurnsQuotEntitiesIntoQuotes) {
  EXPECT_EQ(CleanSpec("a&quot;b&quot;"), "a\"b\"");
  EXPECT_EQ(CleanSpec(Clean("&amp;quot;")), "\"");
  EXPECT_EQ(CleanSpec("&quot&quo;"), "&quot&quo;");
}

TEST(XmlText, CleanUnicodeDecodesUnicodeElementText) {
  struct Case {
    const char* text;
    std::u16string expected;
  } cases[] = {
      {"&#20013;&#25991;", u"\u4E2D\u6587"},
      {"\xD6\xD0" "a&#x6587;", u"\u4E2Da\u6587"},
      {"&lt;&amp;&gt;&apos;&quot;", u"<&>'&quot;"},
      {"&amp;#65;", u"A"},  // an escaped ampersand before "#N;" makes a reference
      {"x&#65 rest", u"x&#65 rest"},
      {"&#65;&#66", u"A&#66"},
      {"&#0;&#1114112;", u"\uFFFD\uFFFD"},
      {"&#x1F600;", u"\U0001F600"},
      {"&#55357;&#56832;", u"\U0001F600"},
      {"a\r\nb\tc\n", u"a b c\n"},
      {"\xD6&#65;", u"\uFFFDA"},  // a lead byte cut off by a reference
  };
  for (const auto& c : cases) EXPECT_EQ(CleanUnicode(CleanUni(c.text)), c.expected) << c.text;
}

}  // namespace
}  // namespace quillet
