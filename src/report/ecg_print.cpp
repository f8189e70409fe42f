#include "report/ecg_print.h"

#include <QPrinter>

#include "interface/ecg_default_settings.h"
#include "platform/prompt.h"
#include "render/trace_layout.h"
#include "report/report_text.h"

using namespace ecg::report;

namespace {
constexpr double kTraceWidthMm = 265.0;
constexpr double kFullHeightMm = 160.0;
}  // namespace

CECGPrint::CECGPrint(const CECGDefaultSettings* settings) {
  const CECGDefaultSettings defaults;
  if (settings == nullptr) settings = ecg::interface::ApplicationOptions();
  if (settings == nullptr) settings = &defaults;
  m_amplitudeUnits = settings->AmplitudeUnits;
  m_imperialUnits = settings->MeasurementSystem == 1 ? 1 : 0;
  m_qtcMethod = settings->QTCMethod;
}

CECGPrint::~CECGPrint() = default;

void CECGPrint::ClearReports() {
  m_reportFiles.clear();
  m_reports.clear();
  m_records.clear();
}

const ReportRecord* CECGPrint::Record(const std::string& file) {
  auto it = m_records.find(file);
  if (it == m_records.end()) {
    auto record = std::make_unique<ReportRecord>();
    if (!LoadReportRecord(file, record.get())) record->lead_count = 0;
    it = m_records.emplace(file, std::move(record)).first;
  }
  return it->second.get();
}

bool CECGPrint::SetupReports() {
  m_reports.clear();
  m_records.clear();  // files may have changed since the last job
  for (const std::string& file : m_reportFiles) {
    const ReportRecord* record = Record(file);
    const ReportChoice choice = ChooseReports(record->lead_count, record->has_measurements, m_reportMask);
    for (const char* warning : choice.warnings) {
      ecg::platform::ShowMessage(Tr(warning).toStdString(), Tr("Warning").toStdString(),
                                 ecg::platform::PromptButtons::kOk, ecg::platform::PromptIcon::kWarning);
    }
    for (int32_t type : choice.types) m_reports.push_back({file, type});
  }
  return !m_reports.empty();
}

int CECGPrint::PagesForReport(const tReport& report) {
  if (report.m_type == kReport6x1TwoPages) return 2;
  if (report.m_type == kReportSingleLead) {
    const ReportRecord* record = Record(report.m_fileName);
    const auto& rhythm = record->traces.rhythm;
    m_samplesPerPage = static_cast<int>(ecg::render::SingleLeadSamplesPerPage(
        kTraceWidthMm, kFullHeightMm, m_speed, rhythm.rate_hz));
    return ecg::render::SingleLeadPageCount(rhythm.MaxSamples(), static_cast<size_t>(m_samplesPerPage));
  }
  return 1;
}

int CECGPrint::PageCount() {
  m_pageCount = 0;
  for (const tReport& report : m_reports) m_pageCount += PagesForReport(report);
  return m_pageCount;
}

void CECGPrint::PrintStart() {
  m_reportIndex = 0;
  m_leadOffset = 0;
  m_pageNumber = 0;
  m_startSample = 0;
  m_firstPage = true;
}

void CECGPrint::SetupECGRect(const PageDevice& page) {
  m_ecgLeft = page.margin_left * 2.54 / 100.0 + (page.MarginWidth() * 2.54 - 2650.0) / 200.0;
  m_ecgTop = page.margin_top * 2.54 / 100.0 + 3.7;
  const double dots_x = page.dpi_x / 2.54, dots_y = page.dpi_y / 2.54;  // per cm
  auto rect = [&](double left, double top, double width, double height) {
    return QRect(static_cast<int>(left * dots_x), static_cast<int>(top * dots_y),
                 static_cast<int>(width * dots_x), static_cast<int>(height * dots_y));
  };
  m_fullRect = rect(m_ecgLeft, m_ecgTop, 26.5, 16.0);
  m_mainRect = rect(m_ecgLeft, m_ecgTop, 26.5, 12.0);
  m_rhythmRect = rect(m_ecgLeft, m_ecgTop + 12.0, 26.5, 4.0);
}

bool CECGPrint::PrintPage(QPainter& painter, const PageDevice& page) {
  if (m_reports.empty() || m_reportIndex >= static_cast<int>(m_reports.size())) return false;
  if (m_firstPage) {
    SetupECGRect(page);
    PageCount();
    m_firstPage = false;
  }
  const tReport& report = m_reports[static_cast<size_t>(m_reportIndex)];
  const ReportRecord* record = Record(report.m_fileName);
  m_rhythmStrip = HasRhythmStrip(report.m_type);
  PrintTitle(painter, page, report.m_type);
  PrintInfo(painter, page, record, report.m_type);
  if (report.m_type == kReportMeasurements) {
    if (record->has_measurements) PrintMeasurementDetails(painter, page, *record);
  } else {
    PrintECG(painter, page, *record, report.m_type);
  }
  PrintFooter(painter, page);

  if (report.m_type == kReportSingleLead) {
    m_startSample += m_samplesPerPage;
    m_pageNumber += 1;
    // The single-lead report takes its pages first; then the next report.
    const int end_sample = static_cast<int>(record->traces.rhythm.MaxSamples());
    if (m_samplesPerPage <= 0 || m_startSample >= end_sample) {
      m_startSample = 0;
      m_reportIndex += 1;
    }
    return m_pageNumber < m_pageCount;
  }
  if (report.m_type == kReport6x1TwoPages && m_leadOffset < 6) {
    m_leadOffset = 6;
  } else {
    m_reportIndex += 1;
    m_leadOffset = 0;
  }
  m_pageNumber += 1;
  return m_reportIndex < static_cast<int>(m_reports.size());
}

std::string CECGPrint::FormatAmplitude(int microvolts, double mm_per_mv) const {
  return ecg::report::FormatAmplitude(microvolts, mm_per_mv,
                                      m_amplitudeUnits == 1 ? AmplitudeUnits::kMillimetres
                                                            : AmplitudeUnits::kMicrovolts);
}

std::string CECGPrint::GetQTcString(int qrs_on, int t_off, int rr) const {
  return ecg::report::GetQTcString(qrs_on, t_off, rr, QtcMethodFromOption(m_qtcMethod));
}
