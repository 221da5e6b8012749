// SPDX-License-Identifier: MIT
// The main window's side of a conversion run: status line, progress bar,
// result fields, buttons and message boxes, and the event pump.
#pragma once

#include <string>

#include "front_end.h"

namespace tessarin {

class Dialogs;
class TMainForm;

class MainFormHost final : public FrontEnd {
 public:
  MainFormHost(TMainForm& form, Dialogs& dialogs) : form_(form), dialogs_(dialogs) {}

  void ShowStatus(int message, const std::string& argument) override;
  void ShowProgress(int position) override;
  void ShowMinima(const std::string& percent, const std::string& units) override;
  void SetRunning(bool running) override;
  void ShowMessageBox(int message, const std::string& argument) override;
  // Handles every pending event: the window repaints, Cancel and the menus
  // react.
  void Pump() override;
  bool OpenResultWanted() override;
  void OpenFile(const std::string& path) override;
  std::string TimeOfDay() override;

 private:
  TMainForm& form_;
  Dialogs& dialogs_;
};

}  // namespace tessarin
