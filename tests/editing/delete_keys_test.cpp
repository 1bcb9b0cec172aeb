// Backspace and Delete at the caret, each through the undo and redo check;
// a key that is refused or cannot act changes no byte and leaves no group.
#include "caret_test_util.h"

namespace quillet::test {
namespace {

struct KeyCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  char key;              // B Backspace, W Ctrl+Backspace, D Delete
  const char* expected;  // null: the document stays as it is
  std::pair<int, int32_t> caret;
  bool beep;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class DeleteKeys : public CaretTest, public testing::WithParamInterface<KeyCase> {
 protected:
  void Press(char key) {
    if (key == 'D')
      Data().OnDeletePress_(false);
    else
      Data().OnBackSpacePress_(key == 'W');
  }
};

TEST_P(DeleteKeys, ChangeTheDocumentAtTheCaret) {
  const KeyCase& c = GetParam();
  LoadAt(WithStyles(c.doc), c.itemNo, c.offs);
  if (!c.expected) {
    const std::string before = DvfBytes(Data());
    Press(c.key);
    EXPECT_EQ(DvfBytes(Data()), before);
    EXPECT_EQ(Data().UndoList->Count(), 0);
  } else {
    ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Press(c.key); }));
    EXPECT_EQ(Doc(), WithStyles(c.expected));
  }
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_EQ(beeps, c.beep ? 1 : 0);
}

const KeyCase kKeys[] = {
    {"BackspaceInText", "P0 0\"abc\"", 0, 3, 'B', "P0 0\"ac\"", {0, 2}, false},
    {"BackspaceGbkCharacter", "P0 0\"a中\"", 0, 4, 'B', "P0 0\"a\"", {0, 2}, false},
    {"BackspaceSurrogatePair", "P0 1\"a😀\"", 0, 4, 'B', "P0 1\"a\"", {0, 2}, false},
    {"CtrlBackspaceLeavesTheSpace", "P0 0\"ab cd\"", 0, 6, 'W', "P0 0\"ab \"", {0, 4}, false},
    {"BackspaceJoinsParagraphs", "P0 0\"ab\" P1 0\"cd\"", 1, 1, 'B', "P0 0\"abcd\"", {0, 3}, false},
    {"BackspaceRemovesOnlyThePageBreak", "P0 0\"ab\" P0 ^ 0\"cd\"", 1, 1, 'B', "P0 0\"ab\" P0 0\"cd\"", {1, 1}, false},
    {"BackspaceAfterMarker", "P0 0\"x\" P0 mk 0\"ab\"", 2, 1, 'B', "P0 0\"x\" P0 0\"ab\"", {1, 1}, false},
    {"BackspaceLeavesEmptyLine", "P0 0\"ab\" P0 0\"c\"", 1, 2, 'B', "P0 0\"ab\" P0 0\"\"", {1, 1}, false},
    {"BackspaceRemovesEmptyLine", "P0 0\"ab\" P0 0\"\"", 1, 1, 'B', "P0 0\"ab\"", {0, 3}, false},
    {"BackspacePictureJoinsTexts", "P0 0\"ab\" pic:10x10 0\"cd\"", 1, 1, 'B', "P0 0\"abcd\"", {0, 3}, false},
    {"BackspaceModifyProtected", "P0 2\"abcd\"", 0, 3, 'B', nullptr, {0, 3}, true},
    {"BackspaceReadOnlyParagraph", "PR 0\"abcd\"", 0, 3, 'B', nullptr, {0, 3}, true},
    {"BackspaceAtDocumentStart", "P0 0\"ab\"", 0, 1, 'B', nullptr, {0, 1}, false},
    {"DeleteInText", "P0 0\"abc\"", 0, 2, 'D', "P0 0\"ac\"", {0, 2}, false},
    {"DeleteJoinsParagraphs", "P0 0\"ab\" P1 0\"cd\"", 0, 3, 'D', "P0 0\"abcd\"", {0, 3}, false},
    {"DeleteAtDocumentEnd", "P0 0\"ab\"", 0, 3, 'D', nullptr, {0, 3}, false},
    {"DeleteEmptyLastLine", "P0 0\"ab\" P0 0\"\"", 1, 1, 'D', "P0 0\"ab\"", {0, 3}, false},
    {"DeleteBeforeBreakMovesOntoIt", "P0 0\"ab\" P0 brk", 0, 3, 'D', nullptr, {1, 0}, false},
    {"DeleteReadOnlyParagraph", "PR 0\"abcd\"", 0, 2, 'D', nullptr, {0, 2}, true},
    {"DeleteIntoReadOnlyParagraph", "P0 0\"ab\" PR 0\"cd\"", 0, 3, 'D', nullptr, {0, 3}, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, DeleteKeys, testing::ValuesIn(kKeys),
                         [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quillet::test
