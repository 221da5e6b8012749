// SPDX-License-Identifier: MIT
// NURBS evaluation: the worked examples, and the fast evaluation against the
// plain recursion bit for bit on random and on awkward knot vectors.
#include "nurbs.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "literal_reference.h"
#include "random_curves.h"

namespace tessarin {
namespace {

// Equal bits, or both not a number.
bool Same(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) ||
         std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

::testing::AssertionResult SamePoint(const Tmypoi& a, const Tmypoi& b) {
  if (Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z) && Same(a.weight, b.weight)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "(" << a.x << ", " << a.y << ", " << a.z << ", w " << a.weight << ") vs (" << b.x
         << ", " << b.y << ", " << b.z << ", w " << b.weight << ")";
}

const std::vector<Tmypoi> kParabola = {{0, 0, 0, 1}, {1, 2, 0, 1}, {2, 0, 0, 1}};
const std::vector<double> kBezierKnots = {0, 0, 0, 1, 1, 1};

TEST(CurvePoint, QuadraticBezier) {
  // Given the quadratic with knots 0 0 0 1 1 1 and controls (0,0), (1,2), (2,0).
  const Tmypoi middle = CurvePoint(kBezierKnots, 2, 3, 0.5, kParabola);
  EXPECT_EQ(middle.x, 1.0);
  EXPECT_EQ(middle.y, 1.0);
  EXPECT_EQ(middle.weight, 1.0);
  const Tmypoi start = CurvePoint(kBezierKnots, 2, 3, 0.0, kParabola);
  EXPECT_EQ(start.x, 0.0);
  EXPECT_EQ(start.y, 0.0);
  // At the last knot no basis function is non-zero: the undefined point.
  const Tmypoi end = CurvePoint(kBezierKnots, 2, 3, 1.0, kParabola);
  EXPECT_TRUE(std::isnan(end.x) && std::isnan(end.y));
  EXPECT_EQ(end.weight, 0.0);
}

TEST(CurvePoint, RationalWeightPullsTowardsItsPoint) {
  std::vector<Tmypoi> weighted = kParabola;
  weighted[1].weight = 2.0;
  const Tmypoi middle = CurvePoint(kBezierKnots, 2, 3, 0.5, weighted);
  EXPECT_EQ(middle.x, 1.0);
  EXPECT_DOUBLE_EQ(middle.y, 4.0 / 3.0);
  EXPECT_EQ(middle.weight, 1.5);
}

TEST(CurvePoint, UnclampedStartIsUndefined) {
  const std::vector<double> knots = {0, 1, 2, 3, 4, 5, 6, 7};
  const std::vector<Tmypoi> controls = {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}, {3, 1, 0, 1}};
  EXPECT_EQ(CurvePoint(knots, 3, 4, 0.0, controls).weight, 0.0);
  const Tmypoi inside = CurvePoint(knots, 3, 4, 3.0, controls);
  EXPECT_TRUE(std::isfinite(inside.x) && std::isfinite(inside.y));
  EXPECT_GT(inside.weight, 0.0);
}

TEST(CurvePoint, RepeatedInteriorKnotHitsItsControlPoint) {
  const std::vector<double> knots = {0, 0, 0, 1, 1, 2, 2, 2};
  const std::vector<Tmypoi> controls = {
      {0, 0, 0, 1}, {1, 3, 0, 1}, {2, -1, 0, 1}, {4, 2, 0, 1}, {5, 0, 0, 1}};
  const Tmypoi p = CurvePoint(knots, 4, 3, 1.0, controls);
  EXPECT_EQ(p.x, 2.0);
  EXPECT_EQ(p.y, -1.0);
}

TEST(UniformKnots, Examples) {
  struct Row {
    int32_t n, k;
    std::vector<double> expected;
  };
  const Row rows[] = {
      {6, 4, {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}}, {4, 4, {0, 0, 0, 0, 1, 1, 1, 1}},
      {4, 3, {0, 0, 0, 1, 2, 2, 2}},          {3, 4, {0, 0, 0, 0, 0, 0, 0}},
      {2, 4, {0, 0, 0, 0, -1, -1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "n " << row.n << " k " << row.k);
    std::vector<double> knots(row.expected.size(), 99.0);
    UniformKnots(knots, row.n - 1, row.k);
    EXPECT_EQ(knots, row.expected);
  }
}

TEST(SampleCurve, FiveSamplesOfTheParabola) {
  std::vector<Tmypoi> samples(5);
  SampleCurve(2, 3, kParabola, kBezierKnots, samples);
  const double expected[5][2] = {{0, 0}, {0.5, 0.75}, {1, 1}, {1.5, 0.75}, {2, 0}};
  for (int s = 0; s < 5; ++s) {
    SCOPED_TRACE(s);
    EXPECT_DOUBLE_EQ(samples[s].x, expected[s][0]);
    EXPECT_DOUBLE_EQ(samples[s].y, expected[s][1]);
    EXPECT_EQ(samples[s].weight, 1.0);
  }
}

// Parameters worth evaluating: spread over the whole knot range and beyond,
// and every knot exactly.
std::vector<double> Parameters(const std::vector<double>& knots, std::mt19937_64& random) {
  std::vector<double> t(knots.begin(), knots.end());
  const double low = knots.front(), high = knots.back();
  std::uniform_real_distribution<double> any(low - 0.5, high + 0.5);
  for (int i = 0; i < 60; ++i) t.push_back(any(random));
  for (int i = 0; i <= 40; ++i) t.push_back(low + (high - low) * i / 40);
  return t;
}

void ExpectSameAsRecursion(const WorkingCurve& curve, std::mt19937_64& random) {
  const int32_t n = static_cast<int32_t>(curve.controls.size());
  const int32_t k = curve.degree + 1;
  NurbsCurve fast;
  fast.Reset(curve.controls, curve.knots, k);
  CurveScratch scratch;
  fast.Prepare(scratch);
  std::vector<double> t = Parameters(curve.knots, random);
  std::sort(t.begin(), t.end());
  std::vector<double> x(t.size()), y(t.size());
  fast.PointsXY(t, x.data(), y.data(), scratch);
  for (size_t q = 0; q < t.size(); ++q) {
    SCOPED_TRACE(::testing::Message() << "t " << t[q]);
    const Tmypoi expected = reference::CurvePoint(curve.knots, n - 1, k, t[q], curve.controls);
    ASSERT_TRUE(SamePoint(fast.Point(t[q], scratch), expected));
    ASSERT_TRUE(SamePoint(CurvePoint(curve.knots, n - 1, k, t[q], curve.controls), expected));
    ASSERT_TRUE(Same(x[q], expected.x) && Same(y[q], expected.y));
    const int32_t i = static_cast<int32_t>(q % static_cast<size_t>(n));
    ASSERT_TRUE(Same(BasisFunction(i, k, curve.knots, t[q]),
                     reference::BasisFunction(i, k, curve.knots, t[q])));
  }
}

TEST(NurbsCurve, SameBitsAsTheRecursionOnRandomCurves) {
  std::mt19937_64 random(20240611);
  const testing::KnotKind kinds[] = {testing::KnotKind::kClamped, testing::KnotKind::kUnclamped,
                                     testing::KnotKind::kPeriodic, testing::KnotKind::kRepeated};
  const double scales[] = {1e-6, 1.0, 1000.0, 1e9};
  int curves = 0;
  for (int32_t degree = 1; degree <= 5; ++degree) {
    for (const testing::KnotKind kind : kinds) {
      for (const double scale : scales) {
        for (const bool rational : {false, true}) {
          const int32_t count = degree + 1 + static_cast<int32_t>(random() % 9);
          const testing::RandomCurve curve =
              testing::MakeRandomCurve(random, degree, count, kind, rational, scale);
          SCOPED_TRACE(curve.name);
          ExpectSameAsRecursion(curve.curve, random);
          ++curves;
        }
      }
    }
  }
  EXPECT_EQ(curves, 5 * 4 * 4 * 2);
}

TEST(NurbsCurve, SameBitsOnKnotsTheFastSchemeCannotTake) {
  // Decreasing knots, a subnormal gap whose ratios overflow, huge knots,
  // all-equal knots and degree 0: the full triangle must give the
  // recursion's values, NaN where the recursion's inf * 0 makes one.
  const std::vector<Tmypoi> controls = {
      {0, 0, 0, 1}, {1, 2, 0, 2}, {3, -1, 0, 0.5}, {4, 1, 0, 1}, {6, 0, 0, 1}};
  const double tiny = std::numeric_limits<double>::denorm_min();
  const struct {
    const char* name;
    int32_t degree;
    std::vector<double> knots;
  } rows[] = {
      {"decreasing", 2, {0, 0, 0, 2, 1, 3, 3, 3}},
      {"subnormal gap", 2, {0, 0, 0, tiny, 1, 1, 1, 1}},
      {"huge", 3, {-1e308, -1e308, -1e308, -1e308, 0, 1e308, 1e308, 1e308, 1e308}},
      {"all equal", 2, {5, 5, 5, 5, 5, 5, 5, 5}},
      {"degree 0", 0, {0, 1, 2, 3, 4, 5}},
      {"degree 4 of 5", 4, {0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
  };
  std::mt19937_64 random(7);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WorkingCurve curve{controls, row.degree, row.knots};
    ExpectSameAsRecursion(curve, random);
  }
}

TEST(NurbsCurve, NegativeAndZeroWeightsGiveTheRecursionsValues) {
  std::vector<Tmypoi> controls = kParabola;
  controls[1].weight = -1.0;  // the weight sum passes through 0 at t = 0.5
  std::mt19937_64 random(3);
  ExpectSameAsRecursion(WorkingCurve{controls, 2, kBezierKnots}, random);
  const Tmypoi middle = CurvePoint(kBezierKnots, 2, 3, 0.5, controls);
  EXPECT_TRUE(std::isnan(middle.x));
  EXPECT_EQ(middle.weight, 0.0);
  controls[1].weight = 0.0;
  ExpectSameAsRecursion(WorkingCurve{controls, 2, kBezierKnots}, random);
}

TEST(BasisFunction, HighOrderIsCheap) {
  // Order 40 would take 2^40 calls of the recursion.
  std::vector<double> knots(81);
  for (size_t j = 0; j < knots.size(); ++j) knots[j] = static_cast<double>(j);
  double sum = 0.0;
  for (int32_t i = 0; i < 41; ++i) sum += BasisFunction(i, 40, knots, 40.5);
  EXPECT_NEAR(sum, 1.0, 1e-12);  // partition of unity inside the domain
  EXPECT_EQ(BasisFunction(0, 0, knots, 1.0), 0.0);
  EXPECT_EQ(BasisFunction(79, 4, knots, 1.0), 0.0);  // knots too short: 0, no read beyond
}

}  // namespace
}  // namespace tessarin
