// The file dialogs' filters built from a command's formats, with and
// without converters, and a chosen entry mapped back to its format.
#include "commands/actions/file_filters.h"

#include <gtest/gtest.h>

#include "fake_converter.h"

namespace quillet::test {
namespace {

constexpr const char* kDVF = "DocView Files (*.dvf)|*.dvf";
constexpr const char* kRTF = "RTF Files (*.rtf)|*.rtf";
constexpr const char* kText = "Text Files (*.txt)|*.txt";
constexpr const char* kConverters = "Alpha|*.aa|Beta|*.bb;*.cc";

std::string Join(std::initializer_list<std::string> entries) {
  std::string text;
  for (const std::string& entry : entries) text += (text.empty() ? "" : "|") + entry;
  return text;
}

TEST(FileFilters, ImportEntriesFollowTheFormatsAndConverters) {
  FakeConversions state;
  auto converter = MakeFakeConverter(state);
  const auto all = TdvFileImportFilterSet::Range(ffiDVF, ffiOfficeConverters);
  struct Case {
    const char* what;
    TdvFileImportFilterSet filter;
    bool withConverter;
    std::string text;
    std::vector<int> formats;
  } cases[] = {
      {"open's formats", TdvFileImportFilterSet::Range(ffiDVF, ffiTextAuto), false, Join({kDVF, kRTF, kText}),
       {ffiDVF, ffiRTF, ffiTextANSI}},
      {"all, with converters", all, true, Join({kDVF, kRTF, kText, kConverters}), {ffiDVF, ffiRTF, ffiTextANSI}},
      {"all, without a converter", all, false, Join({kDVF, kRTF, kText}), {ffiDVF, ffiRTF, ffiTextANSI}},
      {"converters not asked for", TdvFileImportFilterSet{ffiRTF}, true, kRTF, {ffiRTF}},
      {"only the automatic text", TdvFileImportFilterSet{ffiTextAuto}, true, "", {}},
      {"UTF-16 text has no entry", TdvFileImportFilterSet{ffiTextUnicode, ffiOfficeConverters}, true, kConverters,
       {}},
  };
  for (const Case& c : cases) {
    std::vector<int> formats{99};
    std::string text = "old";
    MakeImportFilter(c.filter, kDVF, formats, text, c.withConverter ? converter.get() : nullptr);
    EXPECT_EQ(text, c.text) << c.what;
    EXPECT_EQ(formats, c.formats) << c.what;
  }
}

TEST(FileFilters, ExportEntriesFollowTheFormatsAndConverters) {
  FakeConversions state;
  auto converter = MakeFakeConverter(state);
  std::vector<int> formats;
  std::string text;
  MakeExportFilter(TdvFileExportFilterSet::Range(ffeDVF, ffeOfficeConverters), "Mine|*.my", formats, text,
                   converter.get());
  EXPECT_EQ(text, Join({"Mine|*.my", kRTF, kText, "HTML (*.htm;*.html)|*.htm;*.html",
                        "HTML - Simplified (*.htm;*.html)|*.htm;*.html", kConverters}));
  EXPECT_EQ(formats, (std::vector<int>{ffeDVF, ffeRTF, ffeTextANSI, ffeHTMLCSS, ffeHTML}));

  MakeExportFilter(TdvFileExportFilterSet{ffeTextUnicode, ffeOfficeConverters}, kDVF, formats, text, nullptr);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(formats.empty());
}

TEST(FileFilters, IndexesPastTheListNameConverters) {
  const std::vector<int> formats{ffiDVF, ffiRTF, ffiTextANSI};
  struct Case {
    int index;
    TdvFileImportFilter format;
    int converterIndex;
  } cases[] = {
      {0, ffiDVF, -1}, {2, ffiTextANSI, -1}, {3, ffiOfficeConverters, 0}, {4, ffiOfficeConverters, 1},
      // A dialog that chose no filter answers index 0, one before the first.
      {-1, ffiDVF, -1},
  };
  for (const Case& c : cases) {
    TdvFileImportFilter format = ffiTextAuto;
    int converterIndex = -1;
    GetImportFilterFormat(formats, c.index, format, converterIndex);
    EXPECT_EQ(format, c.format) << c.index;
    EXPECT_EQ(converterIndex, c.converterIndex) << c.index;
  }
  TdvFileExportFilter format = ffeDVF;
  int converterIndex = -1;
  GetExportFilterFormat({ffeRTF, ffeHTML}, 1, format, converterIndex);
  EXPECT_EQ(format, ffeHTML);
  GetExportFilterFormat({ffeRTF, ffeHTML}, 3, format, converterIndex);
  EXPECT_EQ(format, ffeOfficeConverters);
  EXPECT_EQ(converterIndex, 1);
}

}  // namespace
}  // namespace quillet::test
