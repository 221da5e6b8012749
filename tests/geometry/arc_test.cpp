// SPDX-License-Identifier: MIT
// The circle through three points: centre, radius, bulge and angles of the
// minor arc, straight segments, and the angle about a centre.
#include "arc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tessarin {
namespace {

TEST(ArcFromThreePoints, QuarterCircleCounterClockwiseAndBack) {
  const Arc ccw = ArcFromThreePoints(1, 0, std::sqrt(0.5), std::sqrt(0.5), 0, 1);
  EXPECT_NEAR(ccw.arcmx, 0.0, 1e-15);
  EXPECT_NEAR(ccw.arcmy, 0.0, 1e-15);
  EXPECT_NEAR(ccw.arcradius, 1.0, 1e-15);
  EXPECT_NEAR(ccw.bulge, std::tan(std::numbers::pi / 8), 1e-15);
  EXPECT_NEAR(ccw.arcwinkel1, 0.0, 1e-15);
  EXPECT_NEAR(ccw.arcwinkel2, std::numbers::pi / 2, 1e-15);
  EXPECT_NEAR(ccw.Sweep(), std::numbers::pi / 2, 1e-15);
  const Arc cw = ArcFromThreePoints(0, 1, std::sqrt(0.5), std::sqrt(0.5), 1, 0);
  EXPECT_NEAR(cw.bulge, -std::tan(std::numbers::pi / 8), 1e-15);
  // The angles still describe the minor arc counter-clockwise.
  EXPECT_NEAR(cw.arcwinkel1, 0.0, 1e-15);
  EXPECT_NEAR(cw.arcwinkel2, std::numbers::pi / 2, 1e-15);
  EXPECT_EQ(cw.x1, 0.0);
  EXPECT_EQ(cw.y3, 0.0);
}

TEST(ArcFromThreePoints, ArcAcrossTheNegativeXAxisSweepsThroughPi) {
  // From 150 to 210 degrees about (5, 5): the end angle jumps to -150.
  const auto at = [](double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return Vec2{5 + 2 * std::cos(a), 5 + 2 * std::sin(a)};
  };
  const Vec2 a = at(150), b = at(180), c = at(210);
  const Arc arc = ArcFromThreePoints(a.x, a.y, b.x, b.y, c.x, c.y);
  EXPECT_NEAR(arc.arcwinkel1, 150 * std::numbers::pi / 180, 1e-12);
  EXPECT_NEAR(arc.arcwinkel2, -150 * std::numbers::pi / 180, 1e-12);
  EXPECT_NEAR(arc.Sweep(), std::numbers::pi / 3, 1e-12);
  EXPECT_NEAR(arc.bulge, std::tan(std::numbers::pi / 12), 1e-12);
  EXPECT_NEAR(Distance(arc.centre(), Vec2{5, 5}), 0.0, 1e-12);
}

TEST(ArcFromThreePoints, MiddlePointBeyondTheChordStillGivesTheMinorArc) {
  // The middle point fixes the circle only: on the far side of the chord the
  // major arc would pass through it, but the minor arc is emitted.
  const Arc arc = ArcFromThreePoints(1, 0, 0, -1, 0, 1);
  EXPECT_NEAR(arc.bulge, std::tan(std::numbers::pi / 8), 1e-15);
}

TEST(ArcFromThreePoints, CollinearAndNearlyCollinearGiveSegments) {
  const Arc line = ArcFromThreePoints(0, 0, 1, 1, 2, 2);
  EXPECT_TRUE(line.straight());
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

}  // namespace
}  // namespace tessarin
