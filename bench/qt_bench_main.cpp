// The main of the benchmarks that draw with Qt: a QApplication (offscreen
// when there is no display), then Google Benchmark as usual.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QApplication app(qt_argc, qt_argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
