// SPDX-License-Identifier: MIT
// The engine's fit against the plain reference: the same polyline text, the
// same pump calls and the same minima, bit for bit, on random curves and on
// whole conversions; and the same with and without the second core.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "dxf_builder.h"
#include "fit_harness.h"
#include "random_curves.h"

namespace tessarin {
namespace {

using testing::Fit;
using testing::FitOutcome;
using testing::FitRequest;
using testing::Implementation;
using testing::KnotKind;

bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

void ExpectSame(const FitOutcome& engine, const FitOutcome& reference) {
  EXPECT_EQ(engine.entity, reference.entity);
  EXPECT_EQ(engine.arcs, reference.arcs);
  EXPECT_EQ(engine.pumps, reference.pumps);
  EXPECT_TRUE(SameBits(engine.minima.minpercent, reference.minima.minpercent));
  EXPECT_TRUE(SameBits(engine.minima.mindeviation, reference.minima.mindeviation));
  EXPECT_EQ(engine.minima.percentUnset, reference.minima.percentUnset);
}

ConversionSettings Settings(int32_t arctests, int32_t splinetests, double maxpercent,
                            double maxunits) {
  ConversionSettings settings;
  settings.arctests = arctests;
  settings.splinetests = splinetests;
  settings.maxpercent = maxpercent;
  settings.maxunits = maxunits;
  return settings;
}

TEST(FitExactness, RandomCurvesFitAsTheReference) {
  std::mt19937_64 random(1);
  const KnotKind kinds[] = {KnotKind::kClamped, KnotKind::kUnclamped, KnotKind::kPeriodic,
                            KnotKind::kRepeated};
  const ConversionSettings settings[] = {
      Settings(10, 1000, 1.0, 1.0), Settings(10, 1000, 0.2, 0.05), Settings(3, 100, 1.0, 1.0),
      Settings(25, 333, 5.0, 10.0), Settings(10, 200, 0.5, 1e-3),
  };
  const double scales[] = {1e-3, 1.0, 30.0, 1e4, 1e7};
  int fits = 0, arcs = 0;
  for (int32_t degree = 1; degree <= 5; ++degree) {
    for (const KnotKind kind : kinds) {
      for (const bool rational : {false, true}) {
        for (int pick = 0; pick < 2; ++pick) {
          const double scale = scales[random() % std::size(scales)];
          const int32_t count = degree + 1 + static_cast<int32_t>(random() % 8);
          const testing::RandomCurve curve =
              testing::MakeRandomCurve(random, degree, count, kind, rational, scale);
          // The unit limit grows with the drawing, so that big curves are
          // not all cut down to the depth limit (maxunits 0 has its test).
          ConversionSettings chosen = settings[random() % std::size(settings)];
          chosen.maxunits *= std::max(1.0, scale / 30.0);
          if (degree >= 4) chosen.splinetests = std::min(chosen.splinetests, 400);
          SCOPED_TRACE(curve.name + " maxunits " + std::to_string(chosen.maxunits));
          const SplineEntity spline = testing::SplineOf(curve.curve);
          const FitOutcome engine = Fit(spline, FitRequest{chosen});
          ExpectSame(engine, Fit(spline, FitRequest{chosen, Implementation::kReference}));
          ++fits;
          arcs += static_cast<int>(engine.arcs);
        }
      }
    }
  }
  EXPECT_EQ(fits, 5 * 4 * 2 * 2);
  EXPECT_GT(arcs, 10 * fits);  // the curves are fitted, not skipped
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(FitExactness, WholeConversionsOfTheTestFilesAsTheReference) {
  const SettingTexts defaults;
  SettingTexts fineTexts;
  fineTexts.maxpercent = "0,2";
  fineTexts.maxunits = "0,05";
  fineTexts.keepsplines = true;
  const SettingTexts& fine = fineTexts;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TESSARIN_TEST_DATA)) {
    if (entry.path().extension() != ".dxf") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string input = ReadFile(entry.path());
    for (const SettingTexts* texts : {&defaults, &fine}) {
      const testing::ConversionOutcome engine =
          testing::Convert(input, *texts, Implementation::kEngine);
      const testing::ConversionOutcome reference =
          testing::Convert(input, *texts, Implementation::kReference);
      EXPECT_EQ(engine.report.outcome, RunOutcome::kCompleted);
      EXPECT_EQ(engine.output, reference.output);
      EXPECT_EQ(engine.pumps, reference.pumps);
      EXPECT_EQ(engine.report.arcs, reference.report.arcs);
      EXPECT_TRUE(
          SameBits(engine.report.minima.mindeviation, reference.report.minima.mindeviation));
      EXPECT_TRUE(SameBits(engine.report.minima.minpercent, reference.report.minima.minpercent));
      EXPECT_EQ(engine.events, reference.events);  // the result fields' texts among them
    }
    ++files;
  }
  EXPECT_GE(files, 14);
}

TEST(FitExactness, GeneratedFileWithFitPointSplinesAsTheReference) {
  std::mt19937_64 random(77);
  testing::DxfBuilder dxf;
  for (int s = 0; s < 4; ++s) {
    std::vector<Tmypoi> fit;
    const int m = 4 + s;
    for (int i = 0; i < m; ++i) {
      fit.push_back(
          Tmypoi{10.0 * i + double(random() % 100) / 50, double(random() % 1000) / 100, 0, 1});
    }
    dxf.FitSpline(fit);
    dxf.Spline(testing::MakeRandomCurve(random, 3, 8, KnotKind::kClamped, s % 2 == 1, 20.0).curve);
  }
  const std::string input = dxf.Finish();
  for (const uint64_t seed : {1u, 2u}) {
    const testing::ConversionOutcome engine =
        testing::Convert(input, SettingTexts{}, Implementation::kEngine, true, seed);
    const testing::ConversionOutcome reference =
        testing::Convert(input, SettingTexts{}, Implementation::kReference, true, seed);
    EXPECT_EQ(engine.output, reference.output);
    EXPECT_EQ(engine.pumps, reference.pumps);
    EXPECT_EQ(engine.report.splines, 8);
    EXPECT_GT(engine.report.arcs, 8);
  }
}

TEST(FitExactness, SecondCoreChangesNothing) {
  const std::string input = testing::MixedSplineFile(60, 5);
  for (const char* maxunits : {"1", "0,01"}) {
    SettingTexts texts;
    texts.maxunits = maxunits;
    const testing::ConversionOutcome serial =
        testing::Convert(input, texts, Implementation::kEngine, false);
    const testing::ConversionOutcome parallel =
        testing::Convert(input, texts, Implementation::kEngine, true);
    EXPECT_EQ(serial.output, parallel.output);
    EXPECT_EQ(serial.pumps, parallel.pumps);
    EXPECT_EQ(serial.report.splines, 60);
  }
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

TEST(FitExactness, CancelWithTheSecondCoreStopsLikeWithOne) {
  std::mt19937_64 random(9);
  const testing::RandomCurve curve =
      testing::MakeRandomCurve(random, 3, 40, testing::KnotKind::kClamped, true, 50.0);
  const SplineEntity spline = testing::SplineOf(curve.curve);
  ConversionSettings fine;
  fine.maxunits = 0.01;
  const testing::FitOutcome whole = testing::Fit(spline, testing::FitRequest{fine});
  ASSERT_GT(whole.pumps, 100);
  for (int at = 1; at < whole.pumps; at += whole.pumps / 37 + 1) {
    SCOPED_TRACE(at);
    testing::FitRequest serial{fine, testing::Implementation::kEngine, false};
    serial.cancelAtPump = at;
    testing::FitRequest parallel{fine, testing::Implementation::kEngine, true};
    parallel.cancelAtPump = at;
    const testing::FitOutcome one = testing::Fit(spline, serial);
    const testing::FitOutcome two = testing::Fit(spline, parallel);
    EXPECT_EQ(one.entity, two.entity);
    EXPECT_EQ(one.pumps, two.pumps);
    EXPECT_TRUE(two.cancelled);
  }
}

}  // namespace
}  // namespace tessarin
