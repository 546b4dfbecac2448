#pragma once
// The analysis window of a waveform (fixed, or from the AIC onset picker) and the time-based
// features: arrival time, peak amplitude and signal energy.
#include "features/feature_params.h"
#include "features/feature_values.h"
#include "signal/complex.h"

namespace plexo {

// The onset of the transient in seconds from the first sample: the split of samples 1 .. P
// (P = the first strict maximum of |x|) with the lowest Akaike information criterion below 0,
// times dt. 0 when P is 0 or no split has a negative criterion.
double PickOnsetAIC(const Complex* x, int count, double dt);

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
