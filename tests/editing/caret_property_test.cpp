// Random editing at the caret: items inserted at random carets, random
// selections deleted, Backspace, Delete and caret steps. After every step
// the drawing items are those of a whole pass; undoing everything gives
// back the original DVF bytes.
#include "caret_test_util.h"
#include "engine/text/item_text.h"

namespace quillet::test {
namespace {

class CaretProperty : public RandomCaretTest, public testing::WithParamInterface<unsigned> {
 protected:

  void Step() {
    const auto [itemNo, offs] = Position();
    Data().SetCaretAtItem(itemNo, offs);
    switch (Rand(0, 9)) {
      case 0:
      case 1:
        InsertAtCaret(NewItem(Rand(0, 3) == 0 ? "brk" : Rand(0, 4) == 0 ? "mk" : "pic"));
        break;
      case 2:
      case 3: {
        const auto [endNo, endOffs] = Position();
        Data().SetSelectionBounds(itemNo, offs, endNo, endOffs);
        Data().DeleteSelection_();
        break;
      }
      case 4:
      case 5:
        Data().OnBackSpacePress_(Rand(0, 3) == 0);
        break;
      case 6:
      case 7:
        Data().OnDeletePress_(false);
        break;
      default:
        switch (Rand(0, 5)) {
          case 0: Data().OnLeftPress(false, Rand(0, 1) == 1); break;
          case 1: Data().OnRightPress(false, Rand(0, 1) == 1); break;
          case 2: Data().OnUpPress(false, false); break;
          case 3: Data().OnDownPress(false, false); break;
          case 4: Data().OnPgDownPress(); break;
          default: Data().OnEndPress(false); break;
        }
    }
  }

};

TEST_P(CaretProperty, UndoingEverythingGivesBackTheBytes) {
  rng.seed(GetParam());
  editor->SetBounds(0, 0, 160, 200);
  Load(RandomDocument(25));
  const std::string original = DvfBytes(Data());
  Data().UndoList->Limit = -1;
  for (int i = 0; i < 300; ++i) {
    Step();
    ASSERT_TRUE(DrawingIsFresh(Data())) << "after step " << i;
    ASSERT_EQ(Data().UndoDest, udNone);
  }
  // Most steps change the document; a run that changed little proves little.
  EXPECT_GT(Data().UndoList->Count(), 100);
  while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
  EXPECT_EQ(DvfBytes(Data()), original);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, CaretProperty, testing::Range(1u, 9u));

}  // namespace
}  // namespace quillet::test
