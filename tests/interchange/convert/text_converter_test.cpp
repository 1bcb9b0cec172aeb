// The converter component over a backend of the test's own: lists and
// filters, the RTF handed over in blocks with its percentages, imports into
// the stream and the viewer, cancelling and failing without leaving the
// component busy or the document changed. No office suite runs here.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "interchange/convert/libreoffice_backend.h"
#include "interchange/convert/text_converter.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/abort.h"

namespace quillet {
namespace {

class FakeBackend : public TDVConverterBackend {
 public:
  std::vector<TDVConverterRecord> records;
  int loads = 0, conversions = 0;
  // What an import hands over: a block of RTF and its percentage.
  std::vector<std::pair<std::string, int>> importBlocks;
  std::vector<size_t> exportBlocks;
  std::string exported;
  std::string lastFile;

  std::vector<TDVConverterRecord> LoadList(TDVConverterKind) override {
    ++loads;
    return records;
  }
  void ForeignToRtf(const TDVTextConverterInfo&, const std::string& fileName, const TRTFOutput& output) override {
    ++conversions;
    lastFile = fileName;
    for (const auto& [rtf, percent] : importBlocks)
      output(reinterpret_cast<const uint8_t*>(rtf.data()), static_cast<int64_t>(rtf.size()), percent);
  }
  void RtfToForeign(const TDVTextConverterInfo&, const std::string& fileName, const TRTFInput& input) override {
    ++conversions;
    lastFile = fileName;
    for (std::span<const uint8_t> block = input(); !block.empty(); block = input()) {
      exportBlocks.push_back(block.size());
      exported.append(block.begin(), block.end());
    }
  }
};

class TextConverterTest : public testing::Test {
 protected:
  TextConverterTest() {
    auto owned = std::make_unique<FakeBackend>();
    backend = owned.get();
    backend->records = {{"Alpha", "/bin/alpha", "aa", "a"}, {"Beta", "/bin/beta", "bb cc", "b"}};
    converter = std::make_unique<TDVTextConverter>(std::move(owned));
    converter->OnConverting = [this](TDVTextConverter& sender, int percent) {
      EXPECT_EQ(&sender, converter.get());
      percents.push_back(percent);
      if (percent == cancelAt) throw EAbort();
    };
  }

  FakeBackend* backend;
  std::unique_ptr<TDVTextConverter> converter;
  std::vector<int> percents;
  int cancelAt = -1;
};

TEST(DecodeExtTest, Cases) {
  const std::pair<const char*, const char*> cases[] = {
      {"doc dot", "*.doc;*.dot"}, {"doc", "*.doc"}, {"", ""}, {" docx  odt ", "*.docx;*.odt"},
  };
  for (const auto& [extensions, filter] : cases) EXPECT_EQ(DecodeExt(extensions), filter) << extensions;
}

TEST_F(TextConverterTest, ListsLoadOnFirstAccessAndMakeFilters) {
  // Records without a name, a program or extensions are left out.
  backend->records.push_back({"No extensions", "/bin/x", "", "x"});
  backend->records.push_back({"", "/bin/y", "yy", "y"});
  backend->records.push_back({"No program", "", "zz", "z"});
  EXPECT_EQ(backend->loads, 0);
  EXPECT_EQ(converter->GetImportFilter(), "Alpha|*.aa|Beta|*.bb;*.cc");
  EXPECT_EQ(converter->GetExportFilter(), "Alpha|*.aa|Beta|*.bb;*.cc");
  converter->ImportConverters();
  EXPECT_EQ(backend->loads, 2);
  const TDVTextConverterList& list = converter->ExportConverters();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[1].Name, "Beta");
  EXPECT_EQ(list[1].Path, "/bin/beta");
  EXPECT_EQ(list[1].Filter, "*.bb;*.cc");
  EXPECT_EQ(list[1].Format, "b");

  backend->records.clear();
  TDVTextConverter empty(std::make_unique<FakeBackend>());
  EXPECT_EQ(empty.GetImportFilter(), "");
  EXPECT_EQ(empty.ExportConverters().Count(), 0);
}

TEST(LibreOfficeBackendTest, NoSofficeOnPathGivesEmptyListsAndAClearError) {
  const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  const std::filesystem::path empty = std::filesystem::temp_directory_path() / "quillet_empty_path";
  std::filesystem::create_directories(empty);
  ::setenv("PATH", empty.c_str(), 1);
  TDVTextConverter converter;
  EXPECT_EQ(converter.ImportConverters().Count(), 0);
  EXPECT_EQ(converter.ExportConverters().Count(), 0);
  EXPECT_EQ(converter.GetImportFilter(), "");
  EXPECT_EQ(converter.GetExportFilter(), "");
  ::setenv("PATH", savedPath.c_str(), 1);
  try {
    converter.ImportRTF("a.docx", 0);
    FAIL() << "an import without converters succeeded";
  } catch (const ETextConverterError& e) {
    EXPECT_STREQ(e.what(), "No text converter is installed");
  }
}

TEST_F(TextConverterTest, ExportHandsTheRTFOverInBlocksWithPercentages) {
  struct Case {
    int64_t size, position;
    std::vector<size_t> blocks;
    std::vector<int> percents;
  };
  const Case cases[] = {
      {10000, 0, {4096, 4096, 1808}, {0, 40, 81, 100, 100}},
      // From the stream's position, percentages of what is left.
      {10100, 100, {4096, 4096, 1808}, {0, 40, 81, 100, 100}},
      // A small stream goes in one block of its own size.
      {100, 0, {100}, {0, 100, 100}},
      // Nothing left: no event, no conversion.
      {0, 0, {}, {}},
      {500, 500, {}, {}},
  };
  for (const Case& c : cases) {
    backend->exportBlocks.clear();
    backend->exported.clear();
    backend->conversions = 0;
    percents.clear();
    std::string rtf(static_cast<size_t>(c.size), 'r');
    for (size_t i = 0; i < rtf.size(); ++i) rtf[i] = static_cast<char>('a' + i % 26);
    converter->Stream.Clear();
    converter->Stream.WriteString(rtf);
    converter->Stream.SetPosition(c.position);
    EXPECT_TRUE(converter->ExportRTF("out.bb", 1)) << c.size;
    EXPECT_EQ(backend->exportBlocks, c.blocks) << c.size;
    EXPECT_EQ(percents, c.percents) << c.size;
    EXPECT_EQ(backend->conversions, c.blocks.empty() ? 0 : 1) << c.size;
    EXPECT_EQ(backend->exported, rtf.substr(static_cast<size_t>(c.position))) << c.size;
  }
}

TEST_F(TextConverterTest, ImportFillsTheStreamAndReportsProgress) {
  backend->importBlocks = {{"", 0}, {"{\\rtf1 ", 50}, {"hello}", 100}};
  converter->Stream.WriteString("left over");
  EXPECT_TRUE(converter->ImportRTF("in.aa", 0));
  EXPECT_EQ(backend->lastFile, "in.aa");
  EXPECT_EQ(converter->Stream.AsString(), "{\\rtf1 hello}");
  EXPECT_EQ(percents, (std::vector<int>{0, 50, 100}));

  try {
    converter->ImportRTF("in.aa", 2);
    FAIL() << "an import through a converter that is not there succeeded";
  } catch (const ETextConverterError& e) {
    EXPECT_STREQ(e.what(), "Text converter index out of bounds (2)");
  }
}

TEST_F(TextConverterTest, CancellingPassesTheAbortOnAndFreesTheComponent) {
  backend->importBlocks = {{"", 0}, {"{\\rtf1 x}", 100}};
  cancelAt = 0;
  EXPECT_THROW(converter->ImportRTF("in.aa", 0), EAbort);
  converter->Stream.WriteString(std::string(5000, 'x'));
  converter->Stream.SetPosition(0);
  cancelAt = 81;
  EXPECT_THROW(converter->ExportRTF("out.aa", 0), EAbort);
  // Neither left the component busy.
  cancelAt = -1;
  EXPECT_TRUE(converter->ImportRTF("in.aa", 0));
  EXPECT_EQ(converter->Stream.AsString(), "{\\rtf1 x}");
}

TEST_F(TextConverterTest, OneConversionAtATime) {
  backend->importBlocks = {{"{\\rtf1 x}", 100}};
  std::string refused;
  converter->OnConverting = [&](TDVTextConverter& sender, int) {
    try {
      sender.ImportRTF("other.aa", 0);
    } catch (const ETextConverterError& e) {
      refused = e.what();
    }
  };
  EXPECT_TRUE(converter->ImportRTF("in.aa", 0));
  EXPECT_EQ(refused, "A text conversion is already running");
  EXPECT_EQ(converter->Stream.AsString(), "{\\rtf1 x}");
}

TEST_F(TextConverterTest, ViewerImportAndExportGoThroughTheRTFStream) {
  InstallRTFReader();
  TDVStyle style;
  TDocView view;
  view.SetStyle(&style);
  view.AddNL("kept", 0, 0);

  // A conversion that fails leaves the document as it was.
  converter->OnConverting = [](TDVTextConverter&, int percent) {
    if (percent == 100) throw ETextConverterError("broken");
  };
  backend->importBlocks = {{"{\\rtf1 new}", 100}};
  EXPECT_THROW(converter->ImportDV("in.aa", view, 0), ETextConverterError);
  ASSERT_EQ(view.GetLineCount(), 1);
  EXPECT_EQ(view.GetItemText(0), "kept");
  EXPECT_EQ(converter->Stream.GetSize(), 0);

  converter->OnConverting = nullptr;
  backend->importBlocks = {{"{\\rtf1 first\\par second}", 100}};
  view.Clear();
  EXPECT_TRUE(converter->ImportDV("in.aa", view, 0));
  ASSERT_EQ(view.GetLineCount(), 2);
  EXPECT_EQ(view.GetItemText(0), "first");
  EXPECT_EQ(view.GetItemText(1), "second");
  EXPECT_EQ(converter->Stream.GetSize(), 0);

  // RTF the loading refuses gives false, not an exception.
  backend->importBlocks = {{"{\\rtf1 a{\\pict\\dibitmap0 00}}", 100}};
  EXPECT_FALSE(converter->ImportDV("in.aa", view, 0));
  EXPECT_EQ(view.GetLineCount(), 2);

  EXPECT_TRUE(converter->ExportDV("out.bb", view, 1));
  EXPECT_EQ(backend->lastFile, "out.bb");
  EXPECT_EQ(backend->exported.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(backend->exported.find("second"), std::string::npos);
  EXPECT_EQ(converter->Stream.GetSize(), 0);
}

}  // namespace
}  // namespace quillet
