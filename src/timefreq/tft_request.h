#pragma once
// The parameters of one Single TFT run, as the Options dialog or the command line hands them
// over (single values copied out of the settings, never the settings record itself).
#include <string>

#include "timefreq/wavelet_method.h"

namespace plexo {

// The table a time-frequency run writes beside its preview picture.
enum class TftOutput {
  kModulus,  // one magnitude per cell
  kComplex,  // real and imaginary part per cell
  kNone,     // the preview only
};

struct TftRequest {
  std::string path;        // the waveform file
  double freqRes = 0.0;    // frequency step, Hz (unless autoFreqRes)
  double freqStart = 0.0;  // only freqEnd - freqStart is used
  double freqEnd = 0.0;
  double timeRes = 0.0;    // the sample interval to assume, s (unless autoTimeRes)
  double timeStart = 0.0;  // time window from the first sample, s
  double timeEnd = 0.0;
  TftOutput output = TftOutput::kModulus;
  int waveletLength = 0;  // wavelet transform: number of wavelet samples
  WaveletMethod waveletMethod = WaveletMethod::kDirect;  // wavelet transform: how rows are summed
  bool autoTimeRes = false;                              // take the sample interval from the file
  bool autoFreqRes = false;                              // automatic frequency grid
  int subsampling = 1;      // Wigner-Ville: keep every subsampling-th sample
  int windowParameter = 1;  // Wigner-Ville: divisor of both smoothing window lengths
};

// The Options dialog's check of a time-frequency grid before any calculation: windows and
// ranges not reversed, no negative bound, both resolutions positive (also with the automatic
// resolutions on). A NaN fails every comparison and is rejected.
inline bool TftGridIsConsistent(const TftRequest& r) {
  return r.timeEnd >= r.timeStart && r.timeStart >= 0 && r.timeEnd >= 0 && r.timeRes > 0 &&
         r.freqEnd >= r.freqStart && r.freqStart >= 0 && r.freqEnd >= 0 && r.freqRes > 0;
}

}  // namespace plexo
