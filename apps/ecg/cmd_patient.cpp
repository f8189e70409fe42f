// ecg patient: the component facade's patient dialog over its default patient,
// printing what was entered; --screenshot renders it to a PNG instead.

#include <cstdio>
#include <string>

#include "commands.h"
#include "gui_program.h"
#include "host_windows.h"
#include "interface/facade/ecg_interface.h"
#include "interface/facade/patient_info.h"
#include "interface/patient_block.h"

namespace ecg::app {

namespace {

constexpr const char* kPatientHelp =
    "Usage: ecg patient [--metric | --imperial] [--screenshot OUT.png]\n\n"
    "Opens the patient details dialog over the default patient (Quick Test) and,\n"
    "on OK, prints the patient block as the dialog left it.\n\n"
    "  --metric          heights in cm and weights in kg\n"
    "  --imperial        feet and inches, pounds (the default, as the options)\n"
    "  --screenshot F    render the dialog to the PNG file F and exit (offscreen\n"
    "                    when there is no display)\n\n"
    "Exit code: 0 done (also when the dialog was cancelled); 2 bad usage, no\n"
    "display to show the dialog on, or the picture cannot be written.\n";

void PrintBlock(const ecg::interface::PatientBlock& block) {
  const auto text = [](const auto& field) { return std::string(ecg::interface::PatientText(field)); };
  std::printf("Patient ID:    %s\n", text(block.patientId).c_str());
  std::printf("First name:    %s\n", text(block.firstName).c_str());
  std::printf("Last name:     %s\n", text(block.lastName).c_str());
  std::printf("Height:        %.2f cm\n", block.height);
  std::printf("Weight:        %.3f kg\n", block.weight);
  std::printf("Gender:        %d (%s)\n", block.gender,
              block.gender == 1 ? "male" : block.gender == 2 ? "female" : "unknown");
  std::printf("Date of birth: %04d-%02d-%02d\n", block.yearOfBirth, block.monthOfBirth,
              block.dayOfBirth);
}

}  // namespace

int RunPatient(const Args& args) {
  int units = ecg::interface::kImperialUnits;
  std::string screenshot;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kPatientHelp, stdout);
      return kExitOk;
    }
    if (a == "--metric") {
      units = 0;
    } else if (a == "--imperial") {
      units = ecg::interface::kImperialUnits;
    } else if (a == "--screenshot") {
      if (i + 1 >= args.size()) {
        std::fputs("ecg patient: --screenshot needs a file name\n", stderr);
        return kExitUsage;
      }
      screenshot = args[++i];
    } else {
      std::fprintf(stderr, "ecg patient: unknown argument '%s'\n\n%s", a.c_str(), kPatientHelp);
      return kExitUsage;
    }
  }
  if (!HasDisplay() && screenshot.empty()) {
    std::fputs("ecg patient: no display to show the dialog on (use --screenshot)\n", stderr);
    return kExitUsage;
  }
  UseOffscreenWithoutDisplay();
  GuiProgram program;
  HostWindowRequests requests;
  requests.patientPicture = screenshot;
  HostWindows windows(requests);

  // The component's patient dialog over the facade's patient members.
  CECGInterface facade;
  facade.SetMeasurementUnits(units == ecg::interface::kImperialUnits ? kImperial : kMetric);
  const int result = facade.PatientInfoDialog();
  if (!screenshot.empty()) {
    return PictureOutcome(windows, "patient", screenshot);
  }
  if (result != 1) {
    std::puts("Cancelled: the patient block is unchanged.");
    return kExitOk;
  }
  PrintBlock(ecg::facade::PatientBlockOf(facade));
  return kExitOk;
}

}  // namespace ecg::app
