// SPDX-License-Identifier: MIT
// The circumcentre of three points, the sweep between the outer two and the
// bulge of the minor arc.
#include "arc.h"

#include <cmath>

namespace tessarin {

namespace {

// |D3| at or below this (squared drawing units) counts as collinear.
constexpr double kCollinear = 1e-8;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

}  // namespace

Arc ArcFromThreePoints(double x1, double y1, double x2, double y2, double x3, double y3) {
  Arc arc;
  arc.x1 = x1;
  arc.y1 = y1;
  arc.x3 = x3;
  arc.y3 = y3;
  const double d3 = x1 * y2 + x2 * y3 + x3 * y1 - x1 * y3 - x2 * y1 - x3 * y2;
  if (std::fabs(d3) <= kCollinear) return arc;  // a straight segment: all else 0
  // The circumcentre: with a = |p1|^2, b = |p2|^2, c = |p3|^2,
  // cx = (a (y2 - y3) + b (y3 - y1) + c (y1 - y2)) / (2 D3), cy likewise.
  const double a = x1 * x1 + y1 * y1;
  const double b = x2 * x2 + y2 * y2;
  const double c = x3 * x3 + y3 * y3;
  const double cx = (a * (y2 - y3) + b * (y3 - y1) + c * (y1 - y2)) * 0.5 / d3;
  const double cy = (a * (x3 - x2) + b * (x1 - x3) + c * (x2 - x1)) * 0.5 / d3;
  const Vec2 centre{cx, cy};
  const double r = Distance(arc.start(), centre);
  const double a1 = PointAngle(x1, y1, cx, cy);
  const double a3 = PointAngle(x3, y3, cx, cy);
  // Counter-clockwise from the first point to the third; equal angles give 2 pi.
  const double sweep = a3 > a1 ? a3 - a1 : kTwoPi - a1 + a3;
  arc.arcmx = cx;
  arc.arcmy = cy;
  arc.arcradius = r;
  // The bulge of the minor arc between the two points, at most 1: the chord
  // subtends 2 asin(chord / 2r), a quarter of which gives the tangent.
  const double ratio = Distance(arc.end(), arc.start()) / (2.0 * r);
  const double magnitude = ratio > 1.0 ? 0.0 : std::tan(std::asin(ratio) / 2.0);
  if (sweep < std::numbers::pi) {
    arc.arcwinkel1 = a1;
    arc.arcwinkel2 = a3;
    arc.bulge = magnitude;
  } else {
    arc.arcwinkel1 = a3;
    arc.arcwinkel2 = a1;
    arc.bulge = -magnitude;
  }
  return arc;
}

double PointAngle(double x, double y, double cx, double cy) { return std::atan2(y - cy, x - cx); }

}  // namespace tessarin
