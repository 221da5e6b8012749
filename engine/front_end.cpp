// SPDX-License-Identifier: MIT
// The end of a run as the front ends show it.
#include "front_end.h"

#include "dxf_number.h"

namespace tessarin {

void ShowRunEnd(const RunReport& report, const std::string& output, FrontEnd& frontEnd) {
  if (report.outcome == RunOutcome::kCompleted) {
    frontEnd.ShowStatus(kMsgCompleted, frontEnd.TimeOfDay());
    if (frontEnd.OpenResultWanted()) frontEnd.OpenFile(output);
  }
  frontEnd.SetRunning(false);
  // A cancelled run and one whose input never opened leave the fields as
  // they were.
  if (report.outcome == RunOutcome::kCancelled || report.outcome == RunOutcome::kInputNotOpened) {
    return;
  }
  frontEnd.ShowMinima(FloatToDXF(report.minima.minpercent), FloatToDXF(report.minima.mindeviation));
}

RunReport RunConversion(const std::string& input, const std::string& output,
                        const ConversionSettings& settings, FrontEnd& frontEnd, CancelToken& cancel,
                        const EngineOptions& options) {
  frontEnd.SetRunning(true);
  const RunReport report = KonvertDXF(input, output, settings, frontEnd, cancel, options);
  ShowRunEnd(report, output, frontEnd);
  return report;
}

}  // namespace tessarin
