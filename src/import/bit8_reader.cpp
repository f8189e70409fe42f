#include "import/bit8_reader.h"

#include "import/single_lead_file.h"

using namespace ecg::import;

SLeadObj* C8BitReader::ReadEvent(const char* file, SECGInfo* info, bool offset, double resolution,
                                  double rate) {
  return ReadSingleLeadFile(file, kFormat8Bit, offset, resolution, rate, m_event, info);
}

SLeadObj* C8BitMemReader::ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, bool offset,
                                     double resolution, double rate) {
  return ReadSingleLeadMemory(data, size, kFormat8Bit, offset, resolution, rate, m_event, info);
}
