#pragma once
// What `ecg info` and `ecg check` say about one record, as text or JSON.

#include <cstdint>
#include <string>

#include "scp/reader.h"

namespace ecg::app {

struct RecordReport {
  std::string path;
  bool readable = false;
  uint32_t error = 0;          // last-error code when not readable
  uint64_t file_size = 0;
  CReader::SCrcReport crc;
  bool crc_checked = false;
  int16_t loaded = 0;
  CReader reader;

  // True when the record CRC and every checked section CRC are right.
  bool AllCrcsValid() const;
};

// Reads everything the record layer can read from `path` into `report`.
void BuildRecordReport(const std::string& path, RecordReport& report);

std::string FormatText(RecordReport& report);
std::string FormatJson(RecordReport& report);

// "code 13 (invalid data)"
std::string DescribeError(uint32_t code);

}  // namespace ecg::app
