// Tables written as RTF, HTML in both dialects and plain text: exact
// outputs, and the structure of random tables' output.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editing/table/table_test_util.h"
#include "engine/export/rtf_tables.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet::test {
namespace {

class TableExportTest : public TableEditTest {
 protected:
  // The table's RTF with every cell's content (one paragraph of text)
  // shown as "<text>".
  std::string RTF(TDVTableItemInfo& t, int level = 0) {
    TDVColorList colors;
    MakeRTFColorTable(Data(), sheet, colors, true);
    TDVIntegerList styleToFont, fontTable;
    MakeFontTable(sheet.TextStyles(), 936, fontTable, styleToFont);
    TMemoryStream stream;
    t.SaveRTF(stream, Data(), 0, "", 15.0, level, colors, styleToFont, fontTable);
    return Skeleton(stream.AsString());
  }
  static std::string Skeleton(const std::string& rtf) {
    std::string out;
    size_t at = 0;
    for (size_t p = rtf.find("\r\n\\pard"); p != std::string::npos; p = rtf.find("\r\n\\pard", at)) {
      const size_t run = rtf.find("\\plain ", p), size = run == std::string::npos ? run : rtf.find("\\fs20 ", run);
      if (size == std::string::npos || rtf.find_first_of("{}", p) < size) {
        out += rtf.substr(at, p + 2 - at);
        at = p + 2;
        continue;
      }
      const size_t text = size + 6, end = rtf.find_first_of("\\{}", text);
      out += rtf.substr(at, p - at) + "<" + rtf.substr(text, end - text) + ">";
      at = end;
    }
    return out + rtf.substr(at);
  }
  std::string HTML(const TDVTableItemInfo& t, bool css) {
    TMemoryStream stream;
    int imgSaveNo = 0;
    TDVHTMLBullets bullets;
    t.SaveToHTML(stream, Data(), 0, "", "", "", imgSaveNo, clNone, 0, css, bullets);
    return stream.AsString();
  }
  TDVTableItemInfo& Place(std::unique_ptr<TDVTableItemInfo> t) {
    // Text in every cell with its position.
    for (int r = 0; r < t->Rows.Count(); ++r)
      for (int c = 0; c < t->Rows.GetColCount(); ++c)
        if (TDVTableCellData* cell = t->GetCells(r, c); cell && cell->ItemCount() == 0)
          AddCellText(*cell, std::to_string(r) + std::to_string(c));
    return PlaceInEditor(std::move(t));
  }
  std::string CellX(const TDVTableItemInfo& t, int c) {
    const auto& f = t.Fmt;
    const double right = (f.ColStarts[c] + f.ColWidths[c] + 2.0 * t.CellPadding) * 15 + t.CellHSpacing * 7.5;
    return "\\cellx" + std::to_string(static_cast<int64_t>(std::nearbyint(right)));
  }
};

// What every row of a default table writes before its cells.
const std::string kRow0 =
    "\\trowd\\trgaph30\\trleft0\\itap1\\trpaddl15\\trpaddt15\\trpaddr15\\trpaddb15\\trpaddfl3\\trpaddft3"
    "\\trpaddfr3\\trpaddfb3\\trspdl15\\trspdr15\\trspdfl3\\trspdfr3\\trspdt15\\trspdb15\\trspdft3\\trspdfb3"
    "\\trftsWidth1\\docviewtbw0";
// A default cell: no border, the table's window colour (entry 17), at the
// top as its row.
const std::string kCell = "\\clftsWidth1\\docviewcbw0\\docviewcbh0\\clcbpat17";

TEST_F(TableExportTest, RTFOfATwoByTwoTable) {
  TDVTableItemInfo& t = Place(MakeTable(2, 2));
  const std::string row = kRow0 + kCell + CellX(t, 0) + kCell + CellX(t, 1);
  EXPECT_EQ(RTF(t), "{" + row + "\\pard\\intbl\\itap1{{<00>\\cell}{<01>\\cell}}\\pard\\intbl\\itap1\\row}" + "{" +
                        row + "\\pard\\intbl\\itap1{{<10>\\cell}{<11>\\cell}}\\pard\\intbl\\itap1\\row}");
  EXPECT_TRUE(Data().State & dvstRTFSkipPar);
}

TEST_F(TableExportTest, RTFOfMergedCells) {
  auto table = MakeTable(2, 2);
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 1, 2, true, false));
  TDVTableItemInfo& cols = Place(std::move(table));
  std::string rtf = RTF(cols);
  // The spanning cell and the position it covers, whose group is empty.
  EXPECT_NE(rtf.find("\\clmgf\\clftsWidth1\\docviewcbw0\\docviewcbh0\\clcbpat17" + CellX(cols, 0) +
                     "\\clmrg\\clcbpat17" + CellX(cols, 1)),
            std::string::npos)
      << rtf;
  EXPECT_NE(rtf.find("{{<00>\\cell}{\\cell}}"), std::string::npos) << rtf;

  table = MakeTable(2, 2);
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 2, 1, true, false));
  TDVTableItemInfo& rows = Place(std::move(table));
  rtf = RTF(rows);
  EXPECT_NE(rtf.find("\\clvmgf\\clftsWidth1"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\trspdfb3\\trftsWidth1\\docviewtbw0\\clvmrg\\clcbpat17"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("{{\\cell}{<11>\\cell}}"), std::string::npos) << rtf;
}

TEST_F(TableExportTest, RTFWidthsAndBorders) {
  auto table = MakeTable(1, 1);
  table->BestWidth = -50;
  table->CellBorderWidth = 1;
  table->GetCells(0, 0)->VisibleBorders.SetValues(true, false, false, false);
  TDVTableItemInfo& t = Place(std::move(table));
  std::string rtf = RTF(t);
  EXPECT_NE(rtf.find("\\trwWidth2500\\trftsWidth2\\docviewtbw-50"), std::string::npos) << rtf;
  // The left side alone, lowered: an inset line.
  EXPECT_NE(rtf.find("\\docviewcbh0\\clbrdrl\\brdrinset\\brdrw15\\clcbpat17"), std::string::npos) << rtf;

  // A zero-width border writes nothing; colours by style.
  struct Case {
    TDVTableBorderStyle style;
    std::string sides;
  };
  // The colour list: red is 6, its light colour yellow 7.
  for (const Case& k : {Case{dvtbRaised, "\\trbrdrl\\brdroutset\\brdrw30\\trbrdrt\\brdroutset\\brdrw30"
                                         "\\trbrdrr\\brdroutset\\brdrw30\\trbrdrb\\brdroutset\\brdrw30"},
                        Case{dvtbColor, "\\trbrdrl\\brdrs\\brdrw30\\brdrcf6\\trbrdrt\\brdrs\\brdrw30\\brdrcf6"
                                        "\\trbrdrr\\brdrs\\brdrw30\\brdrcf6\\trbrdrb\\brdrs\\brdrw30\\brdrcf6"},
                        Case{dvtbRaisedColor, "\\trbrdrl\\brdrs\\brdrw30\\brdrcf7\\trbrdrt\\brdrs\\brdrw30\\brdrcf7"
                                              "\\trbrdrr\\brdrs\\brdrw30\\brdrcf6\\trbrdrb\\brdrs\\brdrw30\\brdrcf6"},
                        Case{dvtbLoweredColor, "\\trbrdrl\\brdrs\\brdrw30\\brdrcf6\\trbrdrt\\brdrs\\brdrw30\\brdrcf6"
                                               "\\trbrdrr\\brdrs\\brdrw30\\brdrcf7\\trbrdrb\\brdrs\\brdrw30\\brdrcf7"}}) {
    table = MakeTable(1, 1);
    table->BorderWidth = 2;
    table->BorderStyle = k.style;
    table->BorderColor = clRed;
    table->BorderLightColor = clYellow;
    TDVTableItemInfo& b = Place(std::move(table));
    rtf = RTF(b);
    EXPECT_NE(rtf.find("\\docviewtbw0" + k.sides + "\\clftsWidth1"), std::string::npos) << k.style << rtf;
    EXPECT_EQ(rtf.find("\\clbrdr"), std::string::npos) << rtf;
  }
}

TEST_F(TableExportTest, RTFOfANestedTable) {
  auto inner = std::make_unique<TDVTableItemInfo>(1, 2, nullptr);
  for (int c = 0; c < 2; ++c) AddCellText(*inner->GetCells(0, c), "n" + std::to_string(c));
  auto outer = MakeTable(1, 1);
  TDVTableCellData& cell = *outer->GetCells(0, 0);
  inner->ParaNo = 0;
  cell.AddItem("", std::move(inner));
  TDVTableItemInfo& t = Place(std::move(outer));
  const std::string rtf = RTF(t);
  // The nested rows: cells' text in the body, the row's definition at level
  // 2 inside "\*\nesttableprops" before "\nestrow".
  EXPECT_NE(rtf.find("\\pard\\intbl\\itap2{{<n0>\\nestcell}{<n1>\\nestcell}}\\pard\\intbl\\itap2"
                     "{\\*\\nesttableprops\\trowd\\trgaph30\\trleft0\\itap2"),
            std::string::npos)
      << rtf;
  EXPECT_NE(rtf.find("\\nestrow}}\\cell}}\\pard\\intbl\\itap1\\row}"), std::string::npos) << rtf;
}

TEST_F(TableExportTest, ColourTableHasTheTablesColours) {
  auto table = MakeTable(1, 2);
  table->BorderStyle = dvtbRaisedColor;
  table->BorderColor = static_cast<TColor>(0x010203);
  table->BorderLightColor = static_cast<TColor>(0x040506);
  table->GetCells(0, 1)->Color = static_cast<TColor>(0x070809);
  TDVTableItemInfo& t = Place(std::move(table));
  TDVColorList colors;
  t.FillRTFColorTable(colors);
  for (TColor c : {clWindow, static_cast<TColor>(0x010203), static_cast<TColor>(0x040506), clBtnHighlight,
                   clBtnShadow, clBtnFace, static_cast<TColor>(0x070809)})
    EXPECT_GE(colors.IndexOf(c), 0) << std::hex << c;
}

TEST_F(TableExportTest, HTMLInBothDialects) {
  auto table = MakeTable(2, 2);
  table->BestWidth = -50;
  table->Color = clNone;
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 1, 2, true, false));
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  AddCellText(*t.GetCells(1, 0), "x");
  t.GetCells(1, 1)->VisibleBorders.SetValues(true, false, true, true);
  EXPECT_EQ(HTML(t, false),
            "<TABLE width=50% border=0 cellpadding=1 cellspacing=2>\r\n"
            "  <TR valign=top>\r\n"
            "    <TD colspan=2>\r\n&nbsp;\r\n    </TD>\r\n"
            "  </TR>\r\n"
            "  <TR valign=top>\r\n"
            "    <TD>\r\n<DIV><FONT size=2 color=#000000 face=\"Arial\">x</FONT></DIV>\r\n    </TD>\r\n"
            "    <TD>\r\n&nbsp;\r\n    </TD>\r\n"
            "  </TR>\r\n"
            "</TABLE>\r\n");
  // The CSS dialect: plain declarations, the hidden side, and cells that
  // take the table's cell borders.
  t.CellBorderWidth = 2;
  t.CellBorderStyle = dvtbColor;
  t.CellBorderColor = clRed;
  const std::string css = HTML(t, true);
  EXPECT_NE(css.find("<TABLE width=50% border=1 cellpadding=1 cellspacing=2 style='border-width : 0px'>"),
            std::string::npos)
      << css;
  EXPECT_NE(css.find("<TD colspan=2 style='border-width : 2px; border-color : #FF0000; border-style: solid'>"),
            std::string::npos)
      << css;
  EXPECT_NE(css.find("<TD style='border-width : 2px; border-color : #FF0000; border-style: solid; border-top: none; '>"),
            std::string::npos)
      << css;
  EXPECT_EQ(css.find("{"), std::string::npos) << css;
}

TEST_F(TableExportTest, TextWithSeparators) {
  auto table = MakeTable(2, 2);
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 1, 2, true, false));
  TDVTableItemInfo& t = Place(std::move(table));
  t.TextColSeparator = "|";
  t.TextRowSeparator = "/";
  // A covered position is followed by its separator too.
  EXPECT_EQ(t.AsText(80, &Data(), "", "", false, false), "00|/10|11/");
  t.TextColSeparator = Utf8ToAnsi("，");
  EXPECT_EQ(t.AsText(80, &Data(), "", "", false, true),
            DVU_UnitBytes(u"00，/10，11/"));
}

// Random tables: their HTML tags nest and their RTF groups balance.
TEST_F(TableExportTest, RandomTablesWriteWellFormedRTFAndHTML) {
  std::mt19937 random(2027);
  for (int trial = 0; trial < 25; ++trial) {
    const int rows = 1 + static_cast<int>(random() % 5), cols = 1 + static_cast<int>(random() % 4);
    auto table = MakeTable(rows, cols);
    for (int k = 0; k < 2; ++k) {
      const int r = static_cast<int>(random() % rows), c = static_cast<int>(random() % cols);
      int rc = 1 + static_cast<int>(random() % 2), cc = 1 + static_cast<int>(random() % 3);
      if (table->Rows.StartMergeCells(r, c, rc, cc)) table->Rows.MergeCellsPlain(r, c, rc, cc, true, false);
    }
    if (random() % 2) {
      auto inner = std::make_unique<TDVTableItemInfo>(2, 1 + static_cast<int>(random() % 3), nullptr);
      inner->ParaNo = 0;
      table->GetCells(0, 0)->AddItem("", std::move(inner));
    }
    TDVTableItemInfo& t = Place(std::move(table));
    SCOPED_TRACE("trial " + std::to_string(trial));
    const std::string rtf = RTF(t, static_cast<int>(random() % 2));
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
      if (rtf[i] == '\\') {
        ++i;
        continue;
      }
      depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
      ASSERT_GE(depth, 0) << rtf;
    }
    EXPECT_EQ(depth, 0) << rtf;
    for (bool css : {false, true}) {
      const std::string html = HTML(t, css);
      std::vector<std::string> open;
      for (size_t p = html.find('<'); p != std::string::npos; p = html.find('<', p + 1)) {
        const bool closing = html[p + 1] == '/';
        const size_t name = p + (closing ? 2 : 1), end = html.find_first_of(" >", name);
        const std::string tag = html.substr(name, end - name);
        if (tag != "TABLE" && tag != "TR" && tag != "TD") continue;
        if (!closing) {
          open.push_back(tag);
          continue;
        }
        ASSERT_FALSE(open.empty()) << html;
        EXPECT_EQ(open.back(), tag) << html;
        open.pop_back();
      }
      EXPECT_TRUE(open.empty()) << html;
    }
  }
}

}  // namespace
}  // namespace quillet::test
