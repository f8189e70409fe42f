#pragma once
// CWriter: writes SCP-ECG records from the in-memory model, and changes
// single facts of stored records in place.
//
// Sections 1, 3, 5 and 6 are built from the model; every other section is
// copied byte for byte from the source record; Section 0 and the record CRC
// are made last. A record is always written whole in memory first and then
// replaces the file atomically (a neighbouring temporary file, synced and
// renamed over it), so a failure at any step leaves the old record as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "scp/reader.h"

struct SECGInfo;
struct SLeadObj;

// Received date-time for UpdateReceived (tag 203).
struct SDateTime {
  uint16_t m_year = 0;
  uint16_t m_month = 0;
  uint16_t m_day = 0;
  uint16_t m_hour = 0;
  uint16_t m_minute = 0;
  uint16_t m_second = 0;
};

// Writer filter byte bits (tag 212).
enum : uint8_t {
  kWriterFilter60Hz = 0x01,
  kWriterFilter50Hz = 0x02,
  kWriterFilterMuscle = 0x04,
  kWriterFilterBaseline = 0x08,
};

class CWriter : public CReader {
 public:
  static constexpr uint32_t kMaxStoredSections = 255;  // the table never reaches this
  static constexpr size_t kEventFileNameSize = 260;

  CWriter() = default;
  ~CWriter() override;

  // "{XXXXXXXX-XXXX-4xxx-XXXX-XXXXXXXXXXXX}" of a new random GUID.
  static std::string GenerateGuid();
  // The application named as creator (new records) or last editor (updates).
  void SelectWriter(const std::u16string& application, const std::u16string& version);
  // Writes a record holding Section 0 only (142 bytes).
  bool CreateEmpty(const char* path);
  // The n-th numbered output name from a base path: "dir/name.scp" ->
  // "dir/name.a.scp", ".z", ".ab", ".bb", ... (at most 259 characters).
  static void CreateEventFileName(char* out, const char* base, int16_t n);

  // Records from device event files (8-bit, 16-bit, packed 12-lead, from a
  // file or from memory) and from handheld recorder files (one record per
  // event; several events get numbered names, see CreateEventFileName).
  // Each refuses to start while a file is open (12) and needs both paths or
  // the data (87). The record holds Sections 0, 1, 3 and 6.
  bool CreateFrom8bitFile(const char* scp_path, const char* event_path,
                          const CPatientInfo* patient, bool offset, double resolution,
                          double rate);
  bool CreateFrom16bitFile(const char* scp_path, const char* event_path,
                           const CPatientInfo* patient, bool offset, double resolution,
                           double rate);
  bool CreateFrom8bitMem(const char* scp_path, const uint8_t* data, size_t size,
                         const CPatientInfo* patient, bool offset, double resolution,
                         double rate);
  bool CreateFrom16bitMem(const char* scp_path, const uint8_t* data, size_t size,
                          const CPatientInfo* patient, bool offset, double resolution,
                          double rate);
  bool CreateFromRaw12L(const char* scp_path, const char* event_path,
                        const CPatientInfo* patient, double resolution, double rate,
                        int16_t leads);
  bool CreateFromRaw12LMem(const char* scp_path, const uint8_t* data, size_t size,
                           const CPatientInfo* patient, double resolution, double rate,
                           int16_t leads);
  bool CreateFromPelluxFile(const char* scp_path, const char* recorder_path,
                            const CPatientInfo* patient);

  // In-place updates. Each rewrites the record under its own name.
  bool UpdateFile(const char* path, const CPatientInfo* patient, const CRecordInfo* recording);
  bool UpdateInterpretationText(const char* path, const std::u16string& text);
  bool UpdateCommentText(const char* path, const std::u16string& text);
  bool UpdateRecordingId(const char* path, const std::u16string& text);
  bool UpdateRecordingLocation(const char* path, const std::u16string& text);
  bool UpdateInterpretationApp(const char* path, const std::u16string& text);
  bool UpdateInterpretationVer(const char* path, const std::u16string& text);
  bool UpdateRecordingApp(const char* path, const std::u16string& text);
  bool UpdateRecordingVer(const char* path, const std::u16string& text);
  bool UpdateReceived(const char* path, const SDateTime* received);
  bool UpdateInterpretationConfirmed(const char* path, int16_t confirmed);
  bool UpdatePhysicianName(const char* path, int16_t kind, const std::u16string& name);
  bool UpdateMuscleFilter(const char* path, int16_t on);
  bool UpdateBaselineFilter(const char* path, int16_t on);
  bool UpdatePowerFilter(const char* path, int16_t frequency);
  bool UpdateLeadErrors(const char* path);
  bool UpdateCalculatedLeads(const char* path);
  bool UpdateCRC(const char* path);

  // Whether written records are synced to the disk before and after they
  // replace the old file (on by default).
  void SetDurableWrites(bool durable) { m_durableWrites = durable; }

  const SScpRecord& GetStoredSections() const { return m_stored; }

 protected:
  using CReader::Close;

  bool OpenRd(const char* path, bool for_writing);
  bool OpenWr(const char* path);
  void Close();

  bool CreateSec1();
  bool CreateSec3_6(bool rhythm_only);
  bool CreateSec5();
  bool StoreSectionHeader(uint16_t index);
  bool StoreSection(uint16_t id);
  bool UnstoreSection(uint16_t id);
  bool CreateSec0();
  bool WriteSections(const char* path);
  // Fills the model from a device event: recording facts, lead definitions
  // and rhythm data.
  bool Set(const SECGInfo& info, const SLeadObj* leads);

  // Appends a finished section buffer (header included) to the table.
  bool AppendSection(uint16_t id, std::unique_ptr<uint8_t[]> buffer, uint32_t length);
  // Empties the stored-section table (Section 0's entry stays reserved).
  void EmptyStoredSections();
  // Appends a section built in memory (header space included) and fills its
  // header; on failure the table is as it was.
  bool StoreBuiltSection(uint16_t id, std::vector<uint8_t>& bytes);
  // The tag 14 value.
  bool DeviceBlock(std::vector<uint8_t>& block) const;

  bool m_medianReady = false;
  bool m_rhythmReady = false;
  SScpRecord m_stored;
  bool m_updateMode = false;
  std::u16string m_writerApplication;
  std::u16string m_writerVersion;
  bool m_hasWriter = false;
  bool m_durableWrites = true;

  // Opens a record with the model dropped and its Section 0 read (the file
  // stays open).
  bool OpenWithEmptyModel(const char* path);
  // Steps shared by the updates (and by the analysis, which derives from
  // this writer): OpenWithEmptyModel, then Section 1 into the model.
  bool BeginUpdate(const char* path);
  // Capacity in the stored-section table for the index's extra entries.
  bool ReserveForIndex();
  // Copies every listed section except those in `skip` (bit per id < 16).
  bool StoreListedSections(uint32_t skip_bits);
  // Reads one more section (3, 5 or 6) of the open record into the model;
  // an absent section fails with 232 when `required`, else succeeds.
  bool ReadModelSection(uint16_t id, bool required, bool* present);

 private:
  // The shared sequence of the updates that rebuild Section 1 only:
  // `change` edits the model after Section 1 was read.
  template <typename Change>
  bool UpdateSection1(const char* path, Change change);
  // The shared steps of the create-from operations: `read` fills the model
  // through Set; the record is then built and written to `path`.
  template <typename ReadEvent>
  bool CreateFromEvent(const char* path, const CPatientInfo* patient, ReadEvent read);
  // Builds and writes a record from the model that Set filled.
  bool WriteEventRecord(const char* path, const CPatientInfo* patient,
                        const ecg::platform::SystemTime& received);
};
