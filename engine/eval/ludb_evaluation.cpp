// Analysing an annotated record and comparing it with its reference.

#include "engine/eval/ludb_evaluation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>

#include "engine/lead_measurements.h"
#include "scp/reader.h"

namespace fs = std::filesystem;

namespace ecg::engine::eval {

namespace {

// Greedy one-to-one matching of detections to reference peaks; the match
// of each detection (-1 for none).
std::vector<int> MatchBeats(const std::vector<long>& detected, const std::vector<int>& reference, long window) {
  std::vector<int> match(detected.size(), -1);
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
      match[d] = best_r;
    }
  }
  return match;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

bool EvaluateRecord(const std::string& record, const std::string& reference_file, const std::string& work,
                    RecordEvaluation& out, RecordAnalysis& run, std::string& error) {
  out = RecordEvaluation();
  out.name = fs::path(record).stem().string();
  LudbReference ref;
  if (!ReadLudbReference(reference_file, ref, error)) return false;
  std::error_code ec;
  fs::copy_file(record, work, fs::copy_options::overwrite_existing, ec);
  // The reference data is read-only; the working copy must not be.
  if (!ec) fs::permissions(work, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  if (ec) {
    error = "cannot copy " + record + ": " + ec.message();
    return false;
  }
  const auto t0 = std::chrono::steady_clock::now();
  out.status = AnalyseRecordFile(work.c_str(), 1, &run);
  out.run_ms = Milliseconds(std::chrono::steady_clock::now() - t0);
  if (!out.status.ok()) return true;
  {
    AnalysisResult again;
    const auto a0 = std::chrono::steady_clock::now();
    Analyse(run.signal, again);
    out.analyse_ms = Milliseconds(std::chrono::steady_clock::now() - a0);
  }

  // What the record now says.
  CAnalysisInfo info;
  if (!CReader::ReadAnalysisInfo(work.c_str(), &info)) {
    error = out.name + ": Section 7 cannot be read back";
    return false;
  }
  const SGlobalMeasurements& g = info.m_global;
  const auto missing = static_cast<uint16_t>(kNotComputed);
  out.engine_p = g.m_pOnset != missing;
  out.reference_p = ref.p_duration_ms.has_value() && ref.pr_ms.has_value();
  if (out.engine_p) {
    out.engine[kPDuration] = g.PDuration();
    out.engine[kPrInterval] = g.PRInterval();
  }
  out.engine[kQrsDuration] = g.QRSDuration();
  if (g.m_tOffset != missing) out.engine[kQtInterval] = g.QTInterval();
  if (g.m_rr != missing) out.engine[kRrInterval] = g.m_rr;
  out.reference[kPDuration] = ref.p_duration_ms;
  out.reference[kPrInterval] = ref.pr_ms;
  out.reference[kQrsDuration] = ref.qrs_ms;
  // A QT at least as long as the RR cannot be one beat's: the reference
  // paired a T wave with the wrong complex (ludb-035, flutter waves marked
  // as T waves). Such a value is left out of the QT comparison and counted.
  out.reference_qt_left_out = ref.qt_ms && ref.rr_ms && *ref.qt_ms >= *ref.rr_ms;
  if (!out.reference_qt_left_out) out.reference[kQtInterval] = ref.qt_ms;
  out.reference[kRrInterval] = ref.rr_ms;

  // Beats against the annotated peaks, inside the annotated stretch.
  const std::vector<ReferenceBeat> ref_beats = ReferenceBeats(ref);
  std::vector<long> detected;
  for (const Beat& b : run.result.beats.beats) detected.push_back(static_cast<long>(b.fiducial));
  const long window = std::lround(kMatchWindowSeconds * ref.rate);
  int span_from = 0, span_to = -1;
  AnnotatedSpan(ref, static_cast<int>(window), span_from, span_to);
  const std::vector<int> match = MatchBeats(detected, ref.qrs_peaks, window);
  out.reference_beats = ref.qrs_peaks.size();
  out.tp = static_cast<size_t>(std::count_if(match.begin(), match.end(), [](int m) { return m >= 0; }));
  out.fn = out.reference_beats - out.tp;
  for (size_t d = 0; d < detected.size(); ++d) {
    if (detected[d] < span_from || detected[d] > span_to) continue;
    ++out.detected_in_span;
    if (match[d] < 0) ++out.fp;
  }

  // The median beat's fiducials on each matched dominant beat.
  const Delineation& dl = run.result.delineation;
  const double to_ms = 1000.0 / run.signal.rate;
  const double origin = static_cast<double>(run.result.medians.fiducial);
  const double marks[kFiducials] = {dl.p_on, dl.p_off, dl.qrs_on, dl.qrs_off, dl.t_off};
  const bool has[kFiducials] = {dl.p_present, dl.p_present, dl.qrs_found, dl.qrs_found, dl.t_found};
  std::vector<double> placed[kFiducials];
  for (size_t k = 0; k < run.result.beats.beats.size(); ++k) {
    const Beat& b = run.result.beats.beats[k];
    if (b.type != kBeatDominant || match[k] < 0) continue;
    const ReferenceBeat& rb = ref_beats[static_cast<size_t>(match[k])];
    const double shift = static_cast<double>(b.fiducial) - origin;
    std::optional<double> truth[kFiducials] = {rb.p_on, rb.p_off, std::nullopt, std::nullopt, rb.t_off};
    if (rb.qrs_on <= rb.qrs_off && rb.qrs_on != rb.peak) {
      truth[kQrsOnset] = rb.qrs_on;
      truth[kQrsOffset] = rb.qrs_off;
    }
    for (int f = 0; f < kFiducials; ++f) {
      if (!truth[f]) continue;
      placed[f].push_back(*truth[f] - shift);
      if (has[f]) out.beat_differences[f].push_back((marks[f] + shift - *truth[f]) * to_ms);
    }
  }
  for (int f = 0; f < kFiducials; ++f) {
    if (placed[f].empty()) continue;
    std::sort(placed[f].begin(), placed[f].end());
    out.reference_in_median[f] = placed[f][placed[f].size() / 2];
    if (has[f]) out.median_difference[f] = (marks[f] - *out.reference_in_median[f]) * to_ms;
  }
  return true;
}

void EvaluationTotals::Add(const RecordEvaluation& r) {
  ++records;
  codes[r.status.code]++;
  if (r.reference_qt_left_out) ++qt_left_out;
  if (!r.status.ok()) return;
  run_ms.push_back(r.run_ms);
  analyse_ms.push_back(r.analyse_ms);
  for (int k = 0; k < kGlobalValues; ++k) {
    if (r.engine[k] && r.reference[k]) global[k].Add(*r.engine[k] - *r.reference[k]);
  }
  if (r.engine_p && r.reference_p) ++p_both;
  else if (r.engine_p) ++p_engine_only;
  else if (r.reference_p) ++p_reference_only;
  else ++p_neither;
  reference_beats += r.reference_beats;
  detected_in_span += r.detected_in_span;
  tp += r.tp;
  fn += r.fn;
  fp += r.fp;
  for (int f = 0; f < kFiducials; ++f) {
    for (double d : r.beat_differences[f]) fiducial[f].Add(d);
  }
}

double EvaluationTotals::Sensitivity() const {
  return tp + fn ? 100.0 * static_cast<double>(tp) / static_cast<double>(tp + fn) : 0.0;
}

double EvaluationTotals::PositivePredictivity() const {
  return detected_in_span ? 100.0 * static_cast<double>(detected_in_span - fp) / static_cast<double>(detected_in_span)
                          : 0.0;
}

}  // namespace ecg::engine::eval
