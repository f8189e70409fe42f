// Whole-record loading, section resets and the accessors of CReader.

#include <new>
#include <span>

#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "scp/reader.h"

using namespace ecg::platform;

namespace {

// The order in which Load reads sections: lead definitions before the
// sample sections that need them, rhythm before median data.
constexpr uint16_t kLoadOrder[] = {1, 3, 6, 5, 7, 9, 10};

// Files up to this size are read whole before the sections are decoded.
constexpr uint64_t kMaxBufferedFile = uint64_t{32} << 20;

}  // namespace

void CReader::BufferOpenFile() {
  // Only files: a memory source is read in place already.
  if (dynamic_cast<PosixFile*>(m_file.get()) == nullptr) return;
  LastErrorKeeper keep;
  uint64_t size = 0;
  if (!m_file->Size(&size) || size == 0 || size > kMaxBufferedFile) return;
  if (size > m_fileBufferSize) {
    // Not value-initialised: every byte is read over at once.
    m_fileBuffer.reset(new (std::nothrow) uint8_t[size]);
    m_fileBufferSize = m_fileBuffer ? size : 0;
    if (!m_fileBuffer) return;
  }
  size_t got = 0;
  if (!m_file->ReadAt(0, m_fileBuffer.get(), size, &got) || got != size) return;
  auto memory = MemoryStream::View(std::span<const uint8_t>(m_fileBuffer.get(), size));
  if (!memory || !memory->Seek(m_file->Tell())) return;
  // A handle opened for reading has nothing to flush: it is simply closed.
  m_file = std::move(memory);
}

bool CReader::Load(const RecordSource& source, int16_t& loaded, int16_t wanted) {
  loaded = 0;
  if (source.IsNull() || wanted == 0) return Fail(kErrorInvalidParameter);
  Unload();
  if (!Open(m_file, source, &m_recordHeader)) return false;
  // One read instead of one per field; the file is closed from here on.
  BufferOpenFile();
  if (!GetSection0(m_file, &m_index)) {
    LastErrorKeeper keep;
    Unload();
    return false;
  }
  m_loaded = kSection0Bit;
  if (m_index.m_count > kMaxIndexEntries) {
    Unload();
    return Fail(kErrorOutOfStructures);
  }
  if (m_index.m_count == 0 || m_index.m_entries[0].m_id != 0) {
    Unload();
    return Fail(kErrorInvalidData);
  }

  const auto wanted_bits = static_cast<uint16_t>(wanted);
  for (uint16_t id : kLoadOrder) {
    const auto bit = static_cast<uint16_t>(1u << id);
    if ((wanted_bits & bit) == 0 || (m_loaded & bit) != 0) continue;
    SSectionHeader header;
    bool ok = GetSection(m_file, &m_index, id, &header);
    if (ok) {
      switch (id) {
        case 1:
          ok = GetSec1Data(m_file, header, nullptr, 0, &m_patientInfo, &m_recordInfo,
                           &m_leadErrors, &m_generalInfo, &m_unknownTags, &m_tagsValid);
          break;
        case 3:
          ok = GetSec3Data(m_file, header, &m_leadDefinitions);
          break;
        case 6:
          ok = GetSec6Data(m_file, header, &m_leadDefinitions, &m_rhythmData);
          break;
        case 5:
          ok = GetSec5Data(m_file, header, &m_leadDefinitions, &m_medianData);
          break;
        case 7:
          ok = GetSec7Data(m_file, header, &m_analysisInfo.m_global);
          break;
        case 9:
          ok = GetSec9Data(m_file, header, m_analysisInfo.m_rhythmCodes,
                           CAnalysisInfo::kMaxRhythmCodes, &m_analysisInfo.m_rhythmCount,
                           m_analysisInfo.m_morphologyCodes, CAnalysisInfo::kMaxMorphologyCodes,
                           &m_analysisInfo.m_morphologyCount);
          break;
        case 10:
          ok = GetSec10Data(m_file, header, &m_leadMeasurements);
          break;
        default:
          ok = Fail(kErrorNoData);
          break;
      }
    }
    if (ok) {
      m_loaded |= bit;
      if (id == 6) m_rhythmPresent = true;
      if (id == 5) m_medianPresent = true;
    } else {
      KillSection(bit);
    }
  }

  loaded = static_cast<int16_t>(m_loaded);
  Close(m_file);
  SetLastError(kErrorSuccess);
  return true;
}

void CReader::Unload() {
  Close(m_file);
  KillSection(0xFFFF);
  m_loaded = 0;
  m_tagsValid = false;
}

void CReader::KillSection(uint16_t bits) {
  LastErrorKeeper keep;
  if (bits & kSection0Bit) m_index.KillData();
  if (bits & kSection1Bit) {
    m_recordInfo.SetDefault();
    m_patientInfo.SetDefault();
    m_generalInfo.SetDefault();
    m_leadErrors.KillData();
    m_tagsValid = false;
  }
  if (bits & kSection3Bit) m_leadDefinitions.KillData();
  if (bits & kSection5Bit) {
    m_medianData.KillData();
    m_medianPresent = false;
  }
  if (bits & kSection6Bit) {
    m_rhythmData.KillData();
    m_rhythmPresent = false;
  }
  if (bits & kSection7Bit) m_analysisInfo.m_global.KillData();
  if (bits & kSection9Bit) {
    m_analysisInfo.m_morphologyCount = 0;
    m_analysisInfo.m_rhythmCount = 0;
  }
  if (bits & kSection10Bit) m_leadMeasurements.KillData();
  m_loaded = static_cast<uint16_t>(m_loaded & ~bits);
}

bool CReader::ReadCRCCheck(const RecordSource& source, bool& valid) {
  valid = false;
  FileHandle handle;
  SRecordHeader header;
  SSectionIndexes index;
  if (!Open(handle, source, &header)) return false;
  bool ok = GetSection0(handle, &index) && CheckCRC(handle, valid, &header, &index);
  Close(handle);
  return ok;
}

bool CReader::GetTagValidation() const { return (m_loaded & kSection1Bit) ? m_tagsValid : false; }

namespace {
template <typename T>
T* IfLoaded(uint16_t loaded, uint16_t bit, T* member) {
  if ((loaded & bit) == 0) {
    SetLastError(kErrorNoData);
    return nullptr;
  }
  return member;
}
}  // namespace

CPatientInfo* CReader::GetPatientInfoPtr() { return IfLoaded(m_loaded, kSection1Bit, &m_patientInfo); }
CRecordInfo* CReader::GetRecordingInfoPtr() { return IfLoaded(m_loaded, kSection1Bit, &m_recordInfo); }
CGeneralInfo* CReader::GetGeneralInfoPtr() { return IfLoaded(m_loaded, kSection1Bit, &m_generalInfo); }
SLeadErrors* CReader::GetLeadErrorsPtr() { return IfLoaded(m_loaded, kSection1Bit, &m_leadErrors); }
SLeadDefinitions* CReader::GetLeadDefinitionsPtr() {
  return IfLoaded(m_loaded, kSection3Bit, &m_leadDefinitions);
}
SEncodedData* CReader::GetMedianDataPtr() { return IfLoaded(m_loaded, kSection5Bit, &m_medianData); }
SEncodedData* CReader::GetRhythmDataPtr() { return IfLoaded(m_loaded, kSection6Bit, &m_rhythmData); }
CAnalysisInfo* CReader::GetAnalysisInfoPtr() {
  return IfLoaded(m_loaded, kSection7Bit, &m_analysisInfo);
}
SLeadMeasurements* CReader::GetLeadMeasurementsPtr() {
  return IfLoaded(m_loaded, kSection10Bit, &m_leadMeasurements);
}
