// SPDX-License-Identifier: MIT
// Random curves for the comparisons with the reference: degrees 1 to 5,
// clamped, unclamped and periodic knot vectors, repeated interior knots,
// rational weights, and coordinates from tiny to huge.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "fit_point_polygon.h"
#include "tmypoi.h"

namespace tessarin::testing {

enum class KnotKind { kClamped, kUnclamped, kPeriodic, kRepeated };

struct RandomCurve {
  WorkingCurve curve;
  std::string name;  // what kind of curve, for failure messages
};

inline RandomCurve MakeRandomCurve(std::mt19937_64& random, int32_t degree, int32_t count,
                                   KnotKind kind, bool rational, double scale) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> weight(0.25, 4.0);
  std::uniform_int_distribution<int> coin(0, 3);
  RandomCurve result;
  WorkingCurve& curve = result.curve;
  curve.degree = degree;
  // A wandering polygon: each point a step from the one before.
  double x = unit(random) * scale, y = unit(random) * scale;
  for (int32_t i = 0; i < count; ++i) {
    x += unit(random) * scale;
    y += unit(random) * scale;
    curve.controls.push_back(Tmypoi{x, y, 0.0, rational ? weight(random) : 1.0});
  }
  if (kind == KnotKind::kPeriodic) {
    // Wrapped control points, as writers store closed splines.
    for (int32_t i = 0; i < degree && i < count; ++i)
      curve.controls[count - degree + i] = curve.controls[i];
  }
  const int32_t knots = count + degree + 1;
  double knot = unit(random) * 3.0;
  std::uniform_real_distribution<double> gap(0.05, 2.0);
  int32_t run = 1;  // equal knots so far; interior runs stay at most `degree` long
  for (int32_t j = 0; j < knots; ++j) {
    const bool clampStart =
        kind != KnotKind::kUnclamped && kind != KnotKind::kPeriodic && j <= degree;
    const bool clampEnd = kind != KnotKind::kUnclamped && kind != KnotKind::kPeriodic && j >= count;
    if (j > 0 && !clampStart && !clampEnd) {
      // A repeated interior knot makes a corner (multiplicity up to the
      // degree); the curve stays continuous.
      const bool repeat = kind == KnotKind::kRepeated && coin(random) == 0 && run < degree;
      if (repeat) {
        ++run;
      } else {
        knot += kind == KnotKind::kPeriodic ? 1.0 : gap(random);
        run = 1;
      }
    }
    curve.knots.push_back(knot);
  }
  static const char* kinds[] = {"clamped", "unclamped", "periodic", "repeated"};
  result.name = std::string(kinds[static_cast<int>(kind)]) + " degree " + std::to_string(degree) +
                " n " + std::to_string(count) + (rational ? " rational" : "") + " scale " +
                std::to_string(scale);
  return result;
}

}  // namespace tessarin::testing
