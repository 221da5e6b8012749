// SPDX-License-Identifier: MIT
// Batch arguments onto the setting fields.
#include "batch_arguments.h"

namespace tessarin {

bool IsTrueArgument(std::string_view text) {
  if (text.size() != 4) return false;
  constexpr std::string_view kTrue = "TRUE";
  for (size_t i = 0; i < 4; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kTrue[i]) return false;
  }
  return true;
}

void ApplyBatchArguments(std::span<const std::string> arguments, SettingTexts& texts,
                         bool& openresult) {
  const size_t count = arguments.size();
  if (count >= 3) texts.maxpercent = arguments[2];
  if (count >= 4) texts.maxunits = arguments[3];
  if (count >= 5) texts.arctests = arguments[4];
  if (count >= 6) texts.splinetests = arguments[5];
  if (count >= 7) texts.keepsplines = IsTrueArgument(arguments[6]);
  if (count >= 8) openresult = IsTrueArgument(arguments[7]);
}

}  // namespace tessarin
