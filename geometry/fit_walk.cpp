// SPDX-License-Identifier: MIT
// The walk over the fitting steps of one spline on the calling thread, with
// a second core measuring ahead where there is one.
//
// The fit of one spline:
//  1. The working curve: the control points with the captured knots (the
//     uniform knot vector where their count does not fit), or for a spline
//     with fit points only the cubic polygon estimated from them.
//  2. The spans: knots 2s, 2s + 1 and 2s + 2 for s = 0 .. (n + p - 1) / 2 - 1,
//     the last span ending at the last knot, each parameter clamped into the
//     domain of the curve.
//  3. Each span is one fitting step at depth 1; a step on (u1, u2, u3):
//     1. a parameter at the end of the domain moves just inside it (1e-7);
//     2. the observer is pumped once; when it asks to stop, the step ends;
//     3. Q1, Q2, Q3 are the curve points at u1, u2, u3; when they coincide,
//        or Q1 is undefined, the step ends;
//     4. the arc through them (ArcFromThreePoints) and S, the perimeter of
//        their triangle;
//     5. D, the largest distance from the arctests + 1 test points on the arc
//        to the splinetests samples of the interval;
//     6. the run minima take D and D * 100 / S where these are lower;
//     7. the arc is accepted when D and D2 (the largest distance from a
//        sample to the arc) are below both maxpercent * S / 100 and
//        maxunits, or whatever they are below depth 11, and goes to the
//        observer;
//     8. otherwise the interval is cut at the corner knot nearest its middle
//        parameter, or at the middle parameter, and both halves are fitted
//        one deeper, the first before the second, each with its parametric
//        midpoint as middle parameter.
//  So the arcs come in order along the curve, and a span gives at most 1024.
#include "fit_walk.h"

#include "fitting_step.h"
#include "helper_thread.h"
#include "look_ahead_scheduler.h"
#include "uniform_draw.h"

namespace tessarin {

// The run-long state of the fit. The helper thread and the look-ahead
// scheduler are made when a spline first has work enough for them.
class FitRunState {
 public:
  FitRunState(const FitSettings& settings, const FitOptions& options)
      : draw(options.seed),
        fitter(settings),
        parallel_(options.parallel && HelperThread::SecondCore()) {}

  HelperThread* Helper() {
    if (parallel_ && !helper_) helper_ = std::make_unique<HelperThread>();
    return helper_.get();
  }
  LookAheadScheduler* Scheduler() {
    if (parallel_ && !scheduler_) scheduler_ = std::make_unique<LookAheadScheduler>();
    return scheduler_.get();
  }

  UniformDraw draw;
  SplineFitter fitter;
  StepWorkspace workspace;

 private:
  bool parallel_;
  std::unique_ptr<HelperThread> helper_;
  std::unique_ptr<LookAheadScheduler> scheduler_;
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
      LookAheadScheduler*& scheduler;
      ~EndGuard() {
        if (scheduler != nullptr) scheduler->End();
      }
    } guard{scheduler_};
    for (size_t s = 0; s < spans.size(); ++s) {
      span_ = s;
      const FitInterval& span = spans[s];
      FitArcs(1, span.depth, span.u1, span.u2, span.u3);
      if (scheduler_ != nullptr) scheduler_->Finished(s);
    }
    return arcs_;
  }

 private:
  // One fitting step, and the steps of its halves when it is cut. `node`
  // numbers the step within its span for the helper: 1 for the span, 2n and
  // 2n + 1 for the halves of step n.
  void FitArcs(uint32_t node, int32_t depth, double u1, double u2, double u3) {
    const FitInterval interval = state_.fitter.Nudged(FitInterval{depth, u1, u2, u3});
    // Once stopped, every pending step still pumps once, and yields nothing.
    const bool stop = context_.observer.Pump();
    if (stop || cancelled_) {
      cancelled_ = true;
      if (scheduler_ != nullptr) scheduler_->Stop();
      return;
    }
    // A spline with more than a few steps gets the helper; starting it
    // costs more than the few steps of small splines.
    if (++steps_ == kStepsBeforeHelper) {
      LookAheadScheduler* scheduler = state_.Scheduler();
      if (scheduler != nullptr) {
        scheduler->Begin(state_.fitter, *state_.Helper(), span_);
        scheduler_ = scheduler;
      }
    }
    StepResult measured;
    const StepResult& result = scheduler_ != nullptr
                                   ? scheduler_->Obtain(span_, node, interval, state_.workspace)
                                   : (measured = state_.fitter.Measure(interval, state_.workspace));
    if (result.kind == StepResult::Kind::kNothing) return;
    LowerMinima(interval, result);
    if (result.kind == StepResult::Kind::kAccepted) {
      // Accepted arcs are measured in full: below the depth limit only
      // exact measurements pass, and beyond it none stops early.
      context_.observer.Accept(FittedArc{result.arc, result.deviation, result.percent});
      ++arcs_;
      return;
    }
    const auto [first, second] = state_.fitter.Halves(interval, result);
    FitArcs(2 * node, first.depth, first.u1, first.u2, first.u3);
    FitArcs(2 * node + 1, second.depth, second.u1, second.u2, second.u3);
  }

  void LowerMinima(const FitInterval& interval, const StepResult& result) {
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
  }

  FitContext& context_;
  FitRunState& state_;
  static constexpr int64_t kStepsBeforeHelper = 8;

  LookAheadScheduler* scheduler_ = nullptr;
  size_t span_ = 0;
  int64_t arcs_ = 0;
  int64_t steps_ = 0;
  bool cancelled_ = false;
};

}  // namespace

int64_t FitSpline(const SplineGeometry& spline, FitContext& context) {
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
