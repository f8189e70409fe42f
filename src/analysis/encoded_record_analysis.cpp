// Analysing records from other systems. Their samples are stored encoded
// (Huffman tables, differences, reference beats, bimodal compression), which
// the analysis run and the in-place updates cannot rewrite. The run
// therefore works on the record converted to this system's plain form, and
// only its results go back into the record: the interpretation (Section 1)
// and Sections 7, 9 and 10. The record's Sections 2 to 6 stay byte for byte,
// Section 4 and 5 included: they take part in decoding the rhythm, and a
// record that had none gets none, so the median beats the engine made stay
// in the converted form only. The record is replaced once, whole, and left
// as it was when anything fails.

#include "analysis/analysis.h"
#include "analysis/section_bits.h"
#include "analysis/working_copy.h"
#include "platform/last_error.h"
#include "scp/record_converter.h"

using namespace ecg::platform;
using namespace ecg::analysis;

namespace {

// The results of an analysis of the plain form that go into the record.
constexpr uint32_t kResultSections = SectionBits({7, 9, 10});

// Results after which the plain form holds what the record must show.
bool ChangedThePlainForm(int16_t result) {
  return result == CAnalysis::kResultAnalysed || result == CAnalysis::kResultLeadErrors ||
         result == CAnalysis::kResultPoorSignal || result == CAnalysis::kResultUnsupported ||
         result == CAnalysis::kResultStatementFailed;
}

}  // namespace

int16_t CAnalysis::AnalyseEncodedRecord(const char* path, int32_t language, bool mode) {
  WorkingCopy plain;
  if (!plain.Create()) return kResultWorkingCopy;
  {
    ecg::scp::DecodeReport report;
    CRecordConverter converter;
    if (!converter.ConvertToUncompressed(path, plain.path().c_str(), report)) {
      m_decodeError = report.message;
      return kResultRecordUnusable;
    }
  }
  CAnalysis run;
  run.m_interpretationOption = m_interpretationOption;
  run.m_patientDataCheckOption = m_patientDataCheckOption;
  run.m_codesOption = m_codesOption;
  const int16_t result = run.CreateAnalysis(plain.path().c_str(), language, mode);
  m_libraryPath = run.LastLibraryPath();
  m_libraryError = run.LastLibraryError();
  if (!ChangedThePlainForm(result)) return result;
  if (!TransferIntoEncodedRecord(path, plain.path().c_str(), m_interpretationOption != 0)) {
    return kResultWorkingCopy;
  }
  return result;
}

bool CAnalysis::TransferIntoEncodedRecord(const char* record, const char* plain,
                                          bool interpretation) {
  auto fail = [this] {
    LastErrorKeeper keep;
    Close();
    return false;
  };

  // 1. The plain form's interpretation and the result sections it lists.
  CGeneralInfo analysed;
  uint32_t results = 0;
  {
    FileHandle handle;
    SSectionIndexes index;
    if (!OpenWithIndex(handle, plain, &index)) return false;
    SSectionHeader header;
    bool ok = GetSection(handle, &index, 1, &header);
    if (!ok && GetLastError() == kErrorSuccess) SetLastError(kErrorNoData);
    ok = ok && GetSec1Data(handle, header, nullptr, 0, nullptr, nullptr, nullptr, &analysed,
                           nullptr, nullptr);
    for (uint32_t i = 0; ok && i < index.m_count; ++i) {
      const SIndexEntry* entry = index.Entry(i);
      if (entry != nullptr && entry->m_length != 0 && HasSection(kResultSections, entry->m_id)) {
        results |= SectionBits({entry->m_id});
      }
    }
    LastErrorKeeper keep;
    Close(handle);
    if (!ok) return false;
  }

  // 2. The record: every section but the old results (and Section 1 when
  // the interpretation is replaced) as it is.
  const uint32_t replaced = SectionBits({0}) | kResultSections | (interpretation ? SectionBits({1}) : 0u);
  uint32_t total = 1;
  bool has_section1 = false;
  if (!OpenRecordForMerge(record, replaced, total, has_section1)) return fail();
  if (interpretation) ++total;
  for (uint16_t id : {7, 9, 10}) total += HasSection(results, id) ? 1 : 0;
  if (!ReserveIndexEntries(total)) return fail();

  // 3. Section 1 with the interpretation of the plain form. A Section 1
  // this system cannot read is not rewritten: the run's statements then
  // have no place, and the record stays as it is.
  if (interpretation && !StoreInterpretation(has_section1, analysed)) return fail();
  if (!StoreListedSections(replaced)) return fail();
  CReader::Close(m_file);

  // 4. Sections 7, 9 and 10 of the plain form byte for byte. Its leads are
  // the record's leads in the record's order (the conversion keeps them),
  // followed by the limb leads the analysis calculated.
  if (results != 0) {
    if (!OpenRd(plain, false)) return fail();
    m_index.KillData();
    if (!m_file->Seek(kRecordHeaderSize) || !GetSection0(m_file, &m_index)) return fail();
    for (uint16_t id : {7, 9, 10}) {
      if (HasSection(results, id) && !StoreSection(id)) return fail();
    }
    CReader::Close(m_file);
  }

  // 5. The record, replaced whole.
  const bool ok = WriteSections(record);
  LastErrorKeeper keep;
  Close();
  return ok;
}
