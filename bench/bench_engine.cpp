// The analysis engine's speed. The target: a 10 s, 12-lead, 500 Hz record
// analysed in under 10 ms of one core.
//
// "Analyse" times the analysis of a record already read (detection, typing,
// baseline, median beats, delineation, every lead's measurements): the
// record as a cart stores it, eight leads (I, II, V1-V6), to which the
// engine adds III, aVR, aVL and aVF, so twelve leads are analysed. "Entry"
// times the whole entry point on a file: read, analyse, build the sections
// and replace the file (with its syncs to the disk, so it also measures the
// disk). Real ECGs come from the shared data when it is there (ludb-001, a
// slow sinus rhythm, and ludb-035, atrial fibrillation at 140 per minute).
// "Interpret" times the statements alone, from an analysed record's
// measurements (criteria, exclusions, summary and Section 9 entries), in the
// extended set.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "engine/analyse_record.h"
#include "engine/analysis.h"
#include "engine/interpretation.h"
#include "engine/result_writer.h"
#include "support/section_builders.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using namespace ecg::engine;

ecg::test::Bytes SyntheticCartRecord(uint32_t rate, uint32_t seconds) {
  ecg::test::EcgRecordSpec spec;
  spec.leads = ecg::test::AcquiredLeadCodes();
  spec.rate_hz = rate;
  spec.seconds = seconds;
  spec.medians = false;
  spec.measurements = false;
  return ecg::test::SyntheticEcgRecord(spec);
}

std::string LudbRecord(const char* name) {
  const std::string shared = ecg::test::SharedDataFolder();
  if (shared.empty()) return {};
  const fs::path path = fs::path(shared) / "ludb-dev" / name;
  return fs::exists(path) ? path.string() : std::string();
}

bool ReadSignal(const std::string& path, EcgSignal& signal) {
  CAnalysisResultWriter reader;
  return reader.ReadRecord(path.c_str(), signal).ok();
}

void Analyse(benchmark::State& state, const std::string& path) {
  EcgSignal signal;
  if (path.empty() || !ReadSignal(path, signal)) {
    state.SkipWithError("no record");
    return;
  }
  AnalysisResult result;
  for (auto _ : state) {
    const EngineStatus status = ecg::engine::Analyse(signal, result);
    if (!status.ok()) {
      state.SkipWithError(status.reason.c_str());
      break;
    }
    benchmark::DoNotOptimize(result.global.qrs_off_ms);
  }
  state.counters["leads"] = static_cast<double>(signal.leads.size());
  state.counters["beats"] = static_cast<double>(result.beats.beats.size());
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_AnalyseSynthetic500Hz10s(benchmark::State& state) {
  ecg::test::TempFolder folder;
  Analyse(state, folder.Write("r.scp", SyntheticCartRecord(500, 10)));
}
BENCHMARK(BM_AnalyseSynthetic500Hz10s)->Unit(benchmark::kMillisecond);

void BM_AnalyseLudbSinus500Hz10s(benchmark::State& state) { Analyse(state, LudbRecord("ludb-001.scp")); }
BENCHMARK(BM_AnalyseLudbSinus500Hz10s)->Unit(benchmark::kMillisecond);

void BM_AnalyseLudbFibrillation500Hz10s(benchmark::State& state) { Analyse(state, LudbRecord("ludb-035.scp")); }
BENCHMARK(BM_AnalyseLudbFibrillation500Hz10s)->Unit(benchmark::kMillisecond);

// The largest record the engine takes: 20 s at 1000 Hz.
void Interpret(benchmark::State& state, const std::string& path) {
  EcgSignal signal;
  AnalysisResult result;
  if (path.empty() || !ReadSignal(path, signal) || !ecg::engine::Analyse(signal, result).ok()) {
    state.SkipWithError("no record");
    return;
  }
  InterpretationOptions options;
  options.set = StatementSet::kExtended;
  for (auto _ : state) {
    Interpretation made = ecg::engine::Interpret(signal, result, options);
    benchmark::DoNotOptimize(made.morphology.data());
  }
  state.counters["statements"] = static_cast<double>(ecg::engine::Interpret(signal, result, options).statements.size());
}

void BM_InterpretLudbSinus(benchmark::State& state) { Interpret(state, LudbRecord("ludb-023.scp")); }
BENCHMARK(BM_InterpretLudbSinus)->Unit(benchmark::kMicrosecond);

void BM_InterpretLudbFibrillation(benchmark::State& state) { Interpret(state, LudbRecord("ludb-051.scp")); }
BENCHMARK(BM_InterpretLudbFibrillation)->Unit(benchmark::kMicrosecond);

void BM_AnalyseSynthetic1000Hz20s(benchmark::State& state) {
  ecg::test::TempFolder folder;
  Analyse(state, folder.Write("r.scp", SyntheticCartRecord(1000, 20)));
}
BENCHMARK(BM_AnalyseSynthetic1000Hz20s)->Unit(benchmark::kMillisecond);

void BM_EntryOnFile500Hz10s(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const ecg::test::Bytes bytes = SyntheticCartRecord(500, 10);
  const std::string path = folder.File("working-copy.scp");
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write("working-copy.scp", bytes);
    state.ResumeTiming();
    const EngineStatus status = AnalyseRecordFile(path.c_str(), 1);
    if (!status.ok()) {
      state.SkipWithError(status.reason.c_str());
      break;
    }
  }
}
BENCHMARK(BM_EntryOnFile500Hz10s)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
