// Reading an options file with libxml2's streaming text reader: every element
// named like a field, wherever it stands, sets that field.

#include <libxml/xmlreader.h>
#include <sys/stat.h>

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <memory>

#include "interface/options_fields.h"
#include "interface/options_xml.h"
#include "platform/byte_stream.h"
#include "platform/last_error.h"

namespace ecg::interface {

namespace {

#if LIBXML_VERSION >= 21200
using XmlErrorArg = const xmlError*;
#else
using XmlErrorArg = xmlErrorPtr;
#endif

struct ReaderFree {
  void operator()(xmlTextReader* r) const { xmlFreeTextReader(r); }
};

// The first error the parser reports, instead of its printing to stderr.
struct ParseError {
  bool seen = false;
  int line = 0;
  std::string text;
  // The first line of what went to the generic error channel (errors raised
  // before the reader exists, such as an unsupported encoding).
  std::string generic_text;
  bool generic_line_done = false;
};

void OnGenericError(void* context, const char* format, ...) {
  auto* parse_error = static_cast<ParseError*>(context);
  if (parse_error == nullptr || parse_error->generic_line_done) return;
  char piece[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(piece, sizeof piece, format, args);
  va_end(args);
  for (const char* c = piece; *c != '\0'; ++c) {
    if (*c == '\n' || parse_error->generic_text.size() >= 200) {
      parse_error->generic_line_done = true;
      break;
    }
    parse_error->generic_text += *c;
  }
}

// Routes this thread's generic libxml2 error output into a ParseError for the
// life of the guard, then restores whatever was installed before.
class GenericErrorGuard {
 public:
  explicit GenericErrorGuard(ParseError* sink)
      : saved_function_(xmlGenericError), saved_context_(xmlGenericErrorContext) {
    xmlSetGenericErrorFunc(sink, OnGenericError);
  }
  ~GenericErrorGuard() { xmlSetGenericErrorFunc(saved_context_, saved_function_); }
  GenericErrorGuard(const GenericErrorGuard&) = delete;
  GenericErrorGuard& operator=(const GenericErrorGuard&) = delete;

 private:
  xmlGenericErrorFunc saved_function_;
  void* saved_context_;
};

void OnParseError(void* context, XmlErrorArg error) {
  auto* parse_error = static_cast<ParseError*>(context);
  if (error == nullptr || parse_error->seen || error->level < XML_ERR_ERROR) return;
  parse_error->seen = true;
  parse_error->line = error->line;
  parse_error->text = error->message != nullptr ? error->message : "";
  while (!parse_error->text.empty() &&
         (parse_error->text.back() == '\n' || parse_error->text.back() == ' ')) {
    parse_error->text.pop_back();
  }
  for (char& c : parse_error->text) {
    if (c == '\n') c = ' ';
  }
}

OptionsReadResult& Failed(OptionsReadResult& result, uint32_t code, int line,
                          const std::string& why) {
  result.ok = false;
  result.error = code;
  result.line = line;
  result.message = line > 0 ? "line " + std::to_string(line) + ": " + why : why;
  platform::SetLastError(code);
  return result;
}

std::string NameOf(xmlTextReader* reader) {
  const xmlChar* name = xmlTextReaderConstName(reader);
  return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

int LineOf(xmlTextReader* reader) {
  xmlNode* node = xmlTextReaderCurrentNode(reader);
  long line = node != nullptr ? xmlGetLineNo(node) : -1;
  return line > 0 && line <= INT_MAX ? static_cast<int>(line) : 0;
}

// The next node; -1 once the parser has reported an error, even one it could
// recover from, so that nothing after the error is stored.
int Next(xmlTextReader* reader, const ParseError& parse_error) {
  int r = xmlTextReaderRead(reader);
  return parse_error.seen ? -1 : r;
}

// Collects the text of the field element the reader stands on and leaves the
// reader on its end. Returns 1 when done, 0 / -1 as xmlTextReaderRead does,
// or -2 with `why` set when the content is more than text.
int ReadFieldText(xmlTextReader* reader, const ParseError& parse_error, std::string& text,
                  std::string& why) {
  if (xmlTextReaderIsEmptyElement(reader) == 1) return 1;
  const int depth = xmlTextReaderDepth(reader);
  const std::string field = NameOf(reader);
  int r = 0;
  while ((r = Next(reader, parse_error)) == 1) {
    switch (xmlTextReaderNodeType(reader)) {
      case XML_READER_TYPE_TEXT:
      case XML_READER_TYPE_CDATA:
      case XML_READER_TYPE_WHITESPACE:
      case XML_READER_TYPE_SIGNIFICANT_WHITESPACE: {
        const xmlChar* value = xmlTextReaderConstValue(reader);
        if (value != nullptr) text += reinterpret_cast<const char*>(value);
        break;
      }
      case XML_READER_TYPE_END_ELEMENT:
        if (xmlTextReaderDepth(reader) == depth) return 1;
        break;
      case XML_READER_TYPE_ELEMENT:
        why = field + ": holds the element <" + NameOf(reader) + "> instead of a value";
        return -2;
      case XML_READER_TYPE_ENTITY_REFERENCE:
        why = field + ": holds the entity reference &" + NameOf(reader) + "; instead of a value";
        return -2;
      default:  // comments and processing instructions say nothing
        break;
    }
  }
  return r;
}

}  // namespace

OptionsReadResult ReadOptionsXml(std::span<const uint8_t> xml, CECGDefaultSettings& options) {
  OptionsReadResult result;
  if (xml.empty()) return Failed(result, platform::kErrorBadFormat, 0, "the file is empty");
  if (xml.size() > static_cast<size_t>(INT_MAX)) {
    return Failed(result, platform::kErrorOutOfMemory, 0, "the file is too large");
  }
  ParseError parse_error;
  GenericErrorGuard quiet(&parse_error);
  // No network, no external DTD, no entity substitution: the file's own
  // declarations never reach outside it.
  std::unique_ptr<xmlTextReader, ReaderFree> reader(
      xmlReaderForMemory(reinterpret_cast<const char*>(xml.data()), static_cast<int>(xml.size()),
                         nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_BIG_LINES));
  if (!reader) {
    return Failed(result, platform::kErrorOutOfMemory, 0, "no memory for an XML reader");
  }
  xmlTextReaderSetStructuredErrorHandler(reader.get(), OnParseError, &parse_error);

  int r = 0;
  while ((r = Next(reader.get(), parse_error)) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) continue;
    const OptionField* field = FindOptionField(NameOf(reader.get()));
    if (field == nullptr) continue;
    const int line = LineOf(reader.get());
    std::string text;
    std::string why;
    r = ReadFieldText(reader.get(), parse_error, text, why);
    if (r == -2) return Failed(result, platform::kErrorBadFormat, line, why);
    if (r != 1) break;
    if (!StoreOptionValue(options, *field, text, why)) {
      return Failed(result, platform::GetLastError(), line, why);
    }
    result.fields_read.push_back(field->name);
  }
  if (r != 0 || parse_error.seen) {
    std::string why = "malformed XML";
    if (!parse_error.text.empty()) {
      why += ": " + parse_error.text;
    } else if (!parse_error.generic_text.empty()) {
      why += ": " + parse_error.generic_text;
    }
    return Failed(result, platform::kErrorBadFormat, parse_error.line, why);
  }
  return result;
}

OptionsReadResult ReadOptionsFile(const std::string& path, CECGDefaultSettings& options) {
  OptionsReadResult result;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return Failed(result, platform::kErrorAccessDenied, 0, "it is a folder, not a file");
  }
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes, kMaxOptionsFileSize)) {
    uint32_t code = platform::GetLastError();
    std::string why = code == platform::kErrorOutOfMemory
                          ? "larger than an options file can be (" +
                                std::to_string(kMaxOptionsFileSize) + " bytes)"
                          : std::string(platform::ErrorMeaning(code));
    return Failed(result, code, 0, "cannot read the file: " + why);
  }
  return ReadOptionsXml(bytes, options);
}

}  // namespace ecg::interface
