#pragma once
// The elements of the XML import's parse tree: tags with their attributes,
// text and children. Names and values are 8-bit text in the system code page.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TXMLTag;
class TXMLTree;

class TXMLAttr {
 public:
  TXMLAttr(std::string name, std::string value) : Name(std::move(name)), Value(std::move(value)) {}
  std::string Name;
  std::string Value;  // decoded
};

// Attributes in document order, duplicates kept; owns them.
class TXMLAttrList {
 public:
  TXMLAttr* AddAttr(std::string name, std::string value);
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EDocViewError "List index out of bounds" for a bad index.
  TXMLAttr* Get(int index) const;
  // The first attribute of that name without regard to case, or none.
  TXMLAttr* FindAttrOfName(std::string_view name) const;
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TXMLAttr>> items_;
};

// Child tags in document order; owns them. Clearing or destroying the list
// takes its subtrees apart without recursion, however deep they nest.
class TXMLTagList {
 public:
  TXMLTagList() = default;
  TXMLTagList(const TXMLTagList&) = delete;
  TXMLTagList& operator=(const TXMLTagList&) = delete;
  ~TXMLTagList();

  // A tag read from the markup text (between "<" and ">"), appended.
  TXMLTag* AddTag(std::string_view markup, TXMLTag* parent, TXMLTree* root);
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EDocViewError "List index out of bounds" for a bad index.
  TXMLTag* Get(int index) const;
  // The first direct child of that name without regard to case, or none.
  TXMLTag* FindTagOfName(std::string_view name) const;
  void Clear();

 private:
  std::vector<std::unique_ptr<TXMLTag>> items_;
};

enum class TXMLValueType { vtText, vtCDATA };

class TXMLTag {
 public:
  // Name and attributes read from the markup text; level one below the parent,
  // -1 without one.
  TXMLTag(std::string_view markup, TXMLTag* parent, TXMLTree* root);
  TXMLTag(const TXMLTag&) = delete;
  TXMLTag& operator=(const TXMLTag&) = delete;
  virtual ~TXMLTag() = default;

  std::string Name;      // as written
  std::string Value;     // the text, decoded
  std::u16string WValue; // the text of a Unicode element, decoded, instead of Value
  TXMLValueType ValueType = TXMLValueType::vtText;

  int Level() const { return level_; }
  TXMLTag* Parent() const { return parent_; }
  TXMLTree* Root() const { return root_; }
  TXMLTagList& Children() { return children_; }
  const TXMLTagList& Children() const { return children_; }
  TXMLAttrList& Attributes() { return attributes_; }
  const TXMLAttrList& Attributes() const { return attributes_; }

 private:
  friend class TXMLTagList;
  int level_;
  TXMLTag* parent_;
  TXMLTree* root_;
  TXMLTagList children_;
  TXMLAttrList attributes_;
};

}  // namespace quillet
