#pragma once
// One frequency row of the wavelet transform: a direct convolution of the signal with the
// conjugate Gabor wavelet, count columns times n wavelet samples.
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "signal/complex.h"
#include "timefreq/cwt_fft_rows.h"
#include "timefreq/cwt_row_kernels.h"
#include "timefreq/tft_matrix.h"
#include "timefreq/wavelet_method.h"

namespace plexo {

// The coefficients at scale s of columns i = 0 .. count-1:
//   out[i] = dt * sum over j = 0 .. n-1 (in that order) of conj(w[j]) * signal[i - half + j]
// with the wavelet table w of FillGaborTable, half = (n - 1)/2 (integer division, so the table
// centre meets signal index i + 1 for odd and even n). Terms whose signal index lies before the
// buffer or at or beyond its end are left out. n <= 0 gives zero coefficients.
//
// Each coefficient is the same sequence of double operations as the plain loop over j, so the
// result does not depend on vector width or thread count; see cwt_row.cpp for why the fast
// kernel may skip zero terms and the products with a zero imaginary part.
void CwtRow(double s, double dt, std::span<const Complex> signal, Complex* out, int count, int n);

// The method rows of `count` columns and `n` taps are computed with when `requested` is asked
// for: the direct sum stays the direct sum; fft is taken where it is the faster of the two and
// the direct sum (exact, so within any tolerance of itself) where it is not: for short
// wavelets, where the transform of the whole window costs more than the few taps per column.
// The measured costs (bench/RESULTS.md, "Where fft pays"): the direct sum about 0.12 ns per
// column and tap, the transform about 1 ns per L log2 L for L = count + n - 1.
WaveletMethod RowMethod(WaveletMethod requested, int count, int n);

// Per-thread working memory of CwtRowKernel::Compute (the wavelet table of one row, and what
// the fast rows keep between signals).
struct CwtRowScratch {
  std::vector<double> tableRe;
  std::vector<double> tableIm;
  CwtFftScratch fft;
};

// A signal prepared once for many rows with the same column count and wavelet length: the
// stretch that can be non-zero, copied into zero-padded planes. Compute may run concurrently
// on one kernel with a scratch per thread.
class CwtRowKernel {
 public:
  // `signal` must outlive the kernel. kFft computes the rows by fast convolution (within a few
  // units in the last place of each row's largest modulus of the direct sum; not bit for bit).
  CwtRowKernel(std::span<const Complex> signal, int count, int n,
               WaveletMethod method = WaveletMethod::kDirect);

  void Compute(double s, double dt, Complex* out, CwtRowScratch& scratch) const;

  // Tests and benchmarks run the other builds of the column kernel (all give the same bits).
  void UseIsa(simd::Isa isa) { isa_ = isa; }

 private:
  // The plain loop, for rows whose wavelet table is not finite.
  void ComputeLiteral(double dt, const CwtRowScratch& scratch, std::ptrdiff_t tableFirst,
                      std::ptrdiff_t tableEnd, Complex* out) const;

  std::span<const Complex> signal_;
  std::ptrdiff_t count_;
  std::ptrdiff_t n_;
  std::ptrdiff_t half_;
  // The taps that can meet a buffer position for some column of the (block-rounded) range; the
  // others are left out by definition.
  std::ptrdiff_t tableFirst_ = 0;
  std::ptrdiff_t tableEnd_ = 0;
  std::ptrdiff_t first_ = 0;  // signal indices [first_, end_) hold every non-zero sample
  std::ptrdiff_t end_ = 0;
  bool real_ = true;  // every imaginary part in [first_, end_) is zero
  // Planes indexed by k - planeBase_ for signal index k, zero outside [first_, end_).
  std::ptrdiff_t planeBase_ = 0;
  std::vector<double> reStore_;  // holds the real plane at a 64-byte boundary
  const double* re_ = nullptr;
  std::vector<double> im_;
  simd::Isa isa_ = simd::MachineIsa();
  std::unique_ptr<CwtFftSignal> fft_;  // with WaveletMethod::kFft
};

// Copies row[0 .. count-1] into matrix row r. Rows outside the matrix and columns beyond its
// stride are not written.
void StoreTftRow(TftMatrix& matrix, const Complex* row, int r, int count);

}  // namespace plexo
