// Tables: the grid from "rows" and "cols", rows and cells by position,
// spans, properties, nesting, the limits and defaults that leak out of cells.
#include <gtest/gtest.h>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "editing/table/table_types.h"
#include "engine/model/dv_data.h"
#include "engine/model/marker_list.h"
#include "xml_import_util.h"

namespace quillet::test {
namespace {

using XmlTables = XmlImportTest;

std::string Table(const std::string& attributes, const std::string& rows) {
  return "<table " + attributes + ">" + rows + "</table>";
}

TEST_F(XmlTables, GridsFilledByPosition) {
  struct Case {
    std::string body;
    const char* items;
  } cases[] = {
      {Table("rows=\"1\" cols=\"2\"", "<row><cell><text>a</text></cell><cell><text>b</text></cell></row>"),
       "|tbl/0{|[a/0/0],|[b/0/0]}"},
      // The first cell spans both columns; the second element finds no cell.
      {Table("rows=\"1\" cols=\"2\"",
             "<row><cell colspan=\"2\"><text>a</text></cell><cell><text>b</text></cell></row>"),
       "|tbl/0{|[a/0/0],-}"},
      {Table("rows=\"2\" cols=\"2\"",
             "<row><cell rowspan=\"2\"><text>a</text></cell><cell/></row><row><cell/><cell><text>d</text></cell></row>"),
       "|tbl/0{|[a/0/0],|[/0/0];-,|[d/0/0]}"},
      // A list marker in a cell goes to the editor with its table.
      {Table("rows=\"1\" cols=\"1\"", "<row><cell><marker style=\"bullets\"/><text br=\"0\">m</text></cell></row>"),
       "|tbl/0{|mk/0[m/0/0]}"},
      {Table("rows=\"2\" cols=\"0\"", "<row><cell><text>a</text></cell></row>") + "<text>b</text>", "|[b/0/0]"},
      {Table("rows=\"x\" cols=\"2\"", ""), "|[/0/0]"},  // the editor's empty line
      // Any child counts as a row position; comments and text do not.
      {Table("rows=\"2\" cols=\"1\"", "<!-- c -->text<caption/><row><cell><text>a</text></cell></row>"),
       "|tbl/0{|[/0/0];|[a/0/0]}"},
      // Cells beyond the grid are passed over; cells nothing filled hold an empty line.
      {Table("rows=\"1\" cols=\"1\"", "<row><cell/><cell><text>x</text></cell></row><row/>"), "|tbl/0{|[/0/0]}"},
      {"<text>a</text>" + Table("rows=\"1\" cols=\"1\" parastyleno=\"1\"", "") + "<text br=\"0\">b</text>",
       "|[a/0/0]|tbl/1{|[/0/0]}|[b/0/0]"},
      // A default set inside a cell holds after the table too.
      {Table("rows=\"1\" cols=\"1\"", "<row><cell><default textstyleno=\"1\"/><text>a</text></cell></row>") +
           "<text>b</text>",
       "|tbl/0{|[a/1/0]}|[b/1/0]"},
      {Table("rows=\"1\" cols=\"1\"",
             "<row><cell>" + Table("rows=\"1\" cols=\"2\"", "<row><cell><text>in</text></cell></row>") +
                 "</cell></row>"),
       "|tbl/0{|tbl/0{|[in/0/0],|[/0/0]}}"},
  };
  for (const auto& c : cases) {
    LoadBody(c.body);
    EXPECT_EQ(Items(), c.items) << c.body;
  }
}

TEST_F(XmlTables, AMarkerInACellIsListedByTheEditor) {
  LoadBody("<marker style=\"bullets\"/><text br=\"0\">a</text>" +
           Table("rows=\"1\" cols=\"1\"", "<row><cell><marker style=\"bullets\"/><text br=\"0\">m</text></cell></row>"));
  const TDVMarkerList* markers = editor->DVData().GetMarkers(false);
  ASSERT_NE(markers, nullptr);
  EXPECT_EQ(markers->Count(), 2);
}

TEST_F(XmlTables, PropertiesOfTablesRowsAndCells) {
  LoadBody(Table("rows=\"1\" cols=\"2\" width=\"300\" color=\"clYellow\" borderwidth=\"2\" borderstyle=\"color\" "
                 "cellborderstyle=\"RaisedColor\" cellpadding=\"4\" hrulewidth=\"1\" voutermostrule=\"1\" "
                 "textsaverowsep=\";\" editing=\"0\" cellbelowborder=\"1\" printwhiteback=\"1\"",
                 "<row valign=\"bottom\"><cell width=\"100\" height=\"40\" color=\"clAqua\" valign=\"middle\" "
                 "leftbordervisible=\"0\"/><cell/></row>"));
  const auto& table = editor->DVData().CheckItemClass<TDVTableItemInfo>(0);
  EXPECT_EQ(table.BestWidth, 300);
  EXPECT_EQ(table.Color, clYellow);
  EXPECT_EQ(table.BorderWidth, 2);
  EXPECT_EQ(table.BorderStyle, dvtbColor);
  EXPECT_EQ(table.CellBorderStyle, dvtbRaisedColor);
  EXPECT_EQ(table.CellPadding, 4);
  EXPECT_EQ(table.HRuleWidth, 1);
  EXPECT_TRUE(table.VOutermostRule);
  EXPECT_EQ(table.TextRowSeparator, ";");
  // Only the named option changes.
  EXPECT_EQ(table.Options,
            (DVTableDefaultOptions & ~dvtoEditing) | dvtoCellBelowBorders);
  EXPECT_EQ(table.PrintOptions, DVTableDefaultPrintOptions | dvtoWhiteBackground);
  EXPECT_EQ(table.Rows[0]->VAlign, dvcBottom);
  const TDVTableCellData& cell = *table.GetCells(0, 0);
  EXPECT_EQ(cell.BestWidth, 100);
  EXPECT_EQ(cell.BestHeight, 40);
  EXPECT_EQ(cell.Color, clAqua);
  EXPECT_EQ(cell.VAlign, dvcMiddle);
  EXPECT_FALSE(cell.VisibleBorders.Left);
  EXPECT_TRUE(cell.VisibleBorders.Top);
}

TEST_F(XmlTables, LimitsAreClearErrors) {
  LoadBody("<text>kept</text>");
  std::string nested = "<text>deep</text>";
  for (int i = 0; i <= DVTableMaxNesting; ++i) nested = Table("rows=\"1\" cols=\"1\"", "<row><cell>" + nested + "</cell></row>");
  const std::string tooDeep = nested;
  const std::string deepest = nested.substr(nested.find("<cell>") + 6);  // one table less
  for (const std::string& body :
       {Table("rows=\"100001\" cols=\"1\"", ""), Table("rows=\"1\" cols=\"1001\"", ""),
        Table("rows=\"2000\" cols=\"1000\"", ""), tooDeep}) {
    EXPECT_THROW(LoadBody(body), EDocViewXMLError) << body.substr(0, 60);
    EXPECT_EQ(Items(), "|[kept/0/0]");
  }
  // Sixteen tables deep still load.
  LoadBody(deepest.substr(0, deepest.rfind("</cell>")));
  EXPECT_EQ(editor->DVData().ItemCount(), 1);
}

}  // namespace
}  // namespace quillet::test
