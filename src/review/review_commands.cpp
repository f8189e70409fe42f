#include "review/review_commands.h"

bool IsFrameCommand(ReviewCommand command) {
  switch (command) {
    case ReviewCommand::kExit:
    case ReviewCommand::kShowToolbar:
    case ReviewCommand::kShowMeasurementsPanel:
    case ReviewCommand::kShowControlPanel:
    case ReviewCommand::kShowReviewOptions:
    case ReviewCommand::kCascade:
    case ReviewCommand::kTile:
    case ReviewCommand::kFileClose:
      return true;
    default:
      return false;
  }
}

const std::vector<ReviewCommand>& AllReviewCommands() {
  static const std::vector<ReviewCommand> all = [] {
    std::vector<ReviewCommand> list;
    for (int c = static_cast<int>(ReviewCommand::kFileSave); c <= static_cast<int>(ReviewCommand::kPhysiciansGuide);
         ++c) {
      list.push_back(static_cast<ReviewCommand>(c));
    }
    return list;
  }();
  return all;
}
