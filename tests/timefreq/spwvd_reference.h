#pragma once
// The Wigner-Ville distribution as a plain loop, written straight from its definition, and the
// mean-one Hamming windows it is smoothed with. The fast core must match it bit for bit.
#include <algorithm>
#include <cmath>
#include <vector>

#include "spectral/fft.h"

namespace plexo::testing {

// The distribution as a plain loop: every sum term by term, a fresh normT per lag, the transform
// by FFTSplit over all N_freq lag values (imaginary parts an array of zeros), out holding all
// N_time x N_freq magnitudes.
inline std::vector<double> LiteralSpwvdCore(int N, const double* x, const double* windowT, int lt,
                                            std::vector<double> windowF, int lf, int nFreq,
                                            int nTime) {
  const int hT = (lt - 1) / 2;
  const int hF = (lf - 1) / 2;
  const double centre = windowF[hF];
  for (double& w : windowF) w /= centre;
  std::vector<double> out(static_cast<size_t>(nTime) * nFreq);
  std::vector<double> lRe(nFreq, 0.0), lIm(nFreq, 0.0), re(nFreq), im(nFreq);
  auto normT = [&](int low, int high) {
    double sum = 0.0;
    for (int mu = -low; mu <= high; ++mu) sum += windowT[hT + mu];
    return sum;
  };
  auto autocorrelation = [&](int n, int tau) {
    const int low = std::min(hT, N - n - 1 - tau);
    const int high = std::min(hT, n - tau);
    const double norm = normT(low, high);
    double r = 0.0;
    for (int mu = -low; mu <= high; ++mu)
      r += x[n + tau - mu] * x[n - tau - mu] * windowT[hT + mu] / norm;
    return r;
  };
  for (int c = 0; c < nTime; ++c) {
    const int n = static_cast<int>(static_cast<double>(c));
    const int tauMax = std::min({n + hT, N - n - 1 + hT, nFreq / 2 - 1, hF});
    {
      const int low = std::min(hT, N - n - 1);
      const int high = std::min(hT, n);
      const double norm = normT(low, high);
      double sum = 0.0;
      for (int mu = -low; mu <= high; ++mu) sum += x[n - mu] * x[n - mu] * windowT[hT + mu] / norm;
      lRe[0] = sum;
    }
    for (int tau = 1; tau <= tauMax; ++tau) {
      const double r = autocorrelation(n, tau);
      lRe[tau] = r * windowF[hF + tau];
      lRe[nFreq - tau] = r * windowF[hF - tau];
    }
    const int tau = nFreq / 2;
    if (n <= N - tau - 1 && n >= tau && tau <= hF) {
      const double r = autocorrelation(n, tau);
      lRe[tau] = 0.5 * (r * windowF[hF + tau] + r * windowF[hF - tau]);
    }
    FFTSplit(nFreq, false, lRe.data(), lIm.data(), re.data(), im.data());
    for (int k = 0; k < nFreq; ++k) {
      out[static_cast<size_t>(c) * nFreq + k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
      lRe[k] = lIm[k] = 0.0;
    }
  }
  return out;
}

inline std::vector<double> MeanOneHamming(int length) {
  std::vector<double> w(length, 1.0);
  HammingWindow(w.data(), length);
  NormalizeMean(w.data(), length, 1.0);
  return w;
}

}  // namespace plexo::testing
