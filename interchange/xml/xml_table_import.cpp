// A "table" element of an item list: the grid fixed by "rows" and "cols",
// rows and cells matched to it by position, each cell's content read by the
// item reader, so tables nest (up to the limits tables from outside data
// have).
#include <string>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "editing/table/table_rows.h"
#include "editing/table/table_types.h"
#include "engine/model/dv_data.h"
#include "interchange/xml/xml_item_reader.h"
#include "interchange/xml/xml_tag.h"
#include "interchange/xml/xml_values.h"
#include "platform/core/arith.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

using Sv = std::string_view;
using T = TDVTableItemInfo;

constexpr TXMLKeyword<TDVTableBorderStyle> kBorderStyles[] = {
    {"raised", dvtbRaised},
    {"lowered", dvtbLowered},
    {"color", dvtbColor},
    {"raisedcolor", dvtbRaisedColor},
    {"loweredcolor", dvtbLoweredColor}};
constexpr TXMLKeyword<TDVCellVAlign> kCellVAligns[] = {
    {"top", dvcTop}, {"middle", dvcMiddle}, {"bottom", dvcBottom}, {"default", dvcVDefault}};

template <TDVTableOption Bit>
void Option(T& t, Sv v) {
  ReadFlagBit<TDVTableOptions>(v, t.Options, Bit);
}
template <TDVTablePrintOption Bit>
void PrintOption(T& t, Sv v) {
  ReadFlagBit<TDVTablePrintOptions>(v, t.PrintOptions, Bit);
}

const TXMLAttrRule<T> kTableRules[] = {
    {"width", [](T& t, Sv v) { ReadInt(v, t.BestWidth); }},
    {"color", [](T& t, Sv v) { t.Color = ReadColor(v); }},
    {"borderwidth", [](T& t, Sv v) { ReadInt(v, t.BorderWidth); }},
    {"bordercolor", [](T& t, Sv v) { t.BorderColor = ReadColor(v); }},
    {"borderlightcolor", [](T& t, Sv v) { t.BorderLightColor = ReadColor(v); }},
    {"borderstyle", [](T& t, Sv v) { ReadKeyword(v, kBorderStyles, t.BorderStyle); }},
    {"borderhspacing", [](T& t, Sv v) { ReadInt(v, t.BorderHSpacing); }},
    {"bordervspacing", [](T& t, Sv v) { ReadInt(v, t.BorderVSpacing); }},
    {"cellborderwidth", [](T& t, Sv v) { ReadInt(v, t.CellBorderWidth); }},
    {"cellbordercolor", [](T& t, Sv v) { t.CellBorderColor = ReadColor(v); }},
    {"cellborderlightcolor", [](T& t, Sv v) { t.CellBorderLightColor = ReadColor(v); }},
    {"cellborderstyle", [](T& t, Sv v) { ReadKeyword(v, kBorderStyles, t.CellBorderStyle); }},
    {"cellpadding", [](T& t, Sv v) { ReadInt(v, t.CellPadding); }},
    {"cellhspacing", [](T& t, Sv v) { ReadInt(v, t.CellHSpacing); }},
    {"cellvspacing", [](T& t, Sv v) { ReadInt(v, t.CellVSpacing); }},
    {"hrulewidth", [](T& t, Sv v) { ReadInt(v, t.HRuleWidth); }},
    {"hrulecolor", [](T& t, Sv v) { t.HRuleColor = ReadColor(v); }},
    {"vrulewidth", [](T& t, Sv v) { ReadInt(v, t.VRuleWidth); }},
    {"vrulecolor", [](T& t, Sv v) { t.VRuleColor = ReadColor(v); }},
    {"houtermostrule", [](T& t, Sv v) { ReadFlag(v, t.HOutermostRule); }},
    {"voutermostrule", [](T& t, Sv v) { ReadFlag(v, t.VOutermostRule); }},
    {"textsaverowsep", [](T& t, Sv v) { t.TextRowSeparator = v; }},
    {"textsavecolsep", [](T& t, Sv v) { t.TextColSeparator = v; }},
    {"editing", Option<dvtoEditing>},
    {"rowsizing", Option<dvtoRowSizing>},
    {"colsizing", Option<dvtoColSizing>},
    {"rowselect", Option<dvtoRowSelect>},
    {"colselect", Option<dvtoColSelect>},
    {"rtfsavecellwidth", Option<dvtoRTFSaveCellPixelBestWidth>},
    {"hidegridlines", Option<dvtoHideGridLines>},
    {"overlappingcorners", Option<dvtoOverlappingCorners>},
    {"cellbelowborder", Option<dvtoCellBelowBorders>},
    {"printhalftoneborders", PrintOption<dvtoHalftoneBorders>},
    {"printsplitrows", PrintOption<dvtoRowsSplit>},
    {"printwhiteback", PrintOption<dvtoWhiteBackground>},
};

// A cell's properties and its spans, which start at 1.
struct TCellTarget {
  explicit TCellTarget(TDVTableCellData& c) : cell(c) {}
  TDVTableCellData& cell;
  int32_t colSpan = 1, rowSpan = 1;
};

const TXMLAttrRule<TCellTarget> kCellRules[] = {
    {"width", [](TCellTarget& c, Sv v) { ReadInt(v, c.cell.BestWidth); }},
    {"height", [](TCellTarget& c, Sv v) { ReadInt(v, c.cell.BestHeight); }},
    {"color", [](TCellTarget& c, Sv v) { c.cell.Color = ReadColor(v); }},
    {"valign", [](TCellTarget& c, Sv v) { ReadKeyword(v, kCellVAligns, c.cell.VAlign); }},
    {"leftbordervisible", [](TCellTarget& c, Sv v) { ReadFlag(v, c.cell.VisibleBorders.Left); }},
    {"topbordervisible", [](TCellTarget& c, Sv v) { ReadFlag(v, c.cell.VisibleBorders.Top); }},
    {"rightbordervisible", [](TCellTarget& c, Sv v) { ReadFlag(v, c.cell.VisibleBorders.Right); }},
    {"bottombordervisible", [](TCellTarget& c, Sv v) { ReadFlag(v, c.cell.VisibleBorders.Bottom); }},
    {"colspan", [](TCellTarget& c, Sv v) { ReadInt(v, c.colSpan); }},
    {"rowspan", [](TCellTarget& c, Sv v) { ReadInt(v, c.rowSpan); }},
};

int32_t IntAttr(const TXMLTag& node, Sv name) {
  const TXMLAttr* attr = node.Attributes().FindAttrOfName(name);
  return attr ? StrToIntOpt(attr->Value).value_or(0) : 0;
}

}  // namespace

void TXMLItemReader::ReadTable(const TXMLTag& node) {
  const int32_t rows = IntAttr(node, "rows"), cols = IntAttr(node, "cols");
  if (rows <= 0 || cols <= 0) return;
  if (rows > DVTableMaxRows || cols > DVTableMaxCols || int64_t{rows} * cols > DVTableMaxCells)
    throw EDocViewXMLError("The table has too many rows or columns");
  if (context_.TableDepth >= DVTableMaxNesting) throw EDocViewXMLError("Tables are nested too deeply");
  TScopedValue<int> depth(context_.TableDepth, context_.TableDepth + 1);

  auto table = std::make_unique<TDVTableItemInfo>(rows, cols, &dvData_);
  // The cells answer for their document through the table's: style sheet,
  // settings and list markers are the document's while they are read.
  table->Rows.DVData = &dvData_;
  TStyleRef style{}, para{0, false};
  for (int i = 0; i < node.Attributes().Count(); ++i)
    if (!ReadCommon(*node.Attributes().Get(i), kTag | kParaStyle | kLine, *table, style, para)) {
      // One attribute at a time keeps document order across both tables.
      for (const TXMLAttrRule<T>& rule : kTableRules)
        if (SameName(node.Attributes().Get(i)->Name, rule.name)) {
          rule.apply(*table, node.Attributes().Get(i)->Value);
          break;
        }
    }

  for (int r = 0; r < node.Children().Count() && r < rows; ++r) {
    const TXMLTag& row = *node.Children().Get(r);
    if (!SameName(row.Name, "row")) continue;
    if (const TXMLAttr* vAlign = row.Attributes().FindAttrOfName("valign"))
      ReadKeyword(vAlign->Value, kCellVAligns, table->Rows[r]->VAlign);
    for (int c = 0; c < row.Children().Count() && c < cols; ++c) {
      const TXMLTag& cellNode = *row.Children().Get(c);
      TDVTableCellData* cell = table->GetCells(r, c);
      if (!SameName(cellNode.Name, "cell") || !cell) continue;
      TCellTarget target(*cell);
      ApplyAttributes(cellNode, kCellRules, target);
      if (target.colSpan > 1 || target.rowSpan > 1)
        table->Rows.MergeCellsPlain(r, c, std::max(target.rowSpan, 1), std::max(target.colSpan, 1), true, true);
      cell->Clear();
      int position = 0, added = 0;
      LoadDVDataFromXML(*cell, cellNode, context_, &defaults_, position, false, added);
    }
  }
  // The caret needs an item to stand in, in cells that nothing filled too.
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      if (TDVTableCellData* cell = table->GetCells(r, c); cell && cell->ItemCount() == 0)
        cell->AddNL(std::string(), TranslateStyle({-1, false}), TranslatePara({-1, false}));

  // A table's paragraph starts at 0, not at the default.
  table->ParaNo = TranslatePara(para);
  InsertItem(node.Value, std::move(table));
}

}  // namespace quillet
