#pragma once
// The option bits of a document item.
#include <cstdint>

namespace quillet {

enum TDVItemOption : uint8_t {
  dvioSameAsPrev = 1,       // continues the previous item's paragraph
  dvioPageBreakBefore = 2,  // a page break precedes the paragraph this item starts
  dvioBR = 4,               // starts a new line inside the same paragraph
  dvioUnicode = 8,          // a text item whose string holds UTF-16LE code units
};
using TDVItemOptions = uint8_t;

}  // namespace quillet
