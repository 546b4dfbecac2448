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

namespace {

// The first sample whose magnitude beats every earlier one (ties keep the earlier sample).
int AicPeak(const Complex* x, int count) {
  int peak = 0;
  double largest = 0.0;
  for (int i = 0; i < count; ++i) {
    const double magnitude = std::hypot(x[i].re, x[i].im);
    if (magnitude > largest) {
      largest = magnitude;
      peak = i;
    }
  }
  return peak;
}

// The one scan of the splits of samples 1 .. peak: returns the pick, and stores AIC(j) into
// criteria[j] when criteria is given. Sample 0 is the reader's forced zero in files of the usual
// layout. The criterion of every split is computed from scratch, in the plain summation order.
int ScanAicSplits(const Complex* x, int peak, double* criteria) {
  const Complex* values = x + 1;
  double minimum = 0.0;  // not +inf: a split must have a negative criterion to be picked
  int pick = 0;
  for (int j = 0; j < peak; ++j) {
    const double left = AicVariance(values, j);
    const double right = AicVariance(values + j, peak - j);
    const double aic = (j + 1) * std::log(left) + (peak - j) * std::log(right);
    if (criteria != nullptr) criteria[j] = aic;
    if (aic < minimum) {
      minimum = aic;
      pick = j;
    }
  }
  return pick;
}

}  // namespace

double PickOnsetAIC(const Complex* x, int count, double dt) {
  return ScanAicSplits(x, AicPeak(x, count), nullptr) * dt;
}

OnsetTrace TraceOnsetAIC(const Complex* x, int count) {
  OnsetTrace trace;
  trace.peak = AicPeak(x, count);
  trace.aic.resize(static_cast<size_t>(trace.peak));
  trace.pick = ScanAicSplits(x, trace.peak, trace.aic.data());
  if (trace.peak == 0) {
    trace.problem = OnsetTraceProblem::kNoPreTrigger;
  } else if (trace.peak == 1) {
    trace.problem = OnsetTraceProblem::kTooShort;
  } else if (std::all_of(trace.aic.begin(), trace.aic.end(), [](double v) { return v == 0.0; })) {
    trace.problem = OnsetTraceProblem::kConstant;
  } else if (std::none_of(trace.aic.begin(), trace.aic.end(), [](double v) { return v < 0.0; })) {
    trace.problem = OnsetTraceProblem::kNoNegative;
  }
  return trace;
}

std::string OnsetTraceNote(OnsetTraceProblem problem) {
  switch (problem) {
    case OnsetTraceProblem::kNone:
      return {};
    case OnsetTraceProblem::kNoPreTrigger:
      return "No pre-trigger: the largest magnitude is the first sample, so there is nothing to "
             "split; the onset is 0.";
    case OnsetTraceProblem::kTooShort:
      return "Pre-trigger too short: the peak is at sample 1, leaving one split whose criterion "
             "is 0; the onset is 0.";
    case OnsetTraceProblem::kConstant:
      return "Constant criterion: every split gives 0 (the samples before the peak do not vary); "
             "the onset is 0.";
    case OnsetTraceProblem::kNoNegative:
      return "No split has a criterion below 0 (variances of 1 or more: amplitudes far above "
             "volts?); the onset is 0.";
  }
  return {};
}

SignalWindow WindowFromOnset(double onset, const FeatureSettings& settings) {
  SignalWindow window;
  window.onset = onset;
  window.start = onset;
  window.end = onset + settings.duration;
  return window;
}

SignalWindow SelectWindow(const Complex* x, int count, double dt, const FeatureSettings& settings) {
  if (settings.useAic) return WindowFromOnset(PickOnsetAIC(x, count, dt), settings);
  SignalWindow window;
  window.start = settings.timeStart;
  window.end = settings.timeEnd;
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
