#pragma once
// The two discrete Fourier transforms of the program and the helpers they share.
//
// FFT: in place on Complex, radix 2, unscaled both ways (a forward then an inverse returns N
// times the input). FFTSplit: out of place on split real/imaginary arrays, any length (direct DFT
// when not a power of two), the inverse divided by N. They are not interchangeable: each caller
// depends on its own convention.
#include <vector>

#include "signal/complex.h"

namespace plexo {

// Forward: X[k] = sum x[n] e^(-2 pi i kn/N); inverse: the e^(+2 pi i kn/N) kernel, unscaled.
enum class FftDirection { kForward, kInverse };

// Transforms 2^m values in place; twiddles come from the half-angle recurrence (no trig calls).
void FFT(FftDirection direction, int m, Complex* data);

struct TransformSizeResult {
  int m = 0;
  int n = 1;
};
// The smallest m >= 0 with 2^m >= count (count 0 or 1 gives m = 0, N = 1).
TransformSizeResult TransformSize(int count);

// Transform of (reIn, imIn) into (reOut, imOut); imIn may be null (zeros). The inverse divides
// by N. Sizes that are not powers of two (or below 2) go through the direct DFT.
void FFTSplit(int n, bool inverse, const double* reIn, const double* imIn, double* reOut,
              double* imOut);

// The direct DFT of FFTSplit on its own (the path for lengths that are not powers of two).
void DirectDFT(int n, bool inverse, const double* reIn, const double* imIn, double* reOut,
               double* imOut);

// The smallest power of two >= n (1 for n <= 1).
int NextPow2(int n);
// x followed by zeros up to NextPow2(n) entries.
std::vector<double> PadToPow2(const double* x, int n);
// The Hilbert transform of x (N entries, N a power of two in every caller).
std::vector<double> HilbertTransform(const double* x, int n);
// x[i] *= 25/46 - 21/46 cos(2 pi (i + 0.5)/N).
void HammingWindow(double* x, int n);
// x *= target / mean(x).
void NormalizeMean(double* x, int n, double target);
void Scale(double* x, int n, double factor);

}  // namespace plexo
