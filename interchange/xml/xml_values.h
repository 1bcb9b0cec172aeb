#pragma once
// The value conventions every element reader of the XML import shares, and
// the rule tables that map an element's attributes, in document order, onto
// the properties of one object.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <stdexcept>
#include <utility>

#include "interchange/xml/xml_tag.h"
#include "platform/core/colors.h"

namespace quillet {

class TGraphic;
class TMemoryStream;

// A file the import cannot take: no root element, or content beyond the
// limits of what it builds.
class EDocViewXMLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A class name that no registered class bears.
class EClassNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Names compare without regard to letter case (ASCII letters only, so a
// trail byte of a double-byte character is never folded).
bool SameName(std::string_view name, std::string_view lowerName);

// One of the keywords after lower-casing the text; others leave the value.
template <class T>
void ReadKeyword(std::string_view s, const std::pair<std::string_view, T>* first,
                 const std::pair<std::string_view, T>* last, T& value) {
  for (; first != last; ++first)
    if (SameName(s, first->first)) {
      value = first->second;
      return;
    }
}

// Exactly "1" sets, exactly "0" clears; anything else leaves the value.
void ReadFlag(std::string_view s, bool& value);
// The same for one bit of a set; `inverted` when "1" clears the bit.
template <class T>
void ReadFlagBit(std::string_view s, T& set, T bit, bool inverted = false) {
  if (s != "1" && s != "0") return;
  if ((s == "1") != inverted)
    set = static_cast<T>(set | bit);
  else
    set = static_cast<T>(set & ~bit);
}
// Decimal or "$" hexadecimal; text that is no integer leaves the value.
void ReadInt(std::string_view s, int32_t& value);
// Kept in one byte, as the format's byte properties are.
void ReadByte(std::string_view s, uint8_t& value);
// A colour identifier ("clRed") or an integer; other text raises
// EConvertError.
TColor ReadColor(std::string_view s);
// A character-set identifier ("GB2312_CHARSET"); unknown ones leave the value.
void ReadCharset(std::string_view s, uint8_t& value);
template <class T>
using TXMLKeyword = std::pair<std::string_view, T>;
template <class T>
void ReadKeyword(std::string_view s, std::initializer_list<TXMLKeyword<T>> keywords, T& value) {
  ReadKeyword(s, keywords.begin(), keywords.end(), value);
}
template <class T, size_t N>
void ReadKeyword(std::string_view s, const TXMLKeyword<T> (&keywords)[N], T& value) {
  ReadKeyword(s, keywords, keywords + N, value);
}
// Picture data: hexadecimal text, two digits per byte, up to the first
// character that is no digit.
std::unique_ptr<TMemoryStream> ReadPictureData(std::string_view s);
// A file reference: the name after the tree's base file path.
std::string FileReference(const TXMLTag& tag, std::string_view fileName);
// Whether a regular file of that name is there.
bool FileExists(const std::string& fileName);
// A new empty graphic of a registered class ("TBitmap", "TIcon", "TMetafile",
// "TJPEGImage"); EClassNotFound for any other name.
std::unique_ptr<TGraphic> CreateRegisteredGraphic(std::string_view className);
// A graphic of the class loaded from the data; EInvalidGraphic when the data
// is no such picture.
void LoadGraphicData(TGraphic& graphic, std::string_view hexData);

// One attribute's effect on an object of type T.
template <class T>
struct TXMLAttrRule {
  std::string_view name;  // lower case
  void (*apply)(T& target, std::string_view value);
};

// Applies the rule of each attribute of the element, in document order;
// attributes without a rule are passed over.
template <class T, size_t N>
void ApplyAttributes(const TXMLTag& tag, const TXMLAttrRule<T> (&rules)[N], T& target) {
  for (int i = 0; i < tag.Attributes().Count(); ++i) {
    const TXMLAttr* attr = tag.Attributes().Get(i);
    for (const TXMLAttrRule<T>& rule : rules)
      if (SameName(attr->Name, rule.name)) {
        rule.apply(target, attr->Value);
        break;
      }
  }
}


}  // namespace quillet
