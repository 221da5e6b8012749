// SPDX-License-Identifier: MIT
// Arc fitting: the circle, the spans, the worked examples of whole fits,
// cancelling, and a table of bad input with its outcome.
#include "arc_fitting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "dxf_number.h"
#include "fit_harness.h"
#include "literal_reference.h"

namespace tessarin {
namespace {

using testing::Fit;
using testing::FitOutcome;
using testing::FitRequest;
using testing::Implementation;
using testing::SplineOf;

constexpr double kDegree = std::numbers::pi / 180.0;

// A clamped cubic of seven control points over the knots 0 to 4: four spans.
WorkingCurve WavyCubic() {
  WorkingCurve curve;
  curve.degree = 3;
  curve.controls = {{0, 0, 0, 1}, {1, 3, 0, 1}, {2, -1, 0, 1}, {4, 2, 0, 1},
                    {5, 0, 0, 1}, {7, 3, 0, 1}, {8, 0, 0, 1}};
  curve.knots = {0, 0, 0, 0, 1, 2, 3, 4, 4, 4, 4};
  return curve;
}

// The vertices of an LWPOLYLINE entity's text: (x, y, bulge) per vertex.
struct Vertex {
  double x, y, bulge;
};
std::vector<Vertex> Vertices(const std::string& entity) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = entity.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(entity.substr(start, end - start));
  }
  std::vector<Vertex> vertices;
  // The header ends at "43" "0.0" (and a closing "70" "1"); vertices follow.
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (lines[i] == "10") {
      vertices.push_back(Vertex{*ParseDxfDouble(lines[i + 1]), *ParseDxfDouble(lines[i + 3]),
                                *ParseDxfDouble(lines[i + 5])});
      i += 4;
    }
  }
  return vertices;
}

// A rational quadratic that is exactly the arc of radius 10 about the
// origin from angle `from` to angle `to` (degrees, less than 180 apart).
SplineEntity CircularArc(double from, double to) {
  const double half = (to - from) / 2.0 * kDegree;
  const double middle = (from + to) / 2.0 * kDegree;
  const double apex = 10.0 / std::cos(half);
  WorkingCurve curve;
  curve.degree = 2;
  curve.controls = {{10 * std::cos(from * kDegree), 10 * std::sin(from * kDegree), 0, 1},
                    {apex * std::cos(middle), apex * std::sin(middle), 0, std::cos(half)},
                    {10 * std::cos(to * kDegree), 10 * std::sin(to * kDegree), 0, 1}};
  curve.knots = {0, 0, 0, 1, 1, 1};
  return SplineOf(curve);
}

const ConversionSettings kDefaults{};

TEST(ArcFromThreePoints, QuarterCircleCounterClockwiseAndBack) {
  const ArcFields ccw = ArcFromThreePoints(1, 0, std::sqrt(0.5), std::sqrt(0.5), 0, 1);
  EXPECT_NEAR(ccw.arcmx, 0.0, 1e-15);
  EXPECT_NEAR(ccw.arcmy, 0.0, 1e-15);
  EXPECT_NEAR(ccw.arcradius, 1.0, 1e-15);
  EXPECT_NEAR(ccw.bulge, std::tan(std::numbers::pi / 8), 1e-15);
  EXPECT_NEAR(ccw.arcwinkel1, 0.0, 1e-15);
  EXPECT_NEAR(ccw.arcwinkel2, std::numbers::pi / 2, 1e-15);
  const ArcFields cw = ArcFromThreePoints(0, 1, std::sqrt(0.5), std::sqrt(0.5), 1, 0);
  EXPECT_NEAR(cw.bulge, -std::tan(std::numbers::pi / 8), 1e-15);
  // The angles still describe the minor arc counter-clockwise.
  EXPECT_NEAR(cw.arcwinkel1, 0.0, 1e-15);
  EXPECT_NEAR(cw.arcwinkel2, std::numbers::pi / 2, 1e-15);
  EXPECT_EQ(cw.x1, 0.0);
  EXPECT_EQ(cw.y3, 0.0);
}

TEST(ArcFromThreePoints, MiddlePointBeyondTheChordStillGivesTheMinorArc) {
  // The middle point fixes the circle only: on the far side of the chord the
  // major arc would pass through it, but the minor arc is emitted.
  const ArcFields arc = ArcFromThreePoints(1, 0, 0, -1, 0, 1);
  EXPECT_NEAR(arc.bulge, std::tan(std::numbers::pi / 8), 1e-15);
}

TEST(ArcFromThreePoints, CollinearAndNearlyCollinearGiveSegments) {
  const ArcFields line = ArcFromThreePoints(0, 0, 1, 1, 2, 2);
  EXPECT_EQ(line.bulge, 0.0);
  EXPECT_EQ(line.arcradius, 0.0);
  EXPECT_EQ(line.x3, 2.0);
  // |D3| = 2e-9, below the threshold of 1e-8.
  EXPECT_EQ(ArcFromThreePoints(0, 0, 1, 1e-9, 2, 0).bulge, 0.0);
  EXPECT_NE(ArcFromThreePoints(0, 0, 1, 1e-7, 2, 0).bulge, 0.0);
}

TEST(PointAngle, AboutTheCentre) {
  EXPECT_DOUBLE_EQ(PointAngle(1, 3, 1, 2), std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(PointAngle(0, 2, 1, 2), std::numbers::pi);
  EXPECT_DOUBLE_EQ(PointAngle(1, 1, 1, 2), -std::numbers::pi / 2);
}

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
    const FitOutcome fit = Fit(CircularArc(row.from, row.to), FitRequest{kDefaults});
    EXPECT_EQ(fit.arcs, 1);
    const std::vector<Vertex> vertices = Vertices(fit.entity);
    ASSERT_EQ(vertices.size(), 2u);
    EXPECT_NEAR(vertices[0].bulge, row.bulge, 1e-6);
    EXPECT_NEAR(vertices[0].x, 10 * std::cos(row.from * kDegree), 1e-12);
    // The end point is the curve point at 1 - 1e-7, a hair before the end.
    EXPECT_NEAR(vertices[1].x, 10 * std::cos(row.to * kDegree), 1e-5);
    EXPECT_NEAR(vertices[1].y, 10 * std::sin(row.to * kDegree), 1e-5);
    // Measured on the arc itself: only the spacing of the samples remains.
    EXPECT_LT(fit.minima.mindeviation, 0.02);
  }
}

TEST(FitSpline, StraightCubicEndsAtTheNudgedPoint) {
  WorkingCurve curve{
      {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 2, 0, 1}, {3, 3, 0, 1}}, 3, {0, 0, 0, 0, 1, 1, 1, 1}};
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{kDefaults});
  EXPECT_EQ(fit.arcs, 1);
  const std::vector<Vertex> vertices = Vertices(fit.entity);
  ASSERT_EQ(vertices.size(), 2u);
  EXPECT_EQ(vertices[0].x, 0.0);
  EXPECT_EQ(vertices[0].bulge, 0.0);
  const double end = CurvePoint(curve.knots, 3, 4, 1 - 1e-7, curve.controls).x;
  EXPECT_EQ(vertices[1].x, *ParseDxfDouble(FloatToDXF(end)));
  EXPECT_NEAR(vertices[1].x, 2.9999997, 1e-7);
  EXPECT_NEAR(vertices[1].y, 2.9999997, 1e-7);
}

TEST(SplineFitter, SpanParameters) {
  struct Row {
    const char* name;
    std::vector<double> knots;
    std::vector<std::array<double, 3>> spans;
  };
  const Row rows[] = {
      {"seven controls",
       {0, 0, 0, 0, 1, 2, 3, 4, 4, 4, 4},
       {{0, 0, 0}, {0, 0, 1}, {1, 2, 3}, {3, 4, 4}}},
      {"six controls",
       {0, 0, 0, 0, 1, 2, 3, 3, 3, 3},
       {{0, 0, 0}, {0, 0, 1}, {1, 2, 3}, {3, 3, 3}}},
      // Unclamped: parameters outside [knots[3], knots[n]] = [0, 3] are
      // clamped into it; the spans beyond collapse.
      {"unclamped",
       {-3, -2, -1, 0, 1, 2, 3, 4, 5, 6},
       {{0, 0, 0}, {0, 0, 1}, {1, 2, 3}, {3, 3, 3}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const size_t n = row.knots.size() - 4;
    WorkingCurve curve;
    curve.degree = 3;
    for (size_t i = 0; i < n; ++i) curve.controls.push_back(Tmypoi{double(i), double(i % 2), 0, 1});
    curve.knots = row.knots;
    SplineFitter fitter(kDefaults);
    ASSERT_TRUE(fitter.Setup(curve));
    ASSERT_EQ(fitter.spans().size(), row.spans.size());
    for (size_t s = 0; s < row.spans.size(); ++s) {
      EXPECT_EQ(fitter.spans()[s].u1, row.spans[s][0]);
      EXPECT_EQ(fitter.spans()[s].u2, row.spans[s][1]);
      EXPECT_EQ(fitter.spans()[s].u3, row.spans[s][2]);
    }
  }
}

TEST(SplineFitter, FirstSpanYieldsNothingAndTheLastIsNudged) {
  const WorkingCurve curve = WavyCubic();
  SplineFitter fitter(kDefaults);
  ASSERT_TRUE(fitter.Setup(curve));
  StepWorkspace workspace;
  EXPECT_EQ(fitter.Measure(fitter.Nudged(fitter.spans()[0]), workspace).kind,
            StepResult::Kind::kNothing);
  const FitInterval last = fitter.Nudged(fitter.spans()[3]);
  EXPECT_EQ(last.u1, 3.0);
  EXPECT_EQ(last.u2, 4 - 1e-7);
  EXPECT_EQ(last.u3, 4 - 1e-7);
}

TEST(SplineFitter, FailingSpanIsCutAtItsMiddleParameter) {
  // Given the span (0, 0, 1) of a curve that turns too much for one arc.
  WorkingCurve curve{
      {{0, 0, 0, 1}, {10, 30, 0, 1}, {20, -30, 0, 1}, {30, 0, 0, 1}}, 3, {0, 0, 0, 0, 1, 1, 1, 1}};
  SplineFitter fitter(kDefaults);
  ASSERT_TRUE(fitter.Setup(curve));
  StepWorkspace workspace;
  const FitInterval span = fitter.Nudged(fitter.spans()[1]);
  EXPECT_EQ(span.u3, 1 - 1e-7);
  const StepResult result = fitter.Measure(span, workspace);
  ASSERT_EQ(result.kind, StepResult::Kind::kCut);
  const auto [first, second] = fitter.Halves(span, result);
  EXPECT_EQ(first.u1, 0.0);
  EXPECT_EQ(first.u2, 0.0);
  EXPECT_EQ(first.u3, 0.0);
  EXPECT_EQ(second.u1, 0.0);
  EXPECT_EQ(second.u2, (1 - 1e-7) / 2);
  EXPECT_EQ(second.u3, 1 - 1e-7);
  EXPECT_EQ(fitter.Measure(first, workspace).kind, StepResult::Kind::kNothing);
}

TEST(SplineFitter, CornerKnotIsWhereTheIntervalIsCut) {
  // A degree 2 curve with a double knot at 1: a corner at control point 2.
  WorkingCurve curve{{{0, 0, 0, 1}, {5, 0.5, 0, 1}, {10, 0, 0, 1}, {10.5, 5, 0, 1}, {10, 10, 0, 1}},
                     2,
                     {0, 0, 0, 1, 1, 2, 2, 2}};
  ConversionSettings strict;
  strict.maxunits = 1e-6;  // no interval passes: every step cuts
  SplineFitter fitter(strict);
  ASSERT_TRUE(fitter.Setup(curve));
  StepWorkspace workspace;
  const FitInterval whole{1, 0.0, 0.3, 2 - 1e-7};
  const StepResult result = fitter.Measure(whole, workspace);
  ASSERT_EQ(result.kind, StepResult::Kind::kCut);
  EXPECT_EQ(result.cut, 1.0);
  // Without a corner inside, the middle parameter.
  EXPECT_EQ(fitter.Measure(FitInterval{1, 1.0, 1.4, 2 - 1e-7}, workspace).cut, 1.4);
}

TEST(FitSpline, CornerOffTheMiddleGetsItsOwnVertex) {
  // A polyline as a degree 1 spline whose knots are not uniform: the last
  // span (2, 3, 5) holds the corner at 3.2 (control point 3), which halving
  // never meets. Cut there, two straight pieces fit exactly.
  WorkingCurve curve{{{0, 0, 0, 1}, {1, 0, 0, 1}, {2, 0, 0, 1}, {3, 5, 0, 1}, {4, 0, 0, 1}},
                     1,
                     {0, 1, 2, 3, 3.2, 5, 10}};
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{kDefaults});
  bool corner = false;
  for (const Vertex& v : Vertices(fit.entity)) corner = corner || (v.x == 3.0 && v.y == 5.0);
  EXPECT_TRUE(corner);
  EXPECT_LE(fit.arcs, 6);
  EXPECT_EQ(fit.entity,
            Fit(SplineOf(curve), FitRequest{kDefaults, Implementation::kReference}).entity);
}

// The curve runs out to x = 22.86 and back to 10 along the x axis: its three
// points are collinear with the middle one outside the other two. Measured
// from the arc only, the segment from 0 to 10 would pass, though the curve
// goes 12.86 units beyond it; measured from the curve too, the interval is
// cut until the polyline reaches the turning point.
TEST(FitSpline, CurveRunningAwayFromItsArcIsCut) {
  const WorkingCurve curve{{{0, 0, 0, 1}, {40, 0, 0, 1}, {10, 0, 0, 1}}, 2, {0, 0, 0, 1, 1, 1}};
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{kDefaults});
  const std::vector<Vertex> vertices = Vertices(fit.entity);
  ASSERT_FALSE(vertices.empty());
  double farthest = 0.0;
  for (const Vertex& v : vertices) {
    EXPECT_EQ(v.y, 0.0);
    farthest = std::max(farthest, v.x);
  }
  // The turning point x(4/7) = 160/7 - 70 * 16/49 = 22.857...
  EXPECT_GT(farthest, 22.857 - kDefaults.maxunits);
  EXPECT_NEAR(vertices.back().x, 10.0, 1e-5);
}

TEST(FitSpline, MaxunitsZeroCutsEverySpanToTheDepthLimit) {
  const WorkingCurve curve = WavyCubic();
  ConversionSettings settings;
  settings.maxunits = 0.0;
  settings.splinetests = 100;
  const FitOutcome fit = Fit(SplineOf(curve), FitRequest{settings});
  // (0, 0, 1) and (3, 4, 4) lose a coincident half at depth 2: 512 each;
  // (1, 2, 3) is cut down to depth 11: 1024.
  EXPECT_EQ(fit.arcs, 512 + 1024 + 512);
  EXPECT_EQ(Vertices(fit.entity).size(), 2u * 2048);
  const FitOutcome reference =
      Fit(SplineOf(curve), FitRequest{settings, Implementation::kReference});
  EXPECT_EQ(fit.entity, reference.entity);
  EXPECT_EQ(fit.pumps, reference.pumps);
}

TEST(FitSpline, CancelStopsTheArcsAndEveryPendingStepPumpsOnce) {
  WorkingCurve curve;
  curve.degree = 3;
  curve.controls = {{0, 0, 0, 1},  {10, 30, 0, 1}, {20, -30, 0, 1},
                    {30, 0, 0, 1}, {40, 25, 0, 1}, {50, 0, 0, 1}};
  curve.knots = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3};
  const FitOutcome whole = Fit(SplineOf(curve), FitRequest{kDefaults});
  ASSERT_GT(whole.pumps, 12);
  for (const int at : {1, 2, 7, whole.pumps / 2, whole.pumps}) {
    SCOPED_TRACE(at);
    for (const Implementation implementation :
         {Implementation::kEngine, Implementation::kReference}) {
      FitRequest request{kDefaults, implementation};
      request.cancelAtPump = at;
      const FitOutcome cancelled = Fit(SplineOf(curve), request);
      EXPECT_TRUE(cancelled.cancelled);
      EXPECT_LE(cancelled.arcs, whole.arcs);
      EXPECT_LE(cancelled.pumps, whole.pumps);
      // What was emitted before the cancel is the start of the whole fit.
      const std::vector<Vertex> part = Vertices(cancelled.entity);
      const std::vector<Vertex> all = Vertices(whole.entity);
      for (size_t v = 0; v < part.size(); ++v) EXPECT_EQ(part[v].x, all[v].x);
    }
    FitRequest engine{kDefaults, Implementation::kEngine};
    engine.cancelAtPump = at;
    FitRequest reference{kDefaults, Implementation::kReference};
    reference.cancelAtPump = at;
    EXPECT_EQ(Fit(SplineOf(curve), engine).pumps, Fit(SplineOf(curve), reference).pumps);
  }
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

SplineEntity Cubic(std::vector<Tmypoi> controls, std::vector<double> knots, int32_t degree = 3) {
  SplineEntity spline;
  spline.degree = degree;
  spline.ctrlpoints = std::move(controls);
  spline.knots = std::move(knots);
  return spline;
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

enum class Arcs { kNone, kSome };

TEST(FitSpline, BadInputOutcomes) {
  struct Row {
    const char* name;
    SplineEntity spline;
    ConversionSettings settings;
    Arcs arcs;
    bool steps;      // whether any fitting step (pump) happens
    bool reference;  // the reference is quick enough to compare with
  };
  const ConversionSettings defaults;
  const auto with = [](int32_t arctests, int32_t splinetests) {
    ConversionSettings settings;
    settings.arctests = arctests;
    settings.splinetests = splinetests;
    return settings;
  };
  std::vector<Tmypoi> zeroWeight = Wave(6, 1.0);
  zeroWeight[2].weight = 0.0;
  std::vector<Tmypoi> negativeWeight = Wave(6, 1.0);
  negativeWeight[2].weight = -2.0;
  SplineEntity twoFit, threeFit, nothing;
  twoFit.fitpoints = {{0, 0, 0, 1}, {1, 1, 0, 1}};
  threeFit.fitpoints = {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}};
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
      {"neither control nor fit points", nothing, defaults, Arcs::kNone, false, false},
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
    EXPECT_EQ(fit.entity.find("NAN"), std::string::npos);
    EXPECT_EQ(fit.entity.find("INF"), std::string::npos);
    EXPECT_TRUE(std::isfinite(fit.minima.minpercent) && std::isfinite(fit.minima.mindeviation));
    EXPECT_EQ(fit.arcs > 0, row.arcs == Arcs::kSome) << fit.arcs << " arcs";
    EXPECT_EQ(fit.pumps > 0, row.steps) << fit.pumps << " steps";
    EXPECT_EQ(Vertices(fit.entity).size(), 2 * static_cast<size_t>(fit.arcs));
    if (row.reference) {
      const FitOutcome reference =
          Fit(row.spline, FitRequest{row.settings, Implementation::kReference});
      EXPECT_EQ(fit.entity, reference.entity);
      EXPECT_EQ(fit.pumps, reference.pumps);
    }
  }
}

}  // namespace
}  // namespace tessarin
