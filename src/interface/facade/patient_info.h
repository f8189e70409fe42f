#pragma once
// The facade's patient members as the record's patient data: names as wide
// strings, gender as a byte, height in millimetres (cm x 10, truncated),
// weight in grams (kg x 1000, truncated), date of birth.

#include "scp/section1_model.h"

class CECGInterface;

namespace ecg::facade {

CPatientInfo PatientInfoOf(const CECGInterface& facade);

}  // namespace ecg::facade
