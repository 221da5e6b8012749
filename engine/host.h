// SPDX-License-Identifier: MIT
// What a conversion run needs of the program that drives it: the desktop
// window, the command-line tool and the tests' recording host implement it.
#pragma once

#include <atomic>
#include <string>

namespace tessarin {

// Message numbers of the catalogue that a run reports.
enum RunMessage : int {
  kMsgInputNotOpened = 6,    // "Folgende DXF Datei konnte nicht geöffnet werden:" + input
  kMsgConverting = 7,        // "Beginne Konvertierung... Bitte warten..."
  kMsgCancelled = 8,         // "Abgebrochen..."
  kMsgCompleted = 9,         // "Konvertierung beendet:" + time of day
  kMsgOutputNotCreated = 10, // "Folgende DXF Datei konnte nicht angelegt werden:" + output
  kMsgInputNotReopened = 11, // as 6, for the second opening
};

class Host {
 public:
  virtual ~Host() = default;

  // The status line: catalogue message `message`, then " " and `argument`
  // unless it is empty.
  virtual void ShowStatus(int message, const std::string& argument) = 0;
  // The progress bar, 0 to 100.
  virtual void ShowProgress(int position) = 0;
  // The two result fields: smallest deviation in percent and in units.
  virtual void ShowMinima(const std::string& percent, const std::string& units) = 0;
  // true at the start of a run (convert disabled, cancel enabled), false at
  // every end.
  virtual void SetRunning(bool running) = 0;
  // A modal box with message `message`, " " and `argument` (a file name);
  // returns when it is closed.
  virtual void ShowMessageBox(int message, const std::string& argument) = 0;
  // Handles what is pending (the window repaints, a click on Cancel lands);
  // returns whether the run is to stop.
  virtual bool Pump() { return CancelRequested(); }
  // Whether the finished output is to be opened, asked at completion.
  virtual bool OpenResultWanted() = 0;
  // Opens a file with the program the desktop associates with it.
  virtual void OpenFile(const std::string& path) = 0;
  // The current time of day in the platform's long time format.
  virtual std::string TimeOfDay() = 0;

  // The cancel request ("breaking"): set by the Cancel button or by Ctrl-C
  // (lock-free, so a signal handler may set it), cleared when a run starts.
  void RequestCancel() { breaking_.store(true, std::memory_order_relaxed); }
  void ClearCancel() { breaking_.store(false, std::memory_order_relaxed); }
  bool CancelRequested() const { return breaking_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> breaking_{false};
  static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace tessarin
