// SPDX-License-Identifier: MIT
// The sample loops, compiled for three instruction sets and chosen when the
// program starts. Lane operations are IEEE operations on each double, so
// every variant gives the same bits.
#include "deviation_kernels.h"

#include <cmath>
#include <limits>

#if defined(__GNUC__) && defined(__x86_64__)
#define TESSARIN_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define TESSARIN_VECTOR_CLONES
#endif

namespace tessarin::kernels {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kLargest = std::numeric_limits<double>::max();  // not inf, not NaN
// The side-of-ray test decides alone where |cross| exceeds this share of
// the vectors' sizes; the atan2 decision cannot differ there.
constexpr double kSideMargin = 1e-9;
// Below this, products of coordinates lose their relative precision
// (subnormal numbers); such samples go by atan2 too.
constexpr double kTinyProduct = 1e-280;

}  // namespace

TESSARIN_VECTOR_CLONES
void FillParameters(double* params, int count, double u1, double span, double first, double tests) {
  for (int q = 0; q < count; ++q) params[q] = u1 + span * (first + static_cast<double>(q)) / tests;
}

TESSARIN_VECTOR_CLONES
void ArcPass(const double* __restrict x, const double* __restrict y, int count, const ArcSides& arc,
             double* __restrict distance) {
  // Locals, and & and | in place of && and ||, keep the loop free of
  // branches so that it vectorises.
  const double mx = arc.centre.x, my = arc.centre.y, r = arc.radius;
  const double x1 = arc.start.x, y1 = arc.start.y, x3 = arc.end.x, y3 = arc.end.y;
  const double startX = arc.startRay.x, startY = arc.startRay.y;
  const double endX = arc.endRay.x, endY = arc.endRay.y;
  const double startSize = arc.startSize, endSize = arc.endSize;
  const bool bySides = arc.bySides;
  for (int i = 0; i < count; ++i) {
    const double qx = x[i], qy = y[i];
    const bool finite = (std::fabs(qx) <= kLargest) & (std::fabs(qy) <= kLargest);
    const double vx = qx - mx;
    const double vy = qy - my;
    const double size = std::fabs(vx) + std::fabs(vy);
    const double fromStart = startX * vy - startY * vx;  // startRay x v
    const double toEnd = vx * endY - vy * endX;          // v x endRay
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

TESSARIN_VECTOR_CLONES
void SegmentPass(const double* __restrict x, const double* __restrict y, int count, const Arc& arc,
                 double* __restrict distance) {
  const double x1 = arc.x1, y1 = arc.y1, x3 = arc.x3, y3 = arc.y3;
  const double dx = x3 - x1;
  const double dy = y3 - y1;
  const double length2 = dx * dx + dy * dy;
  const bool along = length2 > 0.0;
  for (int i = 0; i < count; ++i) {
    const double qx = x[i], qy = y[i];
    const bool finite = (std::fabs(qx) <= kLargest) & (std::fabs(qy) <= kLargest);
    // The foot of the perpendicular at t along the segment, the nearer end
    // where t falls outside [0, 1].
    const double t = along ? ((qx - x1) * dx + (qy - y1) * dy) / length2 : 0.0;
    const double px = x1 + t * dx, py = y1 + t * dy;
    const double toStart = (qx - x1) * (qx - x1) + (qy - y1) * (qy - y1);
    const double toEnd = (qx - x3) * (qx - x3) + (qy - y3) * (qy - y3);
    const double toFoot = (qx - px) * (qx - px) + (qy - py) * (qy - py);
    const double chosen = t <= 0.0 ? toStart : (t >= 1.0 ? toEnd : toFoot);
    distance[i] = finite ? std::sqrt(chosen) : kNaN;
  }
}

TESSARIN_VECTOR_CLONES
Verdict Classify(const double* __restrict distance, int count, const Limits& limits) {
  const double noise = limits.noise, maxunits = limits.maxunits, allowed = limits.allowed;
  int out = 0, in = 0;
  for (int i = 0; i < count; ++i) {
    const double v = distance[i];
    const bool loud = v > noise;
    const bool inside = (v < maxunits) & (v < allowed);
    out |= loud & !inside;
    in |= loud & inside;
  }
  return Verdict{out != 0, in != 0};
}

}  // namespace tessarin::kernels
