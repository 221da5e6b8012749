// SPDX-License-Identifier: MIT
// The command-line tool's side of a run: messages on stderr, a progress bar
// on a terminal, Ctrl-C as the cancel request.
#pragma once

#include <cstdio>
#include <string>

#include "cancel_token.h"
#include "front_end.h"

namespace tessarin {

class CliHost final : public FrontEnd {
 public:
  // `err` receives messages; a progress bar is drawn only when `terminal`.
  CliHost(std::FILE* err, bool terminal, bool openresult);

  void ShowStatus(int message, const std::string& argument) override;
  void ShowProgress(int position) override;
  void ShowMinima(const std::string& percent, const std::string& units) override;
  void SetRunning(bool) override {}
  void ShowMessageBox(int message, const std::string& argument) override;
  bool OpenResultWanted() override { return openresult_; }
  void OpenFile(const std::string& path) override;
  std::string TimeOfDay() override;

  const std::string& minpercent() const { return minpercent_; }
  const std::string& mindeviation() const { return mindeviation_; }

 private:
  void ClearBar();
  void Say(int message, const std::string& argument);

  std::FILE* err_;
  bool terminal_;
  bool openresult_;
  bool barShown_ = false;
  std::string minpercent_ = "0";
  std::string mindeviation_ = "0";
};

// Ctrl-C sets `cancel`; a second Ctrl-C ends the process at once. `cancel`
// must live as long as the process may be interrupted.
void CancelOnInterrupt(CancelToken& cancel);

}  // namespace tessarin
