// Pictures of every kind, and random documents written by our RTF writer
// and read back: kinds, text, paragraph and line breaks, links, text and
// paragraph style properties and picture data come back as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "engine/model/dv_data.h"
#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "interchange/rtf/rtf_trace.h"
#include "platform/core/code_page.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/picture_test_util.h"

namespace quillet {
namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) (out += digits[b >> 4]) += digits[b & 15];
  return out;
}

std::vector<uint8_t> PngFile() {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 255));
  image.setPixel(0, 0, qRgb(255, 0, 0));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TEST(RTFPictureTest, Kinds) {
  // A bitmap's data without its file header, as RTF holds it.
  std::vector<uint8_t> dib = SavedBytes(RedBlueBitmap(4, 2));
  dib.erase(dib.begin(), dib.begin() + 14);
  // A Windows metafile's records without the placeable header.
  std::vector<uint8_t> wmfRecords = WmfFile(1, 1, 1);
  wmfRecords.erase(wmfRecords.begin(), wmfRecords.begin() + 22);
  const std::vector<uint8_t> jpeg = RedBlueJpeg(8, 8);
  struct Case {
    const char* name;
    std::string group;
    const char* kind;
    int32_t width;
  };
  const Case cases[] = {
      {"device-independent bitmap", "\\dibitmap0 " + Hex(dib), "TBitmap", 4},
      {"PNG", "\\pngblip " + Hex(PngFile()), "TBitmap", 3},
      {"JPEG", "\\jpegblip " + Hex(RedBlueJpeg(8, 8)), "TJPEGImage", 8},
      {"enhanced metafile", "\\emfblip " + Hex(EmfFile(2540, 1270)), "TMetafile", 96},
      {"Windows metafile sized by picw and pich", "\\wmetafile8\\picw2540\\pich1270 " + Hex(wmfRecords),
       "TMetafile", 96},
      {"Mac picture", "\\macpict 00", "none", 0},
      {"binary data", "\\jpegblip\\bin" + std::to_string(jpeg.size()) + " " + std::string(jpeg.begin(), jpeg.end()),
       "TJPEGImage", 8},
  };
  for (const Case& c : cases) {
    const auto out = test::TraceRTF("{\\rtf1 {\\pict" + c.group + "}}");
    ASSERT_EQ(out.result, rtf_ec_OK) << c.name;
    const std::string kind = out.lastGraphic ? std::string(out.lastGraphic->ClassName()) : "none";
    EXPECT_EQ(kind, c.kind) << c.name;
    if (out.lastGraphic) {
      EXPECT_EQ(out.lastGraphic->Width(), c.width) << c.name;
    }
  }
  // The bitmap's file header points at its pixels, after the palette.
  TBitmap paletted(4, 2);
  paletted.SetPixelFormat(pf8bit);
  std::vector<uint8_t> dib8 = SavedBytes(paletted);
  dib8.erase(dib8.begin(), dib8.begin() + 14);
  const auto out = test::TraceRTF("{\\rtf1 {\\pict\\dibitmap0 " + Hex(dib8) + "}}");
  ASSERT_TRUE(out.lastGraphic);
  EXPECT_EQ(static_cast<TBitmap&>(*out.lastGraphic).GetPixel(0, 0), clWhite);
}

TEST(RTFPictureTest, BadPictures) {
  EXPECT_EQ(test::TraceRTF("{\\rtf1 {\\pict\\pngblip 0 0}}").result, rtf_ec_InvalidPicture);
  EXPECT_EQ(test::TraceRTF("{\\rtf1 {\\pict\\jpegblip 0102}}").result, rtf_ec_InvalidPicture);
  EXPECT_EQ(test::TraceRTF("{\\rtf1 {\\pict{\\pict}}}").result, rtf_ec_InvalidPicture);
  // Word processors' older copy is skipped, the picture group read.
  EXPECT_EQ(test::TraceRTF("{\\rtf1 {\\*\\shppict{\\pict\\macpict 00}}{\\nonshppict{\\pict\\macpict 00}}}").trace,
            "P(3,1,none)");
}

TEST(RTFPictureTest, IncludePictureTakesTheFileOverTheResult) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillet_rtf_include";
  std::filesystem::create_directories(dir);
  const std::string bmp = (dir / "a.bmp").string();
  RedBlueBitmap(6, 3).SaveToFile(bmp);
  std::string escaped;
  for (char c : bmp) escaped += c == '\\' ? "\\\\\\\\" : std::string(1, c);
  const std::string field = "{\\field{\\*\\fldinst INCLUDEPICTURE \"" + escaped +
                            "\" \\\\d}{\\fldrslt {\\pict\\macpict 00}}}";
  EXPECT_EQ(test::TraceRTF("{\\rtf1 " + field + "}").trace, "P(-1,0,TBitmap)");
  std::filesystem::remove(bmp);
  EXPECT_EQ(test::TraceRTF("{\\rtf1 " + field + "}").trace, "P(3,1,none)");
  // Only regular files are read.
  const std::string folder = "{\\field{\\*\\fldinst INCLUDEPICTURE \"" + dir.string() + "\"}{\\fldrslt x}}";
  EXPECT_EQ(test::TraceRTF("{\\rtf1 " + folder + "}").trace, "T\"x\"@P");
  std::filesystem::remove_all(dir);
}

TEST(RTFPictureTest, ScaledPictureItem) {
  std::vector<uint8_t> dib = SavedBytes(RedBlueBitmap(100, 2));
  dib.erase(dib.begin(), dib.begin() + 14);
  for (const bool x : {true, false}) {
    const std::string scale = x ? "\\picscalex50" : "\\picscaley50";
    TDVStyle style;
    TCustomDVData data;
    data.SetDVStyle(&style);
    TDVRTFDocumentReader reader;
    const std::string rtf = "{\\rtf1 {\\pict\\dibitmap0" + scale + " " + Hex(dib) + "}}";
    TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
    ASSERT_EQ(reader.ReadFromStream(stream, data), rtf_ec_OK);
    ASSERT_EQ(data.ItemCount(), 1);
    const auto& item = static_cast<const TDVGraphicItemInfo&>(*data.GetItem(0));
    // Either scale sizes the picture.
    EXPECT_EQ(item.GetImageWidth(nullptr), x ? 50 : 100) << scale;
    EXPECT_EQ(item.GetImageHeight(nullptr), x ? 2 : 1) << scale;
  }
}

// ---- round trip ----

class LinkDoc : public TCustomDVData {
 public:
  LinkDoc() { SetDVStyle(&style); }
  std::string GetURL(int32_t jumpID) override { return "http://example.com/" + std::to_string(jumpID); }
  void ReadHyperlink(const std::string& target, const std::string&, TDVLoadFormat, int32_t&, TDVTag& tag,
                     std::string&) override {
    tag.Str = target;
  }
  TDVStyle style;
};

// What must survive: per paragraph (and line) its break kind and paragraph
// style properties, then its runs of equal text style properties with their
// text as UTF-16, its pictures and link targets. A source document's
// bordered paragraphs are expected with the border's width added to their
// distances, as reading widens them.
std::vector<std::string> Summary(LinkDoc& doc, bool source) {
  std::vector<std::string> out;
  std::string lastProps;
  for (int i = 0; i < doc.ItemCount(); ++i) {
    const TCustomDVItemInfo& item = *doc.GetItem(i);
    if (!item.SameAsPrev()) {
      const TParaInfo& para = doc.style.ParaStyles()[item.ParaNo];
      const int32_t widen = source ? para.Border().GetTotalWidth() : 0;
      std::string head = item.PageBreakBefore() ? "page " : item.BR() ? "line " : "para ";
      if (!item.BR())
        head += std::to_string(para.Alignment) + "," + std::to_string(para.LeftIndent + widen) + "," +
                std::to_string(para.SpaceBefore + widen) + "," + std::to_string(para.Border().Style) + "," +
                std::to_string(para.Border().Width) + "," + std::to_string(para.Background().Color) + ": ";
      out.push_back(head);
      lastProps.clear();
    }
    std::string& line = out.back();
    if (item.StyleNo >= 0) {
      const TFontInfo& font = doc.style.TextStyles()[item.StyleNo];
      std::u16string units;
      const std::string& text = doc.GetItemTextR(i);
      if (item.IsUnicode())
        for (size_t k = 0; k + 1 < text.size(); k += 2) units += char16_t(uint8_t(text[k]) | uint8_t(text[k + 1]) << 8);
      else
        units = MultiByteToWideChar(doc.GetStyleCodePage(item.StyleNo), text);
      if (units.empty()) continue;
      const std::string target = source ? doc.GetURL(item.JumpID) : item.Tag.Str.value_or("?");
      const std::string props = "{" + font.FontName + "," + std::to_string(font.Size) + "," +
                                std::to_string(font.Style) + "," + std::to_string(font.Color) + "," +
                                std::to_string(font.BackColor) + "," + std::to_string(font.VShift > 0) +
                                std::to_string(font.VShift < 0) + (font.Jump ? "," + target : "") + "}";
      if (props != lastProps) line += props;
      lastProps = props;
      line += Utf16ToUtf8(units);
    } else if (const TGraphic* image = item.AsImage()) {
      lastProps.clear();
      line += "<";
      line += image->ClassName();
      if (image->ClassName() == "TBitmap") {
        const auto& bmp = static_cast<const TBitmap&>(*image);
        for (int y = 0; y < bmp.Height(); ++y)
          for (int x = 0; x < bmp.Width(); ++x) line += std::to_string(bmp.GetPixel(x, y)) + ".";
      } else if (image->ClassName() == "TMetafile" &&
                 !static_cast<const TMetafile&>(*image).Enhanced()) {
        // The placeable header is made anew on reading; the records stay.
        const std::vector<uint8_t> bytes = SavedBytes(*image);
        line += Hex(std::vector<uint8_t>(bytes.begin() + 22, bytes.end()));
      } else {
        line += Hex(SavedBytes(*image));
      }
      line += ">";
    }
  }
  return out;
}

void AddRandomStyles(TDVStyle& style) {
  TFontInfos& fonts = style.TextStyles();
  fonts[1].Unicode = true;
  TFontInfo& song = fonts.Add();
  song.FontName = Utf8ToAnsi("宋体");
  song.Charset = GB2312_CHARSET;
  song.Size = 14;
  fonts.Add().VShift = 45;
  TFontInfo& link = fonts.Add();
  link.Jump = true;
  link.Color = 0x00FF0000;
  link.Style = fsUnderline;
  TFontInfo& marked = fonts.Add();
  marked.BackColor = 0x0000FFFF;
  marked.Style = fsBold | fsItalic;
  TParaInfos& paras = style.ParaStyles();
  TParaInfo& centred = paras.Add();
  centred.Alignment = dvaCenter;
  centred.LeftIndent = 20;
  centred.SpaceBefore = 6;
  TParaInfo& boxed = paras.Add();
  boxed.Border().Style = dvbSingle;
  boxed.Border().Width = 1;
  boxed.Border().Color = 0x000080;
  boxed.Background().Color = 0x00E0E0;
}

std::unique_ptr<TGraphic> RandomPicture(std::mt19937& random) {
  switch (random() % 4) {
    case 0: {
      auto bmp = std::make_unique<TBitmap>(1 + random() % 5, 1 + random() % 4);
      for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) bmp->SetPixel(x, y, random() & 0xFFFFFF);
      return bmp;
    }
    case 1: {
      auto jpeg = std::make_unique<TJPEGImage>();
      jpeg->Assign(RedBlueBitmap(4 + random() % 8, 4));
      return jpeg;
    }
    case 2: {
      auto emf = std::make_unique<TMetafile>();
      TMemoryStream s(EmfFile(1000 + random() % 2000, 500));
      emf->LoadFromStream(s);
      return emf;
    }
    default: {
      auto wmf = std::make_unique<TMetafile>();
      TMemoryStream s(WmfFile(static_cast<int16_t>(10 + random() % 90), 20, 96));
      wmf->LoadFromStream(s);
      return wmf;
    }
  }
}

TEST(RTFRoundTripTest, RandomDocumentsComeBack) {
  const std::u16string unicodeSamples[] = {u"中文 text", u"\u00e9\u0e01\u00a9", u"\U0001F600 wide", u"x"};
  const std::string gbkSamples[] = {Utf8ToAnsi("中文段落"), "\x81\\\x81{\x81}", "plain {braces} \\ here"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    LinkDoc source;
    source.SetRTFOptions(dvrtfSaveJpegAsJpeg);
    AddRandomStyles(source.style);
    const int paraCount = source.style.ParaStyles().Count(), textCount = source.style.TextStyles().Count();
    const int items = 3 + random() % 12;
    for (int i = 0; i < items; ++i) {
      const int32_t para = random() % paraCount;
      const int start = random() % 4;  // 0 continues, 1 line, 2 paragraph, 3 page
      const int32_t paraNo = i == 0 || start >= 2 ? para : -1;
      if (random() % 5 == 0) {
        source.AddItem("", std::make_unique<TDVGraphicItemInfo>(&source, RandomPicture(random), dvvaBaseline));
        TCustomDVItemInfo& item = *source.GetItem(source.ItemCount() - 1);
        item.ParaNo = paraNo >= 0 ? paraNo : source.GetItemPara(std::max(source.ItemCount() - 2, 0));
        if (paraNo < 0 && i > 0) item.SetSameAsPrev(true);
        continue;
      }
      const int32_t styleNo = random() % textCount;
      const TFontInfo& font = source.style.TextStyles()[styleNo];
      std::string text;
      if (font.Unicode) {
        for (char16_t unit : unicodeSamples[random() % 4]) {
          text += static_cast<char>(unit & 0xFF);
          text += static_cast<char>(unit >> 8);
        }
      } else {
        text = gbkSamples[random() % 3];
      }
      source.AddNL(text, styleNo, paraNo);
      TCustomDVItemInfo& item = *source.GetItem(source.ItemCount() - 1);
      if (font.Unicode) item.ItemOptions |= dvioUnicode;
      if (font.Jump) item.JumpID = static_cast<int32_t>(random() % 100);
      if (i > 0 && start == 1) item.SetBR(true);
      if (i > 0 && start == 3) item.SetPageBreakBefore(true);
    }
    TMemoryStream rtf;
    ASSERT_TRUE(source.SaveRTFToStream(rtf, false, clWindow, nullptr)) << seed;
    rtf.SetPosition(0);

    LinkDoc read;
    TDVRTFDocumentReader reader;
    reader.UnicodeMode = dvruMixed;
    reader.TextStyleMode = reader.ParaStyleMode = dvrsAddIfNeeded;
    ASSERT_EQ(reader.ReadFromStream(rtf, read), rtf_ec_OK) << seed << "\n" << rtf.AsString();

    EXPECT_EQ(Summary(read, false), Summary(source, true)) << seed << "\n" << rtf.AsString();
  }
}

}  // namespace
}  // namespace quillet
