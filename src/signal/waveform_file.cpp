#include "signal/waveform_file.h"

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <string_view>

#include "signal/number_text.h"
#include "signal/text_file.h"

namespace plexo {
namespace {

constexpr int kFirstSampleLine = 9;
constexpr int kLastSampleLine = kFirstSampleLine + MAX_SAMPLES - 1;  // 16392
constexpr std::string_view kIntervalPrefix = "SAMPLE INTERVAL (Seconds):";

bool Contains(std::string_view line, std::string_view key) {
  return line.find(key) != std::string_view::npos;
}

// The line without its first k characters (empty when the line is shorter).
std::string_view From(std::string_view line, size_t k) {
  return k < line.size() ? line.substr(k) : std::string_view();
}

// Reads lines accepting CR LF or LF; returns false at the end of the file.
bool NextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// The shared rules of ReadWaveform and ReadWaveformReal; `store(index, value)` keeps a sample.
// Opens a regular file for reading; directories and devices are refused like a missing file.
bool OpenRegularFile(const std::string& path, std::ifstream& in) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  in.open(path, std::ios::binary);
  return static_cast<bool>(in);
}

template <typename Store>
int ReadWaveformLines(const std::string& path, WaveformHeader& header, Store store) {
  std::ifstream in;
  if (!OpenRegularFile(path, in)) return -1;
  std::string text;
  int line_number = 0;
  int time_of_test_line = 0;
  while (NextLine(in, text)) {
    std::string_view line(text);
    if (Contains(line, "DATE:")) header.date = std::string(From(line, 5));
    if (Contains(line, "TIME:")) header.time = std::string(From(line, 5));
    if (Contains(line, "SAMPLE INTERVAL")) {
      header.sampleInterval = ParseDouble(From(line, 26));
      if (line.substr(0, kIntervalPrefix.size()) != kIntervalPrefix) return -1;
      if (std::isnan(header.sampleInterval)) return -1;
    }
    if (Contains(line, "UNITS") && !Contains(line, "TIME UNITS"))
      header.units = std::string(From(line, 6));
    if (Contains(line, "CHANNEL NUMBER")) header.channel = ParseInt(From(line, 15));
    if (Contains(line, "TIME OF TEST")) {
      header.timeOfTest = ParseDouble(From(line, 13));
      time_of_test_line = line_number;
    }
    if (line_number >= kFirstSampleLine && line_number <= kLastSampleLine) {
      // The line after the one following the time of test is always stored as 0.
      double value = line_number == time_of_test_line + 2 ? 0.0 : ParseDouble(line);
      store(line_number - kFirstSampleLine, value);
    }
    if (line_number == INT32_MAX) break;  // a count beyond int cannot be returned
    ++line_number;
  }
  if (in.bad()) {
    ReportFileError();
    return -1;
  }
  return line_number - kFirstSampleLine;
}

template <typename T>
void EnsureCapacity(std::vector<T>& samples) {
  if (samples.size() < static_cast<size_t>(MAX_SAMPLES)) samples.resize(MAX_SAMPLES);
}

bool WriteWaveformWith(const std::string& path, const double* samples, int count,
                       const WaveformHeader& header, bool scientific) {
  TextFileWriter out(path);
  if (!out.IsOpen()) {
    ReportFileError();
    return false;
  }
  std::string text;
  text += "SOURCE FILE NAME: -/-\n";
  text += "DATE:\t" + header.date + "\n";
  text += "TIME:\t" + header.time + "\n";
  text += "SAMPLE INTERVAL (Seconds):   " + FormatE(header.sampleInterval) + "\n";
  text += "UNITS:\t" + header.units + "\n";
  text += "CHANNEL NUMBER:\t" + FormatD(header.channel) + "\n";
  text += "HIT NUMBER: -/-\n";
  text += "TIME OF TEST:\t" + FormatE(header.timeOfTest) + "\n\n";
  for (int i = 0; i < count; ++i) {
    if (scientific)
      AppendE(text, samples[i]);
    else
      AppendF(text, samples[i]);
    text += '\n';
    if (text.size() > (1 << 16)) {
      out.Write(text);
      text.clear();
    }
  }
  out.Write(text);
  if (out.Commit()) return true;
  ReportFileError();
  return false;
}

}  // namespace

int ReadWaveform(const std::string& path, Waveform& wf) {
  EnsureCapacity(wf.samples);
  int count = ReadWaveformLines(path, wf, [&](int i, double v) { wf.samples[i] = {v, 0.0}; });
  wf.count = count;
  return count;
}

int ReadWaveformReal(const std::string& path, RealWaveform& wf) {
  EnsureCapacity(wf.samples);
  int count = ReadWaveformLines(path, wf, [&](int i, double v) { wf.samples[i] = v; });
  wf.count = count;
  return count;
}

int ReadWaveformBasic(const std::string& path, std::vector<double>& samples, double& sampleInterval,
                      double& timeOfTest, int& channel) {
  EnsureCapacity(samples);
  std::ifstream in;
  if (!OpenRegularFile(path, in)) return -1;
  std::string text;
  int line_number = 0;
  while (NextLine(in, text)) {
    std::string_view line(text);
    if (Contains(line, "SAMPLE INTERVAL")) sampleInterval = ParseDouble(From(line, 26));
    if (Contains(line, "CHANNEL NUMBER")) channel = ParseInt(From(line, 15));
    if (Contains(line, "TIME OF TEST")) timeOfTest = ParseDouble(From(line, 13));
    if (line_number >= kFirstSampleLine && line_number <= kLastSampleLine)
      samples[line_number - kFirstSampleLine] = ParseDouble(line);
    if (line_number == INT32_MAX) break;
    ++line_number;
  }
  if (in.bad()) {
    ReportFileError();
    return -1;
  }
  return line_number - kFirstSampleLine;
}

bool WriteWaveform(const std::string& path, const double* samples, int count,
                   const WaveformHeader& header) {
  return WriteWaveformWith(path, samples, count, header, false);
}

bool WriteWaveformSci(const std::string& path, const double* samples, int count,
                      const WaveformHeader& header) {
  return WriteWaveformWith(path, samples, count, header, true);
}

}  // namespace plexo
