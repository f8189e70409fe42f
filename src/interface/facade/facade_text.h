#pragma once
// The facade's own texts and message boxes. Texts go through the
// translation lookup (context "CECGInterface") so a language module can
// replace them; message boxes go through the component's prompt.

#include <string>

#include "platform/prompt.h"

namespace ecg::facade {

std::string Text(const char* english);

// An "Error" message box with `english` (translated).
int ShowError(const char* english,
              ecg::platform::PromptButtons buttons = ecg::platform::PromptButtons::kOk);

// "Function not available", titled "Error".
void ShowNotAvailable();

// "<documents>/Tidemark/<name>"; the folder is made when missing.
std::string TidemarkFile(const char* name);

}  // namespace ecg::facade
