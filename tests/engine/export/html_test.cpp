#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/export/html_routines.h"
#include "engine/export/html_sample.h"
#include "engine/view/background.h"

namespace quillet {
namespace {

using test::HTMLSample;

std::string Lines(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Walks the tags of a page: every tag is one of the page's own, void tags
// stand alone, every other one is closed in the order it was opened.
// Returns the first fault, or "" for a sound page.
std::string CheckTags(const std::string& html) {
  static const std::vector<std::string> kVoid = {"META", "BR", "IMG", "LINK", "HR"};
  static const std::vector<std::string> kPaired = {"HTML", "HEAD", "TITLE", "STYLE", "BODY", "FONT", "DIV", "P",
                                                   "SPAN", "A", "B", "I", "U", "S", "SUB", "SUP"};
  auto is = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  std::vector<std::string> open;
  for (size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i)) {
    if (html.compare(i, 4, "<!--") == 0) {
      const size_t end = html.find("-->", i);
      if (end == std::string::npos) return "unclosed comment";
      i = end + 3;
      continue;
    }
    size_t j = i + 1;
    bool quoted = false;
    while (j < html.size() && (quoted || html[j] != '>')) {
      if (html[j] == '"') quoted = !quoted;
      if (!quoted && html[j] == '<') return "'<' inside a tag at " + std::to_string(i);
      ++j;
    }
    if (j >= html.size()) return "unclosed tag at " + std::to_string(i);
    const std::string tag = html.substr(i + 1, j - i - 1);
    const bool closing = tag[0] == '/';
    std::string name = tag.substr(closing ? 1 : 0, tag.find_first_of(" \r\n") - (closing ? 1 : 0));
    i = j + 1;
    if (is(kVoid, name) && !closing) continue;
    if (!is(kPaired, name)) return "unknown tag <" + tag + ">";
    if (!closing) {
      open.push_back(name);
    } else {
      if (open.empty() || open.back() != name) return "</" + name + "> closes " + (open.empty() ? "nothing" : open.back());
      open.pop_back();
    }
  }
  return open.empty() ? "" : "<" + open.back() + "> left open";
}

std::string Utf8Page(const std::string& page) { return AnsiToUtf8(page); }

TEST(HTMLPage, FontTagDialect) {
  HTMLSample s;
  EXPECT_EQ(Utf8Page(s.Font()), Lines(R"(<HTML><HEAD><TITLE>Sample &lt;1&gt;</TITLE>
<META HTTP-EQUIV="Content-Type"  CONTENT="text/html; CHARSET=gb2312">
</HEAD>
<BODY bgcolor=#FFFFFF leftmargin=5 topmargin=6 rightmargin=7 bottommargin=8>
<DIV><FONT size=2 color=#000000 face="宋体">Hello&nbsp; &lt;world&gt; &amp; co <FONT color=#0000FF face="Arial"><B>bold</B></FONT></FONT></DIV>
<DIV align=center><FONT size=2 color=#000000 face="宋体">
<A name="DocViewCheckpoint0"></A>中文段落</FONT></DIV>
<DIV><FONT size=2 color=#000000 face="宋体"><FONT color=#008000 face="Arial"><U><A href="url7">link</A></U></FONT><BR>
<FONT color=#800000 face="Arial"><I>&#27721;&#23383;</I></FONT><FONT color=#800000 face="Arial"><I>&nbsp;&#128512;</I></FONT><IMG>
<A name="DocViewCheckpoint1"></A></FONT></DIV>
</BODY></HTML>
)"));
}

TEST(HTMLPage, CSSDialect) {
  HTMLSample s;
  TMemoryStream css;
  s.style.SaveCSSToStream(css, 0);
  EXPECT_EQ(Utf8Page(s.CSS()), Lines(R"(<HTML><HEAD><TITLE>Sample &lt;1&gt;</TITLE>
<META HTTP-EQUIV="Content-Type"  CONTENT="text/html; CHARSET=gb2312">
<STYLE type="text/css"><!--
BODY {
  margin: 6px 7px 8px 5px;
  background-color: #FFFFFF;
}
)") + Utf8Page(css.AsString()) + Lines(R"(--></STYLE>
</HEAD>
<BODY>

<P>Hello&nbsp; &lt;world&gt; &amp; co <SPAN class=DVTS1>bold</SPAN>
</P>
<P class=DVPS1><A name="DocViewCheckpoint0"></A>中文段落
</P>
<P><A class=DVTS4 href="url7">link</A>
<BR><SPAN class=DVTS3>&#27721;&#23383;&nbsp;&#128512;</SPAN><IMG class=o>
</P><A name="DocViewCheckpoint1"></A>
</BODY></HTML>
)"));
}

TEST(HTMLPage, ExternalStyleSheetExtraStylesAndExtraCode) {
  HTMLSample s;
  s.data.extraHead = "<!-- head -->";
  s.data.extraBody = "onload=\"f()\"";
  TMemoryStream stream;
  ASSERT_TRUE(s.data.SaveHTMLToStreamEx(stream, "", "t", "", "P.x { color: red }", "my \"sheet\".css", 0, clNone,
                                        nullptr, {}));
  const std::string page = stream.AsString();
  EXPECT_NE(page.find("}\r\nP.x { color: red }\r\n--></STYLE>\r\n<LINK type=\"text/css\" "
                      "href=\"my &quot;sheet&quot;.css\" rel=STYLESHEET>\r\n<!-- head -->\r\n</HEAD>\r\n"
                      "<BODY onload=\"f()\">\r\n"),
            std::string::npos);
  EXPECT_EQ(page.find("SPAN.DVTS1"), std::string::npos) << "no classes of the sheet inside the page";
  EXPECT_EQ(page.find("background-color"), std::string::npos);
  EXPECT_EQ(CheckTags(page), "");
  const std::string font = s.Font();
  EXPECT_NE(font.find("<!-- head -->\r\n</HEAD>"), std::string::npos);
  EXPECT_NE(font.find(" onload=\"f()\" leftmargin=5"), std::string::npos);
}

TEST(HTMLPage, PartsOfThePage) {
  HTMLSample s;
  for (bool css : {false, true}) {
    SCOPED_TRACE(css);
    auto page = [&](TDVSaveOptions o) { return css ? s.CSS(o) : s.Font(o); };
    const std::string whole = page(0), head = page(dvsoFirstOnly), middle = page(dvsoMiddleOnly),
                      tail = page(dvsoLastOnly);
    EXPECT_EQ(head + middle + tail, whole);
    EXPECT_EQ(tail, "</BODY></HTML>\r\n");
    EXPECT_EQ(head.find("<DIV"), std::string::npos);
    EXPECT_EQ(middle.find("<HTML>"), std::string::npos);
    EXPECT_EQ(middle.find("</HTML>"), std::string::npos);
  }
  TDVStyle* none = nullptr;
  s.data.SetDVStyle(none);
  TMemoryStream stream;
  EXPECT_FALSE(s.data.SaveHTMLToStream(stream, "", "t", "", 0, clNone, nullptr, {}));
  EXPECT_FALSE(s.data.SaveHTMLToStreamEx(stream, "", "t", "", "", "", 0, clNone, nullptr, {}));
  EXPECT_EQ(stream.GetSize(), 0);
}

TEST(HTMLPage, CharsetOfTheMetaLine) {
  struct Case {
    uint8_t charset;
    const char* meta;
  } cases[] = {{134, "gb2312"}, {1, "gb2312"}, {204, "Windows-1251"}, {136, "big5"}, {255, "ascii"}, {0, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.charset));
    HTMLSample s;
    s.style.TextStyles()[0].Charset = c.charset;
    for (const std::string& page : {s.Font(), s.CSS()}) {
      const size_t meta = page.find("<META");
      if (!c.meta) {
        EXPECT_EQ(meta, std::string::npos);
        continue;
      }
      EXPECT_NE(page.find(std::string("CHARSET=") + c.meta + "\">\r\n"), std::string::npos);
    }
  }
}

TEST(HTMLPage, TextInAnotherCodePageIsWrittenAsCharacters) {
  HTMLSample s;
  s.style.TextStyles()[2].Charset = 204;  // Windows-1251
  s.data.Clear();
  s.data.AddNL("\xC0\xE1", 2, 0);  // "Аб"
  s.data.AddNL(Utf8ToAnsi("中"), 0, -1);
  for (const std::string& page : {s.Font(), s.CSS()}) {
    EXPECT_NE(page.find("&#1040;&#1073;"), std::string::npos);
    EXPECT_NE(page.find(Utf8ToAnsi("中")), std::string::npos);
  }
}

TEST(HTMLPage, TagsStayNestedForEveryStyleMix) {
  struct Variant {
    const char* name;
    void (*apply)(HTMLSample&);
  } variants[] = {
      {"sample", [](HTMLSample&) {}},
      {"bold italic normal style",
       [](HTMLSample& s) { s.style.TextStyles()[0].Style = fsBold | fsItalic; }},
      {"raised and lowered",
       [](HTMLSample& s) {
         s.style.TextStyles()[1].VShift = 30;
         s.style.TextStyles()[3].VShift = -30;
       }},
      {"normal style with a background",
       [](HTMLSample& s) { s.style.TextStyles()[0].BackColor = clYellow; }},
      {"runs of one style",
       [](HTMLSample& s) {
         s.data.AddNL("x", 2, 0);
         s.data.AddNL("y", 2, -1);
         s.data.AddNL("z", 0, -1);
         s.data.AddNL("w", 2, -1);
         s.data.AddNL("v", 4, -1);
         s.data.AddNL("u", 4, -1);
         s.data.AddNamedCheckpointExTag("c", false, {});
         s.data.AddNL("t", 2, -1);
       }},
      {"empty lines", [](HTMLSample& s) {
         s.data.AddNL("", 0, 0);
         s.data.AddNL("", 2, 1);
       }},
  };
  for (const Variant& v : variants) {
    for (TDVSaveOptions options : {TDVSaveOptions{0}, TDVSaveOptions{dvsoDefault0Style}}) {
      SCOPED_TRACE(std::string(v.name) + " options " + std::to_string(options));
      HTMLSample s;
      v.apply(s);
      EXPECT_EQ(CheckTags(s.Font(options)), "") << s.Font(options);
      EXPECT_EQ(CheckTags(s.CSS(options)), "") << s.CSS(options);
    }
  }
}

TEST(HTMLPage, RunsOfOneStyleShareASpan) {
  HTMLSample s;
  s.data.Clear();
  s.data.AddNL("a", 2, 0);
  s.data.AddNL("b", 2, -1);
  s.data.AddNL("c", 0, -1);
  s.data.AddNL("d", 2, 0);
  const std::string page = s.CSS();
  EXPECT_NE(page.find("<P><SPAN class=DVTS2>ab</SPAN>c\r\n</P>\r\n<P><SPAN class=DVTS2>d</SPAN>\r\n</P>"),
            std::string::npos)
      << page;
}

TEST(HTMLPage, RelativeFontTagsNestInsideTheNormalStyle) {
  HTMLSample s;
  s.style.TextStyles()[0].Style = fsItalic;
  s.data.Clear();
  s.data.AddNL("plain", 2, 0);
  const std::string page = s.Font();
  EXPECT_NE(page.find("<DIV><FONT size=2 color=#000000 face=\"" + Utf8ToAnsi("宋体") +
                      "\"><I></I><FONT color=#000080 face=\"Arial\"><B>plain</B></FONT><I></I></FONT></DIV>"),
            std::string::npos)
      << page;
  // Without the base font nothing of style 0 is open to close.
  EXPECT_NE(s.Font(dvsoDefault0Style).find("<DIV><FONT color=#000080 face=\"Arial\"><B>plain</B></FONT></DIV>"),
            std::string::npos)
      << s.Font(dvsoDefault0Style);
}

// "cd" in a copy of style 0 after "ab" in style 0 itself: only what differs
// from style 0 is written, with the base font open around it or without it.
TEST(HTMLPage, FontTagsWriteWhatDiffersFromStyleZero) {
  struct Case {
    const char* name;
    TFontStyles normalStyle;
    void (*change)(TFontInfo&);
    std::string withBaseFont, withoutBaseFont;
  } cases[] = {
      {"bold", 0, [](TFontInfo& f) { f.Style = fsBold; }, "ab<B>cd</B>", "ab<B>cd</B>"},
      {"colour and face", 0,
       [](TFontInfo& f) {
         f.Color = clRed;
         f.FontName = "Arial";
       },
       "ab<FONT color=#FF0000 face=\"Arial\">cd</FONT>", "ab<FONT color=#FF0000 face=\"Arial\">cd</FONT>"},
      {"size", 0, [](TFontInfo& f) { f.Size = 20; }, "ab<FONT size=6>cd</FONT>", "ab<FONT size=6>cd</FONT>"},
      {"lacks style 0's italic", fsItalic, [](TFontInfo& f) { f.Style = 0; }, "ab</I>cd<I>", "abcd"},
      {"unchanged", fsBold, [](TFontInfo&) {}, "abcd", "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HTMLSample s;
    TFontInfo& normal = s.style.TextStyles()[0];
    normal.Style = c.normalStyle;
    TFontInfo& copy = s.style.TextStyles().Add();
    copy.Assign(normal);
    c.change(copy);
    s.data.Clear();
    s.data.AddNL("ab", 0, 0);
    s.data.AddNL("cd", s.style.TextStyles().Count() - 1, -1);
    for (const bool baseFont : {true, false}) {
      const std::string page = s.Font(baseFont ? 0 : dvsoDefault0Style);
      EXPECT_NE(page.find(baseFont ? c.withBaseFont : c.withoutBaseFont), std::string::npos) << page;
      EXPECT_EQ(CheckTags(page), "") << page;
    }
  }
}

TEST(HTMLPage, CheckpointAnchors) {
  HTMLSample s;
  s.data.Clear();
  s.data.AddNamedCheckpointExTag("first", false, {});
  s.data.AddNL("a", 0, 0);
  s.data.AddNamedCheckpointExTag("", false, {});
  s.data.AddNL("b", 0, 0);
  s.data.AddNamedCheckpointExTag("last", false, {});
  for (bool css : {false, true}) {
    auto page = [&](TDVSaveOptions o) { return css ? s.CSS(o) : s.Font(o); };
    const std::string numbered = page(0), named = page(dvsoUseCheckpointsNames);
    for (const char* name : {"\"DocViewCheckpoint0\"", "\"DocViewCheckpoint1\"", "\"DocViewCheckpoint2\""})
      EXPECT_NE(numbered.find(name), std::string::npos) << name;
    for (const char* name : {"\"first\"", "\"DocViewCheckpoint1\"", "\"last\""})
      EXPECT_NE(named.find(name), std::string::npos) << name;
  }
}

TEST(HTMLEscaping, Text) {
  struct Case {
    std::string text;
    bool specialCode, noEmptyLines;
    std::string html;
  } cases[] = {
      {"a  b", false, false, "a&nbsp; b"},
      {"a   b", false, false, "a&nbsp;&nbsp; b"},
      {"a    b", false, false, "a&nbsp; &nbsp; b"},
      {"<&>", false, false, "&lt;&amp;&gt;"},
      {"&amp;", false, false, "&amp;amp;"},
      {"", false, true, "&nbsp;"},
      {"", false, false, ""},
      {"<b>x</b>", true, false, "<b>x</b>"},
      {Utf8ToAnsi("中<文>"), false, false, Utf8ToAnsi("中") + "&lt;" + Utf8ToAnsi("文") + "&gt;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DV_MakeHTMLStr(c.text, c.specialCode, c.noEmptyLines, 936), c.html);
  }
}

TEST(HTMLEscaping, AttributeValues) {
  struct Case {
    std::string text, value;
  } cases[] = {
      {"a\"b", "a&quot;b"},
      {"<x> & y", "&lt;x&gt; &amp; y"},
      {"a\r\nb\tc", "a&#13;&#10;b&#9;c"},
      {std::string("a\0b", 3), "ab"},
      // A lead byte without its trail byte does not swallow the quote.
      {"\x81\"", "\x81&quot;"},
      {Utf8ToAnsi("宋体"), Utf8ToAnsi("宋体")},
  };
  for (const Case& c : cases) EXPECT_EQ(DV_MakeHTMLAttrStr(c.text, 936), c.value) << c.text;
}

TEST(HTMLEscaping, DocumentContentCannotInjectMarkup) {
  const std::string evil = "x\"><SCRIPT>alert(1)</SCRIPT><A name=\"";
  HTMLSample s;
  s.data.url = evil;
  s.style.TextStyles()[1].FontName = evil;
  s.data.AddNamedCheckpointExTag(evil, false, {});
  s.data.AddNL(evil, 4, 0);
  for (bool css : {false, true}) {
    TMemoryStream stream;
    if (css)
      ASSERT_TRUE(s.data.SaveHTMLToStreamEx(stream, "", evil, "", "", "", dvsoUseCheckpointsNames, clNone, nullptr, {}));
    else
      ASSERT_TRUE(s.data.SaveHTMLToStream(stream, "", evil, "", dvsoUseCheckpointsNames, clNone, nullptr, {}));
    const std::string page = stream.AsString();
    EXPECT_EQ(CheckTags(page), "") << page;
    EXPECT_EQ(page.find("<SCRIPT"), std::string::npos);
  }
}

TEST(HTMLEscaping, FormatCharactersAreText) {
  HTMLSample s;
  s.data.Clear();
  s.data.url = "%s%n%d";
  s.data.AddNamedCheckpointExTag("%s%n", false, {});
  s.data.AddNL("100%s%n%x", 0, 0);
  s.data.AddNL("go %n", 4, 0);
  for (bool css : {false, true}) {
    TMemoryStream stream;
    if (css)
      ASSERT_TRUE(s.data.SaveHTMLToStreamEx(stream, "", "%s", "", "", "", dvsoUseCheckpointsNames, clNone, nullptr, {}));
    else
      ASSERT_TRUE(s.data.SaveHTMLToStream(stream, "", "%s", "", dvsoUseCheckpointsNames, clNone, nullptr, {}));
    const std::string page = stream.AsString();
    for (const char* text : {"<TITLE>%s</TITLE>", "100%s%n%x", "name=\"%s%n\"", "href=\"%s%n%d\"", "go %n"})
      EXPECT_NE(page.find(text), std::string::npos) << text;
  }
}

TEST(HTMLEscaping, FontSizes) {
  const std::vector<std::pair<int, int>> sizes = {{1, 1},  {8, 1},  {9, 2},  {10, 2}, {11, 3}, {12, 3}, {13, 4},
                                                  {14, 4}, {15, 5}, {18, 5}, {19, 6}, {24, 6}, {25, 7}, {72, 7}};
  for (auto [points, size] : sizes) EXPECT_EQ(DV_GetHTMLFontSize(points), size) << points;
}

}  // namespace
}  // namespace quillet
