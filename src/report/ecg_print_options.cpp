// CECGPrint::ReadOptions and SaveOptions: the print options file of
// print_options_file.h applied to and taken from the engine.

#include <filesystem>
#include <system_error>

#include "platform/prompt.h"
#include "report/ecg_print.h"
#include "report/print_options_file.h"
#include "report/report_text.h"

using namespace ecg::report;

namespace {

SPrintOptions FromEngine(const CECGPrint& e) {
  SPrintOptions o;
  o.report_mask = e.m_reportMask;
  o.zoom_lead = e.m_zoomLead;
  o.zoom_scale = e.m_zoomScale;
  o.speed = e.m_speed;
  o.sensitivity = e.m_sensitivity;
  o.minor_grid = e.m_minorGrid;
  o.measurements = e.m_printMeasurements;
  o.interpretation = e.m_printInterpretation;
  o.comments = e.m_printComments;
  o.show_print_dialog = e.m_showPrintDialog;
  o.report_title = e.m_reportTitle.toStdString();
  return o;
}

void ToEngine(const SPrintOptions& o, CECGPrint& e) {
  e.m_reportMask = o.report_mask;
  e.m_zoomLead = o.zoom_lead;
  e.m_zoomScale = o.zoom_scale;
  e.m_speed = o.speed;
  e.m_sensitivity = o.sensitivity;
  e.m_minorGrid = o.minor_grid;
  e.m_printMeasurements = o.measurements;
  e.m_printInterpretation = o.interpretation;
  e.m_printComments = o.comments;
  e.m_showPrintDialog = o.show_print_dialog;
  e.m_reportTitle = QString::fromStdString(o.report_title);
}

}  // namespace

bool CECGPrint::ReadOptions(const std::string& path) {
  SPrintOptions options = FromEngine(*this);
  std::string error;
  const bool ok = ReadPrintOptionsFile(path, &options, &error);
  ToEngine(options, *this);  // what was read before an error stays applied
  return ok;
}

bool CECGPrint::SaveOptions(const std::string& path) {
  std::string error;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ignored;
  if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
  if (WritePrintOptionsFile(path, FromEngine(*this), &error)) return true;
  ecg::platform::ShowMessage(error, Tr("Write XML Error").toStdString(), ecg::platform::PromptButtons::kOk,
                             ecg::platform::PromptIcon::kError);
  return false;
}
