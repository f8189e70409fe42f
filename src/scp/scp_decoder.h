#pragma once
// Decodes SCP-ECG records of any writer (versions 1.x, 2.x, 3.0) into
// rhythm and median samples in microvolts: Section 2 Huffman tables, first
// and second differences, reference-beat subtraction with Section 4,
// bimodal compression, and multipliers that are not whole microvolts; plus
// the full-text (Section 8) and coded (Section 11) statements.
//
// This works beside CReader, which reads this system's own uncompressed
// records into its model. The decoder works on the record's bytes in memory,
// reports through its own result (never throws) and bounds every allocation
// by what the bytes can hold.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ecg::scp {

enum class DecodeStatus {
  kOk = 0,
  kTooShort,          // fewer bytes than a record header and Section 0
  kTooLarge,          // a file or a decoded signal past the decoder's limits
  kLengthMismatch,    // the record length disagrees with the bytes present
  kBadSection0,       // Section 0 is not where it must be or is malformed
  kBadPointer,        // an index entry points outside the record
  kHeaderMismatch,    // a section header disagrees with its index entry
  kNoLeads,           // Section 3 absent or holding no lead
  kBadSection3,
  kBadHuffmanTables,  // Section 2
  kBadSampleSection,  // Section 5 or 6 cut off or inconsistent
  kBadCode,           // a bit pattern that no Huffman code matches
  kBadReferenceBeat,  // Section 4 inconsistent with what it must describe
  kBadBimodal,        // bimodal compression that cannot be undone
  kUnreadableFile,
};

// "structurally broken: ..." style short English name of a status.
const char* DecodeStatusName(DecodeStatus status);

// One signal: rhythm (Section 6, with Section 5 added back where it was
// subtracted) or the median beats (Section 5).
struct DecodedSignal {
  bool present = false;
  uint32_t sampleInterval = 0;         // µs between output samples
  uint16_t amplitudeMultiplier = 0;    // nV per stored unit, as stored
  uint16_t storedInterval = 0;         // µs, as stored (bimodal: the decimated rate)
  uint8_t differenceCoding = 0;        // 0 none, 1 first, 2 second differences
  bool huffman = false;                // Section 2 present
  std::vector<std::vector<float>> leads;  // µV, in Section 3 lead order
  std::vector<bool> truncated;            // per lead: fewer samples than announced

  // Output sampling rate in Hz (0 when the interval is unknown).
  double SampleRate() const { return sampleInterval ? 1e6 / sampleInterval : 0.0; }
  size_t MaxSamples() const;
};

struct DecodedLead {
  uint8_t id = 0;
  uint32_t startSample = 0;  // as stored (1-based; some writers write 0)
  uint32_t endSample = 0;
};

struct QrsLocation {
  uint16_t type = 0;
  uint32_t subtractionStart = 0;  // SB, 1-based full-rate sample
  uint32_t fiducial = 0;          // fc
  uint32_t subtractionEnd = 0;    // SE
  uint32_t protectedStart = 0;    // QB
  uint32_t protectedEnd = 0;      // QE
};

struct Statement {
  uint8_t sequence = 0;
  uint8_t type = 0;      // Section 11 only: 1 codes, others text
  std::string text;      // UTF-8
};

// Section 8 (full text) or Section 11 (statement codes).
struct StatementSection {
  bool present = false;
  uint8_t confirmation = 0;  // 0 original, 1 confirmed, 2 overread
  uint16_t year = 0;
  uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::vector<Statement> statements;
};

struct DecodedRecord {
  uint8_t protocolVersion = 0;   // x10: 13 = 1.3, 20 = 2.0, 30 = 3.0
  uint8_t languageCode = 0;      // Section 1 tag 14 byte 16
  uint8_t leadFlags = 0;         // Section 3 flags
  std::vector<DecodedLead> leads;
  std::vector<uint16_t> sectionIds;  // sections present, in index order

  // Encodings in use.
  bool huffman = false;
  bool huffmanDefaultTable = false;
  uint16_t huffmanTableCount = 0;
  bool referenceBeatSubtraction = false;  // applied
  bool bimodal = false;                   // applied
  uint32_t bimodalFactor = 0;
  // Version 3: the rhythm came from Section 12 (long-term rhythm data).
  bool longTermRhythm = false;
  uint8_t longTermBytesPerSample = 0;

  // Section 4.
  uint16_t referenceBeatLengthMs = 0;
  uint16_t referenceFiducial = 0;  // fcM, 1-based
  std::vector<QrsLocation> qrs;

  DecodedSignal rhythm;
  DecodedSignal median;
  StatementSection fullText;        // Section 8
  StatementSection statementCodes;  // Section 11

  // "Huffman (default table), second differences, reference beat subtraction, ..."
  std::string EncodingSummary() const;
  // True when Sections 5 and 6 are stored as plain 16-bit values, without
  // difference coding, subtraction or decimation.
  bool Uncompressed() const;
};

struct DecodeReport {
  DecodeStatus status = DecodeStatus::kOk;
  std::string message;                // why the record was refused
  bool crcValid = true;               // record and every section CRC
  std::vector<std::string> warnings;  // a record that is still shown
};

// Limits: a record of at most kMaxRecordBytes, signals of at most
// kMaxSamplesPerLead per lead and kMaxTotalSamples in all.
constexpr size_t kMaxRecordBytes = 64u << 20;
constexpr size_t kMaxSamplesPerLead = 1u << 21;
constexpr size_t kMaxTotalSamples = 1u << 24;

// Decodes a whole record. False when the record is refused (report.status
// and report.message say why); `record` is then partly filled at most.
bool DecodeScpRecord(std::span<const uint8_t> bytes, DecodedRecord& record, DecodeReport& report);
// Reads the file (at most kMaxRecordBytes) and decodes it.
bool DecodeScpFile(const std::string& path, DecodedRecord& record, DecodeReport& report);

}  // namespace ecg::scp
