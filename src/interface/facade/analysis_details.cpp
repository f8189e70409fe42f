#include "interface/facade/analysis_details.h"

#include <map>
#include <mutex>

#include "analysis/analysis.h"
#include "interface/facade/ecg_interface.h"
#include "platform/last_error.h"

namespace ecg::facade {
namespace {

struct Entry {
  int mode = 1;
  AnalysisDetails last;
};

std::mutex g_mutex;
std::map<const CECGInterface*, Entry>& Entries() {
  static auto* entries = new std::map<const CECGInterface*, Entry>();
  return *entries;
}

}  // namespace

void SetAnalysisMode(const CECGInterface& facade, int mode) {
  std::lock_guard<std::mutex> guard(g_mutex);
  Entries()[&facade].mode = mode == 2 ? 2 : 1;
}

int AnalysisMode(const CECGInterface& facade) {
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = Entries().find(&facade);
  return it != Entries().end() ? it->second.mode : 1;
}

AnalysisDetails LastAnalysisDetails(const CECGInterface& facade) {
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = Entries().find(&facade);
  return it != Entries().end() ? it->second.last : AnalysisDetails{};
}

void ForgetAnalysisDetails(const CECGInterface& facade) {
  std::lock_guard<std::mutex> guard(g_mutex);
  Entries().erase(&facade);
}

int16_t RunFacadeAnalysis(const CECGInterface& facade, const char* file) {
  CAnalysis analysis;
  const CECGDefaultSettings& options = facade.m_settings;
  analysis.m_interpretationOption = options.IncludeInterpretation ? 1 : 0;
  analysis.m_patientDataCheckOption = options.SuppressPatientDetailsWarning ? 0 : 1;
  analysis.m_codesOption = options.IncludeInterpretationCodes != 0 ? 1 : 0;
  platform::SetLastError(platform::kErrorSuccess);
  AnalysisDetails details;
  details.ran = true;
  details.result = analysis.CreateAnalysis(file, facade.m_language, AnalysisMode(facade) == 2);
  details.lastError = platform::GetLastError();
  details.libraryPath = analysis.LastLibraryPath();
  details.libraryError = analysis.LastLibraryError();
  details.decodeError = analysis.LastDecodeError();
  const int16_t result = details.result;
  std::lock_guard<std::mutex> guard(g_mutex);
  Entries()[&facade].last = std::move(details);
  return result;
}

}  // namespace ecg::facade
