#include "dialogs/acquisition_settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "interface/ecg_default_settings.h"
#include "interface/lead_tables.h"

using ecg::dialogs::GridStyleShown;
using ecg::dialogs::RadioChoice;

namespace {

// The lead-group texts as the translation tools see them, in LeadGroup order.
constexpr const char* kLeadGroupTexts[] = {
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "I, II, III"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "aVR, aVL, aVF"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "V1, V2, V3"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "V4, V5, V6"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "Custom Group"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "Limb Leads"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "Chest Leads"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "12 Leads"),
    QT_TRANSLATE_NOOP("CECGAcquisitionSettingsPage", "3x4 View"),
};
static_assert(std::size(kLeadGroupTexts) == CLeadTables::kLeadGroupCount);

QComboBox* MakeLeadList() {
  auto* box = new QComboBox;
  for (const char* label : CLeadTables::m_leadLabels) box->addItem(QString::fromLatin1(label));
  return box;
}

// A lead identifier shown at its display position; none chosen when it is
// not a lead identifier at all.
void ShowLeadId(QComboBox* box, int lead_id) {
  box->setCurrentIndex(CLeadTables::PositionOfLeadId(lead_id));
}

// The identifier at the chosen position into `field`; kept when nothing is chosen.
void StoreLeadId(const QComboBox* box, int16_t& field) {
  const int id = CLeadTables::LeadIdAtPosition(box->currentIndex());
  if (id >= 0) field = static_cast<int16_t>(id);
}

}  // namespace

CECGAcquisitionSettingsPage::CECGAcquisitionSettingsPage(QWidget* parent) : SettingsPage(parent) {
  m_colors = ecg::dialogs::MakeColorChoice(tr("Colors"));
  m_grid = ecg::dialogs::MakeGridChoice(tr("Grid"));
  m_qrsBeep = new QCheckBox(tr("Beep on QRS"));
  m_leadsOffBeep = new QCheckBox(tr("Beep on Leads Off"));
  m_midi = new QCheckBox(tr("Use MIDI Sounds"));
  m_pdf = new QCheckBox(tr("Create PDF when Save and Print is selected."));
  m_muscle = new QCheckBox(tr("Muscle Filter"));
  m_power = new QCheckBox(tr("Power Filter"));
  m_frequency = new RadioChoice(tr("Power Line"), {{tr("50 Hz"), 0}, {tr("60 Hz"), 1}});
  for (auto& box : m_custom) box = MakeLeadList();
  m_rhythm = MakeLeadList();
  m_leadGroup = new QComboBox;
  for (const char* name : kLeadGroupTexts) m_leadGroup->addItem(tr(name));
  m_restore = new QPushButton(tr("Restore Defaults"));
  connect(m_power, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(m_restore, &QPushButton::clicked, this, &CECGAcquisitionSettingsPage::RestoreDefaults);

  auto* sounds = new QGroupBox(tr("Sounds"));
  auto* sounds_layout = new QVBoxLayout(sounds);
  sounds_layout->addWidget(m_qrsBeep);
  sounds_layout->addWidget(m_leadsOffBeep);
  sounds_layout->addWidget(m_midi);

  auto* custom = new QGroupBox(tr("Custom Lead Group"));
  auto* custom_layout = new QFormLayout(custom);
  custom_layout->addRow(tr("Lead 1"), m_custom[0]);
  custom_layout->addRow(tr("Lead 2"), m_custom[1]);
  custom_layout->addRow(tr("Lead 3"), m_custom[2]);

  auto* filters = new QGroupBox(tr("Filters"));
  auto* filters_layout = new QVBoxLayout(filters);
  filters_layout->addWidget(m_muscle);
  filters_layout->addWidget(m_power);
  filters_layout->addWidget(m_frequency);

  auto* leads = new QFormLayout;
  leads->addRow(tr("Rhythm Strip Lead"), m_rhythm);
  leads->addRow(tr("Leads"), m_leadGroup);

  auto* grid = new QGridLayout;
  grid->addWidget(m_colors, 0, 0);
  grid->addWidget(m_grid, 0, 1);
  grid->addWidget(sounds, 0, 2);
  grid->addWidget(custom, 1, 0);
  grid->addWidget(filters, 1, 1);
  grid->addLayout(leads, 1, 2, Qt::AlignTop);
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addWidget(m_pdf);
  top->addStretch();
  top->addWidget(m_restore, 0, Qt::AlignRight);
  UpdateEnabled();
}

void CECGAcquisitionSettingsPage::UpdateEnabled() { m_frequency->setEnabled(m_power->isChecked()); }

void CECGAcquisitionSettingsPage::Load(const CECGDefaultSettings& options) {
  m_colors->SetCode(options.PlotStyle);
  m_grid->SetCode(GridStyleShown(options.GridStyle));
  m_qrsBeep->setChecked(options.QRSBeep);
  m_leadsOffBeep->setChecked(options.LeadsOffBeep);
  m_midi->setChecked(options.MIDISound);
  for (int i = 0; i < kCustomLeads; ++i) {
    ShowLeadId(m_custom[static_cast<size_t>(i)], options.CustomLeadGroup[static_cast<size_t>(i)]);
  }
  ShowLeadId(m_rhythm, options.RhythmStripLead);
  m_pdf->setChecked(options.CreatePDF != 0);
  m_muscle->setChecked(options.MuscleFilter);
  m_power->setChecked(options.PowerFilter != 0);
  m_frequency->SetCode(options.PowerFilterChoice);
  const bool known_group = options.LeadGroup >= 0 && options.LeadGroup < m_leadGroup->count();
  m_leadGroup->setCurrentIndex(known_group ? options.LeadGroup : -1);
  UpdateEnabled();
}

void CECGAcquisitionSettingsPage::Store(CECGDefaultSettings& options) const {
  m_colors->StoreInto(options.PlotStyle);
  m_grid->StoreInto(options.GridStyle);
  options.QRSBeep = m_qrsBeep->isChecked();
  options.LeadsOffBeep = m_leadsOffBeep->isChecked();
  options.MIDISound = m_midi->isChecked();
  for (int i = 0; i < kCustomLeads; ++i) {
    StoreLeadId(m_custom[static_cast<size_t>(i)], options.CustomLeadGroup[static_cast<size_t>(i)]);
  }
  StoreLeadId(m_rhythm, options.RhythmStripLead);
  options.CreatePDF = m_pdf->isChecked() ? 1 : 0;
  options.MuscleFilter = m_muscle->isChecked();
  options.PowerFilter = m_power->isChecked() ? 1 : 0;
  m_frequency->StoreInto(options.PowerFilterChoice);
  if (m_leadGroup->currentIndex() >= 0) options.LeadGroup = m_leadGroup->currentIndex();
}

void CECGAcquisitionSettingsPage::RestoreDefaults() {
  for (int i = 0; i < kCustomLeads; ++i) m_custom[static_cast<size_t>(i)]->setCurrentIndex(i);  // I, II, III
  m_rhythm->setCurrentIndex(1);  // II
  m_muscle->setChecked(false);
  m_power->setChecked(false);
  m_frequency->SetCode(CECGDefaultSettings::DefaultPowerFilterChoice());
  m_leadGroup->setCurrentIndex(8);  // "3x4 View"
  m_colors->SetCode(2);             // Blue on Grey
  m_qrsBeep->setChecked(true);
  m_leadsOffBeep->setChecked(true);
  m_midi->setChecked(false);
  m_grid->SetCode(2);  // Dotted Lines
  m_pdf->setChecked(false);
  UpdateEnabled();
}
