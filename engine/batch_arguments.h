// SPDX-License-Identifier: MIT
// The batch command line shared by both programs: IN OUT [MAXPERCENT
// [MAXUNITS [ARCTESTS [SPLINETESTS [KEEPSPLINES [OPEN]]]]]].
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "conversion_settings.h"

namespace tessarin {

// True when `text` in upper case (ASCII letters) is "TRUE".
bool IsTrueArgument(std::string_view text);

// Applies arguments 3 to 8 (`arguments` holds the arguments from 1 on) to the
// field texts and switches, as typed into the window: the numbers are taken
// unchecked, the run parses them. Arguments after the eighth are ignored.
void ApplyBatchArguments(std::span<const std::string> arguments, SettingTexts& texts,
                         bool& openresult);

}  // namespace tessarin
