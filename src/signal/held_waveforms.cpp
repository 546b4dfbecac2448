#include "signal/held_waveforms.h"

#include <algorithm>

namespace plexo {

void HeldWaveforms::Add(std::vector<double> samples, const WaveformHeader& header, std::string name,
                        std::string label) {
  held_.push_back({std::move(samples), header});
  inputs_.push_back({std::move(name), std::move(label)});
}

int HeldWaveforms::Read(int k, Waveform& wf) const {
  const Held& held = held_[static_cast<size_t>(k)];
  static_cast<WaveformHeader&>(wf) = held.header;
  wf.readProblem.clear();
  wf.samples.resize(MAX_SAMPLES);
  const size_t stored = std::min(held.samples.size(), static_cast<size_t>(MAX_SAMPLES));
  for (size_t i = 0; i < stored; ++i) wf.samples[i] = Complex{held.samples[i], 0.0};
  wf.count = static_cast<int>(std::min(held.samples.size(), static_cast<size_t>(1) << 30));
  if (wf.count == 0) wf.readProblem = "No data present in " + Label(k) + "!";
  return wf.count;
}

}  // namespace plexo
