// RTF that LibreOffice writes: the checked-in fixture (made by
// scripts/make-rtf-fixtures through .docx) and a live conversion of its
// source, read with Unicode items and styles added as needed. Texts,
// paragraphs, fonts, colours, the link, the header and the pictures' pixels
// must come through. Without LibreOffice the live test is skipped, except
// under CI, where it fails.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/item_text_util.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "interchange/rtf/rtf_table_text.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::FindItem;
using test::ItemUtf8;

class LinkDoc : public TCustomDVData {
 public:
  LinkDoc() { SetDVStyle(&style); }
  void ReadHyperlink(const std::string& target, const std::string&, TDVLoadFormat, int32_t&, TDVTag& tag,
                     std::string&) override {
    tag.Str = target;
  }
  TDVStyle style;
};

// Reads with Unicode items and styles added as needed, the header kept.
testing::AssertionResult ReadFixture(const std::string& file, LinkDoc& doc, LinkDoc& header) {
  header.SetDVStyle(&doc.style);
  TDVRTFDocumentReader reader;
  reader.UnicodeMode = dvruMixed;
  reader.TextStyleMode = reader.ParaStyleMode = dvrsAddIfNeeded;
  reader.SetHeader(&header);
  if (reader.ReadFromFile(file, doc) != rtf_ec_OK) return testing::AssertionFailure() << "cannot read " << file;
  return testing::AssertionSuccess();
}

void ExpectMixedDocument(const std::string& file) {
  LinkDoc doc, header;
  ASSERT_TRUE(ReadFixture(file, doc, header));

  std::vector<std::string> paragraphs;
  std::vector<const TGraphic*> pictures;
  for (int i = 0; i < doc.ItemCount(); ++i) {
    if (doc.IsParaStart(i)) paragraphs.emplace_back();
    if (doc.GetItemStyle(i) >= 0)
      paragraphs.back() += ItemUtf8(doc, i);
    else if (const TGraphic* image = doc.GetItem(i)->AsImage())
      pictures.push_back(image), paragraphs.back() += "<picture>";
  }
  const std::vector<std::string> expected = {"Plain paragraph", "Some red text and strong words", "Centred serif",
                                             "中文段落", "See the link here", "<picture> and <picture>"};
  ASSERT_GE(paragraphs.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(paragraphs.begin(), paragraphs.begin() + expected.size()), expected);

  const TFontInfos& fonts = doc.style.TextStyles();
  const int red = FindItem(doc, "red text"), strong = FindItem(doc, "strong"), serif = FindItem(doc, "serif");
  const int chinese = FindItem(doc, "中文"), link = FindItem(doc, "the link");
  ASSERT_TRUE(red >= 0 && strong >= 0 && serif >= 0 && chinese >= 0 && link >= 0);
  EXPECT_EQ(fonts[doc.GetItemStyle(red)].Color, 0x0000FF);
  EXPECT_EQ(fonts[doc.GetItemStyle(strong)].Style & fsBold, fsBold);
  EXPECT_EQ(fonts[doc.GetItemStyle(serif)].FontName, "Times New Roman");
  EXPECT_EQ(fonts[doc.GetItemStyle(serif)].Size, 16);
  EXPECT_EQ(doc.style.ParaStyles()[doc.GetItemPara(serif)].Alignment, dvaCenter);
  // LibreOffice writes Chinese only as \u.
  EXPECT_TRUE(doc.GetItem(chinese)->IsUnicode());
  EXPECT_TRUE(fonts[doc.GetItemStyle(link)].Jump);
  EXPECT_EQ(doc.GetItemTag(link).Str, "http://example.com/page");
  ASSERT_GE(header.ItemCount(), 1);
  EXPECT_EQ(ItemUtf8(header, 0), "Page header");

  // The PNG and the JPEG, not their older metafile copies.
  ASSERT_EQ(pictures.size(), 2u);
  ASSERT_EQ(pictures[0]->ClassName(), "TBitmap");
  const auto& png = static_cast<const TBitmap&>(*pictures[0]);
  ASSERT_EQ(png.Width(), 4);
  EXPECT_EQ(png.GetPixel(0, 0), 0x0000FF);
  EXPECT_EQ(png.GetPixel(3, 1), 0xFF0000);
  EXPECT_EQ(pictures[1]->ClassName(), "TJPEGImage");
  EXPECT_EQ(pictures[1]->Width(), 8);
}

// Tables: spans, nesting, a header's table, a half-width table with double
// borders and shaded cells.
void ExpectTablesDocument(const std::string& file) {
  LinkDoc doc, header;
  ASSERT_TRUE(ReadFixture(file, doc, header));
  EXPECT_EQ(test::DocText(doc),
            "Before the tables | [wide|<|tall / a2|b2|^] | Between | [outer 1+[inner 1|inner 2]|outer 2] | "
            "Then shaded | [yellow|green] | After the tables");
  EXPECT_EQ(test::DocText(header), "[head 1|head 2]");

  std::vector<const TDVTableItemInfo*> tables;
  for (int i = 0; i < doc.ItemCount(); ++i)
    if (auto* table = dynamic_cast<const TDVTableItemInfo*>(doc.GetItem(i))) tables.push_back(table);
  ASSERT_EQ(tables.size(), 3u);
  // Columns of 3 cm, the padding inside the cell's width.
  const double column = 3 / 2.54 * 96;
  const TDVTableItemInfo& spans = *tables[0];
  const TDVTableCellData& wide = *spans.GetCells(0, 0);
  const TDVTableCellData& tall = *spans.GetCells(0, 2);
  EXPECT_EQ(wide.ColSpan, 2);
  EXPECT_EQ(tall.RowSpan, 2);
  EXPECT_NEAR(wide.BestWidth + 2 * spans.CellPadding, 2 * column, 1.0);
  EXPECT_NEAR(tall.BestWidth + 2 * spans.CellPadding, column, 1.0);
  EXPECT_EQ(wide.BorderColor, TColor(0));
  EXPECT_TRUE(wide.VisibleBorders.Top && wide.VisibleBorders.Left);

  const TDVTableItemInfo& shaded = *tables[2];
  const TDVTableCellData& yellow = *shaded.GetCells(0, 0);
  EXPECT_EQ(yellow.Color, TColor(0x00FFFF));
  EXPECT_EQ(shaded.GetCells(0, 1)->Color, TColor(0x00FF00));
  EXPECT_EQ(yellow.BorderColor, TColor(0xFF0000));
  EXPECT_EQ(shaded.CellBorderStyle, dvtbColor);
  EXPECT_GE(shaded.CellBorderWidth, 1);
  EXPECT_EQ(doc.style.ParaStyles()[shaded.ParaNo].Alignment, dvaCenter);
}

TEST(RTFLibreOfficeTest, Fixture) {
  ExpectMixedDocument(QUILLET_FIXTURES_DIR "/rtf/mixed.rtf");
  ExpectTablesDocument(QUILLET_FIXTURES_DIR "/rtf/tables.rtf");
}

TEST(RTFLibreOfficeTest, LiveConversion) {
  if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
    if (const char* ci = std::getenv("CI"); ci && *ci) FAIL() << "soffice (LibreOffice Writer) is not installed";
    GTEST_SKIP() << "soffice (LibreOffice Writer) is not installed";
  }
  char dirTemplate[] = "/tmp/quillet_rtf_live_XXXXXX";
  ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
  const fs::path dir = dirTemplate;
  const auto convert = [&](const std::string& format, const fs::path& outDir, const std::string& files) {
    const std::string command = "timeout 300 soffice -env:UserInstallation=file://" + (dir / "profile").string() +
                                " --headless --norestore --convert-to " + format + " --outdir '" +
                                outDir.string() + "' " + files + " > '" + (dir / "soffice.log").string() + "' 2>&1";
    return std::system(command.c_str());
  };
  // The tables go through .docx, as the fixture does: LibreOffice's RTF
  // made straight from its own format ends a cell holding a table late.
  ASSERT_EQ(convert("rtf", dir, "'" QUILLET_FIXTURES_DIR "/rtf/mixed.fodt'"), 0);
  ASSERT_EQ(convert("docx", dir / "docx", "'" QUILLET_FIXTURES_DIR "/rtf/tables.fodt'"), 0);
  ASSERT_EQ(convert("rtf", dir, "'" + (dir / "docx" / "tables.docx").string() + "'"), 0);
  ExpectMixedDocument((dir / "mixed.rtf").string());
  ExpectTablesDocument((dir / "tables.rtf").string());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quillet
