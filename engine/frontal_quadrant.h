#pragma once
// The frontal QRS axis by the bedside quadrant method: the polarity of the
// net QRS deflection in I, II and aVF. It reads only the sign of each lead's
// net area relative to the lead's own QRS, so it does not depend on how the
// leads are scaled against one another (the angle from the areas of I and
// aVF does).

#include <array>
#include <cstdint>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"

namespace ecg::engine {

enum class QrsPolarity : uint8_t { kUnknown, kPositive, kNegative, kEquiphasic };

// Sector of the frontal axis in the AHA convention: normal -30..+90, left
// -30..-90, right +90..+180, northwest -90..-180.
enum class FrontalSector : uint8_t { kUnknown, kNormal, kLeft, kRight, kNorthwest };

// A lead whose net QRS area is under this fraction of its rectified area is
// equiphasic: the axis stands at right angles to it.
inline constexpr double kEquiphasicFraction = 0.2;

// Net QRS area over rectified area, -1..1; the lead's level at the QRS onset
// is its zero. `ok` false when the lead or the QRS is missing.
double NetQrsFraction(const MedianBeats& medians, int lead_index, double qrs_on, double qrs_off, bool& ok);

QrsPolarity PolarityOf(double net_fraction);

// The sector from the polarities of I, II and aVF: I positive and II
// positive normal, I positive and II negative left, I negative and II
// positive right, both negative right or northwest by aVF. Unknown when a
// lead it needs is missing or equiphasic: the axis then lies near a sector
// boundary (at right angles to that lead) and the polarities cannot say on
// which side.
FrontalSector SectorOf(QrsPolarity lead_i, QrsPolarity lead_ii, QrsPolarity lead_avf);

// The sector of an analysed record (from its medians and global QRS).
FrontalSector FrontalSectorOf(const EcgSignal& signal, const AnalysisResult& result);

// The sector an angle in degrees falls in (999: unknown).
FrontalSector SectorOfAngle(int32_t degrees);

}  // namespace ecg::engine
