#pragma once
// Random-access byte streams: a POSIX file or a memory buffer. The record
// layer reads and writes through this interface only, so every reader runs
// from memory in tests and fuzz targets, and a sink that fails after N bytes
// proves that write errors are reported. Nothing here throws.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ecg::platform {

class ByteStream {
 public:
  virtual ~ByteStream() = default;

  // Reads up to n bytes at the current position and advances it; *got gets
  // the count (short at the end). False, with the last-error code, on an
  // input/output error.
  virtual bool Read(void* buffer, size_t n, size_t* got) = 0;
  // Reads up to n bytes at a 0-based position without moving the current one.
  virtual bool ReadAt(uint64_t position, void* buffer, size_t n, size_t* got) = 0;
  // Writes all n bytes at the current position or fails.
  virtual bool Write(const void* buffer, size_t n) = 0;
  virtual bool Seek(uint64_t position) = 0;
  virtual uint64_t Tell() const = 0;
  virtual bool Size(uint64_t* size) = 0;
  virtual bool Truncate(uint64_t size) = 0;
  // Makes written bytes durable (fsync for files opened for writing; nothing
  // to do for read-only ones).
  virtual bool Flush() = 0;
};

// True only when all n bytes were read.
bool ReadExact(ByteStream& stream, void* buffer, size_t n);

enum class FileMode {
  kRead,            // existing file, read only
  kReadWrite,       // existing file, read and write
  kCreateReadWrite  // create or truncate, read and write
};

// A file descriptor owned for the life of the object.
class PosixFile final : public ByteStream {
 public:
  // Null with the last-error code when the file cannot be opened.
  static std::unique_ptr<PosixFile> Open(const std::string& path, FileMode mode);
  ~PosixFile() override;
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  bool Read(void* buffer, size_t n, size_t* got) override;
  bool ReadAt(uint64_t position, void* buffer, size_t n, size_t* got) override;
  bool Write(const void* buffer, size_t n) override;
  bool Seek(uint64_t position) override;
  uint64_t Tell() const override { return position_; }
  bool Size(uint64_t* size) override;
  bool Truncate(uint64_t size) override;
  bool Flush() override;
  int fd() const { return fd_; }

 private:
  PosixFile(int fd, bool writable) : fd_(fd), writable_(writable) {}
  int fd_;
  bool writable_;
  uint64_t position_ = 0;
};

// A memory buffer: either a read-only view of the caller's bytes or an owned,
// growing buffer. A write limit makes writes fail once that many bytes have
// been written in total (a failing device for tests).
class MemoryStream final : public ByteStream {
 public:
  MemoryStream() = default;                                 // owned, empty
  explicit MemoryStream(std::vector<uint8_t> bytes);        // owned copy
  static std::unique_ptr<MemoryStream> View(std::span<const uint8_t> bytes);

  bool Read(void* buffer, size_t n, size_t* got) override;
  bool ReadAt(uint64_t position, void* buffer, size_t n, size_t* got) override;
  bool Write(const void* buffer, size_t n) override;
  bool Seek(uint64_t position) override;
  uint64_t Tell() const override { return position_; }
  bool Size(uint64_t* size) override;
  bool Truncate(uint64_t size) override;
  bool Flush() override { return true; }

  void SetWriteLimit(uint64_t bytes) { write_limit_ = bytes; }
  const std::vector<uint8_t>& bytes() const { return owned_; }

 private:
  std::span<const uint8_t> Contents() const;
  std::vector<uint8_t> owned_;
  std::span<const uint8_t> view_;
  bool is_view_ = false;
  uint64_t position_ = 0;
  uint64_t written_ = 0;
  uint64_t write_limit_ = UINT64_MAX;
};

// Reads a whole file; false with the last-error code when it cannot, or when
// it is larger than max_size (error: out of memory).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out,
                   uint64_t max_size = uint64_t{1} << 31);

// Replaces a file's contents so that a reader sees either the old or the new
// bytes, never a mixture: writes a neighbouring temporary file, syncs it,
// renames it over the target and syncs the folder. A target without any
// write permission is refused (access denied), as a read-only file is.
// Without `sync` the two
// syncs are left out (the replacement is still atomic, but not durable
// across a power failure); benchmarks use that to show what they cost.
bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes,
                         bool sync = true);

// Fault injection for tests: the writes of ReplaceFileContents fail with
// "disk full" once `bytes` more bytes have been written (by any thread).
// UINT64_MAX, the default, switches it off.
void InjectWriteFailureAfter(uint64_t bytes);

}  // namespace ecg::platform
