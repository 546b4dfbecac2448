#pragma once
// The Gabor wavelet of the wavelet transform and the sampled table one frequency row uses.
#include "signal/complex.h"

namespace plexo {

// The stored constant gamma (about pi*sqrt(2/ln 2)): the Gaussian falls to one half where
// f*|tau| = 1 for a wavelet of frequency f.
inline constexpr double kGaborGamma = 5.336446257;
// 2*pi*sqrt(2): omega = kGaborOmegaTimesDt / dt.
inline constexpr double kGaborOmegaTimesDt = 8.885765876316732;
// sqrt(2): the scale of frequency f is kGaborScaleFactor * pow(f*dt, -1).
inline constexpr double kGaborScaleFactor = 1.414213562373095;

// pi^(-1/4) * sqrt(omega/gamma) * exp(-(omega*t/gamma)^2 / 2) * (cos(omega*t) + i sin(omega*t)).
Complex GaborWavelet(double t, double omega);

// The scale whose wavelet oscillates at the frequency f = row * freqStep (row = 1, 2, ...):
// sqrt(2) * pow(row * freqStep * dt, -1).
double GaborScale(int row, double freqStep, double dt);

// Table entries j = first .. last-1 of the n-sample wavelet at scale s, written to re[j - first]
// and im[j - first]: w[j] = GaborWavelet((j*dt - c0*dt)/s, omega) / sqrt(s) with
// omega = 2*pi*sqrt(2)/dt and the centre c0 = (n + 1)/2 (integer division).
void FillGaborTable(double s, double dt, int n, int first, int last, double* re, double* im);

}  // namespace plexo
