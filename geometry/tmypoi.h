// SPDX-License-Identifier: MIT
// The point record of the geometry: control points, fit points, curve points
// and samples all share it.
#pragma once

#include "vec2.h"

namespace tessarin {

// A point in the xy plane with its z carried along and a weight.
// Control point: `weight` is the rational weight (1.0 unless the spline gives
// another). Curve point: `weight` holds the weight sum of the evaluation, 0 for
// an undefined point. Sample: `weight` is 1.0. Nothing in the geometry reads z.
struct Tmypoi {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double weight = 1.0;

  Vec2 xy() const { return Vec2{x, y}; }
};

}  // namespace tessarin
