#include "interface/ecg_options.h"

#include <span>
#include <string>

#include "interface/options_xml.h"
#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "platform/prompt.h"

namespace {

bool ShowWriteError(const std::string& message) {
  ecg::platform::LastErrorKeeper keep;
  ecg::platform::ShowMessage(message, "Write XML Error", ecg::platform::PromptButtons::kOk,
                             ecg::platform::PromptIcon::kError);
  return false;
}

}  // namespace

bool CECGOptions::ReadOptions(const char* path) {
  ecg::interface::SetApplicationOptions(this);
  if (path == nullptr || *path == '\0') {
    return ecg::platform::Fail(ecg::platform::kErrorInvalidParameter);
  }
  return ecg::interface::ReadOptionsFile(path, *this).ok;
}

bool CECGOptions::SaveOptions(const char* path) {
  using namespace ecg::platform;
  if (path == nullptr || *path == '\0') {
    SetLastError(kErrorInvalidParameter);
    return ShowWriteError("No options file was named.");
  }
  std::string xml;
  std::string message;
  if (!ecg::interface::WriteOptionsXml(*this, xml, message)) return ShowWriteError(message);
  if (!ReplaceFileContents(path, std::span<const uint8_t>(
                                     reinterpret_cast<const uint8_t*>(xml.data()), xml.size()))) {
    uint32_t code = GetLastError();
    return ShowWriteError("Could not write the options file \"" + std::string(path) + "\": " +
                          std::string(ErrorMeaning(code)) + " (error " + std::to_string(code) +
                          ").");
  }
  ecg::interface::SetApplicationOptions(this);
  return true;
}
