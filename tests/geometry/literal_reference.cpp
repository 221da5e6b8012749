// SPDX-License-Identifier: MIT
// The plain reference geometry. Slow on purpose: nothing is cached, pruned
// or reordered; each formula is evaluated as it is written.
#include "literal_reference.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace tessarin::reference {

std::vector<StepRecord>* stepLog = nullptr;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kTwoPi = 2.0 * std::numbers::pi;

double Dist(double ax, double ay, double bx, double by) {
  return std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
}

}  // namespace

double BasisFunction(int32_t i, int32_t k, const std::vector<double>& knots, double t) {
  if (k < 1) return 0.0;
  if (k == 1) return (knots[i] <= t && t < knots[i + 1]) ? 1.0 : 0.0;
  const bool hasLeft = knots[i + k - 1] != knots[i];
  const bool hasRight = knots[i + k] != knots[i + 1];
  double left = 0.0, right = 0.0;
  if (hasLeft)
    left = (t - knots[i]) / (knots[i + k - 1] - knots[i]) * BasisFunction(i, k - 1, knots, t);
  if (hasRight) {
    right =
        (knots[i + k] - t) / (knots[i + k] - knots[i + 1]) * BasisFunction(i + 1, k - 1, knots, t);
  }
  if (hasLeft && hasRight) return left + right;
  if (hasLeft) return left;
  if (hasRight) return right;
  return 0.0;
}

Tmypoi CurvePoint(const std::vector<double>& knots, int32_t last, int32_t k, double t,
                  const std::vector<Tmypoi>& controls) {
  double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
  for (int32_t i = 0; i <= last; ++i) {
    const double b = BasisFunction(i, k, knots, t) * controls[i].weight;
    x = x + controls[i].x * b;
    y = y + controls[i].y * b;
    z = z + controls[i].z * b;
    w = w + b;
  }
  if (w == 0.0) return Tmypoi{kNaN, kNaN, kNaN, 0.0};
  return Tmypoi{x / w, y / w, z / w, w};
}

void UniformKnots(std::vector<double>& knots, int32_t last, int32_t k) {
  for (int32_t j = 0; j <= last + k; ++j) {
    if (j < k) {
      knots[j] = 0.0;
    } else if (j <= last) {
      knots[j] = j - k + 1;
    } else {
      knots[j] = last - k + 2;
    }
  }
}

void SampleCurve(int32_t last, int32_t k, const std::vector<Tmypoi>& controls,
                 const std::vector<double>& knots, std::vector<Tmypoi>& samples, int32_t count) {
  const double step = knots[last + k] / (count - 1);
  double t = 0.0;
  for (int32_t s = 0; s <= count - 2; ++s) {
    samples[s] = CurvePoint(knots, last, k, t, controls);
    samples[s].weight = 1.0;
    t = t + step;
  }
  samples[count - 1] = controls[last];
  samples[count - 1].weight = 1.0;
}

uint64_t Random::R(uint64_t r) {
  uint64_t x = engine_();
  if (r == 0) return 0;
  // 2^64 mod r values are drawn again; the rest split evenly into r classes.
  const uint64_t rest = (~uint64_t{0} % r + 1) % r;
  while (x < rest) x = engine_();
  return x % r;
}

double Random::Offset(double extent) {
  const double range = std::nearbyint(1000.0 * extent);
  const double exact = 9007199254740992.0;  // 2^53
  if (!(range >= 0.0) || !std::isfinite(range)) return static_cast<double>(R(0));
  if (range <= exact) return static_cast<double>(R(static_cast<uint64_t>(range))) / 500.0;
  return static_cast<double>(R(uint64_t{1} << 53)) * (range / exact) / 500.0;
}

WorkingCurve EstimateControlPolygon(const std::vector<Tmypoi>& fit, Random& random,
                                    int32_t iterations) {
  WorkingCurve curve;
  const int32_t m = static_cast<int32_t>(fit.size());
  std::vector<Tmypoi>& polygon = curve.controls;
  polygon.resize(m);
  for (int32_t i = 0; i < m; ++i) polygon[i] = Tmypoi{fit[i].x, fit[i].y, 0.0, 1.0};
  double minX = fit[0].x, maxX = fit[0].x, minY = fit[0].y, maxY = fit[0].y;
  for (int32_t i = 0; i < m; ++i) {
    if (fit[i].x < minX) minX = fit[i].x;
    if (fit[i].x > maxX) maxX = fit[i].x;
    if (fit[i].y < minY) minY = fit[i].y;
    if (fit[i].y > maxY) maxY = fit[i].y;
  }
  const double w = maxX - minX;
  const double h = maxY - minY;
  curve.degree = 3;
  curve.knots.resize(m + 4);
  UniformKnots(curve.knots, m - 1, 4);
  const int32_t n = 100 * m;
  std::vector<Tmypoi> samples(n);
  std::vector<Tmypoi> best;
  double bestScore = 0.0;
  for (int32_t iteration = 1; iteration <= iterations; ++iteration) {
    for (int32_t i = 0; i < m; ++i) {
      if (i != 0 && i != m - 1) {
        polygon[i].x = fit[i].x + random.Offset(w) - w;
        polygon[i].y = fit[i].y + random.Offset(h) - h;
      }
      polygon[i].weight = 1.0;
    }
    SampleCurve(m - 1, 4, polygon, curve.knots, samples, n);
    double score = 0.0;
    for (int32_t j = 1; j <= m - 2; ++j) {
      double nearest = kInf;
      for (int32_t s = 0; s < n; ++s) {
        const double d = Dist(fit[j].x, fit[j].y, samples[s].x, samples[s].y);
        if (d < nearest) nearest = d;
      }
      score = score + nearest * nearest;
    }
    if (iteration == 1 || score < bestScore) {
      bestScore = score;
      best = polygon;
    }
  }
  polygon = best;
  for (int32_t pass = 0; pass < 10; ++pass) {
    SampleCurve(m - 1, 4, polygon, curve.knots, samples, n);
    for (int32_t i = 1; i <= m - 2; ++i) {
      const int64_t s = static_cast<int64_t>(i) * (n - 1) / (m - 1);
      polygon[i].x = polygon[i].x + (fit[i].x - samples[s].x);
      polygon[i].y = polygon[i].y + (fit[i].y - samples[s].y);
    }
  }
  return curve;
}

Arc ArcFromThreePoints(double x1, double y1, double x2, double y2, double x3, double y3) {
  Arc arc;
  arc.x1 = x1;
  arc.y1 = y1;
  arc.x3 = x3;
  arc.y3 = y3;
  const double d3 = x1 * y2 + x2 * y3 + x3 * y1 - x1 * y3 - x2 * y1 - x3 * y2;
  if (std::fabs(d3) <= 1e-8) {
    arc.arcwinkel1 = 0.0;
    arc.arcwinkel2 = 0.0;
    arc.bulge = 0.0;
    arc.arcradius = 0.0;
    return arc;
  }
  const double cx = ((x1 * x1 + y1 * y1) * (y2 - y3) + (x2 * x2 + y2 * y2) * (y3 - y1) +
                     (x3 * x3 + y3 * y3) * (y1 - y2)) *
                    0.5 / d3;
  const double cy = ((x1 * x1 + y1 * y1) * (x3 - x2) + (x2 * x2 + y2 * y2) * (x1 - x3) +
                     (x3 * x3 + y3 * y3) * (x2 - x1)) *
                    0.5 / d3;
  const double r = Dist(x1, y1, cx, cy);
  const double a1 = std::atan2(y1 - cy, x1 - cx);
  const double a3 = std::atan2(y3 - cy, x3 - cx);
  double sweep;
  if (a3 > a1) {
    sweep = a3 - a1;
  } else {
    sweep = kTwoPi - a1 + a3;
  }
  arc.arcmx = cx;
  arc.arcmy = cy;
  arc.arcradius = r;
  const double chord = Dist(x3, y3, x1, y1);
  double magnitude = 0.0;
  if (!(chord / (2.0 * r) > 1.0)) magnitude = std::tan(std::asin(chord / (2.0 * r)) / 2.0);
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

namespace {

bool EqualOrNaN(double a, double b) { return a == b || std::isnan(a) || std::isnan(b); }

class Fitter {
 public:
  Fitter(const WorkingCurve& curve, FitContext& context) : curve_(curve), context_(context) {
    n_ = static_cast<int32_t>(curve.controls.size());
    p_ = curve.degree;
    start_ = curve.knots[p_];
    end_ = curve.knots[n_];
  }

  void Run() {
    const std::vector<double>& knots = curve_.knots;
    const int32_t spans = (n_ + p_ - 1) / 2;
    for (int32_t s = 0; s < spans; ++s) {
      double end;
      if (s == spans - 1) {
        end = knots[n_ + p_];
      } else {
        end = knots[2 * s + 2];
      }
      FitArcs(1, Clamp(knots[2 * s]), Clamp(knots[2 * s + 1]), Clamp(end));
    }
  }

  int64_t arcs = 0;

 private:
  double Clamp(double u) const {
    if (u < start_) u = start_;
    if (u > end_) u = end_;
    return u;
  }

  Tmypoi Point(double t) const {
    return CurvePoint(curve_.knots, n_ - 1, p_ + 1, t, curve_.controls);
  }

  void FitArcs(int32_t depth, double u1, double u2, double u3) {
    double inside = end_ - 1e-7;
    if (inside == end_) inside = std::nextafter(end_, -kInf);
    if (u1 == end_) u1 = inside;
    if (u2 == end_) u2 = inside;
    if (u3 == end_) u3 = inside;
    if (stepLog != nullptr) stepLog->push_back(StepRecord{depth, u1, u2, u3});
    if (context_.observer.Pump()) return;
    const Tmypoi q1 = Point(u1), q2 = Point(u2), q3 = Point(u3);
    const double s =
        Dist(q3.x, q3.y, q1.x, q1.y) + Dist(q2.x, q2.y, q1.x, q1.y) + Dist(q3.x, q3.y, q2.x, q2.y);
    if (EqualOrNaN(q1.x, q2.x) && EqualOrNaN(q1.y, q2.y) && EqualOrNaN(q1.x, q3.x) &&
        EqualOrNaN(q1.y, q3.y)) {
      return;
    }
    for (const Tmypoi* q : {&q1, &q2, &q3}) {
      if (!std::isfinite(q->x) || !std::isfinite(q->y)) return;
    }
    const Arc arc = ArcFromThreePoints(q1.x, q1.y, q2.x, q2.y, q3.x, q3.y);
    if (!std::isfinite(arc.bulge)) return;
    if (arc.bulge != 0.0 &&
        !(std::isfinite(arc.arcmx) && std::isfinite(arc.arcmy) && std::isfinite(arc.arcradius) &&
          std::isfinite(arc.arcwinkel1) && std::isfinite(arc.arcwinkel2))) {
      return;
    }
    const FitSettings& settings = context_.settings;
    const int32_t arctests = settings.arctests < 1 ? 1 : settings.arctests;
    const int32_t splinetests = settings.splinetests < 1 ? 1 : settings.splinetests;
    double sweep = arc.arcwinkel2 - arc.arcwinkel1;
    if (sweep < 0.0) sweep = sweep + kTwoPi;

    // The spline samples, once for the step.
    std::vector<Tmypoi> samples(splinetests);
    for (int32_t l = 0; l < splinetests; ++l) {
      samples[l] = Point(u1 + (u3 - u1) * static_cast<double>(l) / splinetests);
    }
    // D: the test points on the arc against the samples.
    double d = 0.0;
    for (int32_t j = 0; j <= arctests; ++j) {
      double tx, ty;
      if (arc.bulge == 0.0) {
        tx = q1.x + (q3.x - q1.x) * static_cast<double>(j) / arctests;
        ty = q1.y + (q3.y - q1.y) * static_cast<double>(j) / arctests;
      } else {
        const double theta = arc.arcwinkel1 + static_cast<double>(j) * sweep / arctests;
        tx = arc.arcmx + arc.arcradius * std::cos(theta);
        ty = arc.arcmy + arc.arcradius * std::sin(theta);
      }
      double nearest = kInf;
      for (int32_t l = 0; l < splinetests; ++l) {
        const double dist = Dist(tx, ty, samples[l].x, samples[l].y);
        if (dist < nearest) nearest = dist;
      }
      if (nearest > d) d = nearest;
    }
    const double percent = d * 100.0 / s;
    if (!std::isfinite(s) || !std::isfinite(d) || !std::isfinite(percent)) return;

    // D2: the samples against the arc as a curve.
    double d2 = 0.0;
    for (int32_t l = 0; l < splinetests; ++l) {
      const double qx = samples[l].x, qy = samples[l].y;
      if (!std::isfinite(qx) || !std::isfinite(qy)) continue;
      double dist;
      if (arc.bulge == 0.0) {
        const double dx = q3.x - q1.x, dy = q3.y - q1.y;
        const double length2 = dx * dx + dy * dy;
        double t = 0.0;
        if (length2 > 0.0) t = ((qx - q1.x) * dx + (qy - q1.y) * dy) / length2;
        if (t <= 0.0) {
          dist = Dist(qx, qy, q1.x, q1.y);
        } else if (t >= 1.0) {
          dist = Dist(qx, qy, q3.x, q3.y);
        } else {
          dist = Dist(qx, qy, q1.x + t * dx, q1.y + t * dy);
        }
      } else {
        double relative = std::atan2(qy - arc.arcmy, qx - arc.arcmx) - arc.arcwinkel1;
        if (relative < 0.0) relative = relative + kTwoPi;
        if (relative <= sweep) {
          dist = std::fabs(Dist(qx, qy, arc.arcmx, arc.arcmy) - arc.arcradius);
        } else {
          dist = std::min(Dist(qx, qy, q1.x, q1.y), Dist(qx, qy, q3.x, q3.y));
        }
      }
      if (dist > d2) d2 = dist;
    }
    double largest = 0.0;
    for (const double v : {q1.x, q1.y, q2.x, q2.y, q3.x, q3.y})
      largest = std::max(largest, std::fabs(v));
    if (d2 <= 1e-9 * (1.0 + largest)) d2 = 0.0;

    context_.minima.Lower(percent, d);
    const double allowed = settings.maxpercent * s / 100.0;
    if ((allowed > d && d < settings.maxunits && allowed > d2 && d2 < settings.maxunits) ||
        depth > 10) {
      context_.observer.Accept(FittedArc{arc, d, percent});
      ++arcs;
      return;
    }
    // Cut at the corner nearest the middle, else at the middle.
    double cut = u2;
    bool found = false;
    double cutDistance = 0.0;
    for (const double knot : curve_.knots) {
      int32_t multiplicity = 0;
      for (const double other : curve_.knots) {
        if (other == knot) ++multiplicity;
      }
      if (multiplicity >= p_ && start_ < knot && knot < end_ && u1 < knot && knot < u3) {
        const double distance = std::fabs(knot - u2);
        if (!found || distance < cutDistance || (distance == cutDistance && knot < cut)) {
          found = true;
          cut = knot;
          cutDistance = distance;
        }
      }
    }
    FitArcs(depth + 1, u1, u1 + (cut - u1) / 2, cut);
    FitArcs(depth + 1, cut, cut + (u3 - cut) / 2, u3);
  }

  const WorkingCurve& curve_;
  FitContext& context_;
  int32_t n_ = 0, p_ = 0;
  double start_ = 0.0, end_ = 0.0;
};

}  // namespace

int64_t FitCurve(const WorkingCurve& curve, FitContext& context) {
  const int64_t n = static_cast<int64_t>(curve.controls.size());
  if (curve.degree < 0 || curve.degree >= n) return 0;
  Fitter fitter(curve, context);
  fitter.Run();
  return fitter.arcs;
}

int64_t FitSpline(const SplineGeometry& spline, FitContext& context, Random& random) {
  WorkingCurve curve;
  if (!spline.ctrlpoints.empty()) {
    const int32_t n = static_cast<int32_t>(spline.ctrlpoints.size());
    const int32_t p = spline.degree;
    if (p < 0 || p >= n) return 0;
    curve.controls.assign(spline.ctrlpoints.begin(), spline.ctrlpoints.end());
    curve.degree = p;
    if (static_cast<int64_t>(spline.knots.size()) == static_cast<int64_t>(n) + p + 1) {
      curve.knots.assign(spline.knots.begin(), spline.knots.end());
    } else {
      curve.knots.resize(n + p + 1);
      UniformKnots(curve.knots, n - 1, p + 1);
    }
  } else if (spline.fitpoints.size() >= 4) {
    curve = EstimateControlPolygon(
        std::vector<Tmypoi>(spline.fitpoints.begin(), spline.fitpoints.end()), random);
  } else {
    return 0;
  }
  return FitCurve(curve, context);
}

}  // namespace tessarin::reference
