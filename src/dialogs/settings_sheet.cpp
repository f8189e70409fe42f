#include "dialogs/settings_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/acquisition_settings_page.h"
#include "dialogs/analysis_settings_page.h"
#include "dialogs/general_settings_page.h"
#include "dialogs/lead_order_dialog.h"
#include "dialogs/review_window_options.h"
#include "report/ecg_print.h"

CSettingsSheet::CSettingsSheet(const CECGDefaultSettings& options, bool remove_units,
                               QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Tidemark Settings"));
  setModal(true);

  m_general = new CECGGeneralSettingsPage;
  m_analysis = new CAnalysisSettingsPage;
  m_acquisition = new CECGAcquisitionSettingsPage;
  m_review = new CReviewWindowOptions;
  m_leadOrder = new CLeadOrderDialog;
  m_leadOrder->SetEmbedded(true);

  m_general->Load(options);
  m_general->SetUnitsRemoved(remove_units);
  m_analysis->Load(options);
  m_acquisition->Load(options);
  m_review->Load(options);
  m_leadOrder->SetLeadOrder(options.LeadOrder);

  m_tabs = new QTabWidget;
  m_tabs->addTab(m_general, tr("General"));
  m_tabs->addTab(m_analysis, tr("Analysis"));
  m_tabs->addTab(m_acquisition, tr("Acquisition Settings"));
  m_tabs->addTab(m_review, tr("Review Window"));
  m_tabs->addTab(m_leadOrder, tr("Edit Lead Order"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  m_cancel = buttons->button(QDialogButtonBox::Cancel);
  m_ok->setText(tr("OK"));
  m_cancel->setText(tr("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsSheet::reject);

  auto* top = new QVBoxLayout(this);
  top->addWidget(m_tabs);
  top->addWidget(buttons);
}

void CSettingsSheet::StoreAll(CECGDefaultSettings& options) const {
  m_general->Store(options);
  m_analysis->Store(options);
  m_acquisition->Store(options);
  m_review->Store(options);
  options.LeadOrder = m_leadOrder->LeadOrder();
}

void CSettingsSheet::StoreWithoutEngine(CECGDefaultSettings& options) const {
  CECGDefaultSettings all = options;
  StoreAll(all);
  options.AmplitudeUnits = all.AmplitudeUnits;
  options.MeasurementSystem = all.MeasurementSystem;
  options.AllowXMLExport = all.AllowXMLExport;
  options.QTCMethod = all.QTCMethod;
  options.IncludeInterpretation = all.IncludeInterpretation;
  options.SuppressPatientDetailsWarning = all.SuppressPatientDetailsWarning;
  options.IncludeInterpretationCodes = all.IncludeInterpretationCodes;
  options.AllowReanalyse = all.AllowReanalyse;
  options.PlotStyle = all.PlotStyle;
  options.GridStyle = all.GridStyle;
  options.QRSBeep = all.QRSBeep;
  options.LeadsOffBeep = all.LeadsOffBeep;
  options.MIDISound = all.MIDISound;
  options.MuscleFilter = all.MuscleFilter;
  options.PowerFilter = all.PowerFilter;
  options.ReviewColor = all.ReviewColor;
  options.ReviewGridStyle = all.ReviewGridStyle;
  options.ShowDetails = all.ShowDetails;
}

int RunSettingsSheet(CECGDefaultSettings& active, bool remove_units, CECGPrint* engine,
                     QWidget* parent) {
  CSettingsSheet sheet(active, remove_units, parent);
  if (sheet.exec() != QDialog::Accepted) return 0;
  if (engine == nullptr) {
    sheet.StoreWithoutEngine(active);
    return 0;
  }
  sheet.StoreAll(active);
  engine->m_amplitudeUnits = active.AmplitudeUnits;
  engine->m_imperialUnits = active.MeasurementSystem;
  return 1;
}
