#pragma once
// What a report needs from one SCP-ECG file, read through CReader: lead
// count, whether measurements exist, patient, recording and general
// information, global and per-lead measurements, and the traces.

#include <string>

#include "render/trace_set.h"
#include "scp/measurement_model.h"
#include "scp/section1_model.h"

namespace ecg::report {

struct ReportRecord {
  std::string path;
  int lead_count = 0;          // leads the file holds (before derived leads are added)
  bool has_measurements = false;
  CPatientInfo patient;
  CRecordInfo recording;
  CGeneralInfo general;
  CAnalysisInfo analysis;
  SLeadMeasurements lead_measurements;
  render::RecordTraces traces;
  std::string decode_error;  // why the decoder refused the record's samples

  // The measurements of a lead code; null when the record has none for it.
  const SLeadMeasurement* LeadMeasurement(uint16_t code) const;
};

// Reads the file; false with the last-error code when it cannot be read or
// holds no lead definitions and rhythm data.
bool LoadReportRecord(const std::string& path, ReportRecord* record);

}  // namespace ecg::report
