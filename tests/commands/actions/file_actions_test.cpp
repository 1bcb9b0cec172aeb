// The file commands end to end on an editor offscreen, with files in a
// temporary folder and the dialogs answered by the scripted runner: save
// and save as with their records, the format question, the close question,
// open, insert and export for each format, and bad files.
#include "commands/actions/file_actions.h"

#include <QApplication>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../../editing/edit_test_util.h"
#include "commands/resource_strings.h"
#include "engine/base/shared_routines.h"
#include "engine/model/picture_item.h"
#include "fake_converter.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/ui/application.h"
#include "platform/ui/common_dialogs.h"
#include "support/dialog_answers.h"

namespace quillet::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
std::string Utf16(const std::string& utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  std::string bytes;
  for (char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

struct FileChange {
  std::string fileName;
  TdvFileSaveFilter format;
  bool isNew;
};

class FileCommands : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    InstallRTFReader();
    ASSERT_TRUE(dir.isValid());
    save->OnDocumentFileChange = [this](TdvActionSave& sender, TCustomDocViewEdit& target, const std::string& name,
                                        TdvFileSaveFilter format, bool isNew) {
      EXPECT_EQ(&sender, save);
      if (&target == editor.get()) changes.push_back({name, format, isNew});
    };
  }

  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  template <class T>
  T& Add() {
    return *new T(&module);
  }
  // The texts of the message boxes asked so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.Asked)
      if (asked.Kind == TScriptedCommonDialogs::dkMessage)
        texts.push_back(std::get<TMessageQuestion>(asked.Question).Text);
    return texts;
  }
  const TMessageQuestion& LastMessage() const {
    return std::get<TMessageQuestion>(dialogs.Asked.back().Question);
  }
  const TFileQuestion& FileAsked(size_t index) const {
    return std::get<TFileQuestion>(dialogs.Asked.at(index).Question);
  }
  // The document as 8-bit text, in UTF-8.
  std::string PlainText() const {
    TMemoryStream text;
    EXPECT_TRUE(editor->SaveTextToStream("", text, 0, false, false));
    return AnsiToUtf8(text.AsString());
  }
  const TdvaDocumentInfo* Record() const {
    const int index = save->FindDoc(editor.get());
    return index < 0 ? nullptr : &save->Doc(index);
  }
  void Reset(const std::string& doc) {
    Load(doc);
    editor->Modified = false;
    save->DeleteDoc(editor.get());
    dialogs.Asked.clear();
    dialogs.Answers.clear();
  }

  QTemporaryDir dir;
  QObject module;
  TdvActionSave* save = new TdvActionSave(&module);
  TdvActionSaveAs* saveAs = new TdvActionSaveAs(&module);
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scope{dialogs};
  std::vector<FileChange> changes;
};

TEST_F(FileCommands, SaveWithoutAFileRunsSaveAsThenWritesBack) {
  Load(R"(P0 0"ab")");
  editor->Modified = true;
  dialogs.Answers = {File(Path("a.dvf"), 1)};
  save->ExecuteTarget(editor.get());
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkSave);
  EXPECT_EQ(FileAsked(0).Filter, "DocView Files (*.dvf)|*.dvf|RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt");
  EXPECT_EQ(FileAsked(0).DefaultExt, "dvf");
  EXPECT_FALSE(editor->Modified);
  ASSERT_NE(Record(), nullptr);
  EXPECT_TRUE(Record()->Defined);
  EXPECT_EQ(Record()->FileFormat, ffeDVF);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().fileName, Path("a.dvf"));
  EXPECT_FALSE(changes.back().isNew);
  const std::string first = ReadFile(Path("a.dvf"));
  EXPECT_FALSE(first.empty());

  // Saved once, save writes to the same file without asking.
  editor->SetSelectionBounds(0, 3, 0, 3);
  ASSERT_TRUE(editor->InsertText("c"));
  save->ExecuteTarget(editor.get());
  EXPECT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_NE(ReadFile(Path("a.dvf")), first);

  // Save as proposes the record's file and format.
  dialogs.Answers = {Cancel()};
  saveAs->ExecuteTarget(editor.get());
  EXPECT_EQ(FileAsked(1).FileName, Path("a.dvf"));
  EXPECT_EQ(FileAsked(1).FilterIndex, 1);

  // Open gives the saved document back.
  const std::string saved = Doc();
  Load(R"(P0 0"zz")");
  dialogs.Answers = {File(Path("a.dvf"), 1)};
  Add<TdvActionOpen>().ExecuteTarget(editor.get());
  EXPECT_EQ(Doc(), saved);
  EXPECT_FALSE(editor->Modified);
}

TEST_F(FileCommands, TheFormatQuestionComesWithEverySave) {
  Load(R"(P0 0"ab")");
  const std::string question = std::string("a.txt") + std::string(LoadResString(dvrsFormatWarning)).substr(2);
  // Save as asks once and saves without asking again.
  dialogs.Answers = {File(Path("a.txt"), 3), Button(IDYES)};
  saveAs->ExecuteTarget(editor.get());
  EXPECT_EQ(Messages(), std::vector<std::string>{question});
  EXPECT_EQ(LastMessage().Caption, "确认");
  EXPECT_EQ(LastMessage().Buttons, MB_YESNO);
  EXPECT_EQ(LastMessage().Icon, MB_ICONQUESTION);
  EXPECT_EQ(ReadFile(Path("a.txt")), "ab");
  ASSERT_NE(Record(), nullptr);
  EXPECT_EQ(Record()->FileFormat, ffeTextANSI);

  // Each later save asks again; No leaves the file and the modified flag.
  const struct {
    TMsgAnswer answer;
    const char* typed;
    const char* file;
  } saves[] = {{IDYES, "c", "abc"}, {IDNO, "d", "abc"}, {IDYES, "e", "abcde"}};
  for (const auto& s : saves) {
    editor->SetSelectionBounds(0, editor->GetOffsAfterItem(0), 0, editor->GetOffsAfterItem(0));
    ASSERT_TRUE(editor->InsertText(s.typed));
    dialogs.Answers = {Button(s.answer)};
    const size_t asked = Messages().size();
    save->ExecuteTarget(editor.get());
    EXPECT_EQ(Messages().size(), asked + 1) << s.typed;
    EXPECT_EQ(ReadFile(Path("a.txt")), s.file) << s.typed;
    EXPECT_EQ(editor->Modified, s.answer == IDNO) << s.typed;
  }
}

TEST_F(FileCommands, AFailedSaveIsReportedAndUndefinesTheRecord) {
  Load(R"(P0 0"ab")");
  editor->Modified = true;
  const std::string nowhere = Path("missing/a.dvf");
  dialogs.Answers = {File(nowhere, 1)};
  saveAs->ExecuteTarget(editor.get());
  EXPECT_EQ(Messages(), std::vector<std::string>{"保存过程中出错"});
  EXPECT_EQ(LastMessage().Icon, MB_ICONERROR);
  EXPECT_EQ(LastMessage().Caption, ApplicationTitle());
  ASSERT_NE(Record(), nullptr);
  EXPECT_FALSE(Record()->Defined);
  EXPECT_TRUE(editor->Modified);
  EXPECT_TRUE(changes.back().isNew);

  // The next save asks for a file again.
  dialogs.Answers = {File(Path("b.dvf"), 1)};
  save->ExecuteTarget(editor.get());
  EXPECT_EQ(dialogs.Asked.back().Kind, TScriptedCommonDialogs::dkSave);
  EXPECT_EQ(FileAsked(dialogs.Asked.size() - 1).FileName, nowhere);
  EXPECT_TRUE(Record()->Defined);
  EXPECT_FALSE(editor->Modified);
}

TEST_F(FileCommands, TheCloseQuestionGuardsNewAndOpen) {
  WriteFile(Path("b.txt"), "opened");
  auto& create = Add<TdvActionNew>();
  auto& open = Add<TdvActionOpen>();
  const struct {
    const char* what;
    TdvActionNew* command;
    std::vector<TAnswer> answers;
    std::string text;  // the document after
    bool savedFirst;
  } cases[] = {
      {"new, cancelled", &create, {Button(IDCANCEL)}, "ab", false},
      {"open, cancelled", &open, {Button(IDCANCEL)}, "ab", false},
      {"new, discarded", &create, {Button(IDNO)}, "", false},
      {"open, discarded", &open, {Button(IDNO), File(Path("b.txt"), 3)}, "opened", false},
      {"new, saved first", &create, {Button(IDYES), File(Path("c.dvf"), 1)}, "", true},
      {"new, save cancelled", &create, {Button(IDYES), Cancel()}, "ab", false},
  };
  for (const auto& c : cases) {
    Reset(R"(P0 0"ab")");
    std::filesystem::remove(Path("c.dvf"));
    editor->Modified = true;
    dialogs.Answers.assign(c.answers.begin(), c.answers.end());
    c.command->ExecuteTarget(editor.get());
    EXPECT_EQ(dialogs.Asked.size(), c.answers.size()) << c.what;
    EXPECT_EQ(Messages().at(0), "是否保存对 Untitled.dvf 的修改?") << c.what;
    EXPECT_EQ(std::get<TMessageQuestion>(dialogs.Asked[0].Question).Buttons, MB_YESNOCANCEL) << c.what;
    EXPECT_EQ(PlainText(), c.text) << c.what;
    EXPECT_EQ(std::filesystem::exists(Path("c.dvf")), c.savedFirst) << c.what;
  }

  // An unmodified document goes without a question; new leaves an untitled one.
  Reset(R"(P0 0"ab")");
  create.ExecuteTarget(editor.get());
  EXPECT_TRUE(dialogs.Asked.empty());
  EXPECT_EQ(Record()->FileName, "Untitled.dvf");
  EXPECT_FALSE(Record()->Defined);
  EXPECT_TRUE(changes.back().isNew);
  QTest::keyClicks(editor->Widget(), "xy");
  EXPECT_EQ(PlainText(), "xy");
}

TEST_F(FileCommands, OpenReadsEachFormat) {
  Load(R"(P0 0"dvf text")");
  ASSERT_TRUE(editor->SaveDVF(Path("a.dvf"), false));
  WriteFile(Path("a.rtf"), "{\\rtf1 rtf text\\par second}");
  WriteFile(Path("gbk.txt"), Utf8ToAnsi("中文 text"));
  WriteFile(Path("bom.txt"), "\xFF\xFE" + Utf16("宽字 text"));
  WriteFile(Path("wide.txt"), Utf16("wide"));
  auto& open = Add<TdvActionOpen>();
  const struct {
    const char* file;
    int filterIndex;
    const char* text;
    TdvFileSaveFilter format;
  } cases[] = {
      {"a.dvf", 1, "dvf text", ffeDVF},
      {"a.rtf", 2, "rtf text\r\nsecond", ffeRTF},
      {"gbk.txt", 3, "中文 text", ffeTextANSI},
      // The text entry reads by the Unicode test: UTF-16 with or without a mark.
      {"bom.txt", 3, "宽字 text", ffeTextUnicode},
      {"wide.txt", 3, "wide", ffeTextUnicode},
  };
  for (const auto& c : cases) {
    Reset(R"(P0 0"old")");
    dialogs.Answers = {File(Path(c.file), c.filterIndex)};
    open.ExecuteTarget(editor.get());
    EXPECT_EQ(FileAsked(0).Filter, "DocView Files (*.dvf)|*.dvf|RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt");
    EXPECT_TRUE(Messages().empty()) << c.file;
    EXPECT_EQ(PlainText(), c.text) << c.file;
    EXPECT_EQ(open.FilterIndex, c.filterIndex) << c.file;
    ASSERT_NE(Record(), nullptr) << c.file;
    EXPECT_EQ(Record()->FileName, Path(c.file));
    EXPECT_EQ(Record()->FileFormat, c.format) << c.file;
    EXPECT_TRUE(Record()->Defined) << c.file;
    EXPECT_FALSE(editor->Modified) << c.file;
  }

  // Without the automatic format the text entry is 8-bit text.
  open.Filter.Exclude(ffiTextAuto);
  Reset(R"(P0 0"old")");
  dialogs.Answers = {File(Path("wide.txt"), 3)};
  open.ExecuteTarget(editor.get());
  EXPECT_EQ(Record()->FileFormat, ffeTextANSI);
}

TEST_F(FileCommands, InsertFileAddsEachFormatAsOneUndoableChange) {
  Load(R"(P0 0"dvf")");
  ASSERT_TRUE(editor->SaveDVF(Path("a.dvf"), false));
  WriteFile(Path("a.rtf"), "{\\rtf1 rtf}");
  WriteFile(Path("gbk.txt"), Utf8ToAnsi("中文"));
  WriteFile(Path("wide.txt"), "\xFF\xFE" + Utf16("宽"));
  WriteFile(Path("a.aa"), "foreign");
  FakeConversions conversions;
  conversions.importRtf = "{\\rtf1 converted}";
  auto& insert = Add<TdvActionInsertFile>();
  insert.ConverterFactory = [&] { return MakeFakeConverter(conversions); };
  const struct {
    const char* file;
    int filterIndex;
    const char* text;
  } cases[] = {
      {"a.dvf", 1, "abdvf"}, {"a.rtf", 2, "abrtf"},     {"gbk.txt", 3, "ab中文"},
      {"wide.txt", 3, "ab宽"},     {"a.aa", 4, "abconverted"},
  };
  for (const auto& c : cases) {
    Reset(R"(P0 0"ab")");
    editor->SetSelectionBounds(0, 3, 0, 3);
    dialogs.Answers = {File(Path(c.file), c.filterIndex)};
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { insert.ExecuteTarget(editor.get()); })) << c.file;
    EXPECT_EQ(FileAsked(0).Filter,
              "DocView Files (*.dvf)|*.dvf|RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|Alpha|*.aa|Beta|*.bb;*.cc");
    EXPECT_TRUE(Messages().empty()) << c.file;
    EXPECT_EQ(PlainText(), c.text) << c.file;
    // Inserting leaves the document's file alone.
    EXPECT_EQ(Record(), nullptr) << c.file;
  }
  EXPECT_EQ(conversions.lastFile, Path("a.aa"));

  // Refused while a table has a range of cells selected.
  insert.UpdateTarget(editor.get());
  EXPECT_TRUE(insert.isEnabled());
  Data().FPartialSelectedItem = Data().GetItem(0);
  insert.UpdateTarget(editor.get());
  EXPECT_FALSE(insert.isEnabled());
  Data().FPartialSelectedItem = nullptr;
}

TEST_F(FileCommands, BadFilesFailWithTheLoadMessage) {
  Load(R"(P0 0"whole document")");
  ASSERT_TRUE(editor->SaveDVF(Path("whole.dvf"), false));
  const std::string dvf = ReadFile(Path("whole.dvf"));
  WriteFile(Path("short.dvf"), dvf.substr(0, dvf.size() / 2));
  WriteFile(Path("odd.txt"), "\xFF\xFE" + Utf16("odd") + "x");
  WriteFile(Path("locked.txt"), "locked");
  WriteFile(Path("short.rtf"), "{\\rtf1 abc {\\b bold \\par more {\\pict\\dibitmap0 00");
  ::chmod(Path("locked.txt").c_str(), 0);
  const bool lockedUnreadable = ::access(Path("locked.txt").c_str(), R_OK) != 0;
  std::filesystem::create_directory(Path("folder.dvf"));
  FakeConversions conversions;
  conversions.fail = true;
  auto converter = MakeFakeConverter(conversions);
  auto& open = Add<TdvActionOpen>();
  auto& insert = Add<TdvActionInsertFile>();
  const struct {
    const char* file;
    TdvFileImportFilter format;
  } cases[] = {
      {"missing.dvf", ffiDVF},   {"missing.txt", ffiTextAuto}, {"short.dvf", ffiDVF},
      {"odd.txt", ffiTextUnicode}, {"folder.dvf", ffiDVF},     {"folder.dvf", ffiRTF},
      {"folder.dvf", ffiTextAuto}, {"locked.txt", ffiTextANSI}, {"short.rtf", ffiRTF}, {"whole.dvf", ffiOfficeConverters},
  };
  for (const auto& c : cases) {
    const std::string what = std::string(c.file) + " as " + std::to_string(c.format);
    if (std::string(c.file) == "locked.txt" && !lockedUnreadable) continue;  // root reads every file
    // Insert leaves the document as it was.
    Reset(R"(P0 0"ab" P1 0"cd")");
    editor->SetSelectionBounds(0, 2, 0, 2);
    const std::string before = DvfBytes(Data());
    EXPECT_FALSE(insert.InsertFile(*editor, Path(c.file), c.format, converter.get(), 0)) << what;
    EXPECT_EQ(DvfBytes(Data()), before) << what;
    EXPECT_EQ(Data().UndoList->Count(), 0) << what;
    EXPECT_EQ(Messages(), std::vector<std::string>{"加载过程中出错"}) << what;
    EXPECT_EQ(LastMessage().Icon, MB_ICONERROR) << what;

    if (c.format == ffiOfficeConverters) continue;  // open offers no converters
    // Open leaves an empty, modified document that belongs to no file.
    Reset(R"(P0 0"ab")");
    save->AddDoc(*editor, Path("earlier.dvf"), false, false, true, ffeDVF);
    EXPECT_FALSE(open.LoadFile(*editor, Path(c.file), c.format)) << what;
    EXPECT_EQ(PlainText(), "") << what;
    EXPECT_TRUE(editor->Modified) << what;
    EXPECT_EQ(Messages(), std::vector<std::string>{"加载过程中出错"}) << what;
    EXPECT_FALSE(Record()->Defined) << what;
    EXPECT_EQ(Record()->FileName, "Untitled.dvf") << what;
    QTest::keyClicks(editor->Widget(), "x");
    EXPECT_EQ(PlainText(), "x") << what;
  }
  ::chmod(Path("locked.txt").c_str(), 0600);
}

TEST_F(FileCommands, ADocumentWithFewerStylesOpensAndTakesTyping) {
  TDVStyle small;
  TDocViewEdit source;
  source.SetStyle(&small);
  source.SetDVFOptions(source.DVFOptions() | dvfoSaveTextStyles | dvfoSaveParaStyles);
  source.AddNL("few", 0, 0);
  source.Format();
  ASSERT_TRUE(source.SaveDVF(Path("few.dvf"), false));
  const std::string dvf = ReadFile(Path("few.dvf"));
  // Cut where the styles are read but the items are not.
  WriteFile(Path("cut.dvf"), dvf.substr(0, dvf.size() - 8));

  for (const auto& [file, loads] : {std::pair{"few.dvf", true}, std::pair{"cut.dvf", false}}) {
    while (sheet.TextStyles().Count() < small.TextStyles().Count() + 3) sheet.TextStyles().Add();
    while (sheet.ParaStyles().Count() < small.ParaStyles().Count() + 3) sheet.ParaStyles().Add();
    Reset(R"(P0 0"old")");
    editor->SetCurTextStyleNo(sheet.TextStyles().Count() - 1);
    editor->SetCurParaStyleNo(sheet.ParaStyles().Count() - 1);
    EXPECT_EQ(Add<TdvActionOpen>().LoadFile(*editor, Path(file), ffiDVF), loads) << file;
    EXPECT_LT(editor->CurTextStyleNo(), sheet.TextStyles().Count()) << file;
    EXPECT_LT(editor->CurParaStyleNo(), sheet.ParaStyles().Count()) << file;
    QTest::keyClicks(editor->Widget(), "x");
    EXPECT_NE(PlainText().find('x'), std::string::npos) << file;
  }
}

TEST_F(FileCommands, ExportWritesACopyInEachFormat) {
  Load(R"(P0 0"ab")");
  editor->Modified = true;
  FakeConversions conversions;
  auto& exporter = Add<TdvActionExport>();
  exporter.ConverterFactory = [&] { return MakeFakeConverter(conversions); };
  const struct {
    const char* file;
    int filterIndex;
    const char* title;
    const char* expected;  // found in what was written
  } cases[] = {
      {"a.dvf", 1, "", ""},
      {"a.rtf", 2, "", "{\\rtf1"},
      {"a.txt", 3, "", "ab"},
      {"css.htm", 4, "", "<TITLE>css.htm</TITLE>"},
      {"plain.htm", 5, "Mine", "<TITLE>Mine</TITLE>"},
      {"a.bb", 7, "", "{\\rtf1"},
  };
  for (const auto& c : cases) {
    dialogs.Asked.clear();
    exporter.FileTitle = c.title;
    dialogs.Answers = {File(Path(c.file), c.filterIndex)};
    exporter.ExecuteTarget(editor.get());
    EXPECT_TRUE(Messages().empty()) << c.file;
    const std::string written = c.filterIndex == 7 ? conversions.exported : ReadFile(Path(c.file));
    EXPECT_FALSE(written.empty()) << c.file;
    EXPECT_NE(written.find(c.expected), std::string::npos) << c.file;
    EXPECT_EQ(exporter.FilterIndex, c.filterIndex);
  }
  EXPECT_EQ(conversions.lastFile, Path("a.bb"));
  EXPECT_EQ(FileAsked(0).Filter,
            "DocView Files (*.dvf)|*.dvf|RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|HTML (*.htm;*.html)|"
            "*.htm;*.html|HTML - Simplified (*.htm;*.html)|*.htm;*.html|Alpha|*.aa|Beta|*.bb;*.cc");
  EXPECT_TRUE(editor->Modified);
  EXPECT_EQ(Record(), nullptr);

  // Failures: a folder that is not there, a converter that fails.
  for (const auto& [file, index] : {std::pair{"missing/a.rtf", 2}, std::pair{"a.aa", 6}}) {
    conversions.fail = true;
    dialogs.Asked.clear();
    dialogs.Answers = {File(Path(file), index)};
    exporter.ExecuteTarget(editor.get());
    EXPECT_EQ(Messages(), std::vector<std::string>{"保存过程中出错"}) << file;
  }
}

TEST_F(FileCommands, InsertPictureGoesThroughTheGraphicFactory) {
  TBitmap(4, 3).SaveToFile(Path("a.bmp"));
  WriteFile(Path("bad.bmp"), "not a picture");
  std::vector<std::string> made;
  const TDV_CreateGraphicsFunction saved = DV_CreateGraphics;
  DV_CreateGraphics = [&](const std::string& className) {
    made.push_back(className);
    return DV_CreateGraphicsDefault(className);
  };
  auto& insert = Add<TdvActionInsertPicture>();
  insert.VAlign = dvvaMiddle;
  Load(R"(P0 0"ab")");
  editor->SetSelectionBounds(0, 2, 0, 2);
  dialogs.Answers = {File(Path("a.bmp"), 1)};
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { insert.ExecuteTarget(editor.get()); }));
  EXPECT_EQ(dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkPicture);
  EXPECT_EQ(FileAsked(0).DefaultExt, "bmp");
  EXPECT_EQ(made, std::vector<std::string>{"TBitmap"});
  auto* picture = dynamic_cast<TDVGraphicItemInfo*>(Data().GetItem(1));
  ASSERT_NE(picture, nullptr) << Doc();
  EXPECT_EQ(picture->VAlign, dvvaMiddle);
  EXPECT_EQ(picture->Image->Width(), 4);

  const std::string before = DvfBytes(Data());
  dialogs.Answers = {File(Path("bad.bmp"), 1)};
  insert.ExecuteTarget(editor.get());
  EXPECT_EQ(Messages(), std::vector<std::string>{"加载过程中出错"});
  EXPECT_EQ(LastMessage().Icon, MB_ICONWARNING);
  EXPECT_EQ(DvfBytes(Data()), before);
  DV_CreateGraphics = saved;
}

TEST_F(FileCommands, ARecordGoesWithItsEditor) {
  auto other = std::make_unique<TestEditor>();
  save->AddDoc(*other, Path("other.dvf"), false, false, true, ffeRTF);
  save->AddDoc(*editor, Path("mine.dvf"), false, false, true, ffeDVF);
  ASSERT_EQ(save->DocCount(), 2);
  other.reset();
  ASSERT_EQ(save->DocCount(), 1);
  EXPECT_EQ(save->Doc(0).FileName, Path("mine.dvf"));
}

TEST_F(FileCommands, MissingPartnersAreReported) {
  Load(R"(P0 0"ab")");
  TdvActionNew create;
  TdvActionOpen open;
  TdvActionSaveAs saveAsAlone;
  TdvActionSave saveAlone;
  const struct {
    TdvAction* command;
    TDVResourceString message;
  } cases[] = {
      {&create, dvrsNoSaveAction},
      {&open, dvrsNoSaveAction},
      {&saveAsAlone, dvrsNoSaveAction},
      {&saveAlone, dvrsNoSaveAsAction},
  };
  for (const auto& c : cases) {
    try {
      c.command->ExecuteTarget(editor.get());
      ADD_FAILURE() << "no error for " << LoadResString(c.message);
    } catch (const EActionError& e) {
      EXPECT_EQ(e.what(), LoadResString(c.message));
    }
  }
  // From a menu the error is shown, not passed on.
  QApplication::setActiveWindow(editor->Widget());
  editor->SetFocus();
  ASSERT_TRUE(editor->Focused());
  create.trigger();
  EXPECT_EQ(Messages(), std::vector<std::string>{"TdvActionSave object is not assigned!"});
}

}  // namespace
}  // namespace quillet::test
