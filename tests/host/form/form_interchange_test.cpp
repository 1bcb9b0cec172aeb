// The main form's import, export and hyperlink jump on a real editor: every
// import replaces the document with its reviewers and annotations, or, when
// cancelled or failed, changes nothing; converters are chosen by format;
// hyperlink tags open plain file names beside their document and nothing
// else.
#include "host/form/form_interchange.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "host/annotation/postil.h"
#include "host/form/main_style_sheet.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/abort.h"
#include "platform/core/code_page.h"
#include "platform/ui/common_dialogs.h"
#include "tests/commands/actions/fake_converter.h"
#include "tests/host/annotation/postil_test_support.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

// Import lists Alpha then Beta; export lists them the other way round, so a
// choice by list position would pick the wrong one.
class OrderedBackend : public FakeConverterBackend {
 public:
  OrderedBackend(FakeConversions& state, std::vector<std::string>& used, bool& noExport)
      : FakeConverterBackend(state), used_(used), noExport_(noExport) {}
  std::vector<TDVConverterRecord> LoadList(TDVConverterKind kind) override {
    std::vector<TDVConverterRecord> list = FakeConverterBackend::LoadList(kind);
    if (kind == dvckExport) {
      if (noExport_) return {};
      std::reverse(list.begin(), list.end());
    }
    return list;
  }
  void ForeignToRtf(const TDVTextConverterInfo& converter, const std::string& fileName,
                    const TRTFOutput& output) override {
    used_.push_back(converter.Format);
    FakeConverterBackend::ForeignToRtf(converter, fileName, output);
  }
  void RtfToForeign(const TDVTextConverterInfo& converter, const std::string& fileName,
                    const TRTFInput& input) override {
    used_.push_back(converter.Format);
    FakeConverterBackend::RtfToForeign(converter, fileName, input);
  }

 private:
  std::vector<std::string>& used_;
  bool& noExport_;
};

std::unique_ptr<TDVTextConverter> OrderedConverter(FakeConversions& state, std::vector<std::string>& used,
                                                   bool& noExport) {
  return std::make_unique<TDVTextConverter>(std::make_unique<OrderedBackend>(state, used, noExport));
}

class FormInterchange : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstallRTFReader();
    RegisterTableItem();
  }

  FormInterchange() {
    InitMainStyleSheet(sheet);
    editor.SetStyle(&sheet);
    editor.SetOptions(editor.Options() | dvoTagsArePChars);
    editor.SetBounds(0, 0, 500, 300);
    editor.Show();
    WithFixedDate(postil);
    char pattern[] = "/tmp/quillet_formio_XXXXXX";
    root = mkdtemp(pattern);
    docs = root / "docs";
    fs::create_directories(docs);
  }
  ~FormInterchange() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }

  static void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  static std::string Book(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"windows-1250\"?><book><document>" + body + "</document></book>";
  }

  // A document of one paragraph with two reviewers and a stroke.
  void OldDocument() {
    editor.Clear();
    editor.AddNL("old text", 0, 0);
    editor.Format();
    table.Enter("A", "2026-12-10 10:00:01");
    table.Enter("B", "2026-12-10 10:00:02");
    DrawStroke(postil, {{10, 10, 3}, {40, 30, 3}, {80, 20, 3}});
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < editor.DVData().ItemCount(); ++i) texts.push_back(editor.DVData().GetItemTextR(i));
    return texts;
  }
  std::vector<std::string> Annotations() const {
    std::vector<std::string> lines;
    postil.Save(lines);
    return lines;
  }
  // Everything a cancelled or failed operation must leave as it was.
  struct Snapshot {
    std::vector<std::string> texts;
    std::vector<TReviewer> reviewers;
    int32_t used;
    std::vector<std::string> annotations;
    const TDVStyle* sheet;
    int textStyles;
    std::string basePath;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };
  Snapshot Snap() const {
    std::vector<TReviewer> reviewers;
    for (int i = 0; i < TReviewerTable::kSlots; ++i) reviewers.push_back(table.Slot(i));
    return {Texts(),        reviewers, table.UsedUserNo(), Annotations(), editor.Style(),
            editor.Style()->TextStyles().Count(), io.DVXML.BaseFilePath};
  }
  bool NothingOfTheOld() const {
    return table.UsedUserNo() == 0 && table.Slot(1).Name.empty() && Annotations().empty();
  }
  void Cancel() {
    TScriptedCommonDialogs::TAnswer cancel;
    cancel.Ok = false;
    dialogs.Answers.push_back(cancel);
  }
  // Answers the next file dialog with a file and a filter entry.
  void Choose(const std::string& fileName, int filterIndex) {
    TFileQuestion answer;
    answer.FileName = fileName;
    answer.FilterIndex = filterIndex;
    TScriptedCommonDialogs::TAnswer ok;
    ok.Value = answer;
    dialogs.Answers.push_back(ok);
  }
  const TFileQuestion& LastFileQuestion() const {
    return std::get<TFileQuestion>(dialogs.Asked.back().Question);
  }

  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  TQvPostil postil;
  TDocumentRecord record{editor, table, postil};
  FakeConversions conversions;
  std::vector<std::string> used;
  bool noExport = false;
  TFormInterchange io{editor, record, OrderedConverter(conversions, used, noExport)};
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scoped{dialogs};
  fs::path root, docs;
};

TEST_F(FormInterchange, DialogsNameFormatsAndTheirTitles) {
  Cancel();
  EXPECT_EQ(io.FileImportClick().Outcome, ioCancelled);
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkOpen);
  EXPECT_EQ(LastFileQuestion().Title, "导入文档");
  EXPECT_EQ(LastFileQuestion().Filter,
            "RTF(*.rtf)|*.rtf|AA 文档(*.aa)|*.aa|BB 文档(*.bb;*.cc)|*.bb;*.cc|XML文件(*.xml)|*.xml");

  Cancel();
  EXPECT_EQ(io.FileExportClick().Outcome, ioCancelled);
  EXPECT_EQ(dialogs.Asked.back().Kind, TScriptedCommonDialogs::dkSave);
  EXPECT_EQ(LastFileQuestion().Title, "导出文档");
  EXPECT_EQ(LastFileQuestion().Filter, "BB 文档(*.bb;*.cc)|*.bb;*.cc|AA 文档(*.aa)|*.aa");
}

TEST_F(FormInterchange, RTFImportReplacesTheDocumentAndItsHostData) {
  OldDocument();
  editor.EditData().SetCaretAtItem(0, 9);
  QTest::keyClicks(editor.Widget(), "x");
  ASSERT_NE(editor.UndoAction(), dvutNone);
  WriteFile(docs / "new.rtf", "{\\rtf1\\ansi new text\\par}");
  Choose((docs / "new.rtf").string(), 1);

  const TInterchangeResult result = io.FileImportClick();
  EXPECT_EQ(result.Outcome, ioDone) << result.Message;
  EXPECT_EQ(Texts(), std::vector<std::string>{"new text"});
  EXPECT_TRUE(NothingOfTheOld());
  EXPECT_EQ(editor.UndoAction(), dvutNone);
  EXPECT_EQ(editor.Style(), &sheet);
  EXPECT_GT(editor.DVData().DrawItems.Count(), 0);
}

TEST_F(FormInterchange, RTFImportKeepsLinksAndTables) {
  // The editor's owner gives links their tags while the file is read.
  std::vector<std::string> targets;
  editor.OnReadHyperlink = [&](TCustomDocView&, const std::string& target, const std::string&, TDVLoadFormat,
                               int32_t&, TDVTag& tag, std::string&) {
    targets.push_back(target);
    tag.Str = target;
  };
  WriteFile(docs / "linked.rtf",
            "{\\rtf1\\ansi see {\\field{\\*\\fldinst HYPERLINK \"next\"}{\\fldrslt here}}\\par"
            "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row\\pard after\\par}");
  ASSERT_EQ(io.ImportFile((docs / "linked.rtf").string(), io.ImportFormats().front()).Outcome, ioDone);
  EXPECT_EQ(targets, std::vector<std::string>{"next"});
  int tables = 0, tagged = 0;
  for (int i = 0; i < editor.DVData().ItemCount(); ++i) {
    tables += editor.GetItemStyle(i) == dvsTable;
    tagged += editor.GetItemTag(i).Str == "next";
  }
  EXPECT_EQ(tables, 1);
  EXPECT_EQ(tagged, 1);
  // The table belongs to the editor now: typing after it is one undo step.
  editor.EditData().SetCaretAtItem(editor.DVData().ItemCount() - 1, 1);
  QTest::keyClicks(editor.Widget(), "z");
  EXPECT_EQ(Texts().back(), "zafter");
  editor.Undo();
  EXPECT_EQ(Texts().back(), "after");
}

TEST_F(FormInterchange, CancelledImportKeepsEverything) {
  OldDocument();
  const Snapshot before = Snap();
  Cancel();
  EXPECT_EQ(io.FileImportClick().Outcome, ioCancelled);
  EXPECT_EQ(Snap(), before);

  // A conversion cancelled from its progress event is no failure either.
  io.DVOfficeCon().OnConverting = [](TDVTextConverter&, int) { throw EAbort(); };
  conversions.importRtf = "{\\rtf1 converted\\par}";
  Choose((docs / "a.aa").string(), 2);
  const TInterchangeResult result = io.FileImportClick();
  EXPECT_EQ(result.Outcome, ioCancelled);
  EXPECT_TRUE(result.Message.empty());
  EXPECT_EQ(Snap(), before);
}

TEST_F(FormInterchange, FailedImportKeepsEverything) {
  WriteFile(docs / "unclosed.rtf", "{\\rtf1\\ansi {\\b bold");
  WriteFile(docs / "other.xml", "<dvxml><document><text>x</text></document></dvxml>");
  WriteFile(docs / "badstyle.xml", Book("<text>a</text><text textstyleno=\"99\">b</text>"));
  fs::create_directories(docs / "folder.xml");
  struct Case {
    const char* name;
    std::string file;
    int filterIndex;
    bool converterFails;
  } cases[] = {
      {"unclosed RTF", (docs / "unclosed.rtf").string(), 1, false},
      {"missing RTF", (docs / "missing.rtf").string(), 1, false},
      {"XML without the root", (docs / "other.xml").string(), 4, false},
      {"XML naming a missing style", (docs / "badstyle.xml").string(), 4, false},
      {"missing XML", (docs / "missing.xml").string(), 4, false},
      {"XML that is a folder", (docs / "folder.xml").string(), 4, false},
      {"converter failing", (docs / "a.bb").string(), 3, true},
      {"converter making bad RTF", (docs / "a.bb").string(), 3, false},
  };
  OldDocument();
  io.DVXML.BaseFilePath = "/earlier/";
  conversions.importRtf = "{\\rtf1 {{";
  const Snapshot before = Snap();
  for (const Case& c : cases) {
    conversions.fail = c.converterFails;
    Choose(c.file, c.filterIndex);
    const TInterchangeResult result = io.FileImportClick();
    EXPECT_EQ(result.Outcome, ioFailed) << c.name;
    EXPECT_FALSE(result.Message.empty()) << c.name;
    EXPECT_EQ(result.Caption, "导入文档") << c.name;
    EXPECT_EQ(Snap(), before) << c.name;
  }
  // The converter's own words reach the user.
  conversions.fail = true;
  Choose((docs / "a.bb").string(), 3);
  const TInterchangeResult result = io.FileImportClick();
  EXPECT_EQ(result.Message, "the converter failed");
  ShowInterchangeResult(result);
  const auto& shown = std::get<TMessageQuestion>(dialogs.Asked.back().Question);
  EXPECT_EQ(shown.Text, "the converter failed");
  EXPECT_EQ(shown.Caption, "导入文档");
  EXPECT_EQ(shown.Icon, MB_ICONERROR);
}

TEST_F(FormInterchange, ConvertersAreChosenByFormat) {
  struct Case {
    int importIndex;  // entry of the import dialog
    const char* format;
  } cases[] = {{2, "a"}, {3, "b"}};
  for (const Case& c : cases) {
    OldDocument();
    used.clear();
    conversions.importRtf = std::string("{\\rtf1 converted ") + c.format + "\\par}";
    Choose((docs / "in.doc").string(), c.importIndex);
    const TInterchangeResult result = io.FileImportClick();
    EXPECT_EQ(result.Outcome, ioDone) << result.Message;
    EXPECT_EQ(used, std::vector<std::string>{c.format});
    EXPECT_EQ(conversions.lastFile, (docs / "in.doc").string());
    EXPECT_EQ(Texts(), std::vector<std::string>{std::string("converted ") + c.format});
    EXPECT_TRUE(NothingOfTheOld());
    EXPECT_EQ(io.DVOfficeCon().Stream.GetSize(), 0);
  }

  // Export lists Beta first: its second entry is Alpha's format.
  used.clear();
  Choose((docs / "out").string(), 2);
  const TInterchangeResult result = io.FileExportClick();
  EXPECT_EQ(result.Outcome, ioDone) << result.Message;
  EXPECT_EQ(used, std::vector<std::string>{"a"});
  EXPECT_EQ(conversions.lastFile, (docs / "out.aa").string());
  EXPECT_NE(conversions.exported.find("converted b"), std::string::npos);

  // A name with an extension is kept as chosen.
  Choose((docs / "out.doc").string(), 1);
  EXPECT_EQ(io.FileExportClick().Outcome, ioDone);
  EXPECT_EQ(conversions.lastFile, (docs / "out.doc").string());
  EXPECT_EQ(used.back(), "b");
}

TEST_F(FormInterchange, ExportFailuresSayWhyAndCancelsSayNothing) {
  OldDocument();
  const Snapshot before = Snap();
  conversions.fail = true;
  Choose((docs / "out.bb").string(), 1);
  const TInterchangeResult result = io.FileExportClick();
  EXPECT_EQ(result.Outcome, ioFailed);
  EXPECT_EQ(result.Message, "the converter failed");
  EXPECT_EQ(result.Caption, "导出文档");
  EXPECT_EQ(Snap(), before);

  // Cancelled from its progress event, it is no failure.
  conversions.fail = false;
  io.DVOfficeCon().OnConverting = [](TDVTextConverter&, int) { throw EAbort(); };
  Choose((docs / "out.bb").string(), 1);
  const TInterchangeResult cancelled = io.FileExportClick();
  EXPECT_EQ(cancelled.Outcome, ioCancelled);
  EXPECT_TRUE(cancelled.Message.empty());
  EXPECT_EQ(Snap(), before);
}

TEST_F(FormInterchange, ExportWithoutConverterAsksNothing) {
  noExport = true;
  const TInterchangeResult result = io.FileExportClick();
  EXPECT_EQ(result.Outcome, ioFailed);
  EXPECT_FALSE(result.Message.empty());
  EXPECT_TRUE(dialogs.Asked.empty());
}

TEST_F(FormInterchange, XMLImportShowsInItsOwnSheet) {
  OldDocument();
  int resized = 0;
  io.OnXMLLoaded = [&] { ++resized; };
  WriteFile(docs / "book.xml", Book("<text>from xml</text>"));
  Choose((docs / "book.xml").string(), 4);
  const TInterchangeResult result = io.FileImportClick();
  EXPECT_EQ(result.Outcome, ioDone) << result.Message;
  EXPECT_EQ(Texts(), std::vector<std::string>{"from xml"});
  EXPECT_EQ(editor.Style(), &io.DVStyle1);
  EXPECT_EQ(io.DVXML.BaseFilePath, docs.string() + "/");
  EXPECT_EQ(resized, 1);
  EXPECT_TRUE(NothingOfTheOld());
}

TEST_F(FormInterchange, TypingAfterAnEmptyXMLDocument) {
  // The caret's style was one of the main sheet's 13; the XML sheet has 6.
  editor.SetCurTextStyleNo(kMainUnicodeStyle);
  WriteFile(docs / "empty.xml", "<book/>");
  ASSERT_EQ(io.ImportFile((docs / "empty.xml").string(), io.ImportFormats().back()).Outcome, ioDone);
  QTest::keyClicks(editor.Widget(), "ab");
  EXPECT_EQ(Texts(), std::vector<std::string>{"ab"});
}

TEST_F(FormInterchange, HyperlinkURLs) {
  std::string url;
  io.DVEditorURLNeeded(editor, 7, url);
  EXPECT_EQ(url, "#7");
  EXPECT_EQ(TFormInterchange::HyperlinkURL(0), "#0");
}

TEST_F(FormInterchange, JumpOpensTheDocumentBesideIt) {
  WriteFile(docs / "next.xml", Book("<text>next</text>"));
  // The tag's own bytes (GBK) are not the file's name (UTF-8).
  WriteFile(docs / (Utf8ToAnsi("目录") + ".xml"), Book("<text>raw bytes</text>"));
  WriteFile(docs / "目录.xml", Book("<text>contents</text>"));
  ASSERT_EQ(io.ImportFile((docs / "next.xml").string(), io.ImportFormats().back()).Outcome, ioDone);
  table.Enter("A", "2026-12-10 10:00:01");

  int resized = 0;
  io.OnXMLLoaded = [&] { ++resized; };
  const TInterchangeResult result = io.JumpTo(Utf8ToAnsi("目录"));
  EXPECT_EQ(result.Outcome, ioDone) << result.Message;
  EXPECT_EQ(Texts(), std::vector<std::string>{"contents"});
  EXPECT_TRUE(NothingOfTheOld());
  EXPECT_EQ(resized, 1);
}

TEST_F(FormInterchange, HostileTagsOpenNothing) {
  // Files a tag pasted into a path would reach.
  const std::string book = Book("<text>reached</text>");
  WriteFile(root / "x.xml", book);
  WriteFile(docs / "a" / "b.xml", book);
  WriteFile(docs / "x.xml", book);
  WriteFile(docs / "a\\b.xml", book);
  WriteFile(docs / "...xml", book);
  WriteFile(docs / "x\ny.xml", book);
  fs::create_directories(docs / "dir.xml");
  WriteFile(docs / "start.xml", Book("<text>start</text>"));
  ASSERT_EQ(io.ImportFile((docs / "start.xml").string(), io.ImportFormats().back()).Outcome, ioDone);
  table.Enter("A", "2026-12-10 10:00:01");
  DrawStroke(postil, {{10, 10, 3}, {40, 30, 3}});
  const Snapshot before = Snap();

  const std::string tags[] = {
      "../x", "a/b", "/tmp/x", "", std::string("x\0y", 3), std::string(300, 'a'), "a\\b", "..", "x\ny",
      "\x81",  // a lead byte without its trail byte
      "dir",   // a folder
      "none",  // no such file
  };
  for (const std::string& tag : tags) {
    const TInterchangeResult result = io.JumpTo(tag);
    EXPECT_EQ(result.Outcome, ioFailed) << tag;
    EXPECT_FALSE(result.Message.empty()) << tag;
    EXPECT_EQ(Snap(), before) << tag;
  }
  // The longest name still opens.
  const std::string longest(TFormInterchange::kMaxDocumentNameBytes, 'n');
  WriteFile(docs / (longest + ".xml"), book);
  EXPECT_EQ(io.JumpTo(longest).Outcome, ioDone);
  EXPECT_EQ(Texts(), std::vector<std::string>{"reached"});
}

TEST_F(FormInterchange, JumpWithoutAnXMLDocumentOpenedHasNoFolder) {
  WriteFile(fs::current_path() / "quillet_formio_cwd.xml", Book("<text>cwd</text>"));
  OldDocument();
  const Snapshot before = Snap();
  EXPECT_EQ(io.JumpTo("quillet_formio_cwd").Outcome, ioFailed);
  EXPECT_EQ(Snap(), before);
  fs::remove(fs::current_path() / "quillet_formio_cwd.xml");
}

TEST_F(FormInterchange, ClickingALinkOpensItsDocumentAfterTheClick) {
  editor.OnJump = [this](TCustomDocView& sender, int32_t id) { io.DVEditorJump(sender, id); };
  WriteFile(docs / "target.xml", Book("<text>arrived</text>"));
  WriteFile(docs / "links.xml",
            "<book><document stringtags=\"1\"><text textstyleno=\"4\" tag=\"target\">go there</text>"
            "<text textstyleno=\"5\" tag=\"../x\">elsewhere</text></document></book>");
  WriteFile(root / "x.xml", Book("<text>escaped</text>"));
  ASSERT_EQ(io.ImportFile((docs / "links.xml").string(), io.ImportFormats().back()).Outcome, ioDone);
  editor.SetReadOnly(true);
  auto click = [&](int itemNo) {
    int32_t left = 0, top = 0;
    ASSERT_TRUE(editor.GetItemClientCoords(itemNo, left, top));
    QTest::mouseClick(editor.ClientWidget(), Qt::LeftButton, {}, QPoint(left + 4, top + 4));
  };

  click(1);  // the hostile link
  EXPECT_EQ(Texts(), (std::vector<std::string>{"go there", "elsewhere"}));
  QCoreApplication::processEvents();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"go there", "elsewhere"}));
  ASSERT_FALSE(dialogs.Asked.empty());
  EXPECT_EQ(dialogs.Asked.back().Kind, TScriptedCommonDialogs::dkMessage);

  click(0);
  // The document is replaced once the click has been handled.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"go there", "elsewhere"}));
  QCoreApplication::processEvents();
  EXPECT_EQ(Texts(), std::vector<std::string>{"arrived"});
}

}  // namespace
}  // namespace quillet::test
