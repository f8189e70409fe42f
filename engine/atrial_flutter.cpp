// Atrial flutter from the periodicity of the atrial activity between the
// ventricular complexes (see atrial_flutter.h).

#include "engine/atrial_flutter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "engine/filters.h"

namespace ecg::engine {

namespace {

constexpr std::array<int, 4> kLeads = {kSlotII, kSlotIII, kSlotAVF, kSlotV1};  // V1 last
constexpr double kBinSeconds = 0.010;
constexpr double kMaskBeforeQrsSeconds = 0.020;
constexpr double kMaskAfterQrsSeconds = 0.040;
constexpr double kHighPassHz = 1.0;
// A lag counts in a lead when at least this much of the lead pairs with
// itself that much later (0.5 s: 2-3 flutter waves).
constexpr double kMinPairedSeconds = 0.5;

// A lead at 100 Hz: the values with their baseline removed, and which bins
// count.
struct Binned {
  std::vector<double> x;
  std::vector<uint8_t> ok;
};

// Normalised correlation of the lead with itself `lag` bins later, over
// the bins where both count.
double Correlation(const Binned& b, size_t lag, size_t& pairs) {
  double sxy = 0, sxx = 0, syy = 0;
  pairs = 0;
  for (size_t i = 0; i + lag < b.x.size(); ++i) {
    if (!b.ok[i] || !b.ok[i + lag]) continue;
    sxy += b.x[i] * b.x[i + lag];
    sxx += b.x[i] * b.x[i];
    syy += b.x[i + lag] * b.x[i + lag];
    ++pairs;
  }
  return sxx > 0 && syy > 0 ? sxy / std::sqrt(sxx * syy) : 0.0;
}

// The samples of every ventricular complex, widened.
std::vector<uint8_t> VentricularMask(const EcgSignal& signal, const AnalysisResult& result) {
  std::vector<uint8_t> masked(signal.samples, 0);
  const Delineation& d = result.delineation;
  const double fid = static_cast<double>(result.medians.fiducial);
  const double last = static_cast<double>(signal.samples) - 1;
  for (const Beat& b : result.beats.beats) {
    double on = static_cast<double>(std::min(b.onset, b.fiducial));
    double off = static_cast<double>(std::max(b.offset, b.fiducial));
    if ((b.type == kBeatDominant || b.type == kBeatPremature) && d.qrs_found) {
      on = static_cast<double>(b.fiducial) + d.qrs_on - fid;
      off = static_cast<double>(b.fiducial) + d.qrs_off - fid;
    }
    const double from = std::clamp(on - kMaskBeforeQrsSeconds * signal.rate, 0.0, last);
    const double to = std::clamp(off + kMaskAfterQrsSeconds * signal.rate, 0.0, last);
    for (auto i = static_cast<size_t>(from); i <= static_cast<size_t>(to); ++i) masked[i] = 1;
  }
  return masked;
}

Binned BinLead(const EcgSignal& signal, const Lead& lead, const std::vector<uint8_t>& masked, size_t bins) {
  const double per_bin = signal.rate * kBinSeconds;
  Binned b;
  b.x.assign(bins, 0.0);
  b.ok.assign(bins, 1);
  for (size_t k = 0; k < bins; ++k) {
    const auto i0 = static_cast<size_t>(static_cast<double>(k) * per_bin);
    const auto i1 = std::min(signal.samples, static_cast<size_t>(static_cast<double>(k + 1) * per_bin));
    double s = 0;
    for (size_t i = i0; i < i1; ++i) {
      s += lead.uv[i];
      if (masked[i] || lead.IsInvalid(i)) b.ok[k] = 0;
    }
    if (i1 <= i0) b.ok[k] = 0;
    b.x[k] = i1 > i0 ? s / static_cast<double>(i1 - i0) : 0.0;
  }
  // Over each masked stretch a straight line between the bins either side,
  // then a zero-phase high-pass (the baseline); the masked bins stay out of
  // the correlations.
  size_t k = 0;
  while (k < bins) {
    if (b.ok[k]) {
      ++k;
      continue;
    }
    size_t e = k;
    while (e < bins && !b.ok[e]) ++e;
    const double left = k > 0 ? b.x[k - 1] : (e < bins ? b.x[e] : 0.0);
    const double right = e < bins ? b.x[e] : left;
    for (size_t m = k; m < e; ++m) {
      b.x[m] = left + (right - left) * static_cast<double>(m - k + 1) / static_cast<double>(e - k + 1);
    }
    k = e;
  }
  std::vector<float> y(b.x.begin(), b.x.end());
  FilterZeroPhase(y, {ButterworthHighPass(kHighPassHz, 1.0 / kBinSeconds)});
  for (size_t m = 0; m < bins; ++m) b.x[m] = y[m];
  return b;
}

}  // namespace

FlutterAnalysis AnalyseAtrialFlutter(const EcgSignal& signal, const AnalysisResult& result) {
  FlutterAnalysis out;
  if (signal.rate <= 0 || result.beats.beats.size() < 2 || result.medians.length == 0) return out;
  const auto bins = static_cast<size_t>(static_cast<double>(signal.samples) / (signal.rate * kBinSeconds));
  const auto lag_of = [](double ms) { return static_cast<size_t>(std::lround(ms / 1000.0 / kBinSeconds)); };
  const size_t cycle_min = lag_of(kFlutterCycleMinMs), cycle_max = lag_of(kFlutterCycleMaxMs);
  const size_t longest = 2 * cycle_max + 1;
  if (bins <= 2 * longest) return out;

  const std::vector<uint8_t> masked = VentricularMask(signal, result);
  const auto min_pairs = static_cast<size_t>(std::lround(kMinPairedSeconds / kBinSeconds));
  // Each lead's autocorrelation; a lag at which too little of the lead
  // pairs with itself shows nothing (0).
  std::array<std::vector<double>, kLeads.size()> ac;
  for (size_t li = 0; li < kLeads.size(); ++li) {
    const Lead* lead = signal.SlotLead(kLeads[li]);
    if (lead == nullptr || lead->uv.size() < signal.samples) continue;
    const Binned b = BinLead(signal, *lead, masked, bins);
    ac[li].assign(longest + 2, 0.0);
    for (size_t lag = cycle_min - 1; lag <= longest + 1; ++lag) {
      size_t pairs = 0;
      const double r = Correlation(b, lag, pairs);
      ac[li][lag] = pairs >= min_pairs ? r : 0.0;
    }
    ++out.leads;
    if (kLeads[li] == kSlotV1) {
      out.v1 = true;
    } else {
      ++out.inferior_leads;
    }
  }
  if (out.leads == 0) return out;
  std::vector<double> mean(longest + 2, 0.0);
  for (const std::vector<double>& a : ac) {
    for (size_t lag = 0; lag < a.size(); ++lag) mean[lag] += a[lag] / static_cast<double>(out.leads);
  }
  const auto at_two = [](const std::vector<double>& a, size_t lag) {
    return std::max({a[2 * lag - 1], a[2 * lag], a[2 * lag + 1]});
  };

  // The highest peak in the cycle range, and the best match near twice its lag.
  double best = -2;
  size_t cycle = 0;
  for (size_t lag = cycle_min; lag <= cycle_max; ++lag) {
    if (mean[lag] < mean[lag - 1] || mean[lag] < mean[lag + 1] || mean[lag] <= best) continue;
    best = mean[lag];
    cycle = lag;
  }
  if (cycle == 0) return out;
  out.cycle_ms = static_cast<double>(cycle) * kBinSeconds * 1000.0;
  out.at_cycle = mean[cycle];
  out.at_two_cycles = at_two(mean, cycle);
  const std::vector<double>& v1 = ac[kLeads.size() - 1];
  if (out.v1) {
    out.v1_at_cycle = v1[cycle];
    out.v1_at_two_cycles = at_two(v1, cycle);
  }
  out.flutter = out.v1 && out.inferior_leads >= kFlutterMinInferiorLeads && out.at_cycle >= kFlutterMinCorrelation &&
                out.at_two_cycles >= kFlutterMinCorrelation && out.v1_at_cycle >= kFlutterMinCorrelation &&
                out.v1_at_two_cycles >= kFlutterMinCorrelation;
  return out;
}

}  // namespace ecg::engine
