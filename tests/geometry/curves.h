// SPDX-License-Identifier: MIT
// Small curves with known fits, shared by the tests of the fitting step and
// of the walk.
#pragma once

#include <cmath>
#include <numbers>

#include "fit_point_polygon.h"

namespace tessarin::testing {

inline constexpr double kDegree = std::numbers::pi / 180.0;

// A clamped cubic of seven control points over the knots 0 to 4: four spans.
inline WorkingCurve WavyCubic() {
  WorkingCurve curve;
  curve.degree = 3;
  curve.controls = {{0, 0, 0, 1}, {1, 3, 0, 1}, {2, -1, 0, 1}, {4, 2, 0, 1},
                    {5, 0, 0, 1}, {7, 3, 0, 1}, {8, 0, 0, 1}};
  curve.knots = {0, 0, 0, 0, 1, 2, 3, 4, 4, 4, 4};
  return curve;
}

// A rational quadratic that is exactly the arc of radius 10 about the
// origin from angle `from` to angle `to` (degrees, less than 180 apart).
inline WorkingCurve CircularArc(double from, double to) {
  const double half = (to - from) / 2.0 * kDegree;
  const double middle = (from + to) / 2.0 * kDegree;
  const double apex = 10.0 / std::cos(half);
  WorkingCurve curve;
  curve.degree = 2;
  curve.controls = {{10 * std::cos(from * kDegree), 10 * std::sin(from * kDegree), 0, 1},
                    {apex * std::cos(middle), apex * std::sin(middle), 0, std::cos(half)},
                    {10 * std::cos(to * kDegree), 10 * std::sin(to * kDegree), 0, 1}};
  curve.knots = {0, 0, 0, 1, 1, 1};
  return curve;
}

}  // namespace tessarin::testing
