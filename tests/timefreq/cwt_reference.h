#pragma once
// The plain double loop of one wavelet row, written straight from its definition. The fast
// CwtRow must match it bit for bit; the benchmark times it beside the fast one.
#include <cmath>
#include <vector>

#include "signal/complex.h"
#include "timefreq/gabor.h"

namespace plexo::testing {

inline void ReferenceCwtRow(double s, double dt, const Complex* signal, int length, Complex* out,
                            int count, int n) {
  std::vector<Complex> w(n > 0 ? n : 0);
  const double omega = 8.885765876316732 / dt;
  const int c0 = (n + 1) / 2;
  for (int j = 0; j < n; ++j) {
    const Complex g = GaborWavelet((j * dt - c0 * dt) / s, omega);
    w[j] = {g.re / std::sqrt(s), g.im / std::sqrt(s)};
  }
  const int half = (n - 1) / 2;
  for (int i = 0; i < count; ++i) {
    double sumRe = 0.0;
    double sumIm = 0.0;
    for (int j = 0; j < n; ++j) {
      const int k = i - half + j;
      if (k < 0 || k >= length) continue;  // outside the buffer: no term
      sumRe += w[j].re * signal[k].re + w[j].im * signal[k].im;
      sumIm += w[j].re * signal[k].im - w[j].im * signal[k].re;
    }
    out[i] = {dt * sumRe, dt * sumIm};
  }
}

}  // namespace plexo::testing
