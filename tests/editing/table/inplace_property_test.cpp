// Random editing of a table the way a user does it: clicks into cells,
// typing, Enter, Backspace, Tab and Shift+Tab, conversions and deletions
// over selected cells; then Ctrl+Z until nothing is left gives back the
// document's original DVF bytes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>
#include <random>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class InplacePropertyTest : public TableEditTest {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  TDVTableItemInfo& Place() {
    auto t = MakeTable(3, 3);
    t->Rows.MergeCellsPlain(1, 1, 2, 2, true, true);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)
        if (TDVTableCellData* cell = t->GetCells(r, c)) AddCellText(*cell, std::string(1, static_cast<char>('a' + r * 3 + c)));
    TDVTableItemInfo& table = *t;
    Data().Clear();
    Data().AddNL(ItemText("前", false), kGbk, 0);
    t->ParaNo = 0;
    Data().AddItem("", std::move(t));
    Data().AddNL(ItemText("后", false), kGbk, 0);
    Data().Format();
    return table;
  }

  // Keys go where the focus would be: the innermost open editor.
  QWidget* Focus() const { return editor->GetTopLevelEditor()->Widget(); }

  void ClickCell(const TDVTableItemInfo& t, int row, int col) {
    int mainRow = row, mainCol = col;
    const TDVTableCellData* cell = t.Rows.GetMainCell(row, col, mainRow, mainCol);
    int32_t left = 0, top = 0;
    if (!cell || !Data().GetItemCoords(1, left, top)) return;
    const QPoint p(left + cell->Left + cell->Width / 2 - Data().GetHOffs(),
                   top + cell->Top + cell->Height / 2 - Data().GetVOffs());
    QTest::mouseClick(editor->ClientWidget(), Qt::LeftButton, Qt::NoModifier, p);
  }

  void RandomStep(TDVTableItemInfo& t) {
    switch (Rand(0, 7)) {
      case 0:
        ClickCell(t, Rand(0, 2), Rand(0, 2));
        break;
      case 1:
        QTest::keyClicks(Focus(), Rand(0, 1) ? "xy" : "q");
        break;
      case 2:
        QTest::keyClick(Focus(), Qt::Key_Return);
        break;
      case 3:
        QTest::keyClick(Focus(), Qt::Key_Backspace);
        break;
      case 4:
        QTest::keyClick(Focus(), Rand(0, 1) ? Qt::Key_Tab : Qt::Key_Backtab,
                        Rand(0, 1) ? Qt::NoModifier : Qt::ShiftModifier);
        break;
      case 5:
        QTest::keyClick(Focus(), Rand(0, 1) ? Qt::Key_Left : Qt::Key_Down);
        break;
      default: {
        t.DestroyInplace();
        t.Select(Rand(0, 1), Rand(0, 1), Rand(0, 1), Rand(0, 1));
        if (Rand(0, 1))
          editor->ApplyStyleConversion(0);
        else
          editor->DeleteSelection();
        break;
      }
    }
    QApplication::processEvents();
  }

  std::mt19937 rng;
};

TEST_F(InplacePropertyTest, UndoingEverythingGivesTheOriginalBytes) {
  // Converts between the 8-bit and the Unicode style.
  editor->OnStyleConversion = [](void*, int32_t styleNo, int32_t, bool, int32_t& newStyleNo) {
    newStyleNo = styleNo == kGbk ? kUni : kGbk;
  };
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    rng.seed(seed);
    TDVTableItemInfo& t = Place();
    editor->ClearUndo();
    const std::string original = DvfBytes(Data());
    for (int step = 0; step < 40; ++step) RandomStep(t);
    const std::string edited = DvfBytes(Data());
    int presses = 0;
    for (; presses < 2000; ++presses) {
      const TCustomDocViewEdit* top = editor->GetTopLevelEditor();
      if (Data().UndoList->Count() == 0 && top->EditData().UndoList->Count() == 0) break;
      UndoKey(Focus());
      QApplication::processEvents();
    }
    ASSERT_LT(presses, 2000) << "seed " << seed;
    EXPECT_EQ(DvfBytes(Data()), original) << "seed " << seed << ", edited to " << DescribeDoc(Data());
    if (edited != original) EXPECT_GT(presses, 0) << "seed " << seed;
  }
}

}  // namespace
}  // namespace quillet::test
