// SPDX-License-Identifier: MIT
// Whole conversions with the program's fit against the plain reference: the
// same output, pump calls, events and minima, bit for bit; and the same with
// and without the second core.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "conversion_harness.h"
#include "dxf_builder.h"
#include "random_curves.h"

namespace tessarin {
namespace {

using testing::Implementation;
using testing::KnotKind;

bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
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
