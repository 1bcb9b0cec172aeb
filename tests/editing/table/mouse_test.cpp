// The table under the mouse: hit-testing of rules, columns, rows and
// cells; the neighbour of a cell; rule drags through the editor's mouse,
// undone as one step; cell, row and column selections by clicks.
#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TableMouseTest : public TableEditTest {
 protected:
  // A rows x cols table of pixel columns 60 wide, placed in the editor.
  TDVTableItemInfo& Place(int rows, int cols, int32_t hSpacing = 2, int32_t borderHSpacing = 2) {
    auto t = MakeTable(rows, cols);
    t->CellHSpacing = hSpacing;
    t->BorderHSpacing = borderHSpacing;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        t->GetCells(r, c)->BestWidth = 60;
        AddCellText(*t->GetCells(r, c), std::string(1, static_cast<char>('a' + r * cols + c)));
      }
    return PlaceInEditor(std::move(t));
  }
  // A client point of the editor at table pixels (tx, ty).
  QPoint At(int32_t tx, int32_t ty) {
    int32_t left = 0, top = 0;
    EXPECT_TRUE(Data().GetItemCoords(0, left, top));
    return QPoint(left + tx - Data().GetHOffs(), top + ty - Data().GetVOffs());
  }
  QWidget* W() { return editor->ClientWidget(); }
  void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mousePress(W(), b, m, p);
  }
  void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mouseRelease(W(), b, m, p);
  }
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Press(from, Qt::LeftButton, m);
    QTest::mouseMove(W(), to);
    Release(to, Qt::LeftButton, m);
  }
  std::string Sel(const TDVTableItemInfo& t) {
    return std::to_string(t.SelStartRow) + "," + std::to_string(t.SelStartCol) + "+" + std::to_string(t.SelRowOffs) +
           "," + std::to_string(t.SelColOffs);
  }
  int32_t RuleX(const TDVTableItemInfo& t, int rule) {
    int32_t minX = 0, ruleX = 0;
    for (int32_t x = 0; x <= t.Fmt.Width; ++x)
      if (t.GetVerticalRuleNo(x, minX, ruleX) == rule) return ruleX;
    ADD_FAILURE() << "no rule " << rule;
    return 0;
  }
};

TEST_F(TableMouseTest, RulesColumnsRowsAndCellsUnderAPoint) {
  TDVTableItemInfo& t = Place(2, 3);
  const auto& s = t.Fmt.ColStarts;
  ASSERT_EQ(s.size(), 3u);
  const int32_t w = t.Fmt.Width, c1 = s[1] - 1;  // the centre of the rule before column 1
  struct Case {
    int32_t x;
    int rule, col;
  } cases[] = {
      {-1, -1, -1},          {0, 0, -1},      {1, 0, -1},         {3, 0, 0},  // 3 is both a rule and a cell edge
      {s[0] + 10, -1, 0},    {c1 - 2, 1, 0},  {c1, 1, -1},        {c1 + 2, 1, 1},
      {c1 + 3, -1, 1},       {w - 1, 3, -1},  {w - 3, 3, 2},      {w + 1, -1, -1},
  };
  for (const Case& c : cases) {
    int32_t minX = 0, ruleX = 0;
    EXPECT_EQ(t.GetVerticalRuleNo(c.x, minX, ruleX), c.rule) << "x " << c.x;
    EXPECT_EQ(t.GetColNo(c.x), c.col) << "x " << c.x;
    if (c.rule == 1) {
      EXPECT_EQ(std::make_pair(minX, ruleX), std::make_pair(s[0], c1));
    } else if (c.rule == 3) {
      EXPECT_EQ(std::make_pair(minX, ruleX), std::make_pair(s[2], w - 1));
    }
  }
  int row = -1, col = -1;
  const int32_t midY = t.Fmt.RowStarts[1] + 5;
  EXPECT_TRUE(t.GetCellAt(s[1] + 5, midY, row, col));
  EXPECT_EQ(std::make_pair(row, col), std::make_pair(1, 1));
  for (auto [x, y] : {std::pair{c1, midY}, {s[1] + 5, t.Fmt.RowStarts[1] - 1}, {1, 1}, {w - 1, t.Fmt.Height - 1}})
    EXPECT_FALSE(t.GetCellAt(x, y, row, col)) << x << "," << y;
  EXPECT_EQ(std::make_pair(row, col), std::make_pair(-1, -1));
  EXPECT_EQ(TDVTableItemInfo::GetCrossed(5, {}), 0);
  EXPECT_EQ(TDVTableItemInfo::GetCrossed(5, {0, 10, 20}), 0);
  EXPECT_EQ(TDVTableItemInfo::GetCrossed(15, {0, 10, 20}), 1);
  EXPECT_EQ(TDVTableItemInfo::GetCrossed(25, {0, 10, 20}), 2);
}

TEST_F(TableMouseTest, WithoutSpacingARuleIsStillHitTwoPixelsAway) {
  TDVTableItemInfo& t = Place(1, 2, 0, 0);
  int32_t minX = 0, ruleX = 0;
  const int32_t rule = t.Fmt.ColStarts[1];
  EXPECT_EQ(t.GetVerticalRuleNo(rule - 2, minX, ruleX), 1);
  EXPECT_EQ(t.GetVerticalRuleNo(rule + 2, minX, ruleX), 1);
  EXPECT_EQ(t.GetVerticalRuleNo(rule - 3, minX, ruleX), -1);
}

TEST_F(TableMouseTest, NeighbourCellsSkipCoveredPositions) {
  auto tab = MakeTable(2, 3);
  tab->Rows.MergeCellsPlain(0, 0, 1, 2, true, true);  // (0,0) spans two columns
  TDVTableItemInfo& t = PlaceInEditor(std::move(tab));
  struct Case {
    int row, col;
    TDVCellDirection d;
    bool found;
    int toRow, toCol;
  } cases[] = {
      {0, 0, dvcdRight, true, 0, 2}, {0, 1, dvcdRight, true, 0, 2}, {0, 2, dvcdLeft, true, 0, 0},
      {1, 1, dvcdUp, true, 0, 0},    {0, 0, dvcdUp, false, -1, -1}, {1, 2, dvcdDown, false, -1, -1},
      {0, 0, dvcdLeft, false, -1, -1}, {0, 2, dvcdNext, true, 1, 0}, {1, 0, dvcdPrev, true, 0, 2},
      {0, 2, dvcdPrev, true, 0, 0},  {1, 2, dvcdNext, false, -1, -1}, {0, 0, dvcdPrev, false, -1, -1},
      {0, 0, dvcdDocTop, false, -1, -1},
  };
  for (const Case& c : cases) {
    int r = 0, k = 0;
    EXPECT_EQ(t.GetCellTo(c.row, c.col, c.d, r, k), c.found) << c.row << "," << c.col << " dir " << int{c.d};
    EXPECT_EQ(std::make_pair(r, k), std::make_pair(c.toRow, c.toCol)) << c.row << "," << c.col << " dir " << int{c.d};
  }
}

TEST_F(TableMouseTest, DraggingARuleResizesBothColumnsAsOneUndoableStep) {
  TDVTableItemInfo& t = Place(2, 3);
  const int32_t w0 = t.Fmt.ColWidths[0], w1 = t.Fmt.ColWidths[1], x = RuleX(t, 1), y = t.Fmt.RowStarts[0] + 5;
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Drag(At(x, y), At(x + 20, y + 3)); }));
  EXPECT_EQ(t.GetCells(0, 0)->BestWidth, w0 + 20);
  EXPECT_EQ(t.GetCells(1, 0)->BestWidth, w0 + 20);
  EXPECT_EQ(t.GetCells(0, 1)->BestWidth, w1 - 20);
  EXPECT_EQ(t.GetCells(0, 2)->BestWidth, 60);
  EXPECT_EQ(t.Fmt.ColWidths[0], w0 + 20);
  EXPECT_EQ(Data().UndoList->Count(), 1);
  EXPECT_EQ(Data().FXORDrawing, nullptr);
  EXPECT_EQ(Data().FCaptureMouseItem, nullptr);
}

TEST_F(TableMouseTest, ShiftDragChangesOnlyTheLeftColumn) {
  TDVTableItemInfo& t = Place(1, 2);
  const int32_t w0 = t.Fmt.ColWidths[0], width = t.Fmt.Width, x = RuleX(t, 1), y = 5;
  Drag(At(x, y), At(x - 15, y), Qt::ShiftModifier);
  EXPECT_EQ(t.GetCells(0, 0)->BestWidth, w0 - 15);
  EXPECT_EQ(t.GetCells(0, 1)->BestWidth, 60);
  EXPECT_EQ(t.Fmt.Width, width - 15);
}

TEST_F(TableMouseTest, DraggingPastThePreviousColumnStopsAtItsLeft) {
  TDVTableItemInfo& t = Place(1, 3);
  const int32_t x = RuleX(t, 2), y = 5;
  Press(At(x, y));
  QTest::mouseMove(W(), At(x - 200, y));
  // The line is drawn no further left than the column before the rule.
  EXPECT_EQ(t.DraggedRuleClientPos(Data(), At(x - 200, y).x(), At(x - 200, y).y()), At(t.Fmt.ColStarts[1], y).x());
  Release(At(x - 200, y));
  EXPECT_EQ(t.GetCells(0, 1)->BestWidth, 1);
}

TEST_F(TableMouseTest, DraggingAPercentColumnStoresAPercent) {
  auto tab = MakeTable(1, 2);
  tab->GetCells(0, 0)->BestWidth = tab->GetCells(0, 1)->BestWidth = -50;
  tab->BestWidth = 300;
  TDVTableItemInfo& t = PlaceInEditor(std::move(tab));
  const int32_t w0 = t.Fmt.ColWidths[0], room = t.Fmt.Width - t.GetHorzExtra(), x = RuleX(t, 1);
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Drag(At(x, 5), At(x + 30, 5)); }));
  EXPECT_EQ(t.GetCells(0, 0)->BestWidth, -((w0 + 30) * 100) / room);
  EXPECT_EQ(t.GetCells(0, 1)->BestWidth, -50);
}

TEST_F(TableMouseTest, DraggingARowRuleSetsTheRowAboveIt) {
  TDVTableItemInfo& t = Place(2, 2);
  int32_t minY = 0, ruleY = 0, y = 0;
  while (t.GetHorizontalRuleNo(y, minY, ruleY) != 1) ++y;
  const int32_t h0 = t.Fmt.RowHeights[0], x = t.Fmt.ColStarts[0] + 5;
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Drag(At(x, ruleY), At(x, ruleY + 25)); }));
  EXPECT_EQ(t.GetCells(0, 0)->BestHeight, h0 + 25);
  EXPECT_EQ(t.GetCells(0, 1)->BestHeight, h0 + 25);
  EXPECT_EQ(t.GetCells(1, 0)->BestHeight, 0);
}

TEST_F(TableMouseTest, AReadOnlyEditorRefusesTheDrag) {
  TDVTableItemInfo& t = Place(1, 2);
  editor->ReadOnly = true;
  const std::string before = DvfBytes(Data());
  const int32_t x = RuleX(t, 1);
  Drag(At(x, 5), At(x + 20, 5));
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(Data().FCaptureMouseItem, nullptr);
}

TEST_F(TableMouseTest, PressesSelectCellsRowsAndColumns) {
  TDVTableItemInfo& t = Place(3, 3);
  const auto& cs = t.Fmt.ColStarts;
  const auto& rs = t.Fmt.RowStarts;
  Drag(At(cs[0] + 5, rs[0] + 5), At(cs[1] + 5, rs[2] + 5));
  EXPECT_EQ(Sel(t), "0,0+2,1");
  EXPECT_EQ(Data().FPartialSelectedItem, &t);
  EXPECT_EQ(Data().FCaptureMouseItem, nullptr);
  // Past the table's edge the nearest row and column count.
  Drag(At(cs[2] + 5, rs[2] + 5), At(-50, -50));
  EXPECT_EQ(Sel(t), "2,2+-2,-2");
  // A right click inside the selection keeps it.
  Press(At(cs[1] + 5, rs[1] + 5), Qt::RightButton);
  Release(At(cs[1] + 5, rs[1] + 5), Qt::RightButton);
  EXPECT_EQ(Sel(t), "2,2+-2,-2");
  Drag(At(cs[1] + 5, rs[1] + 5), At(cs[1] + 5, rs[1] + 5));
  EXPECT_EQ(Sel(t), "1,1+0,0");
  // The top border zone takes a column, the left one a row.
  Drag(At(cs[2] + 5, 1), At(cs[2] + 5, 1));
  EXPECT_EQ(Sel(t), "0,2+2,0");
  Drag(At(1, rs[1] + 5), At(1, rs[1] + 5));
  EXPECT_EQ(Sel(t), "1,0+0,2");
}

TEST_F(TableMouseTest, APressedCellBecomesTheChosenSubDocumentUntilTheDocumentLetsItGo) {
  TDVTableItemInfo& t = Place(2, 2);
  const auto& cs = t.Fmt.ColStarts;
  const auto& rs = t.Fmt.RowStarts;
  Drag(At(cs[1] + 5, rs[1] + 5), At(cs[1] + 5, rs[1] + 5));
  EXPECT_EQ(Data().GetChosenDVData(), t.GetCells(1, 1));
  EXPECT_EQ(Data().GetChosenItem(), &t);
  Press(At(cs[0] + 5, rs[0] + 5), Qt::RightButton);
  Release(At(cs[0] + 5, rs[0] + 5), Qt::RightButton);
  EXPECT_EQ(Data().GetChosenDVData(), t.GetCells(0, 0));
  // Clearing the document lets the cell go before the table is freed.
  Data().Clear();
  EXPECT_EQ(Data().GetChosenDVData(), nullptr);
  EXPECT_EQ(Data().GetChosenItem(), nullptr);
}

TEST_F(TableMouseTest, APressOverAGapOrACornerSelectsNothing) {
  TDVTableItemInfo& t = Place(2, 2);
  t.Options &= ~(dvtoColSizing | dvtoRowSizing);
  const int32_t gapX = t.Fmt.ColStarts[1] - 1, gapY = t.Fmt.RowStarts[1] - 1;
  for (QPoint p : {At(gapX, 1), At(1, gapY), At(1, 1)}) {
    Drag(p, p);
    EXPECT_EQ(Sel(t), "-1,-1+0,0") << p.x() << "," << p.y();
  }
}

TEST_F(TableMouseTest, CursorsOverRulesAndBorderZones) {
  TDVTableItemInfo& t = Place(2, 2);
  const int32_t x = RuleX(t, 1), inCol = t.Fmt.ColStarts[0] + 5, inRow = t.Fmt.RowStarts[0] + 5;
  struct Case {
    QPoint p;
    TCursor cursor;
  } cases[] = {{At(x, inRow), crHSplit}, {At(1, inRow), crDVSelectRow}, {At(inCol, 1), crDVSelectCol}};
  for (const Case& c : cases) {
    QTest::mouseMove(W(), c.p);
    EXPECT_EQ(editor->Cursor(), c.cursor) << c.p.x() << "," << c.p.y();
  }
}

}  // namespace
}  // namespace quillet::test
