// RTF on a generated document of 50,000 paragraphs in mixed fonts with GBK
// Chinese (the DVF stream benchmark's text): our writer, our reader on our
// own file and on LibreOffice's re-save of it, and LibreOffice's own import
// (soffice --convert-to txt, less the time it takes on an empty file). The
// LibreOffice runs need soffice and run once each.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/sample_paragraphs.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/stream.h"

using namespace quillet;
namespace fs = std::filesystem;

namespace {

constexpr int kParagraphs = 50000;

struct Sample {
  TDVStyle style;
  TCustomDVData document;
  std::string rtf;
  fs::path dir;

  Sample() {
    bench::SetSampleFonts(style);
    document.SetDVStyle(&style);
    bench::AddSampleParagraphs(document, kParagraphs);
    TMemoryStream stream;
    document.SaveRTFToStream(stream, false, clWindow, nullptr);
    rtf = stream.AsString();
    char dirTemplate[] = "/tmp/quillet_rtf_bench_XXXXXX";
    dir = ::mkdtemp(dirTemplate);
    std::ofstream(dir / "doc.rtf", std::ios::binary) << rtf;
    std::ofstream(dir / "empty.rtf", std::ios::binary) << "{\\rtf1 x}";
  }
};

Sample& GetSample() {
  static Sample* sample = new Sample();
  return *sample;
}

bool HaveSoffice() { return std::system("command -v soffice > /dev/null 2>&1") == 0; }

// Seconds that soffice takes to convert the file in the folder.
double Convert(const fs::path& file, const std::string& format, const fs::path& outDir) {
  const std::string command = "soffice -env:UserInstallation=file://" + (GetSample().dir / "profile").string() +
                              " --headless --norestore --convert-to " + format + " --outdir '" + outDir.string() +
                              "' '" + file.string() + "' > /dev/null 2>&1";
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TDVRTFErrorCode ReadInto(const std::string& rtf) {
  TDVStyle style;
  TCustomDVData document;
  document.SetDVStyle(&style);
  TDVRTFDocumentReader reader;
  reader.UnicodeMode = dvruMixed;
  reader.TextStyleMode = reader.ParaStyleMode = dvrsAddIfNeeded;
  TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
  return reader.ReadFromStream(stream, document);
}

void BM_WriteRTF(benchmark::State& state) {
  Sample& s = GetSample();
  for (auto _ : state) {
    TMemoryStream stream;
    s.document.SaveRTFToStream(stream, false, clWindow, nullptr);
    benchmark::DoNotOptimize(stream.GetSize());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(s.rtf.size()));
}

void BM_ReadOwnRTF(benchmark::State& state) {
  const Sample& s = GetSample();
  for (auto _ : state)
    if (ReadInto(s.rtf) != rtf_ec_OK) state.SkipWithError("the reader failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(s.rtf.size()));
}

void BM_ReadLibreOfficeRTF(benchmark::State& state) {
  const Sample& s = GetSample();
  static std::string resaved;
  if (resaved.empty() && HaveSoffice()) {
    // The re-save goes through the word processor's own format and back.
    const fs::path odt = s.dir / "odt";
    Convert(s.dir / "doc.rtf", "odt", odt);
    Convert(odt / "doc.odt", "rtf", s.dir / "resaved");
    std::ifstream in(s.dir / "resaved" / "doc.rtf", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    resaved = content.str();
  }
  if (resaved.empty()) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  for (auto _ : state)
    if (ReadInto(resaved) != rtf_ec_OK) state.SkipWithError("the reader failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(resaved.size()));
}

void BM_LibreOfficeImport(benchmark::State& state) {
  const Sample& s = GetSample();
  if (!HaveSoffice()) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  Convert(s.dir / "empty.rtf", "txt", s.dir / "txt");  // the profile is made once, outside the timing
  for (auto _ : state) {
    const double startUp = Convert(s.dir / "empty.rtf", "txt", s.dir / "txt");
    const double whole = Convert(s.dir / "doc.rtf", "txt", s.dir / "txt");
    state.SetIterationTime(whole - startUp);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(s.rtf.size()));
}

}  // namespace

BENCHMARK(BM_WriteRTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOwnRTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLibreOfficeRTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibreOfficeImport)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
