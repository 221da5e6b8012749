// SPDX-License-Identifier: MIT
// A point or vector of the xy plane with the operations the geometry is
// written in: sums, scaling, dot and cross product, length.
#pragma once

#include <cmath>

namespace tessarin {

// Small and passed by value. Every operation is the IEEE double arithmetic
// it spells, in the order it spells it, so that it gives the same bits as
// the same formula written out in coordinates.
struct Vec2 {
  double x = 0.0;
  double y = 0.0;

  double Dot(Vec2 b) const { return x * b.x + y * b.y; }
  // The z of the cross product: positive where `b` lies counter-clockwise of
  // this vector.
  double Cross(Vec2 b) const { return x * b.y - y * b.x; }
  double SquaredLength() const { return x * x + y * y; }
  double Length() const { return std::sqrt(x * x + y * y); }
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return Vec2{a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return Vec2{a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double s) { return Vec2{a.x * s, a.y * s}; }
inline Vec2 operator/(Vec2 a, double s) { return Vec2{a.x / s, a.y / s}; }

inline double Distance(Vec2 a, Vec2 b) { return (a - b).Length(); }
inline double SquaredDistance(Vec2 a, Vec2 b) { return (a - b).SquaredLength(); }

}  // namespace tessarin
