// SPDX-License-Identifier: MIT
// A front end that records every call as one line of text, for checking
// what a run showed and in which order, and that holds the run's cancel
// request.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "byte_stream.h"
#include "cancel_token.h"
#include "front_end.h"

namespace tessarin::testing {

class RecordingHost : public FrontEnd {
 public:
  void ShowStatus(int message, const std::string& argument) override {
    events.push_back("status " + std::to_string(message) +
                     (argument.empty() ? "" : " " + argument));
  }
  void ShowProgress(int position) override {
    progress.push_back(position);
    if (position == 0) events.push_back("progress 0");
  }
  void ShowMinima(const std::string& percent, const std::string& units) override {
    events.push_back("minima " + percent + " " + units);
  }
  void SetRunning(bool running) override { events.push_back(running ? "running" : "idle"); }
  void ShowMessageBox(int message, const std::string& argument) override {
    events.push_back("box " + std::to_string(message) + " " + argument);
  }
  void Pump() override {
    ++pumps;
    if (onPump) onPump(*this);
  }
  bool OpenResultWanted() override { return openresult; }
  void OpenFile(const std::string& path) override { events.push_back("open " + path); }
  std::string TimeOfDay() override { return "12:34:56"; }

  std::vector<std::string> events;  // progress other than 0 goes to `progress` only
  std::vector<int> progress;
  int pumps = 0;
  bool openresult = false;
  std::function<void(RecordingHost&)> onPump;
  // The run's cancel request, as a front end holds it.
  CancelToken cancel;
};

// A run over streams as a front end runs one from file to file: running,
// the run, then its end shown.
inline RunReport RecordedRun(ByteSource& scan, ByteSource& copy, ByteSink& output,
                             const ConversionSettings& settings, RecordingHost& host,
                             const EngineOptions& options = {}) {
  host.SetRunning(true);
  const RunReport report = ConvertStreams(scan, copy, output, settings, host, host.cancel, options);
  ShowRunEnd(report, {}, host);
  return report;
}

}  // namespace tessarin::testing
