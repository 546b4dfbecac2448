#include "timefreq/spwvd_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/recording_host.h"
#include "spectral/fft.h"
#include "timefreq/spwvd_lag_transform.h"
#include "timefreq/spwvd_reference.h"

namespace plexo {
namespace {

using testing::LiteralSpwvdCore;
using testing::MeanOneHamming;

enum class Signal { kNoise, kChirp, kConstant, kBurstInZeros, kWithNaNAndInfinity };

std::vector<double> MakeSignal(Signal kind, int n) {
  std::vector<double> x(n, 0.0);
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  for (int i = 0; i < n; ++i) {
    switch (kind) {
      case Signal::kNoise:
        x[i] = uniform(random);
        break;
      case Signal::kChirp:
        x[i] = std::sin(0.002 * i * i) * std::exp(-0.00001 * (i - n / 3.0) * (i - n / 3.0));
        break;
      case Signal::kConstant:
        x[i] = 0.75;
        break;
      case Signal::kBurstInZeros:
        x[i] = (i > n / 4 && i < n / 2) ? uniform(random) * 1e-3 : 0.0;
        break;
      case Signal::kWithNaNAndInfinity:
        x[i] = uniform(random);
        if (i == n / 3) x[i] = std::numeric_limits<double>::quiet_NaN();
        if (i == 2 * n / 3) x[i] = -std::numeric_limits<double>::infinity();
        break;
    }
  }
  return x;
}

// Equal bit patterns, or both NaN.
bool SameDouble(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

struct CoreCase {
  const char* name;
  int nTime;
  int nFreq;
  int windowParameter;
  Signal signal;
  int workers;
};

class SpwvdCoreMatchesLiteral : public ::testing::TestWithParam<CoreCase> {};

// The fast core (lags side by side, tabulated transform, threads) against the literal loop, bit
// for bit, on every bin the matrix keeps.
TEST_P(SpwvdCoreMatchesLiteral, BitForBit) {
  const CoreCase& p = GetParam();
  const std::vector<double> x = MakeSignal(p.signal, p.nTime);
  const int lt = SpwvdWindowLength(p.nTime, 5LL * p.windowParameter);
  const int lf = SpwvdWindowLength(p.nFreq, p.windowParameter);
  const std::vector<double> windowT = MeanOneHamming(lt);
  const std::vector<double> windowF = MeanOneHamming(lf);
  const int bins = std::min(p.nFreq, TFT_MAX_ROWS);

  const std::vector<double> expected =
      LiteralSpwvdCore(p.nTime, x.data(), windowT.data(), lt, windowF, lf, p.nFreq, p.nTime);

  SpwvdCoreInput input;
  input.x = x.data();
  input.signalLength = p.nTime;
  input.windowT = windowT.data();
  input.lt = lt;
  input.windowF = windowF.data();
  input.lf = lf;
  input.nFreq = p.nFreq;
  input.nTime = p.nTime;
  input.workers = p.workers;
  std::vector<double> out(static_cast<size_t>(p.nTime) * bins, -1.0);
  RecordingHost host;
  NullProgress progress;
  ASSERT_EQ(SpwvdCore(input, out.data(), bins, progress, host), CalcStatus::kDone);
  EXPECT_TRUE(host.messages.empty());

  int mismatches = 0;
  for (int c = 0; c < p.nTime; ++c)
    for (int k = 0; k < bins; ++k) {
      const double want = expected[static_cast<size_t>(c) * p.nFreq + k];
      const double got = out[static_cast<size_t>(c) * bins + k];
      if (!SameDouble(want, got) && ++mismatches <= 5)
        ADD_FAILURE() << "column " << c << " bin " << k << ": " << got << " instead of " << want;
    }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Literal, SpwvdCoreMatchesLiteral,
    ::testing::Values(
        // Direct-DFT lengths (tabulated transform), every lag reachable with windowParameter 1.
        CoreCase{"Noise600AllLags", 40, 600, 1, Signal::kNoise, 1},
        CoreCase{"Chirp600Window4", 30, 600, 4, Signal::kChirp, 3},
        CoreCase{"Noise90LongSignal", 400, 90, 1, Signal::kNoise, 2},
        CoreCase{"OddLength", 75, 101, 2, Signal::kNoise, 1},
        CoreCase{"MoreBinsThanMatrixRows", 6, 1100, 1, Signal::kNoise, 2},
        CoreCase{"BurstInZeros", 200, 150, 1, Signal::kBurstInZeros, 2},
        CoreCase{"NaNAndInfinity", 90, 60, 1, Signal::kWithNaNAndInfinity, 2},
        // Radix-2 lengths go through FFTSplit itself.
        CoreCase{"Radix512", 300, 512, 4, Signal::kChirp, 2},
        CoreCase{"Radix64AllLags", 150, 64, 1, Signal::kNoise, 1},
        // Degenerate sizes: one column, transform lengths 1, 2 and 3.
        CoreCase{"OneColumn", 1, 600, 1, Signal::kNoise, 2},
        CoreCase{"LengthOne", 20, 1, 1, Signal::kNoise, 1},
        CoreCase{"LengthTwo", 20, 2, 1, Signal::kNoise, 1},
        CoreCase{"LengthThree", 20, 3, 1, Signal::kConstant, 1},
        CoreCase{"ConstantManyColumns", 24, 600, 3, Signal::kConstant, 2}),
    [](const ::testing::TestParamInfo<CoreCase>& info) { return std::string(info.param.name); });

// The tabulated transform against FFTSplit itself with every reachable lag non-zero, with each
// kernel this processor can run.
TEST(SpwvdLagTransform, MatchesFFTSplitOnFullLagVectors) {
  std::vector<simd::Isa> kernels = {simd::Isa::kSse2};
  if (simd::MachineIsa() != simd::Isa::kSse2) kernels.push_back(simd::Isa::kAvx2);
  if (simd::MachineIsa() == simd::Isa::kAvx512) kernels.push_back(simd::Isa::kAvx512);
  const int columns = SpwvdLagTransform::kBatch - 3;
  for (int n : {600, 37, 520, 1}) {
    const int bins = std::min(n, TFT_MAX_ROWS);
    std::vector<double> lags(static_cast<size_t>(columns) * n);
    std::mt19937 random(n);
    std::uniform_real_distribution<double> uniform(-3.0, 3.0);
    for (double& v : lags) v = uniform(random);
    // With an odd length, lag n - n/2 lies beyond the reach of every column: always zero.
    if (n % 2 == 1 && n > 1)
      for (int i = 0; i < columns; ++i) lags[static_cast<size_t>(i) * n + n / 2 + 1] = 0.0;

    std::vector<double> expected(static_cast<size_t>(columns) * bins);
    std::vector<double> re(n), im(n), zeros(n, 0.0);
    for (int i = 0; i < columns; ++i) {
      FFTSplit(n, false, lags.data() + static_cast<size_t>(i) * n, zeros.data(), re.data(),
               im.data());
      for (int k = 0; k < bins; ++k)
        expected[static_cast<size_t>(i) * bins + k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
    }

    for (simd::Isa isa : kernels) {
      const SpwvdLagTransform transform(n, bins, n / 2 - 1, isa);
      ASSERT_TRUE(transform.Tabulated());
      std::vector<double> out(static_cast<size_t>(columns) * bins);
      std::vector<double> scratch;
      transform.Magnitudes(lags.data(), columns, out.data(), bins, scratch);
      for (size_t e = 0; e < out.size(); ++e)
        ASSERT_TRUE(SameDouble(out[e], expected[e]))
            << "kernel " << static_cast<int>(isa) << " n " << n << " entry " << e;
    }
  }
}

TEST(SpwvdWindowLength, OddAndAtLeastOne) {
  EXPECT_EQ(SpwvdWindowLength(2000, 20), 101);  // 100 -> 101
  EXPECT_EQ(SpwvdWindowLength(512, 4), 129);    // 128 -> 129
  EXPECT_EQ(SpwvdWindowLength(600, 1), 601);
  EXPECT_EQ(SpwvdWindowLength(2005, 5), 401);  // odd already
  EXPECT_EQ(SpwvdWindowLength(1, 5), 1);       // 0 -> 1
  EXPECT_EQ(SpwvdWindowLength(-7, 5), 1);
}

struct CoreCheckCase {
  const char* name;
  int nFreq, nTime, lt, lf;
  const char* message;
};

class SpwvdCoreChecks : public ::testing::TestWithParam<CoreCheckCase> {};

// The four checks refuse the run with their message and leave out alone; the program goes on.
TEST_P(SpwvdCoreChecks, RefuseWithoutEnding) {
  const CoreCheckCase& p = GetParam();
  const std::vector<double> x(10, 1.0), w(11, 1.0);
  SpwvdCoreInput input;
  input.x = x.data();
  input.signalLength = 10;
  input.windowT = w.data();
  input.lt = p.lt;
  input.windowF = w.data();
  input.lf = p.lf;
  input.nFreq = p.nFreq;
  input.nTime = p.nTime;
  std::vector<double> out(16, -1.0);
  RecordingHost host;
  NullProgress progress;
  EXPECT_EQ(SpwvdCore(input, out.data(), 1, progress, host), CalcStatus::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], p.message);
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](double v) { return v == -1.0; }));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SpwvdCoreChecks,
    ::testing::Values(
        CoreCheckCase{"NFreqZero", 0, 10, 3, 3, "The field tfr.N_freq is not correctly set\n"},
        CoreCheckCase{"NFreqFirst", -4, 0, 2, 2, "The field tfr.N_freq is not correctly set\n"},
        CoreCheckCase{"NTimeZero", 8, 0, 3, 3, "The field tfr.N_time is not correctly set\n"},
        CoreCheckCase{"TimeWindowEven", 8, 1, 4, 3,
                      "The time-window Length must be an ODD number\n"},
        CoreCheckCase{"TimeWindowEmpty", 8, 1, -1, 3,
                      "The time-window Length must be an ODD number\n"},
        CoreCheckCase{"FrequencyWindowEven", 8, 1, 3, 10,
                      "The frequency-window Length must be an ODD number\n"}),
    [](const ::testing::TestParamInfo<CoreCheckCase>& info) {
      return std::string(info.param.name);
    });

class PositionLog : public NullProgress {
 public:
  void SetPos(int pos) override { positions.push_back(pos); }
  std::vector<int> positions;
};

// One column reaches lag 0 only: the transform of a single value has its magnitude in every bin.
TEST(SpwvdDistribution, OneColumnUsesLagZeroOnly) {
  TftMatrix matrix;
  const double x[1] = {-2.0};
  RecordingHost host;
  PositionLog progress;
  ASSERT_EQ(SpwvdDistribution(matrix, x, 1, 600, 1, 2, progress, host), CalcStatus::kDone);
  for (int k = 0; k < TFT_MAX_ROWS; ++k) {
    EXPECT_NEAR(matrix.Row(k)[0].re, 4.0, 1e-12) << k;
    EXPECT_EQ(matrix.Row(k)[0].im, 0.0);
  }
  EXPECT_EQ(progress.positions, std::vector<int>{0});
}

// A constant signal has, in an interior column, the squared constant times the lag window as its
// lag values: all positive, so their transform peaks at bin 0.
TEST(SpwvdDistribution, ConstantSignalPeaksAtBinZero) {
  TftMatrix matrix;
  const int nTime = 400, nFreq = 128;
  const std::vector<double> x(nTime, 0.5);
  RecordingHost host;
  PositionLog progress;
  ASSERT_EQ(SpwvdDistribution(matrix, x.data(), nTime, nFreq, 4, 3, progress, host),
            CalcStatus::kDone);
  for (int c = 100; c < 300; c += 7) {
    double largest = -1.0;
    int peak = -1;
    for (int k = 0; k < nFreq; ++k)
      if (matrix.Row(k)[c].re > largest) largest = matrix.Row(k)[c].re, peak = k;
    EXPECT_EQ(peak, 0) << "column " << c;
  }
  // Every column moves the progress position once, in order, whatever the thread count.
  std::vector<int> expected(nTime);
  for (int c = 0; c < nTime; ++c) expected[c] = c;
  EXPECT_EQ(progress.positions, expected);
}

// Columns beyond the matrix are refused (the calculation's window limit keeps them out).
TEST(SpwvdDistribution, RefusesMoreColumnsThanTheMatrixHolds) {
  TftMatrix matrix;
  const std::vector<double> x(20, 1.0);
  NullProgress progress;
  RecordingHost host;
  EXPECT_EQ(SpwvdDistribution(matrix, x.data(), 16385, 64, 1, 1, progress, host),
            CalcStatus::kRefused);
  EXPECT_EQ(host.messages, std::vector<std::string>{
                               "Time window of 16385 columns exceeds program limit of 16384!"});
}

}  // namespace
}  // namespace plexo
