// Arbitrary bytes as an SCP-ECG record: the whole-record load with every
// section wanted, the derived limb leads and lead errors calculated on what
// was loaded, the CRC checks, and every one-shot reader.

#include <cstddef>
#include <cstdint>
#include <span>

#include "scp/reader.h"

namespace {

// Reads every sample a table claims to hold, so that a count larger than its
// buffer shows under the address sanitizer.
void TouchSamples(const SEncodedData* data) {
  if (data == nullptr) return;
  int64_t sum = 0;
  for (uint32_t lead = 0; lead < data->m_leadCount; ++lead) {
    const int16_t* samples = data->Samples(lead);
    if (samples == nullptr) continue;
    for (uint32_t k = 0; k < data->SampleCount(lead); ++k) sum += samples[k];
  }
  volatile int64_t sink = sum;
  (void)sink;
}

void TouchDefinitions(const SLeadDefinitions* d) {
  if (d == nullptr) return;
  uint32_t sum = 0;
  for (uint32_t i = 0; i < d->m_count; ++i) sum += d->m_leads[i].m_endSample;
  volatile uint32_t sink = sum + d->GetSamples();
  (void)sink;
}

void TouchMeasurements(const SLeadMeasurements* m) {
  if (m == nullptr) return;
  int32_t sum = 0;
  for (uint32_t i = 0; i < m->m_count; ++i) sum += m->m_leads[i].m_stJ80;
  volatile int32_t sink = sum;
  (void)sink;
}

}  // namespace

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
      TouchMeasurements(reader.GetLeadMeasurementsPtr());
      if (auto* info = reader.GetAnalysisInfoPtr()) {
        volatile uint32_t codes = info->m_rhythmCount + info->m_morphologyCount;
        (void)codes;
      }
      SDetails details;
      reader.GetDetails(&details);
      const int16_t limb[] = {1, 2, 61, 62, 63, 64};
      reader.GetLeadSet(6, limb);
      reader.CreateLeadErrorCodes();
      reader.CalculateLeads();
      TouchDefinitions(reader.GetLeadDefinitionsPtr());
      TouchSamples(reader.GetRhythmDataPtr());
      TouchSamples(reader.GetMedianDataPtr());
      if (auto* errors = reader.GetLeadErrorsPtr()) {
        volatile const SLeadError* e = errors->Find(64);
        (void)e;
      }
      // A lead made from three others, one of them perhaps a derived one.
      const double weights[] = {0.25, -1.5, 3.0};
      const uint16_t sources[] = {3, 61, 8};
      reader.CalculateLead(70, 3, weights, sources, true);
      TouchSamples(reader.GetRhythmDataPtr());
      reader.GetDetails(&details);
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
  SLeadErrors errors;
  CReader::ReadLeadErrorCodes(source, &errors);
  SLeadDefinitions definitions;
  CReader::ReadLeadDefs(source, &definitions);
  TouchDefinitions(&definitions);
  (void)CReader::ReadLeads(source);
  const int16_t acquired[] = {1, 2, 3, 4, 5, 6, 7, 8};
  CReader::ReadLeadSet(source, 8, acquired);
  SEncodedData rhythm, median;
  CReader::ReadRhythmData(source, &rhythm);
  TouchSamples(&rhythm);
  CReader::ReadMedianData(source, &median);
  TouchSamples(&median);
  CAnalysisInfo info;
  CReader::ReadAnalysisInfo(source, &info);
  SLeadMeasurements measurements;
  CReader::ReadLeadMeasurements(source, &measurements);
  TouchMeasurements(&measurements);
  return 0;
}
