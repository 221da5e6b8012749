// SPDX-License-Identifier: MIT
// The fitting step: span parameters, the nudge at the domain end, where a
// failing interval is cut, and what a measurement reports.
#include "fitting_step.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "curves.h"

namespace tessarin {
namespace {

const FitSettings kDefaults{};

// A cubic that turns too much for one arc (a single Bezier span).
WorkingCurve SCurve() {
  return WorkingCurve{
      {{0, 0, 0, 1}, {10, 30, 0, 1}, {20, -30, 0, 1}, {30, 0, 0, 1}}, 3, {0, 0, 0, 0, 1, 1, 1, 1}};
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
  const WorkingCurve curve = testing::WavyCubic();
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

TEST(SplineFitter, NudgeFallsBackToTheNextDoubleWhereTheKnotsAreHuge) {
  WorkingCurve curve = testing::WavyCubic();
  for (double& knot : curve.knots) knot += 1e10;  // 1e10 + 4 - 1e-7 rounds back to 1e10 + 4
  SplineFitter fitter(kDefaults);
  ASSERT_TRUE(fitter.Setup(curve));
  const FitInterval last = fitter.Nudged(fitter.spans()[3]);
  EXPECT_EQ(last.u1, 1e10 + 3);
  EXPECT_EQ(last.u3, std::nextafter(1e10 + 4, 0.0));
  EXPECT_EQ(last.u2, last.u3);
}

TEST(SplineFitter, FailingSpanIsCutAtItsMiddleParameter) {
  // Given the span (0, 0, 1) of a curve that turns too much for one arc.
  const WorkingCurve curve = SCurve();
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
  EXPECT_EQ(first.depth, 2);
  EXPECT_EQ(fitter.Measure(first, workspace).kind, StepResult::Kind::kNothing);
  // A quick cut reports a lower bound; the exact measurement is at least as
  // large (the same where the quick one was exact), cuts too, and gives D in
  // percent of the three-point perimeter.
  const StepResult exact = fitter.Measure(span, workspace, true);
  EXPECT_TRUE(exact.exact);
  EXPECT_EQ(exact.kind, StepResult::Kind::kCut);
  EXPECT_GE(exact.deviation, result.deviation);
  if (result.exact) {
    EXPECT_EQ(exact.deviation, result.deviation);
  }
  const auto point = [&curve](double t) {
    return CurvePoint(curve.knots, 3, 4, t, curve.controls).xy();
  };
  const double perimeter = Distance(point(span.u3), point(span.u1)) +
                           Distance(point(span.u2), point(span.u1)) +
                           Distance(point(span.u3), point(span.u2));
  EXPECT_EQ(exact.percent, exact.deviation * 100.0 / perimeter);
}

TEST(SplineFitter, DeepestIntervalIsAcceptedWhateverItMeasures) {
  const WorkingCurve curve = SCurve();
  SplineFitter fitter(kDefaults);
  ASSERT_TRUE(fitter.Setup(curve));
  StepWorkspace workspace;
  const struct {
    int32_t depth;
    StepResult::Kind kind;
  } rows[] = {{kDeepestCut, StepResult::Kind::kCut},
              {kDeepestCut + 1, StepResult::Kind::kAccepted}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.depth);
    const StepResult result = fitter.Measure(FitInterval{row.depth, 0.0, 0.5, 1 - 1e-7}, workspace);
    EXPECT_EQ(result.kind, row.kind);
    EXPECT_GT(result.deviation, kDefaults.maxunits);
  }
}

TEST(SplineFitter, CornerKnotIsWhereTheIntervalIsCut) {
  // A degree 2 curve with a double knot at 1: a corner at control point 2.
  WorkingCurve curve{{{0, 0, 0, 1}, {5, 0.5, 0, 1}, {10, 0, 0, 1}, {10.5, 5, 0, 1}, {10, 10, 0, 1}},
                     2,
                     {0, 0, 0, 1, 1, 2, 2, 2}};
  FitSettings strict;
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

}  // namespace
}  // namespace tessarin
