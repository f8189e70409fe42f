#pragma once
// Turns the lead definitions and rhythm data of a loaded record into the
// engine's signal model, and checks that the record is one the engine
// analyses: 250 to 1000 samples per second, 5 to 20 seconds, leads I and II.

#include <cstdint>

#include "engine/ecg_signal.h"
#include "engine/result_codes.h"
#include "scp/lead_model.h"

namespace ecg::engine {

constexpr double kMinRateHz = 250.0;
constexpr double kMaxRateHz = 1000.0;
constexpr double kMinSeconds = 5.0;
constexpr double kMaxSeconds = 20.0;

// `recorded_leads`: how many of the leads, from the first, the record held
// before the engine added the calculated limb leads; the others are marked
// as derived. The common sample range of all leads is taken.
EngineStatus BuildSignal(const SLeadDefinitions& definitions, const SEncodedData& rhythm,
                         uint32_t recorded_leads, EcgSignal& signal);

}  // namespace ecg::engine
