// Typing with revision tracking on, beside the same typing with it off.
//
// The layout benchmarks' document of 50,000 paragraphs (about 1,000 pages)
// of mixed Chinese (GBK) and Latin text, wrapped at 700 pixels, whose sheet
// holds 500 text styles; the paragraphs take them in turn. One iteration
// types a run of characters as key events into the middle of the middle
// paragraph (runs of 1, 20 and 200 keys): with tracking on, the first key
// asks the host's handler for the reviewer's inserted style (searched among
// the 500) and the editor splits the paragraph's item to start an item of
// it; every later key asks again and finds the caret's style at once.
// Undoing the run and putting the caret back are not timed.
//
// Accepting 10,000 deletion marks beside deleting the same items through
// the editor's undoable deletion: 10,000 paragraphs of the same text, each
// with a struck-out item in the reviewer's colour between two plain ones.
// Building and laying out the document is not timed. Run:
//   build/release/bench/tracking_bench
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>

#include "bench/support/layout_sample.h"
#include "bench/support/widget_bench_main.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/review/accept_reject.h"
#include "host/review/revision_tracking.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"

namespace quillet::bench {
namespace {

constexpr int kWidth = 700, kHeight = 900;
constexpr int kParagraphs = 50000, kTextStyles = 500;

struct TrackedEditor {
  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  TTrackingFormState form;
  TRevisionTracking tracking{editor, table, form};

  TrackedEditor() {
    TFontInfos& styles = sheet.TextStyles();
    while (styles.Count() < kTextStyles) styles.Add();
    for (int i = 0; i < kTextStyles; ++i) {
      TFontInfo& font = styles[i];
      font.FontName = "宋体";
      font.Charset = GB2312_CHARSET;
      font.Size = 9 + i % 6;
      font.Color = static_cast<TColor>(i * 0x010203 & 0xFFFFFF);
      font.Style = static_cast<TFontStyles>(i % 3 == 0 ? fsBold : 0);
    }
    editor.SetStyle(&sheet);
    editor.Clear();
    int n = 0;
    for (const std::string& p : LayoutSampleParagraphs(kParagraphs)) editor.AddNL(p, n++ % kTextStyles, 0);
    editor.Show();
    editor.ClientWidget()->resize(kWidth, kHeight);
    editor.SetBounds(0, 0, kWidth + editor.Width() - editor.ClientWidth(),
                     kHeight + editor.Height() - editor.ClientHeight());
    editor.Format();
  }

  void Key(char16_t ch) {
    const QString text(QChar{ch});
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QCoreApplication::sendEvent(editor.Widget(), &press);
  }
};

void Typing(benchmark::State& state, bool traced) {
  const int run = static_cast<int>(state.range(0));
  TrackedEditor e;
  if (traced) e.tracking.StartTrace(Utf8ToAnsi("审阅人"));
  TDVEditDVData& data = e.editor.EditData();
  const int itemNo = kParagraphs / 2;
  const int items = data.ItemCount();
  const int32_t length = data.ItemLength(itemNo);
  const int undoCount = data.UndoList->Count();
  data.SetCaretAtItem(itemNo, 11, false);
  for (auto _ : state) {
    for (int i = 0; i < run; ++i) e.Key(u'w');
    state.PauseTiming();
    if (data.ItemCount() != items + (traced ? 2 : 0) ||
        (!traced && data.ItemLength(itemNo) != length + run))
      state.SkipWithError("the run was not typed as expected");
    while (data.UndoList->Count() > undoCount) e.editor.Undo();
    data.SetCaretAtItem(itemNo, 11, false);
    state.ResumeTiming();
  }
  state.counters["text styles"] = static_cast<double>(e.sheet.TextStyles().Count());
  state.SetItemsProcessed(state.iterations() * run);
}

void BM_TypingTracked(benchmark::State& state) { Typing(state, true); }
void BM_TypingUntracked(benchmark::State& state) { Typing(state, false); }
BENCHMARK(BM_TypingUntracked)->Arg(1)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond)->MinTime(1);
BENCHMARK(BM_TypingTracked)->Arg(1)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond)->MinTime(1);

constexpr int kMarks = 10000;

struct MarkedEditor {
  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  int32_t deleted = 0;

  MarkedEditor() {
    TFontInfos& styles = sheet.TextStyles();
    styles[0].FontName = "宋体";
    styles[0].Charset = GB2312_CHARSET;
    TFontInfo& struck = styles.Add();
    struck.Assign(styles[0]);
    struck.Style = fsStrikeOut;
    struck.Color = TReviewerTable::kPalette[0];
    deleted = styles.Count() - 1;
    table.Enter(Utf8ToAnsi("审阅人"), "2026-12-11 08:00:00");
    editor.SetStyle(&sheet);
    editor.Show();
    editor.ClientWidget()->resize(kWidth, kHeight);
  }

  // The document anew, laid out.
  void Load() {
    editor.Clear();
    const std::vector<std::string> text = LayoutSampleParagraphs(kMarks);
    for (const std::string& p : text) {
      const std::string head = p.substr(0, 20), tail = p.substr(20, 20);
      editor.AddNL(head, 0, 0);
      editor.AddNL(Utf8ToAnsi("删除的"), deleted, -1);
      editor.AddNL(tail, 0, -1);
    }
    editor.Format();
  }
};

void BM_AcceptMarks(benchmark::State& state) {
  MarkedEditor e;
  for (auto _ : state) {
    state.PauseTiming();
    e.Load();
    state.ResumeTiming();
    AcceptChange(e.editor, e.table);
    state.PauseTiming();
    if (e.editor.EditData().ItemCount() != kMarks) state.SkipWithError("the marks were not all accepted");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMarks);
}

void BM_DeleteMarkedItems(benchmark::State& state) {
  MarkedEditor e;
  TDVEditDVData& data = e.editor.EditData();
  for (auto _ : state) {
    state.PauseTiming();
    e.Load();
    state.ResumeTiming();
    for (int i = data.ItemCount() - 1; i >= 0; --i) {
      if (data.GetItemStyle(i) != e.deleted) continue;
      data.SetSelectionBounds(i, data.GetOffsBeforeItem(i), i, data.GetOffsAfterItem(i));
      e.editor.DeleteSelection();
    }
    state.PauseTiming();
    if (data.ItemCount() != kMarks) state.SkipWithError("the items were not all deleted");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMarks);
}

BENCHMARK(BM_DeleteMarkedItems)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AcceptMarks)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) { return quillet::bench::RunWidgetBenchmarks(argc, argv); }
