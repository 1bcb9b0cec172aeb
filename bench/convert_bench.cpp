// Word-processor conversions of a generated document of 50,000 paragraphs
// (the RTF benchmark's text): export to .docx and import of that .docx
// through the converter component, against soffice converting the same
// files directly (our RTF to .docx, the .docx to RTF) with the same fresh
// profile each run. The difference is our share: the RTF writer or reader,
// the temporary files and the process start. The suite's time wanders with
// the machine's load by more than that share, so each repetition runs the
// two side by side in time, one after the other.
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
};

// Made on first use and kept to the end: its viewer outlives the
// benchmarks but not the application object.
Sample* sample = nullptr;

Sample& GetSample() {
  if (!sample) sample = new Sample();
  return *sample;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// Seconds that soffice alone takes for one conversion, with a fresh profile;
// negative when it failed.
double Soffice(const fs::path& file, const std::string& format) {
  const fs::path work = GetSample().dir / "direct";
  fs::remove_all(work);
  const Clock::time_point start = Clock::now();
  TProcess process(FindProgramOnPath("soffice"),
                   {"-env:UserInstallation=file://" + (work / "profile").string(), "--headless", "--norestore",
                    "--convert-to", format, "--outdir", (work / "out").string(), file.string()});
  if (!process.Wait(std::chrono::minutes(30)).Succeeded()) return -1;
  return Seconds(start, Clock::now());
}

// The times of the converter's first progress event and of its last.
struct Events {
  Clock::time_point first, last;
  bool seen = false;

  explicit Events(TDVTextConverter& converter) : converter_(converter) {
    converter.OnConverting = [this](TDVTextConverter&, int) {
      last = Clock::now();
      if (!seen) first = last;
      seen = true;
    };
  }
  ~Events() { converter_.OnConverting = nullptr; }
  Events(const Events&) = delete;
  Events& operator=(const Events&) = delete;

 private:
  TDVTextConverter& converter_;
};

// Each iteration converts the file through the converter and with soffice
// alone, the two in turn first, so that both meet the same load on the
// machine; the time is the converter's, the counters give soffice's beside
// it and the converter's time split at its first and last progress events.
template <class Run>
void Paired(benchmark::State& state, Run run, const fs::path& file, const std::string& format,
            const char* const (&split)[3]) {
  Sample& s = GetSample();
  if (s.docxExport < 0) {
    state.SkipWithError("soffice is not installed");
    return;
  }
  static int turn = 0;
  for (auto _ : state) {
    double ours = 0, alone = 0;
    Events events(s.converter);
    Clock::time_point start, end;
    for (int i = 0; i < 2; ++i) {
      if ((i + turn) % 2 == 0) {
        start = Clock::now();
        if (!run()) state.SkipWithError("the conversion failed");
        end = Clock::now();
        ours = Seconds(start, end);
      } else {
        alone = Soffice(file, format);
        if (alone < 0) state.SkipWithError("soffice failed");
      }
    }
    ++turn;
    if (state.error_occurred()) return;
    state.SetIterationTime(ours);
    state.counters["soffice s"] = alone;
    state.counters["ours %"] = (ours / alone - 1) * 100;
    state.counters[split[0]] = Seconds(start, events.first);
    state.counters[split[1]] = Seconds(events.first, events.last);
    state.counters[split[2]] = Seconds(events.last, end);
  }
}

// Export: our RTF writer until the first event, the hand-over into the
// temporary .rtf until the last, then the suite and the result put in place.
void BM_ExportDocx(benchmark::State& state) {
  Sample& s = GetSample();
  Paired(
      state, [&s] { return s.converter.ExportDV((s.dir / "out.docx").string(), s.view, s.docxExport); },
      s.dir / "doc.rtf", "docx:MS Word 2007 XML", {"write s", "hand-over s", "suite s"});
}

// Import: the temporary folder and the start until the first event, the
// suite and its RTF read in until the last, then the RTF into the stream,
// our reader and the folder removed.
void BM_ImportDocx(benchmark::State& state) {
  Sample& s = GetSample();
  Paired(
      state,
      [&s] {
        TDocView target;
        TDVStyle style;
        target.SetStyle(&style);
        const bool ok = s.converter.ImportDV((s.dir / "doc.docx").string(), target, s.docxImport);
        target.Clear();
        return ok;
      },
      s.dir / "doc.docx", "rtf", {"start s", "suite s", "read s"});
}

}  // namespace

BENCHMARK(BM_ExportDocx)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportDocx)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  const int result = bench::RunWidgetBenchmarks(argc, argv);
  if (sample) fs::remove_all(sample->dir);
  return result;
}
