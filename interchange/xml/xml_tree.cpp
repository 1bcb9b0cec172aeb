#include "interchange/xml/xml_tree.h"

#include <algorithm>

#include "interchange/xml/xml_text.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

// A text run replaces the element's text before it, so with mixed content
// the last run before a tag remains.
void SetText(TXMLTag& tag, bool unicode, std::string_view text) {
  if (unicode)
    tag.WValue = CleanUnicode(CleanUni(text));
  else
    tag.Value = Clean(text);
}

}  // namespace

TXMLTree::TXMLTree(std::string encoding) : TXMLTag({}, nullptr, this), Encoding(std::move(encoding)) {}

bool TXMLTree::IsUnicodeElement(std::string_view name) const {
  return std::any_of(unicodeElements_.begin(), unicodeElements_.end(),
                     [&](const std::string& u) { return AnsiSameText(u, name); });
}

void TXMLTree::LoadFromStream(TStream& stream) {
  std::string bytes(static_cast<size_t>(std::max<int64_t>(stream.Remaining(), 0)), '\0');
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  Parse(bytes);
}

void TXMLTree::Parse(std::string_view s) {
  Children().Clear();
  Attributes().Clear();
  Value.clear();
  WValue.clear();
  ValueType = TXMLValueType::vtText;

  TXMLTag* current = this;
  bool unicode = IsUnicodeElement(Name);
  const auto enter = [&](TXMLTag* tag) {
    current = tag;
    unicode = IsUnicodeElement(tag->Name);
  };
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t open = s.find('<', pos);
    if (open == npos) {
      SetText(*current, unicode, s.substr(pos));
      return;
    }
    if (open > pos) SetText(*current, unicode, s.substr(pos, open - pos));
    const std::string_view markup = s.substr(open);
    if (AnsiSameText(markup.substr(0, 9), "<![CDATA[")) {
      const size_t end = s.find("]]>", open);
      if (end == npos) return;
      const std::string_view raw = s.substr(open + 9, end - open - 9);
      if (unicode)
        current->WValue = MultiByteToWideChar(GetACP(), raw);
      else
        current->Value = raw;
      current->ValueType = TXMLValueType::vtCDATA;
      pos = end + 3;
    } else if (markup.starts_with("<!--")) {
      const size_t end = s.find("-->", open);
      if (end == npos) return;
      pos = end + 3;
    } else if (markup.starts_with("<?")) {
      const size_t end = s.find("?>", open);
      if (end == npos) return;
      const TXMLTag declaration(end > open + 2 ? s.substr(open + 2, end - open - 2) : std::string_view(), nullptr,
                                this);
      if (AnsiSameText(declaration.Name, "xml"))
        if (const TXMLAttr* encoding = declaration.Attributes().FindAttrOfName("encoding"))
          Encoding = encoding->Value;
      pos = end + 2;
    } else {
      const size_t close = s.find('>', open);
      if (close == npos) return;
      std::string_view text = TrimBlanks(s.substr(open + 1, close - open - 1));
      pos = close + 1;
      if (text.empty()) continue;
      if (text.front() == '/') {
        // The closing name is not compared: it closes whatever is open.
        if (current == this) return;
        enter(current->Parent());
      } else if (text.back() == '/') {
        text.remove_suffix(1);
        current->Children().AddTag(text, current, this);
      } else {
        enter(current->Children().AddTag(text, current, this));
      }
    }
  }
}

}  // namespace quillet
