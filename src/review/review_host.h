#pragma once
// What the review window asks of the component that opened it: analysis,
// printing, file output, XML export, the patient details and the About box.
// The component's facade implements it; tests use a fake. Every operation
// carries the facade's name and result convention (1 done, 0 not done,
// except Analyse, which returns the analysis result code).

#include <string>

class CPatientInfo;

// The settings the window starts with (one per opened document).
struct ReviewStartParameters {
  bool read_only = false;            // edits never reach the file
  bool xml_export_allowed = false;   // AllowXMLExport: the export command is enabled
  bool open_allowed = true;          // cleared by DisableOpenMenu
  bool pdf_named_after_scp = false;  // CreatePDFFileWithSCPName
  bool viewer_after_pdf = true;      // cleared by DoNotBringUpAdobe
  bool remove_help_menu = false;     // RemoveHelpMenu
  int language = 0;                  // host's language: 0 English, 1 Fra, 2 Deu, 3 Ita, 4 Esp, 5 Ptg, 6 Jpn
};

class IReviewHost {
 public:
  virtual ~IReviewHost();

  // Writes the host's patient block into `file` when `updatePatient` is set,
  // then analyses the record (result code of the analysis run).
  virtual int Analyse(const char* file, bool updatePatient) = 0;

  // The patient details dialog filled from `fromRecord`; on OK the entered
  // values become the host's patient block. 1 on OK, 0 on Cancel.
  virtual int EditPatient(const CPatientInfo& fromRecord) = 0;

  // The "Report Options" dialog after reading the default print options file.
  virtual int ShowPrintOptionsDialog(bool printSetupEnabled, int leadCount, bool apply) = 0;
  virtual int SavePrintOptions(const char* path) = 0;

  virtual void ClearReports() = 0;
  virtual int AddReport(const char* file) = 0;
  virtual int Print() = 0;
  virtual int PrintPreview() = 0;
  virtual int ChoosePrinter() = 0;

  // Output of the report list to a PDF, JPEG or TIFF file.
  virtual int PrintToFile(const char* path) = 0;
  // The save-as dialog, then the reports of `file` to the chosen file. The
  // path written is kept for LastOutputFile.
  virtual int PrintSCPFileToFile(const char* file) = 0;
  // Default file name of the next PrintSCPFileToFile.
  virtual void SetPDFFileName(const char* name) = 0;
  // The file the last PrintSCPFileToFile wrote; empty when none.
  virtual std::string LastOutputFile() const = 0;

  virtual int ExportToXml(const char* file, const char* xmlFile) = 0;
  virtual void AboutBox() = 0;
};
