#pragma once
// The in-memory record of one acoustic-emission transient.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "signal/complex.h"

namespace plexo {

// The most samples one waveform may hold by default, and always for the calculations that keep
// it (the time-frequency maps, the Average TFT, the ASCII operators, the viewers); every sample
// and spectrum buffer has at least this length.
inline constexpr int MAX_SAMPLES = 16384;
// The most a run may raise the limit to for the waveform-level calculations (Single FFT,
// Average FFT, feature extraction): `--max-samples`, the desktop's "Max. samples" field.
inline constexpr int kLargestSampleLimit = 1 << 20;

// "Sampling size of %d exceeds program limit of %d!" for a count over MAX_SAMPLES.
std::string SamplingSizeMessage(int count);
// The same for a calculation whose limit a run may raise, with the run's `limit` and a hint
// naming the option while the limit is below kLargestSampleLimit.
std::string SampleLimitMessage(int count, int limit);
// The desktop's "Max. Samples" field: its text (atof rules, as every edit field) when that is a
// whole number from MAX_SAMPLES to kLargestSampleLimit, else nothing (kMaxSamplesMessage).
std::optional<int> SampleLimitFromText(std::string_view text);
inline constexpr const char* kMaxSamplesMessage =
    "Max. Samples must be a whole number from 16384 to 1048576!";
// The length of a sample buffer that holds `stored` samples and their zero-padded transform:
// the next power of two, at least MAX_SAMPLES.
int SampleRoom(int stored);

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
// is a workspace of at least MAX_SAMPLES entries that survives between reads: a read overwrites
// only the entries it stores, at most `limit` of them, and grows the workspace to
// SampleRoom(stored) when they do not fit (never shrinking it). `count` is the number of sample
// lines in the file and may exceed the limit.
// `readProblem` says why the last read refused the file's content (a sample that is not a finite
// number, a NUL byte), naming the file and the line; it is empty after every other read.
struct Waveform : WaveformHeader {
  std::vector<Complex> samples;
  int count = 0;
  std::string readProblem;
  int limit = MAX_SAMPLES;  // the most samples a read stores: the run's sample limit
};

// The same record with real samples (viewer, ASCII operators, writers).
struct RealWaveform : WaveformHeader {
  std::vector<double> samples;
  int count = 0;
  std::string readProblem;
};

}  // namespace plexo
