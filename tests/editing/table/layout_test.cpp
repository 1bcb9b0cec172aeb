// Table layout: the width pass over free, pixel and percent columns and
// merged cells, row heights with row spans, and layout again after change.
#include <gtest/gtest.h>

#include <numeric>

#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TableLayoutTest : public TableEditTest {
 protected:
  TCanvas& Canvas() { return *Data().GetCanvas(); }
  // Lays the table out afresh at docWidth.
  void LayOut(TDVTableItemInfo& t, int32_t docWidth) {
    t.Fmt.Width = 0;
    t.InternalOnDocWidthChange(docWidth, t.Fmt, Canvas());
  }
  std::vector<int32_t> Cols(const TDVTableItemInfo& t) const { return t.Fmt.ColWidths; }
};

TEST_F(TableLayoutTest, SingleEmptyCellTakesTheWholeWidth) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 1));
  LayOut(t, 600);
  EXPECT_EQ(t.GetHorzExtra(), 4);
  EXPECT_EQ(t.GetWidth(), 600);
  EXPECT_EQ(t.GetCells(0, 0)->Width, 600 - 4);
  EXPECT_EQ(t.GetCells(0, 0)->Left, 2);
}

TEST_F(TableLayoutTest, WidthPassExamples) {
  struct Case {
    const char* name;
    int cols;
    std::vector<int32_t> cellWidths;  // BestWidth of row 0's cells
    int32_t docWidth;
    std::vector<int32_t> expected;
  };
  // Three empty columns: extra (3-1)*2 + 2*2 = 8 and paddings 6 around 100.
  const Case cases[] = {
      {"three free columns share 100", 3, {0, 0, 0}, 114, {33, 33, 34}},
      // inner 394: half less the padding, the rest to the free column.
      {"a 50 % column", 2, {-50, 0}, 400, {195, 195}},
      {"two 60 % columns scaled down in proportion", 2, {-60, -60}, 400, {195, 195}},
      {"a pixel column and a free one", 2, {100, 0}, 400, {100, 290}},
      {"every column set, all percent: the rest shared by percent", 2, {-20, -30}, 400, {154, 236}},
  };
  for (const Case& k : cases) {
    auto table = MakeTable(1, k.cols);
    for (int c = 0; c < k.cols; ++c) table->GetCells(0, c)->BestWidth = k.cellWidths[static_cast<size_t>(c)];
    TDVTableItemInfo& t = PlaceInEditor(std::move(table));
    LayOut(t, k.docWidth);
    EXPECT_EQ(Cols(t), k.expected) << k.name;
    EXPECT_EQ(t.GetWidth(), k.docWidth) << k.name;
  }
}

TEST_F(TableLayoutTest, NegativePercentDemandsDoNotStarveLaterColumns) {
  auto table = MakeTable(1, 3);
  table->CellPadding = 3;
  table->GetCells(0, 0)->BestWidth = -1;  // 1 % is less than its padding
  table->GetCells(0, 1)->BestWidth = -60;
  table->GetCells(0, 2)->BestWidth = -60;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  LayOut(t, 500);
  const std::vector<int32_t> w = Cols(t);
  EXPECT_NEAR(w[1], w[2], 1);
  EXPECT_GT(w[2], 0);
}

TEST_F(TableLayoutTest, ColumnsAtTheirMinimumWhenTheDocumentIsTooNarrow) {
  auto table = MakeTable(1, 2);
  AddCellText(*table->GetCells(0, 0), "Supercalifragilistic");
  AddCellText(*table->GetCells(0, 1), "Antidisestablishment");
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  int32_t min0 = t.GetCells(0, 0)->GetMinWidth(nullptr, Canvas());
  int32_t min1 = t.GetCells(0, 1)->GetMinWidth(nullptr, Canvas());
  LayOut(t, 30);  // 20 pixels for the columns
  EXPECT_EQ(Cols(t), (std::vector<int32_t>{min0, min1}));
  EXPECT_EQ(t.GetWidth(), t.GetHorzExtra() + 4 + min0 + min1);
  EXPECT_GT(t.GetWidth(), 30);
  EXPECT_EQ(t.GetMinWidth(nullptr, &Canvas(), &Data()), t.GetWidth());
}

TEST_F(TableLayoutTest, AllPixelColumnsMakeAnAutoSizedTable) {
  auto table = MakeTable(2, 2);
  table->GetCells(0, 0)->BestWidth = 100;
  table->GetCells(1, 1)->BestWidth = 50;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  EXPECT_TRUE(t.IsFixedWidthTable());
  for (int32_t docWidth : {400, 1000}) {
    LayOut(t, docWidth);
    EXPECT_EQ(Cols(t), (std::vector<int32_t>{100, 50})) << docWidth;
    EXPECT_EQ(t.GetWidth(), 6 + 4 + 150) << docWidth;
  }
  t.GetCells(1, 0)->BestWidth = -10;
  EXPECT_FALSE(t.IsFixedWidthTable());
}

TEST_F(TableLayoutTest, MergedCellOverEmptyColumnsWithoutPadding) {
  auto table = MakeTable(2, 2);
  table->CellPadding = 0;
  AddCellText(*table->GetCells(0, 0), "Supercalifragilistic");
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 1, 2, true, false));
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  const int32_t need = t.GetCells(0, 0)->GetMinWidth(nullptr, Canvas());
  LayOut(t, 10);
  const std::vector<int32_t> w = Cols(t);
  EXPECT_GE(w[0], 0);
  EXPECT_GE(w[1], 0);
  EXPECT_NEAR(w[0], w[1], 1);
  EXPECT_GE(t.GetCells(0, 0)->Width, need);
}

TEST_F(TableLayoutTest, RowSpanTallerThanItsRowsGrowsThemInProportion) {
  auto table = MakeTable(2, 2);
  table->GetCells(0, 1)->BestHeight = 10;
  table->GetCells(1, 1)->BestHeight = 30;
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 2, 1, true, false));
  table->GetCells(0, 0)->BestHeight = 100;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  LayOut(t, 300);
  EXPECT_EQ(t.Fmt.RowHeights, (std::vector<int32_t>{24, 72}));
  EXPECT_EQ(t.GetCells(0, 0)->Height, 102);
  EXPECT_EQ(t.GetCells(1, 1)->Top, t.GetCells(0, 1)->Top + 24 + 2 + 2);
  // 2 * (1 * 2 + 0 + 2) + 2 + 96
  EXPECT_EQ(t.GetHeight(), 8 + 2 + 96);
}

TEST_F(TableLayoutTest, EmptyTableIsItsBorder) {
  auto table = MakeTable(0, 0);
  table->BorderWidth = 1;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  EXPECT_EQ(t.GetWidth(), 6);
  EXPECT_EQ(t.GetHeight(), 6);
  EXPECT_EQ(t.GetMinWidth(nullptr, &Canvas(), &Data()), 6);
}

TEST_F(TableLayoutTest, EmptyCellWithNegativeIndentHasNoNegativeMinimum) {
  sheet.ParaStyles()[kIndentPara].FirstIndent = -40;
  auto table = MakeTable(1, 1);
  table->GetCells(0, 0)->AddNL("", kGbk, kIndentPara);
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  EXPECT_EQ(t.GetCells(0, 0)->GetMinWidth(nullptr, Canvas()), 0);
  sheet.ParaStyles()[kIndentPara].FirstIndent = 10;
  EXPECT_EQ(t.GetCells(0, 0)->GetMinWidth(nullptr, Canvas()), 22);
}

TEST_F(TableLayoutTest, RowsFollowTheirCellsContentAtAnUnchangedWidth) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(2, 1));
  const int32_t height = t.GetHeight();
  TDVTableCellData& cell = *t.GetCells(0, 0);
  for (int i = 0; i < 3; ++i) AddCellText(cell, "line");
  Data().Format();
  const int32_t grown = t.GetHeight();
  EXPECT_GT(grown, height);
  EXPECT_EQ(t.Fmt.RowHeights[0], cell.DocumentHeight);
  cell.DeleteItems(1, 2);
  Data().Format();
  EXPECT_LT(t.GetHeight(), grown);
  EXPECT_GT(t.GetHeight(), height);
}

TEST_F(TableLayoutTest, UnchangedTableAtTheSameWidthIsNotComputedAgain) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 2));
  const std::vector<int32_t> cols = Cols(t);
  t.Fmt.ColWidths = {1, 2};  // a recomputation would overwrite these
  t.InternalOnDocWidthChange(t.GetWidth(), t.Fmt, Canvas());
  EXPECT_EQ(Cols(t), (std::vector<int32_t>{1, 2}));
  t.MarkChanged();
  int32_t shift = 0;
  t.OnDocWidthChange(t.GetWidth(), nullptr, false, Canvas(), &Data(), nullptr, shift);
  EXPECT_EQ(Cols(t), cols);
  EXPECT_FALSE(t.Changed());
}

TEST_F(TableLayoutTest, ScreenLayoutComesBackAfterAPrintingOne) {
  TDVTableItemInfo& t = PlaceInEditor(MakeTable(1, 2));
  const int32_t width = t.GetWidth();
  TDVScreenAndDevice sad;
  sad.ppixDevice = sad.ppiyDevice = 600;
  int32_t shift = 0;
  t.OnDocWidthChange(width, nullptr, true, Canvas(), &Data(), &sad, shift);
  EXPECT_EQ(t.GetDevX(10), 10);  // the scale is the screen's again
  t.OnDocWidthChange(width, nullptr, false, Canvas(), &Data(), nullptr, shift);
  EXPECT_EQ(t.GetWidth(), width);
  EXPECT_EQ(t.GetCells(0, 0)->Height, 10 + 2);
}

TEST_F(TableLayoutTest, ProportionalWidthsAt96And600Dpi) {
  auto table = MakeTable(1, 3);
  table->GetCells(0, 0)->BestWidth = -25;
  table->GetCells(0, 1)->BestWidth = 80;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  LayOut(t, 480);
  const std::vector<int32_t> screen = Cols(t);
  TDVScreenAndDevice sad;
  sad.ppixDevice = sad.ppiyDevice = 600;
  t.SetDeviceScale(&sad);
  EXPECT_EQ(t.GetDevX(96), 600);
  EXPECT_EQ(t.GetDevY(2), 13);  // 12.5 rounds away from zero
  LayOut(t, 3000);
  t.SetDeviceScale(nullptr);
  const std::vector<int32_t> device = Cols(t);
  EXPECT_EQ(t.GetWidth(), 3000);
  ASSERT_EQ(device.size(), 3u);
  for (size_t c = 0; c < 3; ++c) EXPECT_NEAR(device[c], screen[c] * 600 / 96, 8) << c;
  EXPECT_EQ(device[1], 500);
}

}  // namespace
}  // namespace quillet::test
