// SPDX-License-Identifier: MIT
// The six setting fields of the main window as values, and the defaults of
// its definition, which the reset button brings back for the four numbers.
#pragma once

#include <QString>

namespace tessarin {

inline constexpr char16_t kDefaultMaxPercent[] = u"1";
inline constexpr char16_t kDefaultMaxUnits[] = u"1";
inline constexpr char16_t kDefaultArcTests[] = u"10";
inline constexpr char16_t kDefaultSplineTests[] = u"1000";

// A default-constructed value holds the definition's defaults.
struct SettingFields {
  QString maxpercent = QString::fromUtf16(kDefaultMaxPercent);    // AbwEd
  QString maxunits = QString::fromUtf16(kDefaultMaxUnits);        // AbwEinhED
  QString arctests = QString::fromUtf16(kDefaultArcTests);        // TestEd
  QString splinetests = QString::fromUtf16(kDefaultSplineTests);  // SplineTestEd
  bool keepsplines = false;                                       // LeaveSplineCheck
  bool openresult = false;                                        // OpenCheck
  bool operator==(const SettingFields&) const = default;
};

}  // namespace tessarin
