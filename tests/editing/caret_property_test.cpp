// Random editing at the caret: items inserted at random carets, random
// selections deleted, Backspace, Delete and caret steps. After every step
// the drawing items are those of a whole pass; undoing everything gives
// back the original DVF bytes.
#include <random>

#include "caret_test_util.h"
#include "engine/text/item_text.h"

namespace quillet::test {
namespace {

class CaretProperty : public CaretTest, public testing::WithParamInterface<unsigned> {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  std::string Document() {
    static const char* const kTexts[] = {"0\"ab cd\"", "1\"中文 x\"", "0\"q\"", "0\"\"", "1\"a😀b\"", "0\"中 z\""};
    std::string doc = "P0 0\"start\"";
    for (int i = 0; i < 25; ++i) {
      const int kind = Rand(0, 9);
      // A break stands alone in its paragraph; a marker begins one.
      if (kind == 0) doc += " P" + std::to_string(Rand(0, 1)) + " brk P0 0\"q\"";
      else if (kind == 1) doc += " pic:" + std::to_string(Rand(5, 60)) + "x10";
      else if (kind == 2) doc += " P0 mk 0\"ab\"";
      else doc += std::string(Rand(0, 2) == 0 ? " P" + std::to_string(Rand(0, 1)) + " " : Rand(0, 4) == 0 ? " / " : " ") +
                  kTexts[Rand(0, 5)];
    }
    return doc;
  }

  // A position at a character boundary of a random item.
  std::pair<int, int32_t> Position() {
    const int itemNo = Rand(0, Data().ItemCount() - 1);
    if (Data().GetItemStyle(itemNo) < 0) return {itemNo, Rand(0, 1)};
    const int32_t after = Data().GetOffsAfterItem(itemNo);
    int32_t offs = 1;
    for (int k = Rand(0, 6); k > 0 && offs < after; --k)
      offs = Data().NextCharStr(Data().GetItemTextR(itemNo), itemNo, offs);
    return {itemNo, offs};
  }

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

  std::mt19937 rng;
};

TEST_P(CaretProperty, UndoingEverythingGivesBackTheBytes) {
  rng.seed(GetParam());
  editor->SetBounds(0, 0, 160, 200);
  Load(Document());
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
