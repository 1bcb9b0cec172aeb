#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/doc_view_error.h"
#include "interchange/xml/xml_tag.h"

namespace quillet {
namespace {

std::string Attributes(const TXMLTag& tag) {
  std::string s;
  for (int i = 0; i < tag.Attributes().Count(); ++i) {
    const TXMLAttr* a = tag.Attributes().Get(i);
    s += "[" + a->Name + "=" + a->Value + "]";
  }
  return s;
}

TEST(XmlAttributes, ReadFromMarkupAsTheFormatWritesThem) {
  struct Case {
    const char* markup;
    const char* name;
    const char* attributes;
  } cases[] = {
      {"text", "text", ""},
      {"\ttext\r\n", "text", ""},
      {"text a=\"1\" b=\"two\"", "text", "[a=1][b=two]"},
      {"text  a = \"1\"  b=\"2\" ", "text", "[a=1][b=2]"},
      // The character after a closing quote is skipped, separator or not.
      {"text a=\"1\"bc=\"2\"", "text", "[a=1][c=2]"},
      // Values are the next double-quoted text after "=".
      {"text a='1' b=\"2\"", "text", "[a=2]"},
      {"text a=1 b=\"2\" c=\"3\"", "text", "[a=2][c=3]"},
      // Only a blank ends the element name.
      {"text\ta=\"1\" b=\"2\"", "text\ta=\"1\"", "[b=2]"},
      // Duplicates are all kept.
      {"text a=\"1\" A=\"2\"", "text", "[a=1][A=2]"},
      // Unterminated attributes stop the list.
      {"text a=\"1\" b=\"2", "text", "[a=1]"},
      {"text a=\"1\" b", "text", "[a=1]"},
      {"text =\"1\"", "text", "[=1]"},
      {"text a=\"1\"=\"2\"", "text", "[a=1][=2]"},
      // Values are decoded; "&quot;" and "&amp;quot;" both become quotes there.
      {"text v=\"&lt;&amp;&gt;&#65;&quot;&amp;quot;&apos;\"", "text", "[v=<&>A\"\"']"},
      {"text v=\"a\r\nb\tc\"", "text", "[v=a b c]"},
  };
  for (const auto& c : cases) {
    const TXMLTag tag(c.markup, nullptr, nullptr);
    EXPECT_EQ(tag.Name, c.name) << c.markup;
    EXPECT_EQ(Attributes(tag), c.attributes) << c.markup;
  }
}

TEST(XmlAttributes, LookupsFindTheFirstOfANameWithoutRegardToCase) {
  const TXMLTag tag("font Name=\"first\" NAME=\"second\" size=\"9\"", nullptr, nullptr);
  ASSERT_NE(tag.Attributes().FindAttrOfName("name"), nullptr);
  EXPECT_EQ(tag.Attributes().FindAttrOfName("name")->Value, "first");
  EXPECT_EQ(tag.Attributes().FindAttrOfName("SIZE")->Value, "9");
  EXPECT_EQ(tag.Attributes().FindAttrOfName("color"), nullptr);
  EXPECT_THROW(tag.Attributes().Get(3), EDocViewError);
  EXPECT_THROW(tag.Attributes().Get(-1), EDocViewError);
}

TEST(XmlAttributes, CaseFoldingLeavesDoubleByteCharactersAlone) {
  // 0xC1 0x61 and 0xC1 0x41 are two different characters of code page 936.
  const TXMLTag tag("t \xC1\x61=\"lower\" \xC1\x41=\"upper\"", nullptr, nullptr);
  EXPECT_EQ(tag.Attributes().FindAttrOfName("\xC1\x41")->Value, "upper");
}

}  // namespace
}  // namespace quillet
