// Input methods on a real editor through QInputMethodEvent: the text being
// composed is drawn at the caret and never stored; the composed result goes
// in as typed text, replacing a selection, and Undo takes it back.
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTest>

#include "caret_test_util.h"

namespace quillet::test {
namespace {

class EditorIme : public CaretTest {
 public:
  using CaretTest::Data;
  void Compose(const QString& preedit, int cursor) {
    QList<QInputMethodEvent::Attribute> attributes{{QInputMethodEvent::Cursor, cursor, 1}};
    QInputMethodEvent event(preedit, attributes);
    QCoreApplication::sendEvent(editor->Widget(), &event);
  }
  void Commit(const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(editor->Widget(), &event);
  }
  QImage Picture() { return editor->Widget()->grab().toImage(); }
};

TEST_F(EditorIme, PreeditIsDrawnAtTheCaretAndNeverStored) {
  LoadAt("P0 0\"ab\"", 0, 2);
  const std::string before = DvfBytes(Data());
  const QImage plain = Picture();
  Compose("zhong", 5);
  EXPECT_EQ(editor->Preedit(), u"zhong");
  EXPECT_NE(Picture(), plain);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_FALSE(editor->Modified);
  Compose("", 0);  // the composition given up
  EXPECT_TRUE(editor->Preedit().empty());
  EXPECT_EQ(Picture(), plain);
  EXPECT_EQ(DvfBytes(Data()), before);
}

struct CommitCase {
  const char* name;
  const char* doc;
  std::tuple<int, int32_t, int, int32_t> selection;
  const char* commit;
  const char* expected;
};

void PrintTo(const CommitCase& c, std::ostream* os) { *os << c.name; }

class ImeCommit : public EditorIme, public testing::WithParamInterface<CommitCase> {};

TEST_P(ImeCommit, InsertsAndUndoes) {
  const CommitCase& c = GetParam();
  sheet.DefUnicodeStyle = kUni;
  const auto [s, so, e, eo] = c.selection;
  LoadAt(c.doc, s, so);
  if (s != e || so != eo) Data().SetSelectionBounds(s, so, e, eo);
  const std::string before = DvfBytes(Data());
  Compose("zhongwen", 8);
  Commit(QString::fromUtf8(c.commit));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_TRUE(editor->Preedit().empty());
  EXPECT_TRUE(DrawingIsFresh(Data()));
  EXPECT_EQ(beeps, 0);
  const std::string after = DvfBytes(Data());
  while (Data().UndoList->Count() > 0) editor->Undo();
  EXPECT_EQ(DvfBytes(Data()), before);
  while (Data().RedoList->Count() > 0) editor->Redo();
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(DvfBytes(Data()), after);
}

const CommitCase kCommits[] = {
    {"IntoTheCodePageStyle", "P0 0\"ab\"", {0, 2, 0, 2}, "中文", "P0 0\"a中文b\""},
    {"IntoTheUnicodeStyle", "P0 1\"ab\"", {0, 2, 0, 2}, "中文", "P0 1\"a中文b\""},
    {"ReplacesTheSelection", "P0 0\"abcd\"", {0, 2, 0, 4}, "中", "P0 0\"a中d\""},
    {"SurrogatePairWhole", "P0 1\"ab\"", {0, 2, 0, 2}, "x😀", "P0 1\"ax😀b\""},
    {"OutsideTheCodePageTakesTheUnicodeStyle", "P0 0\"ab\"", {0, 2, 0, 2}, "😀", "P0 0\"a\" 1\"😀\" 0\"b\""},
    {"ControlCharactersDropped", "P0 0\"ab\"", {0, 2, 0, 2}, "x\ry", "P0 0\"axyb\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ImeCommit, testing::ValuesIn(kCommits),
                         [](const testing::TestParamInfo<CommitCase>& i) { return std::string(i.param.name); });

TEST_F(EditorIme, LoneSurrogatesAreNoCharacters) {
  LoadAt("P0 1\"ab\"", 0, 2);
  Commit(QString(QChar(0xD83D)) + "x" + QChar(0xDE00));
  EXPECT_EQ(Doc(), "P0 1\"axb\"");
}

TEST_F(EditorIme, ReadOnlyRefusesTheResult) {
  LoadAt("P0 0\"ab\"", 0, 2);
  editor->SetReadOnly(true);
  const std::string before = DvfBytes(Data());
  Commit("中");
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
}

// The candidate window goes to the caret, in the widget's coordinates.
TEST_F(EditorIme, CompositionRectFollowsTheCaret) {
  LoadAt("P0 0\"abcd\"", 0, 1);
  auto rect = [&] { return editor->Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
  const QRect first = rect();
  const TRect firstCaret = Data().CaretRect;
  EXPECT_EQ(first.height(), firstCaret.Bottom - firstCaret.Top);
  Data().SetCaretAtItem(0, 3);
  const QRect third = rect();
  EXPECT_EQ(third.left() - first.left(), Data().CaretRect.Left - firstCaret.Left);
  EXPECT_GT(third.left(), first.left());
  EXPECT_EQ(third.top(), first.top());
}

}  // namespace
}  // namespace quillet::test
