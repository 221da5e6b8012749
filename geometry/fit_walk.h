// SPDX-License-Identifier: MIT
// The fit of one spline: its spans fitted step by step, and every accepted
// arc handed to the caller in order along the curve.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "arc.h"
#include "fit_point_polygon.h"
#include "fit_settings.h"
#include "tmypoi.h"

namespace tessarin {

// What the fit reads of a spline. The spans must outlive the call.
struct SplineGeometry {
  int32_t degree = 3;
  std::span<const double> knots;
  std::span<const Tmypoi> ctrlpoints;
  std::span<const Tmypoi> fitpoints;
};

// An accepted arc and what it measured: D, the largest distance from a test
// point on the arc to the spline samples, in drawing units and in percent of
// the perimeter of the arc's three points.
struct FittedArc {
  Arc arc;
  double deviation = 0.0;
  double percent = 0.0;
};

// What the fit asks of its caller while it runs, always on the calling
// thread.
class FitObserver {
 public:
  virtual ~FitObserver() = default;
  // At the start of every fitting step: lets the program handle what is
  // pending. True stops the fit: that step and every later one yield
  // nothing, though each still calls Pump once.
  virtual bool Pump() = 0;
  // Each accepted arc, in order along the curve.
  virtual void Accept(const FittedArc& arc) = 0;
};

// Options of the fit that are not user settings.
struct FitOptions {
  // Seed of the fit-point search; unset: seeded from the clock.
  std::optional<uint64_t> seed;
  // Use a second core where the machine has one. The arcs and the pump
  // calls are the same either way.
  bool parallel = true;
  // Candidate polygons of the fit-point search; fewer only for the fuzzer.
  int32_t fitPointSearches = kSearchIterations;
};

// What a run keeps between splines for the fit: the generator of the
// fit-point search, the helper thread and the work buffers.
class FitRunState;

// Everything one spline's fit works with.
struct FitContext {
  const FitSettings& settings;
  FitObserver& observer;
  // Lowered by every measured interval.
  RunMinima& minima;
  const FitOptions& options;
  // Made at the first spline of the run.
  std::shared_ptr<FitRunState> state = {};
};

// Fits the arcs of `spline` and hands each accepted one to
// context.observer, pumping it once per fitting step. Returns the number of
// arcs accepted.
int64_t FitSpline(const SplineGeometry& spline, FitContext& context);

}  // namespace tessarin
