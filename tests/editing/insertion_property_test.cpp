// Random typing, pasted text with separators, Enter, page breaks and style
// conversions at random carets and selections. After every step the
// drawing items are those of a whole pass; undoing everything gives back
// the original DVF bytes.
#include "insertion_test_util.h"

namespace quillet::test {
namespace {

class InsertionProperty : public InsertionTest, public testing::WithParamInterface<unsigned> {
 protected:

  void Step() {
    const auto [itemNo, offs] = Position();
    Data().SetCaretAtItem(itemNo, offs);
    static const char* const kPasted[] = {"x", "a\r\nb", "中\u2028文", "1\u20292\f3", "\tz\n", "😀\v"};
    static const char* const kTyped[] = {"a", " ", "中", "😀"};
    switch (Rand(0, 9)) {
      case 0:
      case 1: {
        const char* typed = kTyped[Rand(0, 3)];
        Data().InsertTextTyping(ItemText(typed, Data().IsUnicodeStyle(Data().FCurTextStyleNo)));
        break;
      }
      case 2:
      case 3:
        InsertW(kPasted[Rand(0, 5)], Rand(0, 1) == 0);
        break;
      case 4:
        Insert8(Utf8ToAnsi(Rand(0, 1) ? "p\r\nq" : "中"), false);
        break;
      case 5:
      case 6:
        Data().OnEnterPress_(Rand(0, 2) == 0);
        break;
      case 7:
        Data().InsertPageBreak();
        break;
      default: {
        const auto [endNo, endOffs] = Position();
        Data().SetSelectionBounds(itemNo, offs, endNo, endOffs);
        MapStyles(Rand(0, 1) ? std::map<int32_t, int32_t>{{kGbk, kUni}} : std::map<int32_t, int32_t>{{kUni, kGbk}});
        Data().ApplyStyleConversion_(0);
      }
    }
  }

};

TEST_P(InsertionProperty, UndoingEverythingGivesBackTheDocument) {
  rng.seed(GetParam());
  Load(RandomDocument(15));
  const std::string original = DvfBytes(Data());
  for (int step = 0; step < 40; ++step) {
    Step();
    ASSERT_TRUE(DrawingIsFresh(Data())) << "step " << step;
    ASSERT_EQ(Data().UndoDest, udNone);
  }
  while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
  EXPECT_EQ(DvfBytes(Data()), original) << DescribeDoc(Data());
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, InsertionProperty, testing::Range(1u, 13u));

}  // namespace
}  // namespace quillet::test
