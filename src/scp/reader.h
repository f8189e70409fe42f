#pragma once
// CReader: an SCP-ECG record in memory and the code that reads it.
//
// Every operation reports success as a bool and the reason through the
// thread's last-error code (platform/last_error.h); none throws. Every
// length, count and position taken from a file is checked before use.

#include <cstdint>
#include <memory>
#include <vector>

#include "scp/container.h"
#include "scp/crc.h"
#include "scp/lead_model.h"
#include "scp/measurement_model.h"
#include "scp/record_source.h"
#include "scp/section1_model.h"

namespace ecg::scp {
struct DecodeReport;
}

class CReader {
 public:
  CReader() = default;
  virtual ~CReader() { Unload(); }
  CReader(const CReader&) = delete;
  CReader& operator=(const CReader&) = delete;

  // Reads the sections named by `wanted` (loaded-section bits). `loaded`
  // receives the bits of the sections that were read. A section that is
  // missing or cannot be decoded is reset and left out; only an unreadable
  // file or Section 0 fails the load.
  bool Load(const RecordSource& source, int16_t& loaded, int16_t wanted);
  // After Load: when the record's samples are encoded (Huffman tables,
  // differences, reference beats, bimodal compression), replaces Sections 3,
  // 5 and 6 with the decoded samples at this system's 16-bit storage; so
  // also when Load could not read plain samples (lead ranges from sample 0).
  // A record stored as plain 16-bit values Load read is left as it is. False when
  // the record is encoded and the decoder refuses it (`report` says why) or
  // the samples do not fit; the loaded sections are then as Load left them.
  // A plainly stored record the decoder refuses keeps what Load read.
  bool LoadDecodedSamples(const RecordSource& source, ecg::scp::DecodeReport& report);
  // Whether the record's samples need the decoder: stored encoded, or plain
  // but placed where this reader cannot read them (lead ranges from sample
  // 0). False for records the decoder refuses: the caller's own read
  // reports those.
  static bool NeedsDecoding(const RecordSource& source);
  // From the loaded Sections 0, 3, 5 and 6: whether they say the samples
  // are encoded (Huffman tables, differences, reference beat, bimodal).
  bool LoadedSamplesAreEncoded() const;
  void Unload();
  void KillSection(uint16_t bits);

  // Opens the record, reads Section 0 and checks the record and section
  // CRCs. Returns whether the check could be made; `valid` says whether it
  // passed.
  static bool ReadCRCCheck(const RecordSource& source, bool& valid);

  // Every CRC of a record, for reports: unlike the check above it does not
  // stop at the first failure.
  struct SCrcReport {
    bool recordValid = false;
    struct Entry {
      uint16_t id = 0;
      uint32_t length = 0;
      uint32_t position = 0;
      bool checked = false;  // a section whose CRC the record check covers
      bool readable = false; // its bytes lie inside the file
      bool valid = false;
    };
    std::vector<Entry> entries;  // Section 0 entries in file order
  };
  static bool ReadCRCReport(const RecordSource& source, SCrcReport& report);

  // Members of loaded sections; null with error 232 when not loaded.
  CPatientInfo* GetPatientInfoPtr();
  CRecordInfo* GetRecordingInfoPtr();
  CGeneralInfo* GetGeneralInfoPtr();
  SLeadErrors* GetLeadErrorsPtr();
  SLeadDefinitions* GetLeadDefinitionsPtr();
  SEncodedData* GetMedianDataPtr();
  SEncodedData* GetRhythmDataPtr();
  CAnalysisInfo* GetAnalysisInfoPtr();
  SLeadMeasurements* GetLeadMeasurementsPtr();
  // Whether Section 1 held the acquisition tags 14, 25 and 26.
  bool GetTagValidation() const;

  uint16_t GetLoadedSections() const { return m_loaded; }
  // The loaded-section bits as the record layer's callers take them.
  int16_t SectionFlag() const { return static_cast<int16_t>(m_loaded); }
  const SRecordHeader& GetRecordHeader() const { return m_recordHeader; }
  const SSectionIndexes& GetSectionIndexes() const { return m_index; }
  const SUnknownTags& GetUnknownTags() const { return m_unknownTags; }

  // One-shot readers: open, read the sections needed into the caller's
  // objects, close.
  static bool ReadPatientAndRecordInfo(const RecordSource& source, CPatientInfo* patient,
                                       CRecordInfo* recording);
  static bool ReadGeneralInfo(const RecordSource& source, CGeneralInfo* general);
  // Section 1 read for its lead errors (tag 200) only.
  static bool ReadLeadErrorCodes(const RecordSource& source, SLeadErrors* errors);
  // Section 3.
  static bool ReadLeadDefs(const RecordSource& source, SLeadDefinitions* definitions);
  // The number of leads in Section 3; 0 on any failure.
  static int16_t ReadLeads(const RecordSource& source);
  // Whether Section 3 holds every one of the codes (low byte of each).
  static bool ReadLeadSet(const RecordSource& source, int32_t count, const int16_t* codes);
  // Section 3 into a temporary, then Section 6 (rhythm) or 5 (median beats).
  static bool ReadRhythmData(const RecordSource& source, SEncodedData* data);
  static bool ReadMedianData(const RecordSource& source, SEncodedData* data);
  // Section 7 into the global measurements, then Section 9 (optional) into
  // the statement codes.
  static bool ReadAnalysisInfo(const RecordSource& source, CAnalysisInfo* info);
  // Section 10.
  static bool ReadLeadMeasurements(const RecordSource& source, SLeadMeasurements* measurements);

  // Lead queries on the loaded Section 3.
  int16_t GetLeads();                    // 0 with 232 when not loaded
  int16_t GetLeadId(int32_t index);      // 255 with 84 past the count, 232 not loaded
  // Whether every one of the codes (low byte of each) is present; false with
  // last error 0 as soon as one is absent.
  bool GetLeadSet(int32_t count, const int16_t* codes);
  // Rates, multipliers and sample counts of the loaded sample sections.
  bool GetDetails(SDetails* details);

  // Adds the limb leads III, aVR, aVL and aVF that the record lacks,
  // calculated from I and II, to the definitions, the rhythm and the median
  // data, and then rebuilds the lead errors from the rhythm data.
  bool CalculateLeads();
  // Adds one lead as the weighted sum of `source_count` loaded leads
  // (marker samples in the rhythm data propagate, 2032 first). With
  // `count_simultaneous`, a Section 3 that says all leads were recorded
  // simultaneously counts the new lead among them.
  bool CalculateLead(uint8_t code, uint16_t source_count, const double* coefficients,
                     const uint16_t* sources, bool count_simultaneous);
  // Rebuilds the lead errors from the marker samples of the rhythm data.
  bool CreateLeadErrorCodes();

 protected:
  // Low-level operations on an open record.
  static bool Open(FileHandle& handle, const RecordSource& source, SRecordHeader* header);
  static void Close(FileHandle& handle);
  static bool GetRecordHeader(FileHandle& handle, SRecordHeader* header);
  static bool GetSectionHeader(FileHandle& handle, SSectionHeader* header);
  static bool GetSection0(FileHandle& handle, SSectionIndexes* index);
  static bool GetSection(FileHandle& handle, const SSectionIndexes* index, uint16_t id,
                         SSectionHeader* header);
  static bool GetPosition(FileHandle& handle, uint32_t* position);
  static bool SetPosition(FileHandle& handle, uint32_t position);
  static bool AddPosition(FileHandle& handle, int32_t offset);
  static bool GetCRC(FileHandle& handle, CCRC& crc, uint32_t count, uint32_t position);
  static bool GetChecksum(FileHandle& handle, CCRC& crc, uint32_t count, uint32_t position);
  static bool CheckCRC(FileHandle& handle, bool& valid, const SRecordHeader* header,
                       const SSectionIndexes* index);

  // Section 1: the handle stands just after the section header.
  static bool GetSec1Data(FileHandle& handle, const SSectionHeader& header,
                          uint32_t* tag_positions, uint16_t tag_position_count,
                          CPatientInfo* patient, CRecordInfo* recording,
                          SLeadErrors* lead_errors, CGeneralInfo* general,
                          SUnknownTags* unknown_tags, bool* tags_valid);

  // Section 3, and the sample sections 5 (median beats) and 6 (rhythm),
  // which need the lead definitions. `rhythm` adds the check that every
  // lead holds exactly its Section 3 range.
  static bool GetSec3Data(FileHandle& handle, const SSectionHeader& header,
                          SLeadDefinitions* definitions);
  static bool GetSec5Data(FileHandle& handle, const SSectionHeader& header,
                          const SLeadDefinitions* definitions, SEncodedData* data);
  static bool GetSec6Data(FileHandle& handle, const SSectionHeader& header,
                          const SLeadDefinitions* definitions, SEncodedData* data);
  static bool GetSecEncodedData(FileHandle& handle, const SSectionHeader& header,
                                const SLeadDefinitions* definitions, SEncodedData* data,
                                bool rhythm);
  // Section 3 into a temporary, then Section 6 (`rhythm`) or 5.
  static bool ReadEncodedData(const RecordSource& source, bool rhythm, SEncodedData* data);

  // Section 7 (first measurement block), Section 9 (statement codes; either
  // buffer or count may be null, not both buffers) and Section 10.
  static bool GetSec7Data(FileHandle& handle, const SSectionHeader& header,
                          SGlobalMeasurements* measurements);
  static bool GetSec9Data(FileHandle& handle, const SSectionHeader& header,
                          uint16_t* rhythm_codes, uint16_t rhythm_capacity,
                          uint16_t* rhythm_count, uint16_t* morphology_codes,
                          uint16_t morphology_capacity, uint16_t* morphology_count);
  static bool GetSec9Data_RhythmBuf(FileHandle& handle, const SSectionHeader& header,
                                    uint16_t* codes, uint16_t capacity);
  static bool GetSec9Data_MorphologyBuf(FileHandle& handle, const SSectionHeader& header,
                                        uint16_t* codes, uint16_t capacity);
  static bool GetSec10Data(FileHandle& handle, const SSectionHeader& header,
                           SLeadMeasurements* measurements);

  // Opens a record and reads its Section 0, for the one-shot readers.
  static bool OpenWithIndex(FileHandle& handle, const RecordSource& source,
                            SSectionIndexes* index);

  // Load: replaces the open file by a view of its bytes, read at once into
  // m_fileBuffer (kept for the next load), when the file is not too large.
  void BufferOpenFile();

  FileHandle m_file;
  std::unique_ptr<uint8_t[]> m_fileBuffer;
  uint64_t m_fileBufferSize = 0;
  SRecordHeader m_recordHeader;
  SSectionIndexes m_index;
  CPatientInfo m_patientInfo;
  CRecordInfo m_recordInfo;
  SLeadErrors m_leadErrors;
  CGeneralInfo m_generalInfo;
  CAnalysisInfo m_analysisInfo;
  SUnknownTags m_unknownTags;
  SLeadMeasurements m_leadMeasurements;
  SLeadDefinitions m_leadDefinitions;
  SEncodedData m_medianData;
  SEncodedData m_rhythmData;
  bool m_rhythmPresent = false;
  bool m_medianPresent = false;
  bool m_tagsValid = false;
  uint16_t m_loaded = 0;
};
