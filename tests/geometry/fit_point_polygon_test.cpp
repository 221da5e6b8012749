// SPDX-License-Identifier: MIT
// The fit-point polygon and its draws: exact uniformity of R(r), the worked
// examples, and the search against the reference bit for bit.
#include "fit_point_polygon.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <deque>
#include <limits>

#include "fit_harness.h"
#include "helper_thread.h"
#include "literal_reference.h"
#include "nurbs.h"
#include "uniform_draw.h"

namespace tessarin {
namespace {

using testing::Fit;
using testing::FitOutcome;
using testing::FitRequest;

TEST(UniformDraw, RejectsExactlyTheRemainderOfTwoToThe64) {
  const uint64_t ranges[] = {1, 2, 3, 7, 1000, 2000001, (uint64_t{1} << 63) + 1, ~uint64_t{0}};
  for (const uint64_t r : ranges) {
    SCOPED_TRACE(r);
    // 2^64 mod r, as (2^64 - 1) mod r + 1 reduced once more.
    const uint64_t rejected = (~uint64_t{0} % r + 1) % r;
    // The accepted values [rejected, 2^64) fall into the r classes equally:
    // their number 2^64 - rejected is a multiple of r.
    if (rejected > 0) {
      EXPECT_EQ((~rejected + 1) % r, 0u);
    }
    std::deque<uint64_t> script;
    const auto next = [&script] {
      const uint64_t value = script.front();
      script.pop_front();
      return value;
    };
    if (rejected > 0) {
      script = {rejected - 1, rejected};
      EXPECT_EQ(UniformDraw::UniformBelow(r, next), rejected % r);
      EXPECT_TRUE(script.empty());  // the first value was drawn again
    }
    script = {~uint64_t{0}};
    EXPECT_EQ(UniformDraw::UniformBelow(r, next), ~uint64_t{0} % r);
  }
  std::deque<uint64_t> script = {12345};
  EXPECT_EQ(UniformDraw::UniformBelow(0,
                                      [&script] {
                                        const uint64_t value = script.front();
                                        script.pop_front();
                                        return value;
                                      }),
            0u);
  EXPECT_TRUE(script.empty());  // R(0) takes one value too
}

TEST(UniformDraw, FixedSeedRepeatsAndEveryValueOfASmallRangeComes) {
  UniformDraw a(42), b(42);
  int seen[7] = {};
  for (int i = 0; i < 700; ++i) {
    const uint64_t value = a.Draw(7);
    ASSERT_EQ(value, b.Draw(7));
    ASSERT_LT(value, 7u);
    ++seen[value];
  }
  for (const int count : seen) EXPECT_GT(count, 60);
}

TEST(DrawOffset, GridAndRange) {
  UniformDraw draw(5);
  reference::Random random(5);
  for (const double extent : {0.0, 0.0004, 0.0005, 1.0, 3.25, 2147483.648, 1e13, 1e300}) {
    SCOPED_TRACE(extent);
    for (int i = 0; i < 50; ++i) {
      const double offset = DrawOffset(draw, extent);
      ASSERT_EQ(offset, random.Offset(extent));
      EXPECT_GE(offset, 0.0);
      EXPECT_LE(offset, 2.0 * extent);
      // Within 2^53 the offset is a multiple of 0.002.
      if (extent < 1e12) {
        EXPECT_EQ(std::nearbyint(offset * 500.0) / 500.0, offset);
      }
    }
  }
}

std::vector<Tmypoi> Points(std::initializer_list<std::pair<double, double>> xy) {
  std::vector<Tmypoi> points;
  for (const auto& [x, y] : xy) points.push_back(Tmypoi{x, y, 0, 1});
  return points;
}

bool SameBits(const WorkingCurve& a, const WorkingCurve& b) {
  if (a.controls.size() != b.controls.size() || a.knots != b.knots || a.degree != b.degree) {
    return false;
  }
  for (size_t i = 0; i < a.controls.size(); ++i) {
    if (std::bit_cast<uint64_t>(a.controls[i].x) != std::bit_cast<uint64_t>(b.controls[i].x) ||
        std::bit_cast<uint64_t>(a.controls[i].y) != std::bit_cast<uint64_t>(b.controls[i].y)) {
      return false;
    }
  }
  return true;
}

TEST(EstimateControlPolygon, SameBitsAsTheReferenceWithAndWithoutTheHelper) {
  const std::vector<Tmypoi> rows[] = {
      Points({{0, 0}, {1, 2}, {3, 3}, {4, 0}}),
      Points({{0, 0}, {2, 1}, {3, -1}, {5, 0.5}, {7, 0}}),
      Points({{10, 10}, {10.5, 12}, {11, 10}, {12, 9}, {13, 11}, {15, 10}}),
  };
  HelperThread helper;
  for (const auto& fit : rows) {
    SCOPED_TRACE(fit.size());
    UniformDraw draw(99), drawAgain(99);
    reference::Random random(99);
    const WorkingCurve expected = reference::EstimateControlPolygon(fit, random);
    const WorkingCurve serial = EstimateControlPolygon(fit, draw);
    const WorkingCurve parallel = EstimateControlPolygon(fit, drawAgain, &helper);
    EXPECT_TRUE(SameBits(serial, expected));
    EXPECT_TRUE(SameBits(parallel, expected));
    // The generators stay in step for the next spline too.
    EXPECT_EQ(draw.Draw(1000000), random.R(1000000));
    // Ends on the first and last fit points exactly.
    EXPECT_EQ(serial.controls.front().x, fit.front().x);
    EXPECT_EQ(serial.controls.front().y, fit.front().y);
    EXPECT_EQ(serial.controls.back().x, fit.back().x);
    EXPECT_EQ(serial.controls.back().y, fit.back().y);
    EXPECT_EQ(serial.degree, 3);
  }
}

// A shortened search (the fuzzer's) is the reference's search with as many
// iterations, also below one batch and across an uneven last batch.
TEST(EstimateControlPolygon, ShortSearchesMatchTheReferenceOfAsManyIterations) {
  const std::vector<Tmypoi> fit = Points({{0, 0}, {2, 1}, {3, -1}, {5, 0.5}, {7, 0}});
  HelperThread helper;
  for (const int32_t searches : {1, 7, 9, 1001}) {
    SCOPED_TRACE(searches);
    UniformDraw draw(5), drawAgain(5);
    reference::Random random(5);
    const WorkingCurve expected = reference::EstimateControlPolygon(fit, random, searches);
    EXPECT_TRUE(SameBits(EstimateControlPolygon(fit, draw, nullptr, searches), expected));
    EXPECT_TRUE(SameBits(EstimateControlPolygon(fit, drawAgain, &helper, searches), expected));
    // Both generators stay in step with the reference for the next spline.
    const uint64_t next = random.R(1000000);
    EXPECT_EQ(draw.Draw(1000000), next);
    EXPECT_EQ(drawAgain.Draw(1000000), next);
  }
}

TEST(EstimateControlPolygon, FourFitPointsPassTheCurveThroughTheInteriorOnes) {
  const std::vector<Tmypoi> fit = Points({{0, 0}, {1, 2}, {3, 3}, {4, 0}});
  UniformDraw draw(3);
  const WorkingCurve curve = EstimateControlPolygon(fit, draw);
  EXPECT_EQ(curve.knots, (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
  // N = 400 samples, step 1/399: the corrections steer samples 133 and 266
  // towards fit points 1 and 2 (the exact indices are checked by the
  // comparison with the reference).
  for (const auto& [index, sample] : {std::pair{1, 133}, std::pair{2, 266}}) {
    double t = 0.0;
    for (int s = 0; s < sample; ++s) t += 1.0 / 399.0;
    const Tmypoi p = CurvePoint(curve.knots, 3, 4, t, curve.controls);
    EXPECT_NEAR(p.x, fit[index].x, 0.1);
    EXPECT_NEAR(p.y, fit[index].y, 0.1);
  }
}

TEST(EstimateControlPolygon, PointsOnAHorizontalLineStayOnIt) {
  const std::vector<Tmypoi> fit = Points({{0, 5}, {1, 5}, {3, 5}, {7, 5}});
  UniformDraw draw(11);
  const WorkingCurve curve = EstimateControlPolygon(fit, draw);
  for (const Tmypoi& p : curve.controls) EXPECT_NEAR(p.y, 5.0, 1e-12);
  const FitOutcome outcome = Fit(testing::FitPointSpline(fit), FitRequest{});
  EXPECT_GT(outcome.count, 0);
  for (const FittedArc& arc : outcome.arcs) EXPECT_TRUE(arc.arc.straight());
}

TEST(EstimateControlPolygon, TwoClockSeededRunsDifferAndOneSeedRepeats) {
  const std::vector<Tmypoi> fit = Points({{0, 0}, {1, 2}, {3, 3}, {5, 1}, {6, 0}});
  const auto polygon = [&fit](std::optional<uint64_t> seed) {
    UniformDraw draw(seed);
    return EstimateControlPolygon(fit, draw).controls;
  };
  const std::vector<Tmypoi> first = polygon(std::nullopt);
  const std::vector<Tmypoi> second = polygon(std::nullopt);
  bool differ = false;
  for (size_t i = 1; i + 1 < first.size(); ++i) differ = differ || first[i].x != second[i].x;
  EXPECT_TRUE(differ);
  const std::vector<Tmypoi> third = polygon(8), fourth = polygon(8);
  for (size_t i = 0; i < third.size(); ++i) EXPECT_EQ(third[i].x, fourth[i].x);
}

TEST(EstimateControlPolygon, FewerThanFourFitPointsGiveNoArcs) {
  for (size_t m = 1; m <= 3; ++m) {
    SCOPED_TRACE(m);
    std::vector<Tmypoi> fit;
    for (size_t i = 0; i < m; ++i) fit.push_back(Tmypoi{double(i), double(i * i), 0, 1});
    const FitOutcome outcome = Fit(testing::FitPointSpline(fit), FitRequest{});
    EXPECT_EQ(outcome.count, 0);
    EXPECT_TRUE(outcome.arcs.empty());
    EXPECT_EQ(outcome.pumps, 0);
  }
}

}  // namespace
}  // namespace tessarin
