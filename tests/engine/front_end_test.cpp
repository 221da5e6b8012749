// SPDX-License-Identifier: MIT
// The end of a run as both front ends show it, for every outcome.
#include "front_end.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_host.h"

namespace tessarin {
namespace {

using Events = std::vector<std::string>;

TEST(ShowRunEnd, EveryOutcome) {
  RunReport measured;
  measured.minima.Lower(0.125, 0.5);
  struct Row {
    const char* name;
    RunOutcome outcome;
    Events events;  // with the result to be opened
  };
  const std::string minima = "minima 0.125 0.5";
  const Row rows[] = {
      {"completed", RunOutcome::kCompleted, {"status 9 12:34:56", "open out.dxf", "idle", minima}},
      {"cancelled: the fields keep their texts", RunOutcome::kCancelled, {"idle"}},
      {"input not opened: nothing was measured", RunOutcome::kInputNotOpened, {"idle"}},
      {"input not reopened", RunOutcome::kInputNotReopened, {"idle", minima}},
      {"output not created", RunOutcome::kOutputNotCreated, {"idle", minima}},
      {"read error", RunOutcome::kReadFailed, {"idle", minima}},
      {"write error", RunOutcome::kWriteFailed, {"idle", minima}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RunReport report = measured;
    report.outcome = row.outcome;
    testing::RecordingHost host;
    host.openresult = true;
    ShowRunEnd(report, "out.dxf", host);
    EXPECT_EQ(host.events, row.events);
  }
}

TEST(ShowRunEnd, CompletedWithoutOpeningAndWithoutMeasurements) {
  // No interval measured: both fields show "0"; the result stays closed
  // unless wanted.
  testing::RecordingHost host;
  ShowRunEnd(RunReport{}, "out.dxf", host);
  EXPECT_EQ(host.events, (Events{"status 9 12:34:56", "idle", "minima 0 0"}));
}

}  // namespace
}  // namespace tessarin
