#pragma once
// The features of one waveform computed straight from their definitions, for comparison with
// the fast run: a direct DFT instead of the FFT, the whole coefficient matrix of the wavelet
// rows (plain double loop) searched columns outer, rows inner, and the onset picker's variances
// computed afresh for every split.
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "../timefreq/cwt_reference.h"
#include "features/feature_params.h"
#include "features/feature_values.h"

namespace plexo::testing {

inline double ReferenceVariance(const std::vector<double>& v, size_t first, size_t count) {
  if (count < 2) return 1.0;
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += v[i];
  const double mean = sum / count;
  double sq = 0.0;
  for (size_t i = first; i < first + count; ++i) sq += (v[i] - mean) * (v[i] - mean);
  const double var = sq / (count - 1.0);
  return var == 0.0 ? 1.0 : var;
}

// The picker written out: the peak P, AIC(j) of every split j = 0 .. P-1 and the pick.
struct ReferenceAic {
  int peak = 0;
  std::vector<double> aic;
  int pick = 0;
};

inline ReferenceAic ReferenceAicTrace(const std::vector<double>& x) {
  ReferenceAic t;
  double best = 0.0;
  for (size_t i = 0; i < x.size(); ++i) {
    if (std::fabs(x[i]) > best) {
      best = std::fabs(x[i]);
      t.peak = static_cast<int>(i);
    }
  }
  const int p = t.peak;
  std::vector<double> s(x.begin() + 1, x.begin() + 1 + p);
  double minimum = 0.0;
  for (int j = 0; j < p; ++j) {
    const double aic = (j + 1) * std::log(ReferenceVariance(s, 0, j)) +
                       (p - j) * std::log(ReferenceVariance(s, j, p - j));
    t.aic.push_back(aic);
    if (aic < minimum) {
      minimum = aic;
      t.pick = j;
    }
  }
  return t;
}

inline int ReferenceOnsetIndex(const std::vector<double>& x) { return ReferenceAicTrace(x).pick; }

// x: the samples as read; the settings as the run parses them.
inline FeatureValues ReferenceFeatures(const std::vector<double>& x, double dt, double timeOfTest,
                                       const FeatureSettings& st) {
  FeatureValues v;
  const int n = static_cast<int>(x.size());
  int size = 1;
  while (size < n) size *= 2;
  std::vector<double> padded(size, 0.0);
  std::copy(x.begin(), x.end(), padded.begin());

  double start = st.timeStart, end = st.timeEnd, onset = 0.0;
  if (st.useAic) {
    onset = ReferenceOnsetIndex(x) * dt;
    start = onset;
    end = onset + st.duration;
  }
  // Time features.
  double peak = 0.0, energy = 0.0;
  for (long h = static_cast<long>(start / dt); h < end / dt; ++h) {
    const double m = h >= 0 && h < n ? std::fabs(x[h]) : 0.0;
    peak = std::max(peak, m);
    energy += m * m;
  }
  v[kColPeakAmplitude] = peak;
  v[kColSignalEnergy] = energy * dt * std::pow(static_cast<double>(st.impedance), -1.0);
  v[kColArrivalTime] = onset + timeOfTest;

  // Gate: keep samples with start/dt <= j < trunc(end/dt).
  std::vector<double> gated(size, 0.0);
  for (int j = 0; j < n; ++j) {
    if (j >= start / dt && j < static_cast<long>(end / dt)) gated[j] = padded[j];
  }
  // Direct DFT of the half spectrum.
  const double pi = std::acos(-1.0);
  const int bins = size == 1 ? 1 : size / 2;
  std::vector<double> a(bins), f(bins);
  for (int k = 0; k < bins; ++k) {
    std::complex<long double> sum = 0;
    for (int j = 0; j < size; ++j) {
      const long double angle = -2.0L * pi * ((static_cast<long>(k) * j) % size) / size;
      sum += static_cast<long double>(gated[j]) * std::polar(1.0L, angle);
    }
    a[k] = static_cast<double>(std::abs(sum));
    f[k] = k / (size * dt);
  }
  std::array<double, 3> pf{};
  double m1 = 0, m2 = 0, m3 = 0, weighted = 0, total = 0, msum = 0;
  std::array<double, 8> band{};
  const double fs200 = 1.0 / dt / 200.0;
  for (int k = 0; k < bins; ++k) {
    if (a[k] > m1) m1 = a[k], pf[0] = f[k];
    weighted += a[k] * f[k];
    msum += a[k];
    if (f[k] < st.ppLimit) {
      total += a[k];
      for (int b = 0; b < 8; ++b)
        if (st.ppBegin[b] <= f[k] && f[k] < st.ppEnd[b]) band[b] += a[k];
    }
  }
  for (int k = 0; k < bins; ++k)
    if (a[k] > m2 && std::fabs(std::trunc(f[k] - pf[0])) > fs200) m2 = a[k], pf[1] = f[k];
  for (int k = 0; k < bins; ++k)
    if (a[k] > m3 && std::fabs(std::trunc(f[k] - pf[0])) > fs200 &&
        std::fabs(std::trunc(f[k] - pf[1])) > fs200)
      m3 = a[k], pf[2] = f[k];
  v[kColFrequencyCentroid] = weighted / msum;
  for (int i = 0; i < 3; ++i) v[kColPeakFrequency1 + i] = pf[i];
  for (int i = 0; i < 3; ++i)
    v[kColWeightedPeakFrequency1 + i] = std::sqrt(pf[i] * v[kColFrequencyCentroid]);
  for (int b = 0; b < 8; ++b) v[kColPartialPower1 + b] = band[b] / (total * 0.01);

  // Wavelet: the gated signal times N, window moved to the front, the whole matrix.
  const long o = static_cast<long>(start / dt);
  const long length = std::max(0L, static_cast<long>(end / dt) - o);
  std::vector<Complex> window(16384);
  for (long l = 0; l < length; ++l) {
    const long k = l + o;
    if (k >= 0 && k < size) window[l] = {gated[k] * size, 0.0};
  }
  const long rows =
      std::max(0L, static_cast<long>((st.freqEnd - st.freqStart) / st.freqResolution));
  std::vector<std::vector<Complex>> matrix(rows, std::vector<Complex>(std::max(length, 1L)));
  for (long r = 0; r < rows; ++r) {
    const double s = 1.414213562373095 * std::pow((r + 1) * st.freqResolution * dt, -1.0);
    ReferenceCwtRow(s, dt, window.data(), 16384, matrix[r].data(), static_cast<int>(length),
                    st.waveletLength);
  }
  double mm = 0, mmTime = 0, mmFreq = 0;
  std::array<double, 4> bmax{};
  for (long c = 0; c < length; ++c) {
    for (long r = 0; r < rows; ++r) {
      const double w = std::abs(std::complex<double>(matrix[r][c].re, matrix[r][c].im));
      if (w > mm) mm = w, mmTime = (c + 1 + o) * dt, mmFreq = (r + 1) * st.freqResolution;
      const double fr = (r + 1) * st.freqResolution;
      for (int b = 0; b < 4; ++b)
        if (st.wtBegin[b] < fr && fr <= st.wtEnd[b] && w > bmax[b]) bmax[b] = w;
    }
  }
  v[kColModulusMaximum] = mm;
  v[kColModulusMaximumTime] = mmTime + timeOfTest;
  v[kColModulusMaximumFrequency] = mmFreq + st.freqStart;
  const double sum = bmax[0] + bmax[1] + bmax[2] + bmax[3];
  for (int b = 0; b < 4; ++b) v[kColTimeFrequencyPower1 + b] = bmax[b] / sum * 100;
  return v;
}

}  // namespace plexo::testing
