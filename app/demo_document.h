#pragma once
// The document a new default store starts with: it shows a first-time user
// what the editor holds (headings, Chinese and Latin text, a list, a rule).
namespace quillet {

class TCustomDVData;
class TDVStyle;

// Adds the styles it uses to the style sheet and the items to the document.
void BuildDemoDocument(TCustomDVData& document, TDVStyle& style);

}  // namespace quillet
