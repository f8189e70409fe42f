// Derived leads: III, aVR, aVL and aVF calculated from leads I and II, and
// the general weighted sum of loaded leads they are built on.

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/last_error.h"
#include "scp/reader.h"

using namespace ecg::platform;
using namespace ecg::scp;

namespace {

struct DerivedLead {
  uint8_t code;
  double coefficients[2];
  uint16_t sources[2];
};

// The limb leads that follow from I and II (Einthoven and Goldberger), in
// the order they are added.
constexpr DerivedLead kDerivedLeads[] = {
    {kLeadIII, {1.0, -1.0}, {kLeadII, kLeadI}},   // II - I
    {kLeadAVR, {-0.5, -0.5}, {kLeadII, kLeadI}},  // -(I + II) / 2
    {kLeadAVL, {1.0, -0.5}, {kLeadI, kLeadII}},   // I - II / 2
    {kLeadAVF, {-0.5, 1.0}, {kLeadI, kLeadII}},   // II - I / 2
};

// Larger weights would take a 16-bit sample beyond what the products are
// computed in; no lead combination needs them.
constexpr double kMaxCoefficient = 32768.0;

// v x coefficient, truncated toward zero and kept to 16 bits.
inline int16_t Weighted(int16_t v, double coefficient) {
  return static_cast<int16_t>(static_cast<int32_t>(v * coefficient));
}

// One source sample into a rhythm output sample. A marker (any value above
// the ordinary range) replaces the output unless the output already holds a
// marker that outranks it: 2032 outranks 2033, which outranks 2034, which
// outranks every other marker. Ordinary values add up only while the output
// is ordinary.
inline int16_t Accumulate(int16_t out, int16_t v, double coefficient) {
  if (v > kLastOrdinarySample) {
    switch (out) {
      case 2032: return out;
      case 2033: return v == 2032 ? v : out;
      case 2034: return (v == 2032 || v == 2033) ? v : out;
      default: return v;
    }
  }
  if (out > kLastOrdinarySample) return out;
  return static_cast<int16_t>(out + Weighted(v, coefficient));
}

}  // namespace

bool CReader::CalculateLeads() {
  if ((m_loaded & kSection3Bit) == 0 || (m_loaded & (kSection5Bit | kSection6Bit)) == 0 ||
      m_leadDefinitions.m_count < 2 || !(m_rhythmPresent || m_medianPresent)) {
    SetLastError(kErrorSuccess);
    return true;
  }
  for (const DerivedLead& lead : kDerivedLeads) {
    if (m_leadDefinitions.GetIdIndexFromId(lead.code) != SLeadDefinitions::kNotFound) continue;
    if (GetLastError() != kErrorSuccess) return false;
    if (!CalculateLead(lead.code, 2, lead.coefficients, lead.sources, true)) return false;
  }
  // The derived leads carry the markers of I and II; without rhythm data
  // there is nothing to rebuild the lead errors from, which is no failure.
  CreateLeadErrorCodes();
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::CalculateLead(uint8_t code, uint16_t source_count, const double* coefficients,
                            const uint16_t* sources, bool count_simultaneous) {
  if (coefficients == nullptr || sources == nullptr || source_count == 0) {
    return Fail(kErrorInvalidParameter);
  }
  for (uint32_t s = 0; s < source_count; ++s) {
    if (!std::isfinite(coefficients[s]) || std::fabs(coefficients[s]) > kMaxCoefficient) {
      return Fail(kErrorInvalidParameter);
    }
  }
  SLeadDefinitions& definitions = m_leadDefinitions;
  if (definitions.m_count > 0 &&
      definitions.GetIdIndexFromId(code) != SLeadDefinitions::kNotFound) {
    SetLastError(kErrorSuccess);
    return true;
  }

  // The rhythm and median tables take the new lead only while they match the
  // definitions lead for lead.
  const bool with_rhythm = m_rhythmPresent && m_rhythmData.m_leadCount == definitions.m_count;
  const bool with_median = m_medianPresent && m_medianData.m_leadCount == definitions.m_count;

  struct Source {
    uint32_t index;
    uint32_t start;
    uint32_t end;
    double coefficient;
  };
  std::vector<Source> used(source_count);
  for (uint32_t s = 0; s < source_count; ++s) {
    const uint16_t id = sources[s];
    const int16_t index = id <= 255 && definitions.m_count > 0
                              ? definitions.GetIdIndexFromId(id)
                              : SLeadDefinitions::kNotFound;
    if (index == SLeadDefinitions::kNotFound) return Fail(kErrorNoData);
    if (id == code || id == 0 || id == 255) return Fail(kErrorInvalidParameter);
    const auto i = static_cast<uint32_t>(index);
    if (m_rhythmPresent && m_rhythmData.Samples(i) == nullptr) return Fail(kErrorNoData);
    used[s] = {i, definitions.m_leads[i].m_startSample, definitions.m_leads[i].m_endSample,
               coefficients[s]};
  }

  // The new lead covers the range all sources share.
  uint32_t start = 0;
  uint32_t end = UINT32_MAX;
  for (const Source& s : used) {
    start = std::max(start, s.start);
    end = std::min(end, s.end);
  }
  if (start > end) return Fail(kErrorNoData);
  if (with_rhythm) {
    // Every source sample the range asks for must lie in its buffer.
    for (const Source& s : used) {
      if (uint64_t{end} - s.start >= m_rhythmData.SampleCount(s.index)) {
        return Fail(kErrorInvalidData);
      }
    }
  }
  if (uint32_t{definitions.m_count} + 1 > SLeadDefinitions::kMaxLeads) {
    return Fail(kErrorOutOfStructures);
  }

  // Append the lead to every table that takes it.
  const uint32_t added = definitions.m_count;
  if (with_rhythm && !m_rhythmData.AddLeads(1)) return false;
  if (with_median && !m_medianData.AddLeads(1)) return false;
  if (!definitions.AddLeads(1)) return false;
  definitions.m_leads[added] = SLeadDef{start, end, code};
  if ((definitions.m_flags & kLeadFlagAllSimultaneous) && count_simultaneous) {
    const auto simultaneous = static_cast<uint8_t>((definitions.SimultaneousCount() + 1) & 0x1F);
    definitions.m_flags = static_cast<uint8_t>((definitions.m_flags & 0x07) | (simultaneous << 3));
  }

  if (with_rhythm) {
    const uint32_t count = end - start + 1;
    if (!m_rhythmData.AllocateLead(added, count)) return false;
    int16_t* out = m_rhythmData.m_samples[added].get();
    std::vector<const int16_t*> in(used.size());
    for (size_t s = 0; s < used.size(); ++s) {
      in[s] = m_rhythmData.Samples(used[s].index) + (start - used[s].start);
    }
    for (uint32_t k = 0; k < count; ++k) {
      int16_t value = 0;
      for (size_t s = 0; s < used.size(); ++s) {
        value = Accumulate(value, in[s][k], used[s].coefficient);
      }
      out[k] = value;
    }
  }

  if (with_median) {
    // Median beats are summed over their common length, markers included as
    // ordinary values; a source without median samples leaves none.
    uint32_t count = UINT32_MAX;
    for (const Source& s : used) {
      const int16_t* samples = m_medianData.Samples(s.index);
      count = samples == nullptr ? 0 : std::min<uint32_t>(count, m_medianData.SampleCount(s.index));
    }
    if (count > 0) {
      if (!m_medianData.AllocateLead(added, count)) return false;
      int16_t* out = m_medianData.m_samples[added].get();
      for (uint32_t k = 0; k < count; ++k) {
        int16_t value = 0;
        for (const Source& s : used) {
          value = static_cast<int16_t>(value +
                                       Weighted(m_medianData.Samples(s.index)[k], s.coefficient));
        }
        out[k] = value;
      }
    }
  }
  SetLastError(kErrorSuccess);
  return true;
}
