// Frontal QRS sector from the polarity of I, II and aVF.

#include "engine/frontal_quadrant.h"

#include <cmath>

namespace ecg::engine {

double NetQrsFraction(const MedianBeats& medians, int lead_index, double qrs_on, double qrs_off, bool& ok) {
  ok = false;
  if (lead_index < 0 || static_cast<size_t>(lead_index) >= medians.leads.size()) return 0;
  const std::vector<float>& x = medians.leads[static_cast<size_t>(lead_index)];
  if (!(qrs_off > qrs_on) || qrs_on < 0) return 0;
  const size_t from = static_cast<size_t>(std::lround(qrs_on));
  const size_t to = static_cast<size_t>(std::lround(qrs_off));
  if (to >= x.size() || to <= from) return 0;
  const double level = x[from];
  double net = 0, rectified = 0;
  for (size_t k = from; k <= to; ++k) {
    const double v = x[k] - level;
    net += v;
    rectified += std::fabs(v);
  }
  if (rectified <= 0) return 0;
  ok = true;
  return net / rectified;
}

QrsPolarity PolarityOf(double f) {
  if (std::fabs(f) < kEquiphasicFraction) return QrsPolarity::kEquiphasic;
  return f > 0 ? QrsPolarity::kPositive : QrsPolarity::kNegative;
}

FrontalSector SectorOf(QrsPolarity i, QrsPolarity ii, QrsPolarity avf) {
  using P = QrsPolarity;
  auto clear = [](P p) { return p == P::kPositive || p == P::kNegative; };
  if (!clear(i) || !clear(ii)) return FrontalSector::kUnknown;
  if (i == P::kPositive) return ii == P::kPositive ? FrontalSector::kNormal : FrontalSector::kLeft;
  if (ii == P::kPositive) return FrontalSector::kRight;  // +90..+150
  // I and II negative: +150..+180 while aVF is positive, -90..-150 once it
  // is negative.
  if (!clear(avf)) return FrontalSector::kUnknown;
  return avf == P::kPositive ? FrontalSector::kRight : FrontalSector::kNorthwest;
}

FrontalSector FrontalSectorOf(const EcgSignal& signal, const AnalysisResult& result) {
  if (!result.delineation.qrs_found) return FrontalSector::kUnknown;
  const double on = result.delineation.qrs_on, off = result.delineation.qrs_off;
  auto polarity = [&](int slot) {
    bool ok = false;
    const double f = NetQrsFraction(result.medians, signal.slot[static_cast<size_t>(slot)], on, off, ok);
    return ok ? PolarityOf(f) : QrsPolarity::kUnknown;
  };
  return SectorOf(polarity(kSlotI), polarity(kSlotII), polarity(kSlotAVF));
}

FrontalSector SectorOfAngle(int32_t a) {
  if (a == 999) return FrontalSector::kUnknown;
  if (a < -90) return FrontalSector::kNorthwest;
  if (a < -30) return FrontalSector::kLeft;
  if (a > 90) return FrontalSector::kRight;
  return FrontalSector::kNormal;
}

}  // namespace ecg::engine
