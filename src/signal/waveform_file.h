#pragma once
// The waveform file family: nine header lines found by key, then one sample per line.
#include <string>
#include <vector>

#include "signal/waveform.h"

namespace plexo {

class TextFileWriter;

// Reads a waveform file into the complex form (im = 0). Header keys are read from lines 0 to 8;
// every line from 9 on is a sample and holds one number with nothing but blanks around it
// (blank lines at the very end of the file are not samples). Returns the number of sample lines
// (which may exceed wf.limit; only the first wf.limit are stored), or -1 when the file
// cannot be opened or read, when its sample-interval line is malformed, or when it holds a NUL
// byte, a sample line that is not one number (a decimal comma, trailing text, a second header),
// or a sample, sample interval or time of test that is not finite (then `wf.readProblem` names
// the file and the line). The line two after "TIME OF TEST" is stored as 0. The header starts empty
// on every read (a value the file does not give is 0 or empty, never the previous file's); header
// values read before a failure stay. `wf.samples` is grown to MAX_SAMPLES if smaller, and to
// SampleRoom(stored) when more are stored.
int ReadWaveform(const std::string& path, Waveform& wf);
// The same reader filling real samples (at most MAX_SAMPLES stored).
int ReadWaveformReal(const std::string& path, RealWaveform& wf);
// The lenient member used by the collection operators: only the sample interval, channel and
// time of test are taken, any header line holding "SAMPLE INTERVAL" sets the interval, no sample
// is forced to zero. The sample lines and the finiteness of values follow ReadWaveform's rules;
// a file refused for its content returns -1 with `problem` (when given) naming the file and the
// line. `samples` is grown to MAX_SAMPLES if smaller.
int ReadWaveformBasic(const std::string& path, std::vector<double>& samples, double& sampleInterval,
                      double& timeOfTest, int& channel, std::string* problem = nullptr);

// Writes the nine header lines ("HIT NUMBER" from header.hitNumber, "-/-" when unknown) and one
// "%f" sample per line (count samples from `samples`).
// Returns false, after printing "File open NOT succesfull", when the file cannot be written.
bool WriteWaveform(const std::string& path, const double* samples, int count,
                   const WaveformHeader& header);
// The same into a file of a result (see result_files.h).
void WriteWaveform(TextFileWriter& out, const double* samples, int count,
                   const WaveformHeader& header);
// The same layout with "%e" samples.
bool WriteWaveformSci(const std::string& path, const double* samples, int count,
                      const WaveformHeader& header);
void WriteWaveformSci(TextFileWriter& out, const double* samples, int count,
                      const WaveformHeader& header);
// The same layout with every number (samples, sample interval, time of test) in its shortest
// round-trip form, so that the file reads back as exactly these doubles: what imports write.
void WriteWaveformExact(TextFileWriter& out, const double* samples, int count,
                        const WaveformHeader& header);

}  // namespace plexo
