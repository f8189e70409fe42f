#include "acquisition/serial_comms.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <strings.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "acquisition/com_port.h"

using ecg::acquisition::ErrorCallback;

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

speed_t BaudConstant(uint32_t baud) {
  switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 230400: return B230400;
    default: return B115200;
  }
}

bool EndsWithNoCase(const char* text, size_t length, const char* tail) {
  const size_t n = std::strlen(tail);
  return length >= n && strncasecmp(text + length - n, tail, n) == 0;
}

// Line-error counters of a real serial port (a pseudo-terminal has none).
struct LineCounts {
  int brk = 0, frame = 0, overrun = 0, parity = 0, buf_overrun = 0;
};

bool QueryLineCounts(int fd, LineCounts* counts) {
  serial_icounter_struct ic{};
  if (ioctl(fd, TIOCGICOUNT, &ic) != 0) return false;
  counts->brk = ic.brk;
  counts->frame = ic.frame;
  counts->overrun = ic.overrun;
  counts->parity = ic.parity;
  counts->buf_overrun = ic.buf_overrun;
  return true;
}

uint32_t LineErrorFlags(const LineCounts& before, const LineCounts& now) {
  uint32_t flags = 0;
  if (now.brk != before.brk) flags |= 0x0010;
  if (now.frame != before.frame) flags |= 0x0008;
  if (now.overrun != before.overrun) flags |= 0x0002;
  if (now.buf_overrun != before.buf_overrun) flags |= 0x0001;
  if (now.parity != before.parity) flags |= 0x0004;
  return flags;
}

}  // namespace

CSerialComms::CSerialComms() { m_exited.Set(); }

CSerialComms::~CSerialComms() {
  StopReader();
  Close();
}

void CSerialComms::SetErrorCallback(ErrorCallback callback, void* context) {
  m_callbackContext = context;
  m_callback = callback;
}

bool CSerialComms::Fault(int source, int code, uint32_t detail) {
  const ErrorCallback callback = m_callback.load();
  if (callback != nullptr) return callback(m_callbackContext.load(), source, code, detail);
  return (code >= 1 && code <= 6) || code == 23 || code == 24;
}

bool CSerialComms::Open(const std::string& port_name, uint32_t baud, bool start_reader) {
  Close();
  const std::string device = ecg::acquisition::ResolveComPort(port_name);
  if (device.empty()) return false;
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  termios tio{};
  if (!isatty(fd) || tcgetattr(fd, &tio) != 0) {
    ::close(fd);
    return false;
  }
  // Raw 8N1, no flow control of either kind, receiver on, modem lines ignored.
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, BaudConstant(baud));
  cfsetospeed(&tio, BaudConstant(baud));
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    ::close(fd);
    return false;
  }
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIS, &lines);  // a pseudo-terminal has no modem lines
  m_fd = fd;
  if (start_reader && !StartReader()) return false;
  return true;
}

void CSerialComms::DropControlLines() {
  if (m_fd < 0) return;
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(m_fd, TIOCMBIC, &lines);
}

void CSerialComms::Close() {
  if (m_fd < 0) return;
  DropControlLines();
  ::close(m_fd);
  m_fd = -1;
}

void CSerialComms::SetRawMode(bool raw) {
  m_raw = raw;
  if (raw) {
    m_receive.FlushAll();
  } else {
    m_text.FlushAll();
    m_escape = false;
  }
}

void CSerialComms::Flush() {
  m_receive.FlushAll();
  m_text.FlushAll();
  m_escape = false;
  if (m_fd >= 0) {
    tcflush(m_fd, TCOFLUSH);
    tcflush(m_fd, TCIFLUSH);
  }
}

bool CSerialComms::StartReader() {
  if (m_running.load()) return true;
  if (m_fd < 0) return false;
  if (m_thread.joinable()) m_thread.join();
  if (m_wakeFd < 0) m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (m_wakeFd < 0) return false;
  m_started.Reset();
  m_exited.Reset();
  m_stop = false;
  m_running = true;
  try {
    m_thread = std::thread([this] { ReceiveLoop(); });
  } catch (...) {
    m_running = false;
    m_exited.Set();
  }
  // Started or exited, whichever comes first.
  for (;;) {
    if (m_started.Wait(std::chrono::milliseconds(5))) return true;
    if (m_exited.IsSet()) break;
  }
  StopReader();
  DropControlLines();
  Close();
  return false;
}

void CSerialComms::StopReader() {
  m_stop = true;
  if (m_wakeFd >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t w = ::write(m_wakeFd, &one, sizeof one);
  }
  if (m_thread.joinable()) {
    m_thread.join();
    SleepMs(10);
  }
  if (m_wakeFd >= 0) {
    ::close(m_wakeFd);
    m_wakeFd = -1;
  }
}

void CSerialComms::StoreBytes(const uint8_t* bytes, size_t n, bool* abort) {
  if (m_raw) {
    if (!m_receive.Write(bytes, static_cast<uint32_t>(n)) && Fault(kSourceInput, 23, 0)) *abort = true;
  } else {
    // Text mode (not used by the cable protocol): printable characters only.
    for (size_t i = 0; i < n; ++i) {
      if (bytes[i] < 0x20 || bytes[i] > 0x7E) continue;
      if (!m_text.Write(&bytes[i], 1) && Fault(kSourceInput, 22, 0)) *abort = true;
    }
  }
  m_dataReceived.Set();
}

void CSerialComms::ReceiveLoop() {
  int exit_code = 0;
  m_receive.FlushAll();
  m_text.FlushAll();
  m_started.Set();
  bool abort = false;
  if (fcntl(m_fd, F_GETFL) < 0) {
    const int err = errno;
    if (Fault(kSourceInput, 24, static_cast<uint32_t>(err))) {
      abort = true;
      exit_code = err;
    }
  }
  LineCounts counts;
  bool watch_lines = QueryLineCounts(m_fd, &counts);
  std::vector<uint8_t> chunk(m_readChunk);
  bool hung_up = false;
  while (!abort && !m_stop.load()) {
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    const int ready = poll(fds, 2, 500);
    if (m_stop.load()) break;
    if (ready < 0) {
      if (errno == EINTR) continue;
      abort = Fault(kSourceInput, 29, static_cast<uint32_t>(errno));
      continue;
    }
    if (ready == 0) {
      abort = Fault(kSourceInput, 28, 0);
      continue;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t got = ::read(m_fd, chunk.data(), chunk.size());
      if (got > 0) {
        hung_up = false;
        StoreBytes(chunk.data(), static_cast<size_t>(got), &abort);
        if (!abort && static_cast<size_t>(got) != chunk.size()) abort = Fault(kSourceInput, 27, static_cast<uint32_t>(got));
      } else if (got < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
        const int err = errno;
        if (Fault(kSourceInput, 25, static_cast<uint32_t>(err))) {
          abort = true;
          exit_code = err;
        }
      } else if (got < 0 && errno == EIO) {
        fds[0].revents |= POLLHUP;
      }
    }
    if (!abort && (fds[0].revents & (POLLHUP | POLLERR))) {
      // The other end went away: an I/O line error, reported once per
      // hang-up; the poll is then paced so that a hung-up line costs no CPU.
      if (!hung_up) abort = Fault(kSourceInput, 21, 0x0400);
      hung_up = true;
      if (!abort) {
        pollfd wake{m_wakeFd, POLLIN, 0};
        poll(&wake, 1, 500);
      }
    }
    if (!abort && watch_lines) {
      LineCounts now;
      if (!QueryLineCounts(m_fd, &now)) {
        const int err = errno;
        watch_lines = false;
        if (Fault(kSourceInput, 42, static_cast<uint32_t>(err))) {
          abort = true;
          exit_code = err;
        }
      } else if (const uint32_t flags = LineErrorFlags(counts, now); flags != 0) {
        counts = now;
        abort = Fault(kSourceInput, 21, flags);
      }
    }
  }
  if (abort && exit_code == 0) exit_code = -1;
  m_exitCode = exit_code;
  m_running = false;
  m_exited.Set();
#ifdef ECG_ACQUISITION_TRACE
  std::fprintf(stderr, "CSerialComms::ExitInstance(). Exit Return code is %d\n", exit_code);
#endif
}

bool CSerialComms::WriteChar(uint8_t c) {
  if (m_fd < 0) {
    Fault(kSourceOutput, 1, 6);
    return false;
  }
  ssize_t put = ::write(m_fd, &c, 1);
  if (put < 0 && errno == EAGAIN) {
    pollfd out{m_fd, POLLOUT, 0};
    const int ready = poll(&out, 1, 1000);
    if (ready == 0) {
      Fault(kSourceOutput, 5, 0);
      return false;
    }
    if (ready < 0) {
      Fault(kSourceOutput, 6, static_cast<uint32_t>(errno));
      return false;
    }
    put = ::write(m_fd, &c, 1);
    if (put < 0) {
      Fault(kSourceOutput, 3, static_cast<uint32_t>(errno));
      return false;
    }
  } else if (put < 0) {
    Fault(kSourceOutput, 2, static_cast<uint32_t>(errno));
    return false;
  }
  if (put != 1) {
    Fault(kSourceOutput, 4, static_cast<uint32_t>(put));
    return false;
  }
  return true;
}

bool CSerialComms::WriteRaw(const uint8_t* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (!WriteChar(bytes[i])) return false;
    SleepMs(5);
  }
  return true;
}

bool CSerialComms::SendCommand(const char* text, size_t length, int echo_limit) {
  Flush();
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    bool echoed = false;
    for (int attempt = 0; attempt < 3 && !echoed; ++attempt) {
      if (m_receive.Size() > 1) return false;
      if (!WriteChar(c)) return false;
      SleepMs(5);
      for (int poll_count = 0; poll_count < echo_limit; ++poll_count) {
        uint8_t b = 0;
        if (m_receive.Take(&b, 1) && b == c) {
          echoed = true;
          break;
        }
        SleepMs(1);
      }
    }
    if (!echoed) return false;
  }
  return true;
}

bool CSerialComms::ReadResponse(char* buffer, const char* terminator, size_t size, int idle_limit) {
  if (buffer == nullptr || size < 2) return false;
  size_t n = 0;
  int idle = 0;
  buffer[0] = '\0';
  while (n < size - 1) {
    uint8_t b = 0;
    if (!m_receive.Take(&b, 1)) {
      if (++idle >= idle_limit) return false;
      SleepMs(1);
      continue;
    }
    idle = 0;
    buffer[n++] = static_cast<char>(b);
    buffer[n] = '\0';
    if (EndsWithNoCase(buffer, n, terminator)) return true;
  }
  return false;
}
