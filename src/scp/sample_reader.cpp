// Sections 5 (median beats) and 6 (rhythm): the sample section reader, the
// one-shot readers and the details of the loaded sample data.
//
// Samples are stored uncompressed as little-endian 16-bit values; the
// difference and bimodal bytes of the section head are kept as read but never
// applied.

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/last_error.h"
#include "scp/little_endian.h"
#include "scp/reader.h"

using namespace ecg::platform;
using ecg::scp::LoadU16;

namespace {

constexpr size_t kSampleHeadSize = 6;  // multiplier, interval, difference, bimodal

// A lead's Section 3 range, end - start + 1, which may be 0 or negative in a
// bad record.
int64_t RangeOf(const SLeadDef& lead) {
  return int64_t{lead.m_endSample} - int64_t{lead.m_startSample} + 1;
}

void FromLittleEndian(int16_t* samples, size_t n) {
  if constexpr (std::endian::native == std::endian::big) {
    for (size_t i = 0; i < n; ++i) {
      const auto v = static_cast<uint16_t>(samples[i]);
      samples[i] = static_cast<int16_t>((v >> 8) | (v << 8));
    }
  } else {
    (void)samples;
    (void)n;
  }
}

// 1,000,000 / interval, or 0 when the interval gives no rate a 16-bit
// field can hold (0, or below 16 microseconds).
uint16_t RateOf(uint16_t interval_us) {
  if (interval_us == 0) return 0;
  const uint32_t rate = 1000000u / interval_us;
  return rate > UINT16_MAX ? 0 : static_cast<uint16_t>(rate);
}

}  // namespace

bool CReader::GetSecEncodedData(FileHandle& handle, const SSectionHeader& header,
                                const SLeadDefinitions* definitions, SEncodedData* data,
                                bool rhythm) {
  if (!handle || definitions == nullptr || data == nullptr) return Fail(kErrorInvalidParameter);
  data->KillData();
  if (definitions->m_count == 0 || !definitions->m_leads) return Fail(kErrorNoData);
  // Lengths are compared with the section length as the header states it.
  const uint64_t section_length = header.m_length;
  if (section_length < kSampleHeadSize) return Fail(kErrorInvalidData);

  auto fail = [data](uint32_t code) {
    data->KillData();
    return Fail(code);
  };
  auto fail_keep = [data]() {
    LastErrorKeeper keep;
    data->KillData();
    return false;
  };

  uint8_t head[kSampleHeadSize];
  if (!ReadExact(*handle, head, sizeof head)) return false;
  data->m_amplitudeMultiplier = LoadU16(head);
  data->m_sampleInterval = LoadU16(head + 2);
  data->m_differenceUsed = head[4];
  data->m_bimodal = head[5];

  const uint32_t leads = definitions->m_count;
  if (!data->Allocate(leads)) return fail_keep();
  uint64_t consumed = kSampleHeadSize;
  if (consumed + 2ull * leads > section_length) return fail(kErrorInvalidData);
  std::vector<uint8_t> table(2ull * leads);
  if (!ReadExact(*handle, table.data(), table.size())) return fail_keep();
  consumed += table.size();

  // Sample counts: a lead's byte length / 2, except that a section with one
  // lead takes its count from the Section 3 range whatever its byte length
  // says (a lead with byte length 0 has no data either way).
  std::vector<uint32_t> counts(leads, 0);
  uint64_t total_bytes = 0;
  for (uint32_t i = 0; i < leads; ++i) {
    const uint16_t byte_length = LoadU16(table.data() + 2 * i);
    if (byte_length == 0) continue;
    int64_t count = byte_length / 2;
    if (leads == 1) count = RangeOf(definitions->m_leads[0]);
    if (count <= 0 || count > SEncodedData::kMaxSamples) return fail(kErrorInvalidParameter);
    counts[i] = static_cast<uint32_t>(count);
    total_bytes += 2ull * counts[i];
  }
  // Nothing is allocated for samples the section cannot hold.
  if (consumed + total_bytes > section_length) return fail(kErrorInvalidData);
  for (uint32_t i = 0; i < leads; ++i) {
    if (counts[i] != 0 && !data->AllocateLead(i, counts[i])) return fail_keep();
  }

  // Rhythm leads of a multi-lead section must cover their Section 3 range
  // exactly; median beats have their own length.
  if (rhythm && leads > 1) {
    for (uint32_t i = 0; i < leads; ++i) {
      if (int64_t{counts[i]} != RangeOf(definitions->m_leads[i])) {
        return fail(kErrorInvalidData);
      }
    }
  }

  // Each lead's samples follow the previous lead's: (count x 2) bytes.
  for (uint32_t i = 0; i < leads; ++i) {
    const uint64_t size = 2ull * counts[i];
    if (size == 0) continue;
    if (consumed + size > section_length) return fail(kErrorInvalidData);
    int16_t* samples = data->m_samples[i].get();
    if (!ReadExact(*handle, samples, size)) return fail_keep();
    FromLittleEndian(samples, counts[i]);
    consumed += size;
  }
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::GetSec5Data(FileHandle& handle, const SSectionHeader& header,
                          const SLeadDefinitions* definitions, SEncodedData* data) {
  return GetSecEncodedData(handle, header, definitions, data, false);
}

bool CReader::GetSec6Data(FileHandle& handle, const SSectionHeader& header,
                          const SLeadDefinitions* definitions, SEncodedData* data) {
  return GetSecEncodedData(handle, header, definitions, data, true);
}

bool CReader::ReadEncodedData(const RecordSource& source, bool rhythm, SEncodedData* data) {
  if (source.IsNull() || data == nullptr) return Fail(kErrorInvalidParameter);
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SLeadDefinitions definitions;
  SSectionHeader header;
  const bool ok = GetSection(handle, &index, 3, &header) &&
                  GetSec3Data(handle, header, &definitions) &&
                  GetSection(handle, &index, rhythm ? 6 : 5, &header) &&
                  GetSecEncodedData(handle, header, &definitions, data, rhythm);
  Close(handle);
  return ok;
}

bool CReader::ReadRhythmData(const RecordSource& source, SEncodedData* data) {
  return ReadEncodedData(source, true, data);
}

bool CReader::ReadMedianData(const RecordSource& source, SEncodedData* data) {
  return ReadEncodedData(source, false, data);
}

// Two points the record format leaves open are settled here as a reader of
// the figures expects them:
// - the median sample count is the length of the median beat (its longest
//   lead), not the rhythm span;
// - a sample interval of 0 (or one too short for a 16-bit rate) gives a rate
//   of 0, meaning "unknown", and the call still succeeds with the other
//   figures.
bool CReader::GetDetails(SDetails* details) {
  if (details == nullptr) return Fail(kErrorInvalidParameter);
  if ((m_loaded & kSection3Bit) == 0 || (m_loaded & (kSection5Bit | kSection6Bit)) == 0) {
    return Fail(kErrorNoData);
  }
  *details = SDetails{};
  if (m_loaded & kSection6Bit) {
    details->m_rhythmSampleRate = RateOf(m_rhythmData.m_sampleInterval);
    details->m_rhythmAmplitudeMultiplier = m_rhythmData.m_amplitudeMultiplier;
    details->m_rhythmSamples = m_leadDefinitions.GetSamples();
  }
  if (m_loaded & kSection5Bit) {
    details->m_medianSampleRate = RateOf(m_medianData.m_sampleInterval);
    details->m_medianAmplitudeMultiplier = m_medianData.m_amplitudeMultiplier;
    uint32_t longest = 0;
    for (uint32_t i = 0; i < m_medianData.m_leadCount; ++i) {
      longest = std::max<uint32_t>(longest, m_medianData.SampleCount(i));
    }
    details->m_medianSamples = longest;
  }
  details->m_leadCount = m_leadDefinitions.m_count;
  details->m_medianPresent = m_medianPresent ? 1 : 0;
  SetLastError(kErrorSuccess);
  return true;
}
