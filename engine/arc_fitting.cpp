// SPDX-License-Identifier: MIT
// Recursive arc fitting: the working curve, its spans, one fitting step (the
// circle through three curve points, measured against the spline both ways)
// and the walk over the steps that emits the arcs in order.
#include "arc_fitting.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "helper_thread.h"
#include "step_cache.h"
#include "uniform_draw.h"

namespace tessarin {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// |D3| at or below this (squared drawing units) counts as collinear.
constexpr double kCollinear = 1e-8;
// The curve has no point at the end of its domain; the step evaluates there
// this far inside instead.
constexpr double kEndNudge = 1e-7;
// Intervals deeper than this are accepted whatever they measure: a span
// yields at most 2^10 arcs.
constexpr int32_t kDeepestCut = 10;
// A spline-to-arc distance of at most this times (1 + the largest absolute
// coordinate of the three points) is rounding noise and counts as 0.
constexpr double kNoise = 1e-9;
// Samples and test points are handled in blocks of at most this many, so
// that huge counts need no huge buffers.
constexpr size_t kSampleBlock = size_t{1} << 16;
constexpr size_t kTestBlock = size_t{1} << 12;
// The side-of-ray test decides alone where |cross| exceeds this share of
// the vectors' sizes; the atan2 decision cannot differ there.
constexpr double kSideMargin = 1e-9;
// Arcs whose sweep is this close to 0 or to pi go by atan2 throughout.
constexpr double kSweepMargin = 1e-6;
// Below this, products of coordinates lose their relative precision
// (subnormal numbers); such samples go by atan2 too.
constexpr double kTinyProduct = 1e-280;

double Distance(double ax, double ay, double bx, double by) {
  const double dx = ax - bx;
  const double dy = ay - by;
  return std::sqrt(dx * dx + dy * dy);
}

double SquaredDistance(double ax, double ay, double bx, double by) {
  const double dx = ax - bx;
  const double dy = ay - by;
  return dx * dx + dy * dy;
}

// The coincidence test counts a NaN coordinate as equal, so that an
// undefined first point always ends the step there.
bool SameOrNaN(double a, double b) { return a == b || std::isnan(a) || std::isnan(b); }

bool Finite(const Tmypoi& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Everything the measurement reads of the arc is a number.
bool Usable(const ArcFields& arc) {
  if (!std::isfinite(arc.bulge)) return false;
  if (arc.bulge == 0.0) return true;  // measured along the chord
  return std::isfinite(arc.arcmx) && std::isfinite(arc.arcmy) && std::isfinite(arc.arcradius) &&
         std::isfinite(arc.arcwinkel1) && std::isfinite(arc.arcwinkel2);
}

// The counter-clockwise sweep from arcwinkel1 to arcwinkel2.
double Sweep(const ArcFields& arc) {
  double sweep = arc.arcwinkel2 - arc.arcwinkel1;
  if (sweep < 0.0) sweep += kTwoPi;
  return sweep;
}

// Whether the angle of (vx, vy) about the centre lies on the arc from
// arcwinkel1 counter-clockwise to arcwinkel2, ends included, by the angles.
bool OnArcByAngle(double vx, double vy, const ArcFields& arc, double sweep) {
  double relative = std::atan2(vy, vx) - arc.arcwinkel1;
  if (relative < 0.0) relative += kTwoPi;
  return relative <= sweep;
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

// Hot loops over samples, compiled for three instruction sets and chosen
// when the program starts. Lane operations are IEEE operations on each
// double, so every variant gives the same bits.
#if defined(__GNUC__) && defined(__x86_64__)
#define TESSARIN_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define TESSARIN_VECTOR_CLONES
#endif

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kLargest = std::numeric_limits<double>::max();  // not inf, not NaN

// The limits a sample's distance to the arc is classed against.
struct Limits {
  double noise, maxunits, allowed;
};

// Where the sample parameters of a step lie: u1 + (u3 - u1) * L / tests.
TESSARIN_VECTOR_CLONES
void FillParameters(double* params, int count, double u1, double span, double first, double tests) {
  for (int q = 0; q < count; ++q) params[q] = u1 + span * (first + static_cast<double>(q)) / tests;
}

// The arc as the sample pass reads it: centre, radius, ends, and the rays
// from the centre through the ends of the counter-clockwise minor arc.
struct ArcSides {
  double mx, my, r, x1, y1, x3, y3;
  double startX, startY, endX, endY, startSize, endSize;
  bool bySides;
};

// Marks a sample whose side of the rays cannot be told: the angles decide.
constexpr double kUndecided = -1.0;

// For each sample its distance to the arc where the sides of the two rays
// decide whether it lies on the arc; kUndecided where they cannot tell, NaN
// for a sample that is no number. On the arc means left of the start ray and
// right of the end ray (the arc is less than a half circle); a side counts
// where |cross| exceeds a billionth of the vectors' sizes, far above
// rounding, so the angles could not decide otherwise there.
TESSARIN_VECTOR_CLONES
void ArcPass(const double* __restrict x, const double* __restrict y, int count, const ArcSides& arc,
             double* __restrict distance) {
  // Locals, and & and | in place of && and ||, keep the loop free of
  // branches so that it vectorises.
  const double mx = arc.mx, my = arc.my, r = arc.r;
  const double x1 = arc.x1, y1 = arc.y1, x3 = arc.x3, y3 = arc.y3;
  const double startX = arc.startX, startY = arc.startY, endX = arc.endX, endY = arc.endY;
  const double startSize = arc.startSize, endSize = arc.endSize;
  const bool bySides = arc.bySides;
  for (int i = 0; i < count; ++i) {
    const double qx = x[i], qy = y[i];
    const bool finite = (std::fabs(qx) <= kLargest) & (std::fabs(qy) <= kLargest);
    const double vx = qx - mx;
    const double vy = qy - my;
    const double size = std::fabs(vx) + std::fabs(vy);
    const double fromStart = startX * vy - startY * vx;
    const double toEnd = vx * endY - vy * endX;
    const double startTolerance = kSideMargin * startSize * size;
    const double endTolerance = kSideMargin * endSize * size;
    const bool sides =
        bySides & (size * startSize > kTinyProduct) & (size * endSize > kTinyProduct);
    const bool off = sides & ((fromStart < -startTolerance) | (toEnd < -endTolerance));
    const bool on = sides & !off & (fromStart > startTolerance) & (toEnd > endTolerance);
    const double onArc = std::fabs(std::sqrt(vx * vx + vy * vy) - r);
    const double toFirst = (qx - x1) * (qx - x1) + (qy - y1) * (qy - y1);
    const double toLast = (qx - x3) * (qx - x3) + (qy - y3) * (qy - y3);
    // The nearer end; the root of the smaller square is the smaller root.
    const double offArc = std::sqrt(toLast < toFirst ? toLast : toFirst);
    distance[i] = !finite ? kNaN : (on ? onArc : (off ? offArc : kUndecided));
  }
}

// For each sample its distance to the segment (x1, y1)-(x3, y3), NaN for a
// sample that is no number.
TESSARIN_VECTOR_CLONES
void SegmentPass(const double* __restrict x, const double* __restrict y, int count,
                 const ArcFields& arc, double* __restrict distance) {
  const double x1 = arc.x1, y1 = arc.y1, x3 = arc.x3, y3 = arc.y3;
  const double dx = x3 - x1;
  const double dy = y3 - y1;
  const double length2 = dx * dx + dy * dy;
  const bool along = length2 > 0.0;
  for (int i = 0; i < count; ++i) {
    const double qx = x[i], qy = y[i];
    const bool finite = (std::fabs(qx) <= kLargest) & (std::fabs(qy) <= kLargest);
    const double t = along ? ((qx - x1) * dx + (qy - y1) * dy) / length2 : 0.0;
    const double px = x1 + t * dx, py = y1 + t * dy;
    const double toStart = (qx - x1) * (qx - x1) + (qy - y1) * (qy - y1);
    const double toEnd = (qx - x3) * (qx - x3) + (qy - y3) * (qy - y3);
    const double toFoot = (qx - px) * (qx - px) + (qy - py) * (qy - py);
    const double chosen = t <= 0.0 ? toStart : (t >= 1.0 ? toEnd : toFoot);
    distance[i] = finite ? std::sqrt(chosen) : kNaN;
  }
}

// Whether any distance is beyond the noise and outside a limit, and whether
// any is beyond the noise and within both. NaN and kUndecided count as
// neither.
TESSARIN_VECTOR_CLONES
void Classify(const double* __restrict distance, int count, const Limits& limits, int& outside,
              int& within) {
  const double noise = limits.noise, maxunits = limits.maxunits, allowed = limits.allowed;
  int out = 0, in = 0;
  for (int i = 0; i < count; ++i) {
    const double v = distance[i];
    const bool loud = v > noise;
    const bool inside = (v < maxunits) & (v < allowed);
    out |= loud & !inside;
    in |= loud & inside;
  }
  outside |= out;
  within |= in;
}

}  // namespace

ArcFields ArcFromThreePoints(double x1, double y1, double x2, double y2, double x3, double y3) {
  ArcFields arc;
  arc.x1 = x1;
  arc.y1 = y1;
  arc.x3 = x3;
  arc.y3 = y3;
  const double d3 = x1 * y2 + x2 * y3 + x3 * y1 - x1 * y3 - x2 * y1 - x3 * y2;
  if (std::fabs(d3) <= kCollinear) return arc;  // a straight segment: all else 0
  const double a = x1 * x1 + y1 * y1;
  const double b = x2 * x2 + y2 * y2;
  const double c = x3 * x3 + y3 * y3;
  const double cx = (a * (y2 - y3) + b * (y3 - y1) + c * (y1 - y2)) * 0.5 / d3;
  const double cy = (a * (x3 - x2) + b * (x1 - x3) + c * (x2 - x1)) * 0.5 / d3;
  const double r = Distance(x1, y1, cx, cy);
  const double a1 = PointAngle(x1, y1, cx, cy);
  const double a3 = PointAngle(x3, y3, cx, cy);
  const double sweep = a3 > a1 ? a3 - a1 : kTwoPi - a1 + a3;
  arc.arcmx = cx;
  arc.arcmy = cy;
  arc.arcradius = r;
  // The bulge of the minor arc between the two points, at most 1.
  const double ratio = Distance(x3, y3, x1, y1) / (2.0 * r);
  const double magnitude = ratio > 1.0 ? 0.0 : std::tan(std::asin(ratio) / 2.0);
  if (sweep < std::numbers::pi) {
    arc.arcwinkel1 = a1;
    arc.arcwinkel2 = a3;
    arc.bulge = magnitude;
  } else {
    arc.arcwinkel1 = a3;
    arc.arcwinkel2 = a1;
    arc.bulge = -magnitude;
  }
  return arc;
}

double PointAngle(double x, double y, double cx, double cy) { return std::atan2(y - cy, x - cx); }

bool SplineFitter::Setup(const SplineEntity& spline, UniformDraw& draw, HelperThread* helper,
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
  FillParameters(ws.params.data(), static_cast<int>(count), interval.u1, span,
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
  const double s = Distance(q3.x, q3.y, q1.x, q1.y) + Distance(q2.x, q2.y, q1.x, q1.y) +
                   Distance(q3.x, q3.y, q2.x, q2.y);
  if (SameOrNaN(q1.x, q2.x) && SameOrNaN(q1.y, q2.y) && SameOrNaN(q1.x, q3.x) &&
      SameOrNaN(q1.y, q3.y)) {
    return result;
  }
  // An undefined middle or end point (weights of 0 or below, knots too
  // large for the nudge) has no circle either.
  if (!Finite(q1) || !Finite(q2) || !Finite(q3)) return result;
  const ArcFields arc = ArcFromThreePoints(q1.x, q1.y, q2.x, q2.y, q3.x, q3.y);
  if (!Usable(arc)) return result;
  const double allowed = settings_.maxpercent * s / 100.0;
  const double maxunits = settings_.maxunits;
  // A deviation that fails a limit: the interval is cut whatever else it
  // measures (below the depth limit).
  const auto failing = [allowed, maxunits](double d) { return !(allowed > d && d < maxunits); };
  const bool early = !exact && interval.depth <= kDeepestCut && std::isfinite(s);
  bool measured = true;
  const double d = Deviation(arc, interval, s, ws, early ? &failing : nullptr, &measured);
  const double percent = d * 100.0 / s;
  // Coordinates whose squares overflow or vanish leave nothing to measure.
  if (!std::isfinite(s) || !std::isfinite(d) || !std::isfinite(percent)) return result;
  result.arc = arc;
  result.deviation = d;
  result.percent = percent;
  result.exact = measured;
  bool accepted = interval.depth > kDeepestCut;
  if (!accepted && measured) {
    accepted = !failing(d) && FollowsArc(arc, q1, q2, q3, allowed, interval, ws);
  }
  if (accepted) {
    result.kind = StepResult::Kind::kAccepted;
  } else {
    result.kind = StepResult::Kind::kCut;
    result.cut = CutParameter(interval);
  }
  return result;
}

namespace {

// Test point j of `tests - 1` steps along the arc (or the chord for bulge 0).
void TestPoint(const ArcFields& arc, double sweep, double j, double divisor, double& x, double& y) {
  if (arc.bulge == 0.0) {
    x = arc.x1 + (arc.x3 - arc.x1) * j / divisor;
    y = arc.y1 + (arc.y3 - arc.y1) * j / divisor;
  } else {
    const double theta = arc.arcwinkel1 + j * sweep / divisor;
    x = arc.arcmx + arc.arcradius * std::cos(theta);
    y = arc.arcmy + arc.arcradius * std::sin(theta);
  }
}

// Coordinates below this in magnitude have squares and sums that stay finite.
constexpr double kSafeCoordinate = 1e150;

}  // namespace

// D: for each test point on the arc its distance to the nearest spline
// sample, and the largest of these.
template <typename Failing>
double SplineFitter::Deviation(const ArcFields& arc, const FitInterval& interval, double perimeter,
                               StepWorkspace& ws, const Failing* failing, bool* exact) const {
  const int64_t arctests = std::max(settings_.arctests, 1);
  const size_t samples = static_cast<size_t>(std::max(settings_.splinetests, 1));
  const size_t tests = static_cast<size_t>(arctests) + 1;
  const double divisor = static_cast<double>(arctests);
  const double sweep = Sweep(arc);
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
    if (failing != nullptr) {
      // The middle test point is where an arc that misses the spline misses
      // it most. If it already fails a limit, D (at least as large) fails it
      // too, and the cut is decided. That holds as the full measurement's
      // result only where D and the percentage are sure to be finite: all
      // points well inside the number range, and the largest possible
      // distance in percent finite.
      const SampleBoxes::Box box = ws.boxes.Extent();
      // The test points lie on the chord, or within the circle's box.
      const bool straight = arc.bulge == 0.0;
      const double reach = straight ? 0.0 : arc.arcradius;
      const double centreX = straight ? arc.x1 : arc.arcmx;
      const double centreY = straight ? arc.y1 : arc.arcmy;
      const double lowX = std::min({box.minX, arc.x1, arc.x3, centreX - reach});
      const double highX = std::max({box.maxX, arc.x1, arc.x3, centreX + reach});
      const double lowY = std::min({box.minY, arc.y1, arc.y3, centreY - reach});
      const double highY = std::max({box.maxY, arc.y1, arc.y3, centreY + reach});
      const bool safe = box.minX <= box.maxX && -kSafeCoordinate < lowX &&
                        highX < kSafeCoordinate && -kSafeCoordinate < lowY &&
                        highY < kSafeCoordinate &&
                        std::isfinite(Distance(lowX, lowY, highX, highY) * 100.0 / perimeter);
      if (safe) {
        const size_t j = tests / 2;
        double x, y;
        TestPoint(arc, sweep, static_cast<double>(j), divisor, x, y);
        const double nearest = std::sqrt(ws.boxes.NearestSquared(x, y, hintOf(j, 0, samples)));
        if ((*failing)(nearest)) {
          *exact = false;
          return nearest;
        }
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
      TestPoint(arc, sweep, static_cast<double>(first + q), divisor, ws.tx[q], ws.ty[q]);
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
  return d;
}

// D2, the other way round: whether every spline sample of the interval lies
// within the limits of the arc as a curve (the segment for bulge 0).
// Decides what "allowed > D2 && D2 < maxunits" decides for the largest
// distance D2, distances of at most the noise level counting as 0: the
// interval fails as soon as one sample is beyond the noise and outside a
// limit.
bool SplineFitter::FollowsArc(const ArcFields& arc, const Tmypoi& q1, const Tmypoi& q2,
                              const Tmypoi& q3, double allowed, const FitInterval& interval,
                              StepWorkspace& ws) const {
  const double largest = std::max({std::fabs(q1.x), std::fabs(q1.y), std::fabs(q2.x),
                                   std::fabs(q2.y), std::fabs(q3.x), std::fabs(q3.y)});
  const Limits limits{kNoise * (1.0 + largest), settings_.maxunits, allowed};
  const size_t samples = static_cast<size_t>(std::max(settings_.splinetests, 1));
  const bool oneBlock = samples <= kSampleBlock;  // then Deviation left them in ws
  const bool straight = arc.bulge == 0.0;
  const double sweep = Sweep(arc);
  // The rays of the arc's ends from the centre, as the angles were taken.
  const bool ccw = arc.bulge > 0.0;
  ArcSides sides;
  sides.mx = arc.arcmx;
  sides.my = arc.arcmy;
  sides.r = arc.arcradius;
  sides.x1 = arc.x1;
  sides.y1 = arc.y1;
  sides.x3 = arc.x3;
  sides.y3 = arc.y3;
  sides.startX = (ccw ? arc.x1 : arc.x3) - arc.arcmx;
  sides.startY = (ccw ? arc.y1 : arc.y3) - arc.arcmy;
  sides.endX = (ccw ? arc.x3 : arc.x1) - arc.arcmx;
  sides.endY = (ccw ? arc.y3 : arc.y1) - arc.arcmy;
  sides.startSize = std::fabs(sides.startX) + std::fabs(sides.startY);
  sides.endSize = std::fabs(sides.endX) + std::fabs(sides.endY);
  sides.bySides = sweep > kSweepMargin && sweep < std::numbers::pi - kSweepMargin;
  int within = 0;
  for (size_t from = 0; from < samples; from += kSampleBlock) {
    const int count = static_cast<int>(std::min(kSampleBlock, samples - from));
    if (!oneBlock) Samples(interval, from, static_cast<size_t>(count), ws);
    ws.distance.resize(static_cast<size_t>(count));
    if (straight) {
      SegmentPass(ws.x.data(), ws.y.data(), count, arc, ws.distance.data());
    } else {
      ArcPass(ws.x.data(), ws.y.data(), count, sides, ws.distance.data());
    }
    int outside = 0;
    Classify(ws.distance.data(), count, limits, outside, within);
    if (outside) return false;
    if (straight) continue;
    for (int i = 0; i < count; ++i) {
      if (ws.distance[static_cast<size_t>(i)] != kUndecided) continue;
      // Too near a ray of the arc's ends to tell by the sides: the angles
      // decide, exactly as they would everywhere.
      const double qx = ws.x[static_cast<size_t>(i)], qy = ws.y[static_cast<size_t>(i)];
      const double vx = qx - arc.arcmx;
      const double vy = qy - arc.arcmy;
      const double distance = OnArcByAngle(vx, vy, arc, sweep)
                                  ? std::fabs(std::sqrt(vx * vx + vy * vy) - arc.arcradius)
                                  : std::sqrt(std::min(SquaredDistance(qx, qy, arc.x1, arc.y1),
                                                       SquaredDistance(qx, qy, arc.x3, arc.y3)));
      Classify(&distance, 1, limits, outside, within);
      if (outside) return false;
    }
  }
  // All at the noise level: D2 counts as 0.
  return within || (0.0 < limits.maxunits && 0.0 < limits.allowed);
}

// The run-long state of the fit. The helper thread and the step cache are
// made when a spline first has work enough for them.
class FitRunState {
 public:
  FitRunState(const ConversionSettings& settings, const EngineOptions& options)
      : draw(options.seed),
        fitter(settings),
        parallel_(options.parallel && HelperThread::Worthwhile()) {}

  HelperThread* Helper() {
    if (parallel_ && !helper_) helper_ = std::make_unique<HelperThread>();
    return helper_.get();
  }
  StepCache* Cache() {
    if (parallel_ && !cache_) cache_ = std::make_unique<StepCache>();
    return cache_.get();
  }

  UniformDraw draw;
  SplineFitter fitter;
  StepWorkspace workspace;

 private:
  bool parallel_;
  std::unique_ptr<HelperThread> helper_;
  std::unique_ptr<StepCache> cache_;
};

namespace {

// Walks the fitting steps of one spline on the calling thread, in the order
// of the recursion: pump, measure (or take what the helper measured), then
// emit, stop or cut.
class FitWalk {
 public:
  FitWalk(FitContext& context, FitRunState& state) : context_(context), state_(state) {}

  int64_t Run() {
    const std::span<const FitInterval> spans = state_.fitter.spans();
    // The helper must let go of this spline's curve before it changes, also
    // when a step throws.
    struct EndGuard {
      StepCache*& cache;
      ~EndGuard() {
        if (cache != nullptr) cache->End();
      }
    } guard{cache_};
    for (size_t s = 0; s < spans.size(); ++s) {
      span_ = s;
      const FitInterval& span = spans[s];
      FitArcs(1, span.depth, span.u1, span.u2, span.u3);
      if (cache_ != nullptr) cache_->Finished(s);
    }
    return arcs_;
  }

 private:
  // One fitting step, and the steps of its halves when it is cut. `node`
  // numbers the step within its span for the helper: 1 for the span, 2n and
  // 2n + 1 for the halves of step n.
  void FitArcs(uint32_t node, int32_t depth, double u1, double u2, double u3) {
    const FitInterval interval = state_.fitter.Nudged(FitInterval{depth, u1, u2, u3});
    if (context_.host.Pump()) {
      context_.host.RequestCancel();
      cancelled_ = true;
      if (cache_ != nullptr) cache_->Stop();
      return;
    }
    // A spline with more than a few steps gets the helper; starting it
    // costs more than the few steps of small splines.
    if (++steps_ == kStepsBeforeHelper && !cancelled_) {
      StepCache* cache = state_.Cache();
      if (cache != nullptr) {
        cache->Begin(state_.fitter, *state_.Helper(), span_);
        cache_ = cache;
      }
    }
    StepResult measured;
    const StepResult& result = cache_ != nullptr
                                   ? cache_->Obtain(span_, node, interval, state_.workspace)
                                   : (measured = state_.fitter.Measure(interval, state_.workspace));
    if (result.kind == StepResult::Kind::kNothing) return;
    RunMinima& minima = context_.minima;
    if (!result.exact &&
        (minima.percentUnset || minima.deviationUnset || result.percent < minima.minpercent ||
         result.deviation < minima.mindeviation)) {
      // The bounds might lower the minima: the measurement itself decides.
      const StepResult full = state_.fitter.Measure(interval, state_.workspace, true);
      minima.Lower(full.percent, full.deviation);
    } else {
      minima.Lower(result.percent, result.deviation);
    }
    if (result.kind == StepResult::Kind::kAccepted) {
      context_.polyline.AddArcVertices(result.arc);
      ++arcs_;
      return;
    }
    const auto [first, second] = state_.fitter.Halves(interval, result);
    FitArcs(2 * node, first.depth, first.u1, first.u2, first.u3);
    FitArcs(2 * node + 1, second.depth, second.u1, second.u2, second.u3);
  }

  FitContext& context_;
  FitRunState& state_;
  static constexpr int64_t kStepsBeforeHelper = 8;

  StepCache* cache_ = nullptr;
  size_t span_ = 0;
  int64_t arcs_ = 0;
  int64_t steps_ = 0;
  bool cancelled_ = false;
};

}  // namespace

int64_t FitSpline(const SplineEntity& spline, FitContext& context) {
  if (!context.state) {
    context.state = std::make_shared<FitRunState>(context.settings, context.options);
  }
  FitRunState& state = *context.state;
  // The fit-point search scores on the helper too.
  HelperThread* helper = spline.ctrlpoints.empty() ? state.Helper() : nullptr;
  if (!state.fitter.Setup(spline, state.draw, helper, context.options.fitPointSearches)) return 0;
  return FitWalk(context, state).Run();
}

}  // namespace tessarin
