// SPDX-License-Identifier: MIT
// The helper thread: a job slot guarded by a mutex, two condition variables.
#include "helper_thread.h"

namespace tessarin {

HelperThread::HelperThread() : thread_([this] { Loop(); }) {}

HelperThread::~HelperThread() {
  {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !busy_; });
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void HelperThread::Start(std::function<void()> job) {
  {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !busy_; });
    job_ = std::move(job);
    busy_ = true;
  }
  wake_.notify_one();
}

void HelperThread::Wait() {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return !busy_; });
}

bool HelperThread::SecondCore() { return std::thread::hardware_concurrency() >= 2; }

void HelperThread::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return busy_ || quit_; });
    if (busy_) {
      std::function<void()> job = std::move(job_);
      lock.unlock();
      job();
      lock.lock();
      busy_ = false;
      done_.notify_all();
    } else if (quit_) {
      return;
    }
  }
}

}  // namespace tessarin
