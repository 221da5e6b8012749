// SPDX-License-Identifier: MIT
// Cox-de Boor evaluation in plain double arithmetic. Every basis value is the
// recursion's value: the same subtractions, divisions, products and sums in
// the same order, only computed once per level instead of once per call.
#include "nurbs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tessarin {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Tmypoi UndefinedPoint() { return Tmypoi{kNaN, kNaN, kNaN, 0.0}; }

// One level of the recursion for basis index i and order j, from the values
// of order j - 1 at i (`left`) and i + 1 (`right`). A term whose knot
// difference is exactly 0 is left out; with both left out the value is 0.
inline double Combine(const double* kn, int64_t i, int64_t j, double t, double left, double right) {
  const bool hasLeft = kn[i + j - 1] != kn[i];  // exact: equal knots have no term
  const bool hasRight = kn[i + j] != kn[i + 1];
  if (hasLeft && hasRight) {
    return (t - kn[i]) / (kn[i + j - 1] - kn[i]) * left +
           (kn[i + j] - t) / (kn[i + j] - kn[i + 1]) * right;
  }
  if (hasLeft) return (t - kn[i]) / (kn[i + j - 1] - kn[i]) * left;
  if (hasRight) return (kn[i + j] - t) / (kn[i + j] - kn[i + 1]) * right;
  return 0.0;
}

// Orders up to this have a kernel of their own; higher ones go point by point.
constexpr int kKernelOrders = 8;

// x and y of the points at t[0..count) inside one interior knot span s of an
// order-K curve (K - 1 <= s <= n - 1, so all K basis functions of the span
// belong to control points). kn, cx, cy, cw start at index s - K + 1. Inside
// the span every knot difference that the triangle divides by is positive,
// so no guard applies; the terms outside the triangle are exact zeros.
//
// V holds W samples; every operation works lane by lane in IEEE double
// arithmetic, so each lane gets the bits the scalar scheme gets.
template <int K, typename V, int W>
[[gnu::always_inline]] inline void KernelBody(const double* kn, const double* cx, const double* cy,
                                              const double* cw, const double* t, size_t count,
                                              double* x, double* y) {
  for (size_t q0 = 0; q0 < count; q0 += W) {
    const size_t valid = std::min<size_t>(W, count - q0);
    V tt;
    for (int l = 0; l < W; ++l) tt[l] = t[q0 + std::min<size_t>(l, valid - 1)];
    // N[a] holds the basis values of index s - K + 1 + a; order 1 is N[K-1] = 1.
    V N[K];
    N[K - 1] = V{} + 1.0;
    for (int j = 2; j <= K; ++j) {
      {
        // Lowest index of the level: only its right term.
        const int a = K - j;
        const double kr = kn[a + j], dr = kn[a + j] - kn[a + 1];
        N[a] = (kr - tt) / dr * N[a + 1];
      }
      for (int a = K - j + 1; a < K - 1; ++a) {
        const double kl = kn[a], dl = kn[a + j - 1] - kn[a];
        const double kr = kn[a + j], dr = kn[a + j] - kn[a + 1];
        N[a] = (tt - kl) / dl * N[a] + (kr - tt) / dr * N[a + 1];
      }
      {
        // Index s: only its left term.
        const int a = K - 1;
        const double kl = kn[a], dl = kn[a + j - 1] - kn[a];
        N[a] = (tt - kl) / dl * N[a];
      }
    }
    V sx = V{}, sy = V{}, sw = V{};
    for (int a = 0; a < K; ++a) {
      const V b = N[a] * cw[a];
      sx = sx + cx[a] * b;
      sy = sy + cy[a] * b;
      sw = sw + b;
    }
    const V px = sx / sw, py = sy / sw;
    for (size_t l = 0; l < valid; ++l) {
      const bool undefined = sw[l] == 0.0;
      x[q0 + l] = undefined ? kNaN : px[l];
      y[q0 + l] = undefined ? kNaN : py[l];
    }
  }
}

using KernelFn = void (*)(const double*, const double*, const double*, const double*, const double*,
                          size_t, double*, double*);

// The same kernel compiled for three instruction sets; all give the same
// bits (no fused multiply-add, correctly rounded lane operations).
typedef double Lanes8 __attribute__((vector_size(64)));
typedef double Lanes4 __attribute__((vector_size(32)));
typedef double Lanes2 __attribute__((vector_size(16)));

template <int K>
__attribute__((target("avx512f"))) void KernelAvx512(const double* kn, const double* cx,
                                                     const double* cy, const double* cw,
                                                     const double* t, size_t count, double* x,
                                                     double* y) {
  KernelBody<K, Lanes8, 8>(kn, cx, cy, cw, t, count, x, y);
}
template <int K>
__attribute__((target("avx2"))) void KernelAvx2(const double* kn, const double* cx,
                                                const double* cy, const double* cw, const double* t,
                                                size_t count, double* x, double* y) {
  KernelBody<K, Lanes4, 4>(kn, cx, cy, cw, t, count, x, y);
}
template <int K>
void KernelBase(const double* kn, const double* cx, const double* cy, const double* cw,
                const double* t, size_t count, double* x, double* y) {
  KernelBody<K, Lanes2, 2>(kn, cx, cy, cw, t, count, x, y);
}

using KernelTable = std::array<KernelFn, kKernelOrders + 1>;
constexpr KernelTable kAvx512 = {nullptr,         KernelAvx512<1>, KernelAvx512<2>,
                                 KernelAvx512<3>, KernelAvx512<4>, KernelAvx512<5>,
                                 KernelAvx512<6>, KernelAvx512<7>, KernelAvx512<8>};
constexpr KernelTable kAvx2 = {nullptr,       KernelAvx2<1>, KernelAvx2<2>,
                               KernelAvx2<3>, KernelAvx2<4>, KernelAvx2<5>,
                               KernelAvx2<6>, KernelAvx2<7>, KernelAvx2<8>};
constexpr KernelTable kBase = {nullptr,       KernelBase<1>, KernelBase<2>,
                               KernelBase<3>, KernelBase<4>, KernelBase<5>,
                               KernelBase<6>, KernelBase<7>, KernelBase<8>};

// The widest kernels this processor runs.
const KernelTable& Kernels() {
  static const KernelTable& kernels = []() -> const KernelTable& {
#if defined(__GNUC__) && defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return kAvx512;
    if (__builtin_cpu_supports("avx2")) return kAvx2;
#endif
    return kBase;
  }();
  return kernels;
}

}  // namespace

double BasisFunction(int32_t i, int32_t k, std::span<const double> knots, double t) {
  if (k < 1 || i < 0 || knots.size() < static_cast<size_t>(i) + static_cast<size_t>(k) + 1) {
    return 0.0;
  }
  // The values N(i + a, j) for a = 0 .. k - j, level by level, in place.
  std::array<double, 64> small;
  std::vector<double> large;
  double* N = small.data();
  if (k > static_cast<int32_t>(small.size())) {
    large.resize(static_cast<size_t>(k));
    N = large.data();
  }
  const double* kn = knots.data() + i;
  for (int64_t a = 0; a < k; ++a) N[a] = (kn[a] <= t && t < kn[a + 1]) ? 1.0 : 0.0;
  for (int64_t j = 2; j <= k; ++j) {
    for (int64_t a = 0; a <= k - j; ++a) N[a] = Combine(kn, a, j, t, N[a], N[a + 1]);
  }
  return N[0];
}

Tmypoi CurvePoint(std::span<const double> knots, int32_t last, int32_t k, double t,
                  std::span<const Tmypoi> controls) {
  if (last < 0 || k < 1 || controls.size() < static_cast<size_t>(last) + 1) return UndefinedPoint();
  NurbsCurve curve;
  curve.Reset(controls.first(static_cast<size_t>(last) + 1), knots, k);
  CurveScratch scratch;
  curve.Prepare(scratch);
  return curve.Point(t, scratch);
}

void UniformKnots(std::span<double> knots, int32_t last, int32_t k) {
  const int64_t end = static_cast<int64_t>(last) + k;
  for (int64_t j = 0; j <= end && j < static_cast<int64_t>(knots.size()); ++j) {
    if (j < k) {
      knots[j] = 0.0;
    } else if (j <= last) {
      knots[j] = static_cast<double>(j - k + 1);
    } else {
      knots[j] = static_cast<double>(static_cast<int64_t>(last) - k + 2);
    }
  }
}

void SampleCurve(int32_t last, int32_t k, std::span<const Tmypoi> controls,
                 std::span<const double> knots, std::span<Tmypoi> samples) {
  const size_t count = samples.size();
  if (count == 0 || last < 0 || controls.size() < static_cast<size_t>(last) + 1) return;
  const Tmypoi& end = controls[static_cast<size_t>(last)];
  samples[count - 1] = Tmypoi{end.x, end.y, end.z, 1.0};
  if (count < 2) return;
  NurbsCurve curve;
  curve.Reset(controls.first(static_cast<size_t>(last) + 1), knots, k);
  CurveScratch scratch;
  curve.Prepare(scratch);
  const double step =
      knots[static_cast<size_t>(last) + static_cast<size_t>(k)] / static_cast<double>(count - 1);
  double t = 0.0;
  for (size_t s = 0; s + 1 < count; ++s) {
    const Tmypoi p = curve.Point(t, scratch);
    samples[s] = Tmypoi{p.x, p.y, p.z, 1.0};
    t += step;
  }
}

void NurbsCurve::Reset(std::span<const Tmypoi> controls, std::span<const double> knots, int32_t k) {
  const size_t n = controls.size();
  k_ = k;
  cx_.resize(n);
  cy_.resize(n);
  cz_.resize(n);
  cw_.resize(n);
  for (size_t i = 0; i < n; ++i) {
    cx_[i] = controls[i].x;
    cy_[i] = controls[i].y;
    cz_[i] = controls[i].z;
    cw_[i] = controls[i].weight;
  }
  fast_ = false;
  if (k < 1 || n == 0) {
    knots_.clear();
    return;
  }
  const size_t m = n + static_cast<size_t>(k);
  knots_.assign(knots.begin(),
                knots.begin() + static_cast<std::ptrdiff_t>(std::min(m, knots.size())));
  knots_.resize(m, knots_.empty() ? 0.0 : knots_.back());

  // The single-span scheme skips terms whose lower-order value is an exact
  // zero. They stay zeros only while every ratio (t - knot) / difference is
  // finite: with non-decreasing knots each numerator is at most the knot
  // range and each non-zero difference at least the smallest positive gap,
  // and rounding keeps both bounds, so range / gap finite is enough.
  double smallestGap = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i + 1 < m; ++i) {
    if (!(knots_[i] <= knots_[i + 1])) return;  // decreasing (or NaN): full triangle
    const double gap = knots_[i + 1] - knots_[i];
    if (gap > 0.0 && gap < smallestGap) smallestGap = gap;
  }
  const double range = knots_[m - 1] - knots_[0];
  fast_ = std::isfinite(range) && (range == 0.0 || std::isfinite(range / smallestGap));
}

void NurbsCurve::Prepare(CurveScratch& scratch) const {
  const size_t need = cx_.size() + static_cast<size_t>(std::max(k_, 1));
  if (scratch.basis.size() < need) scratch.basis.resize(need);
}

int64_t NurbsCurve::SpanOf(double t) const {
  return (std::upper_bound(knots_.begin(), knots_.end(), t) - knots_.begin()) - 1;
}

Tmypoi NurbsCurve::Point(double t, CurveScratch& scratch) const {
  if (k_ < 1 || cx_.empty()) return UndefinedPoint();
  if (fast_ && t >= knots_.front() && t < knots_.back()) {
    return PointInSpan(t, SpanOf(t), scratch.basis.data());
  }
  return PointFullTriangle(t, scratch.basis.data());
}

Tmypoi NurbsCurve::PointInSpan(double t, int64_t s, double* N) const {
  const int64_t k = k_;
  const int64_t last = static_cast<int64_t>(cx_.size()) - 1;
  const double* kn = knots_.data();
  // N[a] holds the basis value of index base + a. At level j the triangle
  // covers indices s - j + 1 .. s, cut to those the recursion reaches from
  // the sum over 0 .. last (0 <= index <= last + k - j).
  const int64_t base = s - k + 1;
  const auto low = [&](int64_t j) { return std::max(k - j, -base); };
  const auto high = [&](int64_t j) { return std::min(k - 1, last + k - j - base); };
  N[k - 1] = 1.0;  // order 1: only the function of span s
  for (int64_t j = 2; j <= k; ++j) {
    const int64_t prevLow = low(j - 1), prevHigh = high(j - 1);
    for (int64_t a = low(j); a <= high(j); ++a) {
      const int64_t i = base + a;
      // A term whose lower value lies outside the triangle is an exact zero.
      // Inside it, the knot difference is positive: knots[i] <= knots[s] <
      // knots[s + 1] <= knots[i + j - 1] (and likewise on the right).
      const bool hasLeft = a >= prevLow && a <= prevHigh;
      const bool hasRight = a + 1 >= prevLow && a + 1 <= prevHigh;
      if (hasLeft && hasRight) {
        N[a] = (t - kn[i]) / (kn[i + j - 1] - kn[i]) * N[a] +
               (kn[i + j] - t) / (kn[i + j] - kn[i + 1]) * N[a + 1];
      } else if (hasLeft) {
        N[a] = (t - kn[i]) / (kn[i + j - 1] - kn[i]) * N[a];
      } else if (hasRight) {
        N[a] = (kn[i + j] - t) / (kn[i + j] - kn[i + 1]) * N[a + 1];
      } else {
        N[a] = 0.0;
      }
    }
  }
  return WeightedSum(N, base, base + low(k), base + high(k));
}

Tmypoi NurbsCurve::PointFullTriangle(double t, double* N) const {
  const int64_t k = k_;
  const int64_t last = static_cast<int64_t>(cx_.size()) - 1;
  const double* kn = knots_.data();
  // Order 1 for indices 0 .. last + k - 1, then each order j for 0 .. last + k - j.
  for (int64_t i = 0; i <= last + k - 1; ++i) N[i] = (kn[i] <= t && t < kn[i + 1]) ? 1.0 : 0.0;
  for (int64_t j = 2; j <= k; ++j) {
    for (int64_t i = 0; i <= last + k - j; ++i) N[i] = Combine(kn, i, j, t, N[i], N[i + 1]);
  }
  return WeightedSum(N, 0, 0, last);
}

Tmypoi NurbsCurve::WeightedSum(const double* N, int64_t offset, int64_t first, int64_t last) const {
  double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
  for (int64_t i = first; i <= last; ++i) {
    const double b = N[i - offset] * cw_[i];
    x += cx_[i] * b;
    y += cy_[i] * b;
    z += cz_[i] * b;
    w += b;
  }
  if (w == 0.0) return UndefinedPoint();
  return Tmypoi{x / w, y / w, z / w, w};
}

void NurbsCurve::InteriorRun(int64_t s, const double* t, size_t count, double* x, double* y) const {
  const int64_t start = s - k_ + 1;
  Kernels()[static_cast<size_t>(k_)](knots_.data() + start, cx_.data() + start, cy_.data() + start,
                                     cw_.data() + start, t, count, x, y);
}

void NurbsCurve::PointsXY(std::span<const double> t, double* x, double* y, CurveScratch& scratch,
                          bool ascending) const {
  const size_t count = t.size();
  const int64_t last = static_cast<int64_t>(cx_.size()) - 1;
  size_t q = 0;
  while (q < count) {
    const double t0 = t[q];
    if (!fast_ || k_ < 1 || last < 0 || !(t0 >= knots_.front() && t0 < knots_.back())) {
      const Tmypoi p = Point(t0, scratch);
      x[q] = p.x;
      y[q] = p.y;
      ++q;
      continue;
    }
    const int64_t s = SpanOf(t0);
    const double from = knots_[static_cast<size_t>(s)], to = knots_[static_cast<size_t>(s) + 1];
    size_t end = q + 1;
    if (ascending) {
      end = static_cast<size_t>(
          std::lower_bound(t.begin() + static_cast<std::ptrdiff_t>(end), t.end(), to) - t.begin());
    } else {
      while (end < count && t[end] >= from && t[end] < to) ++end;
    }
    if (k_ <= kKernelOrders && s >= k_ - 1 && s <= last) {
      InteriorRun(s, t.data() + q, end - q, x + q, y + q);
    } else {
      for (size_t r = q; r < end; ++r) {
        const Tmypoi p = PointInSpan(t[r], s, scratch.basis.data());
        x[r] = p.x;
        y[r] = p.y;
      }
    }
    q = end;
  }
}

}  // namespace tessarin
