#pragma once
// What a program hosting the facade may set for its analyses, and learn of
// them, beyond what the operations carry: the mode handed to the analysis
// library (1 the standard statement set, 2 the extended one) and, of the
// facade's last analysis run, the library it loaded and why loading or
// reading the record failed. Kept beside each facade instance; a copy starts
// with mode 1 and no details.

#include <cstdint>
#include <string>

class CAnalysis;
class CECGInterface;

namespace ecg::facade {

struct AnalysisDetails {
  bool ran = false;             // false before the facade's first analysis run
  int16_t result = 0;           // the run's result code
  std::string libraryPath;      // the analysis library the run loaded
  std::string libraryError;     // why loading it failed
  std::string decodeError;      // why a record from another system could not be read
  uint32_t lastError = 0;       // the system error the run ended with
};

void SetAnalysisMode(const CECGInterface& facade, int mode);
int AnalysisMode(const CECGInterface& facade);
AnalysisDetails LastAnalysisDetails(const CECGInterface& facade);
// Called as the facade goes.
void ForgetAnalysisDetails(const CECGInterface& facade);

// The facade's analysis run: the options' interpretation, patient-check and
// code flags, the facade's language and mode; the details are kept.
int16_t RunFacadeAnalysis(const CECGInterface& facade, const char* file);

}  // namespace ecg::facade
