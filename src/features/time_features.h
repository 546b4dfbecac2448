#pragma once
// The analysis window of a waveform (fixed, or from the AIC onset picker) and the time-based
// features: arrival time, peak amplitude and signal energy.
#include <string>
#include <vector>

#include "features/feature_params.h"
#include "features/feature_values.h"
#include "signal/complex.h"

namespace plexo {

// The onset of the transient in seconds from the first sample: the split of samples 1 .. P
// (P = the first strict maximum of |x|) with the lowest Akaike information criterion below 0,
// times dt. 0 when P is 0 or no split has a negative criterion.
double PickOnsetAIC(const Complex* x, int count, double dt);

// Why a waveform's pick cannot mean anything, when it cannot.
enum class OnsetTraceProblem {
  kNone,
  kNoPreTrigger,  // P = 0: the largest magnitude is the first sample, nothing to split
  kTooShort,      // P = 1: one value before the peak, a single split whose criterion is 0
  kConstant,      // every split's criterion is 0: the values before the peak are constant
  kNoNegative,    // no split's criterion is below 0 (variances of 1 or more): no pick
};

// What the picker saw in one waveform: the peak index P, the criterion AIC(j) of every split
// j = 0 .. P-1 (the characteristic function) and the pick j*, computed by the scan that
// PickOnsetAIC runs (the same values to the bit); the onset is pick * dt.
struct OnsetTrace {
  int peak = 0;
  std::vector<double> aic;
  int pick = 0;
  OnsetTraceProblem problem = OnsetTraceProblem::kNone;
};
OnsetTrace TraceOnsetAIC(const Complex* x, int count);

// The sentence a picture or a message shows for a problem; empty for kNone.
std::string OnsetTraceNote(OnsetTraceProblem problem);

// The window that starts at `onset` (seconds from the first sample) and lasts settings.duration.
SignalWindow WindowFromOnset(double onset, const FeatureSettings& settings);

// The window of one waveform: [onset, onset + duration] with the picker, else the fixed times.
SignalWindow SelectWindow(const Complex* x, int count, double dt, const FeatureSettings& settings);

// Index helpers shared by the feature steps: a time divided by dt as a sample position, and its
// truncation towards zero, kept within +-2^62 (not-a-number gives 0) so that no conversion
// overflows for absurd windows.
long long TruncatedIndex(double position);

// Peak amplitude and energy over window samples trunc(start/dt) <= h < end/dt, and the arrival
// time. Samples outside 0 .. count-1 count as 0. Fills arrivalTime, peakAmplitude, signalEnergy.
void ComputeTimeFeatures(const Complex* x, int count, double dt, double timeOfTest,
                         const SignalWindow& window, int impedance, FeatureValues& values);

}  // namespace plexo
