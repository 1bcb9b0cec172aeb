// Arbitrary bytes as an XML import file. Beyond not crashing or recursing:
// every tag knows its parent, level and tree, decoding makes no NUL that the
// input did not hold, and parsing into a used tree gives the same tree as
// parsing into a new one.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/xml/xml_text.h"
#include "interchange/xml/xml_tree.h"

using namespace quillet;

namespace {

// Every tag in document order, with its level, name, text and attributes;
// aborts on a broken link. Walks without recursion.
std::string Flatten(TXMLTree& tree, bool inputHasNul) {
  std::string out;
  std::vector<const TXMLTag*> stack{&tree};
  while (!stack.empty()) {
    const TXMLTag* tag = stack.back();
    stack.pop_back();
    if (tag->Root() != &tree) std::abort();
    if (tag != &tree && (tag->Parent() == nullptr || tag->Level() != tag->Parent()->Level() + 1)) std::abort();
    if (!inputHasNul && (tag->Value.find('\0') != std::string::npos ||
                         tag->WValue.find(u'\0') != std::u16string::npos))
      std::abort();
    out += std::to_string(tag->Level()) + '<' + tag->Name + '>' + tag->Value + '|';
    out.append(reinterpret_cast<const char*>(tag->WValue.data()), tag->WValue.size() * 2);
    out += tag->ValueType == TXMLValueType::vtCDATA ? "!" : "";
    for (int i = 0; i < tag->Attributes().Count(); ++i) {
      const TXMLAttr* attr = tag->Attributes().Get(i);
      if (!inputHasNul && attr->Value.find('\0') != std::string::npos) std::abort();
      out += ' ' + attr->Name + '=' + attr->Value;
    }
    for (int i = tag->Children().Count() - 1; i >= 0; --i) {
      const TXMLTag* child = tag->Children().Get(i);
      if (child->Parent() != tag) std::abort();
      stack.push_back(child);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool hasNul = text.find('\0') != std::string_view::npos;

  if (!hasNul) {
    if (Clean(text).find('\0') != std::string::npos) std::abort();
    if (CleanUnicode(CleanUni(text)).find(u'\0') != std::u16string::npos) std::abort();
  }

  TXMLTree fresh("windows-1250");
  fresh.AddUnicodeElement("utext");
  fresh.Parse(text);
  const std::string expected = Flatten(fresh, hasNul);

  TXMLTree used("windows-1250");
  used.AddUnicodeElement("utext");
  used.Parse("<book><document><text a=\"1\">x</text><utext>&#20013;</utext></document>stray");
  used.Parse(text);
  if (Flatten(used, hasNul) != expected || used.Encoding != fresh.Encoding) std::abort();
  return 0;
}
