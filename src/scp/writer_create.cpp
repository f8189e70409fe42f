// CWriter: life cycle, file handling, empty records, GUIDs and numbered names.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "platform/last_error.h"
#include "scp/writer.h"

using namespace ecg::platform;

CWriter::~CWriter() { Close(); }

std::string CWriter::GenerateGuid() {
  uint8_t b[16] = {};
  bool random = false;
  int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    random = ::read(fd, b, sizeof b) == static_cast<ssize_t>(sizeof b);
    ::close(fd);
  }
  if (!random) {
    std::random_device device;
    for (auto& byte : b) byte = static_cast<uint8_t>(device());
  }
  b[6] = static_cast<uint8_t>((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = static_cast<uint8_t>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
  const unsigned long data1 = (static_cast<unsigned long>(b[0]) << 24) |
                              (static_cast<unsigned long>(b[1]) << 16) |
                              (static_cast<unsigned long>(b[2]) << 8) | b[3];
  const unsigned data2 = static_cast<unsigned>((b[4] << 8) | b[5]);
  const unsigned data3 = static_cast<unsigned>((b[6] << 8) | b[7]);
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1,
                data2, data3, b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return text;
}

void CWriter::SelectWriter(const std::u16string& application, const std::u16string& version) {
  m_writerApplication = application;
  m_writerVersion = version;
  m_hasWriter = true;
}

bool CWriter::OpenRd(const char* path, bool for_writing) {
  Close(m_file);
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  if (!for_writing) return Open(m_file, path, &m_recordHeader);
  m_file = PosixFile::Open(path, FileMode::kReadWrite);
  if (!m_file) {
    // Open-or-create.
    if (GetLastError() != kErrorFileNotFound) return false;
    int fd = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(ErrorFromErrno(errno));
    ::close(fd);
    m_file = PosixFile::Open(path, FileMode::kReadWrite);
    if (!m_file) return false;
  }
  if (!GetRecordHeader(m_file, &m_recordHeader)) {
    Close(m_file);
    return Fail(kErrorInvalidData);
  }
  uint64_t size = 0;
  if (!m_file->Size(&size) || size < m_recordHeader.m_length) {
    Close(m_file);
    return Fail(kErrorInvalidData);
  }
  return true;
}

bool CWriter::OpenWr(const char* path) {
  Close(m_file);
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  m_file = PosixFile::Open(path, FileMode::kCreateReadWrite);
  return m_file != nullptr;
}

void CWriter::Close() {
  EmptyStoredSections();
  Unload();
  m_medianReady = false;
  m_rhythmReady = false;
}

bool CWriter::CreateEmpty(const char* path) {
  if (m_file) return Fail(kErrorInvalidAccess);
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  EmptyStoredSections();
  m_updateMode = false;
  return WriteSections(path);
}

void CWriter::CreateEventFileName(char* out, const char* base, int16_t n) {
  if (out == nullptr || base == nullptr || n < 0) return;
  std::string suffix = ".";
  suffix += static_cast<char>('a' + n % 26);
  if (n >= 26) suffix += static_cast<char>('a' + (n / 26) % 26);
  if (n >= 676) suffix += static_cast<char>('a' + (n / 676) % 26);

  const std::string path(base);
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string extension;
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) {
    extension = name.substr(dot);
    name.resize(dot);
  }
  // The file name and its suffix fit in 255 characters, and the whole path
  // in 259 (a 260-character buffer): the name gives way, the folder and the
  // extension stay.
  size_t room = 255 - suffix.size();
  const size_t fixed = folder.size() + suffix.size() + extension.size();
  if (fixed < kEventFileNameSize - 1) room = std::min(room, kEventFileNameSize - 1 - fixed);
  if (name.size() > room) name.resize(room);
  std::string result = folder + name + suffix + extension;
  if (result.size() > kEventFileNameSize - 1) result.resize(kEventFileNameSize - 1);
  std::memcpy(out, result.c_str(), result.size() + 1);
}
