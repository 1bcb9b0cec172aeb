// A real reader reads our table RTF: LibreOffice converts it to HTML, and
// every cell's text must stand in a cell, a nested table's inside a table
// inside a table. Without LibreOffice the test is skipped, except under CI,
// where it fails.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editing/table/table_test_util.h"
#include "platform/core/process.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// How deep in tables, and whether inside a cell, the first occurrence of
// text stands in the HTML.
struct Place {
  int tables = 0;
  bool inCell = false;
};

Place PlaceOf(const std::string& html, const std::string& text) {
  Place place;
  const size_t at = html.find(text);
  if (at == std::string::npos) return place;
  const std::string before = html.substr(0, at);
  const auto count = [&](const std::string& tag) {
    int n = 0;
    for (size_t p = before.find(tag); p != std::string::npos; p = before.find(tag, p + 1)) ++n;
    return n;
  };
  place.tables = count("<table") - count("</table>");
  place.inCell = count("<td") > count("</td>");
  return place;
}

class TablePeerTest : public TableEditTest {};

TEST_F(TablePeerTest, LibreOfficeReadsEveryCellIntoItsCell) {
  const std::string soffice = FindProgramOnPath("soffice");
  if (soffice.empty()) {
    if (const char* ci = std::getenv("CI"); ci && *ci) FAIL() << "soffice (LibreOffice Writer) is not installed";
    GTEST_SKIP() << "soffice (LibreOffice Writer) is not installed";
  }
  auto table = MakeTable(3, 3);
  ASSERT_TRUE(table->Rows.MergeCellsPlain(1, 0, 1, 2, true, false));
  ASSERT_TRUE(table->Rows.MergeCellsPlain(1, 2, 2, 1, true, false));
  const std::vector<std::pair<int, int>> cells = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
  for (auto [r, c] : cells) AddCellText(*table->GetCells(r, c), "cell" + std::to_string(r) + std::to_string(c));
  auto inner = std::make_unique<TDVTableItemInfo>(2, 2, nullptr);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) AddCellText(*inner->GetCells(r, c), "inner" + std::to_string(r) + std::to_string(c));
  inner->ParaNo = 0;
  table->GetCells(0, 0)->AddItem("", std::move(inner));
  PlaceInEditor(std::move(table));

  char dirTemplate[] = "/tmp/quillet_table_rtf_XXXXXX";
  ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
  const fs::path dir = dirTemplate;
  const fs::path rtf = dir / "table.rtf";
  ASSERT_TRUE(Data().SaveRTF(rtf.string(), false, clWindow, nullptr));
  const std::string command = "timeout 300 '" + soffice + "' -env:UserInstallation=file://" +
                              (dir / "profile").string() + " --headless --norestore --convert-to html --outdir '" +
                              dir.string() + "' '" + rtf.string() + "' > '" + (dir / "soffice.log").string() +
                              "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(dir / "soffice.log");
  const std::string html = ReadFile(dir / "table.html");
  ASSERT_FALSE(html.empty()) << ReadFile(dir / "soffice.log");
  for (auto [r, c] : cells) {
    const Place p = PlaceOf(html, "cell" + std::to_string(r) + std::to_string(c));
    EXPECT_EQ(p.tables, 1) << r << c << "\n" << html;
    EXPECT_TRUE(p.inCell) << r << c;
  }
  for (int k = 0; k < 4; ++k) {
    const Place p = PlaceOf(html, "inner" + std::to_string(k / 2) + std::to_string(k % 2));
    EXPECT_EQ(p.tables, 2) << k << "\n" << ReadFile(rtf);
    EXPECT_TRUE(p.inCell) << k;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quillet::test
