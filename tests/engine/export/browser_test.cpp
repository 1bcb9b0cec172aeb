// The exported page opened by a real browser engine (headless Chromium):
// its DOM holds the document's Latin and Chinese text, the anchor and the
// link. Without Chromium the test is skipped, except under CI, where it
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

TEST(BrowserCheck, ExportedPageOpensInChromium) {
  if (!HaveChromium()) {
    if (std::getenv("CI")) FAIL() << "chromium is not installed (scripts/install-deps installs it)";
    GTEST_SKIP() << "chromium is not installed";
  }
  test::TempFolder folder("quillet_browser");
  test::HTMLSample s;
  const std::string page = (folder.Path() / "page.html").string();
  ASSERT_TRUE(s.data.SaveHTMLEx(page, "Sample <1>", "img", "", "", 0, clWhite, nullptr, {5, 6, 7, 8}));
  const std::string dom = (folder.Path() / "dom.html").string();
  const std::string command =
      "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync --user-data-dir='" +
      folder.Dir() + "profile' --dump-dom 'file://" + page + "' >'" + dom + "' 2>'" + folder.Dir() + "stderr.txt'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "chromium failed: " << test::ReadFile(folder.Path() / "stderr.txt");
  const std::string text = test::ReadFile(dom);  // the DOM in UTF-8
  for (const char* expected : {"<title>Sample &lt;1&gt;</title>", "Hello&nbsp; &lt;world&gt; &amp; co ",
                               "<span class=\"DVTS1\">bold</span>", "中文段落", "汉字&nbsp;😀",
                               "<a name=\"DocViewCheckpoint0\"></a>", "<a class=\"DVTS4\" href=\"url7\">link</a>"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  EXPECT_EQ(Count(text, "<p"), 3u) << text;
  EXPECT_EQ(Count(text, "<a name="), 2u) << text;
}

}  // namespace
}  // namespace quillet
