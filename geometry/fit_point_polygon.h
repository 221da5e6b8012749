// SPDX-License-Identifier: MIT
// The cubic control polygon estimated for a spline given by fit points only:
// a random search for the polygon whose curve passes closest to the interior
// fit points, then ten passes that pull the curve towards them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tmypoi.h"

namespace tessarin {

class HelperThread;
class UniformDraw;

// The curve the arc fitting works on: control points, degree and knots
// (controls.size() + degree + 1 of them).
struct WorkingCurve {
  std::vector<Tmypoi> controls;
  int32_t degree = 3;
  std::vector<double> knots;
};

inline constexpr int32_t kSearchIterations = 5000;   // random candidate polygons
inline constexpr int32_t kSamplesPerFitPoint = 100;  // samples of each candidate curve
inline constexpr double kRangeFactor = 1000.0;       // draw range: box extent x 1000
inline constexpr double kStepDivisor = 500.0;        // a drawn integer / 500: 0.002 units
inline constexpr int32_t kCorrectionPasses = 10;

// R(r) / 500 with r the integer nearest to 1000 x `extent` (ties to even):
// an offset from 0 to 2 x extent on a grid of 0.002 units. One draw, also
// when r is 0. A range beyond 2^53 keeps its span on a coarser grid.
double DrawOffset(UniformDraw& draw, double extent);

// One control point per fit point (weight 1), degree 3, knots
// UniformKnots(m - 1, 4). The first and last control points are the first and
// last fit points. Candidates are drawn in order from `draw`; with a
// `helper`, half of each batch is scored on it, which changes no result.
// `searches` (at least 1) shortens the search only where its cost matters
// more than the polygon: the fuzzer. No fit point gives an empty curve.
WorkingCurve EstimateControlPolygon(std::span<const Tmypoi> fitpoints, UniformDraw& draw,
                                    HelperThread* helper = nullptr,
                                    int32_t searches = kSearchIterations);

}  // namespace tessarin
