// engine/eval: runs the analysis engine over a folder of annotated records
// (record.scp with record.json, the LUDB layout) and compares what it
// writes with the cardiologists' reference.
//
//   eval FOLDER [--verbose] [--statements] [--limit N] [--plot DIR]
//   eval --beats FOLDER [--verbose]
//
// Printed, in this order and format (kept stable, it is how progress is
// measured): a line per record with --verbose; the result codes; per
// global value the engine-minus-reference mean difference, its standard
// deviation and the mean absolute difference over the records where both
// give the value; P wave presence agreement; per fiducial the same over the
// annotated beats; beats found against the annotated QRS peaks
// (sensitivity, positive predictivity, 75 ms window); the agreement of the
// statements with the reference diagnoses per class; time per record.
// --statements prints each record's statements and diagnoses.
// --plot writes a picture per record of the twelve median beats with the
// engine's marks (upper half of each lead) and the reference's (lower half:
// the median over the beats of each annotated fiducial).
// --beats runs the detection and beat typing over 10 s stretches of
// beat-labelled long recordings (the QT database layout) instead.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/analyse_record.h"
#include "engine/atrial_flutter.h"
#include "engine/eval/beat_records.h"
#include "engine/eval/ludb_evaluation.h"
#include "engine/eval/png_plot.h"
#include "engine/eval/statement_agreement.h"

namespace fs = std::filesystem;
using namespace ecg::engine;
using namespace ecg::engine::eval;

namespace {

const char* kGlobalNames[] = {"P duration", "PR", "QRS duration", "QT", "RR"};
const char* kFiducialNames[] = {"P onset", "P offset", "QRS onset", "QRS offset", "T offset"};
// Targets: |mean difference| and standard deviation, ms (RR has none).
const double kTargetMean[] = {10, 10, 10, 15, 0};
const double kTargetSd[] = {15, 15, 10, 30, 0};

void PrintDifferences(const char* title, const char* const* names, const Differences* d, size_t count,
                      bool targets) {
  std::printf("%s\n", title);
  std::printf("  %-14s %5s %8s %8s %8s%s\n", "value", "n", "mean", "sd", "mean|d|",
              targets ? "   target |mean| / sd" : "");
  for (size_t i = 0; i < count; ++i) {
    std::printf("  %-14s %5zu %+8.1f %8.1f %8.1f", names[i], d[i].count(), d[i].mean(), d[i].sd(),
                d[i].mean_abs());
    if (targets && kTargetSd[i] > 0) {
      const bool met = std::fabs(d[i].mean()) <= kTargetMean[i] && d[i].sd() <= kTargetSd[i];
      std::printf("   %4.0f / %-4.0f %s", kTargetMean[i], kTargetSd[i], met ? "met" : "not met");
    }
    std::printf("\n");
  }
}

std::string Pair(const std::optional<double>& e, const std::optional<double>& r) {
  char text[32];
  auto one = [](const std::optional<double>& v) {
    char t[16];
    if (v) std::snprintf(t, sizeof t, "%.0f", *v);
    else std::snprintf(t, sizeof t, "-");
    return std::string(t);
  };
  std::snprintf(text, sizeof text, "%s/%s", one(e).c_str(), one(r).c_str());
  return text;
}

void PlotRecord(const std::string& file, const RecordAnalysis& run, const RecordEvaluation& evaluation) {
  constexpr int kBandWidth = 620, kBandHeight = 140, kMargin = 10;
  const double kPixelsPerMv = std::getenv("ECG_PLOT_PX_PER_MV") ? std::atof(std::getenv("ECG_PLOT_PX_PER_MV")) : 60.0;
  const MedianBeats& m = run.result.medians;
  Canvas canvas(2 * kBandWidth, 6 * kBandHeight);
  const Delineation& d = run.result.delineation;
  const Rgb colours[5] = {{0, 90, 255}, {0, 90, 255}, {230, 0, 0}, {230, 0, 0}, {0, 160, 0}};
  const double marks[5] = {d.p_on, d.p_off, d.qrs_on, d.qrs_off, d.t_off};
  const bool have[5] = {d.p_present, d.p_present, d.qrs_found, d.qrs_found, d.t_found};
  // ECG_PLOT_FROM / ECG_PLOT_TO (seconds of the median beat) show a part
  // of it only, wider.
  const double from = std::getenv("ECG_PLOT_FROM") ? std::atof(std::getenv("ECG_PLOT_FROM")) * m.rate : 0.0;
  const double to = std::getenv("ECG_PLOT_TO") ? std::atof(std::getenv("ECG_PLOT_TO")) * m.rate
                                               : static_cast<double>(m.length);
  const double shown = to > from ? to - from : static_cast<double>(m.length);
  const double px_per_sample = static_cast<double>(kBandWidth - 2 * kMargin) / shown;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int x0 = (slot / 6) * kBandWidth + kMargin - static_cast<int>(from * px_per_sample);
    const int left = (slot / 6) * kBandWidth + kMargin, right = left + kBandWidth - 2 * kMargin;
    const int y_top = (slot % 6) * kBandHeight;
    const int y_mid = y_top + kBandHeight / 2;
    const double grid = shown < 0.5 * m.rate ? 0.02 : 0.1;
    for (int t = 0; t * grid <= m.length / m.rate; ++t) {
      const int x = x0 + static_cast<int>(t * grid * m.rate * px_per_sample);
      if (x >= left && x <= right) canvas.VLine(x, y_top + 2, y_top + kBandHeight - 2, {225, 225, 225});
    }
    canvas.Line(left, y_mid, right, y_mid, {200, 200, 200});
    for (int i = 0; i < 5; ++i) {
      if (have[i]) {
        const int x = x0 + static_cast<int>(marks[i] * px_per_sample);
        if (x >= left && x <= right) canvas.VLine(x, y_top + 2, y_mid, colours[i]);
      }
      if (evaluation.reference_in_median[i]) {
        const int x = x0 + static_cast<int>(*evaluation.reference_in_median[i] * px_per_sample);
        if (x < left || x > right) continue;
        const Rgb dark{static_cast<uint8_t>(colours[i].r / 2), static_cast<uint8_t>(colours[i].g / 2),
                       static_cast<uint8_t>(colours[i].b / 2)};
        canvas.VLine(x, y_mid, y_top + kBandHeight - 2, dark);
      }
    }
    const int li = run.signal.slot[slot];
    if (li < 0) continue;
    const std::vector<float>& y = m.leads[static_cast<size_t>(li)];
    int px = -1, py = 0;
    for (size_t k = 0; k < y.size(); ++k) {
      const int x = x0 + static_cast<int>(static_cast<double>(k) * px_per_sample);
      if (x < left || x > right) continue;
      const int yy = std::clamp(y_mid - static_cast<int>(y[k] / 1000.0 * kPixelsPerMv), y_top + 1,
                                y_top + kBandHeight - 1);
      if (px >= 0) canvas.Line(px, py, x, yy, {0, 0, 0});
      px = x;
      py = yy;
    }
  }
  canvas.WritePng(file);
}

// The whole record, lead by lead, with the detected complexes (coloured by
// type, above each lead) and the annotated QRS peaks (below).
void PlotRhythm(const std::string& file, const RecordAnalysis& run, const LudbReference& ref) {
  constexpr int kWidth = 1800, kBand = 90;
  const double px_per_mv = std::getenv("ECG_PLOT_PX_PER_MV") ? std::atof(std::getenv("ECG_PLOT_PX_PER_MV")) / 2 : 30.0;
  const EcgSignal& sig = run.signal;
  Canvas canvas(kWidth, kBand * kSlotCount);
  const double px_per_sample = static_cast<double>(kWidth) / static_cast<double>(sig.samples);
  const Rgb type_colour[4] = {{0, 160, 0}, {0, 90, 255}, {230, 0, 0}, {150, 150, 150}};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int top = slot * kBand, mid = top + kBand / 2;
    for (const Beat& b : run.result.beats.beats) {
      canvas.VLine(static_cast<int>(static_cast<double>(b.fiducial) * px_per_sample), top + 2, mid - 20, type_colour[b.type & 3]);
    }
    for (int p : ref.qrs_peaks) canvas.VLine(static_cast<int>(p * px_per_sample), mid + 20, top + kBand - 2, {120, 0, 120});
    const int li = sig.slot[slot];
    if (li < 0) continue;
    const std::vector<float>& y = sig.leads[static_cast<size_t>(li)].uv;
    double mean = 0;
    for (float v : y) mean += v;
    mean /= static_cast<double>(std::max<size_t>(1, y.size()));
    int px = -1, py = 0;
    for (size_t k = 0; k < y.size(); ++k) {
      const int x = static_cast<int>(static_cast<double>(k) * px_per_sample);
      const int yy = std::clamp(mid - static_cast<int>((y[k] - mean) / 1000.0 * px_per_mv), top + 1, top + kBand - 1);
      if (px >= 0) canvas.Line(px, py, x, yy, {0, 0, 0});
      px = x;
      py = yy;
    }
  }
  canvas.WritePng(file);
}


void Summary(std::vector<double> v, const char* what) {
  if (v.empty()) return;
  std::sort(v.begin(), v.end());
  double sum = 0;
  for (double x : v) sum += x;
  std::printf("Time per record, %s: mean %.2f ms, median %.2f ms, max %.2f ms\n", what,
              sum / static_cast<double>(v.size()), v[v.size() / 2], v.back());
}

}  // namespace

// A record's statement codes next to its reference diagnoses.
void PrintStatements(const std::string& name, const std::vector<std::string>& diagnoses, const RecordAnalysis& run) {
  const GlobalValues& g = run.result.global;
  const std::vector<uint16_t>& codes = run.result.interpretation.statements;
  std::printf("%-10s rate %d, PR %d, QRS %d, QTc %d, axes %d/%d/%d; engine:", name.c_str(), g.heart_rate,
              run.result.delineation.p_present ? g.qrs_on_ms - g.p_on_ms : -1, g.qrs_off_ms - g.qrs_on_ms, g.qtc_ms,
              g.p_axis, g.qrs_axis, g.t_axis);
  std::vector<int> widths;
  for (const SLeadMeasurement& m : run.result.leads) {
    if ((m.m_qualityCode & 32) == 0) widths.push_back(m.m_qrsDuration);
  }
  std::sort(widths.rbegin(), widths.rend());
  std::vector<double> rr;
  const auto& beats = run.result.beats.beats;
  for (size_t k = 1; k < beats.size(); ++k) rr.push_back(static_cast<double>(beats[k].fiducial - beats[k - 1].fiducial));
  double spread = 0;
  if (rr.size() >= 2) {
    std::vector<double> diff;
    for (size_t k = 1; k < rr.size(); ++k) diff.push_back(std::fabs(rr[k] - rr[k - 1]));
    std::sort(rr.begin(), rr.end());
    std::sort(diff.begin(), diff.end());
    spread = diff[diff.size() / 2] / rr[rr.size() / 2];
  }
  std::printf(" irregular %d spread %.3f", run.result.beats.irregular ? 1 : 0, spread);
  {
    const FlutterAnalysis f = AnalyseAtrialFlutter(run.signal, run.result);
    std::printf(" flutter cycle %.0f r %.2f/%.2f V1 %.2f/%.2f", f.cycle_ms, f.at_cycle, f.at_two_cycles, f.v1_at_cycle,
                f.v1_at_two_cycles);
  }
  {
    // Voltage sums (µV): Sokolow-Lyon and Cornell.
    auto at = [&](int slot) -> const SLeadMeasurement* {
      const int i = run.signal.slot[slot];
      return i < 0 ? nullptr : &run.result.leads[static_cast<size_t>(i)];
    };
    auto r = [](const SLeadMeasurement* m) { return m ? std::max<int>(m->m_rAmplitude, m->m_r2Amplitude) : 0; };
    auto deep = [](const SLeadMeasurement* m) {
      return m ? -std::min({0, static_cast<int>(m->m_qAmplitude), static_cast<int>(m->m_sAmplitude),
                             static_cast<int>(m->m_s2Amplitude)})
               : 0;
    };
    std::printf(" SL %d Cornell %d", deep(at(kSlotV1)) + std::max(r(at(kSlotV5)), r(at(kSlotV6))),
                r(at(kSlotAVL)) + deep(at(kSlotV3)));
  }
  std::printf(" lead QRS");
  for (int w : widths) std::printf(" %d", w);
  std::printf(";");
  for (uint16_t c : codes) {
    const StatementInfo* s = FindStatement(c);
    std::printf(" [%s]", s != nullptr ? s->english : "?");
  }
  std::printf("\n%-10s reference:", "");
  for (const std::string& d : diagnoses) std::printf(" [%s]", d.c_str());
  std::printf("\n");
}

int main(int argc, char** argv) {
  const char* usage =
      "usage: eval FOLDER [--verbose] [--statements] [--limit N] [--plot DIR] | eval --beats FOLDER [--verbose]\n";
  std::string folder;
  bool verbose = false;
  bool statements = false;
  bool beats_mode = false;
  std::string plot_dir;
  size_t limit = SIZE_MAX;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--verbose") verbose = true;
    else if (a == "--statements") statements = true;
    else if (a == "--beats") beats_mode = true;
    else if (a == "--limit" && i + 1 < argc) limit = std::strtoul(argv[++i], nullptr, 10);
    else if (a == "--plot" && i + 1 < argc) plot_dir = argv[++i];
    else if (a == "--help" || a == "-h") {
      std::printf("%s", usage);
      return 0;
    } else if (folder.empty() && !a.empty() && a[0] != '-') folder = a;
    else {
      std::fprintf(stderr, "eval: unexpected argument %s\n%s", a.c_str(), usage);
      return 2;
    }
  }
  if (folder.empty()) {
    std::fprintf(stderr, "%s", usage);
    return 2;
  }
  if (beats_mode) return RunBeatStress(folder, verbose);
  std::vector<std::string> records;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() == ".scp") records.push_back(entry.path().string());
  }
  if (ec) {
    std::fprintf(stderr, "eval: cannot list %s: %s\n", folder.c_str(), ec.message().c_str());
    return 2;
  }
  std::sort(records.begin(), records.end());
  if (records.size() > limit) records.resize(limit);
  if (records.empty()) {
    std::fprintf(stderr, "eval: no .scp records in %s\n", folder.c_str());
    return 2;
  }
  char scratch_template[] = "/tmp/ecg-eval-XXXXXX";
  const char* scratch_dir = mkdtemp(scratch_template);
  if (scratch_dir == nullptr) {
    std::fprintf(stderr, "eval: cannot make a scratch folder\n");
    return 2;
  }
  const std::string work = std::string(scratch_dir) + "/record.scp";

  EvaluationTotals totals;
  StatementAgreement agreement;
  if (verbose) {
    std::printf("%-10s %4s %9s %11s %11s %11s %11s %11s %7s %2s %2s %5s %5s %5s %5s %5s\n", "record", "code",
                "beats", "Pdur e/r", "PR e/r", "QRS e/r", "QT e/r", "RR e/r", "ms", "fn", "fp", "dPon", "dPoff",
                "dQon", "dQoff", "dToff");
  }
  for (const std::string& path : records) {
    RecordEvaluation r;
    RecordAnalysis run;
    std::string error;
    if (!EvaluateRecord(path, fs::path(path).replace_extension(".json").string(), work, r, run, error)) {
      std::fprintf(stderr, "eval: %s skipped: %s\n", fs::path(path).stem().c_str(), error.c_str());
      continue;
    }
    totals.Add(r);
    {
      LudbReference ref;
      std::string why;
      if (ReadLudbReference(fs::path(path).replace_extension(".json").string(), ref, why)) {
        agreement.Add(ref.diagnoses, r.status.ok() ? run.result.interpretation.statements : std::vector<uint16_t>{});
        if (statements) PrintStatements(r.name, ref.diagnoses, run);
      }
    }
    if (!r.status.ok()) {
      if (verbose) std::printf("%-10s %4d  %s\n", r.name.c_str(), r.status.code, r.status.reason.c_str());
      continue;
    }
    if (!plot_dir.empty()) {
      PlotRecord(plot_dir + "/" + r.name + ".png", run, r);
      LudbReference ref;
      if (ReadLudbReference(fs::path(path).replace_extension(".json").string(), ref, error)) {
        PlotRhythm(plot_dir + "/" + r.name + "-rhythm.png", run, ref);
      }
    }
    if (verbose) {
      std::string marks;
      for (int f = 0; f < kFiducials; ++f) {
        char text[16];
        if (r.median_difference[f]) std::snprintf(text, sizeof text, " %+5.0f", *r.median_difference[f]);
        else std::snprintf(text, sizeof text, " %5s", "-");
        marks += text;
      }
      std::printf("%-10s %4d %4zu/%-4zu %11s %11s %11s %11s %11s %7.2f %2zu %2zu%s\n", r.name.c_str(), r.status.code,
                  run.result.beats.beats.size(), run.result.beats.DominantCount(),
                  Pair(r.engine[0], r.reference[0]).c_str(), Pair(r.engine[1], r.reference[1]).c_str(),
                  Pair(r.engine[2], r.reference[2]).c_str(), Pair(r.engine[3], r.reference[3]).c_str(),
                  Pair(r.engine[4], r.reference[4]).c_str(), r.run_ms, r.fn, r.fp, marks.c_str());
    }
  }
  std::error_code rm;
  fs::remove_all(scratch_dir, rm);

  std::printf("Records: %zu\n", totals.records);
  std::printf("Result codes:");
  for (const auto& [code, count] : totals.codes) std::printf(" %d: %zu", code, count);
  std::printf("\n");
  PrintDifferences("Global values (engine - reference, ms, per record):", kGlobalNames, totals.global,
                   kGlobalValues, true);
  std::printf("QT references left out (as long as the RR or longer): %zu\n", totals.qt_left_out);
  std::printf("P waves: both %zu, engine only %zu, reference only %zu, neither %zu\n", totals.p_both,
              totals.p_engine_only, totals.p_reference_only, totals.p_neither);
  PrintDifferences("Fiducials (engine - reference, ms, per annotated dominant beat):", kFiducialNames,
                   totals.fiducial, kFiducials, false);
  std::printf("Beats (75 ms window): reference %zu, detected in the annotated span %zu, TP %zu, FN %zu, "
              "FP %zu, sensitivity %.2f %%, positive predictivity %.2f %%\n",
              totals.reference_beats, totals.detected_in_span, totals.tp, totals.fn, totals.fp,
              totals.Sensitivity(), totals.PositivePredictivity());
  std::printf("Statements against the reference diagnoses (records where the class is present or absent):\n%s",
              agreement.Table().c_str());
  Summary(totals.run_ms, "read, analyse and write");
  Summary(totals.analyse_ms, "analysis alone");
  return 0;
}
