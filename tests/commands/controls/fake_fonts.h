#pragma once
// A machine's fonts as the tests choose them.
#include <map>
#include <string>
#include <vector>

#include "commands/controls/font_provider.h"

namespace quillet::test {

class TFakeFontProvider : public TFontProvider {
 public:
  std::map<std::string, std::vector<TFontEntry>> fonts;
  int ppi = 96;
  std::vector<std::string> Families() const override {
    std::vector<std::string> names;
    for (const auto& [name, entries] : fonts) names.push_back(name);
    return names;
  }
  std::vector<TFontEntry> Entries(const std::string& family) const override {
    const auto it = fonts.find(family);
    return it == fonts.end() ? std::vector<TFontEntry>() : it->second;
  }
  int PixelsPerInch() const override { return ppi; }
};

inline TFontEntry Outline(int charset) { return {true, 0, charset, ScriptName(charset)}; }
inline TFontEntry Bitmap(int height) { return {false, height, ANSI_CHARSET, ScriptName(ANSI_CHARSET)}; }

}  // namespace quillet::test
