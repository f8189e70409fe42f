#pragma once
// CReader: an SCP-ECG record in memory and the code that reads it.
//
// Every operation reports success as a bool and the reason through the
// thread's last-error code (platform/last_error.h); none throws. Every
// length, count and position taken from a file is checked before use.

#include <cstdint>
#include <vector>

#include "scp/container.h"
#include "scp/crc.h"
#include "scp/lead_model.h"
#include "scp/measurement_model.h"
#include "scp/record_source.h"
#include "scp/section1_model.h"

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
  const SRecordHeader& GetRecordHeader() const { return m_recordHeader; }
  const SSectionIndexes& GetSectionIndexes() const { return m_index; }
  const SUnknownTags& GetUnknownTags() const { return m_unknownTags; }

  // One-shot readers: open, read the sections needed into the caller's
  // objects, close.
  static bool ReadPatientAndRecordInfo(const RecordSource& source, CPatientInfo* patient,
                                       CRecordInfo* recording);
  static bool ReadGeneralInfo(const RecordSource& source, CGeneralInfo* general);

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

  // Opens a record and reads its Section 0, for the one-shot readers.
  static bool OpenWithIndex(FileHandle& handle, const RecordSource& source,
                            SSectionIndexes* index);

  FileHandle m_file;
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
