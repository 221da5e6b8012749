// SPDX-License-Identifier: MIT
// The loops of a fitting step that run over every spline sample: their
// parameters, their distances to the arc, and how those distances stand to
// the limits. Vectorised; every variant gives the same bits.
#pragma once

#include "arc.h"

namespace tessarin::kernels {

// The limits a sample's distance to the arc is classed against.
struct Limits {
  double noise, maxunits, allowed;
};

// The arc as the sample pass reads it: centre, radius, ends, and the rays
// from the centre through the ends of the counter-clockwise minor arc with
// their sizes (|x| + |y|).
struct ArcSides {
  Vec2 centre;
  double radius = 0.0;
  Vec2 start, end;
  Vec2 startRay, endRay;
  double startSize = 0.0, endSize = 0.0;
  // Whether the sides of the rays may decide at all: not for sweeps too
  // close to 0 or to pi.
  bool bySides = false;
};

// Marks a sample whose side of the rays cannot be told: the angles decide.
inline constexpr double kUndecided = -1.0;

// params[q] = u1 + span * (first + q) / tests: where the samples of a step lie.
void FillParameters(double* params, int count, double u1, double span, double first, double tests);

// For each sample its distance to the arc where the sides of the two rays
// decide whether it lies on the arc; kUndecided where they cannot tell, NaN
// for a sample that is no number. On the arc means left of the start ray and
// right of the end ray (the arc is less than a half circle); a side counts
// where |cross| exceeds a billionth of the vectors' sizes, far above
// rounding, so the angles could not decide otherwise there. Off the arc, the
// distance is that to the nearer end.
void ArcPass(const double* __restrict x, const double* __restrict y, int count, const ArcSides& arc,
             double* __restrict distance);

// For each sample its distance to the segment from the arc's start to its
// end, NaN for a sample that is no number.
void SegmentPass(const double* __restrict x, const double* __restrict y, int count, const Arc& arc,
                 double* __restrict distance);

// Whether any distance is beyond the noise and outside a limit, and whether
// any is beyond the noise and within both. NaN and kUndecided count as
// neither.
struct Verdict {
  bool outside = false;
  bool within = false;
};
Verdict Classify(const double* __restrict distance, int count, const Limits& limits);

}  // namespace tessarin::kernels
