// CTM_RealTimeDlg: building the window. Qt layouts keep the design's
// proportions on any screen: the plot takes the free space, the controls
// keep their natural sizes around it.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "recording/calibration_pulse_wnd.h"
#include "recording/lead_list.h"
#include "recording/plot_wnd.h"
#include "recording/save_plot_wnd.h"
#include "recording/tm_realtime_dlg.h"

void CTM_RealTimeDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);

  // Display controls.
  auto* top = new QHBoxLayout;
  m_patientLabel = new QLabel(this);
  top->addWidget(m_patientLabel, 1);
  m_sensitivity = new QComboBox(this);
  m_sensitivity->addItems({tr("5 mm/mV"), tr("10 mm/mV"), tr("20 mm/mV")});
  m_speed = new QComboBox(this);
  m_speed->addItems({tr("12.5 mm/s"), tr("25 mm/s"), tr("50 mm/s")});
  m_leadList = new QComboBox(this);
  for (const auto& entry : ecg::recording::LeadList()) m_leadList->addItem(tr(entry.text));
  m_groupUp = new QToolButton(this);
  m_groupUp->setArrowType(Qt::UpArrow);
  m_groupDown = new QToolButton(this);
  m_groupDown->setArrowType(Qt::DownArrow);
  m_muscleBox = new QCheckBox(tr("Muscle"), this);
  m_baselineBox = new QCheckBox(tr("Baseline"), this);
  m_powerBox = new QCheckBox(tr("50Hz"), this);
  m_soundBox = new QCheckBox(tr("Audible Indication"), this);
  for (QWidget* w : std::initializer_list<QWidget*>{m_sensitivity, m_speed, m_leadList, m_groupUp,
                                                    m_groupDown, m_muscleBox, m_baselineBox,
                                                    m_powerBox, m_soundBox}) {
    top->addWidget(w);
  }
  outer->addLayout(top);

  // The plots: live and frozen share the place; the pulse indicator beside.
  auto* middle = new QHBoxLayout;
  m_calibration = new CCalibrationPulseWnd(this);
  middle->addWidget(m_calibration);
  m_plotStack = new QStackedWidget(this);
  m_plot = new CPlotWnd(m_plotStack);
  m_strip = new CSavePlotWnd(m_plotStack);
  m_plotStack->addWidget(m_plot);
  m_plotStack->addWidget(m_strip);
  m_plotStack->setCurrentWidget(m_plot);
  m_plotStack->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  middle->addWidget(m_plotStack, 1);
  outer->addLayout(middle, 1);
  m_scroll = new QScrollBar(Qt::Horizontal, this);
  m_scroll->hide();
  outer->addWidget(m_scroll);

  // Status, indications, progress, heart rate and clock.
  auto* info = new QGridLayout;
  m_statusLine = new QLabel(this);
  m_indicationsLine = new QLabel(this);
  m_progress = new QProgressBar(this);
  m_progress->setRange(0, 5000);
  m_progress->setValue(0);
  m_progress->setTextVisible(false);
  m_heartRateLabel = new QLabel(QStringLiteral("---"), this);
  QFont big = m_heartRateLabel->font();
  big.setPixelSize(24);
  big.setBold(true);
  m_heartRateLabel->setFont(big);
  m_clockLabel = new QLabel(QStringLiteral("00:00"), this);
  m_clockLabel->setFont(big);
  info->addWidget(m_statusLine, 0, 0);
  info->addWidget(m_indicationsLine, 1, 0);
  info->addWidget(m_progress, 2, 0);
  info->addWidget(new QLabel(tr("HR"), this), 0, 1);
  info->addWidget(m_heartRateLabel, 1, 1, 2, 1);
  info->addWidget(m_clockLabel, 1, 2, 2, 1);
  info->setColumnStretch(0, 1);
  outer->addLayout(info);

  // Buttons.
  auto* buttons = new QHBoxLayout;
  m_recordBtn = new QPushButton(tr("Record"), this);
  m_saveBtn = new QPushButton(tr("Save"), this);
  m_reviewBtn = new QPushButton(tr("Review"), this);
  m_savePrintBtn = new QPushButton(tr("Save && Print"), this);
  m_printBtn = new QPushButton(tr("Print"), this);
  m_fullDisclosureBtn = new QPushButton(tr("Full Disclosure"), this);
  m_rhythmStripBtn = new QPushButton(tr("Print Rhythm Strip"), this);
  m_sixtySecondsBtn = new QPushButton(tr("Print 60 Seconds"), this);
  m_cancelBtn = new QPushButton(tr("Cancel"), this);
  for (QPushButton* b : {m_recordBtn, m_saveBtn, m_reviewBtn, m_savePrintBtn, m_printBtn,
                         m_fullDisclosureBtn, m_rhythmStripBtn, m_sixtySecondsBtn, m_cancelBtn}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  outer->addLayout(buttons);

  m_timer = new QTimer(this);
  m_timer->setInterval(1000);

  connect(m_recordBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnRecordBtn);
  connect(m_saveBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnSaveBtn);
  connect(m_reviewBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnReviewBtn);
  connect(m_savePrintBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnSavePrintBtn);
  connect(m_printBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnPrintBtn);
  connect(m_fullDisclosureBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnFullDisclosureBtn);
  connect(m_rhythmStripBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnPrintRhythmStripBtn);
  connect(m_sixtySecondsBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::OnPrint60SecondsBtn);
  connect(m_cancelBtn, &QPushButton::clicked, this, &CTM_RealTimeDlg::reject);
  connect(m_timer, &QTimer::timeout, this, &CTM_RealTimeDlg::OnTimer);
  connect(m_sensitivity, &QComboBox::activated, this, &CTM_RealTimeDlg::OnSensitivityChanged);
  connect(m_speed, &QComboBox::activated, this, &CTM_RealTimeDlg::OnSpeedChanged);
  connect(m_leadList, &QComboBox::activated, this, &CTM_RealTimeDlg::OnLeadListChanged);
  connect(m_groupUp, &QToolButton::clicked, this, &CTM_RealTimeDlg::OnGroupUp);
  connect(m_groupDown, &QToolButton::clicked, this, &CTM_RealTimeDlg::OnGroupDown);
  connect(m_muscleBox, &QCheckBox::clicked, this, &CTM_RealTimeDlg::OnFilterBox);
  connect(m_baselineBox, &QCheckBox::clicked, this, &CTM_RealTimeDlg::OnFilterBox);
  connect(m_powerBox, &QCheckBox::clicked, this, &CTM_RealTimeDlg::OnFilterBox);
  connect(m_soundBox, &QCheckBox::clicked, this, &CTM_RealTimeDlg::OnSoundBox);
  connect(m_scroll, &QScrollBar::valueChanged, this, &CTM_RealTimeDlg::OnScroll);
  connect(m_plot, &CPlotWnd::clicked, this, [this] { m_groupUp->setFocus(); });

  // Keyboard accelerators: 3, 6 and 12 leads.
  const std::pair<const char*, int> accelerators[] = {{"Ctrl+3", 0}, {"Ctrl+6", 5}, {"Ctrl+2", 7}};
  for (const auto& [keys, entry] : accelerators) {
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
    const int e = entry;
    connect(shortcut, &QShortcut::activated, this, [this, e] {
      m_leadList->setCurrentIndex(e);
      OnLeadListChanged(e);
    });
  }
  resize(1000, 700);
}

void CTM_RealTimeDlg::SelectListEntries() {
  const double gain = m_ecg.GetGain();
  m_sensitivity->setCurrentIndex(gain <= 0.0075 ? 0 : gain >= 0.015 ? 2 : 1);
  const double speed = m_ecg.GetSpeed();
  m_speed->setCurrentIndex(speed <= 17.5 ? 0 : speed >= 35 ? 2 : 1);
  const int entry = ecg::recording::LeadListEntryFor(m_display.LeadsPerGroup(), m_display.LeadGroup(),
                                                     m_display.m_customGroup, m_display.m_customLayout);
  m_leadList->setCurrentIndex(entry < 0 ? 7 : entry);
  m_muscleBox->setChecked(m_filters.Muscle());
  m_baselineBox->setChecked(m_filters.Baseline());
  m_powerBox->setChecked(m_filters.Power());
  m_powerBox->setText(m_filters.MainsFrequency() == 60 ? tr("60Hz") : tr("50Hz"));
  m_soundBox->setChecked(!m_muted.load());
  m_patientLabel->setText(QString::fromStdString(m_patientName));
  UpdateArrows();
}

void CTM_RealTimeDlg::UpdateArrows() {
  const int entry = m_leadList->currentIndex();
  m_groupUp->setEnabled(ecg::recording::GroupUp(entry) != entry);
  m_groupDown->setEnabled(ecg::recording::GroupDown(entry) != entry);
}

void CTM_RealTimeDlg::SetSaveButtonsEnabled(bool on) {
  m_saveBtn->setEnabled(on);
  m_reviewBtn->setEnabled(on);
  m_savePrintBtn->setEnabled(on);
  m_recordBtn->setEnabled(on);
}

void CTM_RealTimeDlg::ShowStatus(const QString& text) { m_statusLine->setText(text); }
