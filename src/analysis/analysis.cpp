// CreateAnalysis step by step, and the operations around it that rewrite a
// record without the analysis library: removing earlier results and
// bringing the derived Section 1 tags up to date.

#include "analysis/analysis.h"

#include "analysis/analysis_engine.h"
#include "analysis/section_bits.h"
#include "analysis/statement_catalog.h"
#include "analysis/statement_text.h"
#include "analysis/working_copy.h"
#include "platform/last_error.h"

using namespace ecg::platform;
using namespace ecg::analysis;

namespace {

// Lead error bits (Section 1 tag 200) as the analysis reads them.
enum : uint16_t {
  kLeadZeroingBit = 0x01,  // marker 2032: no analysis, statement 5002
  kLeadOffBit = 0x02,      // marker 2033: no analysis, statement 5001
  kCalibrationBit = 0x04,  // marker 2034: analysis, then statement 5003
};

// The library expects the eight acquired leads I, II, V1-V6.
constexpr int16_t kExpectedLeads = 8;

}  // namespace

bool CAnalysis::UpdateTagDependants(const char* path) { return UpdateFile(path, nullptr, nullptr); }

bool CAnalysis::RemoveAnalysisData(const char* path) {
  // A record whose samples are encoded needs its Sections 4 and 5 (QRS
  // locations and reference beats) to decode the rhythm: only the results
  // of an interpretation go.
  const uint32_t removed =
      path != nullptr && CReader::NeedsDecoding(path) ? SectionBits({7, 9, 10}) : kAnalysisSections;
  bool ok = OpenWithEmptyModel(path);
  if (ok) {
    ok = ReserveForIndex() && StoreListedSections(SectionBits({0}) | removed) &&
         WriteSections(path);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}

int16_t CAnalysis::CreateAnalysis(const char* path, int32_t language, bool mode) {
  m_libraryPath.clear();
  m_libraryError.clear();
  // 1. Language.
  if (language < 0 || language >= kLanguageCount) {
    SetLastError(kErrorInvalidParameter);
    return kResultBadLanguage;
  }
  if (path == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return kResultRecordUnusable;
  }
  // Records from other systems: the run works on their plain form.
  if (CReader::NeedsDecoding(path)) return AnalyseEncodedRecord(path, language, mode);

  // 2. Derived tags brought up to date.
  if (!UpdateTagDependants(path)) return kResultRecordUnusable;

  // 3. The record with what an analysis needs.
  int16_t loaded = 0;
  if (!Load(path, loaded, static_cast<int16_t>(kAllSectionBits))) return kResultRecordUnusable;
  constexpr uint16_t kNeeded = kSection1Bit | kSection3Bit | kSection6Bit;
  const int16_t leads = GetLeads();
  if ((m_loaded & kNeeded) != kNeeded || !GetTagValidation() || leads <= 0) {
    Unload();
    SetLastError(kErrorNoData);
    return kResultRecordUnusable;
  }
  // 4. Lead count.
  if (leads < 2) {
    Unload();
    return kResultTooFewLeads;
  }
  const bool add_leads = leads < kExpectedLeads;

  // 6. The lead errors of all leads, combined (computed before step 5
  // rewrites the record; the samples it reads stay the same).
  if (!CreateLeadErrorCodes()) {
    LastErrorKeeper keep;
    Unload();
    return kResultRecordUnusable;
  }
  uint16_t lead_errors = 0;
  for (uint32_t i = 0; i < m_leadErrors.m_count; ++i) lead_errors |= m_leadErrors.m_entries[i].m_errorBits;
  bool has_results = false;
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry != nullptr && entry->m_length != 0 && HasSection(kAnalysisSections, entry->m_id)) {
      has_results = true;
    }
  }
  Unload();

  // 5. Earlier results removed.
  if (has_results && !RemoveAnalysisData(path)) return kResultRemoveFailed;

  // 7. Lead errors that prevent an analysis: a statement instead.
  if ((lead_errors & (kLeadZeroingBit | kLeadOffBit)) != 0) {
    int16_t result = kResultLeadErrors;
    if (m_interpretationOption != 0) {
      bool replaced = false;
      if (lead_errors & kLeadZeroingBit) {
        replaced = CreateInterpretationText(path, language, kStatementLeadZeroing);
        if (!replaced) result = kResultStatementFailed;
      }
      if (lead_errors & kLeadOffBit) {
        const bool ok = replaced ? AddInterpretationText(path, language, kStatementLeadOff)
                                 : CreateInterpretationText(path, language, kStatementLeadOff);
        if (!ok) result = kResultStatementFailed;
      }
    }
    return result;
  }

  // 8. The working copy's name (deleted with its side file on every return).
  WorkingCopy copy;
  if (!copy.Create()) return kResultWorkingCopy;
  // 9. The library.
  AnalysisEngine engine;
  if (!engine.Load()) {
    m_libraryError = engine.error_text();
    return kResultNoLibrary;
  }
  m_libraryPath = engine.path();
  // 10, 11. The copy, with the leads the library expects.
  if (!copy.CopyFrom(path)) return kResultWorkingCopy;
  if (add_leads && !CreateVLeads(copy.path().c_str())) return kResultRecordUnusable;

  // 12. The analysis.
  const int16_t result = engine.Run(copy.path(), mode ? 2 : 1);

  // 13. Results into the record.
  if (result == kResultAnalysed) {
    int16_t outcome = kResultAnalysed;
    if (!AddRunStatements(copy.path().c_str(), language, lead_errors)) {
      outcome = kResultStatementFailed;
    }
    if (!TransferAnalysis(path, copy.path().c_str(), m_interpretationOption != 0)) {
      outcome = kResultWorkingCopy;
    }
    return outcome;
  }
  // 14. The library's refusals (6, 7) reach the record as a statement that
  // replaces its interpretation: step 5 has removed the earlier results, so
  // an interpretation left from an earlier analysis would stand for
  // measurements the record no longer holds, and whoever reads the record
  // must learn why it has no analysis, as with lead errors (step 7). Other
  // results are the library's own failures and leave the record as step 5
  // left it.
  if ((result == kResultPoorSignal || result == kResultUnsupported) && m_interpretationOption != 0 &&
      !StoreRefusal(path, language, result)) {
    return kResultStatementFailed;
  }
  return result;
}

bool CAnalysis::AddRunStatements(const char* working_copy, int32_t language, uint16_t lead_errors) {
  bool ok = true;
  if (m_interpretationOption != 0 && !CreateInterpretationCodesText(working_copy, language)) {
    ok = false;
  }
  if ((lead_errors & kCalibrationBit) != 0 &&
      !AddInterpretationText(working_copy, language, kStatementCalibration)) {
    ok = false;
  }
  if (m_patientDataCheckOption != 0) {
    CPatientInfo patient;
    const bool complete = ReadPatientAndRecordInfo(working_copy, &patient, nullptr) &&
                          patient.m_birthYear != 0 && patient.m_birthMonth != 0 &&
                          patient.m_birthDay != 0 && patient.m_height != 0 &&
                          patient.m_weight != 0 && patient.m_sex != 0;
    if (!complete && !AddInterpretationText(working_copy, language, kStatementPatientData)) {
      ok = false;
    }
  }
  return ok;
}

bool CAnalysis::StoreRefusal(const char* path, int32_t language, int16_t result) {
  const uint32_t id = result == kResultPoorSignal ? kStatementPoorSignal : kStatementUnsupported;
  return CreateInterpretationText(path, language, id);
}

namespace ecg::analysis {

const char* AnalysisResultMeaning(int16_t result) {
  switch (result) {
    case CAnalysis::kResultAnalysed: return "analysis run and results stored";
    case CAnalysis::kResultTooFewLeads: return "fewer than 2 leads; no analysis";
    case CAnalysis::kResultLeadErrors: return "lead errors; statement stored instead of an analysis";
    case CAnalysis::kResultRecordUnusable:
      return "record unusable for an analysis, or adding the calculated leads failed";
    case CAnalysis::kResultBadLanguage: return "language index outside 0-6";
    case CAnalysis::kResultRemoveFailed: return "removing earlier analysis results failed";
    case CAnalysis::kResultNoLibrary: return "analysis library or its entry point not found";
    case CAnalysis::kResultWorkingCopy:
      return "naming or creating the working copy failed, or the transfer failed";
    case CAnalysis::kResultStatementFailed:
      return "writing a statement failed (the other results may have been stored)";
    case CAnalysis::kResultPoorSignal:
      return "the analysis library refused the record: signal quality does not allow an analysis";
    case CAnalysis::kResultUnsupported:
      return "the analysis library refused the record: outside what it supports";
    default: return "the analysis library's own failure; nothing transferred";
  }
}

}  // namespace ecg::analysis
