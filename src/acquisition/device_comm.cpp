#include "acquisition/device_comm.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "acquisition/com_port.h"
#include "acquisition/cable_settings.h"

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint64_t NowMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

bool WriteSlowly(int fd, const char* text) {
  for (size_t i = 0; text[i] != '\0'; ++i) {
    if (write(fd, &text[i], 1) != 1) return false;
    SleepMs(5);
  }
  return true;
}

// Reads what is waiting, up to `max` bytes, without waiting.
std::string ReadWaiting(int fd, size_t max) {
  std::string out(max, '\0');
  const ssize_t got = read(fd, out.data(), max);
  out.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return out;
}

// `count` characters after `tag` and one separator.
std::string After(const std::string& reply, const char* tag, size_t count) {
  const size_t at = reply.find(tag);
  if (at == std::string::npos) return {};
  const size_t from = at + std::strlen(tag) + 1;
  return from >= reply.size() ? std::string() : reply.substr(from, count);
}

}  // namespace

bool CDeviceComm::ProbePort(int port, int* fd_out) {
  // The name the port is known by, "COM%d" or "\\.\COM%d".
  const std::string device = ecg::acquisition::ResolveComPort(CCableSettings::PortName(port));
  if (device.empty()) return false;
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  termios tio{};
  if (!isatty(fd) || tcgetattr(fd, &tio) != 0) {
    close(fd);
    return false;
  }
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  tio.c_cc[VMIN] = 0;  // reads return at once
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B115200);
  cfsetospeed(&tio, B115200);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    close(fd);
    return false;
  }
  SleepMs(500);
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIS, &lines);
  tcflush(fd, TCIOFLUSH);
  SleepMs(500);
  const char cancel = 0x18;
  if (write(fd, &cancel, 1) != 1) {
    close(fd);
    return false;
  }
  SleepMs(100);
  const uint64_t first = NowMs();
  for (;;) {
    tcflush(fd, TCIOFLUSH);
    if (!WriteSlowly(fd, "enq\r")) break;
    SleepMs(150);
    const std::string got = ReadWaiting(fd, 7);
    if (got.size() >= 6 && got.compare(0, 3, "enq") == 0 && got.compare(4, 2, "OK") == 0) {
      if (fd_out != nullptr) {
        *fd_out = fd;
      } else {
        close(fd);
      }
      return true;
    }
    if (NowMs() - first > 1000) break;
  }
  close(fd);
  return false;
}

bool CDeviceComm::QueryDetails(int fd) {
  auto ask = [&](const char* command, std::string* reply) {
    tcflush(fd, TCIOFLUSH);
    if (!WriteSlowly(fd, command)) return false;
    SleepMs(150);
    *reply = ReadWaiting(fd, 4096);
    return !reply->empty();
  };
  std::string reply;
  if (!ask("ID\r", &reply)) return false;
  m_cableId = After(reply, "ID", 6);
  const size_t hw = reply.find("HW v");
  m_hardwareVersion = hw == std::string::npos ? "" : reply.substr(hw + 4, 3);
  const size_t sw = reply.find("SW v");
  m_softwareVersion = sw == std::string::npos ? "" : reply.substr(sw + 4, 3);
  if (!ask("SERNUM\r", &reply)) return false;
  m_serialNumber = After(reply, "SERNUM", 6);
  if (!ask("RES\r", &reply)) return false;
  const std::string res = After(reply, "RES", std::string::npos);
  const size_t semi = res.find(';');
  m_resolution = res.substr(0, semi);
  m_bits = semi == std::string::npos ? "" : res.substr(semi + 1, 2);
  return true;
}

int CDeviceComm::DetectCable(int* port, bool query_details) {
  const int configured = port != nullptr ? *port : 0;
  int fd = -1;
  int found = 0;
  if (configured >= 1 && ProbePort(configured, &fd)) {
    found = configured;
  } else {
    for (int p = 1; p <= kMaxPort && found == 0; ++p) {
      if (p == configured) continue;
      if (ProbePort(p, &fd)) found = p;
    }
  }
  if (found != 0 && query_details && !QueryDetails(fd)) found = 0;
  if (fd >= 0) close(fd);
  if (port != nullptr && found != 0) *port = found;
  SleepMs(2000);
  return found;
}
