#pragma once
// The columns output of convolution and deconvolution: one column per processed waveform
// (channel, time of test, sampling rate in kHz, sixteen zeros, the sample count, the samples),
// one value per line in "%e", the columns of a line separated by tabs. A line below the end of
// a shorter column leaves that column's field empty, so every column keeps its place.
#include <string>
#include <vector>

#include "signal/waveform.h"

namespace plexo {

class WaveformColumns {
 public:
  // The values before the samples in each column.
  static constexpr int kHeaderValues = 3 + 16 + 1;

  void Clear() { columns_.clear(); }
  void Add(const WaveformHeader& header, const double* samples, int count);
  size_t size() const { return columns_.size(); }

  // Creates or replaces the file (empty when no column was added). False (after
  // "File open NOT succesfull") when it cannot be written.
  bool Write(const std::string& path, std::string* error = nullptr) const;

 private:
  std::vector<std::vector<double>> columns_;
};

}  // namespace plexo
