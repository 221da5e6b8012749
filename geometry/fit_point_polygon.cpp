// SPDX-License-Identifier: MIT
// The fit-point search: candidates drawn in order, scored (on two cores where
// there are two), the first strictly best one kept, then ten corrections.
#include "fit_point_polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "helper_thread.h"
#include "nurbs.h"
#include "sample_boxes.h"
#include "uniform_draw.h"

namespace tessarin {

namespace {

constexpr double kExactIntegers = 9007199254740992.0;  // 2^53

// Scores candidate polygons: samples the curve at the search's parameters
// and sums the squared distances from the interior fit points to their
// nearest samples. One per thread.
class Scorer {
 public:
  Scorer(std::span<const Tmypoi> fit, std::span<const double> knots, std::span<const double> params)
      : fit_(fit),
        knots_(knots),
        params_(params),
        ascending_(std::is_sorted(params.begin(), params.end())) {
    const size_t count = params.size() + 1;
    x_.resize(count);
    y_.resize(count);
  }

  // Samples of `polygon` into x_, y_: SampleCurve's parameters, and the last
  // control point as the last sample.
  void Sample(std::span<const Tmypoi> polygon) {
    curve_.Reset(polygon, knots_, 4);
    curve_.Prepare(scratch_);
    curve_.PointsXY(params_, x_.data(), y_.data(), scratch_, ascending_);
    x_.back() = polygon.back().x;
    y_.back() = polygon.back().y;
  }

  double Score(std::span<const Tmypoi> polygon) {
    const size_t m = fit_.size();
    if (m < 3) return 0.0;  // no interior fit point to score
    Sample(polygon);
    boxes_.Build(x_.data(), y_.data(), x_.size());
    const size_t last = x_.size() - 1;
    double score = 0.0;
    for (size_t j = 1; j + 1 < m; ++j) {
      // The nearest distance is the root of the nearest squared distance:
      // the root is monotone, so both pick the same value.
      const double nearest =
          std::sqrt(boxes_.NearestSquared(fit_[j].x, fit_[j].y, j * last / (m - 1)));
      score += nearest * nearest;
    }
    return score;
  }

  const std::vector<double>& x() const { return x_; }
  const std::vector<double>& y() const { return y_; }

 private:
  std::span<const Tmypoi> fit_;
  std::span<const double> knots_;
  std::span<const double> params_;
  bool ascending_;
  NurbsCurve curve_;
  CurveScratch scratch_;
  SampleBoxes boxes_;
  std::vector<double> x_, y_;
};

}  // namespace

double DrawOffset(UniformDraw& draw, double extent) {
  const double range = std::nearbyint(kRangeFactor * extent);  // ties to even
  if (!(range >= 0.0) || !std::isfinite(range)) return static_cast<double>(draw.Draw(0));
  if (range <= kExactIntegers) {
    return static_cast<double>(draw.Draw(static_cast<uint64_t>(range))) / kStepDivisor;
  }
  const double unit = range / kExactIntegers;
  return static_cast<double>(draw.Draw(uint64_t{1} << 53)) * unit / kStepDivisor;
}

namespace {

// The candidate polygons of one batch, drawn in iteration order: each
// interior control point within `width` of its fit point in x and within
// `height` in y (the x draw first), the ends on the end fit points.
void DrawCandidates(std::span<const Tmypoi> fitpoints, std::span<const Tmypoi> start, double width,
                    double height, UniformDraw& draw, size_t count,
                    std::vector<Tmypoi>& candidates) {
  const size_t m = fitpoints.size();
  for (size_t c = 0; c < count; ++c) {
    Tmypoi* polygon = &candidates[c * m];
    for (size_t i = 0; i < m; ++i) {
      polygon[i] = start[i];
      if (i != 0 && i != m - 1) {
        polygon[i].x = fitpoints[i].x + DrawOffset(draw, width) - width;
        polygon[i].y = fitpoints[i].y + DrawOffset(draw, height) - height;
      }
      polygon[i].weight = 1.0;
    }
  }
}

// The random search: the first candidate of strictly the best score.
// Candidates go in batches: drawn in iteration order, scored (the second
// half on the helper), then compared in order. The draws do not depend on
// the scores, so the generator advances exactly as one at a time would.
std::vector<Tmypoi> Search(std::span<const Tmypoi> fitpoints, const WorkingCurve& curve,
                           double width, double height, UniformDraw& draw, HelperThread* helper,
                           int32_t searches, Scorer& mainScorer, Scorer& helperScorer) {
  const size_t m = fitpoints.size();
  const size_t samples = static_cast<size_t>(kSamplesPerFitPoint) * m;
  const size_t most = static_cast<size_t>(searches);
  const size_t batch =
      std::clamp<size_t>((size_t{1} << 18) / samples, std::min<size_t>(8, most), most);
  std::vector<Tmypoi> candidates(batch * m);
  std::vector<double> scores(batch);
  std::vector<Tmypoi> best(curve.controls);
  double bestScore = 0.0;
  for (int32_t first = 1; first <= searches;) {
    const size_t count = std::min<size_t>(batch, static_cast<size_t>(searches - first + 1));
    DrawCandidates(fitpoints, curve.controls, width, height, draw, count, candidates);
    const auto scoreRange = [&](Scorer& scorer, size_t from, size_t to) {
      for (size_t c = from; c < to; ++c) {
        scores[c] = scorer.Score(std::span<const Tmypoi>(&candidates[c * m], m));
      }
    };
    const size_t split = helper != nullptr ? count / 2 : count;
    {
      // The helper's half is waited for also when the main half throws.
      struct WaitGuard {
        HelperThread* helper;
        ~WaitGuard() {
          if (helper != nullptr) helper->Wait();
        }
      } guard{split < count ? helper : nullptr};
      if (guard.helper != nullptr) helper->Start([&] { scoreRange(helperScorer, split, count); });
      scoreRange(mainScorer, 0, split);
    }
    for (size_t c = 0; c < count; ++c) {
      if (first + static_cast<int32_t>(c) == 1 || scores[c] < bestScore) {
        bestScore = scores[c];
        std::copy_n(&candidates[c * m], m, best.begin());
      }
    }
    first += static_cast<int32_t>(count);
  }
  return best;
}

}  // namespace

WorkingCurve EstimateControlPolygon(std::span<const Tmypoi> fitpoints, UniformDraw& draw,
                                    HelperThread* helper, int32_t searches) {
  WorkingCurve curve;
  searches = std::max<int32_t>(searches, 1);
  const size_t m = fitpoints.size();
  if (m == 0) return curve;
  curve.degree = 3;
  curve.controls.resize(m);
  double minX = fitpoints[0].x, maxX = fitpoints[0].x;
  double minY = fitpoints[0].y, maxY = fitpoints[0].y;
  for (size_t i = 0; i < m; ++i) {
    curve.controls[i] = Tmypoi{fitpoints[i].x, fitpoints[i].y, 0.0, 1.0};
    minX = std::min(minX, fitpoints[i].x);
    maxX = std::max(maxX, fitpoints[i].x);
    minY = std::min(minY, fitpoints[i].y);
    maxY = std::max(maxY, fitpoints[i].y);
  }
  const double width = maxX - minX;
  const double height = maxY - minY;
  curve.knots.resize(m + 4);
  UniformKnots(curve.knots, static_cast<int32_t>(m - 1), 4);

  // SampleCurve's parameters are the same for every candidate: t = 0,
  // step, ... accumulated by repeated addition, N - 1 of them.
  const size_t samples = static_cast<size_t>(kSamplesPerFitPoint) * m;
  std::vector<double> params(samples - 1);
  const double step = curve.knots[m + 3] / static_cast<double>(samples - 1);
  double t = 0.0;
  for (double& p : params) {
    p = t;
    t += step;
  }
  Scorer mainScorer(fitpoints, curve.knots, params);
  Scorer helperScorer(fitpoints, curve.knots, params);
  curve.controls =
      Search(fitpoints, curve, width, height, draw, helper, searches, mainScorer, helperScorer);

  // The corrections: each interior control point moves by what separates
  // its fit point from the sample that stands for it, all of one pass from
  // the samples taken at its start.
  for (int32_t pass = 0; pass < kCorrectionPasses; ++pass) {
    mainScorer.Sample(curve.controls);
    const std::vector<double>& x = mainScorer.x();
    const std::vector<double>& y = mainScorer.y();
    for (size_t i = 1; i + 1 < m; ++i) {
      const size_t s = i * (samples - 1) / (m - 1);
      curve.controls[i].x = curve.controls[i].x + (fitpoints[i].x - x[s]);
      curve.controls[i].y = curve.controls[i].y + (fitpoints[i].y - y[s]);
    }
  }
  return curve;
}

}  // namespace tessarin
