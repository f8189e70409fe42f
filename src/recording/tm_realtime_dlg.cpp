// CTM_RealTimeDlg: configuration, opening, the indicator timer, the display
// controls and closing.

#include "recording/tm_realtime_dlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "dsp/alsa_wave_player.h"
#include "dsp/beep_thread.h"
#include "dsp/indications.h"
#include "dsp/wave_sounds.h"
#include "platform/prompt.h"
#include "recording/calibration_pulse_wnd.h"
#include "recording/indications_line.h"
#include "recording/lead_list.h"
#include "recording/plot_wnd.h"
#include "recording/save_plot_wnd.h"
#include "recording/screen_scale.h"

namespace {
constexpr const char* kCaption = "Tidemark ECG";
}

CTM_RealTimeDlg::CTM_RealTimeDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Record ECG"));
  m_title = windowTitle();
  m_display.SetLeadsPerGroup(12);
  m_display.SetLeadGroup(0);
  CreateControls();
  m_plot->SetSettings(&m_ecg, &m_display);
  m_strip->SetSettings(&m_ecg, &m_display);
  m_strip->UseExternalTransformation();
}

CTM_RealTimeDlg::~CTM_RealTimeDlg() { CleanUp(); }

void CTM_RealTimeDlg::SetOutputFile(const std::string& path) {
  m_outputFile = path;
  // The numbered name: "%d" after the name part, before the extension.
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  m_numberedFile = has_ext ? path.substr(0, dot) + "%d" + path.substr(dot) : path + "%d";
}

void CTM_RealTimeDlg::SetECGBufferSize(int seconds) {
  seconds = std::clamp(seconds, 10, 900);
  m_customSize = seconds != 10;
  m_bufferFrames = m_customSize ? static_cast<uint32_t>(seconds) * 500 : kTenSecondFrames;
}

void CTM_RealTimeDlg::SetDemoFile(const std::string& path, bool loop) {
  m_cable.m_connectionType = 1;
  m_cable.m_replayFileName = path;
  m_cable.m_replayLoops = loop;
}

void CTM_RealTimeDlg::SetCustomLeadGroup(const int16_t* leads, int count) {
  if (leads == nullptr) return;
  for (int i = 0; i < std::min(count, 3); ++i) {
    m_display.m_customLeads[static_cast<size_t>(i)] = static_cast<int16_t>(std::clamp<int>(leads[i], 0, 11));
  }
}

void CTM_RealTimeDlg::SetDisplayChannel(int i, int channel) {
  if (i < 0 || i >= 12) return;
  m_display.m_order[static_cast<size_t>(i)] = static_cast<int16_t>(std::clamp(channel, 0, 11));
}

void CTM_RealTimeDlg::SetDisplayChannels(const std::array<int16_t, 12>& channels) {
  for (int i = 0; i < 12; ++i) SetDisplayChannel(i, channels[static_cast<size_t>(i)]);
}

void CTM_RealTimeDlg::LeadGroup(int entry) {
  entry = std::clamp(entry, 0, ecg::recording::kLeadListEntries - 1);
  const auto& e = ecg::recording::LeadList()[static_cast<size_t>(entry)];
  m_display.SetLeadsPerGroup(e.leads_per_group);
  m_display.SetLeadGroup(e.group);
  m_display.m_customGroup = e.custom_group;
  m_display.m_customLayout = e.three_by_four;
}

uint32_t CTM_RealTimeDlg::RingBytes() {
  std::lock_guard<std::timed_mutex> lock(m_dataLock);
  return m_ring.Size();
}

double CTM_RealTimeDlg::HeartRate() const {
  std::lock_guard<std::mutex> lock(m_indicatorLock);
  return m_heartRate;
}

QString CTM_RealTimeDlg::IndicationsText() const { return m_indicationsLine->text(); }
QString CTM_RealTimeDlg::StatusText() const { return m_statusLine->text(); }

// ---------------------------------------------------------------- opening

void CTM_RealTimeDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_initialised) return;
  m_initialised = true;
  if (!OnInitDialog()) return;
}

bool CTM_RealTimeDlg::OnInitDialog() {
  m_live = true;
  InitSounds();
  ecg::recording::ApplyScreenTo(m_ecg, this);
  SelectListEntries();
  if (!m_plot->InitPlotWnd()) {
    ecg::platform::ShowMessage("Window initialisation failed. ECG capture will abort.", kCaption);
    EndWindow(kEndInitFailed);
    return false;
  }
  bool allocated = false;
  {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    allocated = m_ring.Allocate(m_bufferFrames * 13);
  }
  if (!allocated) {
    ecg::platform::ShowMessage("Data capture initialisation failed. ECG capture will abort.", kCaption);
    EndWindow(kEndInitFailed);
    return false;
  }
  SetSaveButtonsEnabled(false);
  m_printBtn->setEnabled(false);
  m_waitingForTen = true;
  m_progress->setValue(0);
  UpdateCalibrationPulse();
  RepaintIndicators();
  if (!InitialiseCable()) {
    Log("Cable capture initialisation failed. ECG capture will abort.");
    ecg::platform::ShowMessage(
        "Cannot find ECG cable. Ensure the cable is securely connected to the computer and try again.",
        kCaption);
    EndWindow(kEndInitFailed);
    return false;
  }
  return true;
}

void CTM_RealTimeDlg::InitSounds() {
  m_muted = false;
  if (!m_beatSoundOn && !m_leadOffSoundOn) return;
  if (m_midiOn) {
    m_beepThread = std::make_unique<CBeepThread>();
    m_beepThreadStarted =
        ecg::dsp::StartBeepThread(*m_beepThread, ecg::platform::CurrentPrompt(), kCaption);
    if (!m_beepThreadStarted) {
      m_beepThread.reset();
      m_beatSoundOn = false;
      m_leadOffSoundOn = false;
    }
    return;
  }
  m_waves = std::make_unique<ecg::dsp::WaveSounds>();
  m_waves->Load(ecg::dsp::WaveFolder(), ecg::platform::CurrentPrompt(), kCaption);
  m_wavePlayer = std::make_unique<ecg::dsp::AlsaWavePlayer>();
}

void CTM_RealTimeDlg::PlayBeat() {
  if (m_muted.load()) return;
  if (m_beepThread != nullptr) {
    m_beepThread->AddQueue(CBeepThread::kQrsSound);
  } else if (m_waves != nullptr && m_wavePlayer != nullptr) {
    m_waves->Play(ecg::dsp::WaveSounds::kBeat, *m_wavePlayer);
  }
}

// ---------------------------------------------------------------- timer

void CTM_RealTimeDlg::OnTimer() {
  bool changed = false;
  std::array<uint32_t, 12> status{};
  uint32_t received = 0;
  double rate = 0;
  {
    std::lock_guard<std::mutex> lock(m_indicatorLock);
    changed = m_indicationsChanged;
    m_indicationsChanged = false;
    status = m_status;
    if (changed) m_statusShown = m_status;
    received = m_receivedCounter;
    rate = m_heartRate;
  }
  m_heartRateLabel->setText(QString::fromStdString(ecg::dsp::HeartRateText(rate, m_dataFlowing.load())));
  m_clockLabel->setText(QString::fromStdString(ecg::recording::RecordedClockText(RingBytes())));
  if (changed) {
    m_plot->SetLabelStatus(status);
    m_indicationsLine->setText(
        QString::fromStdString(ecg::recording::IndicationsText(status, received, !m_live)));
  }
  if (m_leadOffSoundOn && !m_muted.load() &&
      ecg::dsp::AnyLeadOff(std::span<const uint32_t>(status.data(), 8))) {
    if (m_beepThread != nullptr) {
      m_beepThread->AddQueue(CBeepThread::kLeadOffSound);
    } else if (m_waves != nullptr && m_wavePlayer != nullptr) {
      m_waves->Play(ecg::dsp::WaveSounds::kLeadOff, *m_wavePlayer);
    }
  }
}

void CTM_RealTimeDlg::RepaintIndicators() {
  std::array<uint32_t, 12> status{};
  uint32_t received = 0;
  double rate = 0;
  {
    std::lock_guard<std::mutex> lock(m_indicatorLock);
    status = m_statusShown;
    received = m_receivedCounter;
    rate = m_heartRate;
  }
  m_indicationsLine->setText(
      QString::fromStdString(ecg::recording::IndicationsText(status, received, !m_live)));
  m_heartRateLabel->setText(QString::fromStdString(ecg::dsp::HeartRateText(rate, m_dataFlowing.load())));
  m_clockLabel->setText(QString::fromStdString(ecg::recording::RecordedClockText(RingBytes())));
  m_plot->SetLabelStatus(status);
}

// ---------------------------------------------------------------- display controls

void CTM_RealTimeDlg::RedrawDisplay() {
  m_plot->ResetDisplay();
  m_plot->SetUpGrid();
  m_plot->Clean();
  m_plot->update();
  UpdateCalibrationPulse();
}

void CTM_RealTimeDlg::UpdateCalibrationPulse() {
  double pps = 0, ppstep = 0;
  if (m_live) {
    m_ecg.GetTransformationValues(&pps, &ppstep);
  } else {
    pps = m_strip->PixelsPerSample();
    ppstep = m_strip->PixelsPerStep();
  }
  m_calibration->SetPulse(1000.0 / m_ecg.GetResolution() * ppstep, 0.1 * m_ecg.GetSamplingRate() * pps);
}

void CTM_RealTimeDlg::OnSensitivityChanged(int index) {
  static constexpr double kGains[] = {0.005, 0.01, 0.02};
  if (index < 0 || index > 2) return;
  // The cable thread reads the scale while it draws.
  m_plot->LockDisplay();
  m_ecg.SetGain(kGains[index]);
  m_plot->UnlockDisplay();
  RedrawDisplay();
}

void CTM_RealTimeDlg::OnSpeedChanged(int index) {
  static constexpr double kSpeeds[] = {12.5, 25.0, 50.0};
  if (index < 0 || index > 2) return;
  m_plot->LockDisplay();
  m_ecg.SetSpeed(kSpeeds[index]);
  m_plot->UnlockDisplay();
  RedrawDisplay();
}

void CTM_RealTimeDlg::ApplyLeadEntry(int entry) {
  m_plot->LockDisplay();
  LeadGroup(entry);
  m_plot->UnlockDisplay();
  if (!m_live) m_strip->Update();
  RedrawDisplay();
  UpdateArrows();
}

void CTM_RealTimeDlg::OnLeadListChanged(int index) { ApplyLeadEntry(index); }

void CTM_RealTimeDlg::OnGroupUp() {
  const int entry = ecg::recording::GroupUp(m_leadList->currentIndex());
  m_leadList->setCurrentIndex(entry);
  ApplyLeadEntry(entry);
}

void CTM_RealTimeDlg::OnGroupDown() {
  const int entry = ecg::recording::GroupDown(m_leadList->currentIndex());
  m_leadList->setCurrentIndex(entry);
  ApplyLeadEntry(entry);
}

void CTM_RealTimeDlg::OnFilterBox() {
  const uint8_t mains = m_filters.MainsFrequency();
  m_filters.SwitchFilters(m_muscleBox->isChecked(), m_baselineBox->isChecked(),
                          m_powerBox->isChecked(), mains);
  if (!m_live) {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    const uint32_t offset = m_strip->GetScrollOffset();
    m_strip->ResetData(m_ring, m_filters);
    m_strip->ScrollToOffset(offset);
  }
}

void CTM_RealTimeDlg::OnSoundBox() { m_muted = !m_soundBox->isChecked(); }

// ---------------------------------------------------------------- closing

void CTM_RealTimeDlg::EndWindow(int code) {
  m_endCode = code;
  // Ends after the current event: done() inside showEvent would be lost.
  QTimer::singleShot(0, this, [this, code] {
    CleanUp();
    done(code);
  });
}

void CTM_RealTimeDlg::CleanUp() {
  if (m_closing.exchange(true)) return;
  StopCable();
  if (m_timer != nullptr) m_timer->stop();
  if (!m_live && m_strip != nullptr) m_strip->KillData();
  if (m_beepThread != nullptr) {
    m_beepThread->StopMe();
    m_beepThread->WaitForExitEvent();
    m_beepThread.reset();
  }
  m_wavePlayer.reset();
}

void CTM_RealTimeDlg::OnClose() {
  CleanUp();
  done(m_endCode);
}

void CTM_RealTimeDlg::reject() {
  m_endCode = kEndCancel;
  CleanUp();
  QDialog::done(kEndCancel);
}

void CTM_RealTimeDlg::closeEvent(QCloseEvent* event) {
  CleanUp();
  done(m_endCode);
  event->accept();
}
