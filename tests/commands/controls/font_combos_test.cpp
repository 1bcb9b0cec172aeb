// The font lists over a fake font provider: names, sizes of outline and
// bitmap fonts, scripts kept across font changes, typed sizes.
#include "commands/controls/font_combos.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "fake_fonts.h"
#include "platform/core/beep.h"
#include "render_support.h"

namespace quillet::test {
namespace {

struct FontFixture {
  FontFixture() {
    provider.fonts["Arial"] = {Outline(ANSI_CHARSET), Outline(RUSSIAN_CHARSET), Outline(GREEK_CHARSET),
                               Outline(MAC_CHARSET), Outline(ANSI_CHARSET)};
    provider.fonts["宋体"] = {Outline(GB2312_CHARSET), Outline(ANSI_CHARSET)};
    // 13 and 14 pixels both round to 10 points at 96 per inch (halves to even).
    provider.fonts["Small"] = {Bitmap(16), Bitmap(8), Bitmap(13), Bitmap(14), Bitmap(8)};
  }
  QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
  }
  TFakeFontProvider provider;
};

TEST(FontCombos, NamesAreTheProvidersFamilies) {
  FontFixture f;
  TDVFontComboBox names(nullptr, f.provider);
  EXPECT_EQ(f.Items(names), (QStringList{"Arial", "Small", "宋体"}));
}

TEST(FontCombos, SizesOfOutlineAndBitmapFonts) {
  FontFixture f;
  TDVFontSizeComboBox sizes(nullptr, f.provider);
  int changes = 0;
  sizes.OnChange = [&](TDVFontSizeComboBox&) { ++changes; };
  sizes.setEditText("12");
  changes = 0;
  sizes.SetFontName("Arial");
  EXPECT_EQ(f.Items(sizes), (QStringList{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28",
                                         "36", "48", "72"}));
  EXPECT_EQ(sizes.currentIndex(), 4);
  EXPECT_EQ(changes, 1);
  sizes.SetFontName("Small");
  EXPECT_EQ(f.Items(sizes), (QStringList{"6", "10", "12"}));
  EXPECT_EQ(sizes.currentIndex(), 2);
  EXPECT_EQ(sizes.currentText(), "12");
  f.provider.ppi = 0;  // a screen that reports nothing adds no bitmap sizes
  sizes.SetFontName("Small");
  EXPECT_EQ(sizes.count(), 0);
  changes = 0;
  sizes.SetFontName("");
  EXPECT_EQ(sizes.count(), 0);
  EXPECT_EQ(changes, 0);
}

TEST(FontCombos, SizeTypingTakesDigitsOnly) {
  FontFixture f;
  QWidget window;
  auto* sizes = new TDVFontSizeComboBox(&window, f.provider);
  window.show();
  (void)QTest::qWaitForWindowExposed(&window);
  int beeps = 0;
  SetSystemBeepHandler([&] { ++beeps; });
  sizes->setFocus();
  sizes->setEditText("");
  QTest::keyClicks(sizes->lineEdit(), "1a2.-");
  EXPECT_EQ(sizes->currentText(), "12");
  EXPECT_EQ(beeps, 3);
  SetSystemBeepHandler(nullptr);
}

TEST(FontCombos, ScriptsSortedOnceEachAndKeptAcrossFonts) {
  FontFixture f;
  TDVFontCharsetComboBox scripts(nullptr, f.provider);
  int changes = 0;
  scripts.OnChange = [&](TDVFontCharsetComboBox&) { ++changes; };
  scripts.SetFontName("Arial");
  ASSERT_EQ(scripts.count(), 3);  // the Macintosh set and the repeat are left out
  for (int i = 1; i < scripts.count(); ++i)
    EXPECT_LE(QString::localeAwareCompare(scripts.itemText(i - 1).toLower(), scripts.itemText(i).toLower()), 0);
  EXPECT_EQ(scripts.currentIndex(), 0);
  EXPECT_EQ(changes, 1);
  scripts.setCurrentIndex(scripts.IndexOfCharset(ANSI_CHARSET));
  scripts.SetFontName("宋体");
  EXPECT_EQ(scripts.GetCharsets(scripts.currentIndex()), ANSI_CHARSET);
  scripts.setCurrentIndex(scripts.IndexOfCharset(GB2312_CHARSET));
  scripts.SetFontName("Arial");
  EXPECT_EQ(scripts.currentIndex(), 0);  // the new font lacks it: the first script
  EXPECT_EQ(scripts.IndexOfCharset(GB2312_CHARSET), -1);
  EXPECT_EQ(scripts.GetCharsets(99), -1);
  scripts.SetAddDefaultCharset(true);
  EXPECT_EQ(scripts.itemText(scripts.count() - 1), "(Default)");
  EXPECT_EQ(scripts.GetCharsets(scripts.count() - 1), DEFAULT_CHARSET);
  changes = 0;
  scripts.SetFontName("");
  EXPECT_EQ(scripts.count(), 0);
  EXPECT_EQ(changes, 0);
}

TEST(FontCombos, SystemProviderListsThePinnedFonts) {
  const std::vector<std::string> families = SystemFontProvider().Families();
  ASSERT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
  TDVFontCharsetComboBox scripts;
  scripts.SetFontName("WenQuanYi Micro Hei");
  EXPECT_GE(scripts.IndexOfCharset(GB2312_CHARSET), 0);
  TDVFontSizeComboBox sizes;
  sizes.SetFontName("DejaVu Sans");
  EXPECT_EQ(sizes.count(), 16);
}

TEST(FontCombos, Render) {
  FontFixture f;
  QWidget window;
  window.resize(300, 40);
  auto* scripts = new TDVFontCharsetComboBox(&window, f.provider);
  scripts->setGeometry(5, 5, 200, 26);
  scripts->SetFontName("宋体");
  window.show();
  (void)QTest::qWaitForWindowExposed(&window);
  const QImage image = scripts->grab().toImage();
  SaveRender(image, "font_charset_combo");
  int dark = 0;
  for (int x = 4; x < 120; ++x)
    for (int y = 4; y < image.height() - 4; ++y) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 10);  // the script's name is drawn
}

}  // namespace
}  // namespace quillet::test
