// CTM_RealTimeDlg: the transport's faults (serial output, serial input and
// replay file), reported through the cable thread's error callback. Except
// for the codes noted below, only the first fault of a connection (no exit
// action set yet) shows anything.

#include <QLabel>
#include <QMetaObject>

#include "platform/prompt.h"
#include "recording/tm_realtime_dlg.h"

namespace {

constexpr const char* kCaption = "Tidemark ECG";

struct LineFlag {
  uint32_t bit;
  const char* text;
};
constexpr LineFlag kLineFlags[] = {
    {0x0010, "Hardware break."},
    {0x0800, "Parallel device is not selected."},
    {0x0008, "Frame Error."},
    {0x0400, "IO error."},
    {0x8000, "Unsupported mode."},
    {0x1000, "Parallel device is out of paper."},
    {0x0002, "Receive buffer overrun."},
    {0x0200, "Timeout on parallel device"},
    {0x0001, "Receive buffer overflow."},
    {0x0004, "Parity Error."},
    {0x0100, "Transmit buffer is full."},
};

}  // namespace

bool CTM_RealTimeDlg::OnErrNotify(void* context, int source, int code, uint32_t detail) {
  auto* self = static_cast<CTM_RealTimeDlg*>(context);
  if (source == 0) return self->OutputFault(code, detail);
  return self->InputFault(source, code, detail);
}

bool CTM_RealTimeDlg::OutputFault(int code, uint32_t detail) {
  std::lock_guard<std::mutex> lock(m_errorLock);
  const bool first = m_exitAction.load() == kExitNone;
  switch (code) {
    case 1:
      if (first) PostMessage(tr("Comm Port was not open for write operation."));
      break;
    case 2:
      if (first) {
        std::lock_guard<std::mutex> indicators(m_indicatorLock);
        m_pendingPrompt = QStringLiteral("%1 %2").arg(
            tr("Error with serial communication's output.\nEvent error:"), QString::number(detail));
      }
      break;
    case 3:
      if (first) PostMessage(tr("Query status fault of serial communication's output. ECG capture will abort."));
      break;
    case 4:
      if (first) PostMessage(tr("Incomplete operation writing to serial port. ECG capture will abort."));
      break;
    case 5: PostMessage(tr("Timeout fault with serial communications. ECG capture will abort.")); break;
    case 6: PostMessage(tr("Wait operation failed writing to serial port. ECG capture will abort.")); break;
    default: PostMessage(tr("Unidentified fault with serial communications! ECG capture will abort.")); break;
  }
  // A prompt decides between reconnecting and closing when the thread ends.
  int expected = kExitNone;
  m_exitAction.compare_exchange_strong(expected, code == 2 ? kExitReconnect : kExitClose);
  StopCableThread();
  return true;
}

bool CTM_RealTimeDlg::InputFault(int /*source*/, int code, uint32_t detail) {
  std::lock_guard<std::mutex> lock(m_errorLock);
  const bool first = m_exitAction.load() == kExitNone;
  int expected = kExitNone;
  switch (code) {
    case 21:
      if (first) ReportLineErrors(detail);
      StopCableThread();
      return true;
    case 22:
      return false;
    case 23:
      Log("Data dropped");
      m_exitAction.compare_exchange_strong(expected, kExitReconnect);
      StopCableThread();
      return true;
    case 24:
      PostMessage(tr("Serial port input set up failed. ECG capture will abort."));
      m_exitAction.compare_exchange_strong(expected, kExitClose);
      StopCableThread();
      return true;
    case 25:
      if (first) Log("Serial port input set up failed. ECG capture will abort.");
      return false;
    case 26:
    case 27:
    case 29:
    case 41:
    case 42:
      return false;
    case 28:
      if (!m_dataFlowing.load()) {
        if (first) PostStatus(tr("Timeout error waiting for read operation to complete."));
        return false;
      }
      if (first) Log("Timeout error waiting for read operation to complete.");
      m_exitAction.compare_exchange_strong(expected, kExitReconnect);
      StopCableThread();
      return true;
    default:
      PostMessage(tr("Unidentified fault with serial communications! ECG capture will abort."));
      m_exitAction.compare_exchange_strong(expected, kExitClose);
      StopCableThread();
      return true;
  }
}

bool CTM_RealTimeDlg::ReportLineErrors(uint32_t flags) {
  const QString prefix = tr("Error with serial communication's input. Event error:");
  for (const LineFlag& f : kLineFlags) {
    if ((flags & f.bit) == 0) continue;
    Log(prefix.toStdString() + " " + f.text);
    PostStatus(tr(f.text));
    flags &= ~f.bit;
  }
  int expected = kExitNone;
  m_exitAction.compare_exchange_strong(expected, kExitReconnect);
  if (flags != 0) {
    const QString text = QStringLiteral("%1 %2").arg(prefix, QString::number(flags));
    Log(text.toStdString());
    std::lock_guard<std::mutex> indicators(m_indicatorLock);
    m_pendingPrompt = text;
  }
  return true;
}

// Faults run on the receive or cable thread; the cable thread object lives
// until StopCable has joined it, which happens after the port's receive
// thread has ended.
void CTM_RealTimeDlg::StopCableThread() {
  if (m_cableThread != nullptr) m_cableThread->StopMe();
}

void CTM_RealTimeDlg::PostMessage(const QString& text) {
  QMetaObject::invokeMethod(this, [text] {
    ecg::platform::ShowMessage(text.toStdString(), kCaption, ecg::platform::PromptButtons::kOk,
                               ecg::platform::PromptIcon::kError);
  }, Qt::QueuedConnection);
}

void CTM_RealTimeDlg::PostStatus(const QString& text) {
  QMetaObject::invokeMethod(this, [this, text] { ShowStatus(text); }, Qt::QueuedConnection);
}

void CTM_RealTimeDlg::PostPrompt(const QString& text) {
  std::lock_guard<std::mutex> indicators(m_indicatorLock);
  m_pendingPrompt = text;
}

// The window keeps no log file (nothing gives it a name), so log lines are
// dropped.
void CTM_RealTimeDlg::Log(const std::string& /*text*/) {}
