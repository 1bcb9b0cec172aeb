#pragma once
// The XML import's parse tree and its tolerant parser: one forward pass that
// never fails and stops quietly at markup it cannot finish. Text stays 8-bit
// in the system code page; the declared encoding is recorded, never applied.
// Only the Unicode elements named in the tree get UTF-16 text.
#include <string>
#include <string_view>
#include <vector>

#include "interchange/xml/xml_tag.h"

namespace quillet {

class TStream;

class TXMLTree : public TXMLTag {
 public:
  explicit TXMLTree(std::string encoding);

  // Given at creation; an XML declaration's "encoding" replaces it.
  std::string Encoding;
  // The folder picture file names are resolved against, set by the caller.
  std::string BaseFilePath;

  // Elements whose text is decoded to UTF-16 (WValue), by name without
  // regard to case.
  void AddUnicodeElement(std::string name) { unicodeElements_.push_back(std::move(name)); }
  bool IsUnicodeElement(std::string_view name) const;
  const std::vector<std::string>& UnicodeElements() const { return unicodeElements_; }

  // Every byte from the stream's position to its end, parsed.
  void LoadFromStream(TStream& stream);
  // Replaces the tree's children, attributes and text with those of s.
  void Parse(std::string_view s);

 private:
  std::vector<std::string> unicodeElements_;
};

}  // namespace quillet
