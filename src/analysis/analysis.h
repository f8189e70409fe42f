#pragma once
// CAnalysis: runs the outside analysis library on a stored record and merges
// its results back into that record.
//
// The library works on a working copy of the record (see working_copy.h);
// its median beats, measurements and statement sections are then moved into
// the record section by section, reordered to the record's own leads, and
// the interpretation is written in one of seven languages from the
// statement catalogs (statement_catalog.h). Records that cannot be analysed
// get a fixed explanatory statement instead.

#include <cstdint>
#include <string>

#include "scp/writer.h"

class CAnalysis : public CWriter {
 public:
  // CreateAnalysis results. The analysis library's own codes other than 0
  // (6 and 7 among them) are passed through unchanged.
  enum : int16_t {
    kResultAnalysed = 0,
    kResultTooFewLeads = 13,
    kResultLeadErrors = 14,
    kResultRecordUnusable = -1,
    kResultBadLanguage = -2,
    kResultRemoveFailed = -3,
    kResultNoLibrary = -4,
    kResultWorkingCopy = -5,
    kResultStatementFailed = -6,
    kResultPoorSignal = 6,    // the library's refusal: signal quality
    kResultUnsupported = 7,   // the library's refusal: record outside its range
  };

  CAnalysis() = default;

  // Analyses the record at `path`. `language` (0-6) selects the statement
  // catalog; `mode` selects the library's mode argument (false 1, true 2).
  int16_t CreateAnalysis(const char* path, int32_t language, bool mode);
  // Rewrites the record without Sections 4, 5, 7, 9 and 10; a record whose
  // samples are encoded keeps 4 and 5, which its decoding needs.
  bool RemoveAnalysisData(const char* path);
  using CWriter::SelectWriter;

  // The library file the last run loaded, and why loading failed (-4).
  const std::string& LastLibraryPath() const { return m_libraryPath; }
  const std::string& LastLibraryError() const { return m_libraryError; }
  // Why a record from another system could not be read (result -1).
  const std::string& LastDecodeError() const { return m_decodeError; }

  // The three options, all 0 after construction; the caller sets them
  // before CreateAnalysis.
  // 1: the analysis' interpretation text and statements go into the record.
  uint8_t m_interpretationOption = 0;
  // 2: after an analysis, statement 5006 is added when the patient data the
  // interpretation needs is incomplete.
  uint8_t m_patientDataCheckOption = 0;
  // 3: code texts lose a 3-character prefix instead of 7.
  uint8_t m_codesOption = 0;

 protected:
  // Rebuilds Section 1 in update mode without a change, so that tags
  // derived from others (the age) agree with them.
  bool UpdateTagDependants(const char* path);
  // Adds to a working copy the leads the library expects and the record
  // lacks: lead II when the record lacks I or II, then V1-V6.
  bool CreateVLeads(const char* path);
  // Moves the library's results from the working copy into the record.
  bool TransferAnalysis(const char* record, const char* working_copy, bool interpretation);
  // Section 10 from the model's lead measurements.
  bool CreateSec10();

  // Interpretation statements. Each rewrites the record through the update
  // sequence (Section 1 rebuilt, every other section kept) and fails
  // without writing when the language is outside 0-6 (87), the catalog is
  // missing or the statement is not in it.
  // The interpretation becomes the statement; confirmation and the edited
  // flag are cleared.
  bool CreateInterpretationText(const char* path, int32_t language, uint32_t id);
  // The statement is appended on a line of its own; confirmation is cleared.
  bool AddInterpretationText(const char* path, int32_t language, uint32_t id);
  // The interpretation becomes the texts of the Section 9 statement codes;
  // confirmation and the edited flag are cleared. No Section 9: 232.
  bool CreateInterpretationCodesText(const char* path, int32_t language);

 private:
  // The update sequence with a change that can fail.
  template <typename Change>
  bool RewriteSection1(const char* path, Change change);
  // Step 13 of a run: the statements added to the working copy after a
  // successful analysis. False when one could not be written.
  bool AddRunStatements(const char* working_copy, int32_t language, uint16_t lead_errors);
  // The refusal statement (5004 or 5005) of the library's result 6 or 7.
  bool StoreRefusal(const char* path, int32_t language, int16_t result);
  // A record whose samples are stored encoded: the run on its plain form,
  // and the results moved back without touching its sample sections.
  int16_t AnalyseEncodedRecord(const char* path, int32_t language, bool mode);
  bool TransferIntoEncodedRecord(const char* record, const char* plain, bool interpretation);
  // Steps the two merges share. Opens the record with its Section 0 and
  // counts into `total` the sections kept (those not in `replaced`).
  bool OpenRecordForMerge(const char* record, uint32_t replaced, uint32_t& total,
                          bool& has_section1);
  // Room in the stored sections' index for `total` entries.
  bool ReserveIndexEntries(uint32_t total);
  // The record's Section 1 (when it has one) rebuilt with the
  // interpretation, confirmation and edited flag of `analysed`.
  bool StoreInterpretation(bool record_has_section1, const CGeneralInfo& analysed);

  std::string m_libraryPath;
  std::string m_libraryError;
  std::string m_decodeError;
};

namespace ecg::analysis {

// A short English meaning of a CreateAnalysis result, e.g. "analysis run and
// results stored"; codes of the library itself get a generic meaning.
const char* AnalysisResultMeaning(int16_t result);

}  // namespace ecg::analysis
