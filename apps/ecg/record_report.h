#pragma once
// What `ecg info` and `ecg check` say about one record, as text or JSON.

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "scp/reader.h"
#include "scp/scp_decoder.h"

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
  // With --derive: whether CalculateLeads ran and how it ended.
  bool derive_requested = false;
  bool derive_ok = false;
  uint32_t derive_error = 0;
  // The decoder's view: encodings, decoded samples, statements (Sections 8
  // and 11), or why it refuses the record.
  bool decoded = false;
  scp::DecodedRecord decoded_record;
  scp::DecodeReport decode_report;

  // True when the record CRC and every checked section CRC are right.
  bool AllCrcsValid() const;
};

// Reads everything the record layer can read from `path` into `report`;
// with `derive`, then calculates the missing limb leads as CalculateLeads
// does, so the report shows the record as it leaves that step.
void BuildRecordReport(const std::string& path, RecordReport& report, bool derive = false);

std::string FormatText(RecordReport& report);
std::string FormatJson(RecordReport& report);

class JsonWriter;
// The parts about leads, samples and measurements (record_report_leads.cpp).
void AppendSignalText(RecordReport& report, std::ostringstream& out);
void WriteSignalJson(RecordReport& report, JsonWriter& json);

// The decoder's parts (record_report_decoded.cpp).
void DecodeForReport(const std::string& path, RecordReport& report);
void AppendDecodedText(const RecordReport& report, std::ostringstream& out);
void WriteDecodedJson(const RecordReport& report, JsonWriter& json);

// "code 13 (invalid data)"
std::string DescribeError(uint32_t code);

// The span in ms between two marks of Section 7 (P onset to P end, P onset
// to QRS onset, ...), or nothing where either mark carries a missing-value
// code: a record without a P wave has no P duration or PR interval.
std::optional<int32_t> MarkSpan(uint16_t from, uint16_t to);
// The same as "N ms", or "-".
std::string MarkSpanText(uint16_t from, uint16_t to);

}  // namespace ecg::app
