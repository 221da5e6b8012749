// SPDX-License-Identifier: MIT
// NURBS curve arithmetic: Cox-de Boor basis values, rational curve points,
// the clamped uniform knot vector and an even sampling of a whole curve.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tmypoi.h"

namespace tessarin {

// The basis value N(i, k, t) of the Cox-de Boor recursion: order 1 is 1 on
// the half-open interval [knots[i], knots[i + 1]), else 0; order k is
//   (t - knots[i]) / (knots[i+k-1] - knots[i]) * N(i, k-1, t)
// + (knots[i+k] - t) / (knots[i+k] - knots[i+1]) * N(i+1, k-1, t),
// each term left out where its knot difference is exactly 0. Computed level
// by level over the triangle of values it depends on, which gives the
// recursion's values bit for bit without its 2^k calls. `knots` needs at
// least i + k + 1 entries; an order below 1 or a negative index gives 0.
double BasisFunction(int32_t i, int32_t k, std::span<const double> knots, double t);

// The rational curve point at t of the curve with controls[0..last] and order
// k: sum of x * N(i, k, t) * weight over all control points, divided by the
// weight sum W, which the result carries in `weight`. Where W is 0 (no basis
// function is non-zero at t) the result is the undefined point: coordinates
// NaN, weight 0. `knots` needs at least last + k + 1 entries.
Tmypoi CurvePoint(std::span<const double> knots, int32_t last, int32_t k, double t,
                  std::span<const Tmypoi> controls);

// Fills knots[0..last+k] with the clamped uniform vector of integer spacing:
// k zeros, the interior values 1 .. n-k, and k copies of n-k+1 (n = last + 1).
// With n < k the end value is 0 or below and no point of the curve is defined.
void UniformKnots(std::span<double> knots, int32_t last, int32_t k);

// Samples the curve at t = 0, step, 2 step, ... with step = knots[last+k] /
// (count - 1), the parameter accumulated by repeated addition; the last sample
// is the last control point, standing for the curve's end, where no point is
// defined. Every sample gets weight 1. count = samples.size(), at least 2.
void SampleCurve(int32_t last, int32_t k, std::span<const Tmypoi> controls,
                 std::span<const double> knots, std::span<Tmypoi> samples);

// Work space of one thread's evaluations of a NurbsCurve.
struct CurveScratch {
  std::vector<double> basis;
};

// A curve prepared for many evaluations, with the values of CurvePoint bit
// for bit. Where the knots are non-decreasing and no knot ratio can overflow
// (the usual case), a point sums only the k basis functions that can be
// non-zero, by the triangular scheme over the knot span holding t: every
// other term of the full sum is an exact zero, which changes no sum. Other
// knot vectors take the full triangle, all n basis functions level by level.
class NurbsCurve {
 public:
  // Copies the curve: n = controls.size() control points, order k, and the
  // first n + k knots (the caller provides at least that many).
  void Reset(std::span<const Tmypoi> controls, std::span<const double> knots, int32_t k);

  // Sizes `scratch` for this curve; evaluations then allocate nothing.
  void Prepare(CurveScratch& scratch) const;

  // CurvePoint(knots, n - 1, k, t, controls).
  Tmypoi Point(double t, CurveScratch& scratch) const;

  // x[q] and y[q] of Point(t[q]) for every q, fastest for runs of
  // parameters in one knot span. With `ascending` the caller promises
  // t[q] <= t[q + 1] throughout, and the runs are found by bisection.
  void PointsXY(std::span<const double> t, double* x, double* y, CurveScratch& scratch,
                bool ascending = false) const;

  size_t size() const { return cx_.size(); }
  int32_t order() const { return k_; }
  std::span<const double> knots() const { return knots_; }

 private:
  // Index s with knots[s] <= t < knots[s + 1], for t in [first, last knot).
  int64_t SpanOf(double t) const;
  Tmypoi PointInSpan(double t, int64_t s, double* basis) const;
  Tmypoi PointFullTriangle(double t, double* basis) const;
  // The rational point of control points first .. last with the basis
  // values N[first - offset] .. N[last - offset], summed in index order.
  Tmypoi WeightedSum(const double* N, int64_t offset, int64_t first, int64_t last) const;
  // x and y for count parameters inside interior span s (k-1 <= s <= n-1).
  void InteriorRun(int64_t s, const double* t, size_t count, double* x, double* y) const;

  std::vector<double> knots_;
  std::vector<double> cx_, cy_, cz_, cw_;
  int32_t k_ = 0;
  bool fast_ = false;  // non-decreasing knots whose ratios stay finite
};

}  // namespace tessarin
