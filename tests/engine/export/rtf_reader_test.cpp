// A real reader reads the RTF we write: LibreOffice converts one file that
// holds every case to plain text, and the text, its paragraphs and its
// Chinese characters must come through. Without LibreOffice the test is
// skipped, except under CI, where it fails.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/export/rtf_test_doc.h"
#include "platform/core/code_page.h"
#include "platform/core/process.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::RTFTestData;

std::string Utf16(std::u16string_view s) {
  std::string bytes;
  for (char16_t c : s) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// The paragraphs of the converted text: line ends unified, a byte-order
// mark and the final line end dropped.
std::vector<std::string> Lines(std::string text) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

TEST(RTFReaderTest, LibreOfficeReadsTextParagraphsAndChineseCharacters) {
  const std::string soffice = FindProgramOnPath("soffice");
  if (soffice.empty()) {
    if (const char* ci = std::getenv("CI"); ci && *ci) FAIL() << "soffice (LibreOffice Writer) is not installed";
    GTEST_SKIP() << "soffice (LibreOffice Writer) is not installed";
  }

  // Every case in one document. Kept out: a page break before a paragraph
  // that begins with a link, and a bookmark ending a paragraph that holds a
  // link, which this reader mishandles although the RTF is valid.
  RTFTestData data;
  data.SetRTFOptions(dvrtfSaveStyleSheet | dvrtfDuplicateUnicode);
  TFontInfos& fonts = data.style.TextStyles();
  fonts[1].Unicode = true;
  TFontInfo& song = fonts.Add();  // 6: a Chinese font of its own charset
  song.FontName = Utf8ToAnsi("宋体");
  song.Charset = GB2312_CHARSET;
  fonts.Add().VShift = 50;  // 7: superscript
  data.Add("Escaped {braces} and \\ backslash");
  // GBK text in a font of the default charset, with trail bytes that are
  // "\", "{" and "}".
  const std::string gbk = Utf8ToAnsi("中文段落") + "\x81\\\x81{\x81}";
  data.Add(gbk);
  data.Add(Utf8ToAnsi("宋体的字"), 6);
  data.Add("first line");
  data.Add("second line").SetBR(true);
  data.Add(Utf16(u"Unicode \u4e2d\u00e9\u0e01 \u00a9"), 1);
  data.Add("E = mc");
  data.Add("2", 7, -1);
  data.Add(" after", 0, -1);
  data.Add("see ");
  data.Add("the link", 4, -1).JumpID = 1;
  data.Add(" here", 0, -1);
  data.urls[1] = "http://example.com/a?b=\"c\"&d={e}";
  data.AddNamedCheckpointExTag(Utf8ToAnsi("书签 one"), false, {});
  data.Add("marked paragraph", 0, 1);
  data.Add("");
  data.Add("after page break").SetPageBreakBefore(true);

  char dirTemplate[] = "/tmp/quillet_rtf_reader_XXXXXX";
  ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
  const fs::path dir = dirTemplate;
  const fs::path rtf = dir / "all.rtf";
  ASSERT_TRUE(data.SaveRTF(rtf.string(), false, clWindow, nullptr));

  const std::string command = "timeout 180 '" + soffice + "' -env:UserInstallation=file://" +
                              (dir / "profile").string() +
                              " --headless --norestore --convert-to 'txt:Text (encoded):UTF8' --outdir '" +
                              dir.string() + "' '" + rtf.string() + "' > '" + (dir / "soffice.log").string() +
                              "' 2>&1";
  const int status = std::system(command.c_str());
  const fs::path txt = dir / "all.txt";
  ASSERT_EQ(status, 0) << ReadFile(dir / "soffice.log");
  ASSERT_TRUE(fs::exists(txt)) << ReadFile(dir / "soffice.log");

  const std::vector<std::string> expected = {
      "Escaped {braces} and \\ backslash",
      AnsiToUtf8(gbk),
      "宋体的字",
      "first line",
      "second line",
      "Unicode 中éก ©",
      "E = mc2 after",
      "see the link here",
      "marked paragraph",
      "",
      "after page break",
  };
  EXPECT_EQ(Lines(ReadFile(txt)), expected) << ReadFile(rtf);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quillet
