#pragma once
// The host product's language module. The host names it in the registry
// value "StillwaterLanguage" (e.g. "StillwaterDeu"); "Stillwater" becomes
// "ECG" and ".dll" is added, giving the component's module "ECGDeu.dll".
// Here a language module is a translation file of the component's texts,
// "<name>.ts" (ECGDeu.ts), looked for in the "translations" folder beside
// the component, then in each folder of $ECG_LIBRARY_PATH, then in the build
// tree's data/translations. Once loaded it stays loaded for the process and
// is installed into the Qt application whenever the component runs.

#include <QTranslator>
#include <cstdint>
#include <string>

#include "interface/facade/translation_file.h"

namespace ecg::facade {

// "StillwaterDeu" -> "ECGDeu.dll".
std::string LanguageModuleName(const std::string& registry_value);
// The language code of a module name: ECGFra 1, ECGDeu 2, ECGIta 3, ECGEsp 4,
// ECGPtg 5, ECGJpn 6; any other name 1 (a foreign module, as French).
int32_t LanguageCodeOfModule(const std::string& module_name);

class LanguageModule final : public QTranslator {
 public:
  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }
  bool isEmpty() const override { return table_.empty(); }
  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override;

 private:
  friend LanguageModule* LoadLanguageModule(const std::string& module_name);
  std::string name_;
  std::string path_;
  TranslationTable table_;
};

// Loads (once per process) the module named "ECGxxx.dll"; null when no
// translation file of that name is found or it cannot be read.
LanguageModule* LoadLanguageModule(const std::string& module_name);

// Makes `module` the source of the component's texts in the running Qt
// application (if one runs and the module is not installed yet).
void InstallLanguageModule(LanguageModule* module);

// Takes the module out of the running application again (tests).
void RemoveLanguageModule(LanguageModule* module);

// While it lives, the component's texts come from the component: its
// language module is installed in the application.
class ScopedModuleState {
 public:
  explicit ScopedModuleState(void* language_module) {
    InstallLanguageModule(static_cast<LanguageModule*>(language_module));
  }
};

}  // namespace ecg::facade
