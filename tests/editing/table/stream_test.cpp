// The table in the document stream: tables saved in hexadecimal and binary
// mode read back to the same grid and the same bytes, the component's bytes
// as the property stream lays them out, tables nested in cells, and
// malformed records refused with the document left as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editing/table/table_stream.h"
#include "editing/table/table_test_util.h"
#include "platform/core/hex_text.h"
#include "platform/core/property_stream.h"
#include "platform/core/stream.h"

namespace quillet::test {
namespace {

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// The DVF stream of a document holding one table record around the
// component, as the writer lays it out.
std::string Record(const std::vector<uint8_t>& component, bool binary) {
  std::string s = "-8 1 2\r\n-60 3 0 0 " + std::string(binary ? "2" : "0") + " 0 \r\n\r\n1\r\n";
  if (!binary) return s + BytesToHex(Bytes(component)) + "\r\n";
  const auto n = static_cast<uint32_t>(component.size());
  for (int i = 0; i < 4; ++i) s += static_cast<char>((n >> (8 * i)) & 0xFF);
  return s + Bytes(component);
}

// Components written by hand, for inputs the writer never makes.
using Body = std::function<void(TPropWriter&)>;

std::vector<uint8_t> Component(const Body& body, std::string_view className = "TDVTableSW") {
  TMemoryStream stream;
  TPropWriter w(stream);
  w.WriteSignature();
  w.WriteComponentHeader(className, "");
  body(w);
  w.WriteListEnd();
  w.WriteListEnd();
  return stream.Bytes();
}

void EmptyCell(TPropWriter& w, const Body& props = {}) {
  w.WriteComponentHeader("TD", "");
  if (props) props(w);
  w.WriteListEnd();
  w.WriteListEnd();
}

// "C" with the counts and an empty cell for each (ColSpan, RowSpan).
Body Cells(int rows, int cols, std::vector<std::pair<int, int>> spans, Body cellProps = {}) {
  return [=](TPropWriter& w) {
    w.WritePropName("C");
    w.WriteInteger(rows);
    if (rows == 0) return;
    w.WriteInteger(cols);
    w.WriteListBegin();
    for (auto [colSpan, rowSpan] : spans) {
      w.WriteInteger(colSpan);
      w.WriteInteger(rowSpan);
      EmptyCell(w, cellProps);
    }
    w.WriteListEnd();
  };
}

Body Then(Body a, Body b) {
  return [=](TPropWriter& w) {
    a(w);
    b(w);
  };
}

Body RowVAlign(std::vector<int> values) {
  return [=](TPropWriter& w) {
    w.WritePropName("RowVAlign");
    w.WriteListBegin();
    for (int v : values) w.WriteInteger(v);
    w.WriteListEnd();
  };
}

Body IntValue(std::string name, int32_t value) {
  return [=](TPropWriter& w) { w.WriteIntegerProp(name, value); };
}

// A 1 x 1 table one level deeper per call, with a word in the innermost cell.
std::unique_ptr<TDVTableItemInfo> NestedTable(TCustomDVData* data, int depth) {
  auto table = std::make_unique<TDVTableItemInfo>(1, 1, data);
  TDVTableCellData& cell = *table->GetCells(0, 0);
  if (depth > 1) {
    auto inner = NestedTable(&cell, depth - 1);
    inner->ParaNo = 0;
    cell.AddItem("", std::move(inner));
  } else {
    AddCellText(cell, "深处");
  }
  return table;
}

class TableStreamTest : public TableEditTest {
 protected:
  void SetBinary(TCustomDVData& data, bool binary) {
    const TDVFOptions options = data.GetDVFOptions() & ~static_cast<TDVFOptions>(dvfoSaveBinary);
    data.SetDVFOptions(binary ? options | dvfoSaveBinary : options);
  }

  // Reads bytes into `copy`, a fresh document with the test's sheet.
  bool LoadCopy(const std::string& bytes) {
    copy = std::make_unique<TCustomDVData>();
    copy->SetDVStyle(&sheet);
    copy->SetDVFOptions(Data().GetDVFOptions());
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TColor color = clNone;
    return copy->LoadDVFFromStream(stream, color, nullptr, nullptr);
  }

  // The editor's document saved in the mode and read into `copy`, which
  // must save to the same bytes; answers the copy's first table.
  TDVTableItemInfo* RoundTrip(bool binary) {
    SetBinary(Data(), binary);
    const std::string saved = DvfBytes(Data());
    if (!LoadCopy(saved)) {
      ADD_FAILURE() << "the saved document did not load";
      return nullptr;
    }
    EXPECT_EQ(DvfBytes(*copy), saved);
    for (int i = 0; i < copy->ItemCount(); ++i)
      if (auto* table = dynamic_cast<TDVTableItemInfo*>(copy->GetItem(i))) return table;
    ADD_FAILURE() << "no table read back";
    return nullptr;
  }

  // Loading the bytes into the editor's document fails and leaves it as it was.
  testing::AssertionResult RefusedUnchanged(const std::string& bytes) {
    const std::string before = DvfBytes(Data());
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TColor color = clNone;
    if (Data().LoadDVFFromStream(stream, color, nullptr, nullptr)) return testing::AssertionFailure() << "accepted";
    if (DvfBytes(Data()) != before) return testing::AssertionFailure() << "the document changed";
    return testing::AssertionSuccess();
  }

  // The component read into a table made for it; answers the message of
  // the read error, empty when it read.
  std::string ReadError(const std::vector<uint8_t>& component) {
    TDVTableItemInfo table(&Data());
    table.Rows.DVData = &Data();
    try {
      LoadTableComponent(component, table);
    } catch (const EReadError& e) {
      return e.what();
    }
    return {};
  }

  std::unique_ptr<TCustomDVData> copy;
};

TEST_F(TableStreamTest, MergedFirstRowGoldenBytes) {
  auto table = MakeTable(2, 2);
  ASSERT_TRUE(table->Rows.MergeCellsPlain(0, 0, 1, 2, true, true));
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  const std::string emptyCell = std::string("\x02TD", 3) + '\0' + '\0' + '\0';
  const std::string expected = std::string("TPF0") + "\x0ATDVTableSW" + '\0' +  // class and empty name
                               "\x12T.TextRowSeparator\x06\x02\r\n" +            // separators: no declared default
                               "\x12T.TextColSeparator\x06\x02\r\n" +            //
                               "\x01" "C" "\x02\x02" "\x02\x02" "\x01" +         // 2 rows, 2 columns, list
                               "\x02\x02" "\x02\x01" + emptyCell +               // (2, 1): the merged row
                               "\x02\x01" "\x02\x01" + emptyCell +               // (1, 1)
                               "\x02\x01" "\x02\x01" + emptyCell +               // (1, 1)
                               '\0' +                                            // end of the cells
                               '\0' + '\0';                                      // end of properties, no children
  EXPECT_EQ(Bytes(SaveTableComponent(t, 0, t.Rows.Count())), expected);
  SetBinary(Data(), false);
  EXPECT_EQ(DvfBytes(Data()), "-8 1 2\r\n-60 3 0 0 0 0 \r\n\r\n1\r\n" + BytesToHex(expected) + "\r\n");

  TDVTableItemInfo* back = RoundTrip(false);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(DumpTable(*back), DumpTable(t));
  EXPECT_TRUE(back->Rows.IsValidGrid());
}

// The tables the examples describe, each saved in both modes: read back,
// the grid and every property and text are the same, and so are the bytes.
TEST_F(TableStreamTest, ExamplesRoundTripInBothModes) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<TDVTableItemInfo>()> make;
  };
  const Case cases[] = {
      {"merged first row with text",
       [this] {
         auto t = MakeTable(2, 2);
         t->Rows.MergeCellsPlain(0, 0, 1, 2, true, true);
         AddCellText(*t->GetCells(0, 0), "合并的单元格");
         AddCellText(*t->GetCells(1, 1), "右下");
         return t;
       }},
      {"a large table merged into one cell",
       [this] {
         auto t = MakeTable(100, 20);
         t->Rows.MergeCellsPlain(0, 0, 100, 20, true, true);
         return t;
       }},
      {"glued cells, as the insert-table command makes them",
       [this] {
         auto t = MakeTable(2, 2);
         t->CellHSpacing = t->CellVSpacing = -1;
         return t;
       }},
      {"merged column and block",
       [this] {
         auto t = MakeTable(4, 3);
         t->Rows.MergeCellsPlain(0, 0, 4, 1, true, true);
         t->Rows.MergeCellsPlain(1, 1, 2, 2, true, true);
         AddCellText(*t->GetCells(1, 1), "块");
         return t;
       }},
      {"properties and row alignments",
       [this] {
         auto t = MakeTable(2, 3);
         t->Options = dvtoEditing | dvtoHideGridLines | dvtoOverlappingCorners;
         t->PrintOptions = dvtoWhiteBackground;
         t->BestWidth = -80;
         t->Color = clNone;
         t->TextRowSeparator = "";
         t->TextColSeparator = "\t";
         t->BorderWidth = 2;
         t->BorderColor = 0x123456;
         t->BorderStyle = dvtbColor;
         t->CellBorderWidth = 1;
         t->CellBorderStyle = dvtbLoweredColor;
         t->CellPadding = 0;
         t->HRuleWidth = 1;
         t->HRuleColor = clRed;
         t->VOutermostRule = true;
         t->CellHSpacing = 0;
         t->Rows[0]->VAlign = dvcBottom;
         t->Rows[1]->VAlign = dvcVDefault;
         TDVTableCellData& c = *t->GetCells(1, 2);
         c.Color = clYellow;
         c.BorderColor = 0x808080;
         c.BestWidth = -25;
         c.BestHeight = 40;
         c.VisibleBorders.SetValues(false, true, false, true);
         c.VAlign = dvcMiddle;
         t->GetCells(0, 1)->BestWidth = 120;
         return t;
       }},
      {"Unicode and 8-bit text in one cell",
       [this] {
         auto t = MakeTable(1, 2);
         TDVTableCellData& c = *t->GetCells(0, 1);
         AddCellText(c, "文字");
         c.AddNL(ItemText("𠀀 wide", true), kUni, kIndentPara);
         c.GetItem(1)->ItemOptions |= dvioUnicode;  // the cell has no sheet until it is placed
         return t;
       }},
      {"no rows",
       [this] {
         auto t = MakeTable(1, 1);
         t->Rows.Reset(0, 0);
         return t;
       }},
      {"nested table", [this] { return NestedTable(&Data(), 3); }},
  };
  for (const Case& k : cases) {
    for (bool binary : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (binary ? " binary" : " hexadecimal"));
      TDVTableItemInfo& t = PlaceInEditor(k.make());
      TDVTableItemInfo* back = RoundTrip(binary);
      ASSERT_NE(back, nullptr);
      EXPECT_EQ(DumpTable(*back), DumpTable(t));
      EXPECT_EQ(back->Rows.Count(), t.Rows.Count());
      for (int r = 0; r < t.Rows.Count(); ++r) EXPECT_EQ(back->Rows[r]->VAlign, t.Rows[r]->VAlign);
      EXPECT_EQ(back->TextRowSeparator, t.TextRowSeparator);
      EXPECT_EQ(back->TextColSeparator, t.TextColSeparator);
      EXPECT_EQ(back->Options, t.Options);
      EXPECT_EQ(back->PrintOptions, t.PrintOptions);
    }
  }
}

TEST_F(TableStreamTest, WhatIsLeftOutAtItsDefault) {
  auto has = [](const std::vector<uint8_t>& bytes, std::string_view name) {
    return Bytes(bytes).find(std::string(1, static_cast<char>(name.size())) + std::string(name)) !=
           std::string::npos;
  };
  auto t = MakeTable(2, 2);
  EXPECT_FALSE(has(SaveTableComponent(*t, 0, 2), "RowVAlign"));  // every row at the top
  EXPECT_FALSE(has(SaveTableComponent(*t, 0, 2), "T.Options"));
  t->Rows[1]->VAlign = dvcMiddle;
  EXPECT_TRUE(has(SaveTableComponent(*t, 0, 2), "RowVAlign"));
  EXPECT_FALSE(has(SaveTableComponent(*t, 0, 1), "RowVAlign"));  // only the rows written count

  // One empty text item of text style 0 and paragraph style 0 is no content.
  t->GetCells(0, 0)->AddNL("", kGbk, kPlainPara);
  EXPECT_FALSE(has(SaveTableComponent(*t, 0, 2), "Data"));
  t->GetCells(0, 0)->Clear();
  t->GetCells(0, 0)->AddNL("", kUni, kPlainPara);
  EXPECT_TRUE(has(SaveTableComponent(*t, 0, 2), "Data"));
  t->GetCells(0, 0)->Clear();
  t->GetCells(0, 0)->AddNL("", kGbk, kIndentPara);
  EXPECT_TRUE(has(SaveTableComponent(*t, 0, 2), "Data"));

  t->Rows.Reset(0, 0);
  const std::string cells = std::string("\x01" "C" "\x02", 3) + '\0';
  EXPECT_NE(Bytes(SaveTableComponent(*t, 0, 0)).find(cells + '\0' + '\0'), std::string::npos);
}

TEST_F(TableStreamTest, RowRangeWritesThoseRowsOnly) {
  auto t = MakeTable(4, 2);
  for (int r = 0; r < 4; ++r) AddCellText(*t->GetCells(r, 0), "行" + std::to_string(r));
  t->Rows.MergeCellsPlain(1, 1, 2, 1, true, true);
  TDVTableItemInfo table(&Data());
  table.Rows.DVData = &Data();
  LoadTableComponent(SaveTableComponent(*t, 1, 2), table);
  ASSERT_EQ(table.Rows.Count(), 2);
  EXPECT_EQ(DescribeDoc(*table.GetCells(0, 0)), DescribeDoc(*t->GetCells(1, 0)));
  EXPECT_EQ(DescribeDoc(*table.GetCells(1, 0)), DescribeDoc(*t->GetCells(2, 0)));
  EXPECT_EQ(table.GetCells(0, 1)->RowSpan, 2);
  EXPECT_TRUE(table.Rows.IsValidGrid());
}

TEST_F(TableStreamTest, SpansPastTheGridAreClipped) {
  TDVTableItemInfo table(&Data());
  table.Rows.DVData = &Data();
  LoadTableComponent(Component(Cells(2, 3, {{5, 1}, {1, 1}, {9, 9}})), table);
  EXPECT_EQ(table.GetCells(0, 0)->ColSpan, 3);
  EXPECT_EQ(table.GetCells(1, 1)->ColSpan, 2);
  EXPECT_EQ(table.GetCells(1, 1)->RowSpan, 1);
  EXPECT_TRUE(table.Rows.IsValidGrid());
}

// Lengths come into the range the layout can sum: a table written with a
// larger one still loads.
TEST_F(TableStreamTest, LengthsOutOfRangeAreBroughtIntoIt) {
  const Body cell = [](TPropWriter& w) {
    w.WriteIntegerProp("C.BestHeight", -1);
    w.WriteIntegerProp("C.BestWidth", -101);
  };
  TDVTableItemInfo table(&Data());
  table.Rows.DVData = &Data();
  LoadTableComponent(Component(Then(Then(IntValue("T.CellPadding", 5000), IntValue("T.BorderWidth", -1)),
                                    Then(IntValue("T.BestWidth", 1 << 30), Cells(1, 1, {{1, 1}}, cell)))),
                     table);
  EXPECT_EQ(table.CellPadding, 1000);
  EXPECT_EQ(table.BorderWidth, 0);
  EXPECT_EQ(table.BestWidth, 32767);
  EXPECT_EQ(table.GetCells(0, 0)->BestHeight, 0);
  EXPECT_EQ(table.GetCells(0, 0)->BestWidth, -100);
}

TEST_F(TableStreamTest, ExtraPropertyLinesAreRead) {
  // A table record with a line the table has no property for: counted in
  // the header, read and passed over.
  const std::vector<uint8_t> component = Component(Cells(1, 1, {{1, 1}}));
  const std::string doc = "-8 1 2\r\n-60 4 0 0 0 0 \r\nname\r\nvshift=5\r\n1\r\n" + BytesToHex(Bytes(component)) + "\r\n";
  ASSERT_TRUE(LoadCopy(doc));
  ASSERT_EQ(copy->ItemCount(), 1);
  EXPECT_EQ(copy->GetItemTextR(0), "name");
}

TEST_F(TableStreamTest, NestingDeeperThanTheCapIsRefused) {
  for (int depth : {DVTableMaxNesting, DVTableMaxNesting + 1}) {
    SCOPED_TRACE(depth);
    // Not laid out: the writer has no cap, the reader has.
    TCustomDVData source;
    source.SetDVStyle(&sheet);
    auto table = NestedTable(&source, depth);
    table->ParaNo = 0;
    source.AddItem("", std::move(table));
    // Binary: in hexadecimal each level doubles the bytes of those inside it.
    SetBinary(source, true);
    EXPECT_EQ(LoadCopy(DvfBytes(source)), depth <= DVTableMaxNesting);
  }
}

TEST_F(TableStreamTest, MalformedRecordsAreRefusedAndChangeNothing) {
  const std::string wrongEnd = "Wrong end of cells list";
  const Body oneCell = Cells(1, 1, {{1, 1}});
  struct Case {
    const char* name;
    std::vector<uint8_t> component;
    std::string message;  // the exact message where the format names one
  };
  const Case cases[] = {
      {"cells list ends early", Component(Cells(2, 2, {{1, 1}, {1, 1}, {1, 1}})), wrongEnd},
      {"cells list ends early under a merge", Component(Cells(2, 2, {{2, 1}, {1, 1}})), wrongEnd},
      {"cells list runs long", Component(Cells(1, 1, {{1, 1}, {1, 1}})), wrongEnd},
      {"no cells but rows", Component(Cells(1, 1, {})), wrongEnd},
      {"negative rows", Component(Cells(-1, 1, {})), ""},
      {"rows past the cap", Component(Cells(DVTableMaxRows + 1, 1, {{1, DVTableMaxRows + 1}})), ""},
      {"negative columns", Component(Cells(1, -2, {})), ""},
      {"columns past the cap", Component(Cells(1, DVTableMaxCols + 1, {{DVTableMaxCols + 1, 1}})), ""},
      {"positions past the cap", Component(Cells(2000, 1000, {{1000, 2000}})), ""},
      {"a huge grid from a few bytes", Component(Cells(DVTableMaxRows, 10, {{10, DVTableMaxRows}})), ""},
      {"overlapping spans", Component(Cells(2, 2, {{1, 1}, {1, 2}, {2, 1}})), ""},
      {"span of 0", Component(Cells(1, 2, {{0, 1}, {1, 1}})), ""},
      {"negative span", Component(Cells(1, 1, {{1, -3}})), ""},
      {"row alignment 4", Component(Then(oneCell, RowVAlign({4}))), ""},
      {"negative row alignment", Component(Then(oneCell, RowVAlign({-1}))), ""},
      {"fewer row alignments than rows", Component(Then(Cells(2, 1, {{1, 1}, {1, 1}}), RowVAlign({0}))), ""},
      {"more row alignments than rows", Component(Then(oneCell, RowVAlign({0, 1}))), ""},
      {"cell alignment not a name",
       Component(Cells(1, 1, {{1, 1}}, [](TPropWriter& w) { w.WriteIdentProp("C.VAlign", "dvcSideways"); })), ""},
      {"unknown cell property", Component(Cells(1, 1, {{1, 1}}, IntValue("C.Width", 5))), ""},
      {"cell content not a document",
       Component(Cells(1, 1, {{1, 1}}, [](TPropWriter& w) {
         const uint8_t junk[] = {'x', 'y', 'z'};
         w.WriteBinaryProp("Data", junk);
       })),
       ""},
      {"unknown table property", Component(Then(IntValue("T.Colour", 1), oneCell)), ""},
      {"unknown option",
       Component(Then([](TPropWriter& w) { w.WriteSetProp("T.Options", {"dvtoEverything"}); }, oneCell)), ""},
      {"no cells", Component(IntValue("T.BorderWidth", 1)), ""},
      {"another class", Component(oneCell, "TDVTableXX"), ""},
      {"cut short", [&] {
         std::vector<uint8_t> v = Component(oneCell);
         v.resize(v.size() - 3);
         return v;
       }(), ""},
  };
  auto before = MakeTable(1, 2);
  AddCellText(*before->GetCells(0, 1), "原来的内容");
  PlaceInEditor(std::move(before));
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::string error = ReadError(k.component);
    EXPECT_FALSE(error.empty());
    if (!k.message.empty()) {
      EXPECT_EQ(error, k.message);
    }
    for (bool binary : {false, true}) EXPECT_TRUE(RefusedUnchanged(Record(k.component, binary)));
  }
  // Hexadecimal text that is not: a bad digit, an odd length.
  const std::string good = BytesToHex(Bytes(Component(oneCell)));
  for (const std::string& hex : {"0G" + good.substr(2), good.substr(1)}) {
    const std::string doc = "-8 1 2\r\n-60 3 0 0 0 0 \r\n\r\n1\r\n" + hex + "\r\n";
    EXPECT_TRUE(RefusedUnchanged(doc));
  }
  // The same well-formed component loads.
  EXPECT_TRUE(LoadCopy(Record(Component(oneCell), false)));
  EXPECT_TRUE(LoadCopy(Record(Component(oneCell), true)));
}

}  // namespace
}  // namespace quillet::test
