#include "interface/facade/language_module.h"

#include <QCoreApplication>
#include <QPointer>
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <sys/stat.h>

#include "platform/folders.h"

#ifndef ECG_BUILD_TRANSLATIONS_DIR
#define ECG_BUILD_TRANSLATIONS_DIR ""
#endif

namespace ecg::facade {
namespace {

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindTranslationFile(const std::string& base) {
  const std::string file = base + ".ts";
  std::vector<std::string> folders = {ecg::platform::ModuleFolder() + "/translations"};
  if (const char* list = std::getenv("ECG_LIBRARY_PATH"); list != nullptr) {
    std::stringstream in(list);
    std::string folder;
    while (std::getline(in, folder, ':')) {
      if (!folder.empty()) {
        folders.push_back(folder);
        folders.push_back(folder + "/translations");
      }
    }
  }
  if (*ECG_BUILD_TRANSLATIONS_DIR != '\0') folders.emplace_back(ECG_BUILD_TRANSLATIONS_DIR);
  for (const std::string& folder : folders) {
    if (FileExists(folder + "/" + file)) return folder + "/" + file;
  }
  return {};
}

std::mutex g_mutex;
std::map<std::string, std::unique_ptr<LanguageModule>>& Loaded() {
  static auto* modules = new std::map<std::string, std::unique_ptr<LanguageModule>>();
  return *modules;
}

}  // namespace

std::string LanguageModuleName(const std::string& registry_value) {
  std::string name = registry_value;
  const size_t at = name.find("Stillwater");
  if (at != std::string::npos) name.replace(at, 10, "ECG");
  return name + ".dll";
}

int32_t LanguageCodeOfModule(const std::string& module_name) {
  static constexpr std::array<const char*, 6> kNames = {"ECGFra.dll", "ECGDeu.dll", "ECGIta.dll",
                                                         "ECGEsp.dll", "ECGPtg.dll", "ECGJpn.dll"};
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (module_name == kNames[i]) return static_cast<int32_t>(i + 1);
  }
  return 1;
}

QString LanguageModule::translate(const char* context, const char* source, const char*,
                                  int) const {
  if (context == nullptr || source == nullptr) return {};
  const auto c = table_.find(context);
  if (c == table_.end()) return {};
  const auto m = c->second.find(source);
  return m == c->second.end() ? QString() : QString::fromStdString(m->second);
}

LanguageModule* LoadLanguageModule(const std::string& module_name) {
  std::lock_guard<std::mutex> guard(g_mutex);
  auto& loaded = Loaded();
  if (auto it = loaded.find(module_name); it != loaded.end()) return it->second.get();
  std::string base = module_name;
  if (base.size() > 4 && base.compare(base.size() - 4, 4, ".dll") == 0) base.resize(base.size() - 4);
  const std::string path = FindTranslationFile(base);
  if (path.empty()) return nullptr;
  auto module = std::make_unique<LanguageModule>();
  if (!ReadTranslationFile(path, module->table_)) return nullptr;
  module->name_ = module_name;
  module->path_ = path;
  return loaded.emplace(module_name, std::move(module)).first->second.get();
}

namespace {
// One application at a time in a process; which one holds each module.
std::map<LanguageModule*, QPointer<QCoreApplication>>& Installed() {
  static auto* installed = new std::map<LanguageModule*, QPointer<QCoreApplication>>();
  return *installed;
}
}  // namespace

void RemoveLanguageModule(LanguageModule* module) {
  if (module == nullptr) return;
  std::lock_guard<std::mutex> guard(g_mutex);
  Installed().erase(module);
  if (QCoreApplication::instance() != nullptr) QCoreApplication::removeTranslator(module);
}

void InstallLanguageModule(LanguageModule* module) {
  if (module == nullptr) return;
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;
  std::lock_guard<std::mutex> guard(g_mutex);
  QPointer<QCoreApplication>& holder = Installed()[module];
  if (holder == app) return;
  QCoreApplication::installTranslator(module);
  holder = app;
}

}  // namespace ecg::facade
