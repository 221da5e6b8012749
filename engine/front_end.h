// SPDX-License-Identifier: MIT
// What both front ends do around a conversion run: the buttons, and the end
// of the run shown (completion status with the time of day, the result
// opened when asked, the smallest deviations in the result fields).
#pragma once

#include <string>

#include "conversion_run.h"

namespace tessarin {

// A Host with the parts of a front end that the run itself never calls.
class FrontEnd : public Host {
 public:
  // true before a run (convert disabled, cancel enabled), false at every end.
  virtual void SetRunning(bool running) = 0;
  // The two result fields: smallest deviation in percent and in units.
  virtual void ShowMinima(const std::string& percent, const std::string& units) = 0;
  // Whether the finished output is to be opened, asked at completion.
  virtual bool OpenResultWanted() = 0;
  // Opens a file with the program the desktop associates with it.
  virtual void OpenFile(const std::string& path) = 0;
  // The current time of day in the platform's long time format.
  virtual std::string TimeOfDay() = 0;
};

// After a run that ended as `report` says: a completed run shows message 9
// with the time of day and opens `output` when wanted; every end sets the
// front end idle; every end but a cancel and an input that could not be
// opened shows the minima (FloatToDXF, "0" where no interval was measured).
void ShowRunEnd(const RunReport& report, const std::string& output, FrontEnd& frontEnd);

// One conversion as a front end runs it: running, KonvertDXF, ShowRunEnd.
RunReport RunConversion(const std::string& input, const std::string& output,
                        const ConversionSettings& settings, FrontEnd& frontEnd, CancelToken& cancel,
                        const EngineOptions& options = {});

}  // namespace tessarin
