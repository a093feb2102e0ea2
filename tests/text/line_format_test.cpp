// The fixed-layout line notation: integer and fixed-point fields, asterisks, L-lines.
#include "text/line_format.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

TEST(LineFormat, IntegerFieldsAreRightAlignedOrAsterisks) {
  EXPECT_EQ(FormatInteger(7, 4), "   7");
  EXPECT_EQ(FormatInteger(-12, 4), " -12");
  EXPECT_EQ(FormatInteger(1234, 4), "1234");
  EXPECT_EQ(FormatInteger(12345, 4), "****");
  EXPECT_EQ(FormatInteger(-100, 3), "***");
}

TEST(LineFormat, FixedFieldsRoundAndAlign) {
  EXPECT_EQ(FormatFixed(1000.0, 12, 3), "    1000.000");
  EXPECT_EQ(FormatFixed(0.18181818181818182, 5, 3), "0.182");
  EXPECT_EQ(FormatFixed(2.5, 8, 2), "    2.50");
  EXPECT_EQ(FormatFixed(-1.0, 8, 2), "   -1.00");
  EXPECT_EQ(FormatFixed(0.0005, 7, 4), " 0.0005");
  EXPECT_EQ(FormatFixed(1.23456789, 14, 8), "    1.23456789");
}

TEST(LineFormat, LeadingZeroIsDroppedOnlyWhenTheFieldIsTooNarrow) {
  EXPECT_EQ(FormatFixed(-0.5, 5, 3), "-.500");
  EXPECT_EQ(FormatFixed(-0.5, 6, 3), "-0.500");
  EXPECT_EQ(FormatFixed(0.25, 4, 3), ".250");
  EXPECT_EQ(FormatFixed(0.25, 5, 3), "0.250");
}

TEST(LineFormat, ValuesTooWideBecomeAsterisksOverTheWholeField) {
  EXPECT_EQ(FormatFixed(100000000.0, 12, 3), "************");
  EXPECT_EQ(FormatFixed(99999999.9994, 12, 3), "99999999.999");
  EXPECT_EQ(FormatFixed(1e9, 12, 2), "************");
  EXPECT_EQ(FormatFixed(10000.0, 8, 3), "********");
  EXPECT_EQ(FormatFixed(-10.0, 5, 3), "*****");
}

TEST(LineFormat, ZeroIsWrittenWithoutSignAndNonNumbersAreNamed) {
  EXPECT_EQ(FormatFixed(-1e-17, 8, 2), "    0.00");
  EXPECT_EQ(FormatFixed(-0.0, 5, 2), " 0.00");
  EXPECT_EQ(FormatFixed(std::nan(""), 7, 2), "    NaN");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 5, 2), "  Inf");
  EXPECT_EQ(FormatFixed(std::nan(""), 2, 1), "**");
}

TEST(LineFormat, LinesAreBuiltItemByItem) {
  EXPECT_EQ(Line().X(2).Text("Solution nr ").I(1, 3).Text(" out of ").I(16, 3).Text(".").str(),
            "  Solution nr   1 out of  16.");
  EXPECT_EQ(FreeLine("text"), " text");
  EXPECT_EQ(FreeLine(""), "");
  EXPECT_EQ(Dashes(), std::string(56, '-'));
  EXPECT_EQ(Equals(), std::string(56, '='));
  EXPECT_EQ(FormatText("2026", 4), "2026");
  EXPECT_EQ(FormatText("081646.123", 6), "081646");
}

}  // namespace
}  // namespace orv
