// The main form's style sheets: the editor's text styles with their fonts by
// role, the fonts chosen from the screen's families at form creation, and
// the XML import's sheet.
#include "host/form/main_style_sheet.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>

#include "commands/controls/font_provider.h"
#include "commands/font_roles.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

constexpr TDVProtectOptions kAll = 0xFF;

TEST(MainStyleSheet, EditorTextStyles) {
  TDVStyle sheet;
  InitMainStyleSheet(sheet);
  struct Case {
    const char* name;
    TFontRole role;
    int32_t size;
    TFontStyles style;
    bool jump, unicode;
    TDVProtectOptions protection;
  } cases[] = {
      {"Normal", frSans, 10, 0, false, false, 0},
      {"Heading", frSans, 14, fsBold, false, false, 0},
      {"Subheading", frSans, 12, fsBold, false, false, 0},
      {"Monospace", frMono, 10, 0, false, false, 0},
      {"Jump Sans", frSans, 10, fsUnderline, true, false, 0},
      {"Colored Jump Serif", frSerif, 10, fsUnderline, true, false, 0},
      {"Symbols", frSans, 10, 0, false, false, 0},
      {"Subscript", frSans, 7, 0, false, false, 0},
      {"Superscript", frSans, 7, 0, false, false, 0},
      {"Vector", frSans, 10, 0, false, false, 0},
      {"Window Caption", frSans, 10, fsBold, false, false, 0},
      {"Unicode", frUnicodeSans, 10, 0, false, true, 0},
      {"Cell ReadOnly Style", frSans, 10, 0, false, false, kAll},
  };
  ASSERT_EQ(sheet.TextStyles().Count(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < sheet.TextStyles().Count(); ++i) {
    const Case& c = cases[i];
    const TFontInfo& style = sheet.TextStyles().Items(i);
    EXPECT_EQ(style.StyleName, c.name) << i;
    EXPECT_EQ(style.FontName, FontFamily(c.role)) << c.name;
    EXPECT_EQ(style.Size, c.size) << c.name;
    EXPECT_EQ(style.Style, c.style) << c.name;
    EXPECT_EQ(style.Jump, c.jump) << c.name;
    EXPECT_EQ(style.Unicode, c.unicode) << c.name;
    EXPECT_EQ(style.Protection, c.protection) << c.name;
  }
  EXPECT_EQ(sheet.DefUnicodeStyle, kMainUnicodeStyle);
  EXPECT_EQ(sheet.TextStyles().Items(kMainCellReadOnlyStyle).StyleName, "Cell ReadOnly Style");
  // Scripts sit off the base line on the side their name says.
  EXPECT_LT(sheet.TextStyles().Items(7).VShift, 0);
  EXPECT_GT(sheet.TextStyles().Items(8).VShift, 0);
}

TEST(MainStyleSheet, FontsFittedToTheScreen) {
  struct Case {
    const char* what;
    std::vector<std::string> screen;
    const char* unicodeFont;
    const char* normalFont;
  } cases[] = {
      {"no fonts at all", {}, "Arial", "仿宋_GB2312"},
      {"both faces installed", {"Arial Unicode MS", "公文小标宋简"}, "Arial Unicode MS", "公文小标宋简"},
      {"names compared without case", {"arial unicode ms", "DejaVu Sans"}, "Arial Unicode MS", "仿宋_GB2312"},
      {"the pinned stand-in counts", {"WenQuanYi Micro Hei"}, "Arial Unicode MS", "仿宋_GB2312"},
      {"only Latin faces", {"DejaVu Sans", "DejaVu Serif"}, "Arial", "仿宋_GB2312"},
      {"title face without Unicode face", {"公文小标宋简"}, "Arial", "公文小标宋简"},
  };
  for (const Case& c : cases) {
    TDVStyle sheet;
    InitMainStyleSheet(sheet);
    AdaptMainStyleSheet(sheet, c.screen);
    const TFontInfos& styles = sheet.TextStyles();
    EXPECT_EQ(styles.Items(kMainUnicodeStyle).FontName, c.unicodeFont) << c.what;
    EXPECT_EQ(styles.Items(kMainNormalStyle).FontName, c.normalFont) << c.what;
    EXPECT_EQ(styles.Items(kMainSymbolStyle).Charset, SYMBOL_CHARSET) << c.what;
    // Nothing else moves.
    EXPECT_EQ(styles.Items(3).FontName, FontFamily(frMono)) << c.what;
    EXPECT_EQ(styles.Items(kMainNormalStyle).Charset, DEFAULT_CHARSET) << c.what;
    EXPECT_TRUE(styles.Items(kMainUnicodeStyle).Unicode) << c.what;
  }
}

// On this machine's fonts the chosen families show in the pinned faces.
TEST(MainStyleSheet, ScreenFontsOfThisMachine) {
  TDVStyle sheet;
  InitMainStyleSheet(sheet);
  AdaptMainStyleSheet(sheet, SystemFontProvider().Families());
  for (const int32_t no : {kMainNormalStyle, kMainUnicodeStyle}) {
    const QFont font(QString::fromStdString(sheet.TextStyles().Items(no).FontName));
    EXPECT_EQ(QFontInfo(font).family(), "WenQuanYi Micro Hei") << no;
  }
}

TEST(MainStyleSheet, AdaptingAShortSheetTouchesOnlyWhatItHas) {
  TDVStyle sheet;  // the class's six styles
  AdaptMainStyleSheet(sheet, std::vector<std::string>{});
  ASSERT_EQ(sheet.TextStyles().Count(), 6);
  EXPECT_EQ(sheet.TextStyles().Items(kMainNormalStyle).FontName, "仿宋_GB2312");
}

TEST(MainStyleSheet, XMLImportSheetIsTheClassDefault) {
  const TDVStyle fresh;
  TDVStyle sheet;
  InitMainStyleSheet(sheet);
  InitXMLImportStyleSheet(sheet);
  ASSERT_EQ(sheet.TextStyles().Count(), fresh.TextStyles().Count());
  for (int i = 0; i < fresh.TextStyles().Count(); ++i)
    EXPECT_TRUE(sheet.TextStyles().Items(i).IsSimpleEqual(fresh.TextStyles().Items(i))) << i;
  EXPECT_EQ(sheet.ParaStyles().Count(), fresh.ParaStyles().Count());
  EXPECT_EQ(sheet.DefUnicodeStyle, -1);
}

TEST(FontRoleFallback, OrderEndsInAFamilyEvenWhenNothingIsInstalled) {
  const std::vector<std::string> none;
  const std::vector<std::string> sansOnly{"Arial"};
  struct Case {
    TFontRole role;
    const std::vector<std::string>& screen;
    TFontRole resolved;
  } cases[] = {
      {frUnicodeSans, none, frSans},      {frUnicodeSans, sansOnly, frSans},
      {frOfficialTitle, none, frOfficialBody}, {frOfficialBody, none, frOfficialBody},
      {frSerif, none, frSerif},           {frSans, sansOnly, frSans},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveFontRole(c.role, c.screen), c.resolved) << FontFamily(c.role);
}

}  // namespace
}  // namespace quillet::test
