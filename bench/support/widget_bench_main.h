#pragma once
// The start of a benchmark program whose benchmarks make windows: offscreen
// unless a platform is chosen, the project's fonts, an application object
// and the window layer, then the benchmarks.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/gfx/font_setup.h"
#include "platform/ui/application.h"

namespace quillet::bench {

inline int RunWidgetBenchmarks(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  InstallProjectFontConfig();
  QApplication app(argc, argv);
  InstallWindowLayer();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace quillet::bench
