// RTF on a generated document of 50,000 paragraphs in mixed fonts with GBK
// Chinese (the DVF stream benchmark's text): our writer, our reader on our
// own file and on LibreOffice's re-save of it, and LibreOffice's own import
// (soffice --convert-to txt, less the time it takes on an empty file). The
// LibreOffice runs need soffice and run once each.
// And a table of 200 and 2,000 rows x 6 columns of Chinese words with spans
// (a horizontal pair every 5th row, a vertical pair every 7th), written by
// our writer and re-saved by LibreOffice: our reader on the re-save
// (BM_ReadLibreOfficeTableRTF) and LibreOffice's import of it
// (BM_LibreOfficeTableImport).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/sample_paragraphs.h"
#include "bench/support/table_sample.h"
#include "editing/table/table_rows.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/stream.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;
namespace fs = std::filesystem;

namespace {

constexpr int kParagraphs = 50000;
constexpr int kTableCols = 6;

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

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// Our writer's file re-saved by LibreOffice through its own format; empty
// without soffice.
std::string Resave(const fs::path& file) {
  const fs::path odt = file.parent_path() / "odt", resaved = file.parent_path() / "resaved";
  Convert(file, "odt", odt);
  Convert(odt / (file.stem().string() + ".odt"), "rtf", resaved);
  return ReadFile(resaved / file.filename());
}

// The table of rows x 6 columns as our writer's RTF, in the sample's folder.
fs::path TableFile(int rows) {
  const fs::path file = GetSample().dir / ("table" + std::to_string(rows) + ".rtf");
  if (fs::exists(file)) return file;
  TRecordingCanvas canvas;
  TDVTableItemInfo* table = nullptr;
  std::unique_ptr<bench::BenchDocument> data = bench::MakeTableDocument(canvas, table, rows, kTableCols);
  for (int r = 0; r < rows; r += 5) table->Rows.MergeCellsPlain(r, 1, 1, 2, true, true);
  for (int r = 3; r + 1 < rows; r += 7) table->Rows.MergeCellsPlain(r, 4, 2, 1, true, true);
  data->Format();
  TMemoryStream stream;
  data->SaveRTFToStream(stream, false, clWindow, nullptr);
  std::ofstream(file, std::ios::binary) << stream.AsString();
  return file;
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
  // The re-save goes through the word processor's own format and back.
  if (resaved.empty() && HaveSoffice()) resaved = Resave(s.dir / "doc.rtf");
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

void BM_ReadLibreOfficeTableRTF(benchmark::State& state) {
  static std::map<int, std::string> resaved;
  const int rows = static_cast<int>(state.range(0));
  if (!HaveSoffice()) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  std::string& rtf = resaved[rows];
  if (rtf.empty()) rtf = Resave(TableFile(rows));
  for (auto _ : state)
    if (ReadInto(rtf) != rtf_ec_OK) state.SkipWithError("the reader failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(rtf.size()));
  state.counters["rows"] = rows;
}

void BM_LibreOfficeTableImport(benchmark::State& state) {
  const Sample& s = GetSample();
  if (!HaveSoffice()) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  // The same file our reader takes: LibreOffice's re-save of the table.
  const fs::path table = TableFile(static_cast<int>(state.range(0)));
  Resave(table);
  const fs::path file = table.parent_path() / "resaved" / table.filename();
  Convert(s.dir / "empty.rtf", "txt", s.dir / "txt");
  for (auto _ : state) {
    const double startUp = Convert(s.dir / "empty.rtf", "txt", s.dir / "txt");
    const double whole = Convert(file, "txt", s.dir / "txt");
    state.SetIterationTime(whole - startUp);
  }
}

}  // namespace

BENCHMARK(BM_WriteRTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOwnRTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLibreOfficeRTF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibreOfficeImport)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLibreOfficeTableRTF)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibreOfficeTableImport)->Arg(2000)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
