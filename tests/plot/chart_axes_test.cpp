// The arithmetic of the chart window's axes: tick positions and texts, zoom and pan ranges.
#include "plot/chart_axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace plexo {
namespace {

struct TickCase {
  const char* name;
  AxisRange range;
  int most;
  std::vector<double> ticks;
};
void PrintTo(const TickCase& c, std::ostream* os) { *os << c.name; }

class AxisTicksTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(AxisTicksTest, TicksAreRoundNumbersInsideTheRange) {
  const TickCase& c = GetParam();
  const std::vector<double> ticks = AxisTicks(c.range, c.most);
  ASSERT_EQ(ticks.size(), c.ticks.size());
  for (size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12 * std::fabs(c.range.Span())) << i;
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Ranges, AxisTicksTest,
    ::testing::Values(TickCase{"unit", {0.0, 1.0}, 6, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}},
                      TickCase{"unit_fewer", {0.0, 1.0}, 5, {0.0, 0.5, 1.0}},
                      TickCase{"symmetric", {-1.05, 1.05}, 5, {-1.0, -0.5, 0.0, 0.5, 1.0}},
                      TickCase{"offset", {3.0, 3.7}, 4, {3.0, 3.2, 3.4, 3.6}},
                      TickCase{"microseconds", {0.0, 1e-4}, 6, {0.0, 2e-5, 4e-5, 6e-5, 8e-5, 1e-4}},
                      TickCase{"megahertz", {0.0, 5e6}, 8, {0.0, 1e6, 2e6, 3e6, 4e6, 5e6}},
                      TickCase{"inside_a_step", {0.31, 0.39}, 3, {0.35}},
                      TickCase{"negative", {-250.0, -20.0}, 4, {-200.0, -100.0}},
                      TickCase{"one_allowed", {0.0, 10.0}, 1, {0.0}},
                      TickCase{"empty", {1.0, 1.0}, 5, {}}, TickCase{"reversed", {2.0, 1.0}, 5, {}},
                      TickCase{"not_a_number", {kNaN, 1.0}, 5, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
  double value, step;
  const char* text;
};

TEST(TickTextTest, ShowsAsManyDigitsAsTheStepNeeds) {
  const TextCase cases[] = {{0.25, 0.05, "0.25"},      {-0.4, 0.2, "-0.4"},
                            {1500.0, 500.0, "1500"},   {0.0, 1e-6, "0"},
                            {2.5e-6, 5e-7, "2.5e-06"}, {4e-5, 2e-5, "4e-05"},
                            {1.2e6, 2e5, "1.2e+06"},   {3e6, 1e6, "3e+06"},
                            {0.001, 0.001, "0.001"},   {20000.0, 10000.0, "20000"}};
  for (const TextCase& c : cases) EXPECT_EQ(TickText(c.value, c.step), c.text) << c.value;
}

TEST(AxisRangeTest, ZoomKeepsThePointUnderTheMouse) {
  EXPECT_EQ(ZoomAbout({0.0, 10.0}, 2.0, 0.5), (AxisRange{1.0, 6.0}));
  EXPECT_EQ(ZoomAbout({0.0, 10.0}, 10.0, 0.5), (AxisRange{5.0, 10.0}));
  EXPECT_EQ(ZoomAbout({4.0, 6.0}, 5.0, 2.0), (AxisRange{3.0, 7.0}));
}

struct ConfineCase {
  AxisRange range, confined;
};

TEST(AxisRangeTest, RangesStayInsideTheWholeChart) {
  const AxisRange whole{0.0, 10.0};
  const ConfineCase cases[] = {
      {{2.0, 4.0}, {2.0, 4.0}},                // inside: kept
      {{-2.0, 3.0}, {0.0, 5.0}},               // moved back in on the left
      {{8.0, 12.0}, {6.0, 10.0}},              // and on the right
      {{-1.0, 20.0}, {0.0, 10.0}},             // wider than the whole: the whole
      {{3.0, 3.0}, {3.0 - 5e-9, 3.0 + 5e-9}},  // collapsed: the narrowest range
      {{kNaN, 3.0}, {0.0, 10.0}}};
  for (const ConfineCase& c : cases) {
    const AxisRange r = Confined(c.range, whole);
    EXPECT_NEAR(r.low, c.confined.low, 1e-15) << c.range.low << " " << c.range.high;
    EXPECT_NEAR(r.high, c.confined.high, 1e-15) << c.range.low << " " << c.range.high;
  }
  EXPECT_EQ(Shifted({2.0, 4.0}, -5.0, whole), (AxisRange{0.0, 2.0}));
  EXPECT_EQ(Shifted({2.0, 4.0}, 1.5, whole), (AxisRange{3.5, 5.5}));
}

TEST(AxisPixelsTest, PixelsAndValuesMapBothWays) {
  // A vertical axis: 0 at pixel 300, 3 at pixel 0.
  const AxisPixels axis{{0.0, 3.0}, 300.0, 0.0};
  EXPECT_DOUBLE_EQ(axis.Pixel(1.0), 200.0);
  EXPECT_DOUBLE_EQ(axis.Value(150.0), 1.5);
  EXPECT_EQ(RangeBetween(axis, 100.0, 250.0), (AxisRange{0.5, 2.0}));
  EXPECT_EQ(RangeBetween(axis, 250.0, 100.0), (AxisRange{0.5, 2.0}));
}

}  // namespace
}  // namespace plexo
