#include "interchange/xml/xml_tag.h"

#include "engine/base/dv_lists.h"
#include "interchange/xml/xml_text.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

template <class T>
T* ItemAt(const std::vector<std::unique_ptr<T>>& items, int index) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) ThrowListIndexError(index);
  return items[static_cast<size_t>(index)].get();
}

// Names compare after lower-casing both, double-byte characters exactly.
template <class T>
T* FirstOfName(const std::vector<std::unique_ptr<T>>& items, std::string_view name) {
  for (const auto& item : items)
    if (AnsiSameText(item->Name, name)) return item.get();
  return nullptr;
}

}  // namespace

TXMLAttr* TXMLAttrList::AddAttr(std::string name, std::string value) {
  items_.push_back(std::make_unique<TXMLAttr>(std::move(name), std::move(value)));
  return items_.back().get();
}

TXMLAttr* TXMLAttrList::Get(int index) const { return ItemAt(items_, index); }

TXMLAttr* TXMLAttrList::FindAttrOfName(std::string_view name) const { return FirstOfName(items_, name); }

TXMLTag* TXMLTagList::AddTag(std::string_view markup, TXMLTag* parent, TXMLTree* root) {
  items_.push_back(std::make_unique<TXMLTag>(markup, parent, root));
  return items_.back().get();
}

TXMLTag* TXMLTagList::Get(int index) const { return ItemAt(items_, index); }

TXMLTag* TXMLTagList::FindTagOfName(std::string_view name) const { return FirstOfName(items_, name); }

TXMLTagList::~TXMLTagList() { Clear(); }

void TXMLTagList::Clear() {
  // A tag is freed only once its children have been moved out, so freeing never
  // recurses (100,000 unclosed elements nest 100,000 deep). Childless tags go
  // at once, which keeps the work list short for wide trees.
  std::vector<std::unique_ptr<TXMLTag>> pending;
  const auto drain = [&pending](std::vector<std::unique_ptr<TXMLTag>>& list) {
    for (auto& tag : list)
      if (tag->children_.items_.empty())
        tag.reset();
      else
        pending.push_back(std::move(tag));
    list.clear();
  };
  drain(items_);
  while (!pending.empty()) {
    const std::unique_ptr<TXMLTag> tag = std::move(pending.back());
    pending.pop_back();
    drain(tag->children_.items_);
  }
}

TXMLTag::TXMLTag(std::string_view markup, TXMLTag* parent, TXMLTree* root)
    : level_(parent ? parent->level_ + 1 : -1), parent_(parent), root_(root) {
  const size_t blank = markup.find(' ');
  if (blank == npos) {
    Name = TrimBlanks(markup);
    return;
  }
  // Only a blank ends the name. Each attribute name starts one character after
  // the previous closing quote (normally the separating blank), and a value is
  // the next double-quoted text after the "=", however the value was written.
  Name = markup.substr(0, blank);
  size_t p = blank;
  while (p < markup.size()) {
    const size_t equals = markup.find('=', p);
    if (equals == npos) break;
    const size_t open = markup.find('"', equals);
    if (open == npos) break;
    const size_t close = markup.find('"', open + 1);
    if (close == npos) break;
    const std::string_view name = p + 1 < equals ? TrimBlanks(markup.substr(p + 1, equals - p - 1)) : std::string_view();
    attributes_.AddAttr(std::string(name), CleanSpec(Clean(markup.substr(open + 1, close - open - 1))));
    p = close + 1;
  }
}

}  // namespace quillet
