// Whole-record loading and derived limb leads.
//
// The record is what a cart stores after analysis: Section 1, 12 leads of
// 10 s at 500 Hz (Sections 3 and 6), median beats (Section 5), global
// measurements, statement codes and per-lead measurements (Sections 7, 9,
// 10). "From file" reads it through the page cache: it was just written and
// is read once before timing starts.

#include <benchmark/benchmark.h>

#include "scp/reader.h"
#include "support/section_builders.h"
#include "support/test_files.h"

namespace {

constexpr int16_t kEverySection = kAllSectionBits;

void CountRecords(benchmark::State& state, size_t bytes) {
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_LoadWholeRecordFromFile(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const auto bytes = ecg::test::SyntheticEcgRecord();
  const std::string path = folder.Write("twelve.scp", bytes);
  (void)ecg::test::ReadFile(path);
  CReader reader;
  for (auto _ : state) {
    int16_t loaded = 0;
    if (!reader.Load(path, loaded, kEverySection) || loaded != kEverySection) {
      state.SkipWithError("load failed");
      break;
    }
  }
  CountRecords(state, bytes.size());
}
BENCHMARK(BM_LoadWholeRecordFromFile);

void BM_LoadWholeRecordFromMemory(benchmark::State& state) {
  const auto bytes = ecg::test::SyntheticEcgRecord();
  const auto source = RecordSource::Memory(bytes);
  CReader reader;
  for (auto _ : state) {
    int16_t loaded = 0;
    if (!reader.Load(source, loaded, kEverySection) || loaded != kEverySection) {
      state.SkipWithError("load failed");
      break;
    }
  }
  CountRecords(state, bytes.size());
}
BENCHMARK(BM_LoadWholeRecordFromMemory);

// CalculateLeads on a freshly loaded 8-lead record (I, II, V1-V6, 10 s at
// 500 Hz, with median beats): adds III, aVR, aVL and aVF to the rhythm and
// median data and rebuilds the lead errors. The reload is not timed.
void BM_CalculateLeadsEightLeads(benchmark::State& state) {
  ecg::test::EcgRecordSpec spec;
  spec.leads = ecg::test::AcquiredLeadCodes();
  const auto bytes = ecg::test::SyntheticEcgRecord(spec);
  const auto source = RecordSource::Memory(bytes);
  CReader reader;
  for (auto _ : state) {
    state.PauseTiming();
    int16_t loaded = 0;
    const bool ok = reader.Load(source, loaded, kEverySection);
    state.ResumeTiming();
    if (!ok || !reader.CalculateLeads() || reader.GetLeads() != 12) {
      state.SkipWithError("calculation failed");
      break;
    }
  }
}
BENCHMARK(BM_CalculateLeadsEightLeads);

}  // namespace

BENCHMARK_MAIN();
