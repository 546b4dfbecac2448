#include "signal/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace plexo {
namespace {

struct FormatCase {
  double value;
  int precision;
  const char* e_text;
};

class FormatETest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatETest, PrintsThreeDigitExponents) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatE(c.value, c.precision), c.e_text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatETest,
    ::testing::Values(FormatCase{1.23456e-5, 6, "1.234560e-005"},
                      FormatCase{125000.0, 2, "1.25e+005"}, FormatCase{0.0, 6, "0.000000e+000"},
                      FormatCase{-0.0, 6, "-0.000000e+000"}, FormatCase{1e-300, 6, "1.000000e-300"},
                      FormatCase{1.7976931348623157e308, 6, "1.797693e+308"},
                      FormatCase{-2.5, 14, "-2.50000000000000e+000"},
                      FormatCase{9.9999996, 6, "1.000000e+001"},
                      FormatCase{1.2345e-4, 2, "1.23e-004"},
                      FormatCase{std::numeric_limits<double>::infinity(), 6, "inf"}));

TEST(NumberText, FixedAndIntegerFormats) {
  EXPECT_EQ(FormatF(0.5), "0.500000");
  EXPECT_EQ(FormatF(-0.0000004), "-0.000000");  // tiny negatives keep their sign, as printf does
  EXPECT_EQ(FormatF(0.0000004), "0.000000");
  EXPECT_EQ(FormatF(1234.4, 0), "1234");
  EXPECT_EQ(FormatF(99999.6, 0), "100000");
  EXPECT_EQ(FormatF(3.14159265, 4), "3.1416");
  EXPECT_EQ(FormatD(-42), "-42");
  EXPECT_EQ(TruncateToInt(1.9), 1);
  EXPECT_EQ(TruncateToInt(-0.5), 0);
  EXPECT_EQ(TruncateToInt(std::nan("")), 0);
  EXPECT_EQ(TruncateToInt(1e300), 2147483647);
}

TEST(NumberText, ParsesWithTheCRules) {
  EXPECT_DOUBLE_EQ(ParseDouble("  1.5e-3xyz"), 1.5e-3);
  EXPECT_DOUBLE_EQ(ParseDouble("\t-2"), -2.0);
  EXPECT_DOUBLE_EQ(ParseDouble("1.000000e-007"), 1e-7);
  EXPECT_EQ(ParseDouble("volts"), 0.0);
  EXPECT_EQ(ParseDouble(""), 0.0);
  EXPECT_EQ(ParseDouble("1,5"), 1.0);  // a decimal comma ends the number
  EXPECT_TRUE(std::isnan(ParseDouble("nan")));
  EXPECT_EQ(ParseInt(" 12abc"), 12);
  EXPECT_EQ(ParseInt("-7"), -7);
  EXPECT_EQ(ParseInt("x1"), 0);
  EXPECT_EQ(ParseInt("99999999999999"), 2147483647);
}

TEST(NumberText, IgnoresTheProcessLocale) {
  // A desktop locale with a decimal comma must change nothing the program reads or writes.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old != nullptr ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no decimal-comma locale installed";
  }
  EXPECT_EQ(FormatE(1.5), "1.500000e+000");
  EXPECT_EQ(FormatF(1.5), "1.500000");
  EXPECT_DOUBLE_EQ(ParseDouble("1.5"), 1.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace plexo
