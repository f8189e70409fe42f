#pragma once
// The reference file of an annotated evaluation record (the LUDB layout):
// per-lead onset/peak/offset marks of P, QRS and T, the record's global
// reference values and the annotated QRS peaks; and the per-beat global
// fiducials the marks imply (earliest onset and latest offset over the
// leads, as the reference values are defined).

#include <optional>
#include <string>
#include <vector>

#include "engine/eval/json_value.h"

namespace ecg::engine::eval {

struct WaveMark {
  int onset = 0, peak = 0, offset = 0;  // 0-based samples
};

struct LeadMarks {
  std::string lead;
  std::vector<WaveMark> p, qrs, t;
};

struct LudbReference {
  double rate = 0;
  std::vector<LeadMarks> leads;
  std::vector<int> qrs_peaks;
  std::optional<double> p_duration_ms, pr_ms, qrs_ms, qt_ms, rr_ms;
  std::vector<std::string> diagnoses;
};

bool LudbReferenceFromJson(const JsonValue& root, LudbReference& out, std::string& error);
bool ReadLudbReference(const std::string& path, LudbReference& out, std::string& error);

// One annotated beat with its global fiducials (0-based samples).
struct ReferenceBeat {
  int peak = 0;
  int qrs_on = 0, qrs_off = 0;
  std::optional<int> p_on, p_off, t_off;
};

// Beats in the order of the annotated QRS peaks; a lead's QRS mark joins
// the peak within 100 ms of it, a P mark the next beat after its peak
// (within 450 ms), a T mark the last beat before its peak (within 800 ms).
std::vector<ReferenceBeat> ReferenceBeats(const LudbReference& reference);

// The stretch of the record from the first to the last annotated QRS peak,
// widened by `margin` samples: [first, last]. (Some leads carry marks of
// complexes the peak list leaves out; the peak list is the reference.)
bool AnnotatedSpan(const LudbReference& reference, int margin, int& first, int& last);

}  // namespace ecg::engine::eval
