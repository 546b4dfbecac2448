#include "spectral/fft.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "spectral/time_gate.h"

namespace plexo {
namespace {

std::vector<Complex> Ramp(int n) {
  std::vector<Complex> x(n);
  for (int i = 0; i < n; ++i) x[i] = {std::sin(0.3 * i) + 0.1 * i, std::cos(1.7 * i)};
  return x;
}

// The textbook DFT, for comparison.
std::vector<Complex> NaiveDft(const std::vector<Complex>& x, double sign) {
  const int n = static_cast<int>(x.size());
  std::vector<Complex> out(n);
  for (int k = 0; k < n; ++k) {
    long double re = 0, im = 0;
    for (int j = 0; j < n; ++j) {
      const long double a = sign * 2.0L * M_PI * ((static_cast<long>(k) * j) % n) / n;
      re += x[j].re * std::cos(a) - x[j].im * std::sin(a);
      im += x[j].re * std::sin(a) + x[j].im * std::cos(a);
    }
    out[k] = {static_cast<double>(re), static_cast<double>(im)};
  }
  return out;
}

// The transform as first written: stage by stage, the twiddle advanced by the recurrence after
// each of its butterfly columns. The fast loop must give these bits exactly.
void LiteralFft(int dir, int m, Complex* x) {
  if (m <= 0) return;
  const long n = 1L << m;
  long j = 0;
  for (long i = 0; i < n - 1; ++i) {
    if (i < j) std::swap(x[i], x[j]);
    long k = n >> 1;
    while (k <= j) {
      j -= k;
      k >>= 1;
    }
    j += k;
  }
  double c1 = -1.0, c2 = 0.0;
  long l2 = 1;
  for (int stage = 0; stage < m; ++stage) {
    const long l1 = l2;
    l2 <<= 1;
    double u1 = 1.0, u2 = 0.0;
    for (long jj = 0; jj < l1; ++jj) {
      for (long i = jj; i < n; i += l2) {
        const long i1 = i + l1;
        const double t1 = u1 * x[i1].re - u2 * x[i1].im;
        const double t2 = u1 * x[i1].im + u2 * x[i1].re;
        x[i1].re = x[i].re - t1;
        x[i1].im = x[i].im - t2;
        x[i].re += t1;
        x[i].im += t2;
      }
      const double z = u1 * c1 - u2 * c2;
      u2 = u1 * c2 + u2 * c1;
      u1 = z;
    }
    c2 = std::sqrt((1.0 - c1) / 2.0);
    if (dir == 1) c2 = -c2;
    c1 = std::sqrt((1.0 + c1) / 2.0);
  }
}

class FftBits : public ::testing::TestWithParam<int> {};

TEST_P(FftBits, AreTheLiteralLoopsBits) {
  const int m = GetParam();
  std::mt19937_64 random(m);
  std::normal_distribution<double> normal;
  std::vector<Complex> x(size_t{1} << m);
  for (Complex& v : x) v = {normal(random), m % 2 ? 0.0 : normal(random)};
  for (int dir : {1, -1}) {
    std::vector<Complex> fast = x, literal = x;
    FFT(dir == 1 ? FftDirection::kForward : FftDirection::kInverse, m, fast.data());
    LiteralFft(dir, m, literal.data());
    for (size_t i = 0; i < x.size(); ++i) {
      ASSERT_EQ(std::bit_cast<uint64_t>(fast[i].re), std::bit_cast<uint64_t>(literal[i].re)) << i;
      ASSERT_EQ(std::bit_cast<uint64_t>(fast[i].im), std::bit_cast<uint64_t>(literal[i].im)) << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FftBits, ::testing::Range(0, 15));

TEST(Fft, ImpulseGivesOnesAndRoundTripScalesByN) {
  std::vector<Complex> x(16);
  x[0] = {1.0, 0.0};
  FFT(FftDirection::kForward, 4, x.data());
  for (const auto& v : x) {
    EXPECT_DOUBLE_EQ(v.re, 1.0);
    EXPECT_DOUBLE_EQ(v.im, 0.0);
  }
  std::vector<Complex> y = Ramp(64), original = y;
  FFT(FftDirection::kForward, 6, y.data());
  FFT(FftDirection::kInverse, 6, y.data());
  for (int i = 0; i < 64; ++i) {
    EXPECT_NEAR(y[i].re, 64 * original[i].re, 1e-10);
    EXPECT_NEAR(y[i].im, 64 * original[i].im, 1e-10);
  }
}

TEST(Fft, ForwardUsesTheNegativeExponentKernel) {
  const int n = 32;
  std::vector<Complex> x(n);
  for (int i = 0; i < n; ++i) x[i] = {std::cos(2 * M_PI * i / n), std::sin(2 * M_PI * i / n)};
  FFT(FftDirection::kForward, 5, x.data());
  EXPECT_NEAR(x[1].re, n, 1e-12);
  for (int k = 0; k < n; ++k) {
    if (k != 1) {
      EXPECT_NEAR(std::hypot(x[k].re, x[k].im), 0.0, 1e-12) << k;
    }
  }
  std::vector<Complex> r = Ramp(256), expected = NaiveDft(r, -1.0);
  FFT(FftDirection::kForward, 8, r.data());
  for (int k = 0; k < 256; ++k) {
    EXPECT_NEAR(r[k].re, expected[k].re, 1e-9);
    EXPECT_NEAR(r[k].im, expected[k].im, 1e-9);
  }
}

TEST(Fft, ZeroExponentLeavesDataUnchanged) {
  Complex x{3.0, -1.0};
  FFT(FftDirection::kForward, 0, &x);
  EXPECT_EQ(x.re, 3.0);
  EXPECT_EQ(x.im, -1.0);
}

TEST(Fft, TransformSizes) {
  EXPECT_EQ(TransformSize(1000).m, 10);
  EXPECT_EQ(TransformSize(1000).n, 1024);
  EXPECT_EQ(TransformSize(1024).m, 10);
  EXPECT_EQ(TransformSize(1025).n, 2048);
  EXPECT_EQ(TransformSize(0).m, 0);
  EXPECT_EQ(TransformSize(1).n, 1);
  EXPECT_EQ(NextPow2(0), 1);
  EXPECT_EQ(NextPow2(5), 8);
  EXPECT_EQ(PadToPow2(std::vector<double>{1, 2, 3}.data(), 3), (std::vector<double>{1, 2, 3, 0}));
}

class FftSplitSizes : public ::testing::TestWithParam<int> {};

TEST_P(FftSplitSizes, MatchesTheDftAndInvertsWithScaling) {
  const int n = GetParam();
  std::vector<Complex> x = Ramp(n), expected = NaiveDft(x, -1.0);
  std::vector<double> re(n), im(n), fr(n), fi(n), br(n), bi(n);
  for (int i = 0; i < n; ++i) {
    re[i] = x[i].re;
    im[i] = x[i].im;
  }
  FFTSplit(n, false, re.data(), im.data(), fr.data(), fi.data());
  for (int k = 0; k < n; ++k) {
    EXPECT_NEAR(fr[k], expected[k].re, 1e-10 * n * n) << k;
    EXPECT_NEAR(fi[k], expected[k].im, 1e-10 * n * n) << k;
  }
  FFTSplit(n, true, fr.data(), fi.data(), br.data(), bi.data());
  for (int i = 0; i < n; ++i) {
    // The radix-2 path's second-order twiddle recurrence loses digits as blocks grow.
    EXPECT_NEAR(br[i], re[i], 1e-10 * n);
    EXPECT_NEAR(bi[i], im[i], 1e-10 * n);
  }
}

INSTANTIATE_TEST_SUITE_P(PowersAndOthers, FftSplitSizes, ::testing::Values(1, 2, 6, 8, 600, 1024));

TEST(FftSplit, AbsentImaginaryInputCountsAsZero) {
  std::vector<double> re = {1, 2, 3, 4, 5, 6}, zeros(6, 0.0), a(6), b(6), c(6), d(6);
  FFTSplit(6, false, re.data(), nullptr, a.data(), b.data());
  FFTSplit(6, false, re.data(), zeros.data(), c.data(), d.data());
  EXPECT_EQ(a, c);
  EXPECT_EQ(b, d);
}

TEST(WindowHelpers, HilbertHammingAndNormalisation) {
  const int n = 64;
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = std::cos(2 * M_PI * 4 * i / n);
  std::vector<double> h = HilbertTransform(x.data(), n);
  for (int i = 0; i < n; ++i) EXPECT_NEAR(h[i], std::sin(2 * M_PI * 4 * i / n), 1e-12);

  double one = 1.0;
  HammingWindow(&one, 1);
  EXPECT_NEAR(one, 1.0, 1e-15);
  std::vector<double> w(5, 1.0);
  HammingWindow(w.data(), 5);
  EXPECT_NEAR(w[0], 25.0 / 46 - 21.0 / 46 * std::cos(2 * M_PI * 0.5 / 5), 1e-15);
  NormalizeMean(w.data(), 5, 1.0);
  double sum = 0;
  for (double v : w) sum += v;
  EXPECT_NEAR(sum / 5, 1.0, 1e-15);
}

TEST(TimeGate, KeepsOnly240To340Microseconds) {
  std::vector<Complex> x(4096, Complex{1.0, 1.0});
  ApplyTimeGate200us(x.data(), 4096, 1e-7);
  EXPECT_EQ(x[2399].re, 0.0);
  EXPECT_EQ(x[2400].re, 1.0);
  EXPECT_EQ(x[3399].im, 1.0);
  EXPECT_EQ(x[3400].re, 0.0);
  EXPECT_EQ(x[4095].im, 0.0);
  // A missing sample interval must not reach an integer conversion.
  std::vector<Complex> y(8, Complex{1.0, 0.0});
  ApplyTimeGate200us(y.data(), 8, 0.0);
  ApplyTimeGate200us(y.data(), 8, std::nan(""));
  ApplyTimeGate200us(y.data(), 8, -1e-7);
}

}  // namespace
}  // namespace plexo
