#pragma once
// What the font lists ask of the machine's fonts: the installed families and
// each family's entries, one per script it supports, with the sizes of a
// bitmap font. Over Qt's font database, or a fake in tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/code_page.h"

namespace quillet {

// One entry of a family: a scalable outline font, or a bitmap font of one
// size (its cell height less internal leading, in pixels), in one script.
struct TFontEntry {
  bool Scalable = true;
  int32_t CharHeight = 0;
  int Charset = ANSI_CHARSET;
  std::string ScriptName;  // UTF-8
};

class TFontProvider {
 public:
  virtual ~TFontProvider() = default;
  // Sorted by name.
  virtual std::vector<std::string> Families() const = 0;
  // Empty for a family not installed.
  virtual std::vector<TFontEntry> Entries(const std::string& family) const = 0;
  // The screen's vertical pixels per inch.
  virtual int PixelsPerInch() const = 0;
};

// The machine's fonts.
TFontProvider& SystemFontProvider();

// The script name of a character set; empty for one the table lacks.
std::string ScriptName(int charset);

}  // namespace quillet
