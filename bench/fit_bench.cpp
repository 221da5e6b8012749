// SPDX-License-Identifier: MIT
// Spline fitting speed: whole conversions with default settings, by the
// engine (one and two cores) and by the plain reference on the same input in
// the same run. Prints splines and fitting steps per second and the ratios;
// checks on the way that all three write the same text.
//
//   fit_bench [--quick]   --quick skips the reference on the slow inputs
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_harness.h"
#include "dxf_builder.h"

namespace {

using tessarin::SettingTexts;
using tessarin::testing::ConversionOutcome;
using tessarin::testing::Convert;
using tessarin::testing::Implementation;

struct Timed {
  ConversionOutcome outcome;
  double seconds = 0.0;
};

// One conversion; the engine's best of three (after a run that warms the
// caches up), since the machine is shared and its figures are short.
Timed Run(const std::string& input, Implementation implementation, bool parallel) {
  const int runs = implementation == Implementation::kEngine ? 4 : 1;
  Timed best;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    Timed timed;
    timed.outcome = Convert(input, SettingTexts{}, implementation, parallel, 12345);
    timed.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (runs > 1 && r == 0) continue;
    if (best.seconds == 0.0 || timed.seconds < best.seconds) best = std::move(timed);
  }
  return best;
}

void Report(const char* name, const std::string& input, bool withReference) {
  const Timed serial = Run(input, Implementation::kEngine, false);
  const Timed parallel = Run(input, Implementation::kEngine, true);
  const double splines = static_cast<double>(parallel.outcome.report.splines);
  const double steps = static_cast<double>(parallel.outcome.pumps);
  std::printf("%s: %.0f splines, %.0f fitting steps, %lld arcs\n", name, splines, steps,
              static_cast<long long>(parallel.outcome.report.arcs));
  std::printf("  engine, 2 cores : %9.4f s  %10.3g splines/s  %12.0f steps/s\n", parallel.seconds,
              splines / parallel.seconds, steps / parallel.seconds);
  std::printf("  engine, 1 core  : %9.4f s  %10.3g splines/s  %12.0f steps/s\n", serial.seconds,
              splines / serial.seconds, steps / serial.seconds);
  const bool same = serial.outcome.output == parallel.outcome.output &&
                    serial.outcome.pumps == parallel.outcome.pumps;
  if (!withReference) {
    std::printf("  reference       : skipped   (1 and 2 cores %s)\n\n",
                same ? "identical" : "DIFFER");
    return;
  }
  const Timed reference = Run(input, Implementation::kReference, true);
  const bool identical = same && reference.outcome.output == parallel.outcome.output &&
                         reference.outcome.pumps == parallel.outcome.pumps;
  std::printf("  reference       : %9.4f s  %10.3g splines/s  %12.0f steps/s\n", reference.seconds,
              splines / reference.seconds, steps / reference.seconds);
  std::printf("  ratio to the reference: %.0fx with 2 cores, %.0fx with 1; output %s\n\n",
              reference.seconds / parallel.seconds, reference.seconds / serial.seconds,
              identical ? "identical" : "DIFFERS");
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(TESSARIN_TEST_DATA)) {
    if (entry.path().extension() == ".dxf") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  // The bundled examples, one after the other in one measurement.
  {
    std::string all;
    double engineSeconds = 0.0, referenceSeconds = 0.0;
    long long splines = 0, steps = 0;
    for (const fs::path& path : files) {
      const std::string input = ReadFile(path);
      const Timed engine = Run(input, Implementation::kEngine, true);
      const Timed reference = Run(input, Implementation::kReference, true);
      if (engine.outcome.output != reference.outcome.output) {
        std::printf("  %s: OUTPUT DIFFERS\n", path.filename().c_str());
      }
      engineSeconds += engine.seconds;
      referenceSeconds += reference.seconds;
      splines += engine.outcome.report.splines;
      steps += engine.outcome.pumps;
    }
    std::printf("bundled examples (%zu files): %lld splines, %lld fitting steps\n", files.size(),
                splines, steps);
    std::printf("  engine, 2 cores : %9.4f s  %10.3g splines/s  %12.0f steps/s\n", engineSeconds,
                splines / engineSeconds, steps / engineSeconds);
    std::printf("  reference       : %9.4f s  %10.3g splines/s  %12.0f steps/s\n", referenceSeconds,
                splines / referenceSeconds, steps / referenceSeconds);
    std::printf("  ratio to the reference: %.0fx\n\n", referenceSeconds / engineSeconds);
  }
  Report("generated file of 600 mixed splines", tessarin::testing::MixedSplineFile(600, 2024),
         true);
  {
    std::mt19937_64 random(50);
    tessarin::testing::DxfBuilder dxf;
    for (int s = 0; s < 40; ++s) {
      dxf.Spline(tessarin::testing::MakeRandomCurve(
                     random, 3, 50, tessarin::testing::KnotKind::kClamped, s % 4 == 0, 20.0)
                     .curve);
    }
    Report("40 cubic splines of 50 control points", dxf.Finish(), true);
  }
  {
    std::mt19937_64 random(51);
    std::vector<tessarin::Tmypoi> fit;
    for (int i = 0; i < 50; ++i) {
      fit.push_back(
          tessarin::Tmypoi{4.0 * i, 10.0 * std::sin(i * 0.4) + double(random() % 100) / 100, 0, 1});
    }
    tessarin::testing::DxfBuilder dxf;
    dxf.FitSpline(fit);
    Report("one spline of 50 fit points", dxf.Finish(), !quick);
  }
  return 0;
}
