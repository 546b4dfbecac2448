#include "timefreq/cwt_row.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "timefreq/cwt_reference.h"
#include "timefreq/gabor.h"

namespace plexo {
namespace {

using RowIsa = simd::Isa;

// Same bits, or NaN on both sides (which NaN an addition of two NaNs keeps is the
// compiler's operand order, not a property of the sum).
bool SameBits(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

enum class SignalKind {
  kReal,        // a burst read from a file: imaginary parts zero
  kComplex,     // both parts non-zero
  kSparse,      // zero stretches, signed zeros, a burst at the end of the buffer
  kNegativeIm,  // imaginary parts -0.0: still the real path
  kInfinite,    // one infinite sample
  kZero,        // nothing but zeros
};

std::vector<Complex> MakeSignal(SignalKind kind, int length) {
  std::vector<Complex> x(length);
  for (int k = 0; k < length; ++k) {
    const double burst = std::sin(0.37 * k + 0.2) * std::exp(-k / 90.0) + 1e-3 * ((k * 7) % 5);
    switch (kind) {
      case SignalKind::kReal:
        x[k] = {burst, 0.0};
        break;
      case SignalKind::kComplex:
        x[k] = {burst, std::cos(0.11 * k) * 0.5};
        break;
      case SignalKind::kSparse:
        x[k] = {(k % 17 < 9 || k > length - 6) ? 0.0 : burst, 0.0};
        if (k % 23 == 3) x[k].re = -0.0;
        break;
      case SignalKind::kNegativeIm:
        x[k] = {burst, -0.0};
        break;
      case SignalKind::kInfinite:
        x[k] = {k == length / 2 ? std::numeric_limits<double>::infinity() : burst, 0.0};
        break;
      case SignalKind::kZero:
        break;
    }
  }
  return x;
}

struct RowCase {
  const char* name;
  int n;       // wavelet length
  int count;   // columns
  int length;  // signal buffer length
  SignalKind kind;
  double s;
  double dt;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class CwtRowMatchesPlainLoop : public ::testing::TestWithParam<RowCase> {};

TEST_P(CwtRowMatchesPlainLoop, BitForBitOnEveryKernelBuild) {
  const RowCase& c = GetParam();
  const std::vector<Complex> signal = MakeSignal(c.kind, c.length);
  std::vector<Complex> expected(c.count);
  testing::ReferenceCwtRow(c.s, c.dt, signal.data(), c.length, expected.data(), c.count, c.n);

  for (RowIsa isa : {RowIsa::kSse2, RowIsa::kAvx2, RowIsa::kAvx512}) {
    if (!simd::IsaSupported(isa)) continue;
    CwtRowKernel kernel(signal, c.count, c.n);
    kernel.UseIsa(isa);
    CwtRowScratch scratch;
    // Sentinels show a column that was not written.
    std::vector<Complex> got(c.count + 1, Complex{7.0, 7.0});
    kernel.Compute(c.s, c.dt, got.data(), scratch);
    for (int i = 0; i < c.count; ++i) {
      ASSERT_TRUE(SameBits(got[i].re, expected[i].re) && SameBits(got[i].im, expected[i].im))
          << simd::IsaName(isa) << " column " << i << ": " << got[i].re << "," << got[i].im
          << " expected " << expected[i].re << "," << expected[i].im;
    }
    EXPECT_EQ(got[c.count].re, 7.0) << "wrote beyond count";
  }
}

// Scales as the calculation forms them: row k of step df at dt.
double Scale(int row, double df, double dt) { return GaborScale(row, df, dt); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CwtRowMatchesPlainLoop,
    ::testing::Values(
        RowCase{"odd_n_columns_not_a_vector_multiple", 101, 203, 400, SignalKind::kReal,
                Scale(20, 1e4, 1e-7), 1e-7},
        RowCase{"even_n", 100, 150, 400, SignalKind::kReal, Scale(35, 1e4, 1e-7), 1e-7},
        RowCase{"one_tap", 1, 37, 64, SignalKind::kReal, Scale(3, 1e4, 1e-7), 1e-7},
        RowCase{"two_taps", 2, 37, 64, SignalKind::kComplex, Scale(3, 1e4, 1e-7), 1e-7},
        RowCase{"no_taps", 0, 40, 64, SignalKind::kReal, Scale(3, 1e4, 1e-7), 1e-7},
        RowCase{"negative_length", -5, 40, 64, SignalKind::kReal, Scale(3, 1e4, 1e-7), 1e-7},
        RowCase{"complex_signal", 61, 131, 300, SignalKind::kComplex, Scale(50, 1e4, 1e-7), 1e-7},
        RowCase{"zero_stretches_and_signed_zeros", 45, 260, 260, SignalKind::kSparse,
                Scale(9, 2e4, 1e-7), 1e-7},
        RowCase{"negative_zero_imaginary_parts", 33, 70, 90, SignalKind::kNegativeIm,
                Scale(12, 1e4, 1e-7), 1e-7},
        RowCase{"wavelet_longer_than_signal", 1001, 97, 120, SignalKind::kReal, Scale(2, 1e4, 1e-7),
                1e-7},
        RowCase{"wavelet_much_longer_than_the_buffer", 100001, 40, 64, SignalKind::kComplex,
                Scale(1, 1e4, 1e-7), 1e-7},
        RowCase{"columns_beyond_signal_end", 31, 300, 100, SignalKind::kComplex,
                Scale(40, 1e4, 1e-7), 1e-7},
        RowCase{"single_column", 17, 1, 10, SignalKind::kReal, Scale(40, 1e4, 1e-7), 1e-7},
        RowCase{"infinite_sample", 21, 60, 60, SignalKind::kInfinite, Scale(40, 1e4, 1e-7), 1e-7},
        RowCase{"all_zero", 21, 60, 60, SignalKind::kZero, Scale(40, 1e4, 1e-7), 1e-7},
        RowCase{"empty_signal", 21, 60, 0, SignalKind::kReal, Scale(40, 1e4, 1e-7), 1e-7},
        // omega = 2*pi*sqrt(2)/dt overflows: the table is not finite, the plain loop runs.
        RowCase{"non_finite_wavelet", 9, 40, 64, SignalKind::kSparse, 1.0, 1e-320},
        RowCase{"file_grid_row", 1001, 400, 600, SignalKind::kReal, Scale(99, 1e4, 1e-7), 1e-7}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST(CwtRow, WaveletCentreMeetsColumnPlusOneForOddAndEvenLengths) {
  // An impulse at signal index p is met by the table centre (the real maximum) in column p - 1.
  for (int n : {9, 10, 101, 100}) {
    std::vector<Complex> signal(64);
    const int p = 30;
    signal[p] = {1.0, 0.0};
    std::vector<Complex> out(64);
    // A scale wide enough that neighbouring taps differ clearly.
    CwtRow(4.0, 1.0, signal, out.data(), 64, n);
    int best = 0;
    for (int i = 1; i < 64; ++i) {
      if (std::abs(out[i].re) > std::abs(out[best].re)) best = i;
    }
    EXPECT_EQ(best, p - 1) << "n = " << n;
    EXPECT_EQ(out[best].im, 0.0) << "the centre tap is real";
  }
}

TEST(CwtRow, GaborWaveletIsHalfHeightOneWavelengthFromTheCentre) {
  const double dt = 1e-7;
  const double f = 2.5e5;
  const double omega = kGaborOmegaTimesDt / dt;
  const double s = GaborScale(25, 1e4, dt);
  const Complex centre = GaborWavelet(0.0, omega);
  EXPECT_DOUBLE_EQ(centre.re, std::pow(3.141592653589793, -0.25) * std::sqrt(omega / kGaborGamma));
  EXPECT_EQ(centre.im, 0.0);
  // tau = 1/f seconds from the centre, i.e. t = tau/s.
  const Complex edge = GaborWavelet((1.0 / f) / s, omega);
  EXPECT_NEAR(std::hypot(edge.re, edge.im) / centre.re, 0.5, 1e-8);
}

TEST(CwtRow, StoreTftRowCopiesInsideTheMatrixOnly) {
  TftMatrix matrix;
  std::vector<Complex> row(TFT_ROW_STRIDE + 8, Complex{1.5, -2.0});
  StoreTftRow(matrix, row.data(), TFT_MAX_ROWS - 1, TFT_ROW_STRIDE + 8);  // clipped to the stride
  EXPECT_EQ(matrix.Row(TFT_MAX_ROWS - 1)[TFT_ROW_STRIDE - 1].im, -2.0);
  StoreTftRow(matrix, row.data(), TFT_MAX_ROWS, 4);  // no such row: nothing happens
  StoreTftRow(matrix, row.data(), -1, 4);
  StoreTftRow(matrix, row.data(), 3, 2);
  EXPECT_EQ(matrix.Row(3)[1].re, 1.5);
  EXPECT_EQ(matrix.Row(3)[2].re, 0.0);
}

}  // namespace
}  // namespace plexo
