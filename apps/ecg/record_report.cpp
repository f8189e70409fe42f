#include "record_report.h"

#include <sys/stat.h>

#include <cstdio>
#include <sstream>

#include "json_writer.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"

namespace ecg::app {

namespace {

std::string Utf8(const WideText& text) {
  return text ? platform::WideToUtf8Lossy(*text) : std::string();
}

// A text of several lines (CR LF or LF between them) under the column the
// report's values start in.
std::string Indented(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
    if (text[i] == '\n' && i + 1 < text.size()) out += std::string(17, ' ');
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

std::string Date(unsigned y, unsigned m, unsigned d) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", y, m, d);
  return buffer;
}

std::string Time(unsigned h, unsigned m, unsigned s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", h, m, s);
  return buffer;
}

const char* SexText(uint8_t code) {
  switch (code) {
    case 0: return "unknown";
    case 1: return "male";
    case 2: return "female";
    case 9: return "unspecified";
    default: return "other";
  }
}

std::string FilterText(uint8_t stored) {
  std::string out;
  auto add = [&out](const char* s) { out += out.empty() ? s : std::string(", ") + s; };
  if ((stored & 3) == 2) add("50 Hz mains");
  if ((stored & 3) == 1) add("60 Hz mains");
  if (stored & 4) add("muscle");
  if (stored & 8) add("baseline");
  return out.empty() ? "none" : out;
}

std::string SectionList(uint16_t bits) {
  std::string out;
  for (int id = 0; id < 16; ++id) {
    if (bits & (1u << id)) out += (out.empty() ? "" : " ") + std::to_string(id);
  }
  return out.empty() ? "none" : out;
}

}  // namespace

std::string DescribeError(uint32_t code) {
  return "code " + std::to_string(code) + " (" + std::string(platform::ErrorMeaning(code)) + ")";
}

std::optional<int32_t> MarkSpan(uint16_t from, uint16_t to) {
  // The SCP missing-value codes: not computed, lead rejected, wave absent.
  const auto missing = [](uint16_t v) { return v == 29999 || v == 29998 || v == 19999; };
  if (missing(from) || missing(to)) return std::nullopt;
  return int32_t{to} - int32_t{from};
}

std::string MarkSpanText(uint16_t from, uint16_t to) {
  const std::optional<int32_t> span = MarkSpan(from, to);
  return span ? std::to_string(*span) + " ms" : "-";
}

bool RecordReport::AllCrcsValid() const {
  if (!crc_checked || !crc.recordValid) return false;
  for (const auto& e : crc.entries) {
    if (e.checked && !e.valid) return false;
  }
  return true;
}

void BuildRecordReport(const std::string& path, RecordReport& report, bool derive) {
  report.path = path;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) report.file_size = static_cast<uint64_t>(st.st_size);
  report.crc_checked = CReader::ReadCRCReport(path, report.crc);
  DecodeForReport(path, report);
  if (!report.reader.Load(path, report.loaded, static_cast<int16_t>(kAllSectionBits))) {
    report.error = platform::GetLastError();
    report.readable = false;
    return;
  }
  report.readable = true;
  if (derive) {
    report.derive_requested = true;
    report.derive_ok = report.reader.CalculateLeads();
    report.derive_error = report.derive_ok ? 0 : platform::GetLastError();
  }
}

std::string FormatText(RecordReport& r) {
  std::ostringstream out;
  out << r.path << "\n";
  if (!r.readable) {
    out << "  unreadable: " << DescribeError(r.error) << "\n";
    AppendDecodedText(r, out);
    return out.str();
  }
  const auto& header = r.reader.GetRecordHeader();
  out << "  record length  " << header.m_length << " bytes (file " << r.file_size << " bytes)\n";
  out << "  record CRC     " << (r.crc_checked ? (r.crc.recordValid ? "valid" : "WRONG") : "not checked")
      << "\n";
  out << "  sections       id  length  position  CRC\n";
  for (const auto& e : r.crc.entries) {
    const char* state = e.length == 0 ? "absent"
                        : !e.readable ? "outside the file"
                        : e.valid     ? "valid"
                        : e.checked   ? "WRONG"
                                      : "differs (not checked)";
    char line[128];
    std::snprintf(line, sizeof line, "                 %3u %7u %9u  %s\n", e.id, e.length,
                  e.position, state);
    out << line;
  }
  out << "  loaded         " << SectionList(static_cast<uint16_t>(r.loaded)) << "\n";
  if (auto* p = r.reader.GetPatientInfoPtr()) {
    out << "  patient        " << Utf8(p->m_lastName) << ", " << Utf8(p->m_firstName)
        << "  ID " << Utf8(p->m_patientId) << "\n";
    out << "                 born " << Date(p->m_birthYear, p->m_birthMonth, p->m_birthDay)
        << ", sex " << SexText(p->m_sex) << ", height " << p->m_height << " mm, weight "
        << p->m_weight << " g\n";
  }
  if (auto* rec = r.reader.GetRecordingInfoPtr()) {
    out << "  recorded       " << Date(rec->m_year, rec->m_month, rec->m_day) << " "
        << Time(rec->m_hour, rec->m_minute, rec->m_second)
        << (r.reader.GetTagValidation() ? "" : "  (acquisition tags incomplete)") << "\n";
    out << "  device         ID " << rec->m_deviceId << ", model " << Utf8(rec->m_modelDescription)
        << ", serial " << Utf8(rec->m_serialNumber) << ", analysis program "
        << Utf8(rec->m_analysingProgramRevision) << "\n";
    out << "  filters        baseline " << rec->m_baselineFilter << " (0.01 Hz), low-pass "
        << rec->m_lowPassFilter << " Hz, " << FilterText(rec->m_filterBitMap) << "\n";
  }
  if (auto* g = r.reader.GetGeneralInfoPtr()) {
    out << "  confirmed      " << (g->m_confirmed ? "yes" : "no");
    if (g->m_confirmingPhysician) out << " by " << Utf8(g->m_confirmingPhysician);
    out << "\n";
    if (g->m_interpretation) {
      out << "  interpretation " << Indented(Utf8(g->m_interpretation))
          << (g->m_interpretationEdited ? " (edited)" : "") << "\n";
    }
    if (g->m_comment) out << "  comment        " << Indented(Utf8(g->m_comment)) << "\n";
    if (g->m_creatingApplication) {
      out << "  created by     " << Utf8(g->m_creatingApplication) << " "
          << Utf8(g->m_creatingVersion) << "\n";
    }
    if (g->m_editingApplication) {
      out << "  edited by      " << Utf8(g->m_editingApplication) << " "
          << Utf8(g->m_editingVersion) << "\n";
    }
  }
  if (auto* errors = r.reader.GetLeadErrorsPtr(); errors && errors->m_count > 0) {
    out << "  lead errors   ";
    for (uint32_t i = 0; i < errors->m_count; ++i) {
      char item[32];
      std::snprintf(item, sizeof item, " %u:0x%04X", errors->m_entries[i].m_leadId,
                    errors->m_entries[i].m_errorBits);
      out << item;
    }
    out << "\n";
  }
  const auto& unknown = r.reader.GetUnknownTags();
  std::string tags;
  for (int t = 0; t < 256; ++t) {
    if (unknown.m_lengths[t] > 0) tags += (tags.empty() ? "" : " ") + std::to_string(t);
  }
  if (!tags.empty()) out << "  other tags     " << tags << "\n";
  AppendSignalText(r, out);
  AppendDecodedText(r, out);
  return out.str();
}

std::string FormatJson(RecordReport& r) {
  JsonWriter j;
  j.BeginObject();
  j.Key("file").String(r.path);
  j.Key("readable").Bool(r.readable);
  if (!r.readable) {
    j.Key("error").Number(r.error);
    j.Key("errorText").String(std::string(platform::ErrorMeaning(r.error)));
    j.EndObject();
    return j.str();
  }
  j.Key("fileSize").Number(r.file_size);
  j.Key("recordLength").Number(r.reader.GetRecordHeader().m_length);
  j.Key("crcValid").Bool(r.AllCrcsValid());
  j.Key("recordCrcValid").Bool(r.crc_checked && r.crc.recordValid);
  j.Key("sections").BeginArray();
  for (const auto& e : r.crc.entries) {
    j.BeginObject();
    j.Key("id").Number(e.id);
    j.Key("length").Number(e.length);
    j.Key("position").Number(e.position);
    j.Key("crcChecked").Bool(e.checked);
    j.Key("crcValid").Bool(e.valid);
    j.Key("inFile").Bool(e.readable);
    j.EndObject();
  }
  j.EndArray();
  j.Key("loadedSections").BeginArray();
  for (int id = 0; id < 16; ++id) {
    if (static_cast<uint16_t>(r.loaded) & (1u << id)) j.Number(id);
  }
  j.EndArray();
  j.Key("tagsValid").Bool(r.reader.GetTagValidation());
  if (auto* p = r.reader.GetPatientInfoPtr()) {
    j.Key("patient").BeginObject();
    j.Key("lastName").String(Utf8(p->m_lastName));
    j.Key("firstName").String(Utf8(p->m_firstName));
    j.Key("id").String(Utf8(p->m_patientId));
    j.Key("birthDate").String(Date(p->m_birthYear, p->m_birthMonth, p->m_birthDay));
    j.Key("sex").Number(p->m_sex);
    j.Key("heightMm").Number(p->m_height);
    j.Key("weightG").Number(p->m_weight);
    j.EndObject();
  }
  if (auto* rec = r.reader.GetRecordingInfoPtr()) {
    j.Key("recording").BeginObject();
    j.Key("date").String(Date(rec->m_year, rec->m_month, rec->m_day));
    j.Key("time").String(Time(rec->m_hour, rec->m_minute, rec->m_second));
    j.Key("deviceId").Number(rec->m_deviceId);
    j.Key("serialNumber").String(Utf8(rec->m_serialNumber));
    j.Key("model").String(Utf8(rec->m_modelDescription));
    j.Key("analysingProgram").String(Utf8(rec->m_analysingProgramRevision));
    j.Key("baselineFilter").Number(rec->m_baselineFilter);
    j.Key("lowPassFilter").Number(rec->m_lowPassFilter);
    j.Key("filterBitMap").Number(rec->m_filterBitMap);
    j.Key("writerFilter").Number(rec->m_writerFilter);
    j.EndObject();
  }
  if (auto* g = r.reader.GetGeneralInfoPtr()) {
    j.Key("general").BeginObject();
    j.Key("received").String(Date(g->m_receivedYear, g->m_receivedMonth, g->m_receivedDay) + " " +
                             Time(g->m_receivedHour, g->m_receivedMinute, g->m_receivedSecond));
    j.Key("confirmed").Number(g->m_confirmed);
    j.Key("interpretationEdited").Number(g->m_interpretationEdited);
    const std::pair<const char*, const WideText*> texts[] = {
        {"interpretation", &g->m_interpretation},
        {"comment", &g->m_comment},
        {"confirmingPhysician", &g->m_confirmingPhysician},
        {"secondPhysician", &g->m_secondPhysician},
        {"thirdPhysician", &g->m_thirdPhysician},
        {"recordingLocation", &g->m_recordingLocation},
        {"recordingId", &g->m_recordingId},
        {"interpretationApplication", &g->m_interpretationApplication},
        {"interpretationVersion", &g->m_interpretationVersion},
        {"recordingApplication", &g->m_recordingApplication},
        {"recordingVersion", &g->m_recordingVersion},
        {"creatingApplication", &g->m_creatingApplication},
        {"creatingVersion", &g->m_creatingVersion},
        {"editingApplication", &g->m_editingApplication},
        {"editingVersion", &g->m_editingVersion},
    };
    for (const auto& [name, text] : texts) {
      if (*text) j.Key(name).String(Utf8(*text));
    }
    j.EndObject();
  }
  if (auto* errors = r.reader.GetLeadErrorsPtr()) {
    j.Key("leadErrors").BeginArray();
    for (uint32_t i = 0; i < errors->m_count; ++i) {
      j.BeginObject();
      j.Key("lead").Number(errors->m_entries[i].m_leadId);
      j.Key("bits").Number(errors->m_entries[i].m_errorBits);
      j.EndObject();
    }
    j.EndArray();
  }
  j.Key("unknownTags").BeginArray();
  const auto& unknown = r.reader.GetUnknownTags();
  for (int t = 0; t < 256; ++t) {
    if (unknown.m_lengths[t] > 0) j.Number(t);
  }
  j.EndArray();
  WriteSignalJson(r, j);
  WriteDecodedJson(r, j);
  j.EndObject();
  return j.str();
}

}  // namespace ecg::app
