#pragma once
// Reads the record the engine is given and writes the results back into it
// through the project's record writer.
//
// Reading: Sections 0, 1, 3 and 6; the limb leads III, aVR, aVL and aVF the
// record lacks are calculated from I and II (I or II themselves from the
// other and III when one of them is missing). Writing: Section 1 with the
// findings as the interpretation, Sections 3 and 6 with the analysed leads
// (the calculated ones included), 4, 5, 7, 9 (when the record has been
// interpreted) and 10 from the analysis, every other section of the record
// byte for byte. The
// whole record is built in memory and replaces the file in one step, so a
// failure leaves the file as it was.

#include <cstdint>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"
#include "engine/interpretation.h"
#include "engine/result_codes.h"
#include "scp/writer.h"

namespace ecg::engine {

class CAnalysisResultWriter : public CWriter {
 public:
  EngineStatus ReadRecord(const char* path, EcgSignal& signal);
  EngineStatus WriteResults(const char* path, const EcgSignal& signal, const AnalysisResult& result);
  // Sex and age as Section 1 states them (age at the acquisition date).
  PatientFacts Patient() const;

 private:
  bool ReadSection(uint16_t id);
  bool StoreMedians(const AnalysisResult& result);
};

// The engine's name and version as it signs the records it writes.
const char16_t* EngineApplicationName();
const char16_t* EngineVersionText();

}  // namespace ecg::engine
