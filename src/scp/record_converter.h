#pragma once
// CRecordConverter: writes any record the decoder reads as an uncompressed
// record of this system: Section 1 as this system reads it, Sections 3, 5
// and 6 from the decoded samples, and the interpretation and measurement
// sections (7, 8, 10, 11, and Section 9 when it holds this system's
// statement codes) copied byte for byte. Huffman tables, reference beats
// (Section 4) and vendor sections are left behind: the samples no longer
// need them.

#include <string>

#include "scp/scp_decoder.h"
#include "scp/writer.h"

class CRecordConverter : public CWriter {
 public:
  // Decodes `source` and writes the result to `target` (never half-written).
  // False when the source is refused (`report` says why; last error 13) or
  // the target cannot be written (the last-error code).
  bool ConvertToUncompressed(const char* source, const char* target,
                             ecg::scp::DecodeReport& report);

  // The amplitude multiplier (nV) the samples were stored with.
  uint16_t RhythmMultiplier() const { return m_rhythmData.m_amplitudeMultiplier; }

 private:
  bool ReadSourceSection1(ecg::scp::DecodeReport& report);
  bool FillSamples(const ecg::scp::DecodedRecord& record, ecg::scp::DecodeReport& report);
  bool CopyAnalysisSections(ecg::scp::DecodeReport& report);
};

namespace ecg::scp {

// The amplitude multiplier (nV) for storing a signal as this system's
// 16-bit samples: `preferred` or the smallest power-of-two multiple of it
// under which every sample stays below the marker values (2032) and above
// -32768. 0 when none up to 65535 nV fits.
uint16_t StorageMultiplier(const DecodedSignal& signal, uint16_t preferred);

// The decoded record as this system's model: Section 3 with every lead from
// sample 1 (reference beat flag cleared), rhythm and median samples as
// 16-bit values at StorageMultiplier (median left empty when the record has
// none or it cannot be stored). False with a reason in `why` (and last error
// 13 or 84) when there is no rhythm, a lead is longer than 65535 samples or
// the amplitudes do not fit.
bool StoreDecodedSamples(const DecodedRecord& record, SLeadDefinitions& definitions,
                         SEncodedData& rhythm, SEncodedData& median, std::string& why);

}  // namespace ecg::scp
