#include "scp/record_converter.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/last_error.h"
#include "scp/container.h"

using ecg::platform::Fail;
using ecg::platform::kErrorInvalidData;
using ecg::platform::kErrorOutOfStructures;

namespace ecg::scp {

uint16_t StorageMultiplier(const DecodedSignal& signal, uint16_t preferred) {
  float low = 0, high = 0;
  for (const auto& lead : signal.leads) {
    for (float v : lead) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  uint32_t unit = preferred == 0 ? 1000 : preferred;
  while (unit <= 0xFFFF) {
    const double scale = 1000.0 / unit;
    if (std::lround(high * scale) <= kLastOrdinarySample && std::lround(low * scale) >= -32768) {
      return static_cast<uint16_t>(unit);
    }
    unit *= 2;
  }
  return 0;
}

}  // namespace ecg::scp

namespace {

constexpr size_t kSection9CodeBytes = 30;

bool StoreSignal(const ecg::scp::DecodedSignal& signal, uint16_t multiplier, SEncodedData& out) {
  out.KillData();
  if (!out.Allocate(static_cast<uint32_t>(signal.leads.size()))) return false;
  out.m_amplitudeMultiplier = multiplier;
  out.m_sampleInterval = static_cast<uint16_t>(signal.sampleInterval);
  out.m_differenceUsed = 0;
  out.m_bimodal = 0;
  const double scale = 1000.0 / multiplier;
  for (size_t l = 0; l < signal.leads.size(); ++l) {
    const auto& lead = signal.leads[l];
    if (lead.empty()) continue;
    if (!out.AllocateLead(static_cast<uint32_t>(l), static_cast<uint32_t>(lead.size()))) {
      return false;
    }
    int16_t* samples = out.m_samples[l].get();
    for (size_t i = 0; i < lead.size(); ++i) {
      samples[i] = static_cast<int16_t>(std::lround(lead[i] * scale));
    }
  }
  return true;
}

}  // namespace

bool ecg::scp::StoreDecodedSamples(const DecodedRecord& record, SLeadDefinitions& definitions,
                                   SEncodedData& rhythm_out, SEncodedData& median_out,
                                   std::string& why) {
  const auto& rhythm = record.rhythm;
  median_out.KillData();
  if (!rhythm.present || rhythm.leads.empty()) {
    why = "the record holds no rhythm data";
    return Fail(kErrorInvalidData);
  }
  if (record.leads.size() > SLeadDefinitions::kMaxLeads) {
    why = "the record has more leads than this system's records hold (254)";
    return Fail(kErrorOutOfStructures);
  }
  for (const auto* signal : {&record.rhythm, &record.median}) {
    for (const auto& lead : signal->leads) {
      if (lead.size() > SEncodedData::kMaxSamples) {
        why = "a lead of " + std::to_string(lead.size()) +
              " samples is longer than this system's records hold (65535)";
        return Fail(kErrorOutOfStructures);
      }
    }
  }
  if (!definitions.Allocate(static_cast<uint32_t>(record.leads.size()))) return false;
  definitions.m_flags =
      static_cast<uint8_t>(record.leadFlags & ~kLeadFlagReferenceBeatSubtraction);
  for (size_t l = 0; l < record.leads.size(); ++l) {
    SLeadDef& def = definitions.m_leads[l];
    def.m_leadId = record.leads[l].id;
    const size_t n = l < rhythm.leads.size() ? rhythm.leads[l].size() : 0;
    def.m_startSample = n ? 1 : 0;
    def.m_endSample = static_cast<uint32_t>(n);
  }
  // Multipliers: the record's own, or for a signal rebuilt from two, the
  // largest unit both are whole multiples of.
  uint16_t preferred = rhythm.amplitudeMultiplier;
  if (record.referenceBeatSubtraction) {
    preferred = static_cast<uint16_t>(std::gcd(rhythm.amplitudeMultiplier,
                                               record.median.amplitudeMultiplier));
  }
  const uint16_t rhythm_unit = StorageMultiplier(rhythm, preferred);
  if (rhythm_unit == 0) {
    why = "the rhythm amplitudes exceed what 16-bit samples can hold";
    return Fail(kErrorInvalidData);
  }
  if (!StoreSignal(rhythm, rhythm_unit, rhythm_out)) return false;
  const auto& median = record.median;
  bool has_median = false;
  for (const auto& lead : median.leads) has_median = has_median || !lead.empty();
  if (median.present && has_median) {
    const uint16_t median_unit = StorageMultiplier(median, median.amplitudeMultiplier);
    if (median_unit != 0 && !StoreSignal(median, median_unit, median_out)) return false;
  }
  return true;
}

bool CRecordConverter::ReadSourceSection1(ecg::scp::DecodeReport& report) {
  SSectionHeader header;
  if (GetSection(m_file, &m_index, 1, &header) &&
      !GetSec1Data(m_file, header, nullptr, 0, &m_patientInfo, &m_recordInfo, &m_leadErrors,
                   &m_generalInfo, &m_unknownTags, &m_tagsValid)) {
    report.warnings.push_back("Section 1 cannot be read as this system reads it: "
                              "patient and recording facts are left empty");
    m_patientInfo.SetDefault();
    m_recordInfo.SetDefault();
    m_generalInfo.SetDefault();
    m_leadErrors.KillData();
    m_unknownTags.KillData();
  }
  m_loaded |= kSection1Bit;
  return true;
}

bool CRecordConverter::FillSamples(const ecg::scp::DecodedRecord& record,
                                   ecg::scp::DecodeReport& report) {
  if (!ecg::scp::StoreDecodedSamples(record, m_leadDefinitions, m_rhythmData, m_medianData,
                                     report.message)) {
    return false;
  }
  m_loaded |= kSection3Bit | kSection6Bit;
  m_rhythmReady = m_rhythmPresent = true;
  if (m_medianData.m_leadCount > 0) {
    m_loaded |= kSection5Bit;
    m_medianReady = m_medianPresent = true;
  } else if (record.median.present) {
    report.warnings.push_back("the median beats are left out: they cannot be stored");
  }
  return true;
}

bool CRecordConverter::CopyAnalysisSections(ecg::scp::DecodeReport& report) {
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry == nullptr) return Fail(kErrorOutOfStructures);
    const uint16_t id = entry->m_id;
    if (entry->m_length == 0) continue;
    if (id != 7 && id != 8 && id != 9 && id != 10 && id != 11) continue;
    if (id == 9) {
      // This system reads Section 9 as ten 3-character statement codes;
      // other writers keep their own data there.
      std::vector<uint8_t> content(kSection9CodeBytes);
      size_t got = 0;
      const bool codes =
          entry->m_length >= kSectionHeaderSize + kSection9CodeBytes &&
          m_file->ReadAt(entry->m_position - 1 + kSectionHeaderSize, content.data(),
                         content.size(), &got) &&
          got == content.size() &&
          std::all_of(content.begin(), content.end(),
                      [](uint8_t c) { return c == ' ' || (c >= '0' && c <= '9'); });
      if (!codes) {
        report.warnings.push_back("Section 9 holds another system's data and is left out");
        continue;
      }
    }
    if (!StoreSection(id)) return false;
  }
  return true;
}

bool CRecordConverter::ConvertToUncompressed(const char* source, const char* target,
                                             ecg::scp::DecodeReport& report) {
  using ecg::platform::LastErrorKeeper;
  if (source == nullptr || target == nullptr) return Fail(ecg::platform::kErrorInvalidParameter);
  ecg::scp::DecodedRecord record;
  if (!ecg::scp::DecodeScpFile(source, record, report)) return Fail(kErrorInvalidData);
  bool ok = OpenWithEmptyModel(source);
  if (ok) {
    m_updateMode = false;
    ok = ReadSourceSection1(report) && FillSamples(record, report) && CreateLeadErrorCodes() &&
         ReserveForIndex() && CreateSec1() && CreateSec3_6(false) &&
         (!m_medianReady || CreateSec5()) && CopyAnalysisSections(report) &&
         WriteSections(target);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}
