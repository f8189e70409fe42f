#pragma once
// Byte rings of the acquisition path: the serial receive ring (one writer,
// the receive thread; one reader, the cable thread) and the recording ring
// (appended and read under the recording window's data lock).
//
// Positions are indexes into the storage; "none" (kNone) marks an empty ring
// (read position) or a peek cursor that has caught up with the writer. A
// ring with locking on takes its own semaphore to read the positions,
// releases it while copying, and takes it again to store the new positions,
// so one writer and one reader may run at the same time (two writers or two
// readers may not). A ring with overwrite on and locking off discards its
// oldest bytes when a write does not fit.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <semaphore>

template <typename T>
class w32CircularBuffer {
 public:
  explicit w32CircularBuffer(bool locking = false, bool overwrite = false)
      : m_locking(locking), m_overwrite(overwrite) {}
  w32CircularBuffer(const w32CircularBuffer&) = delete;
  w32CircularBuffer& operator=(const w32CircularBuffer&) = delete;
  virtual ~w32CircularBuffer() = default;

  // Frees old storage and allocates `size` elements; empty afterwards. On
  // memory exhaustion every field is zero and the result is false.
  bool Allocate(uint32_t size) {
    Guard g(*this);
    m_storage.reset();
    m_capacity = 0;
    m_used = 0;
    m_write = 0;
    m_read = kNone;
    m_peek = kNone;
    if (size == 0) return true;
    m_storage.reset(new (std::nothrow) T[size]);
    if (!m_storage) return false;
    m_capacity = size;
    m_used = size;
    return true;
  }
  void Deallocate() { Allocate(0); }

  // Uses only the first `size` elements of the storage; empties the ring.
  bool SetUtilise(uint32_t size) {
    Guard g(*this);
    if (size > m_capacity) return false;
    m_used = size;
    m_write = 0;
    m_read = kNone;
    m_peek = kNone;
    return true;
  }

  // Appends n elements. A write of the whole capacity or more always fails;
  // a write that does not fit fails unless overwrite is on (and locking
  // off), when the oldest elements make room.
  bool Write(const T* data, uint32_t n) {
    if (n == 0) return true;
    if (data == nullptr) return false;
    Positions p = Load();
    if (p.used == 0 || n >= p.used) return false;
    if (p.read == kNone) p.write = 0;
    const uint32_t unread = Unread(p.read, p.write, p.used);
    const uint32_t free = p.used - unread;
    uint32_t discard = 0;
    if (n > free) {
      if (!m_overwrite || m_locking) return false;
      discard = n - free;
    }
    const uint32_t start = p.write;
    CopyIn(start, data, n, p.used);
    const uint32_t end = Advance(start, n, p.used);
    Lock();
    if (discard != 0) {
      // Only without locking: nobody else moves the positions meanwhile.
      const uint32_t peek_ahead = m_peek == kNone ? UINT32_MAX : Distance(m_read, m_peek, p.used);
      m_read = Advance(m_read, discard, p.used);
      if (m_peek != kNone && peek_ahead < discard) m_peek = m_read;
    }
    if (m_read == kNone) m_read = start;
    if (m_peek == kNone) m_peek = start;
    m_write = end;
    Unlock();
    return true;
  }

  // Consumes n elements from the read position.
  bool Take(T* out, uint32_t n) {
    if (n == 0) return true;
    if (out == nullptr) return false;
    Positions p = Load();
    if (p.read == kNone || Unread(p.read, p.write, p.used) < n) return false;
    CopyOut(p.read, out, n, p.used);
    const uint32_t next = Advance(p.read, n, p.used);
    Lock();
    if (m_peek != kNone && Distance(p.read, m_peek, p.used) < n) m_peek = next;
    if (next == m_write) {
      m_read = kNone;
      m_peek = kNone;
    } else {
      m_read = next;
    }
    Unlock();
    return true;
  }

  // Copies n elements from the peek position and advances only the peek.
  bool Read(T* out, uint32_t n) {
    if (n == 0) return true;
    if (out == nullptr) return false;
    Positions p = Load();
    if (p.peek == kNone) return false;
    uint32_t ahead = Distance(p.peek, p.write, p.used);
    if (ahead == 0) ahead = p.used;  // a full ring with the peek at the read position
    if (ahead < n) return false;
    CopyOut(p.peek, out, n, p.used);
    const uint32_t next = Advance(p.peek, n, p.used);
    Lock();
    m_peek = next == m_write ? kNone : next;
    Unlock();
    return true;
  }

  // Peek := read.
  void ResetRead() {
    Guard g(*this);
    m_peek = m_read;
  }

  // Peek := n elements after the read position; fails unless n is less than
  // the unread count (an empty ring succeeds with no peek position).
  bool SetPeekOffset(uint32_t n) {
    Guard g(*this);
    if (m_read == kNone) {
      m_peek = kNone;
      return true;
    }
    if (n >= Unread(m_read, m_write, m_used)) return false;
    m_peek = Advance(m_read, n, m_used);
    return true;
  }

  // Unread elements from the read position.
  uint32_t Size() {
    Guard g(*this);
    return Unread(m_read, m_write, m_used);
  }
  // Elements ahead of the peek cursor.
  uint32_t PeekSize() {
    Guard g(*this);
    if (m_peek == kNone) return 0;
    const uint32_t ahead = Distance(m_peek, m_write, m_used);
    return ahead == 0 ? m_used : ahead;
  }
  uint32_t Capacity() {
    Guard g(*this);
    return m_used;
  }
  uint32_t AllocatedCapacity() {
    Guard g(*this);
    return m_capacity;
  }
  void FlushAll() {
    Guard g(*this);
    m_read = kNone;
    m_peek = kNone;
  }

  bool Locking() const { return m_locking; }
  bool Overwrite() const { return m_overwrite; }
  void SetLocking(bool on) { m_locking = on; }
  void SetOverwrite(bool on) { m_overwrite = on; }

 private:
  static constexpr uint32_t kNone = UINT32_MAX;

  struct Positions {
    uint32_t used, write, read, peek;
  };
  class Guard {
   public:
    explicit Guard(w32CircularBuffer& ring) : ring_(ring) { ring_.Lock(); }
    ~Guard() { ring_.Unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    w32CircularBuffer& ring_;
  };

  void Lock() {
    if (m_locking) m_semaphore.acquire();
  }
  void Unlock() {
    if (m_locking) m_semaphore.release();
  }
  Positions Load() {
    Guard g(*this);
    return Positions{m_used, m_write, m_read, m_peek};
  }

  static uint32_t Advance(uint32_t pos, uint32_t n, uint32_t used) {
    const uint64_t next = uint64_t{pos} + n;
    return static_cast<uint32_t>(next % used);
  }
  // Steps from `from` forward to `to` (0 when equal).
  static uint32_t Distance(uint32_t from, uint32_t to, uint32_t used) {
    return to >= from ? to - from : used - (from - to);
  }
  static uint32_t Unread(uint32_t read, uint32_t write, uint32_t used) {
    if (read == kNone) return 0;
    const uint32_t d = Distance(read, write, used);
    return d == 0 ? used : d;  // read == write with bytes waiting: full
  }
  void CopyIn(uint32_t at, const T* data, uint32_t n, uint32_t used) {
    const uint32_t first = std::min(n, used - at);
    std::memcpy(m_storage.get() + at, data, first * sizeof(T));
    if (first < n) std::memcpy(m_storage.get(), data + first, (n - first) * sizeof(T));
  }
  void CopyOut(uint32_t at, T* out, uint32_t n, uint32_t used) const {
    const uint32_t first = std::min(n, used - at);
    std::memcpy(out, m_storage.get() + at, first * sizeof(T));
    if (first < n) std::memcpy(out + first, m_storage.get(), (n - first) * sizeof(T));
  }

  uint32_t m_capacity = 0;
  std::unique_ptr<T[]> m_storage;
  uint32_t m_used = 0;  // end - begin
  uint32_t m_write = 0;
  uint32_t m_read = kNone;
  uint32_t m_peek = kNone;
  bool m_locking;
  bool m_overwrite;
  std::binary_semaphore m_semaphore{1};
};

class CCircularBuffer : public w32CircularBuffer<unsigned char> {
 public:
  using w32CircularBuffer<unsigned char>::w32CircularBuffer;
};
