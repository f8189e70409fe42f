#include "export/scp_to_xml.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

#include "export/base64_lines.h"
#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/record_converter.h"
#include "scp/scp_decoder.h"

using namespace ecg::platform;

namespace {

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

// Record text as UTF-8 fit for XML 1.0: characters XML cannot carry become
// '?' instead of making the document unreadable.
std::string XmlText(const WideText& text) {
  if (!text) return {};
  std::u16string clean = *text;
  for (char16_t& c : clean) {
    if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF) c = u'?';
  }
  return WideToUtf8Lossy(clean);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[128];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

// Builds the tree; every call checks what libxml2 returns.
}  // namespace

class XmlTree {
 public:
  explicit XmlTree(xmlDoc* doc) : doc_(doc) {}
  bool ok() const { return ok_; }

  xmlNode* Element(const char* name) { return Check(xmlNewDocNode(doc_, nullptr, X(name), nullptr)); }
  void Attribute(xmlNode* node, const char* name, const std::string& value) {
    if (node != nullptr && xmlNewProp(node, X(name), X(value.c_str())) == nullptr) ok_ = false;
  }
  void Text(xmlNode* parent, const std::string& text) {
    if (parent == nullptr) return;
    xmlNode* t = Check(xmlNewDocText(doc_, X(text.c_str())));
    if (t != nullptr && xmlAddChild(parent, t) == nullptr) {
      xmlFreeNode(t);
      ok_ = false;
    }
  }
  // Appends `child` between two layout text nodes.
  void Append(xmlNode* parent, xmlNode* child, const char* before, const char* after) {
    if (parent == nullptr || child == nullptr) {
      if (child != nullptr) xmlFreeNode(child);
      ok_ = false;
      return;
    }
    Text(parent, before);
    if (xmlAddChild(parent, child) == nullptr) {
      xmlFreeNode(child);
      ok_ = false;
    }
    Text(parent, after);
  }
  void TopLevel(xmlNode* node) {
    if (node == nullptr || xmlAddChild(reinterpret_cast<xmlNode*>(doc_), node) == nullptr) {
      if (node != nullptr) xmlFreeNode(node);
      ok_ = false;
    }
  }

 private:
  template <typename T>
  T* Check(T* p) {
    if (p == nullptr) ok_ = false;
    return p;
  }
  xmlDoc* doc_;
  bool ok_ = true;
};

namespace {

constexpr const char* kInner = "\n\t\t\t";

const char* GenderText(uint8_t sex) {
  switch (sex) {
    case 1: return "Male";
    case 2: return "Female";
    case 9: return "Not specified";
    default: return "Unknown";  // 0, and codes a reader could not use
  }
}

// Records of other systems (Huffman coding, differences, reference beats,
// bimodal compression), and plain records whose lead ranges the reader
// cannot place: true with the decoded record. Records the reader reads
// itself take its path unchanged.
bool DecodeForeignRecord(const RecordSource& source, bool plain_readable,
                         ecg::scp::DecodedRecord& record) {
  FileHandle stream = source.OpenRead();
  uint64_t size = 0;
  if (!stream || !stream->Size(&size) || size > ecg::scp::kMaxRecordBytes) return false;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  size_t got = 0;
  if (!stream->ReadAt(0, bytes.data(), bytes.size(), &got) || got != bytes.size()) return false;
  ecg::scp::DecodeReport report;
  return ecg::scp::DecodeScpRecord(bytes, record, report) &&
         (!record.Uncompressed() || !plain_readable);
}

// Age in whole years on the recording date.
int AgeYears(const CPatientInfo& p, const CRecordInfo& r) {
  int age = r.m_year - p.m_birthYear;
  if (r.m_month < p.m_birthMonth || (r.m_month == p.m_birthMonth && r.m_day < p.m_birthDay)) --age;
  return age;
}

std::string SamplesBase64(const SEncodedData& data, uint32_t lead) {
  const int16_t* samples = data.Samples(lead);
  const uint32_t count = data.SampleCount(lead);
  if (samples == nullptr || count == 0) return {};
  std::vector<uint8_t> bytes(size_t{count} * 2);
  for (uint32_t i = 0; i < count; ++i) {
    const auto v = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<uint8_t>(v);
    bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return ecg::xml::Base64Lines(bytes.data(), bytes.size());
}

}  // namespace

CECGScpToXml::CECGScpToXml(const RecordSource& scp) : m_scp(scp) {}

bool CECGScpToXml::ReadRecord() {
  if (!ReadPatientAndRecordInfo(m_scp, &m_patient, &m_recording)) return false;
  if (!ReadGeneralInfo(m_scp, &m_general)) return false;
  m_analysisPresent = ReadAnalysisInfo(m_scp, &m_analysis);
  const bool plain = ReadLeadDefs(m_scp, &m_definitions) && ReadRhythmData(m_scp, &m_rhythm);
  if (ecg::scp::DecodedRecord decoded; DecodeForeignRecord(m_scp, plain, decoded)) {
    std::string why;
    if (!ecg::scp::StoreDecodedSamples(decoded, m_definitions, m_rhythm, m_median, why)) {
      return false;
    }
    m_measurementsPresent = ReadLeadMeasurements(m_scp, &m_measurements);
    return true;
  }
  if (!plain) return false;
  m_measurementsPresent = ReadLeadMeasurements(m_scp, &m_measurements);
  ReadMedianData(m_scp, &m_median);
  return true;
}

bool CECGScpToXml::Build(std::string& document, bool& record_readable) {
  std::unique_ptr<xmlDoc, DocFree> doc(xmlNewDoc(X("1.0")));
  if (!doc) return Fail(kErrorOutOfMemory);
  XmlTree t(doc.get());
  t.TopLevel(xmlNewDocPI(doc.get(), X("xml"), X("version='1.0'")));

  record_readable = ReadRecord();
  if (!record_readable) {
    t.TopLevel(xmlNewDocComment(doc.get(), X("Unable to process SCP file.")));
  } else {
    t.TopLevel(xmlNewDocComment(doc.get(), X("ECG data.")));
    xmlNode* root = t.Element("root");
    t.TopLevel(root);

    xmlNode* patient = t.Element("patient");
    t.Attribute(patient, "last", XmlText(m_patient.m_lastName));
    t.Attribute(patient, "first", XmlText(m_patient.m_firstName));
    t.Attribute(patient, "patientID", XmlText(m_patient.m_patientId));
    t.Attribute(patient, "birthdate", Format("%d-%02d-%02dT00:00:00", m_patient.m_birthYear,
                                             m_patient.m_birthMonth, m_patient.m_birthDay));
    t.Attribute(patient, "gender", GenderText(m_patient.m_sex));

    xmlNode* encounter = t.Element("encounter");
    t.Attribute(encounter, "age", Format("%d", AgeYears(m_patient, m_recording)));
    t.Attribute(encounter, "ageUnits", "Years");
    t.Attribute(encounter, "height", Format("%d", m_patient.m_height / 10));
    t.Attribute(encounter, "heightUnits", "cm");
    t.Attribute(encounter, "weight", Format("%u", m_patient.m_weight / 1000));
    t.Attribute(encounter, "weightUnits", "kg");

    xmlNode* test = t.Element("test");
    t.Attribute(test, "type", "ecg");
    t.Attribute(test, "acquiringDevice", Format("%u", m_recording.m_deviceId));
    t.Attribute(test, "revision", XmlText(m_recording.m_analysingProgramRevision));
    t.Attribute(test, "serial_number", XmlText(m_recording.m_serialNumber));
    t.Attribute(test, "date",
                Format("%d-%02d-%02dT%02d:%02d:%02d", m_recording.m_year, m_recording.m_month,
                       m_recording.m_day, m_recording.m_hour, m_recording.m_minute,
                       m_recording.m_second));

    xmlNode* interpretation = t.Element("interpretation");
    t.Text(interpretation, XmlText(m_general.m_interpretation));
    t.Append(test, interpretation, kInner, kInner);
    xmlNode* confirmed = t.Element("confirmed");
    t.Text(confirmed, m_general.m_confirmed == 1 ? "true" : "false");
    t.Append(test, confirmed, kInner, kInner);
    xmlNode* comment = t.Element("comment");
    t.Text(comment, XmlText(m_general.m_comment));
    t.Append(test, comment, kInner, kInner);

    AppendChannels(t, test);
    if (m_analysisPresent) t.Append(test, GlobalElement(t), kInner, kInner);

    t.Append(encounter, test, "\n\t\t\t", "\n\t\t");
    t.Append(patient, encounter, "\n\t\t", "\n\t");
    t.Append(root, patient, "\n\t", "\n");
  }
  if (!t.ok()) return Fail(kErrorOutOfMemory);

  xmlBuffer* buffer = xmlBufferCreate();
  if (buffer == nullptr) return Fail(kErrorOutOfMemory);
  xmlSaveCtxt* save = xmlSaveToBuffer(buffer, "UTF-8", XML_SAVE_NO_DECL);
  bool saved = save != nullptr && xmlSaveDoc(save, doc.get()) >= 0;
  if (save != nullptr) saved = xmlSaveClose(save) >= 0 && saved;
  if (saved) document.assign(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                             static_cast<size_t>(xmlBufferLength(buffer)));
  xmlBufferFree(buffer);
  if (!saved) return Fail(kErrorOutOfMemory);
  return true;
}

void CECGScpToXml::AppendChannels(XmlTree& t, xmlNode* test) {
  int16_t loaded = 0;
  if (!Load(m_scp, loaded, static_cast<int16_t>(kAllSectionBits))) return;
  // The reader cannot undo the encodings of records from other systems: the
  // decoded samples replace whatever it made of Sections 3, 5 and 6.
  if (ecg::scp::DecodeReport report; !LoadDecodedSamples(m_scp, report)) return;
  const int16_t leads = GetLeads();
  const SLeadDefinitions* definitions = GetLeadDefinitionsPtr();
  if (leads <= 0 || definitions == nullptr) return;
  const std::string first = Format("%u", definitions->GetMinSample());
  const std::string last = Format("%u", definitions->GetMaxSample());
  const SEncodedData* medians = GetMedianDataPtr();
  const SEncodedData* values = GetRhythmDataPtr();

  auto channel = [&](uint8_t code, bool with_samples) {
    xmlNode* c = t.Element("channel");
    t.Attribute(c, "firstIndex", first);
    t.Attribute(c, "lastIndex", last);
    t.Attribute(c, "leadId", Format("%u", code));
    const char* name = ecg::scp::LeadCodeName(code);
    t.Attribute(c, "displayName", name != nullptr ? name : "");
    if (with_samples) {
      for (const auto& [element, data] : {std::pair{"medians", medians}, std::pair{"values", values}}) {
        if (data == nullptr) continue;
        xmlNode* e = t.Element(element);
        t.Attribute(e, "multiplier", Format("%u", data->m_amplitudeMultiplier));
        t.Attribute(e, "interval", Format("%u", data->m_sampleInterval));
        t.Attribute(e, "difference", Format("%u", data->m_differenceUsed));
        t.Attribute(e, "encoding", "base64");
        if (m_channel >= 0 && m_channel < data->m_leadCount) {
          t.Text(e, SamplesBase64(*data, static_cast<uint32_t>(m_channel)));
        }
        t.Append(c, e, kInner, kInner);
      }
    }
    t.Append(c, MeasurementsElement(t), kInner, kInner);
    t.Append(test, c, kInner, kInner);
    ++m_channel;
  };

  for (int16_t i = 0; i < leads; ++i) channel(static_cast<uint8_t>(GetLeadId(i)), true);
  if (leads == 8) {
    for (uint8_t code : {61, 62, 63, 64}) channel(code, false);
  }
}

xmlNode* CECGScpToXml::MeasurementsElement(XmlTree& t) {
  xmlNode* e = t.Element("measurements");
  if (!m_measurementsPresent || m_channel < 0 || m_channel >= m_measurements.m_count) return e;
  const SLeadMeasurement& m = m_measurements.m_leads[m_channel];
  const std::pair<const char*, int16_t> values[] = {
      {"P-duration", m.m_pDuration},
      {"PR-interval", m.m_prInterval},
      {"QRS-duration", m.m_qrsDuration},
      {"QT-interval", m.m_qtInterval},
      {"Q-duration", m.m_qDuration},
      {"R-duration", m.m_rDuration},
      {"S-duration", m.m_sDuration},
      {"Rprime-duration", m.m_r2Duration},
      {"Sprime-duration", m.m_s2Duration},
      {"Q-amplitude", m.m_qAmplitude},
      {"R-amplitude", m.m_rAmplitude},
      {"S-amplitude", m.m_sAmplitude},
      {"Rprime-amplitude", m.m_r2Amplitude},
      {"Sprime-amplitude", m.m_s2Amplitude},
      {"J-point-amplitude", m.m_jAmplitude},
      {"Tminus-amplitude", m.m_tMinusAmplitude},
      {"Tplus-amplitude", m.m_tPlusAmplitude},
      {"Pplus-amplitude", m.m_pPlusAmplitude},
      {"Pminus-amplitude", m.m_pMinusAmplitude},
      {"ST-slope", m.m_stSlope},
      {"PMorphology", m.m_pMorphology},
      {"TMorphology", m.m_tMorphology},
      {"QRSOnset", m.m_isoQrsOnset},
      {"QRSOffset", m.m_isoQrsOffset},
      {"intrinsicoidDeflection", m.m_intrinsicoidDeflection},
      {"qcode", m.m_qualityCode},
      {"ST-amplitudeJ20", m.m_stJ20},
      {"ST-amplitudeJ60", m.m_stJ60},
      {"ST-amplitudeJ80", m.m_stJ80},
  };
  for (const auto& [name, value] : values) t.Attribute(e, name, Format("%d", value));
  return e;
}

xmlNode* CECGScpToXml::GlobalElement(XmlTree& t) {
  const SGlobalMeasurements& g = m_analysis.m_global;
  const int rr = g.m_rr;
  xmlNode* e = t.Element("global");
  const int qt = static_cast<int>(g.m_tOffset) - static_cast<int>(g.m_qrsOnset);
  const bool rr_known = rr != 0 && rr != 29999;
  if (rr_known) t.Attribute(e, "HeartRate", Format("%d", static_cast<int>(60000.0 / rr + 0.5)));
  t.Attribute(e, "PDuration", Format("%d", static_cast<int>(g.m_pOffset) - g.m_pOnset));
  t.Attribute(e, "PRInterval", Format("%d", static_cast<int>(g.m_qrsOnset) - g.m_pOnset));
  t.Attribute(e, "QRSDuration", Format("%d", static_cast<int>(g.m_qrsOffset) - g.m_qrsOnset));
  t.Attribute(e, "QTInterval", Format("%d", qt));
  if (rr_known) {
    t.Attribute(e, "QTcInterval", Format("%d", static_cast<int>(qt / std::sqrt(rr / 1000.0) + 0.5)));
  }
  t.Attribute(e, "PAxis", Format("%d", g.m_pAxis));
  t.Attribute(e, "QRSAxis", Format("%d", g.m_qrsAxis));
  t.Attribute(e, "TAxis", Format("%d", g.m_tAxis));
  return e;
}

bool CECGScpToXml::ExportToString(std::string& document) {
  bool readable = false;
  if (!Build(document, readable)) return false;
  if (!readable) return Fail(GetLastError() == kErrorSuccess ? kErrorInvalidData : GetLastError());
  return true;
}

bool CECGScpToXml::Export(const char* xml_path) {
  if (xml_path == nullptr) return Fail(kErrorInvalidParameter);
  m_xmlPath = xml_path;
  std::string document;
  bool readable = false;
  if (!Build(document, readable)) return false;
  const uint32_t read_error = GetLastError();
  if (!ReplaceFileContents(m_xmlPath, std::span<const uint8_t>(
                                          reinterpret_cast<const uint8_t*>(document.data()),
                                          document.size()))) {
    return false;
  }
  if (!readable) return Fail(read_error == kErrorSuccess ? kErrorInvalidData : read_error);
  return true;
}

bool ExportScpToXml(const char* scp_path, const char* xml_path) {
  if (scp_path == nullptr || xml_path == nullptr) return Fail(kErrorInvalidParameter);
  CECGScpToXml exporter(scp_path);
  return exporter.Export(xml_path);
}
