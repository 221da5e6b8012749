// SPDX-License-Identifier: MIT
// The settings of one run, their defaults as the fields show them, and how
// the texts of the setting fields become numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dxf_number.h"
#include "fit_settings.h"

namespace tessarin {

// The setting fields as the user typed them; the front ends parse them
// (ParseSettings) before a run. The initial texts are the defaults.
struct SettingTexts {
  std::string maxpercent = FloatToDXF(FitSettings{}.maxpercent);        // AbwEd
  std::string maxunits = FloatToDXF(FitSettings{}.maxunits);            // AbwEinhED
  std::string arctests = std::to_string(FitSettings{}.arctests);        // TestEd
  std::string splinetests = std::to_string(FitSettings{}.splinetests);  // SplineTestEd
  bool keepsplines = false;                                             // LeaveSplineCheck
};

// The four numbers of the fit, and what the run does with the splines.
struct ConversionSettings : FitSettings {
  bool keepsplines = false;  // copy each spline entity to the output too
};

// Limits of the fallback clamp; a count below 1 is raised to its lower limit.
inline constexpr int32_t kArcTestsMin = 3, kArcTestsMax = 10000;
inline constexpr int32_t kSplineTestsMin = 10, kSplineTestsMax = 10000;
inline constexpr double kMaxPercentMin = 0.01, kMaxPercentMax = 100.0;
inline constexpr double kMaxUnitsMin = 0.01, kMaxUnitsMax = 10000.0;

// A count field: read with "," as decimal separator, rounded half to even,
// the low 32 bits taken, and used unclamped. If that fails, read with "."
// and clamped to [min, max]; a text that is no number gives min.
int32_t ParseCountSetting(std::string_view text, int32_t min, int32_t max);
// A limit field, by the same two attempts without the rounding.
double ParseLimitSetting(std::string_view text, double min, double max);

ConversionSettings ParseSettings(const SettingTexts& texts);

}  // namespace tessarin
