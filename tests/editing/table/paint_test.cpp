// Table painting on a recording canvas: grid lines for invisible borders in
// an editor, borders of visible sides, cell fills and selection, clipping
// to the visible rows, and the empty table.
#include <gtest/gtest.h>

#include <algorithm>

#include "editing/table/table_test_util.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet::test {
namespace {

class TablePaintTest : public TableEditTest {
 protected:
  void Paint(const TDVTableItemInfo& t, TDVItemDrawStates state = 0, TRect clip = Rect(0, 0, 2000, 2000)) {
    canvas = TRecordingCanvas();
    t.PaintTo(0, 0, canvas, state, &sheet, clip, (state & dvidsPrinting) != 0);
  }
  int GridRectangles() const {
    const auto rects = canvas.OfKind(TCanvasOp::Rectangle);
    return static_cast<int>(std::count_if(rects.begin(), rects.end(), [](const TCanvasRecord& r) {
      return r.Pen.Style == DocViewTableGridStyle && r.Pen.Color == clBtnFace;
    }));
  }
  std::vector<TCanvasRecord> Fills(TColor color) const {
    std::vector<TCanvasRecord> out;
    for (const TCanvasRecord& r : canvas.OfKind(TCanvasOp::FillRect))
      if (r.Brush.Color == color) out.push_back(r);
    return out;
  }
  static TRect CellRect(const TDVTableCellData& c) {
    return Rect(c.Left, c.Top, c.Left + c.Width, c.Top + c.Height);
  }

  TRecordingCanvas canvas;
};

TEST_F(TablePaintTest, GridLinesOnlyInAnEditorOnScreen) {
  struct Case {
    const char* name;
    bool editor;
    TDVItemDrawStates state;
    TDVTableOptions extraOptions;
    TPenStyle gridStyle;
    int expected;  // dotted outlines: the table and its 4 cells
  };
  const Case cases[] = {
      {"editor", true, 0, 0, psDot, 5},
      {"viewer", false, 0, 0, psDot, 0},
      {"printing", true, dvidsPrinting, 0, psDot, 0},
      {"hidden grid lines", true, 0, dvtoHideGridLines, psDot, 0},
      {"grid style psClear", true, 0, 0, psClear, 0},
  };
  for (const Case& k : cases) {
    TScopedValue<TPenStyle> style(DocViewTableGridStyle, k.gridStyle);
    auto table = MakeTable(2, 2);
    table->Options |= k.extraOptions;
    TDVTableItemInfo& t = k.editor ? PlaceInEditor(std::move(table)) : PlaceInViewer(std::move(table));
    Paint(t, k.state);
    EXPECT_EQ(GridRectangles(), k.expected) << k.name;
  }
}

TEST_F(TablePaintTest, HiddenLeftSideOfAColourBorder) {
  auto table = MakeTable(1, 1);
  table->CellBorderWidth = 1;
  table->CellBorderStyle = dvtbColor;
  table->CellBorderColor = clRed;
  table->GetCells(0, 0)->VisibleBorders.SetValues(false, true, true, true);
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  Paint(t);
  const TRect r = CellRect(*t.GetCells(0, 0));
  std::vector<std::string> red, dotted;
  for (const TCanvasRecord& rec : canvas.OfKind(TCanvasOp::Line)) {
    if (rec.Pen.Color == clRed) red.push_back(rec.ToString());
    if (rec.Pen.Style == psDot) dotted.push_back(rec.ToString());
  }
  const auto line = [](int x1, int y1, int x2, int y2) {
    return "Line " + std::to_string(x1) + "," + std::to_string(y1) + "-" + std::to_string(x2) + "," +
           std::to_string(y2);
  };
  EXPECT_EQ(red, (std::vector<std::string>{line(r.Left, r.Top, r.Right, r.Top),
                                           line(r.Right - 1, r.Top, r.Right - 1, r.Bottom),
                                           line(r.Left, r.Bottom - 1, r.Right, r.Bottom - 1)}));
  EXPECT_EQ(dotted, (std::vector<std::string>{line(r.Left, r.Top, r.Left, r.Bottom)}));
  Paint(t, dvidsPrinting);
  EXPECT_EQ(canvas.OfKind(TCanvasOp::Line).size(), 3u);
}

// Two pixels wide with the left side hidden: the inner line of each side
// stops short of the corners, unless the corners overlap.
TEST_F(TablePaintTest, OverlappingCornersRunEverySideWhole) {
  const auto line = [](int x1, int y1, int x2, int y2) {
    return "Line " + std::to_string(x1) + "," + std::to_string(y1) + "-" + std::to_string(x2) + "," +
           std::to_string(y2);
  };
  for (bool overlap : {false, true}) {
    SCOPED_TRACE(overlap ? "overlapping" : "meeting");
    auto table = MakeTable(1, 1);
    table->CellBorderWidth = 2;
    table->CellBorderStyle = dvtbColor;
    table->CellBorderColor = clRed;
    if (overlap) table->Options |= dvtoOverlappingCorners;
    table->GetCells(0, 0)->VisibleBorders.SetValues(false, true, true, true);
    TDVTableItemInfo& t = PlaceInEditor(std::move(table));
    Paint(t);
    const TRect r = CellRect(*t.GetCells(0, 0));
    std::vector<std::string> red;
    for (const TCanvasRecord& rec : canvas.OfKind(TCanvasOp::Line))
      if (rec.Pen.Color == clRed) red.push_back(rec.ToString());
    const int in = overlap ? 0 : 1;
    EXPECT_EQ(red, (std::vector<std::string>{
                       line(r.Left, r.Top, r.Right, r.Top), line(r.Right - 1, r.Top, r.Right - 1, r.Bottom),
                       line(r.Left, r.Bottom - 1, r.Right, r.Bottom - 1),
                       line(r.Left + in, r.Top + 1, r.Right - in, r.Top + 1),
                       line(r.Right - 2, r.Top + in, r.Right - 2, r.Bottom - in),
                       line(r.Left + in, r.Bottom - 2, r.Right - in, r.Bottom - 2)}));
  }
}

TEST_F(TablePaintTest, AllSidesVisibleIsOneOutline) {
  auto table = MakeTable(1, 1);
  table->CellBorderWidth = 2;
  table->CellBorderStyle = dvtbColor;
  table->CellBorderColor = clRed;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  Paint(t);
  std::vector<TCanvasRecord> outlines;
  for (const TCanvasRecord& r : canvas.OfKind(TCanvasOp::Rectangle))
    if (r.Pen.Color == clRed) outlines.push_back(r);
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].Rect, CellRect(*t.GetCells(0, 0)));
  EXPECT_EQ(outlines[0].Pen.Width, 2);
}

TEST_F(TablePaintTest, HalftoneBordersOnPaperAreOneWideLinePerSide) {
  struct Case {
    TDVTableBorderStyle style;
    TDVTablePrintOptions printOptions;
    TDVItemDrawStates state;
    size_t lines;  // lines drawn for the cell's border
    int32_t penWidth;
  };
  const Case cases[] = {
      {dvtbLowered, dvtoHalftoneBorders, dvidsPrinting, 4, 3},
      {dvtbColor, dvtoHalftoneBorders, dvidsPrinting, 4, 3},
      {dvtbLowered, 0, dvidsPrinting, 12, 1},
      {dvtbLowered, dvtoHalftoneBorders, 0, 12, 1},  // on screen
  };
  for (const Case& k : cases) {
    auto table = MakeTable(1, 1);
    table->CellBorderWidth = 3;
    table->CellBorderStyle = k.style;
    table->CellBorderColor = clRed;
    table->PrintOptions = k.printOptions;
    TDVTableItemInfo& t = PlaceInEditor(std::move(table));
    Paint(t, k.state);
    const auto lines = canvas.OfKind(TCanvasOp::Line);
    ASSERT_EQ(lines.size(), k.lines) << k.style;
    EXPECT_EQ(lines[0].Pen.Width, k.penWidth) << k.style;
  }
}

TEST_F(TablePaintTest, SelectedCellIsFilledWithTheSelectionColour) {
  sheet.SelColor = 0x00ABCDEF;
  sheet.InactiveSelColor = 0x00FEDCBA;
  auto table = MakeTable(1, 2);
  table->GetCells(0, 0)->Color = clLime;
  table->GetCells(0, 1)->Color = clAqua;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  t.SelStartRow = 0;
  t.SelStartCol = 0;
  Paint(t, dvidsControlFocused);
  ASSERT_EQ(Fills(0x00ABCDEF).size(), 1u);
  EXPECT_EQ(Fills(0x00ABCDEF)[0].Rect, CellRect(*t.GetCells(0, 0)));
  EXPECT_EQ(Fills(clAqua).size(), 1u);
  EXPECT_TRUE(Fills(clLime).empty());
  Paint(t);  // not focused
  EXPECT_EQ(Fills(0x00FEDCBA).size(), 1u);
  Paint(t, dvidsPrinting);
  EXPECT_EQ(Fills(clLime).size(), 1u);
  EXPECT_TRUE(Fills(0x00FEDCBA).empty());
  Paint(t, dvidsSelected | dvidsControlFocused);  // in a document selection: every cell
  EXPECT_EQ(Fills(0x00ABCDEF).size(), 2u);
}

TEST_F(TablePaintTest, MiddleRowClipPaintsThoseRowsAndACellFromAbove) {
  auto table = MakeTable(4, 2);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c) table->GetCells(r, c)->Color = static_cast<TColor>(0x100 + r * 16 + c);
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 3, 1, true, false));
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  const TDVTableCellData& row2 = *t.GetCells(2, 1);
  Paint(t, 0, Rect(0, row2.Top, 1000, row2.Top + row2.Height));
  std::vector<TColor> painted;
  for (const TCanvasRecord& r : canvas.OfKind(TCanvasOp::FillRect))
    if (r.Brush.Color >= 0x100 && r.Brush.Color < 0x200) painted.push_back(r.Brush.Color);
  EXPECT_EQ(painted, (std::vector<TColor>{0x100, 0x121}));
}

TEST_F(TablePaintTest, EmptyTablePaintsBackgroundAndBorder) {
  auto table = MakeTable(0, 0);
  table->BorderWidth = 1;
  table->BorderStyle = dvtbColor;
  table->BorderColor = clRed;
  table->Color = clYellow;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  Paint(t);
  ASSERT_EQ(Fills(clYellow).size(), 1u);
  EXPECT_EQ(Fills(clYellow)[0].Rect, Rect(0, 0, 6, 6));
  const auto rects = canvas.OfKind(TCanvasOp::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Rect, Rect(0, 0, 6, 6));
}

TEST_F(TablePaintTest, BorderEventCanTakeOverTheDrawing) {
  auto table = MakeTable(1, 2);
  int calls = 0;
  table->OnDrawBorder = [&](TDVTableItemInfo&, TCanvas&, int32_t, int32_t, int32_t, int32_t, int32_t, TColor, TColor,
                            TColor, TDVTableBorderStyle, bool, const TDVBooleanRect&, int, int, bool& doDefault) {
    ++calls;
    doDefault = false;
  };
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  Paint(t);
  EXPECT_EQ(calls, 3);  // the table and two cells
  EXPECT_EQ(GridRectangles(), 0);
}

TEST_F(TablePaintTest, RulesBetweenColumnsAndRows) {
  auto table = MakeTable(2, 3);
  table->VRuleWidth = 1;
  table->VRuleColor = clRed;
  table->HRuleWidth = 1;
  table->HRuleColor = clBlue;
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  Paint(t);
  int v = 0, h = 0;
  for (const TCanvasRecord& r : canvas.OfKind(TCanvasOp::Line)) {
    v += r.Pen.Color == clRed;
    h += r.Pen.Color == clBlue;
  }
  EXPECT_EQ(v, 2);
  EXPECT_EQ(h, 1);
}

TEST_F(TablePaintTest, DocumentPaintsTheTableAndItsCellsContent) {
  auto table = MakeTable(1, 2);
  AddCellText(*table->GetCells(0, 1), "cell");
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  Data().PaintTo(canvas, Rect(0, 0, 400, 300));
  EXPECT_EQ(GridRectangles(), 3);
  int32_t left = 0, top = 0;
  ASSERT_TRUE(Data().GetItemCoords(0, left, top));
  const TDVTableCellData& cell = *t.GetCells(0, 1);
  std::vector<TCanvasRecord> texts;
  for (const TCanvasRecord& r : canvas.Log())
    if (r.Text == "cell") texts.push_back(r);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_GE(texts[0].Rect.Left, left + cell.Left + 1);
  EXPECT_GE(texts[0].Rect.Top, top + cell.Top + 1);
  EXPECT_LE(texts[0].Rect.Bottom, top + cell.Top + cell.Height);
}

}  // namespace
}  // namespace quillet::test
