#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "engine/export/rtf_tables.h"
#include "engine/export/rtf_test_doc.h"
#include "engine/export/rtf_text.h"
#include "engine/export/rtf_writer.h"
#include "engine/base/dv_lists.h"
#include "platform/core/code_page.h"

namespace quillet {
namespace {

using test::RTFTestData;
using test::RTFTestItem;

std::string Utf16(std::u16string_view s) {
  std::string bytes;
  for (char16_t c : s) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

const std::string kDefaultColors =
    "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
    "\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue128;\\red0\\green128\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue128;"
    "\\red128\\green0\\blue0;\\red128\\green128\\blue0;\\red128\\green128\\blue128;\\red192\\green192\\blue192;";
const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg936\\uc1\\deff0\\deflang2052\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 Arial;}}"
    "{\\colortbl;" + kDefaultColors + "}\r\n";
// Paragraph style 0 and 1 (centred), text style 0 and 1 (bold, blue).
const std::string P0 = "\\ql\\fi0\\li0\\ri0\\sb0\\sa0\\itap0 ";
const std::string P1 = "\\qc\\fi0\\li0\\ri0\\sb0\\sa0\\itap0 ";
const std::string R0 = "\\plain \\f0\\fs20 ";
const std::string R1 = "\\plain \\f0\\b\\fs20\\cf2 ";
const std::string kFirstPara = "\\uc1\r\n\\pard" + P0;

// What follows the header line.
std::string Body(const std::string& rtf) {
  const size_t end = rtf.find("\r\n");
  return end == std::string::npos ? rtf : rtf.substr(end + 2);
}

struct BodyCase {
  const char* name;
  std::function<void(RTFTestData&)> build;
  std::string body;
};

void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.name; }

class RTFBodyTest : public testing::TestWithParam<BodyCase> {};

TEST_P(RTFBodyTest, WritesGoldenBody) {
  RTFTestData data;
  GetParam().build(data);
  const std::string rtf = data.Save(data.selection.has_value());
  EXPECT_TRUE(data.saved);
  EXPECT_EQ(Body(rtf), GetParam().body);
  EXPECT_EQ(data.State & dvstRTFSkipPar, 0u);
}

const BodyCase kBodyCases[] = {
    {"OneEmptyParagraph", [](RTFTestData& d) { d.Add(""); }, kFirstPara + R0 + "}"},
    {"ParagraphsLineAndPageBreaks",
     [](RTFTestData& d) {
       d.Add("a");
       d.Add("b").SetBR(true);
       d.Add("c", 0, 1).SetPageBreakBefore(true);
     },
     kFirstPara + R0 + "a\r\n\\line" + R0 + "b\r\n\\par\\pard\\page" + P1 + R0 + "c}"},
    {"ContinuedParagraphAndEmptyLastParagraph",
     [](RTFTestData& d) {
       d.Add("a");
       d.Add("b", 1, -1);
       d.Add("");
     },
     kFirstPara + R0 + "a" + R1 + "b\r\n\\par\\pard" + P0 + R0 + "\\par}"},
    {"EscapedText", [](RTFTestData& d) {
       d.Add("");
       d.SetItemTextR(0, "a{b}\\c\t\r\n");
     },
     kFirstPara + R0 + "a\\{b\\}\\\\c\\'09\\'0d\\'0a}"},
    {"RTFCodeStyleUnescaped",
     [](RTFTestData& d) {
       d.style.TextStyles()[1].Options = dvteoRTFCode;
       d.Add("a{\\b}", 1);
     },
     kFirstPara + R1 + "a{\\b}}"},
    {"DoubleByteTextEveryByteHex", [](RTFTestData& d) { d.Add("\xd6\xd0\x81\\\x81{\x81}x"); },
     kFirstPara + R0 + "\\'d6\\'d0\\'81\\'5c\\'81\\'7b\\'81\\'7dx}"},
    {"EightBitTextOfAnotherCharset",
     [](RTFTestData& d) {
       d.style.TextStyles()[1].Charset = ANSI_CHARSET;
       d.Add("\xe9", 1);
     },
     kFirstPara + "\\plain \\f1\\b\\lang1024\\fs20\\cf2 \\'e9}"},
    {"UnicodeWithFallbacks",
     [](RTFTestData& d) {
       d.style.TextStyles()[1].Unicode = true;
       d.Add(Utf16(u"a{\u4e2d\u00e9\u0e01\ufffd"), 1);
     },
     kFirstPara + R1 + "a\\{\\uc2\\u20013 \\'d6\\'d0\\uc1 \\uc2\\u233 \\'a8\\'a6\\uc1 \\u3585 ?\\u-3 ?}"},
    {"UnicodeWithoutFallbacks",
     [](RTFTestData& d) {
       d.SetRTFOptions(0);
       d.style.TextStyles()[1].Unicode = true;
       d.Add(Utf16(u"\u4e2d\u00e9"), 1);
     },
     "\\uc0\r\n\\pard" + P0 + R1 + "\\u20013 \\u233 }"},
    {"FontSizeBoldAndColours",
     [](RTFTestData& d) {
       TFontInfo& s = d.style.TextStyles().Add();
       s.Size = 16;
       s.Style = fsBold;
       s.Color = clRed;
       s.BackColor = clYellow;
       TFontInfo& t = d.style.TextStyles().Add();
       t.Color = 0x123456;
       d.Add("x", 6);
       d.Add("y", 7, -1);
     },
     kFirstPara + "\\plain \\f0\\b\\fs32\\chcbpat7\\cf6 x\\plain \\f0\\fs20\\cf17 y}"},
    {"EffectsAndRaisedRunEnded",
     [](RTFTestData& d) {
       TFontInfo& s = d.style.TextStyles().Add();
       s.Style = fsItalic | fsUnderline | fsStrikeOut;
       s.VShift = -30;
       s.CharScale = 80;
       s.CharSpacing = 2;
       s.StyleEx = dvfsAllCaps | dvfsOverline;
       d.style.TextStyles().Add().VShift = 40;
       d.Add("x", 6);
       d.Add("y", 7, -1);
       d.Add("z", 0, -1);
     },
     kFirstPara + "\\plain \\f0\\i\\ul\\strike\\sub\\charscalex80\\expndtw30\\caps\\fs20 x\\nosupersub " +
         "\\plain \\f0\\super\\fs20 y\\nosupersub " + R0 + "z}"},
    {"ParagraphFormatting",
     [](RTFTestData& d) {
       TParaInfo& p = d.style.ParaStyles().Add();
       p.Alignment = dvaJustify;
       p.LineSpacing = 150;
       p.FirstIndent = 2;
       p.LeftIndent = 4;
       p.RightIndent = 1;
       p.SpaceBefore = 3;
       p.SpaceAfter = 5;
       p.Background().Color = clYellow;
       p.Border().Style = dvbThickInside;
       p.Border().Color = clRed;
       p.Border().VisibleBorders.Right = false;
       p.Border().BorderOffsets = {1, 0, 2, 4};
       TParaInfo& q = d.style.ParaStyles().Add();
       q.Alignment = dvaRight;
       q.LineSpacing = 200;
       q.Border().Style = dvbDouble;
       q.Border().Color = clNone;
       d.Add("a", 0, 2);
       d.Add("b", 0, 3);
     },
     "\\uc1\r\n\\pard\\sl360\\slmult1\\qj\\fi30\\li60\\ri15\\sb45\\sa75\\cbpat7\\brdrbtw"
     "\\brdrl\\brsp15\\brdrthtnmg\\brdrcf6\\brdrw30\\brdrt\\brsp30\\brdrthtnmg\\brdrcf6\\brdrw30"
     "\\brdrb\\brsp60\\brdrtnthmg\\brdrcf6\\brdrw30\\itap0 " +
         R0 + "a\r\n\\par\\pard\\sl480\\slmult1\\qr\\fi0\\li0\\ri0\\sb0\\sa0\\itap0 " + R0 + "b}"},
    {"Hyperlinks",
     [](RTFTestData& d) {
       d.Add("see ");
       d.Add("link", 4, -1).JumpID = 7;
       d.Add(" none", 4, -1).JumpID = 8;
       d.urls[7] = "http://h/a\"{}\\";
     },
     kFirstPara + R0 + "see {\\field{\\*\\fldinst HYPERLINK \"http://h/a%22\\{\\}\\\\\"}{\\fldrslt" +
         "\\plain \\f0\\ul\\fs20\\cf11 link}}\\plain \\f0\\ul\\fs20\\cf11  none}"},
    {"BookmarksStayUnique",
     [](RTFTestData& d) {
       const char* names[] = {"", "a b", "a-b", "\xd6\xd0\xce\xc4", "\xd6\xd0\xce\xc4!", "\xa1\xa3", ""};
       for (const char* name : names) {
         d.AddNamedCheckpointExTag(name, false, {});
         d.Add("", 0, d.ItemCount() ? -1 : 0);
       }
       d.AddNamedCheckpointExTag("end", false, {});
     },
     kFirstPara + "{\\*\\bkmkstart DocViewCheckpoint0}{\\*\\bkmkend DocViewCheckpoint0}" + R0 +
         "{\\*\\bkmkstart a_b}{\\*\\bkmkend a_b}" + R0 + "{\\*\\bkmkstart a_b_2}{\\*\\bkmkend a_b_2}" + R0 +
         "{\\*\\bkmkstart \\'d6\\'d0\\'ce\\'c4}{\\*\\bkmkend \\'d6\\'d0\\'ce\\'c4}" + R0 +
         "{\\*\\bkmkstart \\'d6\\'d0\\'ce\\'c4_}{\\*\\bkmkend \\'d6\\'d0\\'ce\\'c4_}" + R0 +
         "{\\*\\bkmkstart _}{\\*\\bkmkend _}" + R0 +
         "{\\*\\bkmkstart DocViewCheckpoint6}{\\*\\bkmkend DocViewCheckpoint6}" + R0 +
         "{\\*\\bkmkstart end}{\\*\\bkmkend end}}"},
    {"NonTextItemWritesItself",
     [](RTFTestData& d) {
       d.Add("a");
       auto item = std::make_unique<RTFTestItem>(&d);
       item->StyleNo = -3;
       item->ParaNo = -1;
       d.AddItem("pic", std::move(item));
     },
     kFirstPara + R0 + "a{\\*\\testitem pic cf17}}"},
    {"ExtraCodeOfTheOwner",
     [](RTFTestData& d) {
       d.extraTextStyleCode = "\\extra";
       d.Add("a");
     },
     kFirstPara + "\\plain \\f0\\fs20\\extra a}"},
    {"SelectionInsideOneItem",
     [](RTFTestData& d) {
       d.Add("hello");
       d.selection = TDVFLimits{0, 0, 2, 4};
     },
     kFirstPara + R0 + "el}"},
    {"SelectionInsideDoubleByteText",
     [](RTFTestData& d) {
       d.Add("a\xd6\xd0" "b");
       d.selection = TDVFLimits{0, 0, 2, 4};
     },
     kFirstPara + R0 + "\\'d6\\'d0}"},
    {"SelectionInsideUnicodeText",
     [](RTFTestData& d) {
       d.style.TextStyles()[1].Unicode = true;
       d.Add(Utf16(u"a\u4e2d\u00e9b"), 1);
       d.selection = TDVFLimits{0, 0, 2, 3};
     },
     kFirstPara + R1 + "\\uc2\\u20013 \\'d6\\'d0\\uc1 }"},
    {"SelectionFromEndOfFirstItemKeepsParagraphs",
     [](RTFTestData& d) {
       d.Add("ab");
       d.Add("cd", 0, -1);
       d.Add("ef", 0, 1);
       d.selection = TDVFLimits{0, 2, 3, 2};
     },
     kFirstPara + R0 + "cd\r\n\\par\\pard" + P1 + R0 + "e}"},
    {"SelectionStartingInsideParagraphOpensIt",
     [](RTFTestData& d) {
       d.Add("ab", 0, 1);
       d.Add("cd", 1, -1).SetBR(true);
       d.Add("ef");
       d.selection = TDVFLimits{1, 2, 2, 3};
     },
     "\\uc1\r\n\\pard" + P1 + R1 + "d\r\n\\par\\pard" + P0 + R0 + "ef}"},
    {"SelectionAcrossParagraphEndSkipsEmptyParts",
     [](RTFTestData& d) {
       d.Add("ab");
       d.Add("cd");
       d.Add("ef");
       d.selection = TDVFLimits{0, 2, 3, 1};
     },
     kFirstPara + R0 + "cd}"},
};

INSTANTIATE_TEST_SUITE_P(Golden, RTFBodyTest, testing::ValuesIn(kBodyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RTFWriterTest, WholeFileOfDefaultStyles) {
  RTFTestData data;
  data.Add("x");
  EXPECT_EQ(data.Save(), kHeader + kFirstPara + R0 + "x}");
}

TEST(RTFWriterTest, EmptyDocumentOrRangeIsAValidEmptyFile) {
  RTFTestData data;
  EXPECT_EQ(data.Save(), kHeader + "\\uc1}");
  EXPECT_TRUE(data.saved);
  data.Add("ab");
  data.Add("cd");
  for (TDVFLimits limits : {TDVFLimits{-1, -1, 0, 0}, TDVFLimits{1, 0, 1, 1}}) {
    data.selection = limits;
    EXPECT_EQ(data.Save(true), kHeader + "\\uc1}");
    EXPECT_TRUE(data.saved);
  }
}

TEST(RTFWriterTest, FontTableByNameAndCharsetWithEscapedNames) {
  RTFTestData data;
  data.style.DefCodePage = 1252;
  TFontInfos& fonts = data.style.TextStyles();
  fonts[1].FontName = "Arial";
  fonts[1].Charset = GB2312_CHARSET;                // other charset: a font of its own
  fonts[2].FontName = "arial";                      // other name (case counts)
  fonts[3].FontName = "A;b{c}";                     // would end its entry or the table
  fonts[4].FontName = "\xcb\xce\xcc\xe5";           // 宋体 in the document code page
  fonts[5].Charset = ANSI_CHARSET;                  // the file's own charset: shares font 0
  fonts[4].Charset = GB2312_CHARSET;
  data.Add("x", 5);
  EXPECT_EQ(data.Save(),
            "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1024\\deflangfe1024{\\fonttbl"
            "{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset134 Arial;}{\\f2\\fnil\\fcharset0 arial;}"
            "{\\f3\\fnil\\fcharset0 A\\'3bb\\{c\\};}{\\f4\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "{\\colortbl;" + kDefaultColors + "}\r\n" + "\\uc1\r\n\\pard" + P0 +
            "\\plain \\f0\\ul\\fs20\\cf11 x}");
}

TEST(RTFWriterTest, BackgroundColourAndItemColoursJoinTheColourTable) {
  RTFTestData data;
  data.Add("a");
  TMemoryStream stream;
  ASSERT_TRUE(data.SaveRTFToStream(stream, false, 0x010203, nullptr));
  EXPECT_NE(stream.AsString().find(kDefaultColors + "\\red3\\green2\\blue1;}"), std::string::npos);
}

TEST(RTFWriterTest, StyleSheetWithCharacterStylesOnRuns) {
  RTFTestData data;
  data.SetRTFOptions(dvrtfSaveStyleSheet | dvrtfDuplicateUnicode);
  TFontInfos& fonts = data.style.TextStyles();
  while (fonts.Count() > 2) fonts.Delete(fonts.Count() - 1);
  fonts[1].StyleName = "A{b};c\\";
  data.style.ParaStyles()[1].StyleName = "\xd6\xd0\x81}";  // a trail byte that is "}"
  data.Add("x");
  data.Add("y", 1, 1);
  EXPECT_EQ(data.Save(),
            "{\\rtf1\\ansi\\ansicpg936\\uc1\\deff0\\deflang2052\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 "
            "Arial;}}{\\colortbl;" + kDefaultColors + "}{\\stylesheet"
            "{\\s0\\ql\\fi0\\li0\\ri0\\sb0\\sa0 Paragraph Style;}{\\s1\\qc\\fi0\\li0\\ri0\\sb0\\sa0 "
            "\\'d6\\'d0\\'81\\'7d;}{\\*\\cs2\\f0\\fs20 Normal text;}{\\*\\cs3\\f0\\b\\fs20\\cf2 A_b__c_;}}\r\n"
            "\\uc1\r\n\\pard\\s0" + P0 + "\\plain \\cs2\\f0\\fs20 x\r\n\\par\\pard\\s1" + P1 +
            "\\plain \\cs3\\f0\\b\\fs20\\cf2 y}");
}

TEST(RTFWriterTest, NestedLevelUsesTheCallersTables) {
  RTFTestData cell;
  cell.Add("a");
  cell.Add("b", 0, 1);
  TDVColorList colors;
  TDVIntegerList styleToFont, fontTable;
  MakeFontTable(cell.style.TextStyles(), 936, fontTable, styleToFont);
  MakeRTFColorTable(cell, cell.style, colors, true);
  TMemoryStream stream;
  ASSERT_TRUE(cell.SaveRTFToStream(stream, false, 1, clNone, nullptr, &colors, &styleToFont, &fontTable, 15.0));
  const std::string in = "\\fi0\\li0\\ri0\\sb0\\sa0\\itap1\\intbl ";
  EXPECT_EQ(stream.AsString(), "\r\n\\pard\\ql" + in + R0 + "a\r\n\\par\\pard\\qc" + in + R0 + "b");
  TMemoryStream none;
  EXPECT_FALSE(cell.SaveRTFToStream(none, false, 1, clNone, nullptr, nullptr, nullptr, nullptr, 15.0));
}

TEST(RTFWriterTest, LengthsFollowThePixelsPerInchSetting) {
  RTFTestData data;
  data.style.ParaStyles()[0].LeftIndent = 10;
  data.Add("a");
  EXPECT_NE(data.Save().find("\\li150"), std::string::npos);
  DocViewPixelsPerInch = 120;
  const std::string at120 = data.Save();
  DocViewPixelsPerInch = 0;
  EXPECT_NE(at120.find("\\li120"), std::string::npos);
  EXPECT_EQ(RTFTwips(1, 2.5), 2);  // halves to even
  EXPECT_EQ(RTFTwips(3, 2.5), 8);
}

TEST(RTFWriterTest, FailureIsReportedAndKeepsTheOldFile) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillet_rtf_writer_test";
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "doc.rtf").string();
  RTFTestData data;
  data.Add("old");
  ASSERT_TRUE(data.SaveRTF(file, false, clWindow, nullptr));
  data.Add("bad", 99);  // a text style that does not exist
  EXPECT_FALSE(data.SaveRTF(file, false, clWindow, nullptr));
  EXPECT_EQ(data.State & dvstRTFSkipPar, 0u);
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), kHeader + kFirstPara + R0 + "old}");
  EXPECT_FALSE(data.SaveRTF((dir / "missing" / "doc.rtf").string(), false, clWindow, nullptr));
  RTFTestData noStyles;
  noStyles.SetDVStyle(nullptr);
  noStyles.Add("a");
  TMemoryStream stream;
  EXPECT_FALSE(noStyles.SaveRTFToStream(stream, false, clWindow, nullptr));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillet
