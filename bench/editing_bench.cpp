// Undo and redo of a large edit in the editor, beside QTextDocument; then
// one Backspace and a deleted 1,000-paragraph selection at the caret.
//
// The layout benchmarks' document of 50,000 paragraphs of mixed Chinese
// (GBK) and Latin text, wrapped at 700 pixels, gets one undo group that
// inserts 10,000 paragraphs in its middle. One iteration undoes that group
// and redoes it, each with its reformat: the undo takes the items out into
// the redo list and formats the sections around them again; the redo puts
// the same items back in one block and lays them out. QTextDocument does the
// same with the same text: one QTextCursor edit block inserted, then undo
// and redo, each followed by documentSize(), which finishes its layout. Run:
//   build/release/bench/editing_bench
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/layout_sample.h"
#include "bench/support/widget_bench_main.h"
#include "editing/control/editor.h"
#include "engine/model/item_registry.h"
#include "engine/style/style_sheet.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 700, kHeight = 900;
constexpr int kParagraphs = 50000, kInserted = 10000;

struct Editor {
  TDVStyle sheet;
  TDocViewEdit editor;

  explicit Editor(int paragraphs = kParagraphs) {
    TFontInfo& font = sheet.TextStyles()[0];
    font.FontName = "宋体";
    font.Charset = GB2312_CHARSET;
    font.Size = 12;
    editor.SetStyle(&sheet);
    for (const std::string& p : LayoutSampleParagraphs(paragraphs)) editor.AddNL(p, 0, 0);
    editor.Show();
    editor.ClientWidget()->resize(kWidth, kHeight);
    editor.SetBounds(0, 0, kWidth + editor.Width() - editor.ClientWidth(),
                     kHeight + editor.Height() - editor.ClientHeight());
    editor.Format();
  }

  // The group that inserts the paragraphs in the middle, as an editing
  // operation makes it.
  void InsertGroup(const std::vector<std::string>& paragraphs) {
    TDVEditDVData& data = editor.EditData();
    TDVEditOperation operation(data);
    const int at = data.ItemCount() / 2;
    int start, end;
    data.GetParaBounds(data.FindDrawItemByItem(at - 1), data.FindDrawItemByItem(at), start, end);
    data.BeginUndoSequence(dvutInsert, true);
    TDVEditDVData::TItemBlock list;  // last first
    for (auto p = paragraphs.rbegin(); p != paragraphs.rend(); ++p) {
      auto item = DocViewTextItemClass(&data);
      list.emplace_back(*p, std::move(item));
    }
    bool full = false;
    data.Do_InsertItems(at, std::move(list), false, full);
    data.Reformat_(full, start, end, static_cast<int>(paragraphs.size()));
    data.Change();
  }
};

// The sample as a QTextDocument of the editor's width, laid out.
std::unique_ptr<QTextDocument> LaidOutQtDocument(int paragraphs) {
  std::unique_ptr<QTextDocument> doc = MakeQtSampleDocument(LayoutSampleParagraphs(paragraphs));
  doc->setTextWidth(kWidth);
  benchmark::DoNotOptimize(doc->documentLayout()->documentSize());
  return doc;
}

void BM_EditorUndoRedoInsertion(benchmark::State& state) {
  Editor e;
  e.InsertGroup(LayoutSampleParagraphs(kInserted));
  TDVEditDVData& data = e.editor.EditData();
  for (auto _ : state) {
    data.UndoList->Undo(data);
    data.RedoList->Redo(data);
  }
  state.counters["items"] = data.ItemCount();
  state.counters["drawing items"] = data.DrawItems.Count();
}
BENCHMARK(BM_EditorUndoRedoInsertion)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_QTextDocumentUndoRedoInsertion(benchmark::State& state) {
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(kParagraphs);
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  QString inserted;
  for (const std::string& p : LayoutSampleParagraphs(kInserted)) {
    const std::u16string units = MultiByteToWideChar(936, p);
    inserted += QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
    inserted += QChar(u'\n');
  }
  QTextCursor cursor(doc->findBlockByNumber(doc->blockCount() / 2));
  cursor.beginEditBlock();
  cursor.insertText(inserted);
  cursor.endEditBlock();
  benchmark::DoNotOptimize(layout->documentSize());
  for (auto _ : state) {
    doc->undo();
    benchmark::DoNotOptimize(layout->documentSize());
    doc->redo();
    benchmark::DoNotOptimize(layout->documentSize());
  }
  state.counters["blocks"] = doc->blockCount();
}
BENCHMARK(BM_QTextDocumentUndoRedoInsertion)->Unit(benchmark::kMillisecond)->MinTime(2);

// One Backspace in the middle of a paragraph in the middle of the document:
// its record, the partial reformat and the caret's stops. The undo that puts
// the character back for the next iteration is not timed.
void BM_EditorBackspace(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  Editor e(paragraphs);
  TDVEditDVData& data = e.editor.EditData();
  for (auto _ : state) {
    data.SetCaretAtItem(paragraphs / 2, 11, false);
    data.OnBackSpacePress_(false);
    state.PauseTiming();
    data.UndoList->Undo(data);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EditorBackspace)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);

void BM_QTextDocumentBackspace(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(paragraphs);
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  for (auto _ : state) {
    QTextCursor cursor(doc->findBlockByNumber(paragraphs / 2));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 10);
    cursor.deletePreviousChar();
    benchmark::DoNotOptimize(layout->documentSize());
    state.PauseTiming();
    doc->undo();
    benchmark::DoNotOptimize(layout->documentSize());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_QTextDocumentBackspace)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);

constexpr int kSelected = 1000;

// 1,000 paragraphs in the middle selected, deleted, and the deletion undone.
void BM_EditorDeleteSelectionAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  Editor e(paragraphs);
  TDVEditDVData& data = e.editor.EditData();
  const int first = paragraphs / 2;
  for (auto _ : state) {
    data.SetSelectionBounds(first, 3, first + kSelected, 3);
    data.DeleteSelection_();
    data.UndoList->Undo(data);
  }
  state.counters["items"] = data.ItemCount();
}
BENCHMARK(BM_EditorDeleteSelectionAndUndo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentDeleteSelectionAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(paragraphs);
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const int first = paragraphs / 2;
  for (auto _ : state) {
    QTextCursor cursor(doc->findBlockByNumber(first));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
    QTextCursor end(doc->findBlockByNumber(first + kSelected));
    cursor.setPosition(end.position() + 2, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    benchmark::DoNotOptimize(layout->documentSize());
    doc->undo();
    benchmark::DoNotOptimize(layout->documentSize());
  }
  state.counters["blocks"] = doc->blockCount();
}
BENCHMARK(BM_QTextDocumentDeleteSelectionAndUndo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) { return quillet::bench::RunWidgetBenchmarks(argc, argv); }
