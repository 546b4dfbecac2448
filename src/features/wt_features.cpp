#include "features/wt_features.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "features/time_features.h"
#include "signal/number_text.h"
#include "timefreq/gabor.h"

namespace plexo {

long long WaveletRowCount(const FeatureSettings& settings) {
  const double rows = std::trunc((settings.freqEnd - settings.freqStart) / settings.freqResolution);
  return std::max(TruncatedIndex(rows), 0LL);
}

std::string WaveletSettingsProblem(const FeatureSettings& settings) {
  const double res = settings.freqResolution;
  if (!(res > 0.0) || !std::isfinite(res)) {
    return "Frequency resolution of " + FormatE(res) + " Hz is not allowed! Value has to be > 0!";
  }
  const long long rows = WaveletRowCount(settings);
  if (rows > kFeatureMaxRows) {
    return "Frequency grid of " + FormatD(rows) + " rows exceeds program limit of " +
           FormatD(kFeatureMaxRows) + "!";
  }
  return {};
}

std::string WaveletWindowProblem(const SignalWindow& window, double dt) {
  const long long first = TruncatedIndex(window.start / dt);
  const long long columns = TruncatedIndex(window.end / dt) - first;
  if (columns > kFeatureMaxColumns) {
    return "Time window of " + FormatD(columns) + " samples exceeds program limit of " +
           FormatD(kFeatureMaxColumns) + "!";
  }
  return {};
}

void ComputeWaveletFeatures(Complex* x, const TransformSizeResult& size, double dt,
                            double timeOfTest, const SignalWindow& window,
                            const FeatureSettings& settings, WaveletScratch& scratch,
                            FeatureValues& values) {
  // Back to the time domain, times N (the inverse is unscaled).
  FFT(FftDirection::kInverse, size.m, x);

  const long long o = TruncatedIndex(window.start / dt);
  const long long e = TruncatedIndex(window.end / dt);
  const long long length = std::clamp<long long>(e - o, 0, kFeatureMaxColumns);
  const int columns = static_cast<int>(length);

  // Window sample l is signal sample l + o; samples outside the transform count as 0. From
  // index `columns` on the buffer is zero, so the transform sees zeros after the window.
  scratch.window.resize(MAX_SAMPLES);
  for (int l = 0; l < columns; ++l) {
    const long long k = l + o;
    scratch.window[l] = k >= 0 && k < size.n ? x[k] : Complex{};
  }
  std::fill(scratch.window.begin() + columns, scratch.window.end(), Complex{});
  scratch.row.resize(std::max(columns, 1));

  const double res = settings.freqResolution;
  const int rows =
      columns > 0
          ? static_cast<int>(std::min<long long>(WaveletRowCount(settings), kFeatureMaxRows))
          : 0;
  // The search keeps, over all rows, the largest magnitude and the earliest column then lowest
  // row that holds it: per row, the first column of its strict running maximum from 0.
  double best = 0.0;
  int bestColumn = -1;
  int bestRow = -1;
  std::array<double, kWaveletBands> bandMaximum{};
  if (rows > 0) {
    const CwtRowKernel kernel(std::span<const Complex>(scratch.window.data(), MAX_SAMPLES), columns,
                              settings.waveletLength,
                              RowMethod(settings.waveletMethod, columns, settings.waveletLength));
    for (int r = 0; r < rows; ++r) {
      const int v = r + 1;
      const double s = GaborScale(v, res, dt);  // sqrt(2) * (v res dt)^-1
      kernel.Compute(s, dt, scratch.row.data(), scratch.kernel);
      double rowMaximum = 0.0;
      int rowColumn = -1;
      for (int c = 0; c < columns; ++c) {
        const double w = std::hypot(scratch.row[c].re, scratch.row[c].im);
        if (w > rowMaximum) {
          rowMaximum = w;
          rowColumn = c;
        }
      }
      if (rowColumn >= 0 && (rowMaximum > best || (rowMaximum == best && rowColumn < bestColumn))) {
        best = rowMaximum;
        bestColumn = rowColumn;
        bestRow = r;
      }
      const double f = v * res;
      for (int b = 0; b < kWaveletBands; ++b) {
        if (settings.wtBegin[b] < f && f <= settings.wtEnd[b] && rowMaximum > bandMaximum[b])
          bandMaximum[b] = rowMaximum;
      }
    }
  }

  double time = 0.0;
  double frequency = 0.0;
  if (bestColumn >= 0) {
    time = static_cast<double>(bestColumn + 1 + o) * dt;
    frequency = (bestRow + 1) * res;
  }
  values[kColModulusMaximum] = best;
  values[kColModulusMaximumTime] = time + timeOfTest;
  values[kColModulusMaximumFrequency] = frequency + settings.freqStart;
  const double sum = bandMaximum[0] + bandMaximum[1] + bandMaximum[2] + bandMaximum[3];
  for (int b = 0; b < kWaveletBands; ++b)
    values[kColTimeFrequencyPower1 + b] = bandMaximum[b] / sum * 100.0;
}

}  // namespace plexo
