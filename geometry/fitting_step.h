// SPDX-License-Identifier: MIT
// One fitting step: the working curve of a spline and its spans, and the
// measurement of the arc through three curve points against the spline.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "arc.h"
#include "fit_point_polygon.h"
#include "fit_settings.h"
#include "fit_walk.h"
#include "nurbs.h"
#include "sample_boxes.h"

namespace tessarin {

class HelperThread;
class UniformDraw;

// One fitting step's interval: its depth (1 for a whole span) and its start,
// middle and end parameter.
struct FitInterval {
  int32_t depth = 1;
  double u1 = 0.0, u2 = 0.0, u3 = 0.0;
};

// What one fitting step found.
struct StepResult {
  enum class Kind : uint8_t {
    kNothing,   // coincident or undefined points, or no finite measurement
    kAccepted,  // the arc is emitted
    kCut,       // the interval is cut at `cut`
  };
  Kind kind = Kind::kNothing;
  Arc arc;
  double percent = 0.0;    // deviation in percent of the three-point perimeter
  double deviation = 0.0;  // D, in drawing units
  double cut = 0.0;
  // False: the step was cut as soon as one test point showed that the arc
  // misses a limit, and `percent` and `deviation` are only lower bounds of
  // the measurement; Measure with `exact` gives the values themselves.
  bool exact = true;
};

// One thread's buffers for fitting steps.
struct StepWorkspace {
  CurveScratch scratch;
  std::vector<double> params, x, y;     // spline samples of a step
  std::vector<double> tx, ty, nearest;  // test points on the arc
  std::vector<double> distance;         // samples to the arc
  SampleBoxes boxes;
};

// Intervals deeper than this are accepted whatever they measure: a span
// yields at most 2^10 arcs.
inline constexpr int32_t kDeepestCut = 10;

// The working curve of one spline and the fitting steps over it. A step is
// a pure function of its interval, so any thread can measure any step.
class SplineFitter {
 public:
  explicit SplineFitter(const FitSettings& settings) : settings_(settings) {}

  // The working curve from the control points (degree, and the captured
  // knots when there are n + degree + 1, else UniformKnots), or for a spline
  // without control points the polygon estimated from four or more fit
  // points. False when the curve has no domain (degree below 0, no more
  // control points than the degree, fewer than four fit points): no span
  // could yield an arc, and there is no fitting step.
  bool Setup(const SplineGeometry& spline, UniformDraw& draw, HelperThread* helper,
             int32_t searches = kSearchIterations);
  bool Setup(const WorkingCurve& curve);

  // The spans: knots (2s, 2s+1, 2s+2), the last ending at the last knot,
  // each parameter clamped into the domain [knots[p], knots[n]].
  std::span<const FitInterval> spans() const { return spans_; }
  double domainStart() const { return domainStart_; }
  double domainEnd() const { return domainEnd_; }
  const NurbsCurve& curve() const { return curve_; }

  // The interval with each parameter that equals the domain end moved just
  // below it (by 1e-7, or one step of the number grid where 1e-7 is lost).
  FitInterval Nudged(const FitInterval& interval) const;

  // Measures a nudged interval. Unless `exact`, a cut found from one test
  // point may leave the measurement as a lower bound (StepResult::exact).
  StepResult Measure(const FitInterval& interval, StepWorkspace& workspace,
                     bool exact = false) const;

  // The two intervals a cut gives, first the one before the cut.
  std::pair<FitInterval, FitInterval> Halves(const FitInterval& interval,
                                             const StepResult& cut) const;

 private:
  // The limits of one step: a deviation passes when it is below both.
  struct StepLimits {
    double allowed;  // maxpercent of the three-point perimeter, in drawing units
    double maxunits;
    bool Fails(double d) const { return !(allowed > d && d < maxunits); }
  };
  // D, the one-sided deviation: how far the arc strays from the spline, as
  // the largest distance from a test point on the arc to its nearest spline
  // sample. `exact` false: the measurement stopped at a lower bound of D
  // that already fails a limit.
  struct OneSided {
    double deviation = 0.0;
    bool exact = true;
  };
  // With `early`, returns at once when the middle test point already fails
  // its limits.
  OneSided OneSidedDeviation(const Arc& arc, const FitInterval& interval, double perimeter,
                             StepWorkspace& ws, const StepLimits* early) const;
  // The middle test point's distance to the spline where it fails `limits`
  // and the full measurement is sure to fail them too.
  std::optional<double> MiddleTestPointFails(const Arc& arc, double perimeter,
                                             const StepWorkspace& ws,
                                             const StepLimits& limits) const;
  // The two-sided test: D passes the limits, and every spline sample of the
  // interval lies within them of the arc too (D2, the other way round).
  bool TwoSidedWithinLimits(const Arc& arc, double d, const Tmypoi& q1, const Tmypoi& q2,
                            const Tmypoi& q3, const StepLimits& limits, const FitInterval& interval,
                            StepWorkspace& ws) const;
  void Samples(const FitInterval& interval, size_t from, size_t count, StepWorkspace& ws) const;
  double CutParameter(const FitInterval& interval) const;

  const FitSettings& settings_;
  WorkingCurve working_;
  NurbsCurve curve_;
  double domainStart_ = 0.0, domainEnd_ = 0.0;
  std::vector<double> corners_;  // knots of multiplicity >= degree inside the domain, ascending
  std::vector<FitInterval> spans_;
};

}  // namespace tessarin
