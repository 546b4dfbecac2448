#include "features/fft_features.h"

#include <algorithm>
#include <cmath>

#include "features/time_features.h"
#include "spectral/magnitude.h"

namespace plexo {
namespace {

// f_k - peak truncated towards zero to whole hertz, as a distance.
double WholeHertzDistance(double f, double peak) { return std::fabs(std::trunc(f - peak)); }

}  // namespace

void GateToWindow(Complex* x, int count, int size, double dt, const SignalWindow& window) {
  const double start = window.start / dt;
  for (int j = 0; j < size && j < start; ++j) x[j] = Complex{};
  const long long end = std::max(TruncatedIndex(window.end / dt), 0LL);
  for (long long j = end; j < count && j < size; ++j) x[j] = Complex{};
}

void ComputeFftFeatures(Complex* x, int count, const TransformSizeResult& size, double dt,
                        const SignalWindow& window, const FeatureSettings& settings,
                        double* magnitude, FeatureValues& values) {
  GateToWindow(x, count, size.n, dt, window);
  FFT(FftDirection::kForward, size.m, x);

  // Bins k < N/2 (the single bin 0 when N is 1), k * df with df = 1/(N dt).
  const int bins = size.n == 1 ? 1 : size.n / 2;
  const double df = (1.0 / (2.0 * dt)) / (size.n * 0.5);
  Magnitudes(x, bins, magnitude);
  double max1 = 0.0;
  double weighted = 0.0;
  double magnitudeSum = 0.0;
  double total = 0.0;
  std::array<double, kPartialPowerBands> band{};
  std::array<double, 3> peak{};
  for (int k = 0; k < bins; ++k) {
    const double a = magnitude[k];
    const double f = k * df;
    if (a > max1) {
      max1 = a;
      peak[0] = f;
    }
    weighted += a * f;
    magnitudeSum += a;
    if (f < settings.ppLimit) {
      total += a;
      for (int b = 0; b < kPartialPowerBands; ++b) {
        if (settings.ppBegin[b] <= f && f < settings.ppEnd[b]) band[b] += a;
      }
    }
  }

  // The second and third peaks keep more than fs/200 hertz from the ones before them.
  const double exclusion = std::pow(dt, -1.0) / 200.0;
  double max2 = 0.0;
  for (int k = 0; k < bins; ++k) {
    const double a = magnitude[k];
    const double f = k * df;
    if (a > max2 && WholeHertzDistance(f, peak[0]) > exclusion) {
      max2 = a;
      peak[1] = f;
    }
  }
  double max3 = 0.0;
  for (int k = 0; k < bins; ++k) {
    const double a = magnitude[k];
    const double f = k * df;
    if (a > max3 && WholeHertzDistance(f, peak[0]) > exclusion &&
        WholeHertzDistance(f, peak[1]) > exclusion) {
      max3 = a;
      peak[2] = f;
    }
  }

  const double centroid = weighted / magnitudeSum;
  values[kColFrequencyCentroid] = centroid;
  for (int i = 0; i < 3; ++i) {
    values[kColPeakFrequency1 + i] = peak[i];
    values[kColWeightedPeakFrequency1 + i] = std::sqrt(peak[i] * centroid);
  }
  for (int b = 0; b < kPartialPowerBands; ++b)
    values[kColPartialPower1 + b] = band[b] / (total * 0.01);
}

}  // namespace plexo
