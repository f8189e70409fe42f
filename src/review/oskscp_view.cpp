#include "review/oskscp_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "analysis/analysis.h"
#include "dialogs/lead_order_dialog.h"
#include "interface/lead_tables.h"
#include "platform/prompt.h"
#include "report/print_options_file.h"
#include "review/oskscp_doc.h"
#include "review/review_ui_hooks.h"
#include "review/trace_view.h"
#include "scp/writer.h"


using ecg::platform::PromptButtons;
using ecg::platform::PromptIcon;
using ecg::platform::ShowMessage;

namespace {

// SCP lead code of each display index (I, II, III, aVR, aVL, aVF, V1-V6).
constexpr uint8_t kDisplayCodes[CLeadTables::kLeadCount] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
constexpr double kSpeeds[] = {12.5, 25.0, 50.0};
constexpr double kSensitivities[] = {5.0, 10.0, 20.0};
constexpr int kLeadsShownChoices[] = {2, 3, 6, 9, 12};

std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

QPlainTextEdit* MakeTabPage() {
  auto* page = new QPlainTextEdit;
  page->setReadOnly(true);
  page->setLineWrapMode(QPlainTextEdit::NoWrap);
  page->setTabStopDistance(90);
  return page;
}

}  // namespace

std::vector<uint8_t> LeadCodesOfOrder(const CECGDefaultSettings::LeadList& order) {
  std::vector<uint8_t> codes;
  bool seen[CLeadTables::kLeadCount] = {};
  for (int16_t index : order) {
    if (index < 0 || index >= CLeadTables::kLeadCount || seen[index]) {
      return {std::begin(kDisplayCodes), std::end(kDisplayCodes)};
    }
    seen[index] = true;
    codes.push_back(kDisplayCodes[index]);
  }
  return codes;
}

COskScpView::COskScpView(COskScpDoc* doc, const CECGDefaultSettings& options, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_options(options) {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(tr("Leads Shown:")));
  m_leadsShown = new QComboBox;
  for (int n : kLeadsShownChoices) m_leadsShown->addItem(QString::number(n), n);
  m_leadsShown->setCurrentIndex(4);
  top->addWidget(m_leadsShown);
  top->addStretch(1);
  layout->addLayout(top);

  m_splitter = new QSplitter(Qt::Vertical);
  m_traces = new CTraceView;
  m_rhythm = new CTraceView;
  m_rhythm->SetMode(CTraceView::Mode::kRhythm);
  m_rhythm->setMinimumHeight(90);
  m_splitter->addWidget(m_traces);
  m_splitter->addWidget(m_rhythm);
  m_splitter->setStretchFactor(0, 4);
  m_splitter->setStretchFactor(1, 1);
  layout->addWidget(m_splitter, 1);
  m_scroll = new QScrollBar(Qt::Horizontal);
  m_scroll->setObjectName(QStringLiteral("timeScroll"));
  layout->addWidget(m_scroll);

  m_details = new QTabWidget;
  m_details->setObjectName(QStringLiteral("details"));
  m_patientTab = MakeTabPage();
  m_recordingTab = MakeTabPage();
  m_measurementsTab = MakeTabPage();
  m_measurementsTab->setTabStopDistance(48);
  m_details->addTab(m_patientTab, tr("Patient"));
  m_details->addTab(m_recordingTab, tr("Recording"));
  m_details->addTab(m_measurementsTab, tr("Measurements"));
  m_details->setMaximumHeight(170);
  layout->addWidget(m_details);

  auto* texts = new QHBoxLayout;
  auto* interpretation = new QVBoxLayout;
  m_confirmed = new QCheckBox(tr("Interpretation"));
  m_interpretation = new QPlainTextEdit;
  interpretation->addWidget(m_confirmed);
  interpretation->addWidget(m_interpretation);
  auto* comments = new QVBoxLayout;
  comments->addWidget(new QLabel(tr("Comments:")));
  m_comments = new QPlainTextEdit;
  comments->addWidget(m_comments);
  texts->addLayout(interpretation, 3);
  texts->addLayout(comments, 2);
  m_interpretation->setMaximumHeight(110);
  m_comments->setMaximumHeight(110);
  layout->addLayout(texts);

  connect(m_leadsShown, &QComboBox::activated, this,
          [this](int index) { SetLeadsShown(m_leadsShown->itemData(index).toInt()); });
  connect(m_interpretation, &QPlainTextEdit::textChanged, this, &COskScpView::OnTextEdited);
  connect(m_comments, &QPlainTextEdit::textChanged, this, &COskScpView::OnTextEdited);
  connect(m_confirmed, &QCheckBox::clicked, this, &COskScpView::OnConfirmToggled);
  connect(m_traces, &CTraceView::leadClicked, this, [this](int index) {
    m_traces->SetSelectedLead(index);
    m_traces->SetMode(CTraceView::Mode::kZoom);
    emit stateChanged();
  });
  // One scroll bar moves both views; the keys of either view move the bar.
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
    const auto sample = static_cast<size_t>(std::max(0, value));
    m_traces->SetStartSample(sample);
    m_rhythm->SetStartSample(sample);
  });
  for (CTraceView* view : {m_traces, m_rhythm}) {
    connect(view, &CTraceView::scrollRangeChanged, this, &COskScpView::UpdateScrollRange);
    connect(view, &CTraceView::startChanged, this, [this](qulonglong sample) {
      const int value = static_cast<int>(std::min<qulonglong>(sample, static_cast<qulonglong>(m_scroll->maximum())));
      if (value != m_scroll->value()) m_scroll->setValue(value);
    });
  }
  connect(m_doc, &COskScpDoc::modifiedChanged, this, [this] { emit stateChanged(); });

  ApplyDisplayOptions();
  FillFromDocument();
}

COskScpView::~COskScpView() = default;

void COskScpView::SetReviewColors(int color_scheme, int grid_style) {
  m_options.ReviewColor = std::clamp(color_scheme, 0, 2);
  m_options.ReviewGridStyle = grid_style == 2 || grid_style == 5 ? grid_style : 0;
  for (CTraceView* view : {m_traces, m_rhythm}) {
    view->SetColors(m_options.ReviewColor, m_options.ReviewGridStyle);
    view->SetShowGrid(m_options.ReviewGridStyle != 5);
  }
  emit stateChanged();
}

void COskScpView::UpdateScrollRange() {
  if (m_scroll == nullptr) return;
  // The range follows the larger of the two views' needs, so the end of the
  // record is reachable in both; the page is the main view's visible span.
  const size_t max_start = std::max(m_traces->MaxStartSample(), m_rhythm->MaxStartSample());
  const size_t page = m_traces->Scrolls() ? m_traces->VisibleSamples() : m_rhythm->VisibleSamples();
  constexpr size_t kLimit = static_cast<size_t>(std::numeric_limits<int>::max());
  m_scroll->setRange(0, static_cast<int>(std::min(max_start, kLimit)));
  m_scroll->setPageStep(static_cast<int>(std::clamp<size_t>(page, 1, kLimit)));
  m_scroll->setSingleStep(static_cast<int>(std::clamp<size_t>(page / 10, 1, kLimit)));
  m_scroll->setEnabled(max_start > 0);
}

void COskScpView::ApplyDisplayOptions() {
  const std::vector<uint8_t> order = LeadCodesOfOrder(m_options.LeadOrder);
  m_traces->SetLeadOrder(order);
  m_rhythm->SetLeadOrder(order);
  const int rhythm_position = CLeadTables::PositionOfLeadId(m_options.RhythmStripLead);
  SetRhythmLead(rhythm_position >= 0 ? rhythm_position : 1);
  for (CTraceView* view : {m_traces, m_rhythm}) {
    view->SetColors(m_options.ReviewColor, m_options.ReviewGridStyle);
    view->SetShowGrid(m_options.ReviewGridStyle != 5);
    view->SetSpeed(kSpeeds[std::clamp(m_options.Speed, 0, 2)]);
    view->SetSensitivity(kSensitivities[std::clamp(m_options.Sensitivity, 0, 2)]);
    view->SetDisplayFilters({m_options.MuscleFilter,
                             m_options.PowerFilter != 0 ? (m_options.PowerFilterChoice == 0 ? 50 : 60) : 0});
  }
  m_units = m_options.AmplitudeUnits == 1 ? ecg::report::AmplitudeUnits::kMillimetres
                                          : ecg::report::AmplitudeUnits::kMicrovolts;
  for (CTraceView* view : {m_traces, m_rhythm}) {
    view->SetCaliperUnits(static_cast<ecg::review::CaliperUnits>(m_units));
  }
  m_details->setVisible(m_options.ShowDetails != 0);
}

void COskScpView::FillFromDocument() {
  m_filling = true;
  const auto& record = m_doc->Record();
  m_traces->SetTraces(m_doc->Traces());
  m_rhythm->SetTraces(m_doc->Traces());
  const auto text = [](const WideText& w) {
    return w ? QString::fromUtf16(w->data(), static_cast<qsizetype>(w->size())) : QString();
  };
  m_interpretation->setPlainText(text(record.general.m_interpretation));
  m_comments->setPlainText(text(record.general.m_comment));
  m_confirmedValue = record.general.m_confirmed;
  m_confirmed->setChecked(m_confirmedValue == 1);
  FillDetails();
  m_filling = false;
  emit stateChanged();
}

void COskScpView::FillDetails() {
  const auto& record = m_doc->Record();
  m_patientTab->setPlainText(ecg::review::PatientTabText(record, m_options.MeasurementSystem == 1));
  m_recordingTab->setPlainText(ecg::review::RecordingTabText(record));
  m_measurementsTab->setPlainText(
      ecg::review::MeasurementsTabLines(record, m_units, m_traces->Sensitivity()).join(QLatin1Char('\n')));
}

QString COskScpView::DetailsTabText(int index) const {
  const QPlainTextEdit* pages[] = {m_patientTab, m_recordingTab, m_measurementsTab};
  return index >= 0 && index < 3 ? pages[index]->toPlainText() : QString();
}

QString COskScpView::Title() const { return ecg::review::ReviewWindowTitle(m_doc->Record()); }

ecg::review::MeasurementPanel COskScpView::PanelValues() const {
  return ecg::review::MeasurementPanelValues(m_doc->Record(),
                                             ecg::report::QtcMethodFromOption(m_options.QTCMethod));
}

QString COskScpView::FilterLine() const { return ecg::review::ReviewFilterLine(m_doc->Record()); }

void COskScpView::ApplyStartParameters(const ReviewStartParameters& params, IReviewHost* host) {
  m_host = host;
  m_language = params.language;
  SetReadOnly(params.read_only);
  if (params.xml_export_allowed) {
    EnableExportToXMLMenu();
  } else {
    DisableExportToXMLMenu();
  }
  if (params.open_allowed) {
    EnableOpenMenu();
  } else {
    DisableOpenMenu();
  }
  if (params.pdf_named_after_scp) CreatePDFWithSCPFileName();
  if (!params.viewer_after_pdf) DoNotBringUpAdobe();
  emit stateChanged();
}

void COskScpView::SetReadOnly(bool read_only) {
  m_readOnly = read_only;
  m_interpretation->setReadOnly(read_only);
  m_comments->setReadOnly(read_only);
  m_confirmed->setEnabled(!read_only);
  emit stateChanged();
}

void COskScpView::OnTextEdited() {
  if (m_filling || m_readOnly) return;
  m_doc->SetModifiedFlag(true);
}

void COskScpView::OnConfirmToggled() {
  if (m_filling) return;
  if (m_readOnly) {
    m_confirmed->setChecked(m_confirmedValue == 1);
    return;
  }
  m_confirmedValue = m_confirmedValue == 0 ? 1 : 0;
  m_confirmed->setChecked(m_confirmedValue == 1);
  m_doc->SetModifiedFlag(true);
}

bool COskScpView::SaveEdits() {
  if (m_readOnly || !m_doc->IsModified()) return true;
  const std::string& path = m_doc->GetPathName();
  bool ok = true;
  // Three separate updates: one failing does not keep the others from the file.
  const auto report = [&](bool done, const QString& what) {
    if (done) return;
    ok = false;
    ShowMessage(tr("The %1 could not be saved in %2.").arg(what, QString::fromStdString(path)).toStdString(),
                tr("Error").toStdString(), PromptButtons::kOk, PromptIcon::kError);
  };
  {
    CWriter writer;
    report(writer.UpdateInterpretationText(path.c_str(), ToU16(m_interpretation->toPlainText())),
           tr("interpretation"));
  }
  {
    CWriter writer;
    report(writer.UpdateCommentText(path.c_str(), ToU16(m_comments->toPlainText())), tr("comment"));
  }
  {
    CWriter writer;
    report(writer.UpdateInterpretationConfirmed(path.c_str(), static_cast<int16_t>(m_confirmedValue)),
           tr("confirmation"));
  }
  m_doc->SetModifiedFlag(false);
  ReloadAfterChange();
  return ok;
}

void COskScpView::ReloadAfterChange() {
  if (!m_doc->Reload()) {
    ShowMessage(tr("The record %1 could not be read again.").arg(QString::fromStdString(m_doc->GetPathName()))
                    .toStdString(),
                tr("Error").toStdString(), PromptButtons::kOk, PromptIcon::kError);
  }
  FillFromDocument();
}

bool COskScpView::IsAnalysed() const { return m_doc->Record().has_measurements; }

bool COskScpView::CanReanalyse() const {
  return m_options.AllowReanalyse && m_doc->Record().lead_count > 6 && m_host != nullptr && !m_readOnly;
}

void COskScpView::PlaceRhythmStrip(bool top) {
  m_rhythmTop = top;
  m_splitter->insertWidget(top ? 0 : 1, m_rhythm);
}

void COskScpView::SetRhythmLead(int position) {
  if (position < 0 || position >= CLeadTables::kLeadCount) return;
  const uint8_t code = kDisplayCodes[position];
  const auto& order = m_rhythm->LeadOrder();
  const auto it = std::find(order.begin(), order.end(), code);
  if (it != order.end()) m_rhythm->SetSelectedLead(static_cast<int>(it - order.begin()));
  emit stateChanged();
}

void COskScpView::SetLeadsShown(int count) {
  m_traces->SetLeadsShown(count);
  const int index = m_leadsShown->findData(count);
  if (index >= 0) m_leadsShown->setCurrentIndex(index);
  if (m_traces->mode() == CTraceView::Mode::kTwelveLead && count < 12) {
    m_traces->SetMode(CTraceView::Mode::kStrips);
  }
  emit stateChanged();
}

CommandState COskScpView::State(ReviewCommand command) const {
  CommandState s;
  const auto check = [&s](bool on) {
    s.checkable = true;
    s.checked = on;
  };
  const CTraceView::Mode mode = m_traces->mode();
  const bool analysed = IsAnalysed();
  switch (command) {
    case ReviewCommand::kFileSave: s.enabled = m_doc->IsModified() && !m_readOnly; break;
    case ReviewCommand::kPrinterSetup:
    case ReviewCommand::kPrint:
    case ReviewCommand::kPrintPreview:
    case ReviewCommand::kPrintToFile:
    case ReviewCommand::kAbout: s.enabled = m_host != nullptr; break;
    case ReviewCommand::kExportXml: s.enabled = m_xmlExport && m_host != nullptr; break;
    case ReviewCommand::kView12Lead: check(mode == CTraceView::Mode::kTwelveLead); break;
    case ReviewCommand::kViewStrips: check(mode == CTraceView::Mode::kStrips); break;
    case ReviewCommand::kViewZoom: check(mode == CTraceView::Mode::kZoom); break;
    case ReviewCommand::kViewDetails: check(m_details->isVisibleTo(this)); break;
    case ReviewCommand::kRhythmTop: check(m_rhythmTop); break;
    case ReviewCommand::kRhythmBottom: check(!m_rhythmTop); break;
    case ReviewCommand::kZoomIn: s.enabled = m_traces->ZoomFactor() < 8.0; break;
    case ReviewCommand::kZoomOut: s.enabled = m_traces->ZoomFactor() > 1.0; break;
    case ReviewCommand::kShowMeasurements: check(m_traces->ShowMeasurements()); s.enabled = analysed; break;
    case ReviewCommand::kShowGrid: check(m_traces->ShowGrid()); break;
    case ReviewCommand::kShowAveraged:
      check(m_traces->ShowAveraged());
      s.enabled = !m_doc->Record().traces.median.empty();
      break;
    case ReviewCommand::kCursorZoom: check(m_traces->CursorMode() == CTraceView::Cursor::kZoom); break;
    case ReviewCommand::kCursorMeasure: check(m_traces->CursorMode() == CTraceView::Cursor::kMeasure); break;
    case ReviewCommand::kUnitsMillimetres: check(m_units == ecg::report::AmplitudeUnits::kMillimetres); break;
    case ReviewCommand::kUnitsMicrovolts: check(m_units == ecg::report::AmplitudeUnits::kMicrovolts); break;
    case ReviewCommand::kFilterMuscle: check(m_traces->DisplayFilters().muscle); break;
    case ReviewCommand::kPower50: check(m_traces->DisplayFilters().mains_hz == 50); break;
    case ReviewCommand::kPower60: check(m_traces->DisplayFilters().mains_hz == 60); break;
    case ReviewCommand::kSpeed12_5: check(m_traces->Speed() == 12.5); break;
    case ReviewCommand::kSpeed25: check(m_traces->Speed() == 25.0); break;
    case ReviewCommand::kSpeed50: check(m_traces->Speed() == 50.0); break;
    case ReviewCommand::kSensitivity5: check(m_traces->Sensitivity() == 5.0); break;
    case ReviewCommand::kSensitivity10: check(m_traces->Sensitivity() == 10.0); break;
    case ReviewCommand::kSensitivity20: check(m_traces->Sensitivity() == 20.0); break;
    case ReviewCommand::kRemoveAnalysis: s.enabled = analysed && !m_readOnly; break;
    case ReviewCommand::kReanalyse: s.enabled = CanReanalyse(); break;
    default: break;
  }
  return s;
}

bool COskScpView::Execute(ReviewCommand command) {
  if (!State(command).enabled) return false;
  const auto display = [this](auto&& change) {
    for (CTraceView* view : {m_traces, m_rhythm}) change(view);
  };
  auto filters = m_traces->DisplayFilters();
  switch (command) {
    case ReviewCommand::kFileSave: SaveEdits(); break;
    case ReviewCommand::kPrinterSetup: m_host->ChoosePrinter(); break;
    case ReviewCommand::kPrint: OnPrint(false); break;
    case ReviewCommand::kPrintPreview: OnPrint(true); break;
    case ReviewCommand::kPrintToFile: OnPrintToFile(); break;
    case ReviewCommand::kExportXml: OnExportXml(); break;
    case ReviewCommand::kAbout: m_host->AboutBox(); break;
    case ReviewCommand::kView12Lead:
      m_traces->SetMode(CTraceView::Mode::kTwelveLead);
      SetLeadsShown(12);
      break;
    case ReviewCommand::kViewStrips: m_traces->SetMode(CTraceView::Mode::kStrips); break;
    case ReviewCommand::kViewZoom: m_traces->SetMode(CTraceView::Mode::kZoom); break;
    case ReviewCommand::kViewDetails: m_details->setVisible(!m_details->isVisibleTo(this)); break;
    case ReviewCommand::kRhythmTop: PlaceRhythmStrip(true); break;
    case ReviewCommand::kRhythmBottom: PlaceRhythmStrip(false); break;
    case ReviewCommand::kZoomIn: display([](CTraceView* v) { v->ZoomIn(); }); break;
    case ReviewCommand::kZoomOut: display([](CTraceView* v) { v->ZoomOut(); }); break;
    case ReviewCommand::kNextLead: m_traces->NextLead(); break;
    case ReviewCommand::kPreviousLead: m_traces->PreviousLead(); break;
    case ReviewCommand::kShowMeasurements: {
      const bool on = !m_traces->ShowMeasurements();
      display([on](CTraceView* v) { v->SetShowMeasurements(on); });
      break;
    }
    case ReviewCommand::kShowGrid: {
      const bool on = !m_traces->ShowGrid();
      display([on](CTraceView* v) { v->SetShowGrid(on); });
      break;
    }
    case ReviewCommand::kShowAveraged: m_traces->SetShowAveraged(!m_traces->ShowAveraged()); break;
    case ReviewCommand::kCursorZoom: display([](CTraceView* v) { v->SetCursorMode(CTraceView::Cursor::kZoom); }); break;
    case ReviewCommand::kCursorMeasure:
      display([](CTraceView* v) { v->SetCursorMode(CTraceView::Cursor::kMeasure); });
      break;
    case ReviewCommand::kUnitsMillimetres:
    case ReviewCommand::kUnitsMicrovolts:
      m_units = command == ReviewCommand::kUnitsMillimetres ? ecg::report::AmplitudeUnits::kMillimetres
                                                            : ecg::report::AmplitudeUnits::kMicrovolts;
      display([this](CTraceView* v) { v->SetCaliperUnits(static_cast<ecg::review::CaliperUnits>(m_units)); });
      FillDetails();
      break;
    case ReviewCommand::kFilterMuscle:
      filters.muscle = !filters.muscle;
      display([&filters](CTraceView* v) { v->SetDisplayFilters(filters); });
      break;
    case ReviewCommand::kPower50:
    case ReviewCommand::kPower60: {
      const int hz = command == ReviewCommand::kPower50 ? 50 : 60;
      filters.mains_hz = filters.mains_hz == hz ? 0 : hz;
      display([&filters](CTraceView* v) { v->SetDisplayFilters(filters); });
      break;
    }
    case ReviewCommand::kSpeed12_5: display([](CTraceView* v) { v->SetSpeed(12.5); }); break;
    case ReviewCommand::kSpeed25: display([](CTraceView* v) { v->SetSpeed(25.0); }); break;
    case ReviewCommand::kSpeed50: display([](CTraceView* v) { v->SetSpeed(50.0); }); break;
    case ReviewCommand::kSensitivity5:
    case ReviewCommand::kSensitivity10:
    case ReviewCommand::kSensitivity20: {
      const double mm_mv = command == ReviewCommand::kSensitivity5    ? 5.0
                           : command == ReviewCommand::kSensitivity10 ? 10.0
                                                                      : 20.0;
      display([mm_mv](CTraceView* v) { v->SetSensitivity(mm_mv); });
      FillDetails();  // amplitudes in millimetres follow the sensitivity
      break;
    }
    case ReviewCommand::kEditLeadOrder: OnEditLeadOrder(); break;
    case ReviewCommand::kRemoveAnalysis: OnRemoveAnalysis(); break;
    case ReviewCommand::kReanalyse: OnReanalyse(); break;
    case ReviewCommand::kUserManual: OnManual("ECG User's Manual"); break;
    case ReviewCommand::kPhysiciansGuide: OnManual("ECG Physician's Guide"); break;
    default: return false;
  }
  emit stateChanged();
  return true;
}

void COskScpView::OnPrint(bool preview) {
  const std::string& path = m_doc->GetPathName();
  if (m_host->ShowPrintOptionsDialog(true, m_doc->Record().lead_count, false) == 0) return;
  SaveEdits();
  m_host->ClearReports();
  m_host->AddReport(path.c_str());
  if (preview) {
    m_host->PrintPreview();
  } else {
    m_host->Print();
  }
  m_host->ClearReports();
  if (window() != nullptr) {
    window()->raise();
    window()->activateWindow();
  }
  m_host->SavePrintOptions(ecg::report::DefaultPrintOptionsPath().c_str());
}

void COskScpView::OnPrintToFile() {
  const std::string& path = m_doc->GetPathName();
  if (m_host->ShowPrintOptionsDialog(true, m_doc->Record().lead_count, false) == 0) return;
  SaveEdits();
  std::string pdf_name;
  if (m_pdfNamedAfterScp) {
    pdf_name = (path.size() > 4 ? path.substr(0, path.size() - 4) : path) + ".pdf";
    m_host->SetPDFFileName(pdf_name.c_str());
  }
  if (m_host->PrintSCPFileToFile(path.c_str()) == 0) return;
  if (!m_viewerAfterPdf) return;
  const std::string written = m_pdfNamedAfterScp ? pdf_name : m_host->LastOutputFile();
  if (written.empty() || !QString::fromStdString(written).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
    return;
  }
  if (!ecg::review::UiHooks().open_file(QString::fromStdString(written))) {
    ShowMessage(tr("Error opening PDF file.").toStdString(), tr("Error").toStdString(), PromptButtons::kOk,
                PromptIcon::kError);
  }
}

void COskScpView::OnExportXml() {
  const QString scp = QString::fromStdString(m_doc->GetPathName());
  const QFileInfo info(scp);
  const QString suggested = info.dir().filePath(info.completeBaseName() + QStringLiteral(".xml"));
  QString chosen = ecg::review::UiHooks().choose_save_file(this, tr("Export to XML"), suggested,
                                                           QStringLiteral("*.xml"));
  if (chosen.isEmpty()) return;
  if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".xml");
  m_host->ExportToXml(m_doc->GetPathName().c_str(), chosen.toStdString().c_str());
}

void COskScpView::OnReanalyse() {
  const std::string& path = m_doc->GetPathName();
  if (m_host->EditPatient(m_doc->Record().patient) == 0) return;
  const int answer =
      ShowMessage(tr("Re-analyzing deletes all edits made to the narrative interpretation. Are you sure you want "
                     "to re-analyze?")
                      .toStdString(),
                  tr("Warning").toStdString(), PromptButtons::kYesNo, PromptIcon::kWarning);
  if (answer != ecg::platform::kAnswerYes) return;
  m_host->Analyse(path.c_str(), true);
  m_doc->SetModifiedFlag(false);  // the record's texts are the analysis' now
  ReloadAfterChange();
}

void COskScpView::OnRemoveAnalysis() {
  CAnalysis analysis;
  if (!analysis.RemoveAnalysisData(m_doc->GetPathName().c_str())) {
    ShowMessage(tr("The analysis could not be removed from %1.").arg(QString::fromStdString(m_doc->GetPathName()))
                    .toStdString(),
                tr("Error").toStdString(), PromptButtons::kOk, PromptIcon::kError);
    return;
  }
  m_doc->SetModifiedFlag(false);
  ReloadAfterChange();
}

void COskScpView::OnEditLeadOrder() {
  CLeadOrderDialog dialog(this);
  dialog.SetLeadOrder(m_options.LeadOrder);
  if (ecg::review::UiHooks().run_dialog(dialog) != QDialog::Accepted) return;
  m_options.LeadOrder = dialog.LeadOrder();
  if (CECGDefaultSettings* app = ecg::interface::ApplicationOptions()) app->LeadOrder = m_options.LeadOrder;
  const std::vector<uint8_t> order = LeadCodesOfOrder(m_options.LeadOrder);
  const uint8_t rhythm = m_rhythm->SelectedLeadCode();
  m_traces->SetLeadOrder(order);
  m_rhythm->SetLeadOrder(order);
  const auto it = std::find(order.begin(), order.end(), rhythm);
  if (it != order.end()) m_rhythm->SetSelectedLead(static_cast<int>(it - order.begin()));
}

void COskScpView::OnManual(const char* name) {
  // The documents lie in the current folder, named with the language suffix
  // (none for English): "ECG User's ManualDeu.pdf" for German.
  const QString path =
      QDir::current().filePath(QString::fromUtf8(name) + ecg::review::ManualSuffix(m_language) + QStringLiteral(".pdf"));
  if (!QFileInfo::exists(path) || !ecg::review::UiHooks().open_file(path)) {
    ShowMessage(tr("Cannot open file %1. ").arg(path).toStdString(), tr("Error").toStdString(),
                PromptButtons::kOk, PromptIcon::kError);
  }
}
