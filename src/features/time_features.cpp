#include "features/time_features.h"

#include <algorithm>
#include <cmath>

namespace plexo {
namespace {

// The sample variance of values[0 .. count-1] (two passes: mean, then squared deviations),
// counted as 1 when it is 0 or undefined (fewer than two values).
double AicVariance(const Complex* values, int count) {
  if (count < 2) return 1.0;
  double sum = 0.0;
  for (int i = 0; i < count; ++i) sum += values[i].re;
  const double mean = sum / count;
  double squares = 0.0;
  for (int i = 0; i < count; ++i) {
    const double d = values[i].re - mean;
    squares += d * d;
  }
  const double variance = squares / (count - 1);
  return variance == 0.0 ? 1.0 : variance;
}

}  // namespace

long long TruncatedIndex(double position) {
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  if (std::isnan(position)) return 0;
  if (position >= kLimit) return static_cast<long long>(kLimit);
  if (position <= -kLimit) return -static_cast<long long>(kLimit);
  return static_cast<long long>(position);
}

double PickOnsetAIC(const Complex* x, int count, double dt) {
  // The first sample whose magnitude beats every earlier one (ties keep the earlier sample).
  int peak = 0;
  double largest = 0.0;
  for (int i = 0; i < count; ++i) {
    const double magnitude = std::hypot(x[i].re, x[i].im);
    if (magnitude > largest) {
      largest = magnitude;
      peak = i;
    }
  }
  // Samples 1 .. P; sample 0 is the reader's forced zero in files of the usual layout. The
  // criterion of every split is computed from scratch, in the plain summation order.
  const Complex* values = x + 1;
  double minimum = 0.0;  // not +inf: a split must have a negative criterion to be picked
  int pick = 0;
  for (int j = 0; j < peak; ++j) {
    const double left = AicVariance(values, j);
    const double right = AicVariance(values + j, peak - j);
    const double aic = (j + 1) * std::log(left) + (peak - j) * std::log(right);
    if (aic < minimum) {
      minimum = aic;
      pick = j;
    }
  }
  return pick * dt;
}

SignalWindow SelectWindow(const Complex* x, int count, double dt, const FeatureSettings& settings) {
  SignalWindow window;
  if (settings.useAic) {
    window.onset = PickOnsetAIC(x, count, dt);
    window.start = window.onset;
    window.end = window.onset + settings.duration;
  } else {
    window.start = settings.timeStart;
    window.end = settings.timeEnd;
  }
  return window;
}

void ComputeTimeFeatures(const Complex* x, int count, double dt, double timeOfTest,
                         const SignalWindow& window, int impedance, FeatureValues& values) {
  const double end = window.end / dt;
  double energySum = 0.0;
  double peak = 0.0;
  for (long long h = std::max(TruncatedIndex(window.start / dt), 0LL); h < count && h < end; ++h) {
    const double m = std::hypot(x[h].re, x[h].im);
    if (m > peak) peak = m;
    energySum += m * m;
  }
  values[kColPeakAmplitude] = peak;
  values[kColSignalEnergy] = energySum * dt * std::pow(static_cast<double>(impedance), -1.0);
  values[kColArrivalTime] = window.onset + timeOfTest;
}

}  // namespace plexo
