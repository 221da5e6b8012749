// SPDX-License-Identifier: MIT
// What a conversion run asks or tells the program that drives it while it
// runs: the desktop window, the command-line tool and the tests' recording
// host implement it.
#pragma once

#include <string>

namespace tessarin {

// Message numbers of the catalogue that a run reports.
enum RunMessage : int {
  kMsgInputNotOpened = 6,     // "Folgende DXF Datei konnte nicht geöffnet werden:" + input
  kMsgConverting = 7,         // "Beginne Konvertierung... Bitte warten..."
  kMsgCancelled = 8,          // "Abgebrochen..."
  kMsgCompleted = 9,          // "Konvertierung beendet:" + time of day
  kMsgOutputNotCreated = 10,  // "Folgende DXF Datei konnte nicht angelegt werden:" + output
  kMsgInputNotReopened = 11,  // as 6, for the second opening
};

class Host {
 public:
  virtual ~Host() = default;

  // The status line: catalogue message `message`, then " " and `argument`
  // unless it is empty.
  virtual void ShowStatus(int message, const std::string& argument) = 0;
  // The progress bar, 0 to 100.
  virtual void ShowProgress(int position) = 0;
  // A modal box with message `message`, " " and `argument` (a file name);
  // returns when it is closed.
  virtual void ShowMessageBox(int message, const std::string& argument) = 0;
  // Once per fitting step: handles what is pending (the window repaints, a
  // click on Cancel lands on the run's CancelToken).
  virtual void Pump() {}
};

}  // namespace tessarin
