// SPDX-License-Identifier: MIT
// The fit against the plain reference on random curves: the same arcs bit
// for bit, the same pump calls and minima; and the same with and without
// the second core, also when stopped.
#include <gtest/gtest.h>

#include <random>

#include "fit_harness.h"
#include "random_curves.h"

namespace tessarin {
namespace {

using testing::Fit;
using testing::FitOutcome;
using testing::FitRequest;
using testing::Implementation;
using testing::KnotKind;

FitSettings Settings(int32_t arctests, int32_t splinetests, double maxpercent, double maxunits) {
  FitSettings settings;
  settings.arctests = arctests;
  settings.splinetests = splinetests;
  settings.maxpercent = maxpercent;
  settings.maxunits = maxunits;
  return settings;
}

TEST(FitExactness, RandomCurvesFitAsTheReference) {
  std::mt19937_64 random(1);
  const KnotKind kinds[] = {KnotKind::kClamped, KnotKind::kUnclamped, KnotKind::kPeriodic,
                            KnotKind::kRepeated};
  const FitSettings settings[] = {
      Settings(10, 1000, 1.0, 1.0), Settings(10, 1000, 0.2, 0.05), Settings(3, 100, 1.0, 1.0),
      Settings(25, 333, 5.0, 10.0), Settings(10, 200, 0.5, 1e-3),
  };
  const double scales[] = {1e-3, 1.0, 30.0, 1e4, 1e7};
  int fits = 0, arcs = 0;
  for (int32_t degree = 1; degree <= 5; ++degree) {
    for (const KnotKind kind : kinds) {
      for (const bool rational : {false, true}) {
        for (int pick = 0; pick < 2; ++pick) {
          const double scale = scales[random() % std::size(scales)];
          const int32_t count = degree + 1 + static_cast<int32_t>(random() % 8);
          const testing::RandomCurve curve =
              testing::MakeRandomCurve(random, degree, count, kind, rational, scale);
          // The unit limit grows with the drawing, so that big curves are
          // not all cut down to the depth limit (maxunits 0 has its test).
          FitSettings chosen = settings[random() % std::size(settings)];
          chosen.maxunits *= std::max(1.0, scale / 30.0);
          if (degree >= 4) chosen.splinetests = std::min(chosen.splinetests, 400);
          SCOPED_TRACE(curve.name + " maxunits " + std::to_string(chosen.maxunits));
          const testing::TestSpline spline = testing::SplineOf(curve.curve);
          const FitOutcome fast = Fit(spline, FitRequest{chosen});
          EXPECT_TRUE(
              testing::SameFit(fast, Fit(spline, FitRequest{chosen, Implementation::kReference})));
          ++fits;
          arcs += static_cast<int>(fast.count);
        }
      }
    }
  }
  EXPECT_EQ(fits, 5 * 4 * 2 * 2);
  EXPECT_GT(arcs, 10 * fits);  // the curves are fitted, not skipped
}

TEST(FitExactness, StopWithTheSecondCoreStopsLikeWithOne) {
  std::mt19937_64 random(9);
  const testing::RandomCurve curve =
      testing::MakeRandomCurve(random, 3, 40, KnotKind::kClamped, true, 50.0);
  const testing::TestSpline spline = testing::SplineOf(curve.curve);
  FitSettings fine;
  fine.maxunits = 0.01;
  const FitOutcome whole = Fit(spline, FitRequest{fine});
  ASSERT_GT(whole.pumps, 100);
  for (int at = 1; at < whole.pumps; at += whole.pumps / 37 + 1) {
    SCOPED_TRACE(at);
    FitRequest serial{fine, Implementation::kFast, false};
    serial.stopAtPump = at;
    FitRequest parallel{fine, Implementation::kFast, true};
    parallel.stopAtPump = at;
    const FitOutcome one = Fit(spline, serial);
    const FitOutcome two = Fit(spline, parallel);
    EXPECT_TRUE(testing::SameFit(one, two));
    EXPECT_TRUE(two.stopped);
  }
}

}  // namespace
}  // namespace tessarin
