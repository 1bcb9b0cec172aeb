#pragma once
// The fonts the dialogs, previews, page options, menus and the main form's
// style sheet name, by what they are for. Each role gives the family name
// that documents and settings files store; the project's font configuration
// maps most of them onto an installed family (the role's stand-ins), so they
// look and measure the same on every machine.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quillet {

enum TFontRole : uint8_t {
  frDialog, frSample, frSans, frSerif, frChineseBody, frMenu, frRuler,
  frMono, frUnicodeSans, frOfficialTitle, frOfficialBody
};

// UTF-8.
std::string_view FontFamily(TFontRole role);

// The installed families the font configuration shows the role's family in;
// empty when the family is used only where it is installed itself.
std::span<const std::string_view> FontStandIns(TFontRole role);

// The role that takes over when the role's family is not on the screen; the
// role itself ends the order.
TFontRole FontFallback(TFontRole role);

// The first role, in fallback order from role, whose family or one of its
// stand-ins is among screenFamilies (compared without regard to ASCII case);
// the last role of the order when none is, since something must be named.
TFontRole ResolveFontRole(TFontRole role, std::span<const std::string> screenFamilies);

}  // namespace quillet
