#include "spectral/spectrum_preview.h"

#include <cmath>

#include "signal/waveform.h"

namespace plexo {

SpectrumPreview::SpectrumPreview(const Complex* spectrum, int bins) {
  constexpr int kColumns = MAX_SAMPLES / 2;
  if (bins <= kColumns) {
    this->bins = spectrum;
    columns = bins;
    return;
  }
  // Transform lengths are powers of two: each column stands for the same number of bins.
  const int run = (bins + kColumns - 1) / kColumns;
  columns = (bins + run - 1) / run;
  reduced_.resize(static_cast<size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    const int first = c * run;
    const int end = first + run < bins ? first + run : bins;
    int largest = first;
    for (int i = first + 1; i < end; ++i) {
      if (std::hypot(spectrum[i].re, spectrum[i].im) >
          std::hypot(spectrum[largest].re, spectrum[largest].im))
        largest = i;
    }
    reduced_[static_cast<size_t>(c)] = spectrum[largest];
  }
  this->bins = reduced_.data();
}

}  // namespace plexo
