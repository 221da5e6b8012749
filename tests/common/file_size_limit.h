// SPDX-License-Identifier: MIT
// A full disk for the length of a scope: files of this process cannot grow
// beyond `bytes`, and a write past it fails with EFBIG instead of raising
// SIGXFSZ. The old limit and signal disposition come back at the end.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace tessarin::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (getrlimit(RLIMIT_FSIZE, &old_) != 0) return;
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    active_ = true;
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    set_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() { Lift(); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  // Whether the limit is in force; tests assert it before relying on it.
  bool set() const { return set_; }

  // Ends the limit before the scope does.
  void Lift() {
    if (!active_) return;
    if (set_) setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
    active_ = false;
    set_ = false;
  }

 private:
  rlimit old_{};
  void (*previous_)(int) = SIG_DFL;
  bool active_ = false;  // the signal disposition is ours to restore
  bool set_ = false;
};

}  // namespace tessarin::testing
