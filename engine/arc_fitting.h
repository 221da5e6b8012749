// SPDX-License-Identifier: MIT
// Turns one captured spline into a chain of circular arcs within the run's
// deviation limits.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "conversion_settings.h"
#include "fit_point_polygon.h"
#include "host.h"
#include "nurbs.h"
#include "polyline_writer.h"
#include "sample_boxes.h"
#include "spline_entity.h"

namespace tessarin {

class HelperThread;
class UniformDraw;

// The smallest deviations measured in a run, shown when it ends. Both start
// unset; every measured interval lowers them.
struct RunMinima {
  double minpercent = 0.0;
  double mindeviation = 0.0;
  bool percentUnset = true;
  bool deviationUnset = true;

  void Lower(double percent, double deviation) {
    if (percentUnset || percent < minpercent) {
      minpercent = percent;
      percentUnset = false;
    }
    if (deviationUnset || deviation < mindeviation) {
      mindeviation = deviation;
      deviationUnset = false;
    }
  }
};

struct FitContext;
// Fits one spline for the run; FitSpline unless EngineOptions names another.
using SplineFitFunction = std::function<int64_t(const SplineEntity&, FitContext&)>;

// Engine options that are not user settings.
struct EngineOptions {
  // Seed of the fit-point search; unset: seeded from the clock.
  std::optional<uint64_t> seed;
  // Use a second core where the machine has one. The output and the pump
  // calls are the same either way.
  bool parallel = true;
  // Replaces FitSpline in the run, so that tests can convert whole files
  // with another implementation and compare the texts.
  SplineFitFunction fitter;
  // Candidate polygons of the fit-point search; fewer only for the fuzzer.
  int32_t fitPointSearches = kSearchIterations;
};

// What a run keeps between splines for the fit: the generator of the
// fit-point search, the helper thread and the work buffers.
class FitRunState;

// Everything one spline's fit works with.
struct FitContext {
  const ConversionSettings& settings;
  Host& host;
  RunMinima& minima;
  PolylineWriter& polyline;
  const EngineOptions& options;
  // Made at the first spline of the run.
  std::shared_ptr<FitRunState> state = {};
};

// Fits the arcs of `spline`, handing each accepted arc to
// context.polyline.AddArcVertices in order along the curve, and pumping the
// host once per fitting step, on the calling thread. When the pump asks to
// cancel, the host's cancel flag is set and no further arc is emitted.
// Returns the number of arcs accepted.
int64_t FitSpline(const SplineEntity& spline, FitContext& context);

// The circle through three points and the minor arc from the first to the
// third. Points with |D3| <= 1e-8 (twice the signed triangle area) give a
// straight segment: bulge 0, radius 0, angles 0.
ArcFields ArcFromThreePoints(double x1, double y1, double x2, double y2, double x3, double y3);

// The angle of (x, y) about the centre (cx, cy), from -pi to pi.
double PointAngle(double x, double y, double cx, double cy);

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
  ArcFields arc;
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

// The working curve of one spline and the fitting steps over it. A step is
// a pure function of its interval, so any thread can measure any step.
class SplineFitter {
 public:
  explicit SplineFitter(const ConversionSettings& settings) : settings_(settings) {}

  // The working curve from the control points (degree, and the captured
  // knots when there are n + degree + 1, else UniformKnots), or for a spline
  // without control points the polygon estimated from four or more fit
  // points. False when the curve has no domain (degree below 0, no more
  // control points than the degree, fewer than four fit points): no span
  // could yield an arc, and there is no fitting step.
  bool Setup(const SplineEntity& spline, UniformDraw& draw, HelperThread* helper,
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
  // D; with `failing`, also returns early, with a lower bound of D and
  // *exact cleared, once one test point shows that `failing` holds for D.
  template <typename Failing>
  double Deviation(const ArcFields& arc, const FitInterval& interval, double perimeter,
                   StepWorkspace& ws, const Failing* failing, bool* exact) const;
  bool FollowsArc(const ArcFields& arc, const Tmypoi& q1, const Tmypoi& q2, const Tmypoi& q3,
                  double allowed, const FitInterval& interval, StepWorkspace& ws) const;
  void Samples(const FitInterval& interval, size_t from, size_t count, StepWorkspace& ws) const;
  double CutParameter(const FitInterval& interval) const;

  const ConversionSettings& settings_;
  WorkingCurve working_;
  NurbsCurve curve_;
  double domainStart_ = 0.0, domainEnd_ = 0.0;
  std::vector<double> corners_;  // knots of multiplicity >= degree inside the domain, ascending
  std::vector<FitInterval> spans_;
};

}  // namespace tessarin
