// The style sheet of an XML file in each loading mode with its maps, the
// value conventions on style attributes, bullets and print settings.
#include <gtest/gtest.h>

#include "engine/print/print_component.h"
#include "interchange/xml/xml_tree.h"
#include "platform/core/arith.h"
#include "platform/gfx/fake_printer_device.h"
#include "platform/gfx/image_list.h"
#include "xml_import_util.h"

namespace quillet::test {
namespace {

std::string Names(const TCustomDVInfos& infos) {
  std::vector<std::string> names;
  infos.AssignTo(names);
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ",") + n;
  return out;
}

std::string Values(const TDVIntegerList& map) {
  std::string out;
  for (int32_t v : map.Values()) out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

// The root element of a parsed text.
struct Parsed {
  explicit Parsed(const std::string& text) : tree("") {
    tree.Parse(text);
    root = tree.Children().Get(0);
  }
  const TXMLTag* Child(const char* name) const { return root->Children().FindTagOfName(name); }
  TXMLTree tree;
  const TXMLTag* root;
};

using XmlStyles = XmlImportTest;

TEST_F(XmlStyles, EachModeAndItsMaps) {
  // The file's fonts: a copy of the editor's "Heading" and a new one; its
  // paragraphs: one like the editor's first.
  const std::string style =
      "<style inactiveselcolor=\"clRed\"><font name=\"Heading\" size=\"16\"/><font name=\"Link\" jump=\"1\"/>"
      "<para name=\"Normal\"/><list name=\"L\"><marker type=\"decimal\"/><marker/></list></style>";
  struct Case {
    TStyleLoadingMode mode;
    const char* fonts;
    const char* styleMap;
    const char* paraMap;
    TColor inactiveSelColor;
  } cases[] = {
      {slmIgnore, "Body,Heading,Unicode", "0,1,2", "0,1", clHighlight},
      {slmReplace, "Heading,Link", "0,1", "0", clRed},
      {slmMerge, "Body,Heading,Unicode,Link", "1,3", "0", clRed},
  };
  for (const auto& c : cases) {
    TDVStyle target;
    target.SetTextStyles(sheet.TextStyles());
    target.SetParaStyles(sheet.ParaStyles());
    TDVIntegerList styleMap, paraMap, listMap;
    const Parsed parsed("<book>" + style + "</book>");
    LoadDVStyle(parsed.Child("style"), target, c.mode, styleMap, paraMap, listMap);
    EXPECT_EQ(Names(target.TextStyles()), c.fonts) << c.mode;
    EXPECT_EQ(Values(styleMap), c.styleMap) << c.mode;
    EXPECT_EQ(Values(paraMap), c.paraMap) << c.mode;
    EXPECT_EQ(target.InactiveSelColor, c.inactiveSelColor) << c.mode;
    if (c.mode == slmReplace) {
      ASSERT_EQ(target.ListStyles().Count(), 1);
      EXPECT_EQ(target.ListStyles()[0].Levels().Count(), 2);
      EXPECT_EQ(target.ListStyles()[0].Levels()[0].ListType, dvlstDecimal);
    }
  }

  // Mapping adds nothing: each file style stands for the most similar one.
  TDVStyle target;
  target.SetTextStyles(sheet.TextStyles());
  TDVIntegerList styleMap, paraMap, listMap;
  const Parsed parsed("<book>" + style + "</book>");
  LoadDVStyle(parsed.Child("style"), target, slmMap, styleMap, paraMap, listMap);
  EXPECT_EQ(target.TextStyles().Count(), 3);
  EXPECT_EQ(styleMap.Count(), 2);
  EXPECT_EQ(styleMap[0], 1);
  // Without a "style" element every mode keeps the sheet.
  LoadDVStyle(nullptr, target, slmReplace, styleMap, paraMap, listMap);
  EXPECT_EQ(Values(styleMap), "0,1,2");
}

TEST_F(XmlStyles, ReplacingLoadsTheFileStylesIntoTheEditor) {
  xml.StyleLoadingMode = slmReplace;
  Load("<book><style><font name=\"Body\"/><font jump=\"1\" nextstyleno=\"7\"/><para nextparano=\"0\"/></style>"
       "<document><text textstyleno=\"1\">a</text></document></book>");
  ASSERT_EQ(sheet.TextStyles().Count(), 2);
  EXPECT_TRUE(sheet.TextStyles()[1].Jump);
  EXPECT_EQ(sheet.TextStyles()[1].NextStyleNo, -1);  // no style 7 in the file
  EXPECT_EQ(sheet.ParaStyles()[0].NextParaNo, 0);
  EXPECT_EQ(Items(), "|[a/1/0]");

  // A style sheet without fonts or paragraphs is refused, and nothing changes.
  for (const char* style : {"<style><para/></style>", "<style><font/></style>"}) {
    EXPECT_THROW(Load(std::string("<book>") + style + "<document><text>b</text></document></book>"),
                 EDocViewXMLError);
    EXPECT_EQ(sheet.TextStyles().Count(), 2);
    EXPECT_EQ(Items(), "|[a/1/0]");
  }
}

TEST_F(XmlStyles, ValueConventions) {
  struct Case {
    const char* font;
    std::function<bool(const TFontInfo&)> check;
  } cases[] = {
      {"bold=\"yes\"", [](const TFontInfo& f) { return f.Style == 0; }},
      {"bold=\"1\" italic=\"1\" italic=\"0\"", [](const TFontInfo& f) { return f.Style == fsBold; }},
      {"size=\"$10\" charscale=\"x\"", [](const TFontInfo& f) { return f.Size == 16 && f.CharScale == 100; }},
      {"color=\"clRed\" backcolor=\"$00FF00\" hovercolor=\"255\"",
       [](const TFontInfo& f) { return f.Color == clRed && f.BackColor == 0xFF00 && f.HoverColor == 255; }},
      {"charset=\"GB2312_CHARSET\" fontname=\"SimSun\"",
       [](const TFontInfo& f) { return f.Charset == 134 && f.FontName == "SimSun"; }},
      {"charset=\"NO_CHARSET\"", [](const TFontInfo& f) { return f.Charset == 1; }},
      {"bidimode=\"RTL\" overline=\"1\" textdeleteprotect=\"1\" htmlcode=\"1\"",
       [](const TFontInfo& f) {
         return f.BiDiMode == dvbdRightToLeft && f.StyleEx == dvfsOverline && f.Protection == dvprDeleteProtect &&
                f.Options == dvteoHTMLCode;
       }},
  };
  for (const auto& c : cases) {
    const Parsed parsed(std::string("<font ") + c.font + "/>");
    TFontInfo font;
    LoadFontFromXML(*parsed.root, font);
    EXPECT_TRUE(c.check(font)) << c.font;
  }
  const Parsed badColor("<font color=\"reddish\"/>");
  TFontInfo font;
  EXPECT_THROW(LoadFontFromXML(*badColor.root, font), EConvertError);

  struct ParaCase {
    const char* para;
    std::function<bool(const TParaInfo&)> check;
  } paraCases[] = {
      {"linespacingtype=\"SpaceBetween\"", [](const TParaInfo& p) { return p.LineSpacingType == dvlsSpaceBetween; }},
      {"linespacingtype=\"spacebetween\" linespacingtype=\"Percent\"",
       [](const TParaInfo& p) { return p.LineSpacingType == dvlsSpaceBetween; }},
      {"linespacingtype=\"spacebetween\" linespacingtype=\"%\"",
       [](const TParaInfo& p) { return p.LineSpacingType == dvlsPercent; }},
      {"wrap=\"0\" readonly=\"1\"", [](const TParaInfo& p) { return p.Options == (dvpaoNoWrap | dvpaoReadOnly); }},
      {"wrap=\"0\" wrap=\"1\"", [](const TParaInfo& p) { return p.Options == 0; }},
      {"align=\"Center\" borderstyle=\"double\" borderleftvisible=\"0\" backcolor=\"clBlue\" backtopoffset=\"3\"",
       [](const TParaInfo& p) {
         return p.Alignment == dvaCenter && p.Border().Style == dvbDouble && !p.Border().VisibleBorders.Left &&
                p.Background().Color == clBlue && p.Background().BorderOffsets.Top == 3;
       }},
  };
  for (const auto& c : paraCases) {
    const Parsed parsed(std::string("<para ") + c.para + "/>");
    TParaInfo para;
    LoadParaFromXML(*parsed.root, para);
    EXPECT_TRUE(c.check(para)) << c.para;
  }
}

TEST_F(XmlStyles, MarkerPictures) {
  const Parsed missing("<list><marker type=\"picture\" imgsource=\"no-such-file.bmp\"/></list>");
  TDVListInfo list;
  LoadListFromXML(*missing.root, list);
  ASSERT_EQ(list.Levels().Count(), 1);
  EXPECT_FALSE(list.Levels()[0].HasPicture());
  EXPECT_EQ(list.Levels()[0].ListType, dvlstPicture);

  const Parsed unknownClass("<marker class=\"TGif\" img=\"00\"/>");
  TDVListLevel level;
  EXPECT_THROW(LoadMarkerFromXML(*unknownClass.root, level), EClassNotFound);
}

TEST_F(XmlStyles, BulletsAndPrint) {
  TBitmap bitmap(3, 2);
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  std::string hex;
  for (uint8_t b : stream.Bytes()) hex += IntToHex(b, 2);
  const Parsed bullets("<bullets><img>" + hex + "</img><other/><img>" + hex + "</img></bullets>");
  TImgListList lists;
  lists.LoadFromXML(*bullets.root);
  ASSERT_EQ(lists.Count(), 2);
  EXPECT_EQ(lists.Get(1)->Width(), 3);
  EXPECT_EQ(lists.Get(1)->Count(), 1);
  EXPECT_THROW(lists.Get(2), EDocViewError);
  const Parsed missingFile("<bullets><imgsource>no-such-file.bmp</imgsource></bullets>");
  EXPECT_ANY_THROW(lists.LoadFromXML(*missingFile.root));

  TFakePrinterDevice printer;
  TDVPrint print(printer);
  xml.DVPrint = &print;
  const std::string file =
      "<book><print leftmargin=\"11\" bottommargin=\"$10\" headermarginy=\"5\" mirrormargins=\"1\" "
      "previewcorrect=\"0\" printback=\"1\"/><document/></book>";
  Load(file);  // LoadPrint is off
  EXPECT_EQ(print.LeftMarginMM(), 20);
  xml.LoadPrint = true;
  print.SetTransparentBackground(true);
  Load(file);
  EXPECT_EQ(print.LeftMarginMM(), 11);
  EXPECT_EQ(print.BottomMarginMM(), 16);
  EXPECT_EQ(print.HeaderYMM(), 5);
  EXPECT_TRUE(print.MirrorMargins());
  EXPECT_FALSE(print.PreviewCorrection);
  EXPECT_FALSE(print.TransparentBackground());
}

}  // namespace
}  // namespace quillet::test
