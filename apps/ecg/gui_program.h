#pragma once
// What the window commands of the ecg program share: whether a display is
// there, Qt's offscreen platform when none is, the application object, and
// who answers the component's questions.

#include <QApplication>

#include "dialogs/message_box_prompt.h"
#include "platform/prompt.h"

namespace ecg::app {

// True when DISPLAY or WAYLAND_DISPLAY names a display.
bool HasDisplay();
// Chooses Qt's offscreen platform when there is no display and the user has
// not chosen a platform (QT_QPA_PLATFORM).
void UseOffscreenWithoutDisplay();

// The program's QApplication, named "ecg". When a person is there to answer
// (by default: when there is a display) the component's questions are message
// boxes; otherwise they go to standard error and take their default answer
// (Cancel for Retry).
class GuiProgram {
 public:
  explicit GuiProgram(bool interactive = HasDisplay())
      : app_(argc_, argv_),
        prompt_(interactive ? static_cast<ecg::platform::Prompt*>(&message_boxes_) : &console_) {}

 private:
  int argc_ = 1;
  char name_[4] = "ecg";
  char* argv_[2] = {name_, nullptr};
  QApplication app_;
  ecg::dialogs::MessageBoxPrompt message_boxes_;
  ecg::platform::ConsolePrompt console_;
  ecg::platform::ScopedPrompt prompt_;
};

}  // namespace ecg::app
