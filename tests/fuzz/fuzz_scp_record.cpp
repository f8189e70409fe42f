// Arbitrary bytes as an SCP-ECG record: the whole-record load with every
// section wanted, the CRC checks and the one-shot Section 1 readers.

#include <cstddef>
#include <cstdint>
#include <span>

#include "scp/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto source = RecordSource::Memory(std::span<const uint8_t>(data, size));
  {
    CReader reader;
    int16_t loaded = 0;
    if (reader.Load(source, loaded, static_cast<int16_t>(0x7FFF))) {
      if (auto* p = reader.GetPatientInfoPtr()) {
        // Touch the texts so a bad length would show.
        volatile size_t n = p->m_lastName ? p->m_lastName->size() : 0;
        (void)n;
      }
      (void)reader.GetTagValidation();
    }
  }
  bool valid = false;
  CReader::ReadCRCCheck(source, valid);
  CReader::SCrcReport report;
  CReader::ReadCRCReport(source, report);
  CPatientInfo patient;
  CRecordInfo recording;
  CReader::ReadPatientAndRecordInfo(source, &patient, &recording);
  CGeneralInfo general;
  CReader::ReadGeneralInfo(source, &general);
  return 0;
}
