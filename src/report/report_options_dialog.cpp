#include "report/report_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/ecg_print.h"
#include "report/report_types.h"

using namespace ecg::report;

namespace {
constexpr double kSpeeds[] = {12.5, 25.0, 50.0};
constexpr double kSensitivities[] = {5.0, 10.0, 20.0};
constexpr int kDefaultIndex = 1;

int IndexOf(const double* values, int count, double value) {
  for (int i = 0; i < count; ++i) {
    if (values[i] == value) return i;
  }
  return -1;
}
}  // namespace

CECGPrintDialog::CECGPrintDialog(bool print_setup_enabled, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Report Options"));
  setModal(true);
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns);

  auto add_type = [&](QVBoxLayout* layout, const QString& text, int type) {
    auto* box = new QCheckBox(text);
    layout->addWidget(box);
    m_types[type] = box;
    return box;
  };
  auto* twelve = new QGroupBox(tr("12 Lead Reports"));
  auto* twelve_layout = new QVBoxLayout(twelve);
  add_type(twelve_layout, tr("3x4 Simultaneous"), kReport3x4Simultaneous);
  add_type(twelve_layout, tr("3x4 Sequential"), kReport3x4Sequential);
  add_type(twelve_layout, tr("Averaged Complexes"), kReportAveraged);
  add_type(twelve_layout, tr("6x2 Format"), kReport6x2);
  add_type(twelve_layout, tr("6x1 Format (2 Pages)"), kReport6x1TwoPages);
  add_type(twelve_layout, tr("Measurements Table"), kReportMeasurements);
  auto* six = new QGroupBox(tr("6 Lead Reports"));
  auto* six_layout = new QVBoxLayout(six);
  add_type(six_layout, tr("3x2 Simultaneous"), kReport3x2Simultaneous);
  add_type(six_layout, tr("3x2 Sequential"), kReport3x2Sequential);
  add_type(six_layout, tr("6x1 Format (1 Page)"), kReport6x1Simultaneous);
  six_layout->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(twelve);
  left->addWidget(six);
  columns->addLayout(left);

  auto* single = new QGroupBox(tr("Single Lead Reports"));
  auto* single_layout = new QVBoxLayout(single);
  QCheckBox* strip = add_type(single_layout, tr("Strip"), kReportZoom);
  QCheckBox* averaged = add_type(single_layout, tr("Averaged Complex"), kReportAveragedZoom);
  auto* zoom_grid = new QGridLayout;
  m_zoomLead = new QComboBox;
  for (const char* label : CECGPrint::m_leadLabels) m_zoomLead->addItem(QString::fromLatin1(label));
  m_zoomScale = new QComboBox;
  for (double scale : CECGPrint::dZoomScale) m_zoomScale->addItem(QString::asprintf("%.0fx", scale));
  zoom_grid->addWidget(new QLabel(tr("Lead")), 0, 0);
  zoom_grid->addWidget(m_zoomLead, 0, 1);
  zoom_grid->addWidget(new QLabel(tr("Scale")), 1, 0);
  zoom_grid->addWidget(m_zoomScale, 1, 1);
  single_layout->addLayout(zoom_grid);
  auto* pellux_label = new QLabel(tr("Pellux Reports:"));
  pellux_label->setEnabled(false);
  single_layout->addWidget(pellux_label);
  add_type(single_layout, tr("Single Lead Pellux"), kReportSingleLead)->setEnabled(false);
  single_layout->addStretch();
  connect(strip, &QCheckBox::clicked, this, &CECGPrintDialog::UpdateZoomControls);
  connect(averaged, &QCheckBox::clicked, this, &CECGPrintDialog::UpdateZoomControls);

  auto* options = new QGroupBox(tr("Options"));
  auto* options_layout = new QGridLayout(options);
  m_speed = new QComboBox;
  m_speed->addItems({tr("12.5 mm/s"), tr("25 mm/s"), tr("50 mm/s")});
  m_sensitivity = new QComboBox;
  m_sensitivity->addItems({tr("5 mm/mV"), tr("10 mm/mV"), tr("20 mm/mV")});
  m_minorGrid = new QComboBox;
  m_minorGrid->addItems({tr("None"), tr("Lines"), tr("Dotted")});
  options_layout->addWidget(new QLabel(tr("Speed")), 0, 0);
  options_layout->addWidget(m_speed, 0, 1);
  options_layout->addWidget(new QLabel(tr("Sensitivity")), 1, 0);
  options_layout->addWidget(m_sensitivity, 1, 1);
  options_layout->addWidget(new QLabel(tr("Minor Grid")), 2, 0);
  options_layout->addWidget(m_minorGrid, 2, 1);
  auto* middle = new QVBoxLayout;
  middle->addWidget(single);
  middle->addWidget(options);
  columns->addLayout(middle);

  auto* include = new QGroupBox(tr("Include"));
  auto* include_layout = new QVBoxLayout(include);
  m_measurements = new QCheckBox(tr("Measurements"));
  m_interpretation = new QCheckBox(tr("Interpretation"));
  m_comments = new QCheckBox(tr("Comments"));
  include_layout->addWidget(m_measurements);
  include_layout->addWidget(m_interpretation);
  include_layout->addWidget(m_comments);
  include_layout->addWidget(new QLabel(tr("Report title:")));
  m_title = new QLineEdit;
  m_title->setMaxLength(100);
  include_layout->addWidget(m_title);
  include_layout->addStretch();
  columns->addWidget(include);

  auto* buttons = new QHBoxLayout;
  m_printerSetup = new QPushButton(tr("Printer Setup..."));
  m_printerSetup->setVisible(print_setup_enabled);
  m_restore = new QPushButton(tr("Restore Defaults"));
  m_ok = new QPushButton(tr("Ok"));
  m_cancel = new QPushButton(tr("Cancel"));
  m_ok->setDefault(true);
  buttons->addWidget(m_printerSetup);
  buttons->addWidget(m_restore);
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  top->addLayout(buttons);
  connect(m_printerSetup, &QPushButton::clicked, this, &CECGPrintDialog::ChoosePrinter);
  connect(m_restore, &QPushButton::clicked, this, &CECGPrintDialog::RestoreDefaults);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

  RestoreDefaults();
}

CECGPrintDialog::~CECGPrintDialog() = default;

QCheckBox* CECGPrintDialog::TypeBox(int type) const {
  const auto it = m_types.find(type);
  return it == m_types.end() ? nullptr : it->second;
}

void CECGPrintDialog::RestoreDefaults() {
  for (auto& [type, box] : m_types) box->setChecked((type & kDefaultReportMask) != 0);
  m_measurements->setChecked(true);
  m_interpretation->setChecked(true);
  m_comments->setChecked(true);
  m_speed->setCurrentIndex(kDefaultIndex);
  m_sensitivity->setCurrentIndex(kDefaultIndex);
  m_minorGrid->setCurrentIndex(0);
  m_zoomLead->setCurrentIndex(1);
  m_zoomScale->setCurrentIndex(0);
  m_title->clear();
  UpdateZoomControls();
}

void CECGPrintDialog::UpdateZoomControls() {
  const bool zoom = m_types[kReportZoom]->isChecked() || m_types[kReportAveragedZoom]->isChecked();
  m_zoomLead->setEnabled(zoom);
  m_zoomScale->setEnabled(zoom);
}

void CECGPrintDialog::LoadFrom(const CECGPrint& engine) {
  for (auto& [type, box] : m_types) box->setChecked((engine.m_reportMask & type) != 0);
  m_measurements->setChecked(engine.m_printMeasurements);
  m_interpretation->setChecked(engine.m_printInterpretation);
  m_comments->setChecked(engine.m_printComments);
  const int speed = IndexOf(kSpeeds, 3, engine.m_speed);
  m_speed->setCurrentIndex(speed >= 0 ? speed : kDefaultIndex);
  const int sensitivity = IndexOf(kSensitivities, 3, engine.m_sensitivity);
  m_sensitivity->setCurrentIndex(sensitivity >= 0 ? sensitivity : kDefaultIndex);
  m_zoomScale->setCurrentIndex(IndexOf(CECGPrint::dZoomScale.data(), 5, engine.m_zoomScale));
  m_minorGrid->setCurrentIndex(engine.m_minorGrid >= 0 && engine.m_minorGrid <= 2 ? engine.m_minorGrid : 0);
  m_zoomLead->setCurrentIndex(engine.m_zoomLead >= 0 && engine.m_zoomLead < 12 ? engine.m_zoomLead : 1);
  m_title->setText(engine.m_reportTitle);
  if (engine.m_printerSetup) {
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPrinterName(engine.m_printerSetup->printerName());
  }
  UpdateZoomControls();
}

void CECGPrintDialog::CopyTo(CECGPrint& engine) const {
  int32_t mask = 0;
  for (const auto& [type, box] : m_types) {
    if (box->isChecked()) mask |= type;
  }
  engine.m_reportMask = mask;
  engine.m_speed = kSpeeds[std::max(0, m_speed->currentIndex())];
  engine.m_sensitivity = kSensitivities[std::max(0, m_sensitivity->currentIndex())];
  engine.m_minorGrid = std::max(0, m_minorGrid->currentIndex());
  engine.m_zoomLead = std::max(0, m_zoomLead->currentIndex());
  if (m_zoomScale->currentIndex() >= 0) {
    engine.m_zoomScale = CECGPrint::dZoomScale[static_cast<size_t>(m_zoomScale->currentIndex())];
  }
  engine.m_printMeasurements = m_measurements->isChecked();
  engine.m_printInterpretation = m_interpretation->isChecked();
  engine.m_printComments = m_comments->isChecked();
  engine.m_reportTitle = m_title->text();
  if (m_printerChosen && m_printer) {
    engine.m_printerName = m_printer->printerName();
    if (!engine.m_printerSetup) engine.m_printerSetup = std::make_unique<QPrinter>(QPrinter::HighResolution);
    engine.m_printerSetup->setPrinterName(m_printer->printerName());
  }
}

void CECGPrintDialog::ChoosePrinter() {
  if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(m_printer.get(), this);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  if (dialog.exec() == QDialog::Accepted) m_printerChosen = true;
}

bool CECGPrint::ShowOptionsDialog(bool print_setup_enabled, int lead_count, bool apply) {
  (void)lead_count;  // passed through by callers; the dialog shows every type
  CECGPrintDialog dialog(print_setup_enabled);
  dialog.LoadFrom(*this);
  if (!apply && dialog.exec() != QDialog::Accepted) return false;
  dialog.CopyTo(*this);
  return true;
}
