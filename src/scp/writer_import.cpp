// Records from device events: the model filled from an event (Set), and the
// create-from operations for device event files and handheld recorder files.

#include <cstdio>
#include <cstring>

#include "import/bit16_reader.h"
#include "import/bit8_reader.h"
#include "import/device_event.h"
#include "import/pellux_reader.h"
#include "import/raw12l_reader.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/writer.h"

using namespace ecg::platform;

namespace {

// "HW 1.2, SW 3.4", "HW 1.2", "SW 3.4" or "" from versions in tenths.
std::string VersionText(uint8_t hardware, uint8_t software) {
  char text[32] = {};
  if (hardware != 0 && software != 0) {
    std::snprintf(text, sizeof text, "HW %.1f, SW %.1f", hardware / 10.0, software / 10.0);
  } else if (hardware != 0) {
    std::snprintf(text, sizeof text, "HW %.1f", hardware / 10.0);
  } else if (software != 0) {
    std::snprintf(text, sizeof text, "SW %.1f", software / 10.0);
  }
  return text;
}

// The device's text as the record's own code page reads it, so the bytes
// go back into Section 1 as they came; bytes that code page cannot read are
// taken as UTF-8, with replacement characters where even that fails.
std::u16string DeviceText(const char (&text)[SECGInfo::kDeviceTextSize]) {
  const std::string_view bytes(text, strnlen(text, sizeof text));
  std::u16string wide;
  if (!AnsiToWide(bytes, wide)) wide = Utf8ToWideLossy(bytes);
  return wide;
}

// Writer filter byte from the event's filter nibble: 50 Hz wins over 60 Hz,
// muscle and baseline are copied.
uint8_t WriterFilterBits(uint8_t nibble) {
  uint8_t out = 0;
  if (nibble & kEventFilter50Hz) {
    out = kWriterFilter50Hz;
  } else if (nibble & kEventFilter60Hz) {
    out = kWriterFilter60Hz;
  }
  if (nibble & kEventFilterMuscle) out |= kWriterFilterMuscle;
  if (nibble & kEventFilterBaseline) out |= kWriterFilterBaseline;
  return out;
}

const char16_t* ModelDescription(uint8_t device_type) {
  switch (device_type) {
    case 0: return u"ZR   ";
    case 1: return u"QN   ";
    case 2: return u"TXH  ";
    case 3: return u"WJ   ";
    default: return u"UKV  ";
  }
}

// SCP lead code of a standard lead position; 0 for the unspecified lead and
// for anything else.
uint8_t LeadCodeFromIndex(uint8_t index) {
  static constexpr uint8_t kCodes[12] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  return index < 12 ? kCodes[index] : 0;
}

}  // namespace

bool CWriter::Set(const SECGInfo& info, const SLeadObj* leads) {
  if (leads == nullptr) return Fail(kErrorInvalidParameter);
  m_recordInfo.SetDefault();
  m_leadDefinitions.KillData();
  m_rhythmData.KillData();
  m_loaded &= static_cast<uint16_t>(~(kSection3Bit | kSection6Bit));
  m_rhythmReady = m_rhythmPresent = false;

  // The leads a reader filled; each must hold the event's samples per lead.
  const uint32_t lead_count = leads->m_leads ? std::min(leads->m_filled, leads->m_count) : 0;
  const uint32_t samples = info.m_samplesPerLead;
  if (lead_count == 0 || samples == 0) return Fail(kErrorNoData);
  for (uint32_t i = 0; i < lead_count; ++i) {
    const SLeadData& lead = leads->m_leads[i];
    if (!lead.m_samples || lead.m_sampleCount < samples) return Fail(kErrorInvalidData);
  }

  CRecordInfo& r = m_recordInfo;
  const std::string revision = VersionText(info.m_hardwareVersion, info.m_softwareVersion);
  if (!revision.empty())
    r.m_analysingProgramRevision = std::u16string(revision.begin(), revision.end());
  const std::u16string serial = DeviceText(info.m_deviceText);
  if (!serial.empty()) r.m_serialNumber = serial;
  r.m_writerFilter = WriterFilterBits(info.m_filters & 0x0F);
  r.m_filterBitMap = WriterFilterBits(static_cast<uint8_t>(info.m_filters >> kEventFilterMapShift));
  r.m_modelDescription = ModelDescription(info.DeviceType());
  r.m_year = info.m_year;
  r.m_month = info.m_month;
  r.m_day = info.m_day;
  r.m_hour = info.m_hour;
  r.m_minute = info.m_minute;
  r.m_second = info.m_second;

  if (!m_leadDefinitions.Allocate(lead_count)) return false;
  uint8_t flags = static_cast<uint8_t>(m_leadDefinitions.m_flags & 0x03);
  if (info.LeadConfiguration() == kLeadConfigSimultaneous) {
    flags = static_cast<uint8_t>(flags | kLeadFlagAllSimultaneous | ((lead_count & 0x1F) << 3));
  }
  m_leadDefinitions.m_flags = flags;
  for (uint32_t i = 0; i < lead_count; ++i) {
    const SLeadData& lead = leads->m_leads[i];
    SLeadDef& definition = m_leadDefinitions.m_leads[i];
    definition.m_leadId =
        lead.m_scpLeadId < 255 ? lead.m_scpLeadId : LeadCodeFromIndex(lead.m_leadIndex);
    definition.m_startSample = 1;
    definition.m_endSample = samples;
  }

  if (!m_rhythmData.Allocate(lead_count)) {
    m_leadDefinitions.KillData();
    return false;
  }
  m_rhythmData.m_amplitudeMultiplier = info.m_amplitudeResolution;
  m_rhythmData.m_sampleInterval = info.m_sampleInterval;
  m_rhythmData.m_differenceUsed = 0;
  m_rhythmData.m_bimodal = 0;
  for (uint32_t i = 0; i < lead_count; ++i) {
    if (!m_rhythmData.AllocateLead(i, samples)) {
      LastErrorKeeper keep;
      m_rhythmData.KillData();
      m_leadDefinitions.KillData();
      return false;
    }
    std::memcpy(m_rhythmData.m_samples[i].get(), leads->m_leads[i].m_samples.get(),
                samples * sizeof(int16_t));
  }
  m_loaded |= kSection1Bit | kSection3Bit | kSection6Bit;
  m_rhythmReady = m_rhythmPresent = true;
  return true;
}

bool CWriter::WriteEventRecord(const char* path, const CPatientInfo* patient,
                               const SystemTime& received) {
  if (patient != nullptr) {
    m_patientInfo.Set(patient);
    m_patientInfo.m_version = 1;  // stays writable whatever version the caller's had
  }
  CGeneralInfo& g = m_generalInfo;
  g.SetDefault();
  g.m_receivedYear = received.year;
  g.m_receivedMonth = received.month;
  g.m_receivedDay = received.day;
  g.m_receivedHour = received.hour;
  g.m_receivedMinute = received.minute;
  g.m_receivedSecond = received.second;
  EmptyStoredSections();
  if (!CreateLeadErrorCodes()) return false;
  m_updateMode = false;
  return CreateSec1() && CreateSec3_6(true) && WriteSections(path);
}

template <typename ReadEvent>
bool CWriter::CreateFromEvent(const char* path, const CPatientInfo* patient, ReadEvent read) {
  if (m_file) return Fail(kErrorInvalidAccess);
  Close();
  const SystemTime now = LocalTimeNow();
  bool ok = read() && WriteEventRecord(path, patient, now);
  LastErrorKeeper keep;
  Close();
  return ok;
}

bool CWriter::CreateFrom8bitFile(const char* scp_path, const char* event_path,
                                 const CPatientInfo* patient, bool offset, double resolution,
                                 double rate) {
  if (scp_path == nullptr || event_path == nullptr) return Fail(kErrorInvalidParameter);
  return CreateFromEvent(scp_path, patient, [&] {
    C8BitReader reader;
    SECGInfo info;
    const SLeadObj* leads = reader.ReadEvent(event_path, &info, offset, resolution, rate);
    return leads != nullptr && Set(info, leads);
  });
}

bool CWriter::CreateFrom16bitFile(const char* scp_path, const char* event_path,
                                  const CPatientInfo* patient, bool offset, double resolution,
                                  double rate) {
  if (scp_path == nullptr || event_path == nullptr) return Fail(kErrorInvalidParameter);
  return CreateFromEvent(scp_path, patient, [&] {
    C16BitReader reader;
    SECGInfo info;
    const SLeadObj* leads = reader.ReadEvent(event_path, &info, offset, resolution, rate);
    return leads != nullptr && Set(info, leads);
  });
}

bool CWriter::CreateFrom8bitMem(const char* scp_path, const uint8_t* data, size_t size,
                                const CPatientInfo* patient, bool offset, double resolution,
                                double rate) {
  if (scp_path == nullptr || data == nullptr || size == 0) return Fail(kErrorInvalidParameter);
  return CreateFromEvent(scp_path, patient, [&] {
    C8BitMemReader reader;
    SECGInfo info;
    const SLeadObj* leads = reader.ReadEvent(data, size, &info, offset, resolution, rate);
    return leads != nullptr && Set(info, leads);
  });
}

bool CWriter::CreateFrom16bitMem(const char* scp_path, const uint8_t* data, size_t size,
                                 const CPatientInfo* patient, bool offset, double resolution,
                                 double rate) {
  if (scp_path == nullptr || data == nullptr || size == 0) return Fail(kErrorInvalidParameter);
  return CreateFromEvent(scp_path, patient, [&] {
    C16BitMemReader reader;
    SECGInfo info;
    const SLeadObj* leads = reader.ReadEvent(data, size, &info, offset, resolution, rate);
    return leads != nullptr && Set(info, leads);
  });
}

bool CWriter::CreateFromRaw12L(const char* scp_path, const char* event_path,
                               const CPatientInfo* patient, double resolution, double rate,
                               int16_t leads) {
  if (scp_path == nullptr || event_path == nullptr) return Fail(kErrorInvalidParameter);
  return CreateFromEvent(scp_path, patient, [&] {
    C12LReader reader;
    SECGInfo info;
    const SLeadObj* obj = reader.ReadEvent(event_path, &info, leads, rate, resolution);
    return obj != nullptr && Set(info, obj);
  });
}

bool CWriter::CreateFromRaw12LMem(const char* scp_path, const uint8_t* data, size_t size,
                                  const CPatientInfo* patient, double resolution, double rate,
                                  int16_t leads) {
  if (scp_path == nullptr || data == nullptr || size == 0) return Fail(kErrorInvalidParameter);
  return CreateFromEvent(scp_path, patient, [&] {
    C12LMemReader reader;
    SECGInfo info;
    const SLeadObj* obj = reader.ReadEvent(data, size, &info, leads, rate, resolution);
    return obj != nullptr && Set(info, obj);
  });
}

bool CWriter::CreateFromPelluxFile(const char* scp_path, const char* recorder_path,
                                   const CPatientInfo* patient) {
  if (scp_path == nullptr || recorder_path == nullptr) return Fail(kErrorInvalidParameter);
  if (m_file) return Fail(kErrorInvalidAccess);
  const SystemTime now = LocalTimeNow();
  CPelluxReader reader;
  int16_t events = 0;
  if (!reader.ReadFile(recorder_path, &events)) {
    LastErrorKeeper keep;
    Close();
    return false;
  }
  for (int16_t n = 0; n < events; ++n) {
    char numbered[kEventFileNameSize] = {};
    const char* path = scp_path;
    if (events > 1) {
      CreateEventFileName(numbered, scp_path, n);
      path = numbered;
    }
    Close();
    SECGInfo info;
    const SLeadObj* leads = reader.GetEvent(n, &info);
    const bool ok = leads != nullptr && Set(info, leads) && WriteEventRecord(path, patient, now);
    LastErrorKeeper keep;
    Close();
    if (!ok) return false;  // records already written stay
  }
  return true;
}
