#include "scp/scp_decoder.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "platform/byte_stream.h"
#include "scp/crc.h"
#include "scp/huffman.h"
#include "scp/little_endian.h"
#include "scp/reference_beat.h"
#include "scp/scp_statements.h"
#include "scp/section12.h"

namespace ecg::scp {

namespace {

constexpr size_t kRecordHeaderSize = 6;
constexpr size_t kSectionHeaderSize = 16;
constexpr size_t kIndexEntrySize = 10;
constexpr size_t kLeadEntrySize = 9;
constexpr uint8_t kFirstVersion3 = 26;  // 26-29 drafts of 3.0, 30 = 3.0
constexpr uint16_t kAssumedInterval = 2000;       // µs, when a section leaves it 0
constexpr uint16_t kAssumedMultiplier = 5000;     // nV, when a section leaves it 0

struct Section {
  uint16_t id = 0;
  uint8_t version = 0;
  uint8_t protocol = 0;
  size_t offset = 0;              // of the section header in the record
  std::span<const uint8_t> data;  // after the section header
};

class Decoder {
 public:
  Decoder(std::span<const uint8_t> bytes, DecodedRecord& record, DecodeReport& report)
      : bytes_(bytes), record_(record), report_(report) {}

  bool Run();

 private:
  bool Refuse(DecodeStatus status, std::string message) {
    report_.status = status;
    report_.message = std::move(message);
    return false;
  }
  void Warn(std::string message) { report_.warnings.push_back(std::move(message)); }
  const Section* Find(uint16_t id) const {
    const auto at = where_.find(id);
    return at == where_.end() ? nullptr : &sections_[at->second];
  }

  bool ReadStructure();
  void ReadLanguage();
  bool ReadLeads();
  bool ReadSampleSection(const Section& section, bool rhythm, DecodedSignal& signal,
                         std::vector<std::vector<float>>& stored);
  bool ExpectedCounts(const Section& section, bool rhythm, uint16_t interval,
                      const std::vector<uint16_t>& byte_counts, std::vector<size_t>& counts);
  bool Reconstruct(std::vector<std::vector<float>>& residual);
  void ReadStatements();
  bool ReadLongTermRhythm(const Section& section);

  std::span<const uint8_t> bytes_;
  DecodedRecord& record_;
  DecodeReport& report_;
  std::vector<Section> sections_;
  std::unordered_map<uint16_t, size_t> where_;  // index into sections_ by id
  HuffmanTables tables_;
  ReferenceBeatInfo beat_;
  bool subtraction_ = false;  // reference beat subtraction to be undone
  bool bimodal_ = false;
  uint32_t factor_ = 0;
  BimodalLayout layout_;
  size_t total_samples_ = 0;
};

uint16_t Crc(std::span<const uint8_t> bytes) {
  CCRC crc;
  crc.UpdateCRC(bytes.data(), bytes.size());
  return crc.GetCRC();
}

bool Decoder::ReadStructure() {
  if (bytes_.size() < kRecordHeaderSize + kSectionHeaderSize) {
    return Refuse(DecodeStatus::kTooShort, "the file holds " + std::to_string(bytes_.size()) +
                                               " bytes, too few for a record header and Section 0");
  }
  const uint32_t length = LoadU32(bytes_.data() + 2);
  if (length > bytes_.size()) {
    return Refuse(DecodeStatus::kLengthMismatch,
                  "the record length says " + std::to_string(length) + " bytes but the file holds " +
                      std::to_string(bytes_.size()));
  }
  if (length < kRecordHeaderSize + kSectionHeaderSize) {
    return Refuse(DecodeStatus::kLengthMismatch,
                  "the record length says " + std::to_string(length) + " bytes");
  }
  if (length < bytes_.size()) {
    Warn(std::to_string(bytes_.size() - length) + " bytes after the record's end are ignored");
    bytes_ = bytes_.first(length);
  }
  if (Crc(bytes_.subspan(2)) != LoadU16(bytes_.data())) {
    report_.crcValid = false;
    Warn("the record CRC is wrong");
  }
  const uint8_t* s0 = bytes_.data() + kRecordHeaderSize;
  const uint16_t s0_id = LoadU16(s0 + 2);
  const uint32_t s0_length = LoadU32(s0 + 4);
  if (s0_id != 0 || s0_length < kSectionHeaderSize ||
      s0_length > bytes_.size() - kRecordHeaderSize) {
    return Refuse(DecodeStatus::kBadSection0,
                  "Section 0 is not at byte 6 (found id " + std::to_string(s0_id) + ", length " +
                      std::to_string(s0_length) + ")");
  }
  static constexpr uint8_t kMagic[6] = {'S', 'C', 'P', 'E', 'C', 'G'};
  // Writers put "SCPECG" or zeros there (this system's own writer: zeros).
  if (!std::equal(kMagic, kMagic + 6, s0 + 10) &&
      !std::all_of(s0 + 10, s0 + 16, [](uint8_t b) { return b == 0; })) {
    Warn("Section 0 bears neither the \"SCPECG\" mark nor zeros");
  }
  record_.protocolVersion = s0[9];
  const size_t entries = (s0_length - kSectionHeaderSize) / kIndexEntrySize;
  size_t duplicates = 0;
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* e = s0 + kSectionHeaderSize + i * kIndexEntrySize;
    const uint16_t id = LoadU16(e);
    const uint32_t len = LoadU32(e + 2);
    const uint32_t position = LoadU32(e + 6);
    if (len == 0) continue;
    const std::string name = "Section " + std::to_string(id);
    if (position == 0 || position - 1 > bytes_.size() || len > bytes_.size() - (position - 1)) {
      return Refuse(DecodeStatus::kBadPointer,
                    name + " (" + std::to_string(len) + " bytes at byte " +
                        std::to_string(position) + ") lies outside the record of " +
                        std::to_string(bytes_.size()) + " bytes");
    }
    if (len < kSectionHeaderSize) {
      return Refuse(DecodeStatus::kHeaderMismatch,
                    name + " is " + std::to_string(len) + " bytes, shorter than its header");
    }
    const auto whole = bytes_.subspan(position - 1, len);
    const uint16_t header_id = LoadU16(whole.data() + 2);
    const uint32_t header_length = LoadU32(whole.data() + 4);
    if (header_id != id || header_length != len) {
      return Refuse(DecodeStatus::kHeaderMismatch,
                    "Section 0 lists " + name + " of " + std::to_string(len) + " bytes at byte " +
                        std::to_string(position) + ", but the header there says Section " +
                        std::to_string(header_id) + " of " + std::to_string(header_length) +
                        " bytes");
    }
    if (Find(id) != nullptr) {
      ++duplicates;
      continue;
    }
    where_[id] = sections_.size();
    sections_.push_back(
        {id, whole[8], whole[9], position - 1u, whole.subspan(kSectionHeaderSize)});
    record_.sectionIds.push_back(id);
  }
  if (duplicates > 0) {
    Warn(std::to_string(duplicates) + " more Section 0 entries name sections already listed; "
         "the first of each is used");
  }
  // Sections never share bytes in a sound record.
  std::vector<const Section*> order;
  for (const auto& section : sections_) order.push_back(&section);
  std::sort(order.begin(), order.end(),
            [](const Section* a, const Section* b) { return a->offset < b->offset; });
  for (size_t i = 1; i < order.size(); ++i) {
    const Section& before = *order[i - 1];
    if (before.offset + kSectionHeaderSize + before.data.size() > order[i]->offset) {
      return Refuse(DecodeStatus::kBadPointer,
                    "Section " + std::to_string(before.id) + " overlaps Section " +
                        std::to_string(order[i]->id));
    }
  }
  for (const auto& section : sections_) {
    const auto whole = bytes_.subspan(section.offset, kSectionHeaderSize + section.data.size());
    if (Crc(whole.subspan(2)) != LoadU16(whole.data())) {
      report_.crcValid = false;
      Warn("the CRC of Section " + std::to_string(section.id) + " is wrong");
    }
  }
  return true;
}

void Decoder::ReadLanguage() {
  const Section* s1 = Find(1);
  if (s1 == nullptr) return;
  const auto d = s1->data;
  size_t at = 0;
  while (d.size() - at >= 3) {
    const uint8_t tag = d[at];
    const uint16_t len = LoadU16(d.data() + at + 1);
    if (tag == 255) break;
    at += 3;
    if (len > d.size() - at) break;
    if (tag == 14 && len > 16) {
      record_.languageCode = d[at + 16];
      if (record_.protocolVersion == 0) record_.protocolVersion = d[at + 14];
    }
    at += len;
  }
}

bool Decoder::ReadLeads() {
  const Section* s3 = Find(3);
  // A version 3 record may name its leads in Section 12 alone.
  if (s3 == nullptr && Find(12) != nullptr) return true;
  if (s3 == nullptr) return Refuse(DecodeStatus::kNoLeads, "the record has no Section 3");
  const auto d = s3->data;
  if (d.size() < 2) return Refuse(DecodeStatus::kBadSection3, "Section 3 is cut off");
  const uint8_t count = d[0];
  record_.leadFlags = d[1];
  if (count == 0) return Refuse(DecodeStatus::kNoLeads, "Section 3 lists no leads");
  if (2 + static_cast<size_t>(count) * kLeadEntrySize > d.size()) {
    return Refuse(DecodeStatus::kBadSection3,
                  "Section 3 announces " + std::to_string(count) + " leads but holds " +
                      std::to_string((d.size() - 2) / kLeadEntrySize));
  }
  for (uint8_t i = 0; i < count; ++i) {
    const uint8_t* p = d.data() + 2 + i * kLeadEntrySize;
    record_.leads.push_back({p[8], LoadU32(p), LoadU32(p + 4)});
  }
  return true;
}

bool Decoder::ExpectedCounts(const Section& section, bool rhythm, uint16_t interval,
                             const std::vector<uint16_t>& byte_counts,
                             std::vector<size_t>& counts) {
  const bool huffman = Find(2) != nullptr;
  const size_t leads = record_.leads.size();
  counts.assign(leads, 0);
  for (size_t i = 0; i < leads; ++i) {
    const size_t bytes = byte_counts[i];
    const size_t most = huffman ? bytes * 8 : bytes / 2;  // at least one bit per value
    size_t n = 0;
    if (rhythm) {
      const auto& lead = record_.leads[i];
      const uint32_t start = std::max<uint32_t>(lead.startSample, 1);
      n = lead.endSample >= start ? size_t{lead.endSample} - start + 1 : 0;
      if (n > kMaxSamplesPerLead) {
        return Refuse(DecodeStatus::kTooLarge, "Section 3 gives lead " + std::to_string(i + 1) +
                                                   " " + std::to_string(n) + " samples");
      }
      if (bimodal_) {
        if (i == 0 && !layout_.Build(beat_.qrs, static_cast<uint32_t>(n), factor_)) {
          return Refuse(DecodeStatus::kBadBimodal, "no samples to undo bimodal compression over");
        }
        n = layout_.storedValues;
      }
    } else if (beat_.lengthMs != 0 && Find(4) != nullptr) {
      n = static_cast<size_t>(std::llround(beat_.lengthMs * 1000.0 / interval));
    } else {
      n = most;
      if (huffman) {
        Warn("the median beat length is unknown; Section " + std::to_string(section.id) +
             " is decoded to the end of each lead's bytes");
      }
    }
    counts[i] = std::min(n, most);
    if (counts[i] > kMaxSamplesPerLead) {
      return Refuse(DecodeStatus::kTooLarge,
                    "Section " + std::to_string(section.id) + " lead " + std::to_string(i + 1) +
                        " would hold " + std::to_string(counts[i]) + " samples");
    }
    total_samples_ += bimodal_ && rhythm ? n * factor_ : n;
    if (total_samples_ > kMaxTotalSamples) {
      return Refuse(DecodeStatus::kTooLarge, "the record would decode to more than " +
                                                 std::to_string(kMaxTotalSamples) + " samples");
    }
  }
  return true;
}

bool Decoder::ReadSampleSection(const Section& section, bool rhythm, DecodedSignal& signal,
                                std::vector<std::vector<float>>& stored) {
  const auto d = section.data;
  const size_t leads = record_.leads.size();
  const std::string name = "Section " + std::to_string(section.id);
  if (d.size() < 6 + 2 * leads) {
    return Refuse(DecodeStatus::kBadSampleSection,
                  name + " is too short for the byte counts of " + std::to_string(leads) + " leads");
  }
  signal.present = true;
  signal.huffman = Find(2) != nullptr;
  signal.amplitudeMultiplier = LoadU16(d.data());
  signal.storedInterval = LoadU16(d.data() + 2);
  signal.differenceCoding = d[4];
  if (signal.differenceCoding > 2) {
    return Refuse(DecodeStatus::kBadSampleSection,
                  name + " names difference coding " + std::to_string(signal.differenceCoding));
  }
  uint16_t interval = signal.storedInterval;
  if (interval == 0) {
    Warn(name + " gives no sample interval; 2000 µs (500 Hz) is assumed");
    interval = kAssumedInterval;
  }
  uint16_t multiplier = signal.amplitudeMultiplier;
  if (multiplier == 0) {
    Warn(name + " gives no amplitude multiplier; 5000 nV is assumed");
    multiplier = kAssumedMultiplier;
  }
  signal.sampleInterval = interval;
  std::vector<uint16_t> byte_counts(leads);
  size_t total_bytes = 0;
  for (size_t i = 0; i < leads; ++i) {
    byte_counts[i] = LoadU16(d.data() + 6 + 2 * i);
    total_bytes += byte_counts[i];
  }
  const size_t data_start = 6 + 2 * leads;
  if (total_bytes > d.size() - data_start) {
    return Refuse(DecodeStatus::kBadSampleSection,
                  name + " lead byte counts add up to " + std::to_string(total_bytes) +
                      " bytes but the section holds " + std::to_string(d.size() - data_start));
  }
  std::vector<size_t> counts;
  if (!ExpectedCounts(section, rhythm, interval, byte_counts, counts)) return false;
  stored.assign(leads, {});
  signal.truncated.assign(leads, false);
  size_t at = data_start;
  std::vector<int32_t> values;
  for (size_t i = 0; i < leads; ++i) {
    const auto block = d.subspan(at, byte_counts[i]);
    at += byte_counts[i];
    if (signal.huffman) {
      const auto result = DecodeHuffmanBlock(tables_, block, counts[i], values);
      if (result == HuffmanResult::kBadCode) {
        return Refuse(DecodeStatus::kBadCode, name + " lead " + std::to_string(i + 1) +
                                                  ": no Huffman code matches the bits after value " +
                                                  std::to_string(values.size()));
      }
    } else {
      values.resize(std::min(counts[i], block.size() / 2));
      for (size_t k = 0; k < values.size(); ++k) {
        values[k] = static_cast<int16_t>(LoadU16(block.data() + 2 * k));
      }
    }
    UndoDifferences(values, signal.differenceCoding);
    size_t wanted = counts[i];
    if (rhythm && !bimodal_) {
      const auto& lead = record_.leads[i];
      const uint32_t start = std::max<uint32_t>(lead.startSample, 1);
      wanted = lead.endSample >= start ? size_t{lead.endSample} - start + 1 : 0;
    } else if (rhythm) {
      wanted = layout_.storedValues;
    }
    if (values.size() < wanted) {
      signal.truncated[i] = true;
      Warn(name + " lead " + std::to_string(i + 1) + " holds " + std::to_string(values.size()) +
           " of " + std::to_string(wanted) + " samples");
    }
    auto& out = stored[i];
    out.resize(values.size());
    const double scale = multiplier / 1000.0;
    for (size_t k = 0; k < values.size(); ++k) out[k] = static_cast<float>(values[k] * scale);
  }
  return true;
}

bool Decoder::Reconstruct(std::vector<std::vector<float>>& residual) {
  auto& rhythm = record_.rhythm;
  if (bimodal_) {
    for (auto& lead : residual) lead = UndoBimodal(layout_, factor_, lead);
    rhythm.sampleInterval = record_.median.sampleInterval;
  }
  if (subtraction_) {
    for (size_t i = 0; i < residual.size() && i < record_.median.leads.size(); ++i) {
      if (!AddReferenceBeat(beat_, record_.median.leads[i], residual[i])) {
        return Refuse(DecodeStatus::kBadReferenceBeat,
                      "the subtraction ranges of Section 4 overlap over more than twice the "
                      "rhythm's length");
      }
    }
  }
  rhythm.leads = std::move(residual);
  return true;
}

void Decoder::ReadStatements() {
  std::string why;
  if (const Section* s8 = Find(8)) {
    ParseStatementSection(s8->data, false, record_.languageCode, record_.fullText, why);
    if (!why.empty()) Warn("Section 8: " + why);
  }
  why.clear();
  if (const Section* s11 = Find(11)) {
    ParseStatementSection(s11->data, true, record_.languageCode, record_.statementCodes, why);
    if (!why.empty()) Warn("Section 11: " + why);
  }
}

bool Decoder::ReadLongTermRhythm(const Section& section) {
  LongTermRhythm rhythm;
  std::string why;
  if (!ParseSection12(section.data, kMaxSamplesPerLead, kMaxTotalSamples, rhythm, why)) {
    return Refuse(DecodeStatus::kBadSampleSection, why);
  }
  // The median beats follow Section 3's leads; they stay only when those
  // are the leads of Section 12.
  std::vector<DecodedLead> leads;
  const uint32_t count = static_cast<uint32_t>(rhythm.leads.front().size());
  for (uint8_t id : rhythm.leadIds) leads.push_back({id, 1, count});
  bool same_leads = record_.leads.size() == leads.size();
  for (size_t i = 0; same_leads && i < leads.size(); ++i) {
    same_leads = record_.leads[i].id == leads[i].id;
  }
  if (!same_leads && !record_.median.leads.empty()) {
    Warn("the median beats are left out: Section 3 and Section 12 list other leads");
    record_.median = DecodedSignal{};
  }
  record_.leads = std::move(leads);
  uint32_t unit = 0;
  for (uint16_t m : rhythm.multipliers) unit = std::gcd(unit, uint32_t{m});
  DecodedSignal& signal = record_.rhythm;
  signal = DecodedSignal{};
  signal.present = true;
  signal.sampleInterval = static_cast<uint32_t>(std::lround(1e6 / rhythm.sampleRate));
  signal.storedInterval = static_cast<uint16_t>(std::min<uint32_t>(signal.sampleInterval, 0xFFFF));
  signal.amplitudeMultiplier = static_cast<uint16_t>(unit);
  signal.leads = std::move(rhythm.leads);
  signal.truncated.assign(signal.leads.size(), false);
  total_samples_ += size_t{count} * signal.leads.size();
  record_.longTermRhythm = true;
  record_.longTermBytesPerSample = rhythm.bytesPerSample;
  return true;
}

bool Decoder::Run() {
  if (!ReadStructure()) return false;
  ReadLanguage();
  if (!ReadLeads()) return false;
  if (const Section* s2 = Find(2)) {
    std::string why;
    if (!ParseHuffmanSection(s2->data, tables_, why)) {
      return Refuse(DecodeStatus::kBadHuffmanTables, why);
    }
    record_.huffman = true;
    record_.huffmanDefaultTable = tables_.defaultTable;
    record_.huffmanTableCount = static_cast<uint16_t>(tables_.tables.size());
  }
  const Section* s4 = Find(4);
  const Section* s5 = Find(5);
  const Section* s6 = Find(6);
  const bool version3 = record_.protocolVersion >= kFirstVersion3;
  if (s4 != nullptr) {
    std::string why;
    if (!ParseSection4(s4->data, beat_, why)) {
      if (record_.leadFlags & 1) return Refuse(DecodeStatus::kBadReferenceBeat, why);
      Warn(why);
      beat_ = ReferenceBeatInfo{};
    }
    record_.referenceBeatLengthMs = beat_.lengthMs;
    record_.referenceFiducial = beat_.fiducial;
    record_.qrs = beat_.qrs;
  }
  if (record_.leadFlags & 1) {
    if (s4 == nullptr || s5 == nullptr) {
      Warn("Section 3 says the reference beat was subtracted, but Section 4 or 5 is missing");
    } else {
      subtraction_ = true;
      if (version3) Warn("reference beat subtraction in a version 3 record");
    }
  }
  if (s6 != nullptr && s6->data.size() >= 6 && s6->data[5] == 1 && !version3) {
    const uint16_t sti6 = LoadU16(s6->data.data() + 2);
    const uint16_t sti5 = s5 != nullptr && s5->data.size() >= 4 ? LoadU16(s5->data.data() + 2) : 0;
    if (!subtraction_ || sti5 == 0 || sti6 % sti5 != 0 || sti6 / sti5 < 2) {
      return Refuse(DecodeStatus::kBadBimodal,
                    "Section 6 is bimodally compressed, but its interval " + std::to_string(sti6) +
                        " µs is no multiple of the median interval " + std::to_string(sti5) +
                        " µs, or Sections 4 and 5 do not describe the reference beat");
    }
    bimodal_ = true;
    factor_ = sti6 / sti5;
    record_.bimodal = true;
    record_.bimodalFactor = factor_;
  }
  std::vector<std::vector<float>> stored;
  if (s5 != nullptr && !record_.leads.empty()) {
    if (!ReadSampleSection(*s5, false, record_.median, stored)) return false;
    record_.median.leads = std::move(stored);
  }
  if (const Section* s12 = Find(12)) {
    // Section 12 holds the rhythm; Section 6 is read only without it.
    if (!ReadLongTermRhythm(*s12)) return false;
    if (s6 != nullptr) Warn("Section 6 is left out: Section 12 holds the rhythm");
  } else if (s6 != nullptr) {
    if (!ReadSampleSection(*s6, true, record_.rhythm, stored)) return false;
    if (!Reconstruct(stored)) return false;
    record_.referenceBeatSubtraction = subtraction_;
  }
  if (s5 == nullptr && s6 == nullptr && Find(12) == nullptr) {
    Warn("the record holds no sample data");
  }
  ReadStatements();
  return true;
}

}  // namespace

const char* DecodeStatusName(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::kOk: return "decoded";
    case DecodeStatus::kTooShort: return "too short";
    case DecodeStatus::kTooLarge: return "too large";
    case DecodeStatus::kLengthMismatch: return "record length disagrees with the file";
    case DecodeStatus::kBadSection0: return "Section 0 broken";
    case DecodeStatus::kBadPointer: return "section pointer outside the record";
    case DecodeStatus::kHeaderMismatch: return "section header disagrees with Section 0";
    case DecodeStatus::kNoLeads: return "no leads";
    case DecodeStatus::kBadSection3: return "Section 3 broken";
    case DecodeStatus::kBadHuffmanTables: return "Huffman tables broken";
    case DecodeStatus::kBadSampleSection: return "sample section broken";
    case DecodeStatus::kBadCode: return "undecodable bits";
    case DecodeStatus::kBadReferenceBeat: return "Section 4 broken";
    case DecodeStatus::kBadBimodal: return "bimodal compression cannot be undone";
    case DecodeStatus::kUnreadableFile: return "file unreadable";
  }
  return "unknown";
}

size_t DecodedSignal::MaxSamples() const {
  size_t most = 0;
  for (const auto& lead : leads) most = std::max(most, lead.size());
  return most;
}

bool DecodedRecord::Uncompressed() const {
  return !huffman && !referenceBeatSubtraction && !bimodal && !longTermRhythm &&
         (!rhythm.present || rhythm.differenceCoding == 0) &&
         (!median.present || median.differenceCoding == 0);
}

std::string DecodedRecord::EncodingSummary() const {
  static constexpr const char* kDifferences[] = {"no differences", "first differences",
                                                 "second differences"};
  std::string out;
  auto add = [&out](const std::string& s) { out += (out.empty() ? "" : ", ") + s; };
  if (!huffman) {
    add("no Huffman coding");
  } else if (huffmanDefaultTable) {
    add("Huffman (default table)");
  } else {
    add("Huffman (" + std::to_string(huffmanTableCount) + " custom table" +
        (huffmanTableCount == 1 ? ")" : "s)"));
  }
  if (rhythm.present) add(std::string("rhythm ") + kDifferences[rhythm.differenceCoding]);
  if (median.present) add(std::string("median ") + kDifferences[median.differenceCoding]);
  if (referenceBeatSubtraction) {
    add("reference beat subtraction (" + std::to_string(qrs.size()) + " QRS complexes)");
  }
  if (bimodal) add("bimodal compression (factor " + std::to_string(bimodalFactor) + ")");
  if (longTermRhythm) {
    add("long-term rhythm data (Section 12, " + std::to_string(longTermBytesPerSample) +
        " bytes per sample)");
  }
  return out;
}

bool DecodeScpRecord(std::span<const uint8_t> bytes, DecodedRecord& record, DecodeReport& report) {
  record = DecodedRecord{};
  report = DecodeReport{};
  if (bytes.size() > kMaxRecordBytes) {
    report.status = DecodeStatus::kTooLarge;
    report.message = "the file is larger than " + std::to_string(kMaxRecordBytes) + " bytes";
    return false;
  }
  Decoder decoder(bytes, record, report);
  return decoder.Run();
}

bool DecodeScpFile(const std::string& path, DecodedRecord& record, DecodeReport& report) {
  record = DecodedRecord{};
  report = DecodeReport{};
  auto file = platform::PosixFile::Open(path, platform::FileMode::kRead);
  uint64_t size = 0;
  if (!file || !file->Size(&size)) {
    report.status = DecodeStatus::kUnreadableFile;
    report.message = "cannot open " + path;
    return false;
  }
  if (size > kMaxRecordBytes) {
    report.status = DecodeStatus::kTooLarge;
    report.message = "the file is larger than " + std::to_string(kMaxRecordBytes) + " bytes";
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!platform::ReadExact(*file, bytes.data(), bytes.size())) {
    report.status = DecodeStatus::kUnreadableFile;
    report.message = "cannot read " + path;
    return false;
  }
  return DecodeScpRecord(bytes, record, report);
}

}  // namespace ecg::scp
