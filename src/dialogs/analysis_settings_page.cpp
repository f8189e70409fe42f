#include "dialogs/analysis_settings_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "interface/ecg_default_settings.h"

using ecg::dialogs::RadioChoice;

CAnalysisSettingsPage::CAnalysisSettingsPage(QWidget* parent) : SettingsPage(parent) {
  m_qtc = new RadioChoice(tr("QTc Method"), {{tr("Bazett"), 0}, {tr("Fridericia"), 1}});
  m_interpretation = new QCheckBox(tr("Automatically include narrative interpretation"));
  m_suppress = new QCheckBox(tr("Suppress incomplete patient details warning"));
  m_codes = new QCheckBox(tr("Include interpretation codes within narrative text"));
  m_reanalyse = new QCheckBox(tr("Allow user to re-analyze"));
  m_restore = new QPushButton(tr("Restore Defaults"));
  connect(m_interpretation, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(m_restore, &QPushButton::clicked, this, &CAnalysisSettingsPage::RestoreDefaults);

  auto* interpretation = new QGroupBox(tr("Interpretation"));
  auto* inner = new QVBoxLayout(interpretation);
  inner->addWidget(m_interpretation);
  auto* sub = new QVBoxLayout;
  sub->setContentsMargins(20, 0, 0, 0);
  sub->addWidget(m_suppress);
  sub->addWidget(m_codes);
  inner->addLayout(sub);
  inner->addWidget(m_reanalyse);

  auto* top = new QVBoxLayout(this);
  top->addWidget(m_qtc);
  top->addWidget(interpretation);
  top->addStretch();
  top->addWidget(m_restore, 0, Qt::AlignRight);
  UpdateEnabled();
}

void CAnalysisSettingsPage::UpdateEnabled() {
  const bool on = m_interpretation->isChecked();
  m_suppress->setEnabled(on);
  m_codes->setEnabled(on);
}

void CAnalysisSettingsPage::Load(const CECGDefaultSettings& options) {
  m_qtc->SetCode(options.QTCMethod);
  m_interpretation->setChecked(options.IncludeInterpretation);
  m_suppress->setChecked(options.SuppressPatientDetailsWarning);
  m_codes->setChecked(options.IncludeInterpretationCodes != 0);
  m_reanalyse->setChecked(options.AllowReanalyse);
  UpdateEnabled();
}

void CAnalysisSettingsPage::Store(CECGDefaultSettings& options) const {
  m_qtc->StoreInto(options.QTCMethod);
  options.IncludeInterpretation = m_interpretation->isChecked();
  options.SuppressPatientDetailsWarning = m_suppress->isChecked();
  options.IncludeInterpretationCodes = m_codes->isChecked() ? 1 : 0;
  options.AllowReanalyse = m_reanalyse->isChecked();
}

void CAnalysisSettingsPage::RestoreDefaults() {
  m_interpretation->setChecked(true);
  m_codes->setChecked(true);
  m_suppress->setChecked(true);
  m_reanalyse->setChecked(true);
  m_qtc->SetCode(0);  // Bazett
  UpdateEnabled();
}
