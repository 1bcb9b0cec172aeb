// Undo and redo of a large edit in the editor, beside QTextDocument; then
// one Backspace and a deleted 1,000-paragraph selection at the caret; then
// one typed character, 10,000 lines of text inserted and 1,000 paragraphs
// restyled, each of the last two with its undo; then Ctrl+V of 10,000
// copied paragraphs and Ctrl+Z, and a key typed into the control through the
// window layer, each beside QTextEdit.
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
#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bold_conversion.h"
#include "bench/support/layout_sample.h"
#include "bench/support/widget_bench_main.h"
#include "editing/control/editor.h"
#include "engine/model/item_registry.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"

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

// Paragraphs of the sample as UTF-16, each ended by a line feed.
std::u16string SampleLines(int paragraphs) {
  std::u16string lines;
  for (const std::string& p : LayoutSampleParagraphs(paragraphs)) {
    lines += MultiByteToWideChar(936, p);
    lines += u'\n';
  }
  return lines;
}

QString ToQString(const std::u16string& units) {
  return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

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
  const QString inserted = ToQString(SampleLines(kInserted));
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

// Seconds of wall time since start.
double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times one iteration by hand, and keeps the median of the iterations as
// the counter "median us": on a loaded machine the mean wall time counts
// the iterations the process lost the processor in, the median does not.
class TimedIterations {
 public:
  explicit TimedIterations(benchmark::State& state) : state_(state) {}
  ~TimedIterations() {
    if (times_.empty()) return;
    auto middle = times_.begin() + static_cast<std::ptrdiff_t>(times_.size() / 2);
    std::nth_element(times_.begin(), middle, times_.end());
    state_.counters["median us"] = *middle * 1e6;
  }
  void Start() { start_ = std::chrono::steady_clock::now(); }
  void Stop() {
    const double seconds = SecondsSince(start_);
    state_.SetIterationTime(seconds);
    times_.push_back(seconds);
  }

 private:
  benchmark::State& state_;
  std::chrono::steady_clock::time_point start_;
  std::vector<double> times_;
};

// One key typed in the middle of the middle paragraph (`KeyPress`): the
// character, its typing record, the partial reformat and the caret. The
// undo that takes it back and the caret put back are not timed, so every
// key opens a record of its own; the later keys of a typed run only extend
// that record. The key is timed by hand: pausing and resuming the
// benchmark's timers reads the process's CPU clock, a system call, and
// the pair costs about 1.5 µs here, more than half a key.
void BM_EditorTyping(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  Editor e(paragraphs);
  TDVEditDVData& data = e.editor.EditData();
  const int itemNo = paragraphs / 2;
  const int32_t length = data.ItemLength(itemNo);
  data.SetCaretAtItem(itemNo, 11, false);
  TimedIterations timed(state);
  for (auto _ : state) {
    timed.Start();
    data.KeyPress('w');
    timed.Stop();
    if (data.ItemLength(itemNo) != length + 1) state.SkipWithError("the key was not typed");
    data.UndoList->Undo(data);
    data.SetCaretAtItem(itemNo, 11, false);
  }
}
BENCHMARK(BM_EditorTyping)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond)->UseManualTime();

// The same key in QTextDocument: `insertText` of one character at the same
// place, then `documentSize`, which brings the layout up to date; timed by
// hand as the editor's key is.
void BM_QTextDocumentTyping(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(paragraphs);
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const int position = doc->findBlockByNumber(paragraphs / 2).position() + 10;
  QTextCursor cursor(doc.get());
  TimedIterations timed(state);
  for (auto _ : state) {
    timed.Start();
    cursor.setPosition(position);
    cursor.insertText(QStringLiteral("w"));
    benchmark::DoNotOptimize(layout->documentSize());
    timed.Stop();
    doc->undo();
    benchmark::DoNotOptimize(layout->documentSize());
  }
}
BENCHMARK(BM_QTextDocumentTyping)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond)->UseManualTime();

// Milliseconds of wall time since start, added to total.
void AddElapsed(std::chrono::steady_clock::time_point start, double& total) {
  total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The two halves of an edit-and-undo iteration as counters.
void ReportHalves(benchmark::State& state, double edit, double undo) {
  state.counters["edit ms"] = benchmark::Counter(edit, benchmark::Counter::kAvgIterations);
  state.counters["undo ms"] = benchmark::Counter(undo, benchmark::Counter::kAvgIterations);
}

// 10,000 lines of the sample (UTF-16, each ended by a line feed) inserted at
// the caret in the middle of the middle paragraph as the editor inserts
// text: `InsertTextW_` in an insertion group of its own, the text cut into
// paragraphs, converted to the style's GBK, laid out and the caret placed
// after it; then the group undone, laid out again.
void BM_EditorInsertTextAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  Editor e(paragraphs);
  TDVEditDVData& data = e.editor.EditData();
  const std::string text = DVU_UnitBytes(SampleLines(kInserted));
  const int items = data.ItemCount();
  double edit = 0, undo = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    data.SetCaretAtItem(paragraphs / 2, 11, false);
    {
      TDVEditOperation operation(data);
      data.BeginUndoSequence(dvutInsert, true);
      if (!data.InsertTextW_(text, false) || data.ItemCount() != items + kInserted)
        state.SkipWithError("the text was not inserted");
      data.Change();
    }
    AddElapsed(start, edit);
    start = std::chrono::steady_clock::now();
    data.UndoList->Undo(data);
    AddElapsed(start, undo);
  }
  ReportHalves(state, edit, undo);
}
BENCHMARK(BM_EditorInsertTextAndUndo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// The same text at the same place through `QTextCursor::insertText`, then
// `undo()`, each followed by `documentSize()`.
void BM_QTextDocumentInsertTextAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(paragraphs);
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const QString text = ToQString(SampleLines(kInserted));
  const int position = doc->findBlockByNumber(paragraphs / 2).position() + 10;
  QTextCursor cursor(doc.get());
  double edit = 0, undo = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    cursor.setPosition(position);
    cursor.insertText(text);
    benchmark::DoNotOptimize(layout->documentSize());
    AddElapsed(start, edit);
    start = std::chrono::steady_clock::now();
    doc->undo();
    benchmark::DoNotOptimize(layout->documentSize());
    AddElapsed(start, undo);
  }
  ReportHalves(state, edit, undo);
}
BENCHMARK(BM_QTextDocumentInsertTextAndUndo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// 1,000 paragraphs in the middle selected from inside a word to inside a
// word and converted (`ApplyStyleConversion_`) by a handler that turns the
// sample's style into a bold copy of it: the end items split, every item
// between restyled, one undo group, the sections laid out again; then the
// group undone.
void BM_EditorStyleConversionAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  Editor e(paragraphs);
  UseBoldConversion(e.sheet, e.editor);
  TDVEditDVData& data = e.editor.EditData();
  const int first = paragraphs / 2;
  double edit = 0, undo = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    data.SetSelectionBounds(first, 3, first + kSelected, 3);
    data.ApplyStyleConversion_(0);
    if (data.GetItemStyle(first + 1) != 1) state.SkipWithError("the selection was not converted");
    AddElapsed(start, edit);
    start = std::chrono::steady_clock::now();
    data.UndoList->Undo(data);
    AddElapsed(start, undo);
  }
  ReportHalves(state, edit, undo);
  state.counters["items"] = data.ItemCount();
}
BENCHMARK(BM_EditorStyleConversionAndUndo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// The same selection made bold through `QTextCursor::mergeCharFormat`, then
// `undo()`, each followed by `documentSize()`.
void BM_QTextDocumentMergeCharFormatAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(paragraphs);
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const int first = paragraphs / 2;
  const int anchor = doc->findBlockByNumber(first).position() + 2;
  const int end = doc->findBlockByNumber(first + kSelected).position() + 2;
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  QTextCursor cursor(doc.get());
  double edit = 0, undo = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    cursor.setPosition(anchor);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(bold);
    benchmark::DoNotOptimize(layout->documentSize());
    AddElapsed(start, edit);
    start = std::chrono::steady_clock::now();
    doc->undo();
    benchmark::DoNotOptimize(layout->documentSize());
    AddElapsed(start, undo);
  }
  ReportHalves(state, edit, undo);
}
BENCHMARK(BM_QTextDocumentMergeCharFormatAndUndo)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// A key with Ctrl as the platform delivers it to a widget.
void SendCtrl(QWidget* widget, Qt::Key letter) {
  QKeyEvent press(QEvent::KeyPress, letter, Qt::ControlModifier, QString(QChar(letter & 0x1F)));
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, letter, Qt::ControlModifier, QString(QChar(letter & 0x1F)));
  QCoreApplication::sendEvent(widget, &release);
}

// Used as a user would: 10,000 paragraphs copied from another editor (its
// clipboard formats, "DocView Format" first), then Ctrl+V at the caret in
// the middle of the middle paragraph and Ctrl+Z, each a key event to the
// control: the paste reads the block, inserts it in one undo group and lays
// it out; the undo takes it out and lays the sections out again.
void BM_EditorPasteAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  {
    Editor source(kInserted);
    source.editor.EditData().SelectAll();
    if (!source.editor.CopyDef()) state.SkipWithError("nothing was copied");
  }
  Editor e(paragraphs);
  TDVEditDVData& data = e.editor.EditData();
  QWidget* widget = e.editor.Widget();
  const int items = data.ItemCount();
  double edit = 0, undo = 0;
  for (auto _ : state) {
    data.SetCaretAtItem(paragraphs / 2, 11, false);
    auto start = std::chrono::steady_clock::now();
    SendCtrl(widget, Qt::Key_V);
    AddElapsed(start, edit);
    if (data.ItemCount() < items + kInserted - 1) state.SkipWithError("the paragraphs were not pasted");
    start = std::chrono::steady_clock::now();
    SendCtrl(widget, Qt::Key_Z);
    AddElapsed(start, undo);
    if (data.ItemCount() != items) state.SkipWithError("the paste was not undone");
  }
  ReportHalves(state, edit, undo);
}
BENCHMARK(BM_EditorPasteAndUndo)->Arg(50000)->Unit(benchmark::kMillisecond);

// The same in a QTextEdit of the editor's size: the paragraphs copied from
// another QTextEdit, Ctrl+V and Ctrl+Z as key events, each followed by
// documentSize(), which finishes the layout.
void BM_QTextEditPasteAndUndo(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  {
    QTextEdit source;
    std::unique_ptr<QTextDocument> copied = MakeQtSampleDocument(LayoutSampleParagraphs(kInserted));
    source.setDocument(copied.get());
    source.selectAll();
    source.copy();
    source.setDocument(nullptr);
  }
  std::unique_ptr<QTextDocument> doc = LaidOutQtDocument(paragraphs);
  QTextEdit edit;
  edit.setDocument(doc.get());
  edit.resize(kWidth, kHeight);
  edit.show();
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const int position = doc->findBlockByNumber(paragraphs / 2).position() + 10;
  const int blocks = doc->blockCount();
  double pasteMs = 0, undoMs = 0;
  for (auto _ : state) {
    QTextCursor cursor(doc.get());
    cursor.setPosition(position);
    edit.setTextCursor(cursor);
    auto start = std::chrono::steady_clock::now();
    SendCtrl(&edit, Qt::Key_V);
    benchmark::DoNotOptimize(layout->documentSize());
    AddElapsed(start, pasteMs);
    if (doc->blockCount() < blocks + kInserted - 1) state.SkipWithError("the paragraphs were not pasted");
    start = std::chrono::steady_clock::now();
    SendCtrl(&edit, Qt::Key_Z);
    benchmark::DoNotOptimize(layout->documentSize());
    AddElapsed(start, undoMs);
  }
  edit.setDocument(nullptr);
  ReportHalves(state, pasteMs, undoMs);
}
BENCHMARK(BM_QTextEditPasteAndUndo)->Arg(50000)->Unit(benchmark::kMillisecond);

// A key as the platform delivers it, then the window's repaint of what it
// marked: the paint events of the band that changed.
void KeyToScreen(QWidget* target, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  QApplication::processEvents();
}

// One key typed into the editor in the middle paragraph of the document,
// on the screen: the key event, the typing, the partial reformat, the caret
// and the repainted band. Backspace takes the key back, untimed.
void BM_EditorKeyToScreen(benchmark::State& state) {
  Editor e(static_cast<int>(state.range(0)));
  TDVEditDVData& data = e.editor.EditData();
  const int itemNo = data.ItemCount() / 2;
  const int32_t length = data.ItemLength(itemNo);
  data.SetCaretAtItem(itemNo, 11, true);
  e.editor.SetFocus();
  QWidget* target = e.editor.Widget();
  QApplication::processEvents();
  for (auto _ : state) {
    KeyToScreen(target, Qt::Key_W, QStringLiteral("w"));
    state.PauseTiming();
    if (data.ItemLength(itemNo) != length + 1) state.SkipWithError("the key was not typed");
    KeyToScreen(target, Qt::Key_Backspace, QString());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EditorKeyToScreen)->Arg(50000)->Unit(benchmark::kMicrosecond);

// The same key into QTextEdit of the same size showing the same text.
void BM_QTextEditKeyToScreen(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  std::unique_ptr<QTextDocument> doc = MakeQtSampleDocument(LayoutSampleParagraphs(paragraphs));
  QTextEdit edit;
  edit.setDocument(doc.get());
  edit.resize(kWidth, kHeight);
  edit.show();
  QTextCursor cursor(doc->findBlockByNumber(paragraphs / 2));
  cursor.setPosition(cursor.position() + 10);
  edit.setTextCursor(cursor);
  edit.ensureCursorVisible();
  edit.setFocus();
  QApplication::processEvents();
  const int characters = doc->characterCount();
  for (auto _ : state) {
    KeyToScreen(&edit, Qt::Key_W, QStringLiteral("w"));
    state.PauseTiming();
    if (doc->characterCount() != characters + 1) state.SkipWithError("the key was not typed");
    KeyToScreen(&edit, Qt::Key_Backspace, QString());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_QTextEditKeyToScreen)->Arg(50000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) { return quillet::bench::RunWidgetBenchmarks(argc, argv); }
