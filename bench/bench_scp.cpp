// Record container benchmarks: CRC throughput and loading Sections 0 and 1.

#include <benchmark/benchmark.h>

#include <random>

#include "scp/crc.h"
#include "scp/reader.h"
#include "support/record_builder.h"
#include "support/test_files.h"

namespace {

void BM_CrcThroughput(benchmark::State& state) {
  std::vector<uint8_t> data(static_cast<size_t>(state.range(0)));
  std::mt19937 rng(7);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  for (auto _ : state) {
    benchmark::DoNotOptimize(CCRC::Compute(data.data(), data.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CrcThroughput)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20);

// A record as a cart writes it: Section 1 plus ~120 kB of other sections.
std::vector<uint8_t> TypicalCartRecord() {
  ecg::test::RecordBuilder b;
  b.AddSection1(ecg::test::TypicalSection1());
  b.AddSection(3, std::vector<uint8_t>(2 + 9 * 8, 0));
  b.AddSection(6, std::vector<uint8_t>(6 + 16 + 8 * 10000, 0));
  return b.Build();
}

void BM_LoadSections01FromFile(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const std::string path = folder.Write("bench.scp", TypicalCartRecord());
  CReader reader;
  for (auto _ : state) {
    int16_t loaded = 0;
    bool ok = reader.Load(path, loaded, static_cast<int16_t>(kSection0Bit | kSection1Bit));
    if (!ok || loaded != (kSection0Bit | kSection1Bit)) state.SkipWithError("load failed");
  }
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadSections01FromFile);

void BM_ReadCRCCheckFromFile(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const auto bytes = TypicalCartRecord();
  const std::string path = folder.Write("bench.scp", bytes);
  for (auto _ : state) {
    bool valid = false;
    if (!CReader::ReadCRCCheck(path, valid) || !valid) state.SkipWithError("check failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadCRCCheckFromFile);

}  // namespace

BENCHMARK_MAIN();
