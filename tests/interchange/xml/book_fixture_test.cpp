// A whole "book" file with styles, bullets, print settings, pictures from
// data and from a file beside it, a checkpoint, a page break, a table and a
// list, loaded into an editor and painted on the Qt canvas.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "engine/layout/draw_lines.h"
#include "engine/model/bullet_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/picture_item.h"
#include "engine/print/print_component.h"
#include "platform/gfx/fake_printer_device.h"
#include "xml_import_util.h"

namespace quillet::test {
namespace {

int DarkPixels(const QImage& image, int left, int top, int width, int height) {
  int n = 0;
  for (int y = std::max(0, top); y < std::min(image.height(), top + height); ++y)
    for (int x = std::max(0, left); x < std::min(image.width(), left + width); ++x)
      if (qGray(image.pixel(x, y)) < 100) ++n;
  return n;
}

using XmlBook = XmlImportTest;

TEST_F(XmlBook, LoadsAndPaintsItsText) {
  TFakePrinterDevice printer;
  TDVPrint print(printer);
  xml.DVPrint = &print;
  xml.LoadPrint = true;
  xml.StyleLoadingMode = slmReplace;
  editor->Widget()->resize(600, 500);
  xml.LoadFromFile(QUILLET_FIXTURES_DIR "/xml/book.xml");

  ASSERT_EQ(sheet.TextStyles().Count(), 3);
  EXPECT_EQ(sheet.TextStyles()[1].StyleName, "Heading");
  EXPECT_EQ(sheet.ParaStyles()[1].Alignment, dvaCenter);
  EXPECT_EQ(sheet.InactiveSelColor, clGray);
  EXPECT_EQ(print.LeftMarginMM(), 25);
  EXPECT_FALSE(print.TransparentBackground());
  EXPECT_EQ(editor->Color, clWhite);
  EXPECT_EQ(Items(),
            "|[\xB5\xDA\xD2\xBB\xD5\xC2 \xD7\xDC\xD4\xF2/1/1]"
            "|[\xB1\xBE\xB0\xEC\xB7\xA8\xCA\xCA\xD3\xC3\xD3\xDA\xB9\xAB\xCE\xC4\xB5\xC4\xC6\xF0\xB2\xDD\xD3\xEB"
            "\xC9\xF3\xBA\xCB\xA1\xA3/0/0]"
            "|[u55006E00690063006F006400650020002D4E876520007400650078007400/2/0]bul/0[after the bullet/0/0]"
            "|pic/0pic/0#chapter-1"
            "^tbl/0{|[\xCF\xEE\xC4\xBF/0/0],|[\xCB\xB5\xC3\xF7/0/0];|[merged cell/0/0],-}"
            "|brk/0|mk/0[listed item/0/0]");
  const auto& fromFile = editor->DVData().CheckItemClass<TDVGraphicItemInfo>(5);
  ASSERT_NE(fromFile.Image, nullptr);
  EXPECT_EQ(fromFile.Image->Width(), 8);
  EXPECT_EQ(editor->DVData().CheckItemClass<TDVBulletItemInfo>(3).ImageList->Width(), 6);

  // The heading and the body text are painted where the layout put them.
  const QImage image = editor->ClientWidget()->grab().toImage();
  int painted = 0;
  for (int i = 0; i < 2; ++i) {
    const TDVDrawLineInfo* line = editor->DVData().DrawItems[editor->GetItem(i)->DrawItemNo];
    int32_t left, top;
    ASSERT_TRUE(editor->GetItemClientCoords(i, left, top));
    EXPECT_GT(DarkPixels(image, left, top, line->Width, line->Height), 30) << i;
    painted += DarkPixels(image, left, top, line->Width, line->Height);
  }
  EXPECT_LT(painted, DarkPixels(image, 0, 0, image.width(), image.height()));
}

}  // namespace
}  // namespace quillet::test
