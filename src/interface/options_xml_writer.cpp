// The options file's text, made with libxml2's text writer in memory so that
// the file itself is replaced whole or not at all.

#include <libxml/xmlwriter.h>

#include <memory>

#include "interface/options_fields.h"
#include "interface/options_xml.h"
#include "platform/last_error.h"

namespace ecg::interface {

namespace {

struct BufferFree {
  void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
};
struct WriterFree {
  void operator()(xmlTextWriter* w) const { xmlFreeTextWriter(w); }
};

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

// True when the text is UTF-8 made only of characters XML 1.0 allows: the
// writer would otherwise put out a file that no reader accepts.
bool IsXmlText(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    uint32_t c = 0;
    size_t n = 0;
    if (b < 0x80) {
      c = b;
      n = 1;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      n = 2;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      n = 3;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      n = 4;
    } else {
      return false;
    }
    if (i + n > text.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      auto cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) return false;
      c = (c << 6) | (cont & 0x3F);
    }
    static constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n]) return false;  // overlong form
    bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                   (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
    if (!allowed) return false;
    i += n;
  }
  return true;
}

bool WriteTree(xmlTextWriter* w, const CECGDefaultSettings& options) {
  if (xmlTextWriterSetIndent(w, 1) < 0) return false;
  if (xmlTextWriterSetIndentString(w, X("\t")) < 0) return false;
  if (xmlTextWriterWriteComment(w, X("ECG acquisition and review default options.")) < 0) {
    return false;
  }
  if (xmlTextWriterStartElement(w, X("root")) < 0) return false;
  if (xmlTextWriterStartElement(w, X("ECGOptions")) < 0) return false;
  for (const auto& group : OptionsFileLayout()) {
    bool grouped = !group.name.empty();
    if (grouped && xmlTextWriterStartElement(w, X(std::string(group.name).c_str())) < 0) {
      return false;
    }
    for (std::string_view name : group.fields) {
      const OptionField* field = FindOptionField(name);
      if (field == nullptr) return false;
      std::string value = FormatOptionValue(options, *field);
      if (xmlTextWriterWriteElement(w, X(std::string(name).c_str()), X(value.c_str())) < 0) {
        return false;
      }
    }
    if (grouped && xmlTextWriterEndElement(w) < 0) return false;
  }
  if (xmlTextWriterEndElement(w) < 0) return false;  // ECGOptions
  if (xmlTextWriterEndElement(w) < 0) return false;  // root
  return xmlTextWriterEndDocument(w) >= 0;
}

}  // namespace

bool WriteOptionsXml(const CECGDefaultSettings& options, std::string& xml, std::string& message) {
  if (!IsXmlText(options.ReportTitle)) {
    message = "The report title holds characters that an XML file cannot carry.";
    return platform::Fail(platform::kErrorInvalidData);
  }
  std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
  bool ok = false;
  if (buffer) {
    std::unique_ptr<xmlTextWriter, WriterFree> writer(xmlNewTextWriterMemory(buffer.get(), 0));
    ok = writer && WriteTree(writer.get(), options);
    // Freeing the writer flushes what it still holds into the buffer.
  }
  if (!ok) {
    message = "The options could not be put into XML form (out of memory).";
    return platform::Fail(platform::kErrorOutOfMemory);
  }
  xml.assign(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
             static_cast<size_t>(xmlBufferLength(buffer.get())));
  return true;
}

}  // namespace ecg::interface
