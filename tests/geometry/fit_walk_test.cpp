// SPDX-License-Identifier: MIT
// The fit of whole splines: the worked examples, corners, a curve that runs
// away from its arc, the depth limit, stopping, the deviation each arc
// carries, and a table of bad input with its outcome.
#include "fit_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "curves.h"
#include "fit_harness.h"
#include "nurbs.h"

namespace tessarin {
namespace {

using testing::Fit;
using testing::FitOutcome;
using testing::FitRequest;
using testing::Implementation;
using testing::kDegree;
using testing::SplineOf;

const FitSettings kDefaults{};

TEST(FitSpline, EightyDegreeArcIsOneArcBothWays) {
  struct Row {
    const char* name;
    double from, to, bulge;
  };
  const double tan20 = std::tan(20 * kDegree);  // 0.36397...
  const Row rows[] = {
      {"counter-clockwise 20 to 100", 20, 100, tan20},
      {"clockwise 200 down to 120", 200, 120, -tan20},
      {"across the negative x axis, 140 to 220", 140, 220, tan20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const FitOutcome fit = Fit(SplineOf(testing::CircularArc(row.from, row.to)), FitRequest{});
    EXPECT_EQ(fit.count, 1);
    ASSERT_EQ(fit.arcs.size(), 1u);
    const Arc& arc = fit.arcs[0].arc;
    EXPECT_NEAR(arc.bulge, row.bulge, 1e-6);
    EXPECT_NEAR(arc.x1, 10 * std::cos(row.from * kDegree), 1e-12);
    // The end point is the curve point at 1 - 1e-7, a hair before the end.
    EXPECT_NEAR(arc.x3, 10 * std::cos(row.to * kDegree), 1e-5);
    EXPECT_NEAR(arc.y3, 10 * std::sin(row.to * kDegree), 1e-5);
    EXPECT_NEAR(arc.arcradius, 10.0, 1e-9);
    // Measured on the arc itself: only the spacing of the samples remains.
    EXPECT_LT(fit.minima.mindeviation, 0.02);
  }
}

TEST(FitSpline, StraightCubicEndsAtTheNudgedPoint) {
  WorkingCurve curve{
      {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 2, 0, 1}, {3, 3, 0, 1}}, 3, {0, 0, 0, 0, 1, 1, 1, 1}};
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{});
  ASSERT_EQ(fit.arcs.size(), 1u);
  const Arc& arc = fit.arcs[0].arc;
  EXPECT_EQ(arc.x1, 0.0);
  EXPECT_TRUE(arc.straight());
  const Tmypoi end = CurvePoint(curve.knots, 3, 4, 1 - 1e-7, curve.controls);
  EXPECT_EQ(arc.x3, end.x);
  EXPECT_EQ(arc.y3, end.y);
  EXPECT_NEAR(arc.x3, 2.9999997, 1e-7);
}

// Each arc carries D, measured as the acceptance measured it: the farthest
// of its test points from the spline samples, and that in percent of its
// three points' perimeter. The run minima are the smallest of all measured
// intervals, so no larger than any accepted arc's.
TEST(FitSpline, EveryArcCarriesItsDeviation) {
  FitSettings fine;
  fine.maxunits = 0.01;
  const FitOutcome fit = Fit(SplineOf(testing::WavyCubic()), FitRequest{fine});
  ASSERT_GT(fit.arcs.size(), 4u);
  for (const FittedArc& arc : fit.arcs) {
    EXPECT_GE(arc.deviation, 0.0);
    EXPECT_LT(arc.deviation, fine.maxunits);
    EXPECT_LT(arc.percent, fine.maxpercent);
    EXPECT_GE(arc.deviation, fit.minima.mindeviation);
    EXPECT_GE(arc.percent, fit.minima.minpercent);
  }
  // The reference measures D on its own, every distance with its root.
  EXPECT_TRUE(testing::SameFit(
      fit, Fit(SplineOf(testing::WavyCubic()), FitRequest{fine, Implementation::kReference})));
}

TEST(FitSpline, CornerOffTheMiddleGetsItsOwnVertex) {
  // A polyline as a degree 1 spline whose knots are not uniform: the last
  // span (2, 3, 5) holds the corner at 3.2 (control point 3), which halving
  // never meets. Cut there, two straight pieces fit exactly.
  WorkingCurve curve{{{0, 0, 0, 1}, {1, 0, 0, 1}, {2, 0, 0, 1}, {3, 5, 0, 1}, {4, 0, 0, 1}},
                     1,
                     {0, 1, 2, 3, 3.2, 5, 10}};
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{});
  bool corner = false;
  for (const FittedArc& a : fit.arcs) corner = corner || (a.arc.x3 == 3.0 && a.arc.y3 == 5.0);
  EXPECT_TRUE(corner);
  EXPECT_LE(fit.count, 6);
  EXPECT_TRUE(
      testing::SameFit(fit, Fit(SplineOf(curve), FitRequest{{}, Implementation::kReference})));
}

// The curve runs out to x = 22.86 and back to 10 along the x axis: its three
// points are collinear with the middle one outside the other two. Measured
// from the arc only, the segment from 0 to 10 would pass, though the curve
// goes 12.86 units beyond it; measured from the curve too, the interval is
// cut until the polyline reaches the turning point.
TEST(FitSpline, CurveRunningAwayFromItsArcIsCut) {
  const WorkingCurve curve{{{0, 0, 0, 1}, {40, 0, 0, 1}, {10, 0, 0, 1}}, 2, {0, 0, 0, 1, 1, 1}};
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{});
  ASSERT_FALSE(fit.arcs.empty());
  double farthest = 0.0;
  for (const FittedArc& a : fit.arcs) {
    EXPECT_EQ(a.arc.y1, 0.0);
    EXPECT_EQ(a.arc.y3, 0.0);
    farthest = std::max({farthest, a.arc.x1, a.arc.x3});
  }
  // The turning point x(4/7) = 160/7 - 70 * 16/49 = 22.857...
  EXPECT_GT(farthest, 22.857 - kDefaults.maxunits);
  EXPECT_NEAR(fit.arcs.back().arc.x3, 10.0, 1e-5);
}

TEST(FitSpline, MaxunitsZeroCutsEverySpanToTheDepthLimit) {
  FitSettings settings;
  settings.maxunits = 0.0;
  settings.splinetests = 100;
  const FitOutcome fit = Fit(SplineOf(testing::WavyCubic()), FitRequest{settings});
  // (0, 0, 1) and (3, 4, 4) lose a coincident half at depth 2: 512 each;
  // (1, 2, 3) is cut down to depth 11: 1024.
  EXPECT_EQ(fit.count, 512 + 1024 + 512);
  EXPECT_EQ(fit.arcs.size(), 2048u);
  // Adjacent arcs share their ends.
  for (size_t i = 1; i < fit.arcs.size(); ++i) {
    ASSERT_EQ(fit.arcs[i].arc.x1, fit.arcs[i - 1].arc.x3) << i;
    ASSERT_EQ(fit.arcs[i].arc.y1, fit.arcs[i - 1].arc.y3) << i;
  }
  EXPECT_TRUE(testing::SameFit(
      fit, Fit(SplineOf(testing::WavyCubic()), FitRequest{settings, Implementation::kReference})));
}

TEST(FitSpline, StopEndsTheArcsAndEveryPendingStepPumpsOnce) {
  WorkingCurve curve;
  curve.degree = 3;
  curve.controls = {{0, 0, 0, 1},  {10, 30, 0, 1}, {20, -30, 0, 1},
                    {30, 0, 0, 1}, {40, 25, 0, 1}, {50, 0, 0, 1}};
  curve.knots = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3};
  const FitOutcome whole = Fit(SplineOf(curve), FitRequest{});
  ASSERT_GT(whole.pumps, 12);
  EXPECT_FALSE(whole.stopped);
  for (const int at : {1, 2, 7, whole.pumps / 2, whole.pumps}) {
    SCOPED_TRACE(at);
    for (const Implementation implementation :
         {Implementation::kFast, Implementation::kReference}) {
      FitRequest request{{}, implementation};
      request.stopAtPump = at;
      const FitOutcome stopped = Fit(SplineOf(curve), request);
      EXPECT_TRUE(stopped.stopped);
      EXPECT_LE(stopped.count, whole.count);
      EXPECT_EQ(stopped.count, static_cast<int64_t>(stopped.arcs.size()));
      EXPECT_LE(stopped.pumps, whole.pumps);
      // What was emitted before the stop is the start of the whole fit.
      for (size_t a = 0; a < stopped.arcs.size(); ++a) {
        EXPECT_TRUE(testing::SameBits(stopped.arcs[a], whole.arcs[a])) << a;
      }
    }
    FitRequest fast{{}, Implementation::kFast};
    fast.stopAtPump = at;
    FitRequest reference{{}, Implementation::kReference};
    reference.stopAtPump = at;
    EXPECT_TRUE(testing::SameFit(Fit(SplineOf(curve), fast), Fit(SplineOf(curve), reference)));
  }
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

using testing::TestSpline;

TestSpline Cubic(std::vector<Tmypoi> controls, std::vector<double> knots, int32_t degree = 3) {
  return TestSpline{degree, std::move(knots), std::move(controls), {}};
}

std::vector<Tmypoi> Wave(size_t count, double scale, double weight = 1.0) {
  std::vector<Tmypoi> controls;
  for (size_t i = 0; i < count; ++i) {
    controls.push_back(Tmypoi{scale * double(i), scale * ((i % 2) ? 1.0 : -1.0), 0, weight});
  }
  return controls;
}

std::vector<double> Clamped(size_t count, int32_t degree, double offset = 0.0) {
  std::vector<double> knots;
  for (int32_t j = 0; j <= degree; ++j) knots.push_back(offset);
  for (size_t j = 1; j + degree < count; ++j) knots.push_back(offset + double(j));
  for (int32_t j = 0; j <= degree; ++j) knots.push_back(offset + double(count - degree));
  return knots;
}

bool AllFinite(const FittedArc& a) {
  const Arc& arc = a.arc;
  for (const double v : {arc.x1, arc.y1, arc.x3, arc.y3, arc.bulge, arc.arcmx, arc.arcmy,
                         arc.arcwinkel1, arc.arcwinkel2, arc.arcradius, a.deviation, a.percent}) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

enum class Arcs { kNone, kSome };

TEST(FitSpline, BadInputOutcomes) {
  struct Row {
    const char* name;
    TestSpline spline;
    FitSettings settings;
    Arcs arcs;
    bool steps;      // whether any fitting step (pump) happens
    bool reference;  // the reference is quick enough to compare with
  };
  const FitSettings defaults;
  const auto with = [](int32_t arctests, int32_t splinetests) {
    FitSettings settings;
    settings.arctests = arctests;
    settings.splinetests = splinetests;
    return settings;
  };
  std::vector<Tmypoi> zeroWeight = Wave(6, 1.0);
  zeroWeight[2].weight = 0.0;
  std::vector<Tmypoi> negativeWeight = Wave(6, 1.0);
  negativeWeight[2].weight = -2.0;
  const TestSpline twoFit = testing::FitPointSpline({{0, 0, 0, 1}, {1, 1, 0, 1}});
  const TestSpline threeFit = testing::FitPointSpline({{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}});
  const Row rows[] = {
      {"a weight of 0", Cubic(zeroWeight, Clamped(6, 3)), defaults, Arcs::kSome, true, true},
      {"a negative weight", Cubic(negativeWeight, Clamped(6, 3)), defaults, Arcs::kSome, true,
       true},
      {"all weights 0", Cubic(Wave(6, 1.0, 0.0), Clamped(6, 3)), defaults, Arcs::kNone, true, true},
      {"degree 0", Cubic(Wave(6, 1.0), {0, 1, 2, 3, 4, 5, 6}, 0), defaults, Arcs::kSome, true,
       true},
      {"degree 12", Cubic(Wave(16, 1.0), Clamped(16, 12), 12), defaults, Arcs::kSome, true, false},
      {"degree 2^31 - 1", Cubic(Wave(6, 1.0), {}, 2147483647), defaults, Arcs::kNone, false, false},
      {"degree -1", Cubic(Wave(6, 1.0), Clamped(6, 3), -1), defaults, Arcs::kNone, false, false},
      {"decreasing knots", Cubic(Wave(6, 1.0), {0, 0, 0, 0, 2, 1, 3, 3, 3, 3}), defaults,
       Arcs::kSome, true, true},
      {"knots all equal", Cubic(Wave(6, 1.0), std::vector<double>(10, 1.0)), defaults, Arcs::kNone,
       true, true},
      {"too few knots", Cubic(Wave(6, 1.0), {0, 0, 1, 1}), defaults, Arcs::kSome, true, true},
      {"coordinates of 1e300", Cubic(Wave(6, 1e300), Clamped(6, 3)), defaults, Arcs::kNone, true,
       true},
      // The circumcentre takes third powers of the coordinates.
      {"coordinates of 1e150", Cubic(Wave(6, 1e150), Clamped(6, 3)), defaults, Arcs::kNone, true,
       true},
      {"coordinates of 1e90", Cubic(Wave(6, 1e90), Clamped(6, 3)), defaults, Arcs::kSome, true,
       true},
      {"coordinates of 1e-300", Cubic(Wave(6, 1e-300), Clamped(6, 3)), defaults, Arcs::kNone, true,
       true},
      {"coordinates of 1e-150", Cubic(Wave(6, 1e-150), Clamped(6, 3)), defaults, Arcs::kSome, true,
       true},
      {"knots near 1e10, 1e-7 lost", Cubic(Wave(6, 1.0), Clamped(6, 3, 1e10)), defaults,
       Arcs::kSome, true, true},
      {"neither control nor fit points", TestSpline{}, defaults, Arcs::kNone, false, false},
      {"two fit points", twoFit, defaults, Arcs::kNone, false, false},
      {"three fit points", threeFit, defaults, Arcs::kNone, false, false},
      {"one control point", Cubic(Wave(1, 1.0), {}), defaults, Arcs::kNone, false, false},
      {"arctests 1", Cubic(Wave(6, 1.0), Clamped(6, 3)), with(1, 1000), Arcs::kSome, true, true},
      {"splinetests 1", Cubic(Wave(6, 1.0), Clamped(6, 3)), with(10, 1), Arcs::kSome, true, true},
      {"arctests 0 (as 1)", Cubic(Wave(6, 1.0), Clamped(6, 3)), with(0, 1000), Arcs::kSome, true,
       true},
      {"splinetests -3 (as 1)", Cubic(Wave(6, 1.0), Clamped(6, 3)), with(10, -3), Arcs::kSome, true,
       true},
      {"arctests 100000", Cubic(Wave(5, 1.0), Clamped(5, 3)), with(100000, 100), Arcs::kSome, true,
       false},
      {"splinetests 100000", Cubic(Wave(5, 1.0), Clamped(5, 3)), with(10, 100000), Arcs::kSome,
       true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const FitOutcome fit = Fit(row.spline, FitRequest{row.settings});
    EXPECT_TRUE(std::all_of(fit.arcs.begin(), fit.arcs.end(), AllFinite));
    EXPECT_TRUE(std::isfinite(fit.minima.minpercent) && std::isfinite(fit.minima.mindeviation));
    EXPECT_EQ(fit.count > 0, row.arcs == Arcs::kSome) << fit.count << " arcs";
    EXPECT_EQ(fit.pumps > 0, row.steps) << fit.pumps << " steps";
    EXPECT_EQ(fit.arcs.size(), static_cast<size_t>(fit.count));
    if (row.reference) {
      EXPECT_TRUE(testing::SameFit(
          fit, Fit(row.spline, FitRequest{row.settings, Implementation::kReference})));
    }
  }
}

}  // namespace
}  // namespace tessarin
