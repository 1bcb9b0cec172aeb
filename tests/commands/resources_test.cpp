// The string table and the font roles.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>

#include "commands/font_roles.h"
#include "commands/resource_strings.h"

namespace quillet::test {
namespace {

TEST(ResourceStrings, TextsByNumberAndPlaceholders) {
  EXPECT_EQ(LoadResString(dvrsConfirm), "确认");
  EXPECT_EQ(LoadResString(dvrsFilterHTML), "HTML - Simplified (*.htm;*.html)|*.htm;*.html");
  EXPECT_EQ(LoadResString(65190), "");
  EXPECT_EQ(ReplacePlaceholder(LoadResString(dvrsSaveChanges), "%s", "a%d.dvf"), "是否保存对 a%d.dvf 的修改?");
  EXPECT_EQ(ReplacePlaceholder(LoadResString(dvrsReplaced), "%d", "12"), "12 个字符串被替换");
  EXPECT_EQ(ReplacePlaceholder("no placeholder", "%s", "x"), "no placeholder");
}

TEST(FontRoles, EveryRoleResolvesToAPinnedFamily) {
  struct Case {
    TFontRole role;
    const char* family;
  } cases[] = {{frDialog, "DejaVu Sans"}, {frSample, "DejaVu Sans"}, {frSans, "DejaVu Sans"},
               {frSerif, "DejaVu Serif"}, {frChineseBody, "WenQuanYi Micro Hei"}, {frMenu, "DejaVu Sans"},
               {frRuler, "DejaVu Sans"}, {frMono, "DejaVu Sans Mono"}, {frUnicodeSans, "WenQuanYi Micro Hei"},
               {frOfficialBody, "WenQuanYi Micro Hei"}};
  for (const Case& c : cases) {
    const std::string_view name = FontFamily(c.role);
    const QFont font(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    EXPECT_EQ(QFontInfo(font).family(), c.family) << name;
    // The stand-ins the fallback checks are what the font configuration maps onto.
    ASSERT_FALSE(FontStandIns(c.role).empty()) << name;
    EXPECT_EQ(FontStandIns(c.role).front(), c.family) << name;
  }
}

}  // namespace
}  // namespace quillet::test
