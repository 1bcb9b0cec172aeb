// The exported pages opened by a real browser engine (headless Chromium):
// their DOM holds the document's Latin and Chinese text, the anchor, the
// link and the styles. Without Chromium the test is skipped, except under CI, where it
// fails.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/export/html_sample.h"

namespace quillet {
namespace {

bool HaveChromium() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t i = s.find(what); i != std::string::npos; i = s.find(what, i + 1)) ++n;
  return n;
}

// The DOM that headless Chromium builds from the page file, in UTF-8.
std::string DumpDom(const test::TempFolder& folder, const std::string& page) {
  const std::string dom = (folder.Path() / "dom.html").string();
  const std::string command =
      "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync --user-data-dir='" +
      folder.Dir() + "profile' --dump-dom 'file://" + page + "' >'" + dom + "' 2>'" + folder.Dir() + "stderr.txt'";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "chromium failed: " << test::ReadFile(folder.Path() / "stderr.txt");
  return test::ReadFile(dom);
}

class BrowserCheck : public testing::Test {
 protected:
  void SetUp() override {
    if (!HaveChromium()) {
      if (std::getenv("CI")) FAIL() << "chromium is not installed (scripts/install-deps installs it)";
      GTEST_SKIP() << "chromium is not installed";
    }
  }
  test::TempFolder folder{"quillet_browser"};
  test::HTMLSample s;
};

TEST_F(BrowserCheck, ExportedPageOpensInChromium) {
  const std::string page = (folder.Path() / "page.html").string();
  ASSERT_TRUE(s.data.SaveHTMLEx(page, "Sample <1>", "img", "", "", 0, clWhite, nullptr, {5, 6, 7, 8}));
  const std::string text = DumpDom(folder, page);
  for (const char* expected : {"<title>Sample &lt;1&gt;</title>", "Hello&nbsp; &lt;world&gt; &amp; co ",
                               "<span class=\"DVTS1\">bold</span>", "中文段落", "汉字&nbsp;😀",
                               "<a name=\"DocViewCheckpoint0\"></a>", "<a class=\"DVTS4\" href=\"url7\">link</a>"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  EXPECT_EQ(Count(text, "<p"), 3u) << text;
  EXPECT_EQ(Count(text, "<a name="), 2u) << text;
}

// With style 0 as the page's default text, the other styles' tags say only
// how they differ from it, and the browser still shows each of them.
TEST_F(BrowserCheck, FontTagPageWithDefaultStyleZeroKeepsEveryStyle) {
  const std::string page = (folder.Path() / "fonts.html").string();
  ASSERT_TRUE(s.data.SaveHTML(page, "Sample <1>", "img", dvsoDefault0Style, clWhite, nullptr, {5, 6, 7, 8}));
  const std::string text = DumpDom(folder, page);
  for (const char* expected :
       {"<div>Hello&nbsp; &lt;world&gt; &amp; co <font color=\"#0000FF\" face=\"Arial\"><b>bold</b></font></div>",
        "<div align=\"center\">\n<a name=\"DocViewCheckpoint0\"></a>中文段落</div>",
        "<font color=\"#008000\" face=\"Arial\"><u><a href=\"url7\">link</a></u></font>",
        "<font color=\"#800000\" face=\"Arial\"><i>汉字</i></font>"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  EXPECT_EQ(Count(text, "<div"), 3u) << text;
  EXPECT_EQ(Count(text, "size="), 0u) << text;
}

}  // namespace
}  // namespace quillet
