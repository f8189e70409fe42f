#include "interface/facade/patient_info.h"

#include <cstring>
#include <limits>
#include <string_view>

#include "interface/facade/ecg_interface.h"
#include "platform/text_codec.h"

namespace ecg::facade {
namespace {

// The member's text up to its terminator (or its whole 256 bytes).
std::u16string Wide(const char (&text)[256]) {
  return ecg::platform::Utf8ToWideLossy(std::string_view(text, strnlen(text, sizeof text)));
}

// Truncation toward zero into T; values T cannot hold (and NaN) saturate
// instead of being undefined.
template <typename T>
T Truncate(double value) {
  if (!(value == value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
  if (value >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
  return static_cast<T>(value);
}

}  // namespace

CPatientInfo PatientInfoOf(const CECGInterface& facade) {
  CPatientInfo patient;
  patient.m_patientId = Wide(facade.m_patientId);
  patient.m_lastName = Wide(facade.m_lastName);
  patient.m_firstName = Wide(facade.m_firstName);
  patient.m_sex = static_cast<uint8_t>(facade.m_gender);
  patient.m_height = static_cast<uint16_t>(Truncate<int16_t>(facade.m_height * 10.0));
  patient.m_weight = static_cast<uint32_t>(Truncate<int32_t>(facade.m_weight * 1000.0));
  patient.m_birthDay = static_cast<uint16_t>(static_cast<int16_t>(facade.m_dob));
  patient.m_birthMonth = static_cast<uint16_t>(static_cast<int16_t>(facade.m_mob));
  patient.m_birthYear = static_cast<uint16_t>(static_cast<int16_t>(facade.m_yob));
  return patient;
}

ecg::interface::PatientBlock PatientBlockOf(const CECGInterface& facade) {
  ecg::interface::PatientBlock block;
  std::memcpy(block.firstName, facade.m_firstName, sizeof block.firstName);
  std::memcpy(block.lastName, facade.m_lastName, sizeof block.lastName);
  std::memcpy(block.patientId, facade.m_patientId, sizeof block.patientId);
  block.height = facade.m_height;
  block.weight = facade.m_weight;
  block.gender = facade.m_gender;
  block.yearOfBirth = facade.m_yob;
  block.monthOfBirth = facade.m_mob;
  block.dayOfBirth = facade.m_dob;
  return block;
}

void StorePatientBlock(CECGInterface& facade, const ecg::interface::PatientBlock& block) {
  std::memcpy(facade.m_firstName, block.firstName, sizeof block.firstName);
  std::memcpy(facade.m_lastName, block.lastName, sizeof block.lastName);
  std::memcpy(facade.m_patientId, block.patientId, sizeof block.patientId);
  facade.m_height = block.height;
  facade.m_weight = block.weight;
  facade.m_gender = block.gender;
  facade.m_yob = block.yearOfBirth;
  facade.m_mob = block.monthOfBirth;
  facade.m_dob = block.dayOfBirth;
}

}  // namespace ecg::facade
