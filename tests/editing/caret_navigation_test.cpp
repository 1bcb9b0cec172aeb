// The caret's steps: along the screen line, across lines at the same x,
// by word, by page and to the ends; a step that cannot move says so.
#include <QTest>

#include "caret_test_util.h"
#include "platform/core/stream.h"

namespace quillet::test {
namespace {

TEST_F(CaretTest, HomeAndEndFollowTheScreenLineOfAWrappedParagraph) {
  editor->SetBounds(0, 0, 100, 300);
  LoadAt("P0 0\"aaaa bbbb cccc dddd\"", 0, 19);
  ASSERT_GE(Data().DrawItems.Count(), 2);
  const TDVDrawLineInfo* line = Data().DrawItems[Data().CaretDrawItemNo];
  ASSERT_GT(line->Offs, 1);
  Data().OnHomePress(false);
  EXPECT_EQ(Caret(), std::make_pair(0, line->Offs));
  Data().OnEndPress(false);
  EXPECT_EQ(Caret(), std::make_pair(0, line->Offs + line->Length));
  Data().OnHomePress(true);
  EXPECT_EQ(Caret(), std::make_pair(0, 1));
  Data().OnEndPress(true);
  EXPECT_EQ(Caret(), std::make_pair(0, 20));
}

TEST_F(CaretTest, UpAndDownKeepTheCaretsX) {
  // After the double-byte character (x 25), then the nearest boundary (24).
  LoadAt("P0 0\"abcdef\" P0 0\"ghijkl\" P0 0\"mn中qr\"", 2, 5);
  EXPECT_FALSE(Data().OnUpPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(1, 5));
  EXPECT_FALSE(Data().OnUpPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(0, 5));
  EXPECT_FALSE(Data().OnDownPress(false, false));
  EXPECT_FALSE(Data().OnDownPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(2, 5));
}

// The x goes with the caret's stop: onto a picture's right half, it
// lands after the picture.
TEST_F(CaretTest, UpOntoAPictureTakesTheNearerSide) {
  LoadAt("P0 pic:30x10 P0 0\"ghijkl\"", 1, 6);
  EXPECT_FALSE(Data().OnUpPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

TEST_F(CaretTest, UpFromTheFirstLineScrollsToTheTop) {
  std::string doc;
  for (int i = 0; i < 60; ++i) doc += "P0 0\"line\" ";
  LoadAt(doc, 0, 3);
  Data().ScrollTo(200, false);
  ASSERT_GT(Data().GetVOffs(), 0);
  EXPECT_TRUE(Data().OnUpPress(false, false));
  EXPECT_EQ(Data().GetVOffs(), 0);
  EXPECT_EQ(Caret(), std::make_pair(0, 3));
}

TEST_F(CaretTest, StepsAtTheDocumentsEndsCannotMove) {
  LoadAt("P0 0\"ab\" P0 0\"cd\"", 0, 2);
  EXPECT_TRUE(Data().OnUpPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(0, 2));
  Data().OnHomePress(false);
  EXPECT_TRUE(Data().OnLeftPress(false, false));
  EXPECT_FALSE(Data().OnRightPress(false, false));
  EXPECT_FALSE(Data().OnRightPress(false, false));
  // The end of the first line steps to the start of the next.
  EXPECT_FALSE(Data().OnRightPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(1, 1));
  EXPECT_FALSE(Data().OnLeftPress(false, false));
  EXPECT_EQ(Caret(), std::make_pair(0, 3));
  Data().OnEndPress(true);
  EXPECT_TRUE(Data().OnDownPress(false, false));
  EXPECT_TRUE(Data().OnRightPress(false, false));
}

struct WordCase {
  const char* name;
  int32_t from;
  bool right;
  int32_t to;
};

class WordSteps : public CaretTest, public testing::WithParamInterface<WordCase> {};

TEST_P(WordSteps, MoveToWordStarts) {
  LoadAt("P0 0\"ab  中d ef\"", 0, GetParam().from);
  if (GetParam().right)
    Data().OnRightPress(false, true);
  else
    Data().OnLeftPress(false, true);
  EXPECT_EQ(Caret(), std::make_pair(0, GetParam().to));
}

// "ab  中d ef": the GBK character is bytes 5-6.
INSTANTIATE_TEST_SUITE_P(Steps, WordSteps,
                         testing::Values(WordCase{"LeftFromTheEnd", 11, false, 9},
                                         WordCase{"LeftOverSpaces", 9, false, 5},
                                         WordCase{"LeftToTheStart", 5, false, 1},
                                         WordCase{"RightFromTheStart", 1, true, 5},
                                         WordCase{"RightOverADoubleByteWord", 5, true, 9}),
                         [](const testing::TestParamInfo<WordCase>& info) { return info.param.name; });

TEST_F(CaretTest, PageKeysMoveByAViewAndStopAtTheEnds) {
  std::string doc;
  for (int i = 0; i < 60; ++i) doc += "P0 0\"line\" ";
  LoadAt(doc, 0, 1);
  Data().OnPgDownPress();
  const int down = Caret().first;
  EXPECT_GT(down, 5);
  EXPECT_LT(down, 59);
  Data().OnPgUpPress();
  EXPECT_LT(Caret().first, down);
  for (int i = 0; i < 20; ++i) Data().OnPgDownPress();
  EXPECT_EQ(Caret(), std::make_pair(59, 5));
  for (int i = 0; i < 20; ++i) Data().OnPgUpPress();
  EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

// ---- a link under the caret ----

struct HotCase {
  const char* name;
  int itemNo;
  int32_t offs;
  int hotItemNo;  // -1: nothing is hot
};

class HotLinkTest : public CaretTest {
 protected:
  // L: a hover-sensitive link, N: a link without a hover look.
  void LoadLinks() {
    const int32_t link = AddLinkStyle(), plain = AddLinkStyle(clNone);
    Load("P0 0\"ab \" " + std::to_string(link) + "\"link\" 0\" cd\" P0 " + std::to_string(plain) + "\"xy\" " +
         std::to_string(link) + "\"zz\"");
  }
  // Whether item itemNo is drawn hot, and no other item with it.
  bool DrawnHot(int itemNo) const {
    const TDVEditDVData& d = Data();
    if (!(d.State & dvstDrawHover) || d.LastJumpMovedAbove == -1) return false;
    for (int i = 0; i < d.ItemCount(); ++i) {
      const TCustomDVItemInfo* item = d.GetItem(i);
      if (item->GetBoolValueEx(dvbpJump, d.GetDVStyle()) && (item->JumpID == d.LastJumpMovedAbove) != (i == itemNo))
        return false;
    }
    return true;
  }
};

class HotLink : public HotLinkTest, public testing::WithParamInterface<HotCase> {};

TEST_P(HotLink, IsHotWhileTheCaretIsOnIt) {
  const HotCase& c = GetParam();
  LoadLinks();
  Data().SetCaretAtItem(c.itemNo, c.offs);
  if (c.hotItemNo < 0) {
    EXPECT_EQ(Data().HotItem(), nullptr);
    EXPECT_FALSE(Data().State & dvstDrawHover);
  } else {
    EXPECT_EQ(Data().HotItem(), Data().GetItem(c.hotItemNo));
    EXPECT_TRUE(DrawnHot(c.hotItemNo));
  }
}

// The caret is on the item of its drawing item: at either edge of a link
// it types in the link's style, and the link is hot.
INSTANTIATE_TEST_SUITE_P(Carets, HotLink,
                         testing::Values(HotCase{"BeforeTheLink", 0, 4, -1}, HotCase{"AtTheLinksStart", 1, 1, 1},
                                         HotCase{"InsideTheLink", 1, 3, 1}, HotCase{"AtTheLinksEnd", 1, 5, 1},
                                         HotCase{"AfterTheLink", 2, 1, -1},
                                         HotCase{"LinkWithoutAHoverLook", 3, 2, -1},
                                         HotCase{"SecondLink", 4, 2, 4}),
                         [](const testing::TestParamInfo<HotCase>& info) { return info.param.name; });

TEST_F(HotLinkTest, ALinkIsMadeHotAndColdByTheCaret) {
  LoadLinks();
  const int32_t ownNumber = Data().GetItem(1)->JumpID;
  Data().SetCaretAtItem(0, 3);
  EXPECT_FALSE(Data().State & dvstDrawHover);
  // Right steps onto the link (a stop of its own at the boundary), along
  // it, and off it.
  Data().OnRightPress(false, false);
  EXPECT_EQ(Caret(), std::make_pair(0, 4));
  EXPECT_FALSE(Data().State & dvstDrawHover);
  Data().OnRightPress(false, false);
  EXPECT_EQ(Caret(), std::make_pair(1, 1));
  EXPECT_TRUE(DrawnHot(1));
  for (int i = 0; i < 4; ++i) Data().OnRightPress(false, false);
  EXPECT_EQ(Caret(), std::make_pair(1, 5));
  EXPECT_TRUE(DrawnHot(1));
  Data().OnRightPress(false, false);
  EXPECT_EQ(Caret(), std::make_pair(2, 1));
  EXPECT_FALSE(Data().State & dvstDrawHover);
  EXPECT_EQ(Data().GetItem(1)->JumpID, ownNumber);
  // From one link to the other (Ctrl+End): only that one is hot.
  Data().SetCaretAtItem(1, 3);
  ASSERT_TRUE(DrawnHot(1));
  Data().OnEndPress(true);
  EXPECT_TRUE(DrawnHot(4));
  // Deleting the hot link leaves nothing hot.
  Data().SetSelectionBounds(4, 1, 4, 3);
  ASSERT_TRUE(Data().DeleteSelection_());
  EXPECT_EQ(Data().HotItem(), nullptr);
}

// A read-only editor has hyperlink areas, numbered by the pass; the caret
// makes the link hot by its own number. Editable again, the areas go.
TEST_F(HotLinkTest, ReadOnlyEditorsLinksKeepTheirAreas) {
  LoadLinks();
  Data().SetCaretAtItem(1, 3);
  ASSERT_TRUE(DrawnHot(1));
  editor->SetReadOnly(true);
  EXPECT_TRUE(Data().GetFlags() & dvflUseJumps);
  EXPECT_EQ(Data().Jumps.size(), 3u);
  EXPECT_TRUE(DrawnHot(1));
  EXPECT_GE(Data().LastJumpMovedAbove, 0);
  Data().SetCaretAtItem(4, 2);
  EXPECT_TRUE(DrawnHot(4));
  // A forced build keeps them while read-only; a clear does nothing then.
  Data().ClearJumpsCoords();
  EXPECT_EQ(Data().Jumps.size(), 3u);
  editor->SetReadOnly(false);
  EXPECT_FALSE(Data().GetFlags() & dvflUseJumps);
  EXPECT_TRUE(Data().Jumps.empty());
  EXPECT_TRUE(DrawnHot(4));
  // Built on request (Ctrl held) and cleared again.
  Data().BuildJumpsCoords(false);
  EXPECT_EQ(Data().Jumps.size(), 3u);
  Data().ClearJumpsCoords();
  EXPECT_TRUE(Data().Jumps.empty());
  EXPECT_TRUE(DrawnHot(4));
}

// With dvoCtrlJumps holding Ctrl makes the links work; releasing it ends that.
TEST_F(HotLinkTest, CtrlHeldBuildsTheAreasWithCtrlJumps) {
  LoadLinks();
  for (bool ctrlJumps : {false, true}) {
    editor->EditorOptions = ctrlJumps ? dvoCtrlJumps : 0;
    QTest::keyPress(editor->Widget(), Qt::Key_Control);
    EXPECT_EQ(Data().Jumps.size(), ctrlJumps ? 3u : 0u);
    QTest::keyRelease(editor->Widget(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(Data().Jumps.empty());
  }
}

// Saving builds the areas for the writer only; the hot link stays hot.
TEST_F(HotLinkTest, SavingKeepsTheHotLink) {
  LoadLinks();
  Data().SetCaretAtItem(1, 3);
  TMemoryStream rtf;
  EXPECT_TRUE(Data().SaveRTFToStream(rtf, false, clNone, nullptr));
  EXPECT_TRUE(Data().Jumps.empty());
  EXPECT_TRUE(DrawnHot(1));
}

}  // namespace
}  // namespace quillet::test
