// engine/eval: runs the analysis engine over a folder of annotated records
// (record.scp with record.json, the LUDB layout) and compares what it
// writes with the cardiologists' reference.
//
//   eval FOLDER [--verbose] [--limit N] [--plot DIR]
//   eval --beats FOLDER [--verbose]
//
// Printed, in this order and format (kept stable, it is how progress is
// measured): a line per record with --verbose; the result codes; per
// global value the engine-minus-reference mean difference, its standard
// deviation and the mean absolute difference over the records where both
// give the value; P wave presence agreement; per fiducial the same over the
// annotated beats; beats found against the annotated QRS peaks
// (sensitivity, positive predictivity, 75 ms window); time per record.
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
#include "engine/eval/beat_records.h"
#include "engine/eval/ludb_reference.h"
#include "engine/eval/png_plot.h"
#include "engine/eval/statistics.h"
#include "engine/lead_measurements.h"
#include "scp/reader.h"

namespace fs = std::filesystem;
using namespace ecg::engine;
using namespace ecg::engine::eval;

namespace {

constexpr double kMatchWindowSeconds = 0.075;

const char* kGlobalNames[] = {"P duration", "PR", "QRS duration", "QT", "RR"};
const char* kFiducialNames[] = {"P onset", "P offset", "QRS onset", "QRS offset", "T offset"};
// Targets: mean |difference| and standard deviation, ms (RR has none).
const double kTargetMean[] = {10, 10, 10, 15, 0};
const double kTargetSd[] = {15, 15, 10, 30, 0};

struct Totals {
  size_t records = 0;
  std::map<int, size_t> codes;
  Differences global[5];
  Differences fiducial[5];
  size_t p_both = 0, p_engine_only = 0, p_reference_only = 0, p_neither = 0;
  size_t ref_beats = 0, detected = 0, tp = 0, fn = 0, fp = 0;
  std::vector<double> run_ms, analyse_ms;
};

bool CopyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

// Greedy one-to-one matching of detections to reference peaks.
void MatchBeats(const std::vector<long>& detected, const std::vector<int>& reference, long window,
                long span_from, long span_to, Totals& totals, std::vector<int>& match_of_detection) {
  match_of_detection.assign(detected.size(), -1);
  std::vector<bool> used(reference.size(), false);
  for (size_t d = 0; d < detected.size(); ++d) {
    long best = window + 1;
    int best_r = -1;
    for (size_t r = 0; r < reference.size(); ++r) {
      if (used[r]) continue;
      const long dist = std::labs(detected[d] - reference[r]);
      if (dist < best) {
        best = dist;
        best_r = static_cast<int>(r);
      }
    }
    if (best_r >= 0) {
      used[static_cast<size_t>(best_r)] = true;
      match_of_detection[d] = best_r;
    }
  }
  totals.ref_beats += reference.size();
  for (size_t r = 0; r < reference.size(); ++r) {
    if (used[r]) ++totals.tp;
    else ++totals.fn;
  }
  for (size_t d = 0; d < detected.size(); ++d) {
    if (detected[d] < span_from || detected[d] > span_to) continue;
    ++totals.detected;
    if (match_of_detection[d] < 0) ++totals.fp;
  }
}

std::string Value(bool has, double v) {
  if (!has) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", v);
  return text;
}

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


// Reference fiducials in median-beat samples: the median over the matched
// dominant beats of each fiducial's distance from the beat's fiducial.
struct MedianMarks {
  std::optional<double> v[5];
};

MedianMarks ReferenceInMedian(const RecordAnalysis& run, const std::vector<ReferenceBeat>& ref_beats,
                              const std::vector<int>& match) {
  std::vector<double> values[5];
  const double origin = static_cast<double>(run.result.medians.fiducial);
  for (size_t k = 0; k < run.result.beats.beats.size(); ++k) {
    const Beat& b = run.result.beats.beats[k];
    if (b.type != kBeatDominant || match[k] < 0) continue;
    const ReferenceBeat& rb = ref_beats[static_cast<size_t>(match[k])];
    const double shift = static_cast<double>(b.fiducial) - origin;
    if (rb.p_on) values[0].push_back(*rb.p_on - shift);
    if (rb.p_off) values[1].push_back(*rb.p_off - shift);
    if (rb.qrs_on != rb.peak) {
      values[2].push_back(rb.qrs_on - shift);
      values[3].push_back(rb.qrs_off - shift);
    }
    if (rb.t_off) values[4].push_back(*rb.t_off - shift);
  }
  MedianMarks m;
  for (int i = 0; i < 5; ++i) {
    if (values[i].empty()) continue;
    std::sort(values[i].begin(), values[i].end());
    m.v[i] = values[i][values[i].size() / 2];
  }
  return m;
}

void PlotRecord(const std::string& file, const RecordAnalysis& run, const MedianMarks& reference) {
  constexpr int kBandWidth = 620, kBandHeight = 140, kMargin = 10;
  const double kPixelsPerMv = std::getenv("ECG_PLOT_PX_PER_MV") ? std::atof(std::getenv("ECG_PLOT_PX_PER_MV")) : 60.0;
  const MedianBeats& m = run.result.medians;
  Canvas canvas(2 * kBandWidth, 6 * kBandHeight);
  const Delineation& d = run.result.delineation;
  const Rgb colours[5] = {{0, 90, 255}, {0, 90, 255}, {230, 0, 0}, {230, 0, 0}, {0, 160, 0}};
  const double marks[5] = {d.p_on, d.p_off, d.qrs_on, d.qrs_off, d.t_off};
  const bool have[5] = {d.p_present, d.p_present, d.qrs_found, d.qrs_found, d.t_found};
  const double px_per_sample = static_cast<double>(kBandWidth - 2 * kMargin) / static_cast<double>(m.length);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int x0 = (slot / 6) * kBandWidth + kMargin;
    const int y_top = (slot % 6) * kBandHeight;
    const int y_mid = y_top + kBandHeight / 2;
    for (int t = 0; t * 0.1 <= m.length / m.rate; ++t) {
      const int x = x0 + static_cast<int>(t * 0.1 * m.rate * px_per_sample);
      canvas.VLine(x, y_top + 2, y_top + kBandHeight - 2, {225, 225, 225});
    }
    canvas.Line(x0, y_mid, x0 + kBandWidth - 2 * kMargin, y_mid, {200, 200, 200});
    for (int i = 0; i < 5; ++i) {
      if (have[i]) {
        const int x = x0 + static_cast<int>(marks[i] * px_per_sample);
        canvas.VLine(x, y_top + 2, y_mid, colours[i]);
      }
      if (reference.v[i]) {
        const int x = x0 + static_cast<int>(*reference.v[i] * px_per_sample);
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

double Percent(size_t a, size_t b) { return b ? 100.0 * static_cast<double>(a) / static_cast<double>(b) : 0.0; }

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool verbose = false;
  bool beats_mode = false;
  std::string plot_dir;
  size_t limit = SIZE_MAX;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--verbose") verbose = true;
    else if (a == "--beats") beats_mode = true;
    else if (a == "--limit" && i + 1 < argc) limit = std::strtoul(argv[++i], nullptr, 10);
    else if (a == "--plot" && i + 1 < argc) plot_dir = argv[++i];
    else if (a == "--help" || a == "-h") {
      std::printf("usage: eval FOLDER [--verbose] [--limit N] [--plot DIR] | eval --beats FOLDER [--verbose]\n");
      return 0;
    } else if (folder.empty()) folder = a;
    else {
      std::fprintf(stderr, "eval: unexpected argument %s\n", a.c_str());
      return 2;
    }
  }
  if (folder.empty()) {
    std::fprintf(stderr, "usage: eval FOLDER [--verbose] [--limit N] [--plot DIR] | eval --beats FOLDER [--verbose]\n");
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

  Totals totals;
  if (verbose) {
    std::printf("%-10s %4s %9s %11s %11s %11s %11s %11s %7s %2s %2s %5s %5s %5s %5s %5s\n", "record", "code",
                "beats", "Pdur e/r", "PR e/r", "QRS e/r", "QT e/r", "RR e/r", "ms", "fn", "fp", "dPon", "dPoff",
                "dQon", "dQoff", "dToff");
  }
  for (const std::string& path : records) {
    const std::string name = fs::path(path).stem().string();
    LudbReference ref;
    std::string error;
    if (!ReadLudbReference(fs::path(path).replace_extension(".json").string(), ref, error)) {
      std::fprintf(stderr, "eval: %s skipped: %s\n", name.c_str(), error.c_str());
      continue;
    }
    if (!CopyFile(path, work)) {
      std::fprintf(stderr, "eval: %s skipped: cannot copy it\n", name.c_str());
      continue;
    }
    ++totals.records;
    RecordAnalysis run;
    const auto t0 = std::chrono::steady_clock::now();
    const EngineStatus status = AnalyseRecordFile(work.c_str(), 1, &run);
    const auto t1 = std::chrono::steady_clock::now();
    totals.codes[status.code]++;
    if (!status.ok()) {
      if (verbose) std::printf("%-10s %4d  %s\n", name.c_str(), status.code, status.reason.c_str());
      continue;
    }
    totals.run_ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    {
      AnalysisResult again;
      const auto a0 = std::chrono::steady_clock::now();
      Analyse(run.signal, again);
      const auto a1 = std::chrono::steady_clock::now();
      totals.analyse_ms.push_back(std::chrono::duration<double, std::milli>(a1 - a0).count());
    }

    // What the record now says.
    CAnalysisInfo info;
    if (!CReader::ReadAnalysisInfo(work.c_str(), &info)) {
      std::fprintf(stderr, "eval: %s: Section 7 cannot be read back\n", name.c_str());
      continue;
    }
    const SGlobalMeasurements& g = info.m_global;
    const bool engine_p = g.m_pOnset != static_cast<uint16_t>(kNotComputed);
    const bool engine_t = g.m_tOffset != static_cast<uint16_t>(kNotComputed);
    const bool ref_p = ref.p_duration_ms.has_value() && ref.pr_ms.has_value();
    const double ev[5] = {double(g.PDuration()), double(g.PRInterval()), double(g.QRSDuration()),
                          double(g.QTInterval()), double(g.m_rr)};
    const bool eh[5] = {engine_p, engine_p, true, engine_t, g.m_rr != static_cast<uint16_t>(kNotComputed)};
    const std::optional<double> rv[5] = {ref.p_duration_ms, ref.pr_ms, ref.qrs_ms, ref.qt_ms, ref.rr_ms};
    for (int k = 0; k < 5; ++k) {
      if (eh[k] && rv[k]) totals.global[k].Add(ev[k] - *rv[k]);
    }
    if (engine_p && ref_p) ++totals.p_both;
    else if (engine_p) ++totals.p_engine_only;
    else if (ref_p) ++totals.p_reference_only;
    else ++totals.p_neither;

    // Beats.
    const std::vector<ReferenceBeat> ref_beats = ReferenceBeats(ref);
    std::string record_marks_prefix;
    std::vector<long> detected;
    for (const Beat& b : run.result.beats.beats) detected.push_back(static_cast<long>(b.fiducial));
    const long window = std::lround(kMatchWindowSeconds * ref.rate);
    int span_from = 0, span_to = 0;
    AnnotatedSpan(ref, static_cast<int>(window), span_from, span_to);
    std::vector<int> match;
    const size_t fn_before = totals.fn, fp_before = totals.fp;
    MatchBeats(detected, ref.qrs_peaks, window, span_from, span_to, totals, match);
    char beat_errors[32];
    std::snprintf(beat_errors, sizeof beat_errors, " %2zu %2zu", totals.fn - fn_before, totals.fp - fp_before);
    record_marks_prefix = beat_errors;

    // Fiducials of the median beat placed on each matched dominant beat.
    const Delineation& d = run.result.delineation;
    const double to_ms = 1000.0 / run.signal.rate;
    const double origin = static_cast<double>(run.result.medians.fiducial);
    const MedianMarks in_median = ReferenceInMedian(run, ref_beats, match);
    const double engine_marks[5] = {d.p_on, d.p_off, d.qrs_on, d.qrs_off, d.t_off};
    const bool engine_has[5] = {d.p_present, d.p_present, d.qrs_found, d.qrs_found, d.t_found};
    std::string record_marks = record_marks_prefix;
    for (int i = 0; i < 5; ++i) {
      char text[16];
      if (engine_has[i] && in_median.v[i]) {
        std::snprintf(text, sizeof text, " %+5.0f", (engine_marks[i] - *in_median.v[i]) * to_ms);
      } else {
        std::snprintf(text, sizeof text, " %5s", "-");
      }
      record_marks += text;
    }
    for (size_t k = 0; k < run.result.beats.beats.size(); ++k) {
      const Beat& b = run.result.beats.beats[k];
      if (b.type != kBeatDominant || match[k] < 0) continue;
      const ReferenceBeat& rb = ref_beats[static_cast<size_t>(match[k])];
      const double shift = static_cast<double>(b.fiducial) - origin;
      if (d.p_present && rb.p_on) totals.fiducial[0].Add((d.p_on + shift - *rb.p_on) * to_ms);
      if (d.p_present && rb.p_off) totals.fiducial[1].Add((d.p_off + shift - *rb.p_off) * to_ms);
      if (rb.qrs_on <= rb.qrs_off && rb.qrs_on != rb.peak) {
        totals.fiducial[2].Add((d.qrs_on + shift - rb.qrs_on) * to_ms);
        totals.fiducial[3].Add((d.qrs_off + shift - rb.qrs_off) * to_ms);
      }
      if (d.t_found && rb.t_off) totals.fiducial[4].Add((d.t_off + shift - *rb.t_off) * to_ms);
    }

    if (!plot_dir.empty()) {
      PlotRecord(plot_dir + "/" + name + ".png", run, in_median);
      PlotRhythm(plot_dir + "/" + name + "-rhythm.png", run, ref);
    }
    if (verbose) {
      auto pair = [](bool he, double e, const std::optional<double>& r) {
        return Value(he, e) + "/" + Value(r.has_value(), r.value_or(0));
      };
      const size_t dominant = run.result.beats.DominantCount();
      std::printf("%-10s %4d %4zu/%-4zu %11s %11s %11s %11s %11s %7.2f %s\n", name.c_str(), status.code,
                  run.result.beats.beats.size(), dominant, pair(eh[0], ev[0], rv[0]).c_str(),
                  pair(eh[1], ev[1], rv[1]).c_str(), pair(eh[2], ev[2], rv[2]).c_str(),
                  pair(eh[3], ev[3], rv[3]).c_str(), pair(eh[4], ev[4], rv[4]).c_str(),
                  totals.run_ms.back(), record_marks.c_str());
    }
  }
  std::error_code rm;
  fs::remove_all(scratch_dir, rm);

  std::printf("Records: %zu\n", totals.records);
  std::printf("Result codes:");
  for (const auto& [code, count] : totals.codes) std::printf(" %d: %zu", code, count);
  std::printf("\n");
  PrintDifferences("Global values (engine - reference, ms, per record):", kGlobalNames, totals.global, 5, true);
  std::printf("P waves: both %zu, engine only %zu, reference only %zu, neither %zu\n", totals.p_both,
              totals.p_engine_only, totals.p_reference_only, totals.p_neither);
  PrintDifferences("Fiducials (engine - reference, ms, per annotated dominant beat):", kFiducialNames,
                   totals.fiducial, 5, false);
  std::printf("Beats (75 ms window): reference %zu, detected in the annotated span %zu, TP %zu, FN %zu, "
              "FP %zu, sensitivity %.2f %%, positive predictivity %.2f %%\n",
              totals.ref_beats, totals.detected, totals.tp, totals.fn, totals.fp,
              Percent(totals.tp, totals.tp + totals.fn), Percent(totals.detected - totals.fp, totals.detected));
  auto summary = [](std::vector<double> v, const char* what) {
    if (v.empty()) return;
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    std::printf("Time per record, %s: mean %.2f ms, median %.2f ms, max %.2f ms\n", what,
                sum / static_cast<double>(v.size()), v[v.size() / 2], v.back());
  };
  summary(totals.run_ms, "read, analyse and write");
  summary(totals.analyse_ms, "analysis alone");
  return 0;
}
