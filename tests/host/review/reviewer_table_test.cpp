// The reviewer table: its lines as written and read back, damaged lines
// refused whole, and the slot a reviewer who starts tracking takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

using Lines = std::vector<std::string>;

// Lines in UTF-8 here, in the system code page in the table.
Lines Ansi(const Lines& utf8) {
  Lines out;
  for (const std::string& line : utf8) out.push_back(Utf8ToAnsi(line));
  return out;
}

// Lines given, then free slots up to 15.
Lines Padded(Lines lines) {
  while (lines.size() < TReviewerTable::kSlots) lines.push_back("QV;;;0");
  return lines;
}

const Lines kDrafterAB = Padded({"QV;起草人;2026-12-01 09:00:00;0", "QV;A;2026-12-02 10:00:00;255",
                                 "QV;B;2026-12-03 11:30:00;39168"});

std::vector<std::string> Names(const TReviewerTable& table) {
  std::vector<std::string> names;
  for (int i = 0; i < TReviewerTable::kSlots; ++i) names.push_back(AnsiToUtf8(table.Slot(i).Name));
  while (!names.empty() && names.back().empty()) names.pop_back();
  return names;
}

TEST(ReviewerLines, DrafterAndTwoReviewersReadAndWriteBack) {
  TReviewerTable table;
  table.ReadLines(Ansi(kDrafterAB));
  EXPECT_EQ(table.CurUserNo(), 2);
  EXPECT_EQ(table.UsedUserNo(), 3);
  EXPECT_EQ(table.Slot(2), (TReviewer{"B", "2026-12-03 11:30:00", 39168}));
  Lines written;
  table.WriteLines(written);
  EXPECT_EQ(written, Ansi(kDrafterAB));
}

TEST(ReviewerLines, WritingNamesTheDrafterAndReplacesTheList) {
  TReviewerTable table;
  table.Enter("A", "2026-12-10 08:00:00");
  Lines lines{"stale"};
  table.WriteLines(lines);
  Lines again = lines;
  table.WriteLines(again);
  EXPECT_EQ(again, lines);
  EXPECT_EQ(lines, Ansi(Padded({"QV;起草人;;0", "QV;A;2026-12-10 08:00:00;255"})));
}

struct ReadCase {
  const char* name;
  Lines lines;
  int32_t cur, used;
  std::vector<std::string> names;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReviewerReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ReviewerReading, TakesTheSlotsUpToTheFirstEmptyName) {
  const ReadCase& c = GetParam();
  TReviewerTable table;
  table.ReadLines(Ansi(kDrafterAB));
  table.ReadLines(Ansi(c.lines));
  EXPECT_EQ(table.CurUserNo(), c.cur);
  EXPECT_EQ(table.UsedUserNo(), c.used);
  EXPECT_EQ(Names(table), c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReviewerReading,
    testing::Values(
        ReadCase{"EmptyFirstName", Padded({}), -1, 0, {}},
        ReadCase{"NoLinesEmptyTable", {}, 0, 0, {}},
        ReadCase{"FewerThan15EndLikeAnEmptyName", {"QV;D;t;1", "QV;A;t;2"}, 1, 2, {"D", "A"}},
        ReadCase{"AllFifteenNamed",
                 Lines(15, "QV;R;t;5"),
                 14,
                 15,
                 std::vector<std::string>(15, "R")},
        ReadCase{"LinesAfterTheEmptyNameUnread", {"QV;D;t;1", "QV;;;0", "QV;X;t;bad", "QV"}, 0, 1, {"D"}},
        ReadCase{"SixteenthLineUnread", [] { Lines l(15, "QV;R;t;5"); l.push_back("QV;S;t;x"); return l; }(), 14,
                 15, std::vector<std::string>(15, "R")},
        ReadCase{"NegativeAndSignedColours", {"QV;D;t;-1", "QV;A;t;+7"}, 1, 2, {"D", "A"}},
        ReadCase{"DoubleByteNames", {"QV;审阅人甲;2026-12-01 09:00:00;16711680"}, 0, 1, {"审阅人甲"}}));

TEST(ReviewerReading, EmptyListAfterATableClearsIt) {
  TReviewerTable table;
  table.ReadLines(Ansi(kDrafterAB));
  table.ReadLines({});
  EXPECT_EQ(table.UsedUserNo(), 0);
  EXPECT_TRUE(Names(table).empty());
}

struct BadCase {
  const char* name;
  Lines lines;
  std::string message;  // a part of the message
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class DamagedReviewerLines : public testing::TestWithParam<BadCase> {};

TEST_P(DamagedReviewerLines, FailNamingTheLineAndChangeNothing) {
  const BadCase& c = GetParam();
  TReviewerTable table;
  table.ReadLines(Ansi(kDrafterAB));
  try {
    table.ReadLines(Ansi(c.lines));
    FAIL() << "no error";
  } catch (const EReviewerError& e) {
    EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
  }
  Lines written;
  table.WriteLines(written);
  EXPECT_EQ(written, Ansi(kDrafterAB));
  EXPECT_EQ(table.CurUserNo(), 2);
  EXPECT_EQ(table.UsedUserNo(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedReviewerLines,
    testing::Values(
        BadCase{"ThreeFields", {"QV;D;t;1", "QV;A;t"}, "Reviewer line 2 (\"QV;A;t\") has fewer than four fields"},
        BadCase{"TagAlone", {"QV"}, "Reviewer line 1 (\"QV\") has fewer than four"},
        BadCase{"EmptyNameTrailingDelimiter", {"QV;;;"}, "line 1"},
        // A ";" in a name shifts the fields: the colour field holds the time.
        BadCase{"SemicolonInName", {"QV;A;B;2026-12-01 09:00:00;255"}, "'2026-12-01 09:00:00' is not a valid integer"},
        BadCase{"HexColour", {"QV;A;t;$FF"}, "'$FF' is not a valid integer value"},
        BadCase{"Beyond32Bits", {"QV;A;t;4294967296"}, "'4294967296' is not a valid integer value"},
        BadCase{"EmptyColour", {"QV;A;t;"}, "fewer than four fields"},
        BadCase{"SpaceInColour", {"QV;A;t; 5"}, "' 5' is not"},
        BadCase{"LongLineCutInMessage", {"QV;" + std::string(200, 'n') + ";t;x"}, "nnn...\")"},
        BadCase{"LongColourCutInMessage", {"QV;A;t;" + std::string(100, '9')}, "'" + std::string(60, '9') + "...'"}));

TEST(DamagedReviewerLines, LongDoubleByteLineIsCutAtAWholeCharacter) {
  std::string name;
  for (int i = 0; i < 40; ++i) name += "审";
  TReviewerTable table;
  try {
    table.ReadLines(Ansi({"QV;" + name + ";t;x"}));
    FAIL() << "no error";
  } catch (const EReviewerError& e) {
    // 3 bytes of "QV;" and 28 whole characters of two bytes fit in 60.
    const std::string expected = "(\"QV;" + name.substr(0, 28 * 3) + "...\")";
    EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
  }
}

TEST(ReviewerNames, SeparatorsBecomeFullWidthAndSpacesAndReadBack) {
  TReviewerTable table;
  table.Enter(Utf8ToAnsi("张;三\r\n审"), "t");
  EXPECT_EQ(AnsiToUtf8(table.Slot(1).Name), "张；三  审");
  Lines lines;
  table.WriteLines(lines);
  TReviewerTable read;
  read.ReadLines(lines);
  EXPECT_EQ(read.Slot(1), table.Slot(1));
  // The same user starting again is found under the mended name.
  EXPECT_EQ(read.Enter(Utf8ToAnsi("张;三\r\n审"), "t2"), 1);
}

// ---- slots of reviewers who start tracking ----

TEST(ReviewerSlots, SameUserTwiceKeepsOneSlotAndRefreshesItsTime) {
  TReviewerTable table;
  EXPECT_EQ(table.Enter("A", "t1"), 1);
  EXPECT_EQ(table.Enter("A", "t2"), 1);
  EXPECT_EQ(table.Slot(1), (TReviewer{"A", "t2", 0x0000FF}));
  EXPECT_EQ(table.UsedUserNo(), 1);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"", "A"}));
}

TEST(ReviewerSlots, NewReviewerTakesTheFirstFreeSlotNotTheOneAfterTheCurrent) {
  TReviewerTable table;
  table.Enter("A", "t");
  table.Enter("B", "t");
  table.Enter("A", "t");  // current is slot 1 again
  EXPECT_EQ(table.Enter("C", "t"), 3);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"", "A", "B", "C"}));
  EXPECT_EQ(table.Slot(3).Color, TReviewerTable::kPalette[2]);
}

TEST(ReviewerSlots, AfterReadingTheNextReviewerFollowsTheRecord) {
  TReviewerTable table;
  table.ReadLines(Ansi(kDrafterAB));
  EXPECT_EQ(table.Enter("C", "t"), 3);
  EXPECT_EQ(table.Slot(3).Color, TReviewerTable::kPalette[3]);
  EXPECT_EQ(table.UsedUserNo(), 4);
  // The drafter is a reviewer like the others.
  EXPECT_EQ(table.Enter(Utf8ToAnsi("起草人"), "t"), 0);
}

TEST(ReviewerSlots, AfterAnEmptyFirstNameSlotZeroStaysTheDrafters) {
  TReviewerTable table;
  table.ReadLines(Padded({}));
  EXPECT_EQ(table.Enter("A", "t"), 1);
  EXPECT_EQ(table.Slot(1).Color, TReviewerTable::kPalette[0]);
  EXPECT_EQ(table.Slot(0).Name, "");
}

TEST(ReviewerSlots, FifteenthReviewerIsRefusedAndTheTableKept) {
  TReviewerTable table;
  for (int i = 1; i <= 14; ++i) EXPECT_EQ(table.Enter("R" + std::to_string(i), "t"), i);
  Lines before;
  table.WriteLines(before);
  EXPECT_THROW(
      {
        try {
          table.Enter("R15", "t");
        } catch (const EReviewerError& e) {
          EXPECT_STREQ(e.what(), "All 14 reviewer places of the document are taken; tracking cannot start for another reviewer");
          throw;
        }
      },
      EReviewerError);
  Lines after;
  table.WriteLines(after);
  EXPECT_EQ(after, before);
  EXPECT_EQ(table.CurUserNo(), 14);
  // Everyone already in the table may still track.
  EXPECT_EQ(table.Enter("R3", "t"), 3);
}

TEST(ReviewerSlots, FullRecordRefusesANewcomer) {
  TReviewerTable table;
  table.ReadLines(Lines(15, "QV;R;t;5"));
  EXPECT_THROW(table.Enter("S", "t"), EReviewerError);
}

TEST(ReviewerSlots, EmptyUserNameIsRefused) {
  TReviewerTable table;
  EXPECT_THROW(table.Enter("", "t"), EReviewerError);
  EXPECT_EQ(table.UsedUserNo(), 0);
}

TEST(ReviewerTimes, NowIsOneFixedForm) {
  const std::string now = ReviewerNow();
  const std::string form = "dddd-dd-dd dd:dd:dd";
  ASSERT_EQ(now.size(), form.size()) << now;
  for (size_t i = 0; i < form.size(); ++i)
    EXPECT_TRUE(form[i] == 'd' ? now[i] >= '0' && now[i] <= '9' : now[i] == form[i]) << now;
}

}  // namespace
}  // namespace quillet::test
