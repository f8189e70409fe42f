// Arbitrary bytes as a record exported to XML in memory.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "export/scp_to_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CECGScpToXml exporter(RecordSource::Memory(std::span<const uint8_t>(data, size)));
  std::string document;
  exporter.ExportToString(document);
  return 0;
}
