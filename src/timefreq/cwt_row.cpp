// CwtRow keeps the plain loop's result bit for bit while doing much less work. Why that holds:
//
// 1. A sum that starts at +0 and only ever adds terms is never -0: x + y is -0 only when both
//    are -0, an exact cancellation x + (-x) gives +0 (round to nearest), and a tiny non-zero
//    sum is exact, so it never rounds to zero. So adding a term
//    that is +0 or -0 leaves the sum's bits unchanged, and so does replacing a term by another
//    that differs from it only in the sign of a zero.
// 2. With finite wavelet values, a term whose signal value is zero is itself +-0. The kernel
//    therefore works only on the stretch of the signal that can be non-zero, padded with zeros
//    for the vector lanes; which zero terms it includes does not matter (1.).
// 3. When every imaginary part of the signal is zero (any file read from disk), the plain
//    loop's terms are (w.re*x + w.im*0) and (w.re*0 - w.im*x). With w finite, w.im*0 and w.re*0
//    are zeros, so the terms equal w.re*x and -(w.im*x) up to the sign of a zero; by 1. the
//    sums are sumRe + w.re*x and sumIm - w.im*x, two products instead of four.
// 4. A wavelet table that is not finite (only for absurd dt or scale) breaks 2. and 3.; such a
//    row runs the plain loop itself.
#include "timefreq/cwt_row.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "timefreq/gabor.h"

namespace plexo {
namespace {

bool AllFinite(const std::vector<double>& values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) return false;
  }
  return true;
}

}  // namespace

WaveletMethod RowMethod(WaveletMethod requested, int count, int n) {
  if (requested != WaveletMethod::kFft || count <= 0 || n <= 0) return WaveletMethod::kDirect;
  const double direct = static_cast<double>(count) * n;
  const double length = static_cast<double>(count) + n - 1;
  const double transform = 8.0 * length * std::log2(length);
  return direct > transform ? WaveletMethod::kFft : WaveletMethod::kDirect;
}

CwtRowKernel::CwtRowKernel(std::span<const Complex> signal, int count, int n, WaveletMethod method)
    : signal_(signal), count_(std::max(count, 0)), n_(std::max(n, 0)), half_((n_ - 1) / 2) {
  const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(signal.size());
  const std::ptrdiff_t reach = static_cast<std::ptrdiff_t>(count_) - 1 + cwt_detail::kMaxBlock;
  tableFirst_ = std::max<std::ptrdiff_t>(0, half_ - reach);
  tableEnd_ = std::max(tableFirst_, std::min<std::ptrdiff_t>(n_, half_ + length));
  const auto is_zero = [](const Complex& x) { return x.re == 0.0 && x.im == 0.0; };
  std::ptrdiff_t first = 0;
  std::ptrdiff_t end = static_cast<std::ptrdiff_t>(signal.size());
  while (first < end && is_zero(signal[first])) ++first;
  while (end > first && is_zero(signal[end - 1])) --end;
  first_ = first;
  end_ = end;
  for (std::ptrdiff_t k = first; k < end && real_; ++k) real_ = signal[k].im == 0.0;
  if (method == WaveletMethod::kFft) {
    fft_ =
        std::make_unique<CwtFftSignal>(signal, first_, end_, count_, half_, tableFirst_, tableEnd_);
    return;  // the planes of the direct sum are not needed
  }

  const std::ptrdiff_t pad = cwt_detail::kMaxBlock - 1;
  planeBase_ = first_ - pad;
  const size_t plane = static_cast<size_t>(end_ - first_ + 2 * pad);
  // 8 doubles of slack for the alignment, 8 for the whole-vector reads of the aligned kernel.
  reStore_.assign(plane + 16, 0.0);
  const auto address = reinterpret_cast<std::uintptr_t>(reStore_.data());
  double* re = reStore_.data() + (64 - address % 64) % 64 / sizeof(double);
  for (std::ptrdiff_t k = first_; k < end_; ++k) re[k - planeBase_] = signal[k].re;
  re_ = re;
  if (!real_) {
    im_.assign(plane, 0.0);
    for (std::ptrdiff_t k = first_; k < end_; ++k) im_[k - planeBase_] = signal[k].im;
  }
}

void CwtRowKernel::Compute(double s, double dt, Complex* out, CwtRowScratch& scratch) const {
  if (count_ == 0) return;
  // A fast row whose wavelet's spectrum is cached needs no table (only finite tables are cached).
  if (fft_ != nullptr && fft_->ComputeCached(s, dt, out, scratch.fft)) return;
  const std::ptrdiff_t tableFirst = tableFirst_;
  const size_t taps = static_cast<size_t>(tableEnd_ - tableFirst_);
  if (scratch.tableRe.size() < taps) {
    scratch.tableRe.resize(taps);
    scratch.tableIm.resize(taps);
  }
  FillGaborTable(s, dt, static_cast<int>(n_), static_cast<int>(tableFirst),
                 static_cast<int>(tableFirst + taps), scratch.tableRe.data(),
                 scratch.tableIm.data());
  if (!AllFinite(scratch.tableRe, taps) || !AllFinite(scratch.tableIm, taps)) {
    ComputeLiteral(dt, scratch, tableFirst, tableFirst + static_cast<std::ptrdiff_t>(taps), out);
    return;
  }
  if (fft_ != nullptr) {
    fft_->Compute(s, dt, scratch.tableRe.data(), scratch.tableIm.data(), out, scratch.fft);
    return;
  }

  cwt_detail::RowBlocksArgs args;
  args.re = re_;
  args.im = real_ ? nullptr : im_.data();
  args.planeBase = planeBase_;
  args.first = first_;
  args.end = end_;
  args.half = half_;
  args.wRe = scratch.tableRe.data();
  args.wIm = scratch.tableIm.data();
  args.tableFirst = tableFirst;
  args.tableEnd = tableFirst + static_cast<std::ptrdiff_t>(taps);
  args.dt = dt;
  args.out = out;
  args.count = count_;
  cwt_detail::RowBlocks(args, isa_);
}

void CwtRowKernel::ComputeLiteral(double dt, const CwtRowScratch& scratch,
                                  std::ptrdiff_t tableFirst, std::ptrdiff_t tableEnd,
                                  Complex* out) const {
  const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(signal_.size());
  for (std::ptrdiff_t i = 0; i < count_; ++i) {
    double sumRe = 0.0;
    double sumIm = 0.0;
    const std::ptrdiff_t jlo = std::max(tableFirst, half_ - i);
    const std::ptrdiff_t jhi = std::min(tableEnd, half_ - i + length);
    for (std::ptrdiff_t j = jlo; j < jhi; ++j) {
      const double wr = scratch.tableRe[j - tableFirst];
      const double wi = scratch.tableIm[j - tableFirst];
      const Complex& x = signal_[i - half_ + j];
      sumRe += wr * x.re + wi * x.im;
      sumIm += wr * x.im - wi * x.re;
    }
    out[i] = {dt * sumRe, dt * sumIm};
  }
}

void CwtRow(double s, double dt, std::span<const Complex> signal, Complex* out, int count, int n) {
  const CwtRowKernel kernel(signal, count, n);
  CwtRowScratch scratch;
  kernel.Compute(s, dt, out, scratch);
}

void StoreTftRow(TftMatrix& matrix, const Complex* row, int r, int count) {
  if (r < 0 || r >= TFT_MAX_ROWS || count <= 0) return;
  std::memcpy(matrix.Row(r), row, sizeof(Complex) * std::min(count, TFT_ROW_STRIDE));
}

}  // namespace plexo
