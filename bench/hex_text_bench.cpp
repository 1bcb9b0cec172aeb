// The document travels to and from the database as hexadecimal text: both
// directions run on every load and save of a record.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/stream/dvf_tokens.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

void FillBytes(TStream& stream, int64_t size) {
  std::string bytes(static_cast<size_t>(size), '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31);
  stream.WriteString(bytes);
}

void BM_StreamToHex(benchmark::State& state) {
  TMemoryStream stream;
  FillBytes(stream, state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(DVFStream2TextString(stream));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StreamToHex)->Arg(64 << 10)->Arg(4 << 20);

void BM_HexToStream(benchmark::State& state) {
  TMemoryStream source;
  FillBytes(source, state.range(0));
  const std::string hex = DVFStream2TextString(source);
  for (auto _ : state) {
    TMemoryStream stream;
    benchmark::DoNotOptimize(DVFTextString2Stream(hex, stream));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HexToStream)->Arg(64 << 10)->Arg(4 << 20);

}  // namespace
