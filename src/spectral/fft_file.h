#pragma once
// The FFT file: channel, time of record and sample interval, a title line, then one line per
// bin: frequency, real part, imaginary part ("%e", tab-separated, CR LF).
#include <string>
#include <vector>

#include "signal/complex.h"

namespace plexo {

class TextFileWriter;

// Writes bins 0 .. bin_count-1. False (after "File open NOT succesfull") when it cannot.
bool WriteFFTFile(const std::string& path, const Complex* spectrum, const double* frequencies,
                  int bin_count, int channel, double timeOfTest, double sampleInterval);
// The same text into a file of a result (see result_files.h).
void WriteFFTText(TextFileWriter& out, const Complex* spectrum, const double* frequencies,
                  int bin_count, int channel, double timeOfTest, double sampleInterval);

enum FftFileKind { kSingleFftFile = 0, kAverageFftFile = 1 };

// What the FFT viewer shows: frequencies and magnitudes of a single or average FFT file.
struct FftFileContent {
  std::vector<double> frequencies;  // MAX_SAMPLES entries
  std::vector<double> amplitudes;   // MAX_SAMPLES entries
  int channel = 0;
  double timeOfRecord = 0.0;
  double timeResolution = 0.0;
  int kind = kSingleFftFile;
};

// Reads a single FFT file (kind 0: magnitude of the real and imaginary columns) or an average
// FFT file (kind 1, told by "Average" in the first line: the mean-magnitude column, from bin 1
// on). Returns the number of data lines stored (at most MAX_SAMPLES), or -1 when the file
// cannot be opened.
int ReadFFTFile(const std::string& path, FftFileContent& content);

}  // namespace plexo
