// SPDX-License-Identifier: MIT
// Two-attempt parsing of the setting fields: "," first, then "." with clamp.
#include "conversion_settings.h"

#include <algorithm>
#include <cmath>

#include "dxf_number.h"

namespace tessarin {

namespace {

// Round half to even and keep the low 32 bits, as a signed count.
int32_t LowBitsOfRounded(double value) {
  const double rounded = std::nearbyint(value);         // default mode: to nearest, ties to even
  const double low = std::fmod(rounded, 4294967296.0);  // exact for every double
  const double unsignedLow = low < 0 ? low + 4294967296.0 : low;
  return static_cast<int32_t>(static_cast<uint32_t>(unsignedLow));
}

}  // namespace

int32_t ParseCountSetting(std::string_view text, int32_t min, int32_t max) {
  int32_t count;
  if (const auto value = ParseDxfDouble(text, ',')) {
    count = LowBitsOfRounded(*value);
  } else {
    const auto second = ParseDxfDouble(text, '.');
    count = second ? LowBitsOfRounded(*second) : 0;
    count = std::clamp(count, min, max);
  }
  // No arc can be tested at fewer than one place: treat it like no number.
  return count < 1 ? min : count;
}

double ParseLimitSetting(std::string_view text, double min, double max) {
  if (const auto value = ParseDxfDouble(text, ',')) return *value;
  const auto second = ParseDxfDouble(text, '.');
  return std::clamp(second.value_or(0.0), min, max);
}

ConversionSettings ParseSettings(const SettingTexts& texts) {
  ConversionSettings settings;
  settings.arctests = ParseCountSetting(texts.arctests, kArcTestsMin, kArcTestsMax);
  settings.splinetests = ParseCountSetting(texts.splinetests, kSplineTestsMin, kSplineTestsMax);
  settings.maxpercent = ParseLimitSetting(texts.maxpercent, kMaxPercentMin, kMaxPercentMax);
  settings.maxunits = ParseLimitSetting(texts.maxunits, kMaxUnitsMin, kMaxUnitsMax);
  settings.keepsplines = texts.keepsplines;
  return settings;
}

}  // namespace tessarin
