// Decoded samples for records whose Sections 5 and 6 the reader cannot read
// as they stand: the decoder undoes the encodings and the reader takes over
// the result as if the record had stored it plainly.

#include <utility>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "scp/reader.h"
#include "scp/record_converter.h"
#include "scp/scp_decoder.h"

using namespace ecg::platform;

namespace {

bool ReadWholeSource(const RecordSource& source, std::vector<uint8_t>& bytes,
                     ecg::scp::DecodeReport& report) {
  FileHandle stream = source.OpenRead();
  uint64_t size = 0;
  if (!stream || !stream->Size(&size)) {
    report.message = "the record cannot be read";
    return false;
  }
  if (size > ecg::scp::kMaxRecordBytes) {
    report.message = "the record is larger than any record this system reads";
    return Fail(kErrorInvalidData);
  }
  bytes.resize(static_cast<size_t>(size));
  size_t got = 0;
  if (!stream->ReadAt(0, bytes.data(), bytes.size(), &got) || got != bytes.size()) {
    report.message = "the record cannot be read";
    if (GetLastError() == kErrorSuccess) SetLastError(kErrorInvalidData);
    return false;
  }
  return true;
}

// SEncodedData owns its leads and cannot be copied: the decoded leads move
// over field by field.
void MoveSamples(SEncodedData& to, SEncodedData& from) {
  to.KillData();
  to.m_amplitudeMultiplier = from.m_amplitudeMultiplier;
  to.m_sampleInterval = from.m_sampleInterval;
  to.m_differenceUsed = from.m_differenceUsed;
  to.m_bimodal = from.m_bimodal;
  to.m_sampleCounts = std::move(from.m_sampleCounts);
  to.m_samples = std::move(from.m_samples);
  to.m_leadCount = from.m_leadCount;
  from.m_leadCount = 0;
}

}  // namespace

bool CReader::LoadedSamplesAreEncoded() const {
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry != nullptr && entry->m_id == 2 && entry->m_length != 0) return true;
  }
  return (m_leadDefinitions.m_flags & 1) != 0 || m_rhythmData.m_differenceUsed != 0 ||
         m_rhythmData.m_bimodal != 0 || m_medianData.m_differenceUsed != 0;
}

bool CReader::NeedsDecoding(const RecordSource& source) {
  LastErrorKeeper keep;
  std::vector<uint8_t> bytes;
  ecg::scp::DecodeReport report;
  ecg::scp::DecodedRecord record;
  if (!ReadWholeSource(source, bytes, report) || !ecg::scp::DecodeScpRecord(bytes, record, report)) {
    return false;
  }
  if (!record.Uncompressed()) return true;
  CReader reader;
  int16_t loaded = 0;
  return !reader.Load(source, loaded, static_cast<int16_t>(kSection3Bit | kSection6Bit)) ||
         (loaded & kSection6Bit) == 0;
}

bool CReader::LoadDecodedSamples(const RecordSource& source, ecg::scp::DecodeReport& report) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeSource(source, bytes, report)) return false;
  ecg::scp::DecodedRecord record;
  if (!ecg::scp::DecodeScpRecord(bytes, record, report)) {
    // What Load read from a plainly stored record stands on its own.
    if (!LoadedSamplesAreEncoded()) {
      report.message.clear();
      SetLastError(kErrorSuccess);
      return true;
    }
    return Fail(kErrorInvalidData);
  }
  // Plain samples the reader read itself stay; plain samples it could not
  // place (a Section 3 counting from sample 0) come from the decoder too.
  if (record.Uncompressed() && (m_loaded & kSection6Bit) != 0) return true;
  SLeadDefinitions definitions;
  SEncodedData rhythm;
  SEncodedData median;
  if (!ecg::scp::StoreDecodedSamples(record, definitions, rhythm, median, report.message)) {
    return false;
  }
  // Only now, with everything decoded, the loaded sections are replaced.
  KillSection(kSection3Bit | kSection5Bit | kSection6Bit);
  m_leadDefinitions = definitions;
  MoveSamples(m_rhythmData, rhythm);
  m_rhythmPresent = true;
  m_loaded |= kSection3Bit | kSection6Bit;
  if (median.m_leadCount > 0) {
    MoveSamples(m_medianData, median);
    m_medianPresent = true;
    m_loaded |= kSection5Bit;
  }
  SetLastError(kErrorSuccess);
  return true;
}
