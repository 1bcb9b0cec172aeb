// A table page opened by headless Chromium: the borders it draws are the
// ones asked for, a hidden side included. Without Chromium the test is
// skipped, except under CI, where it fails.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "editing/table/table_test_util.h"
#include "engine/export/export_test_util.h"

namespace quillet::test {
namespace {

class TableBrowserTest : public TableEditTest {};

TEST_F(TableBrowserTest, ChromiumDrawsTheCellBordersAskedFor) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
    if (std::getenv("CI")) FAIL() << "chromium is not installed (scripts/install-deps installs it)";
    GTEST_SKIP() << "chromium is not installed";
  }
  auto table = MakeTable(1, 2);
  table->BorderWidth = 0;
  table->CellBorderWidth = 2;
  table->CellBorderStyle = dvtbColor;
  table->CellBorderColor = clRed;
  table->GetCells(0, 1)->VisibleBorders.SetValues(true, false, true, true);
  for (int c = 0; c < 2; ++c) AddCellText(*table->GetCells(0, c), "cell" + std::to_string(c));
  PlaceInEditor(std::move(table));

  TempFolder folder("quillet_table_browser");
  const std::string page = (folder.Path() / "table.html").string();
  ASSERT_TRUE(Data().SaveHTMLEx(page, "table", "img", "", "", 0, clWhite, nullptr, {}));
  // The computed borders of every cell, written into the DOM for the dump.
  std::string html = ReadFile(page);
  html.insert(html.rfind("</BODY>"),
              "<script>for (const td of document.querySelectorAll('td')) { const s = getComputedStyle(td);"
              " td.setAttribute('data-top', s.borderTopStyle + ' ' + s.borderTopWidth + ' ' + s.borderTopColor);"
              " td.setAttribute('data-left', s.borderLeftStyle + ' ' + s.borderLeftWidth + ' ' + s.borderLeftColor); }"
              "</script>");
  StreamOf(html).SaveToFile(page);
  const std::string dom = (folder.Path() / "dom.html").string();
  const std::string command =
      "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync --user-data-dir='" +
      folder.Dir() + "profile' --dump-dom 'file://" + page + "' >'" + dom + "' 2>'" + folder.Dir() + "stderr.txt'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(folder.Path() / "stderr.txt");
  const std::string text = ReadFile(dom);
  // The first cell has all its sides; the second hides its top.
  for (const char* expected : {"data-top=\"solid 2px rgb(255, 0, 0)\" data-left=\"solid 2px rgb(255, 0, 0)\"",
                               "data-top=\"none 0px"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
}  // namespace quillet::test
