// SPDX-License-Identifier: MIT
// Writes generated splines as a small DXF file (an ENTITIES section only),
// for whole conversions in the tests and the benchmark.
#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "fit_point_polygon.h"
#include "random_curves.h"
#include "tmypoi.h"

namespace tessarin::testing {

class DxfBuilder {
 public:
  DxfBuilder() {
    Pair("0", "SECTION");
    Pair("2", "ENTITIES");
  }

  // A SPLINE with control points, knots and weights ("41" after each point).
  void Spline(const WorkingCurve& curve, bool closed = false) {
    Start();
    Pair("70", closed ? "11" : "8");
    Pair("71", std::to_string(curve.degree));
    Pair("72", std::to_string(curve.knots.size()));
    Pair("73", std::to_string(curve.controls.size()));
    for (const double knot : curve.knots) Pair("40", Number(knot));
    for (const Tmypoi& p : curve.controls) {
      Pair("10", Number(p.x));
      Pair("20", Number(p.y));
      Pair("30", "0.0");
      if (p.weight != 1.0) Pair("41", Number(p.weight));
    }
  }

  // A SPLINE given by fit points only.
  void FitSpline(const std::vector<Tmypoi>& fit) {
    Start();
    Pair("70", "8");
    Pair("71", "3");
    Pair("74", std::to_string(fit.size()));
    for (const Tmypoi& p : fit) {
      Pair("11", Number(p.x));
      Pair("21", Number(p.y));
      Pair("31", "0.0");
    }
  }

  std::string Finish() {
    Pair("0", "ENDSEC");
    Pair("0", "EOF");
    return text_;
  }

 private:
  void Start() {
    Pair("0", "SPLINE");
    Pair("5", Hex(++handle_));
    Pair("100", "AcDbEntity");
    Pair("8", "0");
    Pair("100", "AcDbSpline");
  }
  void Pair(const std::string& code, const std::string& value) {
    text_ += code + "\r\n" + value + "\r\n";
  }
  static std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
  }
  static std::string Hex(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", value);
    return buffer;
  }

  std::string text_;
  unsigned handle_ = 0x40;
};

// A file of `count` mixed splines: degrees 1 to 5 (mostly 2 and 3), 4 to 60
// control points, clamped, unclamped, periodic and repeated knots, a third
// rational, control steps from 1 to `largest` (at most 1000) units.
inline std::string MixedSplineFile(int count, uint64_t seed, double largest = 1000.0) {
  std::mt19937_64 random(seed);
  DxfBuilder dxf;
  const int32_t degrees[] = {1, 2, 2, 3, 3, 3, 3, 4, 5};
  const KnotKind kinds[] = {KnotKind::kClamped,   KnotKind::kClamped,  KnotKind::kClamped,
                            KnotKind::kUnclamped, KnotKind::kPeriodic, KnotKind::kRepeated};
  const double scales[] = {1.0, 10.0, 100.0, 1000.0};
  for (int s = 0; s < count; ++s) {
    const int32_t degree = degrees[random() % std::size(degrees)];
    const int32_t points = degree + 1 + static_cast<int32_t>(random() % 56);
    const KnotKind kind = kinds[random() % std::size(kinds)];
    const RandomCurve curve =
        MakeRandomCurve(random, degree, points, kind, random() % 3 == 0,
                        std::min(largest, scales[random() % std::size(scales)]));
    dxf.Spline(curve.curve, kind == KnotKind::kPeriodic);
  }
  return dxf.Finish();
}

}  // namespace tessarin::testing
