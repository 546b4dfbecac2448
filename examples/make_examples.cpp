// Writes the bundled example waveforms: AE-like bursts (a short linear rise, then an exponentially
// decaying sine) on a low noise floor, with different arrival times, frequencies and amplitudes.
// Deterministic: the noise comes from a fixed linear congruential generator, so the files are the
// same on every machine. Usage: make_examples OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "signal/waveform_file.h"

namespace {

struct Burst {
  const char* name;
  int channel;
  double time_of_test;  // s
  double arrival;       // s from the first sample
  double frequency;     // Hz
  double amplitude;     // V
  double decay;         // s
};

constexpr double kDt = 1e-7;
constexpr int kSamples = 4096;
constexpr double kRise = 5e-6;

// Uniform noise in [-1, 1) from a 64-bit LCG (Knuth's MMIX constants).
class Noise {
 public:
  explicit Noise(uint64_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
  }

 private:
  uint64_t state_;
};

std::vector<double> MakeBurst(const Burst& b, uint64_t seed) {
  Noise noise(seed);
  std::vector<double> x(kSamples);
  for (int i = 0; i < kSamples; ++i) {
    const double t = i * kDt - b.arrival;
    double v = 0.002 * noise.Next();
    if (t >= 0.0) {
      const double envelope = (t < kRise ? t / kRise : 1.0) * std::exp(-t / b.decay);
      v += b.amplitude * envelope * std::sin(2.0 * M_PI * b.frequency * t);
    }
    x[i] = v;
  }
  return x;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_examples OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  const Burst bursts[] = {
      {"hit_001.txt", 1, 12.0153210, 50e-6, 150e3, 0.80, 60e-6},
      {"hit_002.txt", 2, 12.0153412, 120e-6, 250e3, 0.35, 40e-6},
      {"hit_003.txt", 1, 15.2231005, 250e-6, 300e3, 1.20, 30e-6},
      {"hit_004.txt", 3, 18.7400127, 260e-6, 450e3, 0.15, 25e-6},
      {"hit_005.txt", 2, 21.0010998, 90e-6, 180e3, 2.50, 80e-6},
      {"hit_006.txt", 4, 24.5566001, 300e-6, 220e3, 0.05, 50e-6},
  };
  uint64_t seed = 20261208;
  for (const Burst& b : bursts) {
    plexo::WaveformHeader header;
    header.channel = b.channel;
    header.timeOfTest = b.time_of_test;
    header.sampleInterval = kDt;
    header.units = "volts";
    header.date = "08.12.2026";
    header.time = "09:30:00";
    const std::vector<double> x = MakeBurst(b, seed++);
    const std::string path = plexo::JoinPath(folder, b.name);
    if (!plexo::WriteWaveform(path, x.data(), kSamples, header)) return 1;
    std::cout << "wrote " << path << "\n";
  }
  return 0;
}
