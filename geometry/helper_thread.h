// SPDX-License-Identifier: MIT
// One background thread that runs a job at a time for the geometry, so that
// work whose result does not depend on who computes it can use a second core.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tessarin {

class HelperThread {
 public:
  HelperThread();
  // Waits for the running job, then ends the thread.
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // Runs `job` on the helper thread. A job given before must have been
  // waited for.
  void Start(std::function<void()> job);
  // Returns once the job given to Start has returned.
  void Wait();

  // Whether the machine has a second core to give: two or more hardware
  // threads.
  static bool SecondCore();

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::function<void()> job_;
  bool busy_ = false;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace tessarin
