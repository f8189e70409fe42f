#pragma once
// The facade's patient members as the record's patient data: names as wide
// strings, gender as a byte, height in millimetres (cm x 10, truncated),
// weight in grams (kg x 1000, truncated), date of birth.

#include "interface/patient_block.h"
#include "scp/section1_model.h"

class CECGInterface;

namespace ecg::facade {

CPatientInfo PatientInfoOf(const CECGInterface& facade);

// The patient members as the patient dialog's block, and back.
ecg::interface::PatientBlock PatientBlockOf(const CECGInterface& facade);
void StorePatientBlock(CECGInterface& facade, const ecg::interface::PatientBlock& block);

}  // namespace ecg::facade
