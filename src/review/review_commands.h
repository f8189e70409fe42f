#pragma once
// The commands of the review frame's menus, toolbar and control panel. The
// frame routes each to the active view, except the few it handles itself.

#include <QString>
#include <vector>

enum class ReviewCommand {
  // File
  kFileSave, kPrinterSetup, kPrint, kPrintPreview, kPrintToFile, kExportXml, kFileClose, kExit,
  // View
  kView12Lead, kViewStrips, kViewZoom, kViewDetails, kRhythmTop, kRhythmBottom, kZoomIn, kZoomOut,
  kNextLead, kPreviousLead, kShowMeasurements, kShowGrid, kShowAveraged,
  kShowToolbar, kShowMeasurementsPanel, kShowControlPanel, kShowReviewOptions,
  // ECG Options
  kCursorZoom, kCursorMeasure, kUnitsMillimetres, kUnitsMicrovolts, kFilterMuscle, kPower50, kPower60,
  kSpeed12_5, kSpeed25, kSpeed50, kSensitivity5, kSensitivity10, kSensitivity20,
  kEditLeadOrder, kRemoveAnalysis, kReanalyse,
  // Window, Help
  kCascade, kTile, kAbout, kUserManual, kPhysiciansGuide,
};

// Handled by the frame rather than a view.
bool IsFrameCommand(ReviewCommand command);

// Whether, and how, a command is offered for the active view.
struct CommandState {
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
};

// Every command, for menus and tests.
const std::vector<ReviewCommand>& AllReviewCommands();
