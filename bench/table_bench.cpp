// A large table laid out and painted on the Qt canvas with the pinned
// Chinese font, beside QTextDocument with a QTextTable of the same cells.
//
// 100 rows x 20 columns of short Chinese words (GBK, 12 points), the table
// alone in a document 700 pixels wide:
//   BM_TableLayout        the table's width pass, every cell formatted,
//                         row heights, with the document around it
//   BM_QTextTableLayout   QTextDocument laying out the same table as far as
//                         its documentSize
//   BM_TablePaint         one repaint of a 700 x 900 window over the table
// A document of 20 such tables (not laid out), in the document stream as a
// record stores it (binary, with its styles), beside QTextDocument's HTML:
//   BM_TablesSave         the document written to a stream
//   BM_TablesLoad         the stream read into a new document
//   BM_QTextTablesToHtml  QTextDocument::toHtml of the same 20 tables
//   BM_QTextTablesSetHtml QTextDocument::setHtml of that HTML
// Editing the table:
//   BM_TableInsertRowUndo a row inserted into the middle of the table in an
//                         editor (one undo group, the table laid out
//                         again), then undone with its layout
//   BM_QTextTableInsertRowUndo  QTextTable::insertRows in the middle and
//                         documentSize, then undo and documentSize
//   BM_TableConversionUndo every cell selected and its text made bold by a
//                         style conversion (one undo group, each cell
//                         through the hidden editor, the table laid out
//                         again), then undone
//   BM_QTextTableBoldUndo the whole table selected, mergeCharFormat bold and
//                         documentSize, then undo and documentSize
//   BM_TableCellTyping    a character typed (a key event) into the middle
//                         cell, open in its in-place editor, the row growing
//                         as its text wraps and the band repainted; every
//                         256 characters the cell is put back (not timed)
//   BM_QTextTableCellTyping  QTextCursor::insertText of a character in the
//                         same cell of the QTextTable and documentSize
// Run:
//   build/release/bench/table_bench
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QImage>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bold_conversion.h"
#include "bench/support/table_sample.h"
#include "bench/support/widget_bench_main.h"
#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet::bench {
namespace {

void BM_TableLayout(benchmark::State& state) {
  QImage image(1, 1, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  for (auto _ : state) {
    table->MarkChanged();  // the width pass runs in full every time
    data->Format();
  }
  state.counters["height"] = static_cast<double>(table->GetHeight());
}
BENCHMARK(BM_TableLayout)->Unit(benchmark::kMillisecond);

void BM_QTextTableLayout(benchmark::State& state) {
  QTextDocument doc;
  FillQTextTable(doc);
  for (auto _ : state) {
    doc.markContentsDirty(0, doc.characterCount());
    doc.setTextWidth(kWidth);
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  }
  state.counters["height"] = doc.documentLayout()->documentSize().height();
}
BENCHMARK(BM_QTextTableLayout)->Unit(benchmark::kMillisecond);

void BM_TablePaint(benchmark::State& state) {
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  TQtCanvas canvas(window);
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<BenchDocument> data = MakeTableDocument(canvas, table);
  for (auto _ : state) {
    data->PaintTo(canvas, Rect(0, 0, kWidth, kHeight));
    canvas.EndPaint();
  }
}
BENCHMARK(BM_TablePaint)->Unit(benchmark::kMillisecond);

// ---- a document of many tables in the document stream ----

constexpr int kTables = 20;

// kTables tables of the cells' words, as a stored record is written.
std::unique_ptr<TCustomDVData> MakeTablesDocument(TDVStyle& sheet) {
  TFontInfo& font = sheet.TextStyles()[0];
  font.FontName = "宋体";
  font.Charset = GB2312_CHARSET;
  font.Size = kPointSize;
  auto data = std::make_unique<TCustomDVData>();
  data->SetDVStyle(&sheet);
  data->SetDVFOptions(dvfoSaveBinary | dvfoSaveTextStyles | dvfoSaveParaStyles);
  const std::vector<std::string> words = CellWords();
  for (int t = 0; t < kTables; ++t) {
    auto table = std::make_unique<TDVTableItemInfo>(kRows, kCols, data.get());
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) table->GetCells(r, c)->AddNL(words[static_cast<size_t>(r * kCols + c)], 0, 0);
    table->ParaNo = 0;
    data->AddItem("", std::move(table));
  }
  return data;
}

std::vector<uint8_t> SaveTables(TCustomDVData& data) {
  TMemoryStream stream;
  if (!data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr)) std::abort();
  return stream.Bytes();
}

void BM_TablesSave(benchmark::State& state) {
  TDVStyle sheet;
  std::unique_ptr<TCustomDVData> data = MakeTablesDocument(sheet);
  size_t size = 0;
  for (auto _ : state) size = SaveTables(*data).size();
  state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_TablesSave)->Unit(benchmark::kMillisecond);

void BM_TablesLoad(benchmark::State& state) {
  TDVStyle sheet;
  const std::vector<uint8_t> bytes = SaveTables(*MakeTablesDocument(sheet));
  for (auto _ : state) {
    TCustomDVData data;
    data.SetDVStyle(&sheet);
    TMemoryStream stream(bytes);
    TColor color = clNone;
    if (!data.LoadDVFFromStream(stream, color, nullptr, nullptr)) std::abort();
    benchmark::DoNotOptimize(data.ItemCount());
  }
}
BENCHMARK(BM_TablesLoad)->Unit(benchmark::kMillisecond);

void MakeQTextTables(QTextDocument& doc) {
  SetUpQTextDocument(doc);
  QTextCursor cursor(&doc);
  const std::vector<std::string> words = CellWords();
  for (int t = 0; t < kTables; ++t) {
    InsertQTextTable(cursor, words);
    cursor.movePosition(QTextCursor::End);
  }
}

void BM_QTextTablesToHtml(benchmark::State& state) {
  QTextDocument doc;
  MakeQTextTables(doc);
  qsizetype size = 0;
  for (auto _ : state) size = doc.toHtml().size();
  state.counters["chars"] = static_cast<double>(size);
}
BENCHMARK(BM_QTextTablesToHtml)->Unit(benchmark::kMillisecond);

void BM_QTextTablesSetHtml(benchmark::State& state) {
  QTextDocument source;
  MakeQTextTables(source);
  const QString html = source.toHtml();
  for (auto _ : state) {
    QTextDocument doc;
    doc.setHtml(html);
    benchmark::DoNotOptimize(doc.characterCount());
  }
}
BENCHMARK(BM_QTextTablesSetHtml)->Unit(benchmark::kMillisecond);

// The table alone in an editor of the window's size, laid out.
struct TableEditor {
  TDVStyle sheet;
  TDocViewEdit editor;
  TDVTableItemInfo* table = nullptr;

  TableEditor() {
    TFontInfo& font = sheet.TextStyles()[0];
    font.FontName = "宋体";
    font.Charset = GB2312_CHARSET;
    font.Size = kPointSize;
    editor.SetStyle(&sheet);
    auto t = std::make_unique<TDVTableItemInfo>(kRows, kCols, &editor.EditData());
    table = t.get();
    const std::vector<std::string> words = CellWords();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) table->GetCells(r, c)->AddNL(words[static_cast<size_t>(r * kCols + c)], 0, 0);
    editor.EditData().AddItem("", std::move(t));
    editor.Show();
    editor.ClientWidget()->resize(kWidth, kHeight);
    editor.SetBounds(0, 0, kWidth + editor.Width() - editor.ClientWidth(),
                     kHeight + editor.Height() - editor.ClientHeight());
    editor.Format();
  }
};

void BM_TableInsertRowUndo(benchmark::State& state) {
  TableEditor e;
  TDVEditDVData& data = e.editor.EditData();
  for (auto _ : state) {
    e.table->InsertRows(kRows / 2, 1, false, kRows / 2);
    data.UndoList->Undo(data);
  }
  state.counters["rows"] = e.table->Rows.Count();
  state.counters["height"] = static_cast<double>(e.table->GetHeight());
}
BENCHMARK(BM_TableInsertRowUndo)->Unit(benchmark::kMillisecond);

void BM_QTextTableInsertRowUndo(benchmark::State& state) {
  QTextDocument doc;
  QTextTable* table = FillQTextTable(doc);
  doc.setTextWidth(kWidth);
  doc.clearUndoRedoStacks();
  benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  for (auto _ : state) {
    table->insertRows(kRows / 2, 1);
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
    doc.undo();
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  }
  state.counters["rows"] = table->rows();
  state.counters["height"] = doc.documentLayout()->documentSize().height();
}
BENCHMARK(BM_QTextTableInsertRowUndo)->Unit(benchmark::kMillisecond);

void BM_TableConversionUndo(benchmark::State& state) {
  TableEditor e;
  UseBoldConversion(e.sheet, e.editor);
  TDVEditDVData& data = e.editor.EditData();
  for (auto _ : state) {
    e.table->SelectRows(0, kRows);
    data.ApplyStyleConversion_(0);
    if (e.table->GetCells(kRows - 1, kCols - 1)->GetItemStyle(0) != 1) state.SkipWithError("the cells were not converted");
    data.UndoList->Undo(data);
  }
  state.counters["height"] = static_cast<double>(e.table->GetHeight());
}
BENCHMARK(BM_TableConversionUndo)->Unit(benchmark::kMillisecond);

void BM_QTextTableBoldUndo(benchmark::State& state) {
  QTextDocument doc;
  QTextTable* table = FillQTextTable(doc);
  doc.setTextWidth(kWidth);
  doc.clearUndoRedoStacks();
  benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  for (auto _ : state) {
    QTextCursor cursor(&doc);
    cursor.setPosition(table->firstPosition());
    cursor.setPosition(table->lastPosition(), QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(bold);
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
    doc.undo();
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  }
  state.counters["height"] = doc.documentLayout()->documentSize().height();
}
BENCHMARK(BM_QTextTableBoldUndo)->Unit(benchmark::kMillisecond);

constexpr int kTypedRun = 256;

void BM_TableCellTyping(benchmark::State& state) {
  TableEditor e;
  const int row = kRows / 2, col = kCols / 2;
  const int itemNo = e.table->GetMyItemNo();
  auto open = [&] {
    e.table->CreateInplace(itemNo, row, col, false, true, true);
    int r = -1, c = -1;
    return e.table->GetEditedCell(r, c);
  };
  TDVTableInplaceEdit* cell = open();
  if (!cell) {
    state.SkipWithError("the cell did not open");
    return;
  }
  const QString typed = QString::fromUtf8("字");
  int run = 0;
  int32_t tallest = 0;
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
    QApplication::sendEvent(cell->Widget(), &press);
    if (++run == kTypedRun) {
      state.PauseTiming();
      tallest = std::max(tallest, e.table->GetHeight());
      e.table->DestroyInplace();
      TDVEditDVData& data = e.editor.EditData();
      data.UndoList->Undo(data);
      e.table->DestroyInplace();
      data.UndoList->Clear();
      data.RedoList->Clear();
      cell = open();
      run = 0;
      state.ResumeTiming();
    }
  }
  state.counters["tallest"] = static_cast<double>(std::max(tallest, e.table->GetHeight()));
}
BENCHMARK(BM_TableCellTyping)->Unit(benchmark::kMicrosecond);

void BM_QTextTableCellTyping(benchmark::State& state) {
  QTextDocument doc;
  QTextTable* table = FillQTextTable(doc);
  doc.setTextWidth(kWidth);
  doc.clearUndoRedoStacks();
  benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
  const QTextTableCell cell = table->cellAt(kRows / 2, kCols / 2);
  const QString typed = QString::fromUtf8("字");
  int run = 0;
  for (auto _ : state) {
    QTextCursor cursor = cell.lastCursorPosition();
    cursor.insertText(typed);
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
    if (++run == kTypedRun) {
      state.PauseTiming();
      while (doc.isUndoAvailable()) doc.undo();
      benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
      run = 0;
      state.ResumeTiming();
    }
  }
  state.counters["height"] = doc.documentLayout()->documentSize().height();
}
BENCHMARK(BM_QTextTableCellTyping)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  quillet::RegisterTableItem();
  return quillet::bench::RunWidgetBenchmarks(argc, argv);
}
