#pragma once
// The wavelet features of a waveform: the modulus maximum of the Gabor wavelet transform of its
// analysis window (value, time, frequency) and the shares of four frequency bands in the sum of
// the bands' largest coefficient magnitudes.
#include <string>
#include <vector>

#include "features/feature_params.h"
#include "features/feature_values.h"
#include "signal/complex.h"
#include "spectral/fft.h"
#include "timefreq/cwt_row.h"

namespace plexo {

// The most frequency rows and window columns a run computes (the coefficient matrix's size less
// the line and column the transform views keep free).
inline constexpr int kFeatureMaxRows = 511;
inline constexpr int kFeatureMaxColumns = MAX_SAMPLES;

// u = trunc((freqEnd - freqStart) / freqResolution), the number of rows (negative spans give 0).
long long WaveletRowCount(const FeatureSettings& settings);

// The message that refuses the wavelet settings before a run, or an empty text.
std::string WaveletSettingsProblem(const FeatureSettings& settings);
// The message that refuses a waveform whose window is wider than the transform can hold, or an
// empty text.
std::string WaveletWindowProblem(const SignalWindow& window, double dt);

// Per-thread buffers of the wavelet step. Nothing here is cleared per waveform beyond the window.
struct WaveletScratch {
  std::vector<Complex> window;  // the window moved to index 0, zero beyond it (MAX_SAMPLES)
  std::vector<Complex> row;     // one row of coefficients
  CwtRowScratch kernel;
};

// x holds the spectrum ComputeFftFeatures left (size.n entries; entries beyond are not read).
// Transforms it back (in place, unscaled), moves the window to the front and computes the rows
// at (r + 1) * freqResolution one at a time, reducing each to its largest magnitude at once: the
// result is the one of a search over the whole coefficient matrix, columns outer and rows inner.
// Fills the modulus maximum values and the time-frequency powers.
void ComputeWaveletFeatures(Complex* x, const TransformSizeResult& size, double dt,
                            double timeOfTest, const SignalWindow& window,
                            const FeatureSettings& settings, WaveletScratch& scratch,
                            FeatureValues& values);

}  // namespace plexo
