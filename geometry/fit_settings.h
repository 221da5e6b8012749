// SPDX-License-Identifier: MIT
// The four numbers that steer the arc fit, with their defaults, and the
// smallest deviations a run has measured.
#pragma once

#include <cstdint>

namespace tessarin {

// The initial values are the defaults of the program, for every front end
// and the reset: FitSettings{} is the one place they are written.
struct FitSettings {
  int32_t arctests = 10;       // steps along a candidate arc
  int32_t splinetests = 1000;  // spline samples per measured interval
  double maxpercent = 1.0;     // deviation limit, percent of the three-point perimeter
  double maxunits = 1.0;       // deviation limit, drawing units
};

// The smallest deviations measured in a run, shown when it ends. Both start
// unset; every measured interval lowers them.
struct RunMinima {
  double minpercent = 0.0;
  double mindeviation = 0.0;
  bool percentUnset = true;
  bool deviationUnset = true;

  void Lower(double percent, double deviation) {
    if (percentUnset || percent < minpercent) {
      minpercent = percent;
      percentUnset = false;
    }
    if (deviationUnset || deviation < mindeviation) {
      mindeviation = deviation;
      deviationUnset = false;
    }
  }
};

}  // namespace tessarin
