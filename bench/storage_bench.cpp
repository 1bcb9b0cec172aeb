// The storage road of a document record: zlib both ways, the hexadecimal
// codec both ways, and the host's whole save and load wrappers, all on the
// same generated DVF-like stream of a few megabytes. Every figure counts
// bytes of the uncompressed document, so rates compare directly.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "bench/support/sample_document.h"
#include "engine/stream/compressed_form.h"
#include "engine/base/dvf_tokens.h"
#include "host/codec/document_text.h"
#include "platform/core/hex_text.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

constexpr size_t kDocumentBytes = 4 << 20;

// Built once and shared by every benchmark.
struct Sample {
  std::string document = bench::MakeSampleDVFStream(kDocumentBytes);
  std::vector<uint8_t> deflated;  // plain zlib stream
  std::string hex = BytesToHex(document);
  std::string documentText;  // the host's text of the document

  Sample() {
    uLongf size = compressBound(static_cast<uLong>(document.size()));
    deflated.resize(size);
    compress(deflated.data(), &size, reinterpret_cast<const Bytef*>(document.data()), document.size());
    deflated.resize(size);
    TMemoryStream stream(Bytes());
    AfterSaveToStream2(stream);
    documentText = stream.AsString();
  }
  std::vector<uint8_t> Bytes() const { return {document.begin(), document.end()}; }
  int64_t Size() const { return static_cast<int64_t>(document.size()); }
};

const Sample& GetSample() {
  static const Sample sample;
  return sample;
}

void Report(benchmark::State& state) {
  const Sample& s = GetSample();
  state.SetBytesProcessed(state.iterations() * s.Size());
  state.counters["ratio"] = static_cast<double>(s.Size()) / static_cast<double>(s.deflated.size());
}

void BM_ZlibDeflate(benchmark::State& state) {
  const Sample& s = GetSample();
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(s.document.size())));
  for (auto _ : state) {
    uLongf size = out.size();
    compress(out.data(), &size, reinterpret_cast<const Bytef*>(s.document.data()), s.document.size());
    benchmark::DoNotOptimize(out.data());
  }
  Report(state);
}
BENCHMARK(BM_ZlibDeflate)->Unit(benchmark::kMillisecond);

void BM_ZlibInflate(benchmark::State& state) {
  const Sample& s = GetSample();
  std::vector<uint8_t> out(s.document.size());
  for (auto _ : state) {
    uLongf size = out.size();
    uncompress(out.data(), &size, s.deflated.data(), s.deflated.size());
    benchmark::DoNotOptimize(out.data());
  }
  Report(state);
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

void BM_BytesToHex(benchmark::State& state) {
  const Sample& s = GetSample();
  std::string out(2 * s.document.size(), '\0');
  for (auto _ : state) {
    BytesToHex(reinterpret_cast<const uint8_t*>(s.document.data()), s.document.size(), out.data());
    benchmark::DoNotOptimize(out.data());
  }
  Report(state);
}
BENCHMARK(BM_BytesToHex)->Unit(benchmark::kMillisecond);

void BM_HexToBytes(benchmark::State& state) {
  const Sample& s = GetSample();
  std::vector<uint8_t> out(s.document.size());
  for (auto _ : state) benchmark::DoNotOptimize(HexToBytes(s.hex, out.data()));
  Report(state);
}
BENCHMARK(BM_HexToBytes)->Unit(benchmark::kMillisecond);

// The engine's stream forms of the same codec, with their allocation and copies.
void BM_DVFStream2TextString(benchmark::State& state) {
  const Sample& s = GetSample();
  TMemoryStream stream(s.Bytes());
  for (auto _ : state) benchmark::DoNotOptimize(DVFStream2TextString(stream));
  Report(state);
}
BENCHMARK(BM_DVFStream2TextString)->Unit(benchmark::kMillisecond);

void BM_DVFTextString2Stream(benchmark::State& state) {
  const Sample& s = GetSample();
  for (auto _ : state) {
    TMemoryStream stream;
    benchmark::DoNotOptimize(DVFTextString2Stream(s.hex, stream));
  }
  Report(state);
}
BENCHMARK(BM_DVFTextString2Stream)->Unit(benchmark::kMillisecond);

void BM_UnCompressDVF(benchmark::State& state) {
  const Sample& s = GetSample();
  TMemoryStream form(s.Bytes());
  CompressDVF(form, TCompressionLevel::clDefault);
  for (auto _ : state) {
    form.SetPosition(0);
    TMemoryStream dest;
    UnCompressDVF(form, dest);
    benchmark::DoNotOptimize(dest.Bytes().data());
  }
  Report(state);
}
BENCHMARK(BM_UnCompressDVF)->Unit(benchmark::kMillisecond);

// Save: compress, then hexadecimal text. The copy of the document into the
// stream is outside the timing.
void BM_AfterSaveToStream2(benchmark::State& state) {
  const Sample& s = GetSample();
  for (auto _ : state) {
    state.PauseTiming();
    TMemoryStream stream(s.Bytes());
    state.ResumeTiming();
    AfterSaveToStream2(stream);
    benchmark::DoNotOptimize(stream.Bytes().data());
  }
  Report(state);
}
BENCHMARK(BM_AfterSaveToStream2)->Unit(benchmark::kMillisecond);

// Load: hexadecimal text to bytes, then uncompress.
void BM_BeforeLoadFromStream2(benchmark::State& state) {
  const Sample& s = GetSample();
  const std::vector<uint8_t> text(s.documentText.begin(), s.documentText.end());
  for (auto _ : state) {
    state.PauseTiming();
    TMemoryStream stream(text);
    state.ResumeTiming();
    BeforeLoadFromStream2(stream);
    benchmark::DoNotOptimize(stream.Bytes().data());
  }
  Report(state);
}
BENCHMARK(BM_BeforeLoadFromStream2)->Unit(benchmark::kMillisecond);

}  // namespace
