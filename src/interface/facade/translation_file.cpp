#include "interface/facade/translation_file.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <memory>

#include "platform/byte_stream.h"
#include "platform/last_error.h"

namespace ecg::facade {
namespace {

using ecg::platform::Fail;

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

bool IsElement(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* Child(const xmlNode* parent, const char* name) {
  for (const xmlNode* c = parent->children; c != nullptr; c = c->next) {
    if (IsElement(c, name)) return c;
  }
  return nullptr;
}

std::string Text(const xmlNode* node) {
  std::string out;
  for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
    if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content != nullptr) {
      out += reinterpret_cast<const char*>(c->content);
    }
  }
  return out;
}

std::string Attribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return {};
  std::string out(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return out;
}

}  // namespace

bool ParseTranslationFile(std::span<const uint8_t> bytes, TranslationTable& table) {
  table.clear();
  if (bytes.size() > kMaxTranslationFileBytes) return Fail(ecg::platform::kErrorOutOfMemory);
  if (bytes.empty()) return Fail(ecg::platform::kErrorInvalidData);
  std::unique_ptr<xmlDoc, DocFree> doc(
      xmlReadMemory(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                    "translation.ts", nullptr,
                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc) return Fail(ecg::platform::kErrorInvalidData);
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr || !IsElement(root, "TS")) return Fail(ecg::platform::kErrorInvalidData);

  TranslationTable result;
  size_t entries = 0;
  for (const xmlNode* context = root->children; context != nullptr; context = context->next) {
    if (!IsElement(context, "context")) continue;
    const xmlNode* name = Child(context, "name");
    if (name == nullptr) return Fail(ecg::platform::kErrorInvalidData);
    auto& messages = result[Text(name)];
    for (const xmlNode* message = context->children; message != nullptr; message = message->next) {
      if (!IsElement(message, "message")) continue;
      const xmlNode* source = Child(message, "source");
      if (source == nullptr) return Fail(ecg::platform::kErrorInvalidData);
      if (++entries > kMaxTranslationEntries) return Fail(ecg::platform::kErrorOutOfStructures);
      const xmlNode* translation = Child(message, "translation");
      if (translation == nullptr) continue;
      const std::string type = Attribute(translation, "type");
      if (type == "unfinished" || type == "obsolete" || type == "vanished") continue;
      std::string text = Text(translation);
      if (text.empty()) continue;
      messages[Text(source)] = std::move(text);
    }
  }
  table = std::move(result);
  ecg::platform::SetLastError(ecg::platform::kErrorSuccess);
  return true;
}

bool ReadTranslationFile(const std::string& path, TranslationTable& table) {
  table.clear();
  std::vector<uint8_t> bytes;
  if (!ecg::platform::ReadWholeFile(path, bytes, kMaxTranslationFileBytes)) return false;
  return ParseTranslationFile(bytes, table);
}

}  // namespace ecg::facade
