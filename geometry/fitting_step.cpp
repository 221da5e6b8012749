// SPDX-License-Identifier: MIT
// The working curve and its spans, the nudge at the domain end, where an
// interval is cut, and the measurement of one fitting step.
#include "fitting_step.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "deviation_kernels.h"
#include "uniform_draw.h"

namespace tessarin {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// The curve has no point at the end of its domain; the step evaluates there
// this far inside instead.
constexpr double kEndNudge = 1e-7;

// The coincidence test counts a NaN coordinate as equal, so that an
// undefined first point always ends the step there.
bool SameOrNaN(double a, double b) { return a == b || std::isnan(a) || std::isnan(b); }

bool Finite(const Tmypoi& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Everything the measurement reads of the arc is a number.
bool Usable(const Arc& arc) {
  if (!std::isfinite(arc.bulge)) return false;
  if (arc.straight()) return true;  // measured along the chord
  return std::isfinite(arc.arcmx) && std::isfinite(arc.arcmy) && std::isfinite(arc.arcradius) &&
         std::isfinite(arc.arcwinkel1) && std::isfinite(arc.arcwinkel2);
}

// The cut nearest to `middle` among the ascending `corners` strictly between
// u1 and u3; the smaller one on a tie. nullopt: none there.
std::optional<double> NearestCorner(std::span<const double> corners, double u1, double middle,
                                    double u3) {
  const auto begin = std::upper_bound(corners.begin(), corners.end(), u1);
  const auto end = std::lower_bound(begin, corners.end(), u3);
  if (begin >= end) return std::nullopt;
  const auto above = std::lower_bound(begin, end, middle);
  std::optional<double> best;
  double bestDistance = kInf;
  if (above != begin) {
    // Below the middle the distance falls towards it; of equal distances
    // (possible through rounding) the smallest corner wins.
    auto below = above - 1;
    bestDistance = std::fabs(*below - middle);
    while (below != begin && std::fabs(*(below - 1) - middle) == bestDistance) --below;
    best = *below;
  }
  if (above != end && (!best || std::fabs(*above - middle) < bestDistance)) best = *above;
  return best;
}

}  // namespace

bool SplineFitter::Setup(const SplineGeometry& spline, UniformDraw& draw, HelperThread* helper,
                         int32_t searches) {
  if (!spline.ctrlpoints.empty()) {
    const int64_t n = static_cast<int64_t>(spline.ctrlpoints.size());
    const int64_t p = spline.degree;
    // Without more control points than the degree every span collapses.
    if (p < 0 || p >= n || n > std::numeric_limits<int32_t>::max()) return false;
    working_.controls.assign(spline.ctrlpoints.begin(), spline.ctrlpoints.end());
    working_.degree = static_cast<int32_t>(p);
    const size_t count = static_cast<size_t>(n + p + 1);
    if (spline.knots.size() == count) {
      working_.knots.assign(spline.knots.begin(), spline.knots.end());
    } else {
      working_.knots.resize(count);
      UniformKnots(working_.knots, static_cast<int32_t>(n - 1), static_cast<int32_t>(p + 1));
    }
    return Setup(working_);
  }
  // A cubic with fewer than four control points has no domain.
  if (spline.fitpoints.size() < 4) return false;
  WorkingCurve estimated = EstimateControlPolygon(spline.fitpoints, draw, helper, searches);
  working_ = std::move(estimated);
  return Setup(working_);
}

bool SplineFitter::Setup(const WorkingCurve& curve) {
  if (&curve != &working_) working_ = curve;
  const int64_t n = static_cast<int64_t>(working_.controls.size());
  const int64_t p = working_.degree;
  spans_.clear();
  corners_.clear();
  if (p < 0 || p >= n || working_.knots.size() != static_cast<size_t>(n + p + 1)) return false;
  curve_.Reset(working_.controls, working_.knots, static_cast<int32_t>(p + 1));
  const std::vector<double>& knots = working_.knots;
  // A curve of degree p with n control points is defined on [knots[p],
  // knots[n]]; unclamped and periodic knot vectors reach beyond it.
  domainStart_ = knots[static_cast<size_t>(p)];
  domainEnd_ = knots[static_cast<size_t>(n)];

  // Corners: knots of multiplicity p or more strictly inside the domain,
  // where the curve may turn sharply.
  std::vector<double> sorted(knots);
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < sorted.size();) {
    size_t j = i;
    while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
    if (static_cast<int64_t>(j - i) >= p && sorted[i] > domainStart_ && sorted[i] < domainEnd_) {
      corners_.push_back(sorted[i]);
    }
    i = j;
  }

  const auto clamp = [this](double u) { return std::min(std::max(u, domainStart_), domainEnd_); };
  const int64_t spans = (n + p - 1) / 2;
  for (int64_t s = 0; s < spans; ++s) {
    const double end =
        s == spans - 1 ? knots[static_cast<size_t>(n + p)] : knots[static_cast<size_t>(2 * s + 2)];
    spans_.push_back(FitInterval{1, clamp(knots[static_cast<size_t>(2 * s)]),
                                 clamp(knots[static_cast<size_t>(2 * s + 1)]), clamp(end)});
  }
  return true;
}

FitInterval SplineFitter::Nudged(const FitInterval& interval) const {
  double inside = domainEnd_ - kEndNudge;
  // Where the knots are so large that 1e-7 is lost, the next double below.
  if (inside == domainEnd_) inside = std::nextafter(domainEnd_, -kInf);
  FitInterval nudged = interval;
  if (nudged.u1 == domainEnd_) nudged.u1 = inside;
  if (nudged.u2 == domainEnd_) nudged.u2 = inside;
  if (nudged.u3 == domainEnd_) nudged.u3 = inside;
  return nudged;
}

std::pair<FitInterval, FitInterval> SplineFitter::Halves(const FitInterval& interval,
                                                         const StepResult& cut) const {
  const double c = cut.cut;
  const int32_t depth = interval.depth + 1;
  return {FitInterval{depth, interval.u1, interval.u1 + (c - interval.u1) / 2.0, c},
          FitInterval{depth, c, c + (interval.u3 - c) / 2.0, interval.u3}};
}

double SplineFitter::CutParameter(const FitInterval& interval) const {
  // At a corner inside the interval rather than at its middle: halving
  // towards a corner would end in an arc that cuts it off.
  return NearestCorner(corners_, interval.u1, interval.u2, interval.u3).value_or(interval.u2);
}

void SplineFitter::Samples(const FitInterval& interval, size_t from, size_t count,
                           StepWorkspace& ws) const {
  const double tests = static_cast<double>(std::max(settings_.splinetests, 1));
  const double span = interval.u3 - interval.u1;
  ws.params.resize(count);
  ws.x.resize(count);
  ws.y.resize(count);
  kernels::FillParameters(ws.params.data(), static_cast<int>(count), interval.u1, span,
                          static_cast<double>(from), tests);
  // u1 <= u3, so the parameters ascend.
  curve_.PointsXY(ws.params, ws.x.data(), ws.y.data(), ws.scratch, interval.u1 <= interval.u3);
}

StepResult SplineFitter::Measure(const FitInterval& interval, StepWorkspace& ws, bool exact) const {
  StepResult result;
  curve_.Prepare(ws.scratch);
  const Tmypoi q1 = curve_.Point(interval.u1, ws.scratch);
  const Tmypoi q2 = curve_.Point(interval.u2, ws.scratch);
  const Tmypoi q3 = curve_.Point(interval.u3, ws.scratch);
  // The perimeter of the triangle of the three points.
  const double s =
      Distance(q3.xy(), q1.xy()) + Distance(q2.xy(), q1.xy()) + Distance(q3.xy(), q2.xy());
  if (SameOrNaN(q1.x, q2.x) && SameOrNaN(q1.y, q2.y) && SameOrNaN(q1.x, q3.x) &&
      SameOrNaN(q1.y, q3.y)) {
    return result;
  }
  // An undefined middle or end point (weights of 0 or below, knots too
  // large for the nudge) has no circle either.
  if (!Finite(q1) || !Finite(q2) || !Finite(q3)) return result;
  const Arc arc = ArcFromThreePoints(q1.x, q1.y, q2.x, q2.y, q3.x, q3.y);
  if (!Usable(arc)) return result;
  // A deviation that fails a limit: the interval is cut whatever else it
  // measures (below the depth limit).
  const StepLimits limits{settings_.maxpercent * s / 100.0, settings_.maxunits};
  const bool early = !exact && interval.depth <= kDeepestCut && std::isfinite(s);
  const OneSided measured = OneSidedDeviation(arc, interval, s, ws, early ? &limits : nullptr);
  const double d = measured.deviation;
  const double percent = d * 100.0 / s;
  // Coordinates whose squares overflow or vanish leave nothing to measure.
  if (!std::isfinite(s) || !std::isfinite(d) || !std::isfinite(percent)) return result;
  result.arc = arc;
  result.deviation = d;
  result.percent = percent;
  result.exact = measured.exact;
  bool accepted = interval.depth > kDeepestCut;
  if (!accepted && measured.exact) {
    accepted = TwoSidedWithinLimits(arc, d, q1, q2, q3, limits, interval, ws);
  }
  if (accepted) {
    result.kind = StepResult::Kind::kAccepted;
  } else {
    result.kind = StepResult::Kind::kCut;
    result.cut = CutParameter(interval);
  }
  return result;
}

}  // namespace tessarin
