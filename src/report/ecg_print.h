#pragma once
// CECGPrint: the report engine. It decides which reports each record file
// gets, counts pages and draws each page (title, header block, traces or
// measurement table, scale and filter line, footer) on any QPainter whose
// page is described by a PageDevice. Output to printers, preview and files
// is in print_output.cpp, the options file in print_options_file.cpp.

#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "report/page_device.h"
#include "report/report_formatters.h"
#include "report/report_record.h"
#include "report/report_types.h"

class QPainter;
class QPrinter;
class CECGDefaultSettings;

using ecg::report::PageDevice;

struct tReport {
  std::string m_fileName;
  int32_t m_type = 0;
};

class CECGPrint {
 public:
  // Amplitude units, imperial units and the QTc method come from `settings`
  // (the application's options when null, else the defaults).
  explicit CECGPrint(const CECGDefaultSettings* settings = nullptr);
  ~CECGPrint();
  CECGPrint(const CECGPrint&) = delete;
  CECGPrint& operator=(const CECGPrint&) = delete;

  // ---- report list
  void AddReport(const std::string& file) { m_reportFiles.push_back(file); }
  void ClearReports();
  void ClearReportsOnly() { m_reports.clear(); }
  // Builds m_reports from the files by lead count and mask; shows the
  // warnings of the types that need measurements. Returns whether any
  // report was chosen.
  bool SetupReports();
  const std::vector<tReport>& Reports() const { return m_reports; }

  // ---- pages
  void PrintStart();
  // Draws the next page; true while more pages follow.
  bool PrintPage(QPainter& painter, const PageDevice& page);
  void PrintEnd() {}
  int PageCount();
  int PagesForReport(const tReport& report);

  // ---- formatters that depend on the engine's settings
  std::string FormatAmplitude(int microvolts, double mm_per_mv) const;
  std::string GetQTcString(int qrs_on, int t_off, int rr) const;

  // ---- setters
  void SetReportFooter(const QString& text) { m_reportFooter = text; }
  void SetReportApplicationVersion(const QString& text) { m_applicationVersion = text; }
  void SetPrintType(int type) { m_printType = type; }
  void SetLanguage(int language) { m_language = language; }

  // ---- output (print_output.cpp)
  bool ChoosePrinter();
  bool ChoosePrinterNoCheck();
  bool SetPdfPrinter(const std::string& file_name);
  bool Print();
  bool Preview();
  bool ToFile(const std::string& file_name);

  // ---- options (print_options_file.cpp, report_options_dialog.cpp)
  bool ReadOptions(const std::string& path);
  bool SaveOptions(const std::string& path);
  bool ShowOptionsDialog(bool print_setup_enabled, int lead_count, bool apply);

  // Draws every page of the job into `painter` (one device page each,
  // `new_page` called between pages); false when no page was drawn.
  template <typename NewPage>
  bool RenderAll(QPainter& painter, const PageDevice& page, NewPage new_page) {
    PrintStart();
    bool more = true;
    bool any = false;
    while (more) {
      if (any && !new_page()) return false;
      more = PrintPage(painter, page);
      any = true;
    }
    PrintEnd();
    return any;
  }

  // Settings (public as the options dialog and file edit them).
  QString m_printerName;
  int m_amplitudeUnits = 0;
  int m_imperialUnits = 0;
  int m_qtcMethod = 0;
  QRect m_fullRect, m_mainRect, m_rhythmRect;
  bool m_firstPage = false;
  int m_pageNumber = 0;
  int m_pageCount = 0;
  int m_reportIndex = 0;
  int m_startSample = 0;
  int m_samplesPerPage = 0;
  int m_leadOffset = 0;
  double m_speed = 25.0;
  double m_sensitivity = 10.0;
  bool m_rhythmStrip = true;
  bool m_printMeasurements = true;
  bool m_printInterpretation = true;
  bool m_printComments = true;
  bool m_patientDetailsShown = false;
  std::vector<std::string> m_reportFiles;
  std::vector<tReport> m_reports;
  int32_t m_reportMask = ecg::report::kDefaultReportMask;
  QString m_reportTitle;
  double m_ecgLeft = 0.0, m_ecgTop = 0.0;  // cm from the page origin
  int m_minorGrid = 0;
  std::array<uint8_t, 12> m_leadOrder = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  int m_zoomLead = 1;
  double m_zoomScale = 1.0;
  bool m_showPrintDialog = false;
  int m_printType = 0;  // 0 paper/PDF, 1 JPEG, 2 TIFF
  QString m_reportFooter;
  QString m_applicationVersion;
  int m_language = 0;

  static constexpr std::array<const char*, 12> m_leadLabels = {
      "I", "II", "III", "aVR", "aVL", "aVF", "V1", "V2", "V3", "V4", "V5", "V6"};
  static constexpr std::array<uint8_t, 12> m_leadIds = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  static constexpr std::array<double, 5> dZoomScale = {1, 2, 4, 8, 16};

  // The printer chosen by the dialogs, kept between them (null: none yet).
  std::unique_ptr<QPrinter> m_printerSetup;

 private:
  // A record of the list, read once per file.
  const ecg::report::ReportRecord* Record(const std::string& file);

  void SetupECGRect(const PageDevice& page);
  void PrintTitle(QPainter& painter, const PageDevice& page, int32_t type);
  void PrintInfo(QPainter& painter, const PageDevice& page, const ecg::report::ReportRecord* record,
                 int32_t type);
  void PrintECG(QPainter& painter, const PageDevice& page, const ecg::report::ReportRecord& record,
                int32_t type);
  void PrintMeasurementDetails(QPainter& painter, const PageDevice& page,
                               const ecg::report::ReportRecord& record);
  void PrintFooter(QPainter& painter, const PageDevice& page);
  void PrintScale(QPainter& painter, const PageDevice& page, bool zoom);
  void PrintFilters(QPainter& painter, const PageDevice& page, const ecg::report::ReportRecord* record);
  QString FontFamily() const;

  // A job draws on one kind of page; the geometry is set on its first page.
  double m_lineHeight = 0.0;  // hundredths of an inch
  std::map<std::string, std::unique_ptr<ecg::report::ReportRecord>> m_records;
};
