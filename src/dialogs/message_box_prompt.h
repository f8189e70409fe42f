#pragma once
// The platform prompt as Qt message boxes, for programs that open windows.

#include "platform/prompt.h"

class QWidget;

namespace ecg::dialogs {

class MessageBoxPrompt final : public ecg::platform::Prompt {
 public:
  // Boxes are shown over the active window, else over `parent` (may be null).
  explicit MessageBoxPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
  int Show(std::string_view text, std::string_view caption, ecg::platform::PromptButtons buttons,
           ecg::platform::PromptIcon icon) override;

 private:
  QWidget* m_parent;
};

}  // namespace ecg::dialogs
