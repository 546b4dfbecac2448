#pragma once
// The bins a spectrum preview draws: the preview has one column per bin up to MAX_SAMPLES / 2
// bins (every spectrum of a waveform within the default limit, drawn as always); a longer
// spectrum, from a raised sample limit, is drawn in MAX_SAMPLES / 2 columns, each the bin of
// largest magnitude of its run of bins, so that no peak is lost and the image stays small.
#include <vector>

#include "signal/complex.h"

namespace plexo {

class SpectrumPreview {
 public:
  SpectrumPreview(const Complex* spectrum, int bins);

  const Complex* bins = nullptr;  // `columns` entries to draw
  int columns = 0;

 private:
  std::vector<Complex> reduced_;
};

}  // namespace plexo
