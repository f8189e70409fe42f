// Moving the analysis library's results from the working copy into the
// record: the interpretation (Section 1), median beats (Section 5) and lead
// measurements (Section 10) reordered to the record's own leads, and the
// Sections 4, 7 and 9 as the library wrote them. The record's other
// sections stay byte for byte; the record is replaced only once the new one
// has been built whole.

#include <algorithm>
#include <cstring>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/section_bits.h"
#include "platform/last_error.h"
#include "scp/lead_model.h"

using namespace ecg::platform;
using namespace ecg::analysis;

namespace {

// Sections of the working copy that are copied as they are.
constexpr uint32_t kCopiedResults = SectionBits({4, 7, 9});

bool IsDerivedLimbLead(uint16_t code) {
  return code == ecg::scp::kLeadIII || code == ecg::scp::kLeadAVR || code == ecg::scp::kLeadAVL ||
         code == ecg::scp::kLeadAVF;
}

// What the working copy says before the record is touched.
struct AnalysedCopy {
  CGeneralInfo general;  // its interpretation, confirmation and edited flag
  bool hasMedians = false;
  bool hasMeasurements = false;
  uint32_t copiedSections = 0;  // listed sections among 4, 7 and 9
};

}  // namespace

bool CAnalysis::TransferAnalysis(const char* record, const char* working_copy,
                                 bool interpretation) {
  if (record == nullptr || working_copy == nullptr) return Fail(kErrorInvalidParameter);

  // 1. The working copy's Section 0 and general information.
  AnalysedCopy analysed;
  {
    FileHandle handle;
    SSectionIndexes index;
    if (!OpenWithIndex(handle, working_copy, &index)) return false;
    SSectionHeader header;
    bool ok = GetSection(handle, &index, 1, &header);
    if (!ok && GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
    ok = ok && GetSec1Data(handle, header, nullptr, 0, nullptr, nullptr, nullptr,
                           &analysed.general, nullptr, nullptr);
    for (uint32_t i = 0; ok && i < index.m_count; ++i) {
      const SIndexEntry* entry = index.Entry(i);
      if (entry == nullptr || entry->m_length == 0) continue;
      if (entry->m_id == 5) analysed.hasMedians = true;
      if (entry->m_id == 10) analysed.hasMeasurements = true;
      if (HasSection(kCopiedResults, entry->m_id)) {
        analysed.copiedSections |= SectionBits({entry->m_id});
      }
    }
    LastErrorKeeper keep;
    Close(handle);
    if (!ok) return false;
  }

  auto fail = [this] {
    LastErrorKeeper keep;
    Close();
    return false;
  };

  // 2. The record's Section 0, and room for every section to be written.
  const uint32_t kept_bits =
      SectionBits({0}) | kAnalysisSections | (interpretation ? SectionBits({1}) : 0u);
  uint32_t total = 1;  // Section 0
  bool record_has_section1 = false;
  if (!OpenRecordForMerge(record, kept_bits, total, record_has_section1)) return fail();
  if (interpretation) ++total;
  if (analysed.hasMedians) ++total;
  if (analysed.hasMeasurements) ++total;
  for (uint16_t id : {4, 7, 9}) total += HasSection(analysed.copiedSections, id) ? 1 : 0;
  if (!ReserveIndexEntries(total)) return fail();

  // 3. The interpretation of the working copy in the record's Section 1.
  if (interpretation && !StoreInterpretation(record_has_section1, analysed.general)) return fail();

  // 4. The record's leads, in its own order.
  if (!ReadModelSection(3, true, nullptr)) return fail();
  const SLeadDefinitions record_leads(m_leadDefinitions);

  // 5. Every other section of the record as it is.
  if (!StoreListedSections(kept_bits)) return fail();
  CReader::Close(m_file);

  // 6. The working copy's leads and median beats.
  if (!OpenRd(working_copy, false)) return fail();
  m_index.KillData();
  if (!m_file->Seek(kRecordHeaderSize) || !GetSection0(m_file, &m_index)) return fail();
  SLeadDefinitions analysed_leads;
  {
    SSectionHeader header;
    if (!GetSection(m_file, &m_index, 3, &header)) {
      if (GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
      return fail();
    }
    if (!GetSec3Data(m_file, header, &analysed_leads)) return fail();
  }

  // 7. One median beat per record lead, taken by lead code.
  if (analysed.hasMedians) {
    SEncodedData medians;
    SSectionHeader header;
    if (!GetSection(m_file, &m_index, 5, &header)) {
      if (GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
      return fail();
    }
    if (!GetSec5Data(m_file, header, &analysed_leads, &medians)) return fail();
    m_medianData.KillData();
    if (!m_medianData.Allocate(record_leads.m_count)) return fail();
    m_medianData.m_amplitudeMultiplier = medians.m_amplitudeMultiplier;
    m_medianData.m_sampleInterval = medians.m_sampleInterval;
    m_medianData.m_differenceUsed = medians.m_differenceUsed;
    m_medianData.m_bimodal = medians.m_bimodal;
    for (uint32_t i = 0; i < record_leads.m_count; ++i) {
      const int16_t from = analysed_leads.GetIdIndexFromId(record_leads.m_leads[i].m_leadId);
      if (from == SLeadDefinitions::kNotFound || from >= medians.m_leadCount) {
        SetLastError(kErrorInvalidData);
        return fail();
      }
      const auto j = static_cast<uint32_t>(from);
      const int16_t* samples = medians.Samples(j);
      const uint16_t count = medians.SampleCount(j);
      if (samples == nullptr || count == 0) continue;
      if (!m_medianData.AllocateLead(i, count)) return fail();
      std::memcpy(m_medianData.m_samples[i].get(), samples, size_t{count} * sizeof(int16_t));
    }
    m_loaded |= kSection5Bit;
    m_medianPresent = m_medianReady = true;
    if (!CreateSec5()) return fail();
  }

  // 8. Lead measurements in the record's lead order, then those of derived
  // limb leads the record does not hold.
  if (analysed.hasMeasurements) {
    SLeadMeasurements measured;
    SSectionHeader header;
    if (!GetSection(m_file, &m_index, 10, &header)) {
      if (GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
      return fail();
    }
    if (!GetSec10Data(m_file, header, &measured)) return fail();
    std::vector<const SLeadMeasurement*> chosen;
    auto find = [&measured](uint16_t code) -> const SLeadMeasurement* {
      for (uint32_t k = 0; k < measured.m_count; ++k) {
        if (measured.m_leads[k].m_leadId == code) return &measured.m_leads[k];
      }
      return nullptr;
    };
    for (uint32_t i = 0; i < record_leads.m_count; ++i) {
      if (const SLeadMeasurement* m = find(record_leads.m_leads[i].m_leadId)) chosen.push_back(m);
    }
    const size_t matched = chosen.size();
    std::vector<uint16_t> appended;
    for (uint32_t k = 0; k < measured.m_count; ++k) {
      const uint16_t code = measured.m_leads[k].m_leadId;
      if (!IsDerivedLimbLead(code) || record_leads.GetLeadFromId(static_cast<uint8_t>(code))) {
        continue;
      }
      if (std::find(appended.begin(), appended.end(), code) != appended.end()) continue;
      appended.push_back(code);
      chosen.push_back(&measured.m_leads[k]);
    }
    if (matched != record_leads.m_count) {
      SetLastError(kErrorInvalidData);
      return fail();
    }
    m_leadMeasurements.KillData();
    if (!m_leadMeasurements.Allocate(static_cast<uint32_t>(chosen.size()))) return fail();
    m_leadMeasurements.m_blockSize =
        std::min<uint16_t>(measured.m_blockSize, SLeadMeasurements::kBlockSize);
    for (size_t i = 0; i < chosen.size(); ++i) {
      SLeadMeasurement& block = m_leadMeasurements.m_leads[i];
      block = *chosen[i];
      block.m_length = std::min<uint16_t>(block.m_length, SLeadMeasurements::kBlockSize);
    }
    m_loaded |= kSection10Bit;
    if (!CreateSec10()) return fail();
  }

  // 9. Sections 4, 7 and 9 of the working copy byte for byte, in its order.
  uint32_t stored = 0;
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry == nullptr || entry->m_length == 0 || !HasSection(kCopiedResults, entry->m_id)) {
      continue;
    }
    if (HasSection(stored, entry->m_id)) continue;
    if (!StoreSection(entry->m_id)) return fail();
    stored |= SectionBits({entry->m_id});
  }
  CReader::Close(m_file);

  // 10. The record, replaced whole.
  const bool ok = WriteSections(record);
  LastErrorKeeper keep;
  Close();
  return ok;
}

bool CAnalysis::OpenRecordForMerge(const char* record, uint32_t replaced, uint32_t& total,
                                   bool& has_section1) {
  has_section1 = false;
  if (!OpenWithEmptyModel(record)) return false;
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry == nullptr) return Fail(kErrorOutOfStructures);
    if (entry->m_length == 0 || entry->m_id == 0) continue;
    if (entry->m_id == 1) has_section1 = true;
    if (!HasSection(replaced, entry->m_id)) ++total;
  }
  return true;
}

bool CAnalysis::ReserveIndexEntries(uint32_t total) {
  if (total <= kInlineIndexEntries) return true;
  if (total - kInlineIndexEntries > 0xFFFF) return Fail(kErrorOutOfStructures);
  return m_stored.Allocate(static_cast<uint16_t>(total - kInlineIndexEntries));
}

bool CAnalysis::StoreInterpretation(bool record_has_section1, const CGeneralInfo& analysed) {
  if (record_has_section1) {
    SSectionHeader header;
    if (!GetSection(m_file, &m_index, 1, &header)) {
      if (GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
      return false;
    }
    if (!GetSec1Data(m_file, header, nullptr, 0, &m_patientInfo, &m_recordInfo, &m_leadErrors,
                     &m_generalInfo, &m_unknownTags, &m_tagsValid)) {
      return false;
    }
  }
  m_loaded |= kSection1Bit;
  m_generalInfo.m_interpretation = analysed.m_interpretation;
  m_generalInfo.m_confirmed = analysed.m_confirmed;
  m_generalInfo.m_interpretationEdited = analysed.m_interpretationEdited;
  m_updateMode = true;
  return CreateSec1();
}
