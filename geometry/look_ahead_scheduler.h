// SPDX-License-Identifier: MIT
// Schedules fitting steps ahead of the walk onto a helper thread. A step's
// result depends only on its interval, so the helper can measure steps that
// the walk will reach later; the walk still visits every step in its order
// on the calling thread, pumps there once per step, and emits the arcs
// itself.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "fitting_step.h"

namespace tessarin {

class HelperThread;

class LookAheadScheduler {
 public:
  LookAheadScheduler();
  ~LookAheadScheduler();
  LookAheadScheduler(const LookAheadScheduler&) = delete;
  LookAheadScheduler& operator=(const LookAheadScheduler&) = delete;

  // Starts the helper on the spans of `fitter` from span `first` on (the
  // walk's current span); `fitter` must stay set up until End. Steps the walk
  // measured before are measured again where the helper needs them.
  void Begin(const SplineFitter& fitter, HelperThread& helper, size_t first);
  // The result of step `node` of span `span` (node 1 is the span, 2n and
  // 2n + 1 are the halves of node n), measured here unless the helper has
  // taken it; then it waits for the helper's result. `interval` is the
  // step's nudged interval.
  const StepResult& Obtain(size_t span, uint32_t node, const FitInterval& interval,
                           StepWorkspace& workspace);
  // The walk has left span `span` for good: its steps may be dropped.
  void Finished(size_t span);
  // Asks the helper to measure nothing more (the run is cancelled).
  void Stop();
  // Stops the helper and waits until it has let go of everything.
  void End();

  // Every step a span can have: depths 1 to 11.
  static constexpr uint32_t kNodes = 2048;

 private:
  struct Slot {
    std::atomic<int> state{0};  // free, claimed, ready
    StepResult result;
  };
  // The steps of one span.
  struct Tree {
    std::array<Slot, kNodes> slots;
    std::atomic<uint32_t> highest{0};  // largest node claimed, for the reset
    int64_t span = -1;
    bool walked = false;  // the helper has been through it
    std::mutex entry;     // held by the helper while it walks the tree
  };
  static constexpr size_t kRing = 4;  // spans measured ahead at most

  void Reset(Tree& tree, int64_t span);
  // Claims and measures the slot, or waits for whoever claimed it.
  const StepResult& Measure(Tree& tree, uint32_t node, const FitInterval& interval,
                            StepWorkspace& workspace);
  void HelperLoop();
  void Walk(Tree& tree, uint32_t node, const FitInterval& interval);

  std::vector<std::unique_ptr<Tree>> ring_;
  const SplineFitter* fitter_ = nullptr;
  HelperThread* helper_ = nullptr;
  int64_t spans_ = 0;
  std::atomic<int64_t> current_{0};   // the span the walk is in
  std::atomic<int64_t> frontier_{0};  // trees are set up for spans below
  std::atomic<uint32_t> epoch_{0};    // changes whenever the window or stop does
  std::atomic<bool> stop_{false};
  StepWorkspace helperWorkspace_;
};

}  // namespace tessarin
