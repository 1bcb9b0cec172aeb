#include "interchange/xml/xml_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

// name[attr=value]='value'!(children), "!" marking CDATA and u'...' a wide value.
std::string Shape(const TXMLTag& tag) {
  std::string s = tag.Name;
  for (int i = 0; i < tag.Attributes().Count(); ++i)
    s += "[" + tag.Attributes().Get(i)->Name + "=" + tag.Attributes().Get(i)->Value + "]";
  if (!tag.Value.empty()) s += "='" + tag.Value + "'";
  if (!tag.WValue.empty()) s += "=u'" + Utf16ToUtf8(tag.WValue) + "'";
  if (tag.ValueType == TXMLValueType::vtCDATA) s += "!";
  if (tag.Children().Count() == 0) return s;
  s += "(";
  for (int i = 0; i < tag.Children().Count(); ++i) s += (i ? " " : "") + Shape(*tag.Children().Get(i));
  return s + ")";
}

TEST(XmlTree, ShapesOfWellFormedAndMalformedInput) {
  struct Case {
    const char* xml;
    const char* shape;  // of the tree itself, whose children are the top-level elements
  } cases[] = {
      {"<a><b x=\"1\"/><c>t</c></a>", "(a(b[x=1] c='t'))"},
      {"<r><img a=\"1\" b=\"2\"/><t>x</t></r>", "(r(img[a=1][b=2] t='x'))"},
      {"< a / >", "(a)"},
      // Missing closing tags leave elements open; what follows nests in them.
      {"<a><b><c>x", "(a(b(c='x')))"},
      // A closing tag closes the open element whatever its name.
      {"<a><b></a><c/></x><d/>", "(a(b c) d)"},
      // A surplus closing tag at the top level ends the parse.
      {"<a/></a><b/>", "(a)"},
      // Unterminated constructs end the parse and keep what came before.
      {"<a/><!-- x <b/>", "(a)"},
      {"<a>x<![CDATA[ y", "(a='x')"},
      {"<a/><?xml <b/>", "(a)"},
      {"<a/><b", "(a)"},
      // A ">" ends the markup even inside a quoted value.
      {"<a><b x=\"1>y", "(a(b='y'))"},
      // A document type declaration opens an element that is never closed.
      {"<!DOCTYPE book><book/>", "(!DOCTYPE(book))"},
      {"plain text &amp; no markup", "='plain text & no markup'"},
      {"<a>< \t></a><b/>", "(a b)"},
      {"<a/>tail &lt;", "='tail <'(a)"},
      // Each text run replaces the one before it, whitespace included.
      {"<a>one<b/>two</a>", "(a='two'(b))"},
      {"<a>text<b/>\r\n</a>", "(a=' '(b))"},
      {"<a><![cdata[<b>&amp;]]></a>", "(a='<b>&amp;'!)"},
      {"<a><![CDATA[]]>after</a>", "(a='after'!)"},
      {"<a><!-- <b/> --><!--><c/></a>", "(a(c))"},
      {"<?><a/>", "(a)"},
      {"", ""},
  };
  for (const auto& c : cases) {
    TXMLTree tree("windows-1250");
    tree.Parse(c.xml);
    EXPECT_EQ(Shape(tree), c.shape) << c.xml;
  }
}

TEST(XmlTree, TheDeclaredEncodingIsRecordedOnly) {
  struct Case {
    const char* xml;
    const char* encoding;
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"GBK\"?><a>\xD6\xD0</a>", "GBK"},
      {"<?XML encoding=\"utf-8\"?><a>\xD6\xD0</a>", "utf-8"},
      {"<?xml version=\"1.0\"?><a>\xD6\xD0</a>", "windows-1250"},
      {"<?xml-stylesheet encoding=\"x\"?><a>\xD6\xD0</a>", "windows-1250"},
  };
  for (const auto& c : cases) {
    TXMLTree tree("windows-1250");
    tree.Parse(c.xml);
    EXPECT_EQ(tree.Encoding, c.encoding) << c.xml;
    EXPECT_EQ(Shape(tree), "(a='\xD6\xD0')") << c.xml;
  }
}

TEST(XmlTree, LevelsParentsAndRoots) {
  TXMLTree tree("");
  tree.Parse("<a><b><c/></b></a><d/>");
  EXPECT_EQ(tree.Level(), -1);
  EXPECT_EQ(tree.Parent(), nullptr);
  const TXMLTag* a = tree.Children().FindTagOfName("A");
  ASSERT_NE(a, nullptr);
  const TXMLTag* c = a->Children().Get(0)->Children().Get(0);
  EXPECT_EQ(a->Level(), 0);
  EXPECT_EQ(c->Level(), 2);
  EXPECT_EQ(c->Parent()->Parent(), a);
  EXPECT_EQ(a->Parent(), &tree);
  EXPECT_EQ(c->Root(), &tree);
  EXPECT_EQ(tree.Children().FindTagOfName("c"), nullptr);  // direct children only
  EXPECT_EQ(tree.Children().Get(1)->Name, "d");
}

TEST(XmlTree, ParsingAgainReplacesEverything) {
  TXMLTree tree("");
  tree.Parse("<a x=\"1\"><b/></a>stray");
  tree.Parse("<c/>");
  EXPECT_EQ(Shape(tree), "(c)");
}

TEST(XmlTree, HundredThousandUnclosedElementsNeitherOverflowNorLeak) {
  constexpr int kDepth = 100000;
  std::string xml;
  for (int i = 0; i < kDepth; ++i) xml += "<e>";
  xml += "deep";
  {
    TXMLTree tree("");
    tree.Parse(xml);
    const TXMLTag* tag = &tree;
    int depth = 0;
    while (tag->Children().Count() == 1) {
      tag = tag->Children().Get(0);
      ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    EXPECT_EQ(tag->Level(), kDepth - 1);
    EXPECT_EQ(tag->Value, "deep");
    tree.Parse(xml + "<f/>");  // clears the deep tree first
    tree.Parse(xml);
  }  // and frees it
  std::string closed = xml;
  for (int i = 0; i < kDepth; ++i) closed += "</e>";
  TXMLTree tree("");
  tree.Parse(closed + "<last/>");
  ASSERT_EQ(tree.Children().Count(), 2);
  EXPECT_EQ(tree.Children().Get(1)->Name, "last");
}

TEST(XmlTree, UnicodeElementsGetWideText) {
  struct Case {
    const char* xml;
    const char* shape;
  } cases[] = {
      {"<d><UText>&#20013;&#25991;</UText><text>&#20013;</text></d>", "(d(UText=u'中文' text='\xD6\xD0'))"},
      // CDATA in a Unicode element fills its wide text, as written.
      {"<utext><![CDATA[\xD6\xD0&#65;]]></utext>", "(utext=u'中&#65;'!)"},
      {"<utext>a&#65 b</utext>", "(utext=u'a&#65 b')"},
      {"<utext>&amp;#65;&amp;lt;</utext>", "(utext=u'A&lt;')"},
      {"<utext>&#20013;", "(utext=u'中')"},
      {"<utext><b/>\xCE\xC4</utext>", "(utext=u'文'(b))"},
  };
  for (const auto& c : cases) {
    TXMLTree tree("");
    tree.AddUnicodeElement("utext");
    tree.Parse(c.xml);
    EXPECT_EQ(Shape(tree), c.shape) << c.xml;
  }

  TXMLTree tree("");
  tree.AddUnicodeElement("utext");
  tree.Parse("<utext>&#20013;&#25991;</utext>");
  EXPECT_EQ(tree.Children().Get(0)->WValue, (std::u16string{0x4E2D, 0x6587}));
  EXPECT_TRUE(tree.IsUnicodeElement("UTEXT"));
  EXPECT_FALSE(tree.IsUnicodeElement("text"));

  TXMLTree plain("");
  plain.Parse("<utext>&#20013;</utext>");
  EXPECT_EQ(Shape(plain), "(utext='\xD6\xD0')");
}

TEST(XmlTree, LoadsFromTheStreamPosition) {
  const std::string bytes = "xx<a>1</a>";
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  stream.SetPosition(2);
  TXMLTree tree("");
  tree.LoadFromStream(stream);
  EXPECT_EQ(Shape(tree), "(a='1')");
  EXPECT_EQ(stream.GetPosition(), static_cast<int64_t>(bytes.size()));
}

}  // namespace
}  // namespace quillet
