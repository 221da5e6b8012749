// SPDX-License-Identifier: MIT
// The circle through three curve points and the minor arc between the outer
// two, as the fit measures it and the polyline carries it (a bulge).
#pragma once

#include <numbers>

#include "vec2.h"

namespace tessarin {

// Angles in radians in the range of atan2; the arc runs counter-clockwise
// from `arcwinkel1` to `arcwinkel2` and is always the minor arc.
struct Arc {
  double x1 = 0.0, y1 = 0.0;        // start point: the first of the three points
  double x3 = 0.0, y3 = 0.0;        // end point: the third
  double bulge = 0.0;               // tan(included angle / 4), > 0 counter-clockwise, 0 straight
  double arcmx = 0.0, arcmy = 0.0;  // centre; no meaning for a straight segment
  double arcwinkel1 = 0.0, arcwinkel2 = 0.0;
  double arcradius = 0.0;  // 0 for a straight segment

  Vec2 start() const { return Vec2{x1, y1}; }
  Vec2 end() const { return Vec2{x3, y3}; }
  Vec2 centre() const { return Vec2{arcmx, arcmy}; }
  // A bulge of 0: measured and written as the segment from start to end.
  bool straight() const { return bulge == 0.0; }
  // The counter-clockwise sweep from arcwinkel1 to arcwinkel2, 0 to 2 pi.
  double Sweep() const {
    double sweep = arcwinkel2 - arcwinkel1;
    if (sweep < 0.0) sweep += 2.0 * std::numbers::pi;
    return sweep;
  }
};

// The circle through three points and the minor arc from the first to the
// third; the middle point only fixes the circle. Points with |D3| <= 1e-8
// (twice the signed triangle area, in squared drawing units) give a straight
// segment: bulge 0, radius 0, angles 0.
Arc ArcFromThreePoints(double x1, double y1, double x2, double y2, double x3, double y3);

// The angle of (x, y) about the centre (cx, cy), from -pi to pi.
double PointAngle(double x, double y, double cx, double cy);

}  // namespace tessarin
