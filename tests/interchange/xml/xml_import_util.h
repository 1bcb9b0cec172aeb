#pragma once
// The XML import tests' harness: an editor with a style sheet of three text
// styles (the second named "Heading", the third Unicode), two paragraph
// styles and a list style, the import component bound to it, and a compact
// description of the loaded items.
#include <memory>
#include <string>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "interchange/xml/docview_xml.h"

namespace quillet::test {

class XmlImportTest : public testing::Test {
 protected:
  XmlImportTest();
  // Parses the bytes and loads them through the component.
  void Load(const std::string& xml);
  // Loads `body` as the children of "document" of a "book".
  void LoadBody(const std::string& body) { Load("<book><document>" + body + "</document></book>"); }
  // The editor's items, see Describe. An editor with nothing loaded holds
  // one empty line.
  std::string Items() const;

  TDVStyle sheet;
  std::unique_ptr<TDocViewEdit> editor;
  TDocViewXML xml;
};

// Items of a document: "|" before a paragraph start, "/" before a line
// start, "^" before a page break, then the item: [text/style/para] for text
// (Unicode text as "u" and its bytes in hexadecimal), "brk", "pic", "hot",
// "bul", "spot", "ctl", "mk" or "tbl" with "/para", and "#name" for a
// checkpoint. Table cells follow their table in braces, "," between cells
// and ";" between rows, "-" for a covered position.
std::string Describe(const TCustomDVData& data);

}  // namespace quillet::test
