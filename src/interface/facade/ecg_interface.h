#pragma once
// CECGInterface: the one class a native host sees. A host gets an instance
// from CreateECGInterface(), drives it through the virtual operations below
// (record, review, print, analyse, export, options, patient data) and gives
// it back with DestroyECGInterface(). The virtual operations keep the order
// of the component's virtual table, so hosts built against this header call
// the slots they expect.
//
// Strings are zero-terminated UTF-8; a "file" argument is the path of an
// SCP-ECG record. No exception leaves an operation: failures are the return
// values, and what a person must see goes through the component's prompt
// (message boxes).

#include <cstdint>
#include <string>

#include "interface/ecg_options.h"
#include "platform/clock.h"

#if defined(__GNUC__)
#define ECG_EXPORT __attribute__((visibility("default")))
#else
#define ECG_EXPORT
#endif

class CECGPrint;

// What a recording ended with.
enum tTestResult : int32_t {
  kTestNotSaved = 0,          // ended without saving (or no report engine)
  kTestSaved = 1,             // saved, window closed with OK
  kTestSavedReview = 2,       // saved, review requested
  kTestSavedPrint = 3,        // saved, print requested
  kTestSavedPrintPdf = 4,     // saved, print requested with PDF creation on
  kTestNoCable = 5,           // no cable found and the user cancelled
};

// 4: the record could not be opened for update; 15: not analysed, 6 leads
// or fewer; anything else: the analysis run's own result (0 analysed).
enum tAnalysisResult : int32_t {
  kAnalysisStored = 0,
  kAnalysisCannotOpen = 4,
  kAnalysisTooFewLeads = 15,
};

// The confirmation status byte of the record's general information.
enum tConfirmedStatus : int32_t {
  kNotConfirmed = 0,
  kConfirmed = 1,
};

enum tMeasurementUnits : int32_t {
  kMetric = 0,
  kImperial = 1,
};

class ECG_EXPORT CECGInterface {
 public:
  enum PrintFileTypes : int32_t { kPrintDefault = 0, kPrintJpeg = 1, kPrintTiff = 2 };

  CECGInterface();
  CECGInterface(const CECGInterface& other);
  CECGInterface& operator=(const CECGInterface& other);
  virtual ~CECGInterface();

  // Returns 1; nothing else.
  static int Initialize();

  // ---- virtual operations, in slot order
  virtual int Release();
  virtual int Review(const char* file, int readOnly, int noWait);
  virtual int Options();
  virtual tTestResult ReviewRecordedECG(const char* file, const char* other);
  virtual tTestResult Test(const char* file);
  virtual int AddReport(const char* file);
  virtual void ClearReports();
  virtual int PrintPreview();
  virtual int Print();
  virtual int ChoosePrinter();
  virtual int PrintToFile(const char* path);
  virtual int PrintToFile();
  virtual int PrintSCPFileToFile(const char* file);
  virtual int ShowPrintOptionsDialog(bool printSetup, int leads, bool apply);
  virtual int ReadPrintOptions(const char* path);
  virtual int SavePrintOptions(const char* path);
  virtual int ReadOptions(const char* path);
  virtual int SaveOptions(const char* path);
  virtual void GetVersion(char* buffer, int count);
  virtual int PatientInfoDialog();
  virtual int ExportToXml(const char* file, const char* xmlFile);
  virtual double GetHeight();
  virtual double GetWeight();
  virtual tConfirmedStatus GetConfirmedStatus(const char* file);
  virtual void SetMeasurementUnits(tMeasurementUnits units);
  virtual void UpdateScpPatient(const char* file);
  virtual bool ReviewHL7();
  virtual int SaveTest(const std::string& file, bool analyse);
  virtual tAnalysisResult Analyse(const char* file, bool updatePatient);
  virtual void SetReportFooter(const char* text);
  virtual void SetReportApplicationVersion(const char* text);
  virtual void SetImagePath(const char* path);
  virtual void SetPDFFileName(const char* name);
  virtual ecg::platform::SystemTime GetTestTime(const char* file);
  virtual int GetNumberOfReviewWindows();
  virtual void AboutBox();
  virtual void DisableOpenMenu();
  virtual void CreatePDFFileWithSCPName();
  virtual void DoNotBringUpAdobe();
  virtual void AddSaveandGeneratePDFButtonToReviewWindow();
  virtual void CloseAfterPDF();
  virtual void DisableOptionsBrowse();
  virtual std::string GetECGComponentVersion(const char* modulePath);
  virtual void SetPrintType(PrintFileTypes type);
  virtual void DisableExportToXMLMenu();
  virtual void EnableExportToXMLMenu();
  virtual bool ReceivePelluxFile(const char* file);
  virtual void RemoveHelpMenu();
  virtual void RemoveUnits();

  // ---- members, in declaration order
  char m_firstName[256];
  char m_lastName[256];
  char m_patientId[256];
  double m_height = 0.0;  // centimetres
  double m_weight = 0.0;  // kilograms
  int32_t m_gender = 1;   // 1 male, 2 female
  int32_t m_yob = 1970;
  int32_t m_mob = 1;
  int32_t m_dob = 1;
  CECGPrint* m_pECGPrint = nullptr;
  CECGDefaultSettings m_settings;   // the active options
  void* m_pDocTemplate = nullptr;   // review document template, made by the first Review
  void* m_pMainFrame = nullptr;     // review main frame, made by the first Review
  CECGOptions m_options;            // the copy moved to and from the options file
  int16_t m_leadOrder[12];
  void* m_hLanguage = nullptr;      // the host product's language module, when loaded
  bool m_bFlag1 = true;
  std::string m_reportFooter;
  std::string m_applicationVersion;
  std::string m_imagePath;
  std::string m_pdfFileName;
  bool m_bFlag2 = true;
  bool m_removeHelpMenu = false;
  bool m_removeUnits = false;
  bool m_openMenuEnabled = true;
  bool m_pdfWithScpName = false;
  bool m_openPdfViewer = true;
  bool m_saveAndPdfButton = false;
  bool m_closeAfterPdf = false;
  bool m_optionsBrowseDisabled = false;
  int32_t m_language = 0;

  // The label of each display lead index, and the acquisition channel that
  // carries it (I, II, V1-V6 on 0-7; III, aVR, aVL, aVF calculated on 8-11).
  static const char* const m_leadLabels[12];
  static const int16_t m_leadIds[12];

 private:
  void CopyFrom(const CECGInterface& other);
};

extern "C" {
// Makes an instance and remembers it as the current one (null when it could
// not be made).
ECG_EXPORT CECGInterface* CreateECGInterface();
// Destroys the current instance, if any, and forgets it.
ECG_EXPORT void DestroyECGInterface();
// The report engine of the current instance (null without one).
ECG_EXPORT CECGPrint* GetCECGPrintObj();
}
