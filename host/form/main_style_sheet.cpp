#include "host/form/main_style_sheet.h"

#include <array>

#include "commands/font_roles.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

constexpr TDVProtectOptions kEveryProtection = dvprStyleProtect | dvprModifyProtect | dvprDeleteProtect |
                                               dvprConcateProtect | dvprDVFInsertProtect | dvprDoNotAutoSwitch |
                                               dvprParaStartProtect | dvprSticking;

struct TMainTextStyle {
  const char* name;
  TFontRole role;
  int32_t size;
  TFontStyles style;
  TColor color;
  TColor backColor;
  int32_t vShift;
  bool jump;
  bool unicode;
  TDVProtectOptions protection;
};

// In number order. Names that held a face name name the role instead, so
// that they stay true whichever family the role ends up in.
constexpr std::array<TMainTextStyle, 13> kStyles = {{
    {"Normal", frSans, 10, 0, clWindowText, clNone, 0, false, false, 0},
    {"Heading", frSans, 14, fsBold, clBlue, clNone, 0, false, false, 0},
    {"Subheading", frSans, 12, fsBold, clNavy, clNone, 0, false, false, 0},
    {"Monospace", frMono, 10, 0, clWindowText, clNone, 0, false, false, 0},
    {"Jump Sans", frSans, 10, fsUnderline, clBlue, clNone, 0, true, false, 0},
    {"Colored Jump Serif", frSerif, 10, fsUnderline, clGreen, clNone, 0, true, false, 0},
    {"Symbols", frSans, 10, 0, clWindowText, clNone, 0, false, false, 0},
    {"Subscript", frSans, 7, 0, clWindowText, clNone, -30, false, false, 0},
    {"Superscript", frSans, 7, 0, clWindowText, clNone, 50, false, false, 0},
    {"Vector", frSans, 10, 0, clWindowText, clNone, 0, false, false, 0},
    {"Window Caption", frSans, 10, fsBold, clCaptionText, clActiveCaption, 0, false, false, 0},
    {"Unicode", frUnicodeSans, 10, 0, clWindowText, clNone, 0, false, true, 0},
    {"Cell ReadOnly Style", frSans, 10, 0, clWindowText, clNone, 0, false, false, kEveryProtection},
}};

void SetRoleFont(TFontInfo& style, TFontRole role) { style.FontName = std::string(FontFamily(role)); }

}  // namespace

void InitMainStyleSheet(TDVStyle& sheet) {
  TFontInfos& styles = sheet.TextStyles();
  styles.Clear();
  for (const TMainTextStyle& s : kStyles) {
    TFontInfo& style = styles.Add();
    style.StyleName = s.name;
    SetRoleFont(style, s.role);
    style.Size = s.size;
    style.Style = s.style;
    style.Color = s.color;
    style.BackColor = s.backColor;
    style.VShift = s.vShift;
    style.Jump = s.jump;
    if (s.jump) style.JumpCursor = sheet.JumpCursor;
    style.Unicode = s.unicode;
    style.Protection = s.protection;
  }
  sheet.DefUnicodeStyle = kMainUnicodeStyle;
}

void InitXMLImportStyleSheet(TDVStyle& sheet) {
  sheet.ResetTextStyles();
  sheet.ResetParaStyles();
  sheet.ListStyles().Clear();
  sheet.DefUnicodeStyle = -1;
}

void AdaptMainStyleSheet(TDVStyle& sheet, std::span<const std::string> screenFamilies) {
  TFontInfos& styles = sheet.TextStyles();
  if (styles.Count() > kMainUnicodeStyle)
    SetRoleFont(styles.Items(kMainUnicodeStyle), ResolveFontRole(frUnicodeSans, screenFamilies));
  if (styles.Count() > kMainSymbolStyle) styles.Items(kMainSymbolStyle).Charset = SYMBOL_CHARSET;
  if (styles.Count() > kMainNormalStyle)
    SetRoleFont(styles.Items(kMainNormalStyle), ResolveFontRole(frOfficialTitle, screenFamilies));
}

}  // namespace quillet
