#include "dialogs/general_settings_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "interface/ecg_default_settings.h"

using ecg::dialogs::RadioChoice;

CECGGeneralSettingsPage::CECGGeneralSettingsPage(QWidget* parent) : SettingsPage(parent) {
  m_units = new RadioChoice(tr("Amplitude Units"),
                            {{tr("Microvolts (\u00b5V)"), 0}, {tr("Millimeters (mm)"), 1}});
  m_system = new RadioChoice(tr("Measurement System"),
                             {{tr("Metric (kg, cm)"), 0}, {tr("Imperial (lb, in)"), 1}});
  m_speed = new RadioChoice(tr("Speed"),
                            {{tr("12.5 mm/s"), 0}, {tr("25 mm/s"), 1}, {tr("50 mm/s"), 2}});
  m_sensitivity = new RadioChoice(
      tr("Sensitivity"), {{tr("5 mm/mV"), 0}, {tr("10 mm/mV"), 1}, {tr("20 mm/mV"), 2}});
  m_xml = new QCheckBox(tr("Allow user to Export To XML"));
  m_restore = new QPushButton(tr("Restore Defaults"));
  connect(m_restore, &QPushButton::clicked, this, &CECGGeneralSettingsPage::RestoreDefaults);

  auto* grid = new QGridLayout;
  grid->addWidget(m_units, 0, 0);
  grid->addWidget(m_system, 0, 1);
  grid->addWidget(m_speed, 1, 0);
  grid->addWidget(m_sensitivity, 1, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addWidget(m_xml);
  top->addStretch();
  top->addWidget(m_restore, 0, Qt::AlignRight);
}

void CECGGeneralSettingsPage::Load(const CECGDefaultSettings& options) {
  m_units->SetCode(options.AmplitudeUnits);
  m_system->SetCode(options.MeasurementSystem);
  m_speed->SetCode(options.Speed);
  m_sensitivity->SetCode(options.Sensitivity);
  m_xml->setChecked(options.AllowXMLExport != 0);
}

void CECGGeneralSettingsPage::Store(CECGDefaultSettings& options) const {
  m_units->StoreInto(options.AmplitudeUnits);
  m_system->StoreInto(options.MeasurementSystem);
  m_speed->StoreInto(options.Speed);
  m_sensitivity->StoreInto(options.Sensitivity);
  options.AllowXMLExport = m_xml->isChecked() ? 1 : 0;
}

void CECGGeneralSettingsPage::RestoreDefaults() {
  m_units->SetCode(0);   // microvolts
  m_system->SetCode(1);  // imperial
  m_speed->SetCode(1);   // 25 mm/s
  m_sensitivity->SetCode(1);  // 10 mm/mV
  m_xml->setChecked(false);
}

void CECGGeneralSettingsPage::SetUnitsRemoved(bool removed) { m_system->setHidden(removed); }
