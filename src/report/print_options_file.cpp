#include "report/print_options_file.h"

#include <libxml/xmlreader.h>
#include <libxml/xmlwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

#include "platform/byte_stream.h"
#include "platform/folders.h"
#include "platform/last_error.h"

namespace ecg::report {

namespace {

struct ReaderFree {
  void operator()(xmlTextReader* r) const { xmlFreeTextReader(r); }
};

void IgnoreGeneric(void*, const char*, ...) {}

// libxml2's generic error output stays off stderr while a file is parsed.
class QuietGenericErrors {
 public:
  QuietGenericErrors() : function_(xmlGenericError), context_(xmlGenericErrorContext) {
    xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
  }
  ~QuietGenericErrors() { xmlSetGenericErrorFunc(context_, function_); }
  QuietGenericErrors(const QuietGenericErrors&) = delete;
  QuietGenericErrors& operator=(const QuietGenericErrors&) = delete;

 private:
  xmlGenericErrorFunc function_;
  void* context_;
};

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool ParseInt(const std::string& raw, int* out) {
  const std::string text = Trim(raw);
  if (text.empty() || text.size() > 12) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == nullptr || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int>(v);
  return true;
}

bool ParseDouble(const std::string& raw, double* out) {
  std::string text = Trim(raw);
  if (text.empty() || text.size() > 40) return false;
  for (char& c : text) {
    if (c == ',') c = '.';
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
      return false;  // no "inf", "nan" or hexadecimal forms
    }
  }
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (errno != 0 || end == nullptr || *end != '\0' || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool ParseBool(const std::string& raw, bool* out) {
  std::string text = Trim(raw);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (text == "true") {
    *out = true;
    return true;
  }
  if (text == "false") {
    *out = false;
    return true;
  }
  return false;
}

// Applies one element's value; false when the value does not parse.
bool Apply(const std::string& name, const std::string& value, SPrintOptions* o) {
  int i = 0;
  double d = 0;
  bool b = false;
  if (name == "Report") {
    if (!ParseInt(value, &i)) return false;
    o->report_mask |= i;
  } else if (name == "Lead") {
    if (!ParseInt(value, &i)) return false;
    o->zoom_lead = i;
  } else if (name == "Scale") {
    if (!ParseDouble(value, &d)) return false;
    o->zoom_scale = d;
  } else if (name == "Speed") {
    if (!ParseDouble(value, &d)) return false;
    o->speed = d;
  } else if (name == "Sensitivity") {
    if (!ParseDouble(value, &d)) return false;
    o->sensitivity = d;
  } else if (name == "MinorGrid") {
    if (!ParseInt(value, &i)) return false;
    o->minor_grid = i;
  } else if (name == "Measurements") {
    if (!ParseBool(value, &b)) return false;
    o->measurements = b;
  } else if (name == "Interpretation") {
    if (!ParseBool(value, &b)) return false;
    o->interpretation = b;
  } else if (name == "Comments") {
    if (!ParseBool(value, &b)) return false;
    o->comments = b;
  } else if (name == "ShowPrintDialog") {
    if (!ParseBool(value, &b)) return false;
    o->show_print_dialog = b;
  } else if (name == "ReportTitle") {
    o->report_title = value;
  }
  return true;
}

bool IsValueElement(const std::string& name) {
  static const char* const kNames[] = {"Report",      "Lead",         "Scale",          "Speed",
                                       "Sensitivity", "MinorGrid",    "Measurements",   "Interpretation",
                                       "Comments",    "ShowPrintDialog", "ReportTitle"};
  for (const char* n : kNames) {
    if (name == n) return true;
  }
  return false;
}

// The shortest decimal text that reads back as the same double.
std::string FormatNumber(double v) {
  char buffer[64];
  // At least the integer digits, so that 10 is "10", not "1e+01".
  const double magnitude = std::fabs(v);
  const int digits = magnitude >= 1.0 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 1;
  for (int precision = std::min(std::max(1, digits), 17); precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, v);
    if (std::strtod(buffer, nullptr) == v) break;
  }
  return buffer;
}

}  // namespace

std::string DefaultPrintOptionsPath() {
  return platform::DocumentsFolder() + "/Tidemark/printoptions.xml";
}

bool ReadPrintOptionsBytes(const uint8_t* bytes, size_t size, SPrintOptions* options, std::string* error) {
  if (size > kMaxPrintOptionsBytes) {
    *error = "the file is larger than " + std::to_string(kMaxPrintOptionsBytes) + " bytes";
    return false;
  }
  if (size == 0) {
    *error = "the file is empty";
    return false;
  }
  QuietGenericErrors quiet;
  std::unique_ptr<xmlTextReader, ReaderFree> reader(
      xmlReaderForMemory(reinterpret_cast<const char*>(bytes), static_cast<int>(size), nullptr, nullptr,
                         XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS));
  if (!reader) {
    *error = "the XML parser could not start";
    return false;
  }
  int status = 0;
  while ((status = xmlTextReaderRead(reader.get())) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) continue;
    const xmlChar* raw_name = xmlTextReaderConstLocalName(reader.get());
    const std::string name = raw_name ? reinterpret_cast<const char*>(raw_name) : "";
    if (!IsValueElement(name)) continue;
    xmlChar* value = xmlTextReaderGetAttribute(reader.get(), BAD_CAST "value");
    if (value == nullptr) {
      *error = "element " + name + " has no \"value\" attribute";
      return false;
    }
    const std::string text = reinterpret_cast<const char*>(value);
    xmlFree(value);
    if (!Apply(name, text, options)) {
      *error = "element " + name + " has a value that does not parse: \"" + text.substr(0, 60) + "\"";
      return false;
    }
  }
  if (status != 0) {
    *error = "the file is not well-formed XML (line " + std::to_string(xmlTextReaderGetParserLineNumber(reader.get())) + ")";
    return false;
  }
  return true;
}

bool ReadPrintOptionsFile(const std::string& path, SPrintOptions* options, std::string* error) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[16384];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + n);
    if (bytes.size() > kMaxPrintOptionsBytes) break;
  }
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  if (read_error) {
    *error = "cannot read " + path;
    return false;
  }
  return ReadPrintOptionsBytes(bytes.data(), bytes.size(), options, error);
}

std::string PrintOptionsDocument(const SPrintOptions& o) {
  xmlBufferPtr buffer = xmlBufferCreate();
  if (buffer == nullptr) return {};
  xmlTextWriterPtr w = xmlNewTextWriterMemory(buffer, 0);
  if (w == nullptr) {
    xmlBufferFree(buffer);
    return {};
  }
  xmlTextWriterSetIndent(w, 1);
  xmlTextWriterSetIndentString(w, BAD_CAST "\t");
  xmlTextWriterStartDocument(w, nullptr, "UTF-8", nullptr);
  auto value = [&](const char* name, const std::string& v) {
    xmlTextWriterStartElement(w, BAD_CAST name);
    xmlTextWriterWriteAttribute(w, BAD_CAST "value", BAD_CAST v.c_str());
    xmlTextWriterEndElement(w);
  };
  auto flag = [](bool b) { return std::string(b ? "True" : "False"); };
  xmlTextWriterStartElement(w, BAD_CAST "PrintOptions");
  xmlTextWriterStartElement(w, BAD_CAST "Reports");
  for (int bit = 0; bit < 14; ++bit) {
    const int32_t type = int32_t{1} << bit;
    value("Report", std::to_string((o.report_mask & type) != 0 ? type : 0));
  }
  xmlTextWriterEndElement(w);
  xmlTextWriterStartElement(w, BAD_CAST "ZoomOptions");
  value("Lead", std::to_string(o.zoom_lead));
  value("Scale", FormatNumber(o.zoom_scale));
  xmlTextWriterEndElement(w);
  xmlTextWriterStartElement(w, BAD_CAST "ReportOptions");
  value("Speed", FormatNumber(o.speed));
  value("Sensitivity", FormatNumber(o.sensitivity));
  value("MinorGrid", std::to_string(o.minor_grid));
  value("Measurements", flag(o.measurements));
  value("Interpretation", flag(o.interpretation));
  value("Comments", flag(o.comments));
  value("ShowPrintDialog", flag(o.show_print_dialog));
  value("ReportTitle", o.report_title);
  xmlTextWriterEndElement(w);
  xmlTextWriterEndElement(w);
  xmlTextWriterEndDocument(w);
  xmlFreeTextWriter(w);
  std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)), static_cast<size_t>(xmlBufferLength(buffer)));
  xmlBufferFree(buffer);
  return text;
}

bool WritePrintOptionsFile(const std::string& path, const SPrintOptions& options, std::string* error) {
  const std::string text = PrintOptionsDocument(options);
  if (text.empty()) {
    *error = "out of memory while writing the document";
    return false;
  }
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  if (!platform::ReplaceFileContents(path, bytes)) {
    *error = "cannot write " + path + " (error " + std::to_string(platform::GetLastError()) + ")";
    return false;
  }
  return true;
}

}  // namespace ecg::report
