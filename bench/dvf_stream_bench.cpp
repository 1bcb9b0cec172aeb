// The main road of a stored document on a generated document of about 1,000
// pages: DVF written, compressed, turned into hexadecimal text, and back, each
// step alone, beside zlib on the same bytes. Every rate counts bytes of the
// DVF stream, so the figures compare directly.
//
// `dvf_stream_bench --save=N FILE` writes the N-paragraph sample as a DVF file
// instead, for timing the program's own load:
//   quillet FILE --render-to window.png
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/sample_paragraphs.h"
#include "engine/model/dv_data.h"
#include "engine/stream/compressed_form.h"
#include "engine/style/style_sheet.h"
#include "platform/core/hex_text.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

// About 1,000 pages; the smaller sample shows how writing and reading scale.
constexpr int kParagraphs = 50000;
constexpr int kSmallParagraphs = 5000;

struct Sample {
  TDVStyle style;
  TCustomDVData document;
  std::string dvf;         // the document's DVF stream
  std::string compressed;  // its compressed form
  std::string hex;         // as hexadecimal text

  explicit Sample(int paragraphs) {
    document.SetDVStyle(&style);
    bench::AddSampleParagraphs(document, paragraphs);
    TMemoryStream stream;
    document.SaveDVFToStream(stream, false, clNone, nullptr, nullptr);
    dvf = stream.AsString();
    CompressDVF(stream, TCompressionLevel::clDefault);
    compressed = stream.AsString();
    hex = BytesToHex(compressed);
  }
  int64_t Size() const { return static_cast<int64_t>(dvf.size()); }
};

// Built once per size and kept to the end, like the process.
const Sample& GetSample(int paragraphs = kParagraphs) {
  static Sample* large = new Sample(kParagraphs);
  static Sample* small = new Sample(kSmallParagraphs);
  return paragraphs == kSmallParagraphs ? *small : *large;
}

void Report(benchmark::State& state, int paragraphs = kParagraphs) {
  const Sample& s = GetSample(paragraphs);
  state.SetBytesProcessed(state.iterations() * s.Size());
  state.counters["dvf_MB"] = static_cast<double>(s.Size()) / 1e6;
}

void BM_WriteDVF(benchmark::State& state) {
  Sample& s = const_cast<Sample&>(GetSample(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    TMemoryStream stream;
    s.document.SaveDVFToStream(stream, false, clNone, nullptr, nullptr);
    benchmark::DoNotOptimize(stream.GetSize());
  }
  Report(state, static_cast<int>(state.range(0)));
}

void BM_CompressDVF(benchmark::State& state) {
  const Sample& s = GetSample();
  for (auto _ : state) {
    TMemoryStream stream(std::vector<uint8_t>(s.dvf.begin(), s.dvf.end()));
    CompressDVF(stream, TCompressionLevel::clDefault);
    benchmark::DoNotOptimize(stream.GetSize());
  }
  Report(state);
}

void BM_ZlibDeflate(benchmark::State& state) {
  const Sample& s = GetSample();
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(s.dvf.size())));
  for (auto _ : state) {
    uLongf size = out.size();
    compress(out.data(), &size, reinterpret_cast<const Bytef*>(s.dvf.data()), s.dvf.size());
    benchmark::DoNotOptimize(size);
  }
  Report(state);
}

void BM_BytesToHex(benchmark::State& state) {
  const Sample& s = GetSample();
  for (auto _ : state) benchmark::DoNotOptimize(BytesToHex(s.compressed));
  Report(state);
}

void BM_HexToBytes(benchmark::State& state) {
  const Sample& s = GetSample();
  std::vector<uint8_t> out(s.hex.size() / 2);
  for (auto _ : state) benchmark::DoNotOptimize(HexToBytes(s.hex, out.data()));
  Report(state);
}

void BM_UnCompressDVF(benchmark::State& state) {
  const Sample& s = GetSample();
  for (auto _ : state) {
    TMemoryStream source(std::vector<uint8_t>(s.compressed.begin(), s.compressed.end())), dest;
    UnCompressDVF(source, dest);
    benchmark::DoNotOptimize(dest.GetSize());
  }
  Report(state);
}

void BM_ZlibInflate(benchmark::State& state) {
  const Sample& s = GetSample();
  std::vector<uint8_t> out(s.dvf.size());
  for (auto _ : state) {
    uLongf size = out.size();
    uncompress(out.data(), &size, reinterpret_cast<const Bytef*>(s.compressed.data() + 4), s.compressed.size() - 4);
    benchmark::DoNotOptimize(size);
  }
  Report(state);
}

void BM_ReadDVF(benchmark::State& state) {
  Sample& s = const_cast<Sample&>(GetSample(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    TCustomDVData loaded;
    loaded.SetDVStyle(&s.style);
    TMemoryStream stream(std::vector<uint8_t>(s.dvf.begin(), s.dvf.end()));
    TColor color = clNone;
    if (!loaded.LoadDVFFromStream(stream, color, nullptr, nullptr)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(loaded.ItemCount());
  }
  Report(state, static_cast<int>(state.range(0)));
}

// The document inserted into the middle of a copy of itself, as a paste of
// a whole document would be; the copy is loaded outside the timing.
void BM_InsertDVF(benchmark::State& state) {
  Sample& s = const_cast<Sample&>(GetSample(static_cast<int>(state.range(0))));
  std::unique_ptr<TCustomDVData> target;
  for (auto _ : state) {
    state.PauseTiming();
    target = std::make_unique<TCustomDVData>();  // the previous copy is freed here, untimed
    target->SetDVStyle(&s.style);
    TMemoryStream copy(std::vector<uint8_t>(s.dvf.begin(), s.dvf.end()));
    TColor color = clNone;
    if (!target->LoadDVFFromStream(copy, color, nullptr, nullptr)) state.SkipWithError("load failed");
    TMemoryStream stream(std::vector<uint8_t>(s.dvf.begin(), s.dvf.end()));
    state.ResumeTiming();
    if (!target->InsertDVFFromStream(stream, target->ItemCount() / 2, color, nullptr, nullptr, false))
      state.SkipWithError("insertion failed");
    benchmark::DoNotOptimize(target->ItemCount());
  }
  Report(state, static_cast<int>(state.range(0)));
}

BENCHMARK(BM_WriteDVF)->Arg(kSmallParagraphs)->Arg(kParagraphs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressDVF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BytesToHex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexToBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnCompressDVF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDVF)->Arg(kSmallParagraphs)->Arg(kParagraphs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertDVF)->Arg(kSmallParagraphs)->Arg(kParagraphs)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Freed memory stays with the process, as in an editor that runs for long:
  // a benchmark that frees a large document outside its timing would
  // otherwise pay the kernel for fresh pages in the timed part that follows.
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strncmp(argv[i], "--save=", 7) == 0) {
      Sample sample(std::atoi(argv[i] + 7));
      return sample.document.SaveDVF(argv[i + 1], false, clNone, nullptr, nullptr) ? 0 : 1;
    }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
