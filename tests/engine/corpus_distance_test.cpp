// SPDX-License-Identifier: MIT
// Every spline of the real files converts, and each control-point spline
// stays within the 1-unit limit of its polyline both ways: the converted
// files, splines kept, are measured by spline_distance.py, which evaluates
// the splines with scipy independently of the engine.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_harness.h"
#include "dxf_builder.h"

namespace tessarin {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A Python interpreter that has numpy and scipy, or an empty string.
std::string PythonWithScipy() {
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    const std::string command =
        std::string(candidate) +
        " -c \"import numpy, scipy.interpolate, scipy.spatial\" 2>/dev/null";
    if (std::system(command.c_str()) == 0) return candidate;
  }
  return {};
}

// Lines that say NAN or INF, which no number we write may be.
int NotANumberLines(const std::string& text) {
  int count = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "NAN" || line == "INF" || line == "-INF") ++count;
  }
  return count;
}

struct Measured {
  std::string kind;
  double distance = 0.0;
  double spacing = 0.0;
};

void ConvertAndMeasure(const fs::path& folder, const std::string& label) {
  const std::string python = PythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with numpy and scipy is missing (python3-scipy)";
  const fs::path out = fs::path(TESSARIN_BINARY_DIR) / "corpus_distance" / label;
  fs::create_directories(out);
  SettingTexts texts;  // the default settings: 1 %, 1 unit, 10 and 1000 tests
  texts.keepsplines = true;
  std::map<std::string, int64_t> splines;
  std::string arguments;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".dxf") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string input = ReadFile(entry.path());
    const testing::ConversionOutcome converted =
        testing::Convert(input, texts, testing::Implementation::kEngine);
    ASSERT_EQ(converted.report.outcome, RunOutcome::kCompleted);
    EXPECT_EQ(NotANumberLines(converted.output), NotANumberLines(input));
    const fs::path written = out / entry.path().filename();
    std::ofstream(written, std::ios::binary) << converted.output;
    if (converted.report.splines == 0) continue;
    splines[written.string()] = converted.report.splines;
    arguments += " '" + written.string() + "'";
  }
  ASSERT_FALSE(splines.empty());
  const std::string script = std::string(TESSARIN_SOURCE_DIR) + "/tests/engine/spline_distance.py";
  FILE* pipe = popen((python + " '" + script + "'" + arguments).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::map<std::string, int64_t> seen;
  int measured = 0;
  double largest = 0.0;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::istringstream line(buffer);
    std::string file, kind, distance, spacing;
    int64_t index = 0;
    line >> file >> index >> kind >> distance >> spacing;
    ++seen[file];
    if (kind != "control") continue;
    SCOPED_TRACE(file + " spline " + std::to_string(index));
    const double d = std::stod(distance), h = std::stod(spacing);
    // The sampling may add up to h to the distance.
    EXPECT_LE(d, 1.0 + h);
    largest = std::max(largest, d);
    ++measured;
  }
  EXPECT_EQ(pclose(pipe), 0);
  // The script saw every spline the run converted.
  EXPECT_EQ(seen, splines);
  std::printf("%s: %d control-point splines measured, largest two-sided distance %.4f\n",
              label.c_str(), measured, largest);
  EXPECT_GT(measured, 0);
}

TEST(CorpusDistance, TestFilesStayWithinOneUnit) { ConvertAndMeasure(TESSARIN_TEST_DATA, "data"); }

TEST(CorpusDistance, GeneratedSplinesStayWithinOneUnit) {
  // Continuous splines of every kind the comparisons use: degrees 1 to 5,
  // unclamped and periodic knots, corners, rational weights.
  const fs::path folder = fs::path(TESSARIN_BINARY_DIR) / "corpus_distance" / "generated_input";
  fs::create_directories(folder);
  std::ofstream(folder / "mixed.dxf", std::ios::binary) << testing::MixedSplineFile(80, 31, 30.0);
  ConvertAndMeasure(folder, "generated");
}

TEST(CorpusDistance, SharedCorpusStaysWithinOneUnit) {
  if (!fs::is_directory(TESSARIN_SHARED_CORPUS)) {
    GTEST_SKIP() << "shared corpus not found at " << TESSARIN_SHARED_CORPUS;
  }
  ConvertAndMeasure(TESSARIN_SHARED_CORPUS, "shared");
}

}  // namespace
}  // namespace tessarin
