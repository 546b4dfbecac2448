#include "signal/waveform_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "platform/text_file.h"
#include "platform/text_lines.h"
#include "signal/number_text.h"

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

// Header keys are only looked for in lines that hold an 'N' or a 'T': every key has one, and
// sample lines ("-0.001234", "1.5e-003") have neither, so they skip the six substring tests.
bool MayHoldKey(std::string_view line) {
  for (char c : line) {
    if (c == 'N' || c == 'T') return true;
  }
  return false;
}

// Line numbers in messages count from 1, as editors show them.
std::string ShownLine(std::string_view line) {
  constexpr size_t kShown = 40;
  std::string shown = "\"";
  shown.append(line.substr(0, kShown));
  shown += line.size() > kShown ? "...\"" : "\"";
  return shown;
}

std::string LinePlace(const std::string& path, int line_number) {
  return " on line " + std::to_string(line_number + 1) + " of " + path;
}

std::string NotFiniteMessage(const std::string& path, int line_number, std::string_view line) {
  return "Sample " + ShownLine(line) + LinePlace(path, line_number) +
         " is not a finite number! The file is not read.";
}

std::string NotFiniteHeaderMessage(const std::string& path, int line_number,
                                   std::string_view line) {
  return "Header value " + ShownLine(line) + LinePlace(path, line_number) +
         " is not a finite number! The file is not read.";
}

// A sample line must hold one number and nothing but blanks around it: atof's prefix rule
// would read "0,0019" as 0, "0.001x" as 0.001 and a second file's header as zeros.
std::string NotANumberMessage(const std::string& path, int line_number, std::string_view line) {
  std::string text = "Sample line " + ShownLine(line) + LinePlace(path, line_number);
  if (MayHoldKey(line) && (Contains(line, "SAMPLE INTERVAL") || Contains(line, "TIME OF TEST") ||
                           Contains(line, "CHANNEL NUMBER") || Contains(line, "SOURCE FILE")))
    return text +
           " is a header line among the samples (two files joined into one?)! The file "
           "is not read.";
  if (LooksLikeDecimalComma(line))
    return text +
           " is not a number: it has a decimal comma (plexo import reads decimal "
           "commas)! The file is not read.";
  return text + " is not a single number! The file is not read.";
}

std::string NulByteMessage(const std::string& path, std::string_view text, const char* nul) {
  const auto line = std::count(text.data(), nul, '\n');
  return path + " holds a NUL byte on line " + std::to_string(line + 1) +
         ": it is not a text waveform file! The file is not read.";
}

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// Whether only blank lines are left: blank lines at the end of a file are no samples.
bool OnlyBlankLinesLeft(LineSplitter lines) {
  std::string_view line;
  while (lines.Next(line)) {
    if (!IsBlankLine(line)) return false;
  }
  return true;
}

// Reads the sample line `line` (number `line_number`); false, with `problem` set, when it is
// not one finite number. Blank lines at the end of the file end the samples (`end` is set).
bool ReadSampleLine(const std::string& path, int line_number, std::string_view line,
                    const LineSplitter& rest, std::string& problem, double& value, bool& end) {
  if (ParseWholeNumber(line, value)) {
    if (std::isfinite(value)) return true;
    problem = NotFiniteMessage(path, line_number, line);
    return false;
  }
  if (IsBlankLine(line) && OnlyBlankLinesLeft(rest)) {
    end = true;
    return true;
  }
  problem = NotANumberMessage(path, line_number, line);
  return false;
}

// A header number that is not finite ("nan", "1e400") refuses the file: it would reach every
// table the file feeds.
bool FiniteHeaderValue(const std::string& path, int line_number, std::string_view line,
                       double value, std::string& problem) {
  if (std::isfinite(value)) return true;
  problem = NotFiniteHeaderMessage(path, line_number, line);
  return false;
}

// Whether the channel text's number (atoi's prefix) fits an int: atoi would saturate
// 99999999999 to 2147483647, a channel that was never recorded.
bool ChannelFits(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return false;
  }
  return value <= 2147483647LL || (text.find('-') != std::string_view::npos);
}

// The shared rules of ReadWaveform and ReadWaveformReal; `store(index, value)` keeps a sample.
// Header keys are read from lines 0 to 8; every line from 9 on is a sample and must hold one
// finite number (blank lines at the very end excepted). Text with a NUL byte (a binary file),
// samples that are not numbers, and samples or header values that are not finite (nan, inf, or
// a number too large for a double, such as 1e400) refuse the file: one of them would turn every
// sum over the waveform, and every average over a folder, into NaN or infinity, or zeros into
// the waveform.
// Only the first `limit` samples are stored.
template <typename Store>
int ReadWaveformLines(const std::string& path, WaveformHeader& header, std::string& problem,
                      int limit, Store store) {
  const int last_line = kFirstSampleLine + std::clamp(limit, 0, kLargestSampleLimit) - 1;
  // Every read starts from an empty header: a file without a "TIME OF TEST" or sample-interval
  // line must not take the value of whichever file the same record held before.
  header = WaveformHeader{};
  problem.clear();
  FileBytes bytes;
  if (!ReadWholeFileOrReport(path, bytes)) return -1;
  const std::string_view text = bytes.Text();
  if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
    problem = NulByteMessage(path, text, static_cast<const char*>(nul));
    return -1;
  }
  LineSplitter lines(text);
  std::string_view line;
  int line_number = 0;
  int time_of_test_line = 0;
  for (;;) {
    // Sample lines that are plain decimal numbers (most of every file) are read in one pass.
    if (line_number >= kFirstSampleLine && line_number != time_of_test_line + 2 &&
        lines.Cursor() != lines.End()) {
      double value;
      if (const char* next = ParsePlainDecimalLine(lines.Cursor(), lines.End(), value)) {
        lines.SkipTo(next);
        if (line_number <= last_line) store(line_number - kFirstSampleLine, value);
        if (line_number == INT32_MAX) break;
        ++line_number;
        continue;
      }
    }
    if (!lines.Next(line)) break;
    if (line_number < kFirstSampleLine) {
      if (!MayHoldKey(line)) {
        ++line_number;
        continue;
      }
      if (Contains(line, "DATE:")) header.date = std::string(From(line, 5));
      if (Contains(line, "TIME:")) header.time = std::string(From(line, 5));
      if (Contains(line, "SAMPLE INTERVAL")) {
        header.sampleInterval = ParseDouble(From(line, 26));
        if (line.substr(0, kIntervalPrefix.size()) != kIntervalPrefix) return -1;
        if (!FiniteHeaderValue(path, line_number, line, header.sampleInterval, problem)) return -1;
      }
      if (Contains(line, "UNITS") && !Contains(line, "TIME UNITS"))
        header.units = std::string(From(line, 6));
      if (Contains(line, "CHANNEL NUMBER")) header.channel = ParseInt(From(line, 15));
      if (Contains(line, "TIME OF TEST")) {
        header.timeOfTest = ParseDouble(From(line, 13));
        time_of_test_line = line_number;
        if (!FiniteHeaderValue(path, line_number, line, header.timeOfTest, problem)) return -1;
      }
      ++line_number;
      continue;
    }
    double value = 0.0;
    bool end = false;
    if (!ReadSampleLine(path, line_number, line, lines, problem, value, end)) return -1;
    if (end) break;
    // The line after the one following the time of test is always stored as 0 (with the
    // usual layout: the first sample). It must still hold a number like every sample line.
    if (line_number == time_of_test_line + 2) value = 0.0;
    if (line_number <= last_line) store(line_number - kFirstSampleLine, value);
    if (line_number == INT32_MAX) break;  // a count beyond int cannot be returned
    ++line_number;
  }
  return line_number - kFirstSampleLine;
}

template <typename T>
void EnsureCapacity(std::vector<T>& samples) {
  if (samples.size() < static_cast<size_t>(MAX_SAMPLES)) samples.resize(MAX_SAMPLES);
}

// How the numbers of a waveform file are written: the header's "%e" and "%f" or "%e" samples,
// or every number (header values included) in its round-trip form.
enum class WaveformNumbers { kFixed, kScientific, kRoundTrip };

void WriteWaveformText(TextFileWriter& out, const double* samples, int count,
                       const WaveformHeader& header, WaveformNumbers numbers) {
  const bool exact = numbers == WaveformNumbers::kRoundTrip;
  const auto header_number = [exact](double v) { return exact ? FormatRoundTrip(v) : FormatE(v); };
  std::string text;
  text += "SOURCE FILE NAME: -/-\n";
  text += "DATE:\t" + header.date + "\n";
  text += "TIME:\t" + header.time + "\n";
  text += "SAMPLE INTERVAL (Seconds):   " + header_number(header.sampleInterval) + "\n";
  text += "UNITS:\t" + header.units + "\n";
  text += "CHANNEL NUMBER:\t" + FormatD(header.channel) + "\n";
  text += header.hitNumber < 0 ? "HIT NUMBER: -/-\n"
                               : "HIT NUMBER:\t" + FormatD(header.hitNumber) + "\n";
  text += "TIME OF TEST:\t" + header_number(header.timeOfTest) + "\n\n";
  for (int i = 0; i < count; ++i) {
    switch (numbers) {
      case WaveformNumbers::kFixed:
        AppendF(text, samples[i]);
        break;
      case WaveformNumbers::kScientific:
        AppendE(text, samples[i]);
        break;
      case WaveformNumbers::kRoundTrip:
        AppendRoundTrip(text, samples[i]);
        break;
    }
    text += '\n';
    if (text.size() > (1 << 16)) {
      out.Write(text);
      text.clear();
    }
  }
  out.Write(text);
}

bool WriteWaveformWith(const std::string& path, const double* samples, int count,
                       const WaveformHeader& header, WaveformNumbers numbers) {
  TextFileWriter out(path);
  if (!out.IsOpen()) {
    ReportFileError();
    return false;
  }
  WriteWaveformText(out, samples, count, header, numbers);
  if (out.Commit()) return true;
  ReportFileError();
  return false;
}

}  // namespace

int ReadWaveform(const std::string& path, Waveform& wf) {
  EnsureCapacity(wf.samples);
  int count = ReadWaveformLines(path, wf, wf.readProblem, wf.limit, [&](int i, double v) {
    // Beyond MAX_SAMPLES only under a raised limit: the workspace grows with what is read.
    if (static_cast<size_t>(i) >= wf.samples.size()) wf.samples.resize(SampleRoom(i + 1));
    wf.samples[i] = {v, 0.0};
  });
  wf.count = count;
  return count;
}

int ReadWaveformReal(const std::string& path, RealWaveform& wf) {
  EnsureCapacity(wf.samples);
  int count = ReadWaveformLines(path, wf, wf.readProblem, MAX_SAMPLES,
                                [&](int i, double v) { wf.samples[i] = v; });
  wf.count = count;
  return count;
}

int ReadWaveformBasic(const std::string& path, std::vector<double>& samples, double& sampleInterval,
                      double& timeOfTest, int& channel, std::string* problem) {
  EnsureCapacity(samples);
  std::string why;
  if (problem == nullptr) problem = &why;
  problem->clear();
  FileBytes bytes;
  if (!ReadWholeFileOrReport(path, bytes)) return -1;
  const std::string_view text = bytes.Text();
  if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
    *problem = NulByteMessage(path, text, static_cast<const char*>(nul));
    return -1;
  }
  LineSplitter lines(text);
  std::string_view line;
  int line_number = 0;
  for (;;) {
    if (line_number >= kFirstSampleLine && lines.Cursor() != lines.End()) {
      double value;
      if (const char* next = ParsePlainDecimalLine(lines.Cursor(), lines.End(), value)) {
        lines.SkipTo(next);
        if (line_number <= kLastSampleLine) samples[line_number - kFirstSampleLine] = value;
        if (line_number == INT32_MAX) break;
        ++line_number;
        continue;
      }
    }
    if (!lines.Next(line)) break;
    if (line_number < kFirstSampleLine) {
      if (MayHoldKey(line)) {
        if (Contains(line, "SAMPLE INTERVAL")) {
          sampleInterval = ParseDouble(From(line, 26));
          if (!FiniteHeaderValue(path, line_number, line, sampleInterval, *problem)) return -1;
        }
        if (Contains(line, "CHANNEL NUMBER")) {
          channel = ParseInt(From(line, 15));
          if (!ChannelFits(From(line, 15))) {
            *problem = "Channel number " + ShownLine(line) + LinePlace(path, line_number) +
                       " does not fit a channel number! The file is not read.";
            return -1;
          }
        }
        if (Contains(line, "TIME OF TEST")) {
          timeOfTest = ParseDouble(From(line, 13));
          if (!FiniteHeaderValue(path, line_number, line, timeOfTest, *problem)) return -1;
        }
      }
      ++line_number;
      continue;
    }
    double value = 0.0;
    bool end = false;
    if (!ReadSampleLine(path, line_number, line, lines, *problem, value, end)) return -1;
    if (end) break;
    if (line_number <= kLastSampleLine) samples[line_number - kFirstSampleLine] = value;
    if (line_number == INT32_MAX) break;
    ++line_number;
  }
  return line_number - kFirstSampleLine;
}

bool WriteWaveform(const std::string& path, const double* samples, int count,
                   const WaveformHeader& header) {
  return WriteWaveformWith(path, samples, count, header, WaveformNumbers::kFixed);
}

bool WriteWaveformSci(const std::string& path, const double* samples, int count,
                      const WaveformHeader& header) {
  return WriteWaveformWith(path, samples, count, header, WaveformNumbers::kScientific);
}

void WriteWaveform(TextFileWriter& out, const double* samples, int count,
                   const WaveformHeader& header) {
  WriteWaveformText(out, samples, count, header, WaveformNumbers::kFixed);
}

void WriteWaveformSci(TextFileWriter& out, const double* samples, int count,
                      const WaveformHeader& header) {
  WriteWaveformText(out, samples, count, header, WaveformNumbers::kScientific);
}

void WriteWaveformExact(TextFileWriter& out, const double* samples, int count,
                        const WaveformHeader& header) {
  WriteWaveformText(out, samples, count, header, WaveformNumbers::kRoundTrip);
}

}  // namespace plexo
