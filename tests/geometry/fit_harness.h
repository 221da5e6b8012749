// SPDX-License-Identifier: MIT
// Fits one spline with the program's geometry or with the plain reference
// and keeps what the caller would see: the arcs, the pump calls, the minima
// and whether the fit was stopped.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "fit_walk.h"
#include "literal_reference.h"

namespace tessarin::testing {

enum class Implementation { kFast, kReference };

// A spline as a test writes it down, owning its lists.
struct TestSpline {
  int32_t degree = 3;
  std::vector<double> knots;
  std::vector<Tmypoi> ctrlpoints;
  std::vector<Tmypoi> fitpoints;

  SplineGeometry geometry() const { return SplineGeometry{degree, knots, ctrlpoints, fitpoints}; }
};

inline TestSpline SplineOf(const WorkingCurve& curve) {
  return TestSpline{curve.degree, curve.knots, curve.controls, {}};
}

inline TestSpline FitPointSpline(std::vector<Tmypoi> fitpoints) {
  TestSpline spline;
  spline.fitpoints = std::move(fitpoints);
  return spline;
}

// Counts the pump calls and keeps the arcs; from pump call `stopAt` on
// (counted from 1) it asks the fit to stop. 0: never.
class RecordingObserver final : public FitObserver {
 public:
  explicit RecordingObserver(int stopAt = 0) : stopAt_(stopAt) {}

  bool Pump() override {
    ++pumps;
    if (pumps == stopAt_) stopped = true;
    return stopped;
  }
  void Accept(const FittedArc& arc) override { arcs.push_back(arc); }

  std::vector<FittedArc> arcs;
  int pumps = 0;
  bool stopped = false;

 private:
  int stopAt_;
};

struct FitOutcome {
  std::vector<FittedArc> arcs;
  int64_t count = 0;  // what the fit returned
  int pumps = 0;
  RunMinima minima;
  bool stopped = false;
};

struct FitRequest {
  FitSettings settings;
  Implementation implementation = Implementation::kFast;
  bool parallel = true;
  uint64_t seed = 1;
  // Stop at this pump call (counted from 1); 0: never.
  int stopAtPump = 0;
};

inline FitOutcome Fit(const TestSpline& spline, const FitRequest& request) {
  RecordingObserver observer(request.stopAtPump);
  FitOptions options;
  options.seed = request.seed;
  options.parallel = request.parallel;
  FitOutcome outcome;
  FitContext context{request.settings, observer, outcome.minima, options};
  if (request.implementation == Implementation::kFast) {
    outcome.count = FitSpline(spline.geometry(), context);
  } else {
    reference::Random random(request.seed);
    outcome.count = reference::FitSpline(spline.geometry(), context, random);
  }
  outcome.arcs = std::move(observer.arcs);
  outcome.pumps = observer.pumps;
  outcome.stopped = observer.stopped;
  return outcome;
}

inline bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// Every field of both arcs and their measurements, bit for bit.
inline bool SameBits(const FittedArc& a, const FittedArc& b) {
  const Arc& p = a.arc;
  const Arc& q = b.arc;
  return SameBits(p.x1, q.x1) && SameBits(p.y1, q.y1) && SameBits(p.x3, q.x3) &&
         SameBits(p.y3, q.y3) && SameBits(p.bulge, q.bulge) && SameBits(p.arcmx, q.arcmx) &&
         SameBits(p.arcmy, q.arcmy) && SameBits(p.arcwinkel1, q.arcwinkel1) &&
         SameBits(p.arcwinkel2, q.arcwinkel2) && SameBits(p.arcradius, q.arcradius) &&
         SameBits(a.deviation, b.deviation) && SameBits(a.percent, b.percent);
}

// The same arcs bit for bit, the same count, pump calls and minima.
inline ::testing::AssertionResult SameFit(const FitOutcome& fast, const FitOutcome& reference) {
  if (fast.arcs.size() != reference.arcs.size()) {
    return ::testing::AssertionFailure()
           << fast.arcs.size() << " arcs, the reference " << reference.arcs.size();
  }
  for (size_t i = 0; i < fast.arcs.size(); ++i) {
    if (!SameBits(fast.arcs[i], reference.arcs[i])) {
      return ::testing::AssertionFailure() << "arc " << i << " differs";
    }
  }
  if (fast.count != reference.count || fast.pumps != reference.pumps) {
    return ::testing::AssertionFailure()
           << fast.count << " arcs and " << fast.pumps << " pumps, the reference "
           << reference.count << " and " << reference.pumps;
  }
  const RunMinima& a = fast.minima;
  const RunMinima& b = reference.minima;
  if (!SameBits(a.minpercent, b.minpercent) || !SameBits(a.mindeviation, b.mindeviation) ||
      a.percentUnset != b.percentUnset || a.deviationUnset != b.deviationUnset) {
    return ::testing::AssertionFailure()
           << "minima " << a.minpercent << " " << a.mindeviation << ", the reference "
           << b.minpercent << " " << b.mindeviation;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tessarin::testing
