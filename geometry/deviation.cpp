// SPDX-License-Identifier: MIT
// The two deviation measures of a fitting step: D, from the test points on
// the arc to the spline samples, and the two-sided test that adds D2, from
// the samples to the arc.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "deviation_kernels.h"
#include "fitting_step.h"

namespace tessarin {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A spline-to-arc distance of at most this times (1 + the largest absolute
// coordinate of the three points) is rounding noise and counts as 0.
constexpr double kNoise = 1e-9;
// Samples and test points are handled in blocks of at most this many, so
// that huge counts need no huge buffers.
constexpr size_t kSampleBlock = size_t{1} << 16;
constexpr size_t kTestBlock = size_t{1} << 12;
// Arcs whose sweep is this close to 0 or to pi go by atan2 throughout.
constexpr double kSweepMargin = 1e-6;
// Coordinates below this in magnitude have squares and sums that stay finite.
constexpr double kSafeCoordinate = 1e150;

// Test point j of the `divisor` steps along the arc from arcwinkel1 (along
// the chord for a straight segment).
Vec2 TestPoint(const Arc& arc, double sweep, double j, double divisor) {
  if (arc.straight()) return arc.start() + (arc.end() - arc.start()) * j / divisor;
  const double theta = arc.arcwinkel1 + j * sweep / divisor;
  return Vec2{arc.arcmx + arc.arcradius * std::cos(theta),
              arc.arcmy + arc.arcradius * std::sin(theta)};
}

// Whether the angle of `v` about the centre lies on the arc from
// arcwinkel1 counter-clockwise to arcwinkel2, ends included, by the angles.
bool OnArcByAngle(Vec2 v, const Arc& arc, double sweep) {
  double relative = std::atan2(v.y, v.x) - arc.arcwinkel1;
  if (relative < 0.0) relative += kTwoPi;
  return relative <= sweep;
}

// The arc as the sample pass reads it: the rays of its ends from the
// centre, as the angles were taken.
kernels::ArcSides SidesOf(const Arc& arc, double sweep) {
  kernels::ArcSides sides;
  const bool ccw = arc.bulge > 0.0;
  sides.centre = arc.centre();
  sides.radius = arc.arcradius;
  sides.start = arc.start();
  sides.end = arc.end();
  sides.startRay = (ccw ? arc.start() : arc.end()) - arc.centre();
  sides.endRay = (ccw ? arc.end() : arc.start()) - arc.centre();
  sides.startSize = std::fabs(sides.startRay.x) + std::fabs(sides.startRay.y);
  sides.endSize = std::fabs(sides.endRay.x) + std::fabs(sides.endRay.y);
  sides.bySides = sweep > kSweepMargin && sweep < std::numbers::pi - kSweepMargin;
  return sides;
}

// A sample too near a ray of the arc's ends to tell by the sides: its
// distance to the arc as the angles decide, exactly as they would everywhere.
double DistanceByAngle(Vec2 q, const Arc& arc, double sweep) {
  const Vec2 v = q - arc.centre();
  if (OnArcByAngle(v, arc, sweep)) return std::fabs(v.Length() - arc.arcradius);
  return std::sqrt(std::min(SquaredDistance(q, arc.start()), SquaredDistance(q, arc.end())));
}

}  // namespace

std::optional<double> SplineFitter::MiddleTestPointFails(const Arc& arc, double perimeter,
                                                         const StepWorkspace& ws,
                                                         const StepLimits& limits) const {
  // The middle test point is where an arc that misses the spline misses it
  // most. If it already fails a limit, D (at least as large) fails it too,
  // and the cut is decided. That holds as the full measurement's result
  // only where D and the percentage are sure to be finite: all points well
  // inside the number range, and the largest possible distance in percent
  // finite.
  const SampleBoxes::Box box = ws.boxes.Extent();
  // The test points lie on the chord, or within the circle's box.
  const bool straight = arc.straight();
  const double reach = straight ? 0.0 : arc.arcradius;
  const double centreX = straight ? arc.x1 : arc.arcmx;
  const double centreY = straight ? arc.y1 : arc.arcmy;
  const Vec2 low{std::min({box.minX, arc.x1, arc.x3, centreX - reach}),
                 std::min({box.minY, arc.y1, arc.y3, centreY - reach})};
  const Vec2 high{std::max({box.maxX, arc.x1, arc.x3, centreX + reach}),
                  std::max({box.maxY, arc.y1, arc.y3, centreY + reach})};
  const bool safe = box.minX <= box.maxX && -kSafeCoordinate < low.x && high.x < kSafeCoordinate &&
                    -kSafeCoordinate < low.y && high.y < kSafeCoordinate &&
                    std::isfinite(Distance(low, high) * 100.0 / perimeter);
  if (!safe) return std::nullopt;
  const size_t arctests = static_cast<size_t>(std::max(settings_.arctests, 1));
  const size_t samples = static_cast<size_t>(std::max(settings_.splinetests, 1));
  const size_t tests = arctests + 1;
  const size_t j = tests / 2;
  const Vec2 p = TestPoint(arc, arc.Sweep(), static_cast<double>(j), static_cast<double>(arctests));
  // The hint only speeds the search up: the sample where the test point
  // would fall along the spline (a clockwise arc starts at its end).
  const size_t along = arc.bulge < 0.0 ? tests - 1 - j : j;
  const double nearest =
      std::sqrt(ws.boxes.NearestSquared(p.x, p.y, along * (samples - 1) / arctests));
  if (limits.Fails(nearest)) return nearest;
  return std::nullopt;
}

SplineFitter::OneSided SplineFitter::OneSidedDeviation(const Arc& arc, const FitInterval& interval,
                                                       double perimeter, StepWorkspace& ws,
                                                       const StepLimits* early) const {
  const int64_t arctests = std::max(settings_.arctests, 1);
  const size_t samples = static_cast<size_t>(std::max(settings_.splinetests, 1));
  const size_t tests = static_cast<size_t>(arctests) + 1;
  const double divisor = static_cast<double>(arctests);
  const double sweep = arc.Sweep();
  const bool oneBlock = samples <= kSampleBlock;
  // The test points walk the arc from arcwinkel1; a clockwise arc starts at
  // the spline's end. The hint only speeds the search up.
  const auto hintOf = [&](size_t j, size_t from, size_t blockSize) {
    const size_t along = arc.bulge < 0.0 ? tests - 1 - j : j;
    const size_t guess = along * (samples - 1) / (tests - 1);
    return guess >= from ? guess - from : blockSize;
  };
  if (oneBlock) {
    Samples(interval, 0, samples, ws);
    ws.boxes.Build(ws.x.data(), ws.y.data(), samples);
    if (early != nullptr) {
      if (const std::optional<double> bound = MiddleTestPointFails(arc, perimeter, ws, *early)) {
        return OneSided{*bound, false};
      }
    }
  }
  double d = 0.0;
  for (size_t first = 0; first < tests; first += kTestBlock) {
    const size_t count = std::min(kTestBlock, tests - first);
    ws.tx.resize(count);
    ws.ty.resize(count);
    ws.nearest.assign(count, kInf);
    for (size_t q = 0; q < count; ++q) {
      const Vec2 p = TestPoint(arc, sweep, static_cast<double>(first + q), divisor);
      ws.tx[q] = p.x;
      ws.ty[q] = p.y;
    }
    for (size_t from = 0; from < samples; from += kSampleBlock) {
      const size_t blockSize = std::min(kSampleBlock, samples - from);
      if (!oneBlock) {
        Samples(interval, from, blockSize, ws);
        ws.boxes.Build(ws.x.data(), ws.y.data(), blockSize);
      }
      for (size_t q = 0; q < count; ++q) {
        const double nearest =
            ws.boxes.NearestSquared(ws.tx[q], ws.ty[q], hintOf(first + q, from, blockSize));
        if (nearest < ws.nearest[q]) ws.nearest[q] = nearest;
      }
    }
    for (size_t q = 0; q < count; ++q) {
      // The root of the nearest squared distance is the nearest distance.
      const double nearest = std::sqrt(ws.nearest[q]);
      if (nearest > d) d = nearest;
    }
  }
  return OneSided{d, true};
}

// Decides what "allowed > D2 && D2 < maxunits" decides for the largest
// distance D2 from a spline sample to the arc as a curve (the segment for
// bulge 0), distances of at most the noise level counting as 0: the
// interval fails as soon as one sample is beyond the noise and outside a
// limit.
bool SplineFitter::TwoSidedWithinLimits(const Arc& arc, double d, const Tmypoi& q1,
                                        const Tmypoi& q2, const Tmypoi& q3,
                                        const StepLimits& limits, const FitInterval& interval,
                                        StepWorkspace& ws) const {
  if (limits.Fails(d)) return false;
  const double largest = std::max({std::fabs(q1.x), std::fabs(q1.y), std::fabs(q2.x),
                                   std::fabs(q2.y), std::fabs(q3.x), std::fabs(q3.y)});
  const kernels::Limits classes{kNoise * (1.0 + largest), limits.maxunits, limits.allowed};
  const size_t samples = static_cast<size_t>(std::max(settings_.splinetests, 1));
  const bool oneBlock = samples <= kSampleBlock;  // then OneSidedDeviation left them in ws
  const double sweep = arc.Sweep();
  const kernels::ArcSides sides = SidesOf(arc, sweep);
  bool within = false;
  for (size_t from = 0; from < samples; from += kSampleBlock) {
    const int count = static_cast<int>(std::min(kSampleBlock, samples - from));
    if (!oneBlock) Samples(interval, from, static_cast<size_t>(count), ws);
    ws.distance.resize(static_cast<size_t>(count));
    if (arc.straight()) {
      kernels::SegmentPass(ws.x.data(), ws.y.data(), count, arc, ws.distance.data());
    } else {
      kernels::ArcPass(ws.x.data(), ws.y.data(), count, sides, ws.distance.data());
    }
    const kernels::Verdict block = kernels::Classify(ws.distance.data(), count, classes);
    if (block.outside) return false;
    within = within || block.within;
    if (arc.straight()) continue;
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
      if (ws.distance[i] != kernels::kUndecided) continue;
      const double distance = DistanceByAngle(Vec2{ws.x[i], ws.y[i]}, arc, sweep);
      const kernels::Verdict one = kernels::Classify(&distance, 1, classes);
      if (one.outside) return false;
      within = within || one.within;
    }
  }
  // All at the noise level: D2 counts as 0.
  return within || (0.0 < classes.maxunits && 0.0 < classes.allowed);
}

}  // namespace tessarin
