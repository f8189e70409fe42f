#include "analysis_test_support.h"

#include "support/scp_encoders.h"

#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "analysis/statement_catalog.h"
#include "scp/reader.h"
#include "support/section_builders.h"

namespace ecg::test {

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    ::setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

std::string TestStatement(int language, uint32_t id) {
  return "L" + std::to_string(language) + "-" + std::to_string(id);
}

const std::vector<TestCode>& TestCodes() {
  static const std::vector<TestCode> codes = {
      {21, "PREFIXaSinus rhythm"},
      {30, "PREFIXaFirst degree AV block"},
      {45, "PREFIXaLeft axis deviation"},
      {50, "SHORT"},    // no longer than the 7-character prefix
      {60, "ABCDEFG"},  // exactly the 7-character prefix
  };
  return codes;
}

AnalysisEnvironment::AnalysisEnvironment()
    : library_path_("ECG_LIBRARY_PATH", TEST_ENGINE_LIBRARY_DIR),
      documents_dir_("ECG_DOCUMENTS_DIR", documents_.path()),
      control_dir_("ECG_TEST_ENGINE_CONTROL", control_.path()),
      statements_dir_("ECG_STATEMENTS_DIR", statements_.path()) {
  for (int language = 0; language < analysis::kLanguageCount; ++language) {
    std::string text = "# test catalog\n";
    for (uint32_t id = 5001; id <= 5006; ++id) {
      text += std::to_string(id) + "\t" + TestStatement(language, id) + "\n";
    }
    for (const TestCode& code : TestCodes()) {
      text += std::to_string(1000 + code.code) + "\t" + code.text + "\n";
    }
    WriteCatalog(language, text);
  }
}

void AnalysisEnvironment::UseLibraryFolder(const std::string& folder) {
  ::setenv("ECG_LIBRARY_PATH", folder.c_str(), 1);
}

void AnalysisEnvironment::SetResult(int result) const {
  const std::string text = std::to_string(result);
  control_.Write("result", Bytes(text.begin(), text.end()));
}

void AnalysisEnvironment::SetOutput(const Bytes& record) const {
  control_.Write("output.scp", record);
}

std::vector<std::string> AnalysisEnvironment::Events() const {
  std::vector<std::string> events;
  std::ifstream in(control_.File("events"));
  for (std::string line; std::getline(in, line);) events.push_back(line);
  return events;
}

Bytes AnalysisEnvironment::Seen() const { return ReadFile(control_.File("seen.scp")); }

std::vector<std::string> AnalysisEnvironment::DocumentFiles() const {
  std::vector<std::string> files;
  if (DIR* dir = ::opendir(documents_.path().c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") files.push_back(name);
    }
    ::closedir(dir);
  }
  return files;
}

void AnalysisEnvironment::WriteCatalog(int language, const std::string& text) const {
  statements_.Write(analysis::CatalogFileName(language), Bytes(text.begin(), text.end()));
}

// ------------------------------------------------------------------ records

namespace {

constexpr uint32_t kRate = 500;
constexpr uint32_t kSamples = 1000;  // 2 s

std::vector<LeadRange> Ranges(const std::vector<uint8_t>& leads, uint32_t samples) {
  std::vector<LeadRange> ranges;
  for (uint8_t code : leads) ranges.push_back({code, 1, samples});
  return ranges;
}

Bytes Rhythm(const std::vector<uint8_t>& leads,
             const std::vector<std::pair<uint8_t, int16_t>>& markers, bool huffman = false) {
  SampleSection rhythm;
  std::vector<Bytes> encoded;
  for (uint8_t code : leads) {
    std::vector<int16_t> samples = SyntheticLead(code, kSamples, kRate);
    for (const auto& [lead, value] : markers) {
      if (lead == code) samples[kSamples / 2] = value;
    }
    encoded.push_back(
        EncodeDefaultHuffman(DifferenceEncode({samples.begin(), samples.end()}, 2)));
    rhythm.leads.push_back(samples);
  }
  if (huffman) {
    return EncodedSampleSection(rhythm.multiplier, rhythm.interval, 2, 0, encoded);
  }
  return SampleSectionBytes(rhythm);
}

}  // namespace

TagWriter InputSection1(const InputSpec& spec) {
  TagWriter t;
  t.Text(0, "Lindqvist").Text(1, "Maren").Text(2, "TM-004211");
  t.Date(5, 1961, 4, 17);
  t.Tag(6, {0xAF, 0x00, 1});  // 175 cm
  if (spec.patient_complete) t.Tag(7, {0x48, 0x00, 1});  // 72 kg
  t.U8(8, 2);
  t.Device(4711, "TM12", "QRS 2.1", "SN-30077");
  t.Date(25, 2026, 11, 30).Time(26, 9, 41, 7);
  if (!spec.interpretation.empty()) {
    std::string bytes(1, static_cast<char>(spec.interpretation_edited));
    bytes += spec.interpretation;
    bytes.push_back('\0');
    const Bytes value(bytes.begin(), bytes.end());
    t.Tag(201, value);
  }
  t.U8(204, spec.confirmed);
  t.End();
  return t;
}

Bytes InputRecord(const InputSpec& spec) {
  RecordBuilder b;
  b.AddSection1(InputSection1(spec));
  if (spec.huffman) b.AddSection(2, Section2Default());
  b.AddSection(3, Section3(Ranges(spec.leads, kSamples),
                           SimultaneousFlags(static_cast<uint8_t>(spec.leads.size()))));
  b.AddSection(6, Rhythm(spec.leads, spec.markers, spec.huffman));
  if (spec.extra_sections) {
    b.AddSection(11, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    SectionSpec vendor;
    vendor.id = 200;
    vendor.content = Bytes(21, 0xC8);  // odd length, kept as it is
    vendor.section_version = 3;
    b.Add(vendor);
  }
  return b.Build();
}

int16_t MedianValue(uint8_t code, uint32_t k) { return static_cast<int16_t>(code * 100 + k % 97); }

Bytes AnalysedRecord(const OutputSpec& spec) {
  RecordBuilder b;
  InputSpec input = spec.input;
  input.interpretation = spec.interpretation;
  b.AddSection1(InputSection1(input));
  b.AddSection(3, Section3(Ranges(spec.leads, kSamples),
                           SimultaneousFlags(static_cast<uint8_t>(spec.leads.size()))));
  if (spec.with_section4) b.AddSection(4, Bytes(12, spec.section4_fill));
  if (spec.with_medians) {
    SampleSection medians;
    for (uint8_t code : spec.leads) {
      std::vector<int16_t> samples(kMedianSamples);
      for (uint32_t k = 0; k < kMedianSamples; ++k) samples[k] = MedianValue(code, k);
      medians.leads.push_back(samples);
    }
    b.AddSection(5, SampleSectionBytes(medians));
  }
  b.AddSection(6, Rhythm(spec.leads, {}));
  GlobalSection global;
  global.rr = spec.section7_rr_ms;
  global.pp = spec.section7_rr_ms;
  global.blocks.push_back({150, 250, 310, 400, 720, 52, 48, 39});
  b.AddSection(7, Section7(global));
  if (!spec.rhythm.empty() || !spec.morphology.empty()) {
    b.AddSection(9, Section9Codes(spec.rhythm, spec.morphology));
  }
  if (spec.with_measurements) {
    std::vector<LeadBlock> blocks;
    for (uint8_t code : spec.measured) blocks.push_back(TypicalLeadBlock(code));
    b.AddSection(10, Section10(blocks));
  }
  return b.Build();
}

std::map<uint16_t, Bytes> Sections(const Bytes& record) {
  std::map<uint16_t, Bytes> out;
  if (record.size() < 6 + 16) return out;
  auto u16 = [&record](size_t at) { return static_cast<uint16_t>(record[at] | (record[at + 1] << 8)); };
  auto u32 = [&record](size_t at) {
    return static_cast<uint32_t>(record[at] | (record[at + 1] << 8) | (record[at + 2] << 16) |
                                 (uint32_t{record[at + 3]} << 24));
  };
  const uint32_t length0 = u32(6 + 4);
  for (size_t e = 6 + 16; e + 10 <= 6 + size_t{length0} && e + 10 <= record.size(); e += 10) {
    const uint16_t id = u16(e);
    const uint32_t length = u32(e + 2);
    const uint32_t position = u32(e + 6);
    if (length == 0 || position == 0 || size_t{position} - 1 + length > record.size()) continue;
    out[id] = Bytes(record.begin() + position - 1, record.begin() + position - 1 + length);
  }
  return out;
}

RecordFacts ReadFacts(const std::string& path) {
  RecordFacts facts;
  CReader reader;
  int16_t loaded = 0;
  if (!reader.Load(path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits))) return facts;
  facts.loaded = true;
  if (const CGeneralInfo* g = reader.GetGeneralInfoPtr()) {
    facts.has_interpretation = g->m_interpretation.has_value();
    facts.interpretation = g->m_interpretation.value_or(u"");
    facts.confirmed = g->m_confirmed;
    facts.edited = g->m_interpretationEdited;
  }
  if (const SLeadDefinitions* d = reader.GetLeadDefinitionsPtr()) {
    for (uint32_t i = 0; i < d->m_count; ++i) facts.leads.push_back(d->m_leads[i].m_leadId);
  }
  return facts;
}

}  // namespace ecg::test
