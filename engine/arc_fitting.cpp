// SPDX-License-Identifier: MIT
// Arc fitting: not yet built; every spline gives a polyline without vertices.
#include "arc_fitting.h"

namespace tessarin {

int64_t FitSpline(const SplineEntity&, FitContext&) { return 0; }

}  // namespace tessarin
