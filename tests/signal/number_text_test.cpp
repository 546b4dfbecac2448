#include "signal/number_text.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <regex>
#include <string>

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

// atof in the C locale, written the plain way: the reference every parse is held to.
double CAtof(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text.c_str(), nullptr, c_locale);
}

uint64_t Bits(double value) { return std::bit_cast<uint64_t>(value); }

class ParseDoubleExactness : public ::testing::TestWithParam<const char*> {};

TEST_P(ParseDoubleExactness, GivesTheBitsOfAtof) {
  const std::string text = GetParam();
  EXPECT_EQ(Bits(ParseDouble(text)), Bits(CAtof(text))) << '"' << text << '"';
  EXPECT_EQ(Bits(ParseDoubleByStrtod(text)), Bits(CAtof(text))) << '"' << text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    TrickyTexts, ParseDoubleExactness,
    ::testing::Values(
        // what the program writes and acquisition software exports
        "0.000000", "-0.000000", "-0.001234\r", "1.234560e-005", "1.000000e-007", "  42",
        "3.14159265358979311600", "0.0000010000", "999999999999999", "9999999999999999",
        "0.000000000000001", "-123456.789012345", "1234567890.12345678", "5.", ".5", "-0",
        // halfway cases and long mantissas that need more than the fast multiply
        "9007199254740993", "9007199254740993.0000000000000000001", "2.2250738585072011e-308",
        "2.2250738585072012e-308", "4.9406564584124654e-324", "2.4703282292062327e-324",
        "2.4703282292062328e-324", "1.7976931348623157e308", "1.7976931348623158e308",
        "1.7976931348623159e308", "1e-400", "-1e-400", "1e400",
        "0.1000000000000000055511151231257827021181583404541015625",
        "123456789012345678901234567890e-30",
        // what only strtod reads: hex, infinities, NaNs, a leading plus
        "0x1p3", "-0X1.8p1", "0x", "inf", "-Infinity", "nan", "nan(123)", "+1.5", "+.5e2",
        // prefixes that end early or hold no number
        "1e", "1e+", "1E+5x", "1.5e-3xyz", "-.5", "-.", ".", "-", "", "e5", "1,5", "1.5.6", "12abc",
        "0.5\t7", "--1", "- 1", "1d5", "\v\f 7.25"));

TEST(NumberText, ParsesRandomNumbersExactly) {
  // Shortest round-trip texts, printf texts of every kind and random digit strings.
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<int> digit(0, 9);
  char text[64];
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random());
    std::string texts[4];
    std::snprintf(text, sizeof text, "%.17g", value);
    texts[0] = text;
    std::snprintf(text, sizeof text, "%e", value);
    texts[1] = text;
    int exponent = 0;  // the value scaled into [0.5, 1), then printed with six decimals
    std::snprintf(text, sizeof text, "%.6f", std::frexp(value, &exponent) * 1e3);
    texts[2] = text;
    std::string digits = (i % 2 ? "-" : "") + std::to_string(digit(random)) + ".";
    for (int d = i % 40; d >= 0; --d) digits += static_cast<char>('0' + digit(random));
    texts[3] = digits + "e" + std::to_string(static_cast<int>(random() % 700) - 350);
    for (const std::string& t : texts) {
      ASSERT_EQ(Bits(ParseDouble(t)), Bits(CAtof(t))) << t;
    }
  }
}

// Digits are read eight at a time when eight bytes follow, so the same number must give the same
// bits whatever text comes after it, and a whole sample line must read as ParseDouble reads it.
TEST(NumberText, DigitRunsOfEveryLengthInAnyContext) {
  std::mt19937_64 random(8122026);
  const std::string tails[] = {"",
                               "\r\n",
                               "\n0.5\r\n",
                               "\r\n-0.001234\r\n12345678",
                               "e-3 1234567",
                               "x23456789",
                               ".5123456789",
                               "\t12345678",
                               "\r",
                               "\r\r\n",
                               " \n",
                               "/12345678"};
  for (int i = 0; i < 20000; ++i) {
    std::string number = i % 3 == 0 ? "-" : "";
    const int integer_digits = static_cast<int>(random() % 5);        // 0 .. 4
    const int fraction_digits = static_cast<int>(random() % 19) - 1;  // -1: no point
    for (int d = 0; d < integer_digits; ++d) number += static_cast<char>('0' + random() % 10);
    if (fraction_digits >= 0) number += '.';
    for (int d = 0; d < fraction_digits; ++d) number += static_cast<char>('0' + random() % 10);
    for (const std::string& tail : tails) {
      const std::string text = number + tail;
      ASSERT_EQ(Bits(ParseDouble(text)), Bits(CAtof(text))) << '"' << text << '"';
      // The reference: the first line (one CR dropped before its LF or at the end) is a plain
      // decimal number with 1 .. 15 digits.
      const size_t newline = text.find('\n');
      std::string line = text.substr(0, newline);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t digits = std::count_if(line.begin(), line.end(), ::isdigit);
      const bool plain =
          std::regex_match(line, std::regex("-?[0-9]*\\.?[0-9]*")) && digits >= 1 && digits <= 15;
      double value = -7.0;
      const char* next = ParsePlainDecimalLine(text.data(), text.data() + text.size(), value);
      if (plain) {
        ASSERT_NE(next, nullptr) << '"' << text << '"';
        EXPECT_EQ(Bits(value), Bits(CAtof(line))) << '"' << text << '"';
        const size_t line_end = newline == std::string::npos ? text.size() : newline + 1;
        EXPECT_EQ(next - text.data(), static_cast<std::ptrdiff_t>(line_end)) << text;
      } else {
        EXPECT_EQ(next, nullptr) << '"' << text << '"';
      }
    }
  }
}

TEST(NumberText, LongTextsKeepTheCut) {
  // strtod reads at most 511 characters of a numeric prefix; the fast path leaves such texts
  // to it.
  const std::string long_number = "1." + std::string(600, '3');
  EXPECT_EQ(Bits(ParseDouble(long_number)), Bits(ParseDoubleByStrtod(long_number)));
  EXPECT_DOUBLE_EQ(ParseDouble(long_number), 1.0 + 1.0 / 3.0);
  const std::string cut_exponent = "1." + std::string(508, '0') + "e5";
  EXPECT_EQ(ParseDouble(cut_exponent), 1.0);
}

}  // namespace
}  // namespace plexo
