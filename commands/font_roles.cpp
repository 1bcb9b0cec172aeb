#include "commands/font_roles.h"

#include <algorithm>
#include <array>

#include "engine/style/text_style.h"

namespace quillet {

namespace {

struct TRoleFont {
  std::string_view family;
  std::span<const std::string_view> standIns;
  TFontRole fallback;
};

// What resources/fonts/fonts.conf maps the families onto.
constexpr std::string_view kDejaVuSans[] = {"DejaVu Sans"};
constexpr std::string_view kDejaVuSerif[] = {"DejaVu Serif"};
constexpr std::string_view kDejaVuMono[] = {"DejaVu Sans Mono"};
constexpr std::string_view kWenQuanYi[] = {"WenQuanYi Micro Hei"};

// In TFontRole order.
constexpr std::array<TRoleFont, 11> kRoles = {{
    {"MS Sans Serif", kDejaVuSans, frDialog},         // dialog font
    {"Arial", kDejaVuSans, frSample},                 // preview samples
    {"Arial", kDejaVuSans, frSans},                   // body text of page options, the sheet's sans styles
    {"Times New Roman", kDejaVuSerif, frSerif},       // headers and footers of page options
    {"宋体", kWenQuanYi, frChineseBody},              // Chinese headers, footers and body text
    {"Tahoma", kDejaVuSans, frMenu},                  // menus and tool bars
    {"Small Fonts", kDejaVuSans, frRuler},            // the ruler's numbers
    {"Courier New", kDejaVuMono, frMono},             // fixed-pitch text
    {"Arial Unicode MS", kWenQuanYi, frSans},         // Unicode text of any script
    {"公文小标宋简", {}, frOfficialBody},             // titles of official documents
    {"仿宋_GB2312", kWenQuanYi, frOfficialBody},      // body text of official documents
}};

bool OnScreen(std::string_view family, std::span<const std::string> screenFamilies) {
  return std::any_of(screenFamilies.begin(), screenFamilies.end(),
                     [family](const std::string& f) { return DV_SameFontName(f, family); });
}

bool RoleOnScreen(const TRoleFont& role, std::span<const std::string> screenFamilies) {
  return OnScreen(role.family, screenFamilies) ||
         std::any_of(role.standIns.begin(), role.standIns.end(),
                     [screenFamilies](std::string_view f) { return OnScreen(f, screenFamilies); });
}

}  // namespace

std::string_view FontFamily(TFontRole role) { return kRoles.at(role).family; }

std::span<const std::string_view> FontStandIns(TFontRole role) { return kRoles.at(role).standIns; }

TFontRole FontFallback(TFontRole role) { return kRoles.at(role).fallback; }

TFontRole ResolveFontRole(TFontRole role, std::span<const std::string> screenFamilies) {
  // Each step moves to another role or stops, and the table has no cycle
  // longer than one, so the walk ends within the table's size.
  for (size_t step = 0; step < kRoles.size(); ++step) {
    if (RoleOnScreen(kRoles.at(role), screenFamilies)) return role;
    const TFontRole next = FontFallback(role);
    if (next == role) return role;
    role = next;
  }
  return role;
}

}  // namespace quillet
