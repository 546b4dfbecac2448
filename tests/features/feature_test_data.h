#pragma once
// Synthetic waveforms for the feature tests: a decaying burst after a quiet stretch, with a
// deterministic noise floor, written in the waveform file layout.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "signal/waveform_file.h"

namespace plexo::testing {

// Samples of a burst at `onset` (index) with two tones, noise of amplitude `noise`.
inline std::vector<double> BurstSamples(int count, int onset, double f1, double f2, double dt,
                                        uint32_t seed, double noise = 0.002) {
  std::vector<double> x(count);
  uint32_t state = seed * 2654435761u + 12345u;
  const double pi = std::acos(-1.0);
  for (int i = 0; i < count; ++i) {
    state = state * 1664525u + 1013904223u;
    double v = noise * ((state >> 8) / 16777216.0 - 0.5);
    if (i >= onset) {
      const double t = (i - onset) * dt;
      v += std::exp(-t / 30e-6) *
           (0.5 * std::sin(2 * pi * f1 * t) + 0.2 * std::sin(2 * pi * f2 * t));
    }
    x[i] = v;
  }
  return x;
}

inline void WriteWaveformFile(const std::string& path, const std::vector<double>& x, double dt,
                              double timeOfTest) {
  WaveformHeader header;
  header.sampleInterval = dt;
  header.timeOfTest = timeOfTest;
  header.channel = 1;
  header.units = "volts";
  WriteWaveform(path, x.data(), static_cast<int>(x.size()), header);
}

}  // namespace plexo::testing
