// The interpretation statements of a record: a fixed statement replacing or
// extending the interpretation, and the interpretation composed from the
// statement codes of Section 9, in the language of a statement catalog.

#include <span>

#include "analysis/analysis.h"
#include "analysis/section_bits.h"
#include "analysis/statement_catalog.h"
#include "analysis/statement_text.h"
#include "platform/last_error.h"

using namespace ecg::platform;
using namespace ecg::analysis;

template <typename Change>
bool CAnalysis::RewriteSection1(const char* path, Change change) {
  bool ok = BeginUpdate(path) && change() && ReserveForIndex();
  if (ok) {
    m_updateMode = true;
    ok = CreateSec1() && StoreListedSections(SectionBits({0, 1})) && WriteSections(path);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}

namespace {

// The catalog's text of a fixed statement; null with the last-error code
// when the catalog or the statement is missing.
const std::u16string* FixedStatement(StatementCatalog& catalog, int32_t language, uint32_t id) {
  if (!catalog.LoadLanguage(language)) return nullptr;
  const std::u16string* text = catalog.Find(id);
  if (text == nullptr || text->empty()) {
    SetLastError(kErrorNoData);
    return nullptr;
  }
  return text;
}

}  // namespace

bool CAnalysis::CreateInterpretationText(const char* path, int32_t language, uint32_t id) {
  if (language < 0 || language >= kLanguageCount) return Fail(kErrorInvalidParameter);
  return RewriteSection1(path, [&] {
    StatementCatalog catalog;
    const std::u16string* text = FixedStatement(catalog, language, id);
    if (text == nullptr) return false;
    m_generalInfo.m_interpretation = *text;
    m_generalInfo.m_confirmed = 0;
    m_generalInfo.m_interpretationEdited = 0;
    return true;
  });
}

bool CAnalysis::AddInterpretationText(const char* path, int32_t language, uint32_t id) {
  if (language < 0 || language >= kLanguageCount) return Fail(kErrorInvalidParameter);
  return RewriteSection1(path, [&] {
    StatementCatalog catalog;
    const std::u16string* text = FixedStatement(catalog, language, id);
    if (text == nullptr) return false;
    m_generalInfo.m_interpretation =
        AppendStatement(m_generalInfo.m_interpretation.value_or(std::u16string()), *text);
    m_generalInfo.m_confirmed = 0;
    return true;
  });
}

bool CAnalysis::CreateInterpretationCodesText(const char* path, int32_t language) {
  if (language < 0 || language >= kLanguageCount) return Fail(kErrorInvalidParameter);
  return RewriteSection1(path, [&] {
    SSectionHeader header;
    if (!GetSection(m_file, &m_index, 9, &header)) {
      if (GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
      return false;
    }
    CAnalysisInfo& codes = m_analysisInfo;
    if (!GetSec9Data(m_file, header, codes.m_rhythmCodes, CAnalysisInfo::kMaxRhythmCodes,
                     &codes.m_rhythmCount, codes.m_morphologyCodes,
                     CAnalysisInfo::kMaxMorphologyCodes, &codes.m_morphologyCount)) {
      return false;
    }
    m_loaded |= kSection9Bit;
    StatementCatalog catalog;
    if (!catalog.LoadLanguage(language)) return false;
    std::u16string text;
    const size_t prefix = m_codesOption != 0 ? kCodesOptionPrefix : kPlainPrefix;
    if (!ComposeCodesText(catalog, std::span(codes.m_rhythmCodes, codes.m_rhythmCount),
                          std::span(codes.m_morphologyCodes, codes.m_morphologyCount), prefix,
                          text)) {
      return false;
    }
    m_generalInfo.m_interpretation = std::move(text);
    m_generalInfo.m_confirmed = 0;
    m_generalInfo.m_interpretationEdited = 0;
    return true;
  });
}
