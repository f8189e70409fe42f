#pragma once
// What Section 1 of a record says: patient, recording, general information,
// per-lead error bits, and the tags this reader does not interpret.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// An owned wide text that may be absent (null) as well as empty.
using WideText = std::optional<std::u16string>;

class CPatientInfo {
 public:
  static constexpr uint32_t kSizeStamp = 40;

  CPatientInfo() = default;
  CPatientInfo(const CPatientInfo& other) { Set(&other); }
  CPatientInfo& operator=(const CPatientInfo& other);
  virtual ~CPatientInfo() { SetDefault(); }

  void SetDefault();
  // Copies every member when both objects have version >= 1; the version is
  // then 1, otherwise 0. Returns whether the copy took place.
  bool Set(const CPatientInfo* other);
  int32_t GetVersion() const { return m_version; }

  uint32_t m_size = kSizeStamp;
  int32_t m_version = 1;
  uint8_t m_sex = 0;            // tag 8 code: 0 unknown, 1 male, 2 female, 9 unspecified
  uint16_t m_birthYear = 0;
  uint16_t m_birthMonth = 0;
  uint16_t m_birthDay = 0;
  uint16_t m_height = 0;        // millimetres
  uint32_t m_weight = 0;        // grams
  WideText m_patientId;
  WideText m_lastName;
  WideText m_firstName;
};

class CRecordInfo {
 public:
  static constexpr uint32_t kSizeStamp = 48;

  CRecordInfo() = default;
  CRecordInfo(const CRecordInfo& other) { Set(&other); }
  CRecordInfo& operator=(const CRecordInfo& other);
  virtual ~CRecordInfo() { SetDefault(); }

  void SetDefault();
  bool Set(const CRecordInfo* other);
  int32_t GetVersion() const { return m_version; }

  uint32_t m_size = kSizeStamp;
  int32_t m_version = 1;
  uint16_t m_year = 0, m_month = 0, m_day = 0;       // tag 25
  uint16_t m_hour = 0, m_minute = 0, m_second = 0;   // tag 26
  uint16_t m_baselineFilter = 0;                      // tag 27, 0.01 Hz
  uint16_t m_lowPassFilter = 0;                       // tag 28, Hz
  uint16_t m_deviceId = 0;                            // tag 14
  WideText m_serialNumber;                            // tag 14
  WideText m_modelDescription;                        // tag 14
  WideText m_analysingProgramRevision;                // tag 14
  uint8_t m_writerFilter = 0;                         // tag 212, converted
  uint8_t m_filterBitMap = 0;                         // tag 29, converted
};

class CGeneralInfo {
 public:
  static constexpr uint32_t kSizeStamp = 88;

  CGeneralInfo() = default;
  CGeneralInfo(const CGeneralInfo& other) { Set(&other); }
  CGeneralInfo& operator=(const CGeneralInfo& other);
  virtual ~CGeneralInfo() { SetDefault(); }

  void SetDefault();
  bool Set(const CGeneralInfo* other);
  int32_t GetVersion() const { return m_version; }

  uint32_t m_size = kSizeStamp;
  int32_t m_version = 1;
  uint16_t m_receivedYear = 0, m_receivedMonth = 0, m_receivedDay = 0;         // tag 203
  uint16_t m_receivedHour = 0, m_receivedMinute = 0, m_receivedSecond = 0;
  uint8_t m_confirmed = 0;               // tag 204
  uint8_t m_interpretationEdited = 0;    // tag 201, first byte
  WideText m_interpretation;             // tag 201, after the first byte
  WideText m_comment;                    // tag 202
  WideText m_confirmingPhysician;        // tag 21
  WideText m_secondPhysician;            // tag 213
  WideText m_thirdPhysician;             // tag 214
  WideText m_recordingLocation;          // tag 215
  WideText m_recordingId;                // tag 205
  WideText m_interpretationVersion;      // tag 217
  WideText m_interpretationApplication;  // tag 216
  WideText m_recordingApplication;       // tag 218
  WideText m_recordingVersion;           // tag 219
  WideText m_creatingApplication;        // tag 210
  WideText m_creatingVersion;            // tag 211
  WideText m_editingApplication;         // tag 208
  WideText m_editingVersion;             // tag 209
};

#pragma pack(push, 1)
struct SLeadError {
  uint8_t m_leadId = 0;       // SCP lead code
  uint16_t m_errorBits = 0;
};
#pragma pack(pop)
static_assert(sizeof(SLeadError) == 3);

// Per-lead error bits as tag 200 stores them. At most 254 entries.
struct SLeadErrors {
  static constexpr uint32_t kMaxEntries = 254;

  std::unique_ptr<SLeadError[]> m_entries;
  uint8_t m_count = 0;

  SLeadErrors() = default;
  SLeadErrors(const SLeadErrors& other) { Set(&other); }
  SLeadErrors& operator=(const SLeadErrors& other) {
    if (this != &other) Set(&other);
    return *this;
  }

  bool Allocate(uint32_t n);   // n entries, zeroed
  bool AddLeads(uint32_t n);   // n more, keeping the others
  bool Set(const SLeadErrors* other);
  void KillData();
  // Entries for III, aVR, aVL and aVF (61-64) that are missing, with the OR
  // of the bits of leads I and II.
  bool AddCalcLeads();
  // The entry of a lead, or null.
  const SLeadError* Find(uint8_t lead_id) const;
};

// Section 1 tags kept as they were read, one value per tag number (a repeated
// tag keeps its last occurrence), so a writer can put them back.
struct SUnknownTags {
  uint16_t m_lengths[256] = {};
  std::unique_ptr<uint8_t[]> m_values[256];

  bool Allocate(uint8_t tag, uint16_t length);
  void KillTag(uint8_t tag);
  void KillData();
};
