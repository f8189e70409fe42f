// Reading the working record and writing the analysis into it.

#include "engine/result_writer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/record_input.h"
#include "engine/result_sections.h"
#include "platform/last_error.h"

using namespace ecg::platform;

namespace ecg::engine {

namespace {

#define ECG_ENGINE_WIDEN2(x) u##x
#define ECG_ENGINE_WIDEN(x) ECG_ENGINE_WIDEN2(x)

std::string Reason(const char* what) {
  const uint32_t code = GetLastError();
  return std::string(what) + " (" + std::string(ErrorMeaning(code)) + ", error " + std::to_string(code) + ")";
}

std::u16string Widen(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (unsigned char c : text) out.push_back(static_cast<char16_t>(c));
  return out;
}

// Sections the engine writes itself, or drops.
bool IsReplaced(uint16_t id) {
  return id == 0 || id == 1 || id == 3 || id == 4 || id == 5 || id == 6 || id == 7 || id == 9 ||
         id == 10;
}

}  // namespace

const char16_t* EngineApplicationName() { return u"QORSYS32"; }
const char16_t* EngineVersionText() { return ECG_ENGINE_WIDEN(ECG_VERSION_TEXT); }

bool CAnalysisResultWriter::ReadSection(uint16_t id) {
  SSectionHeader header;
  if (!GetSection(m_file, &m_index, id, &header)) {
    if (GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
    return false;
  }
  bool ok = false;
  switch (id) {
    case 1:
      ok = GetSec1Data(m_file, header, nullptr, 0, &m_patientInfo, &m_recordInfo, &m_leadErrors,
                       &m_generalInfo, &m_unknownTags, &m_tagsValid);
      break;
    case 3: ok = GetSec3Data(m_file, header, &m_leadDefinitions); break;
    case 6: ok = GetSec6Data(m_file, header, &m_leadDefinitions, &m_rhythmData); break;
    default: return Fail(kErrorInvalidParameter);
  }
  if (!ok) return false;
  m_loaded |= static_cast<uint16_t>(1u << id);
  if (id == 6) m_rhythmPresent = m_rhythmReady = true;
  return true;
}

EngineStatus CAnalysisResultWriter::ReadRecord(const char* path, EcgSignal& signal) {
  Close();
  if (!OpenRd(path, false)) return EngineStatus::Error(kResultUnreadable, Reason("the record cannot be opened"));
  if (!m_file->Seek(kRecordHeaderSize) || !GetSection0(m_file, &m_index)) {
    return EngineStatus::Error(kResultUnreadable, Reason("the record's section index cannot be read"));
  }
  m_loaded |= kSection0Bit;
  for (uint16_t id : {1, 3, 6}) {
    if (!ReadSection(id)) {
      return EngineStatus::Error(kResultUnreadable, Reason(("Section " + std::to_string(id) +
                                                            " is missing or unreadable").c_str()));
    }
  }
  const uint32_t recorded = m_leadDefinitions.m_count;

  // I or II from the other and III.
  const bool has_i = m_leadDefinitions.GetLeadFromId(ecg::scp::kLeadI) != nullptr;
  const bool has_ii = m_leadDefinitions.GetLeadFromId(ecg::scp::kLeadII) != nullptr;
  const bool has_iii = m_leadDefinitions.GetLeadFromId(ecg::scp::kLeadIII) != nullptr;
  if (has_i != has_ii && has_iii) {
    const double i_weights[2] = {1.0, -1.0};   // I = II - III
    const uint16_t i_sources[2] = {ecg::scp::kLeadII, ecg::scp::kLeadIII};
    const double ii_weights[2] = {1.0, 1.0};   // II = I + III
    const uint16_t ii_sources[2] = {ecg::scp::kLeadI, ecg::scp::kLeadIII};
    const bool ok = has_ii ? CalculateLead(ecg::scp::kLeadI, 2, i_weights, i_sources, true)
                           : CalculateLead(ecg::scp::kLeadII, 2, ii_weights, ii_sources, true);
    if (!ok) return EngineStatus::Error(kResultUnsupported, Reason("lead I or II cannot be calculated"));
  }
  if (m_leadDefinitions.GetLeadFromId(ecg::scp::kLeadI) != nullptr &&
      m_leadDefinitions.GetLeadFromId(ecg::scp::kLeadII) != nullptr && !CalculateLeads()) {
    return EngineStatus::Error(kResultUnsupported, Reason("the limb leads cannot be calculated"));
  }
  return BuildSignal(m_leadDefinitions, m_rhythmData, recorded, signal);
}

PatientFacts CAnalysisResultWriter::Patient() const {
  PatientFacts facts;
  if (m_patientInfo.m_sex == 1) facts.sex = PatientFacts::Sex::kMale;
  if (m_patientInfo.m_sex == 2) facts.sex = PatientFacts::Sex::kFemale;
  const CRecordInfo& r = m_recordInfo;
  const CPatientInfo& p = m_patientInfo;
  if (p.m_birthYear > 0 && r.m_year >= p.m_birthYear) {
    int32_t age = r.m_year - p.m_birthYear;
    if (p.m_birthMonth > 0 && r.m_month > 0 &&
        (r.m_month < p.m_birthMonth || (r.m_month == p.m_birthMonth && r.m_day < p.m_birthDay))) {
      --age;
    }
    if (age >= 0 && age < 150) facts.age_years = age;
  }
  return facts;
}

bool CAnalysisResultWriter::StoreMedians(const AnalysisResult& result) {
  const MedianBeats& m = result.medians;
  const uint32_t leads = m_leadDefinitions.m_count;
  if (m.leads.size() != leads || m.length == 0) return Fail(kErrorNoData);
  if (!m_medianData.Allocate(leads)) return false;
  m_medianData.m_amplitudeMultiplier = m_rhythmData.m_amplitudeMultiplier;
  m_medianData.m_sampleInterval = m_rhythmData.m_sampleInterval;
  m_medianData.m_differenceUsed = 0;
  m_medianData.m_bimodal = 0;
  const double units_per_uv = 1000.0 / m_rhythmData.m_amplitudeMultiplier;
  for (uint32_t li = 0; li < leads; ++li) {
    if (!m_medianData.AllocateLead(li, static_cast<uint32_t>(m.length))) return false;
    int16_t* out = m_medianData.m_samples[li].get();
    for (size_t k = 0; k < m.length; ++k) {
      const double v = std::round(m.leads[li][k] * units_per_uv);
      out[k] = static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
    }
  }
  m_loaded |= kSection5Bit;
  m_medianPresent = m_medianReady = true;
  return true;
}

EngineStatus CAnalysisResultWriter::WriteResults(const char* path, const EcgSignal& signal,
                                                 const AnalysisResult& result) {
  if (!m_file) return EngineStatus::Error(kResultWriteFailed, "no record is open");
  m_generalInfo.m_interpretation = Widen(result.findings);
  m_generalInfo.m_interpretationEdited = 0;
  m_generalInfo.m_confirmed = 0;
  m_generalInfo.m_interpretationApplication = std::u16string(EngineApplicationName());
  m_generalInfo.m_interpretationVersion = std::u16string(EngineVersionText());
  SelectWriter(EngineApplicationName(), EngineVersionText());
  m_updateMode = true;
  if (!StoreMedians(result)) return EngineStatus::Error(kResultInternal, Reason("the median beats cannot be stored"));

  // Room for the copied sections beyond the twelve kept inline.
  EmptyStoredSections();
  uint32_t copied = 0;
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* e = m_index.Entry(i);
    if (e != nullptr && e->m_length != 0 && !IsReplaced(e->m_id)) ++copied;
  }
  const bool statements = !result.interpretation.statements.empty();
  const uint32_t total = 1 + 7 + (statements ? 1 : 0) + copied;
  if (total > kInlineIndexEntries && !m_stored.Allocate(static_cast<uint16_t>(std::min<uint32_t>(total - kInlineIndexEntries, 0xFFFF)))) {
    return EngineStatus::Error(kResultWriteFailed, Reason("the section table cannot grow"));
  }

  std::vector<uint8_t> four = Section4Bytes(signal, result);
  std::vector<uint8_t> seven = Section7Bytes(result);
  std::vector<uint8_t> nine = Section9Bytes(result);
  std::vector<uint8_t> ten = Section10Bytes(result);
  bool ok = CreateSec1() && CreateSec3_6(false) && CreateSec5() && StoreBuiltSection(4, four) &&
            StoreBuiltSection(7, seven) && (!statements || StoreBuiltSection(9, nine)) &&
            StoreBuiltSection(10, ten);
  std::vector<uint16_t> done;
  for (uint32_t i = 0; ok && i < m_index.m_count; ++i) {
    const SIndexEntry* e = m_index.Entry(i);
    if (e == nullptr || e->m_length == 0 || IsReplaced(e->m_id)) continue;
    if (std::find(done.begin(), done.end(), e->m_id) != done.end()) continue;  // listed twice
    done.push_back(e->m_id);
    ok = StoreSection(e->m_id);
  }
  if (!ok) {
    EngineStatus status = EngineStatus::Error(kResultWriteFailed, Reason("the result sections cannot be built"));
    EmptyStoredSections();
    return status;
  }
  if (!WriteSections(path)) return EngineStatus::Error(kResultWriteFailed, Reason("the record cannot be written"));
  return EngineStatus::Ok();
}

}  // namespace ecg::engine
