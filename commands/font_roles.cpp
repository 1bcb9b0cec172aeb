#include "commands/font_roles.h"

#include <array>

namespace quillet {

namespace {

// In TFontRole order.
constexpr std::array<std::string_view, 7> kFamilies = {
    "MS Sans Serif",    // dialog font
    "Arial",            // preview samples
    "Arial",            // body text of page options
    "Times New Roman",  // headers and footers of page options
    "宋体",             // Chinese headers, footers and body text
    "Tahoma",           // menus and tool bars
    "Small Fonts",      // the ruler's numbers
};

}  // namespace

std::string_view FontFamily(TFontRole role) { return kFamilies.at(role); }

}  // namespace quillet
