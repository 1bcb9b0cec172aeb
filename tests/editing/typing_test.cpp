// Typing at the caret: into the caret's item when it has the current style
// and allows it, else as a new item; protected items refuse inside and take
// a new item at their edge; a double-byte character and a surrogate pair are
// undone whole.
#include "insertion_test_util.h"

namespace quillet::test {
namespace {

struct TypingCase {
  const char* name;
  const char* doc;  // C: a concatenation-protected text style
  int itemNo;
  int32_t offs;
  int32_t curStyle;  // -1: the caret's
  const char* typed;  // UTF-8, in the current style's form
  const char* expected;
  std::pair<int, int32_t> caret;
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class Typing : public InsertionTest, public testing::WithParamInterface<TypingCase> {
 protected:
  std::string WithConcateProtected(std::string doc) {
    if (concateProtected_ < 0) concateProtected_ = AddTextStyle(dvprConcateProtect);
    for (size_t at; (at = doc.find('C')) != std::string::npos;) doc.replace(at, 1, std::to_string(concateProtected_));
    return doc;
  }

 private:
  int32_t concateProtected_ = -1;
};

TEST_P(Typing, TypesWhereTheStyleAllows) {
  const TypingCase& c = GetParam();
  LoadAt(WithConcateProtected(c.doc), c.itemNo, c.offs);
  if (c.curStyle >= 0) Data().FCurTextStyleNo = c.curStyle;
  const std::string typed = ItemText(c.typed, Data().IsUnicodeStyle(Data().FCurTextStyleNo));
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().InsertTextTyping(typed); }));
  EXPECT_EQ(Doc(), WithConcateProtected(c.expected));
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_EQ(beeps, 0);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

const TypingCase kTyping[] = {
    {"IntoTheItem", "P0 0\"ab\"", 0, 2, -1, "x", "P0 0\"axb\"", {0, 3}},
    // The next item of the paragraph has the current style: it takes the text.
    {"IntoTheNextItem", "P0 1\"ab\" 0\"cd\"", 0, 3, kGbk, "x", "P0 1\"ab\" 0\"xcd\"", {1, 2}},
    {"NewItemBesideOtherStyle", "P0 1\"ab\" P0 0\"cd\"", 0, 3, kGbk, "x", "P0 1\"ab\" 0\"x\" P0 0\"cd\"", {1, 2}},
    {"NewItemInsideOtherStyle", "P0 1\"ab\"", 0, 2, kGbk, "x", "P0 1\"a\" 0\"x\" 1\"b\"", {1, 2}},
    {"ConcateProtectedTakesANewItem", "P0 C\"ab\"", 0, 2, -1, "x", "P0 C\"a\" C\"x\" C\"b\"", {1, 2}},
    {"ModifyProtectedEdgeTakesANewItem", "P0 2\"ab\"", 0, 3, -1, "x", "P0 2\"ab\" 2\"x\"", {1, 2}},
    {"DoubleByteUndoneWhole", "P0 0\"ab\"", 0, 2, -1, "中", "P0 0\"a中b\"", {0, 4}},
    {"SurrogatePairUndoneWhole", "P0 1\"ab\"", 0, 2, -1, "😀", "P0 1\"a😀b\"", {0, 4}},
    {"UnicodeIntoUnicode", "P0 1\"ab\"", 0, 3, -1, "中", "P0 1\"ab中\"", {0, 4}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Typing, testing::ValuesIn(kTyping),
                         [](const testing::TestParamInfo<TypingCase>& info) { return info.param.name; });

TEST_F(InsertionTest, TypingInsideModifyProtectedTextBeeps) {
  LoadAt("P0 2\"abc\"", 0, 2);
  const std::string before = DvfBytes(Data());
  Data().InsertTextTyping("x");
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(InsertionTest, TypingInAReadOnlyParagraphBeeps) {
  LoadAt(WithStyles("PR 0\"abc\""), 0, 2);
  const std::string before = DvfBytes(Data());
  Data().KeyPress('x');
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
}

TEST_F(InsertionTest, TypedCharactersJoinOneRecordUndoneOneAtATime) {
  LoadAt("P0 0\"ab\"", 0, 3);
  for (char c : std::string("xyz")) Data().KeyPress(c);
  EXPECT_EQ(Doc(), "P0 0\"abxyz\"");
  ASSERT_EQ(Data().UndoList->Count(), 1);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), "P0 0\"abxy\"");
}

TEST_F(InsertionTest, KeyPressIntoUnicodeStyleTypesUtf16) {
  LoadAt("P0 1\"ab\"", 0, 3);
  Data().KeyPress('x');
  EXPECT_EQ(Doc(), "P0 1\"abx\"");
  // A lone byte above 127 waits for the editor to make a character of it.
  Data().KeyPress('\xd6');
  EXPECT_EQ(Doc(), "P0 1\"abx\"");
}

TEST_F(InsertionTest, TypingIntoAnEmptyItemRecordsItsNewParagraphStyle) {
  LoadAt("P0 0\"ab\" P0 0\"\"", 1, 1);
  Data().FCurParaStyleNo = kIndentPara;
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().InsertTextTyping("x"); }));
  EXPECT_EQ(Doc(), "P0 0\"ab\" P1 0\"x\"");
}

}  // namespace
}  // namespace quillet::test
