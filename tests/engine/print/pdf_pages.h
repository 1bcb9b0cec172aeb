#pragma once
// The words of each page of a PDF file, read with pdftotext (poppler-utils),
// for the tests that print real PDF files.
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace quillet::test {

inline bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

// A poppler tool (pdftotext, pdftoppm, pdfimages) the test reads PDF files
// with: missing, the test is skipped, except under CI, where it fails.
#define QUILLET_REQUIRE_POPPLER_TOOL(tool)                                   \
  if (QStandardPaths::findExecutable(tool).isEmpty()) {                      \
    if (::quillet::test::InCi()) FAIL() << tool " (poppler-utils) is missing"; \
    GTEST_SKIP() << tool " (poppler-utils) is not installed";                \
  }

// The words of each page of a PDF file.
inline std::vector<std::vector<std::string>> PdfPages(const QString& file) {
  QProcess p;
  p.start(QStandardPaths::findExecutable("pdftotext"), {file, "-"});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  const std::string text = p.readAllStandardOutput().toStdString();
  std::vector<std::vector<std::string>> pages;
  std::stringstream all(text);
  std::string page;
  // pdftotext ends every page with a form feed.
  while (std::getline(all, page, '\f')) {
    std::stringstream words(page);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    pages.push_back(w);
  }
  if (!pages.empty() && pages.back().empty()) pages.pop_back();
  return pages;
}

}  // namespace quillet::test
