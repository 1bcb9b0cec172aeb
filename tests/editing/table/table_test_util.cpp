#include "editing/table/table_test_util.h"

#include <QtTest/QTest>

namespace quillet::test {

namespace {

const char* const kTableProps[] = {"BestWidth", "Color", "BorderWidth", "BorderColor", "BorderLightColor",
                                   "BorderStyle", "BorderVSpacing", "BorderHSpacing", "CellBorderWidth",
                                   "CellBorderColor", "CellBorderLightColor", "CellPadding", "CellBorderStyle",
                                   "VRuleWidth", "VRuleColor", "HRuleWidth", "HRuleColor", "CellVSpacing",
                                   "CellHSpacing", "VOutermostRule", "HOutermostRule"};
const char* const kCellProps[] = {"Color", "BorderColor", "BorderLightColor", "BestWidth", "BestHeight",
                                  "VisibleBorders", "VAlign"};

}  // namespace

std::string DumpTable(const TDVTableItemInfo& table) {
  std::string s;
  for (const char* name : kTableProps) {
    int32_t v = 0;
    table.GetIntPropertyByName(name, v);
    s += std::string(name) + "=" + std::to_string(v) + " ";
  }
  for (int r = 0; r < table.Rows.Count(); ++r) {
    s += "\n";
    for (int c = 0; c < table.Rows[r]->Count(); ++c) {
      const TDVTableCellData* cell = table.GetCells(r, c);
      if (!cell) {
        s += "[-]";
        continue;
      }
      s += "[" + std::to_string(cell->RowSpan) + "x" + std::to_string(cell->ColSpan);
      for (const char* name : kCellProps) {
        int32_t v = 0;
        cell->GetIntPropertyByName(name, v);
        s += " " + std::to_string(v);
      }
      s += " " + DescribeDoc(*cell) + "]";
    }
  }
  return s;
}

std::string Grid(const TDVTableItemInfo& t) {
  std::string s;
  for (int r = 0; r < t.Rows.Count(); ++r) {
    if (r > 0) s += " | ";
    for (int c = 0; c < t.Rows[r]->Count(); ++c) {
      if (c > 0) s += " ";
      const TDVTableCellData* cell = t.GetCells(r, c);
      if (!cell) {
        s += "-";
        continue;
      }
      std::string text;
      for (int i = 0; i < cell->ItemCount(); ++i) text += cell->GetItemTextR(i);
      s += text.empty() ? "_" : text;
      if (cell->RowSpan != 1 || cell->ColSpan != 1)
        s += ":" + std::to_string(cell->RowSpan) + "x" + std::to_string(cell->ColSpan);
    }
  }
  return s;
}

void UndoKey(QWidget* widget) {
  QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_Z, QString(QChar(0x1A)), Qt::ControlModifier);
}

void AddCellText(TDVTableCellData& cell, const std::string& utf8) { cell.AddNL(ItemText(utf8, false), kGbk, 0); }

void TableEditTest::SetUp() {
  EditTest::SetUp();
  RegisterTableItem();
}

std::unique_ptr<TDVTableItemInfo> TableEditTest::MakeTable(int rows, int cols) {
  return std::make_unique<TDVTableItemInfo>(rows, cols, &Data());
}

TDVTableItemInfo& TableEditTest::PlaceInEditor(std::unique_ptr<TDVTableItemInfo> table) {
  TDVTableItemInfo& t = *table;
  Data().Clear();
  table->ParaNo = 0;
  Data().AddItem("", std::move(table));
  Data().Format();
  return t;
}

TDVTableItemInfo& TableEditTest::PlaceInViewer(std::unique_ptr<TDVTableItemInfo> table) {
  viewer = std::make_unique<TDocView>();
  viewer->SetStyle(&sheet);
  viewer->SetBounds(0, 0, 400, 300);
  viewer->Show();
  TDVTableItemInfo& t = *table;
  table->ParaNo = 0;
  viewer->DVData().AddItem("", std::move(table));
  viewer->Format();
  return t;
}

}  // namespace quillet::test
