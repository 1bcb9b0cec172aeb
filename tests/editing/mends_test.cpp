// Faults of the recorded behaviour that the editing core mends, each shown
// by the case that went wrong, and the reformat decision of undo.
#include <gtest/gtest.h>

#include "edit_test_util.h"

namespace quillet::test {
namespace {

bool full;

// Each item's old paragraph style comes back, a self-protecting one too.
TEST_F(EditTest, ParaListUndoRestoresEveryItemsStyle) {
  Load(R"(P2 0"a" P0 0"b" P1 0"c")");
  Edit(Data(), dvutPara, 0, 2, 0, [&] { Data().Do_ParaList(0, {kIndentPara, kIndentPara, kPlainPara}, full); });
  ASSERT_EQ(Doc(), R"(P1 0"a" P1 0"b" P0 0"c")");
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P2 0"a" P0 0"b" P1 0"c")");
  Data().RedoList->Redo(Data());
  EXPECT_EQ(Doc(), R"(P1 0"a" P1 0"b" P0 0"c")");
}

// The first item always starts a paragraph.
TEST_F(EditTest, NewLineNeverJoinsTheFirstItem) {
  Load(R"(P1 0"a" 0"b")");
  const std::string before = DvfBytes(Data());
  Edit(Data(), dvutPara, 0, 0, 0, [&] { Data().Do_NewLine(0, true, full, -1); });
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);  // the empty group was dropped
}

// The undo destination ends with the operation, even one that fails, so a
// later primitive outside an operation never records into a list.
TEST_F(EditTest, UndoDestinationEndsWithTheOperation) {
  Load(R"(P0 0"a" 0"b")");
  Edit(Data(), dvutMiscTyping, 0, 0, 0, [&] { Data().Do_ChangeText(0, "x"); });
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Data().UndoDest, udNone);
  ASSERT_EQ(Data().RedoList->Count(), 1);
  const int redoRecords = Data().RedoList->Top()->Count();
  Data().Do_Tag(1, TDVTag{9, {}}, false);
  EXPECT_EQ(Data().RedoList->Top()->Count(), redoRecords);
  EXPECT_EQ(Data().UndoList->Count(), 0);

  EXPECT_THROW(Edit(Data(), dvutMiscTyping, 0, 0, 0, [&] { Data().Do_DeleteCP(0); }), EDocViewError);
  EXPECT_EQ(Data().UndoDest, udNone);
}

// ---- the reformat decision ----

struct ReformatCase {
  const char* name;
  const char* fixture;
  int itemNo;  // deleted
  bool wholePass;
};

void PrintTo(const ReformatCase& c, std::ostream* os) { *os << c.name; }

const ReformatCase kReformats[] = {
    {"NarrowItem", R"(P0 0"a" pic:150x10 0"b" pic:30x10)", 3, false},
    {"WidestItem", R"(P0 0"a" pic:150x10 0"b" pic:30x10)", 1, true},
    {"OneOfTwoWidest", R"(P0 0"a" pic:150x10 0"b" pic:150x10)", 1, false},
    // The other widest section is found outside the reformatted paragraphs.
    {"WidestAlsoInALaterParagraph", R"(P0 0"a" pic:150x10 P0 0"b" P0 0"c" P0 pic:150x10)", 1, false},
    {"WidestAlsoInAnEarlierParagraph", R"(P0 pic:150x10 P0 0"b" P0 0"c" P0 0"a" pic:150x10)", 4, false},
    {"WidestOnlyInOneParagraph", R"(P0 pic:150x10 P0 0"b" P0 0"c" P0 0"a" pic:140x10)", 0, true},
    {"IndentedParagraph", R"(P0 0"a" P1 pic:150x10 P0 pic:150x10)", 1, true},
};

class ReformatTest : public EditTest, public testing::WithParamInterface<ReformatCase> {};

TEST_P(ReformatTest, WholePassOnlyWhenTheMinimumWidthChanges) {
  const ReformatCase& c = GetParam();
  Load(c.fixture);
  auto passes = [&](const std::function<void()>& step) {
    const int before = Data().WholePasses;
    step();
    return Data().WholePasses - before;
  };
  EXPECT_EQ(passes([&] {
              Edit(Data(), dvutDelete, c.itemNo, c.itemNo, -1, [&] { Data().Do_DeleteItem(c.itemNo, full); });
            }) > 0,
            c.wholePass);
  EXPECT_TRUE(DrawingIsFresh(Data()));
  EXPECT_EQ(passes([&] { Data().UndoList->Undo(Data()); }) > 0, c.wholePass) << "undo";
  EXPECT_TRUE(DrawingIsFresh(Data()));
  EXPECT_EQ(passes([&] { Data().RedoList->Redo(Data()); }) > 0, c.wholePass) << "redo";
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

INSTANTIATE_TEST_SUITE_P(Undo, ReformatTest, testing::ValuesIn(kReformats),
                         [](const testing::TestParamInfo<ReformatCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quillet::test
