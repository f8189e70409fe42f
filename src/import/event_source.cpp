#include "import/event_source.h"

#include <sys/stat.h>

#include <ctime>

#include "platform/last_error.h"

namespace ecg::import {

using namespace ecg::platform;

namespace {

SystemTime LocalTimeOf(time_t t) {
  SystemTime out;
  struct tm local {};
  if (localtime_r(&t, &local) == nullptr) return LocalTimeNow();
  out.year = static_cast<uint16_t>(local.tm_year + 1900);
  out.month = static_cast<uint16_t>(local.tm_mon + 1);
  out.day_of_week = static_cast<uint16_t>(local.tm_wday);
  out.day = static_cast<uint16_t>(local.tm_mday);
  out.hour = static_cast<uint16_t>(local.tm_hour);
  out.minute = static_cast<uint16_t>(local.tm_min);
  out.second = static_cast<uint16_t>(local.tm_sec);
  return out;
}

}  // namespace

bool OpenEventFile(const char* path, EventSource& source) {
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  auto file = PosixFile::Open(path, FileMode::kRead);
  if (!file) return false;
  struct stat st {};
  if (::fstat(file->fd(), &st) != 0) return Fail(ErrorFromErrno(errno));
  if (!S_ISREG(st.st_mode)) return Fail(kErrorAccessDenied);  // a folder or a device
  source.size = static_cast<uint64_t>(st.st_size);
  source.time = LocalTimeOf(st.st_mtime);
  source.stream = std::move(file);
  return true;
}

bool OpenEventMemory(const uint8_t* data, size_t size, EventSource& source) {
  if (data == nullptr || size == 0) return Fail(kErrorInvalidParameter);
  source.stream = MemoryStream::View({data, size});
  source.size = size;
  source.time = LocalTimeNow();
  return true;
}

size_t NextChunk(size_t chunk, size_t remaining) {
  while (chunk > remaining && chunk > 1) chunk /= 2;
  return chunk;
}

void SetAcquisitionTime(const SystemTime& time, SECGInfo& info) {
  info.m_year = time.year;
  info.m_month = static_cast<uint8_t>(time.month);
  info.m_day = static_cast<uint8_t>(time.day);
  info.m_hour = static_cast<uint8_t>(time.hour);
  info.m_minute = static_cast<uint8_t>(time.minute);
  info.m_second = static_cast<uint8_t>(time.second);
}

bool ReadBytes(ByteStream& stream, void* buffer, size_t n) {
  size_t got = 0;
  if (!stream.Read(buffer, n, &got)) return false;
  if (got != n) return Fail(kErrorInvalidData);
  return true;
}

SLeadObj* FinishEventRead(bool ok, SEvent& event, SECGInfo* info) {
  if (!ok) return nullptr;
  if (info != nullptr) info->Set(event.m_info);
  SetLastError(kErrorSuccess);
  return &event.m_leads;
}

}  // namespace ecg::import
