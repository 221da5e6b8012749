// SPDX-License-Identifier: MIT
// Number parsing and FloatToDXF against tables of texts and values.
#include "dxf_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tessarin {
namespace {

TEST(ParseDxfDouble, ReadsAndRejectsTexts) {
  struct Row {
    const char* text;
    std::optional<double> expected;
  };
  const Row rows[] = {
      {"1.5", 1.5},
      {"  -2.25  ", -2.25},
      {"+3", 3.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"1e3", 1000.0},
      {"1E+3", 1000.0},
      {"2.5e-2", 0.025},
      {"-0", -0.0},
      {"1e-400", 0.0},
      {"4.9e-324", 4.9e-324},
      {"0.1", 0.1},
      {".", std::nullopt},
      {"1e", std::nullopt},
      {"e5", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"1e309", std::nullopt},
      {"1,5", std::nullopt},
      {"1.5x", std::nullopt},
      {"\t1", std::nullopt},
      {"1 2", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto value = ParseDxfDouble(row.text);
    ASSERT_EQ(value.has_value(), row.expected.has_value());
    if (value) {
      EXPECT_EQ(*value, *row.expected);
      EXPECT_EQ(std::signbit(*value), std::signbit(*row.expected));
    }
  }
}

TEST(ParseDxfDouble, CommaSeparator) {
  EXPECT_EQ(ParseDxfDouble("0,5", ','), 0.5);
  EXPECT_EQ(ParseDxfDouble("0.5", ','), std::nullopt);
  EXPECT_EQ(ParseDxfDouble("-1,25e1", ','), -12.5);
}

TEST(ParseDxfDouble, IsCorrectlyRounded) {
  // Halfway between 1 and the next double, plus a tiny bit: rounds up.
  EXPECT_EQ(ParseDxfDouble("1.00000000000000011102230246251565404236316680908203126"),
            std::nextafter(1.0, 2.0));
  EXPECT_EQ(ParseDxfDouble("1.00000000000000011102230246251565404236316680908203125"), 1.0);
}

TEST(ParseDxfInt, ReadsAndRejectsTexts) {
  struct Row {
    const char* text;
    std::optional<int32_t> expected;
  };
  const Row rows[] = {
      {"8", 8},
      {"  3", 3},
      {"-1", -1},
      {"+9", 9},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"3 ", std::nullopt},
      {"", std::nullopt},
      {"1.0", std::nullopt},
      {"x", std::nullopt},
      {"+-3", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseDxfInt(row.text), row.expected);
  }
}

TEST(ParseDxfHandle, ReadsHexUpTo32Bits) {
  EXPECT_EQ(ParseDxfHandle("1F"), 0x1Fu);
  EXPECT_EQ(ParseDxfHandle("abc"), 0xABCu);
  EXPECT_EQ(ParseDxfHandle("FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseDxfHandle("00000000FF"), 0xFFu);
  EXPECT_EQ(ParseDxfHandle("100000000"), std::nullopt);
  EXPECT_EQ(ParseDxfHandle(""), std::nullopt);
  EXPECT_EQ(ParseDxfHandle("G1"), std::nullopt);
  EXPECT_EQ(ParseDxfHandle("-1"), std::nullopt);
  EXPECT_EQ(HandleToDXF(0x80000063u), "80000063");
  EXPECT_EQ(HandleToDXF(0x66u), "66");
}

TEST(FloatToDXF, FormatsEveryKindOfValue) {
  struct Row {
    double value;
    const char* expected;
  };
  const Row rows[] = {
      {0.5, "0.5"},
      {12, "12"},
      {-3.25, "-3.25"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {0.0, "0"},
      {-0.0, "0"},
      {0.0001, "0.0001"},
      {0.00001, "0.000010000000000000"},
      {2e15, "2000000000000000.000000000000000000"},
      {999999999999999.0, "999999999999999"},
      {1.5e15, "1500000000000000.000000000000000000"},
      {123456.789, "123456.789"},
      {-0.00012345678901234567, "-0.000123456789012346"},
      {1.0 + 1.0 / 32768.0, "1.00003051757813"},  // exact tie rounds away from zero
      {-(1.0 + 1.0 / 32768.0), "-1.00003051757813"},
      {1.2345000000000996e-05, "0.000012345000000001"},
      {1e300, "1.00000000000000005E300"},
      {-1e18, "-1E18"},
      {1e-25, "0.000000000000000000"},
      {-1e-25, "0.000000000000000000"},
      {-3e-20, "-0.000000000000000000"},
      {9.9999999999999995e-5, "0.0001"},  // rounds up into plain notation
      {0.1 + 0.2, "0.3"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(FloatToDXF(row.value), row.expected);
  }
}

// Ties of the 18-digit text: 1e15 + 0.125 is exact, and its 18th significant
// digit is followed by exactly 5. Half-even would give ".12".
TEST(FloatToDXF, RoundsEighteenDigitTiesAwayFromZero) {
  EXPECT_EQ(FloatToDXF(1e15 + 0.125), "1000000000000000.130000000000000000");
  EXPECT_EQ(FloatToDXF(-(1e15 + 0.125)), "-1000000000000000.130000000000000000");
  EXPECT_EQ(FloatToDXF(1e15 + 0.25), "1000000000000000.250000000000000000");
  // Not a tie: 1 + 2^-24 = 1.000000059604644775390625.
  EXPECT_EQ(FloatToDXF(1.0 + std::ldexp(1.0, -24)), "1.00000005960464");
}

}  // namespace
}  // namespace tessarin
