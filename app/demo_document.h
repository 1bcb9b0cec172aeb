#pragma once
// The document a new default store starts with: it shows a first-time user
// what the editor holds (headings, Chinese and Latin text, a rule, a table).
#include "platform/core/colors.h"

namespace quillet {

class TCustomDVData;
class TDVStyle;

// The colour of the demo table's borders, a blue found nowhere else in the window.
constexpr TColor DemoTableColor = 0xA06020;

// Adds the styles it uses to the style sheet and the items to the document.
void BuildDemoDocument(TCustomDVData& document, TDVStyle& style);

}  // namespace quillet
