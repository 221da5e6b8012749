// SPDX-License-Identifier: MIT
// The conversion run: handle scan, copy pass with spline capture, fit and
// polyline output, and what the host is shown at each end of a run.
#include "conversion_run.h"

#include <algorithm>
#include <cmath>

#include "byte_stream.h"
#include "dxf_number.h"
#include "pair_stream.h"
#include "pair_walk.h"
#include "polyline_writer.h"
#include "spline_entity.h"

namespace tessarin {

int ExitStatus(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kCompleted:
      return 0;
    case RunOutcome::kInputNotOpened:
    case RunOutcome::kInputNotReopened:
      return 3;
    case RunOutcome::kOutputNotCreated:
      return 4;
    case RunOutcome::kReadFailed:
    case RunOutcome::kWriteFailed:
      return 5;
    case RunOutcome::kCancelled:
      return 6;
  }
  return 1;
}

namespace {

constexpr uint32_t kHandleMargin = 100;
constexpr uint64_t kProgressBlock = 128;

struct HandleScan {
  uint32_t handlecounter = 1;  // largest handle of the input plus 100
  int64_t splineStarts = 0;
  bool failed = false;
};

// Reads the whole input as pairs: the largest "5" handle, and how many
// splines the copy pass will give new handles to.
HandleScan ScanHandles(ByteSource& source) {
  HandleScan scan;
  PairReader reader(source);
  uint32_t largest = 1;
  const auto visit = [&](std::string_view rawCode, std::string_view rawValue) {
    const std::string_view code = TrimDxf(rawCode);
    if (code.size() != 1) return;
    if (code[0] == '5') {
      // Handles of 80000000 and above read as negative 32-bit numbers and
      // are never taken.
      const auto handle = ParseDxfHandle(TrimDxf(rawValue));
      if (handle && *handle < 0x80000000u && *handle > largest) largest = *handle;
    } else if (code[0] == '0' && TrimDxf(rawValue) == "SPLINE") {
      ++scan.splineStarts;
    }
  };
  const auto visitWatched = [&](std::string_view code, std::string_view value, size_t, size_t) {
    visit(code, value);
    return true;
  };
  while (!reader.AtEnd()) {
    // Whole pairs straight from the buffer, only codes "5" and "0" looked
    // at; ReadPair for the rest.
    const WalkResult walked =
        WalkPairs(reader.Buffered(), "05", visitWatched, [](size_t, size_t) {});
    if (walked.bytes > 0) {
      reader.Consume(walked.bytes);
      continue;
    }
    const GroupPair pair = reader.ReadPair();
    visit(pair.code, pair.value);
  }
  scan.handlecounter = largest + kHandleMargin;
  scan.failed = reader.Failed();
  return scan;
}

// Whether the copy pass must look at a pair itself: a spline start, or the
// name of the handle seed, whose value follows in the next pair. Only pairs
// with the code "0" or "9" are asked.
bool NeedsAttention(std::string_view code, std::string_view value) {
  const std::string_view name = TrimDxf(value);
  return TrimDxf(code)[0] == '0' ? name == "SPLINE" : name == "$HANDSEED";
}

// Bytes the copy pass walks between two looks at the cancel request.
constexpr size_t kWalkStretch = 64 * 1024;

// One run: what it was given, what it reports, and what it shows at its
// ends; the rest of an end is the front end's (ShowRunEnd).
struct Run {
  const ConversionSettings& settings;
  Host& host;
  CancelToken& cancel;
  const EngineOptions& options;
  RunReport report = {};

  // Input cannot be opened (the first time).
  RunReport InputNotOpened(const std::string& input) {
    host.ShowMessageBox(kMsgInputNotOpened, input);
    host.ShowStatus(kMsgCancelled, {});
    host.ShowProgress(0);
    return Finish(RunOutcome::kInputNotOpened);
  }
  // A failure after the first opening: a box naming the file.
  RunReport Failed(RunOutcome outcome, int message, const std::string& name) {
    host.ShowMessageBox(message, name);
    return Finish(outcome);
  }
  RunReport Cancelled() {
    host.ShowStatus(kMsgCancelled, {});
    host.ShowProgress(0);
    return Finish(RunOutcome::kCancelled);
  }
  RunReport Completed() {
    host.ShowProgress(0);
    return Finish(RunOutcome::kCompleted);
  }
  RunReport Finish(RunOutcome outcome) {
    report.outcome = outcome;
    return report;
  }
};

// Progress: round(100 * P / S) with S the input size and P the bytes fetched
// so far, both in whole 128-byte blocks. Only changes reach the host.
class ProgressMeter {
 public:
  ProgressMeter(Host& host, uint64_t inputSize)
      : host_(host), blocks_(inputSize / kProgressBlock) {}
  void Update(uint64_t consumed) {
    const uint64_t fetched = std::min(blocks_, (consumed + kProgressBlock - 1) / kProgressBlock);
    if (fetched == fetched_) return;  // also: an input under 128 bytes leaves the bar at 0
    fetched_ = fetched;
    // round(100 * fetched / blocks), halves to even, in integers.
    const uint64_t scaled = 100 * fetched;
    uint64_t position = scaled / blocks_;
    const uint64_t twice = 2 * (scaled % blocks_);
    if (twice > blocks_ || (twice == blocks_ && position % 2 == 1)) ++position;
    if (static_cast<int>(position) != shown_)
      host_.ShowProgress(shown_ = static_cast<int>(position));
  }

 private:
  Host& host_;
  uint64_t blocks_;
  uint64_t fetched_ = 0;
  int shown_ = 0;
};

enum class CopyEnd { kCompleted, kCancelled, kReadFailed, kWriteFailed };

// The fit's side of the run: the host pumped once per fitting step, which
// stops the fit once the cancel request is set, and each accepted arc's two
// vertices into the polyline.
class PolylineFit final : public FitObserver {
 public:
  PolylineFit(Host& host, const CancelToken& cancel, PolylineWriter& polyline)
      : host_(host), cancel_(cancel), polyline_(polyline) {}

  bool Pump() override {
    host_.Pump();
    return cancel_.Requested();
  }
  void Accept(const FittedArc& arc) override { polyline_.AddArcVertices(arc.arc); }

 private:
  Host& host_;
  const CancelToken& cancel_;
  PolylineWriter& polyline_;
};

// The copy pass: every pair is written as read, except that a spline entity
// is captured, fitted and replaced (with keepsplines: followed) by its
// polyline. The cancel request is polled before each pair, after reading it
// and after each spline's fit.
CopyEnd CopyPass(ByteSource& input, PairWriter& writer, const HandleScan& scan, Run& run) {
  const ConversionSettings& settings = run.settings;
  const EngineOptions& options = run.options;
  const CancelToken& cancel = run.cancel;
  PairReader reader(input);
  ProgressMeter progress(run.host, input.Size());
  SplineEntity spline;
  PolylineWriter polyline;
  PolylineFit observer(run.host, cancel, polyline);
  FitContext fit{settings, observer, run.report.minima, options};
  uint32_t handlecounter = scan.handlecounter;
  // Readers take new handles from $HANDSEED; it must stay above ours.
  const uint32_t handseed = scan.handlecounter + static_cast<uint32_t>(scan.splineStarts) + 1;
  bool afterHandseed = false;

  // Plain pairs straight from the buffer, in bulk: pairs coded "0" or "9"
  // are looked at, the rest is copied as it stands.
  uint64_t walkBase = 0;
  const auto plain = [](std::string_view code, std::string_view value, size_t, size_t) {
    return !NeedsAttention(code, value);
  };
  const auto codeLines = [&](size_t first, size_t last) {
    progress.Update(walkBase + first);
    progress.Update(walkBase + last);
  };

  while (!reader.AtEnd()) {
    if (cancel.Requested()) return CopyEnd::kCancelled;
    walkBase = reader.Consumed();
    const std::string_view buffered = reader.Buffered().substr(0, kWalkStretch);
    if (const size_t n = afterHandseed ? 0 : WalkPairs(buffered, "09", plain, codeLines).bytes;
        n > 0) {
      writer.WriteLines(buffered.substr(0, n));
      reader.Consume(n);
      afterHandseed = false;
      if (writer.Failed()) return CopyEnd::kWriteFailed;
      continue;
    }
    if (cancel.Requested()) return CopyEnd::kCancelled;
    GroupPair pair = reader.ReadPair([&] { progress.Update(reader.Consumed()); });
    for (;;) {
      if (cancel.Requested()) return CopyEnd::kCancelled;
      // Only one-character codes matter here: "0" may start a spline, "9"
      // names a header variable, "5" may hold $HANDSEED's value.
      const std::string_view code = TrimDxf(pair.code);
      const char single = code.size() == 1 ? code[0] : '\0';
      if (single != '0' || TrimDxf(pair.value) != "SPLINE") {
        const auto seed = (single == '5' && afterHandseed && scan.splineStarts > 0)
                              ? ParseDxfHandle(TrimDxf(pair.value))
                              : std::nullopt;
        if (seed) {
          writer.WriteLine(pair.code);
          writer.WriteLine(HandleToDXF(std::max(*seed, handseed)));
        } else {
          writer.WritePairPadded(pair);
        }
        afterHandseed = single == '9' && TrimDxf(pair.value) == "$HANDSEED";
        break;
      }
      polyline.Begin();
      const GroupPair ending =
          CaptureSpline(reader, settings.keepsplines ? &writer : nullptr, pair, spline);
      const SplineGeometry geometry = spline.geometry();
      const int64_t arcs =
          options.fitter ? options.fitter(geometry, fit) : FitSpline(geometry, fit);
      if (cancel.Requested()) return CopyEnd::kCancelled;
      polyline.WritePolyline(spline, handlecounter, settings.maxunits, writer);
      ++run.report.splines;
      run.report.arcs += arcs;
      // At the end of the input the last pair read still belongs to the
      // spline unless it opens the next entity: it is not written twice.
      if (reader.AtEnd() && TrimDxf(ending.code) != "0") break;
      pair = ending;
      afterHandseed = false;
    }
    if (writer.Failed()) return CopyEnd::kWriteFailed;
  }
  if (reader.Failed()) return CopyEnd::kReadFailed;
  return CopyEnd::kCompleted;
}

// Copy pass and its ends once both inputs and the output are open.
RunReport FinishRun(ByteSource& copyInput, ByteSink& sink, const std::string& input,
                    const std::string& output, const HandleScan& scan, Run& run) {
  run.host.ShowStatus(kMsgConverting, {});
  PairWriter writer(sink);
  const CopyEnd end = CopyPass(copyInput, writer, scan, run);
  // Write out what was written so far, also when cancelled.
  const bool written = writer.Flush() && sink.Close();
  if (end == CopyEnd::kCancelled) return run.Cancelled();
  if (end == CopyEnd::kReadFailed) {
    return run.Failed(RunOutcome::kReadFailed, kMsgInputNotOpened, input);
  }
  if (end == CopyEnd::kWriteFailed || !written) {
    return run.Failed(RunOutcome::kWriteFailed, kMsgOutputNotCreated, output);
  }
  return run.Completed();
}

}  // namespace

RunReport KonvertDXF(const std::string& input, const std::string& output,
                     const ConversionSettings& settings, Host& host, CancelToken& cancel,
                     const EngineOptions& options) {
  Run run{settings, host, cancel, options};
  cancel.Clear();

  FileSource scanInput;
  if (!scanInput.Open(input)) return run.InputNotOpened(input);
  const HandleScan scan = ScanHandles(scanInput);
  scanInput.CloseFile();
  if (scan.failed) return run.Failed(RunOutcome::kReadFailed, kMsgInputNotOpened, input);

  FileSource copyInput;
  if (!copyInput.Open(input)) {
    return run.Failed(RunOutcome::kInputNotReopened, kMsgInputNotReopened, input);
  }
  // Creating the output would empty the input when both are one file.
  FileSink sink;
  if (SameFile(input, output) || !sink.Create(output)) {
    copyInput.CloseFile();
    return run.Failed(RunOutcome::kOutputNotCreated, kMsgOutputNotCreated, output);
  }
  return FinishRun(copyInput, sink, input, output, scan, run);
}

RunReport ConvertStreams(ByteSource& scanInput, ByteSource& copyInput, ByteSink& output,
                         const ConversionSettings& settings, Host& host, CancelToken& cancel,
                         const EngineOptions& options) {
  Run run{settings, host, cancel, options};
  cancel.Clear();
  const HandleScan scan = ScanHandles(scanInput);
  if (scan.failed) return run.Failed(RunOutcome::kReadFailed, kMsgInputNotOpened, {});
  return FinishRun(copyInput, output, {}, {}, scan, run);
}

}  // namespace tessarin
