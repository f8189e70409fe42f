#pragma once
// COskScpView: the review form over one document: the trace view and the
// rhythm strip, "Leads Shown:", the details tabs (patient, recording,
// measurements), the interpretation edit with its "Interpretation"
// (confirmed) check box and the comments edit. It carries out the commands
// of the frame for its document: saving through the in-place updates,
// printing and file output through the host, XML export, re-analysis,
// removal of the analysis, the lead order and every display setting.

#include <QString>
#include <QWidget>
#include <string>

#include "interface/ecg_default_settings.h"
#include "report/report_formatters.h"
#include "review/review_commands.h"
#include "review/review_host.h"
#include "review/review_panes.h"

class COskScpDoc;
class CTraceView;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QScrollBar;
class QSplitter;
class QTabWidget;

class COskScpView : public QWidget {
  Q_OBJECT

 public:
  // `doc` is not owned and must outlive the view.
  COskScpView(COskScpDoc* doc, const CECGDefaultSettings& options, QWidget* parent = nullptr);
  ~COskScpView() override;

  COskScpDoc* GetDocument() const { return m_doc; }

  // ---- start parameters
  void ApplyStartParameters(const ReviewStartParameters& params, IReviewHost* host);
  void SetReadOnly(bool read_only);
  bool IsReadOnly() const { return m_readOnly; }
  void EnableExportToXMLMenu() { m_xmlExport = true; }
  void DisableExportToXMLMenu() { m_xmlExport = false; }
  void EnableOpenMenu() { m_openAllowed = true; }
  void DisableOpenMenu() { m_openAllowed = false; }
  bool IsOpenAllowed() const { return m_openAllowed; }
  void CreatePDFWithSCPFileName() { m_pdfNamedAfterScp = true; }
  void DoNotBringUpAdobe() { m_viewerAfterPdf = false; }

  // ---- commands
  CommandState State(ReviewCommand command) const;
  // Runs a command of the view; false when it is not offered now.
  bool Execute(ReviewCommand command);
  // Rhythm lead buttons: the lead at display index `position` (0 I .. 11 V6).
  void SetRhythmLead(int position);
  void SetLeadsShown(int count);
  // Colours (0 black on red, 1 green on black, 2 blue on grey) and grid
  // style (0 solid, 2 dotted, 5 none) of both trace views.
  void SetReviewColors(int color_scheme, int grid_style);
  int ColorScheme() const { return m_options.ReviewColor; }
  int GridStyle() const { return m_options.ReviewGridStyle; }

  // Writes the edits into the file when the document is modified and the
  // view is not read-only; true when nothing failed.
  bool SaveEdits();

  // The window title ("Patient ... Test on ... at ...").
  QString Title() const;
  // The measurements panel values and the "Filter:" line of this record.
  ecg::review::MeasurementPanel PanelValues() const;
  QString FilterLine() const;

  // Widgets, for the frame and tests.
  CTraceView* Traces() const { return m_traces; }
  CTraceView* RhythmStrip() const { return m_rhythm; }
  // Scrolls both trace views over the record (value: first sample shown).
  QScrollBar* TimeScrollBar() const { return m_scroll; }
  QComboBox* LeadsShownBox() const { return m_leadsShown; }
  QTabWidget* DetailsTabs() const { return m_details; }
  QPlainTextEdit* InterpretationEdit() const { return m_interpretation; }
  QCheckBox* ConfirmedBox() const { return m_confirmed; }
  QPlainTextEdit* CommentsEdit() const { return m_comments; }
  QString DetailsTabText(int index) const;
  bool RhythmAtTop() const { return m_rhythmTop; }
  ecg::report::AmplitudeUnits Units() const { return m_units; }

 signals:
  // Something the frame shows changed (panes, title, command states).
  void stateChanged();

 private:
  void FillFromDocument();
  void FillDetails();
  void ApplyDisplayOptions();
  void PlaceRhythmStrip(bool top);
  void UpdateScrollRange();
  void OnTextEdited();
  void OnConfirmToggled();
  void ReloadAfterChange();
  bool IsAnalysed() const;
  bool CanReanalyse() const;

  void OnPrint(bool preview);
  void OnPrintToFile();
  void OnExportXml();
  void OnReanalyse();
  void OnRemoveAnalysis();
  void OnEditLeadOrder();
  void OnManual(const char* name);

  COskScpDoc* m_doc;
  CECGDefaultSettings m_options;
  IReviewHost* m_host = nullptr;
  bool m_readOnly = false;
  bool m_xmlExport = false;
  bool m_openAllowed = true;
  bool m_pdfNamedAfterScp = false;
  bool m_viewerAfterPdf = true;
  int m_language = 0;
  bool m_filling = false;
  bool m_rhythmTop = false;
  int m_confirmedValue = 0;
  ecg::report::AmplitudeUnits m_units = ecg::report::AmplitudeUnits::kMicrovolts;

  CTraceView* m_traces = nullptr;
  CTraceView* m_rhythm = nullptr;
  QSplitter* m_splitter = nullptr;
  QScrollBar* m_scroll = nullptr;
  QComboBox* m_leadsShown = nullptr;
  QTabWidget* m_details = nullptr;
  QPlainTextEdit* m_patientTab = nullptr;
  QPlainTextEdit* m_recordingTab = nullptr;
  QPlainTextEdit* m_measurementsTab = nullptr;
  QPlainTextEdit* m_interpretation = nullptr;
  QCheckBox* m_confirmed = nullptr;
  QPlainTextEdit* m_comments = nullptr;
};

// The twelve SCP lead codes in the display order of a LeadOrder option
// (display indices); an order that is not a permutation gives the default.
std::vector<uint8_t> LeadCodesOfOrder(const CECGDefaultSettings::LeadList& order);
