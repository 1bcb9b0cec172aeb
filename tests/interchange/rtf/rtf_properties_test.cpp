// Keywords and what they do to the group's properties and to the tables of
// the document (fonts, colours, style sheet).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "interchange/rtf/rtf_keywords.h"
#include "interchange/rtf/rtf_trace.h"

namespace quillet {
namespace {

TEST(RTFKeywordTest, TableHasEveryRecordOnce) {
  int kinds[5] = {};
  for (int i = 0; i < KeywordCount(); ++i) {
    const TDVRTFsymbol& symbol = KeywordAt(i);
    ++kinds[symbol.Kind];
    EXPECT_EQ(FindKeyword(symbol.Keyword), &symbol) << symbol.Keyword;
  }
  // The word processors' picture groups and \pagebb come on top.
  EXPECT_EQ(kinds[rtf_kwd_Prop], 188 + 1);
  EXPECT_EQ(kinds[rtf_kwd_Dest], 38 + 2);
  EXPECT_EQ(kinds[rtf_kwd_Char], 8);
  EXPECT_EQ(kinds[rtf_kwd_WideChar], 6);
  EXPECT_EQ(kinds[rtf_kwd_Spec], 3);
  EXPECT_EQ(FindKeyword("trwWidth")->Index, ipropTRwWidth);
  EXPECT_EQ(FindKeyword("trwwidth"), nullptr);
}

// Reads "{\rtf1 <body>" (left open, so the state at the end stays) and
// checks the state.
struct StateCase {
  const char* body;
  std::function<bool(TDVRTFReader&)> check;
};

TEST(RTFKeywordTest, PropertyKeywords) {
  const StateCase cases[] = {
      {"\\fs21 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Size == 10; }},
      {"{\\colortbl;\\red1;\\red2;}\\cf1\\cf5 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Color == 1; }},
      {"{\\colortbl;}\\chcbpat0 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.BackColor == clNone; }},
      {"\\ul\\ulnone ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Style == 0; }},
      {"\\ul\\ulnone1 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Style == 0; }},
      {"\\ul\\ul0 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Style == 0; }},
      {"\\ul\\b\\i\\strike ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Style == 15; }},
      {"\\brdrt\\brdrs\\brdrdb ",
       [](TDVRTFReader& r) {
         return r.RTFState().ParaProps.Border->Sides[rtf_side_Top]->BorderType == rtf_brdr_SingleThickness;
       }},
      {"\\trowd\\trftsWidth2\\trwWidth2500 ", [](TDVRTFReader& r) { return r.RTFState().RowProps().BestWidth == -2500; }},
      {"\\trowd\\trwWidth2500\\trftsWidth2 ", [](TDVRTFReader& r) { return r.RTFState().RowProps().BestWidth == -2500; }},
      {"\\trowd\\trwWidth2500\\trftsWidth1 ", [](TDVRTFReader& r) { return r.RTFState().RowProps().BestWidth == 0; }},
      {"\\trowd\\cellx1000\\cellx2000\\row ",
       [](TDVRTFReader& r) { return r.RTFState().RowProps().CellProps.size() == 2; }},
      // A row with no \cellx still has a cell for cell keywords.
      {"\\trowd\\row\\clvmgf ", [](TDVRTFReader& r) { return r.RTFState().RowProps().CellProps.size() == 1; }},
      {"{\\colortbl;\\red0\\green0\\blue0;}\\trowd\\clcfpat1\\clshdng5000\\cellx100\\row ",
       [](TDVRTFReader& r) { return r.RTFState().RowProps().CellProps[0].Color == 0x7F7F7F; }},
      {"\\trowd\\clshdng99999 ", [](TDVRTFReader& r) { return r.RTFState().RowProps().CellProps[0].Shading == 10000; }},
      {"\\highlight7 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.BackColor == 0x00FFFF; }},
      {"\\highlight0 ", [](TDVRTFReader& r) { return r.RTFState().CharProps.BackColor == clNone; }},
      {"\\b\\plain ", [](TDVRTFReader& r) { return r.RTFState().CharProps.Style == 0; }},
      {"\\qc\\li100\\pard ", [](TDVRTFReader& r) {
         return r.RTFState().ParaProps.Alignment == rtf_al_Left && r.RTFState().ParaProps.LeftIndentTw == 0;
       }},
      {"\\ansicpg1252 ", [](TDVRTFReader& r) { return r.CodePage() == 1252; }},
      {"\\paperh\\margl720 ", [](TDVRTFReader& r) {
         return r.RTFState().DocProps.PaperHeightTw == 15480 && r.RTFState().DocProps.LeftMarginTw == 720;
       }},
  };
  for (const StateCase& c : cases) {
    TDVRTFReader reader;
    test::TraceRTF(std::string("{\\rtf1 ") + c.body, true, true, true, &reader);
    EXPECT_TRUE(c.check(reader)) << c.body;
  }
}

TEST(RTFKeywordTest, HiddenTextIsMarkedPerRun) {
  TDVRTFReader reader;
  std::string hidden;
  reader.OnNewText = [&hidden](TDVRTFReader& r, const std::string& text, TDVRTFPosition) {
    hidden += (r.RTFState().CharProps.Hidden ? "+" : "-") + text;
  };
  TMemoryStream stream(std::vector<uint8_t>{});
  const std::string rtf = "{\\rtf1 \\v hidden\\v0 shown}";
  stream.WriteString(rtf);
  stream.SetPosition(0);
  EXPECT_EQ(reader.ReadFromStream(stream), rtf_ec_OK);
  EXPECT_EQ(hidden, "+hidden-shown");
}

TEST(RTFKeywordTest, ColourAndPictureKeywordsOutOfPlace) {
  EXPECT_EQ(test::TraceRTF("{\\rtf1 \\red255 x}").result, rtf_ec_BadTable);
  EXPECT_EQ(test::TraceRTF("{\\rtf1 \\picw100 x}").result, rtf_ec_BadTable);
  // A picture nobody collects keeps its keywords to itself.
  EXPECT_EQ(test::TraceRTF("{\\rtf1 {\\pict\\picw100\\pngblip 00}x}", true, false).trace, "T\"x\"@P");
}

TEST(RTFTablesTest, FontTable) {
  TDVRTFReader reader;
  test::TraceRTF("{\\rtf1{\\fonttbl{\\f1\\froman\\fcharset134 Song;}{\\f2 Two Words\\'41;}}", true, true, true,
                 &reader);
  ASSERT_EQ(reader.FontTable().Count(), 2);
  const TDVRTFFont& song = reader.FontTable()[0];
  EXPECT_EQ(song.Number, 1);
  EXPECT_EQ(song.Family, rtf_ff_Roman);
  EXPECT_EQ(song.Charset, 134);
  EXPECT_EQ(song.Name, "Song");
  EXPECT_EQ(reader.FontTable()[1].Name, "Two WordsA");
}

TEST(RTFTablesTest, DefaultFontIsANumber) {
  // \deff names font 7, which stands second in the table.
  TDVRTFReader reader;
  test::TraceRTF("{\\rtf1\\deff7{\\fonttbl{\\f3 Three;}{\\f7 Seven;}}\\f99 x", true, true, true, &reader);
  ASSERT_NE(reader.CurrentFont(), nullptr);
  EXPECT_EQ(reader.CurrentFont()->Name, "Seven");
  TDVRTFReader empty;
  test::TraceRTF("{\\rtf1 \\f3 x", true, true, true, &empty);
  EXPECT_EQ(empty.CurrentFont(), nullptr);
}

TEST(RTFTablesTest, ColourTables) {
  struct Case {
    const char* table;
    std::vector<TColor> colors;
  };
  const Case cases[] = {
      {"{\\colortbl;\\red255\\green0\\blue0;}", {rtf_AutoColor, 0x0000FF}},
      {"{\\colortbl\\red1\\green2\\blue3;}", {0x030201}},
      {"{\\colortbl\\red1\\green2\\blue3}", {}},
      {"{\\colortbl;\\red999\\green-5\\blue256;}", {rtf_AutoColor, 0xFF00FF}},
  };
  for (const Case& c : cases) {
    TDVRTFReader reader;
    test::TraceRTF(std::string("{\\rtf1") + c.table + "}", true, true, true, &reader);
    std::vector<TColor> colors;
    for (int i = 0; i < reader.ColorTable().Count(); ++i) colors.push_back(reader.ColorTable()[i]);
    EXPECT_EQ(colors, c.colors) << c.table;
  }
}

TEST(RTFTablesTest, StyleSheet) {
  TDVRTFReader reader;
  test::TraceRTF(
      "{\\rtf1{\\stylesheet{\\s0\\qc Normal;}{\\*\\cs5\\b\\sbasedon0 Strong;}{\\s2\\snext9\\additive Odd;}}",
      true, true, true, &reader);
  TDVRTFStyleSheet& sheet = reader.StyleSheet();
  ASSERT_EQ(sheet.Count(), 3);
  EXPECT_EQ(sheet[0].Name, "Normal");
  EXPECT_EQ(sheet[0].ParaProps.Alignment, rtf_al_Center);
  EXPECT_EQ(sheet[1].Number, 5);
  EXPECT_EQ(sheet[1].StyleType, rtf_sst_Char);
  EXPECT_EQ(sheet[1].CharProps.Style, rtf_fs_Bold);
  EXPECT_EQ(sheet[1].BasedOn, &sheet[0]);
  EXPECT_EQ(sheet[2].Next, nullptr);
  EXPECT_TRUE(sheet[2].Additive);
  EXPECT_EQ(sheet.GetEntry(5), &sheet[1]);
  // The style sheet's properties stay in its groups.
  EXPECT_EQ(reader.RTFState().ParaProps.Alignment, rtf_al_Left);
}

}  // namespace
}  // namespace quillet
