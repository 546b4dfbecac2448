#include "timefreq/align_on_threshold.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "signal/waveform.h"
#include "timefreq/average_tft.h"

namespace plexo {
namespace {

constexpr int kNone = -1;
constexpr double kThreshold = 0.5;
constexpr double kSentinel = 99.0;  // beyond count: must survive every shift

struct AlignCase {
  const char* name;
  int count;
  std::vector<int> crossings;  // indices set above the threshold (alternating sign)
  int target;
  long long expectedShift;  // later when positive; |shift| >= count empties the waveform
};

class AlignOnThresholdTest : public ::testing::TestWithParam<AlignCase> {};

// Quiet samples below the threshold, each distinct so that a wrong shift shows.
std::vector<Complex> Signal(const AlignCase& c) {
  std::vector<Complex> x(c.count + 8, Complex{kSentinel, 0.0});
  for (int i = 0; i < c.count; ++i) x[i] = {1e-4 * (i + 1), 0.0};
  double sign = -1.0;
  for (int i : c.crossings) x[i] = {sign * (1.0 + i), 0.0}, sign = -sign;
  return x;
}

TEST_P(AlignOnThresholdTest, ShiftsByTargetMinusFirstCrossingFromIndexTen) {
  const AlignCase& c = GetParam();
  const std::vector<Complex> before = Signal(c);
  std::vector<Complex> x = before;
  AlignOnThreshold(x.data(), c.count, kThreshold, c.target);
  for (int j = 0; j < c.count; ++j) {
    const long long from = j - c.expectedShift;
    const double expected = from >= 0 && from < c.count ? before[from].re : 0.0;
    ASSERT_EQ(x[j].re, expected) << "index " << j;
  }
  for (size_t j = c.count; j < x.size(); ++j) ASSERT_EQ(x[j].re, kSentinel);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlignOnThresholdTest,
    ::testing::Values(
        // dt = 1e-7 s, window 0 .. 4e-4 s: target 800, crossing at 300, delayed by 500.
        AlignCase{"DelayToOneFifth", 4096, {300, 301, 2000}, 800, 500},
        AlignCase{"NoCrossingDelaysByTarget", 4096, {}, 800, 800},
        AlignCase{"LateCrossingMovesEarlier", 4096, {1000}, 800, -200},
        AlignCase{"FirstTenSamplesNeverTested", 4096, {0, 9, 40}, 800, 760},
        AlignCase{"IndexTenIsTested", 4096, {10}, 100, 90},
        AlignCase{"ShortWaveformHasNoCrossing", 10, {2, 5}, 3, 3},
        AlignCase{"ShiftBeyondTheEndEmpties", 4096, {}, 5000, 5000},
        AlignCase{"NegativeShiftBeyondTheStartEmpties", 4096, {3990}, -200, -4190},
        AlignCase{"LargestTargetIsSafe", 4096, {300}, INT_MAX, INT_MAX - 300LL},
        AlignCase{"SmallestTargetIsSafe", 4096, {300}, INT_MIN, INT_MIN - 300LL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AlignOnThreshold, NothingHappensWithoutSamples) {
  std::vector<Complex> x(4, Complex{1.0, 0.0});
  AlignOnThreshold(x.data(), 0, 0.5, 2);
  AlignOnThreshold(x.data(), -3, 0.5, 2);
  for (const Complex& v : x) EXPECT_EQ(v.re, 1.0);
}

TEST(AlignmentTarget, OneFifthIntoTheWindowAndSafeForAnyQuotient) {
  EXPECT_EQ(AlignmentTarget(0.0, 4e-4, 1e-7), 800);
  EXPECT_EQ(AlignmentTarget(1e-4, 6e-4, 1e-7), 2000);
  EXPECT_EQ(AlignmentTarget(0.0, 0.0, 1e-7), 0);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(AlignmentTarget(0.0, 0.0, 0.0), 0);  // 0/0
  EXPECT_EQ(AlignmentTarget(0.0, 4e-4, 0.0), 2 * MAX_SAMPLES);
  EXPECT_EQ(AlignmentTarget(-4e-4, -4e-4, 0.0), -2 * MAX_SAMPLES);
  EXPECT_EQ(AlignmentTarget(0.0, 1.0, 1e-300), 2 * MAX_SAMPLES);
  EXPECT_EQ(AlignmentTarget(0.0, inf, 1e-7), 2 * MAX_SAMPLES);
}

struct GateCase {
  const char* name;
  double timeStart;
  double timeEnd;
  double dt;
  int zeroBelow;  // entries 0 .. zeroBelow - 1 become zero
  int zeroFrom;   // entries zeroFrom .. n - 1 become zero
};

class GateTimeWindowTest : public ::testing::TestWithParam<GateCase> {};

TEST_P(GateTimeWindowTest, ZeroesOutsideTheWindowOnlyInsideTheSamples) {
  const GateCase& c = GetParam();
  constexpr int n = 4096;
  std::vector<Complex> x(n + 4, Complex{1.0, 2.0});
  GateTimeWindow(x.data(), n, c.timeStart, c.timeEnd, c.dt);
  for (int i = 0; i < n; ++i) {
    const bool zeroed = i < c.zeroBelow || i >= c.zeroFrom;
    ASSERT_EQ(x[i].re, zeroed ? 0.0 : 1.0) << "index " << i;
    ASSERT_EQ(x[i].im, zeroed ? 0.0 : 2.0) << "index " << i;
  }
  for (int i = n; i < n + 4; ++i) ASSERT_EQ(x[i].re, 1.0);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, GateTimeWindowTest,
    ::testing::Values(GateCase{"StartZeroKeepsTheStart", 0.0, 1.0, 1e-7, 0, 4096},
                      GateCase{"FractionalStartZeroesUpToItsCeiling", 2.5e-7, 1.0, 1e-7, 3, 4096},
                      GateCase{"WholeStartZeroesBelowIt", 3e-7, 1.0, 1e-7, 3, 4096},
                      GateCase{"EndTruncates", 0.0, 4e-4, 1e-7, 0, 4000},
                      GateCase{"FractionalEndTruncates", 0.0, 1000.9e-7, 1e-7, 0, 1000},
                      GateCase{"StartBeyondTheSamples", 1.0, 2.0, 1e-7, 4096, 4096},
                      GateCase{"NegativeEndZeroesAll", 0.0, -1e-7, 1e-7, 0, 0},
                      GateCase{"ZeroIntervalZeroesFromAPositiveStart", 1e-7, 1.0, 0.0, 4096, 4096},
                      GateCase{"ZeroOverZeroZeroesNothing", 0.0, 0.0, 0.0, 0, 4096},
                      GateCase{"NotANumberZeroesNothing", kNaN, kNaN, 1e-7, 0, 4096}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plexo
