// The editor's key map driven by real key events offscreen: shortcuts and
// editing keys at key-down, characters at key-press, a read-only editor
// refusing every change with a beep.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "caret_test_util.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet::test {
namespace {

class EditorKeys : public CaretTest {
 public:
  QWidget* W() const { return editor->Widget(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(W(), key, mods); }
  // A key whose typed text is given, as the platform delivers it.
  bool Send(int key, Qt::KeyboardModifiers mods, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(W(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(W(), &release);
    return press.isAccepted();
  }
  void Type(const std::string& utf8) { Send(0, Qt::NoModifier, QString::fromStdString(utf8)); }
  // Ctrl+letter types a control character on the platform.
  void Ctrl(Qt::Key letter, Qt::KeyboardModifiers more = Qt::NoModifier) {
    Send(letter, Qt::ControlModifier | more, QString(QChar(letter & 0x1F)));
  }
};

struct KeyCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  std::function<void(EditorKeys&)> keys;
  const char* expected;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class KeyMap : public EditorKeys, public testing::WithParamInterface<KeyCase> {};

TEST_P(KeyMap, EditsTheDocument) {
  const KeyCase& c = GetParam();
  LoadAt(c.doc, c.itemNo, c.offs);
  c.keys(*this);
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(beeps, 0);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

const KeyCase kKeyMap[] = {
    {"Letter", "P0 0\"ab\"", 0, 2, [](EditorKeys& t) { t.Key(Qt::Key_X); }, "P0 0\"axb\""},
    {"Enter", "P0 0\"abcd\"", 0, 3, [](EditorKeys& t) { t.Key(Qt::Key_Return); }, "P0 0\"ab\" P0 0\"cd\""},
    {"ShiftEnterBreaksTheLine", "P0 0\"abcd\"", 0, 3,
     [](EditorKeys& t) { t.Key(Qt::Key_Return, Qt::ShiftModifier); }, "P0 0\"ab\" / 0\"cd\""},
    {"Backspace", "P0 0\"abc\"", 0, 2, [](EditorKeys& t) { t.Key(Qt::Key_Backspace); }, "P0 0\"bc\""},
    {"Delete", "P0 0\"abc\"", 0, 2, [](EditorKeys& t) { t.Key(Qt::Key_Delete); }, "P0 0\"ac\""},
    {"CtrlTabTypesTabSpaces", "P0 0\"ab\"", 0, 2, [](EditorKeys& t) { t.Send(Qt::Key_Tab, Qt::ControlModifier, "\t"); },
     "P0 0\"a        b\""},
    {"UndoRedoUndo", "P0 0\"ab\"", 0, 2,
     [](EditorKeys& t) {
       t.Key(Qt::Key_X);
       t.Ctrl(Qt::Key_Z);
       t.Ctrl(Qt::Key_Z, Qt::ShiftModifier);
       t.Ctrl(Qt::Key_Z);
     },
     "P0 0\"ab\""},
    {"AltBackspaceUndoesShiftRedoes", "P0 0\"ab\"", 0, 2,
     [](EditorKeys& t) {
       t.Key(Qt::Key_X);
       t.Key(Qt::Key_Backspace, Qt::AltModifier);
       t.Key(Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
     },
     "P0 0\"axb\""},
    {"DoubleByteIntoCodePageStyle", "P0 0\"ab\"", 0, 2, [](EditorKeys& t) { t.Type("中"); }, "P0 0\"a中b\""},
    {"SurrogatePairAsTwoUnits", "P0 1\"ab\"", 0, 2, [](EditorKeys& t) { t.Type("😀"); }, "P0 1\"a😀b\""},
    {"LoneLowSurrogateTypesNothing", "P0 1\"ab\"", 0, 2,
     [](EditorKeys& t) { t.Send(0, Qt::NoModifier, QString(QChar(0xDE00))); }, "P0 1\"ab\""},
    {"UnpairedHighSurrogateDropped", "P0 1\"ab\"", 0, 2,
     [](EditorKeys& t) {
       t.Send(0, Qt::NoModifier, QString(QChar(0xD83D)));
       t.Key(Qt::Key_X);
     },
     "P0 1\"axb\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, KeyMap, testing::ValuesIn(kKeyMap),
                         [](const testing::TestParamInfo<KeyCase>& i) { return std::string(i.param.name); });

TEST_F(EditorKeys, SurrogatePairIsOneUndoStep) {
  LoadAt("P0 1\"ab\"", 0, 2);
  const std::string before = DvfBytes(Data());
  Type("😀");
  ASSERT_EQ(Doc(), "P0 1\"a😀b\"");
  Ctrl(Qt::Key_Z);
  EXPECT_EQ(DvfBytes(Data()), before);
}

TEST_F(EditorKeys, CharacterOutsideTheCodePageTakesTheUnicodeStyle) {
  sheet.DefUnicodeStyle = kUni;
  LoadAt("P0 0\"ab\"", 0, 2);
  Type("😀");
  EXPECT_EQ(Doc(), "P0 0\"a\" 1\"😀\" 0\"b\"");
  EXPECT_EQ(editor->CurTextStyleNo(), kUni);
}

TEST_F(EditorKeys, TypingReplacesTheSelectionAndUndoesInSteps) {
  LoadAt("P0 0\"abc\"", 0, 1);
  const std::string before = DvfBytes(Data());
  Data().SetSelectionBounds(0, 1, 0, 3);
  Key(Qt::Key_X);
  EXPECT_EQ(Doc(), "P0 0\"xc\"");
  Ctrl(Qt::Key_Z);
  Ctrl(Qt::Key_Z);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 0);
}

TEST_F(EditorKeys, KeysThatTypeNothingKeepTheSelection) {
  LoadAt("P0 0\"abc\"", 0, 1);
  Data().SetSelectionBounds(0, 1, 0, 3);
  for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Escape, Qt::Key_F5, Qt::Key_CapsLock}) Key(key);
  Ctrl(Qt::Key_C);
  EXPECT_EQ(Doc(), "P0 0\"abc\"");
  EXPECT_EQ(Selection(), std::make_tuple(0, 1, 0, 3));
}

TEST_F(EditorKeys, CutShortcutsCopyThenDelete) {
  for (bool shiftDelete : {false, true}) {
    LoadAt("P0 0\"abcd\"", 0, 1);
    QGuiApplication::clipboard()->clear();
    Data().SetSelectionBounds(0, 2, 0, 4);
    if (shiftDelete)
      Key(Qt::Key_Delete, Qt::ShiftModifier);
    else
      Ctrl(Qt::Key_X);
    EXPECT_EQ(Doc(), "P0 0\"ad\"") << shiftDelete;
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "bc") << shiftDelete;
  }
}

TEST_F(EditorKeys, BackspaceDeletesTheSelectionOnly) {
  LoadAt("P0 0\"abcd\"", 0, 1);
  Data().SetSelectionBounds(0, 2, 0, 4);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Doc(), "P0 0\"ad\"");
}

TEST_F(EditorKeys, WithoutReturnsEnterIsLeftToTheForm) {
  editor->EditorOptions |= dvoDoNotWantReturns;
  LoadAt("P0 0\"ab\"", 0, 2);
  EXPECT_FALSE(Send(Qt::Key_Return, Qt::NoModifier, "\r"));
  EXPECT_EQ(Doc(), "P0 0\"ab\"");
  EXPECT_EQ(beeps, 0);
}

TEST_F(EditorKeys, UndoLimitZeroRecordsNothingAndUndoBeeps) {
  editor->SetUndoLimit(0);
  LoadAt("P0 0\"ab\"", 0, 2);
  Key(Qt::Key_X);
  Ctrl(Qt::Key_Z);
  Key(Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_EQ(Doc(), "P0 0\"axb\"");
  EXPECT_EQ(beeps, 2);
}

TEST_F(EditorKeys, ReadOnlyRefusesEveryKeyWithABeep) {
  LoadAt("P0 0\"abc\"", 0, 2);
  Key(Qt::Key_X);  // something to undo
  editor->SetReadOnly(true);
  const std::string before = DvfBytes(Data());
  beeps = 0;
  Key(Qt::Key_Y);
  Key(Qt::Key_Return);
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Delete);
  Send(Qt::Key_Tab, Qt::ControlModifier, "\t");
  Ctrl(Qt::Key_Z);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 6);
  EXPECT_FALSE(editor->BeforeChange(true));
}

// An editor that wants all keys keeps Tab from the form's navigation.
TEST_F(EditorKeys, TabTypesTheSheetsSpaces) {
  LoadAt("P0 0\"ab\"", 0, 2);
  Key(Qt::Key_Tab);
  EXPECT_EQ(Doc(), "P0 0\"a        b\"");
}

TEST_F(EditorKeys, ShiftArrowsSelectAndAPlainArrowDropsTheSelection) {
  LoadAt("P0 0\"abcd\"", 0, 1);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Selection(), std::make_tuple(0, 1, 0, 3));
  Key(Qt::Key_Right);
  EXPECT_FALSE(Data().SelectionExists(false, false));
  EXPECT_EQ(Caret(), std::make_pair(0, 4));
  EXPECT_EQ(Doc(), "P0 0\"abcd\"");
}

TEST_F(EditorKeys, AfterAPlainArrowEndsASelectionParagraphChangesReachTheCaretsParagraph) {
  for (const bool convert : {false, true}) {
    SCOPED_TRACE(convert ? "conversion" : "style");
    LoadAt("P0 0\"ab\" P0 0\"cd\" P0 0\"ef\"", 0, 1);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down);
    ASSERT_EQ(Caret().first, 1);
    // The plain arrow dropped the selection: nothing is selected, not even
    // where the caret is.
    int s, e;
    int32_t so, eo;
    Data().GetSelectionBounds(s, so, e, eo, true);
    ASSERT_LT(s, 0);
    editor->OnParaStyleConversion = [](void*, int32_t, int32_t, bool, int32_t& newParaNo) { newParaNo = kIndentPara; };
    int32_t current = -1;
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
      if (convert) editor->ApplyParaStyleConversion(0);
      else editor->ApplyParaStyle(kIndentPara);
      current = editor->CurParaStyleNo();
    }));
    EXPECT_EQ(Doc(), "P0 0\"ab\" P1 0\"cd\" P0 0\"ef\"");
    EXPECT_EQ(current, kIndentPara) << "the current style follows at once";
  }
}

TEST_F(EditorKeys, ArrowAtTheDocumentEdgeReportsTheDirection) {
  struct Case {
    int32_t offs;
    Qt::Key key;
    TDVGetOutDirection direction;
  };
  for (const Case& c : {Case{1, Qt::Key_Left, dvdLeft}, Case{3, Qt::Key_Right, dvdRight}, Case{1, Qt::Key_Up, dvdUp},
                        Case{3, Qt::Key_Down, dvdDown}}) {
    LoadAt("P0 0\"ab\"", 0, c.offs);
    std::vector<TDVGetOutDirection> got;
    editor->OnCaretGetOut = [&](TCustomDocView&, TDVGetOutDirection d) { got.push_back(d); };
    Key(c.key);
    EXPECT_EQ(got, std::vector<TDVGetOutDirection>{c.direction}) << c.key;
  }
}

TEST_F(EditorKeys, RightToLeftSwapsLeftAndRight) {
  editor->SetBiDiModeDV(dvbdRightToLeft);
  LoadAt("P0 0\"abc\"", 0, 2);
  Key(Qt::Key_Left);
  EXPECT_EQ(Caret(), std::make_pair(0, 3));
}

// A typed key repaints only what it changed: the screen then shows what a
// full repaint draws, with the line unchanged in height, a line that wraps
// and so pushes the text below down, and the caret scrolled off the page.
TEST(EditorKeyRepaint, TheScreenMatchesAFullRepaint) {
  struct Case {
    const char* name;
    int paragraphs;
    int itemNo;
    const char* typed;
  } cases[] = {
      {"same line", 3, 1, "w"},
      {"wrapping", 3, 1, "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"},
      {"scrolling", 60, 59, "w"},
  };
  for (const Case& c : cases) {
    TDVStyle sheet;
    TDocViewEdit editor;
    editor.SetStyle(&sheet);
    editor.SetBounds(0, 0, 300, 200);
    editor.Show();
    TDVEditDVData& data = editor.EditData();
    for (int i = 0; i < c.paragraphs; ++i) data.AddNL("some words in paragraph " + std::to_string(i), 0, 0);
    editor.Format();
    data.SetCaretAtItem(c.itemNo, 4);
    editor.SetFocus();
    QApplication::processEvents();
    if (c.paragraphs > 10) data.SetCaretAtItem(0, 0);  // the caret's line out of view
    QApplication::processEvents();
    data.SetCaretAtItem(c.itemNo, 4, false);
    for (const char* ch = c.typed; *ch; ++ch) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QString(QChar(*ch)));
      QCoreApplication::sendEvent(editor.Widget(), &press);
    }
    QWidget* window = editor.Widget()->window();
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    editor.Widget()->repaint();
    const QImage full = window->screen()->grabWindow(window->winId()).toImage();
    ASSERT_FALSE(full.isNull()) << c.name;
    EXPECT_TRUE(shown == full) << c.name;
  }
}

}  // namespace
}  // namespace quillet::test
