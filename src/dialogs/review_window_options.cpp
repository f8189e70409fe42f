#include "dialogs/review_window_options.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "interface/ecg_default_settings.h"

using ecg::dialogs::GridStyleShown;

CReviewWindowOptions::CReviewWindowOptions(QWidget* parent) : SettingsPage(parent) {
  m_colors = ecg::dialogs::MakeColorChoice(tr("Colors"));
  m_grid = ecg::dialogs::MakeGridChoice(tr("Grid"));
  m_details = new QCheckBox(tr("Show Details"));
  m_restore = new QPushButton(tr("Restore Defaults"));
  connect(m_restore, &QPushButton::clicked, this, &CReviewWindowOptions::RestoreDefaults);

  auto* row = new QHBoxLayout;
  row->addWidget(m_colors);
  row->addWidget(m_grid);
  auto* top = new QVBoxLayout(this);
  top->addLayout(row);
  top->addWidget(m_details);
  top->addStretch();
  top->addWidget(m_restore, 0, Qt::AlignRight);
}

void CReviewWindowOptions::Load(const CECGDefaultSettings& options) {
  m_colors->SetCode(options.ReviewColor);
  m_grid->SetCode(GridStyleShown(options.ReviewGridStyle));
  m_details->setChecked(options.ShowDetails != 0);
}

void CReviewWindowOptions::Store(CECGDefaultSettings& options) const {
  m_colors->StoreInto(options.ReviewColor);
  m_grid->StoreInto(options.ReviewGridStyle);
  options.ShowDetails = m_details->isChecked() ? 1 : 0;
}

void CReviewWindowOptions::RestoreDefaults() {
  m_colors->SetCode(0);  // Black on Red
  m_grid->SetCode(0);    // Solid Lines
  m_details->setChecked(true);
}
