#pragma once
// The bytes of the analysis sections the engine writes, each with room for
// the 16-byte section header in front (the writer fills it) and padded to
// an even length.
//
// Section 4 (QRS locations): median beat length in ms, the 1-based sample
// of the fiducial in the median beat, the number of complexes, then per
// complex its type (0 dominant, 1 premature with the dominant form, 2 other
// form, 3 noise), the subtraction zone (0, 0: no reference beat is
// subtracted) and its fiducial as a 1-based record sample, then per
// complex its QRS extent (protected zone).
// Section 7: one measurement block (the dominant beat), no pacemaker
// spikes, average RR and PP, P/QRS/T fiducials in ms from the start of the
// median beat and the axes; then the type of every complex, the
// ventricular and atrial rates, QTc and its formula (1, Bazett) and an
// empty tagged-field area.
// Section 9: the statement codes, three rhythm and seven morphology
// entries of three ASCII digits (engine/interpretation.h).
// Section 10: one 62-byte block per lead, lead order of Section 3.

#include <cstdint>
#include <vector>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"

namespace ecg::engine {

std::vector<uint8_t> Section4Bytes(const EcgSignal& signal, const AnalysisResult& result);
std::vector<uint8_t> Section7Bytes(const AnalysisResult& result);
std::vector<uint8_t> Section9Bytes(const AnalysisResult& result);
std::vector<uint8_t> Section10Bytes(const AnalysisResult& result);

}  // namespace ecg::engine
