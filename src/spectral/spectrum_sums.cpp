#include "spectral/spectrum_sums.h"

#include <algorithm>

namespace plexo {

void SpectrumSums::Resize(int count) {
  if (count <= bins) return;
  for (std::vector<double>* v : {&re, &im, &magnitude, &square, &minimum, &maximum})
    v->resize(count, 0.0);
  bins = count;
}

void SpectrumSums::Clear() {
  for (std::vector<double>* v : {&re, &im, &magnitude, &square, &minimum, &maximum}) v->clear();
  bins = 0;
  files = 0;
}

void SpectrumSums::Add(const FileSpectrum& file) {
  const Complex* x = file.waveform.samples.data();
  const double* g = file.magnitude.data();
  const int count = file.Bins();
  const int seen = bins;
  Resize(count);
  // Plain loops without a branch per bin, so that the compiler can use vector instructions;
  // every bin's sums still take the files in order.
  for (int i = 0; i < count; ++i) {
    re[i] += x[i].re;
    im[i] += x[i].im;
    magnitude[i] += g[i];
    square[i] += g[i] * g[i];
  }
  const int both = std::min(seen, count);
  for (int i = 0; i < both; ++i) {
    minimum[i] = std::min(minimum[i], g[i]);
    maximum[i] = std::max(maximum[i], g[i]);
  }
  for (int i = both; i < count; ++i) {
    minimum[i] = g[i];
    maximum[i] = g[i];
  }
  ++files;
}

void SpectrumSums::Append(const SpectrumSums& right) {
  const int seen = bins;
  Resize(right.bins);
  for (int i = 0; i < right.bins; ++i) {
    re[i] += right.re[i];
    im[i] += right.im[i];
    magnitude[i] += right.magnitude[i];
    square[i] += right.square[i];
    if (i < seen) {
      minimum[i] = std::min(minimum[i], right.minimum[i]);
      maximum[i] = std::max(maximum[i], right.maximum[i]);
    } else {
      minimum[i] = right.minimum[i];
      maximum[i] = right.maximum[i];
    }
  }
  files += right.files;
}

}  // namespace plexo
