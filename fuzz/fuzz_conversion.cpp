// SPDX-License-Identifier: MIT
// The whole conversion run on arbitrary bytes, in memory: it completes (or
// stops at the harness's cancel), the output is the same with and without
// the helper thread, and a drawing without splines comes back line for line.
//
// The first byte picks the settings and how the copy pass is fed; the rest
// is the drawing. Counts are small ("3" arc tests, "10" spline tests) so an
// input runs in milliseconds. What the fuzzer can ask of the geometry is
// capped by the harness: a spline of a higher degree or more points than
// below is handed on unfitted, at most one fit-point polygon is estimated
// per input, from a short search (an engine option), and the host cancels
// after kPumpLimit fitting steps. Limits that no arc can meet ("0", "-1",
// "1e-300") halve every span down to the depth limit, which makes a step a
// thousand times dearer: there the host cancels after kPumpLimitAtDepthLimit
// steps.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "conversion_run.h"
#include "normalised_lines.h"
#include "test_streams.h"

namespace {

constexpr int32_t kMaxDegree = 12;
constexpr size_t kMaxControlPoints = 64;
constexpr size_t kMaxFitPoints = 8;
constexpr int32_t kFitPointSearches = 50;
constexpr int kPumpLimit = 600;
constexpr int kPumpLimitAtDepthLimit = 4;

// A host that shows nothing, counts the fitting steps and cancels after a
// fixed number of them.
class QuietHost final : public tessarin::Host {
 public:
  QuietHost(int pumpLimit, tessarin::CancelToken& cancel)
      : pumpLimit_(pumpLimit), cancel_(cancel) {}
  void ShowStatus(int, const std::string&) override {}
  void ShowProgress(int position) override {
    if (position < 0 || position > 100) std::abort();
  }
  void ShowMessageBox(int, const std::string&) override { ++boxes; }
  void Pump() override {
    if (++pumps >= pumpLimit_) cancel_.Request();
  }

  int pumps = 0;
  int boxes = 0;

 private:
  int pumpLimit_;
  tessarin::CancelToken& cancel_;
};

struct Result {
  tessarin::RunReport report;
  std::string output;
  int pumps = 0;
};

Result Run(std::string_view dxf, const tessarin::ConversionSettings& settings, size_t chunk,
           bool parallel, int pumpLimit) {
  int estimates = 0;
  tessarin::EngineOptions options;
  options.seed = 12345;
  // A short fit-point search: the full one costs seconds under the sanitizers.
  options.fitPointSearches = kFitPointSearches;
  options.parallel = parallel;
  options.fitter = [&estimates](const tessarin::SplineGeometry& spline,
                                tessarin::FitContext& context) -> int64_t {
    if (spline.degree > kMaxDegree || spline.ctrlpoints.size() > kMaxControlPoints) return 0;
    if (spline.ctrlpoints.empty() && spline.fitpoints.size() >= 4) {
      if (spline.fitpoints.size() > kMaxFitPoints || ++estimates > 1) return 0;
    }
    return tessarin::FitSpline(spline, context);
  };
  tessarin::MemorySource scan(dxf);
  tessarin::testing::ChunkedSource copy(dxf, chunk);
  tessarin::MemorySink sink;
  tessarin::CancelToken cancel;
  QuietHost host(pumpLimit, cancel);
  Result result;
  result.report = tessarin::ConvertStreams(scan, copy, sink, settings, host, cancel, options);
  result.output = sink.bytes();
  result.pumps = host.pumps;
  if (host.boxes != 0) std::abort();  // in memory nothing can fail to open or write
  return result;
}

bool HasSplineStart(std::string_view dxf) {
  // Any line that trims to "SPLINE" may be a spline start; only then may the
  // output differ from the input's lines.
  return dxf.find("SPLINE") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kMaxUnits[] = {"1", "0,5", "0.01", "10", "0", "1e-300", "-1", "x"};
  static const char* const kMaxPercent[] = {"1", "0,1", "100", "0"};
  static const size_t kChunks[] = {4096, 1, 7, 65536};
  const uint8_t choice = data[0];
  tessarin::SettingTexts texts;
  texts.arctests = "3";
  texts.splinetests = "10";
  texts.maxunits = kMaxUnits[choice & 7];
  texts.maxpercent = kMaxPercent[(choice >> 3) & 3];
  texts.keepsplines = (choice & 0x20) != 0;
  const size_t chunk = kChunks[(choice >> 6) & 3];
  const int units = choice & 7;
  const bool unmet = (units >= 4 && units <= 6) || ((choice >> 3) & 3) == 3;
  const int pumpLimit = unmet ? kPumpLimitAtDepthLimit : kPumpLimit;
  const std::string_view dxf(reinterpret_cast<const char*>(data + 1), size - 1);

  const tessarin::ConversionSettings settings = tessarin::ParseSettings(texts);
  const Result serial = Run(dxf, settings, chunk, false, pumpLimit);
  const auto outcome = serial.report.outcome;
  if (outcome != tessarin::RunOutcome::kCompleted && outcome != tessarin::RunOutcome::kCancelled) {
    std::abort();
  }
  if (!HasSplineStart(dxf)) {
    if (outcome != tessarin::RunOutcome::kCompleted || serial.report.splines != 0) std::abort();
    if (serial.output != tessarin::testing::Normalised(dxf)) std::abort();
    return 0;
  }
  // The helper thread changes neither the output, the pump calls nor the
  // minima.
  const Result parallel = Run(dxf, settings, chunk, true, pumpLimit);
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  const tessarin::RunMinima& one = serial.report.minima;
  const tessarin::RunMinima& two = parallel.report.minima;
  if (parallel.report.outcome != outcome || parallel.output != serial.output ||
      parallel.pumps != serial.pumps || !same(one.minpercent, two.minpercent) ||
      !same(one.mindeviation, two.mindeviation) || one.percentUnset != two.percentUnset ||
      parallel.report.arcs != serial.report.arcs) {
    std::abort();
  }
  return 0;
}
