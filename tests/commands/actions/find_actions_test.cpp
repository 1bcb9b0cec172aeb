// Find, find next and replace on a real editor offscreen, their dialogs
// driven through the widgets and the message boxes answered by the scripted
// common dialogs.
#include "commands/actions/find_actions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWindow>
#include <memory>
#include <stdexcept>

#include "../../editing/edit_test_util.h"
#include "commands/dialogs/find_dialog.h"
#include "editing/control/editor.h"
#include "platform/core/code_page.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

class FindReplace : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    owner = std::make_unique<QObject>();
    find = new TdvActionFind(owner.get());
    replace = new TdvActionReplace(owner.get());
    findNext = new TdvActionFindNext(owner.get());
  }
  void TearDown() override {
    owner.reset();
    EditTest::TearDown();
  }

  TdvaFindDialog& OpenFind() {
    find->ExecuteTarget(editor.get());
    return *find->FindDialog();
  }
  TdvaReplaceDialog& OpenReplace(const char* what, const char* with, bool down = true, bool matchCase = false) {
    replace->ExecuteTarget(editor.get());
    TdvaReplaceDialog& d = *replace->ReplaceDialog();
    d.edtFind()->setText(QString::fromUtf8(what));
    d.edtReplace()->setText(QString::fromUtf8(with));
    (down ? d.rbDown() : d.rbUp())->setChecked(true);
    d.cbMatchCase()->setChecked(matchCase);
    return d;
  }
  static void Click(QPushButton* button) {
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.Asked)
      if (const auto* m = std::get_if<TMessageQuestion>(&asked.Question)) texts.push_back(m->Text);
    return texts;
  }
  std::string SelText() { return AnsiToUtf8(editor->GetSelText()); }

  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scopedDialogs{dialogs};
  std::unique_ptr<QObject> owner;
  TdvActionFind* find = nullptr;
  TdvActionReplace* replace = nullptr;
  TdvActionFindNext* findNext = nullptr;
};

TEST_F(FindReplace, FindNextSelectsEachMatchThenReportsTheEnd) {
  Load(R"(P0 0"xab yAB" P0 0"ab")");
  editor->SetSelectionBounds(0, 1, 0, 1);
  TdvaFindDialog& d = OpenFind();
  EXPECT_TRUE(d.Showing());
  EXPECT_FALSE(d.btnFindNext()->isEnabled()) << "nothing to find yet";
  d.edtFind()->setText("ab");
  int found = 0;
  for (; found < 5 && dialogs.Asked.empty(); ++found) Click(d.btnFindNext());
  EXPECT_EQ(found, 4) << "three matches, then the message";
  ASSERT_EQ(Messages(), std::vector<std::string>{"没有找到字符串'ab'"});
  const auto& box = std::get<TMessageQuestion>(dialogs.Asked[0].Question);
  EXPECT_EQ(box.Caption, "搜索完成");
  EXPECT_EQ(box.Icon, MB_ICONINFORMATION);
  // Match case and up: back to the first "ab" only.
  dialogs.Asked.clear();
  d.cbMatchCase()->setChecked(true);
  d.rbUp()->setChecked(true);
  editor->SetSelectionBounds(1, 3, 1, 3);
  Click(d.btnFindNext());
  EXPECT_EQ(editor->GetCurItemNo(), 1);
  Click(d.btnFindNext());
  EXPECT_EQ(SelText(), "ab");
  EXPECT_EQ(editor->GetCurItemNo(), 0);
  EXPECT_TRUE(dialogs.Asked.empty());
  Click(d.btnFindNext());
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(FindReplace, FindNextOpensTheDialogFirstAndNeedsAFindCommand) {
  Load(R"(P0 0"abcabc")");
  findNext->ExecuteTarget(editor.get());
  ASSERT_NE(find->FindDialog(), nullptr);
  EXPECT_TRUE(find->FindDialog()->Showing());
  find->FindDialog()->edtFind()->setText("bc");
  findNext->ExecuteTarget(editor.get());
  findNext->ExecuteTarget(editor.get());
  EXPECT_EQ(SelText(), "bc");
  EXPECT_TRUE(dialogs.Asked.empty());

  TdvActionFindNext lonely;
  try {
    lonely.ExecuteTarget(editor.get());
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "TdvActionFind object is not assigned!");
  }
  // Raised from a menu, the message is shown and goes no further.
  lonely.SetControl(editor.get());
  lonely.trigger();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "TdvActionFind object is not assigned!");
}

TEST_F(FindReplace, FindAndReplaceCloseEachOtherAndKeepTheirDialogs) {
  Load(R"(P0 0"abc")");
  TdvaFindDialog& f = OpenFind();
  f.edtFind()->setText("b");
  f.cbWholeWord()->setChecked(true);
  replace->ExecuteTarget(editor.get());
  TdvaReplaceDialog* r = replace->ReplaceDialog();
  EXPECT_FALSE(f.Showing());
  EXPECT_TRUE(r->Showing());
  find->ExecuteTarget(editor.get());
  EXPECT_EQ(find->FindDialog(), &f) << "opened again, not made again";
  EXPECT_TRUE(f.Showing());
  EXPECT_FALSE(r->Showing());
  EXPECT_EQ(f.FindText(), u"b");
  EXPECT_TRUE(f.Options() & frWholeWord);
  // A find click hides the replace dialog too.
  replace->ExecuteTarget(editor.get());
  f.CloseDialog();
  find->FindDialogFind();
  EXPECT_FALSE(r->Showing());
  // Partners named explicitly win over the owner's first.
  TdvActionReplace other(nullptr);
  find->SetActionReplace(&other);
  replace->ExecuteTarget(editor.get());
  find->ExecuteTarget(editor.get());
  EXPECT_TRUE(r->Showing());
}

TEST_F(FindReplace, DialogGoesWithTheEditorsWindowAndAGoneEditorIsNotSearched) {
  Load(R"(P0 0"abc")");
  OpenFind().edtFind()->setText("b");
  EXPECT_EQ(find->FindDialog()->Dialog()->windowHandle()->transientParent(), editor->Widget()->windowHandle())
      << "kept in front of the editor's window";
  auto second = std::make_unique<TestEditor>();
  second->SetStyle(&sheet);
  LoadDoc(second->Data(), R"(P0 0"b")");
  find->ExecuteTarget(second.get());
  EXPECT_EQ(find->Editor(), second.get());
  second.reset();
  EXPECT_EQ(find->Editor(), nullptr);
  ASSERT_NE(find->FindDialog(), nullptr) << "made for the first editor's window";
  find->FindDialogFind();
  EXPECT_TRUE(dialogs.Asked.empty());
  editor.reset();
  EXPECT_EQ(find->FindDialog(), nullptr);
}

TEST_F(FindReplace, ReplaceAllCounts) {
  struct Case {
    const char* what;
    const char* doc;
    int selStart, selEnd;  // offsets in item 0; equal: the caret only
    const char* message;
    const char* after;
  } cases[] = {
      {"nothing matches", R"(P0 0"xyz")", 1, 1, "0 个字符串被替换", R"(P0 0"xyz")"},
      {"the selected one only", R"(P0 0"xay")", 2, 3, "1个字符串被替换", R"(P0 0"x#y")"},
      {"from the caret on", R"(P0 0"aaxa")", 2, 2, "2 个字符串被替换", R"(P0 0"a#x#")"},
      {"selected and the rest", R"(P0 0"aaxa")", 1, 2, "3 个字符串被替换", R"(P0 0"##x#")"},
  };
  for (const Case& c : cases) {
    dialogs.Asked.clear();
    Load(c.doc);
    editor->SetSelectionBounds(0, c.selStart, 0, c.selEnd);
    Click(OpenReplace("a", "#").btnReplaceAll());
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.what;
    EXPECT_EQ(Doc(), c.after) << c.what;
  }
  // Refused replacements leave their match selected; the search still
  // moves on and ends, in both directions.
  for (bool down : {true, false}) {
    dialogs.Asked.clear();
    Load(R"(P0 0"axa")");
    editor->ReadOnly = true;
    editor->SetSelectionBounds(0, down ? 1 : 4, 0, down ? 1 : 4);
    Click(OpenReplace("a", "#", down).btnReplaceAll());
    EXPECT_EQ(Messages(), std::vector<std::string>{"0 个字符串被替换"}) << down;
    EXPECT_EQ(Doc(), R"(P0 0"axa")");
    editor->ReadOnly = false;
  }
  // Without the summary nothing is said.
  dialogs.Asked.clear();
  replace->ShowReplaceAllSummary = false;
  Load(R"(P0 0"a")");
  Click(OpenReplace("a", "#").btnReplaceAll());
  EXPECT_TRUE(dialogs.Asked.empty());
  EXPECT_EQ(Doc(), R"(P0 0"#")");
}

TEST_F(FindReplace, ReplaceAllSearchesPastWhatItInserted) {
  struct Case {
    const char* with;
    bool down;
    const char* after;
  } cases[] = {
      {"aa", true, R"(P0 0"aaxaa" P0 0"aa")"},
      {"aa", false, R"(P0 0"aaxaa" P0 0"aa")"},
      {"ba", true, R"(P0 0"baxba" P0 0"ba")"},
      {"ba", false, R"(P0 0"baxba" P0 0"ba")"},
      {"", true, R"(P0 0"x" P0 0"")"},
  };
  for (const Case& c : cases) {
    dialogs.Asked.clear();
    Load(R"(P0 0"axa" P0 0"a")");
    if (c.down)
      editor->SetSelectionBounds(0, 1, 0, 1);
    else
      editor->SetSelectionBounds(1, 2, 1, 2);
    Click(OpenReplace("a", c.with, c.down).btnReplaceAll());
    EXPECT_EQ(Messages(), std::vector<std::string>{"3 个字符串被替换"}) << c.with << " down " << c.down;
    EXPECT_EQ(Doc(), c.after) << c.with << " down " << c.down;
  }
}

TEST_F(FindReplace, ReplaceComparesTheSelectionUnderMatchCase) {
  struct Case {
    bool matchCase;
    const char* after;
    const char* selected;  // what the following search selects
  } cases[] = {
      {false, R"(P0 0"#xA")", "A"},
      {true, R"(P0 0"AxA")", "A"},
  };
  for (const Case& c : cases) {
    Load(R"(P0 0"AxA")");
    editor->SetSelectionBounds(0, 1, 0, 2);
    TdvaReplaceDialog& d = OpenReplace("a", "#", true, c.matchCase);
    Click(d.btnReplace());
    EXPECT_EQ(Doc(), c.after) << c.matchCase;
    if (!c.matchCase) {
      EXPECT_EQ(SelText(), c.selected);
    }
  }
}

TEST_F(FindReplace, EachReplacementUndoesToTheBytesBefore) {
  struct Case {
    const char* doc;
    const char* what;
    const char* with;
    bool down;
  } cases[] = {
      {R"(P0 0"xab")", "ab", "中", true},
      {R"(P0 0"ab" 1"中文")", "中", "ab", false},
      {R"(P0 0"xaby")", "ab", "", true},
  };
  for (const Case& c : cases) {
    Load(c.doc);
    TdvaReplaceDialog& d = OpenReplace(c.what, c.with, c.down);
    editor->SetSelectionBounds(0, 1, 0, 1);
    if (!c.down) editor->SetSelectionBounds(Data().ItemCount() - 1, 3, Data().ItemCount() - 1, 3);
    Click(d.btnFindNext());
    ASSERT_EQ(SelText(), c.what) << c.doc;
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Click(d.btnReplace()); })) << c.doc;
  }
}

TEST_F(FindReplace, ReplacementKeepsAnEightBitStyleWhenItsCodePageHoldsTheText) {
  struct Case {
    const char* with;
    const char* after;
  } cases[] = {
      {"中", R"(P0 0"x中y")"},
      {"ไ", R"(P0 0"x" 1"ไ" 0"y")"},
  };
  sheet.DefUnicodeStyle = kUni;
  for (const Case& c : cases) {
    Load(R"(P0 0"xay")");
    editor->SetSelectionBounds(0, 2, 0, 3);
    Click(OpenReplace("a", c.with).btnReplace());
    EXPECT_EQ(Doc(), c.after) << c.with;
  }
}

TEST_F(FindReplace, AnEmptyFindTextFindsNothing) {
  Load(R"(P0 0"abc")");
  TdvaReplaceDialog& d = OpenReplace("", "#");
  for (QPushButton* button : {d.btnFindNext(), d.btnReplace(), d.btnReplaceAll()})
    EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
  // Reached anyway, nothing is found: not even the empty selection at the
  // caret, which replace all would otherwise fill.
  const std::string before = Doc();
  d.btnReplaceAll()->setEnabled(true);
  Click(d.btnReplaceAll());
  EXPECT_EQ(Doc(), before);
  find->ExecuteTarget(editor.get());
  find->FindDialogFind();
  EXPECT_EQ(Doc(), before);
  EXPECT_FALSE(editor->SelectionExists());
  EXPECT_EQ(Messages(), (std::vector<std::string>{"0 个字符串被替换", "没有找到字符串''"}));
}

TEST_F(FindReplace, WithTrackingEachOccurrenceIsReplacedOnce) {
  // Deleted text stays, struck out, beside what replaced it: no search may
  // come back to it.
  editor->OnStyleConversion = [this](void*, int32_t styleNo, int32_t code, bool, int32_t& newStyleNo) {
    if (code != Orvane_TraceSaveInsert && code != Orvane_TraceSaveDelet) return;
    TFontInfo& marked = sheet.TextStyles().Add();
    marked.Assign(sheet.TextStyles()[styleNo]);
    marked.Style = code == Orvane_TraceSaveInsert ? fsUnderline : fsStrikeOut;
    marked.Standard = false;
    newStyleNo = sheet.TextStyles().Count() - 1;
  };
  // Where the new text goes beside the struck-out old one follows the
  // selection's direction.
  struct Case {
    bool down;
    int selStart, selEnd;  // in the last item
    const char* text;
  } cases[] = {
      {true, 1, 1, "abxab\r\nab"},
      {false, 2, 2, "baxba\r\nba"},
      {false, 1, 2, "baxba\r\nab"},
  };
  for (const Case& c : cases) {
    dialogs.Asked.clear();
    Load(R"(P0 0"axa" P0 0"a")");
    editor->TraceOn = true;
    editor->TraceUserColor = clRed;
    editor->SetSelectionBounds(1, c.selStart, 1, c.selEnd);
    if (c.down) editor->SetSelectionBounds(0, 1, 0, 1);
    Click(OpenReplace("a", "b", c.down).btnReplaceAll());
    EXPECT_EQ(Messages(), std::vector<std::string>{"3 个字符串被替换"}) << c.text;
    editor->SelectAll();
    EXPECT_EQ(SelText(), c.text);
  }
}

}  // namespace
}  // namespace quillet::test
