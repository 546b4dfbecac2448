#include "timefreq/cwt_fft_rows.h"

#include <algorithm>
#include <opencv2/core.hpp>

namespace plexo {
namespace {

// The transform of n complex values in place (OpenCV's mixed-radix transform: any length, with
// lengths of small prime factors fastest). Inverse transforms are scaled by 1/n.
void Transform(std::vector<Complex>& values, int n, bool inverse) {
  cv::Mat data(1, n, CV_64FC2, values.data());
  cv::dft(data, data, inverse ? cv::DFT_INVERSE | cv::DFT_SCALE : 0);
}

}  // namespace

CwtFftSignal::CwtFftSignal(std::span<const Complex> signal, std::ptrdiff_t first,
                           std::ptrdiff_t end, std::ptrdiff_t count, std::ptrdiff_t half,
                           std::ptrdiff_t tableFirst, std::ptrdiff_t tableEnd)
    : count_(count), half_(half), tableFirst_(tableFirst), tableEnd_(tableEnd) {
  const std::ptrdiff_t taps = tableEnd - tableFirst;
  if (count <= 0 || taps <= 0) return;
  // Signal indices the columns reach: i - half + j for i in [0, count), j in [tableFirst,
  // tableEnd); only the non-zero stretch among them matters.
  const std::ptrdiff_t a = std::max(first, tableFirst - half);
  const std::ptrdiff_t b = std::min(end, count - 1 - half + tableEnd);
  if (a >= b) return;
  // With v[m] = conj(w[tableEnd - 1 - m]) and the stretch at index 0, the term of tap j for
  // column i lands in the convolution's entry i - half - a + tableEnd - 1. A length of at least
  // (b - a) + taps - 1 keeps the circular convolution free of wrap-around.
  offset_ = tableEnd - 1 - half - a;
  linear_ = b - a + taps - 1;
  size_ = cv::getOptimalDFTSize(static_cast<int>(b - a + taps - 1));
  spectrum_.assign(static_cast<size_t>(size_), Complex{});
  std::copy(signal.begin() + a, signal.begin() + b, spectrum_.begin());
  Transform(spectrum_, size_, false);
}

void CwtFftSignal::WaveletSpectrum(const double* wRe, const double* wIm,
                                   std::vector<Complex>& spectrum) const {
  const std::ptrdiff_t taps = tableEnd_ - tableFirst_;
  spectrum.assign(static_cast<size_t>(size_), Complex{});
  for (std::ptrdiff_t m = 0; m < taps; ++m) spectrum[m] = {wRe[taps - 1 - m], -wIm[taps - 1 - m]};
  Transform(spectrum, size_, false);
}

void CwtFftSignal::Compute(double s, double dt, const double* wRe, const double* wIm, Complex* out,
                           CwtFftScratch& scratch) const {
  if (size_ == 0) {
    std::fill(out, out + count_, Complex{});
    return;
  }
  const auto key = std::make_tuple(s, dt, half_, tableFirst_, tableEnd_, size_);
  if (auto found = scratch.wavelets.find(key); found != scratch.wavelets.end()) {
    Convolve(dt, found->second, out, scratch);
    return;
  }
  const size_t bytes = sizeof(Complex) * static_cast<size_t>(size_);
  std::vector<Complex>* made = &scratch.wavelet;
  if (scratch.cachedBytes + bytes <= kCwtFftCacheBytes) {
    made = &scratch.wavelets[key];
    scratch.cachedBytes += bytes;
  }
  WaveletSpectrum(wRe, wIm, *made);
  Convolve(dt, *made, out, scratch);
}

bool CwtFftSignal::ComputeCached(double s, double dt, Complex* out, CwtFftScratch& scratch) const {
  if (size_ == 0) return false;
  const auto found =
      scratch.wavelets.find(std::make_tuple(s, dt, half_, tableFirst_, tableEnd_, size_));
  if (found == scratch.wavelets.end()) return false;
  Convolve(dt, found->second, out, scratch);
  return true;
}

void CwtFftSignal::Convolve(double dt, const std::vector<Complex>& wavelet, Complex* out,
                            CwtFftScratch& scratch) const {
  std::vector<Complex>& p = scratch.product;
  p.resize(static_cast<size_t>(size_));
  for (int k = 0; k < size_; ++k) {
    const Complex x = spectrum_[k];
    const Complex v = wavelet[k];
    p[k] = {x.re * v.re - x.im * v.im, x.re * v.im + x.im * v.re};
  }
  Transform(p, size_, true);
  for (std::ptrdiff_t i = 0; i < count_; ++i) {
    const std::ptrdiff_t at = i + offset_;
    const Complex c = at >= 0 && at < linear_ ? p[at] : Complex{};
    out[i] = {dt * c.re, dt * c.im};
  }
}

}  // namespace plexo
