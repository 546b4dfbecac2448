#pragma once
// The in-memory record of one acoustic-emission transient.
#include <string>
#include <vector>

#include "signal/complex.h"

namespace plexo {

// The most samples one waveform may hold; every sample and spectrum buffer has this length.
inline constexpr int MAX_SAMPLES = 16384;

// "Sampling size of %d exceeds program limit of %d!" for a count over MAX_SAMPLES.
std::string SamplingSizeMessage(int count);

// Header values in the order callers pass them: channel, time of test, sample interval, units,
// date, time.
struct WaveformHeader {
  int channel = 0;
  double timeOfTest = 0.0;
  double sampleInterval = 0.0;
  std::string units;
  std::string date;
  std::string time;
  long long hitNumber = -1;  // written as "-/-" when negative (not known); not read back
};

// A waveform in the complex form the calculations work on (im is 0 after reading). `samples`
// is a workspace of MAX_SAMPLES entries that survives between reads: a read overwrites only the
// entries it stores. `count` is the number of sample lines in the file and may exceed the
// capacity.
// `readProblem` says why the last read refused the file's content (a sample that is not a finite
// number, a NUL byte), naming the file and the line; it is empty after every other read.
struct Waveform : WaveformHeader {
  std::vector<Complex> samples;
  int count = 0;
  std::string readProblem;
};

// The same record with real samples (viewer, ASCII operators, writers).
struct RealWaveform : WaveformHeader {
  std::vector<double> samples;
  int count = 0;
  std::string readProblem;
};

}  // namespace plexo
