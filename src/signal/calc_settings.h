#pragma once
// The calculation settings: the values the Options dialog edits, the calculations receive and
// the setup file stores. Every numeric field is a double, also those that hold a flag, an index
// or a count, because the dialog parses every edit text with the atof rules into its field and
// the setup file stores them that way. The three paths (FFT, WT and transfer-function path)
// travel beside the record as plain strings.
#include <string>
#include <string_view>

#include "signal/waveform.h"  // MAX_SAMPLES

namespace plexo {

// Fields in the order the setup file lists them. The member initialisers are the one place
// that holds the values of a fresh setup: they make every calculation runnable on the example
// waveforms (sample interval 1e-7 s, a few thousand samples).
struct CalcSettings {
  double fftPrecision = 14;  // transforms of convolution/deconvolution have 2^p points
  double fftWindow = 0;      // 0 "None", 1 "200µs"
  double wtSize = 1001;      // wavelet length
  double wtType = 1;         // 0 "None", 1 "Gabor"
  double timeStart = 0;      // s
  double timeEnd = 4e-4;     // s
  double timeRes = 1e-7;     // s
  double freqStart = 1e4;    // Hz
  double freqEnd = 1e6;      // Hz
  double freqRes = 1e4;      // Hz
  double autoResTime = 1;    // 1 = choose the time resolution automatically
  double autoRoi = 0;        // 1 = detect the threshold automatically
  double autoResFreq = 0;    // 1 = choose the frequency resolution automatically
  double wtComplex = 0;      // 1 = also save complex coefficients
  double threshold = 0.1;
  double fftOutputType = 0;  // 0 "Single (*.txt)", 1 "Columns (*.txt)"
  double cwdSize = 2;        // subsampling size of the Wigner-Ville distribution
  double cwdSigma = 4;       // window parameter of the Wigner-Ville distribution
  double wtSelect = 0;       // 0 wavelet transform, 1 smoothed pseudo Wigner-Ville
  // Settings that older versions do not know: stored only when they differ from these values,
  // so that a setup file keeps the layout every version reads.
  double wtMethod = 0;              // wavelet rows: 0 the direct sum, 1 fast convolution
  double maxSamples = MAX_SAMPLES;  // the most samples of a waveform (FFT-based calculations)

  bool operator==(const CalcSettings&) const = default;
};

// The settings of a fresh setup (no setup file yet); the paths start empty.
inline CalcSettings DefaultCalcSettings() { return CalcSettings{}; }

// The text forms the Options dialog shows the settings in, and the way back.
std::string DialogTextExponent(double value);     // "%.2e": time and frequency grid
std::string DialogTextInteger(double value);      // "%.0lf": lengths, sizes, hidden precision
std::string DialogTextThreshold(double value);    // "%.4f": threshold
double DialogTextToValue(std::string_view text);  // atof rules; 0 when there is no number

}  // namespace plexo
