// SPDX-License-Identifier: MIT
// A Host that records every call as one line of text, for checking what a
// run showed and in which order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host.h"

namespace tessarin::testing {

class RecordingHost : public Host {
 public:
  void ShowStatus(int message, const std::string& argument) override {
    events.push_back("status " + std::to_string(message) + (argument.empty() ? "" : " " + argument));
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
  bool Pump() override {
    ++pumps;
    if (onPump) onPump(*this);
    return CancelRequested();
  }
  bool OpenResultWanted() override { return openresult; }
  void OpenFile(const std::string& path) override { events.push_back("open " + path); }
  std::string TimeOfDay() override { return "12:34:56"; }

  std::vector<std::string> events;  // progress other than 0 goes to `progress` only
  std::vector<int> progress;
  int pumps = 0;
  bool openresult = false;
  std::function<void(RecordingHost&)> onPump;
};

}  // namespace tessarin::testing
