// Reading RTF into documents: text items and their styles in each mode,
// paragraphs, hyperlinks, page breaks, headers and footers, failures that
// leave the document as it was, and the viewer's reader made on first use.
#include <gtest/gtest.h>

#include <string>

#include "engine/model/dv_data.h"
#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

class LinkData : public TCustomDVData {
 public:
  LinkData() { SetDVStyle(&style); }
  void ReadHyperlink(const std::string& target, const std::string& extras, TDVLoadFormat, int32_t&,
                     TDVTag& itemTag, std::string&) override {
    links += "[" + target + "|" + extras + "]";
    itemTag.Str = target;
  }
  TDVStyle style;
  std::string links;
};

TDVRTFErrorCode Read(TDVRTFDocumentReader& reader, TCustomDVData& data, const std::string& rtf) {
  TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
  return reader.ReadFromStream(stream, data);
}

// Items as "text/style/para" with "|" before a paragraph start, "/" before
// a line start, "^" before a page break; Unicode text as UTF-8 with "u".
std::string Describe(const TCustomDVData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TCustomDVItemInfo& item = *data.GetItem(i);
    out += item.PageBreakBefore() ? "^" : item.SameAsPrev() ? "" : item.BR() ? "/" : "|";
    std::string text = data.GetItemTextR(i);
    if (item.IsUnicode()) {
      std::u16string units;
      for (size_t k = 0; k + 1 < text.size(); k += 2) units += char16_t(uint8_t(text[k]) | uint8_t(text[k + 1]) << 8);
      text = "u" + Utf16ToUtf8(units);
    }
    out += "[" + text + "/" + std::to_string(item.StyleNo) + "/" + std::to_string(item.ParaNo) + "]";
  }
  return out;
}

TEST(RTFDocumentReaderTest, UnicodeModes) {
  const std::string rtf = "{\\rtf1\\ansicpg936{\\fonttbl{\\f0\\fcharset134 Song;}}\\f0 a\\u20013?b}";
  struct Case {
    TDVReaderUnicode mode;
    const char* items;
  };
  const Case cases[] = {
      // Without Unicode items \u still reads into the code page, not "?".
      {dvruNoUnicode, "|[a/0/0][\xD6\xD0/0/0][b/0/0]"},
      {dvruMixed, "|[a/0/0][u中/1/0][b/0/0]"},
      {dvruOnlyUnicode, "|[ua/1/0][u中/1/0][ub/1/0]"},
  };
  for (const Case& c : cases) {
    LinkData data;
    data.style.TextStyles()[1].Unicode = true;
    TDVRTFDocumentReader reader;
    reader.UnicodeMode = c.mode;
    ASSERT_EQ(Read(reader, data, rtf), rtf_ec_OK);
    EXPECT_EQ(Describe(data), c.items) << c.mode;
  }
}

TEST(RTFDocumentReaderTest, OnlyUnicodeConvertsThroughTheFontCharset) {
  LinkData data;
  data.style.TextStyles()[0].Unicode = true;
  TDVRTFDocumentReader reader;
  reader.UnicodeMode = dvruOnlyUnicode;
  reader.TextStyleMode = dvrsUseSpecified;
  ASSERT_EQ(Read(reader, data, "{\\rtf1\\ansicpg1252{\\fonttbl{\\f0\\fcharset134 Song;}}\\f0 \\'d6\\'d0}"), rtf_ec_OK);
  EXPECT_EQ(Describe(data), "|[u中/0/0]");
}

TEST(RTFDocumentReaderTest, HiddenText) {
  for (bool skip : {true, false}) {
    LinkData data;
    TDVRTFDocumentReader reader;
    reader.SkipHiddenText = skip;
    ASSERT_EQ(Read(reader, data, "{\\rtf1 a{\\v h}b}"), rtf_ec_OK);
    EXPECT_EQ(Describe(data), skip ? "|[a/0/0][b/0/0]" : "|[a/0/0][h/0/0][b/0/0]");
  }
}

TEST(RTFDocumentReaderTest, AddIfNeededAddsEachFormatOnce) {
  const std::string rtf =
      "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "\\f0\\fs20 plain \\b bold\\b0 \\f1\\cf1 red\\par\\qc\\li300\\brdrb\\brdrs\\brdrw15 centred\\par\\pard again}";
  LinkData data;
  TDVRTFDocumentReader reader;
  reader.TextStyleMode = reader.ParaStyleMode = dvrsAddIfNeeded;
  ASSERT_EQ(Read(reader, data, rtf), rtf_ec_OK);
  const int textCount = data.style.TextStyles().Count(), paraCount = data.style.ParaStyles().Count();
  const TFontInfo& red = data.style.TextStyles()[data.GetItemStyle(2)];
  EXPECT_EQ(red.FontName, "Courier New");
  EXPECT_EQ(red.Color, 0x0000FF);
  EXPECT_EQ(data.style.TextStyles()[data.GetItemStyle(1)].Style, fsBold);
  const TParaInfo& centred = data.style.ParaStyles()[data.GetItemPara(3)];
  EXPECT_EQ(centred.Alignment, dvaCenter);
  EXPECT_EQ(centred.Border().Style, dvbSingle);
  EXPECT_FALSE(centred.Border().VisibleBorders.Top);
  EXPECT_TRUE(centred.Border().VisibleBorders.Bottom);
  // The border's width widens the distances (20 + 1 pixels).
  EXPECT_EQ(centred.LeftIndent, 21);
  EXPECT_EQ(data.GetItemPara(4), data.GetItemPara(0));

  // Read again: every style is found, bordered paragraphs included.
  ASSERT_EQ(Read(reader, data, rtf), rtf_ec_OK);
  EXPECT_EQ(data.style.TextStyles().Count(), textCount);
  EXPECT_EQ(data.style.ParaStyles().Count(), paraCount);
}

TEST(RTFDocumentReaderTest, ClosestStyles) {
  LinkData data;
  while (data.style.TextStyles().Count() > 1) data.style.TextStyles().Delete(1);
  TDVRTFDocumentReader reader;
  ASSERT_EQ(Read(reader, data, "{\\rtf1{\\fonttbl{\\f0 Symbol;}}\\b\\fs40 big\\plain\\i small}"), rtf_ec_OK);
  EXPECT_EQ(Describe(data), "|[big/0/0][small/0/0]");

  // Without a font table, the closest style is still found.
  LinkData styled;
  styled.style.TextStyles()[3].Style = fsBold;
  ASSERT_EQ(Read(reader, styled, "{\\rtf1 \\b x}"), rtf_ec_OK);
  EXPECT_EQ(styled.style.TextStyles()[styled.GetItemStyle(0)].Style & fsBold, fsBold);
}

TEST(RTFDocumentReaderTest, Hyperlinks) {
  LinkData data;
  TDVRTFDocumentReader reader;
  reader.TextStyleMode = dvrsAddIfNeeded;
  ASSERT_EQ(Read(reader, data,
                 "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 see {\\field{\\*\\fldinst HYPERLINK \"a.htm\" \\\\l}"
                 "{\\fldrslt link}} and {\\field{\\*\\fldinst HYPERLINK \"my file.htm\"}{\\fldrslt two}}}"),
            rtf_ec_OK);
  EXPECT_EQ(data.links, "[a.htm|\\l][my file.htm|]");
  ASSERT_EQ(data.ItemCount(), 4);
  EXPECT_TRUE(data.style.TextStyles()[data.GetItemStyle(1)].Jump);
  EXPECT_FALSE(data.style.TextStyles()[data.GetItemStyle(2)].Jump);
  EXPECT_EQ(data.GetItemTag(1).Str, "a.htm");
}

TEST(RTFDocumentReaderTest, PageBreakMarksTheNextParagraph) {
  LinkData data;
  TDVRTFDocumentReader reader;
  ASSERT_EQ(Read(reader, data, "{\\rtf1 a\\par\\page b\\par\\pagebb c}"), rtf_ec_OK);
  EXPECT_EQ(Describe(data), "|[a/0/0]^[b/0/0]^[c/0/0]");
}

TEST(RTFDocumentReaderTest, HeaderAndFooter) {
  const std::string rtf = "{\\rtf1\\headery1440\\footery720{\\header head}{\\footer foot}body}";
  {
    LinkData data, header;
    header.AddNL("old", 0, 0);
    TDVRTFDocumentReader reader;
    reader.SetHeader(&header);
    ASSERT_EQ(Read(reader, data, rtf), rtf_ec_OK);
    EXPECT_EQ(Describe(header), "|[head/0/0]");
    // No footer document: the footer's text is dropped, not read as body.
    EXPECT_EQ(Describe(data), "|[body/0/0]");
    EXPECT_EQ(reader.HeaderYMM, 25);
    EXPECT_EQ(reader.FooterYMM, -1);
  }
  LinkData data;
  TDVRTFDocumentReader reader;
  ASSERT_EQ(Read(reader, data, rtf), rtf_ec_OK);
  EXPECT_EQ(Describe(data), "|[body/0/0]");
}

TEST(RTFDocumentReaderTest, FailedReadLeavesTheDocument) {
  const char* bad[] = {"{\\rtf1 a\\par b\\red5 c}", "{\\rtf1 a\\par b", "{\\rtf1 a{\\pict\\pngblip 0z}}",
                       "{\\rtf1 a{\\field{\\*\\fldinst SYMBOL x \\\\f \"Symbol\" \\\\s 10}}}"};
  const TDVRTFErrorCode codes[] = {rtf_ec_BadTable, rtf_ec_UnmatchedBrace, rtf_ec_InvalidPicture,
                                   rtf_ec_Exception};
  for (int i = 0; i < 4; ++i) {
    LinkData data;
    data.AddNL("kept", 0, 0);
    TDVRTFDocumentReader reader;
    EXPECT_EQ(Read(reader, data, bad[i]), codes[i]) << bad[i];
    EXPECT_EQ(Describe(data), "|[kept/0/0]") << bad[i];
  }
}

TEST(RTFDocumentReaderTest, SpecifiedStylesMustExist) {
  TDVRTFDocumentReader reader;
  EXPECT_THROW(reader.SetTextStyleNo(-1), EDocViewError);
  reader.TextStyleMode = dvrsUseSpecified;
  reader.SetTextStyleNo(99);
  LinkData data;
  data.AddNL("kept", 0, 0);
  EXPECT_EQ(Read(reader, data, "{\\rtf1 x}"), rtf_ec_Exception);
  EXPECT_EQ(Describe(data), "|[kept/0/0]");
  EXPECT_EQ(reader.TextStyleNo(), 99);
}

TEST(RTFDocumentReaderTest, SymbolFieldIsARunOfItsOwn) {
  LinkData data;
  TDVRTFDocumentReader reader;
  reader.TextStyleMode = dvrsAddIfNeeded;
  ASSERT_EQ(Read(reader, data,
                 "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\" \\\\s 10}"
                 "{\\fldrslt}}b}"),
            rtf_ec_OK);
  ASSERT_EQ(data.ItemCount(), 3);
  EXPECT_EQ(data.GetItemTextR(1), "\xB7");
  const TFontInfo& symbol = data.style.TextStyles()[data.GetItemStyle(1)];
  EXPECT_EQ(symbol.FontName, "Symbol");
  EXPECT_EQ(symbol.Size, 10);
  EXPECT_EQ(data.style.TextStyles()[data.GetItemStyle(2)].FontName, "Arial");
}

TEST(RTFDocumentReaderTest, EditorInsertion) {
  LinkData data;
  data.AddNL("one", 0, 0);
  data.AddNL("two", 0, 0);
  TDVRTFDocumentReader reader;
  const std::string rtf = "{\\rtf1 a\\par b}";
  TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
  int index = 1;
  ASSERT_EQ(reader.InsertFromStreamEd(stream, data, index), rtf_ec_OK);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(Describe(data), "|[one/0/0]|[a/0/0]|[b/0/0]|[two/0/0]");
}

TEST(RTFDocumentReaderTest, ViewerMakesItsReaderOnFirstUse) {
  TDVStyle style;
  TDocView view;
  view.SetStyle(&style);
  SetRTFReaderPropertiesFactory(nullptr);
  const std::string rtf = "{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK \"x.htm\"}{\\fldrslt {\\pict\\dibitmap0 00}}}}";
  TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
  EXPECT_FALSE(view.LoadRTFFromStream(stream));
  InstallRTFReader();
  std::string target;
  view.OnReadHyperlink = [&target](TCustomDocView&, const std::string& t, const std::string&, TDVLoadFormat format,
                                   int32_t&, TDVTag&, std::string&) {
    if (format == dvlfRTF) target = t;
  };
  ASSERT_NE(view.GetRTFReadProperties(), nullptr);
  view.GetRTFReadProperties()->IgnorePictures = false;
  stream.SetPosition(0);
  // The picture's data is bad: nothing is read.
  EXPECT_FALSE(view.LoadRTFFromStream(stream));
  EXPECT_EQ(view.GetLineCount(), 0);
  const std::string good = "{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK \"x.htm\"}{\\fldrslt {\\pict\\macpict 00}}}}";
  TMemoryStream goodStream(std::vector<uint8_t>(good.begin(), good.end()));
  ASSERT_TRUE(view.LoadRTFFromStream(goodStream));
  EXPECT_EQ(target, "x.htm");
  ASSERT_EQ(view.GetLineCount(), 2);
  // A picture in a link is a hot picture; one of a kind nothing reads
  // stands in as a placeholder.
  EXPECT_EQ(view.GetItemStyle(1), dvsHotPicture);
  EXPECT_EQ(view.DVData().GetItem(1)->AsImage()->Width(), 32);
}

}  // namespace
}  // namespace quillet
