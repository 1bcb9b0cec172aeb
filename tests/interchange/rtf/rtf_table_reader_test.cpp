// RTF tables read into table items: the grid of rows with differing
// boundaries, merges, the table's and cells' properties, nesting, and
// malformed tables whose text must all arrive somewhere.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/export/rtf_writer.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "interchange/rtf/rtf_reader.h"
#include "platform/core/stream.h"
#include "interchange/rtf/rtf_table_text.h"

namespace quillet {
namespace {

using test::DocText;
using test::FirstTable;

class Doc : public TCustomDVData {
 public:
  Doc() { SetDVStyle(&style); }
  TDVStyle style;
};

TDVRTFErrorCode Read(TDVRTFDocumentReader& reader, TCustomDVData& doc, const std::string& body) {
  const std::string rtf = "{\\rtf1\\ansi " + body + "}";
  TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
  return reader.ReadFromStream(stream, doc);
}

std::string ReadText(const std::string& body) {
  Doc doc;
  TDVRTFDocumentReader reader;
  EXPECT_EQ(Read(reader, doc, body), rtf_ec_OK) << body;
  return DocText(doc);
}

int32_t Px(double twips) { return static_cast<int32_t>(std::nearbyint(twips / GetTwipsPerPixel())); }

TEST(RTFTableReaderTest, RowsOntoOneGrid) {
  struct Case {
    const char* name;
    const char* rtf;
    const char* doc;
  };
  const Case cases[] = {
      {"a new boundary splits a column",
       "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row "
       "\\trowd\\cellx1000\\cellx1500\\cellx2000\\intbl c\\cell d\\cell e\\cell\\row\\pard after\\par",
       "[a|b|< / c|d|e] | after"},
      {"1 twip apart is one line", "\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\cellx1001\\intbl b\\cell\\row",
       "[a / b]"},
      {"2 twips apart are two", "\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\cellx1002\\intbl b\\cell\\row",
       "[a| / b|<]"},
      {"left edge left of the grid",
       "\\trowd\\trleft0\\cellx1000\\intbl a\\cell\\row\\trowd\\trleft-500\\cellx1000\\intbl b\\cell\\row",
       "[|a / b|<]"},
      {"left edge inside the grid",
       "\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\trleft500\\cellx1000\\intbl b\\cell\\row", "[a|< / |b]"},
      {"left edge beyond the grid",
       "\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\trleft1500\\cellx2000\\intbl b\\cell\\row",
       "[a|| / |<|b]"},
      {"horizontal merge",
       "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row",
       "[a+b|<|c]"},
      {"vertical merge",
       "\\trowd\\clvmgf\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
       "\\trowd\\clvmrg\\cellx1000\\cellx2000\\intbl\\cell d\\cell\\row",
       "[a|b / ^|d]"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadText(c.rtf), c.doc) << c.name;
}

TEST(RTFTableReaderTest, SpansAndWidths) {
  Doc doc;
  TDVRTFDocumentReader reader;
  ASSERT_EQ(Read(reader, doc,
                 "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row "
                 "\\trowd\\cellx1000\\cellx1500\\cellx2000\\intbl c\\cell d\\cell e\\cell\\row"),
            rtf_ec_OK);
  TDVTableItemInfo* table = FirstTable(doc);
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->Rows.IsValidGrid());
  EXPECT_EQ(table->GetCells(0, 1)->ColSpan, 2);
  EXPECT_EQ(table->GetCells(0, 0)->BestWidth, Px(1000));
  EXPECT_EQ(table->GetCells(0, 1)->BestWidth, Px(1000));
  EXPECT_EQ(table->GetCells(1, 1)->BestWidth, Px(500));
}

// Finalize: spacing under both glue modes, padding, border widths,
// percentages and the sizes our own writer gives in pixels.
TEST(RTFTableReaderTest, TableProperties) {
  const std::string plain = "\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\cellx1000\\intbl b\\cell\\row";
  for (TDVBorderGlueMode glue : {dvbgNegativeSpacing, dvbgVisibleBorders}) {
    Doc doc;
    TDVRTFDocumentReader reader;
    reader.TableBorderGlueMode = glue;
    ASSERT_EQ(Read(reader, doc, plain), rtf_ec_OK);
    const TDVTableItemInfo& t = *FirstTable(doc);
    const int32_t none = glue == dvbgNegativeSpacing ? -1 : 0;
    EXPECT_EQ(t.CellHSpacing, none);
    EXPECT_EQ(t.CellVSpacing, none);
    EXPECT_EQ(t.BorderHSpacing, 0);  // no border: the outer frame goes
    EXPECT_EQ(t.CellPadding, 0);
    EXPECT_EQ(t.Color, clNone);
    EXPECT_TRUE(t.Options & dvtoHideGridLines);
  }

  Doc doc;
  TDVRTFDocumentReader reader;
  reader.AutoHideTableGridLines = false;
  // Spacing 60 left and right in two rows, 90 between rows, 30 above and
  // below; padding 120 on two of four sides; 1.5 pt borders.
  const std::string row =
      "\\trowd\\trspdl60\\trspdr60\\trspdfl3\\trspdfr3\\trspdt45\\trspdb45\\trspdft3\\trspdfb3"
      "\\trpaddl120\\trpaddr120\\trpaddfl3\\trpaddfr3\\trbrdrl\\brdrs\\brdrw30\\trbrdrr\\brdrs\\brdrw30"
      "\\trwWidth5000\\trftsWidth2\\clbrdrl\\brdrs\\brdrw15\\cellx3000\\intbl x\\cell\\row";
  ASSERT_EQ(Read(reader, doc, row + row), rtf_ec_OK);
  const TDVTableItemInfo& t = *FirstTable(doc);
  EXPECT_EQ(t.CellHSpacing, Px(240 / 2.0));
  EXPECT_EQ(t.BorderHSpacing, t.CellHSpacing);
  EXPECT_EQ(t.CellVSpacing, Px(90));
  EXPECT_EQ(t.BorderVSpacing, Px(90));
  EXPECT_EQ(t.CellPadding, Px(480 / 8.0));
  EXPECT_EQ(t.BorderWidth, Px(30));
  EXPECT_EQ(t.CellBorderWidth, Px(15));
  EXPECT_EQ(t.BestWidth, -100);
  EXPECT_FALSE(t.Options & dvtoHideGridLines);
  const TDVTableCellData& cell = *t.GetCells(0, 0);
  EXPECT_TRUE(cell.VisibleBorders.Left);
  EXPECT_FALSE(cell.VisibleBorders.Right);
  EXPECT_EQ(cell.BestWidth, Px(3000) - 2 * t.CellPadding);

  // Our own writer's sizes are pixels, taken as they are.
  Doc own;
  ASSERT_EQ(Read(reader, own,
                 "\\trowd\\trwWidth4500\\trftsWidth3\\docviewtbw300\\clwWidth1500\\clftsWidth3"
                 "\\docviewcbw100\\docviewcbh40\\cellx1500\\intbl x\\cell\\row"),
            rtf_ec_OK);
  EXPECT_EQ(FirstTable(own)->BestWidth, 300);
  EXPECT_EQ(FirstTable(own)->GetCells(0, 0)->BestWidth, 100);
  EXPECT_EQ(FirstTable(own)->GetCells(0, 0)->BestHeight, 40);

  // Once a cell gives its width, widths come from the cells, not the grid.
  Doc given;
  ASSERT_EQ(Read(reader, given,
                 "\\trowd\\clwWidth1500\\clftsWidth3\\cellx3000\\clwWidth2500\\clftsWidth2\\cellx4000"
                 "\\intbl a\\cell b\\cell\\row"),
            rtf_ec_OK);
  EXPECT_EQ(FirstTable(given)->GetCells(0, 0)->BestWidth, Px(1500));
  EXPECT_EQ(FirstTable(given)->GetCells(0, 1)->BestWidth, -50);
}

TEST(RTFTableReaderTest, CellProperties) {
  Doc doc;
  TDVRTFDocumentReader reader;
  ASSERT_EQ(Read(reader, doc,
                 "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                 "\\trowd\\trrh600\\clcbpat1\\clvertalc\\clbrdrl\\brdrs\\brdrw20\\brdrcf2\\clbrdrr\\brdrs\\brdrw20"
                 "\\brdrcf1\\cellx1000\\clvertalb\\cellx2000\\intbl a\\cell b\\cell\\row"),
            rtf_ec_OK);
  const TDVTableItemInfo& t = *FirstTable(doc);
  const TDVTableCellData& a = *t.GetCells(0, 0);
  EXPECT_EQ(a.Color, TColor(0x0000FF));
  EXPECT_EQ(a.VAlign, dvcMiddle);
  EXPECT_EQ(a.BestHeight, Px(600));
  EXPECT_EQ(a.BorderColor, TColor(0xFF0000));
  EXPECT_EQ(a.BorderLightColor, TColor(0x0000FF));
  EXPECT_EQ(t.GetCells(0, 1)->VAlign, dvcBottom);
  // Two colours on one cell: the cells keep light and dark sides.
  EXPECT_EQ(t.CellBorderStyle, dvtbLoweredColor);
  // A side shown by the cell on the left is not drawn again.
  EXPECT_FALSE(t.GetCells(0, 1)->VisibleBorders.Left);
}

TEST(RTFTableReaderTest, RowAlignmentIsTheTableParagraphs) {
  Doc doc;
  TDVRTFDocumentReader reader;
  reader.TextStyleMode = reader.ParaStyleMode = dvrsAddIfNeeded;
  ASSERT_EQ(Read(reader, doc, "\\trowd\\trqc\\cellx1000\\intbl a\\cell\\row"), rtf_ec_OK);
  EXPECT_EQ(doc.style.ParaStyles()[FirstTable(doc)->ParaNo].Alignment, dvaCenter);
}

TEST(RTFTableReaderTest, NestedTables) {
  // A table inside a cell is built in that cell.
  const std::string nested =
      "\\trowd\\cellx4000\\pard\\intbl\\itap1 before\\par"
      "\\pard\\intbl\\itap2 in\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}"
      "\\pard\\intbl\\itap1 after\\cell\\row\\pard out\\par";
  EXPECT_EQ(ReadText(nested), "[before+[in]+after] | out");
  {
    // Each level's cells lead up to the document, through the cell that
    // holds the inner table.
    Doc doc;
    TDVRTFDocumentReader reader;
    ASSERT_EQ(Read(reader, doc, nested), rtf_ec_OK);
    TDVTableItemInfo* outer = FirstTable(doc);
    ASSERT_NE(outer, nullptr);
    TDVTableCellData* holder = outer->GetCells(0, 0);
    TDVTableItemInfo* inner = FirstTable(*holder);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(holder->GetTable(), outer);
    EXPECT_EQ(inner->Rows.DVData, holder);
    EXPECT_EQ(inner->GetCells(0, 0)->GetTable(), inner);
    EXPECT_EQ(inner->GetCells(0, 0)->GetAbsoluteRootData(), &doc);
  }

  // Past the nesting limit, tables are text of the deepest cell.
  std::string deep;
  const int depth = TDVRTFReader::kMaxTableNesting + 2;
  for (int level = 1; level <= depth; ++level)
    deep += "\\pard\\intbl\\itap" + std::to_string(level) + " t" + std::to_string(level) + "\\par";
  for (int level = depth; level >= 1; --level) {
    const std::string n = level == 1 ? "" : "nest";
    deep += "\\pard\\intbl\\itap" + std::to_string(level) + " e" + std::to_string(level) + "\\" + n + "cell" +
            (level == 1 ? "" : "{\\*\\nesttableprops") + "\\trowd\\cellx1000\\" + n + "row" +
            (level == 1 ? "" : "}");
  }
  Doc doc;
  TDVRTFDocumentReader reader;
  ASSERT_EQ(Read(reader, doc, deep), rtf_ec_OK);
  const TCustomDVData* cell = &doc;
  int levels = 0;
  while (TDVTableItemInfo* table = FirstTable(*cell)) {
    cell = table->GetCells(0, 0);
    ++levels;
  }
  EXPECT_EQ(levels, TDVRTFReader::kMaxTableNesting);
  const std::string deepest = "t" + std::to_string(depth);
  EXPECT_NE(DocText(*cell).find(deepest), std::string::npos) << DocText(*cell);
  EXPECT_NE(DocText(*cell).find("e" + std::to_string(depth)), std::string::npos) << DocText(*cell);
}

TEST(RTFTableReaderTest, TableOfAHeaderStaysThere) {
  Doc doc, header;
  header.SetDVStyle(&doc.style);
  TDVRTFDocumentReader reader;
  reader.SetHeader(&header);
  ASSERT_EQ(Read(reader, doc,
                 "{\\header\\trowd\\cellx1000\\pard\\intbl h\\cell\\row}\\pard body\\par"),
            rtf_ec_OK);
  EXPECT_EQ(DocText(header), "[h]");
  EXPECT_EQ(DocText(doc), "body");
}

// Each malformed table: the table it gives and where its text goes.
TEST(RTFTableReaderTest, MalformedTables) {
  struct Case {
    const char* name;
    const char* rtf;
    const char* doc;
  };
  const Case cases[] = {
      {"rows without \\cellx", "\\trowd\\intbl a\\cell b\\cell\\row\\pard after\\par", "a | b | after"},
      {"no \\row at all", "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\pard after\\par", "a | b | after"},
      {"unfinished last row",
       "\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\cellx1000\\intbl b\\cell c\\par\\pard after\\par",
       "[a] | b | c | after"},
      {"\\clmrg on a row's first cell", "\\trowd\\clmrg\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row", "[a|b]"},
      {"\\clvmrg in the first row", "\\trowd\\clvmrg\\cellx1000\\intbl a\\cell\\row", "[a]"},
      {"more \\cellx than \\cell", "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell\\row", "[a||]"},
      {"more \\cell than \\cellx", "\\trowd\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row", "[a+b+c]"},
      {"boundary not right of the previous", "\\trowd\\cellx1000\\cellx500\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row",
       "[a|b|c]"},
      {"\\row outside a table", "x\\row y", "xy"},
  };
  for (const Case& c : cases) {
    Doc doc;
    TDVRTFDocumentReader reader;
    ASSERT_EQ(Read(reader, doc, c.rtf), rtf_ec_OK) << c.name;
    EXPECT_EQ(DocText(doc), c.doc) << c.name;
    if (TDVTableItemInfo* table = FirstTable(doc)) {
      EXPECT_TRUE(table->Rows.IsValidGrid()) << c.name;
      for (int r = 0; r < table->Rows.Count(); ++r)
        for (int col = 0; col < table->Rows.GetColCount(); ++col) {
          const TDVTableCellData* cell = table->GetCells(r, col);
          if (cell) EXPECT_GE(cell->ItemCount(), 1) << c.name;
        }
    }
  }
}

}  // namespace
}  // namespace quillet
