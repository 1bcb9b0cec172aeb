// The command module on a real editor: the actions by their form names with
// the host's captions and shortcuts, commands pinned to the main editor,
// undo and redo of annotations in pen mode, paste into an open cell editor,
// the undo menu captions, and the file commands with the document's
// reviewers and annotations and the window title, their dialogs answered by
// the scripted runner and their files in a temporary folder.
#include "host/form/action_dm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <fstream>
#include <set>

#include "../../editing/edit_test_util.h"
#include "../../editing/table/table_test_util.h"
#include "commands/actions/file_actions.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "interchange/convert/text_converter.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/ui/common_dialogs.h"
#include "support/dialog_answers.h"
#include "tests/host/annotation/postil_test_support.h"

namespace quillet::test {
namespace {

class ActionDM : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    record = std::make_unique<TDocumentRecord>(*editor, reviewers, postil);
    module = std::make_unique<TActionDM>(*editor, postil, reviewers, *record);
  }
  void TearDown() override {
    module.reset();
    record.reset();
    TableEditTest::TearDown();
  }
  QAction& Act(const char* name) {
    QAction* action = module->Action(name);
    EXPECT_NE(action, nullptr) << name;
    return *action;
  }
  TQvPostil postil;
  TReviewerTable reviewers;
  std::unique_ptr<TDocumentRecord> record;
  std::unique_ptr<TActionDM> module;
};

TEST_F(ActionDM, ActionsCarryTheFormsNamesCaptionsAndShortcuts) {
  struct Case {
    const char* name;
    const char* caption;
    QKeySequence keys;
    const char* category;
  };
  const Case cases[] = {
      {"dvActionNew1", "新建(&N)", QKeySequence("Ctrl+N"), "DVE File"},
      {"dvActionPaste1", "粘帖(&P)", QKeySequence("Ctrl+V"), "DVE Edit"},
      {"dvActionRedo1", "恢复(&R)", QKeySequence("Ctrl+Y"), "DVE Edit"},
      {"dvActionFontEx1", "字体（高级）(&O)...", QKeySequence(), "DVE Text"},
      {"dvActionTableSelectTable1", "选定表格(&T)", QKeySequence(Qt::ALT | Qt::Key_Clear), "DVE Table"},
      {"dvActionFindNext1", "查找下一个(&N)", QKeySequence("F3"), "DVE Edit"},
      {"dvActionParaColor1", "段落背景颜色(&B)...", QKeySequence(), "DVE Paragraph"},
      {"dvActionPageSetup", "页面设置", QKeySequence(), "DVE File"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QAction& action = Act(c.name);
    EXPECT_EQ(action.text().toStdString(), c.caption);
    EXPECT_EQ(action.shortcut(), c.keys);
    EXPECT_EQ(TActionDM::Category(action).toStdString(), c.category);
  }
  // Every name is the module's once.
  std::set<QString> names;
  for (QAction* action : module->Actions()) EXPECT_TRUE(names.insert(action->objectName()).second);
  EXPECT_EQ(names.size(), module->Actions().size());
}

TEST_F(ActionDM, PinnedCommandsWorkOnTheMainEditorWhateverHasTheFocus) {
  Load(R"(P0 0"ab")");
  editor->SelectAll();
  QWidget other;
  auto* line = new QLineEdit(&other);
  other.show();
  line->setFocus();
  Act("dvActionFontBold1").trigger();
  EXPECT_TRUE(sheet.TextStyles()[Data().GetItemStyle(0)].Style & fsBold);
}

TEST_F(ActionDM, UndoAndRedoTakeStrokesInPenModeAndLeaveTheTextsUndo) {
  Load(R"(P0 0"ab")");
  editor->SelectAll();
  editor->InsertText("x");
  const int textSteps = Data().UndoList->Count();
  postil.BeginPostil();
  postil.BeginDraw();
  postil.AddPointM(10, 10, 255, 2, 0, 0, 1);
  postil.AddPointL(40, 30, 255, 2, 0, 0, 1);
  postil.EndDraw();
  const size_t drawn = postil.NewPostil().size();
  ASSERT_GT(drawn, 0u);
  Act("dvActionUndo1").trigger();
  EXPECT_LT(postil.NewPostil().size(), drawn);
  EXPECT_EQ(Data().UndoList->Count(), textSteps);
  Act("dvActionRedo1").trigger();
  EXPECT_EQ(postil.NewPostil().size(), drawn);

  postil.EndPostil();
  Act("dvActionUndo1").trigger();
  EXPECT_EQ(Data().UndoList->Count(), textSteps - 1);
  EXPECT_EQ(Doc(), R"(P0 0"ab")");
}

TEST_F(ActionDM, UndoCaptionsNameTheNextStep) {
  Load(R"(P0 0"ab")");
  EXPECT_EQ(module->UndoCaption().toStdString(), "撤消(&U) ");
  EXPECT_EQ(module->RedoCaption().toStdString(), "恢复(&R) ");
  editor->SelectAll();
  editor->InsertText("x");
  EXPECT_EQ(module->UndoCaption().toStdString(), "撤消(&U) 插入");
  editor->Undo();
  EXPECT_EQ(module->RedoCaption().toStdString(), "恢复(&R) 插入");
}

TEST_F(ActionDM, PasteGoesIntoAnOpenCellEditor) {
  TDVTableItemInfo& table = PlaceInEditor(MakeTable(2, 2));
  table.CreateInplace(table.GetMyItemNo(), 0, 0, false, true, true);
  TCustomDocViewEdit* cell = editor->InplaceTarget();
  ASSERT_NE(cell, nullptr);
  QApplication::clipboard()->setText("pasted");
  Act("dvActionPaste1").trigger();
  EXPECT_NE(cell->GetItemText(0).find("pasted"), std::string::npos);
}

// ---- the file commands ----

// The host lines of a document file, read back by another editor: the
// reviewer lines, then the annotation lines.
TQvDvData HostLinesOf(const std::string& path) {
  TDVStyle sheet;
  MakeEditSheet(sheet);
  TDocViewEdit reader;
  reader.SetStyle(&sheet);
  EXPECT_TRUE(reader.LoadDVF(path)) << path;
  return reader.DVData().HostLines();
}

class ModuleFiles : public ActionDM {
 protected:
  void SetUp() override {
    ActionDM::SetUp();
    ASSERT_TRUE(dir.isValid());
    WithFixedDate(postil);
    module->OnTitle = [this](const QString& title) { titles.push_back(title.toStdString()); };
    module->OnMarginToUI = [this] { ++marginsShown; };
    // Insert file follows the focus; here it has none.
    static_cast<TdvAction*>(module->Action("dvActionInsertFile1"))->SetControl(editor.get());
    // No office suite: the dialogs offer the document formats only.
    for (const char* name : {"dvActionExport1", "dvActionInsertFile1"})
      static_cast<TdvActionCustomFileIO*>(module->Action(name))->ConverterFactory = [] {
        return std::unique_ptr<TDVTextConverter>();
      };
  }

  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  // Two reviewers, tracking on in B's colour, a stroke, and carrier lines
  // left from an older load.
  void Review(const std::string& text) {
    Load("P0 0\"" + text + "\"");
    editor->Modified = false;
    reviewers.Enter("A", "2026-12-10 10:00:01");
    reviewers.Enter("B", "2026-12-10 10:00:02");
    editor->TraceOn = true;
    editor->TraceUserColor = reviewers.Slot(2).Color;
    DrawStroke(postil, {{10, 10, 3}, {40, 30, 3}, {80, 20, 3}});
    editor->DVData().HostLines() = {{"QPold"}, {"QV;old;t;1"}};
  }
  // A document file with the reviewers and strokes of Review(text), written
  // as the form writes its files; the form is then emptied.
  std::string ReviewedFile(const std::string& name, const std::string& text) {
    Review(text);
    record->WriteHostLines();
    EXPECT_TRUE(editor->SaveDVF(Path(name), false));
    written = Snap();
    reviewers.Clear();
    postil.clear();
    Load(R"(P0 0"other")");
    editor->Modified = false;
    return Path(name);
  }
  std::vector<TReviewer> Slots() const {
    std::vector<TReviewer> taken;
    for (int i = 0; i < TReviewerTable::kSlots; ++i) taken.push_back(reviewers.Slot(i));
    return taken;
  }
  std::vector<std::string> Annotations() const {
    std::vector<std::string> lines;
    postil.Save(lines);
    return lines;
  }
  struct Snapshot {
    std::vector<TReviewer> table;
    int32_t cur, used;
    std::vector<std::string> annotations;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
    friend void PrintTo(const Snapshot& s, std::ostream* os) {
      for (const TReviewer& r : s.table)
        if (!r.Name.empty()) *os << "{" << r.Name << ";" << r.Time << ";" << r.Color << "}";
      *os << " cur " << s.cur << " used " << s.used << ", " << s.annotations.size() << " annotation lines";
    }
  };
  Snapshot Snap() const { return {Slots(), reviewers.CurUserNo(), reviewers.UsedUserNo(), Annotations()}; }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.Asked)
      if (asked.Kind == TScriptedCommonDialogs::dkMessage)
        texts.push_back(std::get<TMessageQuestion>(asked.Question).Text);
    return texts;
  }
  void Forget() {
    dialogs.Asked.clear();
    titles.clear();
    marginsShown = 0;
  }

  QTemporaryDir dir;
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scope{dialogs};
  std::vector<std::string> titles;
  int marginsShown = 0;
  // The form as ReviewedFile wrote it.
  Snapshot written;
};

TEST_F(ModuleFiles, NewResetsReviewersTrackingAndAnnotations) {
  Review("ab");
  Act("dvActionNew1").trigger();
  EXPECT_EQ(Slots(), std::vector<TReviewer>(TReviewerTable::kSlots));
  EXPECT_EQ(reviewers.CurUserNo(), 0);
  EXPECT_EQ(reviewers.UsedUserNo(), 0);
  EXPECT_FALSE(editor->TraceOn);
  EXPECT_EQ(editor->TraceUserColor, 0);
  EXPECT_TRUE(editor->DVData().HostLines().Empty());
  EXPECT_TRUE(postil.AllPostil().empty());
  EXPECT_TRUE(postil.NewPostil().empty());
  EXPECT_EQ(Doc().find("ab"), std::string::npos);
  ASSERT_FALSE(titles.empty());
  EXPECT_EQ(titles.back(), "新文件.esf (*) - Quillet 2.0");
  EXPECT_TRUE(Messages().empty());
}

// Cancel on the close question keeps the document, so its reviewers and
// annotations stay with it, for new as for open.
TEST_F(ModuleFiles, CloseQuestionCancelledKeepsReviewersAndAnnotations) {
  for (const char* name : {"dvActionNew1", "dvActionOpen1"}) {
    SCOPED_TRACE(name);
    Review("ab");
    editor->Modified = true;
    const Snapshot before = Snap();
    const bool tracking = editor->TraceOn;
    dialogs.Answers = {Button(IDCANCEL)};
    Forget();
    Act(name).trigger();
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    EXPECT_EQ(dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkMessage);
    EXPECT_EQ(Snap(), before);
    EXPECT_EQ(editor->TraceOn, tracking);
    EXPECT_EQ(Doc(), R"(P0 0"ab")");
    reviewers.Clear();
    postil.clear();
  }
}

TEST_F(ModuleFiles, OpenFillsReviewersAndAnnotationsFromTheFile) {
  const std::string path = ReviewedFile("reviewed.esf", "ab");
  ASSERT_NE(Snap(), written);
  dialogs.Answers = {File(path)};
  Act("dvActionOpen1").trigger();
  EXPECT_EQ(Snap().table, written.table);
  EXPECT_EQ(reviewers.Slot(0).Name, Utf8ToAnsi("起草人"));
  EXPECT_EQ(reviewers.CurUserNo(), 2);
  EXPECT_EQ(reviewers.UsedUserNo(), 3);
  EXPECT_EQ(Annotations(), written.annotations);
  EXPECT_EQ(Doc(), R"(P0 0"ab")");
  EXPECT_FALSE(editor->Modified);
  EXPECT_EQ(titles.back(), "reviewed.esf - Quillet 2.0");
  EXPECT_TRUE(Messages().empty());
}

// A file of another kind carries no reviewers or strokes: the document
// opened from it starts without those of the one it replaced.
TEST_F(ModuleFiles, OpenOfPlainTextStartsWithoutReviewersAndAnnotations) {
  const std::string path = Path("plain.txt");
  std::ofstream(path, std::ios::binary) << "hello";
  Review("ab");
  dialogs.Answers = {File(path, 3)};
  Act("dvActionOpen1").trigger();
  EXPECT_EQ(Snap(), Snapshot({std::vector<TReviewer>(TReviewerTable::kSlots), 0, 0, {}}));
  EXPECT_TRUE(editor->DVData().HostLines().Empty());
  EXPECT_EQ(Doc(), R"(P0 0"hello")");
  EXPECT_EQ(titles.back(), "plain.txt - Quillet 2.0");
  EXPECT_TRUE(Messages().empty());
}

// Reviewers and annotations change only once a file has been read: a
// cancelled dialog and every failed read leave them as they were.
TEST_F(ModuleFiles, OpenThatReadsNoFileKeepsReviewersAndAnnotations) {
  const std::string notADocument = Path("nonsense.esf");
  std::ofstream(notADocument, std::ios::binary) << "QV;A;t;255\r\nnonsense\r\n";
  const std::string damaged = Path("damaged.esf");
  Load(R"(P0 0"cd")");
  editor->DVData().HostLines() = {{}, {Utf8ToAnsi("QV;起草人;t;0"), "QV;A;t;red"}};
  ASSERT_TRUE(editor->SaveDVF(damaged, false));
  struct Case {
    const char* name;
    TAnswer answer;
    bool reported;  // the load error is shown
  };
  const Case cases[] = {
      {"Cancelled", Cancel(), false},
      {"NotADocument", File(notADocument), true},
      {"Missing", File(Path("missing.esf")), true},
      {"DamagedReviewerLine", File(damaged), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Review("ab");
    const Snapshot before = Snap();
    dialogs.Answers = {c.answer};
    Forget();
    Act("dvActionOpen1").trigger();
    EXPECT_EQ(Snap(), before);
    EXPECT_EQ(Messages(), c.reported ? std::vector<std::string>{"加载过程中出错"} : std::vector<std::string>{});
    reviewers.Clear();
    postil.clear();
  }
}

// Whatever command writes the document writes the reviewers and strokes
// the form holds now, not the lines of the last load.
TEST_F(ModuleFiles, SavingWritesFifteenReviewerLinesAndTheStrokes) {
  for (const char* name : {"dvActionSave1", "dvActionSaveAs1", "dvActionExport1"}) {
    SCOPED_TRACE(name);
    Review("ab");
    const std::string path = Path(std::string(name) + ".esf");
    dialogs.Answers = {File(path)};
    Act(name).trigger();
    const TQvDvData lines = HostLinesOf(path);
    ASSERT_EQ(lines.userInfo.size(), 15u);
    EXPECT_EQ(lines.userInfo[0], Utf8ToAnsi("QV;起草人;;0"));
    EXPECT_EQ(lines.userInfo[1], "QV;A;2026-12-10 10:00:01;255");
    EXPECT_EQ(lines.userInfo[2], "QV;B;2026-12-10 10:00:02;" + std::to_string(TReviewerTable::kPalette[1]));
    for (size_t i = 3; i < 15; ++i) EXPECT_EQ(lines.userInfo[i], "QV;;;0") << i;
    EXPECT_EQ(lines.allPostil, Annotations());
    EXPECT_FALSE(lines.allPostil.empty());
    EXPECT_TRUE(Messages().empty());
    reviewers.Clear();
    postil.clear();
    static_cast<TdvActionSave*>(module->Action("dvActionSave1"))->DeleteDoc(editor.get());
  }
}

// Yes on the close question saves the document being left with the
// strokes drawn since it was last saved.
TEST_F(ModuleFiles, CloseQuestionSavesTheStrokesOfTheDocumentLeft) {
  const std::string path = Path("left.esf");
  Review("ab");
  dialogs.Answers = {File(path)};
  Act("dvActionSave1").trigger();
  DrawStroke(postil, {{100, 100, 2}, {140, 120, 2}});
  const std::vector<std::string> now = Annotations();
  editor->Modified = true;
  dialogs.Answers = {Button(IDYES)};
  Act("dvActionNew1").trigger();
  EXPECT_EQ(HostLinesOf(path).allPostil, now);
  EXPECT_TRUE(postil.NewPostil().empty());
}

// The title follows the save command's file changes: the name without its
// folder, " (*)" while the document belongs to no file, when the form also
// shows its margins again.
TEST_F(ModuleFiles, TitleNamesTheFileAndMarksANewDocument) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("letters"));
  struct Case {
    const char* name;
    std::string path;
    const char* title;
    int margins;
  };
  const Case cases[] = {
      {"Saved", Path("letters/letter.esf"), "letter.esf - Quillet 2.0", 0},
      // The save fails: the document still belongs to no file.
      {"NotWritten", Path("none/letter.esf"), "letter.esf (*) - Quillet 2.0", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(R"(P0 0"ab")");
    static_cast<TdvActionSave*>(module->Action("dvActionSave1"))->DeleteDoc(editor.get());
    dialogs.Answers = {File(c.path)};
    Forget();
    Act("dvActionSave1").trigger();
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.back(), c.title);
    EXPECT_EQ(marginsShown, c.margins);
  }
}

// Open, save as, export and insert file offer one document format under one
// extension, which new documents are named with too.
TEST_F(ModuleFiles, FileDialogsShareTheDocumentExtension) {
  for (const char* name : {"dvActionOpen1", "dvActionSaveAs1", "dvActionExport1", "dvActionInsertFile1"}) {
    SCOPED_TRACE(name);
    dialogs.Answers = {Cancel()};
    Forget();
    Act(name).trigger();
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    const auto& question = std::get<TFileQuestion>(dialogs.Asked[0].Question);
    EXPECT_EQ(question.DefaultExt, "esf");
    EXPECT_EQ(question.Filter.substr(0, 31), "Edit System Files (*.esf)|*.esf");
  }
  Act("dvActionNew1").trigger();
  EXPECT_EQ(titles.back(), "新文件.esf (*) - Quillet 2.0");
}

}  // namespace
}  // namespace quillet::test
