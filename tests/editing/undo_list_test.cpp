// The undo list: limits, group mode, typing one character at a time, the
// captions, and the errors of bad calls, which change nothing.
#include <gtest/gtest.h>

#include "edit_test_util.h"
#include "editing/undo/undo_records.h"

namespace quillet::test {
namespace {

// One group that changes item 0's text to `text`.
void ChangeText(TDVEditDVData& data, const std::string& text) {
  Edit(data, dvutMiscTyping, 0, 0, 0, [&] { data.Do_ChangeText(0, ItemText(text, false)); });
}

struct LimitCase {
  const char* name;
  int limit;
  int groups;           // groups made
  int kept;             // groups left
  const char* undoneTo;  // the text after undoing all of them
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

const LimitCase kLimits[] = {
    {"Off", 0, 3, 0, "g3"},
    {"One", 1, 3, 1, "g2"},
    {"Three", 3, 4, 3, "g1"},
    {"Unlimited", -1, 4, 4, "start"},
};

class UndoLimitTest : public EditTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(UndoLimitTest, KeepsTheNewestGroups) {
  const LimitCase& c = GetParam();
  Load(R"(P0 0"start")");
  editor->SetUndoLimit(c.limit);
  for (int i = 1; i <= c.groups; ++i) ChangeText(Data(), "g" + std::to_string(i));
  ASSERT_EQ(Data().UndoList->Count(), c.kept);
  while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), std::string("P0 0\"") + c.undoneTo + "\"");
}

INSTANTIATE_TEST_SUITE_P(Undo, UndoLimitTest, testing::ValuesIn(kLimits),
                         [](const testing::TestParamInfo<LimitCase>& info) { return info.param.name; });

// A full list whose top group is empty: the empty group is replaced, no
// real group is pushed out for it.
TEST_F(EditTest, FullListReplacesItsEmptyTopGroup) {
  Load(R"(P0 0"start")");
  editor->SetUndoLimit(2);
  ChangeText(Data(), "g1");
  {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutTag, true);  // records nothing
  }
  ASSERT_EQ(Data().UndoList->Count(), 2);
  ChangeText(Data(), "g2");
  ASSERT_EQ(Data().UndoList->Count(), 2);
  Data().UndoList->Undo(Data());
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"start")");
}

TEST_F(EditTest, LimitOneStartsOnAnEmptyList) {
  Load(R"(P0 0"start")");
  editor->SetUndoLimit(1);
  EXPECT_TRUE(Data().UndoList->BeginItem(dvutInsert, "", 0, 1));
  EXPECT_EQ(Data().UndoList->Count(), 1);
}

TEST_F(EditTest, GroupModeJoinsSequencesButNotAfterTyping) {
  Load(R"(P0 0"ab")");
  TypeChar(Data(), 0, 2, "y");
  ASSERT_EQ(Data().UndoList->Count(), 1);
  {
    TDVUndoGroupMode group(Data());
    // After a typing group the first sequence opens its own group; the
    // next ones join it.
    ChangeText(Data(), "x");
    EXPECT_EQ(Data().UndoList->Count(), 2);
    Edit(Data(), dvutTag, 0, 0, 0, [&] { Data().Do_Tag(0, TDVTag{5, {}}, false); });
    EXPECT_EQ(Data().UndoList->Count(), 2);
  }
  EXPECT_EQ(Data().UndoList->GroupModeCount, 0);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"ayb")");
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), R"(P0 0"ab")");
}

struct TypingCase {
  const char* name;
  const char* fixture;
  const char* typed[3];
  const char* steps[4];  // the document after 0..3 characters
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

const TypingCase kTyping[] = {
    {"Gbk", R"(P0 0"ab")", {"x", "y", "z"}, {R"(P0 0"ab")", R"(P0 0"axb")", R"(P0 0"axyb")", R"(P0 0"axyzb")"}},
    {"Unicode",
     R"(P0 1"ab")",
     {"中", "文", "z"},
     {R"(P0 1"ab")", R"(P0 1"a中b")", R"(P0 1"a中文b")", R"(P0 1"a中文zb")"}},
};

class TypingTest : public EditTest, public testing::WithParamInterface<TypingCase> {
 protected:
  std::string Caret() {
    int s, e;
    int32_t so, eo;
    Data().GetSelectionBounds(s, so, e, eo, true);
    return std::to_string(e) + ":" + std::to_string(eo);
  }
};

TEST_P(TypingTest, UndoesAndRedoesOneCharacterAtATime) {
  const TypingCase& c = GetParam();
  Load(c.fixture);
  for (int i = 0; i < 3; ++i) TypeChar(Data(), 0, 2 + i, c.typed[i]);
  ASSERT_EQ(Data().UndoList->Count(), 1);
  ASSERT_EQ(Doc(), c.steps[3]);
  for (int i = 2; i >= 0; --i) {
    Data().UndoList->Undo(Data());
    EXPECT_EQ(Doc(), c.steps[i]);
    EXPECT_EQ(Caret(), "0:" + std::to_string(2 + i)) << "after undoing character " << i;
    EXPECT_TRUE(DrawingIsFresh(Data()));
  }
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(Data().RedoList->Count(), 1);
  for (int i = 1; i <= 3; ++i) {
    Data().RedoList->Redo(Data());
    EXPECT_EQ(Doc(), c.steps[i]);
    EXPECT_EQ(Caret(), "0:" + std::to_string(2 + i)) << "after redoing character " << i;
  }
  EXPECT_EQ(Data().RedoList->Count(), 0);
  EXPECT_EQ(Data().UndoList->Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Undo, TypingTest, testing::ValuesIn(kTyping),
                         [](const testing::TestParamInfo<TypingCase>& info) { return info.param.name; });

TEST_F(EditTest, TypingElsewhereStartsANewGroup) {
  Load(R"(P0 0"ab" P0 0"cd")");
  TypeChar(Data(), 0, 2, "x");
  TypeChar(Data(), 0, 3, "y");
  TypeChar(Data(), 1, 1, "z");  // another item
  TypeChar(Data(), 0, 1, "w");  // the caret moved
  EXPECT_EQ(Data().UndoList->Count(), 3);
}

TEST_F(EditTest, TypingIsNotRecordedWithoutUndo) {
  Load(R"(P0 0"ab")");
  editor->SetUndoLimit(0);
  TypeChar(Data(), 0, 2, "x");
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(Doc(), R"(P0 0"axb")");
}

TEST_F(EditTest, CaptionsFollowTheTopGroup) {
  Load(R"(P0 0"ab")");
  EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutNone);
  EXPECT_EQ(Data().UndoList->CurrentUndoCaption(), "");
  Edit(Data(), dvutDelete, 0, 0, 0, [&] { Data().Do_DeleteSubstring(0, 1, 1); });
  EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutDelete);
  EXPECT_EQ(DVUndoTypeNamesEn[Data().UndoList->CurrentUndoType()], "删除");
  {
    TDVEditOperation operation(Data());
    Data().BeginNamedUndoSequence(dvutCustom, "Mine", true);
    Data().Do_Tag(0, TDVTag{1, {}}, false);
  }
  EXPECT_EQ(Data().UndoList->CurrentUndoCaption(), "Mine");
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Data().RedoList->CurrentUndoType(), dvutCustom);
  EXPECT_EQ(Data().RedoList->CurrentUndoCaption(), "Mine");
}

// ---- bad calls: the error, and nothing changed ----

struct BadCallCase {
  const char* name;
  const char* fixture;
  std::function<void(TDVEditDVData&)> call;
  const char* message;
};

void PrintTo(const BadCallCase& c, std::ostream* os) { *os << c.name; }

const BadCallCase kBadCalls[] = {
    {"InsertSubstringPastTheEnd", R"(P0 0"a")",
     [](TDVEditDVData& d) { d.Do_InsertSubstring(1, 1, "x"); }, "Undo error"},
    {"InsertSubstringIntoPicture", R"(P0 pic:5x5)",
     [](TDVEditDVData& d) { d.Do_InsertSubstring(0, 1, "x"); }, "Undo error"},
    {"AddCheckpointTwice", R"(P0 #k 0"a")",
     [](TDVEditDVData& d) {
       auto cp = std::make_unique<TDVCPInfo>();
       d.Do_AddCP(0, std::move(cp));
     },
     "Checkpoint error"},
    {"AddSecondTrailingCheckpoint", R"(P0 0"a" #end)",
     [](TDVEditDVData& d) { d.Do_AddCP(-1, std::make_unique<TDVCPInfo>()); }, "Checkpoint error"},
    {"DeleteMissingCheckpoint", R"(P0 0"a")", [](TDVEditDVData& d) { d.Do_DeleteCP(0); }, "Checkpoint error"},
    {"DeleteMissingTrailingCheckpoint", R"(P0 0"a")", [](TDVEditDVData& d) { d.Do_DeleteCP(-1); },
     "Checkpoint error"},
    {"UndoEmptyList", R"(P0 0"a")", [](TDVEditDVData& d) { d.UndoList->Undo(d); }, "Undo buffer is empty"},
    {"RedoEmptyList", R"(P0 0"a")", [](TDVEditDVData& d) { d.RedoList->Redo(d); }, "Undo buffer is empty"},
    {"AddIntoNoGroup", R"(P0 0"a")",
     [](TDVEditDVData& d) { d.UndoList->AddInfo(std::make_unique<TDVUndoTagInfo>()); },
     "Can't modify empty undo list"},
    {"AddIntoTypingGroup", R"(P0 0"a")",
     [](TDVEditDVData& d) {
       d.UndoList->AddTyping(0, 2, false);
       d.UndoList->AddInfo(std::make_unique<TDVUndoTagInfo>());
     },
     "Incorrect adding into undo list"},
};

class BadCallTest : public EditTest, public testing::WithParamInterface<BadCallCase> {};

TEST_P(BadCallTest, RaisesAndChangesNothing) {
  const BadCallCase& c = GetParam();
  Load(c.fixture);
  const std::string before = DvfBytes(Data());
  try {
    TDVEditOperation operation(Data());
    c.call(Data());
    ADD_FAILURE() << "no error";
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), c.message);
  }
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoDest, udNone);
}

INSTANTIATE_TEST_SUITE_P(Undo, BadCallTest, testing::ValuesIn(kBadCalls),
                         [](const testing::TestParamInfo<BadCallCase>& info) { return info.param.name; });

TEST_F(EditTest, BeforeChangeRefusesWithABeep) {
  Load(R"(P0 0"a")");
  int changing = 0;
  editor->OnChanging = [&](TCustomDocView&) { ++changing; };
  EXPECT_TRUE(editor->BeforeChange(false));
  EXPECT_EQ(changing, 1);
  int32_t left = 0, top = 0;
  Data().SetMouseCapture(Data().GetItem(0), left, top);
  EXPECT_FALSE(editor->BeforeChange(false));
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(editor->BeforeChange(true));
  Data().ReleaseMouseCapture(Data().GetItem(0));
  editor->SetStyle(nullptr);
  EXPECT_FALSE(editor->BeforeChange(true));
  EXPECT_EQ(changing, 2);
}

TEST_F(EditTest, ChangeMarksModifiedAndClearsRedo) {
  Load(R"(P0 0"a")");
  int changes = 0;
  editor->OnChange = [&](TCustomDocView&) { ++changes; };
  ChangeText(Data(), "b");
  EXPECT_TRUE(editor->Modified);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Data().RedoList->Count(), 1);
  Data().ChangeEx(false);
  EXPECT_EQ(Data().RedoList->Count(), 1);
  Data().Change();
  EXPECT_EQ(Data().RedoList->Count(), 0);
  EXPECT_EQ(changes, 3);
  Data().Clear();
  EXPECT_FALSE(editor->Modified);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

}  // namespace
}  // namespace quillet::test
