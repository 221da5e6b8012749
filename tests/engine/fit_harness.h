// SPDX-License-Identifier: MIT
// Fits one spline with the engine or with the reference and keeps what a
// run would see: the polyline entity's text, the arcs, the pump calls and
// the minima. Shared by the tests and the benchmark.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "arc_fitting.h"
#include "byte_stream.h"
#include "conversion_run.h"
#include "literal_reference.h"
#include "pair_stream.h"
#include "polyline_writer.h"
#include "recording_host.h"
#include "spline_entity.h"

namespace tessarin::testing {

enum class Implementation { kEngine, kReference };

struct FitOutcome {
  std::string entity;  // the LWPOLYLINE lines
  int64_t arcs = 0;
  int pumps = 0;
  RunMinima minima;
  bool cancelled = false;
};

inline SplineEntity SplineOf(const WorkingCurve& curve) {
  SplineEntity spline;
  spline.degree = curve.degree;
  spline.ctrlpoints = curve.controls;
  spline.knots = curve.knots;
  return spline;
}

struct FitRequest {
  ConversionSettings settings;
  Implementation implementation = Implementation::kEngine;
  bool parallel = true;
  uint64_t seed = 1;
  // Cancel at this pump call (counted from 1); 0: never.
  int cancelAtPump = 0;
};

inline FitOutcome Fit(const SplineEntity& spline, const FitRequest& request) {
  RecordingHost host;
  if (request.cancelAtPump > 0) {
    host.onPump = [&request](RecordingHost& h) {
      if (h.pumps == request.cancelAtPump) h.RequestCancel();
    };
  }
  RunMinima minima;
  PolylineWriter polyline;
  EngineOptions options;
  options.seed = request.seed;
  options.parallel = request.parallel;
  FitContext context{request.settings, host, minima, polyline, options};
  FitOutcome outcome;
  polyline.Begin();
  if (request.implementation == Implementation::kEngine) {
    outcome.arcs = FitSpline(spline, context);
  } else {
    reference::Random random(request.seed);
    outcome.arcs = reference::FitSpline(spline, context, random);
  }
  MemorySink sink;
  {
    PairWriter writer(sink);
    uint32_t handle = 0x100;
    polyline.WritePolyline(spline, handle, request.settings.maxunits, writer);
    writer.Flush();
  }
  outcome.entity = sink.bytes();
  outcome.pumps = host.pumps;
  outcome.minima = minima;
  outcome.cancelled = host.CancelRequested();
  return outcome;
}

// A whole conversion of `input` with default or given setting texts; the
// reference fits through the engine's seam for other fitters.
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
    options.fitter = [&random](const SplineEntity& spline, FitContext& context) {
      return reference::FitSpline(spline, context, *random);
    };
  }
  MemorySource scan(input), copy(input);
  MemorySink sink;
  ConversionOutcome outcome;
  outcome.report = ConvertStreams(scan, copy, sink, texts, host, options);
  outcome.output = sink.bytes();
  outcome.pumps = host.pumps;
  outcome.events = host.events;
  return outcome;
}

}  // namespace tessarin::testing
