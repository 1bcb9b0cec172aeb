#include "commands/dialogs/text_options.h"

#include "commands/font_roles.h"
#include "commands/resource_strings.h"

namespace quillet {

namespace {

TFont RoleFont(TFontRole role, int32_t points, TFontStyles style) {
  TFont font;
  font.Name = std::string(FontFamily(role));
  font.SetSize(points);
  font.Style = style;
  return font;
}

}  // namespace

TFont HeaderFontDefault() { return RoleFont(frSerif, 18, fsBold); }
TFont FooterFontDefault() { return RoleFont(frSerif, 10, fsItalic); }

TTextOptions::TTextOptions() : BodyFont(RoleFont(frSans, 10, 0)) {}

std::string PageNumberText(std::string_view text, int32_t page, int32_t count) {
  // The numbers hold no "%d", so the second search finds the text's own.
  return ReplacePlaceholder(ReplacePlaceholder(text, "%d", std::to_string(page)), "%d", std::to_string(count));
}

}  // namespace quillet
