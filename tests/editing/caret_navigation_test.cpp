// The caret's steps: along the screen line, across lines at the same x,
// by word, by page and to the ends; a step that cannot move says so.
#include "caret_test_util.h"

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

}  // namespace
}  // namespace quillet::test
