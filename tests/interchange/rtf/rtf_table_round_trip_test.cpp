// Random tables written by our RTF writer and read back: sizes, spans,
// nesting, widths, borders and colours come back as they were.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editing/table/table_rows.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "interchange/rtf/rtf_table_text.h"
#include "platform/core/stream.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

class Doc : public TCustomDVData {
 public:
  Doc() { SetDVStyle(&style); }
  TDVStyle style;
};

std::unique_ptr<TDVTableItemInfo> RandomTable(std::mt19937& random, TCustomDVData& parent, int depth, int& word) {
  const int rows = 1 + random() % 4, cols = 1 + random() % 4;
  auto table = std::make_unique<TDVTableItemInfo>(rows, cols, &parent);
  table->Rows.DVData = &parent;
  table->Color = clNone;
  const int32_t widths[] = {0, 300 + int32_t(random() % 200), -(20 + int32_t(random() % 80))};
  table->BestWidth = widths[random() % 3];
  table->BorderWidth = random() % 3;
  table->CellBorderWidth = random() % 3;
  table->CellPadding = random() % 4;
  table->CellHSpacing = random() % 4;
  table->CellVSpacing = random() % 4;
  table->BorderVSpacing = random() % 4;
  table->BorderColor = random() & 0xFFFFFF;
  table->CellBorderColor = random() & 0xFFFFFF;
  table->BorderStyle = table->CellBorderStyle = dvtbColor;
  for (int i = random() % 3; i > 0; --i)
    table->Rows.MergeCellsPlain(random() % rows, random() % cols, 1 + random() % 2, 1 + random() % 2, true, false);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      TDVTableCellData* cell = table->GetCells(r, c);
      if (!cell) continue;
      cell->Color = random() % 3 == 0 ? clNone : TColor(random() & 0xFFFFFF);
      const int32_t cellWidths[] = {0, 20 + int32_t(random() % 100), -(10 + int32_t(random() % 40))};
      cell->BestWidth = cellWidths[random() % 3];
      cell->BestHeight = random() % 2 ? 0 : 10 + random() % 30;
      cell->VAlign = static_cast<TDVCellVAlign>(random() % 3);
      cell->VisibleBorders.Left = random() % 2;
      cell->VisibleBorders.Top = random() % 2;
      cell->VisibleBorders.Right = random() % 2;
      cell->VisibleBorders.Bottom = random() % 2;
      cell->AddNL("w" + std::to_string(word++), 0, 0);
      if (depth < 2 && random() % 4 == 0) cell->AddItem("", RandomTable(random, *cell, depth + 1, word));
    }
  TRecordingCanvas canvas;
  int32_t shift = 0;
  table->OnDocWidthChange(600, nullptr, false, canvas, &parent, nullptr, shift);
  return table;
}

// The table's grid, spans, text and compared attributes, nested tables
// included; a cell without a colour shows the colour of the cell around
// its table.
std::string Summary(const TDVTableItemInfo& t, TColor around) {
  std::string out = "table " + std::to_string(t.Rows.Count()) + "x" + std::to_string(t.Rows.GetColCount()) +
                    " w" + std::to_string(t.BestWidth) + " pad" + std::to_string(t.CellPadding) + " hs" +
                    std::to_string(t.CellHSpacing) + " bvs" + std::to_string(t.BorderVSpacing) + " bw" +
                    std::to_string(t.BorderWidth) + " cbw" + std::to_string(t.CellBorderWidth) + " bc" +
                    std::to_string(t.BorderWidth > 0 ? t.BorderColor : 0) + "\n";
  if (t.Rows.Count() > 1) out += " vs" + std::to_string(t.CellVSpacing) + "\n";
  for (int r = 0; r < t.Rows.Count(); ++r)
    for (int c = 0; c < t.Rows.GetColCount(); ++c) {
      const TDVTableCellData* cell = t.GetCells(r, c);
      out += " (" + std::to_string(r) + "," + std::to_string(c) + ") ";
      if (!cell) {
        int mr, mc;
        t.Rows.GetMainCell(r, c, mr, mc);
        out += "covered by " + std::to_string(mr) + "," + std::to_string(mc) + "\n";
        continue;
      }
      const TColor color = cell->Color != clNone ? cell->Color : around;
      out += std::to_string(cell->RowSpan) + "x" + std::to_string(cell->ColSpan) + " w" +
             std::to_string(cell->BestWidth) + " h" + std::to_string(cell->BestHeight) + " v" +
             std::to_string(cell->VAlign) + " c" + std::to_string(color);
      if (t.CellBorderWidth > 0) {
        // The colour of the left or top side, when one is drawn.
        const int32_t sides = DVBordersToMask(cell->VisibleBorders);
        out += " b" + std::to_string(sides);
        if (sides & 3) out += " " + std::to_string(cell->BorderColor != clNone ? cell->BorderColor : t.CellBorderColor);
      }
      out += " '" + test::DocText(*cell, "+") + "'\n";
      for (int i = 0; i < cell->ItemCount(); ++i)
        if (auto* nested = dynamic_cast<const TDVTableItemInfo*>(cell->GetItem(i))) out += Summary(*nested, color);
    }
  return out;
}

TEST(RTFTableRoundTripTest, RandomTablesComeBack) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    Doc source;
    int word = 0;
    source.AddNL("before", 0, 0);
    source.AddItem("", RandomTable(random, source, 0, word));
    source.AddNL("after", 0, 0);
    TMemoryStream rtf;
    ASSERT_TRUE(source.SaveRTFToStream(rtf, false, clWindow, nullptr)) << seed;
    rtf.SetPosition(0);

    Doc read;
    TDVRTFDocumentReader reader;
    ASSERT_EQ(reader.ReadFromStream(rtf, read), rtf_ec_OK) << seed;
    ASSERT_EQ(read.ItemCount(), 3) << seed << "\n" << test::DocText(read);
    EXPECT_EQ(test::DocText(read), test::DocText(source)) << seed;
    const auto* got = dynamic_cast<const TDVTableItemInfo*>(read.GetItem(1));
    ASSERT_NE(got, nullptr) << seed;
    EXPECT_EQ(Summary(*got, clNone), Summary(*test::FirstTable(source), clNone)) << seed << "\n" << rtf.AsString();
  }
}

}  // namespace
}  // namespace quillet
