// CTM_RealTimeDlg: the cable thread, its callbacks (which run on the cable
// thread) and reconnection.

#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include "acquisition/cable_frame.h"
#include "dsp/indications.h"
#include "platform/prompt.h"
#include "recording/lead_values.h"
#include "recording/plot_wnd.h"
#include "recording/tm_realtime_dlg.h"

namespace {
constexpr const char* kCaption = "Tidemark ECG";
}

bool CTM_RealTimeDlg::InitialiseCable() {
  if (m_cableRunning.load()) return true;
  m_exitAction = kExitNone;
  m_stopping = false;
  m_cableThread = std::make_unique<CCableThread>();
  m_cableThread->SetSettings(&m_cable, &m_ecg);
  m_cableThread->SetOwner(this);
  m_cableThread->SetCallbacks(&CTM_RealTimeDlg::OnCableNotify, &CTM_RealTimeDlg::OnStatusNotify,
                              &CTM_RealTimeDlg::OnErrNotify, this);
  if (!m_cableThread->Allocate(60000, 10)) return false;
  if (m_cable.m_connectionType == 0) {
    m_cable.SetUpdateRate(25);
  } else if (m_cable.m_connectionType == 1) {
    m_cable.SetUpdateRate(200);
  } else {
    return false;
  }
  m_cableThread->SetDataBuffer(&m_ring, &m_dataLock);
  m_dataFlowing = false;
  m_cableRunning = true;
  if (!m_cableThread->CreateThread()) {
    m_cableRunning = false;
    return false;
  }
  return true;
}

void CTM_RealTimeDlg::StopCable() {
  if (m_cableThread == nullptr) return;
  m_stopping = true;
  m_cableThread->StopMe();
  m_cableThread->WaitForExitEvent(std::chrono::seconds(30));
  m_cableThread->Join();
  m_cableThread.reset();
  m_cableRunning = false;
  // The cable needs a pause before the port is opened again.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

// ---------------------------------------------------------------- callbacks

void CTM_RealTimeDlg::OnCableNotify(void* window, int event) {
  auto* self = static_cast<CTM_RealTimeDlg*>(window);
  switch (event) {
    case CCableThread::kNotifyReady: self->CableNotifyReady(); break;
    case CCableThread::kNotifyUpdate: self->CableNotifyUpdate(); break;
    case CCableThread::kNotifyExit: self->CableNotifyExit(); break;
    default: break;
  }
}

void CTM_RealTimeDlg::OnStatusNotify(void* window, int kind, int code) {
  static_cast<CTM_RealTimeDlg*>(window)->CableStatus(kind, code);
}

void CTM_RealTimeDlg::CableNotifyReady() {
  {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    m_ring.SetUtilise(m_bufferFrames * 13);
    m_ring.ResetRead();
    m_requiredSize = kRequiredBytes;
  }
  m_filters.Lock();
  m_filters.SetUp(m_ecg.GetSamplingRate());
  m_filters.Unlock();
  m_plot->ResetDisplay();
  m_plot->SetUpGrid();
  m_plot->Clean();
  m_plot->PostUpdate();
  {
    std::lock_guard<std::mutex> lock(m_indicatorLock);
    m_limbCounter = 0;
    m_chestCounter = 0;
    m_receivedCounter = 0;
    m_heartRate = 0;
    m_indicationsChanged = true;
  }
  m_detector.Reset();
  m_detectorPhase = 0.0;
  QMetaObject::invokeMethod(this, [this] {
    m_progress->setRange(0, 5000);
    UpdateCalibrationPulse();
    RepaintIndicators();
    m_timer->start();
  }, Qt::QueuedConnection);
  m_dataFlowing = true;
}

void CTM_RealTimeDlg::CableNotifyUpdate() {
  ecg::acquisition::Frame frame{};
  std::array<uint16_t, 8> samples{};
  std::array<uint32_t, 12> status{};
  for (;;) {
    {
      std::lock_guard<std::timed_mutex> lock(m_dataLock);
      if (!m_ring.Read(frame.data(), 13)) break;
    }
    const auto raw = ecg::acquisition::UnpackFrame(frame.data());
    m_filters.Lock();
    auto& vector = m_filters.SampleVector();
    for (size_t c = 0; c < 8; ++c) {
      const auto v = ecg::acquisition::DecodeChannel(raw[c]);
      vector[c] = static_cast<int16_t>(v.sample);
      status[c] = v.status;
    }
    m_filters.Filter();
    for (size_t c = 0; c < 8; ++c) samples[c] = static_cast<uint16_t>(std::clamp<int>(vector[c], 0, 4095));
    m_filters.Unlock();
    for (size_t c = 8; c < 12; ++c) status[c] = status[0] | status[1];

    m_plot->AddLeadData(samples.data(), status.data(), 8, 12);

    if (m_heartRateOn) {
      m_detectorPhase += kDetectorStep;
      if (m_detectorPhase >= 500.0) {
        double rate = 0;
        {
          std::lock_guard<std::mutex> lock(m_indicatorLock);
          rate = m_heartRate;
        }
        const bool beat = m_detector.QrsDetect(ecg::dsp::DetectorSample(raw[1]), rate);
        {
          std::lock_guard<std::mutex> lock(m_indicatorLock);
          m_heartRate = rate;
        }
        if (beat && m_beatSoundOn) PlayBeat();
        m_detectorPhase -= 500.0;
      }
    }

    std::lock_guard<std::mutex> lock(m_indicatorLock);
    if (status != m_statusShown) m_indicationsChanged = true;
    m_status = status;
    const bool limb_problem = ((status[0] | status[1]) & ecg::recording::kGapStatusBits) != 0;
    m_limbCounter = limb_problem ? 0 : std::min<uint32_t>(m_limbCounter + 1, 5000);
    uint32_t chest = 0;
    for (size_t c = 2; c < 8; ++c) chest |= status[c];
    m_chestCounter = (chest & ecg::recording::kGapStatusBits) != 0 ? 0 : std::min<uint32_t>(m_chestCounter + 1, 5000);
    if (m_receivedCounter < 5000 && ++m_receivedCounter == 5000) m_indicationsChanged = true;
  }
  if (m_waitingForTen.load()) {
    uint32_t bytes = 0;
    uint32_t required = 0;
    {
      std::lock_guard<std::timed_mutex> lock(m_dataLock);
      bytes = m_ring.Size();
      required = m_requiredSize;
    }
    if (required != 0 && bytes >= required) {
      m_waitingForTen = false;
      QMetaObject::invokeMethod(this, [this] {
        if (m_live) SetSaveButtonsEnabled(true);
      }, Qt::QueuedConnection);
    }
  }
  int progress = 0;
  {
    std::lock_guard<std::mutex> lock(m_indicatorLock);
    progress = static_cast<int>(std::min(m_limbCounter, m_chestCounter));
  }
  QMetaObject::invokeMethod(m_progress, [bar = m_progress, progress] { bar->setValue(progress); },
                            Qt::QueuedConnection);
  m_plot->PostUpdate();
}

void CTM_RealTimeDlg::CableNotifyExit() {
  const int action = m_exitAction.exchange(kExitNone);
  if (!m_closing.load() && !m_stopping.load()) {
    QMetaObject::invokeMethod(this, [this, action] { OnCableExited(action); }, Qt::QueuedConnection);
  }
  m_cableRunning = false;
}

void CTM_RealTimeDlg::CableStatus(int kind, int code) {
  if (kind == 0) {
    PostStatus(QStringLiteral("%1").arg(code));
    return;
  }
  if (kind == CCableThread::kStatusProgress) {
    const QString where = QString::fromStdString(m_cable.m_connectionType == 1 ? m_cable.m_replayFileName
                                                                             : m_cable.m_portName);
    switch (code) {
      case 5: PostStatus(QStringLiteral("%1 %2.").arg(tr("Opening port:"), where)); break;
      case 1: PostStatus(tr("Port opened")); break;
      case 2: PostStatus(tr("Sending: ENQ")); break;
      case 3: PostStatus(tr("Cable found")); break;
      case 4: PostStatus(tr("Specified number of leads is invalid, using 12 lead cable definition")); break;
      case 0: PostStatus(tr("Receiving ECG")); break;
      default: break;
    }
    return;
  }
  if (kind != CCableThread::kStatusResult) return;
  const bool exiting = m_closing.load() || m_stopping.load();
  std::lock_guard<std::mutex> lock(m_errorLock);
  auto set_action = [this](int action) {
    int expected = kExitNone;
    m_exitAction.compare_exchange_strong(expected, action);
  };
  switch (code) {
    case 0:
      if (!exiting) PostStatus(tr("Finished receiving ECG"));
      // A fault that asked for reconnection or closing decides instead.
      set_action(kExitFinished);
      break;
    case -1: PostMessage(tr("Fault occured! ECG capture will abort.")); set_action(kExitClose); break;
    case -2: PostMessage(tr("Unable to open comm port. ECG capture will abort.")); set_action(kExitClose); break;
    case -3:
      if (!exiting) {
        // Asked on the window's thread once the cable thread has ended.
        std::lock_guard<std::mutex> indicators(m_indicatorLock);
        m_pendingPrompt = tr("Unable to find cable.");
      }
      set_action(kExitReconnect);
      break;
    case -4: Log("Unable to request serial number"); set_action(kExitReconnect); break;
    case -5: Log("Unable to request cable id"); set_action(kExitReconnect); break;
    case -6: Log("Unable to request cable resolution"); set_action(kExitReconnect); break;
    case -7: Log("Unable to select cable leads"); set_action(kExitReconnect); break;
    case -8: Log("Unable to request cable data"); set_action(kExitReconnect); break;
    case -9:
      PostMessage(tr("Termination of any previous data capture failed. ECG capture will abort."));
      set_action(kExitClose);
      break;
    case -10:
    case -11: set_action(kExitReconnect); break;
    case -12: PostMessage(tr("Network socket connection failed. ECG capture will abort.")); set_action(kExitClose); break;
    case -13: PostMessage(tr("Network socket initialisation failed. ECG capture will abort.")); set_action(kExitClose); break;
    case -14: PostStatus(tr("End of ECG.")); break;
    default: break;
  }
}

void CTM_RealTimeDlg::OnCableExited(int action) {
  if (m_closing.load()) return;
  QString prompt;
  {
    std::lock_guard<std::mutex> lock(m_indicatorLock);
    prompt.swap(m_pendingPrompt);
  }
  if (!prompt.isEmpty()) {
    const int answer = ecg::platform::ShowMessage(prompt.toStdString(), kCaption,
                                                  ecg::platform::PromptButtons::kRetryCancel,
                                                  ecg::platform::PromptIcon::kWarning);
    action = answer == ecg::platform::kAnswerRetry ? kExitReconnect : kExitClose;
  }
  if (action == kExitReconnect && m_live) {
    OnReconnect();
  } else if (action == kExitClose) {
    OnClose();
  }
}

void CTM_RealTimeDlg::OnReconnect() {
  if (m_closing.load()) return;
  StopCable();
  {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    m_ring.SetUtilise(m_bufferFrames * 13);
    m_requiredSize = 0;
  }
  SetSaveButtonsEnabled(false);
  m_printBtn->setEnabled(false);
  m_waitingForTen = true;
  m_progress->setValue(0);
  {
    std::lock_guard<std::mutex> lock(m_indicatorLock);
    m_status.fill(0);
    m_statusShown.fill(0);
    m_limbCounter = 0;
    m_chestCounter = 0;
    m_receivedCounter = 0;
    m_heartRate = 0;
    m_indicationsChanged = true;
  }
  if (!InitialiseCable()) {
    ecg::platform::ShowMessage("Cable capture initialisation failed. ECG capture will abort.", kCaption);
    EndWindow(kEndInitFailed);
  }
}
