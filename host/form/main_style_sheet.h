#pragma once
// The main form's two style sheets: the editor's, with the text styles the
// form's commands and tables refer to by number, and the one XML import
// loads into; and the font choices made once the screen's fonts are known.
#include <cstdint>
#include <span>
#include <string>

namespace quillet {

class TDVStyle;

// Text styles of the editor's sheet that the form refers to by number.
constexpr int32_t kMainNormalStyle = 0, kMainSymbolStyle = 6, kMainUnicodeStyle = 11, kMainCellReadOnlyStyle = 12;

// Replaces the sheet's text styles with the editor's and makes style 11 the
// default for Unicode text; paragraph and list styles are left as they are.
void InitMainStyleSheet(TDVStyle& sheet);

// The XML import's sheet: the class's own styles, which an import replaces.
void InitXMLImportStyleSheet(TDVStyle& sheet);

// The editor's sheet fitted to the screen's font families: the Unicode style
// and the normal style take the first of their roles, in fallback order, that
// the screen has (normal text prefers the official-title face), and the
// symbol style takes the symbol character set. Styles the sheet lacks are
// left out.
void AdaptMainStyleSheet(TDVStyle& sheet, std::span<const std::string> screenFamilies);

}  // namespace quillet
