// The grid of an RTF table: rows with differing boundaries, merges, and rows
// that give too few, too many or hostile boundaries. Tables are drawn as text,
// one token per grid position:
//   a0+b0  the cell starting here, with the working cells it receives
//          (row letter, index in the row); "." when it receives none
//   <      covered by the cell on the left      ^  covered by the cell above
//   -      a hidden cell that only fills the grid
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "editing/table/table_types.h"
#include "interchange/rtf/rtf_table_grid.h"

namespace quillet {
namespace {

// "@left" sets the row's left edge; each further token is a right boundary,
// suffixed "h" (first of a horizontal merge), "<" (merged into the left),
// "v" (first of a vertical merge) or "^" (merged into the cell above).
TDVRTFRowProperties Row(const std::string& spec) {
  TDVRTFRowProperties row;
  row.CellProps.clear();
  std::istringstream in(spec);
  std::string token;
  while (in >> token) {
    if (token[0] == '@') {
      row.LeftTw = std::stoi(token.substr(1));
      continue;
    }
    TDVRTFCellProperties& cell = row.CellProps.emplace_back();
    cell.RightBoundaryTw = std::stoi(token);
    switch (token.back()) {
      case 'h': cell.HMerge = rtf_cm_First; break;
      case '<': cell.HMerge = rtf_cm_Merged; break;
      case 'v': cell.VMerge = rtf_cm_First; break;
      case '^': cell.VMerge = rtf_cm_Merged; break;
      default: break;
    }
  }
  return row;
}

std::string Draw(const TDVRTFTableGrid& grid) {
  std::string out;
  for (int r = 0; r < grid.RowCount(); ++r) {
    if (r > 0) out += " | ";
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (c > 0) out += ' ';
      const TDVRTFGridCell& cell = grid.CellAt(r, c);
      if (cell.Hidden) {
        out += '-';
      } else if (cell.Row != r) {
        out += '^';
      } else if (cell.Col != c) {
        out += '<';
      } else if (cell.WorkingCells.empty()) {
        out += '.';
      } else {
        for (size_t i = 0; i < cell.WorkingCells.size(); ++i) {
          if (i > 0) out += '+';
          out += static_cast<char>('a' + cell.WorkingCells[i].first);
          out += std::to_string(cell.WorkingCells[i].second);
        }
      }
    }
  }
  return out;
}

// Every cell owns exactly its rectangle, the lines stay apart by more than
// the tolerance, and every working cell lands in exactly one visible cell.
void ExpectSound(const TDVRTFTableGrid& grid, const std::vector<int>& workingPerRow) {
  const std::vector<int64_t>& lines = grid.Lines();
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_GT(lines[i] - lines[i - 1], DV_TableGridEps) << i;
  int covered = 0;
  std::set<std::pair<int, int>> seen;
  for (const TDVRTFGridCell& cell : grid.Cells()) {
    ASSERT_GE(cell.RowSpan, 1);
    ASSERT_GE(cell.ColSpan, 1);
    ASSERT_LE(cell.Row + cell.RowSpan, grid.RowCount());
    ASSERT_LE(cell.Col + cell.ColSpan, grid.ColCount());
    for (int r = cell.Row; r < cell.Row + cell.RowSpan; ++r) {
      for (int c = cell.Col; c < cell.Col + cell.ColSpan; ++c) EXPECT_EQ(&grid.CellAt(r, c), &cell) << r << ',' << c;
    }
    covered += cell.RowSpan * cell.ColSpan;
    if (cell.Hidden) {
      EXPECT_TRUE(cell.WorkingCells.empty());
    }
    for (const auto& ref : cell.WorkingCells) EXPECT_TRUE(seen.insert(ref).second) << ref.first << ':' << ref.second;
  }
  EXPECT_EQ(covered, grid.RowCount() * grid.ColCount());
  size_t working = 0;
  for (int count : workingPerRow) working += count;
  EXPECT_EQ(seen.size(), working);
}

struct GridCase {
  const char* name;
  std::vector<std::pair<const char*, int>> rows;  // row spec, working cells
  std::vector<int64_t> lines;
  const char* drawn;
};

TEST(RTFTableGridTest, RowsOntoOneGrid) {
  const GridCase cases[] = {
      {"plain 2x2", {{"1000 2000", 2}, {"1000 2000", 2}}, {0, 1000, 2000}, "a0 a1 | b0 b1"},
      {"later row splits a column", {{"1000 2000", 2}, {"1000 1500 2000", 3}}, {0, 1000, 1500, 2000},
       "a0 a1 < | b0 b1 b2"},
      {"wider cell over a split grid", {{"451 1683", 2}, {"451 887 1683", 3}}, {0, 451, 887, 1683},
       "a0 a1 < | b0 b1 b2"},
      {"split grid under a wider cell", {{"451 887 1683", 3}, {"451 1683", 2}}, {0, 451, 887, 1683},
       "a0 a1 a2 | b0 b1 <"},
      {"1 twip apart is one line", {{"1000 2000", 2}, {"1001 2000", 2}}, {0, 1000, 2000}, "a0 a1 | b0 b1"},
      {"1 twip left is one line", {{"1001 2000", 2}, {"1000 2000", 2}}, {0, 1001, 2000}, "a0 a1 | b0 b1"},
      {"2 twips apart are two lines", {{"1000 2000", 2}, {"1002 2000", 2}}, {0, 1000, 1002, 2000},
       "a0 a1 < | b0 < b1"},
      {"vertical merge", {{"1000v 2000", 2}, {"1000^ 2000", 2}}, {0, 1000, 2000}, "a0+b0 a1 | ^ b1"},
      {"horizontal merge in the first row", {{"1000h 2000<", 2}, {"1000 2000", 2}}, {0, 1000, 2000},
       "a0+a1 < | b0 b1"},
      {"merge first reaches no further than the next line", {{"1000 2000 3000", 3}, {"1500h 3000<", 2}},
       {0, 1000, 2000, 3000}, "a0 a1 a2 | b0+b1 < <"},
      {"merge first ending on its neighbour's boundary", {{"1000 3000", 2}, {"1500h 2000<", 2}},
       {0, 1000, 2000, 3000}, "a0 a1 < | b0+b1 < -"},
      {"merge on the first cell merges nothing", {{"1000< 2000", 2}}, {0, 1000, 2000}, "a0 a1"},
      {"vertical merge on the first row merges nothing", {{"1000^ 2000", 2}}, {0, 1000, 2000}, "a0 a1"},
      {"more cellx than cell", {{"1000 2000 3000", 1}}, {0, 1000, 2000, 3000}, "a0 . ."},
      {"more cell than cellx", {{"1000", 3}}, {0, 1000}, "a0+a1+a2"},
      {"shorter row", {{"1000 2000", 2}, {"1000", 1}}, {0, 1000, 2000}, "a0 a1 | b0 -"},
      {"longer row", {{"1000", 1}, {"1000 2000", 2}, {"1000 2000", 2}}, {0, 1000, 2000}, "a0 - | b0 b1 | c0 c1"},
      {"left edge left of the grid", {{"1000 2000", 2}, {"@-500 1000 2000", 2}}, {-500, 0, 1000, 2000},
       "- a0 a1 | b0 < b1"},
      {"left edge inside the grid", {{"1000 2000", 2}, {"@500 1000 2000", 2}}, {0, 500, 1000, 2000},
       "a0 < a1 | - b0 b1"},
      {"left edge on a line", {{"1000 2000", 2}, {"@1000 2000", 1}}, {0, 1000, 2000}, "a0 a1 | - b0"},
      {"left edge beyond the grid", {{"1000 2000", 2}, {"@3000 4000", 1}}, {0, 1000, 2000, 3000, 4000},
       "a0 a1 - - | - - - b0"},
      {"boundary not right of the last moves past it", {{"1000 900", 2}}, {0, 1000, 1002}, "a0 a1"},
      {"boundary left of the row's edge", {{"@500 100 200", 2}}, {500, 502, 504}, "a0 a1"},
      {"wide cell under a merged narrower one", {{"1000v 2000", 2}, {"2000^", 1}}, {0, 1000, 2000},
       "a0+b0 a1 | ^ ."},
      {"narrow cell under a merged wider one", {{"2000v", 1}, {"1000^ 2000", 2}}, {0, 1000, 2000, 2002},
       "a0+b0 < - | ^ ^ b1"},
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(c.name);
    TDVRTFTableGrid grid;
    std::vector<int> working;
    for (const auto& [spec, count] : c.rows) {
      ASSERT_EQ(grid.AddRow(Row(spec), count), rtf_gr_Added);
      working.push_back(count);
    }
    EXPECT_EQ(grid.Lines(), c.lines);
    EXPECT_EQ(Draw(grid), c.drawn);
    ExpectSound(grid, working);
  }
}

TEST(RTFTableGridTest, RowWithoutCellxPlacesNothing) {
  TDVRTFTableGrid grid;
  EXPECT_EQ(grid.AddRow(Row(""), 2), rtf_gr_NoCells);
  EXPECT_EQ(grid.RowCount(), 0);
  ASSERT_EQ(grid.AddRow(Row("1000"), 1), rtf_gr_Added);
  EXPECT_EQ(grid.AddRow(Row("@200"), 1), rtf_gr_NoCells);
  EXPECT_EQ(Draw(grid), "a0");
}

TEST(RTFTableGridTest, ExtremeBoundariesKeepTheGridSound) {
  TDVRTFTableGrid grid;
  const std::vector<std::string> rows = {"@2147483647 -2147483648 2147483647", "@-2147483648 0 2147483647 5",
                                         "-7^ -7< 2147483647h 1<"};
  std::vector<int> working;
  for (const std::string& spec : rows) {
    ASSERT_EQ(grid.AddRow(Row(spec), 3), rtf_gr_Added);
    working.push_back(3);
  }
  ExpectSound(grid, working);
}

// Columns past the limit fold into the row's last cell; a row past the row
// limit is refused so that the caller starts a new table.
TEST(RTFTableGridTest, CountsStayWithinTheTableLimits) {
  TDVRTFTableGrid wide;
  std::vector<int> working;
  for (int r = 0; r < 5; ++r) {
    std::string spec;
    for (int i = 1; i <= TDVRTFRowProperties::kMaxCells; ++i) spec += std::to_string((i * 5 + r) * 10) + ' ';
    ASSERT_EQ(wide.AddRow(Row(spec), TDVRTFRowProperties::kMaxCells), rtf_gr_Added);
    working.push_back(TDVRTFRowProperties::kMaxCells);
  }
  EXPECT_EQ(wide.ColCount(), DVTableMaxCols);
  ExpectSound(wide, working);

  TDVRTFTableGrid tall;
  const TDVRTFRowProperties row = Row("1000");
  for (int r = 0; r < DVTableMaxRows; ++r) ASSERT_EQ(tall.AddRow(row, 1), rtf_gr_Added);
  EXPECT_EQ(tall.AddRow(row, 1), rtf_gr_TableFull);
  EXPECT_EQ(tall.RowCount(), DVTableMaxRows);
}

}  // namespace
}  // namespace quillet
