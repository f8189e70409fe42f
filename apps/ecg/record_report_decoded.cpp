// What `ecg info` says about a record's encodings, its decoded samples and
// its statement sections (8 and 11), from the decoder.

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "json_writer.h"
#include "record_report.h"
#include "scp/lead_model.h"

namespace ecg::app {

namespace {

std::string LeadName(uint8_t code) {
  const char* name = scp::LeadCodeName(code);
  return name ? name : "code " + std::to_string(code);
}

void Range(const std::vector<float>& lead, float& low, float& high) {
  low = high = 0;
  if (lead.empty()) return;
  const auto [lo, hi] = std::minmax_element(lead.begin(), lead.end());
  low = *lo;
  high = *hi;
}

const char* ConfirmationText(uint8_t c) {
  switch (c) {
    case 0: return "original";
    case 1: return "confirmed";
    case 2: return "overread, not confirmed";
    default: return "unknown state";
  }
}

void AppendStatements(const char* label, const scp::StatementSection& s, std::ostringstream& out) {
  if (!s.present) return;
  char head[128];
  std::snprintf(head, sizeof head, "  %-14s %s, %04u-%02u-%02u %02u:%02u:%02u, %zu statements\n",
                label, ConfirmationText(s.confirmation), s.year, s.month, s.day, s.hour,
                s.minute, s.second, s.statements.size());
  out << head;
  for (const auto& st : s.statements) {
    out << "                 " << static_cast<unsigned>(st.sequence) << "  " << st.text << "\n";
  }
}

void AppendSignal(const char* label, const scp::DecodedRecord& d, const scp::DecodedSignal& s,
                  std::ostringstream& out) {
  if (!s.present) return;
  char line[160];
  std::snprintf(line, sizeof line, "  %-14s %.2f Hz, %zu leads, up to %zu samples (µV min..max)\n",
                label, s.SampleRate(), s.leads.size(), s.MaxSamples());
  out << line;
  for (size_t l = 0; l < s.leads.size(); ++l) {
    float low = 0, high = 0;
    Range(s.leads[l], low, high);
    std::snprintf(line, sizeof line, "                   %-5s %6zu  %9.1f..%.1f%s\n",
                  LeadName(l < d.leads.size() ? d.leads[l].id : 0).c_str(), s.leads[l].size(),
                  low, high, l < s.truncated.size() && s.truncated[l] ? "  (truncated)" : "");
    out << line;
  }
}

void WriteSignal(const scp::DecodedSignal& s, JsonWriter& j) {
  j.BeginObject();
  j.Key("sampleRate").Number(s.SampleRate());
  j.Key("amplitudeMultiplier").Number(s.amplitudeMultiplier);
  j.Key("storedInterval").Number(s.storedInterval);
  j.Key("differenceCoding").Number(s.differenceCoding);
  j.Key("leads").BeginArray();
  for (size_t l = 0; l < s.leads.size(); ++l) {
    float low = 0, high = 0;
    Range(s.leads[l], low, high);
    j.BeginObject();
    j.Key("samples").Number(s.leads[l].size());
    j.Key("minUv").Number(static_cast<double>(low));
    j.Key("maxUv").Number(static_cast<double>(high));
    j.Key("truncated").Bool(l < s.truncated.size() && s.truncated[l]);
    j.EndObject();
  }
  j.EndArray();
  j.EndObject();
}

void WriteStatements(const scp::StatementSection& s, JsonWriter& j) {
  j.BeginObject();
  j.Key("confirmation").Number(s.confirmation);
  char date[48];
  std::snprintf(date, sizeof date, "%04u-%02u-%02u %02u:%02u:%02u", s.year, s.month, s.day,
                s.hour, s.minute, s.second);
  j.Key("date").String(date);
  j.Key("statements").BeginArray();
  for (const auto& st : s.statements) {
    j.BeginObject();
    j.Key("sequence").Number(st.sequence);
    j.Key("type").Number(st.type);
    j.Key("text").String(st.text);
    j.EndObject();
  }
  j.EndArray();
  j.EndObject();
}

}  // namespace

void DecodeForReport(const std::string& path, RecordReport& report) {
  report.decoded = scp::DecodeScpFile(path, report.decoded_record, report.decode_report);
}

void AppendDecodedText(const RecordReport& r, std::ostringstream& out) {
  const auto& rep = r.decode_report;
  if (!r.decoded) {
    out << "  decoder        REFUSED (" << scp::DecodeStatusName(rep.status) << "): " << rep.message
        << "\n";
    return;
  }
  const auto& d = r.decoded_record;
  char version[32];
  std::snprintf(version, sizeof version, "%u.%u", d.protocolVersion / 10, d.protocolVersion % 10);
  out << "  encoding       " << (d.Uncompressed() ? "uncompressed" : d.EncodingSummary())
      << "; version " << version << ", language code " << static_cast<unsigned>(d.languageCode)
      << "\n";
  for (const auto& w : rep.warnings) out << "  warning        " << w << "\n";
  AppendSignal("decoded rhythm", d, d.rhythm, out);
  AppendSignal("decoded median", d, d.median, out);
  AppendStatements("full text", d.fullText, out);
  AppendStatements("statement codes", d.statementCodes, out);
}

void WriteDecodedJson(const RecordReport& r, JsonWriter& j) {
  const auto& rep = r.decode_report;
  j.Key("decoded").BeginObject();
  j.Key("ok").Bool(r.decoded);
  if (!r.decoded) {
    j.Key("refusal").String(scp::DecodeStatusName(rep.status));
    j.Key("message").String(rep.message);
    j.EndObject();
    return;
  }
  const auto& d = r.decoded_record;
  j.Key("protocolVersion").Number(d.protocolVersion);
  j.Key("languageCode").Number(d.languageCode);
  j.Key("uncompressed").Bool(d.Uncompressed());
  j.Key("encodings").String(d.EncodingSummary());
  j.Key("huffman").Bool(d.huffman);
  j.Key("huffmanDefaultTable").Bool(d.huffmanDefaultTable);
  j.Key("referenceBeatSubtraction").Bool(d.referenceBeatSubtraction);
  j.Key("bimodalFactor").Number(d.bimodal ? d.bimodalFactor : 0u);
  j.Key("crcValid").Bool(rep.crcValid);
  j.Key("warnings").BeginArray();
  for (const auto& w : rep.warnings) j.String(w);
  j.EndArray();
  if (d.rhythm.present) WriteSignal(d.rhythm, j.Key("rhythm"));
  if (d.median.present) WriteSignal(d.median, j.Key("median"));
  if (d.fullText.present) WriteStatements(d.fullText, j.Key("fullText"));
  if (d.statementCodes.present) WriteStatements(d.statementCodes, j.Key("statementCodes"));
  j.EndObject();
}

}  // namespace ecg::app
