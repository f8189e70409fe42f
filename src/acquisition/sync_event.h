#pragma once
// An event object for the acquisition threads: manual-reset (stays set
// until Reset) or auto-reset (one waiter consumes it).

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ecg::acquisition {

class SyncEvent {
 public:
  explicit SyncEvent(bool manual_reset) : manual_(manual_reset) {}
  void Set() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      set_ = true;
    }
    if (manual_) cv_.notify_all();
    else cv_.notify_one();
  }
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = false;
  }
  bool IsSet() {
    std::lock_guard<std::mutex> lock(mutex_);
    return set_;
  }
  // True when the event was set within the time (auto-reset: consumed).
  bool Wait(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return set_; })) return false;
    if (!manual_) set_ = false;
    return true;
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return set_; });
    if (!manual_) set_ = false;
  }

 private:
  const bool manual_;
  bool set_ = false;
  std::mutex mutex_;
  std::condition_variable cv_;
};

}  // namespace ecg::acquisition
