#pragma once
// The per-lead values the interpretation criteria read, taken from the
// Section 10 blocks the engine measured, by standard lead.

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"

namespace ecg::engine {

struct LeadValues {
  bool usable = false;
  // QRS waves, µV (q and s negative or 0), ms.
  double q = 0, r = 0, s = 0;  // r: the larger of R and R', s: the deeper of S and S'
  double r1 = 0, r2 = 0;       // R and R' apart
  double qrs_ms = 0;  // this lead's QRS without its iso-electric start and end
  double q_ms = 0, r_ms = 0, s_ms = 0, s_last_ms = 0;
  bool qs = false;             // no positive wave at all
  bool ends_positive = false;  // the last QRS wave is an R or R'
  double r_peak_ms = -1;       // QRS onset to the last R peak; -1 unknown
  // ST and T, µV from the PR level.
  double j = 0, st20 = 0, st60 = 0, st80 = 0;
  double t_pos = 0, t_neg = 0;
  bool t_known = false;
  int t_morphology = 0;
  // P, µV.
  double p_pos = 0, p_neg = 0;
  int p_morphology = 0;

  double PeakToPeak() const { return r - (qs ? q : std::min(q, s)); }
  // The deepest negative QRS wave (Q of a QS complex included).
  double Deepest() const { return std::min(q, s); }
};

struct RecordLeads {
  std::array<LeadValues, kSlotCount> at{};
  const LeadValues& operator[](int slot) const { return at[static_cast<size_t>(slot)]; }
  // How many of the slots are usable and satisfy `test`.
  template <typename Test>
  int Count(std::initializer_list<int> slots, Test test) const {
    int n = 0;
    for (int s : slots) n += at[static_cast<size_t>(s)].usable && test(at[static_cast<size_t>(s)]) ? 1 : 0;
    return n;
  }
};

RecordLeads CollectLeads(const EcgSignal& signal, const AnalysisResult& result);

}  // namespace ecg::engine
