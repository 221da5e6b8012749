// SPDX-License-Identifier: MIT
// Turns one captured spline into a chain of circular arcs within the run's
// deviation limits.
#pragma once

#include <cstdint>
#include <optional>

#include "conversion_settings.h"
#include "host.h"
#include "polyline_writer.h"
#include "spline_entity.h"

namespace tessarin {

// The smallest deviations measured in a run, shown when it ends. Both start
// unset; every measured interval lowers them.
struct RunMinima {
  double minpercent = 0.0;
  double mindeviation = 0.0;
  bool percentUnset = true;
  bool deviationUnset = true;

  void Lower(double percent, double deviation) {
    if (percentUnset || percent < minpercent) {
      minpercent = percent;
      percentUnset = false;
    }
    if (deviationUnset || deviation < mindeviation) {
      mindeviation = deviation;
      deviationUnset = false;
    }
  }
};

// Engine options that are not user settings.
struct EngineOptions {
  // Seed of the fit-point search; unset: seeded from the clock.
  std::optional<uint64_t> seed;
};

// Everything one spline's fit works with.
struct FitContext {
  const ConversionSettings& settings;
  Host& host;
  RunMinima& minima;
  PolylineWriter& polyline;
  const EngineOptions& options;
};

// Fits the arcs of `spline`, handing each accepted arc to
// context.polyline.AddArcVertices in order along the curve, and pumping the
// host once per fitting step. Returns the number of arcs accepted.
int64_t FitSpline(const SplineEntity& spline, FitContext& context);

}  // namespace tessarin
