#include "report/report_record.h"

#include "platform/last_error.h"
#include "scp/reader.h"
#include "scp/scp_decoder.h"

namespace ecg::report {

const SLeadMeasurement* ReportRecord::LeadMeasurement(uint16_t code) const {
  for (uint32_t i = 0; i < lead_measurements.m_count; ++i) {
    if (lead_measurements.m_leads[i].m_leadId == code) return &lead_measurements.m_leads[i];
  }
  return nullptr;
}

bool LoadReportRecord(const std::string& path, ReportRecord* record) {
  *record = ReportRecord{};
  record->path = path;
  CReader reader;
  int16_t loaded = 0;
  if (!reader.Load(RecordSource(path), loaded, -1)) return false;
  // Records from other systems store their samples encoded; the report
  // shows the decoded samples. A record the decoder refuses has nothing to
  // draw.
  if (ecg::scp::DecodeReport decode; !reader.LoadDecodedSamples(RecordSource(path), decode)) {
    record->decode_error = decode.message;
    if (platform::GetLastError() == platform::kErrorSuccess) {
      platform::SetLastError(platform::kErrorInvalidData);
    }
    return false;
  }
  record->lead_count = reader.GetLeads();
  if (const CPatientInfo* p = reader.GetPatientInfoPtr()) record->patient = *p;
  if (const CRecordInfo* r = reader.GetRecordingInfoPtr()) record->recording = *r;
  if (const CGeneralInfo* g = reader.GetGeneralInfoPtr()) record->general = *g;
  if (const CAnalysisInfo* a = reader.GetAnalysisInfoPtr()) {
    record->analysis = *a;
    record->has_measurements = a->m_global.m_blockCount > 0;
  }
  if (const SLeadMeasurements* m = reader.GetLeadMeasurementsPtr()) record->lead_measurements = *m;
  if (!render::LoadRecordTraces(reader, &record->traces)) {
    if (platform::GetLastError() == platform::kErrorSuccess) platform::SetLastError(platform::kErrorNoData);
    return false;
  }
  platform::SetLastError(platform::kErrorSuccess);
  return true;
}

}  // namespace ecg::report
