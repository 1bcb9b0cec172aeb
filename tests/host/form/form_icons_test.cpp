// The main form's icons: every item that sits on a tool bar, and the common
// menu items, has a drawing that renders at 16 px; other names have none.
#include "host/form/form_icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include <map>
#include <string>
#include <vector>

namespace quillet::test {
namespace {

// By the group the form shows them in.
const std::vector<std::string> kIconItems = {
    // the reviewing bar
    "StartTrace", "StopTrace", "AcceptChange", "RejectChange", "BeginComment", "EndComment", "btnSumbol",
    // the standard bar
    "FileNew", "FileOpen", "FileSave", "FilePrint", "FilePrintPreview", "EditCut", "EditCopy", "EditPaste",
    "EditUndo", "EditRedo", "EditFind",
    // the table bar
    "InsertTable", "InsertRowAbove", "InsertRowBelow", "InsertColLeft", "InsertColRight", "DeleteRows",
    "DeleteCols", "MergeCells", "SplitCells", "TableAlignTop", "TableAlignMiddle", "TableAlignBottom",
    "btnGridLines", "btnTableProperties",
    // the format bar, with the font and back colour buttons beside the fill colour
    "FontBold", "FontItalic", "FontUnderline", "FontStrikeout", "ParaLeft", "ParaCenter", "ParaRight",
    "ParaJustify", "ParaIndentDec", "ParaIndentInc", "FillColorBtn", "FontColorBtn", "BackColorBtn",
    // menu items only
    "EditReplace", "DeleteTable", "PostilProperties", "FilePageSetup", "InsertPictureFromFile", "InsertFile",
    "InsertPageBreak", "ToolsProtectDoc"};

QImage Render16(const QIcon& icon) {
  return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

int InkedPixels(const QImage& image) {
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 0) ++inked;
  return inked;
}

TEST(FormIcons, EveryListedItemRendersAt16Pixels) {
  for (const std::string& name : kIconItems) {
    SCOPED_TRACE(name);
    const QIcon icon = FormIcon(name);
    ASSERT_FALSE(icon.isNull());
    const QImage image = Render16(icon);
    // A null or blank picture here means the SVG icon engine did not load.
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_GT(InkedPixels(image), 16);
    // A drawing, not a filled square: some of the 16 x 16 stays clear.
    EXPECT_LT(InkedPixels(image), 16 * 16);
  }
}

TEST(FormIcons, NoTwoItemsShareAPicture) {
  // Catches a resource entry that names another item's drawing.
  std::map<std::string, std::string> seen;  // rendered bytes, item
  for (const std::string& name : kIconItems) {
    const QImage image = Render16(FormIcon(name));
    const std::string bytes(reinterpret_cast<const char*>(image.constBits()), static_cast<size_t>(image.sizeInBytes()));
    const auto [at, fresh] = seen.emplace(bytes, name);
    EXPECT_TRUE(fresh) << name << " looks like " << at->second;
  }
}

TEST(FormIcons, OtherNamesHaveNone) {
  const std::string withNul("FileNew\0x", 9);
  const std::string cases[] = {
      "",                       // no name
      "NoSuchItem",             // unknown
      "FileMenu", "version",    // form items without an icon
      "filenew", "FILENEW",     // names are exact
      "FileNew.svg",            // the file, not the item
      "../icons/FileNew",       // paths are not names
      "icons/FileNew", ":/icons/FileNew.svg", "/FileNew",
      withNul,                  // an embedded NUL does not cut the name short
      " FileNew", "FileNew ",   // nor is space trimmed
      std::string(4096, 'A'),   // a long name is just unknown
  };
  for (const std::string& name : cases) {
    SCOPED_TRACE(name.size() > 40 ? name.substr(0, 40) + "..." : name);
    EXPECT_TRUE(FormIcon(name).isNull());
  }
}

}  // namespace
}  // namespace quillet::test
