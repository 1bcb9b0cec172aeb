#pragma once
// An editor holding a text, a picture, a line and a table, for the
// item-properties dialog's tests and benchmark.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>

#include "editing/control/editor.h"
#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "editing/table/table_rows.h"
#include "engine/model/break_item.h"
#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {

struct ItemEditor {
  enum { kText, kPicture, kLine, kTable };

  explicit ItemEditor(int pictureWidth = 300, int pictureHeight = 40, int rows = 2, int cols = 2) {
    window.resize(500, 400);
    editor.SetStyle(&sheet);
    editor.SetParentWidget(&window);
    editor.SetBounds(0, 0, 500, 400);
    editor.AddNL("text", 0, 0);
    auto bitmap = std::make_unique<TBitmap>();
    if (pictureWidth > 0) bitmap->SetSize(pictureWidth, pictureHeight);
    auto pictureItem = std::make_unique<TDVGraphicItemInfo>(&editor.DVData(), std::move(bitmap), dvvaBaseline);
    pictureItem->ParaNo = 0;
    picture = pictureItem.get();
    editor.AddItem("pic", std::move(pictureItem));
    auto lineItem = std::make_unique<TDVBreakItemInfo>(&editor.DVData(), 2, dvbsLine, clRed);
    lineItem->ParaNo = 0;
    line = lineItem.get();
    editor.AddItem("", std::move(lineItem));
    auto tableItem = std::make_unique<TDVTableItemInfo>(rows, cols, &editor.DVData());
    tableItem->ParaNo = 0;
    table = tableItem.get();
    editor.AddItem("", std::move(tableItem));
    editor.AddNL("end", 0, 0);
    editor.Format();
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
  }
  void CaretAt(int itemNo) {
    editor.SetSelectionBounds(itemNo, 1, itemNo, 1);
  }
  void SelectAllCells() {
    CaretAt(kTable);
    table->Select(0, 0, table->Rows.Count() - 1, table->Rows.GetColCount() - 1);
  }
  TDVTableCellData& Cell(int r, int c) { return *table->GetCells(r, c); }

  TDVStyle sheet;
  QWidget window;
  TDocViewEdit editor;
  TDVGraphicItemInfo* picture;
  TDVBreakItemInfo* line;
  TDVTableItemInfo* table;
};

}  // namespace quillet::test
