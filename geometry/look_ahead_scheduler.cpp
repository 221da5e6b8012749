// SPDX-License-Identifier: MIT
// The look-ahead scheduler: a ring of span trees whose slots are claimed
// with an atomic exchange; whoever claims a slot measures it at once, so a
// wait for a claimed slot always ends.
#include "look_ahead_scheduler.h"

#include <algorithm>

#include "helper_thread.h"

namespace tessarin {

namespace {

enum SlotState : int { kFree = 0, kClaimed = 1, kReady = 2 };

}  // namespace

LookAheadScheduler::LookAheadScheduler() {
  for (size_t i = 0; i < kRing; ++i) ring_.push_back(std::make_unique<Tree>());
}

LookAheadScheduler::~LookAheadScheduler() = default;

void LookAheadScheduler::Reset(Tree& tree, int64_t span) {
  std::lock_guard lock(tree.entry);
  const uint32_t highest = tree.highest.load(std::memory_order_relaxed);
  for (uint32_t node = 1; node <= highest; ++node) {
    tree.slots[node].state.store(kFree, std::memory_order_relaxed);
  }
  tree.highest.store(0, std::memory_order_relaxed);
  tree.span = span;
  tree.walked = false;
}

void LookAheadScheduler::Begin(const SplineFitter& fitter, HelperThread& helper, size_t first) {
  fitter_ = &fitter;
  helper_ = &helper;
  spans_ = static_cast<int64_t>(fitter.spans().size());
  stop_.store(false, std::memory_order_relaxed);
  const int64_t from = static_cast<int64_t>(first);
  current_.store(from, std::memory_order_relaxed);
  const int64_t to = std::min<int64_t>(from + static_cast<int64_t>(kRing), spans_);
  for (int64_t t = from; t < to; ++t) Reset(*ring_[static_cast<size_t>(t) % kRing], t);
  frontier_.store(to, std::memory_order_release);
  helper.Start([this] { HelperLoop(); });
}

const StepResult& LookAheadScheduler::Measure(Tree& tree, uint32_t node,
                                              const FitInterval& interval,
                                              StepWorkspace& workspace) {
  Slot& slot = tree.slots[node];
  int state = slot.state.load(std::memory_order_acquire);
  if (state == kFree &&
      slot.state.compare_exchange_strong(state, kClaimed, std::memory_order_acq_rel)) {
    uint32_t highest = tree.highest.load(std::memory_order_relaxed);
    while (highest < node &&
           !tree.highest.compare_exchange_weak(highest, node, std::memory_order_relaxed)) {
    }
    slot.result = fitter_->Measure(interval, workspace);
    slot.state.store(kReady, std::memory_order_release);
    slot.state.notify_all();
    return slot.result;
  }
  while ((state = slot.state.load(std::memory_order_acquire)) != kReady) {
    slot.state.wait(state, std::memory_order_acquire);
  }
  return slot.result;
}

const StepResult& LookAheadScheduler::Obtain(size_t span, uint32_t node,
                                             const FitInterval& interval,
                                             StepWorkspace& workspace) {
  return Measure(*ring_[span % kRing], node, interval, workspace);
}

void LookAheadScheduler::Finished(size_t span) {
  const int64_t next = static_cast<int64_t>(span + kRing);
  current_.store(static_cast<int64_t>(span) + 1, std::memory_order_release);
  if (next < spans_) {
    // Waits for the helper to leave the finished tree; all its steps are
    // measured, so that does not take long.
    Reset(*ring_[span % kRing], next);
    frontier_.store(next + 1, std::memory_order_release);
  }
  epoch_.fetch_add(1, std::memory_order_release);
  epoch_.notify_all();
}

void LookAheadScheduler::Stop() {
  stop_.store(true, std::memory_order_release);
  epoch_.fetch_add(1, std::memory_order_release);
  epoch_.notify_all();
}

void LookAheadScheduler::End() {
  Stop();
  helper_->Wait();
}

void LookAheadScheduler::HelperLoop() {
  for (;;) {
    const uint32_t seen = epoch_.load(std::memory_order_acquire);
    if (stop_.load(std::memory_order_acquire)) return;
    bool worked = false;
    const int64_t from = current_.load(std::memory_order_acquire);
    const int64_t to = frontier_.load(std::memory_order_acquire);
    for (int64_t t = from; t < to && !stop_.load(std::memory_order_relaxed); ++t) {
      Tree& tree = *ring_[static_cast<size_t>(t) % kRing];
      std::lock_guard lock(tree.entry);
      if (tree.span != t || tree.walked) continue;
      Walk(tree, 1, fitter_->Nudged(fitter_->spans()[static_cast<size_t>(t)]));
      tree.walked = true;
      worked = true;
    }
    if (!worked) epoch_.wait(seen, std::memory_order_acquire);
  }
}

// The helper goes second halves first, so that it meets the walk, which
// goes first halves first, only where there is nothing left between them.
void LookAheadScheduler::Walk(Tree& tree, uint32_t node, const FitInterval& interval) {
  if (stop_.load(std::memory_order_relaxed)) return;
  const StepResult& result = Measure(tree, node, interval, helperWorkspace_);
  if (result.kind != StepResult::Kind::kCut || 2 * node + 1 >= kNodes) return;
  const auto [first, second] = fitter_->Halves(interval, result);
  Walk(tree, 2 * node + 1, fitter_->Nudged(second));
  Walk(tree, 2 * node, fitter_->Nudged(first));
}

}  // namespace tessarin
