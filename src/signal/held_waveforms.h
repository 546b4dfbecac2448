#pragma once
// A batch source of waveforms held in memory: the samples and header values a program made or
// read itself (the Python module's lists of Waveform objects), run through the same batches as
// the files of a folder and the records of a database.
#include <string>
#include <vector>

#include "signal/waveform.h"
#include "signal/waveform_source.h"

namespace plexo {

class HeldWaveforms : public WaveformSource {
 public:
  // Adds a waveform at the end: its samples exactly as the calculations are to use them (a
  // waveform read from a file already holds its first sample as 0), its header, and the name
  // and label of the input.
  void Add(std::vector<double> samples, const WaveformHeader& header, std::string name,
           std::string label);
  // Header and samples copied (the first MAX_SAMPLES; the count says how many there are). No
  // samples: count 0 and a readProblem naming the input.
  int Read(int k, Waveform& wf) const override;

 private:
  struct Held {
    std::vector<double> samples;
    WaveformHeader header;
  };
  std::vector<Held> held_;
};

}  // namespace plexo
