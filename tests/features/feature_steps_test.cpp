// The feature steps on waveforms built in memory: the onset picker, the window's edge samples,
// the spectral bands and peaks, and the wavelet rows with their reported offsets.
#include <gtest/gtest.h>

#include <cmath>

#include "feature_reference.h"
#include "feature_test_data.h"
#include "features/feature_extraction.h"
#include "features/fft_features.h"
#include "features/time_features.h"
#include "features/wt_features.h"

namespace plexo {
namespace {

std::vector<Complex> ToComplex(const std::vector<double>& x) {
  std::vector<Complex> c(MAX_SAMPLES);
  for (size_t i = 0; i < x.size(); ++i) c[i] = {x[i], 0.0};
  return c;
}

// Runs every step on x with the given settings (in a fresh thread state).
FeatureValues Features(const std::vector<double>& x, double dt, const FeatureSettings& settings,
                       double timeOfTest = 0.0, bool wavelet = true) {
  FeatureThreadState state;
  state.waveform.samples = ToComplex(x);
  state.waveform.count = static_cast<int>(x.size());
  state.waveform.sampleInterval = dt;
  state.waveform.timeOfTest = timeOfTest;
  FeatureValues values;
  EXPECT_EQ(ComputeWaveformFeatures(settings, wavelet, state, values), "");
  return values;
}

FeatureSettings Settings(FeatureParams params = {}, bool aic = false) {
  return ParseFeatureParams(params, aic);
}

struct AicCase {
  const char* name;
  std::vector<double> samples;
  int expected;  // onset index
};

class AicTest : public ::testing::TestWithParam<AicCase> {};

TEST_P(AicTest, PicksTheOnset) {
  const auto& c = GetParam();
  const auto x = ToComplex(c.samples);
  EXPECT_EQ(PickOnsetAIC(x.data(), static_cast<int>(c.samples.size()), 1e-7), c.expected * 1e-7);
  EXPECT_EQ(testing::ReferenceOnsetIndex(c.samples), c.expected);
}

std::vector<double> QuietThenLoud(int quiet, double scale, int repeatPeakAt = -1) {
  std::vector<double> x = testing::BurstSamples(400, quiet, 200e3, 450e3, 1e-7, 7, 0.004);
  for (double& v : x) v *= scale;
  if (repeatPeakAt >= 0) {
    int p = 0;
    for (int i = 0; i < 400; ++i)
      if (std::fabs(x[i]) > std::fabs(x[p])) p = i;
    x[repeatPeakAt] = -x[p];  // the same magnitude earlier
  }
  return x;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AicTest,
    ::testing::Values(AicCase{"PeakAtZero", {3.0, 1.0, -2.0, 0.5}, 0},
                      AicCase{"PeakAtOne", {0.0, 3.0, 1.0, -2.0}, 0},
                      // P = 3: splits 0 and 1 count the left variance as 1, j = 2 = P-1 the
                      // right one: 3 ln(0.005) beats 3 ln(0.19) and 2 ln(0.245).
                      AicCase{"ThreeValuesBeforePeak", {0.0, 0.1, 0.2, 0.9}, 2},
                      // The sample variance (divisor count - 1) picks 1; count would pick 2.
                      AicCase{"SampleVarianceDivisor", {0.0, -0.5, 0.3, 0.9}, 1},
                      // The left term's factor j + 1 (with j the pick would be 5).
                      AicCase{"LeftFactor", {0.0, 0.3, -0.1, 0.3, -0.5, -0.1, 0.9}, 3},
                      // Every variance above 1: no negative criterion, onset 0 whatever the shape.
                      AicCase{"LargeVariances", QuietThenLoud(120, 400.0), 0},
                      AicCase{"Burst", QuietThenLoud(120, 1.0),
                              testing::ReferenceOnsetIndex(QuietThenLoud(120, 1.0))},
                      // The earlier of two equal peaks is P: the pick lies before it.
                      AicCase{"TiedPeaks", QuietThenLoud(120, 1.0, 60),
                              testing::ReferenceOnsetIndex(QuietThenLoud(120, 1.0, 60))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AicTest, BurstPickLiesAtItsStartAndTiedPeaksCutTheSearch) {
  EXPECT_NEAR(testing::ReferenceOnsetIndex(QuietThenLoud(120, 1.0)), 119, 3);
  EXPECT_LT(testing::ReferenceOnsetIndex(QuietThenLoud(120, 1.0, 60)), 60);
}

TEST(TimeFeaturesTest, WindowTruncatesItsStartAndComparesItsEnd) {
  std::vector<double> x(40, 0.0);
  for (int i = 0; i < 40; ++i) x[i] = (i >= 20 && i <= 24) ? 0.1 * (i - 19) : 9.0;
  const auto c = ToComplex(x);
  SignalWindow window{2.05e-6, 2.45e-6, 0.0};
  FeatureValues v;
  ComputeTimeFeatures(c.data(), 40, 1e-7, 5.0, window, 75, v);
  EXPECT_EQ(v[kColPeakAmplitude], 0.5);
  double sum = 0;
  for (int i = 20; i <= 24; ++i) sum += x[i] * x[i];
  EXPECT_EQ(v[kColSignalEnergy], sum * 1e-7 * std::pow(75.0, -1.0));
  EXPECT_EQ(v[kColArrivalTime], 5.0);
  // A window reaching past the record counts the missing samples as 0.
  ComputeTimeFeatures(c.data(), 40, 1e-7, 0.0, {3.5e-6, 1.0, 0.0}, 50, v);
  EXPECT_EQ(v[kColPeakAmplitude], 9.0);
  // End before start: nothing.
  ComputeTimeFeatures(c.data(), 40, 1e-7, 0.0, {3e-6, 2e-6, 0.0}, 50, v);
  EXPECT_EQ(v[kColPeakAmplitude], 0.0);
  EXPECT_EQ(v[kColSignalEnergy], 0.0);
}

// A cosine on bin 1 (150 kHz) and one on bin 8 (1.2 MHz) of a 32-point spectrum.
std::vector<double> TwoBins() {
  const double pi = std::acos(-1.0);
  std::vector<double> x(32);
  for (int i = 0; i < 32; ++i) x[i] = std::cos(2 * pi * i / 32) + std::cos(2 * pi * 8 * i / 32);
  return x;
}

TEST(FftFeaturesTest, BandEdgesAndTheSpectralTotal) {
  FeatureParams p;
  p.timeStart = "0";
  p.timeEnd = "1";
  const double dt = 1.0 / (32 * 150e3);
  const FeatureValues v = Features(TwoBins(), dt, Settings(p), 0.0, false);
  // 150 kHz is band 2's begin (closed), band 1's end (open); 1.2 MHz is at ppLimit: no band,
  // not in the total.
  EXPECT_NEAR(v[kColPartialPower1 + 1], 100.0, 1e-9);
  EXPECT_NEAR(v[kColPartialPower1], 0.0, 1e-9);
  EXPECT_NEAR(v[kColPartialPower1 + 5], 0.0, 1e-9);
  // Every band "0" to "0": no total, 0/0.
  p.ppBegin.fill(std::string(1, '0'));
  p.ppEnd.fill(std::string(1, '0'));
  const FeatureValues none = Features(TwoBins(), dt, Settings(p), 0.0, false);
  for (int b = 0; b < 8; ++b) EXPECT_TRUE(std::isnan(none[kColPartialPower1 + b]));
}

TEST(FftFeaturesTest, SecondPeakKeepsClearOfTheFirst) {
  const double pi = std::acos(-1.0);
  std::vector<double> x(1024);
  for (int i = 0; i < 1024; ++i) {
    x[i] = 1.0 * std::cos(2 * pi * 20 * i / 1024) + 0.8 * std::cos(2 * pi * 22 * i / 1024) +
           0.5 * std::cos(2 * pi * 40 * i / 1024) + 0.3 * std::cos(2 * pi * 100 * i / 1024);
  }
  FeatureParams p;
  p.timeStart = "0";
  p.timeEnd = "1";
  const double dt = 1e-7;  // fs/200 = 50 kHz, df = 9765.625 Hz
  const FeatureValues v = Features(x, dt, Settings(p), 0.0, false);
  EXPECT_EQ(v[kColPeakFrequency1], 20 * 9765.625);
  EXPECT_EQ(v[kColPeakFrequency1 + 1], 40 * 9765.625);  // not bin 22, 19.5 kHz from the first
  EXPECT_EQ(v[kColPeakFrequency1 + 2], 100 * 9765.625);
}

TEST(FftFeaturesTest, SingleSampleGivesZeroFrequencies) {
  FeatureParams p;
  p.timeStart = "0";
  p.timeEnd = "1";
  const FeatureValues v = Features({0.25}, 1e-7, Settings(p), 0.0, false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(v[kColPeakFrequency1 + i], 0.0);
  EXPECT_EQ(v[kColFrequencyCentroid], 0.0);
  EXPECT_EQ(v[kColWeightedPeakFrequency1], 0.0);
  const FeatureValues silent = Features({0.0}, 1e-7, Settings(p), 0.0, false);
  EXPECT_TRUE(std::isnan(silent[kColFrequencyCentroid]));
}

TEST(WtFeaturesTest, RowsStartAtTheStepAndReportOffsets) {
  const double dt = 1e-7;
  const auto x = testing::BurstSamples(800, 200, 110e3, 700e3, dt, 3, 0.0);
  FeatureParams p;
  p.timeStart = "10e-6";
  p.timeEnd = "50e-6";
  p.freqStart = "100e3";
  p.freqEnd = "1e6";
  p.waveletLength = "301";
  const FeatureSettings s = Settings(p);
  EXPECT_EQ(WaveletRowCount(s), 90);
  const FeatureValues v = Features(x, dt, s, 2.0);
  const FeatureValues ref = testing::ReferenceFeatures(x, dt, 2.0, s);
  EXPECT_EQ(v[kColModulusMaximumFrequency], ref[kColModulusMaximumFrequency]);
  EXPECT_EQ(v[kColModulusMaximumTime], ref[kColModulusMaximumTime]);
  EXPECT_NEAR(v[kColModulusMaximum], ref[kColModulusMaximum], ref[kColModulusMaximum] * 1e-12);
  // The 110 kHz burst peaks in the row analysing 110 kHz (row 10, since rows start at the
  // step, not at freqStart), reported with freqStart added.
  EXPECT_EQ(v[kColModulusMaximumFrequency], 210e3);
  for (int b = 0; b < 4; ++b)
    EXPECT_NEAR(v[kColTimeFrequencyPower1 + b], ref[kColTimeFrequencyPower1 + b], 1e-9);

  // Doubling every sample doubles the maximum and keeps the shares.
  std::vector<double> doubled = x;
  for (double& d : doubled) d *= 2;
  const FeatureValues v2 = Features(doubled, dt, s, 2.0);
  EXPECT_EQ(v2[kColModulusMaximum], 2 * v[kColModulusMaximum]);
  for (int b = 0; b < 4; ++b)
    EXPECT_EQ(v2[kColTimeFrequencyPower1 + b], v[kColTimeFrequencyPower1 + b]);
}

TEST(WtFeaturesTest, EmptyWindowOrNoRowsGiveZerosAndNan) {
  const auto x = testing::BurstSamples(500, 100, 200e3, 600e3, 1e-7, 5);
  for (bool emptyWindow : {true, false}) {
    FeatureParams p;
    p.timeStart = "30e-6";
    p.timeEnd = emptyWindow ? "30e-6" : "40e-6";
    p.freqStart = "0";
    p.freqEnd = emptyWindow ? "1e6" : "5e3";  // less than one step: no rows
    const FeatureSettings s = Settings(p);
    const FeatureValues v = Features(x, 1e-7, s, 7.0);
    EXPECT_EQ(v[kColModulusMaximum], 0.0);
    EXPECT_EQ(v[kColModulusMaximumTime], 7.0);
    EXPECT_EQ(v[kColModulusMaximumFrequency], 0.0);
    for (int b = 0; b < 4; ++b) EXPECT_TRUE(std::isnan(v[kColTimeFrequencyPower1 + b]));
  }
}

TEST(WtFeaturesTest, BandBeginIsOpenAndEndClosed) {
  const double dt = 1e-7;
  const auto x = testing::BurstSamples(600, 100, 300e3, 300e3, dt, 9, 0.0);
  FeatureParams p;
  p.timeStart = "5e-6";
  p.timeEnd = "35e-6";
  p.freqEnd = "400e3";
  p.freqResolution = "100e3";  // rows at 100, 200, 300, 400 kHz
  p.waveletLength = "201";
  p.wtBegin = {"0", "300e3", "100e3", "200e3"};
  p.wtEnd = {"100e3", "400e3", "300e3", "250e3"};
  const FeatureValues v = Features(x, dt, Settings(p));
  const FeatureValues ref = testing::ReferenceFeatures(x, dt, 0.0, Settings(p));
  for (int b = 0; b < 4; ++b)
    EXPECT_NEAR(v[kColTimeFrequencyPower1 + b], ref[kColTimeFrequencyPower1 + b], 1e-9);
  // Band 3 holds the 300 kHz row (its end) and band 2 does not (its begin).
  EXPECT_GT(v[kColTimeFrequencyPower1 + 2], v[kColTimeFrequencyPower1 + 1]);
}

}  // namespace
}  // namespace plexo
