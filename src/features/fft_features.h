#pragma once
// The spectral features of a waveform: the signal gated to the analysis window, transformed, and
// its half spectrum reduced to three peak frequencies, three weighted peak frequencies, the
// frequency centroid and eight partial powers.
#include "features/feature_params.h"
#include "features/feature_values.h"
#include "signal/complex.h"
#include "spectral/fft.h"

namespace plexo {

// Clears the samples before start/dt (indices j < start/dt) and from trunc(end/dt) to count-1.
// Only entries below `size` (the transform length) are touched.
void GateToWindow(Complex* x, int count, int size, double dt, const SignalWindow& window);

// Gates x (count samples, zero-padded to 2^m entries), transforms it forward in place and fills
// the peak frequencies, weighted peak frequencies, centroid and partial powers. On return x holds
// the spectrum, which the wavelet step transforms back. `magnitude` is scratch for the bin
// magnitudes (MAX_SAMPLES/2 entries).
void ComputeFftFeatures(Complex* x, int count, const TransformSizeResult& size, double dt,
                        const SignalWindow& window, const FeatureSettings& settings,
                        double* magnitude, FeatureValues& values);

}  // namespace plexo
