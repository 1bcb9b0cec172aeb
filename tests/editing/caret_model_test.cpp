// The caret model: stops from the layout's measurement, the caret kept in
// item terms across formatting, the current styles and the blink timer.
#include <QApplication>
#include <QWidget>

#include "caret_test_util.h"
#include "engine/base/doc_view_error.h"

namespace quillet::test {
namespace {

using StopList = std::vector<std::pair<int32_t, int32_t>>;

struct StopCase {
  const char* name;
  const char* doc;
  int itemNo;
  StopList expected;
};

class CaretStops : public CaretTest, public testing::WithParamInterface<StopCase> {};

// Half-width characters are 6 pixels, full-width 13 (a 13-pixel font).
TEST_P(CaretStops, FollowCharactersOfTheItemsOwnCodePage) {
  LoadAt(GetParam().doc, GetParam().itemNo, GetParam().itemNo == 0 ? 1 : 0);
  EXPECT_EQ(Stops(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CaretStops,
    testing::Values(
        StopCase{"Ascii", "P0 0\"ab\"", 0, {{1, 0}, {2, 6}, {3, 12}}},
        // A GBK character is one step of two bytes.
        StopCase{"Gbk", "P0 0\"a中b\"", 0, {{1, 0}, {2, 6}, {4, 19}, {5, 25}}},
        // A surrogate pair is one step of two units.
        StopCase{"Surrogate", "P0 1\"a😀b\"", 0, {{1, 0}, {2, 6}, {4, 19}, {5, 25}}},
        StopCase{"EmptyText", "P0 0\"\"", 0, {{1, 0}}},
        // A picture (a pixel of spacing each side) has a stop on each side; the next text starts where it ends.
        StopCase{"Picture", "P0 pic:20x10 0\"a\"", 1, {{0, 0}, {1, 22}, {1, 22}, {2, 28}}}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

TEST_F(CaretTest, StopsCoverOnlyTheCaretsScreenLine) {
  LoadAt("P0 0\"ab\" P0 0\"cd\"", 1, 2);
  EXPECT_EQ(Stops(), (StopList{{1, 0}, {2, 6}, {3, 12}}));
  EXPECT_EQ(Caret(), std::make_pair(1, 2));
}

TEST_F(CaretTest, FormattingKeepsTheCaretOnItsItemAndOffset) {
  LoadAt("P0 0\"abcd\" P0 0\"efgh\"", 1, 3);
  Data().Format();
  EXPECT_EQ(Caret(), std::make_pair(1, 3));
  // Loading anew puts it at the start.
  Load("P0 0\"xy\"");
  EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

TEST_F(CaretTest, EmptyDocumentIsFormattedIntoOneEmptyLineWithTheCaret) {
  Load("");
  ASSERT_EQ(Data().ItemCount(), 1);
  EXPECT_EQ(Doc(), "P0 0\"\"");
  EXPECT_EQ(Caret(), std::make_pair(0, 1));
  EXPECT_TRUE(Data().CaretShown());
}

TEST_F(CaretTest, CaretRectangleStandsOnItsStop) {
  LoadAt("P0 0\"ab\"", 0, 2);
  const TDVCharPos& stop = Data().CharEnds[static_cast<size_t>(Data().CaretOffs)];
  const TDVDrawLineInfo* d = Data().DrawItems[0];
  EXPECT_EQ(Data().CaretRect.Left, stop.X - 1 + stop.MoveRightTo - DocViewEditCaretWidth / 2);
  EXPECT_EQ(Data().CaretRect.Top, d->Top - 1);
  EXPECT_EQ(Data().CaretRect.Bottom - Data().CaretRect.Top, d->Height + 2);
}

TEST_F(CaretTest, CurrentStylesFollowTheCaretUnlessTheStyleAsksNot) {
  const int32_t sticky = AddTextStyle(dvprDoNotAutoSwitch);
  LoadAt("P1 1\"ab\" " + std::to_string(sticky) + "\"cd\"", 0, 2);
  EXPECT_EQ(Data().FCurTextStyleNo, kUni);
  EXPECT_EQ(Data().FCurParaStyleNo, kIndentPara);
  Data().SetCaretAtItem(1, 2);
  EXPECT_EQ(Data().FCurTextStyleNo, kUni);
}

// The editor's style-changed events fire when the caret changes a current
// style, and for both when the style numbers were changed under the host.
struct StyleEventStep {
  int itemNo;
  int32_t offs;
  int textEvents, paraEvents;  // fired by this step
};

TEST_F(CaretTest, CurrentStyleEventsFireWhenTheCaretChangesAStyle) {
  int text = 0, para = 0;
  editor->OnCurTextStyleChanged = [&](TCustomDocView&) { ++text; };
  editor->OnCurParaStyleChanged = [&](TCustomDocView&) { ++para; };
  const int32_t sticky = AddTextStyle(dvprDoNotAutoSwitch);
  LoadAt("P0 0\"ab\" 1\"cd\" pic:10x10 P1 1\"ef\" " + std::to_string(sticky) + "\"gh\"", 0, 2);
  const StyleEventStep steps[] = {
      {0, 3, 0, 0},  // the same item
      {1, 2, 1, 0},  // another text style
      {2, 0, 0, 0},  // a picture leaves the text style
      {3, 2, 0, 1},  // the same text style in another paragraph style
      {4, 2, 0, 0},  // a style that does not switch
      {0, 2, 1, 1},
  };
  for (const StyleEventStep& step : steps) {
    text = para = 0;
    Data().SetCaretAtItem(step.itemNo, step.offs);
    EXPECT_EQ(std::make_pair(text, para), std::make_pair(step.textEvents, step.paraEvents))
        << "caret at " << step.itemNo << ":" << step.offs;
  }
  // Writing the current style through the editor.
  text = 0;
  editor->SetCurTextStyleNo(kUni);
  editor->SetCurTextStyleNo(kUni);
  EXPECT_EQ(text, 1);
  EXPECT_EQ(editor->CurTextStyleNo(), kUni);
  // Deleting unused styles forces both.
  text = para = 0;
  Data().DeleteUnusedStyles(true, true);
  EXPECT_EQ(std::make_pair(text, para), std::make_pair(1, 1));
  EXPECT_FALSE(Data().State & dvstForceStyleChangeEvent);
}

// A picture shows its active state while the caret is at it.
TEST_F(CaretTest, AnItemWithAnActiveStateIsActiveWhileTheCaretIsAtIt) {
  LoadAt("P0 0\"ab\" pic:20x10 0\"cd\" P0 brk", 0, 2);
  EXPECT_EQ(Data().FActiveItem, nullptr);
  Data().SetCaretAtItem(1, 0);
  EXPECT_EQ(Data().FActiveItem, Data().GetItem(1));
  Data().OnRightPress(false, false);
  EXPECT_EQ(Data().FActiveItem, Data().GetItem(1));
  Data().SetCaretAtItem(2, 2);
  EXPECT_EQ(Data().FActiveItem, nullptr);
  Data().SetCaretAtItem(3, 0);  // a break has no active state
  EXPECT_EQ(Data().FActiveItem, nullptr);
  // The active picture deleted: nothing is active.
  Data().SetCaretAtItem(1, 1);
  Data().OnBackSpacePress_(false);
  EXPECT_EQ(Doc(), "P0 0\"abcd\" P0 brk");
  EXPECT_EQ(Data().FActiveItem, nullptr);
}

TEST_F(CaretTest, AStopOutsideTheLineResetsTheCaretAndRaises) {
  LoadAt("P0 0\"ab\" P0 0\"cd\"", 1, 2);
  Data().CaretOffs = 99;
  EXPECT_THROW(Data().ChangeCaret(false, false, false, false), EDocViewError);
  EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

TEST_F(CaretTest, ReadOnlyEditorCanHideItsCaret) {
  editor->ReadOnly = true;
  editor->HideReadOnlyCaret = true;
  LoadAt("P0 0\"ab\"", 0, 2);
  EXPECT_FALSE(Data().CaretShown());
  EXPECT_EQ(Caret(), std::make_pair(0, 2));
}

TEST_F(CaretTest, CaretMoveFiresAndFocusStartsTheBlinkTimer) {
  int moves = 0;
  editor->OnCaretMove = [&](TCustomDocView&) { ++moves; };
  LoadAt("P0 0\"ab\"", 0, 2);
  EXPECT_GT(moves, 0);
  QApplication::setActiveWindow(editor->Widget());
  editor->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(editor->Focused());
  EXPECT_TRUE(editor->TimerActive(TCustomDocViewEdit::kCaretTimerId));
  EXPECT_FALSE(editor->TimerActive(TCustomDocView::kScrollTimerId));
  EXPECT_TRUE(editor->CaretVisible());
  editor->Widget()->clearFocus();
  QApplication::processEvents();
  EXPECT_FALSE(editor->TimerActive(TCustomDocViewEdit::kCaretTimerId));
}

}  // namespace
}  // namespace quillet::test
