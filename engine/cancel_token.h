// SPDX-License-Identifier: MIT
// The cancel request of a run: set by the front end (a button, a signal
// handler), polled by the run, cleared when a run starts.
#pragma once

#include <atomic>

namespace tessarin {

// Lock-free, so that a signal handler may set it.
class CancelToken {
 public:
  void Request() { requested_.store(true, std::memory_order_relaxed); }
  void Clear() { requested_.store(false, std::memory_order_relaxed); }
  bool Requested() const { return requested_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
  static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace tessarin
