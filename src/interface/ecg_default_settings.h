#pragma once
// Every user option of the component in one record. The facade keeps the
// active options in one of these; every subsystem reads its options from it.
// Field names are also the element names of the options file.

#include <array>
#include <cstdint>
#include <string>

#include "interface/lead_tables.h"

class CECGDefaultSettings {
 public:
  // The defaults below; PowerFilterChoice follows g_iStillwaterVersion, which
  // the constructor may set from the host product's registry key.
  CECGDefaultSettings();
  CECGDefaultSettings(const CECGDefaultSettings& other) = default;
  CECGDefaultSettings& operator=(const CECGDefaultSettings& other) = default;
  // Forgets this record if it was the application's options record.
  ~CECGDefaultSettings();

  bool operator==(const CECGDefaultSettings& other) const = default;

  // The PowerFilterChoice default: 0 (50 Hz) when the host product family is
  // installed (g_iStillwaterVersion is 1), else 1 (60 Hz).
  static int32_t DefaultPowerFilterChoice();

  using LeadList = std::array<int16_t, CLeadTables::kLeadCount>;

  int32_t AmplitudeUnits = 0;               // 0 microvolts, 1 millimetres
  int32_t PowerFilter = 0;                  // power-line filter on when non-zero
  bool MuscleFilter = false;
  int32_t MeasurementSystem = 1;            // 0 metric (kg, cm), 1 imperial (lb, in)
  bool AllowReanalyse = true;               // review window offers re-analysis
  bool IncludeInterpretation = true;        // narrative interpretation included automatically
  bool SuppressPatientDetailsWarning = true;
  int32_t Port = 2;                         // cable port number (COMn)
  int32_t PlotStyle = 2;                    // 0 black on red, 1 green on black, 2 blue on grey
  int32_t GridStyle = 2;                    // 0 solid lines, 2 dotted lines, 5 no grid
  bool QRSBeep = true;
  bool LeadsOffBeep = true;
  bool MIDISound = false;                   // beeps through MIDI instead of wave sounds
  std::string ReportTitle = "ECG Report";
  LeadList CustomLeadGroup = CLeadTables::m_leadIds;  // lead identifiers
  int16_t CustomLeadGroupSize = 3;          // entries of CustomLeadGroup in use
  LeadList LeadOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};  // display indices
  int16_t RhythmStripLead = 1;              // lead identifier
  int32_t CreatePDF = 0;                    // "Save and Print" also creates a PDF
  int32_t Speed = 1;                        // 0 12.5, 1 25, 2 50 mm/s
  int32_t Sensitivity = 1;                  // 0 5, 1 10, 2 20 mm/mV
  int32_t AllowXMLExport = 0;
  int32_t PowerFilterChoice = 1;            // 0 50 Hz, 1 60 Hz
  int32_t ReviewGridStyle = 0;              // grid-style codes as GridStyle
  int32_t ReviewColor = 2;                  // colour codes as PlotStyle
  int32_t ShowDetails = 1;
  int32_t IncludeInterpretationCodes = 1;
  int32_t LeadGroup = 8;                    // index into CLeadTables::m_leadGroups
  int32_t QTCMethod = 0;                    // 0 Bazett, 1 Fridericia
};

namespace ecg::interface {

// The process-wide options record the application object points at: the
// facade points it at its active options; CECGOptions::ReadOptions and
// SaveOptions point it at the record they read or wrote. Null until set, and
// again once the record it points at is destroyed.
CECGDefaultSettings* ApplicationOptions();
void SetApplicationOptions(CECGDefaultSettings* options);

}  // namespace ecg::interface
