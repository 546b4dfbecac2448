#pragma once
// The running sums of the Average FFT over a run of files: complex spectrum, magnitude and
// squared magnitude per bin, and the bins' extremes. A run of files is added in file order;
// two runs combine bin by bin (the left run's files come first).
#include <vector>

#include "spectral/average_fft_pipeline.h"

namespace plexo {

// One bin's sums over the files added.
struct BinSums {
  double re = 0.0;  // of the spectra
  double im = 0.0;
  double magnitude = 0.0;  // of the magnitudes
  double square = 0.0;     // of the squared magnitudes
  double minimum = 0.0;    // the extremes of the magnitudes
  double maximum = 0.0;
};

struct SpectrumSums {
  int bins = 0;   // bins reached by any file added (the longest transform's N/2)
  int files = 0;  // spectra added
  std::vector<double> re, im, magnitude, square, minimum, maximum;  // `bins` entries each

  // Adds one file's bins, as the one-process Average FFT does: a bin first reached takes the
  // magnitude as both extremes.
  void Add(const FileSpectrum& file);
  // Makes this the sums of its own files followed by those of `right`.
  void Append(const SpectrumSums& right);
  // Grows every array to `count` bins with zero sums (no extremes yet).
  void Resize(int count);
  // No file added, no bin reached (the arrays keep their memory for the next run).
  void Clear();
  BinSums Bin(int i) const {
    return {re[i], im[i], magnitude[i], square[i], minimum[i], maximum[i]};
  }
};

}  // namespace plexo
