#pragma once
// Messages to the user (what message boxes were). Windows install a Qt
// implementation; tests and headless runs install ScriptedPrompt, which
// answers from a queue and records every text it was shown. Without either,
// messages go to standard error and get the default answer.

#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace ecg::platform {

enum class PromptButtons { kOk, kOkCancel, kRetryCancel, kYesNo, kYesNoCancel };
enum class PromptIcon { kNone, kInformation, kWarning, kError, kQuestion };

// Answers carry the numbers hosts know from message boxes.
enum PromptAnswer : int {
  kAnswerOk = 1,
  kAnswerCancel = 2,
  kAnswerRetry = 4,
  kAnswerYes = 6,
  kAnswerNo = 7,
};

class Prompt {
 public:
  virtual ~Prompt() = default;
  // Shows `text` under `caption` (UTF-8) and returns the answer.
  virtual int Show(std::string_view text, std::string_view caption, PromptButtons buttons,
                   PromptIcon icon) = 0;
};

// The answer a dialog gives when its default button is taken.
int DefaultAnswer(PromptButtons buttons);

// Prints to standard error and answers with the default.
class ConsolePrompt final : public Prompt {
 public:
  int Show(std::string_view text, std::string_view caption, PromptButtons buttons,
           PromptIcon icon) override;
};

// Answers from a queue (the default answer once it runs dry) and keeps a
// record of everything shown. Safe to call from several threads.
class ScriptedPrompt final : public Prompt {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    PromptButtons buttons;
    PromptIcon icon;
  };

  void QueueAnswer(int answer);
  int Show(std::string_view text, std::string_view caption, PromptButtons buttons,
           PromptIcon icon) override;
  std::vector<Shown> shown() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<Shown> shown_;
};

// The process-wide prompt (never null: a ConsolePrompt until one is set).
Prompt& CurrentPrompt();
// Installs `prompt` (not owned; null restores the console prompt) and returns
// the one it replaced.
Prompt* SetPrompt(Prompt* prompt);

// Shorthand for CurrentPrompt().Show(...).
int ShowMessage(std::string_view text, std::string_view caption,
                PromptButtons buttons = PromptButtons::kOk, PromptIcon icon = PromptIcon::kNone);

// Restores the previous prompt when it leaves scope.
class ScopedPrompt {
 public:
  explicit ScopedPrompt(Prompt* prompt) : previous_(SetPrompt(prompt)) {}
  ~ScopedPrompt() { SetPrompt(previous_); }
  ScopedPrompt(const ScopedPrompt&) = delete;
  ScopedPrompt& operator=(const ScopedPrompt&) = delete;

 private:
  Prompt* previous_;
};

}  // namespace ecg::platform
