#include "scp/section12.h"

#include "scp/little_endian.h"

namespace ecg::scp {

namespace {

constexpr size_t kFixedPart = 70;
constexpr size_t kLeadEntry = 4;

int32_t SignedValue(const uint8_t* p, uint8_t bytes) {
  uint32_t v = 0;
  for (uint8_t i = 0; i < bytes; ++i) v |= uint32_t{p[i]} << (8 * i);
  const unsigned shift = 32u - 8u * bytes;
  // Sign extension through the top bit of the stored width.
  return static_cast<int32_t>(v << shift) >> shift;
}

}  // namespace

bool ParseSection12(std::span<const uint8_t> data, size_t max_per_lead, size_t max_total,
                    LongTermRhythm& out, std::string& why) {
  out = LongTermRhythm{};
  if (data.size() < kFixedPart) {
    why = "Section 12 is cut off before its lead table";
    return false;
  }
  const uint8_t* d = data.data();
  out.sampleRate = LoadU32(d);
  const uint8_t lead_count = d[4];
  const uint32_t samples = LoadU32(d + 5);
  out.bytesPerSample = d[9];
  out.year = LoadU16(d + 10);
  out.month = d[12];
  out.day = d[13];
  out.hour = d[14];
  out.minute = d[15];
  out.second = d[16];
  if (out.sampleRate == 0 || out.sampleRate > 1000000) {
    why = "Section 12 states a sample rate of " + std::to_string(out.sampleRate) + " Hz";
    return false;
  }
  if (lead_count == 0) {
    why = "Section 12 lists no leads";
    return false;
  }
  if (out.bytesPerSample < 1 || out.bytesPerSample > 4) {
    why = "Section 12 states " + std::to_string(out.bytesPerSample) + " bytes per sample";
    return false;
  }
  if (samples > max_per_lead || uint64_t{samples} * lead_count > max_total) {
    why = "Section 12 holds " + std::to_string(samples) + " samples per lead, more than " +
          "this system reads";
    return false;
  }
  // Positions in 64 bits: LN and LMI come from the file.
  const uint64_t table = kFixedPart + uint64_t{LoadU32(d + 62)} + LoadU32(d + 66);
  const uint64_t values = table + uint64_t{lead_count} * kLeadEntry;
  const uint64_t end = values + uint64_t{samples} * lead_count * out.bytesPerSample;
  if (end > data.size()) {
    why = "Section 12 announces " + std::to_string(end) + " bytes but holds " +
          std::to_string(data.size());
    return false;
  }
  for (uint8_t l = 0; l < lead_count; ++l) {
    const uint8_t* entry = d + table + size_t{l} * kLeadEntry;
    out.leadIds.push_back(entry[0]);
    const uint16_t multiplier = LoadU16(entry + 1);
    out.multipliers.push_back(multiplier);
    if (multiplier == 0) {
      why = "Section 12 gives lead " + std::to_string(l + 1) + " no amplitude multiplier";
      return false;
    }
  }
  out.leads.assign(lead_count, std::vector<float>(samples));
  const uint8_t* p = d + values;
  for (uint32_t i = 0; i < samples; ++i) {
    for (uint8_t l = 0; l < lead_count; ++l, p += out.bytesPerSample) {
      out.leads[l][i] =
          static_cast<float>(SignedValue(p, out.bytesPerSample) * (out.multipliers[l] / 1000.0));
    }
  }
  return true;
}

}  // namespace ecg::scp
