#include "interface/facade/facade_text.h"

#include <QCoreApplication>

#include "platform/folders.h"

namespace ecg::facade {

std::string Text(const char* english) {
  return QCoreApplication::translate("CECGInterface", english).toStdString();
}

int ShowError(const char* english, ecg::platform::PromptButtons buttons) {
  return ecg::platform::ShowMessage(Text(english), Text("Error"), buttons,
                                    ecg::platform::PromptIcon::kError);
}

void ShowNotAvailable() { ShowError("Function not available"); }

std::string TidemarkFile(const char* name) {
  std::string folder = ecg::platform::TidemarkFolder();
  if (folder.empty()) folder = ecg::platform::DocumentsFolder() + "/Tidemark";
  return folder + "/" + name;
}

}  // namespace ecg::facade
