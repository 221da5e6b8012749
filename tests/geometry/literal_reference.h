// SPDX-License-Identifier: MIT
// A deliberately plain implementation of the geometry, each formula written
// out the way it reads: recursive Cox-de Boor over all n basis functions,
// every distance with its own root, every sample scanned. The tests and the
// benchmark compare the program's fast code with it bit for bit.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "arc.h"
#include "fit_point_polygon.h"
#include "fit_walk.h"
#include "tmypoi.h"

namespace tessarin::reference {

double BasisFunction(int32_t i, int32_t k, const std::vector<double>& knots, double t);
Tmypoi CurvePoint(const std::vector<double>& knots, int32_t last, int32_t k, double t,
                  const std::vector<Tmypoi>& controls);
void UniformKnots(std::vector<double>& knots, int32_t last, int32_t k);
void SampleCurve(int32_t last, int32_t k, const std::vector<Tmypoi>& controls,
                 const std::vector<double>& knots, std::vector<Tmypoi>& samples, int32_t count);

// The search's draws: the same 64-bit Mersenne Twister and the same
// rejection rule, written out on their own.
class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}
  uint64_t R(uint64_t r);
  double Offset(double extent);  // R(range) / 500, range nearest to 1000 x extent

 private:
  std::mt19937_64 engine_;
};

WorkingCurve EstimateControlPolygon(const std::vector<Tmypoi>& fitpoints, Random& random,
                                    int32_t iterations = 5000);

Arc ArcFromThreePoints(double x1, double y1, double x2, double y2, double x3, double y3);

// The whole fit of one spline, with the pump once per step.
int64_t FitSpline(const SplineGeometry& spline, FitContext& context, Random& random);

// The same with an already built curve (no fit-point estimation).
int64_t FitCurve(const WorkingCurve& curve, FitContext& context);

// Every fitting step the reference makes, in order, for tests of the walk.
struct StepRecord {
  int32_t depth;
  double u1, u2, u3;
};
extern std::vector<StepRecord>* stepLog;

}  // namespace tessarin::reference
