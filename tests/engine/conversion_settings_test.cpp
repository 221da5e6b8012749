// SPDX-License-Identifier: MIT
// The setting fields' two-attempt parsing and the fallback clamp.
#include "conversion_settings.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(ConversionSettings, LimitFields) {
  struct Row {
    const char* text;
    double expected;
  };
  const Row rows[] = {
      {"0,5", 0.5},                                  // first attempt
      {"0.5", 0.5},                                  // second attempt, within the range
      {"0.001", 0.01},                               // second attempt, clamped
      {"0,001", 0.001},                              // first attempt, not clamped
      {"500", 500},                                  // first attempt, not clamped
      {"150.5", 100},                                // second attempt, clamped to the upper bound
      {"abc", 0.01},                                 // no number: the lower bound
      {"", 0.01},       {" 2,5 ", 2.5}, {"-3", -3},  // first attempt: taken as it is
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseLimitSetting(row.text, kMaxPercentMin, kMaxPercentMax), row.expected);
  }
}

TEST(ConversionSettings, CountFields) {
  struct Row {
    const char* text;
    int32_t min, max, expected;
  };
  const Row rows[] = {
      {"2,5", 3, 10000, 2},  // half to even, first attempt, not clamped
      {"3,5", 3, 10000, 4},         {"2.5", 3, 10000, 3},  // second attempt gives 2, clamped to 3
      {"20000", 3, 10000, 20000},   {"x", 3, 10000, 3},          {"x", 10, 10000, 10},
      {"4294967299", 3, 10000, 3},   // low 32 bits of the rounded value: 3
      {"4294967306", 3, 10000, 10},  // low 32 bits: 10, not clamped
      {"0", 3, 10000, 3},            // below 1: the lower bound
      {"-7", 10, 10000, 10},        {"4294967295", 3, 10000, 3},  // low 32 bits read as -1
      {"1", 3, 10000, 1},     // 1 is a count the fit can work with
      {"1e30", 3, 10000, 3},  // a huge value's low 32 bits are 0
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseCountSetting(row.text, row.min, row.max), row.expected);
  }
}

TEST(ConversionSettings, AllFieldsTogether) {
  SettingTexts texts;
  texts.maxpercent = "0,5";
  texts.maxunits = "0.25";
  texts.arctests = "12";
  texts.splinetests = "a";
  texts.keepsplines = true;
  const ConversionSettings s = ParseSettings(texts);
  EXPECT_EQ(s.maxpercent, 0.5);
  EXPECT_EQ(s.maxunits, 0.25);
  EXPECT_EQ(s.arctests, 12);
  EXPECT_EQ(s.splinetests, 10);
  EXPECT_TRUE(s.keepsplines);
}

// The fields start with the defaults' texts (and the reset restores them);
// read back they are the defaults of the fit.
TEST(ConversionSettings, DefaultTextsAreTheDefaults) {
  const SettingTexts texts;
  EXPECT_EQ(texts.maxpercent, "1");
  EXPECT_EQ(texts.maxunits, "1");
  EXPECT_EQ(texts.arctests, "10");
  EXPECT_EQ(texts.splinetests, "1000");
  EXPECT_FALSE(texts.keepsplines);
  const ConversionSettings parsed = ParseSettings(texts);
  const FitSettings defaults;
  EXPECT_EQ(parsed.maxpercent, defaults.maxpercent);
  EXPECT_EQ(parsed.maxunits, defaults.maxunits);
  EXPECT_EQ(parsed.arctests, defaults.arctests);
  EXPECT_EQ(parsed.splinetests, defaults.splinetests);
}

}  // namespace
}  // namespace tessarin
