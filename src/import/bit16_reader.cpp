#include "import/bit16_reader.h"

#include "import/single_lead_file.h"

using namespace ecg::import;

SLeadObj* C16BitReader::ReadEvent(const char* file, SECGInfo* info, bool offset, double resolution,
                                  double rate) {
  return ReadSingleLeadFile(file, kFormat16Bit, offset, resolution, rate, m_event, info);
}

SLeadObj* C16BitMemReader::ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, bool offset,
                                     double resolution, double rate) {
  return ReadSingleLeadMemory(data, size, kFormat16Bit, offset, resolution, rate, m_event, info);
}
