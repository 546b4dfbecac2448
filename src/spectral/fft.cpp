#include "spectral/fft.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace plexo {

namespace {

// One stage's butterflies, block by block over contiguous memory. Built for AVX2 as well (two
// complex values per vector) and chosen when the processor has it; contraction is off for
// every build, so each butterfly is the same multiplies, adds and subtracts in any of them.
__attribute__((target_clones("avx2", "default"))) void ButterflyStage(Complex* x, long n, long l1,
                                                                      const Complex* u) {
  const long l2 = l1 * 2;
  for (long block = 0; block < n; block += l2) {
    Complex* lower = x + block;
    Complex* upper = lower + l1;
    for (long jj = 0; jj < l1; ++jj) {
      const double t1 = u[jj].re * upper[jj].re - u[jj].im * upper[jj].im;
      const double t2 = u[jj].re * upper[jj].im + u[jj].im * upper[jj].re;
      upper[jj].re = lower[jj].re - t1;
      upper[jj].im = lower[jj].im - t2;
      lower[jj].re += t1;
      lower[jj].im += t2;
    }
  }
}

}  // namespace

void FFT(FftDirection direction, int m, Complex* x) {
  if (m <= 0) return;
  const long n = 1L << m;

  // Bit-reversal permutation.
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

  // Butterflies; the twiddle factor advances by complex multiplication and the stage angle is
  // halved with the half-angle formulas. Each stage's twiddles are tabled first, by the same
  // recurrence in the same order, and the butterflies then run block by block over contiguous
  // memory. The butterflies of a stage touch disjoint pairs, so their order changes no bit.
  thread_local std::vector<Complex> twiddles;
  if (twiddles.size() < static_cast<size_t>(n / 2)) twiddles.resize(static_cast<size_t>(n / 2));
  Complex* u = twiddles.data();
  double c1 = -1.0, c2 = 0.0;
  long l2 = 1;
  for (int stage = 0; stage < m; ++stage) {
    const long l1 = l2;
    l2 <<= 1;
    double u1 = 1.0, u2 = 0.0;
    for (long jj = 0; jj < l1; ++jj) {
      u[jj] = Complex{u1, u2};
      const double z = u1 * c1 - u2 * c2;
      u2 = u1 * c2 + u2 * c1;
      u1 = z;
    }
    ButterflyStage(x, n, l1, u);
    c2 = std::sqrt((1.0 - c1) / 2.0);
    if (direction == FftDirection::kForward) c2 = -c2;
    c1 = std::sqrt((1.0 + c1) / 2.0);
  }
}

TransformSizeResult TransformSize(int count) {
  TransformSizeResult r;
  double power = 1.0;
  while (power < count) {
    power *= 2.0;
    ++r.m;
  }
  r.n = static_cast<int>(power);
  return r;
}

int NextPow2(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

std::vector<double> PadToPow2(const double* x, int n) {
  std::vector<double> padded(static_cast<size_t>(NextPow2(n)), 0.0);
  for (int i = 0; i < n; ++i) padded[i] = x[i];
  return padded;
}

namespace {

constexpr int kMaxReversalBits = 16;

// Sixteen tables, for N = 2^1 .. 2^16: entry j of table k is j with its k low bits reversed.
// Built together once and kept for the life of the program.
const std::vector<int>& ReversalTable(int bits) {
  static std::vector<int> tables[kMaxReversalBits + 1];
  static std::once_flag built;
  std::call_once(built, [] {
    for (int k = 1; k <= kMaxReversalBits; ++k) {
      const int size = 1 << k;
      tables[k].resize(size);
      for (int j = 0; j < size; ++j) {
        int r = 0;
        for (int b = 0; b < k; ++b)
          if (j & (1 << b)) r |= 1 << (k - 1 - b);
        tables[k][j] = r;
      }
    }
  });
  return tables[bits];
}

void RadixTwo(int n, bool inverse, const double* reIn, const double* imIn, double* reOut,
              double* imOut) {
  if (n < 2 || (n & (n - 1)) != 0) {
    std::fprintf(stderr, "%d is not a power of two\n", n);
    std::exit(1);
  }
  int bits = 0;
  while (((n >> bits) & 1) == 0) ++bits;
  if (bits > kMaxReversalBits) {
    std::fprintf(stderr, "%d is not a power of two\n", n);
    std::exit(1);
  }
  const std::vector<int>& rev = ReversalTable(bits);
  for (int j = 0; j < n; ++j) {
    reOut[rev[j]] = reIn[j];
    imOut[rev[j]] = imIn != nullptr ? imIn[j] : 0.0;
  }
  const double angle = inverse ? 2.0 * M_PI : -2.0 * M_PI;
  for (int b = 2; b <= n; b <<= 1) {
    const int half = b / 2;
    const double delta = angle / b;
    const double cm1 = std::cos(-delta), cm2 = std::cos(-2.0 * delta);
    const double sm1 = std::sin(-delta), sm2 = std::sin(-2.0 * delta);
    const double w = 2.0 * cm1;
    for (int i = 0; i < n; i += b) {
      double ar2 = cm2, ar1 = cm1, ai2 = sm2, ai1 = sm1;
      for (int j = i; j < i + half; ++j) {
        const double ar0 = w * ar1 - ar2;
        ar2 = ar1;
        ar1 = ar0;
        const double ai0 = w * ai1 - ai2;
        ai2 = ai1;
        ai1 = ai0;
        const int k = j + half;
        const double tr = ar0 * reOut[k] - ai0 * imOut[k];
        const double ti = ar0 * imOut[k] + ai0 * reOut[k];
        reOut[k] = reOut[j] - tr;
        imOut[k] = imOut[j] - ti;
        reOut[j] += tr;
        imOut[j] += ti;
      }
    }
  }
  if (inverse) {
    for (int i = 0; i < n; ++i) {
      reOut[i] /= n;
      imOut[i] /= n;
    }
  }
}

}  // namespace

void DirectDFT(int n, bool inverse, const double* reIn, const double* imIn, double* reOut,
               double* imOut) {
  const double sign = inverse ? 1.0 : -1.0;
  for (int i = 0; i < n; ++i) {
    double re = 0.0, im = 0.0;
    for (int j = 0; j < n; ++j) {
      const double theta = 2.0 * sign * M_PI * i * j / n;
      const double c = std::cos(theta), s = std::sin(theta);
      const double xi = imIn != nullptr ? imIn[j] : 0.0;
      re += reIn[j] * c - xi * s;
      im += reIn[j] * s + xi * c;
    }
    reOut[i] = re;
    imOut[i] = im;
  }
  if (inverse) {
    for (int i = 0; i < n; ++i) {
      reOut[i] /= n;
      imOut[i] /= n;
    }
  }
}

void FFTSplit(int n, bool inverse, const double* reIn, const double* imIn, double* reOut,
              double* imOut) {
  for (int i = 0; i < n; ++i) reOut[i] = imOut[i] = 0.0;
  if ((n & (n - 1)) != 0 || n < 2) {
    DirectDFT(n, inverse, reIn, imIn, reOut, imOut);
    return;
  }
  RadixTwo(n, inverse, reIn, imIn, reOut, imOut);
}

std::vector<double> HilbertTransform(const double* x, int n) {
  std::vector<double> re(n), im(n), outRe(n), outIm(n);
  FFTSplit(n, false, x, nullptr, re.data(), im.data());
  for (int k = 0; k < n; ++k) {
    double c = 0.0;
    if (k == 0 || 2 * k == n)
      c = 0.0;
    else if (2 * k < n)
      c = 1.0;
    else
      c = -1.0;
    const double oldRe = re[k];
    re[k] = c * im[k];
    im[k] = -c * oldRe;
  }
  FFTSplit(n, true, re.data(), im.data(), outRe.data(), outIm.data());
  return outRe;
}

void HammingWindow(double* x, int n) {
  for (int i = 0; i < n; ++i)
    x[i] *= 0.5434782608695652 - 0.45652173913043476 * std::cos(2.0 * M_PI * (i + 0.5) / n);
}

void Scale(double* x, int n, double factor) {
  for (int i = 0; i < n; ++i) x[i] *= factor;
}

void NormalizeMean(double* x, int n, double target) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += x[i];
  Scale(x, n, target / (sum / n));
}

}  // namespace plexo
