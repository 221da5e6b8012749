// SPDX-License-Identifier: MIT
// The six setting fields of the main window as values; their defaults are
// the engine's (SettingTexts{}), which the reset button brings back.
#pragma once

#include <QString>

#include "conversion_settings.h"

namespace tessarin {

// A default-constructed value holds the defaults.
struct SettingFields {
  QString maxpercent = QString::fromStdString(SettingTexts{}.maxpercent);    // AbwEd
  QString maxunits = QString::fromStdString(SettingTexts{}.maxunits);        // AbwEinhED
  QString arctests = QString::fromStdString(SettingTexts{}.arctests);        // TestEd
  QString splinetests = QString::fromStdString(SettingTexts{}.splinetests);  // SplineTestEd
  bool keepsplines = false;                                                  // LeaveSplineCheck
  bool openresult = false;                                                   // OpenCheck
  bool operator==(const SettingFields&) const = default;
};

// The fields' texts as the run's front end parses them, and back.
inline SettingTexts TextsOf(const SettingFields& fields) {
  return {fields.maxpercent.toStdString(), fields.maxunits.toStdString(),
          fields.arctests.toStdString(), fields.splinetests.toStdString(), fields.keepsplines};
}
inline SettingFields FieldsOf(const SettingTexts& texts, bool openresult) {
  return {QString::fromStdString(texts.maxpercent),
          QString::fromStdString(texts.maxunits),
          QString::fromStdString(texts.arctests),
          QString::fromStdString(texts.splinetests),
          texts.keepsplines,
          openresult};
}

}  // namespace tessarin
