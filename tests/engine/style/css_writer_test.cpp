// The style sheet's CSS form, compared line by line with what the rules give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

std::string Css(const TDVStyle& sheet, TDVSaveCSSOptions options = 0) {
  TMemoryStream stream;
  sheet.SaveCSSToStream(stream, options);
  return stream.AsString();
}

// Lines without their CR LF ends; fails on a bare LF.
std::vector<std::string> Lines(const std::string& css) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = css.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(css.substr(start, end - start));
  EXPECT_EQ(start, css.size()) << "text after the last line end";
  for (const std::string& line : lines) EXPECT_EQ(line.find('\n'), std::string::npos) << line;
  return lines;
}

void ExpectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
  for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i)
    EXPECT_EQ(i < actual.size() ? actual[i] : "<none>", i < expected.size() ? expected[i] : "<none>")
        << "line " << i + 1;
}

const std::vector<std::string> kDefaultParaPart = {
    "/*----------Para Styles----------*/",
    "P /* Paragraph Style */",
    "{",
    "  text-align: left;",
    "  text-indent: 0px;",
    "  padding: 0px 0px 0px 0px;",
    "  margin: 0px 0px 0px 0px;",
    "}",
    "P.DVPS1  /* Centered */",
    "{",
    "  text-align: center;",
    "  padding: 0px 0px 0px 0px;",
    "  margin: 0px 0px 0px 0px;",
    "}",
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CssWriter, DefaultStyleSheet) {
  TDVStyle sheet;
  // Style 0 is the BODY rule in full; the others list what differs from it.
  const std::vector<std::string> text = {
      "/*----------Text Styles----------*/",
      "HR { color: #000000}",
      "BODY, TABLE /* Normal text */",
      "{",
      "  font-size: 10pt;",
      "  font-family: \"Arial\";",
      "  font-style: normal;",
      "  font-weight: normal;",
      "  color: #000000;",
      "  text-decoration: none;",
      "}",
      "SPAN.DVTS1 /* Heading */",
      "{",
      "  font-weight: bold;",
      "  color: #0000FF;",
      "}",
      "SPAN.DVTS2 /* Subheading */",
      "{",
      "  font-weight: bold;",
      "  color: #000080;",
      "}",
      "SPAN.DVTS3 /* Keywords */",
      "{",
      "  font-style: italic;",
      "  color: #800000;",
      "}",
      "A.DVTS4, SPAN.DVTS4 /* Jump 1 */",
      "{",
      "  color: #008000;",
      "  text-decoration: underline;",
      "}",
      "A.DVTS5, SPAN.DVTS5 /* Jump 2 */",
      "{",
      "  color: #008000;",
      "  text-decoration: underline;",
      "}",
  };
  ExpectLines(Lines(Css(sheet)), Join(text, kDefaultParaPart));
}

TEST(CssWriter, BackgroundOnStyleZeroWritesEveryStyleInFull) {
  TDVStyle sheet;
  sheet.TextStyles()[0].BackColor = clYellow;
  const std::vector<std::string> lines = Lines(Css(sheet));
  const std::vector<std::string> expected = {
      "/*----------Text Styles----------*/",
      "HR { color: #000000}",
      "SPAN.DVTS0 /* Normal text */",
      "{",
      "  font-size: 10pt;",
      "  font-family: \"Arial\";",
      "  font-style: normal;",
      "  font-weight: normal;",
      "  color: #000000;",
      "  background-color: #FFFF00;",
      "  text-decoration: none;",
      "}",
      "SPAN.DVTS1 /* Heading */",
      "{",
      "  font-size: 10pt;",
      "  font-family: \"Arial\";",
      "  font-style: normal;",
      "  font-weight: bold;",
      "  color: #0000FF;",
      "  background-color: transparent;",
      "  text-decoration: none;",
      "}",
  };
  ExpectLines(std::vector<std::string>(lines.begin(), lines.begin() + std::min(lines.size(), expected.size())),
              expected);
  // The links too are written in full.
  const auto jump = std::find(lines.begin(), lines.end(), "A.DVTS4, SPAN.DVTS4 /* Jump 1 */");
  ASSERT_NE(jump, lines.end());
  ExpectLines(std::vector<std::string>(jump + 1, jump + 10),
              {"{", "  font-size: 10pt;", "  font-family: \"Arial\";", "  font-style: normal;",
               "  font-weight: normal;", "  color: #008000;", "  background-color: transparent;",
               "  text-decoration: underline;", "}"});
}

TEST(CssWriter, DifferencesFromBaseStylesHoverAndParagraphBoxes) {
  TDVStyle sheet;
  TFontInfos& t = sheet.TextStyles();
  t[1].CharSpacing = 2;
  t[1].StyleEx = dvfsAllCaps;
  t[1].VShift = 10;
  t[1].Style = fsBold | fsStrikeOut;
  t[4].HoverColor = clRed;
  t[4].HoverBackColor = clYellow;
  t[5].BaseStyleNo = 4;
  t[5].HoverColor = clRed;
  t[5].HoverBackColor = clAqua;
  t[5].VShift = -5;
  TFontInfo& extra = t.Add();
  extra.BaseStyleNo = 1;
  extra.StyleEx = dvfsOverline;

  TParaInfos& p = sheet.ParaStyles();
  TParaInfo& boxed = p.Add();
  boxed.Alignment = dvaJustify;
  boxed.FirstIndent = 15;
  boxed.LineSpacing = 150;
  boxed.Options = dvpaoNoWrap;
  boxed.Border().Style = dvbDouble;
  boxed.Border().Width = 2;
  boxed.Border().InternalWidth = 3;
  boxed.Border().Color = clRed;
  boxed.Border().VisibleBorders.Top = false;
  boxed.Border().VisibleBorders.Left = false;
  boxed.Border().BorderOffsets = {1, 3, 2, 4};  // left, right, top, bottom
  boxed.Background().Color = clYellow;
  boxed.Background().BorderOffsets = {5, 1, 1, 6};
  boxed.SpaceBefore = 10;
  boxed.RightIndent = 3;
  boxed.LeftIndent = 20;
  TParaInfo& plain = p.Add();
  plain.StyleName = "Plain";
  plain.BaseStyleNo = 2;
  plain.Alignment = dvaJustify;
  plain.FirstIndent = 15;
  plain.LineSpacingType = dvlsSpaceBetween;
  plain.LineSpacing = 4;

  const std::vector<std::string> text = {
      "/*----------Text Styles----------*/",
      "HR { color: #000000}",
      "BODY, TABLE /* Normal text */",
      "{",
      "  font-size: 10pt;",
      "  font-family: \"Arial\";",
      "  font-style: normal;",
      "  font-weight: normal;",
      "  color: #000000;",
      "  text-decoration: none;",
      "}",
      "SPAN.DVTS1 /* Heading */",
      "{",
      "  font-weight: bold;",
      "  color: #0000FF;",
      "  letter-spacing: 2px;",
      "  text-transform: uppercase;",
      "  vertical-align: super;",
      "  text-decoration: line-through;",
      "}",
      "SPAN.DVTS2 /* Subheading */",
      "{",
      "  font-weight: bold;",
      "  color: #000080;",
      "}",
      "SPAN.DVTS3 /* Keywords */",
      "{",
      "  font-style: italic;",
      "  color: #800000;",
      "}",
      "A.DVTS4, SPAN.DVTS4 /* Jump 1 */",
      "{",
      "  color: #008000;",
      "  text-decoration: underline;",
      "}",
      "A.DVTS4:hover { color: #FF0000; background-color: #FFFF00; }",
      // Based on style 4: only the shift and the hover background differ.
      "A.DVTS5, SPAN.DVTS5 /* Jump 2 */",
      "{",
      "  vertical-align: sub;",
      "}",
      "A.DVTS5:hover { background-color: #00FFFF; }",
      // Based on style 1: everything it has that this one lacks is undone.
      "SPAN.DVTS6 /* Font Style */",
      "{",
      "  font-weight: normal;",
      "  color: #000000;",
      "  letter-spacing: 0px;",
      "  text-transform: none;",
      "  vertical-align: baseline;",
      "  text-decoration: overline;",
      "}",
  };
  const std::vector<std::string> para = {
      "/*----------Para Styles----------*/",
      "P /* Paragraph Style */",
      "{",
      "  text-align: left;",
      "  text-indent: 0px;",
      "  padding: 0px 0px 0px 0px;",
      "  margin: 0px 0px 0px 0px;",
      "}",
      "P.DVPS1  /* Centered */",
      "{",
      "  text-align: center;",
      "  padding: 0px 0px 0px 0px;",
      "  margin: 0px 0px 0px 0px;",
      "}",
      "P.DVPS2  /* Paragraph Style */",
      "{",
      "  text-align: justify;",
      "  text-indent: 15px;",
      "  line-height: 150%;",
      "  white-space: nowrap;",
      "  border-color: #FF0000;",
      "  border-style: double;",
      "  border-width: 5px;",
      "  border-top: none;",
      "  border-left: none;",
      "  background: #FFFF00;",
      // Border offsets raised to the background's where those are larger.
      "  padding: 2px 3px 6px 5px;",
      "  margin: 8px 0px -6px 15px;",
      "}",
      "P.DVPS3  /* Plain */",
      "{",
      "  line-height: normal;",
      "  white-space: normal;",
      "  border: none;",
      "  background: transparent;",
      "  padding: 0px 0px 0px 0px;",
      "  margin: 0px 0px 0px 0px;",
      "}",
  };
  ExpectLines(Lines(Css(sheet, dvcssOnlyDifference)), Join(text, para));
}

TEST(CssWriter, BorderStylesAndWidths) {
  struct Case {
    TDVBorderStyle style;
    const char* css;
    const char* width;
  };
  // Width 3, internal width 2.
  const Case cases[] = {
      {dvbSingle, "solid", "3px"},         {dvbDouble, "double", "5px"},        {dvbTriple, "double", "7px"},
      {dvbThickInside, "double", "6px"},   {dvbThickOutside, "double", "6px"},
  };
  for (const Case& c : cases) {
    TDVStyle sheet;
    TDVBorder& border = sheet.ParaStyles()[1].Border();
    border.Style = c.style;
    border.Width = 3;
    border.InternalWidth = 2;
    const std::vector<std::string> lines = Lines(Css(sheet));
    const auto at = std::find(lines.begin(), lines.end(), "  border-color: #000000;");
    ASSERT_NE(at, lines.end()) << c.css;
    EXPECT_EQ(at[1], std::string("  border-style: ") + c.css + ";");
    EXPECT_EQ(at[2], std::string("  border-width: ") + c.width + ";");
  }
}

TEST(CssWriter, IgnoredLeftAlignmentIsLeftOut) {
  TDVStyle sheet;
  const std::vector<std::string> lines = Lines(Css(sheet, dvcssIgnoreLeftAlignment));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "  text-align: left;"), 0);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "  text-align: center;"), 1);
}

TEST(CssWriter, HostileNamesCannotBreakTheSheet) {
  TDVStyle sheet;
  sheet.TextStyles()[0].StyleName = "x */ BODY { color: red } /*\r\nP {";
  sheet.TextStyles()[0].FontName = "Ar\"ial\\\r\n}</style>";
  // A double-byte character whose trail byte is a backslash stays whole.
  sheet.TextStyles()[1].FontName = "\x95\x5c";
  sheet.ParaStyles()[1].StyleName = "*/</style>";
  const std::vector<std::string> lines = Lines(Css(sheet));
  EXPECT_EQ(lines[2], "BODY, TABLE /* x * / BODY { color: red } /*P { */");
  EXPECT_EQ(lines[5], "  font-family: \"Ar\\\"ial\\\\}\\3C /style>\";");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  font-family: \"\x95\x5c\";"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "P.DVPS1  /* * /< /style> */"), lines.end());
}

}  // namespace
}  // namespace quillet
