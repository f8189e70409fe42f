// Conversion of a 30 s, 8-lead handheld recorder file (500 Hz, the format of
// the recording window's file) into an SCP-ECG record: files per second,
// with and without the syncs that make the written record durable, and the
// reading of the file alone. Rates are per second of wall-clock time.

#include <benchmark/benchmark.h>

#include <vector>

#include "import/pellux_reader.h"
#include "scp/writer.h"
#include "support/test_files.h"
#include "unit/import/device_files.h"

namespace {

void BM_ImportHandheld30s8Lead(benchmark::State& state) {
  const bool durable = state.range(0) != 0;
  ecg::test::TempFolder folder;
  const std::string in = folder.Write("rt-ecg.tmp", ecg::test::EightLeadRecording(30));
  const std::string out = folder.File("record.scp");
  CWriter writer;
  writer.SelectWriter(u"Tidemark ECG", u"bench");
  writer.SetDurableWrites(durable);
  for (auto _ : state) {
    if (!writer.CreateFromPelluxFile(out.c_str(), in.c_str(), nullptr)) {
      state.SkipWithError("conversion failed");
      break;
    }
  }
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportHandheld30s8Lead)
    ->ArgName("durable")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_ReadHandheld30s8Lead(benchmark::State& state) {
  const std::vector<uint8_t> bytes = ecg::test::EightLeadRecording(30);
  CPelluxReader reader;
  for (auto _ : state) {
    int16_t events = 0;
    if (!reader.ReadMemory(bytes.data(), bytes.size(), &events)) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(events);
  }
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadHandheld30s8Lead)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
