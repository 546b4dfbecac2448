#include "spectral/magnitude.h"

#include <immintrin.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/simd.h"

namespace plexo {
namespace {

// The bounds of the library's plain case: below kTiny squares could underflow, above kLarge
// they could overflow, and a part at most kEpsilon times the other leaves the result ax + ay.
constexpr double kLarge = 0x1p+511;
constexpr double kTiny = 0x1p-459;
constexpr double kEpsilon = 0x1p-54;

// Whether (ax, ay), ax >= ay, is the plain case. False for NaN.
bool IsPlainCase(double ax, double ay) { return ax <= kLarge && ay >= kTiny && ay > ax * kEpsilon; }

// The plain case one bin at a time: the square root of the sum of squares, then the correction
// by the rounding error of the squares, in the library's order of operations.
double PlainHypot(double ax, double ay) {
  double h = std::sqrt(ax * ax + ay * ay);
  double t1;
  double t2;
  if (h <= 2.0 * ay) {
    const double delta = h - ay;
    t1 = ax * (2.0 * delta - ax);
    t2 = (delta - 2.0 * (ax - ay)) * delta;
  } else {
    const double delta = h - ax;
    t1 = 2.0 * delta * (ax - 2.0 * ay);
    t2 = (4.0 * delta - ay) * ay + delta * delta;
  }
  h -= (t1 + t2) / (2.0 * h);
  return h;
}

void MagnitudesScalar(const Complex* x, int n, double* out) {
  for (int i = 0; i < n; ++i) {
    const double a = std::fabs(x[i].re);
    const double b = std::fabs(x[i].im);
    const double ax = a < b ? b : a;
    const double ay = a < b ? a : b;
    out[i] = IsPlainCase(ax, ay) ? PlainHypot(ax, ay) : std::hypot(x[i].re, x[i].im);
  }
}

// Four bins per step: both branches of the correction are computed and the right one chosen
// per lane; each lane sees exactly the operations PlainHypot does (no contraction).
PLEXO_TARGET_AVX2 void MagnitudesAvx2(const Complex* x, int n, double* out) {
  const __m256d sign = _mm256_set1_pd(-0.0);
  const __m256d two = _mm256_set1_pd(2.0);
  const __m256d four = _mm256_set1_pd(4.0);
  const __m256d large = _mm256_set1_pd(kLarge);
  const __m256d tiny = _mm256_set1_pd(kTiny);
  const __m256d epsilon = _mm256_set1_pd(kEpsilon);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d p = _mm256_loadu_pd(&x[i].re);      // re0 im0 re1 im1
    const __m256d q = _mm256_loadu_pd(&x[i + 2].re);  // re2 im2 re3 im3
    // re0 re1 re2 re3 and im0 im1 im2 im3
    const __m256d re = _mm256_permute4x64_pd(_mm256_unpacklo_pd(p, q), 0xD8);
    const __m256d im = _mm256_permute4x64_pd(_mm256_unpackhi_pd(p, q), 0xD8);
    const __m256d a = _mm256_andnot_pd(sign, re);
    const __m256d b = _mm256_andnot_pd(sign, im);
    const __m256d a_less = _mm256_cmp_pd(a, b, _CMP_LT_OQ);
    const __m256d ax = _mm256_blendv_pd(a, b, a_less);
    const __m256d ay = _mm256_blendv_pd(b, a, a_less);
    __m256d h = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(ax, ax), _mm256_mul_pd(ay, ay)));
    const __m256d near = _mm256_cmp_pd(h, _mm256_mul_pd(two, ay), _CMP_LE_OQ);
    const __m256d delta_near = _mm256_sub_pd(h, ay);
    const __m256d t1_near = _mm256_mul_pd(ax, _mm256_sub_pd(_mm256_mul_pd(two, delta_near), ax));
    const __m256d t2_near = _mm256_mul_pd(
        _mm256_sub_pd(delta_near, _mm256_mul_pd(two, _mm256_sub_pd(ax, ay))), delta_near);
    const __m256d delta_far = _mm256_sub_pd(h, ax);
    const __m256d t1_far =
        _mm256_mul_pd(_mm256_mul_pd(two, delta_far), _mm256_sub_pd(ax, _mm256_mul_pd(two, ay)));
    const __m256d t2_far =
        _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(four, delta_far), ay), ay),
                      _mm256_mul_pd(delta_far, delta_far));
    const __m256d t1 = _mm256_blendv_pd(t1_far, t1_near, near);
    const __m256d t2 = _mm256_blendv_pd(t2_far, t2_near, near);
    h = _mm256_sub_pd(h, _mm256_div_pd(_mm256_add_pd(t1, t2), _mm256_mul_pd(two, h)));
    _mm256_storeu_pd(out + i, h);
    const __m256d plain = _mm256_and_pd(
        _mm256_and_pd(_mm256_cmp_pd(ax, large, _CMP_LE_OQ), _mm256_cmp_pd(ay, tiny, _CMP_GE_OQ)),
        _mm256_cmp_pd(ay, _mm256_mul_pd(ax, epsilon), _CMP_GT_OQ));
    const int plain_lanes = _mm256_movemask_pd(plain);
    if (plain_lanes != 0xF) {
      for (int lane = 0; lane < 4; ++lane) {
        if (!(plain_lanes & (1 << lane)))
          out[i + lane] = std::hypot(x[i + lane].re, x[i + lane].im);
      }
    }
  }
  MagnitudesScalar(x + i, n - i, out + i);
}

// Hard cases for the check: equal and nearly equal parts (the near branch), one part much
// smaller (the far branch), the bounds of the plain case, and random bits.
std::vector<Complex> CheckCases() {
  std::vector<Complex> cases;
  const double edges[] = {0.0,           -0.0,     1.0,         -1.0,   0x1p-1074,
                          0x1p-1022,     kTiny,    kTiny * 0.5, kLarge, kLarge * 2.0,
                          1e-300,        1e300,    3.0,         4.0,    0.1,
                          1.0 + 0x1p-52, INFINITY, -INFINITY,   NAN,    1e-3};
  for (double a : edges) {
    for (double b : edges) cases.push_back({a, b});
  }
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 4000; ++i) {
    const double a = unit(random) * std::ldexp(1.0, static_cast<int>(random() % 80) - 40);
    switch (i % 4) {
      case 0:
        cases.push_back({a, unit(random) * std::ldexp(1.0, static_cast<int>(random() % 80) - 40)});
        break;
      case 1:
        cases.push_back({a, a * (1.0 + unit(random) * 1e-3)});
        break;
      case 2:
        cases.push_back({a, a * unit(random) * 1e-9});
        break;
      default:
        cases.push_back({std::bit_cast<double>(random()), std::bit_cast<double>(random())});
    }
  }
  return cases;
}

using MagnitudesFunction = void (*)(const Complex*, int, double*);

bool AgreesWithLibrary(MagnitudesFunction candidate) {
  const std::vector<Complex> cases = CheckCases();
  std::vector<double> got(cases.size());
  candidate(cases.data(), static_cast<int>(cases.size()), got.data());
  for (size_t i = 0; i < cases.size(); ++i) {
    const double expected = std::hypot(cases[i].re, cases[i].im);
    if (std::bit_cast<uint64_t>(got[i]) != std::bit_cast<uint64_t>(expected) &&
        !(std::isnan(got[i]) && std::isnan(expected))) {
      return false;
    }
  }
  return true;
}

void MagnitudesByLibrary(const Complex* x, int n, double* out) {
  for (int i = 0; i < n; ++i) out[i] = std::hypot(x[i].re, x[i].im);
}

MagnitudesFunction ChooseMagnitudes() {
  if (simd::IsaSupported(simd::Isa::kAvx2) && AgreesWithLibrary(MagnitudesAvx2))
    return MagnitudesAvx2;
  if (AgreesWithLibrary(MagnitudesScalar)) return MagnitudesScalar;
  return MagnitudesByLibrary;
}

MagnitudesFunction Chosen() {
  static const MagnitudesFunction chosen = ChooseMagnitudes();
  return chosen;
}

}  // namespace

void Magnitudes(const Complex* x, int n, double* out) { Chosen()(x, n, out); }

const char* MagnitudesPathName() {
  if (Chosen() == MagnitudesAvx2) return "avx2";
  return Chosen() == MagnitudesScalar ? "scalar" : "library";
}

}  // namespace plexo
