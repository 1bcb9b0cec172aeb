// Word-processor conversions of a generated document of 50,000 paragraphs
// (the RTF benchmark's text): export to .docx and import of that .docx
// through the converter component, against soffice converting the same
// files directly (our RTF to .docx, the .docx to RTF) with the same fresh
// profile each run. The difference is our share: the RTF writer or reader,
// the temporary files and the process start. Each run starts the suite, so
// the benchmarks run twice each and need soffice.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/support/sample_paragraphs.h"
#include "bench/support/widget_bench_main.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "interchange/convert/text_converter.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/process.h"

using namespace quillet;
namespace fs = std::filesystem;

namespace {

constexpr int kParagraphs = 50000;

int IndexOf(const TDVTextConverterList& list, const std::string& extension) {
  for (int i = 0; i < list.Count(); ++i)
    if (list[i].Filter == "*." + extension) return i;
  return -1;
}

struct Sample {
  TDVStyle style;
  TDocView view;
  TDVTextConverter converter;
  fs::path dir;
  int docxExport = -1, docxImport = -1;

  Sample() {
    InstallRTFReader();
    bench::SetSampleFonts(style);
    view.SetStyle(&style);
    bench::AddSampleParagraphs(view.DVData(), kParagraphs);
    char dirTemplate[] = "/tmp/quillet_convert_bench_XXXXXX";
    dir = ::mkdtemp(dirTemplate);
    docxExport = IndexOf(converter.ExportConverters(), "docx");
    docxImport = IndexOf(converter.ImportConverters(), "docx");
    if (docxExport < 0) return;
    // The RTF the converter hands over, and the .docx the imports read.
    view.SaveRTF((dir / "doc.rtf").string(), false);
    converter.ExportDV((dir / "doc.docx").string(), view, docxExport);
  }
  ~Sample() { fs::remove_all(dir); }
};

Sample& GetSample() {
  static Sample* sample = new Sample();
  return *sample;
}

// Seconds that soffice takes for one conversion, with a fresh profile.
double Soffice(const fs::path& file, const std::string& format) {
  const fs::path work = GetSample().dir / "direct";
  fs::remove_all(work);
  const auto start = std::chrono::steady_clock::now();
  TProcess process(FindProgramOnPath("soffice"),
                   {"-env:UserInstallation=file://" + (work / "profile").string(), "--headless", "--norestore",
                    "--convert-to", format, "--outdir", (work / "out").string(), file.string()});
  if (!process.Wait(std::chrono::minutes(30)).Succeeded()) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class Run>
void Timed(benchmark::State& state, Run run) {
  if (GetSample().docxExport < 0) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) {
      state.SkipWithError("the conversion failed");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}

void BM_ExportDocx(benchmark::State& state) {
  Sample& s = GetSample();
  Timed(state, [&s] { return s.converter.ExportDV((s.dir / "out.docx").string(), s.view, s.docxExport); });
}

void BM_SofficeRtfToDocx(benchmark::State& state) {
  Timed(state, [] { return Soffice(GetSample().dir / "doc.rtf", "docx:MS Word 2007 XML") >= 0; });
}

void BM_ImportDocx(benchmark::State& state) {
  Sample& s = GetSample();
  Timed(state, [&s] {
    TDocView target;
    TDVStyle style;
    target.SetStyle(&style);
    const bool ok = s.converter.ImportDV((s.dir / "doc.docx").string(), target, s.docxImport);
    target.Clear();
    return ok;
  });
}

void BM_SofficeDocxToRtf(benchmark::State& state) {
  Timed(state, [] { return Soffice(GetSample().dir / "doc.docx", "rtf") >= 0; });
}

}  // namespace

BENCHMARK(BM_ExportDocx)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SofficeRtfToDocx)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportDocx)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SofficeDocxToRtf)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::RunWidgetBenchmarks(argc, argv); }
