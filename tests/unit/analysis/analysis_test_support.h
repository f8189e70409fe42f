#pragma once
// What the analysis tests share: an environment that points the component
// at the test engine, a scratch documents folder and test statement
// catalogs; records to analyse; the "analysed" working copies the test
// engine hands back; and a view of a record's sections.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "support/record_builder.h"
#include "support/test_files.h"

namespace ecg::test {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  // No value: the variable is removed.
  ScopedEnv(const char* name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// A test's world: the test engine on the library path, an empty documents
// folder, the engine's control folder and a statements folder holding test
// catalogs for all seven languages (see TestStatement).
class AnalysisEnvironment {
 public:
  AnalysisEnvironment();

  // Another folder for the library search (an empty one: no library).
  void UseLibraryFolder(const std::string& folder);
  void SetResult(int result) const;
  // The working copy the engine leaves: these record bytes.
  void SetOutput(const Bytes& record) const;
  std::vector<std::string> Events() const;
  // The working copy as the engine received it.
  Bytes Seen() const;
  // Files left in the documents folder.
  std::vector<std::string> DocumentFiles() const;
  const std::string& documents() const { return documents_.path(); }
  const std::string& statements() const { return statements_.path(); }
  // Writes a record to analyse into a scratch folder; returns its path.
  std::string WriteRecord(const std::string& name, const Bytes& bytes) const {
    return work_.Write(name, bytes);
  }
  // Replaces one language's test catalog with these lines.
  void WriteCatalog(int language, const std::string& text) const;

 private:
  TempFolder work_, documents_, control_, statements_, empty_;
  ScopedEnv library_path_, documents_dir_, control_dir_, statements_dir_;
};

// The text of a fixed statement in the test catalogs: "L<language>-<id>".
std::string TestStatement(int language, uint32_t id);
// Code texts in the test catalogs (id 1000 + code): "PREFIXa<name>" for a
// 7-character prefix "PREFIXa".
struct TestCode {
  uint16_t code;
  std::string text;
};
const std::vector<TestCode>& TestCodes();

// A record to analyse: Sections 1, 3 and 6 of a synthetic ECG (2 s, 500 Hz).
struct InputSpec {
  std::vector<uint8_t> leads = {1, 2, 3, 4, 5, 6, 7, 8};
  // Marker samples (2032-2034) put into the rhythm data: lead code, value.
  std::vector<std::pair<uint8_t, int16_t>> markers;
  bool patient_complete = true;  // false: no weight
  std::string interpretation;    // tag 201, when not empty
  uint8_t interpretation_edited = 0;
  uint8_t confirmed = 0;         // tag 204
  bool extra_sections = false;   // Section 11 and a manufacturer section 200
  // Section 6 as other systems store it: second differences, default
  // Huffman table (Section 2).
  bool huffman = false;
};
Bytes InputRecord(const InputSpec& spec);
// Section 1 tags as InputRecord writes them.
TagWriter InputSection1(const InputSpec& spec);

// The working copy as an analysis would leave it. Section 5 holds
// MedianValue(code, k) for each analysed lead; Section 10 one block per
// measured lead (TypicalLeadBlock).
struct OutputSpec {
  InputSpec input;                    // Section 1 comes from here
  std::string interpretation = "Engine interpretation";
  std::vector<uint8_t> leads;         // Section 3 and Section 5, in this order
  std::vector<uint8_t> measured;      // Section 10, in this order
  std::vector<uint16_t> rhythm, morphology;  // Section 9 (absent when both empty)
  bool with_medians = true;
  bool with_measurements = true;
  bool with_section4 = true;
  uint8_t section4_fill = 4;          // Section 4 and 7 content bytes
  uint8_t section7_rr_ms = 100;
};
Bytes AnalysedRecord(const OutputSpec& spec);
int16_t MedianValue(uint8_t code, uint32_t k);
constexpr uint32_t kMedianSamples = 600;

// Section id -> the section's bytes (header and CRC included), through
// Section 0; empty when the bytes are no record.
std::map<uint16_t, Bytes> Sections(const Bytes& record);

// What a record says, read back with the reader.
struct RecordFacts {
  bool loaded = false;
  std::u16string interpretation;
  bool has_interpretation = false;
  uint8_t confirmed = 0;
  uint8_t edited = 0;
  std::vector<uint8_t> leads;
};
RecordFacts ReadFacts(const std::string& path);

// CAnalysis with its protected operations and model opened for tests.
class AnalysisProbe : public CAnalysis {
 public:
  AnalysisProbe() { SetDurableWrites(false); }
  using CAnalysis::AddInterpretationText;
  using CAnalysis::CreateInterpretationCodesText;
  using CAnalysis::CreateInterpretationText;
  using CAnalysis::CreateSec10;
  using CAnalysis::CreateVLeads;
  using CAnalysis::TransferAnalysis;
  SLeadMeasurements& Measurements() { return m_leadMeasurements; }
  void MarkMeasurementsLoaded() { m_loaded |= kSection10Bit; }
  SScpRecord& Stored() { return m_stored; }
};

}  // namespace ecg::test
