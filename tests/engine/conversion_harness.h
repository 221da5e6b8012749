// SPDX-License-Identifier: MIT
// Converts a whole drawing in memory with the program's fit or with the
// plain reference and keeps what a run shows: the output, the report, the
// pump calls and the host's events. Shared by the tests and the benchmark.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "byte_stream.h"
#include "conversion_run.h"
#include "literal_reference.h"
#include "recording_host.h"

namespace tessarin::testing {

enum class Implementation { kEngine, kReference };

// A whole conversion of `input` with default or given setting texts, parsed
// and shown as a front end does; the reference fits through the engine's
// seam for other fitters.
struct ConversionOutcome {
  std::string output;
  RunReport report;
  int pumps = 0;
  std::vector<std::string> events;  // what the window was shown, minima included
};

inline ConversionOutcome Convert(const std::string& input, const SettingTexts& texts,
                                 Implementation implementation, bool parallel = true,
                                 uint64_t seed = 1) {
  RecordingHost host;
  EngineOptions options;
  options.seed = seed;
  options.parallel = parallel;
  std::optional<reference::Random> random;
  if (implementation == Implementation::kReference) {
    random.emplace(seed);
    options.fitter = [&random](const SplineGeometry& spline, FitContext& context) {
      return reference::FitSpline(spline, context, *random);
    };
  }
  MemorySource scan(input), copy(input);
  MemorySink sink;
  ConversionOutcome outcome;
  outcome.report = RecordedRun(scan, copy, sink, ParseSettings(texts), host, options);
  outcome.output = sink.bytes();
  outcome.pumps = host.pumps;
  outcome.events = host.events;
  return outcome;
}

}  // namespace tessarin::testing
