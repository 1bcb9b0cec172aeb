#include "interchange/rtf/rtf_document_tables.h"

#include <algorithm>

namespace quillet {

TDVRTFFont& TDVRTFFontList::Add(int32_t number) {
  byNumber_.emplace(number, Count());  // the first font of a number wins
  TDVRTFFont& font = fonts_.emplace_back();
  font.Number = number;
  return font;
}

int TDVRTFFontList::GetFontIndex(int32_t number, int def) const {
  const auto it = byNumber_.find(number);
  return it == byNumber_.end() ? def : it->second;
}

void TDVRTFFontList::Clear() {
  fonts_.clear();
  byNumber_.clear();
}

void TDVRTFColorList::SetChannel(int shift, int32_t value) {
  if (colors_.empty()) return;
  TColor& color = colors_.back();
  if (color == rtf_AutoColor) color = 0;
  color |= static_cast<TColor>(std::clamp(value, 0, 255)) << shift;
}

TDVRTFStyleSheetEntry& TDVRTFStyleSheet::Add() {
  entries_.push_back(std::make_unique<TDVRTFStyleSheetEntry>());
  return *entries_.back();
}

const TDVRTFStyleSheetEntry* TDVRTFStyleSheet::GetEntry(int32_t number) const {
  const auto it = byNumber_.find(number);
  return it == byNumber_.end() ? nullptr : it->second;
}

void TDVRTFStyleSheet::Clear() {
  entries_.clear();
  byNumber_.clear();
}

TColor GetHighlightColor(int32_t index) {
  static constexpr TColor kColors[] = {0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF,
                                       0x00FFFF, 0xFFFFFF, 0x800000, 0x808000, 0x008000, 0x800080,
                                       0x000080, 0x008080, 0x808080, 0xC0C0C0};
  return index >= 1 && index <= 16 ? kColors[index - 1] : clNone;
}

}  // namespace quillet
