#pragma once
// The fonts the dialogs, previews, page options and menus name, by what they
// are for. Each role gives the family name that documents and settings files
// store; the project's font configuration maps every one of them onto an
// installed family, so they look and measure the same on every machine.
#include <cstdint>
#include <string_view>

namespace quillet {

enum TFontRole : uint8_t { frDialog, frSample, frSans, frSerif, frChineseBody, frMenu, frRuler };

// UTF-8.
std::string_view FontFamily(TFontRole role);

}  // namespace quillet
