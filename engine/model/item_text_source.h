#pragma once
// What the drawing-item list needs from a document: an item's stored text
// and whether that text is UTF-16. The document data implements it.
#include <string>

namespace quillet {

class TDVItemTextSource {
 public:
  virtual ~TDVItemTextSource() = default;
  // The item's text as stored: bytes in the code page, or, for a Unicode
  // item, UTF-16LE code units two bytes each.
  virtual const std::string& GetItemTextR(int itemNo) const = 0;
  virtual bool IsItemUnicode(int itemNo) const = 0;
};

}  // namespace quillet
