// The fast-convolution rows against the wavelet row's definition: every coefficient within
// 1e-12 of its row's largest modulus, over random signals and the edges of windows and wavelet
// lengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "timefreq/cwt_reference.h"
#include "timefreq/cwt_row.h"
#include "timefreq/gabor.h"

namespace plexo {
namespace {

struct RowCase {
  std::string name;
  int length;   // samples in the buffer
  int nonZero;  // the first `nonZero` samples are random, the rest zero
  int count;    // columns
  int n;        // wavelet length
  bool complexSignal = false;
};

std::vector<Complex> RandomSignal(const RowCase& c, unsigned seed) {
  std::mt19937_64 random(seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  std::vector<Complex> x(c.length);
  for (int k = 0; k < c.nonZero && k < c.length; ++k)
    x[k] = {normal(random), c.complexSignal ? normal(random) : 0.0};
  return x;
}

double LargestModulus(const std::vector<Complex>& row) {
  double largest = 0.0;
  for (const Complex& v : row) largest = std::max(largest, std::hypot(v.re, v.im));
  return largest;
}

class CwtFftRowsTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(CwtFftRowsTest, EveryCoefficientIsWithinTheToleranceOfTheDirectSum) {
  const RowCase& c = GetParam();
  const std::vector<Complex> x = RandomSignal(c, 17u + static_cast<unsigned>(c.length));
  const double dt = 2e-7;
  const CwtRowKernel fast(x, c.count, c.n, WaveletMethod::kFft);
  CwtRowScratch scratch;
  std::vector<Complex> want(std::max(c.count, 1));
  std::vector<Complex> got(std::max(c.count, 1), Complex{7.0, 7.0});
  // Rows from well below to well above the signal's band, each twice: the second time the
  // wavelet's spectrum comes from the thread's cache.
  for (int pass = 0; pass < 2; ++pass) {
    for (int row : {1, 7, 40, 150}) {
      const double s = GaborScale(row, 1e4, dt);
      testing::ReferenceCwtRow(s, dt, x.data(), c.length, want.data(), c.count, c.n);
      fast.Compute(s, dt, got.data(), scratch);
      const double tolerance = 1e-12 * LargestModulus(want);
      for (int i = 0; i < c.count; ++i) {
        ASSERT_LE(std::fabs(got[i].re - want[i].re), tolerance)
            << c.name << " row " << row << " column " << i;
        ASSERT_LE(std::fabs(got[i].im - want[i].im), tolerance)
            << c.name << " row " << row << " column " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, CwtFftRowsTest,
                         ::testing::Values(RowCase{"Typical", 6000, 4000, 4000, 1001},
                                           RowCase{"ComplexSignal", 3000, 3000, 2500, 401, true},
                                           RowCase{"WaveletLongerThanWindow", 500, 300, 300, 1001},
                                           RowCase{"OneSampleWindow", 100, 1, 1, 51},
                                           RowCase{"OneColumnOfAFullRecord", 2000, 2000, 1, 1001},
                                           RowCase{"WindowAtTheRecordsEnd", 1000, 1000, 1000, 301},
                                           RowCase{"EvenWaveletLength", 1200, 800, 1000, 200},
                                           RowCase{"OneTapWavelet", 300, 300, 300, 1},
                                           RowCase{"SignalShorterThanColumns", 50, 50, 400, 61},
                                           RowCase{"AllZero", 800, 0, 800, 101}),
                         [](const ::testing::TestParamInfo<RowCase>& info) {
                           return info.param.name;
                         });

TEST(CwtFftRowsTest, ZeroWaveletLengthOrNoColumnsGiveZeros) {
  const std::vector<Complex> x(64, Complex{1.0, 0.0});
  CwtRowScratch scratch;
  std::vector<Complex> out(8, Complex{3.0, 3.0});
  CwtRowKernel(x, 8, 0, WaveletMethod::kFft)
      .Compute(GaborScale(3, 1e4, 1e-7), 1e-7, out.data(), scratch);
  for (const Complex& v : out) EXPECT_EQ(std::hypot(v.re, v.im), 0.0);
}

TEST(CwtFftRowsTest, ACachedWaveletGivesTheSameBitsAsAFreshOne) {
  const RowCase c{"Cache", 3000, 2500, 2000, 801};
  const std::vector<Complex> x = RandomSignal(c, 5);
  const CwtRowKernel fast(x, c.count, c.n, WaveletMethod::kFft);
  const double s = GaborScale(12, 1e4, 2e-7);
  CwtRowScratch warm;
  std::vector<Complex> first(c.count), second(c.count), fresh(c.count);
  fast.Compute(s, 2e-7, first.data(), warm);
  fast.Compute(s, 2e-7, second.data(), warm);
  CwtRowScratch cold;
  cold.fft.cachedBytes = kCwtFftCacheBytes;  // a full cache: the spectrum is made for the call
  fast.Compute(s, 2e-7, fresh.data(), cold);
  for (int i = 0; i < c.count; ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(first[i].re),
              std::bit_cast<std::uint64_t>(second[i].re));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(first[i].re), std::bit_cast<std::uint64_t>(fresh[i].re));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(first[i].im), std::bit_cast<std::uint64_t>(fresh[i].im));
  }
  EXPECT_TRUE(cold.fft.wavelets.empty());
}

TEST(CwtFftRowsTest, ATableThatIsNotFiniteTakesTheDirectSumAsTheDirectMethodDoes) {
  // omega = 2*pi*sqrt(2)/dt overflows: the table is not finite, both methods run the plain loop.
  const RowCase c{"Absurd", 200, 200, 150, 41};
  const std::vector<Complex> x = RandomSignal(c, 9);
  const double dt = 1e-320;
  const double s = 1.0;
  CwtRowScratch scratch;
  std::vector<Complex> direct(c.count), fast(c.count);
  CwtRowKernel(x, c.count, c.n).Compute(s, dt, direct.data(), scratch);
  CwtRowKernel(x, c.count, c.n, WaveletMethod::kFft).Compute(s, dt, fast.data(), scratch);
  for (int i = 0; i < c.count; ++i) {
    const bool bothNan = std::isnan(direct[i].re) && std::isnan(fast[i].re);
    EXPECT_TRUE(bothNan || std::bit_cast<std::uint64_t>(direct[i].re) ==
                               std::bit_cast<std::uint64_t>(fast[i].re))
        << i;
  }
}

}  // namespace
}  // namespace plexo
