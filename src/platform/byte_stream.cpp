#include "platform/byte_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

#include "platform/last_error.h"

namespace ecg::platform {

bool ReadExact(ByteStream& stream, void* buffer, size_t n) {
  size_t got = 0;
  if (!stream.Read(buffer, n, &got)) return false;
  if (got != n) return Fail(kErrorInvalidData);
  return true;
}

// ---------------------------------------------------------------- PosixFile

std::unique_ptr<PosixFile> PosixFile::Open(const std::string& path, FileMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileMode::kRead: flags |= O_RDONLY; break;
    case FileMode::kReadWrite: flags |= O_RDWR; break;
    case FileMode::kCreateReadWrite: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    SetLastError(kErrorAccessDenied);
    return nullptr;
  }
  if (mode == FileMode::kRead) {
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
  }
  auto* file = new (std::nothrow) PosixFile(fd, mode != FileMode::kRead);
  if (file == nullptr) {
    ::close(fd);
    SetLastError(kErrorOutOfMemory);
    return nullptr;
  }
  return std::unique_ptr<PosixFile>(file);
}

PosixFile::~PosixFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool PosixFile::ReadAt(uint64_t position, void* buffer, size_t n, size_t* got) {
  *got = 0;
  auto* out = static_cast<uint8_t*>(buffer);
  while (*got < n) {
    ssize_t r = ::pread(fd_, out + *got, n - *got, static_cast<off_t>(position + *got));
    if (r < 0) {
      if (errno == EINTR) continue;
      return Fail(ErrorFromErrno(errno));
    }
    if (r == 0) break;
    *got += static_cast<size_t>(r);
  }
  return true;
}

bool PosixFile::Read(void* buffer, size_t n, size_t* got) {
  if (!ReadAt(position_, buffer, n, got)) return false;
  position_ += *got;
  return true;
}

bool PosixFile::Write(const void* buffer, size_t n) {
  const auto* in = static_cast<const uint8_t*>(buffer);
  size_t done = 0;
  while (done < n) {
    ssize_t w = ::pwrite(fd_, in + done, n - done, static_cast<off_t>(position_ + done));
    if (w < 0) {
      if (errno == EINTR) continue;
      position_ += done;
      return Fail(ErrorFromErrno(errno));
    }
    done += static_cast<size_t>(w);
  }
  position_ += done;
  return true;
}

bool PosixFile::Seek(uint64_t position) {
  if (position > static_cast<uint64_t>(INT64_MAX)) return Fail(kErrorInvalidParameter);
  position_ = position;
  return true;
}

bool PosixFile::Size(uint64_t* size) {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return Fail(ErrorFromErrno(errno));
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool PosixFile::Truncate(uint64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return Fail(ErrorFromErrno(errno));
  return true;
}

bool PosixFile::Flush() {
  if (!writable_) return true;
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) return Fail(ErrorFromErrno(errno));
  return true;
}

// ------------------------------------------------------------- MemoryStream

MemoryStream::MemoryStream(std::vector<uint8_t> bytes) : owned_(std::move(bytes)) {}

std::unique_ptr<MemoryStream> MemoryStream::View(std::span<const uint8_t> bytes) {
  auto* stream = new (std::nothrow) MemoryStream();
  if (stream == nullptr) {
    SetLastError(kErrorOutOfMemory);
    return nullptr;
  }
  stream->view_ = bytes;
  stream->is_view_ = true;
  return std::unique_ptr<MemoryStream>(stream);
}

std::span<const uint8_t> MemoryStream::Contents() const {
  return is_view_ ? view_ : std::span<const uint8_t>(owned_);
}

bool MemoryStream::ReadAt(uint64_t position, void* buffer, size_t n, size_t* got) {
  auto bytes = Contents();
  *got = 0;
  if (position >= bytes.size()) return true;
  size_t count = static_cast<size_t>(std::min<uint64_t>(n, bytes.size() - position));
  if (count > 0) std::memcpy(buffer, bytes.data() + position, count);
  *got = count;
  return true;
}

bool MemoryStream::Read(void* buffer, size_t n, size_t* got) {
  ReadAt(position_, buffer, n, got);
  position_ += *got;
  return true;
}

bool MemoryStream::Write(const void* buffer, size_t n) {
  if (is_view_) return Fail(kErrorAccessDenied);
  if (n > write_limit_ - std::min(written_, write_limit_)) {
    written_ = write_limit_;
    return Fail(kErrorDiskFull);
  }
  uint64_t end = position_ + n;
  if (end > (uint64_t{1} << 32)) return Fail(kErrorDiskFull);
  try {
    if (end > owned_.size()) owned_.resize(static_cast<size_t>(end));
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  if (n > 0) std::memcpy(owned_.data() + position_, buffer, n);
  position_ = end;
  written_ += n;
  return true;
}

bool MemoryStream::Seek(uint64_t position) {
  position_ = position;
  return true;
}

bool MemoryStream::Size(uint64_t* size) {
  *size = Contents().size();
  return true;
}

bool MemoryStream::Truncate(uint64_t size) {
  if (is_view_) return Fail(kErrorAccessDenied);
  if (size > (uint64_t{1} << 32)) return Fail(kErrorDiskFull);
  try {
    owned_.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  return true;
}

// ---------------------------------------------------------------- whole files

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, uint64_t max_size) {
  auto file = PosixFile::Open(path, FileMode::kRead);
  if (!file) return false;
  uint64_t size = 0;
  if (!file->Size(&size)) return false;
  if (size > max_size) return Fail(kErrorOutOfMemory);
  try {
    out.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  size_t got = 0;
  if (!file->Read(out.data(), out.size(), &got)) return false;
  out.resize(got);
  return true;
}

namespace {

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  int rc = ::fsync(fd);
  int err = errno;
  ::close(fd);
  if (rc != 0 && err != EINVAL) return Fail(ErrorFromErrno(err));
  return true;
}

}  // namespace

namespace {
std::atomic<uint64_t> g_write_budget{UINT64_MAX};

// How many of `wanted` bytes the injected fault lets through (all of them
// when no fault is armed).
size_t WriteAllowance(size_t wanted) {
  uint64_t budget = g_write_budget.load();
  if (budget == UINT64_MAX) return wanted;
  size_t allowed = static_cast<size_t>(std::min<uint64_t>(budget, wanted));
  g_write_budget.store(budget - allowed);
  return allowed;
}
}  // namespace

void InjectWriteFailureAfter(uint64_t bytes) { g_write_budget.store(bytes); }

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes, bool sync) {
  // A file without write permission is read-only for everyone, root
  // included: replacing it through a rename would otherwise succeed.
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && (existing.st_mode & 0222) == 0) {
    return Fail(kErrorAccessDenied);
  }
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  std::string temp(name.data());
  // Keep the mode of the file being replaced when there is one.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  else ::fchmod(fd, 0644);

  size_t done = 0;
  int err = 0;
  while (done < bytes.size()) {
    size_t allowed = WriteAllowance(bytes.size() - done);
    if (allowed == 0) {
      err = ENOSPC;
      break;
    }
    ssize_t w = ::write(fd, bytes.data() + done, allowed);
    if (w < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    done += static_cast<size_t>(w);
  }
  if (err == 0 && sync && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    return Fail(ErrorFromErrno(err));
  }
  return sync ? SyncFolder(FolderOf(path)) : true;
}

}  // namespace ecg::platform
