// CPU cost of the live 12-lead display: the cable thread's per-frame work
// (decode, filters, column statistics and drawing into the plot image) and
// the whole recording window replaying a demo recording in real time
// (cable thread, replay pacing and the GUI thread's repaints, offscreen).
// Run e.g.
//   build-recording/bench/bench_recording --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/cable_settings.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/demo_file.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "recording/plot_display_settings.h"
#include "recording/plot_wnd.h"
#include "recording/tm_realtime_dlg.h"
#include "synthetic_ecg.h"

namespace {

double CpuSeconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

std::vector<ecg::acquisition::Frame> Frames(uint32_t n) {
  ecg::cablesim::EcgModel model;
  model.seed = 5;
  ecg::cablesim::SyntheticEcg ecg(model);
  std::vector<ecg::acquisition::Frame> out;
  for (uint32_t i = 0; i < n; ++i) out.push_back(ecg::acquisition::PackFrame(ecg.NextSamples()));
  return out;
}

// One second of frames (500) through what the batch handler does per frame.
void BM_LiveFramesPerSecond(benchmark::State& state) {
  CECGSettings ecg;
  ecg.SetDevice(25.4 / 96, 25.4 / 96);
  CPlotDisplaySettings display;
  display.SetLeadsPerGroup(12);
  display.m_customLayout = state.range(0) == 1;
  CFilterSettings filters;
  filters.SetUp(500.0);
  filters.SwitchFilters(true, true, true, 50);
  CPlotWnd plot;
  plot.SetSettings(&ecg, &display);
  plot.resize(950, 560);
  plot.InitPlotWnd();
  const auto frames = Frames(500);
  uint16_t samples[8];
  uint32_t status[12] = {};
  for (auto _ : state) {
    for (const auto& f : frames) {
      const auto raw = ecg::acquisition::UnpackFrame(f.data());
      filters.Lock();
      auto& v = filters.SampleVector();
      for (size_t c = 0; c < 8; ++c) v[c] = static_cast<int16_t>(raw[c]);
      filters.Filter();
      for (size_t c = 0; c < 8; ++c) samples[c] = static_cast<uint16_t>(v[c] < 0 ? 0 : v[c] > 4095 ? 4095 : v[c]);
      filters.Unlock();
      plot.AddLeadData(samples, status, 8, 12);
    }
  }
  state.SetLabel(state.range(0) == 1 ? "3x4 with rhythm strip, all filters" : "12 rows, all filters");
  // Each iteration is one second of data: its CPU time as a share of a core.
  state.counters["cpu_pct_of_core"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / 100.0,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LiveFramesPerSecond)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The window replaying a demo recording at 500 frames per second for eight
// seconds: CPU of the whole process and of the GUI thread per wall second.
void BM_LiveWindowReplay(benchmark::State& state) {
  const std::string demo = std::string(P_tmpdir) + "/bench_recording_" + std::to_string(getpid()) + ".ecg";
  {
    CCableSettings cable;
    CECGSettings ecg;
    CCircularBuffer ring(false, false);
    const auto frames = Frames(30000);
    ring.Allocate(static_cast<uint32_t>(frames.size() * 13 + 1));
    for (const auto& f : frames) ring.Write(f.data(), 13);
    if (!CDemoFile::WriteFile(demo, ring, cable, ecg)) {
      state.SkipWithError("cannot write the demo recording");
      return;
    }
  }
  double process = 0, gui = 0, wall = 0;
  for (auto _ : state) {
    CTM_RealTimeDlg window;
    window.SetOutputFile(std::string(P_tmpdir) + "/bench_recording.tmp");
    window.SetDemoFile(demo, true);
    window.LeadGroup(7);
    window.show();
    if (!QTest::qWaitFor([&] { return window.IsDataFlowing(); }, 10000)) {
      state.SkipWithError("the replay did not start");
      break;
    }
    const double p0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double g0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double w0 = CpuSeconds(CLOCK_MONOTONIC);
    QTest::qWait(8000);
    process += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - p0;
    gui += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - g0;
    wall += CpuSeconds(CLOCK_MONOTONIC) - w0;
    window.reject();
  }
  unlink(demo.c_str());
  state.counters["process_cpu_pct"] = 100.0 * process / wall;
  state.counters["gui_thread_cpu_pct"] = 100.0 * gui / wall;
  state.SetLabel("12 leads, 1000x700 window, offscreen");
}
BENCHMARK(BM_LiveWindowReplay)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
