#pragma once
// The samples the painter draws, in microvolts, taken from a loaded record:
// the rhythm data (Section 6) and the median beats (Section 5) with the
// fiducial points of the median beat (Section 7). Marker samples (lead
// errors) become NaN, which the painter leaves as a gap.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CReader;
struct SEncodedData;
struct SLeadDefinitions;

namespace ecg::render {

struct TraceLead {
  uint8_t code = 0;              // SCP lead code
  std::vector<float> microvolts; // NaN: no valid sample here
};

struct TraceSet {
  double rate_hz = 0.0;
  std::vector<TraceLead> leads;  // in the record's order

  const TraceLead* Find(uint8_t code) const;
  // Samples of the longest lead; 0 when empty.
  size_t MaxSamples() const;
  double Seconds() const { return rate_hz > 0 ? static_cast<double>(MaxSamples()) / rate_hz : 0.0; }
  bool empty() const { return leads.empty(); }
};

// Onsets and offsets of the median beat in milliseconds from its start.
struct FiducialMarks {
  int p_onset = 0, p_offset = 0, qrs_onset = 0, qrs_offset = 0, t_offset = 0;
  // The marks that are drawn (valid and inside the beat), in that order.
  std::vector<int> Drawn() const;
};

// Converts one sample section. Leads without samples are kept, empty.
TraceSet ToTraceSet(const SEncodedData& data, const SLeadDefinitions& definitions);

// What the painter needs from a record: the reader must have loaded
// Sections 3 and 6 (and 5, 7 when present). Derived limb leads are added
// when the record holds I and II but lacks them.
struct RecordTraces {
  TraceSet rhythm;
  TraceSet median;                       // empty without Section 5
  std::optional<FiducialMarks> fiducials;  // without Section 7: none
};

bool LoadRecordTraces(CReader& reader, RecordTraces* traces);

// The label of a lead code ("I", "aVR", "V4"...), or "#<code>" for others.
std::string LeadLabel(uint8_t code);

}  // namespace ecg::render
