// Merging a pasted or loaded document's text styles into the sheet: every
// load and paste does this, so it must stay cheap as style sheets grow.
#include <benchmark/benchmark.h>

#include "engine/style/style_sheet.h"

using namespace quillet;

namespace {

void FillStyles(TFontInfos& styles, int count, int seed) {
  styles.Clear();
  for (int i = 0; i < count; ++i) {
    TFontInfo& f = styles.Add();
    f.Size = 8 + (i * 7 + seed) % 20;
    f.Color = (i * 2654435761u + static_cast<unsigned>(seed)) & 0xFFFFFF;
    f.Style = static_cast<TFontStyles>(i % 16);
    f.NextStyleNo = i % 5 == 0 ? (i + 3) % count : -1;
  }
}

// Merges a sheet of state.range(0) styles made from sourceSeed into one made from seed 1.
void RunMerge(benchmark::State& state, TDVStyleMergeMode mode, int sourceSeed) {
  TDVStyle target, source;
  FillStyles(target.TextStyles(), static_cast<int>(state.range(0)), 1);
  FillStyles(source.TextStyles(), static_cast<int>(state.range(0)), sourceSeed);
  TDVIntegerList mapping;
  for (auto _ : state) {
    target.TextStyles().MergeWith(source.TextStyles(), mode, mapping);
    benchmark::DoNotOptimize(mapping.Count());
  }
}

void BM_SmartMergeEqualSheet(benchmark::State& state) { RunMerge(state, dvs_merge_SmartMerge, 1); }
BENCHMARK(BM_SmartMergeEqualSheet)->Arg(16)->Arg(128)->Arg(512);

void BM_MapMerge(benchmark::State& state) { RunMerge(state, dvs_merge_Map, 2); }
BENCHMARK(BM_MapMerge)->Arg(16)->Arg(128)->Arg(512);

}  // namespace
