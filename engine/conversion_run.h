// SPDX-License-Identifier: MIT
// The conversion run: one DXF file in, the same file with every SPLINE
// replaced (or followed) by an arc LWPOLYLINE out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cancel_token.h"
#include "conversion_settings.h"
#include "fit_walk.h"
#include "host.h"

namespace tessarin {

// Fits one spline for the run; FitSpline unless EngineOptions names another.
using SplineFitFunction = std::function<int64_t(const SplineGeometry&, FitContext&)>;

// Engine options that are not user settings: those of the fit, and a seam.
struct EngineOptions : FitOptions {
  // Replaces FitSpline in the run, so that tests can convert whole files
  // with another implementation and compare the texts.
  SplineFitFunction fitter;
};

enum class RunOutcome {
  kCompleted,
  kCancelled,
  kInputNotOpened,    // first opening failed; message 6
  kInputNotReopened,  // second opening failed; message 11
  kOutputNotCreated,  // output could not be created, or is the input; message 10
  kReadFailed,        // a read error after opening; message 6
  kWriteFailed,       // a write error, e.g. a full disk; message 10
};

// What a run ends with; the front end shows the end from it (ShowRunEnd).
struct RunReport {
  RunOutcome outcome = RunOutcome::kCompleted;
  int64_t splines = 0;  // spline entities converted
  int64_t arcs = 0;     // arcs written
  RunMinima minima;     // 0 and unset where no interval was measured
};

class ByteSink;
class ByteSource;

// Process exit status for an outcome, shared by both programs' batch modes:
// 0 completed, 3 input not openable, 4 output not creatable, 5 read or write
// error, 6 cancelled. (2 is bad usage, decided before any run.)
int ExitStatus(RunOutcome outcome);
inline constexpr int kExitUsage = 2;

// Runs one conversion from file to file, telling `host` what happens while
// it runs: the status line, the progress bar, a box for a file that cannot
// be opened or created, a pump per fitting step. `cancel` is cleared when the
// run starts and polled before each pair, after each read and in every
// fitting step; a cancelled run keeps what it has written. What the end
// looks like is for the front end (ShowRunEnd).
RunReport KonvertDXF(const std::string& input, const std::string& output,
                     const ConversionSettings& settings, Host& host, CancelToken& cancel,
                     const EngineOptions& options = {});

// The same run over caller-provided streams: the handle scan reads
// `scanInput`, the copy pass `copyInput`. For tests and fuzzing; there is no
// opening to fail.
RunReport ConvertStreams(ByteSource& scanInput, ByteSource& copyInput, ByteSink& output,
                         const ConversionSettings& settings, Host& host, CancelToken& cancel,
                         const EngineOptions& options = {});

}  // namespace tessarin
