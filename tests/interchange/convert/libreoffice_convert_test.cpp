// Conversions through the office suite itself: a document exported to
// .docx, .odt and .doc and imported back keeps its text, paragraphs,
// Chinese, bold, colours and a table with a span; files the suite makes from a flat ODF file
// import; a corrupt file, a cancel and an unwritable folder fail cleanly.
// Each case starts the suite once or twice, in a process of its own, so that
// CTest runs them side by side. Without soffice they are skipped, except
// under CI, where they fail.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "interchange/convert/libreoffice_backend.h"
#include "interchange/convert/text_converter.h"
#include "interchange/item_text_util.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "interchange/rtf/rtf_table_text.h"
#include "platform/core/abort.h"
#include "platform/core/code_page.h"
#include "platform/core/process.h"
#include "platform/gfx/picture_test_util.h"
#include "tests/support/scoped_env.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::FindItem;
using test::ItemUtf8;

#define REQUIRE_SOFFICE()                                                                  \
  if (FindProgramOnPath("soffice").empty()) {                                              \
    if (const char* ci = std::getenv("CI"); ci && *ci) FAIL() << "soffice is not installed"; \
    GTEST_SKIP() << "soffice is not installed";                                            \
  }

class ScratchFolder {
 public:
  explicit ScratchFolder(const fs::path& under = fs::temp_directory_path()) {
    std::string pattern = (under / "quillet_convert_test_XXXXXX").string();
    if (::mkdtemp(pattern.data())) path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string Utf16(std::u16string_view s) {
  std::string bytes;
  for (char16_t c : s) (bytes += static_cast<char>(c & 0xFF)) += static_cast<char>(c >> 8);
  return bytes;
}

// The converter of the list whose filter is "*." + extension.
int IndexOf(const TDVTextConverterList& list, const std::string& extension) {
  for (int i = 0; i < list.Count(); ++i)
    if (list[i].Filter == "*." + extension) return i;
  return -1;
}

// A viewer that reads RTF with Unicode items and adds the styles it needs.
struct Viewer {
  Viewer() {
    InstallRTFReader();
    view.SetStyle(&style);
    TDVRTFReaderProperties& reading = *view.GetRTFReadProperties();
    reading.UnicodeMode = dvruMixed;
    reading.TextStyleMode = reading.ParaStyleMode = dvrsAddIfNeeded;
  }
  ~Viewer() { view.Clear(); }

  // The paragraphs' texts; a picture shows as "<picture>".
  std::vector<std::string> Paragraphs() const {
    std::vector<std::string> paragraphs;
    const TCustomDVData& doc = view.DVData();
    for (int i = 0; i < doc.ItemCount(); ++i) {
      if (doc.IsParaStart(i)) paragraphs.emplace_back();
      if (doc.GetItemStyle(i) >= 0)
        paragraphs.back() += ItemUtf8(doc, i);
      else if (doc.GetItem(i)->AsImage())
        paragraphs.back() += "<picture>";
    }
    return paragraphs;
  }
  const TFontInfo& FontOf(const std::string& words) const {
    const int item = FindItem(view.DVData(), words);
    EXPECT_GE(item, 0) << words;
    return style.TextStyles()[item < 0 ? 0 : view.GetItemStyle(item)];
  }

  TDVStyle style;
  TDocView view;
};

// Everything the round trip must keep, in one document.
void BuildDocument(Viewer& v) {
  TFontInfos& fonts = v.style.TextStyles();
  const int bold = fonts.Count();
  fonts.Add().Style = fsBold;
  const int red = fonts.Count();
  fonts.Add().Color = clRed;
  const int unicode = fonts.Count();
  fonts.Add().Unicode = true;
  const int song = fonts.Count();
  TFontInfo& songFont = fonts.Add();
  songFont.FontName = Utf8ToAnsi("宋体");
  songFont.Charset = GB2312_CHARSET;
  v.view.AddNL("Plain paragraph", 0, 0);
  v.view.AddNL("Bold words", bold, 0);
  v.view.AddNL(" and red words", red, -1);
  v.view.AddNL(Utf8ToAnsi("中文段落"), 0, 0);
  v.view.AddNL(Utf8ToAnsi("宋体的字"), song, 0);
  v.view.AddNL(Utf16(u"Unicode \u4e2d\u6587 \u00e9"), unicode, 0);
  v.view.AddItem("", std::make_unique<TDVGraphicItemInfo>(&v.view.DVData(),
                                                          std::make_unique<TBitmap>(RedBlueBitmap(8, 4)), dvvaBaseline));
  auto table = std::make_unique<TDVTableItemInfo>(2, 3, &v.view.DVData());
  table->Rows.DVData = &v.view.DVData();
  const char* words[] = {"one", nullptr, "three", "four", "five", "six"};
  for (int i = 0; i < 6; ++i)
    if (words[i]) table->GetCells(i / 3, i % 3)->AddNL(words[i], 0, 0);
  table->Rows.MergeCellsPlain(0, 0, 1, 2, true, false);
  v.view.AddItem("", std::move(table));
}

// The table BuildDocument ends with: the span and each text in its cell.
void ExpectTable(const Viewer& v) {
  const std::string text = test::DocText(v.view.DVData());
  EXPECT_NE(text.find("[one|<|three / four|five|six]"), std::string::npos) << text;
}

void ExpectDocument(const Viewer& v, bool picture) {
  std::vector<std::string> expected = {"Plain paragraph", "Bold words and red words", "中文段落", "宋体的字",
                                       "Unicode 中文 é"};
  if (picture) expected.push_back("<picture>");
  const std::vector<std::string> paragraphs = v.Paragraphs();
  ASSERT_GE(paragraphs.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(paragraphs.begin(), paragraphs.begin() + expected.size()), expected);
  EXPECT_EQ(v.FontOf("Bold").Style & fsBold, fsBold);
  EXPECT_EQ(v.FontOf("Plain").Style & fsBold, 0);
  EXPECT_EQ(v.FontOf("red words").Color, clRed);
  EXPECT_EQ(v.FontOf("red words").Style & fsBold, 0);
}

class RoundTripTest : public testing::TestWithParam<const char*> {};

TEST_P(RoundTripTest, ExportAndImportKeepTextAndFormatting) {
  REQUIRE_SOFFICE();
  const std::string extension = GetParam();
  ScratchFolder folder;
  const fs::path file = folder.path / ("document." + extension);
  TDVTextConverter converter;
  const int exportIndex = IndexOf(converter.ExportConverters(), extension);
  const int importIndex = IndexOf(converter.ImportConverters(), extension);
  ASSERT_TRUE(exportIndex >= 0 && importIndex >= 0) << converter.GetExportFilter();

  Viewer source;
  BuildDocument(source);
  std::vector<int> percents;
  converter.OnConverting = [&percents](TDVTextConverter&, int percent) { percents.push_back(percent); };
  ASSERT_TRUE(converter.ExportDV(file.string(), source.view, exportIndex));
  EXPECT_EQ(percents.front(), 0);
  EXPECT_EQ(percents.back(), 100);
  ASSERT_GT(fs::file_size(file), 0u);

  Viewer imported;
  percents.clear();
  ASSERT_TRUE(converter.ImportDV(file.string(), imported.view, importIndex));
  EXPECT_EQ(percents, (std::vector<int>{0, 100}));
  ExpectDocument(imported, true);
  ExpectTable(imported);
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTripTest, testing::Values("docx", "odt", "doc"));

// A flat ODF document of the test's own, which the suite turns into the
// format under test.
constexpr const char* kFlatODF = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:automatic-styles>
  <style:style style:name="B" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
  <style:style style:name="R" style:family="text"><style:text-properties fo:color="#ff0000"/></style:style>
 </office:automatic-styles>
 <office:body><office:text>
  <text:p>Plain paragraph</text:p>
  <text:p><text:span text:style-name="B">Bold words</text:span> and <text:span text:style-name="R">red words</text:span></text:p>
  <text:p>中文段落</text:p>
  <text:p>宋体的字</text:p>
  <text:p>Unicode 中文 é</text:p>
 </office:text></office:body>
</office:document>
)";

class SuiteMadeFileTest : public testing::TestWithParam<const char*> {};

TEST_P(SuiteMadeFileTest, Imports) {
  REQUIRE_SOFFICE();
  const std::string extension = GetParam();
  ScratchFolder folder;
  const fs::path flat = folder.path / "made.fodt";
  std::ofstream(flat, std::ios::binary) << kFlatODF;
  TProcess make(FindProgramOnPath("soffice"),
                {"-env:UserInstallation=file://" + (folder.path / "profile").string(), "--headless", "--norestore",
                 "--convert-to", extension, "--outdir", folder.path.string(), flat.string()});
  const TProcessResult made = make.Wait(std::chrono::seconds(300));
  const fs::path file = folder.path / ("made." + extension);
  ASSERT_TRUE(made.Succeeded() && fs::exists(file)) << made.StdErr;

  TDVTextConverter converter;
  Viewer imported;
  ASSERT_TRUE(converter.ImportDV(file.string(), imported.view, IndexOf(converter.ImportConverters(), extension)));
  ExpectDocument(imported, false);
}

INSTANTIATE_TEST_SUITE_P(Formats, SuiteMadeFileTest, testing::Values("docx", "odt"));

TEST(LibreOfficeFailureTest, CorruptFileGivesTheConvertersMessageAndKeepsTheDocument) {
  REQUIRE_SOFFICE();
  ScratchFolder folder;
  const fs::path bad = folder.path / "broken.docx";
  std::ofstream(bad, std::ios::binary) << "PK\x03\x04 not really a zip archive";
  TDVTextConverter converter;
  Viewer v;
  v.view.AddNL("kept", 0, 0);
  try {
    converter.ImportDV(bad.string(), v.view, IndexOf(converter.ImportConverters(), "docx"));
    FAIL() << "a corrupt file imported";
  } catch (const ETextConverterError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(bad.string()), std::string::npos) << message;
    EXPECT_NE(message.find("could not be loaded"), std::string::npos) << message;
  }
  EXPECT_EQ(v.Paragraphs(), std::vector<std::string>{"kept"});
  EXPECT_EQ(converter.Stream.GetSize(), 0);
}

TEST(LibreOfficeFailureTest, CancelIsSilentAndLeavesNothingBehind) {
  REQUIRE_SOFFICE();
  ScratchFolder folder;
  const fs::path temp = folder.path / "tmp";
  fs::create_directory(temp);
  const test::TScopedEnv tmpdir("TMPDIR", temp.string());

  TDVTextConverter converter;
  auto& backend = static_cast<TDVLibreOfficeBackend&>(converter.Backend());
  pid_t pid = 0;
  converter.OnConverting = [&](TDVTextConverter&, int) {
    pid = backend.ProcessId();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), 0);
    throw EAbort();
  };
  const fs::path source = folder.path / "source.odt";
  std::ofstream(source, std::ios::binary) << "anything";
  EXPECT_THROW(converter.ImportRTF(source.string(), 0), EAbort);
  // Neither the suite nor a helper it started is left (one whose parent
  // died first is gone once init has reaped it).
  bool gone = false;
  for (int i = 0; i < 250 && !gone; ++i, ::usleep(20000)) gone = ::kill(-pid, 0) != 0 && errno == ESRCH;
  EXPECT_TRUE(gone);
  EXPECT_EQ(backend.ProcessId(), 0);
  EXPECT_TRUE(fs::is_empty(temp));

  // An export cancelled while its RTF is handed over leaves the target alone.
  const fs::path target = folder.path / "target.docx";
  std::ofstream(target, std::ios::binary) << "old";
  Viewer v;
  BuildDocument(v);
  converter.OnConverting = [](TDVTextConverter&, int percent) {
    if (percent == 100) throw EAbort();
  };
  EXPECT_THROW(converter.ExportDV(target.string(), v.view, 0), EAbort);
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_TRUE(fs::is_empty(temp));
}

// Permissions do not stop root, the immutable flag does where the file
// system has one.
bool SetImmutable(const fs::path& folder, bool on) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}

TEST(LibreOfficeFailureTest, UnwritableFolderFailsAndKeepsTheOldFile) {
  REQUIRE_SOFFICE();
  ScratchFolder folder(fs::current_path());
  const fs::path locked = folder.path / "locked";
  fs::create_directory(locked);
  const fs::path target = locked / "old.docx";
  std::ofstream(target, std::ios::binary) << "old contents";
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  const bool immutable = ::geteuid() == 0 && SetImmutable(locked, true);
  struct Unlock {
    fs::path path;
    bool immutable;
    ~Unlock() {
      if (immutable) SetImmutable(path, false);
      fs::permissions(path, fs::perms::owner_all);
    }
  } unlock{locked, immutable};
  if (std::ofstream(locked / "probe")) GTEST_SKIP() << "cannot make a folder unwritable here";

  TDVTextConverter converter;
  Viewer v;
  BuildDocument(v);
  try {
    converter.ExportDV(target.string(), v.view, IndexOf(converter.ExportConverters(), "docx"));
    FAIL() << "an export into an unwritable folder succeeded";
  } catch (const EStreamError& e) {
    EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFile(target), "old contents");
}

}  // namespace
}  // namespace quillet
