#include "platform/prompt.h"

#include <atomic>
#include <cstdio>

namespace ecg::platform {

namespace {
ConsolePrompt g_console_prompt;
std::atomic<Prompt*> g_prompt{nullptr};
}  // namespace

int DefaultAnswer(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::kOk:
    case PromptButtons::kOkCancel: return kAnswerOk;
    case PromptButtons::kRetryCancel: return kAnswerRetry;
    case PromptButtons::kYesNo:
    case PromptButtons::kYesNoCancel: return kAnswerYes;
  }
  return kAnswerOk;
}

int ConsolePrompt::Show(std::string_view text, std::string_view caption, PromptButtons buttons,
                        PromptIcon) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
  // Nobody can answer on a console prompt; Retry would loop forever.
  return buttons == PromptButtons::kRetryCancel ? kAnswerCancel : DefaultAnswer(buttons);
}

void ScriptedPrompt::QueueAnswer(int answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

int ScriptedPrompt::Show(std::string_view text, std::string_view caption, PromptButtons buttons,
                         PromptIcon icon) {
  std::lock_guard lock(mutex_);
  shown_.push_back({std::string(text), std::string(caption), buttons, icon});
  if (answers_.empty()) return DefaultAnswer(buttons);
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<ScriptedPrompt::Shown> ScriptedPrompt::shown() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

void ScriptedPrompt::Clear() {
  std::lock_guard lock(mutex_);
  shown_.clear();
  answers_.clear();
}

Prompt& CurrentPrompt() {
  Prompt* prompt = g_prompt.load();
  return prompt != nullptr ? *prompt : g_console_prompt;
}

Prompt* SetPrompt(Prompt* prompt) { return g_prompt.exchange(prompt); }

int ShowMessage(std::string_view text, std::string_view caption, PromptButtons buttons,
                PromptIcon icon) {
  return CurrentPrompt().Show(text, caption, buttons, icon);
}

}  // namespace ecg::platform
